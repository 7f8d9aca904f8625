#include "form1.h"

#include "accessibility.h"
#include "allowance_display.h"
#include "colours.h"
#include "command_button.h"
#include "controls.h"
#include "cruise.h"
#include "font_fitting.h"
#include "frm_about.h"
#include "frm_dia_warning.h"
#include "frm_enclosure.h"
#include "frm_options.h"
#include "frm_units.h"
#include "imperial.h"
#include "interaction.h"
#include "model.h"
#include "number_text.h"
#include "palette.h"
#include "picture_box.h"
#include "twips.h"
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

Form1::Form1(ProgramState& program, Interaction& interaction, QString settings_directory,
             QWidget* parent)
    : QWidget(parent), program_(program), interaction_(interaction),
      settings_directory_(std::move(settings_directory)) {
    install_accessibility();
    create_controls();
    describe_controls();
    connect_handlers();
    form_load();
}

Form1::~Form1() = default;

void Form1::create_controls() {
    setObjectName(QStringLiteral("Form1"));
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

    Label1 = label("Label1", "Port Diameter - mm", twips(240, 240, 1692, 252),
                   "Internal diameter of port");
    Text1 = text("Text1", twips(2040, 240, 1092, 288));
    Label2 =
        label("Label2", "Flare Radius - mm", twips(3360, 240, 1572, 252), "Radius of port flare");
    Text2 = text("Text2", twips(5040, 240, 1092, 288));
    Text2->setEnabled(false);
    set_back_colour(Text2, colours::computed_field);
    // Both captions also name inches (units dialog): sized for the longer text.
    fit_font(Label1, QStringLiteral("Port Diameter - inches"), 8);
    fit_font(Label2, QStringLiteral("Flare Radius - inches"), 8);
    Label12 = label("Label12", "Number of ports", twips(240, 600, 1692, 252),
                    "Required if Cruise control is used");
    Text10 = text("Text10", twips(2040, 600, 1092, 288));
    Label14 = link("Label14", "Change Units", twips(3360, 600, 1572, 252));
    Command3 = button("Command3", "<", twips(5280, 600, 252, 252), "Less");
    Command2 = button("Command2", ">", twips(5640, 600, 252, 252), "More");
    Label8 = label("Label8", "Required velocities - m/sec", twips(240, 1080, 2292, 252),
                   "Get these from your design package");
    Label6 = label("Label6", "20hz", twips(240, 1440, 660, 252));
    Label7 = label("Label7", "25hz", twips(240, 1800, 660, 252));
    Label10 = label("Label10", "30hz", twips(240, 2160, 660, 252));
    Label11 = label("Label11", "35hz", twips(240, 2520, 660, 252));
    Text6 = text("Text6", twips(960, 1440, 732, 288));
    Text7 = text("Text7", twips(960, 1800, 732, 288));
    Text8 = text("Text8", twips(960, 2160, 732, 288));
    Text9 = text("Text9", twips(960, 2520, 732, 288));
    for (TextBox* v : velocity_fields()) {
        v->setEnabled(false);
    }

    Option1 = add_option(this, "Option1", QStringLiteral("Calculate minimum flare radius"),
                         twips(2760, 1440, 2652, 252));
    Option2 = add_option(this, "Option2", QStringLiteral("Manually specify flare radius"),
                         twips(2760, 1800, 2652, 252));
    // A group of its own: the dialogs' option buttons are children of this window
    // too, and would otherwise share the automatic exclusivity of its buttons.
    mode_group = new QButtonGroup(this);
    mode_group->addButton(Option1);
    mode_group->addButton(Option2);
    fit_font_group({Option1, Option2}, 8, 22);
    Option1->setChecked(true);
    Command2->hide();
    Command3->hide();

    Command1 = add_control<CommandButton>(this, "Command1", twips(2760, 2280, 2652, 372));
    Command1->setText(QStringLiteral("&Calculate"));
    Check1 = add_check_box(
        this, "Check1", QStringLiteral("Cruise control"), twips(240, 3000, 1452, 252),
        QStringLiteral("Automatically scale required velocities when diameter or number of ports "
                       "is changed. Uncheck to change velocities"));
    fit_font(Check1, Check1->text(), 8, 22);
    Check1->setChecked(true);

    reminder_ = AllowanceReminder::create(this, 2760, 2940);

    Label3 = link("Label3", "Options", twips(3840, 3000, 732, 252));
    Label_mode = link("Label_mode", "Simple", twips(4560, 3000, 612, 252));
    Label13 = link("Label13", "About", twips(5280, 3000, 612, 252));
    // Not one of the designed controls: it stands in space that no other control
    // takes, in either display mode.
    Label_enclosure = link("Label_enclosure", "Enclosure designer", twips(4200, 1080, 1900, 252));

    Label4 = label("Label4", "Simple mode", twips(5400, 1080, 3852, 372));
    Label5 = label("Label5", "Click graph to change frequency tracked in status line",
                   twips(5400, 1440, 3852, 252));
    fit_font(Label4, Label4->text(), 9.6);
    set_hint_colour(colours::hint);
    Label4->hide();
    Label5->hide();

    Picture3 = add_control<PictureBox>(this, "Picture3", twips(120, 3480, 6012, 1812));
    Picture3->setFocusPolicy(Qt::ClickFocus);

    Label9 = add_label(this, "Label9", QStringLiteral("Status"), twips(120, 5400, 6012, 252));
    Label9->setTextFormat(Qt::PlainText);
    fit_font(Label9, QStringLiteral(" Chuffing with  Core Turbulence and Compression"), 8);
    set_back_colour(Label9, colours::noise_free_status);

    QWidget* order[] = {Text1,   Text2,   Command3, Command2,   Text10,  Command1,
                        Option1, Option2, Text6,    Text7,      Text8,   Text9,
                        Check1,  Label14, Label3,   Label_mode, Label13, Label_enclosure};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    add_quit_shortcut(this);
}

// What screen readers say for the controls whose captions stand beside them or
// say nothing in words. The length captions follow the units by themselves.
void Form1::describe_controls() {
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Label12->setBuddy(Text10);
    const char* frequencies[] = {"20", "25", "30", "35"};
    const auto fields = velocity_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i]->setAccessibleName(
            QStringLiteral("Required velocity at %1 Hz, m/s").arg(QLatin1String(frequencies[i])));
    }
    Command3->setAccessibleName(QStringLiteral("Smaller flare radius"));
    Command2->setAccessibleName(QStringLiteral("Larger flare radius"));
    Picture3->setAccessibleName(QStringLiteral("Velocity graph"));
    Label9->setAccessibleDescription(QStringLiteral("Status line"));
}

// Quitting works from the main window and from any of its dialogs: it closes the
// main window, which saves the settings and ends the program.
void Form1::add_quit_shortcut(QWidget* window) {
    auto* quit = new QShortcut(window);
    quit->setObjectName(QStringLiteral("quit_shortcut"));
    quit->setKeys(quit_keys());
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

void Form1::connect_handlers() {
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text1, &QLineEdit::returnPressed, this, &Form1::Text1_KeyPress);
    connect(Text1, &TextBox::focus_lost, this, &Form1::Text1_LostFocus);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(Text2, &QLineEdit::returnPressed, this, &Form1::Text2_KeyPress);
    connect(Text2, &TextBox::focus_lost, this, &Form1::Text2_LostFocus);
    const auto fields = velocity_fields();
    for (int i = 0; i < 4; ++i) {
        connect(fields[i], &QLineEdit::textChanged, this, [this, i] { velocity_Change(i); });
        connect(fields[i], &TextBox::focus_lost, this, [this, i] { velocity_LostFocus(i); });
    }
    connect(Text10, &QLineEdit::textChanged, this, &Form1::Text10_Change);
    connect(Text10, &QLineEdit::returnPressed, this, &Form1::Text10_KeyPress);
    connect(Check1, &QCheckBox::toggled, this, &Form1::Check1_Click);
    connect(Option1, &QRadioButton::toggled, this, &Form1::Option1_Click);
    connect(Option2, &QRadioButton::toggled, this, &Form1::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command1, &CommandButton::click_abandoned, this, &Form1::Command1_PressAbandoned);
    connect(Command1, &CommandButton::focus_lost, this, &Form1::Command1_PressAbandoned);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Picture3, &PictureBox::mouse_down, this, &Form1::Picture3_MouseDown);
    connect(Label3, &ClickableLabel::clicked, this, &Form1::Label3_Click);
    connect(Label13, &ClickableLabel::clicked, this, &Form1::Label13_Click);
    connect(Label14, &ClickableLabel::clicked, this, &Form1::Label14_Click);
    connect(Label_enclosure, &ClickableLabel::clicked, this, &Form1::Label_enclosure_Click);
    connect(Label_mode, &ClickableLabel::clicked, this, &Form1::Label_mode_Click);
    reminder_.on_click(this, [this] { Label3_Click(); });
}

// Start-up, before the window is first shown.
void Form1::form_load() {
    program_.version_text = QString::fromLatin1(version);

    // A third of the free space above and to the left.
    place_on_screen(this, 1.0 / 3, 1.0 / 3);

    Picture3->resize(Label9->width(), static_cast<int>(Int((Label9->y() - Picture3->y()) * 0.92)));

    reminder_.lay_out();

    Label4->move(Label12->x(), Label8->y());
    Label5->move(Label12->x(), Label6->y());

    frmDiaWarning_ = new frmDiaWarning(this);
    frmAbout_ = new frmAbout(
        program_, interaction_, [this] { re_enable_warnings(); }, this);
    frmOptions_ = new frmOptions(
        program_, [this] { show_allowances(*frmOptions_, reminder_); }, this);
    frmUnits_ = new frmUnits(
        program_,
        [this](bool imperial) {
            Label1->setText(imperial ? QStringLiteral("Port Diameter - inches")
                                     : QStringLiteral("Port Diameter - mm"));
            Label2->setText(imperial ? QStringLiteral("Flare Radius - inches")
                                     : QStringLiteral("Flare Radius - mm"));
            if (frmDiaWarning_) {
                frmDiaWarning_->set_metric_texts(!imperial);
            }
        },
        this);

    frmEnclosure_ = new frmEnclosure(
        program_,
        [this] {
            return WindowPort{s_.diameter_mm, s_.radius_mm, std::max(1.0, field_number(Text10)),
                              current_allowances()};
        },
        [this](const std::array<double, 4>& velocities) { use_velocities(velocities); }, this);

    for (QWidget* dialog : std::initializer_list<QWidget*>{frmDiaWarning_, frmAbout_, frmOptions_,
                                                           frmUnits_, frmEnclosure_}) {
        add_quit_shortcut(dialog);
    }

    s_.diameter_mm = 100;
    s_.radius_mm = 10;

    set_text(Text10, QStringLiteral("1"));
    set_text(Text6, QStringLiteral("10"));
    set_text(Text7, QStringLiteral("14"));
    set_text(Text8, QStringLiteral("12"));
    set_text(Text9, QStringLiteral("7"));

    program_.display_mode = DisplayMode::full;
    program_.tracked_frequency = 28;
    s_.clicked_frequency = 28;

    load_settings();
    show_allowances(*frmOptions_, reminder_);
    populatedia();
    populaterad();
    if (s_.diameter_mm > 0) {
        Command1_Click();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    form_unload();
    event->accept();
}

// Closing: the settings are written once, then the dialogs go in a fixed order.
// A dialog still open (the close may come from the desktop while one is modal) is
// hidden first, which ends its modal loop.
void Form1::form_unload() {
    if (closed_) {
        return;
    }
    closed_ = true;
    QDialog* dialogs[] = {frmDiaWarning_, frmAbout_, frmOptions_, frmUnits_, frmEnclosure_};
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

AllowanceSelection Form1::current_allowances() const {
    return frmOptions_ ? frmOptions_->selection() : first_start_allowances;
}

// --- Input fields -------------------------------------------------------------

void Form1::mark_stale(QWidget* field) {
    set_back_colour(field, colours::stale_field);
    set_status(stale_text, colours::stale_status);
}

// A label announces a new text to screen readers (a name change), so that their
// users hear each verdict, which others see by its colour too.
void Form1::set_status(const QString& caption, const QColor& background) {
    Label9->setText(caption);
    set_back_colour(Label9, background);
}

void Form1::Text1_Change() {
    if (program_.populating) {
        return;
    }
    s_.diameter_changed = true;
    mark_stale(Text1);
}

void Form1::Text1_KeyPress() {
    Command1_Click();
}

// Leaving a length field validates it, except towards the Calculate button,
// whose command validates the same field first thing: the user then sees one
// message, not two, and the value typed is the value calculated. Should the
// press on the button not become a click, Command1_PressAbandoned reads it.
void Form1::Text1_LostFocus() {
    if (!s_.diameter_changed) {
        return;
    }
    if (QApplication::focusWidget() == Command1) {
        s_.validation_deferred = true;
        return;
    }
    validatedia();
}

void Form1::Text2_Change() {
    if (program_.populating) {
        return;
    }
    s_.radius_changed = true;
    if (Text2->isEnabled()) {
        mark_stale(Text2);
    }
}

void Form1::Text2_KeyPress() {
    Command1_Click();
}

void Form1::Text2_LostFocus() {
    if (!s_.radius_changed) {
        return;
    }
    if (QApplication::focusWidget() == Command1) {
        s_.validation_deferred = true;
        return;
    }
    validaterad();
}

// The focus came to Calculate from an edited length field, and the press ended
// without a click (released away from the button) or the focus moved on: the
// validation that leaving the field skipped happens now, once.
void Form1::Command1_PressAbandoned() {
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
void Form1::show_velocity_used(std::size_t index) {
    TextBox* field = velocity_fields()[index];
    const double used = s_.required_v[index];
    const auto typed = complete_number(ss(field->text()));
    if (!typed || *typed != used) {
        set_text(field, qs(number_text(used)));
    }
}

void Form1::velocity_LostFocus(int index) {
    show_velocity_used(static_cast<std::size_t>(index));
}

void Form1::velocity_Change(int index) {
    TextBox* field = velocity_fields()[static_cast<std::size_t>(index)];
    s_.required_v[static_cast<std::size_t>(index)] = field_number(field);
    if (!Check1->isChecked()) {
        mark_stale(field);
    } else {
        set_back_colour(field, colours::computed_field);
    }
}

// --- Cruise control and port count ---------------------------------------------

void Form1::Text10_Change() {
    set_text(Text10, qs(number_text_trimmed(Int(field_number(Text10)))));
    if (Text10->text() == QLatin1String("0")) {
        set_text(Text10, QStringLiteral("1"));
    }
    checklock();
    s_.port_word = QString::fromLatin1(port_word(field_number(Text10)));
    set_status(stale_text, colours::stale_status);
}

void Form1::Text10_KeyPress() {
    Command1_Click();
}

void Form1::checklock() {
    if (!Check1->isChecked() && s_.loading_settings != 1) {
        return;
    }
    const CruiseReference reference{s_.lock_diameter_mm, s_.lock_ports, s_.lock_v};
    const auto rescaled = rescale_velocities(reference, s_.diameter_mm, field_number(Text10));
    if (!rescaled) {
        return;
    }
    s_.lock_scale = rescaled->scale;
    const auto fields = velocity_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        set_text(fields[i], qs(number_text(rescaled->velocities[i])));
    }
}

void Form1::Check1_Click(bool checked) {
    const auto fields = velocity_fields();
    if (!checked) {
        for (TextBox* field : fields) {
            field->setEnabled(true);
            if (back_colour(field) != colours::stale_field) {
                set_back_colour(field, colours::normal_field);
            }
        }
        return;
    }

    for (TextBox* field : fields) {
        field->setEnabled(false);
        if (back_colour(field) != colours::stale_field) {
            set_back_colour(field, colours::computed_field);
        }
    }
    const Form1State before = s_;
    s_.lock_diameter_mm = field_number(Text1);
    s_.lock_ports = field_number(Text10);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        s_.lock_v[i] = field_number(fields[i]);
    }
    if (s_.diameter_changed) {
        const double diameter = read_length(Text1);
        if (!s_.conv_error.isEmpty()) {
            // An unreadable diameter gives no reference: everything stays as it
            // was and cruise control goes back off.
            interaction_.notice(this, diameter_format_message);
            s_.lock_diameter_mm = before.lock_diameter_mm;
            s_.lock_ports = before.lock_ports;
            s_.lock_v = before.lock_v;
            Check1->setChecked(false);
            return;
        }
        s_.diameter_mm = diameter;
    }
    s_.lock_diameter_mm = s_.diameter_mm;
}

// --- Length conversion and validation -------------------------------------------

namespace {
// Shows a stored length in a field in the units mode.
void populate(ProgramState& program, QLineEdit* field, double mm) {
    program.populating = true;
    switch (program.units_mode) {
    case UnitsMode::metric:
        set_text(field, qs(number_text(Int(mm))));
        break;
    case UnitsMode::inches:
        set_text(field, qs(mm2in(length_text(mm)).feet_inches));
        break;
    case UnitsMode::decimal_inches:
        set_text(field, qs(mm2in(length_text(mm)).decimal_inches));
        break;
    }
    program.populating = false;
}
} // namespace

void Form1::populatedia() {
    populate(program_, Text1, s_.diameter_mm);
    s_.diameter_changed = false;
}

void Form1::populaterad() {
    populate(program_, Text2, s_.radius_mm);
    s_.radius_changed = false;
}

// Reads a length field in the units mode, in millimetres; conv_error tells
// whether an imperial text could not be read.
double Form1::read_length(const QLineEdit* field) {
    if (imperial(program_.units_mode)) {
        const ImperialParse parsed = in2mm(ss(field->text()));
        s_.conv_error = qs(parsed.message);
        return text_value(parsed.result);
    }
    s_.conv_error.clear();
    return field_number(field);
}

void Form1::validatedia() {
    s_.diameter_mm = read_length(Text1);
    if (!s_.conv_error.isEmpty()) {
        interaction_.notice(this, diameter_format_message);
    }
    if (s_.diameter_mm == 0) {
        Check1->setEnabled(false);
        if (s_.conv_error.isEmpty()) {
            interaction_.notice(this, QStringLiteral("Port Diameter must be greater than zero"));
        }
        return;
    }
    Check1->setEnabled(true);
    checklock();
    populatedia();
    s_.diameter_changed = false;
}

void Form1::validaterad() {
    s_.radius_mm = read_length(Text2);
    if (!s_.conv_error.isEmpty()) {
        interaction_.notice(this, radius_format_message);
        return;
    }
    populaterad();
    s_.radius_changed = false;
}

// --- Calculate command -----------------------------------------------------------

CalculationInput Form1::calculation_input() const {
    CalculationInput in;
    in.diameter = s_.diameter_mm;
    in.mode = Option1->isChecked() ? CalculationMode::minimum : CalculationMode::manual;
    in.radius = s_.radius_mm;
    in.required = s_.required_v;
    in.allowances = current_allowances();
    return in;
}

void Form1::Command1_Click() {
    s_.validation_deferred = false;
    validatedia();
    if (s_.diameter_mm == 0 || !s_.conv_error.isEmpty()) {
        return;
    }
    set_text(Text10, qs(number_text_trimmed(Int(field_number(Text10)))));
    for (std::size_t i = 0; i < 4; ++i) {
        show_velocity_used(i);
    }

    CalculationResult result = calculate(calculation_input());
    s_.core_limit = result.core_limit;

    const bool minimum = Option1->isChecked();
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

    set_back_colour(Text1, colours::normal_field);
    set_back_colour(Text10, colours::normal_field);
    if (minimum) {
        set_back_colour(Text2, result.radius == 0 ? colours::stale_field : colours::computed_field);
    } else {
        set_back_colour(Text2, colours::normal_field);
    }
    for (TextBox* field : velocity_fields()) {
        set_back_colour(field,
                        Check1->isChecked() ? colours::computed_field : colours::normal_field);
    }

    if (s_.diameter_mm > frmDiaWarning::threshold_mm && frmDiaWarning_ &&
        !frmDiaWarning_->warnings_silenced()) {
        interaction_.run_modal(*frmDiaWarning_);
    }
}

void Form1::Option1_Click(bool checked) {
    if (!checked) {
        return;
    }
    Text2->setEnabled(false);
    set_back_colour(Text2, colours::computed_field);
    Command2->hide();
    Command3->hide();
}

void Form1::Option2_Click(bool checked) {
    if (!checked) {
        return;
    }
    Text2->setEnabled(true);
    set_back_colour(Text2, colours::normal_field);
    Command2->show();
    Command3->show();
}

namespace {
double radius_step(const ProgramState& program) {
    return imperial(program.units_mode) ? 1.6 : 1.0;
}
} // namespace

void Form1::Command2_Click() {
    s_.radius_mm = s_.radius_mm + radius_step(program_);
    populaterad();
    Command1_Click();
}

void Form1::Command3_Click() {
    s_.radius_mm = s_.radius_mm - radius_step(program_);
    if (s_.radius_mm < 0) {
        s_.radius_mm = 0;
    }
    populaterad();
    Command1_Click();
}

// --- Graph and status line ---------------------------------------------------------

void Form1::drawfreq() {
    VelocityGraphInput in = velocity_graph_input(s_.core_limit, s_.chuff_limit, s_.required_v);
    in.full_mode = full_mode();
    in.tracked_frequency = program_.tracked_frequency;
    in.top_velocity_label = s_.top_velocity_label;
    in.picture_size = Picture3->size();
    const VelocityGraphOutput out = draw_velocity_graph(Picture3->drawing(), in);
    s_.graph_max_velocity = out.graph_max_velocity;
    s_.top_velocity_label = out.top_velocity_label;
    Picture3->refresh();
    Picture3->setAccessibleDescription(describe_velocity_graph(in));
}

void Form1::Picture3_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double x, double) {
    const float x5 = static_cast<float>(x) * 5.0f;
    s_.clicked_frequency = static_cast<float>(Int(double(x5) + 0.5) + 15);
    if (!full_mode()) {
        program_.tracked_frequency = s_.clicked_frequency;
        drawfreq();
        set_hint_colour(colours::hint_pale);
    }
    show_clicked_velocities();
}

void Form1::show_clicked_velocities() {
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
    Label9->setText(caption);
}

void Form1::set_hint_colour(const QColor& colour) {
    set_fore_colour(Label4, colour);
    set_fore_colour(Label5, colour);
}

// --- Links and dialogs ---------------------------------------------------------------

void Form1::Label3_Click() {
    if (!frmOptions_) {
        return;
    }
    program_.options_changed = 0;
    interaction_.run_modal(*frmOptions_);
    if (program_.options_changed == 1 && !closed_) {
        set_status(QStringLiteral("Press Calculate to update graph"), colours::stale_status);
    }
}

void Form1::Label13_Click() {
    if (frmAbout_) {
        interaction_.run_modal(*frmAbout_);
    }
}

void Form1::Label_enclosure_Click() {
    if (frmEnclosure_) {
        interaction_.run_modal(*frmEnclosure_);
    }
}

// The enclosure designer's velocities, written into the velocity fields as the
// user would type them (to one decimal). With cruise control on, they become its
// reference for the port as it stands, as switching it on after typing them would
// make them. Nothing is calculated: the status line asks for it.
void Form1::use_velocities(const std::array<double, 4>& velocities) {
    const auto fields = velocity_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        set_text(fields[i], qs(number_text_trimmed(std::round(velocities[i] * 10) / 10)));
    }
    if (Check1->isChecked()) {
        s_.lock_diameter_mm = s_.diameter_mm;
        s_.lock_ports = field_number(Text10);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            s_.lock_v[i] = field_number(fields[i]);
        }
    }
    set_status(stale_text, colours::stale_status);
}

void Form1::Label14_Click() {
    if (!frmUnits_) {
        return;
    }
    interaction_.run_modal(*frmUnits_);
    if (closed_) {
        return;
    }
    populatedia();
    populaterad();
}

void Form1::re_enable_warnings() {
    if (frmDiaWarning_) {
        frmDiaWarning_->set_warnings_silenced(false);
    }
    set_hint_colour(colours::hint);
}

void Form1::Label_mode_Click() {
    QWidget* full_only[] = {Label12, Label6, Label7, Label8, Label10, Label11, Text10,
                            Text6,   Text7,  Text8,  Text9,  Check1,  Option1, Option2};
    if (full_mode()) {
        program_.display_mode = DisplayMode::simple;
        Label_mode->setText(QStringLiteral("Full"));
        Label4->show();
        Label5->show();
        for (QWidget* w : full_only) {
            w->hide();
        }
        Option2->setChecked(true);
    } else {
        program_.display_mode = DisplayMode::full;
        Label_mode->setText(QStringLiteral("Simple"));
        Label4->hide();
        Label5->hide();
        for (QWidget* w : full_only) {
            w->show();
        }
    }
    Command1_Click();
}

} // namespace venturon
