#include "units_dialog.h"

#include "colours.h"
#include "controls.h"
#include "designed_names.h"
#include "font_fitting.h"
#include "palette.h"
#include "twips.h"
#include "window_setup.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace venturon {

namespace {
namespace name = designed::units;

// Shown exactly as written, runs of spaces included.
constexpr const char* rule_texts[std::size(name::rules)] = {
    "Decimal inches are allowed, but without  feet or fractions eg 6.25 or 61.25",
    "Feet, inches and fractions allowed, but without decimals eg  1/4     3 9\\16     6' 10 1/2 ",
    "Feet must be immediately followed by the ' symbol. A following space is optional",
    "Inches and fractions must be separated by a space",
    "Fractions of an inch must contain a single / or \\ symbol",
    "\"\\\" is converted to \"/\" and is not allowed at start or end of field",
    "No spaces allowed in fractional part - allowed elsewhere",
    "Allowable fractions: 1/2  1/4  1/8  1/16",
    "Allowable characters 0 thru 9 .  / \\  and space",
};
} // namespace

UnitsDialog::UnitsDialog(ProgramState& program, std::function<void(bool)> relabel, QWidget* parent)
    : QDialog(parent), program_(program), relabel_(std::move(relabel)) {
    set_up_dialog(this, QString::fromLatin1(name::dialog),
                  QStringLiteral("Units of measurement for Venturon"), twips_size(6984, 4560));

    metric_option = add_option(this, name::metric_option, QStringLiteral("Metric - mm (default)"),
                               twips(240, 180, 6510, 300));
    feet_inches_option = add_option(
        this, name::feet_inches_option,
        QStringLiteral("Imperial - Display results in feet, inches and fractions of an inch"),
        twips(240, 540, 6510, 300));
    decimal_inches_option = add_option(
        this, name::decimal_inches_option,
        QStringLiteral("Imperial - Display results in decimal inches"), twips(240, 900, 6510, 300));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {metric_option, feet_inches_option, decimal_inches_option}) {
        group->addButton(b);
    }

    rules_frame = add_control<QGroupBox>(this, name::rules_frame, twips(180, 1350, 6630, 2520));
    rules_frame->setTitle(QStringLiteral("Rules for entering Imperial Measurements"));
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const int top = 330 + 240 * static_cast<int>(i);
        QLabel* label = add_label(rules_frame, name::rules[i], QString::fromLatin1(rule_texts[i]),
                                  twips(150, top, 6390, 225));
        label->setTextFormat(Qt::PlainText);
        rules[i] = label;
    }

    // Fitted when the dialog first shows: most runs never open it.
    on_first_show(this, [this] {
        fit_font_group({metric_option, feet_inches_option, decimal_inches_option}, 9, 24);
        fit_font_group(QList<QWidget*>(rules.begin(), rules.end()), 8);
    });

    ok_button =
        add_button(this, name::ok_button, QStringLiteral("&OK"), twips(5490, 4020, 1320, 390));
    ok_button->setDefault(true);

    connect(metric_option, &QRadioButton::toggled, this, &UnitsDialog::on_metric_toggled);
    connect(feet_inches_option, &QRadioButton::toggled, this, &UnitsDialog::on_imperial_toggled);
    connect(decimal_inches_option, &QRadioButton::toggled, this, &UnitsDialog::on_imperial_toggled);
    connect(ok_button, &QPushButton::clicked, this, &UnitsDialog::store_mode_and_hide);

    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this]() -> QWidget* {
        return feet_inches_option->isChecked()      ? feet_inches_option
               : decimal_inches_option->isChecked() ? decimal_inches_option
                                                    : metric_option;
    });

    metric_option->setChecked(true);
}

void UnitsDialog::select_mode(UnitsMode mode) {
    switch (mode) {
    case UnitsMode::metric:
        metric_option->setChecked(true);
        break;
    case UnitsMode::inches:
        feet_inches_option->setChecked(true);
        break;
    case UnitsMode::decimal_inches:
        decimal_inches_option->setChecked(true);
        break;
    }
}

void UnitsDialog::set_rule_colour(bool imperial) {
    set_fore_colour(rules_frame, imperial ? QColor(Qt::black) : colours::unit_rules_off);
    for (QLabel* label : rules) {
        set_fore_colour(label, imperial ? colours::hint : colours::unit_rules_off);
    }
}

void UnitsDialog::on_metric_toggled(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(false);
    set_rule_colour(false);
}

void UnitsDialog::on_imperial_toggled(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(true);
    set_rule_colour(true);
}

void UnitsDialog::store_mode_and_hide() {
    if (metric_option->isChecked()) {
        program_.units_mode = UnitsMode::metric;
    }
    if (feet_inches_option->isChecked()) {
        program_.units_mode = UnitsMode::inches;
    }
    if (decimal_inches_option->isChecked()) {
        program_.units_mode = UnitsMode::decimal_inches;
    }
    hide();
}

// Closing by the title bar (through QDialog's close handling) or Escape commits
// the choice like OK, so the captions already relabelled by the option clicks
// always match the units in force.
void UnitsDialog::reject() {
    store_mode_and_hide();
}

} // namespace venturon
