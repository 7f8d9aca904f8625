#pragma once

// The enclosure designer's two pictures, in the velocity graph's style: the port's
// air velocity against the core and chuffing limits from 15 to 40 Hz, and the
// cone's excursion against Xmax from 10 to 200 Hz.

#include "drawing.h"
#include "enclosure.h"
#include "model.h"
#include "plot.h"
#include "velocity_graph.h"

#include <QSizeF>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace venturon {

// Frequency spans of the two pictures, in hertz. The velocity graph shares the
// main window's span, linear; the excursion graph is logarithmic and reaches far
// enough below Fb to show the cone unloading and far enough above to show the
// driver's own peak.
inline constexpr double port_graph_low_hz = 15;
inline constexpr double port_graph_high_hz = 40;
inline constexpr double excursion_graph_low_hz = 10;
inline constexpr double excursion_graph_high_hz = 200;

// Samples the helpers take by default: every quarter hertz from 15 to 40 Hz, so
// that the design frequencies are samples themselves.
inline constexpr int enclosure_graph_points = 101;
// A picture draws at most this many samples; longer inputs are thinned evenly.
inline constexpr std::size_t enclosure_graph_max_samples = 4096;

// One frequency of the port velocity graph, all velocities in m/s.
struct PortVelocitySample {
    double frequency_hz = 0;
    double velocity = 0; // air in the ports, peak
    double core_limit = 0;
    double chuff_limit = 0;
};

struct PortVelocityGraphInput {
    // By rising frequency; parts outside 15 to 40 Hz are cut at the picture's edges.
    std::vector<PortVelocitySample> samples;
    std::array<double, 4> design_velocity{}; // at 20, 25, 30 and 35 Hz
    // The size the picture is drawn at, in pixels; empty: 600 by 300.
    QSizeF picture_size;
};

// The velocity of the solved enclosure's ports and the limits of a port of that
// diameter (mm) with the flare radius (mm) and allowances, at `points` frequencies
// spaced evenly from 15 to 40 Hz (at least 2, at most enclosure_graph_max_samples).
PortVelocityGraphInput port_velocity_graph_input(const SolvedEnclosure& model, double diameter_mm,
                                                 double radius_mm,
                                                 const AllowanceSelection& allowances,
                                                 int points = enclosure_graph_points);

struct ExcursionSample {
    double frequency_hz = 0;
    double excursion_mm = 0; // one cone, peak
};

struct ExcursionGraphInput {
    std::vector<ExcursionSample> samples; // by rising frequency, 10 to 200 Hz
    std::optional<double> xmax_mm;        // drawn as a line when given and above 0
    QSizeF picture_size;                  // pixels; empty: 600 by 300
};

// The cone excursion of the solved enclosure at `points` frequencies spaced evenly
// on a log scale from 10 to 200 Hz, with its driver's Xmax when known.
ExcursionGraphInput excursion_graph_input(const SolvedEnclosure& model,
                                          int points = enclosure_graph_points);

namespace enclosure_colour {
inline const QColor curve{48, 48, 48}; // the port velocity and the excursion
// The curve where it passes a limit, and the shading between the limit and it.
inline const QColor over_chuffing = graph_colour::chuffing_line;
inline const QColor over_core = graph_colour::core_text;
inline const QColor chuffing_shade{214, 222, 254};
inline const QColor core_shade{255, 222, 222};
inline const QColor design_marker = graph_colour::marker;
inline const QColor xmax_line = graph_colour::core_line;
inline const QColor xmax_text = graph_colour::core_text;
} // namespace enclosure_colour

// Replaces the drawing with the port velocity graph at its picture size: velocity
// (upwards) against frequency (rightwards), the core and chuffing limit curves,
// thin markers at the design frequencies with a cross on the velocity at each,
// and the velocity curve, drawn in the chuffing colour where it is above the
// chuffing limit and in the core text's red where it is above the core limit,
// with the gap to the limit shaded. The scale follows the velocity; a limit far
// above it runs off the top and is marked there.
PlotLayout draw_port_velocity_graph(Drawing& drawing, const PortVelocityGraphInput& input);

// Replaces the drawing with the excursion graph: excursion in mm (upwards) against
// frequency on a log scale (rightwards), Xmax as a horizontal line, and the curve
// in red where it passes Xmax, with the excess shaded.
PlotLayout draw_excursion_graph(Drawing& drawing, const ExcursionGraphInput& input);

// The pictures as plot specifications, before drawing.
PlotSpec port_velocity_plot(const PortVelocityGraphInput& input);
PlotSpec excursion_plot(const ExcursionGraphInput& input);

// The size a picture is drawn at when its input gives none.
inline constexpr double enclosure_graph_default_width = 600;
inline constexpr double enclosure_graph_default_height = 300;

} // namespace venturon
