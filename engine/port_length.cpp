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

// One round port's air apart from its straight part: the flares (quarter circles
// of the flare radius) and the mouths' end corrections.
PortAir round_port_air(const FlaredPort& port, double temperature_c) {
    const double rho = air_properties(temperature_c).density;
    const double a0 = port.diameter_m / 2;
    const double r = port.flare_radius_m;

    PortAir out;
    out.straight_area_m2 = pi * a0 * a0;
    const auto end = [&](const PortEnd& e, double& flare, double& mouth) {
        const double flare_r = e.flared ? r : 0;
        const double a = a0 + flare_r;
        flare = flare_mass(rho, a0, flare_r);
        mouth = rho * end_correction_factor(e.mouth) * a / (pi * a * a);
        out.end_corrections_m += end_correction_factor(e.mouth) * a;
        out.ends_length_m += flare_r;
        out.ends_volume_m3 += flare_r > 0 ? flare_volume(a0, flare_r) : 0;
    };
    end(port.outer, out.masses.outer_flare, out.masses.outer_mouth);
    end(port.inner, out.masses.inner_flare, out.masses.inner_mouth);
    return out;
}

// What the solver needs besides the port's air: the box and the air's constants.
struct Box {
    double cab = 0;            // m^5/N
    double speed_of_sound = 0; // m/s
    double mass_per_m = 0;     // kg/m^5, of the straight part
};

Box box_of(const PortAir& port, double vb_m3, double temperature_c) {
    const AirProperties air = air_properties(temperature_c);
    return {vb_m3 / (air.density * air.speed_of_sound * air.speed_of_sound), air.speed_of_sound,
            air.density / port.straight_area_m2};
}

// Helmholtz resonance of N ports of mass m each with the box compliance.
double tuning(int count, double mass, double cab) {
    return std::sqrt(count / (mass * cab)) / (2 * pi);
}

PortLength with_straight_length(const PortAir& port, int count, const Box& box, double length) {
    PortLength out;
    out.reachable = true;
    out.straight_length_m = length;
    out.overall_length_m = length + port.ends_length_m;
    out.masses = port.masses;
    out.masses.straight = box.mass_per_m * length;
    out.fb_hz = tuning(count, out.masses.total(), box.cab);
    out.max_fb_hz = tuning(count, port.masses.total(), box.cab);
    out.displaced_volume_m3 = count * (port.straight_area_m2 * length + port.ends_volume_m3);
    out.effective_length_m = out.overall_length_m + port.end_corrections_m;
    out.pipe_resonance_hz = box.speed_of_sound / (2 * out.effective_length_m);
    return out;
}

} // namespace

double end_correction_factor(MouthCondition mouth) {
    return mouth == MouthCondition::flanged ? 0.85 : 0.613;
}

PortLength length_for_tuning(const PortAir& port, int count, double vb_m3, double fb_hz,
                             double temperature_c) {
    const Box box = box_of(port, vb_m3, temperature_c);
    const double fixed = port.masses.total();
    const double wb = 2 * pi * fb_hz;
    const double required = count / (wb * wb * box.cab);
    const double length = (required - fixed) / box.mass_per_m;

    // A shortfall within rounding of the fixed mass still counts as reachable (at
    // the highest tuning itself, for one).
    const double longest = limits::straight_length_m.high;
    const PortFit fit = required < fixed * (1 - 1e-12) ? PortFit::flares_too_heavy
                        : length > longest             ? PortFit::too_long
                                                       : PortFit::fits;
    PortLength out = with_straight_length(port, count, box, std::clamp(length, 0.0, longest));
    out.required_mass = required;
    out.fit = fit;
    out.reachable = fit == PortFit::fits;
    if (out.reachable) {
        out.fb_hz = fb_hz; // as asked, not as recomputed from the length
    }
    return out;
}

PortLength tuning_for_length(const PortAir& port, int count, double vb_m3, double straight_length_m,
                             double temperature_c) {
    PortLength out =
        with_straight_length(port, count, box_of(port, vb_m3, temperature_c), straight_length_m);
    out.required_mass = out.masses.total();
    return out;
}

Checked<PortLength> port_length(const FlaredPort& port, double vb_m3, double fb_hz,
                                double temperature_c) {
    if (auto error = validate(port, vb_m3, temperature_c, Field::fb, fb_hz)) {
        return *error;
    }
    return length_for_tuning(round_port_air(port, temperature_c), port.count, vb_m3, fb_hz,
                             temperature_c);
}

Checked<PortLength> port_tuning(const FlaredPort& port, double vb_m3, double straight_length_m,
                                double temperature_c) {
    if (auto error =
            validate(port, vb_m3, temperature_c, Field::straight_length, straight_length_m)) {
        return *error;
    }
    return tuning_for_length(round_port_air(port, temperature_c), port.count, vb_m3,
                             straight_length_m, temperature_c);
}

} // namespace venturon
