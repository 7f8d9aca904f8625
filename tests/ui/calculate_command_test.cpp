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
    type("Text1", "150");
    EXPECT_EQ(field_colour("Text1"), stale_red);
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(status_colour(), stale_yellow);
    EXPECT_TRUE(form->state().diameter_changed);

    // Leaving the field validates it and shows the value as understood.
    focus(text("Text10"));
    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 150);
    EXPECT_EQ(text("Text1")->text(), " 150");

    calculate();
    EXPECT_EQ(field_colour("Text1"), white);
    EXPECT_EQ(field_colour("Text10"), white);
    EXPECT_NE(status(), stale);
}

TEST_F(CalculateCommandTest, EnterInTheDiameterFieldCalculates) {
    start();
    type("Text1", "120.7");
    press_enter("Text1");
    EXPECT_EQ(form->state().diameter_mm, 120.7);
    EXPECT_EQ(text("Text1")->text(), " 120");
    EXPECT_EQ(field_colour("Text1"), white);
    EXPECT_TRUE(status().endsWith("will be noise free")) << status().toStdString();
    // The next validation reads the whole millimetres that the field shows.
    calculate();
    EXPECT_EQ(form->state().diameter_mm, 120);
}

TEST_F(CalculateCommandTest, FailedCalculationChangesNothing) {
    start();
    const auto before = form->state();
    const QString verdict = status();
    type("Text1", "0");
    calculate();
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    EXPECT_EQ(form->state().core_limit, before.core_limit);
    EXPECT_EQ(status(), stale); // the edit's notice stays
    EXPECT_EQ(field_colour("Text1"), stale_red);
    EXPECT_NE(verdict, status());
}

TEST_F(CalculateCommandTest, UnreadableRadiusStopsAfterTheCoreLimits) {
    start();
    click(option("Option2"));
    program.units_mode = UnitsMode::inches;
    text("Text10")->setText("2.7");
    type("Text1", "2");
    type("Text2", "1/3");
    calculate();
    EXPECT_EQ(messages(), QStringList{radius_format});
    EXPECT_EQ(text("Text10")->text(), "2");
    EXPECT_EQ(form->state().core_limit[0],
              core_limit(50.8, 20, first_start_allowances)); // replaced
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(text("Text2")->text(), "1/3");
}

TEST_F(CalculateCommandTest, MinimumRadiusOfZeroIsFlagged) {
    start();
    check("Check1")->setChecked(false);
    for (const char* field : {"Text6", "Text7", "Text8", "Text9"}) {
        type(field, "0");
    }
    calculate();
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text("Text2")->text(), " 0");
    EXPECT_EQ(field_colour("Text2"), stale_red);
    EXPECT_EQ(status(), "Port will be noise free");
    for (const char* field : {"Text6", "Text7", "Text8", "Text9"}) {
        EXPECT_EQ(field_colour(field), white);
    }
}
