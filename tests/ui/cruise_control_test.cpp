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
    EXPECT_FALSE(text("Text7")->isEnabled());
    text("Text7")->setText("20");
    EXPECT_EQ(form->state().required_v[1], 20);
    EXPECT_EQ(field_colour("Text7"), grey);
    EXPECT_EQ(status(), "Port will be noise free");

    check("Check1")->setChecked(false);
    EXPECT_TRUE(text("Text7")->isEnabled());
    EXPECT_EQ(field_colour("Text7"), white);
    type("Text7", "-12.5x");
    EXPECT_EQ(form->state().required_v[1], 12.5);
    EXPECT_EQ(field_colour("Text7"), stale_red);
    EXPECT_EQ(status(), stale);
    // Enter in a velocity field starts nothing.
    press_enter("Text7");
    EXPECT_EQ(status(), stale);
    // Leaving it shows the number that is used.
    focus(text("Text8"));
    EXPECT_EQ(text("Text7")->text(), " 12.5");
    EXPECT_EQ(field_colour("Text7"), stale_red);

    check("Check1")->setChecked(true);
    EXPECT_EQ(field_colour("Text7"), stale_red); // stale colour survives the switch
    EXPECT_EQ(field_colour("Text6"), grey);
    calculate();
    EXPECT_EQ(field_colour("Text7"), grey);
}

TEST_F(CruiseControlTest, RescalesTypedPorts) {
    start();
    // The reference is the start-up port: 100 mm, one port, 10, 14, 12, 7.
    check("Check1")->setChecked(false);
    check("Check1")->setChecked(true);
    type("Text1", "200");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    type("Text1", "110");
    press_enter("Text1");
    EXPECT_EQ(velocities(), (QStringList{" 8.2", " 11.5", " 9.9", " 5.7"}));
    EXPECT_EQ(form->state().required_v, (std::array<double, 4>{8.2, 11.5, 9.9, 5.7}));
    type("Text1", "100");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 10", " 14", " 12", " 7"}));
    type("Text10", "2");
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
    calculate();
    EXPECT_EQ(status(), "Ports will be noise free");

    // Off: changes of diameter or port count leave the velocities alone.
    check("Check1")->setChecked(false);
    type("Text10", "1");
    type("Text1", "150");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
}

TEST_F(CruiseControlTest, UnreadableImperialDiameterSwitchesItBackOff) {
    start();
    check("Check1")->setChecked(false);
    program.units_mode = UnitsMode::inches;
    const double diameter = form->state().diameter_mm;
    const double reference = form->state().lock_diameter_mm;
    text("Text1")->setText("6 1/3");
    check("Check1")->setChecked(true);
    EXPECT_EQ(messages(), QStringList{diameter_format});
    EXPECT_FALSE(check("Check1")->isChecked());
    EXPECT_TRUE(text("Text6")->isEnabled());
    EXPECT_EQ(form->state().diameter_mm, diameter);
    EXPECT_EQ(form->state().lock_diameter_mm, reference);

    // A readable one becomes the reference, in millimetres.
    text("Text1")->setText("6 1/2");
    check("Check1")->setChecked(true);
    EXPECT_EQ(form->state().lock_diameter_mm, 165.1);
}
