#include "support/drawing_checks.h"
#include "velocity_graph.h"

#include <gtest/gtest.h>

using namespace venturon;
using venturon::testing::drawing_faults;
using venturon::testing::lines_in;
using venturon::testing::texts;

namespace {

VelocityGraphInput example() {
    VelocityGraphInput in;
    in.core_limit = {20, 22, 30, 36.3};
    in.chuff_limit = {12, 14, 19, 25};
    in.required = {25, 30, 35, 40};
    return in;
}

} // namespace

TEST(VelocityGraph, GridLabelsAndHeightFollowTheLargestValue) {
    Drawing d;
    const auto out = draw_velocity_graph(d, example());
    EXPECT_EQ(out.graph_max_velocity, 40);
    EXPECT_EQ(d.scale_width(), 5);
    EXPECT_EQ(d.scale_height(), 45);

    const auto grid = lines_in(d, graph_colour::grid);
    int vertical = 0;
    std::vector<double> heights; // m/s of each horizontal line
    for (const auto& line : grid) {
        if (line.from.x() == line.to.x()) {
            ++vertical;
            EXPECT_DOUBLE_EQ(line.from.x() * 5, vertical - 1.0);
        } else {
            heights.push_back(45 - line.from.y() * 45);
        }
    }
    EXPECT_EQ(vertical, 6);
    ASSERT_EQ(heights.size(), 10u); // 0, 5, ... 45 m/s
    for (std::size_t i = 0; i < heights.size(); ++i) {
        EXPECT_NEAR(heights[i], 5.0 * i, 1e-9);
    }
    EXPECT_EQ(texts(d), (QStringList{"20", "25", "30", "35hz", "5", "15", "25", "35", "35m/s",
                                     "Core Limit", "Chuffing", "Required"}));
    EXPECT_EQ(out.top_velocity_label, 35);
}

TEST(VelocityGraph, StackingOrderAndFullModeElements) {
    Drawing d;
    draw_velocity_graph(d, example());
    std::vector<QColor> order;
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::line && (order.empty() || order.back() != item.colour)) {
            order.push_back(item.colour);
        }
    }
    EXPECT_EQ(order, (std::vector<QColor>{graph_colour::grid, graph_colour::required_line,
                                          graph_colour::cross, graph_colour::core_line,
                                          graph_colour::chuffing_line}));
    EXPECT_EQ(lines_in(d, graph_colour::cross).size(), 8u); // four crosses of two strokes
    for (const auto& line : lines_in(d, graph_colour::core_line)) {
        EXPECT_EQ(line.pen_width, 2);
    }
    EXPECT_TRUE(lines_in(d, graph_colour::marker).empty());
}

TEST(VelocityGraph, SimpleModeMarksTheTrackedFrequency) {
    const struct {
        float frequency;
        double x;
    } cases[] = {{28, 2.6f}, {15, 0}, {40, 5}, {20, 1}};
    for (const auto& c : cases) {
        Drawing d;
        auto in = example();
        in.full_mode = false;
        in.tracked_frequency = c.frequency;
        draw_velocity_graph(d, in);
        const auto marker = lines_in(d, graph_colour::marker);
        ASSERT_FALSE(marker.empty());
        // Dashes one m/s long from the bottom to the top edge, green and white in turn.
        EXPECT_EQ(marker.size(), 23u); // v = 0, 2, ... 44 while v <= 45
        for (const auto& line : marker) {
            EXPECT_FLOAT_EQ(static_cast<float>(line.from.x() * 5), static_cast<float>(c.x));
        }
        EXPECT_EQ(d.scale_height(), 45); // the required velocities still set the height
        EXPECT_TRUE(lines_in(d, graph_colour::cross).empty());
        EXPECT_FALSE(texts(d).contains("Required"));
    }
}

TEST(VelocityGraph, EmptyGraphIsFiveMetresPerSecondHigh) {
    Drawing d;
    VelocityGraphInput in;
    in.top_velocity_label = 15; // from an earlier drawing
    const auto out = draw_velocity_graph(d, in);
    EXPECT_EQ(d.scale_height(), 5);
    int horizontal = 0;
    for (const auto& line : lines_in(d, graph_colour::grid)) {
        horizontal += line.from.y() == line.to.y();
    }
    EXPECT_EQ(horizontal, 2);
    EXPECT_EQ(out.top_velocity_label, 15); // the label loop printed nothing
    EXPECT_TRUE(texts(d).contains("15m/s"));
}

TEST(VelocityGraph, AbsurdValuesDrawAtOnceAndStayFinite) {
    for (double huge : {1e4, 1e12, 1e300, 1.7976931348623157e308}) {
        Drawing d;
        VelocityGraphInput in = example();
        in.required = {huge, 1, huge, huge};
        in.core_limit[3] = huge;
        in.full_mode = false;
        draw_velocity_graph(d, in);
        // Bounded work however tall, positions that are numbers, no "nan" or "inf".
        EXPECT_EQ(drawing_faults(d), "") << huge;
    }
}

TEST(VelocityGraph, ReplaysIntoAnImage) {
    Drawing d;
    draw_velocity_graph(d, example());
    const QImage image = d.to_image(QSize(401, 117));
    // Midway between 30 Hz (19 m/s) and 35 Hz (25 m/s) on the chuffing line.
    const double x = 3.5 / 5 * 401;
    const double y = (45 - 22.0) / 45 * 117;
    bool found = false;
    for (int dy = -2; dy <= 2 && !found; ++dy) {
        found = image.pixelColor(int(x), int(y) + dy) == graph_colour::chuffing_line;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::white));
    // Sharp at twice the pixel ratio: the same picture at double resolution.
    const QImage sharp = d.to_image(QSize(401, 117), 2.0);
    EXPECT_EQ(sharp.size(), QSize(802, 234));
}
