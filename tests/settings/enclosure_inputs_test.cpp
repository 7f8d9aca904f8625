// The enclosure inputs file: what it reads from any bytes, what it writes, and how
// its values reach the model.
#include "enclosure_inputs.h"
#include "input_messages.h"

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
    const double values[] = {18.5, 0.1 + 0.2, 4,      0.33, 1e-300, 1.7976931348623157e308,
                             -2,   0,         2.5e-7, 350,  4,      123.456789012345678,
                             27,   7.5,       80,     1e5,  1,      28.28,
                             -12.5};
    static_assert(std::size(values) == file_number_count);
    for (std::size_t i = 0; i < file_number_count; ++i) {
        in.numbers[i] = values[i];
    }
    in.outer_mouth = MouthCondition::free;
    in.inner_mouth = MouthCondition::flanged;
    in.flared_ends = FlaredEnds::inner;
    in.highpass = {FilterStage{FilterKind::butterworth, 4, 18}, std::nullopt,
                   FilterStage{FilterKind::second_order, 2, 22.5, 0.1 + 0.2},
                   FilterStage{FilterKind::linkwitz_riley, 8, 1000}};
    in.port_shape = PortShape::slot;
    in.slot = {3, 0.1 + 0.7, 2000, 2, 1e-3};
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
        "inner_mouth=free\nflared_ends=both\nport_shape=round\nslots=1\nslot_width_mm=250\n"
        "slot_height_mm=50\nslot_walls=1\nslot_radius_mm=0\n");
    EXPECT_EQ(EnclosureInputs{}, documented);

    const auto input = to_enclosure_input(EnclosureInputs{}, 100, 2);
    ASSERT_TRUE(input) << input_message(input.error());
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
    in[Field::temperature].reset();
    in[Field::driver_count].reset();
    in[Field::power].reset();
    in[Field::voltage] = 20;
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
        for (std::size_t i = 0; i < file_number_count; ++i) {
            const std::string key(input_rows[i].key);
            EXPECT_NE(bytes.find("\n" + key + " ="), std::string::npos) << key;
        }
        for (const ChoiceRow& row : choice_rows) {
            EXPECT_NE(bytes.find("\n" + std::string(row.key) + " ="), std::string::npos);
        }
        EXPECT_EQ(parse_enclosure_inputs(bytes), in);
    }
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    for (int i = 0; i < 2000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        double value = 0;
        std::memcpy(&value, &state, sizeof value);
        EnclosureInputs in = blank_enclosure_inputs();
        in[Field::vb] = value;
        const auto back = parse_enclosure_inputs(serialise_enclosure_inputs(in))[Field::vb];
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
    EXPECT_EQ(in[Field::fs], GetParam().fs_hz);
    for (std::size_t i = 0; i < file_number_count; ++i) {
        if (const auto& value = in.numbers[i]) {
            EXPECT_TRUE(std::isfinite(*value) && !(std::signbit(*value) && *value == 0)) << i;
        }
    }
    EXPECT_EQ(parse_enclosure_inputs(serialise_enclosure_inputs(in)), in);
    // Whatever was read converts for the model or says why not, in one line.
    const auto input = to_enclosure_input(in, 100, 1);
    EXPECT_TRUE(input || input_message(input.error()).find('\n') == std::string::npos);
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
    Field key;
    std::optional<double> value; // replaces the first start's
    Field field;
    const char* message;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

using F = Field;
const CheckCase check_cases[] = {
    {"fs_missing", F::fs, std::nullopt, F::fs, "Fs must be given"},
    {"vas_zero", F::vas, 0, F::vas, "Vas must be between 0.01 and 100000 L"},
    {"vas_beyond", F::vas, 100001, F::vas, "Vas must be between 0.01 and 100000 L"},
    {"sd_small", F::sd, 0.05, F::sd, "Sd must be between 0.1 and 20000 cm^2"},
    {"xmax_beyond", F::xmax, 250, F::xmax, "Xmax must be between 0.1 and 200 mm, or 0 for unknown"},
    {"xmax_tiny", F::xmax, 1e-308, F::xmax,
     "Xmax must be between 0.1 and 200 mm, or 0 for unknown"},
    {"le_negative", F::le, -1, F::le, "Le must be between 0 and 1000 mH"},
    {"drivers_fraction", F::driver_count, 1.5, F::driver_count,
     "Driver count must be a whole number between 1 and 1000"},
    {"drivers_huge", F::driver_count, 1e300, F::driver_count,
     "Driver count must be a whole number between 1 and 1000"},
    {"vb_missing", F::vb, std::nullopt, F::vb, "Vb must be given"},
    {"ql_small", F::ql, 0.01, F::ql, "QL must be between 0.1 and 100000"},
    {"qts_zero", F::qts, 0, F::qts, "Qts must be between 0.01 and 1000"},
    {"power_and_voltage", F::voltage, 20, F::voltage,
     "Give either the power or the voltage, not both"},
    {"no_drive", F::power, std::nullopt, F::power, "Power or voltage must be given"},
    {"temperature_beyond", F::temperature, 61, F::temperature,
     "Temperature must be between -50 and 60 C"},
};

} // namespace

class EnclosureInputsCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EnclosureInputsCheck, NamesTheInputInTheFilesUnits) {
    EnclosureInputs in;
    in[GetParam().key] = GetParam().value;
    const auto input = to_enclosure_input(in, 100, 1);
    ASSERT_FALSE(input);
    EXPECT_EQ(input.error().field, GetParam().field);
    EXPECT_EQ(input.error().scale, Scale::file);
    EXPECT_EQ(input_message(input.error()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Inputs, EnclosureInputsCheck, ::testing::ValuesIn(check_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The model's own errors in its units and words; the designer's in the units on
// screen, imperial included.
TEST(InputMessages, SaidInTheUnitsOfWhereTheyShow) {
    const struct {
        InputError error;
        UnitsMode units;
        UnitStyle style;
        const char* message;
    } cases[] = {
        {{F::sd, Problem::out_of_range, Scale::model, 3},
         UnitsMode::metric,
         UnitStyle::text,
         "Sd must be between 0.00001 and 2 m^2"},
        {{F::vb, Problem::out_of_range, Scale::model, 0},
         UnitsMode::inches,
         UnitStyle::text,
         "Vb must be between 0.00001 and 100 m^3"},
        {{F::qms, Problem::q_needs_other, Scale::model, 0, F::qes},
         UnitsMode::metric,
         UnitStyle::text,
         "Qms or Qts must be given with Qes"},
        {{F::qts, Problem::qts_not_below, Scale::model, 6, F::qms},
         UnitsMode::metric,
         UnitStyle::text,
         "Qts must be less than Qms"},
        {{F::qts, Problem::qts_too_close, Scale::model, 2000, F::qes},
         UnitsMode::metric,
         UnitStyle::text,
         "Qts is too close to Qes: the Qms it gives is above 1000"},
        {{F::qes, Problem::no_q}, UnitsMode::metric, UnitStyle::text, "Qes or Qms must be given"},
        {{F::high_frequency, Problem::high_below_low},
         UnitsMode::metric,
         UnitStyle::text,
         "High frequency must not be below the low frequency"},
        {{F::port_count, Problem::out_of_range, Scale::model, 0},
         UnitsMode::metric,
         UnitStyle::text,
         "Port count must be between 1 and 1000"},
        {{F::vas, Problem::out_of_range, Scale::file, 0},
         UnitsMode::decimal_inches,
         UnitStyle::window,
         "Vas must be between 0.000353147 and 3531.47 ft\u00b3"},
        {{F::sd, Problem::out_of_range, Scale::file, 0},
         UnitsMode::inches,
         UnitStyle::text,
         "Sd must be between 0.0155 and 3100.01 in^2"},
        {{F::xmax, Problem::out_of_range, Scale::file, 0},
         UnitsMode::inches,
         UnitStyle::window,
         "Xmax must be between 0.00393701 and 7.87402 in, or 0 for unknown"},
        {{F::sd, Problem::out_of_range, Scale::file, 0},
         UnitsMode::metric,
         UnitStyle::window,
         "Sd must be between 0.1 and 20000 cm\u00b2"},
        {{F::temperature, Problem::out_of_range, Scale::file, 99},
         UnitsMode::inches,
         UnitStyle::window,
         "Temperature must be between -50 and 60 \u00b0C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(input_message(c.error, c.units, c.style), c.message);
    }
}

// Values at the very edges of the file's bounds pass the model's own checks too,
// whatever the conversion to SI units rounds; the port's are checked in mm.
TEST(EnclosureInputs, EdgesOfTheFilesBoundsReachTheModel) {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (row.field == Field::voltage || row.field == Field::qts) {
            continue; // not with the power, nor against Qes and Qms of the first start
        }
        for (double v : {row.range.low, row.range.high}) {
            EnclosureInputs in;
            in[row.field] = v;
            const auto input = to_enclosure_input(in, 100, 1);
            ASSERT_TRUE(input) << row.key << " " << v;
            EXPECT_TRUE(solve_enclosure(*input)) << row.key << " " << v;
        }
    }
    const Range port = input_row(Field::port_diameter).range;
    for (double d : {port.low, port.high}) {
        const auto input = to_enclosure_input(EnclosureInputs{}, d, 1);
        ASSERT_TRUE(input) << d;
        EXPECT_TRUE(solve_enclosure(*input)) << d;
    }
    EXPECT_EQ(input_message(to_enclosure_input(EnclosureInputs{}, 0.5, 1).error()),
              "Port diameter must be between 1 and 2000 mm");
    EXPECT_EQ(to_enclosure_input(EnclosureInputs{}, 100, 0).error().field, Field::port_count);
}

// The filters' keys: the grammar's text in any of the four places; text that does
// not follow it is not given, a stage out of bounds is refused naming its place,
// and the model gets the given stages in their order.
TEST(EnclosureInputs, HighPassFilters) {
    const EnclosureInputs in = parse_enclosure_inputs("highpass_1 = BW4 @ 18\n"
                                                      "highpass_2 = fourth order at 18\n"
                                                      "highpass_4 = q0.7@22 # a comment\n"
                                                      "highpass_5 = bw2@10\n");
    EXPECT_EQ(in.highpass[0], (FilterStage{FilterKind::butterworth, 4, 18}));
    EXPECT_FALSE(in.highpass[1]);
    EXPECT_FALSE(in.highpass[2]);
    EXPECT_EQ(in.highpass[3], (FilterStage{FilterKind::second_order, 2, 22, 0.7}));
    EXPECT_NE(serialise_enclosure_inputs(in).find("\nhighpass_4 = q0.7@22\n"), std::string::npos);

    EnclosureInputs design;
    design.highpass = in.highpass;
    const auto input = to_enclosure_input(design, 100, 1);
    ASSERT_TRUE(input);
    ASSERT_EQ(input->highpass.size(), 2u);
    EXPECT_EQ(input->highpass[1].q, 0.7);

    design.highpass[2] = parse_enclosure_inputs("highpass_1 = lr6@20").highpass[0];
    const auto refused = to_enclosure_input(design, 100, 1);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().item, 3);
    EXPECT_EQ(input_message(refused.error()), "Linkwitz-Riley order must be 2, 4 or 8");
}

// Pe is one driver's, optional, 0 for unknown like Xmax.
TEST(EnclosureInputs, ThermalRating) {
    EnclosureInputs in;
    EXPECT_FALSE(in[Field::pe]);
    in[Field::pe] = 300;
    const auto input = to_enclosure_input(in, 100, 1);
    ASSERT_TRUE(input);
    EXPECT_EQ(input->driver.pe_w, 300);
    in[Field::pe] = 0.001;
    ASSERT_FALSE(to_enclosure_input(in, 100, 1));
    EXPECT_EQ(input_message(to_enclosure_input(in, 100, 1).error()),
              "Pe must be between 0.01 and 100000 W, or 0 for unknown");
}
// ---------------------------------------------------------------- slots

TEST(EnclosureInputs, SlotsReadAndReachTheModel) {
    EnclosureInputs in =
        parse_enclosure_inputs("port_shape = slot\nslots = 2\nslot_width_mm = 300\n"
                               "slot_height_mm = 40\nslot_walls = 2\n"
                               "slot_radius_mm = 12.5\nflared_ends = outer\n");
    EXPECT_EQ(in.port_shape, PortShape::slot);
    EXPECT_EQ(in[Field::slot_width], 300);
    EXPECT_EQ(parse_enclosure_inputs("port_shape = square\n").port_shape, PortShape::round);

    const auto slot = to_slot_port(in);
    ASSERT_TRUE(slot) << input_message(slot.error());
    EXPECT_DOUBLE_EQ(slot->width_m, 0.3);
    EXPECT_DOUBLE_EQ(slot->height_m, 0.04);
    EXPECT_EQ(slot->walls, 2);
    EXPECT_EQ(slot->count, 2);
    EXPECT_DOUBLE_EQ(slot->radius_m, 0.0125);
    EXPECT_TRUE(slot->outer.flared);
    EXPECT_FALSE(slot->inner.flared);

    // The driver and box of the first start, through two 300 x 40 mm slots: their
    // area and their hydraulic diameter, 4 x 12000 / 680 = 70.588 mm.
    EnclosureInputs first;
    const auto input = to_enclosure_input(first, *slot);
    ASSERT_TRUE(input);
    EXPECT_DOUBLE_EQ(input->port.area_m2, 0.012);
    EXPECT_NEAR(input->port.diameter_m, 0.070588, 1e-6);
    EXPECT_EQ(input->port.count, 2);
    const auto model = solve_enclosure(*input);
    ASSERT_TRUE(model);
    EXPECT_DOUBLE_EQ(model->port_area_m2, 0.024);

    // Not given: one slot, no wall, sharp.
    EnclosureInputs plain = blank_enclosure_inputs();
    plain[Field::slot_width] = 100;
    plain[Field::slot_height] = 100;
    const auto bare = to_slot_port(plain);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->count, 1);
    EXPECT_EQ(bare->walls, 0);
    EXPECT_EQ(bare->radius_m, 0);
}

namespace {

struct SlotCheckCase {
    const char* name;
    Field key;
    std::optional<double> value; // replaces the first start's
    UnitsMode units;
    const char* message;
};

void PrintTo(const SlotCheckCase& c, std::ostream* os) {
    *os << c.name;
}

const SlotCheckCase slot_check_cases[] = {
    {"width_missing", F::slot_width, std::nullopt, UnitsMode::metric, "Slot width must be given"},
    {"height_zero", F::slot_height, 0, UnitsMode::metric,
     "Slot height must be between 1 and 2000 mm"},
    {"height_negative_inches", F::slot_height, -25.4, UnitsMode::inches,
     "Slot height must be between 0.0393701 and 78.7402 in"},
    {"three_walls", F::slot_walls, 3, UnitsMode::metric,
     "Slot walls must be a whole number between 0 and 2"},
    {"half_a_wall", F::slot_walls, 0.5, UnitsMode::metric,
     "Slot walls must be a whole number between 0 and 2"},
    {"no_slots", F::slot_count, 0, UnitsMode::metric,
     "Slot count must be a whole number between 1 and 1000"},
    {"round_over_negative", F::slot_radius, -1, UnitsMode::metric,
     "Round-over radius must be between 0 and 2000 mm"},
    {"round_over_beyond", F::slot_radius, 50.5, UnitsMode::metric,
     "Round-over radius must be at most 50 mm, the slot's smaller side"},
    {"round_over_beyond_inches", F::slot_radius, 60, UnitsMode::decimal_inches,
     "Round-over radius must be at most 1.9685 in, the slot's smaller side"},
};

} // namespace

class SlotInputsCheck : public ::testing::TestWithParam<SlotCheckCase> {};

TEST_P(SlotInputsCheck, NamesTheInputInTheUnitsOnScreen) {
    EnclosureInputs in; // the first start's slot: 250 x 50 mm
    in[GetParam().key] = GetParam().value;
    const auto slot = to_slot_port(in);
    ASSERT_FALSE(slot);
    EXPECT_EQ(slot.error().field, GetParam().key);
    EXPECT_EQ(slot.error().scale, Scale::file);
    EXPECT_EQ(input_message(slot.error(), GetParam().units), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Slots, SlotInputsCheck, ::testing::ValuesIn(slot_check_cases),
                         [](const auto& info) { return std::string(info.param.name); });
