#include "slot_port.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace venturon {

namespace {

constexpr double pi = std::numbers::pi;

// Gauss-Legendre nodes and weights on [-1, 1], found once by Newton's method on
// the Legendre polynomial.
constexpr std::size_t gauss_points = 32;
struct GaussRule {
    std::array<double, gauss_points> node{};
    std::array<double, gauss_points> weight{};
};

GaussRule make_gauss_rule() {
    GaussRule rule;
    constexpr auto n = static_cast<double>(gauss_points);
    for (std::size_t i = 0; i < gauss_points; ++i) {
        double x = std::cos(pi * (static_cast<double>(i) + 0.75) / (n + 0.5));
        double derivative = 1;
        for (int step = 0; step < 100; ++step) {
            double p0 = 1;
            double p1 = x;
            for (std::size_t j = 2; j <= gauss_points; ++j) {
                const auto k = static_cast<double>(j);
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1);
            const double dx = p1 / derivative;
            x -= dx;
            if (std::fabs(dx) < 1e-16) {
                break;
            }
        }
        rule.node[i] = x;
        rule.weight[i] = 2 / ((1 - x * x) * derivative * derivative);
    }
    return rule;
}

const GaussRule& gauss_rule() {
    static const GaussRule rule = make_gauss_rule();
    return rule;
}

// rho times the integral of dx / ((W + fw e)(H + fh e)) over a rounded end, with
// e(x) = r - sqrt(r^2 - x^2). With x = r sin(t), e = r (1 - cos t) = 2 r sin^2(t/2)
// and dx = r cos(t) dt: a smooth integrand over 0..pi/2, whose poles lie at least
// about 1 away from that interval for any round-over up to the slot's smaller side,
// so 32 points give it to within rounding.
double round_over_mass(double density, double w, double h, FreeSides free, double r) {
    if (r == 0) {
        return 0;
    }
    const GaussRule& rule = gauss_rule();
    const double half = pi / 4;
    double sum = 0;
    for (std::size_t i = 0; i < gauss_points; ++i) {
        const double t = half * (1 + rule.node[i]);
        const double s = std::sin(t / 2);
        const double e = 2 * r * s * s;
        sum += rule.weight[i] * r * std::cos(t) /
               ((w + free.across_width * e) * (h + free.across_height * e));
    }
    return density * half * sum;
}

// The air in a rounded end: the integral of (W + fw e)(H + fh e) dx, with the
// integral of e over the depth r^2 (1 - pi/4) and that of e^2 r^3 (5/3 - pi/2).
double round_over_volume(double w, double h, FreeSides free, double r) {
    return w * h * r + (free.across_width * h + free.across_height * w) * r * r * (1 - pi / 4) +
           free.across_width * free.across_height * r * r * r * (5.0 / 3 - pi / 2);
}

// One slot's air apart from its straight part.
PortAir slot_air(const SlotPort& slot, double temperature_c) {
    const double rho = air_properties(temperature_c).density;
    const double w = slot.width_m;
    const double h = slot.height_m;
    const FreeSides free = free_sides(slot.walls);
    const double images = image_factor(slot.walls);

    PortAir out;
    out.straight_area_m2 = slot_area(w, h);
    const auto end = [&](const PortEnd& e, double& rounded, double& mouth) {
        const double r = e.flared ? slot.radius_m : 0;
        const double mouth_area = (w + free.across_width * r) * (h + free.across_height * r);
        const double correction =
            end_correction_factor(e.mouth) * std::sqrt(images * mouth_area / pi);
        rounded = round_over_mass(rho, w, h, free, r);
        mouth = rho * correction / mouth_area;
        out.end_corrections_m += correction;
        out.ends_length_m += r;
        out.ends_volume_m3 += r > 0 ? round_over_volume(w, h, free, r) : 0;
    };
    end(slot.outer, out.masses.outer_flare, out.masses.outer_mouth);
    end(slot.inner, out.masses.inner_flare, out.masses.inner_mouth);
    return out;
}

std::optional<InputError> validate(const SlotPort& slot, double vb_m3, double temperature_c,
                                   Field asked, double value_asked) {
    if (auto error = check_input(Field::temperature, temperature_c)) {
        return error;
    }
    if (auto error = check_slot(slot)) {
        return error;
    }
    for (const auto& [field, value] :
         {std::pair{Field::vb, vb_m3}, std::pair{asked, value_asked}}) {
        if (auto error = check_input(field, value)) {
            return error;
        }
    }
    return std::nullopt;
}

} // namespace

double slot_area(double width_m, double height_m) {
    return width_m * height_m;
}

double hydraulic_diameter(double width_m, double height_m) {
    return 4 * slot_area(width_m, height_m) / (2 * (width_m + height_m));
}

double largest_round_over(double width_m, double height_m) {
    return std::min(width_m, height_m);
}

double image_factor(int walls) {
    return walls <= 0 ? 1 : walls == 1 ? 2 : 4;
}

FreeSides free_sides(int walls) {
    // The first wall is a width side, the second a height side.
    return {walls >= 2 ? 1 : 2, walls >= 1 ? 1 : 2};
}

std::optional<InputError> check_round_over(double radius, double width, double height,
                                           Scale scale) {
    const double largest = largest_round_over(width, height);
    if (!(radius <= largest)) {
        return InputError{Field::slot_radius, Problem::round_over_beyond_slot, scale, largest};
    }
    return std::nullopt;
}

std::optional<InputError> check_slot(const SlotPort& slot) {
    for (const auto& [field, value] :
         {std::pair{Field::slot_count, static_cast<double>(slot.count)},
          std::pair{Field::slot_width, slot.width_m}, std::pair{Field::slot_height, slot.height_m},
          std::pair{Field::slot_walls, static_cast<double>(slot.walls)},
          std::pair{Field::slot_radius, slot.radius_m}}) {
        if (auto error = check_input(field, value)) {
            return error;
        }
    }
    return check_round_over(slot.radius_m, slot.width_m, slot.height_m, Scale::model);
}

PortSize slot_port_size(const SlotPort& slot) {
    return {.diameter_m = hydraulic_diameter(slot.width_m, slot.height_m),
            .count = slot.count,
            .area_m2 = slot_area(slot.width_m, slot.height_m)};
}

Checked<PortLength> slot_length(const SlotPort& slot, double vb_m3, double fb_hz,
                                double temperature_c) {
    if (auto error = validate(slot, vb_m3, temperature_c, Field::fb, fb_hz)) {
        return *error;
    }
    return length_for_tuning(slot_air(slot, temperature_c), slot.count, vb_m3, fb_hz,
                             temperature_c);
}

Checked<PortLength> slot_tuning(const SlotPort& slot, double vb_m3, double straight_length_m,
                                double temperature_c) {
    if (auto error =
            validate(slot, vb_m3, temperature_c, Field::straight_length, straight_length_m)) {
        return *error;
    }
    return tuning_for_length(slot_air(slot, temperature_c), slot.count, vb_m3, straight_length_m,
                             temperature_c);
}

} // namespace venturon
