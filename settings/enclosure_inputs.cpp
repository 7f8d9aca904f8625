#include "enclosure_inputs.h"

#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace venturon {

namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// The field a key names, among the file's numbers and the slot's.
std::optional<Field> number_named(std::string_view key) {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        if (input_rows[i].key == key) {
            return input_rows[i].field;
        }
    }
    for (const Field field : slot_fields) {
        if (input_row(field).key == key) {
            return field;
        }
    }
    return std::nullopt;
}

// The place of a high-pass filter's key, from 0.
std::optional<std::size_t> highpass_named(std::string_view key) {
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        if (key == highpass_key(i)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<Choice> choice_named(std::string_view key) {
    for (const ChoiceRow& row : choice_rows) {
        if (row.key == key) {
            return row.choice;
        }
    }
    return std::nullopt;
}

// Finite or nothing, and never -0.
std::optional<double> read_value(std::string_view text) {
    const auto value = complete_number(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return *value + 0.0;
}

// Shortest text that reads back to the same double; empty when not given or not finite.
std::string value_text(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, *value + 0.0);
    return std::string(buffer, written.ptr);
}

// The comment over each group of the file, in the order of InputGroup; the
// ports' choices come last.
constexpr std::string_view highpass_comment =
    "# High-pass filters on the amplifier's output, in series: bw1 to bw8, lr2, lr4, lr8, "
    "bessel2 to bessel4, or q and its Q, then @ and the frequency in Hz (empty: none).";

constexpr std::array<std::string_view, 4> group_comments{
    "# Driver: one driver's data sheet values; drivers is how many are in the box.",
    "# Box: net volume and tuning; leakage, absorption and port losses as Qs at Fb (empty: none).",
    "# Drive: power into Re/drivers, or RMS voltage (give one); air temperature.",
    "# Ports: mouths flanged or free; flared_ends both, outer, inner or none.",
};

std::string_view group_comment(InputGroup group) {
    return group_comments[std::min(static_cast<std::size_t>(group), group_comments.size() - 1)];
}

// The words of the flared ends, in the order of FlaredEnds, and of the shapes.
constexpr std::array<std::string_view, 4> flared_ends_words{"both", "outer", "inner", "none"};
constexpr std::array<std::string_view, 2> port_shape_words{"round", "slot"};
constexpr std::string_view slot_comment =
    "# Port shape: round (the main window's port) or slot. A slot: how many; inside width along\n"
    "# the wall and height; sides that are the box's walls (0, 1 or 2); round-over of free edges.";

void add_line(std::string& out, std::string_view key, const std::string& value) {
    out += key;
    out += value.empty() ? " =\n" : " = " + value + "\n";
}

// A value in the model's units, kept within its bounds: a value at the edge of the
// file's bounds must not fall outside the model's through the conversion's rounding.
double to_model(Field field, double value) {
    const Range range = si_range(field);
    const double si = value * input_row(field).si_per_unit;
    return si == 0 ? 0 : std::clamp(si, range.low, range.high);
}

// The power and the voltage are one input said two ways: exactly one counts.
std::optional<InputError> check_drive(const EnclosureInputs& in) {
    if (in[Field::power] && in[Field::voltage]) {
        return InputError{Field::voltage, Problem::both_drives, Scale::file};
    }
    if (!in[Field::power] && !in[Field::voltage]) {
        return InputError{Field::power, Problem::no_drive, Scale::file};
    }
    return std::nullopt;
}

} // namespace

std::string highpass_key(std::size_t index) {
    return "highpass_" + std::to_string(index + 1);
}

EnclosureInputs blank_enclosure_inputs() {
    EnclosureInputs inputs;
    inputs.numbers.fill(std::nullopt);
    inputs.slot.fill(std::nullopt);
    return inputs;
}

std::string_view choice_text(const EnclosureInputs& inputs, Choice choice) {
    if (choice == Choice::port_shape) {
        return port_shape_text(inputs.port_shape);
    }
    return choice == Choice::flared_ends
               ? flared_ends_text(inputs.flared_ends)
               : mouth_text(choice == Choice::outer_mouth ? inputs.outer_mouth
                                                          : inputs.inner_mouth);
}

bool set_choice(EnclosureInputs& inputs, Choice choice, std::string_view word) {
    if (choice == Choice::port_shape) {
        const auto* found = std::find(port_shape_words.begin(), port_shape_words.end(), word);
        if (found != port_shape_words.end()) {
            inputs.port_shape = static_cast<PortShape>(found - port_shape_words.begin());
        }
        return found != port_shape_words.end();
    }
    if (choice == Choice::flared_ends) {
        const auto ends = flared_ends_from_text(word);
        if (ends) {
            inputs.flared_ends = *ends;
        }
        return ends.has_value();
    }
    const auto mouth = mouth_from_text(word);
    if (mouth) {
        (choice == Choice::outer_mouth ? inputs.outer_mouth : inputs.inner_mouth) = *mouth;
    }
    return mouth.has_value();
}

void reset_choice(EnclosureInputs& inputs, Choice choice) {
    const EnclosureInputs defaults;
    set_choice(inputs, choice, choice_text(defaults, choice));
}

std::string_view choice_words(Choice choice) {
    switch (choice) {
    case Choice::flared_ends:
        return "both, outer, inner or none";
    case Choice::port_shape:
        return "round or slot";
    case Choice::outer_mouth:
    case Choice::inner_mouth:
        break;
    }
    return "flanged or free";
}

std::string_view port_shape_text(PortShape shape) {
    return shape == PortShape::slot ? port_shape_words[1] : port_shape_words[0];
}

std::string_view mouth_text(MouthCondition mouth) {
    return mouth == MouthCondition::flanged ? "flanged" : "free";
}

std::optional<MouthCondition> mouth_from_text(std::string_view text) {
    if (text == "flanged") {
        return MouthCondition::flanged;
    }
    if (text == "free") {
        return MouthCondition::free;
    }
    return std::nullopt;
}

std::string_view flared_ends_text(FlaredEnds ends) {
    const auto i = static_cast<std::size_t>(ends);
    return i < flared_ends_words.size() ? flared_ends_words[i] : flared_ends_words[0];
}

std::optional<FlaredEnds> flared_ends_from_text(std::string_view text) {
    const auto* found = std::find(flared_ends_words.begin(), flared_ends_words.end(), text);
    if (found == flared_ends_words.end()) {
        return std::nullopt;
    }
    return static_cast<FlaredEnds>(found - flared_ends_words.begin());
}

EnclosureInputs parse_enclosure_inputs(std::string_view bytes) {
    EnclosureInputs inputs = blank_enclosure_inputs();
    if (bytes.starts_with(byte_order_mark)) {
        bytes.remove_prefix(byte_order_mark.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() &&
            bytes[start] == '\n') {
            ++start;
        }
        line = line.substr(0, line.find('#'));
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trim_blanks(line.substr(0, equals));
        const std::string_view value = trim_blanks(line.substr(equals + 1));
        if (const auto field = number_named(key)) {
            inputs[*field] = read_value(value);
        } else if (const auto choice = choice_named(key)) {
            if (!set_choice(inputs, *choice, value)) {
                reset_choice(inputs, *choice);
            }
        } else if (const auto place = highpass_named(key)) {
            inputs.highpass[*place] = read_filter(value);
        }
    }
    return inputs;
}

std::string serialise_enclosure_inputs(const EnclosureInputs& inputs) {
    std::string out = "# Venturon enclosure inputs: one key = value per line; an empty value "
                      "means not given.\n";
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (i == 0 || input_rows[i - 1].group != row.group) {
            out += "\n";
            out += group_comment(row.group);
            out += "\n";
        }
        add_line(out, row.key, value_text(inputs[row.field]));
    }
    out += "\n";
    out += group_comment(InputGroup::port);
    out += "\n";
    for (const ChoiceRow& row : choice_rows) {
        if (row.choice == Choice::port_shape) {
            out += "\n";
            out += slot_comment;
            out += "\n";
        }
        add_line(out, row.key, std::string(choice_text(inputs, row.choice)));
    }
    for (const Field field : slot_fields) {
        add_line(out, input_row(field).key, value_text(inputs[field]));
    }
    out += "\n";
    out += highpass_comment;
    out += "\n";
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        const auto& stage = inputs.highpass[i];
        add_line(out, highpass_key(i), stage ? filter_text(*stage) : std::string());
    }
    return out;
}

namespace {

// The driver, the box and the drive, checked and in the model's units; the
// port is the caller's.
Checked<EnclosureInput> to_model_input(const EnclosureInputs& in) {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (row.field == Field::power) {
            if (auto error = check_drive(in)) {
                return *error;
            }
        }
        const std::optional<double>& value = in[row.field];
        if (!value) {
            if (row.required) {
                return InputError{row.field, Problem::missing, Scale::file};
            }
            continue;
        }
        if (auto error = check_input(row.field, *value, Scale::file)) {
            return *error;
        }
    }
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        if (in.highpass[i]) {
            if (auto error = check_filter(*in.highpass[i])) {
                error->scale = Scale::file;
                error->item = static_cast<int>(i + 1);
                return *error;
            }
        }
    }

    EnclosureInput out;
    for (const auto& stage : in.highpass) {
        if (stage) {
            out.highpass.push_back(*stage);
        }
    }
    out.driver.qes = out.driver.qms = out.driver.qts = 0; // 0: not given
    out.box.ql.reset();
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (const auto& value = in[row.field]) {
            set_input(out, row.field, to_model(row.field, *value));
        } else if (row.if_absent != 0) {
            set_input(out, row.field, row.if_absent * row.si_per_unit);
        }
    }
    return out;
}

} // namespace

Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& in, double port_diameter_mm,
                                           int port_count) {
    auto out = to_model_input(in);
    if (!out) {
        return out;
    }
    if (auto error = check_input(Field::port_diameter, port_diameter_mm, Scale::file)) {
        return *error;
    }
    if (auto error = check_input(Field::port_count, port_count)) {
        return *error;
    }
    EnclosureInput input = *out;
    set_input(input, Field::port_diameter, to_model(Field::port_diameter, port_diameter_mm));
    set_input(input, Field::port_count, port_count);
    return input;
}

Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& in, const SlotPort& slot) {
    auto out = to_model_input(in);
    if (!out) {
        return out;
    }
    if (auto error = check_slot(slot)) {
        return *error;
    }
    EnclosureInput input = *out;
    input.port = slot_port_size(slot);
    return input;
}

FlaredPort to_flared_port(const EnclosureInputs& inputs, double port_diameter_mm,
                          double flare_radius_mm, int port_count) {
    const FlaredEnds ends = inputs.flared_ends;
    FlaredPort port;
    port.diameter_m = port_diameter_mm / 1000;
    port.flare_radius_m = flare_radius_mm / 1000;
    port.count = port_count;
    port.outer = {ends == FlaredEnds::both || ends == FlaredEnds::outer, inputs.outer_mouth};
    port.inner = {ends == FlaredEnds::both || ends == FlaredEnds::inner, inputs.inner_mouth};
    return port;
}

Checked<SlotPort> to_slot_port(const EnclosureInputs& in) {
    for (const Field field : slot_fields) {
        const std::optional<double>& value = in[field];
        if (!value && (field == Field::slot_width || field == Field::slot_height)) {
            return InputError{field, Problem::missing, Scale::file};
        }
        if (value) {
            if (auto error = check_input(field, *value, Scale::file)) {
                return *error;
            }
        }
    }
    const double width = *in[Field::slot_width];
    const double height = *in[Field::slot_height];
    if (auto error =
            check_round_over(in[Field::slot_radius].value_or(0), width, height, Scale::file)) {
        return *error;
    }
    const FlaredEnds ends = in.flared_ends;
    SlotPort slot;
    slot.width_m = to_model(Field::slot_width, width);
    slot.height_m = to_model(Field::slot_height, height);
    slot.count = static_cast<int>(in[Field::slot_count].value_or(1));
    slot.walls = static_cast<int>(in[Field::slot_walls].value_or(0));
    slot.radius_m =
        in[Field::slot_radius] ? to_model(Field::slot_radius, *in[Field::slot_radius]) : 0;
    // A round-over at the largest the slot takes stays within it after converting.
    slot.radius_m = std::min(slot.radius_m, largest_round_over(slot.width_m, slot.height_m));
    slot.outer = {ends == FlaredEnds::both || ends == FlaredEnds::outer, in.outer_mouth};
    slot.inner = {ends == FlaredEnds::both || ends == FlaredEnds::inner, in.inner_mouth};
    return slot;
}

} // namespace venturon
