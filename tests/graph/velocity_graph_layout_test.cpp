// The graph's texts at the size the window shows it: velocity labels and legends
// never overlap and legends never leave the picture, for any port a builder may
// type, while a graph that needs no help keeps every item in its plain place.
#include "calculation.h"
#include "velocity_graph.h"

#include <QFontMetricsF>
#include <QRectF>

#include <gtest/gtest.h>

#include <vector>

using namespace venturon;

namespace {

const QSizeF window_graph(401, 117); // the main window's graph, in pixels

struct Shown {
    QString text;
    QRectF box; // pixels
};

// Texts of the drawing as they appear at a size: velocity labels (left edge) and
// legends (right of 35 Hz).
struct Texts {
    std::vector<Shown> velocity_labels;
    std::vector<Shown> legends;
};

Texts texts_at(const Drawing& d, QSizeF size) {
    const QFontMetricsF metrics(d.font());
    Texts out;
    for (const auto& item : d.items()) {
        if (item.kind != Drawing::Kind::text) {
            continue;
        }
        const QRectF box(item.from.x() * size.width(), item.from.y() * size.height(),
                         metrics.horizontalAdvance(item.text), metrics.height());
        if (item.from.x() < 0.1) {
            // The top label is printed again with its unit, over itself.
            if (!out.velocity_labels.empty() &&
                out.velocity_labels.back().box.topLeft() == box.topLeft()) {
                out.velocity_labels.back() = {item.text, box};
            } else {
                out.velocity_labels.push_back({item.text, box});
            }
        } else if (item.from.x() > 0.8) {
            out.legends.push_back({item.text, box});
        }
    }
    return out;
}

// Two texts overlap when their boxes share more than a hair (coordinates pass
// through 32-bit floats on their way to the screen).
bool overlap(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.width() > 0.01 && both.height() > 0.01;
}

VelocityGraphInput input_for(double diameter, double ports, double velocity, bool full_mode,
                             CalculationMode mode) {
    CalculationInput c;
    c.diameter = diameter;
    c.mode = mode;
    c.radius = 10;
    // Required velocities shaped like a design's, scaled by the port count.
    c.required = {velocity / ports, 1.4 * velocity / ports, 1.2 * velocity / ports,
                  0.7 * velocity / ports};
    c.allowances = first_start_allowances;
    const CalculationResult r = calculate(c);
    VelocityGraphInput in = velocity_graph_input(r.core_limit, r.chuff_limit, c.required);
    in.full_mode = full_mode;
    in.picture_size = window_graph;
    return in;
}

} // namespace

TEST(VelocityGraphLayout, TextsNeverOverlapOrLeaveThePicture) {
    int graphs = 0;
    int thinned = 0;
    int moved = 0;
    for (double diameter = 25; diameter <= 600; diameter += 25) {
        for (double ports = 1; ports <= 4; ++ports) {
            for (double velocity = 0; velocity <= 80; velocity += 10) {
                for (bool full : {true, false}) {
                    for (auto mode : {CalculationMode::minimum, CalculationMode::manual}) {
                        const VelocityGraphInput in =
                            input_for(diameter, ports, velocity, full, mode);
                        Drawing d;
                        draw_velocity_graph(d, in);
                        VelocityGraphInput plain_in = in;
                        plain_in.picture_size = QSizeF();
                        Drawing plain;
                        draw_velocity_graph(plain, plain_in);
                        thinned += texts_at(d, window_graph).velocity_labels.size() <
                                   texts_at(plain, window_graph).velocity_labels.size();

                        const Texts t = texts_at(d, window_graph);
                        SCOPED_TRACE(testing::Message()
                                     << diameter << " mm, " << ports << " ports, " << velocity
                                     << " m/s, " << (full ? "Full" : "Simple"));
                        for (std::size_t i = 0; i < t.velocity_labels.size(); ++i) {
                            for (std::size_t j = i + 1; j < t.velocity_labels.size(); ++j) {
                                EXPECT_FALSE(
                                    overlap(t.velocity_labels[i].box, t.velocity_labels[j].box))
                                    << t.velocity_labels[i].text.toStdString() << " and "
                                    << t.velocity_labels[j].text.toStdString();
                            }
                        }
                        ASSERT_EQ(t.legends.size(), full ? 3u : 2u);
                        const QRectF picture =
                            QRectF(QPointF(0, 0), window_graph).adjusted(-0.01, -0.01, 0.01, 0.01);
                        for (std::size_t i = 0; i < t.legends.size(); ++i) {
                            EXPECT_TRUE(picture.contains(t.legends[i].box))
                                << t.legends[i].text.toStdString() << " at "
                                << t.legends[i].box.top() << ".." << t.legends[i].box.bottom();
                            for (std::size_t j = i + 1; j < t.legends.size(); ++j) {
                                EXPECT_FALSE(overlap(t.legends[i].box, t.legends[j].box))
                                    << t.legends[i].text.toStdString() << " and "
                                    << t.legends[j].text.toStdString();
                            }
                        }
                        const Texts p = texts_at(plain, window_graph);
                        for (std::size_t i = 0; i < t.legends.size(); ++i) {
                            moved += t.legends[i].box != p.legends[i].box;
                        }
                        ++graphs;
                    }
                }
            }
        }
    }
    EXPECT_EQ(graphs, 24 * 4 * 9 * 2 * 2);
    // The spread reaches both mendings.
    EXPECT_GT(thinned, 0);
    EXPECT_GT(moved, 0);
}

// A picture whose texts already stand apart is drawn exactly as without a size.
TEST(VelocityGraphLayout, GraphsThatNeedNoHelpAreUnchanged) {
    for (bool full : {true, false}) {
        VelocityGraphInput in =
            input_for(100, 1, 10, full, CalculationMode::minimum); // the first start's port
        in.required = {10, 14, 12, 7};
        Drawing sized;
        draw_velocity_graph(sized, in);
        in.picture_size = QSizeF();
        Drawing plain;
        draw_velocity_graph(plain, in);
        ASSERT_EQ(sized.items().size(), plain.items().size());
        for (std::size_t i = 0; i < plain.items().size(); ++i) {
            EXPECT_EQ(sized.items()[i].from, plain.items()[i].from) << i;
            EXPECT_EQ(sized.items()[i].to, plain.items()[i].to) << i;
            EXPECT_EQ(sized.items()[i].text, plain.items()[i].text) << i;
        }
    }
}

// A 374.65 mm port (1' 2 3/4): the labels step by a wider, round amount and the
// legends clear each other; the frequency labels and the lines keep their places.
TEST(VelocityGraphLayout, LargePortThinsLabelsToARoundStep) {
    const VelocityGraphInput in = input_for(374.65, 1, 10, true, CalculationMode::minimum);
    Drawing d;
    draw_velocity_graph(d, in);
    const Texts t = texts_at(d, window_graph);
    ASSERT_GE(t.velocity_labels.size(), 2u);
    const double first = t.velocity_labels[0].text.toDouble();
    const double second = t.velocity_labels[1].text.toDouble();
    const double step = second - first;
    EXPECT_TRUE(step == 20 || step == 50 || step == 100) << step;
    EXPECT_EQ(first, step);
    EXPECT_TRUE(t.velocity_labels.back().text.endsWith("m/s"));

    VelocityGraphInput plain_in = in;
    plain_in.picture_size = QSizeF();
    Drawing plain;
    draw_velocity_graph(plain, plain_in);
    std::vector<Drawing::Item> lines, plain_lines;
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::line) {
            lines.push_back(item);
        }
    }
    for (const auto& item : plain.items()) {
        if (item.kind == Drawing::Kind::line) {
            plain_lines.push_back(item);
        }
    }
    ASSERT_EQ(lines.size(), plain_lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].from, plain_lines[i].from);
        EXPECT_EQ(lines[i].to, plain_lines[i].to);
    }
    for (const char* frequency : {"20", "25", "30", "35hz"}) {
        auto position = [frequency](const Drawing& drawing) {
            for (const auto& item : drawing.items()) {
                if (item.kind == Drawing::Kind::text && item.text == frequency) {
                    return item.from;
                }
            }
            return QPointF(-1, -1);
        };
        EXPECT_EQ(position(d), position(plain)) << frequency;
    }
}
