#include "calculation.h"

#include <algorithm>

namespace venturon {

std::array<double, 4> core_limits(double diameter, const AllowanceSelection& allowances) {
    std::array<double, 4> limits{};
    for (std::size_t i = 0; i < limits.size(); ++i) {
        limits[i] = core_limit(diameter, design_frequencies[i], allowances);
    }
    return limits;
}

CalculationResult calculate(const CalculationInput& in) {
    CalculationResult out;
    out.core_limit = core_limits(in.diameter, in.allowances);

    if (in.mode == CalculationMode::minimum) {
        out.radius = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            out.min_radius[i] = required_flare_radius(in.diameter, in.required[i],
                                                      design_frequencies[i], in.allowances);
            out.radius = std::max(out.radius, out.min_radius[i]);
        }
    } else {
        out.radius = in.radius;
    }

    out.area_ratio = area_ratio(in.diameter, out.radius);
    for (std::size_t i = 0; i < 4; ++i) {
        out.chuff_limit[i] = chuff_limit_for_ratio(in.diameter, out.area_ratio,
                                                   design_frequencies[i], in.allowances);
    }

    for (std::size_t i = 0; i < 4; ++i) {
        out.core_excess = std::max(out.core_excess, in.required[i] - out.core_limit[i]);
        if (in.mode == CalculationMode::manual) {
            out.chuff_excess = std::max(out.chuff_excess, in.required[i] - out.chuff_limit[i]);
        }
    }
    out.verdict = verdict_for(out.core_excess, out.chuff_excess);
    return out;
}

Verdict verdict_for(double core_excess, double chuff_excess) {
    const bool core = core_excess > verdict_threshold;
    const bool chuffing = chuff_excess > verdict_threshold;
    if (core && chuffing) {
        return Verdict::chuffing_and_core;
    }
    if (core) {
        return Verdict::core;
    }
    if (chuffing) {
        return Verdict::chuffing;
    }
    return Verdict::noise_free;
}

std::string verdict_text(Verdict verdict, std::string_view port_word) {
    static constexpr std::string_view core_words = " Core Turbulence and Compression";
    switch (verdict) {
    case Verdict::noise_free:
        return std::string(port_word) + " will be noise free";
    case Verdict::core:
        return std::string(core_words);
    case Verdict::chuffing:
        return " Chuffing";
    case Verdict::chuffing_and_core:
        return " Chuffing with " + std::string(core_words);
    }
    return {};
}

Rgb verdict_colour(Verdict verdict) {
    switch (verdict) {
    case Verdict::noise_free:
        return {160, 217, 136};
    case Verdict::core:
        return {255, 204, 204};
    case Verdict::chuffing:
        return {245, 185, 84};
    case Verdict::chuffing_and_core:
        return {250, 163, 163};
    }
    return {};
}

std::string_view port_word(double ports) {
    return ports == 1 ? "Port" : "Ports";
}

} // namespace venturon
