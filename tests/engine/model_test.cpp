#include "model.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace venturon;

namespace {
constexpr AllowanceSelection none{Allowance::none, Allowance::none, Content::music};
constexpr AllowanceSelection both_home_theatre{
    Allowance::seating_and_masking, Allowance::seating_and_masking, Content::home_theatre};
constexpr AllowanceSelection both_music{Allowance::seating_and_masking,
                                        Allowance::seating_and_masking, Content::music};
// Multiplier 1 on the chuffing factor, 1 on the core factor: the bands' base values.
constexpr AllowanceSelection base{Allowance::seating_and_masking, Allowance::none, Content::music};
} // namespace

TEST(Factors, BaseValuesAcrossTheBands) {
    const struct {
        float f;
        double chuffing;
        double core;
    } cases[] = {
        {20, 0.63, 0.67},   {25, 0.72, 0.67},     {30, 1, 1},          {35, 1.29, 1.23},
        {22, 0.666, 0.67},  {27, 0.832, 0.802},   {29, 0.944, 0.934},  {31, 1.058, 1.046},
        {33, 1.174, 1.138}, {29.5, 1, 1},         {30.5, 1, 1},        {15, 0.63, 0.67},
        {40, 1.29, 1.23},   {-1e30f, 0.63, 0.67}, {1e30f, 1.29, 1.23},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(slopefactor(c.f, base), static_cast<float>(c.chuffing)) << c.f;
        EXPECT_FLOAT_EQ(limitingfactor(c.f, base), static_cast<float>(c.core)) << c.f;
    }
    // Exactly 1 inside the 30 Hz plateau, a step just outside it.
    EXPECT_EQ(slopefactor(29.5f, base), 1.0f);
    EXPECT_EQ(limitingfactor(30.5f, base), 1.0f);
    EXPECT_NEAR(slopefactor(29.49f, base), 0.972, 0.001);
    EXPECT_NEAR(slopefactor(30.51f, base), 1.029, 0.001);
    EXPECT_NEAR(limitingfactor(29.49f, base), 0.967, 0.001);
    EXPECT_NEAR(limitingfactor(30.51f, base), 1.023, 0.001);
}

TEST(Factors, AllowancesAreRoundedTo32Bits) {
    EXPECT_EQ(slopefactor(20, none), static_cast<float>(0.63 * 0.71));
    EXPECT_EQ(slopefactor(20, none), 0.4473f);
    EXPECT_EQ(limitingfactor(20, none), 0.67f);
    EXPECT_EQ(slopefactor(20, both_home_theatre), 0.693f);
    EXPECT_EQ(limitingfactor(20, both_home_theatre), 1.0385f);
    EXPECT_EQ(slopefactor(35, both_home_theatre), 1.419f);
    EXPECT_EQ(limitingfactor(35, both_home_theatre), 1.9065f);
    EXPECT_EQ(slopefactor(30, both_music), 1.0f);
    EXPECT_EQ(limitingfactor(30, both_music), 1.4f);
    const AllowanceSelection seating{Allowance::seating, Allowance::seating, Content::music};
    EXPECT_EQ(slopefactor(30, seating), 0.89f);
    EXPECT_EQ(limitingfactor(30, seating), 1.25f);
}

TEST(BaseVelocities, CoreAndChuffing) {
    const struct {
        double d;
        double v;
    } core[] = {{0, 10},        {50, 14.875},   {100, 29.5}, {103, 30.68755},
                {104, 31.1224}, {152, 38.0856}, {200, 47.66}};
    for (const auto& c : core) {
        EXPECT_NEAR(core_base_velocity(c.d), c.v, 1e-9) << c.d;
    }
    EXPECT_EQ(area_ratio(100, 0), 1);
    EXPECT_EQ(area_ratio(100, 25), 2.25);
    EXPECT_NEAR(chuff_base_velocity(100, 1), 7.6022, 5e-5);
    EXPECT_NEAR(chuff_base_velocity(100, 2.25), 17.1050, 5e-5);
    // Products use the factor widened from 32 bits.
    EXPECT_EQ(core_limit(100, 20, none), 29.5 * static_cast<double>(0.67f));
}

TEST(RequiredFlareRadius, InvertsTheChuffingLimit) {
    EXPECT_NEAR(required_flare_radius(100, 10, 20, none), 35.743, 5e-4);
    EXPECT_EQ(required_flare_radius(100, 0, 20, none), 0);
    // The radius found gives the required velocity back.
    const double r = required_flare_radius(120, 17, 27, both_music);
    EXPECT_NEAR(chuff_limit(120, r, 27, both_music), 17, 1e-9);
}

TEST(Model, StaysFiniteForAnyTypedValue) {
    for (double d : {1e-300, 1e150, 1e200, 1.7e308}) {
        for (double v : {0.0, 1e300, 1.7e308}) {
            for (float f : {15.0f, 28.0f, 40.0f}) {
                EXPECT_TRUE(std::isfinite(core_limit(d, f, none)));
                EXPECT_TRUE(std::isfinite(chuff_limit(d, 1e300, f, both_home_theatre)));
                const double r = required_flare_radius(d, v, f, both_home_theatre);
                EXPECT_TRUE(std::isfinite(r) && r >= 0) << d << ' ' << v;
            }
        }
    }
}
