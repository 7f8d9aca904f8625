#include "slot_options.h"

#include "input_messages.h"
#include "number_text.h"
#include "slot_port.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>

namespace venturon::cli {

namespace {

// What the user typed for each of the slot's numbers, in the order of slot_fields,
// and the option it was typed with; nothing where the value came from the file.
struct Typed {
    std::array<std::optional<std::string>, slot_fields.size()> text;
    std::array<std::string_view, slot_fields.size()> option{};

    void set(Field field, std::string_view option_name, std::string typed) {
        const std::size_t i = *slot_index(field);
        text[i] = std::move(typed);
        option[i] = option_name;
    }
};

// WIDTHxHEIGHT, each a length in the units chosen.
std::array<double, 2> slot_size(std::string_view text, UnitsMode units) {
    const auto parts = split_text(text, text.find('X') != std::string_view::npos ? 'X' : 'x');
    if (parts.size() != 2) {
        reject("slot", text, "expected WIDTHxHEIGHT (for example 250x50)");
    }
    std::array<double, 2> out{};
    for (std::size_t i = 0; i < 2; ++i) {
        const LengthReading reading = read_length(parts[i], units);
        if (!reading.millimetres) {
            reject("slot", text, std::string(i == 0 ? "WIDTH" : "HEIGHT") + ": " + reading.problem);
        }
        out[i] = *reading.millimetres;
    }
    return out;
}

// 0, 1 or 2 as typed; the range is the inputs' check.
double wall_count(std::string_view text) {
    const NumberReading reading = read_number(text);
    if (!reading.value) {
        reject("slot-walls", text, "expected 0, 1 or 2");
    }
    return *reading.value;
}

// One line for a problem of the slot's numbers, naming where the value came from:
// the option as typed (in the units chosen), the --driver file and its key (in
// the file's millimetres), or the option to give a missing one with.
[[noreturn]] void slot_problem(const InputError& error, const Typed& typed,
                               const Options& options) {
    const std::size_t i = *slot_index(error.field);
    const InputRow& row = input_row(error.field);
    if (typed.text[i]) {
        reject(typed.option[i], *typed.text[i], input_message(error, options.units));
    }
    const std::string message = input_message(error);
    if (options.enclosure && !options.enclosure->driver_file.isEmpty() &&
        options.enclosure->inputs[error.field]) {
        throw BadInput{"--driver " + quoted_text(options.enclosure->driver_file.toStdString()) +
                       ": " + std::string(row.key) + ": " + message};
    }
    std::string line = "--" + std::string(row.option) + ": " + message;
    if (options.enclosure && !options.enclosure->driver_file.isEmpty()) {
        line += " (or " + std::string(row.key) + " in the --driver file)";
    }
    throw BadInput{line};
}

} // namespace

SlotOptions::SlotOptions()
    : slot_("slot",
            "The ports are slots, WIDTH by HEIGHT inside (lengths as --units says; the width "
            "along the box's wall when --slot-walls is 1 or 2). --ports is then the number of "
            "slots and --radius the round-over of their free edges; their limits are "
            "approximate.",
            "widthxheight"),
      walls_("slot-walls",
             "With --slot: how many of the slot's sides are the box's own walls: 0 (default), 1 "
             "(along the floor: a width side) or 2 (in a corner: a width and a height side).",
             "count") {}

QList<QCommandLineOption> SlotOptions::options() const {
    return {slot_, walls_};
}

void SlotOptions::read(const QCommandLineParser& parser, bool diameter_given, bool ports_given,
                       Options& options) const {
    const bool slot_given = parser.isSet(slot_);
    const bool from_file = !slot_given && !diameter_given && options.enclosure &&
                           options.enclosure->inputs.port_shape == PortShape::slot;
    if (!slot_given && !from_file) {
        if (parser.isSet(walls_)) {
            throw BadInput{"--slot-walls needs a slot (--slot WIDTHxHEIGHT)"};
        }
        if (options.enclosure) {
            options.enclosure->inputs.port_shape = PortShape::round;
        }
        return;
    }
    if (slot_given && diameter_given) {
        throw BadInput{"--slot and --diameter cannot be used together: a slot has no diameter"};
    }
    // The slot's numbers: the driver inputs' when there are any, so that the
    // report shows them and a problem names the file's key.
    EnclosureInputs own = blank_enclosure_inputs();
    EnclosureInputs& in = options.enclosure ? options.enclosure->inputs : own;
    in.port_shape = PortShape::slot;
    Typed typed;
    if (slot_given) {
        const std::string text = parser.value(slot_).toStdString();
        const auto size = slot_size(text, options.units);
        in[Field::slot_width] = size[0];
        in[Field::slot_height] = size[1];
        typed.set(Field::slot_width, "slot", text);
        typed.set(Field::slot_height, "slot", text);
    }
    if (parser.isSet(walls_)) {
        const std::string text = parser.value(walls_).toStdString();
        in[Field::slot_walls] = wall_count(text);
        typed.set(Field::slot_walls, "slot-walls", text);
    }
    if (ports_given || !in[Field::slot_count]) {
        in[Field::slot_count] = options.ports;
        if (ports_given) {
            typed.set(Field::slot_count, "ports",
                      parser.value(QStringLiteral("ports")).toStdString());
        }
    }
    if (options.radius_mm) {
        in[Field::slot_radius] = *options.radius_mm;
        typed.set(Field::slot_radius, "radius",
                  parser.value(QStringLiteral("radius")).toStdString());
    }

    const auto slot = to_slot_port(in);
    if (!slot) {
        slot_problem(slot.error(), typed, options);
    }
    options.slot = SlotShape{*in[Field::slot_width], *in[Field::slot_height], slot->walls};
    options.diameter_mm = hydraulic_diameter(*in[Field::slot_width], *in[Field::slot_height]);
    options.ports = slot->count;
    if (!options.radius_mm && in[Field::slot_radius]) {
        options.radius_mm = *in[Field::slot_radius];
    }
}

} // namespace venturon::cli
