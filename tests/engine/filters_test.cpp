// The high-pass filters against their textbook figures, and their one grammar.
#include "filters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace venturon;

namespace {

using Complex = std::complex<double>;

constexpr double half_power_db = -3.0102999566398120; // 10 log10(1/2)
constexpr double octave_db = 6.0205999132796239;      // 20 log10(2)

double db(Complex gain) {
    return 20 * std::log10(std::abs(gain));
}

Complex gain(FilterKind kind, int order, double f0, double f, double q = 0.7071067811865476) {
    return filter_response({kind, order, f0, q}, f).gain;
}

} // namespace

// Every Butterworth order is 3.01 dB down at its frequency and falls 6n dB per
// octave far below it; Linkwitz-Riley is 6.02 dB down there (two halves of -3.01).
TEST(HighPass, LevelsAtAndFarBelowTheFrequency) {
    const struct {
        FilterKind kind;
        int order;
        double at_f0_db;
    } cases[] = {
        {FilterKind::butterworth, 1, half_power_db},
        {FilterKind::butterworth, 2, half_power_db},
        {FilterKind::butterworth, 3, half_power_db},
        {FilterKind::butterworth, 4, half_power_db},
        {FilterKind::butterworth, 5, half_power_db},
        {FilterKind::butterworth, 6, half_power_db},
        {FilterKind::butterworth, 7, half_power_db},
        {FilterKind::butterworth, 8, half_power_db},
        {FilterKind::linkwitz_riley, 2, 2 * half_power_db},
        {FilterKind::linkwitz_riley, 4, 2 * half_power_db},
        {FilterKind::linkwitz_riley, 8, 2 * half_power_db},
        {FilterKind::bessel, 2, half_power_db},
        {FilterKind::bessel, 3, half_power_db},
        {FilterKind::bessel, 4, half_power_db},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(filter_text({c.kind, c.order, 25}));
        EXPECT_NEAR(db(gain(c.kind, c.order, 25, 25)), c.at_f0_db, 1e-9);
        // Three decades below, one octave more takes 6n dB.
        const double slope =
            db(gain(c.kind, c.order, 25, 0.025)) - db(gain(c.kind, c.order, 25, 0.0125));
        EXPECT_NEAR(slope, octave_db * c.order, 1e-3 * c.order);
        // Far above, nothing is taken away.
        EXPECT_NEAR(db(gain(c.kind, c.order, 25, 25000)), 0, 1e-3);
    }
}

// The Bessel prototype's -3 dB frequencies as the filter tables give them.
TEST(HighPass, BesselCutoffsFromThePolynomials) {
    EXPECT_NEAR(bessel_cutoff(2), 1.3617, 1e-4);
    EXPECT_NEAR(bessel_cutoff(3), 1.7557, 1e-4);
    EXPECT_NEAR(bessel_cutoff(4), 2.1139, 1e-4);
}

// LR4 is BW2 squared, LR8 BW4 squared, a Q 0.5 section LR2; stages in series
// multiply and their group delays add.
TEST(HighPass, EquivalentFiltersAndStagesInSeries) {
    for (double f : {3.0, 12.0, 20.0, 31.5, 200.0}) {
        SCOPED_TRACE(f);
        const Complex bw2 = gain(FilterKind::butterworth, 2, 20, f);
        const Complex bw4 = gain(FilterKind::butterworth, 4, 20, f);
        EXPECT_LT(std::abs(gain(FilterKind::linkwitz_riley, 4, 20, f) - bw2 * bw2), 1e-14);
        EXPECT_LT(std::abs(gain(FilterKind::linkwitz_riley, 8, 20, f) - bw4 * bw4), 1e-14);
        EXPECT_LT(std::abs(gain(FilterKind::second_order, 2, 20, f, 0.5) -
                           gain(FilterKind::linkwitz_riley, 2, 20, f)),
                  1e-14);

        const std::vector<FilterStage> stages{{FilterKind::butterworth, 4, 18},
                                              {FilterKind::linkwitz_riley, 4, 20},
                                              {FilterKind::bessel, 2, 15},
                                              {FilterKind::second_order, 2, 22, 0.7}};
        Complex product{1, 0};
        double delay = 0;
        for (const FilterStage& s : stages) {
            const FilterResponse r = filter_response(s, f);
            product *= r.gain;
            delay -= r.log_slope.real();
        }
        const FilterResponse chain = chain_response(stages, f);
        EXPECT_LT(std::abs(chain.gain - product), 1e-14 * std::max(1.0, std::abs(product)));
        EXPECT_NEAR(-chain.log_slope.real(), delay, 1e-15);
    }
    EXPECT_EQ(chain_response({}, 20).gain, Complex(1, 0));
}

// Group delay of a first-order high-pass: its phase is 90 deg - atan(f/f0), so
// tau = 1 / (omega0 (1 + (f/f0)^2)): at f0, 1 / (2 omega0).
TEST(HighPass, GroupDelayOfTheFirstOrder) {
    const double omega0 = 2 * std::numbers::pi * 40;
    for (const auto& [f, tau] : {std::pair{40.0, 1 / (2 * omega0)}, std::pair{20.0, 0.8 / omega0},
                                 std::pair{80.0, 0.2 / omega0}}) {
        EXPECT_NEAR(-filter_response({FilterKind::butterworth, 1, 40}, f).log_slope.real(), tau,
                    1e-12)
            << f;
    }
}

namespace {

struct GrammarCase {
    std::string text;
    std::optional<FilterStage> stage; // accepted as this
    Field field = Field::highpass_frequency;
    Problem problem = Problem::filter_syntax; // refused with this
};

} // namespace

TEST(HighPassGrammar, AcceptsAndRefuses) {
    const GrammarCase cases[] = {
        {"bw4@18", FilterStage{FilterKind::butterworth, 4, 18}},
        {"lr4@20", FilterStage{FilterKind::linkwitz_riley, 4, 20}},
        {"bessel2@15", FilterStage{FilterKind::bessel, 2, 15}},
        {"q0.7@22", FilterStage{FilterKind::second_order, 2, 22, 0.7}},
        {" BW4 @ 17.5 ", FilterStage{FilterKind::butterworth, 4, 17.5}},
        {"Bessel3@2e1", FilterStage{FilterKind::bessel, 3, 20}},
        {"Q 1.25 @ 30", FilterStage{FilterKind::second_order, 2, 30, 1.25}},
        {"LR8@1000", FilterStage{FilterKind::linkwitz_riley, 8, 1000}},
        {"bw1@1", FilterStage{FilterKind::butterworth, 1, 1}},
        {"q.5@20", FilterStage{FilterKind::second_order, 2, 20, 0.5}},
        {"", {}},
        {"bw4", {}},
        {"bw4@", {}},
        {"@20", {}},
        {"bw@20", {}},
        {"bw4.5@20", {}},
        {"cheb4@20", {}},
        {"bw4@20@30", {}},
        {"bw4@twenty", {}},
        {"bw4@nan", {}},
        {"bw4@inf", {}},
        {"bw-4@20", {}},
        {"q@20", {}},
        {"bw4@20Hz", {}},
        {"bw 4 @ 1,5", {}},
        {"bw0@20", {}, Field::butterworth_order, Problem::not_whole},
        {"bw9@20", {}, Field::butterworth_order, Problem::not_whole},
        {"lr3@20", {}, Field::linkwitz_riley_order, Problem::lr_order},
        {"lr6@20", {}, Field::linkwitz_riley_order, Problem::lr_order},
        {"lr1@20", {}, Field::linkwitz_riley_order, Problem::not_whole},
        {"bessel1@20", {}, Field::bessel_order, Problem::not_whole},
        {"bessel5@20", {}, Field::bessel_order, Problem::not_whole},
        {"q0.05@20", {}, Field::highpass_q, Problem::out_of_range},
        {"q21@20", {}, Field::highpass_q, Problem::out_of_range},
        {"bw4@0.5", {}, Field::highpass_frequency, Problem::out_of_range},
        {"bw4@1001", {}, Field::highpass_frequency, Problem::out_of_range},
        {"bw4@-20", {}, Field::highpass_frequency, Problem::out_of_range},
    };
    for (const GrammarCase& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        const auto parsed = parse_filter(c.text);
        ASSERT_EQ(static_cast<bool>(parsed), c.stage.has_value());
        if (c.stage) {
            EXPECT_EQ(*parsed, *c.stage);
            // Written back, it reads as itself.
            EXPECT_EQ(*parse_filter(filter_text(*parsed)), *parsed);
        } else {
            EXPECT_EQ(parsed.error().field, c.field);
            EXPECT_EQ(parsed.error().problem, c.problem);
        }
    }
    EXPECT_EQ(filter_text({FilterKind::second_order, 2, 22.5, 0.707}), "q0.707@22.5");
    EXPECT_EQ(filter_text({FilterKind::bessel, 3, 15}), "bessel3@15");
}

// More than four stages, or a bad one among them, names the stage.
TEST(HighPassGrammar, ChainsOfStages) {
    const FilterStage good{FilterKind::butterworth, 2, 20};
    EXPECT_FALSE(check_filters(std::vector<FilterStage>(4, good)));
    const auto five = check_filters(std::vector<FilterStage>(5, good));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->field, Field::highpass_count);
    const auto third = check_filters(
        std::vector<FilterStage>{good, good, {FilterKind::linkwitz_riley, 5, 20}, good});
    ASSERT_TRUE(third);
    EXPECT_EQ(third->item, 3);
    EXPECT_EQ(third->field, Field::linkwitz_riley_order);
}
