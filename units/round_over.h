#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace venturon {

// Standard round-over router cutters, by the radius they cut.
enum class CutterSystem { metric, imperial };

struct Cutter {
    double radius_mm;
    std::string_view label; // "32 mm", "1 1/4 in"
};

std::string_view cutter_system_name(CutterSystem system); // "metric" or "imperial"

// The cutters of a system, smallest first.
std::span<const Cutter> standard_cutters(CutterSystem system);

// The smallest cutter whose radius is at least the given one; nothing when the
// radius is beyond the largest cutter.
std::optional<Cutter> smallest_cutter(double radius_mm, CutterSystem system);

} // namespace venturon
