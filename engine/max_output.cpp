#include "max_output.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace venturon {

namespace {

struct LimitWords {
    std::string_view key;
    std::string_view name;
};
// In the order of Limit.
constexpr std::array<LimitWords, limit_count> limit_words{{
    {"xmax", "Xmax"},
    {"pe", "Pe"},
    {"amplifier", "Amplifier"},
    {"chuffing", "Chuffing"},
    {"core", "Core"},
}};

// The order in which equal voltages are judged: the amplifier first, so that a
// drive exactly at another limit counts as the amplifier's.
constexpr std::array<Limit, limit_count> tie_order{Limit::amplifier, Limit::pe, Limit::xmax,
                                                   Limit::core, Limit::chuffing};

// The drive voltage scaled by how far a quantity is from its limit; nothing when
// the quantity is 0 or the ratio runs beyond the range of numbers.
std::optional<double> scaled(double drive, double limit, double value) {
    if (!(limit > 0) || !(value > 0)) {
        return std::nullopt;
    }
    const double v = drive * (limit / value);
    return std::isfinite(v) ? std::optional(v) : std::nullopt;
}

} // namespace

std::string_view limit_key(Limit limit) {
    return limit_words[static_cast<std::size_t>(limit)].key;
}

std::string_view limit_name(Limit limit) {
    return limit_words[static_cast<std::size_t>(limit)].name;
}

double drive_voltage_rms(const SolvedEnclosure& model) {
    return model.e_peak / std::numbers::sqrt2;
}

MaxOutputPoint max_output_at(const SolvedEnclosure& m, const PortLimitSettings& port,
                             const ResponsePoint& p) {
    MaxOutputPoint out;
    out.frequency_hz = p.frequency_hz;
    const double drive = drive_voltage_rms(m);
    const double diameter_mm = m.port.diameter_m * 1000;
    const auto f = static_cast<float>(p.frequency_hz);
    out.chuffing_limit = chuff_limit(diameter_mm, port.flare_radius_mm, f, port.allowances);
    out.core_limit = core_limit(diameter_mm, f, port.allowances);

    auto& v = out.voltage_rms;
    v[static_cast<std::size_t>(Limit::amplifier)] = drive;
    if (m.driver.pe_w > 0) {
        // The driver sees the amplifier's voltage times the filters' gain.
        v[static_cast<std::size_t>(Limit::pe)] =
            scaled(1, std::sqrt(m.driver.pe_w * m.driver.re_ohm), std::abs(p.filter));
    }
    if (m.driver.xmax_m > 0) {
        v[static_cast<std::size_t>(Limit::xmax)] = scaled(drive, m.driver.xmax_m, p.excursion_m);
    }
    v[static_cast<std::size_t>(Limit::chuffing)] =
        scaled(drive, out.chuffing_limit, p.port_velocity);
    v[static_cast<std::size_t>(Limit::core)] = scaled(drive, out.core_limit, p.port_velocity);

    out.amplifier_voltage_rms = drive;
    for (Limit limit : tie_order) {
        const auto& allowed = out.voltage(limit);
        if (allowed && *allowed < out.amplifier_voltage_rms) {
            out.amplifier_voltage_rms = *allowed;
            out.binding = limit;
        }
    }
    const double e = out.amplifier_voltage_rms;
    out.spl_db = p.spl_db + 20 * std::log10(e / drive);
    out.power_w = e * e * m.driver.count / m.driver.re_ohm;
    return out;
}

MaxOutputPoint max_output_at(const SolvedEnclosure& model, const PortLimitSettings& port,
                             double frequency_hz) {
    return max_output_at(model, port, response_at(model, frequency_hz));
}

void fill_max_output(const SolvedEnclosure& model, const PortLimitSettings& port,
                     std::span<const ResponsePoint> curve, std::span<MaxOutputPoint> out) {
    const std::size_t n = std::min(curve.size(), out.size());
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = max_output_at(model, port, curve[i]);
    }
}

std::vector<MaxOutputPoint> max_output_curve(const SolvedEnclosure& model,
                                             const PortLimitSettings& port,
                                             std::span<const ResponsePoint> curve) {
    std::vector<MaxOutputPoint> out(curve.size());
    fill_max_output(model, port, curve, out);
    return out;
}

} // namespace venturon
