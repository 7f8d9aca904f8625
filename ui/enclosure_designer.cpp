#include "enclosure_designer.h"

#include "colours.h"
#include "enclosure_graph.h"
#include "imperial.h"
#include "input_messages.h"
#include "length_display.h"
#include "number_text.h"
#include "palette.h"
#include "picture_box.h"
#include "port_length.h"
#include "text_box.h"
#include "window_setup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace venturon {

namespace {

// Fields a column holds in each frame: the driver's ten in two columns, the box's
// five and the drive's three in two columns too.
constexpr std::size_t rows_per_column(InputGroup group) {
    return group == InputGroup::driver ? 5 : group == InputGroup::box ? 3 : 2;
}
const QChar no_break(0x00a0);

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The shortest text that reads back to the same double.
QString shortest(double v) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v + 0.0);
    return QString::fromLatin1(buffer, written.ptr - buffer);
}

// At most `digits` significant digits: a converted value carries no noise.
QString significant(double v, int digits) {
    if (v == 0 || !std::isfinite(v)) {
        return qs(number_text_trimmed(v));
    }
    const double scale = std::pow(10.0, digits - 1 - std::floor(std::log10(std::fabs(v))));
    return shortest(std::round(v * scale) / scale);
}

// A value as its field shows it: as read where the units are the file's; converted
// to six significant digits otherwise, or more where six would make a value out of
// bounds read as one within them (the message beside it must make sense).
QString field_text(const InputRow& row, double value, UnitsMode units) {
    const ShownUnit unit = shown_unit(row, units, UnitStyle::window);
    if (unit.per_file_unit == 1) {
        return shortest(value);
    }
    const double shown = value * unit.per_file_unit;
    const QString text = significant(shown, 6);
    const bool refused = check_input(row.field, value, Scale::file).has_value();
    const bool refused_as_shown =
        check_input(row.field, text.toDouble() / unit.per_file_unit, Scale::file).has_value();
    return refused == refused_as_shown ? text : shortest(shown);
}

// A length in the units mode, kept on one line: whole tenths of a millimetre,
// feet and inches to the sixteenth, or decimal inches.
QString shown_length(double mm, UnitsMode units) {
    QString text = qs(show_length(mm, units, 1));
    if (units == UnitsMode::metric) {
        text = qs(number_text_trimmed(std::round(mm * 10) / 10)) + QStringLiteral(" mm");
    }
    return text.replace(QLatin1Char(' '), no_break);
}

// A volume in litres or cubic feet, to three significant digits at least.
QString shown_volume(double litres, UnitsMode units) {
    const InputRow& vb = input_row(Field::vb);
    const ShownUnit unit = shown_unit(vb, units, UnitStyle::window);
    const double v = litres * unit.per_file_unit;
    const QString number =
        std::fabs(v) >= 100 ? qs(number_text_trimmed(std::round(v * 10) / 10)) : significant(v, 3);
    return number + no_break + qs(unit.unit);
}

QString one_decimal(double v) {
    return qs(number_text_trimmed(std::round(v * 10) / 10));
}

// A velocity to one decimal, the decimal always written: 17.0 m/s.
QString one_decimal_always(double v) {
    return QString::number(v, 'f', 1);
}

QString caption_text(const InputRow& row, UnitsMode units) {
    const ShownUnit unit = shown_unit(row, units, UnitStyle::window);
    return unit.unit.empty() ? qs(row.caption)
                             : qs(row.caption) + QStringLiteral(" - ") + qs(unit.unit);
}

QString frame_title(InputGroup group) {
    switch (group) {
    case InputGroup::driver:
        return QStringLiteral("Driver (one of them)");
    case InputGroup::box:
        return QStringLiteral("Box");
    default:
        return QStringLiteral("Drive and air");
    }
}

QString port_words(int ports) {
    return ports == 1 ? QStringLiteral("port") : QStringLiteral("ports");
}

// "20 Hz (158 %) and 25 Hz (311 %)": the design frequencies where the cone passes Xmax.
QString beyond_xmax(const SolvedEnclosure& model) {
    if (!(model.driver.xmax_m > 0)) {
        return {};
    }
    QStringList where;
    for (float f : design_frequencies) {
        const ResponsePoint p = response_at(model, f);
        if (p.excursion_ratio > 1) {
            where << QStringLiteral("%1%2Hz (%3%2%)")
                         .arg(QString::number(f), no_break,
                              QString::number(std::round(p.excursion_ratio * 100)));
        }
    }
    if (where.isEmpty()) {
        return {};
    }
    const QString last = where.takeLast();
    const QString list =
        where.isEmpty() ? last : where.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return QStringLiteral("The cone passes Xmax at %1: these velocities need more excursion "
                          "than the driver has.")
        .arg(list);
}

// The ports' length in words, and what does not suit the box about it.
struct LengthWords {
    QString text;
    QStringList warnings;
};

LengthWords length_words(const Checked<PortLength>& length, const WindowPort& port, int ports,
                         const BoxParameters& box, UnitsMode units) {
    if (!length) {
        return {qs(input_message(length.error(), units, UnitStyle::window)), {}};
    }
    const double fb = box.fb_hz;
    const QString ports_text =
        QStringLiteral("%1 %2 of %3, flare radius %4")
            .arg(QString::number(ports), port_words(ports), shown_length(port.diameter_mm, units),
                 shown_length(port.radius_mm, units));
    switch (length->fit) {
    case PortFit::flares_too_heavy:
        return {ports_text +
                    QStringLiteral(": no straight length tunes the box to %1 Hz; the flares and "
                                   "mouths alone hold too much air. The highest tuning these "
                                   "ports reach is %2 Hz, with no straight part.")
                        .arg(one_decimal(fb), one_decimal(length->max_fb_hz)),
                {}};
    case PortFit::too_long:
        return {ports_text +
                    QStringLiteral(": no straight length up to %1 tunes the box to %2 Hz. The "
                                   "lowest tuning these ports reach, with %1 of straight part, "
                                   "is %3 Hz.")
                        .arg(shown_length(limits::straight_length_m.high * 1000, units),
                             one_decimal(fb), one_decimal(length->fb_hz)),
                {}};
    case PortFit::fits:
        break;
    }
    const QString resonance = QString::number(std::round(length->pipe_resonance_hz));
    LengthWords out{
        ports_text +
            QStringLiteral(": cut the tube %1 long, %2 from mouth to mouth, to tune the box to "
                           "%3 Hz. The ports take %4 of the box. Their first pipe resonance is "
                           "at %5 Hz.")
                .arg(shown_length(length->straight_length_m * 1000, units),
                     shown_length(length->overall_length_m * 1000, units), one_decimal(fb),
                     shown_volume(length->displaced_volume_m3 * 1000, units), resonance),
        {}};
    if (length->larger_than(box.vb_m3)) {
        out.warnings << QStringLiteral("The ports hold more air (%1) than the box (%2).")
                            .arg(shown_volume(length->displaced_volume_m3 * 1000, units),
                                 shown_volume(box.vb_m3 * 1000, units));
    }
    if (length->too_long_for_model(fb)) {
        out.warnings << QStringLiteral("Their first pipe resonance, %1 Hz, is below five times "
                                       "Fb: the ports are too long for the model, which takes a "
                                       "port much shorter than the wavelength.")
                            .arg(resonance);
    }
    return out;
}

} // namespace

EnclosureDesigner::EnclosureDesigner(ProgramState& program, std::function<WindowPort()> port,
                                     std::function<void(const std::array<double, 4>&)> use,
                                     QWidget* parent)
    : QDialog(parent), program_(program), port_(std::move(port)), use_velocities_(std::move(use)) {
    setObjectName(QStringLiteral("EnclosureDesigner"));
    setWindowTitle(QStringLiteral("Venturon Enclosure"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    set_back_colour(this, colours::window_background);
    create_controls();
    resize(sizeHint().expandedTo(QSize(960, 600)));
    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this] { return field(Field::fs); });
}

void EnclosureDesigner::create_controls() {
    auto* root = new QHBoxLayout(this);
    root->addWidget(create_inputs(), 0);
    root->addWidget(create_results(), 1);
}

QWidget* EnclosureDesigner::create_inputs() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    QGroupBox* frame = nullptr;
    QGridLayout* grid = nullptr;
    std::size_t in_frame = 0;
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (i == 0 || input_rows[i - 1].group != row.group) {
            frame = new QGroupBox(frame_title(row.group), panel);
            frame->setObjectName(QStringLiteral("Frame_") +
                                 qs(row.group == InputGroup::driver ? "driver"
                                    : row.group == InputGroup::box  ? "box"
                                                                    : "drive"));
            set_fore_colour(frame, colours::hint);
            grid = new QGridLayout(frame);
            column->addWidget(frame);
            in_frame = 0;
        }
        add_field(frame, grid, row, in_frame++);
    }
    const QString drive_tip =
        QStringLiteral("Type the power or the voltage: the one typed drives the box, the other "
                       "shows what it amounts to");
    field(Field::power)->setToolTip(drive_tip);
    field(Field::voltage)->setToolTip(drive_tip);
    column->addWidget(create_port_ends(panel));
    column->addStretch(1);
    show_units();
    return panel;
}

// A field of a frame, in two columns, with its message on the row below it.
void EnclosureDesigner::add_field(QGroupBox* frame, QGridLayout* grid, const InputRow& row,
                                  std::size_t place) {
    const int col = static_cast<int>(place / rows_per_column(row.group)) * 2;
    const int line = static_cast<int>(place % rows_per_column(row.group)) * 2;
    const QString name = qs(row.option);
    FieldControls& c = fields_[static_cast<std::size_t>(row.field)];
    c.caption = new QLabel(frame);
    c.caption->setObjectName(QStringLiteral("Label_") + name);
    set_fore_colour(c.caption, Qt::black);
    c.text = new TextBox(frame);
    c.text->setObjectName(QStringLiteral("Text_") + name);
    c.text->setMinimumWidth(c.text->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")));
    c.caption->setBuddy(c.text);
    c.message = new QLabel(frame);
    c.message->setObjectName(QStringLiteral("Message_") + name);
    c.message->setWordWrap(true);
    c.message->setTextFormat(Qt::PlainText);
    set_fore_colour(c.message, colours::compression_warning);
    c.message->hide();
    grid->addWidget(c.caption, line, col);
    grid->addWidget(c.text, line, col + 1);
    grid->addWidget(c.message, line + 1, col, 1, 2);
    const Field field = row.field;
    connect(c.text, &QLineEdit::textChanged, this, [this, field] {
        if (!showing_inputs_) {
            read_field(field);
        }
    });
    connect(c.text, &QLineEdit::returnPressed, this, [this] { calculate(); });
}

QGroupBox* EnclosureDesigner::create_port_ends(QWidget* panel) {
    auto* ends = new QGroupBox(QStringLiteral("Port ends"), panel);
    ends->setObjectName(QStringLiteral("Frame_ports"));
    set_fore_colour(ends, colours::hint);
    auto* grid = new QGridLayout(ends);
    const auto add_choice = [&](const char* name, const QString& caption,
                                const QStringList& items) {
        auto* label = new QLabel(caption, ends);
        label->setObjectName(QStringLiteral("Label_") + QLatin1String(name));
        set_fore_colour(label, Qt::black);
        auto* combo = new QComboBox(ends);
        combo->setObjectName(QLatin1String(name));
        combo->addItems(items);
        label->setBuddy(combo);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { read_choices(); });
        return combo;
    };
    const QStringList mouths{QStringLiteral("In the baffle (flanged)"),
                             QStringLiteral("In free air")};
    choices_ = {add_choice("Combo_outer", QStringLiteral("&Outer end"), mouths),
                add_choice("Combo_inner", QStringLiteral("&Inner end"), mouths),
                add_choice("Combo_flares", QStringLiteral("Flared &ends"),
                           {QStringLiteral("Both ends"), QStringLiteral("Outer end only"),
                            QStringLiteral("Inner end only"), QStringLiteral("None")})};
    return ends;
}

QWidget* EnclosureDesigner::create_results() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    const auto add_text = [&](const char* name, QRgb colour = colours::chart_grey) {
        auto* label = new QLabel(panel);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        set_fore_colour(label, colour == colours::chart_grey ? QColor(Qt::black) : QColor(colour));
        return label;
    };
    port_text_ = add_text("Label_port");
    column->addWidget(port_text_);

    view_tabs_ = new QTabBar(panel);
    view_tabs_->setObjectName(QStringLiteral("Tab_view"));
    view_tabs_->addTab(QStringLiteral("Port air velocity"));
    view_tabs_->addTab(QStringLiteral("Cone excursion"));
    view_tabs_->setAccessibleName(QStringLiteral("Graph shown"));
    view_tabs_->setExpanding(false);
    connect(view_tabs_, &QTabBar::currentChanged, this, [this] { draw_graph(); });
    column->addWidget(view_tabs_);

    graph_ = new PictureBox(panel);
    graph_->setObjectName(QStringLiteral("Picture1"));
    graph_->setAccessibleName(QStringLiteral("Enclosure graph"));
    graph_->setMinimumSize(360, 220);
    graph_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    graph_->setMouseTracking(true);
    graph_->setFocusPolicy(Qt::StrongFocus);
    graph_->setToolTip(QStringLiteral("Point at the graph, or use the left and right arrow keys, "
                                      "to read every curve at a frequency"));
    graph_->installEventFilter(this);
    connect(graph_, &PictureBox::pointer_moved, this,
            [this](QPointF at) { point_at(layout_.x_value(at.x())); });
    column->addWidget(graph_, 1);
    readout_ = add_text("Label_readout");
    readout_->setText(QStringLiteral(" "));
    column->addWidget(readout_);

    velocities_text_ = add_text("Label_velocities");
    length_text_ = add_text("Label_length");
    warnings_text_ = add_text("Label_warnings", colours::compression_warning);
    problem_text_ = add_text("Label_problem", colours::compression_warning);
    for (QLabel* label : {velocities_text_, length_text_, warnings_text_, problem_text_}) {
        column->addWidget(label);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    use_button_ = new QPushButton(QStringLiteral("&Use these velocities"), panel);
    use_button_->setObjectName(QStringLiteral("Command_use"));
    use_button_->setToolTip(QStringLiteral("Write the port air velocities at 20, 25, 30 and 35 Hz "
                                           "into the main window's velocity fields"));
    close_button_ = new QPushButton(QStringLiteral("Close"), panel);
    close_button_->setObjectName(QStringLiteral("Command_close"));
    // Enter in a field takes the value and keeps the window open.
    for (QPushButton* b : {use_button_, close_button_}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    connect(use_button_, &QPushButton::clicked, this, &EnclosureDesigner::use_velocities);
    connect(close_button_, &QPushButton::clicked, this, &QWidget::hide);
    return panel;
}

TextBox* EnclosureDesigner::field(Field f) const {
    return in_file(f) ? fields_[static_cast<std::size_t>(f)].text : nullptr;
}

QLabel* EnclosureDesigner::field_message(Field f) const {
    return in_file(f) ? fields_[static_cast<std::size_t>(f)].message : nullptr;
}

void EnclosureDesigner::set_inputs(const EnclosureInputs& inputs) {
    inputs_ = inputs;
    unreadable_.clear();
    show_inputs();
}

// The inputs in the fields, in the units mode; writing them reads nothing back.
void EnclosureDesigner::show_inputs() {
    showing_inputs_ = true;
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (unreadable_.count(row.field) == 0) {
            const auto& value = inputs_[row.field];
            set_text(fields_[i].text,
                     value ? field_text(row, *value, program_.units_mode) : QString());
        }
    }
    choices_[0]->setCurrentIndex(inputs_.outer_mouth == MouthCondition::flanged ? 0 : 1);
    choices_[1]->setCurrentIndex(inputs_.inner_mouth == MouthCondition::flanged ? 0 : 1);
    choices_[2]->setCurrentIndex(static_cast<int>(inputs_.flared_ends));
    showing_inputs_ = false;
    show_units();
}

void EnclosureDesigner::show_units() {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        fields_[i].caption->setText(caption_text(input_rows[i], program_.units_mode));
    }
}

void EnclosureDesigner::showEvent(QShowEvent* event) {
    show_inputs(); // in the units mode of now
    QDialog::showEvent(event);
    calculate();
}

void EnclosureDesigner::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    draw_graph();
}

// Closing by the title bar or Escape hides the window, as Close does.
void EnclosureDesigner::reject() {
    hide();
}

void EnclosureDesigner::refresh() {
    calculate();
}

void EnclosureDesigner::units_changed() {
    show_inputs();
    calculate();
}

// Reads what was typed into a field: a number in the units shown (lengths in
// either imperial notation when the units are imperial), or nothing.
void EnclosureDesigner::read_field(Field f) {
    const InputRow& row = input_row(f);
    const QString text = field(f)->text().trimmed();
    const std::string typed = text.toStdString();
    unreadable_.erase(f);
    std::optional<double> value;
    if (!text.isEmpty()) {
        if (imperial(program_.units_mode) && row.quantity == Quantity::length) {
            const ImperialParse parsed = in2mm(typed);
            if (!parsed.message.empty()) {
                unreadable_[f] = QStringLiteral("\"%1\" is not a length in inches: %2")
                                     .arg(text, qs(parsed.message));
            } else {
                value = text_value(parsed.result);
            }
        } else if (const auto number = complete_number(typed)) {
            value = *number / shown_unit(row, program_.units_mode, UnitStyle::window).per_file_unit;
        } else {
            unreadable_[f] = beyond_double(typed)
                                 ? QStringLiteral("\"%1\" is too large (the largest number is "
                                                  "about 1.8e308)")
                                       .arg(text)
                                 : QStringLiteral("\"%1\" is not a number").arg(text);
        }
    }
    inputs_[f] = value;
    // The power and the voltage are one input said two ways: the one typed drives.
    if (value && (f == Field::power || f == Field::voltage)) {
        const Field other = f == Field::power ? Field::voltage : Field::power;
        inputs_[other].reset();
        unreadable_.erase(other);
        showing_inputs_ = true;
        field(other)->clear();
        showing_inputs_ = false;
    }
    calculate();
}

void EnclosureDesigner::read_choices() {
    if (showing_inputs_) {
        return;
    }
    inputs_.outer_mouth =
        choices_[0]->currentIndex() == 0 ? MouthCondition::flanged : MouthCondition::free;
    inputs_.inner_mouth =
        choices_[1]->currentIndex() == 0 ? MouthCondition::flanged : MouthCondition::free;
    inputs_.flared_ends = static_cast<FlaredEnds>(std::max(0, choices_[2]->currentIndex()));
    calculate();
}

// The field that does not drive the box shows, faintly, what the one that does
// amounts to: P = V^2 N / Re, V = sqrt(P Re / N).
void EnclosureDesigner::show_drive_equivalent() {
    const auto& re = inputs_[Field::re];
    const double n = inputs_[Field::driver_count].value_or(1);
    QString power;
    QString voltage;
    if (re && *re > 0 && n >= 1) {
        if (const auto& p = inputs_[Field::power]) {
            voltage = QStringLiteral("= ") + significant(std::sqrt(*p * *re / n), 4);
        } else if (const auto& v = inputs_[Field::voltage]) {
            power = QStringLiteral("= ") + significant(*v * *v * n / *re, 4);
        }
    }
    field(Field::power)->setPlaceholderText(power);
    field(Field::voltage)->setPlaceholderText(voltage);
}

// Marks the fields that are wrong, with the message beside each; an error of the
// main window's port shows under the results.
void EnclosureDesigner::show_errors(const std::optional<InputError>& error) {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const Field f = input_rows[i].field;
        QString message;
        if (const auto it = unreadable_.find(f); it != unreadable_.end()) {
            message = qs(input_rows[i].name) + QStringLiteral(": ") + it->second;
        } else if (error && error->field == f) {
            message = qs(input_message(*error, program_.units_mode, UnitStyle::window));
        }
        FieldControls& c = fields_[i];
        set_back_colour(c.text, message.isEmpty() ? colours::normal_field : colours::stale_field);
        c.text->setAccessibleDescription(message);
        c.message->setText(message);
        c.message->setVisible(!message.isEmpty());
    }
    problem_text_->setText(error && !in_file(error->field)
                               ? qs(input_message(*error, program_.units_mode, UnitStyle::window))
                               : QString());
    problem_text_->setVisible(!problem_text_->text().isEmpty());
}

// Works the results out from the inputs and the main window's port, and shows them.
// Bad inputs leave the last good results on screen, dimmed.
void EnclosureDesigner::calculate() {
    if (!isVisible() || showing_inputs_) {
        return; // worked out when the window shows
    }
    show_drive_equivalent();
    const WindowPort port = port_();
    const int ports = static_cast<int>(std::clamp(port.ports, 1.0, 1000.0));
    port_text_->setText(
        QStringLiteral("The main window's port: %1 %2 of %3, flare radius %4%5.")
            .arg(QString::number(ports), port_words(ports),
                 shown_length(port.diameter_mm, program_.units_mode),
                 shown_length(port.radius_mm, program_.units_mode),
                 port.minimum_radius ? QStringLiteral(" (the minimum)") : QString()));

    std::optional<InputError> error;
    std::optional<EnclosureInput> input;
    std::optional<SolvedEnclosure> model;
    if (const auto checked = to_enclosure_input(inputs_, port.diameter_mm, ports); !checked) {
        error = checked.error();
    } else if (const auto solved = solve_enclosure(*checked); !solved) {
        error = solved.error();
    } else {
        input = *checked;
        model = *solved;
    }
    show_errors(error);
    const bool good = model && unreadable_.empty();
    for (QWidget* w : std::initializer_list<QWidget*>{velocities_text_, length_text_,
                                                      warnings_text_, port_text_}) {
        w->setEnabled(good);
    }
    graph_->set_dimmed(!good);
    use_button_->setEnabled(good);
    if (!good) {
        velocities_.reset();
        return;
    }
    model_ = *model;
    shown_port_ = port;

    show_velocities(ports);
    draw_graph();

    QStringList warnings;
    if (const QString cone = beyond_xmax(*model); !cone.isEmpty()) {
        warnings << cone;
    }
    const auto length =
        port_length(to_flared_port(inputs_, port.diameter_mm, port.radius_mm, ports),
                    input->box.vb_m3, input->box.fb_hz, input->temperature_c);
    const LengthWords words = length_words(length, port, ports, input->box, program_.units_mode);
    length_text_->setText(words.text);
    warnings << words.warnings;
    warnings_text_->setText(warnings.join(QLatin1Char(' ')));
    warnings_text_->setVisible(!warnings.isEmpty());
}

// The port's air velocity at the design frequencies, in words.
void EnclosureDesigner::show_velocities(int ports) {
    std::array<double, 4> velocities{};
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        velocities[i] = response_at(*model_, design_frequencies[i]).port_velocity;
    }
    velocities_ = velocities;
    const QString text =
        QStringLiteral("Air velocity in the %1 (peak of the sine): %2, %3, %4 and %5 m/s at "
                       "20, 25, 30 and 35 Hz.")
            .arg(port_words(ports), one_decimal_always(velocities[0]),
                 one_decimal_always(velocities[1]), one_decimal_always(velocities[2]),
                 one_decimal_always(velocities[3]));
    velocities_text_->setText(text);
    graph_->setAccessibleDescription(text);
}

// The read-out: every curve's value at a frequency, with a cursor line there.
void EnclosureDesigner::point_at(double frequency) {
    if (spec_.curves.empty() || !(layout_.plot.width() > 0)) {
        return;
    }
    frequency = std::clamp(frequency, std::min(spec_.x.low, spec_.x.high),
                           std::max(spec_.x.low, spec_.x.high));
    cursor_hz_ = frequency;
    graph_->set_cursor_x(layout_.x_pixel(frequency));
    const QString text = read_out(spec_, frequency);
    readout_->setText(text);
    readout_->setAccessibleName(text);
}

// Left and right step the read-out's frequency by 2 % (Page keys by 20 %), Home and
// End go to the ends of the axis.
bool EnclosureDesigner::eventFilter(QObject* watched, QEvent* event) {
    const auto* key = dynamic_cast<const QKeyEvent*>(event);
    if (watched == graph_ && key != nullptr && event->type() == QEvent::KeyPress) {
        const double f = cursor_hz_.value_or(std::sqrt(spec_.x.low * spec_.x.high));
        const std::pair<int, double> steps[] = {{Qt::Key_Left, 1 / 1.02},
                                                {Qt::Key_Right, 1.02},
                                                {Qt::Key_PageDown, 1 / 1.2},
                                                {Qt::Key_PageUp, 1.2}};
        for (const auto& [k, factor] : steps) {
            if (key->key() == k) {
                point_at(f * factor);
                return true;
            }
        }
        if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
            point_at(key->key() == Qt::Key_Home ? spec_.x.low : spec_.x.high);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The view chosen, drawn at the size it shows; nothing new while the inputs are wrong.
void EnclosureDesigner::draw_graph() {
    if (!isVisible() || !velocities_ || !model_) {
        return;
    }
    const SolvedEnclosure& model = *model_;
    const WindowPort& port = shown_port_;
    spec_ = view_tabs_->currentIndex() == 0
                ? port_velocity_plot(port_velocity_graph_input(model, port.diameter_mm,
                                                               port.radius_mm, port.allowances))
                : excursion_plot(excursion_graph_input(model));
    layout_ = draw_plot(graph_->drawing(), spec_, graph_->size());
    graph_->set_dimmed(false);
    graph_->refresh();
    if (cursor_hz_) {
        point_at(*cursor_hz_);
    }
}

void EnclosureDesigner::use_velocities() {
    if (velocities_ && use_velocities_) {
        use_velocities_(*velocities_);
        hide();
    }
}

} // namespace venturon
