#pragma once

#include <array>
#include <optional>

namespace venturon {

// What cruise control remembers: the port for which the velocities were entered.
struct CruiseReference {
    double diameter_mm = 0;
    double ports = 0;
    std::array<double, 4> velocities{}; // m/s at 20, 25, 30, 35 Hz
};

struct CruiseRescale {
    double scale = 0;
    std::array<double, 4> velocities{}; // cut (not rounded) to one decimal
};

// Velocity scales with the inverse of the total port cross-section. Gives nothing
// when the port count or the diameter is not above 0.
std::optional<CruiseRescale> rescale_velocities(const CruiseReference& reference,
                                                double diameter_mm, double ports);

} // namespace venturon
