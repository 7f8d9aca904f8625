// The enclosure designer's pictures: what they show, how a curve above its limit
// stands out, a limit far above the curve, and absurd inputs.
#include "calculation.h"
#include "enclosure_graph.h"
#include "enclosure_inputs.h"
#include "support/drawing_checks.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace venturon;
using venturon::testing::drawing_faults;
using venturon::testing::lines_in;
using venturon::testing::texts;

namespace {

SolvedEnclosure worked_example(double power_w = 100) {
    EnclosureInputs in;
    in[Field::power] = power_w;
    const auto input = to_enclosure_input(in, 100, 1);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    return *model;
}

const QSizeF size(600, 300);

// Where a drawing's item stands, in pixels of the picture.
QPointF pixel(const QPointF& fraction) {
    return {fraction.x() * size.width(), fraction.y() * size.height()};
}

std::size_t polygons_in(const Drawing& d, const QColor& colour) {
    return static_cast<std::size_t>(
        std::count_if(d.items().begin(), d.items().end(), [&](const auto& i) {
            return i.kind == Drawing::Kind::polygon && i.colour == colour;
        }));
}

// The frequencies the stretches of one colour of a level curve span.
std::vector<std::pair<double, double>> spans(const Drawing& d, const PlotLayout& l,
                                             const QColor& colour, double value) {
    std::vector<std::pair<double, double>> out;
    for (const auto& line : lines_in(d, colour, 2)) {
        if (std::fabs(pixel(line.from).y() - l.y_pixel(value)) < 1e-3 &&
            std::fabs(pixel(line.to).y() - l.y_pixel(value)) < 1e-3) {
            out.emplace_back(l.x_value(pixel(line.from).x()), l.x_value(pixel(line.to).x()));
        }
    }
    return out;
}

} // namespace

TEST(PortVelocityGraph, QuietPortDrawsLimitsCurveMarkersAndLegends) {
    const SolvedEnclosure model = worked_example();
    PortVelocityGraphInput in = port_velocity_graph_input(model, 100, 40, first_start_allowances);
    ASSERT_EQ(in.samples.size(), 101u); // every quarter hertz: the design frequencies are samples
    const auto& at_25 = in.samples[40];
    EXPECT_EQ(at_25.frequency_hz, 25);
    EXPECT_EQ(at_25.velocity, response_at(model, 25).port_velocity);
    EXPECT_EQ(in.design_velocity[1], at_25.velocity);
    EXPECT_EQ(at_25.chuff_limit, chuff_limit(100, 40, 25.0f, first_start_allowances));

    in.picture_size = size;
    Drawing d;
    const PlotLayout l = draw_port_velocity_graph(d, in);
    EXPECT_EQ(lines_in(d, graph_colour::core_line, 2).size(), 100u);
    EXPECT_EQ(lines_in(d, graph_colour::chuffing_line, 2).size(), 100u);
    const auto curve = lines_in(d, enclosure_colour::curve, 2);
    ASSERT_EQ(curve.size(), 100u);
    EXPECT_NEAR(l.x_value(pixel(curve.front().from).x()), 15, 1e-3);
    EXPECT_NEAR(pixel(curve.front().from).y(), l.y_pixel(in.samples[0].velocity), 1e-3);
    EXPECT_NEAR(l.x_value(pixel(curve.back().to).x()), 40, 1e-3);
    // Nothing passes a limit: no shading and no warning colours on the curve.
    EXPECT_EQ(polygons_in(d, enclosure_colour::chuffing_shade), 0u);
    EXPECT_EQ(polygons_in(d, enclosure_colour::core_shade), 0u);
    EXPECT_TRUE(lines_in(d, enclosure_colour::over_core).empty());

    const auto markers = lines_in(d, enclosure_colour::design_marker, 1);
    ASSERT_EQ(markers.size(), 4u);
    const auto crosses = lines_in(d, graph_colour::cross, 1.5); // two strokes each
    ASSERT_EQ(crosses.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(l.x_value(pixel(markers[i].from).x()), design_frequencies[i], 1e-3);
        EXPECT_NEAR(pixel(crosses[2 * i].from).y(), l.y_pixel(in.design_velocity[i]), 1e-3);
    }
    for (const char* text : {"15", "20", "25", "30", "35", "40", "Hz", "Core Limit", "Chuffing",
                             "Port velocity", "Air velocity in the port, m/s peak"}) {
        EXPECT_TRUE(texts(d).contains(text)) << text;
    }
}

// A curve at 20 m/s against a core limit of 15 below 20 Hz (over it), then a
// chuffing limit of 10 up to 27.5 Hz (over that), then limits above it.
TEST(PortVelocityGraph, PartsAboveALimitStandOut) {
    PortVelocityGraphInput in;
    for (double f = 15; f <= 40; f += 1) {
        in.samples.push_back({f, 20, f < 20 ? 15.0 : 40.0, f < 27.5 ? 10.0 : 30.0});
    }
    in.design_velocity = {20, 20, 20, 20};
    in.picture_size = size;
    Drawing d;
    const PlotLayout l = draw_port_velocity_graph(d, in);
    const auto red = spans(d, l, enclosure_colour::over_core, 20);
    const auto blue = spans(d, l, enclosure_colour::over_chuffing, 20);
    const auto plain = spans(d, l, enclosure_colour::curve, 20);
    ASSERT_FALSE(red.empty());
    ASSERT_FALSE(blue.empty());
    ASSERT_FALSE(plain.empty());
    for (const auto& [from, to] : red) {
        EXPECT_LE(to, 20 + 1e-3) << from;
    }
    for (const auto& [from, to] : blue) {
        EXPECT_GE(from, 19 - 1e-3);
        EXPECT_LE(to, 27.5 + 1e-3);
    }
    for (const auto& [from, to] : plain) {
        EXPECT_GE(from, 27.5 - 1e-3);
    }
    // The crossing of the chuffing limit, halfway between the 27 and 28 Hz samples.
    EXPECT_NEAR(plain.front().first, 27.5, 1e-3);
    EXPECT_EQ(polygons_in(d, enclosure_colour::core_shade), 1u);     // 15 to 20 Hz
    EXPECT_EQ(polygons_in(d, enclosure_colour::chuffing_shade), 1u); // 19 to 27.5 Hz

    // On screen: the curve at 17 Hz is red.
    const QImage image = d.to_image(size.toSize());
    EXPECT_EQ(QColor(image.pixel(int(l.x_pixel(17)), int(l.y_pixel(20)))),
              enclosure_colour::over_core);
}

// A 221 mm flare on a 50 mm port gives a chuffing limit of hundreds of m/s: the
// scale follows the port's velocity, and the limit is cut at the top and marked.
TEST(PortVelocityGraph, ScaleFollowsTheCurveNotAFarLimit) {
    PortVelocityGraphInput in =
        port_velocity_graph_input(*solve_enclosure(*to_enclosure_input(EnclosureInputs{}, 50, 1)),
                                  50, 221, first_start_allowances);
    double fastest = 0;
    double chuffing = 0;
    for (const auto& s : in.samples) {
        fastest = std::max(fastest, s.velocity);
        chuffing = std::max(chuffing, s.chuff_limit);
    }
    ASSERT_GT(chuffing, 400);
    in.picture_size = size;
    Drawing d;
    const PlotLayout l = draw_port_velocity_graph(d, in);
    EXPECT_GE(l.y_high, fastest);
    EXPECT_LE(l.y_high, 1.5 * fastest);
    EXPECT_TRUE(texts(d).contains("Chuffing (off scale)")) << texts(d).join('|').toStdString();
    EXPECT_GE(polygons_in(d, graph_colour::chuffing_line), 1u); // the mark at the top edge
    EXPECT_LT(lines_in(d, graph_colour::grid).size(), 40u);
}

TEST(ExcursionGraph, XmaxLineAndTheExcessOverIt) {
    const SolvedEnclosure model = worked_example(300);
    ExcursionGraphInput in = excursion_graph_input(model);
    ASSERT_EQ(in.samples.size(), 101u);
    ASSERT_TRUE(in.xmax_mm);
    EXPECT_DOUBLE_EQ(*in.xmax_mm, 12);
    EXPECT_DOUBLE_EQ(in.samples.front().excursion_mm, response_at(model, 10).excursion_m * 1000);

    in.picture_size = size;
    Drawing d;
    const PlotLayout l = draw_excursion_graph(d, in);
    const auto xmax = lines_in(d, enclosure_colour::xmax_line, 2);
    ASSERT_FALSE(xmax.empty());
    for (const auto& line : xmax) {
        EXPECT_NEAR(pixel(line.from).y(), l.y_pixel(12), 1e-3);
    }
    // A log axis: a grid line at each whole ten to 100 Hz, then 200 Hz.
    const auto grid = lines_in(d, graph_colour::grid);
    EXPECT_EQ(std::count_if(grid.begin(), grid.end(),
                            [](const auto& line) { return line.from.x() == line.to.x(); }),
              11);
    EXPECT_NEAR(l.x_pixel(100) - l.x_pixel(10), l.plot.width() * std::log(10) / std::log(20), 1e-6);
    const auto red = lines_in(d, enclosure_colour::over_core, 2);
    ASSERT_FALSE(red.empty());
    for (const auto& line : red) {
        EXPECT_LE(std::min(pixel(line.from).y(), pixel(line.to).y()), l.y_pixel(12) + 1e-6);
    }
    EXPECT_GE(polygons_in(d, enclosure_colour::core_shade), 1u);
    for (const char* text : {"Xmax", "Excursion", "10", "100", "Cone excursion, mm peak"}) {
        EXPECT_TRUE(texts(d).contains(text)) << text << texts(d).join('|').toStdString();
    }

    ExcursionGraphInput unknown = in;
    unknown.xmax_mm.reset();
    draw_excursion_graph(d, unknown);
    EXPECT_TRUE(lines_in(d, enclosure_colour::xmax_line).empty());
    EXPECT_TRUE(lines_in(d, enclosure_colour::over_core).empty());
    EXPECT_FALSE(texts(d).contains("Xmax"));
}

TEST(EnclosureGraphs, AbsurdInputsDrawBoundedAndFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {1e300, inf, -inf, nan, -5.0, 1.7976931348623157e308}) {
        SCOPED_TRACE(bad);
        PortVelocityGraphInput port;
        for (int i = 0; i < 100000; ++i) {
            const double f = i % 7 == 0 ? bad : 15 + 25.0 * i / 99999;
            port.samples.push_back({f, i % 3 ? bad : 10.0, i % 5 ? 20.0 : bad, bad});
        }
        port.design_velocity = {bad, 1, bad, nan};
        port.picture_size = QSizeF(401, 117);
        Drawing d;
        draw_port_velocity_graph(d, port);
        EXPECT_LT(d.items().size(), 25000u);
        EXPECT_EQ(drawing_faults(d).find("not numbers"), std::string::npos);

        ExcursionGraphInput excursion;
        for (int i = 0; i < 100000; ++i) {
            excursion.samples.push_back({i % 11 ? 10 + i * 0.0019 : bad, i % 2 ? bad : 3.0});
        }
        excursion.xmax_mm = bad;
        draw_excursion_graph(d, excursion);
        EXPECT_LT(d.items().size(), 25000u);
        EXPECT_EQ(drawing_faults(d).find("not numbers"), std::string::npos);
        EXPECT_TRUE(venturon::testing::non_numbers_in(texts(d)).empty());
    }
    Drawing empty;
    draw_port_velocity_graph(empty, {});
    draw_excursion_graph(empty, {});
    EXPECT_TRUE(venturon::testing::non_numbers_in(texts(empty)).empty());
}
// The program draws both pictures into files, at the size asked, and says so in one
// line when a file cannot take them.
TEST(EnclosureGraphs, ProgramWritesBothPictures) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString velocity = dir.filePath("velocity.png");
    const QString excursion = dir.filePath("excursion.svg");
    const QStringList driver{"-d",    "100", "--fs", "25",  "--qes",   "0.45", "--qms",  "5",
                             "--vas", "100", "--sd", "500", "--re",    "3.6",  "--xmax", "12",
                             "--vb",  "60",  "--fb", "30",  "--power", "300"};
    auto run = [&](const QStringList& more) {
        QProcess process;
        process.start(VENTURON_CALC_PATH, driver + more);
        EXPECT_TRUE(process.waitForFinished(20000));
        return std::pair(process.exitCode(), QString::fromUtf8(process.readAllStandardError()));
    };
    EXPECT_EQ(run({"--enclosure-graph", velocity, "--excursion-graph", excursion}),
              std::pair(0, QString()));
    const QImage image(velocity);
    EXPECT_EQ(image.size(), QSize(600, 300));
    // A red stretch of curve (300 W pushes the port past its core limit).
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y) {
        for (int x = 0; x < image.width() && !red; ++x) {
            red = QColor(image.pixel(x, y)) == enclosure_colour::over_core;
        }
    }
    EXPECT_TRUE(red);
    QFile svg(excursion);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));

    EXPECT_EQ(run({"--enclosure-graph", velocity, "--graph-size", "300x150"}).first, 0);
    EXPECT_EQ(QImage(velocity).size(), QSize(300, 150));

#ifndef _WIN32 // a link to a full device: Linux only
    const QString full = dir.filePath("full.png");
    ASSERT_TRUE(QFile::link("/dev/full", full));
    const auto [status, err] = run({"--excursion-graph", full});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.startsWith("venturon-calc: --excursion-graph \"")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
#endif
}
