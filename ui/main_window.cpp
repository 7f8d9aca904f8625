#include "main_window.h"

#include "about_dialog.h"
#include "accessibility.h"
#include "allowance_display.h"
#include "colours.h"
#include "command_button.h"
#include "controls.h"
#include "cruise.h"
#include "designed_names.h"
#include "diameter_warning_dialog.h"
#include "enclosure_designer.h"
#include "font_fitting.h"
#include "imperial.h"
#include "interaction.h"
#include "length_display.h"
#include "model.h"
#include "number_text.h"
#include "options_dialog.h"
#include "palette.h"
#include "picture_box.h"
#include "twips.h"
#include "units_dialog.h"
#include "velocity_graph.h"
#include "venturon_version.h"
#include "window_setup.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <cmath>

namespace venturon {

namespace {
const QString stale_text = QStringLiteral("Press Calculate to update results");
const QString diameter_format_message =
    QStringLiteral("Diameter field contains incorrect format - see Change Units screen for rules");
const QString radius_format_message =
    QStringLiteral("Radius field contains incorrect format - see Change Units screen for rules");

// Ctrl+Q everywhere, plus whatever the desktop calls Quit.
QList<QKeySequence> quit_keys() {
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q))) {
        keys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Q));
    }
    return keys;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
std::string ss(const QString& s) {
    return s.toStdString();
}
QColor qcolour(const Rgb& c) {
    return {c.red, c.green, c.blue};
}

} // namespace

MainWindow::MainWindow(ProgramState& program, Interaction& interaction, QString settings_directory,
                       QWidget* parent)
    : QWidget(parent), program_(program), interaction_(interaction),
      settings_directory_(std::move(settings_directory)) {
    install_accessibility();
    create_controls();
    describe_controls();
    connect_handlers();
    start_up();
}

MainWindow::~MainWindow() = default;

void MainWindow::create_controls() {
    setObjectName(QString::fromLatin1(designed::main::window));
    setWindowTitle(QStringLiteral("Venturon"));
    set_back_colour(this, colours::window_background);
    setFixedSize(twips_size(6228, 5748));

    // The window's captions and links prefer 8 points.
    const auto label = [this](const char* name, const char* caption, QRect at,
                              const char* tip = "") {
        QLabel* l =
            add_label(this, name, QString::fromLatin1(caption), at, QString::fromLatin1(tip));
        fit_font(l, l->text(), 8);
        return l;
    };
    const auto link = [this](const char* name, const char* caption, QRect at) {
        ClickableLabel* l = add_link(this, name, QString::fromLatin1(caption), at);
        fit_font(l, l->text(), 8);
        return l;
    };
    const auto text = [this](const char* name, QRect at) { return add_text_box(this, name, at); };
    const auto button = [this](const char* name, const char* caption, QRect at, const char* tip) {
        return add_button(this, name, QString::fromLatin1(caption), at, QString::fromLatin1(tip));
    };

    namespace name = designed::main;
    diameter_caption = label(name::diameter_caption, "Port Diameter - mm",
                             twips(240, 240, 1692, 252), "Internal diameter of port");
    diameter_field = text(name::diameter_field, twips(2040, 240, 1092, 288));
    radius_caption = label(name::radius_caption, "Flare Radius - mm", twips(3360, 240, 1572, 252),
                           "Radius of port flare");
    radius_field = text(name::radius_field, twips(5040, 240, 1092, 288));
    radius_field->setEnabled(false);
    set_back_colour(radius_field, colours::computed_field);
    // Both captions also name inches (units dialog): sized for the longer text.
    fit_font(diameter_caption, QStringLiteral("Port Diameter - inches"), 8);
    fit_font(radius_caption, QStringLiteral("Flare Radius - inches"), 8);
    port_count_caption = label(name::port_count_caption, "Number of ports",
                               twips(240, 600, 1692, 252), "Required if Cruise control is used");
    port_count_field = text(name::port_count_field, twips(2040, 600, 1092, 288));
    units_link = link(name::units_link, "Change Units", twips(3360, 600, 1572, 252));
    radius_down_button = button(name::radius_down_button, "<", twips(5280, 600, 252, 252), "Less");
    radius_up_button = button(name::radius_up_button, ">", twips(5640, 600, 252, 252), "More");
    velocities_caption = label(name::velocities_caption, "Required velocities - m/sec",
                               twips(240, 1080, 2292, 252), "Get these from your design package");
    const char* frequencies[] = {"20hz", "25hz", "30hz", "35hz"};
    const auto velocity_top = [](std::size_t i) { return 1440 + 360 * static_cast<int>(i); };
    for (std::size_t i = 0; i < velocity_captions.size(); ++i) {
        velocity_captions[i] = label(name::velocity_captions[i], frequencies[i],
                                     twips(240, velocity_top(i), 660, 252));
    }
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        velocity_fields[i] = text(name::velocity_fields[i], twips(960, velocity_top(i), 732, 288));
        velocity_fields[i]->setEnabled(false);
    }

    minimum_mode_option =
        add_option(this, name::minimum_mode_option,
                   QStringLiteral("Calculate minimum flare radius"), twips(2760, 1440, 2652, 252));
    manual_mode_option =
        add_option(this, name::manual_mode_option, QStringLiteral("Manually specify flare radius"),
                   twips(2760, 1800, 2652, 252));
    // A group of its own: the dialogs' option buttons are children of this window
    // too, and would otherwise share the automatic exclusivity of its buttons.
    radius_mode_group = new QButtonGroup(this);
    radius_mode_group->addButton(minimum_mode_option);
    radius_mode_group->addButton(manual_mode_option);
    fit_font_group({minimum_mode_option, manual_mode_option}, 8, 22);
    minimum_mode_option->setChecked(true);
    radius_up_button->hide();
    radius_down_button->hide();

    calculate_button =
        add_control<CommandButton>(this, name::calculate_button, twips(2760, 2280, 2652, 372));
    calculate_button->setText(QStringLiteral("&Calculate"));
    cruise_control_check = add_check_box(
        this, name::cruise_control_check, QStringLiteral("Cruise control"),
        twips(240, 3000, 1452, 252),
        QStringLiteral("Automatically scale required velocities when diameter or number of ports "
                       "is changed. Uncheck to change velocities"));
    fit_font(cruise_control_check, cruise_control_check->text(), 8, 22);
    cruise_control_check->setChecked(true);

    reminder_ = AllowanceReminder::create(this, 2760, 2940);

    options_link = link(name::options_link, "Options", twips(3840, 3000, 732, 252));
    mode_link = link(name::mode_link, "Simple", twips(4560, 3000, 612, 252));
    about_link = link(name::about_link, "About", twips(5280, 3000, 612, 252));
    // Not one of the designed controls: it stands in space that no other control
    // takes, in either display mode.
    enclosure_link = link(name::enclosure_link, "Enclosure designer", twips(4200, 1080, 1900, 252));

    simple_mode_caption =
        label(name::simple_mode_caption, "Simple mode", twips(5400, 1080, 3852, 372));
    graph_hint = label(name::graph_hint, "Click graph to change frequency tracked in status line",
                       twips(5400, 1440, 3852, 252));
    fit_font(simple_mode_caption, simple_mode_caption->text(), 9.6);
    set_hint_colour(colours::hint);
    simple_mode_caption->hide();
    graph_hint->hide();

    graph = add_control<PictureBox>(this, name::graph, twips(120, 3480, 6012, 1812));
    graph->setFocusPolicy(Qt::ClickFocus);

    status_line =
        add_label(this, name::status_line, QStringLiteral("Status"), twips(120, 5400, 6012, 252));
    status_line->setTextFormat(Qt::PlainText);
    fit_font(status_line, QStringLiteral(" Chuffing with  Core Turbulence and Compression"), 8);
    set_back_colour(status_line, colours::noise_free_status);

    QWidget* order[] = {
        diameter_field,       radius_field,       radius_down_button,  radius_up_button,
        port_count_field,     calculate_button,   minimum_mode_option, manual_mode_option,
        velocity_fields[0],   velocity_fields[1], velocity_fields[2],  velocity_fields[3],
        cruise_control_check, units_link,         options_link,        mode_link,
        about_link,           enclosure_link};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    add_quit_shortcut(this);
}

// What screen readers say for the controls whose captions stand beside them or
// say nothing in words. The length captions follow the units by themselves.
void MainWindow::describe_controls() {
    diameter_caption->setBuddy(diameter_field);
    radius_caption->setBuddy(radius_field);
    port_count_caption->setBuddy(port_count_field);
    const char* frequencies[] = {"20", "25", "30", "35"};
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        velocity_fields[i]->setAccessibleName(
            QStringLiteral("Required velocity at %1 Hz, m/s").arg(QLatin1String(frequencies[i])));
    }
    radius_down_button->setAccessibleName(QStringLiteral("Smaller flare radius"));
    radius_up_button->setAccessibleName(QStringLiteral("Larger flare radius"));
    graph->setAccessibleName(QStringLiteral("Velocity graph"));
    status_line->setAccessibleDescription(QStringLiteral("Status line"));
}

// Quitting works from the main window and from any of its dialogs: it closes the
// main window, which saves the settings and ends the program.
void MainWindow::add_quit_shortcut(QWidget* window) {
    auto* quit = new QShortcut(window);
    quit->setObjectName(QStringLiteral("quit_shortcut"));
    quit->setKeys(quit_keys());
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::connect_handlers() {
    connect(diameter_field, &QLineEdit::textChanged, this, &MainWindow::on_diameter_edited);
    connect(diameter_field, &QLineEdit::returnPressed, this, &MainWindow::calculate_command);
    connect(diameter_field, &TextBox::focus_lost, this, &MainWindow::on_diameter_left);
    connect(radius_field, &QLineEdit::textChanged, this, &MainWindow::on_radius_edited);
    connect(radius_field, &QLineEdit::returnPressed, this, &MainWindow::calculate_command);
    connect(radius_field, &TextBox::focus_lost, this, &MainWindow::on_radius_left);
    for (int i = 0; i < 4; ++i) {
        connect(velocity_fields[i], &QLineEdit::textChanged, this,
                [this, i] { on_velocity_edited(i); });
        connect(velocity_fields[i], &TextBox::focus_lost, this, [this, i] { on_velocity_left(i); });
    }
    connect(port_count_field, &QLineEdit::textChanged, this, &MainWindow::on_port_count_edited);
    connect(port_count_field, &QLineEdit::returnPressed, this, &MainWindow::calculate_command);
    connect(cruise_control_check, &QCheckBox::toggled, this,
            &MainWindow::on_cruise_control_toggled);
    connect(minimum_mode_option, &QRadioButton::toggled, this,
            &MainWindow::on_minimum_mode_toggled);
    connect(manual_mode_option, &QRadioButton::toggled, this, &MainWindow::on_manual_mode_toggled);
    connect(calculate_button, &QPushButton::clicked, this, &MainWindow::calculate_command);
    connect(calculate_button, &CommandButton::click_abandoned, this,
            &MainWindow::on_calculate_press_abandoned);
    connect(calculate_button, &CommandButton::focus_lost, this,
            &MainWindow::on_calculate_press_abandoned);
    connect(radius_up_button, &QPushButton::clicked, this, &MainWindow::increase_radius);
    connect(radius_down_button, &QPushButton::clicked, this, &MainWindow::decrease_radius);
    connect(graph, &PictureBox::mouse_down, this, &MainWindow::on_graph_clicked);
    connect(options_link, &ClickableLabel::clicked, this, &MainWindow::open_options);
    connect(about_link, &ClickableLabel::clicked, this, &MainWindow::open_about);
    connect(units_link, &ClickableLabel::clicked, this, &MainWindow::open_units);
    connect(enclosure_link, &ClickableLabel::clicked, this, &MainWindow::open_enclosure_designer);
    connect(mode_link, &ClickableLabel::clicked, this, &MainWindow::switch_display_mode);
    reminder_.on_click(this, [this] { open_options(); });
}

// Start-up, before the window is first shown.
void MainWindow::start_up() {
    program_.version_text = QString::fromLatin1(version);

    // A third of the free space above and to the left.
    place_on_screen(this, 1.0 / 3, 1.0 / 3);

    graph->resize(status_line->width(),
                  static_cast<int>(Int((status_line->y() - graph->y()) * 0.92)));

    reminder_.lay_out();

    simple_mode_caption->move(port_count_caption->x(), velocities_caption->y());
    graph_hint->move(port_count_caption->x(), velocity_captions[0]->y());

    diameter_warning_ = new DiameterWarningDialog(this);
    about_ = new AboutDialog(
        program_, interaction_, [this] { re_enable_warnings(); }, this);
    options_ = new OptionsDialog(
        program_,
        [this] {
            show_allowances(*options_, reminder_);
            port_changed();
        },
        this);
    units_ = new UnitsDialog(
        program_,
        [this](bool imperial) {
            diameter_caption->setText(imperial ? QStringLiteral("Port Diameter - inches")
                                               : QStringLiteral("Port Diameter - mm"));
            radius_caption->setText(imperial ? QStringLiteral("Flare Radius - inches")
                                             : QStringLiteral("Flare Radius - mm"));
            if (diameter_warning_) {
                diameter_warning_->set_metric_texts(!imperial);
            }
        },
        this);

    for (QWidget* dialog :
         std::initializer_list<QWidget*>{diameter_warning_, about_, options_, units_}) {
        add_quit_shortcut(dialog);
    }

    s_.diameter_mm = 100;
    s_.radius_mm = 10;

    set_text(port_count_field, QStringLiteral("1"));
    set_text(velocity_fields[0], QStringLiteral("10"));
    set_text(velocity_fields[1], QStringLiteral("14"));
    set_text(velocity_fields[2], QStringLiteral("12"));
    set_text(velocity_fields[3], QStringLiteral("7"));

    program_.display_mode = DisplayMode::full;
    program_.tracked_frequency = 28;
    s_.clicked_frequency = 28;

    load_settings();
    show_allowances(*options_, reminder_);
    populatedia();
    populaterad();
    if (s_.diameter_mm > 0) {
        calculate_command();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shut_down();
    event->accept();
}

// Closing: the settings are written once, then the dialogs go in a fixed order.
// A dialog still open (the close may come from the desktop while one is modal) is
// hidden first, which ends its modal loop.
void MainWindow::shut_down() {
    if (closed_) {
        return;
    }
    closed_ = true;
    QDialog* dialogs[] = {diameter_warning_, about_, options_, units_, enclosure_};
    for (QDialog* d : dialogs) {
        if (d && d->isVisible()) {
            d->hide();
        }
    }
    if (saves_settings_) {
        save_settings();
    }
    for (QDialog* d : dialogs) {
        if (d) {
            d->deleteLater();
        }
    }
}

AllowanceSelection MainWindow::current_allowances() const {
    return options_ ? options_->selection() : first_start_allowances;
}

// --- Input fields -------------------------------------------------------------

void MainWindow::mark_stale(QWidget* field) {
    set_back_colour(field, colours::stale_field);
    set_status(stale_text, colours::stale_status);
}

// A label announces a new text to screen readers (a name change), so that their
// users hear each verdict, which others see by its colour too.
void MainWindow::set_status(const QString& caption, const QColor& background) {
    status_line->setText(caption);
    set_back_colour(status_line, background);
}

void MainWindow::on_diameter_edited() {
    if (program_.populating) {
        return;
    }
    s_.diameter_changed = true;
    mark_stale(diameter_field);
}

// Leaving a length field validates it, except towards the Calculate button,
// whose command validates the same field first thing: the user then sees one
// message, not two, and the value typed is the value calculated. Should the
// press on the button not become a click, on_calculate_press_abandoned reads it.
void MainWindow::on_diameter_left() {
    if (!s_.diameter_changed) {
        return;
    }
    if (QApplication::focusWidget() == calculate_button) {
        s_.validation_deferred = true;
        return;
    }
    validatedia();
}

void MainWindow::on_radius_edited() {
    if (program_.populating) {
        return;
    }
    s_.radius_changed = true;
    if (radius_field->isEnabled()) {
        mark_stale(radius_field);
    }
}

void MainWindow::on_radius_left() {
    if (!s_.radius_changed) {
        return;
    }
    if (QApplication::focusWidget() == calculate_button) {
        s_.validation_deferred = true;
        return;
    }
    validaterad();
}

// The focus came to Calculate from an edited length field, and the press ended
// without a click (released away from the button) or the focus moved on: the
// validation that leaving the field skipped happens now, once.
void MainWindow::on_calculate_press_abandoned() {
    if (!s_.validation_deferred) {
        return;
    }
    s_.validation_deferred = false;
    if (s_.diameter_changed) {
        validatedia();
    }
    if (s_.radius_changed && s_.conv_error.isEmpty()) {
        validaterad();
    }
}

// A velocity text that is not one number as typed ("12,5", "6 1/2", "-5") is
// shown as the value that is used, so the screen never hides what a result
// comes from. Texts that read completely stay as typed.
void MainWindow::show_velocity_used(std::size_t index) {
    TextBox* field = velocity_fields[index];
    const double used = s_.required_v[index];
    const auto typed = complete_number(ss(field->text()));
    if (!typed || *typed != used) {
        set_text(field, qs(number_text(used)));
    }
}

void MainWindow::on_velocity_left(int index) {
    show_velocity_used(static_cast<std::size_t>(index));
}

void MainWindow::on_velocity_edited(int index) {
    TextBox* field = velocity_fields[static_cast<std::size_t>(index)];
    s_.required_v[static_cast<std::size_t>(index)] = field_number(field);
    if (!cruise_control_check->isChecked()) {
        mark_stale(field);
    } else {
        set_back_colour(field, colours::computed_field);
    }
}

// --- Cruise control and port count ---------------------------------------------

void MainWindow::on_port_count_edited() {
    set_text(port_count_field, qs(number_text_trimmed(Int(field_number(port_count_field)))));
    if (port_count_field->text() == QLatin1String("0")) {
        set_text(port_count_field, QStringLiteral("1"));
    }
    checklock();
    s_.port_word = QString::fromLatin1(port_word(field_number(port_count_field)));
    set_status(stale_text, colours::stale_status);
    port_changed();
}

void MainWindow::checklock() {
    if (!cruise_control_check->isChecked() && s_.loading_settings != 1) {
        return;
    }
    const CruiseReference reference{s_.lock_diameter_mm, s_.lock_ports, s_.lock_v};
    const auto rescaled =
        rescale_velocities(reference, s_.diameter_mm, field_number(port_count_field));
    if (!rescaled) {
        return;
    }
    s_.lock_scale = rescaled->scale;
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        set_text(velocity_fields[i], qs(number_text(rescaled->velocities[i])));
    }
}

void MainWindow::on_cruise_control_toggled(bool checked) {
    if (!checked) {
        for (TextBox* field : velocity_fields) {
            field->setEnabled(true);
            if (back_colour(field) != colours::stale_field) {
                set_back_colour(field, colours::normal_field);
            }
        }
        return;
    }

    for (TextBox* field : velocity_fields) {
        field->setEnabled(false);
        if (back_colour(field) != colours::stale_field) {
            set_back_colour(field, colours::computed_field);
        }
    }
    const MainWindowState before = s_;
    s_.lock_diameter_mm = field_number(diameter_field);
    s_.lock_ports = field_number(port_count_field);
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        s_.lock_v[i] = field_number(velocity_fields[i]);
    }
    if (s_.diameter_changed) {
        const double diameter = read_length(diameter_field);
        if (!s_.conv_error.isEmpty()) {
            // An unreadable diameter gives no reference: everything stays as it
            // was and cruise control goes back off.
            interaction_.notice(this, diameter_format_message);
            s_.lock_diameter_mm = before.lock_diameter_mm;
            s_.lock_ports = before.lock_ports;
            s_.lock_v = before.lock_v;
            cruise_control_check->setChecked(false);
            return;
        }
        s_.diameter_mm = diameter;
    }
    s_.lock_diameter_mm = s_.diameter_mm;
}

// --- Length conversion and validation -------------------------------------------

namespace {
// Shows a stored length in a field in the units mode; a computed minimum shows
// the next display step up, so that the radius shown is always enough.
void populate(ProgramState& program, QLineEdit* field, double mm,
              Rounding rounding = Rounding::nearest) {
    program.populating = true;
    set_text(field, qs(field_length_text(mm, program.units_mode, rounding)));
    program.populating = false;
}
} // namespace

void MainWindow::populatedia() {
    populate(program_, diameter_field, s_.diameter_mm);
    s_.diameter_changed = false;
}

void MainWindow::populaterad() {
    populate(program_, radius_field, s_.radius_mm,
             minimum_mode_option->isChecked() ? Rounding::up : Rounding::nearest);
    s_.radius_changed = false;
}

// Reads a length field in the units mode, in millimetres; conv_error tells
// whether an imperial text could not be read.
double MainWindow::read_length(const QLineEdit* field) {
    if (imperial(program_.units_mode)) {
        const ImperialParse parsed = in2mm(ss(field->text()));
        s_.conv_error = qs(parsed.message);
        return text_value(parsed.result);
    }
    s_.conv_error.clear();
    return field_number(field);
}

void MainWindow::validatedia() {
    s_.diameter_mm = read_length(diameter_field);
    if (!s_.conv_error.isEmpty()) {
        interaction_.notice(this, diameter_format_message);
    }
    if (s_.diameter_mm == 0) {
        cruise_control_check->setEnabled(false);
        if (s_.conv_error.isEmpty()) {
            interaction_.notice(this, QStringLiteral("Port Diameter must be greater than zero"));
        }
        return;
    }
    cruise_control_check->setEnabled(true);
    checklock();
    populatedia();
    s_.diameter_changed = false;
    port_changed();
}

void MainWindow::validaterad() {
    s_.radius_mm = read_length(radius_field);
    if (!s_.conv_error.isEmpty()) {
        interaction_.notice(this, radius_format_message);
        return;
    }
    populaterad();
    s_.radius_changed = false;
    port_changed();
}

// --- Calculate command -----------------------------------------------------------

CalculationInput MainWindow::calculation_input() const {
    CalculationInput in;
    in.diameter = s_.diameter_mm;
    in.mode = minimum_mode_option->isChecked() ? CalculationMode::minimum : CalculationMode::manual;
    in.radius = s_.radius_mm;
    in.required = s_.required_v;
    in.allowances = current_allowances();
    return in;
}

void MainWindow::calculate_command() {
    s_.validation_deferred = false;
    validatedia();
    if (s_.diameter_mm == 0 || !s_.conv_error.isEmpty()) {
        return;
    }
    set_text(port_count_field, qs(number_text_trimmed(Int(field_number(port_count_field)))));
    for (std::size_t i = 0; i < 4; ++i) {
        show_velocity_used(i);
    }

    CalculationResult result = calculate(calculation_input());
    s_.core_limit = result.core_limit;

    const bool minimum = minimum_mode_option->isChecked();
    if (minimum) {
        s_.min_radius = result.min_radius;
        s_.radius_mm = result.radius;
        populaterad();
    } else {
        validaterad();
        if (!s_.conv_error.isEmpty()) {
            return;
        }
        result = calculate(calculation_input());
    }
    s_.flare_area_ratio = result.area_ratio;
    s_.chuff_limit = result.chuff_limit;
    drawfreq();
    s_.core_excess = result.core_excess;
    s_.chuff_excess = result.chuff_excess;

    if (!full_mode()) {
        set_status(QString(), colours::noise_free_status);
        s_.clicked_frequency = program_.tracked_frequency;
        show_clicked_velocities();
    } else {
        set_status(qs(verdict_text(result.verdict, ss(s_.port_word))),
                   qcolour(verdict_colour(result.verdict)));
    }

    set_back_colour(diameter_field, colours::normal_field);
    set_back_colour(port_count_field, colours::normal_field);
    if (minimum) {
        set_back_colour(radius_field,
                        result.radius == 0 ? colours::stale_field : colours::computed_field);
    } else {
        set_back_colour(radius_field, colours::normal_field);
    }
    for (TextBox* field : velocity_fields) {
        set_back_colour(field, cruise_control_check->isChecked() ? colours::computed_field
                                                                 : colours::normal_field);
    }
    port_changed();

    if (s_.diameter_mm > DiameterWarningDialog::threshold_mm && diameter_warning_ &&
        !diameter_warning_->warnings_silenced()) {
        interaction_.run_modal(*diameter_warning_);
    }
}

void MainWindow::on_minimum_mode_toggled(bool checked) {
    if (!checked) {
        return;
    }
    radius_field->setEnabled(false);
    set_back_colour(radius_field, colours::computed_field);
    radius_up_button->hide();
    radius_down_button->hide();
}

void MainWindow::on_manual_mode_toggled(bool checked) {
    if (!checked) {
        return;
    }
    radius_field->setEnabled(true);
    set_back_colour(radius_field, colours::normal_field);
    radius_up_button->show();
    radius_down_button->show();
}

namespace {
double radius_step(const ProgramState& program) {
    return imperial(program.units_mode) ? 1.6 : 1.0;
}
} // namespace

void MainWindow::increase_radius() {
    s_.radius_mm = s_.radius_mm + radius_step(program_);
    populaterad();
    calculate_command();
}

void MainWindow::decrease_radius() {
    s_.radius_mm = s_.radius_mm - radius_step(program_);
    if (s_.radius_mm < 0) {
        s_.radius_mm = 0;
    }
    populaterad();
    calculate_command();
}

// --- Graph and status line ---------------------------------------------------------

void MainWindow::drawfreq() {
    VelocityGraphInput in = velocity_graph_input(s_.core_limit, s_.chuff_limit, s_.required_v);
    in.full_mode = full_mode();
    in.tracked_frequency = program_.tracked_frequency;
    in.top_velocity_label = s_.top_velocity_label;
    in.picture_size = graph->size();
    const VelocityGraphOutput out = draw_velocity_graph(graph->drawing(), in);
    s_.graph_max_velocity = out.graph_max_velocity;
    s_.top_velocity_label = out.top_velocity_label;
    graph->refresh();
    graph->setAccessibleDescription(describe_velocity_graph(in));
}

void MainWindow::on_graph_clicked(Qt::MouseButton, Qt::KeyboardModifiers, double x, double) {
    const float x5 = static_cast<float>(x) * 5.0f;
    s_.clicked_frequency = static_cast<float>(Int(double(x5) + 0.5) + 15);
    if (!full_mode()) {
        program_.tracked_frequency = s_.clicked_frequency;
        drawfreq();
        set_hint_colour(colours::hint_pale);
    }
    show_clicked_velocities();
}

void MainWindow::show_clicked_velocities() {
    const float f = s_.clicked_frequency;
    const double d = s_.diameter_mm;
    const double r = s_.radius_mm;
    const AllowanceSelection allowances = current_allowances();
    s_.status_core = core_limit(d, f, allowances);

    QString frequency = QStringLiteral("At ") + qs(number_text(f));
    if (f < 20) {
        frequency = QStringLiteral("Below 20");
    }
    if (f > 35) {
        frequency = QStringLiteral("Above 35");
    }
    QString caption = frequency + QStringLiteral("hz   Core Limit is") +
                      qs(number_text(Int(s_.status_core + 0.5))) + QStringLiteral("m/s");
    // Without a diameter the flare's area ratio is undefined: only the core limit
    // is shown then.
    if (d > 0) {
        s_.flare_area_ratio = area_ratio(d, r);
        s_.status_chuff = chuff_limit_for_ratio(d, s_.flare_area_ratio, f, allowances);
        caption += QStringLiteral("   Chuffing is") + qs(number_text(Int(s_.status_chuff + 0.5))) +
                   QStringLiteral("m/s");
    } else {
        s_.status_chuff = 0;
    }
    status_line->setText(caption);
}

void MainWindow::set_hint_colour(const QColor& colour) {
    set_fore_colour(simple_mode_caption, colour);
    set_fore_colour(graph_hint, colour);
}

// --- Links and dialogs ---------------------------------------------------------------

void MainWindow::open_options() {
    if (!options_) {
        return;
    }
    program_.options_changed = 0;
    interaction_.run_modal(*options_);
    if (program_.options_changed == 1 && !closed_) {
        set_status(QStringLiteral("Press Calculate to update graph"), colours::stale_status);
    }
}

void MainWindow::open_about() {
    if (about_) {
        interaction_.run_modal(*about_);
    }
}

// The designer is made when first opened, and stays beside the main window (not
// modal), following its port as it changes.
void MainWindow::open_enclosure_designer() {
    if (closed_) {
        return;
    }
    if (!enclosure_) {
        enclosure_ = new EnclosureDesigner(
            program_, [this] { return window_port(); },
            [this](const std::array<double, 4>& velocities) { use_velocities(velocities); }, this);
        enclosure_->set_design_port_taker(
            [this](const DesignPort& port) { apply_design_port(port); });
        enclosure_->set_settings_directory(settings_directory_);
        enclosure_->set_inputs(enclosure_inputs_);
        enclosure_->set_references(enclosure_references_);
        add_quit_shortcut(enclosure_);
    }
    enclosure_->show();
    enclosure_->raise();
    enclosure_->activateWindow();
}

WindowPort MainWindow::window_port() const {
    // A computed minimum is cut as the radius field shows it, a step up.
    const bool minimum = minimum_mode_option->isChecked();
    const double radius = minimum ? shown_minimum(s_.radius_mm, program_.units_mode) : s_.radius_mm;
    return {s_.diameter_mm, radius, std::max(1.0, field_number(port_count_field)),
            current_allowances(), minimum};
}

// The designer, when open, works its results out again for the port as it is now.
void MainWindow::port_changed() {
    if (enclosure_ && !closed_) {
        enclosure_->refresh();
    }
}

const EnclosureInputs& MainWindow::enclosure_inputs() const {
    return enclosure_ ? enclosure_->inputs() : enclosure_inputs_;
}

const std::vector<ReferenceInputs>& MainWindow::enclosure_references() const {
    return enclosure_ ? enclosure_->references() : enclosure_references_;
}

// A design opened in the designer brings the main window's port with it: the
// diameter, the port count and the flare radius (or the minimum), as if typed.
void MainWindow::apply_design_port(const DesignPort& port) {
    if (port.diameter_mm && *port.diameter_mm > 0 && std::isfinite(*port.diameter_mm)) {
        s_.diameter_mm = *port.diameter_mm;
        populatedia();
        cruise_control_check->setEnabled(true);
        checklock();
    }
    if (port.count && *port.count >= 1 && *port.count <= 1000) {
        set_text(port_count_field, qs(number_text_trimmed(Int(*port.count))));
        on_port_count_edited();
    }
    if (port.minimum_radius) {
        minimum_mode_option->setChecked(true);
    } else if (port.flare_radius_mm && *port.flare_radius_mm >= 0 &&
               std::isfinite(*port.flare_radius_mm)) {
        manual_mode_option->setChecked(true);
        s_.radius_mm = *port.flare_radius_mm;
        populaterad();
    }
    set_status(stale_text, colours::stale_status);
    port_changed();
}

// The enclosure designer's velocities, written into the velocity fields as the
// user would type them (to one decimal). With cruise control on, they become its
// reference for the port as it stands, as switching it on after typing them would
// make them. Nothing is calculated: the status line asks for it.
void MainWindow::use_velocities(const std::array<double, 4>& velocities) {
    for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
        set_text(velocity_fields[i], qs(number_text_trimmed(std::round(velocities[i] * 10) / 10)));
    }
    if (cruise_control_check->isChecked()) {
        s_.lock_diameter_mm = s_.diameter_mm;
        s_.lock_ports = field_number(port_count_field);
        for (std::size_t i = 0; i < velocity_fields.size(); ++i) {
            s_.lock_v[i] = field_number(velocity_fields[i]);
        }
    }
    set_status(stale_text, colours::stale_status);
}

void MainWindow::open_units() {
    if (!units_) {
        return;
    }
    interaction_.run_modal(*units_);
    if (closed_) {
        return;
    }
    populatedia();
    populaterad();
    if (enclosure_) {
        enclosure_->units_changed();
    }
}

void MainWindow::re_enable_warnings() {
    if (diameter_warning_) {
        diameter_warning_->set_warnings_silenced(false);
    }
    set_hint_colour(colours::hint);
}

void MainWindow::switch_display_mode() {
    QWidget* full_only[] = {port_count_caption,  velocity_captions[0], velocity_captions[1],
                            velocities_caption,  velocity_captions[2], velocity_captions[3],
                            port_count_field,    velocity_fields[0],   velocity_fields[1],
                            velocity_fields[2],  velocity_fields[3],   cruise_control_check,
                            minimum_mode_option, manual_mode_option};
    if (full_mode()) {
        program_.display_mode = DisplayMode::simple;
        mode_link->setText(QStringLiteral("Full"));
        simple_mode_caption->show();
        graph_hint->show();
        for (QWidget* w : full_only) {
            w->hide();
        }
        manual_mode_option->setChecked(true);
    } else {
        program_.display_mode = DisplayMode::full;
        mode_link->setText(QStringLiteral("Simple"));
        simple_mode_caption->hide();
        graph_hint->hide();
        for (QWidget* w : full_only) {
            w->show();
        }
    }
    calculate_command();
}

} // namespace venturon
