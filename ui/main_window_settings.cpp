// The main window's settings: the 17 lines of venturon.ini mapped to the window's
// controls and state, and back.
#include "main_window.h"

#include "allowances.h"
#include "enclosure_inputs.h"
#include "number_text.h"
#include "options_dialog.h"
#include "settings_file.h"
#include "settings_format.h"
#include "text_box.h"
#include "units_dialog.h"

#include <QCheckBox>
#include <QRadioButton>

namespace venturon {

namespace {

QString latin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string bytes_of(const QString& text) {
    const QByteArray b = text.toLatin1();
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

double leading_number(const QLineEdit* field) {
    return text_value(field->text().toStdString());
}

} // namespace

// Reads the settings file and applies it through the controls, so that their own
// handling brings every window into line. Lines the file does not hold leave the
// start-up state as it is.
void MainWindow::load_settings() {
    s_.lock_diameter_mm = s_.diameter_mm;
    s_.lock_ports = leading_number(port_count_field);
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        s_.lock_v[i] = leading_number(velocity_fields[i]);
    }

    s_.settings_path = settings_file_path(settings_directory_);
    const auto bytes = read_settings_file(s_.settings_path);
    const SettingsRecord file =
        bytes ? parse_settings(std::string_view(bytes->constData(), std::size_t(bytes->size())))
              : SettingsRecord{};
    const int n = bytes ? file.lines_read : 0;

    if (n >= 1) {
        cruise_control_check->setChecked(file.cruise_on);
    }
    if (n >= 2) {
        s_.diameter_mm = file.diameter_mm;
    }
    if (n >= 3) {
        set_text(port_count_field, latin1(file.port_text));
    }
    if (n >= 4) {
        s_.radius_mm = file.radius_mm;
    }
    if (n >= 5) {
        s_.lock_diameter_mm = file.lock_diameter_mm;
    }
    if (n >= 6) {
        s_.lock_ports = file.lock_ports;
    }
    for (int i = 0; i < 4 && n >= 7 + i; ++i) {
        s_.lock_v[static_cast<std::size_t>(i)] = file.lock_v[static_cast<std::size_t>(i)];
    }
    if (n >= 10) {
        s_.loading_settings = 1;
        checklock();
        s_.loading_settings = 0;
    }
    if (n >= 11) {
        (file.minimum_mode ? minimum_mode_option : manual_mode_option)->setChecked(true);
    }
    // Lines the file lacks keep their defaults here.
    program_.allowance_texts = {file.boundary_mask, file.boundary_seat, file.core_mask,
                                file.core_seat, file.content_type};
    program_.units_mode = file.units_mode;

    options_->select(
        selection_from_stored(program_.allowance_texts, options_->selection().content));
    units_->select_mode(program_.units_mode);

    if (s_.diameter_mm == 0) {
        cruise_control_check->setEnabled(false);
    }
    load_enclosure_inputs();
}

// Writes the settings file and the enclosure designer's inputs as one pair, so
// that another window closing at the same moment cannot leave its file beside
// ours; a failure leaves the old file as it was and is not reported.
void MainWindow::save_settings() {
    if (!cruise_control_check->isChecked()) {
        s_.lock_diameter_mm = s_.diameter_mm;
        s_.lock_ports = field_number(port_count_field);
        for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
            s_.lock_v[i] = field_number(velocity_fields[i]);
        }
    }
    SettingsRecord record;
    record.lines_read = settings_line_count;
    record.cruise_on = cruise_control_check->isChecked();
    record.diameter_mm = s_.diameter_mm;
    record.port_text = bytes_of(port_count_field->text());
    record.radius_mm = s_.radius_mm;
    record.lock_diameter_mm = s_.lock_diameter_mm;
    record.lock_ports = s_.lock_ports;
    record.lock_v = s_.lock_v;
    record.minimum_mode = minimum_mode_option->isChecked();
    const StoredAllowances& texts = program_.allowance_texts;
    record.boundary_mask = texts.boundary_mask;
    record.boundary_seat = texts.boundary_seat;
    record.core_mask = texts.core_mask;
    record.core_seat = texts.core_seat;
    record.content_type = texts.content_type;
    record.units_mode = program_.units_mode;
    const std::string text = serialise_settings(record);
    std::optional<QByteArray> enclosure;
    const std::string inputs = serialise_enclosure_inputs(enclosure_inputs());
    enclosure = QByteArray(inputs.data(), qsizetype(inputs.size()));
    write_settings_pair(settings_directory_, QByteArray(text.data(), qsizetype(text.size())),
                        enclosure);
}

// The enclosure designer's inputs live in their own file beside the settings
// file, read and written with the same care; a missing or unreadable file leaves
// the first start's inputs.
void MainWindow::load_enclosure_inputs() {
    if (const auto bytes = read_settings_file(enclosure_file_path(settings_directory_))) {
        enclosure_inputs_ = parse_enclosure_inputs(
            std::string_view(bytes->constData(), std::size_t(bytes->size())));
    } else {
        enclosure_inputs_ = EnclosureInputs{};
    }
}

} // namespace venturon
