#pragma once

#include <array>

namespace venturon {

// How far a limit is relaxed for the listening position and for masking by content.
enum class Allowance { none, seating, seating_and_masking };
enum class Content { music, home_theatre };

struct AllowanceSelection {
    Allowance chuffing = Allowance::none;
    Allowance core = Allowance::none;
    Content content = Content::music;

    friend bool operator==(const AllowanceSelection&, const AllowanceSelection&) = default;
};

// The selection of a first start: chuffing with seating and masking for home
// theatre, no core allowance.
inline constexpr AllowanceSelection first_start_allowances{Allowance::seating_and_masking,
                                                           Allowance::none, Content::home_theatre};

// The four design frequencies, in hertz, always in this order.
inline constexpr std::array<float, 4> design_frequencies{20.0f, 25.0f, 30.0f, 35.0f};

// Chuffing factor at frequency f, allowance applied.
float slopefactor(float f, const AllowanceSelection& allowances);
// Core factor at frequency f, allowance applied.
float limitingfactor(float f, const AllowanceSelection& allowances);

// Core limit at 30 Hz without allowances, m/s, for a diameter in mm.
double core_base_velocity(double d);
// Cross-section at the flare's outer end over the core's.
double area_ratio(double d, double r);
// Chuffing limit at 30 Hz with a factor of 1, m/s.
double chuff_base_velocity(double d, double area_ratio);

double core_limit(double d, float f, const AllowanceSelection& allowances);
double chuff_limit(double d, double r, float f, const AllowanceSelection& allowances);
// chuff_limit for an area ratio already computed.
double chuff_limit_for_ratio(double d, double area_ratio, float f,
                             const AllowanceSelection& allowances);

// Smallest flare radius (mm, 0 or more) whose chuffing limit reaches v at f.
double required_flare_radius(double d, double v, float f, const AllowanceSelection& allowances);

} // namespace venturon
