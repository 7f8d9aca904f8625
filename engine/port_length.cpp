#include "port_length.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace venturon {

namespace {

constexpr double pi = std::numbers::pi;

// rho/pi times the integral of dx/a(x)^2 over the flare, a(x) = a0 + r - sqrt(r^2 - x^2).
// With x = r sin(t) and A = a0 + r it is (rho/pi) r times the integral over
// 0..pi/2 of cos(t)/(A - r cos(t))^2 dt, which is 1/s^2 + 2 r atan(k)/s^3 with
// s^2 = A^2 - r^2 = a0 (a0 + 2r) and k = sqrt((A + r)/(A - r)). All terms are
// positive: no cancellation, however small r is against a0.
double flare_mass(double density, double a0, double r) {
    if (r == 0) {
        return 0;
    }
    const double s2 = a0 * (a0 + 2 * r);
    const double s = std::sqrt(s2);
    const double k = std::sqrt((a0 + 2 * r) / a0);
    return density / pi * (r / s2 + 2 * r * r * std::atan(k) / (s2 * s));
}

// Integral of pi a(x)^2 dx over the flare: with the same substitution,
// pi r (A^2 - pi A r / 2 + 2 r^2 / 3).
double flare_volume(double a0, double r) {
    const double a = a0 + r;
    return pi * r * (a * a - pi * a * r / 2 + 2 * r * r / 3);
}

// The port, the box and the one more input a caller asks about (the tuning, or a
// straight length).
std::optional<InputError> validate(const FlaredPort& port, double vb_m3, double temperature_c,
                                   Field asked, double value_asked) {
    for (const auto& [field, value] :
         {std::pair{Field::temperature, temperature_c},
          std::pair{Field::port_diameter, port.diameter_m},
          std::pair{Field::flare_radius, port.flare_radius_m},
          std::pair{Field::port_count, static_cast<double>(port.count)},
          std::pair{Field::vb, vb_m3}, std::pair{asked, value_asked}}) {
        if (auto error = check_input(field, value)) {
            return error;
        }
    }
    return std::nullopt;
}

// Everything about one port but its straight part.
struct FixedPart {
    PortMasses masses;     // straight left at 0
    double mass = 0;       // kg/m^4, flares and mouths
    double mass_per_m = 0; // kg/m^5, of the straight part
    double flare_length = 0;
    double flare_volume = 0;
    double end_corrections = 0; // m, both mouths
    double cab = 0;             // m^5/N
    double speed_of_sound = 0;  // m/s
};

FixedPart fixed_part(const FlaredPort& port, double vb_m3, double temperature_c) {
    const AirProperties air = air_properties(temperature_c);
    const double rho = air.density;
    const double a0 = port.diameter_m / 2;
    const double r = port.flare_radius_m;

    FixedPart out;
    out.cab = vb_m3 / (rho * air.speed_of_sound * air.speed_of_sound);
    out.speed_of_sound = air.speed_of_sound;
    out.mass_per_m = rho / (pi * a0 * a0);
    const auto end = [&](const PortEnd& e, double& flare, double& mouth) {
        const double flare_r = e.flared ? r : 0;
        const double a = a0 + flare_r;
        flare = flare_mass(rho, a0, flare_r);
        mouth = rho * end_correction_factor(e.mouth) * a / (pi * a * a);
        out.end_corrections += end_correction_factor(e.mouth) * a;
        out.flare_length += flare_r;
        out.flare_volume += flare_r > 0 ? flare_volume(a0, flare_r) : 0;
    };
    end(port.outer, out.masses.outer_flare, out.masses.outer_mouth);
    end(port.inner, out.masses.inner_flare, out.masses.inner_mouth);
    out.mass = out.masses.total();
    return out;
}

// Helmholtz resonance of N ports of mass m each with the box compliance.
double tuning(int count, double mass, double cab) {
    return std::sqrt(count / (mass * cab)) / (2 * pi);
}

PortLength with_straight_length(const FlaredPort& port, const FixedPart& fixed, double length) {
    PortLength out;
    out.reachable = true;
    out.straight_length_m = length;
    out.overall_length_m = length + fixed.flare_length;
    out.masses = fixed.masses;
    out.masses.straight = fixed.mass_per_m * length;
    out.fb_hz = tuning(port.count, out.masses.total(), fixed.cab);
    out.max_fb_hz = tuning(port.count, fixed.mass, fixed.cab);
    const double a0 = port.diameter_m / 2;
    out.displaced_volume_m3 = port.count * (pi * a0 * a0 * length + fixed.flare_volume);
    out.effective_length_m = out.overall_length_m + fixed.end_corrections;
    out.pipe_resonance_hz = fixed.speed_of_sound / (2 * out.effective_length_m);
    return out;
}

} // namespace

double end_correction_factor(MouthCondition mouth) {
    return mouth == MouthCondition::flanged ? 0.85 : 0.613;
}

Checked<PortLength> port_length(const FlaredPort& port, double vb_m3, double fb_hz,
                                double temperature_c) {
    if (auto error = validate(port, vb_m3, temperature_c, Field::fb, fb_hz)) {
        return *error;
    }
    const FixedPart fixed = fixed_part(port, vb_m3, temperature_c);
    const double wb = 2 * pi * fb_hz;
    const double required = port.count / (wb * wb * fixed.cab);
    const double length = (required - fixed.mass) / fixed.mass_per_m;

    // A shortfall within rounding of the fixed mass still counts as reachable (at
    // the highest tuning itself, for one).
    const double longest = limits::straight_length_m.high;
    const PortFit fit = required < fixed.mass * (1 - 1e-12) ? PortFit::flares_too_heavy
                        : length > longest                  ? PortFit::too_long
                                                            : PortFit::fits;
    PortLength out = with_straight_length(port, fixed, std::clamp(length, 0.0, longest));
    out.required_mass = required;
    out.fit = fit;
    out.reachable = fit == PortFit::fits;
    if (out.reachable) {
        out.fb_hz = fb_hz; // as asked, not as recomputed from the length
    }
    return out;
}

Checked<PortLength> port_tuning(const FlaredPort& port, double vb_m3, double straight_length_m,
                                double temperature_c) {
    if (auto error =
            validate(port, vb_m3, temperature_c, Field::straight_length, straight_length_m)) {
        return *error;
    }
    const FixedPart fixed = fixed_part(port, vb_m3, temperature_c);
    PortLength out = with_straight_length(port, fixed, straight_length_m);
    out.required_mass = out.masses.total();
    return out;
}

} // namespace venturon
