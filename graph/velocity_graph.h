#pragma once

#include "drawing.h"

#include <array>

namespace venturon {

// What the velocity graph plots: values at 20, 25, 30 and 35 Hz, m/s.
struct VelocityGraphInput {
    std::array<double, 4> core_limit{};
    std::array<double, 4> chuff_limit{};
    std::array<double, 4> required{};
    bool full_mode = true;         // Full mode draws the required velocities
    float tracked_frequency = 28;  // Simple mode marks it with a dashed line
    double top_velocity_label = 0; // the last velocity label of the previous drawing
    // The size the picture is shown at, in pixels. When given, texts that would
    // overlap or leave the picture at that size (very large or small ports) are
    // kept apart; when empty, every item stands at its plain place.
    QSizeF picture_size;
};

// What the graph plots after a calculation: its limits and the required
// velocities, in Full mode.
VelocityGraphInput velocity_graph_input(const std::array<double, 4>& core_limit,
                                        const std::array<double, 4>& chuff_limit,
                                        const std::array<double, 4>& required);

struct VelocityGraphOutput {
    double graph_max_velocity = 0;
    double top_velocity_label = 0;
};

namespace graph_colour {
inline const QColor grid{199, 207, 237};
inline const QColor marker{112, 180, 112};
inline const QColor label{100, 132, 252};
inline const QColor required_line{196, 196, 196};
inline const QColor cross{0, 0, 0};
inline const QColor core_line{255, 196, 196};
inline const QColor chuffing_line{100, 132, 252};
inline const QColor core_text{196, 0, 0};
inline const QColor chuffing_text{100, 132, 252};
inline const QColor required_text{128, 128, 128};
} // namespace graph_colour

// The graph in words, for screen readers: the core limit, the chuffing limit
// and (Full mode) the required velocity at 20, 25, 30 and 35 Hz, or (Simple mode)
// the tracked frequency, to one decimal.
QString describe_velocity_graph(const VelocityGraphInput& input);

// Replaces the drawing with the velocity graph: usable velocity (upwards) against
// frequency from 15 to 40 Hz (rightwards), the two limit lines, and either the
// required velocities (Full mode) or the tracked-frequency marker (Simple mode).
// With a picture size, velocity labels that would overlap are thinned to a wider
// step (20, 50, 100 m/s, ...) and legends that would overlap or be cut off at an
// edge are moved just enough; a picture that needs neither is left as it is.
VelocityGraphOutput draw_velocity_graph(Drawing& drawing, const VelocityGraphInput& input);

} // namespace venturon
