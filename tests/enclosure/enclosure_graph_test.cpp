// The enclosure designer's pictures: what the display lists hold, how a curve
// above its limit shows, absurd inputs, and the files venturon-calc draws.
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
using venturon::testing::lines_in;
using venturon::testing::texts;

namespace {

SolvedEnclosure worked_example(double power_w = 100) {
    EnclosureInputs in;
    in.power_w = power_w;
    const auto input = to_enclosure_input(in, 100, 1);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    return *model;
}

// The port graph's user scale: 5 Hz per unit from 15 Hz; values upwards from the
// bottom edge.
double frequency_at(const Drawing& d, double fraction_x) {
    return port_graph_low_hz + fraction_x * d.scale_width() * 5;
}
double value_at(const Drawing& d, double fraction_y) {
    return d.scale_height() * (1 - fraction_y);
}

void expect_finite(const Drawing& d) {
    for (const auto& item : d.items()) {
        EXPECT_TRUE(std::isfinite(item.from.x()) && std::isfinite(item.from.y()) &&
                    std::isfinite(item.to.x()) && std::isfinite(item.to.y()));
        EXPECT_FALSE(item.text.contains("nan") || item.text.contains("inf"))
            << item.text.toStdString();
    }
}

} // namespace

TEST(PortVelocityGraph, QuietPortDrawsLimitsCurveMarkersAndLegends) {
    const SolvedEnclosure model = worked_example();
    const PortVelocityGraphInput in =
        port_velocity_graph_input(model, 100, 60, first_start_allowances);
    ASSERT_EQ(in.samples.size(), 101u); // every quarter hertz: the design frequencies are samples
    const auto& at_25 = in.samples[40];
    EXPECT_EQ(at_25.frequency_hz, 25);
    EXPECT_EQ(at_25.velocity, response_at(model, 25).port_velocity);
    EXPECT_EQ(in.design_velocity[1], at_25.velocity);
    EXPECT_EQ(at_25.chuff_limit, chuff_limit(100, 60, 25.0f, first_start_allowances));

    Drawing d;
    draw_port_velocity_graph(d, in);
    EXPECT_EQ(lines_in(d, graph_colour::core_line, 2).size(), 100u);
    EXPECT_EQ(lines_in(d, graph_colour::chuffing_line, 2).size(), 100u);
    const auto curve = lines_in(d, enclosure_colour::curve, 2);
    ASSERT_EQ(curve.size(), 100u);
    EXPECT_NEAR(frequency_at(d, curve.front().from.x()), 15, 1e-4);
    EXPECT_NEAR(value_at(d, curve.front().from.y()), in.samples[0].velocity, 1e-4);
    EXPECT_NEAR(frequency_at(d, curve.back().to.x()), 40, 1e-4);
    // Nothing passes a limit: no shading and no warning colours on the curve.
    EXPECT_TRUE(lines_in(d, enclosure_colour::chuffing_shade).empty());
    EXPECT_TRUE(lines_in(d, enclosure_colour::core_shade).empty());
    EXPECT_TRUE(lines_in(d, enclosure_colour::over_core).empty());

    const auto markers = lines_in(d, enclosure_colour::design_marker, 1);
    const auto crosses = lines_in(d, graph_colour::cross); // two strokes each
    ASSERT_EQ(markers.size(), 4u);
    ASSERT_EQ(crosses.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(frequency_at(d, markers[i].from.x()), design_frequencies[i], 1e-4);
        EXPECT_NEAR(value_at(d, crosses[2 * i].from.y()), in.design_velocity[i], 1e-4);
    }
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::text && item.text.front().isUpper()) {
            EXPECT_GT(frequency_at(d, item.from.x()), port_graph_high_hz); // legends at the right
        }
    }
    for (const char* text : {"20", "25", "30", "35hz", "Core Limit", "Chuffing", "Port velocity"}) {
        EXPECT_TRUE(texts(d).contains(text)) << text;
    }
    EXPECT_EQ(texts(d).filter("m/s").size(), 1);
}

// A curve at 20 m/s against a core limit of 15 below 20 Hz (over it), then a
// chuffing limit of 10 up to 27.5 Hz (over that), then limits above it.
TEST(PortVelocityGraph, PartsAboveALimitStandOut) {
    PortVelocityGraphInput in;
    for (double f = 15; f <= 40; f += 1) {
        in.samples.push_back({f, 20, f < 20 ? 15.0 : 40.0, f < 27.5 ? 10.0 : 30.0});
    }
    in.design_velocity = {20, 20, 20, 20};
    Drawing d;
    draw_port_velocity_graph(d, in);
    const double curve_y = 1 - 20 / d.scale_height();

    auto on_curve = [&](const QColor& colour) {
        std::vector<std::pair<double, double>> spans; // frequencies
        for (const auto& line : lines_in(d, colour, 2)) {
            if (std::fabs(line.from.y() - curve_y) < 1e-6 &&
                std::fabs(line.to.y() - curve_y) < 1e-6) {
                spans.emplace_back(frequency_at(d, line.from.x()), frequency_at(d, line.to.x()));
            }
        }
        return spans;
    };
    const auto red = on_curve(enclosure_colour::over_core);
    const auto blue = on_curve(enclosure_colour::over_chuffing);
    const auto plain = on_curve(enclosure_colour::curve);
    ASSERT_FALSE(red.empty());
    ASSERT_FALSE(blue.empty());
    ASSERT_FALSE(plain.empty());
    for (const auto& [from, to] : red) {
        EXPECT_LE(to, 20 + 1e-4) << from;
    }
    for (const auto& [from, to] : blue) {
        EXPECT_GE(from, 19 - 1e-4);
        EXPECT_LE(to, 28 + 1e-4);
    }
    for (const auto& [from, to] : plain) {
        EXPECT_GE(from, 27 - 1e-4);
    }
    // The crossing of the chuffing limit, halfway between the 27 and 28 Hz samples.
    EXPECT_NEAR(plain.front().first, 27.5, 1e-3);

    // Shading from the lowest limit passed up to the curve, one stroke per sample.
    const auto core_shade = lines_in(d, enclosure_colour::core_shade);
    const auto chuff_shade = lines_in(d, enclosure_colour::chuffing_shade);
    EXPECT_EQ(core_shade.size(), 5u);  // 15 to 19 Hz
    EXPECT_EQ(chuff_shade.size(), 8u); // 20 to 27 Hz
    for (const auto& stroke : chuff_shade) {
        EXPECT_NEAR(value_at(d, stroke.from.y()), 10, 1e-4);
        EXPECT_NEAR(value_at(d, stroke.to.y()), 20, 1e-4);
    }

    // On screen: the curve at 17 Hz is red.
    const QSize size(600, 300);
    const QImage image = d.to_image(size);
    const double x = (17 - port_graph_low_hz) / 5 / d.scale_width() * size.width();
    EXPECT_EQ(QColor(image.pixel(int(x), int(curve_y * size.height()))),
              enclosure_colour::over_core);
}

TEST(ExcursionGraph, XmaxLineAndTheExcessOverIt) {
    const SolvedEnclosure model = worked_example(300);
    const ExcursionGraphInput in = excursion_graph_input(model);
    ASSERT_EQ(in.samples.size(), 101u);
    ASSERT_TRUE(in.xmax_mm);
    EXPECT_DOUBLE_EQ(*in.xmax_mm, 12);
    EXPECT_DOUBLE_EQ(in.samples.front().excursion_mm, response_at(model, 10).excursion_m * 1000);

    Drawing d;
    draw_excursion_graph(d, in);
    const auto xmax = lines_in(d, enclosure_colour::xmax_line, 2);
    ASSERT_EQ(xmax.size(), 1u);
    EXPECT_EQ(xmax[0].from.y(), xmax[0].to.y());
    EXPECT_NEAR(value_at(d, xmax[0].from.y()), 12, 1e-4);
    // A log axis: a grid line at each whole ten below 100 Hz, then 100 and 200 Hz.
    const auto grid = lines_in(d, graph_colour::grid);
    EXPECT_EQ(std::count_if(grid.begin(), grid.end(),
                            [](const auto& line) { return line.from.x() == line.to.x(); }),
              11); // 10, 20, ... 100 and 200 Hz
    const auto red = lines_in(d, enclosure_colour::over_core, 2);
    const auto plain = lines_in(d, enclosure_colour::curve, 2);
    ASSERT_FALSE(red.empty());
    ASSERT_FALSE(plain.empty());
    for (const auto& line : red) {
        EXPECT_GE(value_at(d, (line.from.y() + line.to.y()) / 2), 12 - 1e-6);
    }
    for (const auto& line : plain) {
        EXPECT_LE(value_at(d, (line.from.y() + line.to.y()) / 2), 12 + 1e-6);
    }
    EXPECT_FALSE(lines_in(d, enclosure_colour::core_shade).empty());
    for (const char* text : {"Xmax", "Excursion", "100hz", "mm"}) {
        EXPECT_FALSE(texts(d).filter(text).isEmpty()) << text;
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
        expect_finite(d);

        ExcursionGraphInput excursion;
        for (int i = 0; i < 100000; ++i) {
            excursion.samples.push_back({i % 11 ? 10 + i * 0.0019 : bad, i % 2 ? bad : 3.0});
        }
        excursion.xmax_mm = bad;
        excursion.picture_size = QSizeF(600, 300);
        draw_excursion_graph(d, excursion);
        EXPECT_LT(d.items().size(), 25000u);
        expect_finite(d);
    }
    Drawing empty;
    draw_port_velocity_graph(empty, {});
    draw_excursion_graph(empty, {});
    expect_finite(empty);
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
