#include "cruise.h"

#include <cmath>

namespace venturon {

std::optional<CruiseRescale> rescale_velocities(const CruiseReference& reference,
                                                double diameter_mm, double ports) {
    if (!(ports > 0) || !(diameter_mm > 0)) {
        return std::nullopt;
    }
    CruiseRescale out;
    const double ratio = reference.diameter_mm / diameter_mm;
    out.scale = ratio * ratio * reference.ports / ports;
    if (std::isnan(out.scale)) {
        out.scale = 0; // a reference of 0 ports against an overflowing ratio
    }
    for (std::size_t i = 0; i < out.velocities.size(); ++i) {
        out.velocities[i] = std::floor((10 * reference.velocities[i]) * out.scale) / 10;
    }
    return out;
}

} // namespace venturon
