#pragma once

// Every number a user gives the vented-box model, its ports and its curves,
// described once: where it stands in the inputs file and on the command line,
// its name, its units, its bounds and its defaults. The file's reader and writer,
// the command-line options and their help, the designer's fields, the checks and
// their messages all derive from these rows: a new input is a row here plus its
// physics.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

namespace venturon {

// Inclusive bounds.
struct Range {
    double low;
    double high;
};

// Every input a check can point at: the numbers of the inputs file first, in the
// file's order, then the port's own and the curve's.
enum class Field {
    fs,
    qes,
    qms,
    qts,
    vas,
    sd,
    re,
    xmax,
    le,
    pe,
    driver_count,
    vb,
    fb,
    ql,
    qa,
    qp,
    power,
    voltage,
    temperature,
    port_diameter,
    port_count,
    flare_radius,
    slot_count,
    slot_width,
    slot_height,
    slot_walls,
    slot_radius,
    straight_length,
    low_frequency,
    high_frequency,
    points,
    butterworth_order,
    linkwitz_riley_order,
    bessel_order,
    highpass_frequency,
    highpass_q,
    highpass_count,
};

enum class InputGroup { driver, box, drive, port, curve };

// How a number converts for showing when lengths are imperial: a volume shows in
// cubic feet, an area in square inches, a length in inches, the rest as it is.
enum class Quantity { plain, volume, area, length };

struct InputRow {
    Field field{};
    InputGroup group{};
    std::string_view key{};        // in the inputs file; empty: not one of its numbers
    std::string_view option{};     // on the command line, without its dashes
    std::string_view value_name{}; // what --help calls its value
    std::string_view name{};       // in messages: "Fs", "Driver count"
    std::string_view caption{};    // beside its field in the window: "Fs", "Drivers"
    std::string_view unit{};       // the file's unit as text writes it ("cm^2"); "" for none
    std::string_view symbol{};     // the same as the window writes it ("cm²")
    std::string_view si_unit{};    // the model's unit ("m^2")
    double si_per_unit = 1;        // from the file's unit to the model's
    Quantity quantity = Quantity::plain;
    Range range{0, 0};                    // in the file's unit, inclusive
    bool whole = false;                   // a count
    bool zero_is_unknown = false;         // 0 stands for "not known", whatever the range
    bool required = false;                // the model cannot do without it
    std::optional<double> first_start{};  // the designer's first start, a worked example
    std::optional<double> tool_default{}; // venturon-calc's value when no file gives one
    double if_absent = 0;                 // what the model takes when it is not given
    std::string_view absent_text{};       // how --help says that ("unknown", "none", "1")
    std::string_view help{};              // one sentence for --help
};

inline constexpr std::array<InputRow, 37> input_rows{{
    {.field = Field::fs,
     .group = InputGroup::driver,
     .key = "fs_hz",
     .option = "fs",
     .value_name = "hz",
     .name = "Fs",
     .caption = "Fs",
     .unit = "Hz",
     .symbol = "Hz",
     .si_unit = "Hz",
     .range = {1, 1000},
     .required = true,
     .first_start = 25,
     .help = "Driver: resonance frequency Fs in Hz."},
    {.field = Field::qes,
     .group = InputGroup::driver,
     .key = "qes",
     .option = "qes",
     .value_name = "q",
     .name = "Qes",
     .caption = "Qes",
     .range = {0.01, 1000},
     .first_start = 0.45,
     .help = "Driver: electrical Q, Qes."},
    {.field = Field::qms,
     .group = InputGroup::driver,
     .key = "qms",
     .option = "qms",
     .value_name = "q",
     .name = "Qms",
     .caption = "Qms",
     .range = {0.01, 1000},
     .first_start = 5,
     .help = "Driver: mechanical Q, Qms."},
    {.field = Field::qts,
     .group = InputGroup::driver,
     .key = "qts",
     .option = "qts",
     .value_name = "q",
     .name = "Qts",
     .caption = "Qts",
     .range = {0.01, 1000},
     .help = "Driver: total Q, Qts. With one of Qes and Qms it gives the other; with both it "
             "must agree with them to within 5 %."},
    {.field = Field::vas,
     .group = InputGroup::driver,
     .key = "vas_l",
     .option = "vas",
     .value_name = "litres",
     .name = "Vas",
     .caption = "Vas",
     .unit = "L",
     .symbol = "L",
     .si_unit = "m^3",
     .si_per_unit = 1e-3,
     .quantity = Quantity::volume,
     .range = {0.01, 100000},
     .required = true,
     .first_start = 100,
     .help = "Driver: equivalent volume Vas in litres."},
    {.field = Field::sd,
     .group = InputGroup::driver,
     .key = "sd_cm2",
     .option = "sd",
     .value_name = "cm2",
     .name = "Sd",
     .caption = "Sd",
     .unit = "cm^2",
     .symbol = "cm\u00b2",
     .si_unit = "m^2",
     .si_per_unit = 1e-4,
     .quantity = Quantity::area,
     .range = {0.1, 20000},
     .required = true,
     .first_start = 500,
     .help = "Driver: cone area Sd in cm^2."},
    {.field = Field::re,
     .group = InputGroup::driver,
     .key = "re_ohm",
     .option = "re",
     .value_name = "ohm",
     .name = "Re",
     .caption = "Re",
     .unit = "ohm",
     .symbol = "ohm",
     .si_unit = "ohm",
     .range = {0.1, 1000},
     .required = true,
     .first_start = 3.6,
     .help = "Driver: voice-coil DC resistance Re in ohm."},
    {.field = Field::xmax,
     .group = InputGroup::driver,
     .key = "xmax_mm",
     .option = "xmax",
     .value_name = "mm",
     .name = "Xmax",
     .caption = "Xmax",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {0.1, 200},
     .zero_is_unknown = true,
     .first_start = 12,
     .absent_text = "unknown",
     .help = "Driver: one-way linear excursion Xmax in mm."},
    {.field = Field::le,
     .group = InputGroup::driver,
     .key = "le_mh",
     .option = "le",
     .value_name = "mh",
     .name = "Le",
     .caption = "Le",
     .unit = "mH",
     .symbol = "mH",
     .si_unit = "H",
     .si_per_unit = 1e-3,
     .range = {0, 1000},
     .absent_text = "none",
     .help = "Driver: voice-coil inductance Le in mH."},
    {.field = Field::pe,
     .group = InputGroup::driver,
     .key = "pe_w",
     .option = "pe",
     .value_name = "watts",
     .name = "Pe",
     .caption = "Pe",
     .unit = "W",
     .symbol = "W",
     .si_unit = "W",
     .range = {0.01, 1e5},
     .zero_is_unknown = true,
     .absent_text = "unknown",
     .help = "Driver: thermal power rating Pe in W; the voltage across each driver is kept "
             "at or below sqrt(Pe Re)."},
    {.field = Field::driver_count,
     .group = InputGroup::driver,
     .key = "drivers",
     .option = "drivers",
     .value_name = "count",
     .name = "Driver count",
     .caption = "Drivers",
     .range = {1, 1000},
     .whole = true,
     .first_start = 1,
     .if_absent = 1,
     .absent_text = "1",
     .help = "Identical drivers in the box, wired in parallel."},
    {.field = Field::vb,
     .group = InputGroup::box,
     .key = "vb_l",
     .option = "vb",
     .value_name = "litres",
     .name = "Vb",
     .caption = "Vb",
     .unit = "L",
     .symbol = "L",
     .si_unit = "m^3",
     .si_per_unit = 1e-3,
     .quantity = Quantity::volume,
     .range = {0.01, 100000},
     .required = true,
     .first_start = 60,
     .help = "Box: net volume Vb in litres."},
    {.field = Field::fb,
     .group = InputGroup::box,
     .key = "fb_hz",
     .option = "fb",
     .value_name = "hz",
     .name = "Fb",
     .caption = "Fb",
     .unit = "Hz",
     .symbol = "Hz",
     .si_unit = "Hz",
     .range = {1, 1000},
     .required = true,
     .first_start = 30,
     .help = "Box: tuning frequency Fb in Hz."},
    {.field = Field::ql,
     .group = InputGroup::box,
     .key = "ql",
     .option = "ql",
     .value_name = "q",
     .name = "QL",
     .caption = "QL",
     .range = {0.1, 1e5},
     .first_start = 7,
     .tool_default = 7,
     .help = "Box: leakage loss as its Q at Fb."},
    {.field = Field::qa,
     .group = InputGroup::box,
     .key = "qa",
     .option = "qa",
     .value_name = "q",
     .name = "QA",
     .caption = "QA",
     .range = {0.1, 1e5},
     .absent_text = "none",
     .help = "Box: absorption loss as its Q at Fb."},
    {.field = Field::qp,
     .group = InputGroup::box,
     .key = "qp",
     .option = "qp",
     .value_name = "q",
     .name = "QP",
     .caption = "QP",
     .range = {0.1, 1e5},
     .absent_text = "none",
     .help = "Box: port loss as its Q at Fb."},
    {.field = Field::power,
     .group = InputGroup::drive,
     .key = "power_w",
     .option = "power",
     .value_name = "watts",
     .name = "Power",
     .caption = "Power",
     .unit = "W",
     .symbol = "W",
     .si_unit = "W",
     .range = {1e-3, 1e5},
     .first_start = 100,
     .help = "Drive: electrical power in W into the nominal load, Re over drivers."},
    {.field = Field::voltage,
     .group = InputGroup::drive,
     .key = "voltage_v",
     .option = "voltage",
     .value_name = "volts",
     .name = "Voltage",
     .caption = "Voltage",
     .unit = "V",
     .symbol = "V",
     .si_unit = "V",
     .range = {1e-3, 2000},
     .help = "Drive: RMS voltage in V, in place of a power."},
    {.field = Field::temperature,
     .group = InputGroup::drive,
     .key = "temperature_c",
     .option = "temperature",
     .value_name = "celsius",
     .name = "Temperature",
     .caption = "Air",
     .unit = "C",
     .symbol = "\u00b0C",
     .si_unit = "C",
     .range = {-50, 60},
     .first_start = 20,
     .if_absent = 20,
     .absent_text = "20",
     .help = "Air temperature in degrees Celsius."},
    {.field = Field::port_diameter,
     .group = InputGroup::port,
     .option = "diameter",
     .name = "Port diameter",
     .caption = "Diameter",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {1, 2000}},
    {.field = Field::port_count,
     .group = InputGroup::port,
     .option = "ports",
     .name = "Port count",
     .caption = "Ports",
     .range = {1, 1000},
     .whole = true},
    {.field = Field::flare_radius,
     .group = InputGroup::port,
     .option = "radius",
     .name = "Flare radius",
     .caption = "Flare radius",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {0, 2000}},
    // A slot port: its own numbers of the inputs file, which stand here among the
    // port's rows rather than with the numbers above (slot_fields below). On the
    // command line --ports is the slot count, --slot WIDTHxHEIGHT its size (in the
    // units of --units) and --radius its round-over.
    {.field = Field::slot_count,
     .group = InputGroup::port,
     .key = "slots",
     .option = "ports",
     .name = "Slot count",
     .caption = "Slots",
     .range = {1, 1000},
     .whole = true,
     .first_start = 1,
     .if_absent = 1,
     .absent_text = "1",
     .help = "Slots: how many identical slots."},
    {.field = Field::slot_width,
     .group = InputGroup::port,
     .key = "slot_width_mm",
     .option = "slot",
     .name = "Slot width",
     .caption = "Width",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {1, 2000},
     .first_start = 250,
     .help = "Slot: inside width in mm, along the box's wall when it has one."},
    {.field = Field::slot_height,
     .group = InputGroup::port,
     .key = "slot_height_mm",
     .option = "slot",
     .name = "Slot height",
     .caption = "Height",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {1, 2000},
     .first_start = 50,
     .help = "Slot: inside height in mm, away from the wall."},
    {.field = Field::slot_walls,
     .group = InputGroup::port,
     .key = "slot_walls",
     .option = "slot-walls",
     .value_name = "count",
     .name = "Slot walls",
     .caption = "Wall sides",
     .range = {0, 2},
     .whole = true,
     .first_start = 1,
     .absent_text = "0",
     .help = "Slot: how many of its sides are the box's own walls: 0 (free), 1 (along the "
             "floor: a width side) or 2 (in a corner: a width side and a height side)."},
    {.field = Field::slot_radius,
     .group = InputGroup::port,
     .key = "slot_radius_mm",
     .option = "radius",
     .name = "Round-over radius",
     .caption = "Round-over",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {0, 2000},
     .first_start = 0,
     .absent_text = "0",
     .help = "Slot: round-over radius in mm of its free edges at the flared ends; at most "
             "the slot's smaller side."},
    {.field = Field::straight_length,
     .group = InputGroup::port,
     .name = "Straight length",
     .caption = "Straight length",
     .unit = "mm",
     .symbol = "mm",
     .si_unit = "m",
     .si_per_unit = 1e-3,
     .quantity = Quantity::length,
     .range = {0, 100000}},
    {.field = Field::low_frequency,
     .group = InputGroup::curve,
     .option = "curve-range",
     .name = "Low frequency",
     .caption = "From",
     .unit = "Hz",
     .symbol = "Hz",
     .si_unit = "Hz",
     .range = {0.1, 1e5}},
    {.field = Field::high_frequency,
     .group = InputGroup::curve,
     .option = "curve-range",
     .name = "High frequency",
     .caption = "To",
     .unit = "Hz",
     .symbol = "Hz",
     .si_unit = "Hz",
     .range = {0.1, 1e5}},
    {.field = Field::points,
     .group = InputGroup::curve,
     .option = "curve-range",
     .name = "Points",
     .caption = "Points",
     .range = {1, 100000},
     .whole = true},
    {.field = Field::butterworth_order,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "Butterworth order",
     .caption = "Order",
     .range = {1, 8},
     .whole = true},
    {.field = Field::linkwitz_riley_order,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "Linkwitz-Riley order",
     .caption = "Order",
     .range = {2, 8},
     .whole = true},
    {.field = Field::bessel_order,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "Bessel order",
     .caption = "Order",
     .range = {2, 4},
     .whole = true},
    {.field = Field::highpass_frequency,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "High-pass frequency",
     .caption = "Frequency",
     .unit = "Hz",
     .symbol = "Hz",
     .si_unit = "Hz",
     .range = {1, 1000}},
    {.field = Field::highpass_q,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "High-pass Q",
     .caption = "Q",
     .range = {0.1, 20}},
    {.field = Field::highpass_count,
     .group = InputGroup::drive,
     .option = "highpass",
     .name = "High-pass filter count",
     .caption = "Filters",
     .range = {0, 4},
     .whole = true},
}};

constexpr const InputRow& input_row(Field field) {
    return input_rows[static_cast<std::size_t>(field)];
}

// Each row stands at its field's place.
consteval bool rows_in_field_order() {
    for (std::size_t i = 0; i < input_rows.size(); ++i) {
        if (static_cast<std::size_t>(input_rows[i].field) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rows_in_field_order());

// The numbers of the inputs file: the rows with a key, which come first.
consteval std::size_t count_file_numbers() {
    std::size_t n = 0;
    while (n < input_rows.size() && !input_rows[n].key.empty()) {
        ++n;
    }
    return n;
}
inline constexpr std::size_t file_number_count = count_file_numbers();

constexpr bool in_file(Field field) {
    return static_cast<std::size_t>(field) < file_number_count;
}

// The slot's numbers of the inputs file, in the file's order: rows with a key
// after the port's own, kept beside the numbers above so that what reads those
// (the designer's fields among them) stays the round port's.
inline constexpr std::array<Field, 5> slot_fields{Field::slot_count, Field::slot_width,
                                                  Field::slot_height, Field::slot_walls,
                                                  Field::slot_radius};

// A slot number's place in slot_fields; nothing for any other field.
constexpr std::optional<std::size_t> slot_index(Field field) {
    for (std::size_t i = 0; i < slot_fields.size(); ++i) {
        if (slot_fields[i] == field) {
            return i;
        }
    }
    return std::nullopt;
}

// Every row with a key is a number of the file or the slot's.
consteval bool keys_are_file_or_slot_numbers() {
    for (const InputRow& row : input_rows) {
        if (!row.key.empty() && !in_file(row.field) && !slot_index(row.field)) {
            return false;
        }
    }
    return true;
}
static_assert(keys_are_file_or_slot_numbers());

// A row's bounds in the model's units.
constexpr Range si_range(Field field) {
    const InputRow& row = input_row(field);
    return {row.range.low * row.si_per_unit, row.range.high * row.si_per_unit};
}

// Bounds the code uses by name, in the model's units.
namespace limits {
inline constexpr Range temperature_c = si_range(Field::temperature);
inline constexpr Range fs_hz = si_range(Field::fs);
inline constexpr Range q_driver = si_range(Field::qes);
inline constexpr Range vas_m3 = si_range(Field::vas);
inline constexpr Range sd_m2 = si_range(Field::sd);
inline constexpr Range re_ohm = si_range(Field::re);
inline constexpr Range xmax_m = si_range(Field::xmax);
inline constexpr Range le_h = si_range(Field::le);
inline constexpr Range pe_w = si_range(Field::pe);
inline constexpr int max_driver_count = static_cast<int>(input_row(Field::driver_count).range.high);
inline constexpr Range vb_m3 = si_range(Field::vb);
inline constexpr Range fb_hz = si_range(Field::fb);
inline constexpr Range q_box = si_range(Field::ql);
inline constexpr Range power_w = si_range(Field::power);
inline constexpr Range voltage_v = si_range(Field::voltage); // RMS
inline constexpr Range port_diameter_m = si_range(Field::port_diameter);
inline constexpr int max_port_count = static_cast<int>(input_row(Field::port_count).range.high);
inline constexpr Range flare_radius_m = si_range(Field::flare_radius);
inline constexpr int max_slot_count = static_cast<int>(input_row(Field::slot_count).range.high);
inline constexpr Range slot_side_m = si_range(Field::slot_width);
inline constexpr int max_slot_walls = static_cast<int>(input_row(Field::slot_walls).range.high);
inline constexpr Range round_over_m = si_range(Field::slot_radius);
inline constexpr Range straight_length_m = si_range(Field::straight_length);
inline constexpr Range frequency_hz = si_range(Field::low_frequency);
inline constexpr int max_points = static_cast<int>(input_row(Field::points).range.high);
// Qts given together with Qes and Qms must agree with them to within this
// fraction (data sheet values are rounded).
inline constexpr double qts_tolerance = 0.05;
} // namespace limits

// What is wrong with an input. The words are the showing layer's (input_message).
enum class Problem {
    missing,                // required and not given
    out_of_range,           // outside its range, or not a number
    not_whole,              // a count that is not a whole number within its range
    both_drives,            // power and voltage both given
    no_drive,               // neither power nor voltage given
    no_q,                   // neither Qes nor Qms given
    q_needs_other,          // Qes or Qms alone: `other` (the other Q or Qts) must be given too
    qts_not_below,          // Qts not below `other`, the Q given with it
    qts_too_close,          // Qts so close to `other` that the Q it gives is beyond its range
    qts_disagrees,          // Qts against Qes and Qms; `value` is the Qts they give
    high_below_low,         // a curve's high frequency below its low one
    lr_order,               // a Linkwitz-Riley order other than 2, 4 or 8
    filter_syntax,          // a filter's text that does not follow its grammar
    round_over_beyond_slot, // a slot's round-over above `value`, the slot's smaller side
};
inline constexpr std::size_t problem_count =
    static_cast<std::size_t>(Problem::round_over_beyond_slot) + 1;

// The units an error's value and bounds are in: the model's, or the file's (and
// the command line's and the window's before converting for showing).
enum class Scale { model, file };

struct InputError {
    Field field = Field::fs;
    Problem problem = Problem::out_of_range;
    Scale scale = Scale::model;
    double value = 0;        // the value refused, or what a Q problem computed
    Field other = Field::fs; // the second input a Q problem names
    int item = 0;            // which of several (a high-pass stage, from 1); 0: not one of several

    friend bool operator==(const InputError&, const InputError&) = default;
};

// Checks a value against its row: range, positivity, whole numbers, and 0 for
// "unknown" where the row allows it.
std::optional<InputError> check_input(Field field, double value, Scale scale = Scale::model);

// A result, or the error that stopped it.
template <class T> class Checked {
public:
    Checked(T value) : state_(std::move(value)) {}
    Checked(InputError error) : state_(std::move(error)) {}

    explicit operator bool() const { return std::holds_alternative<T>(state_); }
    const T& operator*() const { return std::get<T>(state_); }
    const T* operator->() const { return &std::get<T>(state_); }
    // Only when there is no value.
    const InputError& error() const { return std::get<InputError>(state_); }

private:
    std::variant<T, InputError> state_;
};

} // namespace venturon
