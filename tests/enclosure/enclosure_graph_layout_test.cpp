// The enclosure pictures' texts at the sizes they are shown: for the designs a
// builder may try, no two texts overlap and no legend leaves the picture.
#include "calculation.h"
#include "enclosure_graph.h"
#include "enclosure_inputs.h"

#include <QFontMetricsF>
#include <QRectF>

#include <gtest/gtest.h>

#include <vector>

using namespace venturon;

namespace {

struct Shown {
    QString text;
    QRectF box; // pixels
};

// Every text as it shows at a size; a label printed again with its unit over
// itself counts once.
std::vector<Shown> texts_at(const Drawing& d, QSizeF size) {
    const QFontMetricsF metrics(d.font());
    std::vector<Shown> out;
    for (const auto& item : d.items()) {
        if (item.kind != Drawing::Kind::text) {
            continue;
        }
        const QRectF box(item.from.x() * size.width(), item.from.y() * size.height(),
                         metrics.horizontalAdvance(item.text), metrics.height());
        if (!out.empty() && out.back().box.topLeft() == box.topLeft() &&
            item.text.startsWith(out.back().text)) {
            out.back() = {item.text, box};
        } else {
            out.push_back({item.text, box});
        }
    }
    return out;
}

bool overlap(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.width() > 0.01 && both.height() > 0.01;
}

const QStringList legends{"Core Limit", "Chuffing", "Port velocity", "Xmax", "Excursion"};

void expect_apart(const Drawing& d, QSizeF size) {
    const auto t = texts_at(d, size);
    const QRectF picture = QRectF(QPointF(0, 0), size).adjusted(-0.01, -0.01, 0.01, 0.01);
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (legends.contains(t[i].text)) {
            EXPECT_TRUE(picture.contains(t[i].box)) << t[i].text.toStdString();
        }
        for (std::size_t j = i + 1; j < t.size(); ++j) {
            EXPECT_FALSE(overlap(t[i].box, t[j].box))
                << t[i].text.toStdString() << " and " << t[j].text.toStdString();
        }
    }
}

const QSizeF sizes[] = {{401, 117}, {600, 300}};

SolvedEnclosure design(double diameter, double power, double xmax) {
    EnclosureInputs in;
    in.power_w = power;
    in.xmax_mm = xmax;
    const auto input = to_enclosure_input(in, diameter, 1);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    return *model;
}

} // namespace

TEST(EnclosureGraphLayout, PortVelocityTextsStayApart) {
    int graphs = 0;
    for (double diameter : {50.0, 75.0, 100.0, 150.0, 250.0, 400.0}) {
        for (double power : {1.0, 30.0, 300.0, 3000.0}) {
            for (double radius : {0.0, 25.0, 100.0}) {
                for (QSizeF size : sizes) {
                    SCOPED_TRACE(testing::Message()
                                 << diameter << " mm, " << power << " W, r " << radius << ", "
                                 << size.width() << "x" << size.height());
                    PortVelocityGraphInput in = port_velocity_graph_input(
                        design(diameter, power, 12), diameter, radius, first_start_allowances);
                    in.picture_size = size;
                    Drawing d;
                    draw_port_velocity_graph(d, in);
                    expect_apart(d, size);
                    ++graphs;
                }
            }
        }
    }
    EXPECT_EQ(graphs, 6 * 4 * 3 * 2);
}

TEST(EnclosureGraphLayout, ExcursionTextsStayApart) {
    for (double power : {0.1, 10.0, 100.0, 1000.0, 10000.0}) {
        for (double xmax : {0.0, 3.0, 12.0, 40.0}) {
            for (QSizeF size : sizes) {
                SCOPED_TRACE(testing::Message() << power << " W, Xmax " << xmax << ", "
                                                << size.width() << "x" << size.height());
                ExcursionGraphInput in = excursion_graph_input(design(100, power, xmax));
                in.picture_size = size;
                Drawing d;
                draw_excursion_graph(d, in);
                expect_apart(d, size);
            }
        }
    }
}

// The legends move only when they must: apart, a picture keeps them at its curves'
// ends.
TEST(EnclosureGraphLayout, LegendsStandAtTheirCurvesWhenThereIsRoom) {
    PortVelocityGraphInput in;
    for (double f = 15; f <= 40; f += 5) {
        in.samples.push_back({f, 10, 60, 35});
    }
    Drawing plain;
    draw_port_velocity_graph(plain, in);
    in.picture_size = QSizeF(600, 300);
    Drawing sized;
    draw_port_velocity_graph(sized, in);
    ASSERT_EQ(plain.items().size(), sized.items().size());
    for (std::size_t i = 0; i < plain.items().size(); ++i) {
        EXPECT_EQ(plain.items()[i].from, sized.items()[i].from) << i;
    }

    // Two curves ending together at the window's size: their legends part.
    in.samples.back() = {40, 35, 60, 35};
    in.picture_size = QSizeF(401, 117);
    Drawing close;
    draw_port_velocity_graph(close, in);
    expect_apart(close, in.picture_size);
}
