#pragma once

// The enclosure designer's two pictures, in the velocity graph's style: the port's
// air velocity against the core and chuffing limits from 15 to 40 Hz, and the
// cone's excursion against Xmax from 10 to 200 Hz.

#include "drawing.h"
#include "enclosure.h"
#include "max_output.h"
#include "model.h"
#include "plot.h"
#include "velocity_graph.h"

#include <QSizeF>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
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

// The pictures as plot descriptions, before drawing.
PlotSpec port_velocity_plot(const PortVelocityGraphInput& input);
PlotSpec excursion_plot(const ExcursionGraphInput& input);

// The size a picture is drawn at when its input gives none.
inline constexpr double enclosure_graph_default_width = 600;
inline constexpr double enclosure_graph_default_height = 300;

// ---------------------------------------------------------------- the designer's views
//
// Six views of one design against frequency, by default 10 to 200 Hz on a log
// scale: the sound pressure at the drive, the largest sound pressure before a
// limit binds, the port's air velocity against its limits, the cone's excursion
// against Xmax, the impedance and its phase, and the group delay. Each marks the
// four design frequencies and lightly shades 15 to 40 Hz, where ports chuff; up to
// three reference designs are drawn faintly under the current one.

enum class DesignerView { spl, max_spl, velocity, excursion, impedance, group_delay };
inline constexpr std::array<DesignerView, 6> designer_views{
    DesignerView::spl,       DesignerView::max_spl,   DesignerView::velocity,
    DesignerView::excursion, DesignerView::impedance, DesignerView::group_delay};

// "spl", "max-spl", "velocity", "excursion", "impedance", "group-delay".
std::string_view designer_view_key(DesignerView view);
std::optional<DesignerView> designer_view_named(std::string_view key);
// "SPL", "Maximum SPL", "Port velocity", "Excursion", "Impedance", "Group delay".
QString designer_view_title(DesignerView view);

inline constexpr double designer_graph_low_hz = 10;
inline constexpr double designer_graph_high_hz = 200;
inline constexpr int designer_graph_points = 400;
inline constexpr std::size_t max_reference_designs = 3;
// The lightly shaded band.
inline constexpr double chuffing_band_low_hz = 15;
inline constexpr double chuffing_band_high_hz = 40;

// One design's curves over the same frequencies: the response at the drive, and
// the largest output with the limits of its ports at each point.
struct DesignerCurves {
    std::vector<ResponsePoint> response;
    std::vector<MaxOutputPoint> max_output; // as many as response, or none
    std::optional<double> xmax_mm;          // known: above 0
};

// A design kept to compare with: drawn faintly in its colour, named in a legend.
struct ReferenceDesign {
    QString name;
    QColor colour;
    DesignerCurves curves;
};

struct DesignerGraphInput {
    DesignerCurves current;
    double low_hz = designer_graph_low_hz; // the frequency axis, log
    double high_hz = designer_graph_high_hz;
    bool filtered = false;       // a high-pass filter is on: the SPL without it is dashed
    std::optional<double> f3_hz; // of the filtered response
    std::vector<ReferenceDesign> references; // the first max_reference_designs are drawn
};

// The curves of a solved design at `points` frequencies spaced evenly on a log
// scale from low_hz to high_hz (clamped into the model's range; 2 to
// enclosure_graph_max_samples points).
DesignerCurves designer_curves(const SolvedEnclosure& model, const PortLimitSettings& port,
                               double low_hz = designer_graph_low_hz,
                               double high_hz = designer_graph_high_hz,
                               int points = designer_graph_points);
// The same into a graph input, with the filters' state and F3.
DesignerGraphInput designer_graph_input(const SolvedEnclosure& model, const PortLimitSettings& port,
                                        double low_hz = designer_graph_low_hz,
                                        double high_hz = designer_graph_high_hz,
                                        int points = designer_graph_points);

namespace limit_colour {
// The maximum SPL's stretches, by the limit that binds there.
inline const QColor xmax{150, 40, 170};
inline const QColor pe{225, 110, 0};
inline const QColor amplifier{40, 40, 40};
inline const QColor chuffing = graph_colour::chuffing_line;
inline const QColor core = graph_colour::core_text;
} // namespace limit_colour
const QColor& colour_of_limit(Limit limit);

namespace designer_colour {
inline const QColor band{243, 245, 249};       // 15 to 40 Hz
inline const QColor unfiltered{120, 120, 130}; // dashed
inline const QColor at_drive{150, 150, 160};   // under the maximum SPL
inline const QColor phase{0, 120, 110};
inline const QColor f3{0, 120, 110};
// The references' colours when none is chosen, in order.
inline const std::array<QColor, max_reference_designs> references{
    QColor(0, 140, 200), QColor(200, 60, 120), QColor(110, 140, 20)};
} // namespace designer_colour

// A view as a plot description, and drawn at a size.
PlotSpec designer_plot(DesignerView view, const DesignerGraphInput& input);
PlotLayout draw_designer_graph(Drawing& drawing, DesignerView view, const DesignerGraphInput& input,
                               QSizeF size);

// One line that says what a view shows, for screen readers.
QString designer_graph_description(DesignerView view, const DesignerGraphInput& input);

// Every curve of a view at a frequency (the current design's, then the
// references'), for a read-out under the pointer: its legend's name, its colour,
// the value with its unit as text ("97.3 dB", "Xmax" for the binding limit).
struct CurveReading {
    QString name;
    QColor colour;
    std::optional<double> value; // nothing: a word, or the frequency is off the curve
    QString text;
};
std::vector<CurveReading> designer_read_out(DesignerView view, const DesignerGraphInput& input,
                                            double frequency_hz);

} // namespace venturon
