#include "units_dialog.h"

#include "colours.h"
#include "controls.h"
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
struct Rule {
    const char* name;
    const char* text;
};
// Shown exactly as written, runs of spaces included.
constexpr Rule rule_texts[9] = {
    {"Label3", "Decimal inches are allowed, but without  feet or fractions eg 6.25 or 61.25"},
    {"Label4",
     "Feet, inches and fractions allowed, but without decimals eg  1/4     3 9\\16     6' 10 1/2 "},
    {"Label6", "Feet must be immediately followed by the ' symbol. A following space is optional"},
    {"Label15", "Inches and fractions must be separated by a space"},
    {"Label10", "Fractions of an inch must contain a single / or \\ symbol"},
    {"Label8", "\"\\\" is converted to \"/\" and is not allowed at start or end of field"},
    {"Label9", "No spaces allowed in fractional part - allowed elsewhere"},
    {"Label11", "Allowable fractions: 1/2  1/4  1/8  1/16"},
    {"Label7", "Allowable characters 0 thru 9 .  / \\  and space"},
};
} // namespace

UnitsDialog::UnitsDialog(ProgramState& program, std::function<void(bool)> relabel, QWidget* parent)
    : QDialog(parent), program_(program), relabel_(std::move(relabel)) {
    set_up_dialog(this, QStringLiteral("frmUnits"),
                  QStringLiteral("Units of measurement for Venturon"), twips_size(6984, 4560));

    Option1 = add_option(this, "Option1", QStringLiteral("Metric - mm (default)"),
                         twips(240, 180, 6510, 300));
    Option2 = add_option(
        this, "Option2",
        QStringLiteral("Imperial - Display results in feet, inches and fractions of an inch"),
        twips(240, 540, 6510, 300));
    Option3 =
        add_option(this, "Option3", QStringLiteral("Imperial - Display results in decimal inches"),
                   twips(240, 900, 6510, 300));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {Option1, Option2, Option3}) {
        group->addButton(b);
    }

    Frame2 = add_control<QGroupBox>(this, "Frame2", twips(180, 1350, 6630, 2520));
    Frame2->setTitle(QStringLiteral("Rules for entering Imperial Measurements"));
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const int top = 330 + 240 * static_cast<int>(i);
        QLabel* label =
            add_label(Frame2, rule_texts[i].name, QString::fromLatin1(rule_texts[i].text),
                      twips(150, top, 6390, 225));
        label->setTextFormat(Qt::PlainText);
        rules[i] = label;
    }

    // Fitted when the dialog first shows: most runs never open it.
    on_first_show(this, [this] {
        fit_font_group({Option1, Option2, Option3}, 9, 24);
        fit_font_group(QList<QWidget*>(rules.begin(), rules.end()), 8);
    });

    Command1 = add_button(this, "Command1", QStringLiteral("&OK"), twips(5490, 4020, 1320, 390));
    Command1->setDefault(true);

    connect(Option1, &QRadioButton::toggled, this, &UnitsDialog::Option1_Click);
    connect(Option2, &QRadioButton::toggled, this, &UnitsDialog::imperial_Click);
    connect(Option3, &QRadioButton::toggled, this, &UnitsDialog::imperial_Click);
    connect(Command1, &QPushButton::clicked, this, &UnitsDialog::Command1_Click);

    place_on_screen(this, 0.5, 1.0 / 3);
    focus_when_shown(this, [this]() -> QWidget* {
        return Option2->isChecked() ? Option2 : Option3->isChecked() ? Option3 : Option1;
    });

    Option1->setChecked(true);
}

void UnitsDialog::select_mode(UnitsMode mode) {
    switch (mode) {
    case UnitsMode::metric:
        Option1->setChecked(true);
        break;
    case UnitsMode::inches:
        Option2->setChecked(true);
        break;
    case UnitsMode::decimal_inches:
        Option3->setChecked(true);
        break;
    }
}

void UnitsDialog::set_rule_colour(bool imperial) {
    set_fore_colour(Frame2, imperial ? QColor(Qt::black) : colours::unit_rules_off);
    for (QLabel* label : rules) {
        set_fore_colour(label, imperial ? colours::hint : colours::unit_rules_off);
    }
}

void UnitsDialog::Option1_Click(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(false);
    set_rule_colour(false);
}

void UnitsDialog::imperial_Click(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(true);
    set_rule_colour(true);
}

void UnitsDialog::Command1_Click() {
    if (Option1->isChecked()) {
        program_.units_mode = UnitsMode::metric;
    }
    if (Option2->isChecked()) {
        program_.units_mode = UnitsMode::inches;
    }
    if (Option3->isChecked()) {
        program_.units_mode = UnitsMode::decimal_inches;
    }
    hide();
}

// Closing by the title bar (through QDialog's close handling) or Escape commits
// the choice like OK, so the captions already relabelled by the option clicks
// always match the units in force.
void UnitsDialog::reject() {
    Command1_Click();
}

} // namespace venturon
