#include "imperial.h"
#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace venturon;

TEST(In2mm, ReadsFeetInchesAndFractions) {
    const struct {
        const char* text;
        double mm;
    } cases[] = {
        {"", 0},          {"   ", 0},         {"6' 10 1/2", 2095.5}, {"3 9\\16", 90.4875},
        {"1/4", 6.35},    {"5'6", 1676.4},    {"5'", 1524},          {"6  1/2", 165.1},
        {"6.25", 158.75}, {"61.25", 1555.75}, {"6", 152.4},          {".", 0},
        {"6 3/2", 190.5}, {"0", 0},           {"16/16", 25.4},       {" 6 1/2 ", 165.1},
        {"1 2.5", 317.5}, {"5' 6", 1676.4},   {"3", 76.2},           {"5' 6 1/2", 1689.1},
    };
    for (const auto& c : cases) {
        const auto r = in2mm(c.text);
        EXPECT_EQ(r.message, "") << '"' << c.text << '"';
        EXPECT_EQ(text_value(r.result), c.mm) << '"' << c.text << "\" gave " << r.result;
    }
    EXPECT_EQ(in2mm("").result, "0");
    EXPECT_EQ(in2mm("3").result, " 76.2"); // 15 significant digits, not 76.19999...
    EXPECT_EQ(in2mm("6.25").result, "158.75");
}

TEST(In2mm, NamesTheFirstRuleBroken) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"'5", "Foot symbol without any feet"},
        {"6x", "Invalid Character"},
        {"-6", "Invalid Character"},
        {"6\t1/2", "Invalid Character"},
        {"1.2.3", "More than one dot"},
        {"1/2/4", "More than one slash"},
        {"1/2\\4", "More than one slash"},
        {"5'6'", "More than one ' (foot) symbol"},
        {"1.5/2", "Fractions not allowed in decimal inches mode"},
        {"5'6.5", "Feet not allowed in decimal inches mode and vice versa"},
        {"/2", "slash not allowed at start of field"},
        {"2/", "slash not allowed at end of field"},
        {"/", "slash not allowed at end of field"},
        {"6 '", "Invalid feet"},
        {"05'", "Invalid feet"},
        {"05", "Invalid whole inches or spaces in fraction"},
        {"6 1 2", "Multiple spaces but no foot symbol   OR   spaces in fraction"},
        {"6 1/3", "Allowable fractions are 1/2 1/4 1/8 1/16"},
        {"6 02/4", "Invalid Upper fraction"},
        {"6 02/3", "Allowable fractions are 1/2 1/4 1/8 1/16"},
        {"1 /2", "Fraction not correctly specified or contains spaces"},
        {"5 6", "Fraction must contain a slash"},
        {"5' 6 1 2", "Fraction must contain a slash"},
        {"5' 6 /2 4", "Fraction not correctly specified or contains spaces"},
        {"5' 6 1 2/4", "Fraction cannot contain spaces"},
        {"1234567890123456", "Invalid whole inches or spaces in fraction"},
    };
    for (const auto& c : cases) {
        const auto r = in2mm(c.text);
        EXPECT_EQ(r.result, "ERR") << '"' << c.text << '"';
        EXPECT_EQ(r.message, c.message) << '"' << c.text << '"';
    }
}

TEST(Mm2in, RendersFeetInchesAndDecimalInches) {
    const struct {
        const char* mm;
        const char* feet_inches;
        const char* decimal;
    } cases[] = {
        {"165.1", "6 1/2", " 6.5"},
        {"165", "6 1/2", " 6.496"},
        {"2095.5", "6' 10 1/2", " 82.5"},
        {"90.4875", "3 9/16", " 3.5625"},
        {"150", "5 7/8", " 5.9055"},
        {"1524", "5' ", " 60"},
        {"203.2", "8", " 8"},
        {"304.5", "1' ", " 11.9881"},
        {"6.35", "1/4", " 0.25"},
        {"1", "1/16", " 0.0393"},
        {"0", "0", " 0"},
        {"", "0", "0"},
        {"76.2", "3", " 3"},
        {" 25.4 ", "1", " 1"},
        {"0.3", "0", " 0.0118"},
        {"24.6", "15/16", " 0.9685"},
    };
    for (const auto& c : cases) {
        const auto r = mm2in(c.mm);
        EXPECT_EQ(r.message, "") << c.mm;
        EXPECT_EQ(r.feet_inches, c.feet_inches) << c.mm;
        EXPECT_EQ(r.decimal_inches, c.decimal) << c.mm;
    }
}

TEST(Mm2in, RefusesAnythingButDigitsAndPoints) {
    for (const char* bad : {"-5", "1,5", "1e+20", "1 5", "abc"}) {
        const auto r = mm2in(bad);
        EXPECT_EQ(r.feet_inches, "ERR") << bad;
        EXPECT_EQ(r.decimal_inches, "ERR") << bad;
        EXPECT_EQ(r.message, "Invalid character") << bad;
    }
}

// Reading back what the formatter shows lands within a 32nd of an inch (plus the
// ten-thousandth that the formatter cuts off before rounding to sixteenths).
TEST(Imperial, FeetInchesRoundTripWithinA32ndOfAnInch) {
    for (double mm = 0; mm <= 3000; mm += 0.37) {
        const auto shown = mm2in(venturon::length_text(mm));
        ASSERT_EQ(shown.message, "") << mm;
        const auto back = in2mm(shown.feet_inches);
        ASSERT_EQ(back.message, "") << mm << " shown as " << shown.feet_inches;
        EXPECT_LE(std::fabs(text_value(back.result) - mm), 25.4 * (1.0 / 32 + 0.0001) + 1e-9)
            << mm << " shown as " << shown.feet_inches;
    }
}

// Every length typed in decimal inches, to four decimals up to 20 inches, shows
// exactly as typed and stays so however often it is read back and shown again
// (the main window does that at every calculation and every start).
TEST(Imperial, DecimalInchesShowAsTypedAndNeverDrift) {
    for (int k = 1; k <= 200000; ++k) {
        char typed[16];
        std::snprintf(typed, sizeof typed, "%d.%04d", k / 10000, k % 10000);
        const std::string expected = number_text(k / 10000.0);
        std::string text = typed;
        for (int round = 0; round < 3; ++round) {
            const auto read = in2mm(text);
            ASSERT_EQ(read.message, "") << typed;
            const auto shown = mm2in(read.result);
            ASSERT_EQ(shown.decimal_inches, expected) << typed << " in round " << round;
            text = shown.decimal_inches;
        }
    }
}

TEST(Imperial, CutToTenThousandthsKeepsExactDecimals) {
    EXPECT_EQ(mm2in("25.63114").decimal_inches, " 1.0091");
    EXPECT_EQ(mm2in("25.6286").decimal_inches, " 1.009");   // 1.00900787... inches
    EXPECT_EQ(mm2in("25.62859").decimal_inches, " 1.0089"); // below 1.009: cut
    EXPECT_EQ(venturon::ten_thousandths_of_inch(25.63114), 10091);
    EXPECT_EQ(venturon::ten_thousandths_of_inch(0), 0);
    // A length far from a whole ten-thousandth keeps all its digits, however long.
    EXPECT_NEAR(text_value(in2mm(mm2in("87905488755").decimal_inches).result), 87905488755,
                25.4e-4);
}
