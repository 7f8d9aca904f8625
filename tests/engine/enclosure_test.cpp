#include "enclosure.h"
#include "vector_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

using namespace venturon;

namespace {

constexpr double pi = std::numbers::pi;
using Complex = std::complex<double>;

// A 12-inch subwoofer driver in 60 L tuned to 30 Hz, one 100 mm port, 100 W.
EnclosureInput subwoofer() {
    EnclosureInput in;
    in.driver = {.fs_hz = 25,
                 .qes = 0.45,
                 .qms = 5,
                 .vas_m3 = 0.1,
                 .sd_m2 = 0.05,
                 .re_ohm = 3.6,
                 .xmax_m = 0.012};
    in.box.vb_m3 = 0.06;
    in.box.fb_hz = 30;
    in.drive = Drive::power_w(100);
    in.port = {0.1, 1};
    return in;
}

// Fourth-order Butterworth: Qts 0.3827, Vas/Vb = 1.4142, Fb = Fs, no losses and no
// inductance. Qts is given with Qms, so Qes is derived.
EnclosureInput butterworth() {
    EnclosureInput in;
    in.driver = {
        .fs_hz = 30, .qms = 8, .qts = 0.3827, .vas_m3 = 0.1 * 1.4142, .sd_m2 = 0.03, .re_ohm = 6};
    in.box.vb_m3 = 0.1;
    in.box.fb_hz = 30;
    in.box.ql = std::nullopt;
    in.drive = Drive::voltage_rms(2.83);
    in.port = {0.08, 1};
    return in;
}

SolvedEnclosure solved(const EnclosureInput& in) {
    const auto m = solve_enclosure(in);
    EXPECT_TRUE(m) << static_cast<int>(m.error().field);
    return *m;
}

double relative(Complex got, Complex want) {
    return std::abs(got - want) / std::abs(want);
}

} // namespace

TEST(Air, PropertiesFromTemperature) {
    const struct {
        double t;
        double c;
        double rho;
        double used_t;
    } cases[] = {
        {20, 343.2146, 1.204118, 20},
        {0, 331.3, 1.292284, 0},
        {-60, 299.4465, 1.581839, -50}, // clamped to -50
        {500, 365.8817, 1.059545, 60},  // clamped to 60
        {std::numeric_limits<double>::quiet_NaN(), 343.2146, 1.204118, 20},
    };
    for (const auto& c : cases) {
        const AirProperties air = air_properties(c.t);
        EXPECT_NEAR(air.speed_of_sound, c.c, 1e-4) << c.t;
        EXPECT_NEAR(air.density, c.rho, 1e-6) << c.t;
        EXPECT_EQ(air.temperature_c, c.used_t) << c.t;
    }
}

// The hand-worked example:
//   20 C: c = 331.3 sqrt(1 + 20/273.15) = 343.215 m/s; rho = 101325/(287.05 * 293.15)
//         = 1.20412 kg/m^3; rho c^2 = 141840.7 Pa
//   Cms = Vas/(rho c^2 Sd^2) = 0.1/(141840.7 * 0.0025) = 2.8201e-4 m/N
//   ws = 2 pi 25 = 157.080; Mms = 1/(ws^2 Cms) = 1/(24674.0 * 2.8201e-4) = 0.143715 kg
//   Rms = ws Mms/Qms = 157.080 * 0.143715/5 = 4.5149 N s/m
//   Bl^2 = ws Mms Re/Qes = 157.080 * 0.143715 * 3.6/0.45 = 180.597; Bl = 13.4386 T m
//   CAB = Vb/(rho c^2) = 0.06/141840.7 = 4.2301e-7 m^5/N
//   wb = 2 pi 30 = 188.496; MAP = 1/(wb^2 CAB) = 1/(35530.6 * 4.2301e-7) = 66.535 kg/m^4
//   RAL = QL/(wb CAB) = 7/(188.496 * 4.2301e-7) = 87790 N s/m^5
//   100 W into 3.6 ohm: 18.974 V RMS, 26.833 V peak
TEST(Enclosure, HandWorkedSubwoofer) {
    const SolvedEnclosure m = solved(subwoofer());
    EXPECT_NEAR(m.driver.qts, 0.412844, 1e-6);
    EXPECT_NEAR(m.cms, 2.8201e-4, 1e-4 * 2.8201e-4);
    EXPECT_NEAR(m.mms, 0.143715, 1e-4 * 0.143715);
    EXPECT_NEAR(m.rms, 4.5149, 1e-4 * 4.5149);
    EXPECT_NEAR(m.bl, 13.4386, 1e-4 * 13.4386);
    EXPECT_NEAR(m.cab, 4.2301e-7, 1e-4 * 4.2301e-7);
    EXPECT_NEAR(m.map, 66.535, 1e-4 * 66.535);
    EXPECT_NEAR(1 / m.gal, 87790, 1e-4 * 87790);
    EXPECT_NEAR(m.e_peak, 26.833, 1e-3);
    EXPECT_EQ(m.rab, 0);
    EXPECT_EQ(m.rap, 0);

    // At 30 Hz = Fb the compliance and port branches cancel: the box is RAL alone.
    //   Zm = Rms + j(wb Mms - 1/(wb Cms)) = 4.515 + j(27.090 - 18.812) = 4.515 + 8.278j
    //   per cone: Bl^2/Re = 50.166, Sd^2 RAL = 0.0025 * 87790 = 219.476
    //   u = (Bl e/Re)/(Zm + Bl^2/Re + Sd^2 RAL) = 100.166/(274.157 + 8.278j)
    //     |u| = 100.166/274.282 = 0.36519 m/s; excursion 0.36519/188.496 = 1.9374 mm
    //   port: |U_P| = Sd |u| RAL/(wb MAP) = Sd |u| QL = 0.05 * 0.36519 * 7 = 0.127817 m^3/s
    //     over pi 0.05^2 = 7.8540e-3 m^2: 16.274 m/s
    //   radiated |U_0| = |p| wb CAB = Sd |u| QL as well: rho wb 0.127817/(2 pi) = 4.6173 Pa
    //     peak, 3.2649 Pa RMS, 104.257 dB
    //   Zin = Re + Bl^2/(Zm + Sd^2 RAL) = 3.6 + 180.597 (223.991 - 8.278j)/50240.5
    //       = 4.4052 - 0.02975j ohm
    const ResponsePoint at_fb = response_at(m, 30);
    EXPECT_EQ(at_fb.frequency_hz, 30);
    EXPECT_NEAR(at_fb.excursion_m, 1.9374e-3, 1e-4 * 1.9374e-3);
    EXPECT_NEAR(at_fb.excursion_ratio, 1.9374 / 12, 1e-4);
    EXPECT_NEAR(at_fb.port_velocity, 16.274, 1e-4 * 16.274);
    EXPECT_NEAR(at_fb.spl_db, 104.257, 1e-3);
    EXPECT_NEAR(at_fb.impedance.real(), 4.4052, 1e-4);
    EXPECT_NEAR(at_fb.impedance.imag(), -0.02975, 1e-5);
    EXPECT_NEAR(at_fb.impedance_magnitude, 4.4053, 1e-4);

    // Passband: rho Sd Bl e/(2 pi Re Mms) = 1.20412 * 0.05 * 13.4386 * 26.833
    //   /(2 pi * 3.6 * 0.143715) = 6.6788 Pa peak, 4.7226 Pa RMS, 107.463 dB
    EXPECT_NEAR(passband_spl_db(m), 107.463, 1e-3);
}

// A lossless fourth-order Butterworth alignment is a high-pass of corner Fs:
// |H|^2 = x^8/(1 + x^8), x = f/Fs, so -3.01 dB at Fs.
TEST(Enclosure, ButterworthAlignmentResponse) {
    const SolvedEnclosure m = solved(butterworth());
    EXPECT_NEAR(m.driver.qts, 0.3827, 1e-12);
    EXPECT_EQ(m.gal, 0);
    const double passband = passband_spl_db(m);
    EXPECT_NEAR(response_at(m, 30).spl_db - passband, -3.0103, 0.02);
    for (double f : {10.0, 15.0, 24.0, 36.0, 60.0, 300.0}) {
        const double x8 = std::pow(f / 30, 8);
        EXPECT_NEAR(response_at(m, f).spl_db - passband, 10 * std::log10(x8 / (1 + x8)), 0.02) << f;
    }
}

TEST(Enclosure, LosslessPortFollowsTheCone) {
    const SolvedEnclosure m = solved(butterworth());
    for (double f : {5.0, 12.0, 29.0, 31.0, 47.0, 150.0}) {
        const ResponsePoint r = response_at(m, f);
        const Complex want = 30.0 * 30.0 / (30.0 * 30.0 - f * f);
        EXPECT_LT(relative(r.port_volume_velocity / r.cone_volume_velocity, want), 1e-9) << f;
    }
    // So the cones stand still at Fb and the excursion dips there.
    const auto curve = response_curve(m, 20, 45, 2001);
    ASSERT_TRUE(curve);
    const auto lowest = std::min_element(curve->begin(), curve->end(), [](auto& a, auto& b) {
        return a.excursion_m < b.excursion_m;
    });
    const double step = std::log(45.0 / 20) / 2000;
    EXPECT_NEAR(std::log(lowest->frequency_hz / 30), 0, step);
    EXPECT_LT(response_at(m, 30).excursion_m, 1e-9 * response_at(m, 24).excursion_m);
    EXPECT_GT(response_at(m, 30).port_velocity, 1);
}

TEST(Enclosure, VolumeVelocitiesBalanceAtTheBoxWithLosses) {
    EnclosureInput in = butterworth();
    in.box.ql = 7;
    in.box.qa = 30;
    in.box.qp = 50;
    in.driver.le_h = 1.5e-3;
    const SolvedEnclosure m = solved(in);
    ASSERT_GT(m.gal, 0);
    ASSERT_GT(m.rab, 0);
    ASSERT_GT(m.rap, 0);
    for (double f : {3.0, 18.0, 30.0, 44.0, 200.0, 5000.0}) {
        const ResponsePoint r = response_at(m, f);
        const double w = 2 * pi * f;
        const Complex p = r.box_pressure;
        const Complex compliance = p / (m.rab + 1.0 / Complex{0, w * m.cab});
        const Complex leak = p * m.gal;
        const Complex into_box = compliance + leak + r.port_volume_velocity;
        EXPECT_LT(relative(into_box, r.cone_volume_velocity), 1e-12) << f;
        // What leaves the box through port and leak, less what the cones take in.
        const Complex radiated = r.port_volume_velocity + leak - r.cone_volume_velocity;
        const double pressure = 1.2041183163746156 * w * std::abs(radiated) / (2 * pi);
        EXPECT_NEAR(r.spl_db, 20 * std::log10(pressure / std::sqrt(2) / 20e-6), 1e-9) << f;
    }
}

// Each loss, alone in the box, shows its Q at Fb, read from the flows and the box
// pressure: QL = RAL wb CAB, QA = 1/(wb CAB RAB), QP = 1/(wb CAB RAP).
TEST(Enclosure, EachLossHasItsQAtFb) {
    const double wb = 2 * pi * 30;
    const AirProperties air = air_properties(20);
    const double cab = 0.1 / (air.density * air.speed_of_sound * air.speed_of_sound);
    const struct {
        const char* loss;
        double ql;
        double qa;
        double qp;
    } cases[] = {{"leakage", 7, 0, 0}, {"absorption", 0, 30, 0}, {"port", 0, 0, 50}};
    const auto given = [](double q) { return q > 0 ? std::optional<double>{q} : std::nullopt; };
    for (const auto& c : cases) {
        EnclosureInput in = butterworth();
        in.box.ql = given(c.ql);
        in.box.qa = given(c.qa);
        in.box.qp = given(c.qp);
        const ResponsePoint r = response_at(solved(in), 30);
        const Complex p = r.box_pressure;
        const Complex compliance = r.cone_volume_velocity - r.port_volume_velocity; // no leak
        if (c.ql > 0) {
            // The compliance and the port cancel: the cones see RAL alone.
            const Complex ral = p / r.cone_volume_velocity;
            EXPECT_NEAR(ral.real() * wb * cab, c.ql, 1e-9) << c.loss;
            EXPECT_NEAR(ral.imag() / ral.real(), 0, 1e-9) << c.loss;
        } else if (c.qa > 0) {
            const Complex z = p / compliance; // RAB - j/(wb CAB)
            EXPECT_NEAR(-z.imag() * wb * cab, 1, 1e-9) << c.loss;
            EXPECT_NEAR(-z.imag() / z.real(), c.qa, 1e-9) << c.loss;
        } else {
            const Complex z = p / r.port_volume_velocity; // RAP + j wb MAP
            EXPECT_NEAR(z.imag() * wb * cab, 1, 1e-9) << c.loss;
            EXPECT_NEAR(z.imag() / z.real(), c.qp, 1e-9) << c.loss;
        }
    }
}

// The voice-coil inductance in series with Re: far above resonance it sets the
// impedance and divides the drive by |Re + jwLe|/Re.
TEST(Enclosure, VoiceCoilInductance) {
    EnclosureInput in = subwoofer();
    const SolvedEnclosure plain = solved(in);
    in.driver.le_h = 1e-3;
    const SolvedEnclosure coil = solved(in);
    for (double f : {10000.0, 20000.0}) {
        const Complex ze{3.6, 2 * pi * f * 1e-3};
        const ResponsePoint r = response_at(coil, f);
        EXPECT_NEAR(r.impedance_magnitude / std::abs(ze), 1, 1e-3) << f;
        EXPECT_NEAR(r.spl_db - response_at(plain, f).spl_db, 20 * std::log10(3.6 / std::abs(ze)),
                    0.01)
            << f;
    }
    EXPECT_EQ(passband_spl_db(coil), passband_spl_db(plain));
}

// Two drivers in twice the box with twice the port area, at the same voltage per
// driver, do what one driver does in the single box.
TEST(Enclosure, ParallelDriversScale) {
    const struct {
        const char* drive;
        Drive one;
        Drive two;
    } drives[] = {
        {"voltage", Drive::voltage_rms(20), Drive::voltage_rms(20)},
        {"power", Drive::power_w(100), Drive::power_w(200)}, // same voltage: P Re/N
    };
    for (const auto& d : drives) {
        EnclosureInput single = subwoofer();
        single.box.qa = 30;
        single.box.qp = 50;
        single.driver.le_h = 2e-3;
        single.drive = d.one;
        EnclosureInput pair = single;
        pair.driver.count = 2;
        pair.box.vb_m3 *= 2;
        pair.port.count = 2;
        pair.drive = d.two;
        const SolvedEnclosure m1 = solved(single);
        const SolvedEnclosure m2 = solved(pair);
        for (double f : {8.0, 25.0, 30.0, 41.0, 120.0}) {
            const ResponsePoint a = response_at(m1, f);
            const ResponsePoint b = response_at(m2, f);
            EXPECT_NEAR(b.excursion_m / a.excursion_m, 1, 1e-12) << d.drive << f;
            EXPECT_NEAR(b.port_velocity / a.port_velocity, 1, 1e-12) << d.drive << f;
            EXPECT_LT(relative(b.impedance, a.impedance / 2.0), 1e-12) << d.drive << f;
            EXPECT_NEAR(b.spl_db - a.spl_db, 20 * std::log10(2.0), 1e-9) << d.drive << f;
        }
    }
}

// The model is linear: the level moves with 10 log10 of the power, at every
// frequency and in the passband, over the whole range of drives.
TEST(Enclosure, LevelFollowsTheDrive) {
    EnclosureInput in = subwoofer();
    in.drive = Drive::power_w(1);
    const SolvedEnclosure one_watt = solved(in);
    for (double watts : {1e-3, 0.07, 0.7, 3.0, 1234.5, 1e5}) {
        in.drive = Drive::power_w(watts);
        const SolvedEnclosure m = solved(in);
        const double gain = 10 * std::log10(watts);
        EXPECT_NEAR(passband_spl_db(m) - passband_spl_db(one_watt), gain, 1e-9) << watts;
        for (double f : {0.1, 9.0, 30.0, 77.7, 1e5}) {
            EXPECT_NEAR(response_at(m, f).spl_db - response_at(one_watt, f).spl_db, gain, 1e-9)
                << watts << " W at " << f;
        }
    }
    // 2.83 V into 3.6 ohm is 2.2247 W.
    in.drive = Drive::voltage_rms(2.83);
    EXPECT_NEAR(passband_spl_db(solved(in)) - passband_spl_db(one_watt),
                10 * std::log10(2.83 * 2.83 / 3.6), 1e-9);
}

TEST(Enclosure, QualityFactorsFromAnyTwo) {
    const struct {
        double qes;
        double qms;
        double qts;
    } cases[] = {
        {0.45, 5, 0},
        {0.45, 0, 0.412844},
        {0, 5, 0.412844},
        {0.45, 5, 0.41}, // rounded datasheet Qts, within tolerance
    };
    for (const auto& c : cases) {
        EnclosureInput in = subwoofer();
        in.driver.qes = c.qes;
        in.driver.qms = c.qms;
        in.driver.qts = c.qts;
        const SolvedEnclosure m = solved(in);
        EXPECT_NEAR(m.driver.qes, 0.45, 1e-6) << c.qes << " " << c.qms << " " << c.qts;
        EXPECT_NEAR(m.driver.qms, 5, 1e-4) << c.qes << " " << c.qms << " " << c.qts;
        EXPECT_NEAR(m.driver.qts, 0.412844, 1e-6) << c.qes << " " << c.qms << " " << c.qts;
    }
}

TEST(Enclosure, CurveIsLogSpacedAndIncludesBothEnds) {
    const SolvedEnclosure m = solved(subwoofer());
    const auto curve = response_curve(m, 10, 200, 400);
    ASSERT_TRUE(curve);
    ASSERT_EQ(curve->size(), 400u);
    EXPECT_EQ(curve->front().frequency_hz, 10);
    EXPECT_EQ(curve->back().frequency_hz, 200);
    const double ratio = std::pow(20.0, 1.0 / 399);
    for (std::size_t i = 1; i < curve->size(); ++i) {
        EXPECT_NEAR((*curve)[i].frequency_hz / (*curve)[i - 1].frequency_hz, ratio, 1e-12) << i;
    }
    EXPECT_EQ((*curve)[123].spl_db, response_at(m, (*curve)[123].frequency_hz).spl_db);

    const auto single = response_curve(m, 40, 40, 1);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->front().frequency_hz, 40);
}

TEST(Enclosure, FrequenciesOutsideTheRangeAreClamped) {
    const SolvedEnclosure m = solved(subwoofer());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double asked;
        double used;
    } cases[] = {{0, 0.1}, {-5, 0.1}, {nan, 0.1}, {-inf, 0.1}, {inf, 1e5}, {3e5, 1e5}};
    for (const auto& c : cases) {
        const ResponsePoint r = response_at(m, c.asked);
        EXPECT_EQ(r.frequency_hz, c.used) << c.asked;
        EXPECT_TRUE(std::isfinite(r.spl_db) && std::isfinite(r.excursion_m)) << c.asked;
    }
}

namespace {

struct FieldCase {
    const char* name;
    std::function<void(EnclosureInput&)> change;
    Field field;
    Problem problem;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();
constexpr double infinite = std::numeric_limits<double>::infinity();

class EnclosureValidation : public testing::TestWithParam<FieldCase> {};

TEST_P(EnclosureValidation, NamesTheField) {
    EnclosureInput in = subwoofer();
    GetParam().change(in);
    const auto m = solve_enclosure(in);
    ASSERT_FALSE(m);
    EXPECT_EQ(static_cast<int>(m.error().field), static_cast<int>(GetParam().field));
    EXPECT_EQ(static_cast<int>(m.error().problem), static_cast<int>(GetParam().problem));
    EXPECT_EQ(m.error().scale, Scale::model);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fields, EnclosureValidation,
    testing::Values(
        FieldCase{"fs_zero", [](auto& in) { in.driver.fs_hz = 0; }, Field::fs, Problem::out_of_range},
        FieldCase{"fs_nan", [](auto& in) { in.driver.fs_hz = not_a_number; }, Field::fs, Problem::out_of_range},
        FieldCase{"fs_infinite", [](auto& in) { in.driver.fs_hz = infinite; }, Field::fs, Problem::out_of_range},
        FieldCase{"fs_tiny", [](auto& in) { in.driver.fs_hz = 0.5; }, Field::fs, Problem::out_of_range},
        FieldCase{"qes_negative", [](auto& in) { in.driver.qes = -0.4; }, Field::qes, Problem::out_of_range},
        FieldCase{"qms_nan", [](auto& in) { in.driver.qms = not_a_number; }, Field::qms, Problem::out_of_range},
        FieldCase{"qts_huge", [](auto& in) { in.driver.qts = 2000; }, Field::qts, Problem::out_of_range},
        FieldCase{"no_qes_or_qms", [](auto& in) { in.driver.qes = in.driver.qms = 0; in.driver.qts = 0.4; }, Field::qes, Problem::no_q},
        FieldCase{"qes_alone", [](auto& in) { in.driver.qms = 0; }, Field::qms, Problem::q_needs_other},
        FieldCase{"qms_alone", [](auto& in) { in.driver.qes = 0; }, Field::qes, Problem::q_needs_other},
        FieldCase{"qts_not_below_qes", [](auto& in) { in.driver.qms = 0; in.driver.qts = 0.45; }, Field::qts, Problem::qts_not_below},
        FieldCase{"qts_not_below_qms", [](auto& in) { in.driver.qes = 0; in.driver.qts = 6; }, Field::qts, Problem::qts_not_below},
        FieldCase{"qts_too_close", [](auto& in) { in.driver.qms = 0; in.driver.qts = 0.4499999; }, Field::qts, Problem::qts_too_close},
        FieldCase{"qts_disagrees", [](auto& in) { in.driver.qts = 0.3; }, Field::qts, Problem::qts_disagrees},
        FieldCase{"vas_zero", [](auto& in) { in.driver.vas_m3 = 0; }, Field::vas, Problem::out_of_range},
        FieldCase{"sd_huge", [](auto& in) { in.driver.sd_m2 = 3; }, Field::sd, Problem::out_of_range},
        FieldCase{"re_negative", [](auto& in) { in.driver.re_ohm = -4; }, Field::re, Problem::out_of_range},
        FieldCase{"xmax_negative", [](auto& in) { in.driver.xmax_m = -0.001; }, Field::xmax, Problem::out_of_range},
        FieldCase{"le_nan", [](auto& in) { in.driver.le_h = not_a_number; }, Field::le, Problem::out_of_range},
        FieldCase{"no_driver", [](auto& in) { in.driver.count = 0; }, Field::driver_count, Problem::out_of_range},
        FieldCase{"vb_zero", [](auto& in) { in.box.vb_m3 = 0; }, Field::vb, Problem::out_of_range},
        FieldCase{"vb_huge", [](auto& in) { in.box.vb_m3 = 101; }, Field::vb, Problem::out_of_range},
        FieldCase{"fb_negative", [](auto& in) { in.box.fb_hz = -30; }, Field::fb, Problem::out_of_range},
        FieldCase{"ql_zero", [](auto& in) { in.box.ql = 0; }, Field::ql, Problem::out_of_range},
        FieldCase{"qa_negative", [](auto& in) { in.box.qa = -1; }, Field::qa, Problem::out_of_range},
        FieldCase{"qp_infinite", [](auto& in) { in.box.qp = infinite; }, Field::qp, Problem::out_of_range},
        FieldCase{"power_zero", [](auto& in) { in.drive = Drive::power_w(0); }, Field::power, Problem::out_of_range},
        FieldCase{"power_huge", [](auto& in) { in.drive = Drive::power_w(2e5); }, Field::power, Problem::out_of_range},
        FieldCase{"voltage_nan", [](auto& in) { in.drive = Drive::voltage_rms(not_a_number); }, Field::voltage, Problem::out_of_range},
        FieldCase{"voltage_huge", [](auto& in) { in.drive = Drive::voltage_rms(2001); }, Field::voltage, Problem::out_of_range},
        FieldCase{"port_diameter_zero", [](auto& in) { in.port.diameter_m = 0; }, Field::port_diameter, Problem::out_of_range},
        FieldCase{"no_port", [](auto& in) { in.port.count = 0; }, Field::port_count, Problem::out_of_range},
        FieldCase{"temperature_low", [](auto& in) { in.temperature_c = -273.15; }, Field::temperature, Problem::out_of_range},
        FieldCase{"temperature_nan", [](auto& in) { in.temperature_c = not_a_number; }, Field::temperature, Problem::out_of_range}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });
// clang-format on

} // namespace

TEST(Enclosure, CurveBoundsAreChecked) {
    const SolvedEnclosure m = solved(subwoofer());
    const struct {
        double low;
        double high;
        int points;
        Field field;
    } cases[] = {
        {0, 200, 10, Field::low_frequency},   {10, not_a_number, 10, Field::high_frequency},
        {10, 2e5, 10, Field::high_frequency}, {200, 10, 10, Field::high_frequency},
        {10, 200, 0, Field::points},          {10, 200, 100001, Field::points},
    };
    for (const auto& c : cases) {
        const auto curve = response_curve(m, c.low, c.high, c.points);
        ASSERT_FALSE(curve) << c.low << " " << c.high << " " << c.points;
        EXPECT_EQ(curve.error().field, c.field) << c.low << " " << c.high << " " << c.points;
    }
}

// Every combination of the extremes of the accepted inputs gives finite numbers,
// from the lowest to the highest frequency.
TEST(Enclosure, ExtremeCornersStayFinite) {
    const Drive drives[] = {
        Drive::power_w(limits::power_w.low), Drive::power_w(limits::power_w.high),
        Drive::voltage_rms(limits::voltage_v.low), Drive::voltage_rms(limits::voltage_v.high)};
    const std::optional<double> losses[] = {std::nullopt, limits::q_box.low, limits::q_box.high};
    int solved_count = 0;
    for (int bits = 0; bits < (1 << 13); ++bits) {
        const auto pick = [bits](int bit, Range r) { return (bits >> bit) & 1 ? r.high : r.low; };
        EnclosureInput in;
        in.driver = {.fs_hz = pick(0, limits::fs_hz),
                     .qes = pick(1, limits::q_driver),
                     .qms = pick(2, limits::q_driver),
                     .vas_m3 = pick(3, limits::vas_m3),
                     .sd_m2 = pick(4, limits::sd_m2),
                     .re_ohm = pick(5, limits::re_ohm),
                     .xmax_m = limits::xmax_m.high,
                     .le_h = pick(6, limits::le_h),
                     .count = (bits >> 7) & 1 ? limits::max_driver_count : 1};
        in.box.vb_m3 = pick(8, limits::vb_m3);
        in.box.fb_hz = pick(9, limits::fb_hz);
        in.port = {pick(10, limits::port_diameter_m),
                   (bits >> 11) & 1 ? limits::max_port_count : 1};
        in.temperature_c = pick(12, limits::temperature_c);
        for (const auto& loss : losses) {
            in.box.ql = in.box.qa = in.box.qp = loss;
            for (const Drive& drive : drives) {
                in.drive = drive;
                const auto m = solve_enclosure(in);
                ASSERT_TRUE(m) << bits << ": " << static_cast<int>(m.error().field);
                ++solved_count;
                ASSERT_TRUE(std::isfinite(passband_spl_db(*m))) << bits;
                for (double f : {0.1, m->box.fb_hz, 1e5}) {
                    const ResponsePoint r = response_at(*m, f);
                    const bool finite =
                        std::isfinite(r.port_velocity) && std::isfinite(r.excursion_m) &&
                        std::isfinite(r.excursion_ratio) && std::isfinite(r.spl_db) &&
                        std::isfinite(r.impedance_magnitude) && r.impedance_magnitude > 0 &&
                        std::isfinite(std::abs(r.cone_volume_velocity)) &&
                        std::isfinite(std::abs(r.port_volume_velocity)) &&
                        std::isfinite(std::abs(r.box_pressure));
                    ASSERT_TRUE(finite) << bits << " at " << f << " Hz";
                }
            }
        }
    }
    EXPECT_EQ(solved_count, (1 << 13) * 3 * 4);
}

// F3 of the fourth-order Butterworth alignment (B4): Qts 0.3827, Vb = Vas / 1.414
// and Fb = Fs give a fourth-order Butterworth high pass at Fs when the box and the
// driver lose nothing, -3.01 dB at Fs itself.
TEST(F3, FourthOrderButterworthAlignmentAtFs) {
    EnclosureInput in;
    in.driver = {
        .fs_hz = 30, .qes = 0.3827, .qms = 1000, .vas_m3 = 0.1, .sd_m2 = 0.05, .re_ohm = 4};
    in.box.vb_m3 = 0.1 / 1.41421356;
    in.box.fb_hz = 30;
    in.box.ql.reset(); // no leakage
    in.drive = Drive::voltage_rms(2.83);
    in.port = {0.1, 1};
    const auto model = solve_enclosure(in);
    ASSERT_TRUE(model);
    const auto f3 = f3_hz(*model);
    ASSERT_TRUE(f3);
    EXPECT_NEAR(*f3, 30, 0.3);
    EXPECT_NEAR(response_at(*model, 30).spl_db - passband_spl_db(*model), -3.01, 0.05);
}

// The group delay of the exact B4 alignment (Qts = 1/sqrt(4 + 2 sqrt 2), Vas = Vb
// sqrt 2, Fb = Fs, nothing lost, no inductance), whose sound pressure is the
// fourth-order Butterworth high-pass s^4 / D(s): the numerator adds no delay, and
// each pole -sigma + j w of D (unit circle, 22.5 and 67.5 degrees off the negative
// real axis) adds sigma / (sigma^2 + (1 - w)^2) at Fs, over omega0 = 2 pi Fs:
//   0.92388 / (0.85355 + 0.38108) + 0.92388 / (0.85355 + 1.91180)
//   + 0.38268 / (0.14645 + 0.00579) + 0.38268 / (0.14645 + 3.70131)
//   = 0.74830 + 0.33409 + 2.51368 + 0.09946 = 3.69552, / (2 pi 30) = 19.6053 ms.
TEST(GroupDelay, LosslessFourthOrderButterworthAtFs) {
    // With no inductance, the coil's damping and the suspension's add up in one
    // mechanical loop: only Qts counts, so Qms may carry a share of it.
    const double qts = 1 / std::sqrt(4 + 2 * std::numbers::sqrt2);
    EnclosureInput in = butterworth();
    in.driver.qms = 1000;
    in.driver.qes = in.driver.qms * qts / (in.driver.qms - qts);
    in.driver.qts = 0;
    in.driver.vas_m3 = 0.1 * std::numbers::sqrt2;
    const SolvedEnclosure m = solved(in);
    EXPECT_NEAR(m.driver.qts, qts, 1e-15);
    double sum = 0;
    for (double angle : {22.5, 67.5}) {
        const double sigma = std::cos(angle * pi / 180);
        const double w = std::sin(angle * pi / 180);
        sum += sigma / (sigma * sigma + (1 - w) * (1 - w)) +
               sigma / (sigma * sigma + (1 + w) * (1 + w));
    }
    EXPECT_NEAR(sum, 3.69552, 1e-5);
    EXPECT_NEAR(response_at(m, 30).group_delay_s, sum / (2 * pi * 30), 1e-9);
    EXPECT_NEAR(response_at(m, 30).group_delay_s, 19.6053e-3, 1e-6);
}

// The group delay is minus the slope of the pressure's phase: checked against the
// phase itself on the hand-worked subwoofer with every loss, the coil's inductance
// and a filter, at frequencies where the phase turns slowly and fast.
TEST(GroupDelay, SlopeOfThePhase) {
    EnclosureInput in = subwoofer();
    in.box.qa = 20;
    in.box.qp = 40;
    in.driver.le_h = 2e-3;
    in.highpass = {{FilterKind::bessel, 3, 18}};
    const SolvedEnclosure m = solved(in);
    for (double f : {12.0, 24.0, 30.0, 41.0, 150.0}) {
        const ResponsePoint p = response_at(m, f);
        const double h = f * 1e-5;
        const ResponsePoint a = response_at(m, f - h);
        const ResponsePoint b = response_at(m, f + h);
        // Radiated flow = port + leak - cones; with the pressure's s and the same
        // phase reference, arg differences need no unwrapping over so short a step.
        const auto radiated = [&](const ResponsePoint& r) {
            const double w = 2 * pi * r.frequency_hz;
            const Complex leak = r.box_pressure * m.gal;
            return Complex{0, w} * (r.port_volume_velocity + leak - r.cone_volume_velocity);
        };
        const double slope = std::arg(radiated(b) / radiated(a)) / (2 * pi * 2 * h);
        EXPECT_NEAR(p.group_delay_s, -slope, 1e-7 + 1e-6 * std::fabs(slope)) << f;
    }
}

// Every output but the impedance follows the filtered voltage: a second-order
// Butterworth at 20 Hz has |H| = x^2 / sqrt((1 - x^2)^2 + 2 x^2) at x = f / 20,
// 0.25 / sqrt(0.5625 + 0.5) = 0.242536 at 10 Hz, -12.305 dB.
TEST(HighPassDrive, OutputsFollowTheFilteredVoltage) {
    EnclosureInput in = subwoofer();
    const SolvedEnclosure plain = solved(in);
    in.highpass = {{FilterKind::butterworth, 2, 20}};
    const SolvedEnclosure filtered = solved(in);
    const ResponsePoint a = response_at(plain, 10);
    const ResponsePoint b = response_at(filtered, 10);
    EXPECT_NEAR(std::abs(b.filter), 0.242536, 1e-6);
    EXPECT_NEAR(b.filter_db, -12.305, 1e-3);
    EXPECT_NEAR(b.excursion_m / a.excursion_m, 0.242536, 1e-6);
    EXPECT_NEAR(b.excursion_m / a.excursion_m, std::abs(b.filter), 1e-12);
    EXPECT_NEAR(b.port_velocity / a.port_velocity, std::abs(b.filter), 1e-12);
    EXPECT_NEAR(b.spl_db - a.spl_db, b.filter_db, 1e-9);
    EXPECT_NEAR(b.spl_unfiltered_db, a.spl_db, 1e-9);
    EXPECT_EQ(b.impedance, a.impedance);
    EXPECT_EQ(a.spl_unfiltered_db, a.spl_db);

    // F3 follows the filtered response; the unfiltered one stays the box's.
    in.highpass = {{FilterKind::butterworth, 8, 60}};
    const SolvedEnclosure steep = solved(in);
    ASSERT_TRUE(f3_hz(plain));
    EXPECT_NEAR(*f3_hz(steep, Filtering::unfiltered), *f3_hz(plain), 1e-9);
    const auto f3 = f3_hz(steep);
    ASSERT_TRUE(f3);
    EXPECT_NEAR(response_at(steep, *f3).spl_db, passband_spl_db(steep) - 3, 1e-6);
    EXPECT_GT(*f3, 50); // the filter's, far above the box's 30 Hz
}

// The processor is asked directly, not through the compiler's start-up check; both
// must agree, or a curve would run an instruction the processor lacks.
TEST(VectorState, AvxAgreesWithTheCompilersCheck) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    EXPECT_EQ(avx_usable(), __builtin_cpu_supports("avx") != 0);
#else
    EXPECT_FALSE(avx_usable());
#endif
    clear_vector_state(); // harmless either way
}
