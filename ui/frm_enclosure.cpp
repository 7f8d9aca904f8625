#include "frm_enclosure.h"

#include "colours.h"
#include "controls.h"
#include "enclosure_graph.h"
#include "font_fitting.h"
#include "imperial.h"
#include "number_text.h"
#include "palette.h"
#include "picture_box.h"
#include "port_length.h"
#include "twips.h"
#include "window_setup.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include <algorithm>
#include <cmath>
#include <string>

namespace venturon {

namespace {

constexpr double litres_per_cubic_foot = 28.316846592;
constexpr double square_cm_per_square_inch = 6.4516;
constexpr double text_points = 8;

// How a field's number is shown: a volume, an area, a length, or as it is.
enum class Quantity { plain, volume, area, length };

// The frames that hold the fields.
enum class Group { driver, box, drive };

struct FieldLayout {
    Group group;
    EnclosureKey key;
    const char* name;     // designer name of the field
    const char* metric;   // caption in metric units
    const char* imperial; // caption in imperial units
    Quantity quantity;
};

// The fields, frame by frame, each frame in two columns.
constexpr FieldLayout fields[] = {
    {Group::driver, EnclosureKey::fs_hz, "Text_fs", "Fs - Hz", "Fs - Hz", Quantity::plain},
    {Group::driver, EnclosureKey::qes, "Text_qes", "Qes", "Qes", Quantity::plain},
    {Group::driver, EnclosureKey::qms, "Text_qms", "Qms", "Qms", Quantity::plain},
    {Group::driver, EnclosureKey::qts, "Text_qts", "Qts", "Qts", Quantity::plain},
    {Group::driver, EnclosureKey::vas_l, "Text_vas", "Vas - L", "Vas - ft\xb3", Quantity::volume},
    {Group::driver, EnclosureKey::sd_cm2, "Text_sd", "Sd - cm\xb2", "Sd - in\xb2", Quantity::area},
    {Group::driver, EnclosureKey::re_ohm, "Text_re", "Re - ohm", "Re - ohm", Quantity::plain},
    {Group::driver, EnclosureKey::xmax_mm, "Text_xmax", "Xmax - mm", "Xmax - in", Quantity::length},
    {Group::driver, EnclosureKey::le_mh, "Text_le", "Le - mH", "Le - mH", Quantity::plain},
    {Group::driver, EnclosureKey::drivers, "Text_drivers", "Drivers", "Drivers", Quantity::plain},
    {Group::box, EnclosureKey::vb_l, "Text_vb", "Vb - L", "Vb - ft\xb3", Quantity::volume},
    {Group::box, EnclosureKey::fb_hz, "Text_fb", "Fb - Hz", "Fb - Hz", Quantity::plain},
    {Group::box, EnclosureKey::ql, "Text_ql", "QL", "QL", Quantity::plain},
    {Group::box, EnclosureKey::qa, "Text_qa", "QA", "QA", Quantity::plain},
    {Group::box, EnclosureKey::qp, "Text_qp", "QP", "QP", Quantity::plain},
    {Group::drive, EnclosureKey::power_w, "Text_power", "Power - W", "Power - W", Quantity::plain},
    {Group::drive, EnclosureKey::voltage_v, "Text_voltage", "Voltage - V", "Voltage - V",
     Quantity::plain},
    {Group::drive, EnclosureKey::temperature_c, "Text_air",
     "Air - \xb0"
     "C",
     "Air - \xb0"
     "C",
     Quantity::plain},
};

// The factor from the file's unit to the unit shown.
double shown_per_stored(Quantity quantity, UnitsMode units) {
    if (!imperial(units)) {
        return 1;
    }
    switch (quantity) {
    case Quantity::plain:
        return 1;
    case Quantity::volume:
        return 1 / litres_per_cubic_foot;
    case Quantity::area:
        return 1 / square_cm_per_square_inch;
    case Quantity::length:
        return 1 / mm_per_inch;
    }
    return 1;
}

const FieldLayout* layout_of(EnclosureKey key) {
    const auto* f = std::find_if(std::begin(fields), std::end(fields),
                                 [key](const FieldLayout& layout) { return layout.key == key; });
    return f != std::end(fields) ? f : nullptr;
}

// Up to six significant digits: a value converted for showing carries no noise.
QString number(double v) {
    if (v == 0 || !std::isfinite(v)) {
        return QString::fromStdString(number_text_trimmed(v));
    }
    const double scale = std::pow(10.0, 5 - std::floor(std::log10(std::fabs(v))));
    return QString::fromStdString(number_text_trimmed(std::round(v * scale) / scale));
}

// A length in the units mode: whole tenths of a millimetre, feet and inches to the
// nearest sixteenth, or decimal inches.
QString shown_length(double mm, UnitsMode units) {
    const std::string millimetres = length_text(std::round(mm * 10) / 10);
    switch (units) {
    case UnitsMode::metric:
        return QString::fromStdString(number_text_trimmed(std::round(mm * 10) / 10)) +
               QStringLiteral(" mm");
    case UnitsMode::inches: {
        const QString text = QString::fromStdString(trim_spaces(mm2in(millimetres).feet_inches));
        return text.endsWith(QLatin1Char('\'')) ? text : text + QStringLiteral(" in");
    }
    case UnitsMode::decimal_inches:
        return QString::fromStdString(trim_spaces(mm2in(millimetres).decimal_inches)) +
               QStringLiteral(" in");
    }
    return {};
}

QString shown_volume(double litres, UnitsMode units) {
    return imperial(units) ? number(std::round(litres / litres_per_cubic_foot * 100) / 100) +
                                 QString::fromUtf8(" ft\u00b3")
                           : number(std::round(litres * 10) / 10) + QStringLiteral(" L");
}

QString one_decimal(double v) {
    return QString::fromStdString(number_text_trimmed(std::round(v * 10) / 10));
}

} // namespace

frmEnclosure::frmEnclosure(ProgramState& program, std::function<WindowPort()> port,
                           std::function<void(const std::array<double, 4>&)> use_velocities,
                           QWidget* parent)
    : QDialog(parent), program_(program), port_(std::move(port)),
      use_velocities_(std::move(use_velocities)) {
    set_up_dialog(this, QStringLiteral("frmEnclosure"), QStringLiteral("Venturon Enclosure"),
                  twips_size(10800, 7050));
    create_controls();
    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this] { return field(EnclosureKey::fs_hz); });
    on_first_show(this, [this] {
        for (const auto& step : fitting_) {
            step();
        }
        fitting_.clear();
    });
}

void frmEnclosure::create_controls() {
    // A frame's fields in two columns of `rows` rows.
    const auto add_fields = [this](QGroupBox* frame, Group group, int rows) {
        int i = 0;
        for (const FieldLayout& f : fields) {
            if (f.group != group) {
                continue;
            }
            const int column = i / rows;
            const int row = i % rows;
            ++i;
            const int left = 150 + column * 2100;
            const int top = 330 + row * 360;
            const auto index = static_cast<std::size_t>(f.key);
            QLabel* caption = add_label(frame, (std::string("Label_") + (f.name + 5)).c_str(),
                                        QString::fromLatin1(f.metric), twips(left, top, 1020, 270));
            set_fore_colour(caption, Qt::black); // not the frame caption's colour
            TextBox* text = add_text_box(frame, f.name, twips(left + 1080, top, 930, 300));
            caption->setBuddy(text);
            fitting_.push_back([caption, f] {
                fit_font(caption,
                         QString::fromLatin1(f.imperial).size() >
                                 QString::fromLatin1(f.metric).size()
                             ? QString::fromLatin1(f.imperial)
                             : QString::fromLatin1(f.metric),
                         text_points);
            });
            captions_[index] = caption;
            fields_[index] = text;
            connect(text, &QLineEdit::textChanged, this,
                    [this, key = static_cast<int>(f.key)] { field_Change(key); });
        }
    };

    QGroupBox* driver = add_frame(this, "Frame_driver", QStringLiteral("Driver (one of them)"),
                                  twips(120, 90, 4380, 2220));
    add_fields(driver, Group::driver, 5);
    QGroupBox* box =
        add_frame(this, "Frame_box", QStringLiteral("Box"), twips(120, 2400, 4380, 1500));
    add_fields(box, Group::box, 3);
    QGroupBox* drive = add_frame(this, "Frame_drive", QStringLiteral("Drive and air"),
                                 twips(120, 3990, 4380, 1140));
    add_fields(drive, Group::drive, 2);

    QGroupBox* ends =
        add_frame(this, "Frame_ports", QStringLiteral("Port ends"), twips(120, 5220, 4380, 1410));
    const auto add_choice = [this, ends](const char* name, const char* caption, int top,
                                         const QStringList& items) {
        QLabel* label = add_label(ends, (std::string("Label_") + name).c_str(),
                                  QString::fromLatin1(caption), twips(150, top, 1500, 270));
        auto* combo = add_control<QComboBox>(ends, name, twips(1680, top - 15, 2400, 330));
        combo->addItems(items);
        set_fore_colour(label, Qt::black);
        label->setBuddy(combo);
        fitting_.push_back([label] { fit_font(label, label->text(), text_points); });
        connect(combo, &QComboBox::currentIndexChanged, this, &frmEnclosure::choice_Change);
        return combo;
    };
    Combo_outer =
        add_choice("Combo_outer", "Outer end", 300,
                   {QStringLiteral("In the baffle (flanged)"), QStringLiteral("In free air")});
    Combo_inner =
        add_choice("Combo_inner", "Inner end", 660,
                   {QStringLiteral("In the baffle (flanged)"), QStringLiteral("In free air")});
    Combo_flares = add_choice("Combo_flares", "Flared ends", 1020,
                              {QStringLiteral("Both ends"), QStringLiteral("Outer end only"),
                               QStringLiteral("Inner end only"), QStringLiteral("None")});

    Tab_view = add_control<QTabBar>(this, "Tab_view", twips(4650, 90, 6030, 360));
    Tab_view->addTab(QStringLiteral("Port air velocity"));
    Tab_view->addTab(QStringLiteral("Cone excursion"));
    Tab_view->setAccessibleName(QStringLiteral("Graph shown"));
    connect(Tab_view, &QTabBar::currentChanged, this, [this] { calculate(); });

    Picture1 = add_control<PictureBox>(this, "Picture1", twips(4650, 450, 6030, 3000));
    Picture1->setAccessibleName(QStringLiteral("Enclosure graph"));

    Label_velocities = add_label(this, "Label_velocities", {}, twips(4650, 3540, 6030, 510));
    Label_length = add_label(this, "Label_length", {}, twips(4650, 4080, 6030, 1290));
    Label_problem = add_label(this, "Label_problem", {}, twips(4650, 5400, 6030, 600));
    for (QLabel* label : {Label_velocities, Label_length, Label_problem}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        QFont font = label->font();
        font.setPointSizeF(text_points);
        label->setFont(font);
    }
    set_fore_colour(Label_problem, colours::compression_warning);

    Command_use = add_button(this, "Command_use", QStringLiteral("&Use these velocities"),
                             twips(6780, 6420, 2400, 420),
                             QStringLiteral("Write the port air velocities at 20, 25, 30 and "
                                            "35 Hz into the main window's velocity fields"));
    Command_close =
        add_button(this, "Command_close", QStringLiteral("Close"), twips(9300, 6420, 1380, 420));
    Command_close->setDefault(true);
    connect(Command_use, &QPushButton::clicked, this, &frmEnclosure::Command_use_Click);
    connect(Command_close, &QPushButton::clicked, this, &QWidget::hide);
}

TextBox* frmEnclosure::field(EnclosureKey key) const {
    return fields_[static_cast<std::size_t>(key)];
}

void frmEnclosure::set_inputs(const EnclosureInputs& inputs) {
    inputs_ = inputs;
    show_inputs();
}

// The inputs in the fields, in the units mode; writing them reads nothing back.
void frmEnclosure::show_inputs() {
    showing_inputs_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto key = static_cast<EnclosureKey>(i);
        const FieldLayout* layout = layout_of(key);
        const std::optional<double>* value = enclosure_number(inputs_, key);
        if (!layout || !value || !fields_[i]) {
            continue;
        }
        const double factor = shown_per_stored(layout->quantity, program_.units_mode);
        set_text(fields_[i], *value ? number(**value * factor) : QString());
    }
    Combo_outer->setCurrentIndex(inputs_.outer_mouth == MouthCondition::flanged ? 0 : 1);
    Combo_inner->setCurrentIndex(inputs_.inner_mouth == MouthCondition::flanged ? 0 : 1);
    Combo_flares->setCurrentIndex(static_cast<int>(inputs_.flared_ends));
    showing_inputs_ = false;
    show_units();
}

void frmEnclosure::show_units() {
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        if (const FieldLayout* layout = layout_of(static_cast<EnclosureKey>(i))) {
            captions_[i]->setText(QString::fromLatin1(
                imperial(program_.units_mode) ? layout->imperial : layout->metric));
        }
    }
}

void frmEnclosure::showEvent(QShowEvent* event) {
    show_inputs(); // in the units mode of now
    calculate();
    QDialog::showEvent(event);
}

// Closing by the title bar or Escape hides the dialog, as Close does.
void frmEnclosure::reject() {
    hide();
}

void frmEnclosure::field_Change(int key_number) {
    if (showing_inputs_) {
        return;
    }
    const auto key = static_cast<EnclosureKey>(key_number);
    std::optional<double>* value = enclosure_number(inputs_, key);
    const FieldLayout* layout = layout_of(key);
    if (!value || !layout) {
        return;
    }
    const QString text = field(key)->text().trimmed();
    const auto typed = complete_number(text.toStdString());
    *value = typed ? std::optional(*typed / shown_per_stored(layout->quantity, program_.units_mode))
                   : std::nullopt;
    // Power and voltage are the same input said two ways: one of them counts.
    if (typed && key == EnclosureKey::power_w &&
        !field(EnclosureKey::voltage_v)->text().isEmpty()) {
        field(EnclosureKey::voltage_v)->clear();
    }
    if (typed && key == EnclosureKey::voltage_v &&
        !field(EnclosureKey::power_w)->text().isEmpty()) {
        field(EnclosureKey::power_w)->clear();
    }
    calculate();
}

void frmEnclosure::choice_Change() {
    if (showing_inputs_) {
        return;
    }
    inputs_.outer_mouth =
        Combo_outer->currentIndex() == 0 ? MouthCondition::flanged : MouthCondition::free;
    inputs_.inner_mouth =
        Combo_inner->currentIndex() == 0 ? MouthCondition::flanged : MouthCondition::free;
    inputs_.flared_ends = static_cast<FlaredEnds>(std::max(0, Combo_flares->currentIndex()));
    calculate();
}

void frmEnclosure::show_problem(const QString& text) {
    velocities_.reset();
    Label_problem->setText(text);
    Label_velocities->clear();
    Label_length->clear();
    Picture1->drawing().clear();
    Picture1->refresh();
    Picture1->setAccessibleDescription(text);
    Command_use->setEnabled(false);
}

// Works the results out from the inputs and the main window's port, and shows them.
void frmEnclosure::calculate() {
    if (!isVisible()) {
        return; // worked out when the dialog shows
    }
    // A field whose text is no number is named before anything else.
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] && !fields_[i]->text().trimmed().isEmpty() &&
            !complete_number(fields_[i]->text().trimmed().toStdString())) {
            show_problem(captions_[i]->text() + QStringLiteral(": \"") + fields_[i]->text() +
                         QStringLiteral("\" is not a number"));
            return;
        }
    }
    const WindowPort port = port_();
    const int ports = static_cast<int>(std::clamp(port.ports, 1.0, 1000.0));
    const auto input = to_enclosure_input(inputs_, port.diameter_mm, ports);
    if (!input) {
        show_problem(QString::fromStdString(input.error().message));
        return;
    }
    const auto model = solve_enclosure(*input);
    if (!model) {
        show_problem(QString::fromStdString(model.error().message));
        return;
    }

    std::array<double, 4> velocities{};
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        velocities[i] = response_at(*model, design_frequencies[i]).port_velocity;
    }
    velocities_ = velocities;
    Label_problem->clear();
    Command_use->setEnabled(true);
    const QString velocity_text =
        QStringLiteral("Air velocity in the %1 (peak of the sine): %2, %3, %4 and %5 m/s at "
                       "20, 25, 30 and 35 Hz.")
            .arg(ports == 1 ? QStringLiteral("port") : QStringLiteral("ports"),
                 one_decimal(velocities[0]), one_decimal(velocities[1]), one_decimal(velocities[2]),
                 one_decimal(velocities[3]));
    Label_velocities->setText(velocity_text);

    if (Tab_view->currentIndex() == 0) {
        PortVelocityGraphInput graph =
            port_velocity_graph_input(*model, port.diameter_mm, port.radius_mm, port.allowances);
        graph.picture_size = Picture1->size();
        draw_port_velocity_graph(Picture1->drawing(), graph);
    } else {
        ExcursionGraphInput graph = excursion_graph_input(*model);
        graph.picture_size = Picture1->size();
        draw_excursion_graph(Picture1->drawing(), graph);
    }
    Picture1->refresh();
    Picture1->setAccessibleDescription(velocity_text);

    const UnitsMode units = program_.units_mode;
    const FlaredPort flared = to_flared_port(inputs_, port.diameter_mm, port.radius_mm, ports);
    const auto length =
        port_length(flared, input->box.vb_m3, input->box.fb_hz, input->temperature_c);
    if (!length) {
        Label_length->setText(QString::fromStdString(length.error().message));
        return;
    }
    const QString ports_text =
        QStringLiteral("%1 %2 of %3, flare radius %4")
            .arg(QString::number(ports),
                 ports == 1 ? QStringLiteral("port") : QStringLiteral("ports"),
                 shown_length(port.diameter_mm, units), shown_length(port.radius_mm, units));
    if (!length->reachable) {
        Label_length->setText(
            ports_text +
            QStringLiteral(": no straight length tunes the box to %1 Hz; the flares and mouths "
                           "alone hold too much air. The highest tuning these ports reach is "
                           "%2 Hz, with no straight part.")
                .arg(one_decimal(input->box.fb_hz), one_decimal(length->max_fb_hz)));
        return;
    }
    Label_length->setText(
        ports_text +
        QStringLiteral(": cut the tube %1 long, %2 from mouth to mouth, to tune the box to %3 Hz. "
                       "The ports take %4 of the box.")
            .arg(shown_length(length->straight_length_m * 1000, units),
                 shown_length(length->overall_length_m * 1000, units),
                 one_decimal(input->box.fb_hz),
                 shown_volume(length->displaced_volume_m3 * 1000, units)));
}

void frmEnclosure::Command_use_Click() {
    if (velocities_ && use_velocities_) {
        use_velocities_(*velocities_);
        hide();
    }
}

} // namespace venturon
