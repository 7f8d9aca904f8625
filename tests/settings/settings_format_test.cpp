#include "settings_format.h"
#include "support/settings_examples.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

using namespace venturon;
using namespace std::string_literals;

namespace venturon {
// Failures show the record as its file, with the line count.
void PrintTo(const SettingsRecord& r, std::ostream* os) {
    *os << r.lines_read << " lines: " << ::testing::PrintToString(serialise_settings(r));
}
} // namespace venturon

namespace {

// A state unlike the defaults in every value.
SettingsRecord example_record() {
    SettingsRecord r;
    r.lines_read = 17;
    r.cruise_on = false;
    r.diameter_mm = 152.4;
    r.port_text = "2";
    r.radius_mm = 25.4;
    r.lock_diameter_mm = 152.4;
    r.lock_ports = 2;
    r.lock_v = {12, 15, 18, 20};
    r.minimum_mode = false;
    r.boundary_mask = "Boundary_mask_off";
    r.boundary_seat = "Boundary_seat_on";
    r.core_mask = "Core_mask_on";
    r.core_seat = "Core_seat_off";
    r.content_type = "Music";
    r.units_mode = UnitsMode::inches;
    return r;
}

const std::string& example_bytes = venturon::testing::example_settings_file;

std::string first_lines(const std::string& bytes, int n) {
    std::size_t end = 0;
    for (int i = 0; i < n; ++i) {
        end = bytes.find("\r\n", end) + 2;
    }
    return bytes.substr(0, end);
}

} // namespace

TEST(SettingsFormat, WritesTheDocumentedExampleByteForByte) {
    EXPECT_EQ(serialise_settings(example_record()), example_bytes);
    EXPECT_EQ(parse_settings(example_bytes), example_record());
}

TEST(SettingsFormat, FirstStartWritesTheDefaults) {
    const SettingsRecord none = parse_settings("");
    EXPECT_EQ(none.lines_read, 0);
    EXPECT_EQ(none, SettingsRecord{});
    EXPECT_EQ(serialise_settings(none), venturon::testing::first_start_settings_file);
}

TEST(SettingsFormat, SplitsAtEveryKindOfLineEnd) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two line ends
        {"\r\n\r\n", {"", ""}},
        {"\r\r\n\n", {"", "", ""}},
        {"a\r", {"a"}},
        {"x\0y\r\n\0"s, {"x\0y"s, "\0"s}},
        {" 1\t\x1a\xff\r\n", {" 1\t\x1a\xff"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split_settings_lines(c.bytes), c.lines) << ::testing::PrintToString(c.bytes);
    }
}

TEST(SettingsFormat, ShortFileKeepsDefaultsFromWhereItEnds) {
    const SettingsRecord full = example_record();
    // Copies the value of line n (1-based) from full.
    const std::function<void(SettingsRecord&)> take[] = {
        [&](SettingsRecord& r) { r.cruise_on = full.cruise_on; },
        [&](SettingsRecord& r) { r.diameter_mm = full.diameter_mm; },
        [&](SettingsRecord& r) { r.port_text = full.port_text; },
        [&](SettingsRecord& r) { r.radius_mm = full.radius_mm; },
        [&](SettingsRecord& r) { r.lock_diameter_mm = full.lock_diameter_mm; },
        [&](SettingsRecord& r) { r.lock_ports = full.lock_ports; },
        [&](SettingsRecord& r) { r.lock_v[0] = full.lock_v[0]; },
        [&](SettingsRecord& r) { r.lock_v[1] = full.lock_v[1]; },
        [&](SettingsRecord& r) { r.lock_v[2] = full.lock_v[2]; },
        [&](SettingsRecord& r) { r.lock_v[3] = full.lock_v[3]; },
        [&](SettingsRecord& r) { r.minimum_mode = full.minimum_mode; },
        [&](SettingsRecord& r) { r.boundary_mask = full.boundary_mask; },
        [&](SettingsRecord& r) { r.boundary_seat = full.boundary_seat; },
        [&](SettingsRecord& r) { r.core_mask = full.core_mask; },
        [&](SettingsRecord& r) { r.core_seat = full.core_seat; },
        [&](SettingsRecord& r) { r.content_type = full.content_type; },
        [&](SettingsRecord& r) { r.units_mode = full.units_mode; },
    };
    SettingsRecord expected;
    for (int n = 0; n <= 17; ++n) {
        if (n > 0) {
            take[n - 1](expected);
        }
        expected.lines_read = n;
        const std::string bytes = first_lines(example_bytes, n);
        EXPECT_EQ(parse_settings(bytes), expected) << n << " lines";
        if (n > 0) { // the last line without its ending counts all the same
            EXPECT_EQ(parse_settings(bytes.substr(0, bytes.size() - 2)), expected) << n;
        }
    }
    // Lines after the 17th are ignored.
    EXPECT_EQ(parse_settings(example_bytes + "cruise_on\r\n 1\r\n"), full);
}

TEST(SettingsFormat, KeywordsMatchExactlyAndTextsStayAsRead) {
    const struct {
        int line;
        std::string text;
        std::function<bool(const SettingsRecord&)> check;
    } cases[] = {
        {1, "Cruise_on", [](auto& r) { return !r.cruise_on; }},
        {1, "cruise_on ", [](auto& r) { return !r.cruise_on; }},
        {1, "cruise_on\0"s, [](auto& r) { return !r.cruise_on; }},
        {1, "", [](auto& r) { return !r.cruise_on; }},
        {1, "cruise_on", [](auto& r) { return r.cruise_on; }},
        {11, "calculate_minimum", [](auto& r) { return !r.minimum_mode; }},
        {11, "Calculate_minimum", [](auto& r) { return r.minimum_mode; }},
        {2, "  152.4 mm", [](auto& r) { return r.diameter_mm == 152.4; }},
        {2, "1 5 2", [](auto& r) { return r.diameter_mm == 152; }},
        {2, "six", [](auto& r) { return r.diameter_mm == 0; }},
        {2, "", [](auto& r) { return r.diameter_mm == 0; }},
        {9, "-3e1x", [](auto& r) { return r.lock_v[2] == -30; }},
        {3, " 2 ports\0"s, [](auto& r) { return r.port_text == " 2 ports\0"s; }},
        {3, "", [](auto& r) { return r.port_text.empty(); }},
        {12, "boundary_mask_on", [](auto& r) { return r.boundary_mask == "boundary_mask_on"; }},
        {16, "Jazz", [](auto& r) { return r.content_type == "Jazz"; }},
        {16, "\xe9\t\0"s, [](auto& r) { return r.content_type == "\xe9\t\0"s; }},
        {17, "decimalinches", [](auto& r) { return r.units_mode == UnitsMode::decimal_inches; }},
        {17, "Inches", [](auto& r) { return r.units_mode == UnitsMode::metric; }},
        {17, "inches ", [](auto& r) { return r.units_mode == UnitsMode::metric; }},
        {17, "", [](auto& r) { return r.units_mode == UnitsMode::metric; }},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = split_settings_lines(example_bytes);
        lines[static_cast<std::size_t>(c.line - 1)] = c.text;
        std::string bytes;
        for (const auto& line : lines) {
            bytes += line + "\r\n";
        }
        const SettingsRecord r = parse_settings(bytes);
        EXPECT_TRUE(c.check(r)) << "line " << c.line << ": " << ::testing::PrintToString(c.text);
        EXPECT_EQ(r.lines_read, 17);
    }
}

TEST(SettingsFormat, LineBreaksInsideTextsCannotShiftLines) {
    SettingsRecord r = example_record();
    r.port_text = "2\r\n3";
    r.content_type = "Mu\rsic\n";
    const std::string bytes = serialise_settings(r);
    EXPECT_EQ(split_settings_lines(bytes).size(), 17u);
    const SettingsRecord back = parse_settings(bytes);
    EXPECT_EQ(back.port_text, "23");
    EXPECT_EQ(back.content_type, "Music");
    EXPECT_EQ(back.units_mode, UnitsMode::inches);
    EXPECT_EQ(back.boundary_seat, "Boundary_seat_on");
}

TEST(SettingsFormat, HugeAndBinaryInputsParse) {
    const std::string mega(1 << 20, '7');
    const std::string inputs[] = {
        mega,
        "cruise_on\r\n" + mega + "\r\n" + mega,
        std::string(1 << 20, ' '),
        std::string(1 << 20, '.'),
        "\r\n 0." + std::string(1 << 20, '0') + "1",
        std::string(1 << 20, '\n'),
        std::string(1 << 20, '\0'),
    };
    for (const auto& bytes : inputs) {
        const SettingsRecord r = parse_settings(bytes);
        EXPECT_EQ(parse_settings(serialise_settings(r)).lines_read, 17);
    }
    EXPECT_EQ(parse_settings(inputs[1]).port_text.size(), mega.size());
    EXPECT_EQ(parse_settings(inputs[5]).lines_read, 17);
}

// parse(serialise(parse(b))) is a fixed point: one more round changes nothing.
TEST(SettingsFormat, OneRoundReachesAFixedPoint) {
    const std::string tokens[] = {
        "cruise_on",
        "Calculate_minimum",
        "inches",
        "decimalinches",
        "Music",
        " 152.4",
        "-0",
        "1.7976931348623157e308",
        "1.797693134862315e308",
        "4.9e-324",
        "2.2250738585072014e-308",
        "0.1",
        "123456789012345678901234567890",
        "1e-21",
        "0.30000000000000004",
        "-2.5e+300",
        " 1 2",
        "1e",
        "-",
        ".",
        "\0"s,
        "\xff",
        "\t",
    };
    std::mt19937 random(20240607);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int pieces = static_cast<int>(random() % 60);
        for (int i = 0; i < pieces; ++i) {
            switch (random() % 4) {
            case 0:
                bytes += tokens[random() % std::size(tokens)];
                break;
            case 1:
                bytes += "\r\n\r\n\r\n\n"[random() % 4];
                break;
            case 2:
                bytes += static_cast<char>(random() % 256);
                break;
            default:
                bytes += std::to_string(std::uniform_real_distribution<double>(-1e6, 1e6)(random));
            }
        }
        const SettingsRecord r2 = parse_settings(serialise_settings(parse_settings(bytes)));
        const SettingsRecord r3 = parse_settings(serialise_settings(r2));
        ASSERT_EQ(r2, r3) << ::testing::PrintToString(bytes);
        ASSERT_EQ(serialise_settings(r2), serialise_settings(r3));
    }
}
