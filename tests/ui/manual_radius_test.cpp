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
    // No allowances.
    child<QRadioButton>(form->options(), designed::options::chuffing_none_option)->setChecked(true);
    click(option(designed::main::manual_mode_option));
    EXPECT_TRUE(text(designed::main::radius_field)->isEnabled());
    EXPECT_EQ(field_colour(designed::main::radius_field), white);
    EXPECT_TRUE(button(designed::main::radius_up_button)->isVisible());
    EXPECT_TRUE(button(designed::main::radius_down_button)->isVisible());
    EXPECT_EQ(status(), "Port will be noise free"); // choosing the mode calculates nothing

    type(designed::main::radius_field, "10");
    calculate();
    EXPECT_EQ(form->state().radius_mm, 10);
    EXPECT_EQ(status(), " Chuffing");
    EXPECT_EQ(status_colour(), QColor(245, 185, 84));
    EXPECT_NEAR(form->state().chuff_excess, 8.404, 5e-4);

    click(button(designed::main::radius_up_button));
    EXPECT_EQ(form->state().radius_mm, 11);
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 11");
    click(button(designed::main::radius_down_button));
    click(button(designed::main::radius_down_button));
    EXPECT_EQ(form->state().radius_mm, 9);

    type(designed::main::radius_field, "0.5");
    press_enter(designed::main::radius_field);
    EXPECT_EQ(form->state().radius_mm, 0.5);
    click(button(designed::main::radius_down_button)); // never below 0
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 0");

    // Imperial modes step a sixteenth of an inch, read back as shown.
    program.units_mode = UnitsMode::inches;
    type(designed::main::diameter_field, "4");
    click(button(designed::main::radius_up_button));
    EXPECT_EQ(text(designed::main::radius_field)->text(), "1/16");
    EXPECT_NEAR(form->state().radius_mm, 25.4 / 16, 1e-9);

    click(option(designed::main::minimum_mode_option));
    EXPECT_FALSE(text(designed::main::radius_field)->isEnabled());
    EXPECT_FALSE(button(designed::main::radius_up_button)->isVisible());
}
