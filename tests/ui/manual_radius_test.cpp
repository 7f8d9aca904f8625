// A radius of the user's own: the radius field and its step buttons.
#include "main_window_fixture.h"

#include "options_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class ManualRadiusTest : public MainWindowTest {};
} // namespace

TEST_F(ManualRadiusTest, RadiusFieldAndStepButtons) {
    start();
    form->options()->Option_chuff_none->setChecked(true); // no allowances
    click(option("Option2"));
    EXPECT_TRUE(text("Text2")->isEnabled());
    EXPECT_EQ(field_colour("Text2"), white);
    EXPECT_TRUE(button("Command2")->isVisible());
    EXPECT_TRUE(button("Command3")->isVisible());
    EXPECT_EQ(status(), "Port will be noise free"); // choosing the mode calculates nothing

    type("Text2", "10");
    calculate();
    EXPECT_EQ(form->state().radius_mm, 10);
    EXPECT_EQ(status(), " Chuffing");
    EXPECT_EQ(status_colour(), QColor(245, 185, 84));
    EXPECT_NEAR(form->state().chuff_excess, 8.404, 5e-4);

    click(button("Command2"));
    EXPECT_EQ(form->state().radius_mm, 11);
    EXPECT_EQ(text("Text2")->text(), " 11");
    click(button("Command3"));
    click(button("Command3"));
    EXPECT_EQ(form->state().radius_mm, 9);

    type("Text2", "0.5");
    press_enter("Text2");
    EXPECT_EQ(form->state().radius_mm, 0.5);
    click(button("Command3")); // never below 0
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text("Text2")->text(), " 0");

    // Imperial modes step a sixteenth of an inch, read back as shown.
    program.units_mode = UnitsMode::inches;
    type("Text1", "4");
    click(button("Command2"));
    EXPECT_EQ(text("Text2")->text(), "1/16");
    EXPECT_NEAR(form->state().radius_mm, 25.4 / 16, 1e-9);

    click(option("Option1"));
    EXPECT_FALSE(text("Text2")->isEnabled());
    EXPECT_FALSE(button("Command2")->isVisible());
}
