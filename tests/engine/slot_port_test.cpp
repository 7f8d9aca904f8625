#include "calculation.h"
#include "slot_port.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

using namespace venturon;

namespace {

constexpr double pi = std::numbers::pi;
constexpr PortEnd flanged_rounded{true, MouthCondition::flanged};
constexpr PortEnd free_rounded{true, MouthCondition::free};
constexpr PortEnd flanged_sharp{false, MouthCondition::flanged};
constexpr PortEnd free_sharp{false, MouthCondition::free};

SlotPort slot(double w, double h, int walls, double r = 0, int count = 1,
              PortEnd outer = flanged_rounded, PortEnd inner = free_rounded) {
    return {.width_m = w,
            .height_m = h,
            .walls = walls,
            .radius_m = r,
            .count = count,
            .outer = outer,
            .inner = inner};
}

PortLength length_of(const SlotPort& s, double vb, double fb, double t = 20) {
    const auto got = slot_length(s, vb, fb, t);
    EXPECT_TRUE(got) << static_cast<int>(got.error().field);
    return got ? *got : PortLength{};
}

PortLength round_length(double d, double r, int count, PortEnd outer, PortEnd inner, double vb,
                        double fb, double t = 20) {
    const auto got = port_length({d, r, count, outer, inner}, vb, fb, t);
    EXPECT_TRUE(got);
    return got ? *got : PortLength{};
}

// Simpson's rule over x itself (not the quadrature's substitution), fine enough
// for the few digits it is asked for.
double simpson(const std::function<double(double)>& g, double a, double b) {
    const int n = 200000;
    const double h = (b - a) / n;
    double sum = g(a) + g(b);
    for (int i = 1; i < n; ++i) {
        sum += (i % 2 ? 4 : 2) * g(a + i * h);
    }
    return sum * h / 3;
}

} // namespace

// With no wall and no round-over a slot holds the air of a round port of its area:
// the same mass per length, and the end corrections of the circle of that area.
TEST(SlotPort, SharpFreeSlotTunesLikeTheRoundPortOfItsArea) {
    const struct {
        double w, h;
        int count;
        double vb, fb, t;
        PortEnd outer, inner;
    } cases[] = {
        {0.1, 0.1, 1, 0.06, 30, 20, flanged_sharp, free_sharp},
        {0.25, 0.05, 1, 0.06, 30, 20, flanged_rounded, free_rounded}, // r = 0: sharp
        {0.4, 0.01, 2, 0.1, 25, -10, flanged_sharp, flanged_sharp},
        {0.01, 0.4, 3, 0.2, 20, 35, free_sharp, free_sharp},
        {2, 0.002, 1, 0.2, 18, 20, flanged_sharp, free_sharp},
    };
    for (const auto& c : cases) {
        const double d = 2 * std::sqrt(c.w * c.h / pi);
        const PortLength s =
            length_of(slot(c.w, c.h, 0, 0, c.count, c.outer, c.inner), c.vb, c.fb, c.t);
        const PortLength r = round_length(d, 0, c.count, c.outer, c.inner, c.vb, c.fb, c.t);
        EXPECT_TRUE(s.reachable);
        EXPECT_NEAR(s.straight_length_m, r.straight_length_m, 1e-12 * r.straight_length_m)
            << c.w << " x " << c.h;
        EXPECT_NEAR(s.masses.outer_mouth, r.masses.outer_mouth, 1e-12 * r.masses.outer_mouth);
        EXPECT_NEAR(s.masses.inner_mouth, r.masses.inner_mouth, 1e-12 * r.masses.inner_mouth);
        EXPECT_NEAR(s.effective_length_m, r.effective_length_m, 1e-12 * r.effective_length_m);
        EXPECT_NEAR(s.displaced_volume_m3, r.displaced_volume_m3, 1e-12 * r.displaced_volume_m3);
        EXPECT_NEAR(s.max_fb_hz, r.max_fb_hz, 1e-12 * r.max_fb_hz);
    }
}

// A wall mirrors the slot: each mouth's correction is that of twice (four times)
// the area, and the straight part shortens by exactly the difference. The
// README's slot by hand: 250 x 50 mm, outer mouth flanged, inner free, 60 L at
// 30 Hz, 20 C: c^2 A / (w^2 Vb) = 117796.28 x 0.0125 / 2131.835 = 690.698 mm of air
// column, less 1.463 times sqrt(2^k A / pi) = 63.078, 89.206, 126.157 mm.
TEST(SlotPort, WallsShortenTheSlotByTheImageCorrections) {
    const struct {
        int walls;
        double straight_mm;
    } cases[] = {{0, 598.414}, {1, 560.189}, {2, 506.131}};
    const double area = 0.25 * 0.05;
    const double free_length = length_of(slot(0.25, 0.05, 0), 0.06, 30).straight_length_m;
    for (const auto& c : cases) {
        const PortLength got = length_of(slot(0.25, 0.05, c.walls), 0.06, 30);
        EXPECT_NEAR(got.straight_length_m * 1000, c.straight_mm, 5e-4) << c.walls;
        const double images = std::pow(2.0, c.walls);
        const double shorter = 1.463 * (std::sqrt(images * area / pi) - std::sqrt(area / pi));
        EXPECT_NEAR(free_length - got.straight_length_m, shorter, 1e-12) << c.walls;
        // The air column with its corrections is the same length whatever the walls.
        EXPECT_NEAR(got.effective_length_m, 0.690698, 1e-6) << c.walls;
        EXPECT_NEAR(got.pipe_resonance_hz, 343.2146 / (2 * 0.690698), 1e-3);
        EXPECT_NEAR(got.displaced_volume_m3, area * got.straight_length_m, 1e-15);
    }
    // Several slots share the box: each is as long as one slot for 1/N of the box.
    EXPECT_NEAR(length_of(slot(0.25, 0.05, 1, 0, 2), 0.12, 30).straight_length_m, 0.560189, 1e-6);
}

// A round-over adds rounded ends lighter than as much straight slot, and widens the
// mouths, whose corrections then weigh less: in all the straight part shortens,
// as a round port's does, for slots near square (up to about 3:1, depending on
// which sides are walls) and for the README's 5:1 slot along the floor.
TEST(SlotPort, RoundOverShortensTheStraightPartAndVanishesAtZero) {
    const struct {
        double w, h;
        int walls;
    } cases[] = {{0.1, 0.1, 0}, {0.1, 0.1, 2}, {0.2, 0.1, 0},  {0.2, 0.1, 1},
                 {0.1, 0.2, 2}, {0.3, 0.1, 2}, {0.25, 0.05, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h) + ", " +
                     std::to_string(c.walls) + " walls");
        const auto with = [&](double r, PortEnd inner = free_rounded) {
            return length_of(slot(c.w, c.h, c.walls, r, 1, flanged_rounded, inner), 0.1, 30);
        };
        const PortLength sharp =
            length_of(slot(c.w, c.h, c.walls, 0, 1, flanged_sharp, free_sharp), 0.1, 30);
        EXPECT_EQ(with(0).straight_length_m, sharp.straight_length_m);
        EXPECT_EQ(with(0).overall_length_m, sharp.overall_length_m);
        EXPECT_NEAR(with(1e-9).straight_length_m, sharp.straight_length_m, 1e-8);

        const double largest = std::min(c.w, c.h);
        double previous = sharp.straight_length_m;
        for (double share : {0.02, 0.1, 0.5, 1.0}) {
            const PortLength got = with(share * largest);
            EXPECT_LT(got.straight_length_m, previous) << share;
            EXPECT_NEAR(got.overall_length_m, got.straight_length_m + 2 * share * largest, 1e-15);
            // Rounded ends widen the port: it is longer mouth to mouth than the sharp one.
            EXPECT_GT(got.overall_length_m, sharp.overall_length_m) << share;
            previous = got.straight_length_m;
        }
        // One rounded end only: between sharp and both.
        const PortLength outer = with(largest / 2, free_sharp);
        EXPECT_LT(outer.straight_length_m, sharp.straight_length_m);
        EXPECT_GT(outer.straight_length_m, with(largest / 2).straight_length_m);
        EXPECT_EQ(outer.masses.inner_flare, 0);
    }
    // The limit of reading a mouth as the circle of its area: rounding the long
    // edges of a 500 x 10 mm slot triples its mouth's area, and the corrections of
    // the circles of those areas fall by more than the rounded ends add, so the
    // straight part comes out longer (a thin mouth's real correction follows its
    // narrow side and falls less).
    EXPECT_GT(length_of(slot(0.5, 0.01, 0, 0.01), 0.1, 30).straight_length_m,
              length_of(slot(0.5, 0.01, 0, 0), 0.1, 30).straight_length_m);
}

// Where the geometry is a round flare's: a square slot with every side free
// widens as (W + 2e)^2, which is 4/pi times the section of a round port of
// diameter W with the same flare, so its mass is pi/4 of that port's flare and
// its air 4/pi of it. In a corner, (W + e)^2 is the round flare of half the radius
// at twice the scale: pi/2 of the mass of the port of diameter W and flare r/2.
TEST(SlotPort, RoundedEndsMatchTheRoundFlareAndTheIntegral) {
    const double rho = air_properties(20).density;
    for (const double w : {0.1, 0.02, 0.5}) {
        for (const double r : {w / 1000, w / 4, w}) {
            const auto round = port_tuning({w, r, 1, flanged_rounded, free_rounded}, 0.1, 0);
            const auto square = slot_tuning(slot(w, w, 0, r), 0.1, 0);
            ASSERT_TRUE(round && square);
            EXPECT_NEAR(square->masses.outer_flare, pi / 4 * round->masses.outer_flare,
                        1e-12 * square->masses.outer_flare)
                << w << " " << r;
            EXPECT_NEAR(square->displaced_volume_m3, 4 / pi * round->displaced_volume_m3,
                        1e-12 * square->displaced_volume_m3);

            const auto half = port_tuning({w, r / 2, 1, flanged_rounded, free_rounded}, 0.1, 0);
            const auto corner = slot_tuning(slot(w, w, 2, r), 0.1, 0);
            ASSERT_TRUE(half && corner);
            EXPECT_NEAR(corner->masses.outer_flare, pi / 2 * half->masses.outer_flare,
                        1e-12 * corner->masses.outer_flare);
        }
    }
    // Along a wall, a long thin slot: the width grows on both ends, the height on
    // one side only. Against Simpson's rule over x.
    const double w = 0.3;
    const double h = 0.04;
    const double r = 0.03;
    const auto got = slot_tuning(slot(w, h, 1, r), 0.1, 0);
    ASSERT_TRUE(got);
    const double mass = rho * simpson(
                                  [&](double x) {
                                      const double e = r - std::sqrt(std::max(0.0, r * r - x * x));
                                      return 1 / ((w + 2 * e) * (h + e));
                                  },
                                  0, r);
    EXPECT_NEAR(got->masses.outer_flare, mass, 1e-7 * mass);
    // Its mouth, 360 x 70 mm, against the wall: corrections of 2 x 0.0252 m^2.
    const double mouth = (w + 2 * r) * (h + r);
    EXPECT_NEAR(got->masses.outer_mouth, rho * 0.85 * std::sqrt(2 * mouth / pi) / mouth, 1e-9);
    EXPECT_NEAR(got->effective_length_m - got->overall_length_m, 1.463 * std::sqrt(2 * mouth / pi),
                1e-12);
}

// 4 A / P with the whole perimeter: the walls do not change it.
TEST(SlotPort, HydraulicDiameter) {
    const struct {
        double w, h, want;
    } cases[] = {
        {0.1, 0.1, 0.1},           // a square's is its side
        {0.1, 0.05, 0.2 / 3},      // 4 x 5000 / (50 + 100 + 50 + 100) mm
        {0.25, 0.05, 0.25 / 3},    // the README's slot: 83.333 mm
        {2, 0.001, 0.004 / 2.001}, // a thin slot: about twice its height
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(hydraulic_diameter(c.w, c.h), c.want, 1e-15) << c.w << " x " << c.h;
        for (int walls = 0; walls <= 2; ++walls) {
            EXPECT_EQ(slot_port_size(slot(c.w, c.h, walls)).diameter_m,
                      hydraulic_diameter(c.w, c.h));
        }
    }
}

// The README's slot against the velocity-limit model, by hand: 83.333 mm gives a
// core limit of 10 + 19.5/10000 x 83.333^2 = 23.542 m/s at 30 Hz, 15.773 m/s at 20 and
// 25 Hz (x 0.67); with sharp edges a chuffing limit of (3570 + 6944.4)/1785 =
// 5.890 m/s at 30 Hz, 4.182 m/s with no allowance (x 0.71). Its port velocity is the round 100 mm
// port's times the areas' ratio, 7853.98/12500: the box moves the same air through either.
TEST(SlotPort, TheReadmesSlotAgainstTheLimitsAndTheBox) {
    const AllowanceSelection none{};
    const double d = hydraulic_diameter(0.25, 0.05) * 1000;
    EXPECT_NEAR(core_limit(d, 30, none), 23.542, 5e-4);
    EXPECT_NEAR(core_limit(d, 20, none), 15.773, 5e-4);
    EXPECT_NEAR(chuff_limit(d, 0, 30, none), 4.182, 5e-4);
    // A round port of the slot's area (126.2 mm) reads higher: 22.79 m/s at 20 Hz.
    EXPECT_NEAR(core_limit(2 * std::sqrt(12500 / pi), 20, none), 22.788, 5e-3);

    EnclosureInput in;
    in.driver.fs_hz = 25;
    in.driver.qes = 0.45;
    in.driver.qms = 5;
    in.driver.vas_m3 = 0.1;
    in.driver.sd_m2 = 0.05;
    in.driver.re_ohm = 3.6;
    in.driver.xmax_m = 0.012;
    in.box.vb_m3 = 0.06;
    in.box.fb_hz = 30;
    in.drive = Drive::power_w(100);
    in.port.diameter_m = 0.1;
    const auto round = solve_enclosure(in);
    in.port = slot_port_size(slot(0.25, 0.05, 1));
    const auto slotted = solve_enclosure(in);
    ASSERT_TRUE(round && slotted);
    EXPECT_NEAR(response_at(*round, 20).port_velocity, 17.034, 5e-4);
    EXPECT_NEAR(response_at(*slotted, 20).port_velocity, 17.034 * 7853.98 / 12500, 5e-4);
    EXPECT_NEAR(response_at(*slotted, 20).port_velocity, 10.703, 5e-4);
}

namespace {

struct BadSlot {
    const char* name;
    SlotPort slot;
    Field field;
    Problem problem = Problem::out_of_range;
};

void PrintTo(const BadSlot& c, std::ostream* os) {
    *os << c.name;
}

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

const BadSlot bad_slots[] = {
    {"width_zero", slot(0, 0.05, 0), Field::slot_width},
    {"height_negative", slot(0.1, -0.05, 0), Field::slot_height},
    {"width_nan", slot(not_a_number, 0.05, 0), Field::slot_width},
    {"width_huge", slot(2.5, 0.05, 0), Field::slot_width},
    {"three_walls", slot(0.1, 0.05, 3), Field::slot_walls},
    {"walls_negative", slot(0.1, 0.05, -1), Field::slot_walls},
    {"no_slot", slot(0.1, 0.05, 0, 0, 0), Field::slot_count},
    {"round_over_negative", slot(0.1, 0.05, 0, -0.001), Field::slot_radius},
    {"round_over_beyond_height", slot(0.1, 0.05, 1, 0.0501), Field::slot_radius,
     Problem::round_over_beyond_slot},
    {"round_over_beyond_width", slot(0.02, 0.3, 2, 0.03), Field::slot_radius,
     Problem::round_over_beyond_slot},
};

class SlotValidation : public testing::TestWithParam<BadSlot> {};

TEST_P(SlotValidation, NamesTheInput) {
    const BadSlot& c = GetParam();
    for (const auto& got : {slot_length(c.slot, 0.06, 30), slot_tuning(c.slot, 0.06, 0.2)}) {
        ASSERT_FALSE(got);
        EXPECT_EQ(got.error().field, c.field);
        EXPECT_EQ(got.error().problem, c.problem);
    }
    if (c.problem == Problem::round_over_beyond_slot) {
        // The largest it takes: the smaller side.
        EXPECT_EQ(check_slot(c.slot)->value, std::min(c.slot.width_m, c.slot.height_m));
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, SlotValidation, testing::ValuesIn(bad_slots),
                         [](const testing::TestParamInfo<BadSlot>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

// The box and the question are checked as for round ports; a round-over of
// exactly the smaller side is taken.
TEST(SlotPort, BoxAndTuningCheckedAsForRoundPorts) {
    EXPECT_EQ(slot_length(slot(0.1, 0.05, 0), 0, 30).error().field, Field::vb);
    EXPECT_EQ(slot_length(slot(0.1, 0.05, 0), 0.06, not_a_number).error().field, Field::fb);
    EXPECT_EQ(slot_tuning(slot(0.1, 0.05, 0), 0.06, -1).error().field, Field::straight_length);
    EXPECT_EQ(slot_length(slot(0.1, 0.05, 0), 0.06, 30, 90).error().field, Field::temperature);
    EXPECT_TRUE(slot_length(slot(0.1, 0.05, 2, 0.05), 0.06, 30));
}

TEST(SlotPort, TuningForALengthRoundTripsAndStatesWhatCannotBe) {
    const SlotPort s = slot(0.25, 0.05, 1, 0.02, 2);
    const PortLength forward = length_of(s, 0.12, 28, 5);
    ASSERT_TRUE(forward.reachable);
    const auto back = slot_tuning(s, 0.12, forward.straight_length_m, 5);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->fb_hz, 28, 1e-9);
    EXPECT_NEAR(back->displaced_volume_m3, forward.displaced_volume_m3, 1e-15);

    // A small rounded slot in a small box tuned high: its ends alone are too heavy.
    const PortLength heavy = length_of(slot(0.01, 0.01, 0, 0.01), 0.01, 300);
    EXPECT_EQ(heavy.fit, PortFit::flares_too_heavy);
    EXPECT_EQ(heavy.straight_length_m, 0);
    EXPECT_LT(heavy.max_fb_hz, 300);
    // The widest slot in the largest box tuned lowest: beyond 100 m.
    const PortLength long_one = length_of(slot(2, 2, 0), 100, 1);
    EXPECT_EQ(long_one.fit, PortFit::too_long);
    EXPECT_EQ(long_one.straight_length_m, 100);
}

TEST(SlotPort, ExtremeCornersStayFinite) {
    for (int bits = 0; bits < (1 << 8); ++bits) {
        const auto pick = [bits](int bit, Range r) { return (bits >> bit) & 1 ? r.high : r.low; };
        for (int walls = 0; walls <= 2; ++walls) {
            SlotPort s = slot(pick(0, limits::slot_side_m), pick(1, limits::slot_side_m), walls);
            s.radius_m = (bits >> 2) & 1 ? std::min(s.width_m, s.height_m) : 0;
            s.count = (bits >> 3) & 1 ? limits::max_slot_count : 1;
            const double vb = pick(4, limits::vb_m3);
            const double fb = pick(5, limits::fb_hz);
            const double t = pick(6, limits::temperature_c);
            const double length = pick(7, limits::straight_length_m);
            for (const auto& got : {slot_length(s, vb, fb, t), slot_tuning(s, vb, length, t)}) {
                ASSERT_TRUE(got) << bits;
                for (double v :
                     {got->straight_length_m, got->overall_length_m, got->fb_hz, got->max_fb_hz,
                      got->masses.total(), got->displaced_volume_m3, got->pipe_resonance_hz}) {
                    ASSERT_TRUE(std::isfinite(v) && v >= 0) << bits << " " << walls << ": " << v;
                }
            }
        }
    }
}
