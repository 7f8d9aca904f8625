// The designer's six views: what each draws, the maximum SPL coloured by the limit
// that binds, the references, and what the read-out and the screen reader's line say.
#include "enclosure_graph.h"
#include "enclosure_inputs.h"
#include "support/drawing_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace venturon;
using venturon::testing::texts;

namespace {

// The README's worked example on a 1000 W amplifier with Pe 300 W and a 40 mm
// flare: Xmax, chuffing, Pe and the amplifier each bind somewhere from 10 to 200 Hz.
SolvedEnclosure loud_design(std::string_view highpass = {}) {
    EnclosureInputs in;
    in[Field::power] = 1000;
    in[Field::pe] = 300;
    if (!highpass.empty()) {
        in.highpass[0] = read_filter(highpass);
    }
    const auto input = to_enclosure_input(in, 100, 1);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    return *model;
}

const PortLimitSettings forty_mm{40, first_start_allowances};

const PlotCurve* curve_named(const PlotSpec& chart, const QString& name) {
    const auto found = std::find_if(chart.curves.begin(), chart.curves.end(),
                                    [&](const PlotCurve& c) { return c.name == name; });
    return found == chart.curves.end() ? nullptr : &*found;
}

} // namespace

// Every view: 10 to 200 Hz on a log scale, the band and the design frequencies,
// an axis title with its unit, and the curves a user came to see.
TEST(DesignerViews, WhatEachViewDraws) {
    const DesignerGraphInput in = designer_graph_input(loud_design("bw4@15"), forty_mm);
    ASSERT_EQ(in.current.response.size(), 400u);
    const struct {
        DesignerView view;
        const char* title;
        QStringList curves;
    } cases[] = {
        {DesignerView::spl, "SPL at 1 m, half space, dB", {"Without filter", "SPL"}},
        {DesignerView::max_spl, "Maximum SPL at 1 m, half space, dB", {"At the drive", "Max SPL"}},
        {DesignerView::velocity,
         "Air velocity in the port, m/s peak",
         {"Core Limit", "Chuffing", "Port velocity"}},
        {DesignerView::excursion, "Cone excursion, mm peak", {"Xmax", "Excursion"}},
        {DesignerView::impedance, "Impedance, ohm", {"Phase", "Impedance"}},
        {DesignerView::group_delay, "Group delay, ms", {"Group delay"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(designer_view_title(c.view).toStdString());
        EXPECT_EQ(designer_view_named(designer_view_key(c.view)), c.view);
        const PlotSpec chart = designer_plot(c.view, in);
        EXPECT_EQ(chart.x.scale, AxisScale::log);
        EXPECT_DOUBLE_EQ(chart.x.low, 10);
        EXPECT_DOUBLE_EQ(chart.x.high, 200);
        EXPECT_EQ(chart.x.title, "Frequency, Hz");
        EXPECT_EQ(chart.y_title, c.title);
        ASSERT_EQ(chart.bands.size(), 1u);
        EXPECT_EQ(chart.bands[0].from, 15);
        EXPECT_EQ(chart.bands[0].to, 40);
        EXPECT_GE(chart.markers.size(), 4u);
        QStringList names;
        for (const PlotCurve& curve : chart.curves) {
            names << curve.name;
            ASSERT_FALSE(curve.points.empty());
            EXPECT_DOUBLE_EQ(curve.points.front().x, 10);
            EXPECT_DOUBLE_EQ(curve.points.back().x, 200);
        }
        EXPECT_EQ(names, c.curves);
    }
    // The unfiltered SPL is dashed, and only there when a filter is on.
    EXPECT_EQ(curve_named(designer_plot(DesignerView::spl, in), "Without filter")->style,
              Qt::DashLine);
    const DesignerGraphInput plain = designer_graph_input(loud_design(), forty_mm);
    EXPECT_FALSE(curve_named(designer_plot(DesignerView::spl, plain), "Without filter"));
    // F3 marked and written.
    ASSERT_TRUE(in.f3_hz);
    const PlotSpec spl = designer_plot(DesignerView::spl, in);
    EXPECT_EQ(spl.note, QStringLiteral("F3 %1 Hz").arg(*in.f3_hz, 0, 'f', 1));
    EXPECT_TRUE(std::any_of(spl.markers.begin(), spl.markers.end(),
                            [&](const PlotMarker& m) { return m.x == *in.f3_hz; }));
    // The phase against the right-hand axis.
    const PlotSpec impedance = designer_plot(DesignerView::impedance, in);
    ASSERT_TRUE(impedance.y2);
    EXPECT_TRUE(curve_named(impedance, "Phase")->secondary);
}

// The maximum SPL takes, stretch by stretch, the colour of the limit that binds,
// and five keys name the colours; here four of the five bind.
TEST(DesignerViews, MaximumSplColouredByTheBindingLimit) {
    const DesignerGraphInput in = designer_graph_input(loud_design(), forty_mm);
    const PlotSpec chart = designer_plot(DesignerView::max_spl, in);
    const PlotCurve& max = *curve_named(chart, "Max SPL");
    ASSERT_EQ(max.stretch_colours.size(), max.points.size() - 1);
    std::vector<QColor> seen;
    for (std::size_t i = 0; i < max.stretch_colours.size(); ++i) {
        EXPECT_EQ(max.stretch_colours[i], colour_of_limit(in.current.max_output[i].binding));
        EXPECT_EQ(max.points[i].y, in.current.max_output[i].spl_db);
        if (std::find(seen.begin(), seen.end(), max.stretch_colours[i]) == seen.end()) {
            seen.push_back(max.stretch_colours[i]);
        }
    }
    EXPECT_EQ(seen.size(), 3u); // Xmax, chuffing, Pe; the amplifier has 60 V to spare
    ASSERT_EQ(chart.keys.size(), 5u);
    QStringList keys;
    for (const PlotKey& key : chart.keys) {
        keys << key.name;
    }
    EXPECT_EQ(keys, QStringList({"Xmax", "Pe", "Amplifier", "Chuffing", "Core"}));
    // The five colours are told apart.
    for (std::size_t a = 0; a < chart.keys.size(); ++a) {
        for (std::size_t b = a + 1; b < chart.keys.size(); ++b) {
            EXPECT_NE(chart.keys[a].colour, chart.keys[b].colour);
        }
    }
    Drawing d;
    draw_designer_graph(d, DesignerView::max_spl, in, QSizeF(600, 300));
    for (const PlotKey& key : chart.keys) {
        EXPECT_TRUE(texts(d).contains(key.name)) << key.name.toStdString();
    }
}

// References are drawn faintly in every view under the current design, named in
// their legends; only the first three.
TEST(DesignerViews, ReferencesDrawnFaintly) {
    DesignerGraphInput in = designer_graph_input(loud_design(), forty_mm);
    const DesignerCurves other = designer_curves(loud_design("lr4@25"), forty_mm);
    for (const char* name : {"First", "Second", "Third", "Fourth"}) {
        in.references.push_back({name, designer_colour::references[0], other});
    }
    for (DesignerView view : designer_views) {
        const PlotSpec chart = designer_plot(view, in);
        QStringList names;
        for (const PlotCurve& c : chart.curves) {
            names << c.name;
        }
        EXPECT_EQ(names.mid(0, 3), QStringList({"First", "Second", "Third"}));
        EXPECT_FALSE(names.contains("Fourth"));
        const PlotCurve& ref = chart.curves[0];
        EXPECT_LT(ref.width, chart.curves.back().width);
        EXPECT_GT(ref.colour.lightness(), designer_colour::references[0].lightness());
        EXPECT_EQ(ref.legend_colour, designer_colour::references[0]);
    }
}

// The read-out at a sampled frequency gives every curve's value there, and the
// limit that binds; the screen reader's line names the view's figures.
TEST(DesignerViews, ReadOutAndDescription) {
    const DesignerGraphInput in = designer_graph_input(loud_design(), forty_mm);
    const std::size_t i = 200;
    const double f = in.current.response[i].frequency_hz;
    const auto max = designer_read_out(DesignerView::max_spl, in, f);
    ASSERT_EQ(max.size(), 4u);
    EXPECT_EQ(max[0].name, "Max SPL");
    EXPECT_NEAR(*max[0].value, in.current.max_output[i].spl_db, 1e-9);
    EXPECT_EQ(max[1].name, "Max power");
    EXPECT_NEAR(*max[1].value, in.current.max_output[i].power_w, 1e-9);
    EXPECT_EQ(max[3].name, "Limit");
    EXPECT_EQ(max[3].text,
              QString::fromLatin1(limit_name(in.current.max_output[i].binding).data()));
    const auto velocity = designer_read_out(DesignerView::velocity, in, f);
    ASSERT_EQ(velocity.size(), 3u);
    EXPECT_NEAR(*velocity[0].value, in.current.response[i].port_velocity, 1e-9);
    EXPECT_EQ(velocity[0].text,
              QString::number(in.current.response[i].port_velocity, 'f', 1) + " m/s peak");
    // Between two samples, linear in log frequency.
    const double between = std::sqrt(f * in.current.response[i + 1].frequency_hz);
    const auto group = designer_read_out(DesignerView::group_delay, in, between);
    EXPECT_NEAR(
        *group[0].value,
        500 * (in.current.response[i].group_delay_s + in.current.response[i + 1].group_delay_s),
        1e-9);

    const QString max_line = designer_graph_description(DesignerView::max_spl, in);
    for (const char* words : {"limited by Xmax from 10 to", "; by chuffing from", "; by Pe from"}) {
        EXPECT_TRUE(max_line.contains(words)) << max_line.toStdString();
    }
    const QString excursion = designer_graph_description(DesignerView::excursion, in);
    EXPECT_TRUE(excursion.contains("Xmax 12 mm, passed from")) << excursion.toStdString();
    for (DesignerView view : designer_views) {
        const QString line = designer_graph_description(view, in);
        EXPECT_FALSE(line.contains('\n'));
        EXPECT_FALSE(line.contains("nan") || line.contains("inf")) << line.toStdString();
    }
}
