// The enclosure inputs file: what it reads from any bytes, what it writes, and how
// its values reach the model.
#include "enclosure_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

using namespace venturon;
using namespace std::string_literals;

namespace venturon {
// Failures show the record as its file.
void PrintTo(const EnclosureInputs& inputs, std::ostream* os) {
    *os << ::testing::PrintToString(serialise_enclosure_inputs(inputs));
}
} // namespace venturon

namespace {

// Every key set, none at its first-start value, every choice away from its default.
EnclosureInputs unusual_inputs() {
    EnclosureInputs in = blank_enclosure_inputs();
    const double values[] = {18.5,
                             0.1 + 0.2,
                             4,
                             0.33,
                             1e-300,
                             1.7976931348623157e308,
                             -2,
                             0,
                             2.5e-7,
                             4,
                             123.456789012345678,
                             27,
                             7.5,
                             80,
                             1e5,
                             1,
                             28.28,
                             -12.5};
    for (int i = 0; i < 18; ++i) {
        *enclosure_number(in, static_cast<EnclosureKey>(i)) = values[i];
    }
    in.outer_mouth = MouthCondition::free;
    in.inner_mouth = MouthCondition::flanged;
    in.flared_ends = FlaredEnds::inner;
    return in;
}

std::string garbage(std::size_t size, std::uint32_t seed) {
    std::string out(size, '\0');
    for (char& c : out) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return out;
}

} // namespace

// The documented first start, and what it is in the model's units.
TEST(EnclosureInputs, FirstStartIsTheWorkedExample) {
    const EnclosureInputs documented = parse_enclosure_inputs(
        "fs_hz=25\nqes=0.45\nqms=5\nvas_l=100\nsd_cm2=500\nre_ohm=3.6\nxmax_mm=12\ndrivers=1\n"
        "vb_l=60\nfb_hz=30\nql=7\npower_w=100\ntemperature_c=20\nouter_mouth=flanged\n"
        "inner_mouth=free\nflared_ends=both\n");
    EXPECT_EQ(EnclosureInputs{}, documented);

    const auto input = to_enclosure_input(EnclosureInputs{}, 100, 2);
    ASSERT_TRUE(input) << input.error().message;
    EXPECT_DOUBLE_EQ(input->driver.vas_m3, 0.1);
    EXPECT_DOUBLE_EQ(input->driver.sd_m2, 0.05);
    EXPECT_DOUBLE_EQ(input->driver.xmax_m, 0.012);
    EXPECT_EQ(input->driver.qts, 0); // not given: the model works it out
    EXPECT_DOUBLE_EQ(input->box.vb_m3, 0.06);
    EXPECT_FALSE(input->box.qa);
    EXPECT_EQ(input->drive.kind, Drive::Kind::power);
    EXPECT_DOUBLE_EQ(input->port.diameter_m, 0.1);
    EXPECT_EQ(input->port.count, 2);
    EXPECT_TRUE(solve_enclosure(*input));

    // Not given: 20 C and one driver; a voltage drives in place of a power.
    EnclosureInputs in;
    in.temperature_c.reset();
    in.drivers.reset();
    in.power_w.reset();
    in.voltage_v = 20;
    const auto by_voltage = to_enclosure_input(in, 100, 1);
    ASSERT_TRUE(by_voltage);
    EXPECT_EQ(by_voltage->temperature_c, 20);
    EXPECT_EQ(by_voltage->driver.count, 1);
    EXPECT_EQ(by_voltage->drive.kind, Drive::Kind::voltage);
}

TEST(EnclosureInputs, WritesEveryKeyAndReadsItBackExactly) {
    for (const EnclosureInputs& in :
         {EnclosureInputs{}, blank_enclosure_inputs(), unusual_inputs()}) {
        const std::string bytes = serialise_enclosure_inputs(in);
        for (int i = 0; i < enclosure_key_count; ++i) {
            const std::string key(enclosure_key_name(static_cast<EnclosureKey>(i)));
            EXPECT_NE(bytes.find("\n" + key + " ="), std::string::npos) << key;
        }
        EXPECT_EQ(parse_enclosure_inputs(bytes), in);
    }
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    for (int i = 0; i < 2000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        double value = 0;
        std::memcpy(&value, &state, sizeof value);
        EnclosureInputs in = blank_enclosure_inputs();
        in.vb_l = value;
        const auto back = parse_enclosure_inputs(serialise_enclosure_inputs(in)).vb_l;
        // Not finite, as only code can make it: written as not given.
        EXPECT_EQ(back, std::isfinite(value) ? std::optional(value) : std::nullopt) << value;
    }
}

// ---------------------------------------------------------------- any bytes

namespace {

struct FileCase {
    const char* name;
    std::string bytes;
    std::optional<double> fs_hz; // what fs_hz reads as
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

const FileCase file_cases[] = {
    {"crlf", "vb_l=50\r\nfs_hz = 30\r\n", 30},
    {"lone_cr", "vb_l=50\rfs_hz=30", 30},
    {"byte_order_mark",
     "\xEF\xBB\xBF"
     "fs_hz=31\n",
     31},
    {"blanks_and_tabs", " \t fs_hz \t=\t 32 \t\n", 32},
    {"comment_after_value", "fs_hz = 33 # from the data sheet\n", 33},
    {"comment_line", "# fs_hz = 33\n", std::nullopt},
    {"later_line_wins", "fs_hz=30\nfs_hz=34\n", 34},
    {"later_bad_line_clears", "fs_hz=30\nfs_hz=abc\n", std::nullopt},
    {"later_empty_line_clears", "fs_hz=30\nfs_hz=\n", std::nullopt},
    {"keys_are_case_sensitive", "FS_HZ=30\n", std::nullopt},
    {"no_equals_sign", "fs_hz 30\n", std::nullopt},
    {"second_equals_sign", "fs_hz==30\n", std::nullopt},
    {"unknown_key_ignored", "woofer_colour = black\nfs_hz=30\n", 30},
    {"two_numbers", "fs_hz = 30 31\n", std::nullopt},
    {"decimal_comma", "fs_hz = 30,5\n", std::nullopt},
    {"nan", "fs_hz = nan\n", std::nullopt},
    {"infinity", "fs_hz = -inf\n", std::nullopt},
    {"beyond_a_double", "fs_hz = 1e999\n", std::nullopt},
    {"below_the_smallest_double", "fs_hz = 1e-999\n", std::nullopt},
    {"largest_double", "fs_hz = 1.7976931348623157e308\n", 1.7976931348623157e308},
    {"negative_kept", "fs_hz = -25\n", -25},
    {"negative_zero", "fs_hz = -0\n", 0.0},
    {"nul_in_value",
     "fs_hz = 3\0"s
     "0\n",
     std::nullopt},
    {"nul_in_key", "fs\0_hz = 30\n"s, std::nullopt},
    {"hundred_thousand_digits", "fs_hz = 1" + std::string(100000, '0') + "\n", std::nullopt},
    {"megabyte_line", std::string(1 << 20, 'x') + "=\nfs_hz=30", 30},
    {"binary_garbage", garbage(std::size_t{64} * 1024, 1), std::nullopt},
    {"garbage_between_lines", garbage(4096, 7) + "\nfs_hz=30\n", 30},
    {"only_line_ends", std::string(100000, '\n') + std::string(100000, '\r'), std::nullopt},
};

} // namespace

class EnclosureInputsFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(EnclosureInputsFile, ReadsAnyBytesToFiniteInputsThatSaveAndLoadAgain) {
    const EnclosureInputs in = parse_enclosure_inputs(GetParam().bytes);
    EXPECT_EQ(in.fs_hz, GetParam().fs_hz);
    for (int i = 0; i < 18; ++i) {
        if (const auto& value = *enclosure_number(in, static_cast<EnclosureKey>(i))) {
            EXPECT_TRUE(std::isfinite(*value) && !(std::signbit(*value) && *value == 0)) << i;
        }
    }
    EXPECT_EQ(parse_enclosure_inputs(serialise_enclosure_inputs(in)), in);
    // Whatever was read converts for the model or says why not, in one line.
    const auto input = to_enclosure_input(in, 100, 1);
    EXPECT_TRUE(input || input.error().message.find('\n') == std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Files, EnclosureInputsFile, ::testing::ValuesIn(file_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EnclosureInputs, ChoicesReadTheirWordsOrTakeTheirDefaults) {
    EnclosureInputs in = parse_enclosure_inputs("outer_mouth = free\ninner_mouth = flanged\n"
                                                "flared_ends = outer\n");
    EXPECT_EQ(in.outer_mouth, MouthCondition::free);
    EXPECT_EQ(in.inner_mouth, MouthCondition::flanged);
    EXPECT_EQ(in.flared_ends, FlaredEnds::outer);
    in = parse_enclosure_inputs("outer_mouth = free\nouter_mouth = Free\ninner_mouth = open\n"
                                "flared_ends = 2\n");
    EXPECT_EQ(in.outer_mouth, MouthCondition::flanged);
    EXPECT_EQ(in.inner_mouth, MouthCondition::free);
    EXPECT_EQ(in.flared_ends, FlaredEnds::both);

    const struct {
        FlaredEnds ends;
        bool outer;
        bool inner;
    } ends[] = {{FlaredEnds::both, true, true},
                {FlaredEnds::outer, true, false},
                {FlaredEnds::inner, false, true},
                {FlaredEnds::none, false, false}};
    for (const auto& e : ends) {
        in.flared_ends = e.ends;
        in.outer_mouth = MouthCondition::free;
        const FlaredPort port = to_flared_port(in, 100, 25, 3);
        EXPECT_EQ(port.outer.flared, e.outer) << flared_ends_text(e.ends);
        EXPECT_EQ(port.inner.flared, e.inner) << flared_ends_text(e.ends);
        EXPECT_EQ(port.outer.mouth, MouthCondition::free);
        EXPECT_DOUBLE_EQ(port.flare_radius_m, 0.025);
        EXPECT_EQ(port.count, 3);
    }
}

// ---------------------------------------------------------------- checks

namespace {

struct CheckCase {
    const char* name;
    EnclosureKey key;
    std::optional<double> value; // replaces the first start's
    Field field;
    const char* message;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

using K = EnclosureKey;
const CheckCase check_cases[] = {
    {"fs_missing", K::fs_hz, std::nullopt, Field::fs, "Fs must be given"},
    {"vas_zero", K::vas_l, 0, Field::vas, "Vas must be greater than 0 L"},
    {"vas_beyond", K::vas_l, 100001, Field::vas, "Vas must be between 0.01 and 100000 L"},
    {"sd_small", K::sd_cm2, 0.05, Field::sd, "Sd must be between 0.1 and 20000 cm^2"},
    {"xmax_beyond", K::xmax_mm, 250, Field::xmax, "Xmax must be between 0 and 200 mm"},
    {"le_negative", K::le_mh, -1, Field::le, "Le must be between 0 and 1000 mH"},
    {"drivers_fraction", K::drivers, 1.5, Field::driver_count,
     "Driver count must be a whole number between 1 and 1000"},
    {"drivers_huge", K::drivers, 1e300, Field::driver_count,
     "Driver count must be a whole number between 1 and 1000"},
    {"vb_missing", K::vb_l, std::nullopt, Field::vb, "Vb must be given"},
    {"ql_small", K::ql, 0.01, Field::ql, "QL must be between 0.1 and 100000"},
    {"qts_zero", K::qts, 0, Field::qts, "Qts must be greater than 0"},
    {"power_and_voltage", K::voltage_v, 20, Field::voltage,
     "Give either the power or the voltage, not both"},
    {"no_drive", K::power_w, std::nullopt, Field::power, "Power or voltage must be given"},
    {"temperature_beyond", K::temperature_c, 61, Field::temperature,
     "Temperature must be between -50 and 60 C"},
};

} // namespace

class EnclosureInputsCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EnclosureInputsCheck, NamesTheInputInTheFilesUnits) {
    EnclosureInputs in;
    *enclosure_number(in, GetParam().key) = GetParam().value;
    const auto input = to_enclosure_input(in, 100, 1);
    ASSERT_FALSE(input);
    EXPECT_EQ(input.error().field, GetParam().field);
    EXPECT_EQ(input.error().message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Inputs, EnclosureInputsCheck, ::testing::ValuesIn(check_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Values at the very edges of the file's bounds pass the model's own checks too,
// whatever the conversion to SI units rounds; the port's are checked in mm.
TEST(EnclosureInputs, EdgesOfTheFilesBoundsReachTheModel) {
    const std::pair<EnclosureKey, Range> edges[] = {{K::vas_l, sheet_limits::vas_l},
                                                    {K::sd_cm2, sheet_limits::sd_cm2},
                                                    {K::xmax_mm, sheet_limits::xmax_mm},
                                                    {K::le_mh, sheet_limits::le_mh},
                                                    {K::vb_l, sheet_limits::vb_l}};
    for (const auto& [key, range] : edges) {
        for (double v : {range.low, range.high}) {
            EnclosureInputs in;
            *enclosure_number(in, key) = v;
            const auto input = to_enclosure_input(in, 100, 1);
            ASSERT_TRUE(input) << enclosure_key_name(key) << " " << v;
            EXPECT_TRUE(solve_enclosure(*input)) << enclosure_key_name(key) << " " << v;
        }
    }
    for (double d : {sheet_limits::port_diameter_mm.low, sheet_limits::port_diameter_mm.high}) {
        const auto input = to_enclosure_input(EnclosureInputs{}, d, 1);
        ASSERT_TRUE(input) << d;
        EXPECT_TRUE(solve_enclosure(*input)) << d;
    }
    EXPECT_EQ(to_enclosure_input(EnclosureInputs{}, 0.5, 1).error().message,
              "Port diameter must be between 1 and 2000 mm");
    EXPECT_EQ(to_enclosure_input(EnclosureInputs{}, 100, 0).error().field, Field::port_count);
}
