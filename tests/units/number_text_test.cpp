#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>

using venturon::number_text;
using venturon::text_value;

TEST(TextValue, ReadsTheLeadingNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},    {"abc", 0},        {"150", 150},   {"150abc", 150}, {"-150", -150},
        {"+5", 5},  {" 1 2.5", 12.5},  {"\t7\n", 7},   {"1.5.3", 1.5},  {".5", 0.5},
        {"5.", 5},  {"-.25", -0.25},   {"1e3", 1000},  {"1E-2", 0.01},  {"2e", 2},
        {"2e+", 2}, {"e5", 0},         {".", 0},       {"-", 0},        {"0x10", 0},
        {"1,5", 1}, {"- 3", -3},       {"1 e 2", 100}, {"+-5", 0},      {"12'6", 12},
        {"\r5", 0}, {"1e999", 0},      {"-1e999", 0},  {"1e-400", 0},   {"NaN", 0},
        {"inf", 0}, {" 165.1", 165.1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_value(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(TextValue, IsFiniteForHugeAndTinyNumbers) {
    EXPECT_EQ(text_value(std::string(400, '9') + "e-400"), 1);
    EXPECT_TRUE(std::isfinite(text_value(std::string(400, '9'))));
    EXPECT_EQ(text_value(std::string(400, '9')), 0); // beyond a double: reads as 0
    EXPECT_GT(text_value("1e-320"), 0);              // subnormal but finite
    EXPECT_EQ(text_value("1e99999999999999999999"), 0);
}

TEST(NumberText, WritesDocumentedForms) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, " 0"},
        {-0.0, " 0"},
        {100, " 100"},
        {-3, "-3"},
        {0.5, " 0.5"},
        {-0.25, "-0.25"},
        {165.1, " 165.1"},
        {2095.5, " 2095.5"},
        {76.2, " 76.2"},
        {3 * 25.4, " 76.2"},
        {1.0 / 3, " 0.333333333333333"},
        {1e15, " 1e+15"},
        {123456789012345, " 123456789012345"},
        {0.001, " 0.001"},
        {1e-20, " 0.00000000000000000001"},
        {1e-21, " 1e-21"},
        {-2.5e300, "-2.5e+300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text(c.value), c.text) << c.value;
    }
}

TEST(NumberText, NeverWritesNanOrInfinity) {
    EXPECT_EQ(number_text(std::numeric_limits<double>::quiet_NaN()), " 0");
    EXPECT_EQ(number_text(std::numeric_limits<double>::infinity()), " 1.79769313486231e+308");
    EXPECT_EQ(number_text(-std::numeric_limits<double>::infinity()), "-1.79769313486231e+308");
    // The largest doubles are written so that they read back as numbers, not as 0.
    EXPECT_EQ(text_value(number_text(std::numeric_limits<double>::infinity())),
              1.79769313486231e308);
    EXPECT_EQ(text_value(number_text(std::numeric_limits<double>::max())), 1.79769313486231e308);
}

// text_value(number_text(x)) gives x back to 15 significant digits.
TEST(NumberText, RoundTripsTo15SignificantDigits) {
    std::mt19937_64 random(2026);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 307);
    for (int i = 0; i < 20000; ++i) {
        const double x = (i % 2 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random));
        if (!std::isfinite(x)) {
            continue;
        }
        const double back = text_value(number_text(x));
        char expected[32];
        char got[32];
        std::snprintf(expected, sizeof expected, "%.14e", x);
        std::snprintf(got, sizeof got, "%.14e", back);
        ASSERT_STREQ(expected, got) << number_text(x);
    }
}

// A text is one complete number only when nothing but blanks surrounds it.
TEST(CompleteNumber, WholeTextsOnly) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {" 10", 10}, {"7.25", 7.25}, {"  8\t", 8},  {"-5", -5},     {"+3", 3},     {".5", 0.5},
        {"1e1", 10}, {"1E-2", 0.01}, {"12,5", {}},  {"1,500", {}},  {"6 1/2", {}}, {"1 0", {}},
        {"7x", {}},  {"1e", {}},     {"1e-", {}},   {"", {}},       {"  ", {}},    {"abc", {}},
        {"-", {}},   {".", {}},      {"1e400", {}}, {"1e-400", {}}, {"1..2", {}},  {"--1", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(venturon::complete_number(c.text), c.value) << '"' << c.text << '"';
    }
}

// Numbers that text_value reads as 0 because no double holds them: too large
// ones are told apart from too small ones.
TEST(BeyondDouble, TooLargeOnly) {
    const std::string digits400(400, '9');
    const struct {
        std::string text;
        bool beyond;
    } cases[] = {
        {"1e308", false},
        {"1.7976931348623157e308", false},
        {"1.8e308", true},
        {"-1e309", true},
        {"1e400 mm", true},
        {"0.0001e313", true},
        {"1e-400", false},
        {"0." + std::string(400, '0') + "1", false},
        {digits400, true},
        {digits400 + ".5", true},
        {"1e99999999999999999999", true},
        {"1e-99999999999999999999", false},
        {"12", false},
        {"abc", false},
        {"0e999", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(venturon::beyond_double(c.text), c.beyond) << c.text.substr(0, 40);
    }
}
