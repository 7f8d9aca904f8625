// Cruise control: the velocity fields follow a reference port, rescaled to the
// diameter and port count typed.
#include "main_window_fixture.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class CruiseControlTest : public MainWindowTest {};
} // namespace

TEST_F(CruiseControlTest, VelocityFieldsFollowCruiseControl) {
    start();
    // Cruise on: the program's own rewrites store the value and stay grey.
    EXPECT_FALSE(text(designed::main::velocity_fields[1])->isEnabled());
    text(designed::main::velocity_fields[1])->setText("20");
    EXPECT_EQ(form->state().required_v[1], 20);
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), grey);
    EXPECT_EQ(status(), "Port will be noise free");

    check(designed::main::cruise_control_check)->setChecked(false);
    EXPECT_TRUE(text(designed::main::velocity_fields[1])->isEnabled());
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), white);
    type(designed::main::velocity_fields[1], "-12.5x");
    EXPECT_EQ(form->state().required_v[1], 12.5);
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), stale_red);
    EXPECT_EQ(status(), stale);
    // Enter in a velocity field starts nothing.
    press_enter(designed::main::velocity_fields[1]);
    EXPECT_EQ(status(), stale);
    // Leaving it shows the number that is used.
    focus(text(designed::main::velocity_fields[2]));
    EXPECT_EQ(text(designed::main::velocity_fields[1])->text(), " 12.5");
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), stale_red);

    check(designed::main::cruise_control_check)->setChecked(true);
    // The stale colour survives the switch.
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), stale_red);
    EXPECT_EQ(field_colour(designed::main::velocity_fields[0]), grey);
    calculate();
    EXPECT_EQ(field_colour(designed::main::velocity_fields[1]), grey);
}

TEST_F(CruiseControlTest, RescalesTypedPorts) {
    start();
    // The reference is the start-up port: 100 mm, one port, 10, 14, 12, 7.
    check(designed::main::cruise_control_check)->setChecked(false);
    check(designed::main::cruise_control_check)->setChecked(true);
    type(designed::main::diameter_field, "200");
    focus(text(designed::main::port_count_field));
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    type(designed::main::diameter_field, "110");
    press_enter(designed::main::diameter_field);
    EXPECT_EQ(velocities(), (QStringList{" 8.2", " 11.5", " 9.9", " 5.7"}));
    EXPECT_EQ(form->state().required_v, (std::array<double, 4>{8.2, 11.5, 9.9, 5.7}));
    type(designed::main::diameter_field, "100");
    focus(text(designed::main::port_count_field));
    EXPECT_EQ(velocities(), (QStringList{" 10", " 14", " 12", " 7"}));
    type(designed::main::port_count_field, "2");
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
    calculate();
    EXPECT_EQ(status(), "Ports will be noise free");

    // Off: changes of diameter or port count leave the velocities alone.
    check(designed::main::cruise_control_check)->setChecked(false);
    type(designed::main::port_count_field, "1");
    type(designed::main::diameter_field, "150");
    focus(text(designed::main::port_count_field));
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
}

TEST_F(CruiseControlTest, UnreadableImperialDiameterSwitchesItBackOff) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    program.units_mode = UnitsMode::inches;
    const double diameter = form->state().diameter_mm;
    const double reference = form->state().lock_diameter_mm;
    text(designed::main::diameter_field)->setText("6 1/3");
    check(designed::main::cruise_control_check)->setChecked(true);
    EXPECT_EQ(messages(), QStringList{diameter_format});
    EXPECT_FALSE(check(designed::main::cruise_control_check)->isChecked());
    EXPECT_TRUE(text(designed::main::velocity_fields[0])->isEnabled());
    EXPECT_EQ(form->state().diameter_mm, diameter);
    EXPECT_EQ(form->state().lock_diameter_mm, reference);

    // A readable one becomes the reference, in millimetres.
    text(designed::main::diameter_field)->setText("6 1/2");
    check(designed::main::cruise_control_check)->setChecked(true);
    EXPECT_EQ(form->state().lock_diameter_mm, 165.1);
}
