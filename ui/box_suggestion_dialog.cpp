#include "box_suggestion_dialog.h"

#include "colours.h"
#include "input_messages.h"
#include "length_display.h"
#include "number_text.h"
#include "palette.h"
#include "suggestion_text.h"
#include "text_box.h"
#include "window_setup.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

namespace venturon {

namespace {

const QChar no_break(0x00a0);
const QString dash = QStringLiteral("\u2014");

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// At most `digits` significant digits, so that a converted value carries no noise.
QString significant(double v, int digits) {
    if (v == 0 || !std::isfinite(v)) {
        return qs(number_text_trimmed(v));
    }
    const double scale = std::pow(10.0, digits - 1 - std::floor(std::log10(std::fabs(v))));
    return qs(number_text_trimmed(std::round(v * scale) / scale));
}

// A figure with a fixed number of decimals; a dash for one that is not a number.
QString decimals(double v, int count) {
    return std::isfinite(v) ? QString::number(v, 'f', count) : dash;
}

ShownUnit volume_unit(UnitsMode units) {
    return shown_unit(input_row(Field::vb), units, UnitStyle::window);
}

// Litres per cubic metre, as the inputs hold a volume.
double litres(double m3) {
    return m3 / input_row(Field::vb).si_per_unit;
}

// A volume in litres or cubic feet, to three significant digits at least.
QString shown_volume(double m3, UnitsMode units) {
    const ShownUnit unit = volume_unit(units);
    const double v = litres(m3) * unit.per_file_unit;
    if (!std::isfinite(v)) {
        return dash;
    }
    const QString number =
        std::fabs(v) >= 100 ? qs(number_text_trimmed(std::round(v * 10) / 10)) : significant(v, 3);
    return number + no_break + qs(unit.unit);
}

// A length in the units mode on one line: tenths of a millimetre, feet and inches
// to the sixteenth, or decimal inches.
QString shown_length(double mm, UnitsMode units) {
    if (!std::isfinite(mm)) {
        return dash;
    }
    QString text = units == UnitsMode::metric
                       ? qs(number_text_trimmed(std::round(mm * 10) / 10)) + QStringLiteral(" mm")
                       : qs(show_length(mm, units, 1));
    return text.replace(QLatin1Char(' '), no_break);
}

QString hertz(double hz) {
    return decimals(hz, 1) + no_break + QStringLiteral("Hz");
}

// The first letter of a sentence made upper case.
QString sentence(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

// What a row is, in its first cell: "Flattest", "For 60 L", "For F3 30 Hz".
QString row_label(const BoxSuggestion& suggestion, UnitsMode units) {
    if (suggestion.kind == SuggestionKind::flattest) {
        return QStringLiteral("Flattest");
    }
    QString label = qs(suggestion_label(suggestion, units, UnitStyle::window));
    if (suggestion.kind == SuggestionKind::given_volume &&
        label.startsWith(QStringLiteral("Vb "))) {
        label.remove(0, 3);
    }
    return QStringLiteral("For ") + label;
}

// What a row is before it has a box.
QString asked_label(std::size_t row) {
    return row == 1   ? QStringLiteral("Flattest")
           : row == 2 ? QStringLiteral("For a volume")
                      : QStringLiteral("For an F3");
}

// The wait cursor while the suggestions are searched for (up to a few tenths of a
// second each).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

BoxSuggestionDialog::BoxSuggestionDialog(ProgramState& program, PortLengthOf length_of,
                                         std::function<void(double vb_l, double fb_hz)> use,
                                         QWidget* parent)
    : QDialog(parent), program_(program), length_of_(std::move(length_of)), use_(std::move(use)) {
    setObjectName(QStringLiteral("BoxSuggestionDialog"));
    setWindowTitle(QStringLiteral("Venturon Box Suggestions"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    set_back_colour(this, colours::window_background);
    units_ = program_.units_mode;
    create_controls();
    for (const Row row : {flattest_row, volume_row, f3_row}) {
        work_out(row);
    }
    resize(sizeHint());
    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this] { return volume_.text; });
}

void BoxSuggestionDialog::create_controls() {
    auto* column = new QVBoxLayout(this);
    const auto add_words = [&](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        column->addWidget(label);
        return label;
    };
    for_text_ = add_words("Label_for");
    criteria_text_ = add_words("Label_criteria");
    criteria_text_->setText(QStringLiteral(
        "The flattest box is the one with the lowest F3 (the largest bandwidth) whose response "
        "has no peak above the passband, worked out for this driver, with its losses and number "
        "of drivers, by the same model as the designer's; a box for a volume has the flattest "
        "tuning without a peak, and a box for an F3 is the smallest that reaches it."));

    auto* fields = new QGridLayout;
    add_target(fields, 0, volume_, "volume", QStringLiteral("For a &volume"), {});
    add_target(fields, 1, f3_, "f3", QStringLiteral("For an &F3"),
               QStringLiteral("For an F3, in hertz"));
    fields->setColumnStretch(3, 1);
    column->addLayout(fields);
    column->addWidget(create_table());
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    close_button_ = new QPushButton(QStringLiteral("Close"), this);
    close_button_->setObjectName(QStringLiteral("Command_close"));
    close_button_->setAutoDefault(false);
    buttons->addWidget(close_button_);
    column->addLayout(buttons);
    connect(close_button_, &QPushButton::clicked, this, &QWidget::hide);

    setTabOrder(volume_.text, f3_.text);
    setTabOrder(f3_.text, use_buttons_[flattest_row]);
    setTabOrder(use_buttons_[flattest_row], use_buttons_[volume_row]);
    setTabOrder(use_buttons_[volume_row], use_buttons_[f3_row]);
    setTabOrder(use_buttons_[f3_row], close_button_);
    show_units();
}

// A caption, its field, its unit and the message beside them.
void BoxSuggestionDialog::add_target(QGridLayout* grid, int line, Target& target, const char* name,
                                     const QString& caption, const QString& said) {
    target.caption = new QLabel(caption, this);
    target.caption->setObjectName(QStringLiteral("Label_") + QLatin1String(name));
    target.text = new TextBox(this);
    target.text->setObjectName(QStringLiteral("Text_") + QLatin1String(name));
    target.text->setMinimumWidth(
        target.text->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")));
    target.text->setPlaceholderText(QStringLiteral("none"));
    target.text->setAccessibleName(said);
    target.caption->setBuddy(target.text);
    target.unit = new QLabel(this);
    target.unit->setObjectName(QStringLiteral("Unit_") + QLatin1String(name));
    target.message = new QLabel(this);
    target.message->setObjectName(QStringLiteral("Message_") + QLatin1String(name));
    target.message->setTextFormat(Qt::PlainText);
    target.message->setWordWrap(true);
    set_fore_colour(target.message, colours::compression_warning);
    target.message->hide();
    grid->addWidget(target.caption, line, 0);
    grid->addWidget(target.text, line, 1);
    grid->addWidget(target.unit, line, 2);
    grid->addWidget(target.message, line, 3);

    const Row row = &target == &volume_ ? volume_row : f3_row;
    connect(target.text, &QLineEdit::returnPressed, this, [this, row] { read_target(row, true); });
    connect(target.text, &TextBox::focus_lost, this, [this, row] { read_target(row, false); });
}

QWidget* BoxSuggestionDialog::create_table() {
    auto* table = new QWidget(this);
    table->setObjectName(QStringLiteral("Frame_suggestions"));
    table_layout_ = new QGridLayout(table);
    table_layout_->setContentsMargins(0, 8, 0, 8);
    table_layout_->setHorizontalSpacing(14);
    const std::array<QString, column_count> headers{
        QStringLiteral("Box"),
        QStringLiteral("Vb"),
        QStringLiteral("Fb"),
        QStringLiteral("F3"),
        QStringLiteral("Highest port air\nvelocity (peak)"),
        QStringLiteral("Straight\nport length"),
        QStringLiteral("Nearest\nalignment")};
    const QString use_said[] = {{},
                                QStringLiteral("Use the flattest box"),
                                QStringLiteral("Use the box for the volume"),
                                QStringLiteral("Use the box for the F3")};
    for (std::size_t r = 0; r < row_count; ++r) {
        for (std::size_t c = 0; c < column_count; ++c) {
            auto* cell = new QLabel(table);
            cell->setObjectName(QStringLiteral("Cell_%1_%2").arg(r).arg(c));
            cell->setTextFormat(Qt::PlainText);
            const bool numbers = c >= 1 && c <= 3;
            cell->setAlignment((numbers ? Qt::AlignRight : Qt::AlignLeft) |
                               (r == 0 ? Qt::AlignBottom : Qt::AlignVCenter));
            if (c == 5) {
                cell->setWordWrap(true); // why a port has no length may take two lines
            }
            if (r == 0) {
                QFont bold = cell->font();
                bold.setBold(true);
                cell->setFont(bold);
                cell->setText(headers[c]);
            }
            table_layout_->addWidget(cell, static_cast<int>(r), static_cast<int>(c));
            cells_[r][c] = cell;
        }
        if (r > 0) {
            auto* use = new QPushButton(QStringLiteral("&Use"), table);
            use->setObjectName(QStringLiteral("Command_use_%1").arg(r));
            use->setAccessibleName(use_said[r]);
            use->setToolTip(use_said[r] + QStringLiteral(" in the designer"));
            use->setAutoDefault(false);
            table_layout_->addWidget(use, static_cast<int>(r), static_cast<int>(column_count));
            use_buttons_[r] = use;
            const auto row = static_cast<Row>(r);
            connect(use, &QPushButton::clicked, this, [this, row] { use_row(row); });
        }
    }
    cells_[0][5]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 22);
    // Room for the widest figures from the start, so the window opens wide enough.
    const QString widest[] = {QStringLiteral("For F3 999.9 Hz"), QStringLiteral("9999.9 L"),
                              QStringLiteral("999.9 Hz"), QStringLiteral("999.9 Hz"),
                              QStringLiteral("999.9 m/s at 999 Hz")};
    for (std::size_t c = 0; c < std::size(widest); ++c) {
        table_layout_->setColumnMinimumWidth(static_cast<int>(c),
                                             fontMetrics().horizontalAdvance(widest[c]) + 4);
    }
    table_layout_->setColumnStretch(5, 1);
    return table;
}

// The volume's unit beside its field and the field's value in it.
void BoxSuggestionDialog::show_units() {
    const ShownUnit unit = volume_unit(units_);
    volume_.unit->setText(qs(unit.unit));
    f3_.unit->setText(QStringLiteral("Hz"));
    volume_.text->setAccessibleName(imperial(units_) ? QStringLiteral("For a volume, in cubic feet")
                                                     : QStringLiteral("For a volume, in litres"));
    if (volume_.value && volume_.message->isHidden()) {
        volume_.text->setText(significant(litres(*volume_.value) * unit.per_file_unit, 6));
    }
}

void BoxSuggestionDialog::show_for(const EnclosureInput& input, const QString& port_words) {
    input_ = input;
    const auto model = solve_enclosure(input);
    qts_ = model ? model->driver.qts : 0;
    for_text_->setText(QStringLiteral("Port lengths are for %1.").arg(port_words));
    if (units_ != program_.units_mode) {
        units_ = program_.units_mode;
        show_units();
    }
    {
        const WaitCursor wait;
        for (const Row row : {flattest_row, volume_row, f3_row}) {
            work_out(row);
        }
    }
    show();
    raise();
    activateWindow();
}

// A number in the units beside the field, or nothing for an empty field. Text
// that is not a number is named beside it and changes nothing else.
void BoxSuggestionDialog::read_target(Row row, bool always) {
    Target& target = row == volume_row ? volume_ : f3_;
    const QString text = target.text->text().trimmed();
    const std::string typed = text.toStdString();
    std::optional<double> value;
    QString problem;
    if (!text.isEmpty()) {
        if (const auto number = complete_number(typed)) {
            value = row == volume_row ? *number / volume_unit(units_).per_file_unit *
                                            input_row(Field::vb).si_per_unit
                                      : *number;
        } else {
            problem = beyond_double(typed)
                          ? QStringLiteral("\"%1\" is too large (the largest number is about "
                                           "1.8e308)")
                                .arg(text)
                          : QStringLiteral("\"%1\" is not a number").arg(text);
        }
    }
    target.message->setText(problem);
    target.message->setVisible(!problem.isEmpty());
    if (!problem.isEmpty() || (!always && value == target.value)) {
        return;
    }
    target.value = value;
    work_out(row);
}

void BoxSuggestionDialog::work_out(Row row) {
    const Target* target = row == volume_row ? &volume_ : row == f3_row ? &f3_ : nullptr;
    if (target && !target->value) {
        show_row_words(row, asked_label(row),
                       row == volume_row
                           ? QStringLiteral("Type a volume above to see the box for it")
                           : QStringLiteral("Type an F3 above to see the smallest box for it"));
        return;
    }
    if (!input_) {
        show_row_words(row, asked_label(row), QStringLiteral("No design yet"));
        return;
    }
    const WaitCursor wait;
    switch (row) {
    case flattest_row:
        show_row(row, flattest_box(*input_));
        break;
    case volume_row:
        show_row(row, box_for_volume(*input_, *volume_.value));
        break;
    case f3_row:
        show_row(row, box_for_f3(*input_, *f3_.value));
        break;
    }
}

void BoxSuggestionDialog::show_row(Row row, const Checked<BoxSuggestion>& suggestion) {
    if (!suggestion) {
        show_row_words(row, asked_label(row),
                       qs(input_message(suggestion.error(), units_, UnitStyle::window)));
        return;
    }
    const BoxSuggestion& s = *suggestion;
    const QString what = row_label(s, units_);
    if (!s.found()) {
        show_row_words(row, what,
                       sentence(qs(suggestion_problem_text(s, qts_, units_, UnitStyle::window))));
        return;
    }
    auto& cells = cells_[row];
    table_layout_->removeWidget(cells[1]);
    table_layout_->addWidget(cells[1], static_cast<int>(row), 1);
    cells[1]->setWordWrap(false);
    cells[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (std::size_t c = 2; c < column_count; ++c) {
        cells[c]->show();
    }
    cells[0]->setText(what);
    cells[1]->setText(shown_volume(s.vb_m3, units_));
    cells[2]->setText(hertz(s.fb_hz));
    cells[3]->setText(s.f3_hz ? hertz(*s.f3_hz) : QStringLiteral("none"));
    cells[4]->setText(QStringLiteral("%1%2m/s at %3%2Hz")
                          .arg(decimals(s.highest_port_velocity, 1), no_break,
                               decimals(s.highest_port_velocity_hz, 0)));
    cells[5]->setText(length_text(s));
    const std::string_view alignment = alignment_name(s.alignment);
    cells[6]->setText(alignment.empty() ? dash : qs(alignment));
    const bool usable = std::isfinite(s.vb_m3) && std::isfinite(s.fb_hz);
    boxes_[row] = usable ? std::optional<Box>(Box{s.vb_m3, s.fb_hz}) : std::nullopt;
    use_buttons_[row]->setEnabled(usable);
}

// Words in place of a row's figures, across its cells; its Use button disabled.
void BoxSuggestionDialog::show_row_words(Row row, const QString& what, const QString& words) {
    auto& cells = cells_[row];
    cells[0]->setText(what);
    table_layout_->removeWidget(cells[1]);
    table_layout_->addWidget(cells[1], static_cast<int>(row), 1, 1,
                             static_cast<int>(column_count) - 1);
    cells[1]->setWordWrap(true);
    cells[1]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cells[1]->setText(words);
    for (std::size_t c = 2; c < column_count; ++c) {
        cells[c]->clear();
        cells[c]->hide();
    }
    boxes_[row].reset();
    use_buttons_[row]->setEnabled(false);
}

// The straight length of the designer's port that tunes the box, or why none does.
QString BoxSuggestionDialog::length_text(const BoxSuggestion& s) const {
    if (!length_of_) {
        return dash;
    }
    const Checked<PortLength> length = length_of_(s.vb_m3, s.fb_hz);
    if (!length) {
        return qs(input_message(length.error(), units_, UnitStyle::window));
    }
    switch (length->fit) {
    case PortFit::flares_too_heavy:
        return QStringLiteral("None: with no straight part the ports tune it only to %1")
            .arg(hertz(length->max_fb_hz));
    case PortFit::too_long:
        return QStringLiteral("None: longer than %1")
            .arg(shown_length(limits::straight_length_m.high * 1000, units_));
    case PortFit::fits:
        break;
    }
    QString text = shown_length(length->straight_length_m * 1000, units_);
    if (length->larger_than(s.vb_m3)) {
        text += QStringLiteral(", more air than the box holds");
    }
    return text;
}

void BoxSuggestionDialog::use_row(Row row) {
    if (const auto& box = boxes_[row]; box && use_) {
        use_(litres(box->vb_m3), box->fb_hz);
    }
}

// A window's layout does not make it as high as its wrapped texts need at its
// width: the dialog asks for that height itself.
QSize BoxSuggestionDialog::minimumSizeHint() const {
    QSize size = QDialog::minimumSizeHint();
    if (layout() && layout()->hasHeightForWidth()) {
        size.setHeight(std::max(size.height(), layout()->totalHeightForWidth(size.width())));
    }
    return size;
}

void BoxSuggestionDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (layout() && layout()->hasHeightForWidth()) {
        setMinimumSize(QDialog::minimumSizeHint().width(),
                       layout()->totalHeightForWidth(event->size().width()));
    }
}

// Closing by the title bar or Escape hides the window, as Close does.
void BoxSuggestionDialog::reject() {
    hide();
}

} // namespace venturon
