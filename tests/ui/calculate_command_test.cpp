// The Calculate command: an edit marks the results stale until it runs, Enter in
// the diameter field runs it, and a calculation that cannot run changes nothing.
#include "main_window_fixture.h"

#include "model.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class CalculateCommandTest : public MainWindowTest {};
} // namespace

TEST_F(CalculateCommandTest, EditingMarksResultsStaleUntilCalculate) {
    start();
    type(designed::main::diameter_field, "150");
    EXPECT_EQ(field_colour(designed::main::diameter_field), stale_red);
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(status_colour(), stale_yellow);
    EXPECT_TRUE(form->state().diameter_changed);

    // Leaving the field validates it and shows the value as understood.
    focus(text(designed::main::port_count_field));
    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 150);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 150");

    calculate();
    EXPECT_EQ(field_colour(designed::main::diameter_field), white);
    EXPECT_EQ(field_colour(designed::main::port_count_field), white);
    EXPECT_NE(status(), stale);
}

TEST_F(CalculateCommandTest, EnterInTheDiameterFieldCalculates) {
    start();
    type(designed::main::diameter_field, "120.7");
    press_enter(designed::main::diameter_field);
    EXPECT_EQ(form->state().diameter_mm, 120.7);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 120");
    EXPECT_EQ(field_colour(designed::main::diameter_field), white);
    EXPECT_TRUE(status().endsWith("will be noise free")) << status().toStdString();
    // The next validation reads the whole millimetres that the field shows.
    calculate();
    EXPECT_EQ(form->state().diameter_mm, 120);
}

TEST_F(CalculateCommandTest, FailedCalculationChangesNothing) {
    start();
    const auto before = form->state();
    const QString verdict = status();
    type(designed::main::diameter_field, "0");
    calculate();
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    EXPECT_EQ(form->state().core_limit, before.core_limit);
    EXPECT_EQ(status(), stale); // the edit's notice stays
    EXPECT_EQ(field_colour(designed::main::diameter_field), stale_red);
    EXPECT_NE(verdict, status());
}

TEST_F(CalculateCommandTest, UnreadableRadiusStopsAfterTheCoreLimits) {
    start();
    click(option(designed::main::manual_mode_option));
    program.units_mode = UnitsMode::inches;
    text(designed::main::port_count_field)->setText("2.7");
    type(designed::main::diameter_field, "2");
    type(designed::main::radius_field, "1/3");
    calculate();
    EXPECT_EQ(messages(), QStringList{radius_format});
    EXPECT_EQ(text(designed::main::port_count_field)->text(), "2");
    EXPECT_EQ(form->state().core_limit[0],
              core_limit(50.8, 20, first_start_allowances)); // replaced
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(text(designed::main::radius_field)->text(), "1/3");
}

TEST_F(CalculateCommandTest, MinimumRadiusOfZeroIsFlagged) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    for (const char* field : designed::main::velocity_fields) {
        type(field, "0");
    }
    calculate();
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 0");
    EXPECT_EQ(field_colour(designed::main::radius_field), stale_red);
    EXPECT_EQ(status(), "Port will be noise free");
    for (const char* field : designed::main::velocity_fields) {
        EXPECT_EQ(field_colour(field), white);
    }
}
