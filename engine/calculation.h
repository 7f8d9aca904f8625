#pragma once

#include "model.h"

#include <array>
#include <string>
#include <string_view>

namespace venturon {

enum class CalculationMode { minimum, manual };

struct CalculationInput {
    double diameter = 0; // mm, greater than 0
    CalculationMode mode = CalculationMode::minimum;
    double radius = 0;                // mm, manual mode only
    std::array<double, 4> required{}; // m/s at 20, 25, 30, 35 Hz
    AllowanceSelection allowances{};
};

enum class Verdict { noise_free, core, chuffing, chuffing_and_core };

struct CalculationResult {
    std::array<double, 4> core_limit{};
    std::array<double, 4> chuff_limit{};
    std::array<double, 4> min_radius{}; // minimum mode only
    double radius = 0;                  // radius the chuffing limits were computed for
    double area_ratio = 0;
    double core_excess = 0;
    double chuff_excess = 0; // always 0 in minimum mode
    Verdict verdict = Verdict::noise_free;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Excesses above this (m/s) count as exceeding a limit; an excess of exactly this
// much is still within it.
inline constexpr double verdict_threshold = 0.1;

std::array<double, 4> core_limits(double diameter, const AllowanceSelection& allowances);
CalculationResult calculate(const CalculationInput& input);
Verdict verdict_for(double core_excess, double chuff_excess);

// The first word of the noise-free verdict: "Port" for one port, "Ports" otherwise.
std::string_view port_word(double ports);

// port_word is "Port" or "Ports".
std::string verdict_text(Verdict verdict, std::string_view port_word);
Rgb verdict_colour(Verdict verdict);

} // namespace venturon
