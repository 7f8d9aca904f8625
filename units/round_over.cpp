#include "round_over.h"

#include <array>

namespace venturon {

namespace {

constexpr std::array<Cutter, 13> metric_cutters{{
    {3, "3 mm"},
    {5, "5 mm"},
    {6, "6 mm"},
    {8, "8 mm"},
    {10, "10 mm"},
    {12, "12 mm"},
    {13, "13 mm"},
    {16, "16 mm"},
    {19, "19 mm"},
    {20, "20 mm"},
    {25, "25 mm"},
    {32, "32 mm"},
    {38, "38 mm"},
}};

// Millimetres as the imperial reader gives them for the same inches (number
// text of inches x 25.4), so that a radius typed as 1 1/2 takes the 1 1/2 in cutter.
constexpr std::array<Cutter, 10> imperial_cutters{{
    {3.175, "1/8 in"},
    {4.7625, "3/16 in"},
    {6.35, "1/4 in"},
    {9.525, "3/8 in"},
    {12.7, "1/2 in"},
    {15.875, "5/8 in"},
    {19.05, "3/4 in"},
    {25.4, "1 in"},
    {31.75, "1 1/4 in"},
    {38.1, "1 1/2 in"},
}};

} // namespace

std::string_view cutter_system_name(CutterSystem system) {
    return system == CutterSystem::metric ? "metric" : "imperial";
}

std::span<const Cutter> standard_cutters(CutterSystem system) {
    if (system == CutterSystem::metric) {
        return metric_cutters;
    }
    return imperial_cutters;
}

std::optional<Cutter> smallest_cutter(double radius_mm, CutterSystem system) {
    for (const Cutter& cutter : standard_cutters(system)) {
        if (cutter.radius_mm >= radius_mm) {
            return cutter;
        }
    }
    return std::nullopt;
}

} // namespace venturon
