// A click on the graph reports the limits at the frequency clicked.
#include "main_window_fixture.h"

#include "options_dialog.h"
#include "support/row_names.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

class GraphClickTest : public MainWindowTest {
protected:
    // A 100 mm port with a 25 mm radius, no allowances, calculated.
    void start_with_a_manual_radius() {
        start();
        click(option(designed::main::manual_mode_option));
        type(designed::main::radius_field, "25");
        check(designed::main::cruise_control_check)->setChecked(false);
        calculate();
        child<QRadioButton>(form->options(), designed::options::chuffing_none_option)
            ->setChecked(true);
    }
};

struct GraphClick {
    const char* name;
    double x; // 0 to 5: 15 to 40 Hz
    float frequency;
    const char* caption;

    friend void PrintTo(const GraphClick& row, std::ostream* os) { *os << row.name; }
};

// clang-format off
const GraphClick graph_clicks[] = {
    {"at_28_hz", 2.6, 28, "At  28hz   Core Limit is 26m/s   Chuffing is 11m/s"},
    {"at_27_5_hz_rounds_up", 2.5, 28, "At  28hz   Core Limit is 26m/s   Chuffing is 11m/s"},
    {"at_20_hz", 1.0, 20, "At  20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
    {"below_20_hz", 0.5, 18, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
    {"near_the_left_edge", 0.1, 16, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
    {"at_the_left_edge", 0.09, 15, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
    {"at_the_right_edge", 4.99, 40, "Above 35hz   Core Limit is 36m/s   Chuffing is 16m/s"},
    {"above_35_hz", 4.1, 36, "Above 35hz   Core Limit is 36m/s   Chuffing is 16m/s"},
};
// clang-format on

class GraphClickAtTest : public GraphClickTest, public ::testing::WithParamInterface<GraphClick> {};

} // namespace

TEST_P(GraphClickAtTest, ReportsTheLimitsAtTheFrequency) {
    start_with_a_manual_radius();
    click_graph(GetParam().x);
    EXPECT_EQ(form->state().clicked_frequency, GetParam().frequency);
    EXPECT_EQ(status(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Clicks, GraphClickAtTest, ::testing::ValuesIn(graph_clicks), RowName());

TEST_F(GraphClickTest, KeepsTheVerdictColourAndTracksNothingInFullMode) {
    start_with_a_manual_radius();
    const QColor verdict_colour = status_colour();
    click_graph(2.6);
    click_graph(4.1);
    EXPECT_NEAR(form->state().status_core, 36.285, 1e-3);
    EXPECT_EQ(status_colour(), verdict_colour);  // a click keeps the verdict's colour
    EXPECT_EQ(program.tracked_frequency, 28.0f); // Full mode tracks nothing

    // A real mouse press maps through the graph's scale.
    QTest::mouseClick(graph(), Qt::LeftButton, {}, QPoint(graph()->width() / 5, 10));
    EXPECT_EQ(form->state().clicked_frequency, 20.0f);
}

TEST_F(GraphClickTest, WithoutADiameterShowsOnlyTheCoreLimit) {
    start();
    type(designed::main::diameter_field, "0");
    focus(text(designed::main::port_count_field));
    ASSERT_EQ(form->state().diameter_mm, 0);
    click_graph(2.6);
    EXPECT_EQ(status(), "At  28hz   Core Limit is 9m/s");
}
