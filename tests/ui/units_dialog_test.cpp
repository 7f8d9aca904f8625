// The units dialog: the rules it shows, and the labels and lengths a change of
// units rewrites.
#include "main_window_fixture.h"

#include "diameter_warning_dialog.h"
#include "units_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

const QColor rule_grey(192, 192, 192);

class UnitsDialogTest : public MainWindowTest {};

} // namespace

TEST_F(UnitsDialogTest, RelabelsAndRewritesTheLengths) {
    start();
    type("Text1", "165.1");
    press_enter("Text1"); // the warning is expected for 165.1 mm
    auto choose = [this](int option, bool ok = true) {
        expect_dialog([option, ok](QDialog& d) {
            auto& u = dynamic_cast<UnitsDialog&>(d);
            QRadioButton* b[] = {u.Option1, u.Option2, u.Option3};
            press(b[option]);
            if (ok) {
                QTest::mouseClick(u.Command1, Qt::LeftButton);
            } else {
                u.close();
            }
        });
        click_label("Label14");
    };
    interaction.dialog_actions.clear();
    interaction.unexpected_dialogs.clear();

    choose(1);
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    EXPECT_EQ(text("Text1")->text(), "6 1/2");
    EXPECT_EQ(label("Label1")->text(), "Port Diameter - inches");
    EXPECT_EQ(label("Label2")->text(), "Flare Radius - inches");
    EXPECT_EQ(form->diameter_warning()->Label1->text(), "Diameter exceeds 6 1/2 inches");
    EXPECT_EQ(form->diameter_warning()->Label2->text(),
              "This software was based on testing of ports up to 6 inches in diameter");
    for (QLabel* rule : form->units()->rules) {
        EXPECT_EQ(fore_colour(rule), blue);
    }

    choose(2);
    EXPECT_EQ(program.units_mode, UnitsMode::decimal_inches);
    EXPECT_EQ(text("Text1")->text(), " 6.5");

    choose(0, /*ok=*/false); // the title-bar button commits like OK
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(text("Text1")->text(), " 165");
    EXPECT_EQ(form->state().diameter_mm, 165.1); // kept until the field is read again
    EXPECT_EQ(label("Label1")->text(), "Port Diameter - mm");
    EXPECT_EQ(form->diameter_warning()->Label1->text(), "Diameter exceeds 165 mm");
    for (QLabel* rule : form->units()->rules) {
        EXPECT_EQ(fore_colour(rule), rule_grey);
    }
    EXPECT_TRUE(form->units()->Option1->isChecked()); // reopens with the mode confirmed
}

TEST_F(UnitsDialogTest, ShowsTheRulesVerbatim) {
    start();
    QStringList shown;
    for (QLabel* rule : form->units()->rules) {
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
    text("Text2")->setText("junk");
    expect_dialog([](QDialog& d) { dynamic_cast<UnitsDialog&>(d).Command1->click(); });
    click_label("Label14");
    EXPECT_EQ(text("Text2")->text(), " 26");
}
