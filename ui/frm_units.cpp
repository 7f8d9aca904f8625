#include "frm_units.h"

#include "widgets.h"

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
const QColor rule_grey(192, 192, 192);
const QColor rule_blue(55, 106, 240);
} // namespace

frmUnits::frmUnits(ProgramState& program, std::function<void(bool)> relabel, QWidget* parent)
    : QDialog(parent), program_(program), relabel_(std::move(relabel)) {
    set_up_dialog(this, QStringLiteral("frmUnits"),
                  QStringLiteral("Units of measurement for Venturon"), QSize(px(6984), px(4560)));

    auto option = [this](const char* name, const char* caption, int top) {
        auto* b = new QRadioButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(16, top, width() - 32, 20);
        return b;
    };
    Option1 = option("Option1", "Metric - mm (default)", 12);
    Option2 = option("Option2",
                     "Imperial - Display results in feet, inches and fractions of an inch", 36);
    Option3 = option("Option3", "Imperial - Display results in decimal inches", 60);
    fit_font_group({Option1, Option2, Option3}, 9, 24);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {Option1, Option2, Option3}) {
        group->addButton(b);
    }

    Frame2 = new QGroupBox(QStringLiteral("Rules for entering Imperial Measurements"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(12, 90, width() - 24, 168);
    int top = 22;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(rule_texts[i].text), Frame2);
        label->setObjectName(QString::fromLatin1(rule_texts[i].name));
        label->setGeometry(10, top, Frame2->width() - 16, 15);
        label->setTextFormat(Qt::PlainText);
        rules[i] = label;
        top += 16;
    }

    fit_font_group(QList<QWidget*>(rules.begin(), rules.end()), 8);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(width() - 100, height() - 36, 88, 26);
    Command1->setDefault(true);

    connect(Option1, &QRadioButton::toggled, this, &frmUnits::Option1_Click);
    connect(Option2, &QRadioButton::toggled, this, &frmUnits::imperial_Click);
    connect(Option3, &QRadioButton::toggled, this, &frmUnits::imperial_Click);
    connect(Command1, &QPushButton::clicked, this, &frmUnits::Command1_Click);

    place_on_screen(this, 0.5, 1.0 / 3);

    Option1->setChecked(true);
}

void frmUnits::select_mode(const QString& units_mode) {
    if (units_mode == QLatin1String("metric")) {
        Option1->setChecked(true);
    } else if (units_mode == QLatin1String("inches")) {
        Option2->setChecked(true);
    } else if (units_mode == QLatin1String("decimalinches")) {
        Option3->setChecked(true);
    }
}

void frmUnits::set_rule_colour(bool imperial) {
    set_fore_colour(Frame2, imperial ? QColor(0, 0, 0) : rule_grey);
    for (QLabel* label : rules) {
        set_fore_colour(label, imperial ? rule_blue : rule_grey);
    }
}

void frmUnits::Option1_Click(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(false);
    set_rule_colour(false);
}

void frmUnits::imperial_Click(bool checked) {
    if (!checked) {
        return;
    }
    relabel_(true);
    set_rule_colour(true);
}

void frmUnits::Command1_Click() {
    if (Option1->isChecked()) {
        program_.units_mode = QStringLiteral("metric");
    }
    if (Option2->isChecked()) {
        program_.units_mode = QStringLiteral("inches");
    }
    if (Option3->isChecked()) {
        program_.units_mode = QStringLiteral("decimalinches");
    }
    hide();
}

// Closing by the title bar (through QDialog's close handling) or Escape commits
// the choice like OK, so the captions already relabelled by the option clicks
// always match the units in force.
void frmUnits::reject() {
    Command1_Click();
}

} // namespace venturon
