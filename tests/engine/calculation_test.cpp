#include "calculation.h"

#include <gtest/gtest.h>

using namespace venturon;

namespace {
constexpr AllowanceSelection none{Allowance::none, Allowance::none, Content::music};

CalculationInput startup_port(CalculationMode mode, AllowanceSelection allowances = none) {
    CalculationInput in;
    in.diameter = 100;
    in.mode = mode;
    in.radius = 10;
    in.required = {10, 14, 12, 7};
    in.allowances = allowances;
    return in;
}

void expect_near4(const std::array<double, 4>& got, const std::array<double, 4>& want,
                  double tolerance, const char* what) {
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(got[i], want[i], tolerance) << what << " [" << i << "]";
    }
}
} // namespace

TEST(Calculate, MinimumModeFindsTheLargestRadius) {
    const auto r = calculate(startup_port(CalculationMode::minimum));
    expect_near4(r.core_limit, {19.765, 19.765, 29.5, 36.285}, 5e-4, "core");
    expect_near4(r.min_radius, {35.743, 44.900, 24.552, 0.133}, 5e-4, "min radius");
    EXPECT_EQ(r.radius, r.min_radius[1]); // found at 25 Hz
    expect_near4(r.chuff_limit, {12.25, 14.0, 19.444, 25.083}, 5e-4, "chuffing");
    EXPECT_EQ(r.chuff_excess, 0);
    EXPECT_EQ(r.verdict, Verdict::noise_free);
}

TEST(Calculate, ManualModeReportsChuffing) {
    const auto r = calculate(startup_port(CalculationMode::manual));
    expect_near4(r.chuff_limit, {4.897, 5.596, 7.773, 10.027}, 5e-4, "chuffing");
    EXPECT_NEAR(r.chuff_excess, 8.404, 5e-4);
    EXPECT_EQ(r.radius, 10);
    EXPECT_EQ(r.verdict, Verdict::chuffing);
}

TEST(Calculate, DocumentedVerdicts) {
    const auto first_start =
        calculate(startup_port(CalculationMode::minimum, first_start_allowances));
    EXPECT_NEAR(first_start.radius, 26.243, 5e-4);
    EXPECT_EQ(first_start.radius, first_start.min_radius[1]);
    EXPECT_EQ(first_start.verdict, Verdict::noise_free);

    auto small = startup_port(CalculationMode::minimum);
    small.diameter = 50;
    const auto r50 = calculate(small);
    EXPECT_NEAR(r50.core_excess, 4.034, 5e-4);
    EXPECT_NEAR(r50.radius, 45.947, 5e-4);
    EXPECT_EQ(r50.verdict, Verdict::core);

    auto still = startup_port(CalculationMode::minimum);
    still.required = {0, 0, 0, 0};
    const auto r0 = calculate(still);
    EXPECT_EQ(r0.radius, 0);
    EXPECT_EQ(r0.verdict, Verdict::noise_free);

    auto both = startup_port(CalculationMode::manual);
    both.diameter = 50;
    EXPECT_EQ(calculate(both).verdict, Verdict::chuffing_and_core);
}

TEST(Verdict, ThresholdIsStrictAndEveryCaseHasAVerdict) {
    EXPECT_EQ(verdict_for(0.1, 0.1), Verdict::noise_free);
    EXPECT_EQ(verdict_for(0.1000001, 0.1), Verdict::core);
    EXPECT_EQ(verdict_for(0.1, 0.1000001), Verdict::chuffing);
    EXPECT_EQ(verdict_for(5, 5), Verdict::chuffing_and_core);
}

TEST(Verdict, TextsAndColours) {
    EXPECT_EQ(verdict_text(Verdict::noise_free, "Port"), "Port will be noise free");
    EXPECT_EQ(verdict_text(Verdict::noise_free, "Ports"), "Ports will be noise free");
    EXPECT_EQ(verdict_text(Verdict::core, "Port"), " Core Turbulence and Compression");
    EXPECT_EQ(verdict_text(Verdict::chuffing, "Port"), " Chuffing");
    EXPECT_EQ(verdict_text(Verdict::chuffing_and_core, "Port"),
              " Chuffing with  Core Turbulence and Compression");
    EXPECT_EQ(verdict_colour(Verdict::noise_free), (Rgb{160, 217, 136}));
    EXPECT_EQ(verdict_colour(Verdict::core), (Rgb{255, 204, 204}));
    EXPECT_EQ(verdict_colour(Verdict::chuffing), (Rgb{245, 185, 84}));
    EXPECT_EQ(verdict_colour(Verdict::chuffing_and_core), (Rgb{250, 163, 163}));
}
