// The units dialog: the rules it shows, and the labels and lengths a change of
// units rewrites.
#include "main_window_fixture.h"

#include "diameter_warning_dialog.h"
#include "units_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

const QColor rule_grey(192, 192, 192);

class UnitsDialogTest : public MainWindowTest {
protected:
    // The rules for typing imperial lengths, top to bottom.
    QList<QLabel*> rules() const {
        QList<QLabel*> labels;
        for (const char* name : designed::units::rules) {
            labels << child<QLabel>(form->units(), name);
        }
        return labels;
    }
};

} // namespace

TEST_F(UnitsDialogTest, RelabelsAndRewritesTheLengths) {
    start();
    type(designed::main::diameter_field, "165.1");
    press_enter(designed::main::diameter_field); // the warning is expected for 165.1 mm
    auto choose = [this](int option, bool ok = true) {
        expect_dialog([option, ok](QDialog& d) {
            auto& u = dynamic_cast<UnitsDialog&>(d);
            QRadioButton* b[] = {child<QRadioButton>(u, designed::units::metric_option),
                                 child<QRadioButton>(u, designed::units::feet_inches_option),
                                 child<QRadioButton>(u, designed::units::decimal_inches_option)};
            press(b[option]);
            if (ok) {
                QTest::mouseClick(child<QPushButton>(u, designed::units::ok_button),
                                  Qt::LeftButton);
            } else {
                u.close();
            }
        });
        click_label(designed::main::units_link);
    };
    interaction.dialog_actions.clear();
    interaction.unexpected_dialogs.clear();

    choose(1);
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), "6 1/2");
    EXPECT_EQ(label(designed::main::diameter_caption)->text(), "Port Diameter - inches");
    EXPECT_EQ(label(designed::main::radius_caption)->text(), "Flare Radius - inches");
    EXPECT_EQ(child<QLabel>(form->diameter_warning(), designed::diameter_warning::heading)->text(),
              "Diameter exceeds 6 1/2 inches");
    EXPECT_EQ(
        child<QLabel>(form->diameter_warning(), designed::diameter_warning::tested_range)->text(),
        "This software was based on testing of ports up to 6 inches in diameter");
    for (QLabel* rule : rules()) {
        EXPECT_EQ(fore_colour(rule), blue);
    }

    choose(2);
    EXPECT_EQ(program.units_mode, UnitsMode::decimal_inches);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 6.5");

    choose(0, /*ok=*/false); // the title-bar button commits like OK
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 165");
    EXPECT_EQ(form->state().diameter_mm, 165.1); // kept until the field is read again
    EXPECT_EQ(label(designed::main::diameter_caption)->text(), "Port Diameter - mm");
    EXPECT_EQ(child<QLabel>(form->diameter_warning(), designed::diameter_warning::heading)->text(),
              "Diameter exceeds 165 mm");
    for (QLabel* rule : rules()) {
        EXPECT_EQ(fore_colour(rule), rule_grey);
    }
    // It reopens with the mode confirmed.
    EXPECT_TRUE(child<QRadioButton>(form->units(), designed::units::metric_option)->isChecked());
}

TEST_F(UnitsDialogTest, ShowsTheRulesVerbatim) {
    start();
    QStringList shown;
    for (QLabel* rule : rules()) {
        shown << rule->text();
    }
    EXPECT_EQ(
        shown,
        (QStringList{
            "Decimal inches are allowed, but without  feet or fractions eg 6.25 or 61.25",
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one rule, split to fit
            "Feet, inches and fractions allowed, but without decimals eg  1/4     3 9\\16     "
            "6' 10 1/2 ",
            "Feet must be immediately followed by the ' symbol. A following space is optional",
            "Inches and fractions must be separated by a space",
            "Fractions of an inch must contain a single / or \\ symbol",
            "\"\\\" is converted to \"/\" and is not allowed at start or end of field",
            "No spaces allowed in fractional part - allowed elsewhere",
            "Allowable fractions: 1/2  1/4  1/8  1/16",
            "Allowable characters 0 thru 9 .  / \\  and space"}));
    // Opening and closing without a change still rewrites both fields.
    text(designed::main::radius_field)->setText("junk");
    expect_dialog([](QDialog& d) {
        child<QPushButton>(dynamic_cast<UnitsDialog&>(d), designed::units::ok_button)->click();
    });
    click_label(designed::main::units_link);
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 27");
}
