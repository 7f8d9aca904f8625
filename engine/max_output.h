#pragma once

// How loud a design can play before something gives. The model is linear, so at
// each frequency every limit allows a largest amplifier voltage; the smallest of
// them binds:
//
// - Xmax: the cone's peak excursion reaches Xmax (one way, peak);
// - Pe: the RMS voltage across each driver, after the high-pass filters, reaches
//   sqrt(Pe Re), the driver's thermal rating into its DC resistance;
// - the amplifier: its RMS voltage reaches the drive level (the power into the
//   nominal load Re/N, or the voltage, taken as its maximum);
// - chuffing and core: the port's air velocity (peak, as the designer compares
//   it) reaches the chuffing or the core limit that Venturon's velocity-limit
//   model gives for the ports' diameter, the flare radius and the allowances at
//   that frequency (its frequency factors are flat below 20 Hz and above 35 Hz).
//
// A limit that is not known (no Xmax, no Pe) does not bind; nor does one the
// signal never reaches (the cone standing still at a lossless box's tuning).

#include "enclosure.h"
#include "model.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace venturon {

// In the order the legends name them.
enum class Limit { xmax, pe, amplifier, chuffing, core };
inline constexpr std::size_t limit_count = 5;
inline constexpr std::array<Limit, limit_count> all_limits{Limit::xmax, Limit::pe, Limit::amplifier,
                                                           Limit::chuffing, Limit::core};

std::string_view limit_key(Limit limit);  // "xmax", "pe", "amplifier", "chuffing", "core"
std::string_view limit_name(Limit limit); // "Xmax", "Pe", "Amplifier", "Chuffing", "Core"

// The ports' flare and the allowances their limits are worked out with; the
// diameter and count are the solved model's.
struct PortLimitSettings {
    double flare_radius_mm = 0;
    AllowanceSelection allowances = first_start_allowances;
};

struct MaxOutputPoint {
    double frequency_hz = 0;
    // The largest amplifier voltage each limit allows, V RMS, by Limit; nothing
    // where the limit does not bind.
    std::array<std::optional<double>, limit_count> voltage_rms{};
    Limit binding = Limit::amplifier;
    double amplifier_voltage_rms = 0; // the smallest of them, V RMS
    double spl_db = 0;                // the largest SPL, 1 m, half space
    double power_w = 0;               // the amplifier's power into Re/N at that voltage
    double chuffing_limit = 0;        // m/s at this frequency
    double core_limit = 0;            // m/s at this frequency

    const std::optional<double>& voltage(Limit limit) const {
        return voltage_rms[static_cast<std::size_t>(limit)];
    }
};

// The amplifier's RMS voltage at the drive level.
double drive_voltage_rms(const SolvedEnclosure& model);

// From the response at the drive level at that frequency.
MaxOutputPoint max_output_at(const SolvedEnclosure& model, const PortLimitSettings& port,
                             const ResponsePoint& at_drive);
MaxOutputPoint max_output_at(const SolvedEnclosure& model, const PortLimitSettings& port,
                             double frequency_hz);

// One point per point of a response curve, into the caller's buffer (as many
// elements as the curve has), or as a new vector.
void fill_max_output(const SolvedEnclosure& model, const PortLimitSettings& port,
                     std::span<const ResponsePoint> curve, std::span<MaxOutputPoint> out);
std::vector<MaxOutputPoint> max_output_curve(const SolvedEnclosure& model,
                                             const PortLimitSettings& port,
                                             std::span<const ResponsePoint> curve);

} // namespace venturon
