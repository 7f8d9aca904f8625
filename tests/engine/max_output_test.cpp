// How loud before something gives: the model driven at the voltage each limit
// allows reaches that limit exactly and passes no other.
#include "max_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace venturon;

namespace {

// The README's worked example: a 12-inch driver in 60 L tuned to 30 Hz, one
// 100 mm port.
EnclosureInput worked_example(double amplifier_w, double pe_w) {
    EnclosureInput in;
    in.driver = {.fs_hz = 25,
                 .qes = 0.45,
                 .qms = 5,
                 .vas_m3 = 0.1,
                 .sd_m2 = 0.05,
                 .re_ohm = 3.6,
                 .xmax_m = 0.012,
                 .pe_w = pe_w};
    in.box.vb_m3 = 0.06;
    in.box.fb_hz = 30;
    in.drive = Drive::power_w(amplifier_w);
    in.port = {0.1, 1};
    return in;
}

SolvedEnclosure solved(const EnclosureInput& in) {
    const auto m = solve_enclosure(in);
    EXPECT_TRUE(m);
    return *m;
}

struct Design {
    std::string name;
    EnclosureInput input;
    double radius_mm;
};

} // namespace

// At every frequency of a curve, the design driven at the amplifier voltage found
// reaches the binding limit to 1e-9 and passes none of the others; over these
// designs each of the five limits binds somewhere.
TEST(MaxOutput, TheBindingLimitIsReachedAndNoOtherPassed) {
    EnclosureInput boosted = worked_example(1000, 300);
    boosted.highpass = {{FilterKind::second_order, 2, 40, 2.5}, {FilterKind::butterworth, 2, 15}};
    EnclosureInput weak = worked_example(5, 0);
    weak.driver.xmax_m = 0;
    const Design designs[] = {
        {"1000 W, Pe 300 W, 10 mm flare", worked_example(1000, 300), 10},
        {"1000 W, a Q 2.5 peak at 40 Hz", boosted, 40},
        {"1000 W, no Pe, 300 mm flare", worked_example(1000, 0), 300},
        {"5 W, nothing known", weak, 40},
    };
    std::set<Limit> seen;
    const PortLimitSettings first_start{};
    for (const Design& d : designs) {
        SCOPED_TRACE(d.name);
        const SolvedEnclosure m = solved(d.input);
        const PortLimitSettings port{d.radius_mm, first_start.allowances};
        const auto curve = response_curve(m, 10, 200, 150);
        ASSERT_TRUE(curve);
        const auto max = max_output_curve(m, port, *curve);
        ASSERT_EQ(max.size(), curve->size());
        for (const MaxOutputPoint& p : max) {
            SCOPED_TRACE(p.frequency_hz);
            seen.insert(p.binding);
            EnclosureInput at_limit = d.input;
            at_limit.drive = Drive::voltage_rms(p.amplifier_voltage_rms);
            const ResponsePoint r = response_at(solved(at_limit), p.frequency_hz);
            // What each limit measures, over its limit.
            std::array<std::optional<double>, limit_count> share{};
            share[static_cast<std::size_t>(Limit::amplifier)] =
                p.amplifier_voltage_rms / drive_voltage_rms(m);
            if (d.input.driver.pe_w > 0) {
                share[static_cast<std::size_t>(Limit::pe)] =
                    p.amplifier_voltage_rms * std::abs(r.filter) /
                    std::sqrt(d.input.driver.pe_w * d.input.driver.re_ohm);
            }
            if (d.input.driver.xmax_m > 0) {
                share[static_cast<std::size_t>(Limit::xmax)] =
                    r.excursion_m / d.input.driver.xmax_m;
            }
            const auto f = static_cast<float>(p.frequency_hz);
            share[static_cast<std::size_t>(Limit::chuffing)] =
                r.port_velocity / chuff_limit(100, d.radius_mm, f, port.allowances);
            share[static_cast<std::size_t>(Limit::core)] =
                r.port_velocity / core_limit(100, f, port.allowances);
            for (Limit limit : all_limits) {
                const auto& s = share[static_cast<std::size_t>(limit)];
                if (!s) {
                    EXPECT_FALSE(p.voltage(limit)) << limit_key(limit);
                    continue;
                }
                if (limit == p.binding) {
                    EXPECT_NEAR(*s, 1, 1e-9) << limit_key(limit);
                } else {
                    EXPECT_LE(*s, 1 + 1e-9) << limit_key(limit);
                }
            }
            EXPECT_NEAR(p.spl_db, r.spl_db, 1e-9);
            EXPECT_NEAR(p.power_w, p.amplifier_voltage_rms * p.amplifier_voltage_rms / 3.6,
                        1e-9 * p.power_w);
        }
    }
    EXPECT_EQ(seen.size(), limit_count);
}

// With nothing but the amplifier to limit it, the largest level is the level at
// the drive, at the drive's power.
TEST(MaxOutput, OnlyTheAmplifierLimits) {
    EnclosureInput in = worked_example(0.1, 0);
    in.driver.xmax_m = 0;
    in.highpass = {{FilterKind::linkwitz_riley, 4, 20}};
    const SolvedEnclosure m = solved(in);
    const auto curve = response_curve(m, 10, 200, 60);
    ASSERT_TRUE(curve);
    const auto max = max_output_curve(m, {100, first_start_allowances}, *curve);
    for (std::size_t i = 0; i < max.size(); ++i) {
        SCOPED_TRACE(max[i].frequency_hz);
        EXPECT_EQ(max[i].binding, Limit::amplifier);
        EXPECT_FALSE(max[i].voltage(Limit::xmax));
        EXPECT_FALSE(max[i].voltage(Limit::pe));
        EXPECT_EQ(max[i].spl_db, (*curve)[i].spl_db);
        EXPECT_NEAR(max[i].power_w, 0.1, 1e-15);
    }
}

// The README's hand-worked example: Pe 300 W, one 100 mm port with a 40 mm flare,
// first-start allowances; on a 100 W amplifier, then on a 1000 W one. Figures
// from the working in the README (an independent evaluation of the model's
// formulas).
TEST(MaxOutput, HandWorkedExample) {
    const struct {
        double amplifier_w;
        double frequency_hz;
        Limit binding;
        double max_spl_db;
        double max_power_w;
    } cases[] = {
        {100, 20, Limit::xmax, 94.0863, 99.973},
        {100, 25, Limit::amplifier, 100.0826, 100.000},
        {100, 30, Limit::amplifier, 104.2567, 100.000},
        {100, 35, Limit::amplifier, 106.8995, 100.000},
        {1000, 20, Limit::xmax, 94.0863, 99.973},
        {1000, 25, Limit::chuffing, 101.0801, 125.819},
        {1000, 30, Limit::chuffing, 108.6843, 277.177},
        {1000, 35, Limit::pe, 111.6707, 300.000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amplifier_w << " W, " << c.frequency_hz << " Hz");
        const SolvedEnclosure m = solved(worked_example(c.amplifier_w, 300));
        const MaxOutputPoint p = max_output_at(m, {40, first_start_allowances}, c.frequency_hz);
        EXPECT_EQ(limit_key(p.binding), limit_key(c.binding));
        EXPECT_NEAR(p.spl_db, c.max_spl_db, 5e-5);
        EXPECT_NEAR(p.power_w, c.max_power_w, 5e-4);
    }
}
