#include "port_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

using namespace venturon;

namespace {

constexpr double pi = std::numbers::pi;
constexpr PortEnd flanged_flare{true, MouthCondition::flanged};
constexpr PortEnd free_flare{true, MouthCondition::free};
constexpr PortEnd flanged_plain{false, MouthCondition::flanged};

FlaredPort port(double d, double r, int count, PortEnd outer, PortEnd inner) {
    return {.diameter_m = d, .flare_radius_m = r, .count = count, .outer = outer, .inner = inner};
}

PortLength length_of(const FlaredPort& p, double vb, double fb, double t = 20) {
    const auto r = port_length(p, vb, fb, t);
    EXPECT_TRUE(r) << static_cast<int>(r.error().field);
    return *r;
}

// Simpson's rule in t for x = r sin(t), where the integrands are smooth.
double simpson(const std::function<double(double)>& g) {
    const int n = 20000;
    const double h = pi / 2 / n;
    double sum = g(0) + g(pi / 2);
    for (int i = 1; i < n; ++i) {
        sum += (i % 2 ? 4 : 2) * g(i * h);
    }
    return sum * h / 3;
}

double numeric_flare_mass(double rho, double d, double r) {
    const double a0 = d / 2;
    return rho / pi * simpson([&](double t) {
               const double a = a0 + r - r * std::cos(t);
               return r * std::cos(t) / (a * a);
           });
}

double numeric_flare_volume(double d, double r) {
    const double a0 = d / 2;
    return pi * simpson([&](double t) {
               const double a = a0 + r - r * std::cos(t);
               return a * a * r * std::cos(t);
           });
}

} // namespace

// With plain ends: L = c^2 N pi (d/2)^2 / ((2 pi Fb)^2 Vb) - k d/2, k the sum of the
// two end factors.
TEST(PortLength, PlainEndsGiveTheClassicLength) {
    const struct {
        double d;
        int count;
        double vb;
        double fb;
        double t;
        MouthCondition inner;
        double k;
    } cases[] = {
        {0.1, 1, 0.06, 30, 20, MouthCondition::flanged, 1.7},
        {0.1, 1, 0.06, 30, 20, MouthCondition::free, 1.463},
        {0.075, 3, 0.2, 22, -10, MouthCondition::free, 1.463},
        {0.25, 2, 1.5, 18, 35, MouthCondition::flanged, 1.7},
    };
    for (const auto& c : cases) {
        for (double r : {0.0, 0.03}) { // a radius on plain ends changes nothing
            const FlaredPort p = port(c.d, r, c.count, flanged_plain, {false, c.inner});
            const PortLength got = length_of(p, c.vb, c.fb, c.t);
            const double speed = air_properties(c.t).speed_of_sound;
            const double a = c.d / 2;
            const double want =
                speed * speed * c.count * pi * a * a / std::pow(2 * pi * c.fb, 2) / c.vb - c.k * a;
            EXPECT_TRUE(got.reachable);
            EXPECT_NEAR(got.straight_length_m, want, 1e-12 * want) << c.d << " " << c.k;
            EXPECT_EQ(got.overall_length_m, got.straight_length_m);
            EXPECT_EQ(got.fb_hz, c.fb);
            EXPECT_NEAR(got.displaced_volume_m3, c.count * pi * a * a * want, 1e-12) << c.d;
        }
    }
    // By hand: 343.215^2 pi 0.05^2 / ((2 pi 30)^2 0.06) = 925.17/2131.84 = 0.433978 m,
    // less (0.85 + 0.613) 0.05 = 0.073150 m: 0.360828 m.
    EXPECT_NEAR(length_of(port(0.1, 0, 1, flanged_plain, {false, MouthCondition::free}), 0.06, 30)
                    .straight_length_m,
                0.360828, 1e-6);
}

TEST(PortLength, FlareMassAndVolumeMatchTheIntegrals) {
    const struct {
        double d;
        double r;
    } cases[] = {{0.1, 0.025}, {0.1, 1e-6}, {0.01, 0.2}, {0.2, 0.05}, {1e-3, 2}};
    for (const auto& c : cases) {
        const FlaredPort p = port(c.d, c.r, 2, flanged_flare, free_flare);
        const auto tuned = port_tuning(p, 0.1, 0);
        ASSERT_TRUE(tuned);
        const double rho = air_properties(20).density;
        const double mass = numeric_flare_mass(rho, c.d, c.r);
        EXPECT_NEAR(tuned->masses.outer_flare, mass, 1e-9 * mass) << c.d << " " << c.r;
        EXPECT_EQ(tuned->masses.inner_flare, tuned->masses.outer_flare);
        const double volume = numeric_flare_volume(c.d, c.r);
        EXPECT_NEAR(tuned->displaced_volume_m3, 2 * 2 * volume, 4e-9 * volume) << c.d << c.r;
        const double mouth = c.d / 2 + c.r;
        EXPECT_NEAR(tuned->masses.outer_mouth, rho * 0.85 / (pi * mouth), 1e-12 * mass);
        EXPECT_NEAR(tuned->masses.inner_mouth, rho * 0.613 / (pi * mouth), 1e-12 * mass);
        EXPECT_EQ(tuned->overall_length_m, 2 * c.r);
    }
}

TEST(PortLength, StraightPartShortensAsTheFlareGrows) {
    for (const auto& ends :
         {std::pair{flanged_flare, free_flare}, std::pair{flanged_flare, flanged_plain}}) {
        double previous = std::numeric_limits<double>::infinity();
        for (int i = 0; i <= 40; ++i) {
            const double r = 0.0025 * i;
            const PortLength got = length_of(port(0.1, r, 1, ends.first, ends.second), 0.08, 28);
            ASSERT_TRUE(got.reachable) << r;
            EXPECT_LT(got.straight_length_m, previous) << r;
            previous = got.straight_length_m;
        }
    }
}

// With both mouths flanged the ends are alike: either flared end shortens the
// straight part by the same amount, and flaring both by twice that.
TEST(PortLength, OneFlaredEndOrBoth) {
    const PortEnd plain = flanged_plain;
    const double none = length_of(port(0.1, 0.03, 2, plain, plain), 0.12, 25).straight_length_m;
    const PortLength outer = length_of(port(0.1, 0.03, 2, flanged_flare, plain), 0.12, 25);
    const PortLength inner = length_of(port(0.1, 0.03, 2, plain, flanged_flare), 0.12, 25);
    const PortLength both = length_of(port(0.1, 0.03, 2, flanged_flare, flanged_flare), 0.12, 25);
    EXPECT_NEAR(outer.straight_length_m, inner.straight_length_m, 1e-14);
    EXPECT_LT(both.straight_length_m, outer.straight_length_m);
    EXPECT_LT(outer.straight_length_m, none);
    EXPECT_NEAR(none - both.straight_length_m, 2 * (none - outer.straight_length_m), 1e-12);
    EXPECT_NEAR(outer.overall_length_m, outer.straight_length_m + 0.03, 1e-15);
    EXPECT_NEAR(both.overall_length_m, both.straight_length_m + 0.06, 1e-15);
    EXPECT_EQ(outer.masses.inner_flare, 0);
    EXPECT_GT(outer.masses.outer_flare, 0);
    EXPECT_NEAR(both.masses.total(), both.required_mass, 1e-12 * both.required_mass);
}

TEST(PortLength, TooMuchFlareForTheTuning) {
    const FlaredPort p = port(0.2, 0.1, 1, flanged_flare, free_flare);
    const PortLength got = length_of(p, 0.01, 300);
    EXPECT_FALSE(got.reachable);
    EXPECT_EQ(got.straight_length_m, 0);
    EXPECT_EQ(got.overall_length_m, 0.2);
    EXPECT_LT(got.max_fb_hz, 300);
    EXPECT_EQ(got.fb_hz, got.max_fb_hz);
    EXPECT_GT(got.masses.total(), got.required_mass);

    // The highest tuning, asked for, needs no straight part at all.
    const PortLength at_max = length_of(p, 0.01, got.max_fb_hz);
    EXPECT_TRUE(at_max.reachable);
    EXPECT_NEAR(at_max.straight_length_m, 0, 1e-12);
    EXPECT_NEAR(at_max.max_fb_hz, got.max_fb_hz, 1e-9);
    // And just above it there is none.
    EXPECT_FALSE(length_of(p, 0.01, got.max_fb_hz * (1 + 1e-6)).reachable);
}

// The red team's box: a 78 mm plain port tuning 10 mL to 1 Hz would need 1426 km
// of tube. Beyond the 100 m the inverse takes, there is no length, and the
// tuning 100 m gives is the lowest these ports reach.
TEST(PortLength, LongerThanTheLongestRefused) {
    const FlaredPort p = port(0.078, 0, 1, flanged_plain, {false, MouthCondition::free});
    const PortLength got = length_of(p, 1e-5, 1);
    EXPECT_EQ(got.fit, PortFit::too_long);
    EXPECT_FALSE(got.reachable);
    EXPECT_EQ(got.straight_length_m, 100);
    EXPECT_GT(got.fb_hz, 1);
    EXPECT_NEAR(got.fb_hz, port_tuning(p, 1e-5, 100)->fb_hz, 1e-12);
    // Just inside the limit is still a length.
    const PortLength inside = length_of(p, 1e-5, got.fb_hz * (1 + 1e-9));
    EXPECT_EQ(inside.fit, PortFit::fits);
    EXPECT_LE(inside.straight_length_m, 100);
}

// The first pipe resonance of a plain port, by hand: its effective length L + k a
// is c^2 pi a^2 / (w^2 Vb) (the classic formula), so c / (2 (L + k a)) is
// 2 pi Fb^2 Vb / (c a^2): 395.4 Hz for 100 mm tuning 60 L to 30 Hz at 20 C, and
// 39.1 Hz for 150 mm tuning 30 L to 20 Hz (long for the lumped model: below 100 Hz).
TEST(PortLength, FirstPipeResonanceAndWarnings) {
    const double c = 331.3 * std::sqrt(1 + 20 / 273.15);
    const struct {
        double d, vb, fb;
        bool too_long_for_model;
        bool larger_than_box; // pi a^2 L_eff against Vb: 16 L of 60 L, 88 L of 30 L
    } cases[] = {
        {0.1, 0.06, 30, false, false},
        {0.15, 0.03, 20, true, true},
    };
    for (const auto& k : cases) {
        const FlaredPort p = port(k.d, 0, 1, flanged_plain, {false, MouthCondition::free});
        const PortLength got = length_of(p, k.vb, k.fb);
        const double a = k.d / 2;
        EXPECT_NEAR(got.pipe_resonance_hz, 2 * pi * k.fb * k.fb * k.vb / (c * a * a), 1e-9);
        EXPECT_NEAR(got.effective_length_m, got.straight_length_m + (0.85 + 0.613) * a, 1e-12);
        EXPECT_EQ(got.too_long_for_model(k.fb), k.too_long_for_model);
        EXPECT_EQ(got.larger_than(k.vb), k.larger_than_box);
    }
    EXPECT_NEAR(2 * pi * 900 * 0.06 / (c * 0.0025), 395.4, 0.05);
    EXPECT_NEAR(2 * pi * 400 * 0.03 / (c * 0.075 * 0.075), 39.05, 0.01);
    // A flared port's mouths are wider: the corrections use d/2 + r.
    const PortLength flared = length_of(port(0.1, 0.04, 1, flanged_flare, free_flare), 0.06, 30);
    EXPECT_NEAR(flared.effective_length_m - flared.overall_length_m, (0.85 + 0.613) * 0.09, 1e-12);
}

TEST(PortLength, TuningForALengthRoundTrips) {
    const struct {
        FlaredPort p;
        double vb;
        double fb;
        double t;
    } cases[] = {
        {port(0.1, 0.025, 1, flanged_flare, free_flare), 0.06, 30, 20},
        {port(0.15, 0.05, 4, flanged_flare, flanged_plain), 0.4, 18, -20},
        {port(0.05, 0, 1, flanged_plain, {false, MouthCondition::free}), 0.02, 45, 40},
        {port(0.3, 0.15, 2, free_flare, free_flare), 2, 15, 20},
    };
    for (const auto& c : cases) {
        const PortLength forward = length_of(c.p, c.vb, c.fb, c.t);
        ASSERT_TRUE(forward.reachable);
        const auto back = port_tuning(c.p, c.vb, forward.straight_length_m, c.t);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->fb_hz, c.fb, 1e-12 * c.fb);
        EXPECT_NEAR(back->overall_length_m, forward.overall_length_m, 1e-12);
        EXPECT_NEAR(back->displaced_volume_m3, forward.displaced_volume_m3, 1e-15);
        EXPECT_EQ(back->max_fb_hz, forward.max_fb_hz);
        // A longer port tunes lower.
        EXPECT_LT(port_tuning(c.p, c.vb, forward.straight_length_m + 0.01, c.t)->fb_hz, c.fb);
    }
}

namespace {

struct PortFieldCase {
    const char* name;
    std::function<Checked<PortLength>()> run;
    Field field;
};

void PrintTo(const PortFieldCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();
const FlaredPort good = port(0.1, 0.02, 1, flanged_flare, free_flare);

FlaredPort with(std::function<void(FlaredPort&)> change) {
    FlaredPort p = good;
    change(p);
    return p;
}

class PortLengthValidation : public testing::TestWithParam<PortFieldCase> {};

TEST_P(PortLengthValidation, NamesTheField) {
    const auto got = GetParam().run();
    ASSERT_FALSE(got);
    EXPECT_EQ(static_cast<int>(got.error().field), static_cast<int>(GetParam().field));
    EXPECT_EQ(got.error().problem, Problem::out_of_range);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fields, PortLengthValidation,
    testing::Values(
        PortFieldCase{"diameter_zero", [] { return port_length(with([](auto& p) { p.diameter_m = 0; }), 0.06, 30); }, Field::port_diameter},
        PortFieldCase{"diameter_huge", [] { return port_length(with([](auto& p) { p.diameter_m = 3; }), 0.06, 30); }, Field::port_diameter},
        PortFieldCase{"flare_negative", [] { return port_length(with([](auto& p) { p.flare_radius_m = -0.01; }), 0.06, 30); }, Field::flare_radius},
        PortFieldCase{"flare_nan", [] { return port_tuning(with([](auto& p) { p.flare_radius_m = not_a_number; }), 0.06, 0.2); }, Field::flare_radius},
        PortFieldCase{"no_port", [] { return port_length(with([](auto& p) { p.count = 0; }), 0.06, 30); }, Field::port_count},
        PortFieldCase{"vb_zero", [] { return port_length(good, 0, 30); }, Field::vb},
        PortFieldCase{"fb_nan", [] { return port_length(good, 0.06, not_a_number); }, Field::fb},
        PortFieldCase{"fb_huge", [] { return port_length(good, 0.06, 5000); }, Field::fb},
        PortFieldCase{"length_negative", [] { return port_tuning(good, 0.06, -0.1); }, Field::straight_length},
        PortFieldCase{"temperature_high", [] { return port_length(good, 0.06, 30, 80); }, Field::temperature}),
    [](const testing::TestParamInfo<PortFieldCase>& info) { return std::string(info.param.name); });
// clang-format on

} // namespace

TEST(PortLength, ExtremeCornersStayFinite) {
    const MouthCondition mouths[] = {MouthCondition::flanged, MouthCondition::free};
    for (int bits = 0; bits < (1 << 8); ++bits) {
        const auto pick = [bits](int bit, Range r) { return (bits >> bit) & 1 ? r.high : r.low; };
        FlaredPort p;
        p.diameter_m = pick(0, limits::port_diameter_m);
        p.flare_radius_m = pick(1, limits::flare_radius_m);
        p.count = (bits >> 2) & 1 ? limits::max_port_count : 1;
        p.outer = {((bits >> 3) & 1) != 0, mouths[(bits >> 3) & 1]};
        const double vb = pick(4, limits::vb_m3);
        const double fb = pick(5, limits::fb_hz);
        const double t = pick(6, limits::temperature_c);
        const double length = pick(7, limits::straight_length_m);
        for (const auto& got : {port_length(p, vb, fb, t), port_tuning(p, vb, length, t)}) {
            ASSERT_TRUE(got) << bits;
            const double values[] = {
                got->straight_length_m,  got->overall_length_m, got->fb_hz,
                got->max_fb_hz,          got->masses.total(),   got->required_mass,
                got->displaced_volume_m3};
            for (double v : values) {
                ASSERT_TRUE(std::isfinite(v) && v >= 0) << bits << ": " << v;
            }
        }
    }
}
