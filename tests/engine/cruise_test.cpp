#include "cruise.h"
#include "number_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace venturon;

namespace {
const CruiseReference reference{100, 1, {10, 14, 12, 7}};

std::string texts(const std::array<double, 4>& v) {
    std::string out;
    for (double x : v) {
        out += number_text(x) + ";";
    }
    return out;
}
} // namespace

TEST(Cruise, RescalesAndCutsToOneDecimal) {
    const struct {
        double diameter;
        double ports;
        const char* velocities;
    } cases[] = {
        {200, 1, " 2.5; 3.5; 3; 1.7;"}, // 7 x 0.25 = 1.75, cut to 1.7
        {100, 2, " 5; 7; 6; 3.5;"},
        {110, 1, " 8.2; 11.5; 9.9; 5.7;"}, // 11.570 cut, not rounded
        {100, 1, " 10; 14; 12; 7;"},       // scale 1 gives the reference back
    };
    for (const auto& c : cases) {
        const auto r = rescale_velocities(reference, c.diameter, c.ports);
        ASSERT_TRUE(r) << c.diameter;
        EXPECT_EQ(texts(r->velocities), c.velocities) << c.diameter << " mm, " << c.ports;
    }
    EXPECT_EQ(rescale_velocities(reference, 200, 1)->scale, 0.25);
}

TEST(Cruise, NeedsAPortCountAndADiameter) {
    EXPECT_FALSE(rescale_velocities(reference, 0, 1));
    EXPECT_FALSE(rescale_velocities(reference, 100, 0));
    EXPECT_FALSE(rescale_velocities(reference, -5, 1));
}

TEST(Cruise, OneDecimalVelocitiesSurviveAScaleOfOne) {
    for (int tenths = 0; tenths < 5000; ++tenths) {
        const double v =
            text_value(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
        const CruiseReference r{150, 2, {v, v, v, v}};
        EXPECT_EQ(rescale_velocities(r, 150, 2)->velocities[0], v) << v;
    }
}
