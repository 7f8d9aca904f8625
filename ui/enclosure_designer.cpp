#include "enclosure_designer.h"

#include "box_suggestion_dialog.h"
#include "colours.h"
#include "design_storage.h"
#include "driver_file.h"
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
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace venturon {

namespace {

// Fields a column holds in each frame: the driver's eleven in two columns, the
// box's five, the drive's three and the slot's five in two columns too.
constexpr std::size_t rows_per_column(InputGroup group) {
    return group == InputGroup::driver ? 6 : group == InputGroup::drive ? 2 : 3;
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

LengthWords length_words(const Checked<PortLength>& length, const QString& ports_text, bool slotted,
                         const BoxParameters& box, UnitsMode units) {
    if (!length) {
        return {qs(input_message(length.error(), units, UnitStyle::window)), {}};
    }
    const double fb = box.fb_hz;
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
            QStringLiteral(": cut the %6 %1 long, %2 from mouth to mouth, to tune the box to "
                           "%3 Hz. The %7 take %4 of the box. Their first pipe resonance is "
                           "at %5 Hz.")
                .arg(shown_length(length->straight_length_m * 1000, units),
                     shown_length(length->overall_length_m * 1000, units), one_decimal(fb),
                     shown_volume(length->displaced_volume_m3 * 1000, units), resonance,
                     slotted ? QStringLiteral("slots' straight part") : QStringLiteral("tube"),
                     slotted ? QStringLiteral("slots") : QStringLiteral("ports")),
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

// "1 slot of 250 × 50 mm along 1 wall, round-over 20 mm"
QString slot_words(const SlotPort& slot, UnitsMode units) {
    const QString walls = slot.walls == 0   ? QStringLiteral("free of the walls")
                          : slot.walls == 1 ? QStringLiteral("along 1 wall")
                                            : QStringLiteral("in a corner (2 walls)");
    return QStringLiteral("%1 %2 of %3%4×%4%5 %6, round-over %7")
        .arg(QString::number(slot.count),
             slot.count == 1 ? QStringLiteral("slot") : QStringLiteral("slots"),
             shown_length(slot.width_m * 1000, units), no_break,
             shown_length(slot.height_m * 1000, units), walls,
             shown_length(slot.radius_m * 1000, units));
}

const QString approximate_note = QStringLiteral(
    "* approximate: the velocity limits were worked out for round ports; a slot is read as a "
    "round port of its hydraulic diameter with its round-over as the flare, which gives a thin "
    "slot lower limits than a round port of its area.");

QString limit_words(Limit limit) {
    switch (limit) {
    case Limit::xmax:
        return QStringLiteral("Xmax");
    case Limit::pe:
        return QStringLiteral("Pe (coil)");
    case Limit::amplifier:
        return QStringLiteral("amplifier");
    case Limit::chuffing:
        return QStringLiteral("port chuffing");
    case Limit::core:
        return QStringLiteral("port core");
    }
    return {};
}

// The colours a reference can take, in the order a click on its swatch steps them.
const std::array<QColor, 6> reference_palette{
    designer_colour::references[0], designer_colour::references[1],
    designer_colour::references[2], QColor(230, 140, 0),
    QColor(120, 80, 200),           QColor(90, 90, 90)};

QColor colour_of(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb) | 0xff000000u);
}

} // namespace

DesignResult solve_design(const EnclosureInputs& inputs, const WindowPort& port) {
    DesignResult out;
    out.limits.allowances = port.allowances;
    Checked<EnclosureInput> checked = InputError{Field::port_diameter, Problem::missing};
    if (inputs.port_shape == PortShape::slot) {
        const auto slot = to_slot_port(inputs);
        if (!slot) {
            out.error = slot.error();
            return out;
        }
        out.slot = *slot;
        out.limits.flare_radius_mm = slot->radius_m * 1000;
        checked = to_enclosure_input(inputs, *slot);
    } else {
        out.limits.flare_radius_mm = port.radius_mm;
        checked = to_enclosure_input(inputs, port.diameter_mm,
                                     static_cast<int>(std::clamp(port.ports, 1.0, 1000.0)));
    }
    if (!checked) {
        out.error = checked.error();
    } else if (const auto solved = solve_enclosure(*checked); !solved) {
        out.error = solved.error();
    } else {
        out.input = *checked;
        out.model = *solved;
    }
    return out;
}

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
    resize(sizeHint().expandedTo(QSize(1100, 720)));
    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this] { return field(Field::fs); });
}

void EnclosureDesigner::create_controls() {
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(create_file_bar());
    auto* root = new QHBoxLayout;
    root->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(root, 1);
    // The inputs scroll when the window is too low to hold them all.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("Scroll_inputs"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // the fields inside take it
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QWidget* inputs = create_inputs();
    scroll->setWidget(inputs);
    scroll->setMinimumWidth(inputs->minimumSizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    root->addWidget(scroll, 0);
    root->addWidget(create_results(), 1);
}

// The design's files: a driver's data to start from, designs to open and save, and
// what the inputs came from.
QWidget* EnclosureDesigner::create_file_bar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto add_button = [&](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, bar);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    connect(add_button("Command_driver", QStringLiteral("Open &driver…"),
                       QStringLiteral("Read a driver's data from a file: Venturon's own inputs, a "
                                      "[Driver] section of key = value lines, or a JSON data "
                                      "sheet")),
            &QPushButton::clicked, this, &EnclosureDesigner::open_driver);
    open_design_button_ =
        add_button("Command_open", QStringLiteral("Open desi&gn"),
                   QStringLiteral("Open a design saved before, or one of the recent ones"));
    recent_menu_ = new QMenu(open_design_button_);
    recent_menu_->setObjectName(QStringLiteral("Menu_designs"));
    open_design_button_->setMenu(recent_menu_);
    connect(recent_menu_, &QMenu::aboutToShow, this, &EnclosureDesigner::show_recent_designs);
    connect(add_button("Command_save", QStringLiteral("Sa&ve design…"),
                       QStringLiteral("Save the driver, box, drive, filters, ports and the main "
                                      "window's port in one file")),
            &QPushButton::clicked, this, &EnclosureDesigner::save_design);
    suggest_button_ = add_button("Command_suggest", QStringLiteral("Suggest bo&x…"),
                                 QStringLiteral("Boxes for this driver: the flattest, the tuning "
                                                "of a volume, the smallest box for an F3"));
    connect(suggest_button_, &QPushButton::clicked, this, &EnclosureDesigner::suggest_box);
    identity_text_ = new QLabel(bar);
    identity_text_->setObjectName(QStringLiteral("Label_identity"));
    identity_text_->setTextFormat(Qt::PlainText);
    identity_text_->setWordWrap(true);
    QFont bold = identity_text_->font();
    bold.setBold(true);
    identity_text_->setFont(bold);
    row->addWidget(identity_text_, 1);
    file_text_ = new QLabel(this);
    file_text_->setObjectName(QStringLiteral("Label_file"));
    file_text_->setTextFormat(Qt::PlainText);
    file_text_->setWordWrap(true);
    file_text_->hide();
    auto* column = new QWidget(this);
    auto* lines = new QVBoxLayout(column);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->addWidget(bar);
    lines->addWidget(file_text_);
    return column;
}

// "Browse…" and the recent designs, newest first, those gone left out.
void EnclosureDesigner::show_recent_designs() {
    recent_menu_->clear();
    recent_menu_->addAction(QStringLiteral("&Browse…"), this, [this] { open_design(); });
    const std::vector<QString> recent = settings_directory_.isEmpty()
                                            ? std::vector<QString>{}
                                            : recent_designs(settings_directory_);
    if (!recent.empty()) {
        recent_menu_->addSeparator();
    }
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = recent_menu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
            [this, path] { open_design(path); });
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
    }
}

void EnclosureDesigner::show_identity() {
    QStringList parts;
    for (const std::string* text : {&identity_.maker, &identity_.model}) {
        if (!text->empty()) {
            parts << QString::fromStdString(*text);
        }
    }
    QString shown = parts.join(QLatin1Char(' '));
    if (!identity_.comment.empty()) {
        shown += (shown.isEmpty() ? QString() : QStringLiteral(" — ")) +
                 QString::fromStdString(identity_.comment);
    }
    identity_text_->setText(shown);
}

void EnclosureDesigner::show_file_text(const QString& text, bool problem) {
    set_fore_colour(file_text_, problem ? QColor(colours::compression_warning) : QColor(Qt::black));
    file_text_->setText(text);
    file_text_->setVisible(!text.isEmpty());
}

QString EnclosureDesigner::ask_for_file(FileChoice choice) {
    const QString start = settings_directory_.isEmpty() ? QDir::homePath() : settings_directory_;
    if (choose_file_) {
        return choose_file_(choice, start);
    }
    switch (choice) {
    case FileChoice::driver:
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("Open driver"), start,
            QStringLiteral("Driver files (*.txt *.json *.ini *.design);;All files (*)"));
    case FileChoice::open_design:
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("Open design"), start,
            QStringLiteral("Venturon designs (*.design);;All files (*)"));
    case FileChoice::save_design:
        return QFileDialog::getSaveFileName(
            this, QStringLiteral("Save design"),
            QDir(start).filePath(QStringLiteral("enclosure.design")),
            QStringLiteral("Venturon designs (*.design)"));
    }
    return {};
}

// A driver's data from a file, recognised by its content: the driver's numbers
// replace those typed, the box, the drive and the ports stay. A file that cannot
// be read or lacks what the model needs changes nothing and says why.
void EnclosureDesigner::open_driver() {
    const QString path = ask_for_file(FileChoice::driver);
    if (path.isEmpty()) {
        return;
    }
    const DriverFileReading read = open_driver_file(path);
    if (const auto* problem = std::get_if<DriverFileProblem>(&read)) {
        show_file_text(QString::fromStdString(driver_file_message(path, *problem)), true);
        return;
    }
    const DriverFile& file = std::get<DriverFile>(read);
    if (file.format == DriverFileFormat::venturon_inputs) {
        inputs_ = file.inputs; // Venturon's own file: all of it
    } else {
        inputs_ = with_driver(inputs_, file);
    }
    identity_ = file.identity;
    QStringList derived;
    for (const Derivation& d : file.derived) {
        derived << QStringLiteral("%1 from %2").arg(qs(d.name), qs(d.from));
    }
    show_file_text(QStringLiteral("%1 (%2)%3")
                       .arg(QFileInfo(path).fileName(), qs(driver_file_format_text(file.format)),
                            derived.isEmpty()
                                ? QStringLiteral(".")
                                : QStringLiteral(": worked out ") +
                                      derived.join(QStringLiteral(", ")) + QLatin1Char('.')),
                   false);
    unreadable_.clear();
    unreadable_filters_ = {};
    show_identity();
    show_inputs();
    calculate();
}

// A design: its inputs here and its port in the main window. A file that is not a
// good design changes nothing and says why.
void EnclosureDesigner::open_design(const QString& given) {
    const QString path = given.isEmpty() ? ask_for_file(FileChoice::open_design) : given;
    if (path.isEmpty()) {
        return;
    }
    const auto read = read_design_file(path);
    if (const auto* problem = std::get_if<DesignProblem>(&read)) {
        show_file_text(QString::fromStdString(design_file_message(path, *problem)), true);
        return;
    }
    const Design& design = std::get<Design>(read);
    inputs_ = design.inputs;
    identity_ = design.identity;
    unreadable_.clear();
    unreadable_filters_ = {};
    if (!settings_directory_.isEmpty()) {
        remember_design(settings_directory_, path);
    }
    show_file_text(QStringLiteral("Opened %1.").arg(QFileInfo(path).fileName()), false);
    show_identity();
    show_inputs();
    if (take_port_) {
        take_port_(design.port); // the main window then has this designer work again
    }
    calculate();
}

void EnclosureDesigner::save_design() {
    QString path = ask_for_file(FileChoice::save_design);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".design");
    }
    const WindowPort port = port_();
    Design design;
    design.inputs = inputs_;
    design.identity = identity_;
    design.port = {port.diameter_mm, port.ports, port.radius_mm, port.minimum_radius};
    const FileWrite written = write_design_file(path, design);
    if (!written.written) {
        show_file_text(QStringLiteral("%1 was not saved: %2")
                           .arg(QDir::toNativeSeparators(path), written.problem),
                       true);
        return;
    }
    if (!settings_directory_.isEmpty()) {
        remember_design(settings_directory_, path);
    }
    show_file_text(QStringLiteral("Saved %1.").arg(QFileInfo(path).fileName()), false);
}

// Boxes suggested for the design's driver, with lengths for its ports; "Use"
// takes one into the box's fields.
void EnclosureDesigner::suggest_box() {
    if (!design_ || !velocities_) {
        return;
    }
    if (!suggestions_) {
        suggestions_ = new BoxSuggestionDialog(
            program_,
            [this](double vb_m3, double fb_hz) -> Checked<PortLength> {
                const DesignResult& d = *design_;
                if (d.slot) {
                    return slot_length(*d.slot, vb_m3, fb_hz, d.input->temperature_c);
                }
                return port_length(to_flared_port(inputs_, shown_port_.diameter_mm,
                                                  shown_port_.radius_mm, d.input->port.count),
                                   vb_m3, fb_hz, d.input->temperature_c);
            },
            [this](double vb_l, double fb_hz) {
                inputs_[Field::vb] = vb_l;
                inputs_[Field::fb] = fb_hz;
                unreadable_.erase(Field::vb);
                unreadable_.erase(Field::fb);
                show_inputs();
                calculate();
            },
            this);
    }
    const UnitsMode units = program_.units_mode;
    const int ports = design_->input->port.count;
    suggestions_->show_for(*design_->input,
                           design_->slot ? slot_words(*design_->slot, units)
                                         : QStringLiteral("%1 %2 of %3, flare radius %4")
                                               .arg(QString::number(ports), port_words(ports),
                                                    shown_length(shown_port_.diameter_mm, units),
                                                    shown_length(shown_port_.radius_mm, units)));
}

QWidget* EnclosureDesigner::create_inputs() {
    auto* panel = new QWidget;
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
        add_number(frame, grid, row, in_frame++, rows_per_column(row.group));
    }
    const QString drive_tip =
        QStringLiteral("Type the power or the voltage: the one typed drives the box, the other "
                       "shows what it amounts to");
    field(Field::power)->setToolTip(drive_tip);
    field(Field::voltage)->setToolTip(drive_tip);
    column->addWidget(create_filters(panel));
    column->addWidget(create_port(panel));
    column->addStretch(1);
    show_units();
    return panel;
}

// A caption, its field and, on the row below, its message.
EnclosureDesigner::FieldControls EnclosureDesigner::add_field(QWidget* frame, QGridLayout* grid,
                                                              const QString& name, int line,
                                                              int col) {
    FieldControls c;
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
    connect(c.text, &QLineEdit::returnPressed, this, [this] { calculate(); });
    return c;
}

// One of the inputs' numbers, in columns of `per_column`.
void EnclosureDesigner::add_number(QWidget* frame, QGridLayout* grid, const InputRow& row,
                                   std::size_t place, std::size_t per_column) {
    const int col = static_cast<int>(place / per_column) * 2;
    const int line = static_cast<int>(place % per_column) * 2;
    FieldControls& c = fields_[static_cast<std::size_t>(row.field)];
    c = add_field(frame, grid, qs(row.option), line, col);
    const Field field = row.field;
    connect(c.text, &QLineEdit::textChanged, this, [this, field] {
        if (!showing_inputs_) {
            read_field(field);
        }
    });
}

QGroupBox* EnclosureDesigner::create_filters(QWidget* panel) {
    auto* frame = new QGroupBox(QStringLiteral("High-pass filters on the amplifier"), panel);
    frame->setObjectName(QStringLiteral("Frame_filters"));
    set_fore_colour(frame, colours::hint);
    auto* grid = new QGridLayout(frame);
    const QString tip = QStringLiteral(
        "A filter is its kind and order, then @ and its frequency in Hz: bw1@F to bw8@F "
        "(Butterworth), lr2@F, lr4@F, lr8@F (Linkwitz-Riley), bessel2@F to bessel4@F, or q and a "
        "Q for a second-order section (q0.7@22). They act in series; leave a field empty for "
        "none.");
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        const QString name = QStringLiteral("highpass_%1").arg(i + 1);
        FieldControls& c = filters_[i];
        c = add_field(frame, grid, name, static_cast<int>(i / 2) * 2, static_cast<int>(i % 2) * 2);
        c.caption->setText(QStringLiteral("Filter &%1").arg(i + 1));
        c.text->setPlaceholderText(i == 0 ? QStringLiteral("e.g. bw4@18") : QString());
        c.text->setToolTip(tip);
        connect(c.text, &QLineEdit::textChanged, this, [this, i] {
            if (!showing_inputs_) {
                read_filter(i);
            }
        });
    }
    return frame;
}

QGroupBox* EnclosureDesigner::create_port(QWidget* panel) {
    auto* ends = new QGroupBox(QStringLiteral("Ports"), panel);
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
    auto* shape = add_choice("Combo_shape", QStringLiteral("&Shape"),
                             {QStringLiteral("Round: the main window's port"),
                              QStringLiteral("Slot: rectangular, sized below")});
    slot_frame_ = new QGroupBox(QStringLiteral("Slot"), ends);
    slot_frame_->setObjectName(QStringLiteral("Frame_slot"));
    set_fore_colour(slot_frame_, colours::hint);
    auto* slot_grid = new QGridLayout(slot_frame_);
    for (std::size_t i = 0; i < slot_fields.size(); ++i) {
        add_number(slot_frame_, slot_grid, input_row(slot_fields[i]), i,
                   rows_per_column(InputGroup::port));
    }
    field(Field::slot_walls)
        ->setToolTip(QStringLiteral("How many of the slot's sides are the box's own walls: 0, 1 "
                                    "(along the floor) or 2 (in a corner)"));
    field(Field::slot_radius)
        ->setToolTip(QStringLiteral("Round-over of the slot's free edges at its flared ends; at "
                                    "most the slot's smaller side"));
    grid->addWidget(slot_frame_, grid->rowCount(), 0, 1, 2);
    const QStringList mouths{QStringLiteral("In the baffle (flanged)"),
                             QStringLiteral("In free air")};
    auto* outer = add_choice("Combo_outer", QStringLiteral("&Outer end"), mouths);
    auto* inner = add_choice("Combo_inner", QStringLiteral("&Inner end"), mouths);
    auto* flares = add_choice("Combo_flares", QStringLiteral("Flared &ends"),
                              {QStringLiteral("Both ends"), QStringLiteral("Outer end only"),
                               QStringLiteral("Inner end only"), QStringLiteral("None")});
    choices_ = {outer, inner, flares, shape};
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
    column->addWidget(create_graph_bar(panel));

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

    // The figures and words under the graph scroll when the window is too low for
    // them, rather than crowd the graph.
    auto* words = new QScrollArea(panel);
    words->setObjectName(QStringLiteral("Scroll_results"));
    words->setFrameShape(QFrame::NoFrame);
    words->setWidgetResizable(true);
    words->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    words->setFocusPolicy(Qt::NoFocus);
    auto* inside = new QWidget;
    auto* lines = new QVBoxLayout(inside);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->addWidget(create_table(inside));
    summary_text_ = add_text("Label_summary");
    velocities_text_ = add_text("Label_velocities");
    length_text_ = add_text("Label_length");
    warnings_text_ = add_text("Label_warnings", colours::compression_warning);
    problem_text_ = add_text("Label_problem", colours::compression_warning);
    for (QLabel* label :
         {summary_text_, velocities_text_, length_text_, warnings_text_, problem_text_}) {
        label->setParent(inside);
        lines->addWidget(label);
    }
    lines->addStretch(1);
    words->setWidget(inside);
    words->setMinimumHeight(80);
    results_scroll_ = words;
    column->addWidget(words, 1);
    column->addWidget(create_references(panel));

    auto* buttons = new QHBoxLayout;
    use_reason_ = add_text("Label_use_reason");
    use_reason_->setText(QStringLiteral("The main window works with round ports: a slot's "
                                        "velocities stay here."));
    use_reason_->hide();
    buttons->addWidget(use_reason_, 1);
    buttons->addStretch(0);
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

// The views' tabs and the frequency span.
QWidget* EnclosureDesigner::create_graph_bar(QWidget* panel) {
    auto* bar = new QWidget(panel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    view_tabs_ = new QTabBar(bar);
    view_tabs_->setObjectName(QStringLiteral("Tab_view"));
    for (const DesignerView view : designer_views) {
        view_tabs_->addTab(designer_view_title(view));
    }
    view_tabs_->setAccessibleName(QStringLiteral("Graph shown"));
    view_tabs_->setExpanding(false);
    view_tabs_->setUsesScrollButtons(true);
    connect(view_tabs_, &QTabBar::currentChanged, this, [this] { draw_graph(); });
    row->addWidget(view_tabs_, 1);
    const auto add_spin = [&](const char* name, const QString& caption, int value) {
        auto* label = new QLabel(caption, bar);
        label->setObjectName(QStringLiteral("Label_") + QLatin1String(name));
        auto* spin = new QSpinBox(bar);
        spin->setObjectName(QStringLiteral("Spin_") + QLatin1String(name));
        spin->setRange(2, 1000);
        spin->setValue(value);
        spin->setSuffix(QStringLiteral(" Hz"));
        spin->setKeyboardTracking(false);
        label->setBuddy(spin);
        const QString said = QStringLiteral("Graphs %1, Hz").arg(caption).remove(QLatin1Char('&'));
        spin->setAccessibleName(said);
        if (auto* edit = spin->findChild<QLineEdit*>()) {
            edit->setAccessibleName(said); // what takes the focus inside the box
        }
        row->addWidget(label);
        row->addWidget(spin);
        return spin;
    };
    from_hz_ = add_spin("from", QStringLiteral("&From"), static_cast<int>(designer_graph_low_hz));
    to_hz_ = add_spin("to", QStringLiteral("&to"), static_cast<int>(designer_graph_high_hz));
    // The span stays at least an octave wide: the other end moves out of the way.
    connect(from_hz_, &QSpinBox::valueChanged, this, [this](int low) {
        if (to_hz_->value() < 2 * low) {
            to_hz_->setValue(std::min(1000, 2 * low));
            from_hz_->setValue(std::min(low, to_hz_->value() / 2));
        }
        calculate();
    });
    connect(to_hz_, &QSpinBox::valueChanged, this, [this](int high) {
        if (from_hz_->value() * 2 > high) {
            from_hz_->setValue(std::max(2, high / 2));
            to_hz_->setValue(std::max(high, 2 * from_hz_->value()));
        }
        calculate();
    });
    return bar;
}

// The figures at 20, 25, 30 and 35 Hz.
QWidget* EnclosureDesigner::create_table(QWidget* panel) {
    auto* table = new QWidget(panel);
    table->setObjectName(QStringLiteral("Frame_results"));
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(1);
    for (std::size_t r = 0; r < table_.size(); ++r) {
        for (std::size_t c = 0; c < table_[r].size(); ++c) {
            auto* cell = new QLabel(table);
            cell->setObjectName(QStringLiteral("Cell_%1_%2").arg(r).arg(c));
            cell->setTextFormat(Qt::PlainText);
            cell->setAlignment((c == 0 || c == 5 ? Qt::AlignLeft : Qt::AlignRight) |
                               Qt::AlignBottom);
            if (r == 0) {
                QFont bold = cell->font();
                bold.setBold(true);
                cell->setFont(bold);
            }
            grid->addWidget(cell, static_cast<int>(r), static_cast<int>(c));
            table_[r][c] = cell;
        }
    }
    grid->setColumnStretch(6, 1);
    return table;
}

QWidget* EnclosureDesigner::create_references(QWidget* panel) {
    references_box_ = new QWidget(panel);
    references_box_->setObjectName(QStringLiteral("Frame_references"));
    references_row_ = new QHBoxLayout(references_box_);
    references_row_->setContentsMargins(0, 0, 0, 0);
    keep_button_ = new QPushButton(QStringLiteral("&Keep as reference"), references_box_);
    keep_button_->setObjectName(QStringLiteral("Command_keep"));
    keep_button_->setAutoDefault(false);
    keep_button_->setToolTip(QStringLiteral("Keep this design's curves, drawn faintly in every "
                                            "graph, to judge a change against (up to three)"));
    connect(keep_button_, &QPushButton::clicked, this, &EnclosureDesigner::keep_reference);
    references_row_->addWidget(keep_button_);
    references_row_->addStretch(1);
    return references_box_;
}

TextBox* EnclosureDesigner::field(Field f) const {
    return fields_[static_cast<std::size_t>(f)].text;
}

QLabel* EnclosureDesigner::field_message(Field f) const {
    return fields_[static_cast<std::size_t>(f)].message;
}

void EnclosureDesigner::set_inputs(const EnclosureInputs& inputs) {
    inputs_ = inputs;
    unreadable_.clear();
    unreadable_filters_ = {};
    show_inputs();
}

void EnclosureDesigner::set_references(const std::vector<ReferenceInputs>& references) {
    references_.assign(references.begin(),
                       references.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(references.size(), max_references)));
    show_references();
    update_reference_curves();
    draw_graph();
}

// The inputs in the fields, in the units mode; writing them reads nothing back.
void EnclosureDesigner::show_inputs() {
    showing_inputs_ = true;
    for (const InputRow& row : input_rows) {
        const auto i = static_cast<std::size_t>(row.field);
        if (fields_[i].text != nullptr && unreadable_.count(row.field) == 0) {
            const auto& value = inputs_[row.field];
            set_text(fields_[i].text,
                     value ? field_text(row, *value, program_.units_mode) : QString());
        }
    }
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        if (unreadable_filters_[i].isEmpty()) {
            const auto& stage = inputs_.highpass[i];
            set_text(filters_[i].text, stage ? qs(filter_text(*stage)) : QString());
        }
    }
    choices_[0]->setCurrentIndex(inputs_.outer_mouth == MouthCondition::flanged ? 0 : 1);
    choices_[1]->setCurrentIndex(inputs_.inner_mouth == MouthCondition::flanged ? 0 : 1);
    choices_[2]->setCurrentIndex(static_cast<int>(inputs_.flared_ends));
    choices_[3]->setCurrentIndex(inputs_.port_shape == PortShape::slot ? 1 : 0);
    slot_frame_->setVisible(inputs_.port_shape == PortShape::slot);
    showing_inputs_ = false;
    show_units();
}

void EnclosureDesigner::show_units() {
    for (const InputRow& row : input_rows) {
        if (const FieldControls& c = fields_[static_cast<std::size_t>(row.field)]; c.caption) {
            c.caption->setText(caption_text(row, program_.units_mode));
        }
    }
}

void EnclosureDesigner::showEvent(QShowEvent* event) {
    show_inputs(); // in the units mode of now
    QDialog::showEvent(event);
    calculate();
}

void EnclosureDesigner::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fit_words();
    draw_graph();
}

// The words under the graph take the height they need, up to a third of the
// window (they scroll beyond it); the graph takes the rest.
void EnclosureDesigner::fit_words() {
    QWidget* inside = results_scroll_->widget();
    const int width = results_scroll_->viewport()->width();
    const int needed =
        inside->hasHeightForWidth() ? inside->heightForWidth(width) : inside->sizeHint().height();
    results_scroll_->setMaximumHeight(std::max(80, needed + 2));
    results_scroll_->setMinimumHeight(std::clamp(needed + 2, 80, std::max(80, height() / 3)));
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

// A filter's text: empty for none, else the grammar's; one that follows it but is
// out of bounds is kept for the checks to name.
void EnclosureDesigner::read_filter(std::size_t stage) {
    const QString text = filters_[stage].text->text().trimmed();
    unreadable_filters_[stage].clear();
    inputs_.highpass[stage].reset();
    if (!text.isEmpty()) {
        if (const auto read = venturon::read_filter(text.toStdString())) {
            inputs_.highpass[stage] = *read;
        } else {
            unreadable_filters_[stage] =
                QStringLiteral("\"%1\" is not a filter: write its kind and order, @ and its "
                               "frequency, as bw4@18, lr4@20, bessel2@15 or q0.7@22")
                    .arg(text);
        }
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
    inputs_.port_shape = choices_[3]->currentIndex() == 1 ? PortShape::slot : PortShape::round;
    slot_frame_->setVisible(inputs_.port_shape == PortShape::slot);
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
    const auto mark = [](FieldControls& c, const QString& message) {
        set_back_colour(c.text, message.isEmpty() ? colours::normal_field : colours::stale_field);
        c.text->setAccessibleDescription(message);
        c.message->setText(message);
        c.message->setVisible(!message.isEmpty());
    };
    const bool filter_error =
        error && error->item > 0 && static_cast<std::size_t>(error->item) <= max_filter_stages;
    for (const InputRow& row : input_rows) {
        FieldControls& c = fields_[static_cast<std::size_t>(row.field)];
        if (c.text == nullptr) {
            continue;
        }
        QString message;
        if (const auto it = unreadable_.find(row.field); it != unreadable_.end()) {
            message = qs(row.name) + QStringLiteral(": ") + it->second;
        } else if (error && !filter_error && error->field == row.field) {
            message = qs(input_message(*error, program_.units_mode, UnitStyle::window));
        }
        mark(c, message);
    }
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        QString message = unreadable_filters_[i];
        if (message.isEmpty() && filter_error && static_cast<std::size_t>(error->item) == i + 1) {
            message = qs(input_message(*error, program_.units_mode, UnitStyle::window));
        }
        mark(filters_[i], message);
    }
    const bool beside = error && (filter_error || field(error->field) != nullptr);
    problem_text_->setText(error && !beside
                               ? qs(input_message(*error, program_.units_mode, UnitStyle::window))
                               : QString());
    problem_text_->setVisible(!problem_text_->text().isEmpty());
}

void EnclosureDesigner::show_port(const WindowPort& port, const DesignResult& design) {
    const UnitsMode units = program_.units_mode;
    if (inputs_.port_shape == PortShape::slot) {
        port_text_->setText(design.slot
                                ? QStringLiteral("This design's slots: %1; read as round ports of "
                                                 "%2 (their hydraulic diameter) for their limits*.")
                                      .arg(slot_words(*design.slot, units),
                                           shown_length(hydraulic_diameter(design.slot->width_m,
                                                                           design.slot->height_m) *
                                                            1000,
                                                        units))
                                : QStringLiteral("This design's slots: see the fields marked."));
        return;
    }
    const int ports = static_cast<int>(std::clamp(port.ports, 1.0, 1000.0));
    port_text_->setText(
        QStringLiteral("The main window's port: %1 %2 of %3, flare radius %4%5.")
            .arg(QString::number(ports), port_words(ports), shown_length(port.diameter_mm, units),
                 shown_length(port.radius_mm, units),
                 port.minimum_radius ? QStringLiteral(" (the minimum)") : QString()));
}

// Works the results out from the inputs and the main window's port, and shows them.
// Bad inputs leave the last good results on screen, dimmed.
void EnclosureDesigner::calculate() {
    if (!isVisible() || showing_inputs_) {
        return; // worked out when the window shows
    }
    show_drive_equivalent();
    const WindowPort port = port_();
    DesignResult design = solve_design(inputs_, port);
    show_port(port, design);
    show_errors(design.error);
    const bool slotted = inputs_.port_shape == PortShape::slot;
    use_reason_->setVisible(slotted);
    const bool good = design.model && unreadable_.empty() &&
                      std::all_of(unreadable_filters_.begin(), unreadable_filters_.end(),
                                  [](const QString& s) { return s.isEmpty(); });
    for (QWidget* w : std::initializer_list<QWidget*>{velocities_text_, length_text_,
                                                      warnings_text_, port_text_, summary_text_}) {
        w->setEnabled(good);
    }
    for (const auto& row : table_) {
        for (QLabel* cell : row) {
            cell->setEnabled(good);
        }
    }
    graph_->set_dimmed(!good);
    use_button_->setEnabled(good && !slotted);
    keep_button_->setEnabled(good && references_.size() < max_references);
    suggest_button_->setEnabled(good);
    if (!good) {
        velocities_.reset();
        return;
    }
    design_ = std::move(design);
    shown_port_ = port;
    show_velocities(slotted ? design_->slot->count : design_->input->port.count);
    show_table(*design_);
    show_length(*design_, port);
    fit_words();
    if (reference_curves_.size() != references_.size() ||
        (!references_.empty() &&
         (graph_input_.low_hz != from_hz_->value() || graph_input_.high_hz != to_hz_->value()))) {
        update_reference_curves();
    }
    draw_graph();
}

// The port's air velocity at the design frequencies, in words.
void EnclosureDesigner::show_velocities(int ports) {
    std::array<double, 4> velocities{};
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        velocities[i] = response_at(*design_->model, design_frequencies[i]).port_velocity;
    }
    velocities_ = velocities;
    const bool slotted = design_->slot.has_value();
    const QString text =
        QStringLiteral("Air velocity in the %1 (peak of the sine): %2, %3, %4 and %5 m/s at "
                       "20, 25, 30 and 35 Hz.")
            .arg(slotted ? (ports == 1 ? QStringLiteral("slot") : QStringLiteral("slots"))
                         : port_words(ports),
                 one_decimal_always(velocities[0]), one_decimal_always(velocities[1]),
                 one_decimal_always(velocities[2]), one_decimal_always(velocities[3]));
    velocities_text_->setText(text);
}

// At the design frequencies: the port's air, the cone, the SPL at the drive and
// the largest SPL with what limits it; then F3 and the drive at the drivers.
void EnclosureDesigner::show_table(const DesignResult& design) {
    const SolvedEnclosure& model = *design.model;
    const bool slotted = design.slot.has_value();
    const bool xmax = model.driver.xmax_m > 0;
    const QString mark = slotted ? QStringLiteral("*") : QString();
    const QStringList header{QStringLiteral("Frequency"),
                             QStringLiteral("Port air\nm/s peak"),
                             xmax ? QStringLiteral("Excursion\nmm peak (Xmax)")
                                  : QStringLiteral("Excursion\nmm peak"),
                             QStringLiteral("SPL at 1 m\ndB"),
                             QStringLiteral("Largest SPL\ndB") + mark,
                             QStringLiteral("Limited\nby") + mark};
    for (std::size_t c = 0; c < table_[0].size(); ++c) {
        table_[0][c]->setText(header[static_cast<qsizetype>(c)]);
    }
    for (std::size_t r = 0; r < design_frequencies.size(); ++r) {
        const double f = design_frequencies[r];
        const ResponsePoint p = response_at(model, f);
        const MaxOutputPoint m = max_output_at(model, design.limits, p);
        const QString excursion =
            QString::number(p.excursion_m * 1000, 'f', 2) +
            (xmax
                 ? QStringLiteral(" (%1%2%)").arg(std::round(p.excursion_ratio * 100)).arg(no_break)
                 : QString());
        const QStringList cells{QString::number(f) + no_break + QStringLiteral("Hz"),
                                one_decimal_always(p.port_velocity),
                                excursion,
                                one_decimal_always(p.spl_db),
                                one_decimal_always(m.spl_db),
                                limit_words(m.binding)};
        for (std::size_t c = 0; c < table_[r + 1].size(); ++c) {
            table_[r + 1][c]->setText(cells[static_cast<qsizetype>(c)]);
        }
        table_[r + 1][3]->setAccessibleName(header[3] + QStringLiteral(" at ") + cells[0]);
    }
    // The drive: the amplifier's level, and what each driver gets of it.
    const double v = drive_voltage_rms(model);
    const double n = model.driver.count;
    const double re = model.driver.re_ohm;
    QString summary;
    if (const auto f3 = f3_hz(model)) {
        summary = QStringLiteral("F3 %1%2Hz (−3 dB against the passband%3). ")
                      .arg(one_decimal(*f3), no_break,
                           model.highpass.empty() ? QString() : QStringLiteral(", filters in"));
    } else {
        summary = QStringLiteral("No F3 above the model's lowest frequency. ");
    }
    summary += QStringLiteral("Amplifier %1%2V RMS, %3%2W into %4%2Ω; each driver %1%2V RMS, "
                              "%5%2W into its Re before the filters")
                   .arg(significant(v, 4), no_break, significant(v * v * n / re, 4),
                        significant(re / n, 3), significant(v * v / re, 4));
    if (model.driver.pe_w > 0) {
        summary += QStringLiteral(" (Pe %1%2W)").arg(significant(model.driver.pe_w, 4), no_break);
    }
    summary += QLatin1Char('.');
    if (slotted) {
        summary += QLatin1Char('\n') + approximate_note;
    }
    summary_text_->setText(summary);
    // The table's columns as wide as their figures: the words around it wrap.
    QWidget* inside = results_scroll_->widget();
    results_scroll_->setMinimumWidth(inside->layout()->minimumSize().width() +
                                     results_scroll_->verticalScrollBar()->sizeHint().width());
}

void EnclosureDesigner::show_length(const DesignResult& design, const WindowPort& port) {
    const UnitsMode units = program_.units_mode;
    const BoxParameters& box = design.input->box;
    QStringList warnings;
    if (const QString cone = beyond_xmax(*design.model); !cone.isEmpty()) {
        warnings << cone;
    }
    LengthWords words;
    if (design.slot) {
        words = length_words(
            slot_length(*design.slot, box.vb_m3, box.fb_hz, design.input->temperature_c),
            slot_words(*design.slot, units), true, box, units);
    } else {
        const int ports = design.input->port.count;
        words = length_words(
            port_length(to_flared_port(inputs_, port.diameter_mm, port.radius_mm, ports), box.vb_m3,
                        box.fb_hz, design.input->temperature_c),
            QStringLiteral("%1 %2 of %3, flare radius %4")
                .arg(QString::number(ports), port_words(ports),
                     shown_length(port.diameter_mm, units), shown_length(port.radius_mm, units)),
            false, box, units);
    }
    length_text_->setText(words.text);
    warnings << words.warnings;
    warnings_text_->setText(warnings.join(QLatin1Char(' ')));
    warnings_text_->setVisible(!warnings.isEmpty());
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
    QStringList parts;
    const DesignerView view =
        designer_views[static_cast<std::size_t>(std::max(0, view_tabs_->currentIndex()))];
    for (const CurveReading& r : designer_read_out(view, graph_input_, frequency)) {
        if (!r.text.isEmpty()) {
            parts << r.name + QLatin1Char(' ') + r.text;
        }
    }
    const QString text = QString::number(frequency, 'f', frequency < 100 ? 1 : 0) +
                         QStringLiteral(" Hz: ") + parts.join(QStringLiteral(", "));
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
    if (!isVisible() || !velocities_ || !design_) {
        return;
    }
    graph_input_ = designer_graph_input(*design_->model, design_->limits, from_hz_->value(),
                                        to_hz_->value(), designer_graph_points);
    graph_input_.references = reference_curves_;
    const DesignerView view =
        designer_views[static_cast<std::size_t>(std::max(0, view_tabs_->currentIndex()))];
    spec_ = designer_plot(view, graph_input_);
    if (design_->slot && (view == DesignerView::max_spl || view == DesignerView::velocity)) {
        spec_.note = QStringLiteral("limits approximate for a slot*");
    }
    layout_ = draw_plot(graph_->drawing(), spec_, graph_->size());
    graph_->setAccessibleDescription(designer_graph_description(view, graph_input_));
    graph_->set_dimmed(false);
    graph_->refresh();
    if (cursor_hz_) {
        point_at(*cursor_hz_);
    }
}

void EnclosureDesigner::use_velocities() {
    if (velocities_ && use_velocities_ && !design_->slot) {
        use_velocities_(*velocities_);
        hide();
    }
}

// Pins the design on screen: its inputs, its port and allowances, a name that
// says its box, and the first colour no other reference has.
void EnclosureDesigner::keep_reference() {
    if (!design_ || references_.size() >= max_references) {
        return;
    }
    ReferenceInputs r;
    r.inputs = inputs_;
    r.diameter_mm = shown_port_.diameter_mm;
    r.ports = static_cast<int>(std::clamp(shown_port_.ports, 1.0, 1000.0));
    r.radius_mm = shown_port_.radius_mm;
    r.allowances = shown_port_.allowances;
    const BoxParameters& box = design_->input->box;
    r.name = reference_name(
        QStringLiteral("Vb %1, Fb %2 Hz")
            .arg(shown_volume(box.vb_m3 * 1000, program_.units_mode), one_decimal(box.fb_hz))
            .replace(no_break, QLatin1Char(' '))
            .toStdString());
    for (const QColor& c : reference_palette) {
        const auto rgb = static_cast<std::uint32_t>(c.rgb() & 0xffffffu);
        if (std::none_of(references_.begin(), references_.end(),
                         [rgb](const ReferenceInputs& k) { return k.rgb == rgb; })) {
            r.rgb = rgb;
            break;
        }
    }
    references_.push_back(std::move(r));
    show_references();
    update_reference_curves();
    calculate();
}

// One row per reference: its colour (a click takes the next one), its name, and a
// button that lets it go.
void EnclosureDesigner::show_references() {
    for (QWidget* w :
         references_box_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w != keep_button_) {
            w->hide();
            w->deleteLater();
        }
    }
    for (std::size_t i = 0; i < references_.size(); ++i) {
        const QString n = QString::number(i + 1);
        auto* swatch = new QToolButton(references_box_);
        swatch->setObjectName(QStringLiteral("Command_colour_") + n);
        swatch->setAccessibleName(QStringLiteral("Colour of reference ") + n);
        swatch->setToolTip(QStringLiteral("Another colour for this reference"));
        swatch->setAutoRaise(false);
        swatch->setFixedSize(22, 22);
        swatch->setStyleSheet(
            QStringLiteral("background: %1").arg(colour_of(references_[i].rgb).name()));
        auto* name = new QLineEdit(qs(references_[i].name), references_box_);
        name->setObjectName(QStringLiteral("Text_reference_") + n);
        name->setAccessibleName(QStringLiteral("Name of reference ") + n);
        name->setMaxLength(static_cast<int>(max_reference_name));
        name->setMinimumWidth(
            name->fontMetrics().horizontalAdvance(QStringLiteral("Vb 60 L, Fb 30.0 Hz")));
        auto* remove = new QToolButton(references_box_);
        remove->setObjectName(QStringLiteral("Command_remove_") + n);
        remove->setText(QStringLiteral("×"));
        remove->setAccessibleName(QStringLiteral("Remove reference ") + n);
        remove->setToolTip(QStringLiteral("Stop comparing with this design"));
        const int at = references_row_->indexOf(keep_button_) + 1 + static_cast<int>(i) * 3;
        references_row_->insertWidget(at, swatch);
        references_row_->insertWidget(at + 1, name);
        references_row_->insertWidget(at + 2, remove);
        connect(swatch, &QToolButton::clicked, this, [this, i] {
            const QColor now = colour_of(references_[i].rgb);
            const auto it = std::find(reference_palette.begin(), reference_palette.end(), now);
            const std::size_t next =
                it == reference_palette.end()
                    ? 0
                    : (static_cast<std::size_t>(it - reference_palette.begin()) + 1) %
                          reference_palette.size();
            references_[i].rgb =
                static_cast<std::uint32_t>(reference_palette[next].rgb() & 0xffffffu);
            show_references();
            update_reference_curves();
            draw_graph();
        });
        connect(name, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            references_[i].name = reference_name(text.toStdString());
            if (references_[i].name.empty()) {
                references_[i].name = "Reference " + std::to_string(i + 1);
            }
            update_reference_curves();
            draw_graph();
        });
        connect(remove, &QToolButton::clicked, this, [this, i] {
            references_.erase(references_.begin() + static_cast<std::ptrdiff_t>(i));
            show_references();
            update_reference_curves();
            calculate();
        });
    }
    keep_button_->setEnabled(design_.has_value() && references_.size() < max_references);
}

// The references' curves over the graphs' span, each worked out as it was kept.
void EnclosureDesigner::update_reference_curves() {
    reference_curves_.clear();
    for (const ReferenceInputs& r : references_) {
        const WindowPort port{r.diameter_mm, r.radius_mm, static_cast<double>(r.ports),
                              r.allowances, false};
        const DesignResult design = solve_design(r.inputs, port);
        ReferenceDesign kept{qs(r.name), colour_of(r.rgb), {}};
        if (design.model) {
            kept.curves = designer_curves(*design.model, design.limits, from_hz_->value(),
                                          to_hz_->value(), designer_graph_points);
        }
        reference_curves_.push_back(std::move(kept));
    }
}

} // namespace venturon
