#include "model.h"

#include <cmath>
#include <limits>

namespace venturon {

namespace {

double chuffing_multiplier(const AllowanceSelection& a) {
    switch (a.chuffing) {
    case Allowance::none:
        return 0.71;
    case Allowance::seating:
        return 0.89;
    case Allowance::seating_and_masking:
        return a.content == Content::home_theatre ? 1.1 : 1.0;
    }
    return 1.0;
}

double core_multiplier(const AllowanceSelection& a) {
    switch (a.core) {
    case Allowance::none:
        return 1.0;
    case Allowance::seating:
        return 1.25;
    case Allowance::seating_and_masking:
        return a.content == Content::home_theatre ? 1.55 : 1.4;
    }
    return 1.0;
}

// Keeps results finite for any input a user can type: overflow saturates at the
// largest double instead of becoming an infinity (or, one step later, NaN).
double saturate(double v) {
    if (std::isnan(v)) {
        return 0.0;
    }
    const double top = std::numeric_limits<double>::max();
    return v > top ? top : (v < -top ? -top : v);
}

} // namespace

float slopefactor(float f, const AllowanceSelection& allowances) {
    const double fd = f;
    double s = 1;
    if (fd >= 35) {
        s = 1.29;
    } else if (fd > 30.5 && fd < 35) {
        s = 1 + (fd - 30) * 0.29 / 5;
    } else if (fd >= 25 && fd < 29.5) {
        s = 1 - (30 - fd) * 0.28 / 5;
    } else if (fd >= 20 && fd < 25) {
        s = 0.72 - (25 - fd) * 0.09 / 5;
    } else if (fd < 20) {
        s = 0.63;
    }
    s = s * chuffing_multiplier(allowances);
    return static_cast<float>(s);
}

float limitingfactor(float f, const AllowanceSelection& allowances) {
    const double fd = f;
    double l = 1;
    if (fd >= 35) {
        l = 1.23;
    } else if (fd > 30.5 && fd < 35) {
        l = 1 + (fd - 30) * 0.23 / 5;
    } else if (fd > 25 && fd < 29.5) {
        l = 1 - (30 - fd) * 0.33 / 5;
    } else if (fd <= 25) {
        l = 0.67;
    }
    l = l * core_multiplier(allowances);
    return static_cast<float>(l);
}

double core_base_velocity(double d) {
    if (d <= 103) {
        return saturate(10 + (19.5 / 10000) * (d * d));
    }
    return saturate(31 + (8.5 / 15000) * (d * d - 10600));
}

double area_ratio(double d, double r) {
    const double q = (d + 2 * r) / d;
    return saturate(q * q);
}

double chuff_base_velocity(double d, double a) {
    return saturate(((3570 + d * d) * a) / 1785);
}

double core_limit(double d, float f, const AllowanceSelection& allowances) {
    return saturate(core_base_velocity(d) * static_cast<double>(limitingfactor(f, allowances)));
}

double chuff_limit(double d, double r, float f, const AllowanceSelection& allowances) {
    return chuff_limit_for_ratio(d, area_ratio(d, r), f, allowances);
}

double chuff_limit_for_ratio(double d, double ratio, float f,
                             const AllowanceSelection& allowances) {
    return saturate(chuff_base_velocity(d, ratio) *
                    static_cast<double>(slopefactor(f, allowances)));
}

double required_flare_radius(double d, double v, float f, const AllowanceSelection& allowances) {
    const double s = slopefactor(f, allowances);
    double x = (v * 1785) / ((3570 + d * d) * s);
    if (!std::isfinite(x)) {
        // Both products overflowed: the same quotient, formed in a safe order.
        x = (v / (3570 + d * d)) * (1785 / s);
    }
    double r = (std::sqrt(x) * d - d) / 2;
    if (!(r >= 0)) {
        r = 0;
    }
    return saturate(r);
}

} // namespace venturon
