#pragma once

// The enclosure designer's inputs in the units a builder reads off a data sheet,
// and their text file: the window keeps them in venturon-enclosure.ini beside
// venturon.ini, and venturon-calc reads the same file with --driver.
//
// The file holds one "key = value" per line:
//
//   # Driver: one driver's data sheet values.
//   fs_hz = 25
//   qts =
//   outer_mouth = flanged
//
// - Lines end in LF, CR LF or a lone CR; a UTF-8 byte order mark at the start is
//   skipped. Blank lines are ignored.
// - A "#" starts a comment that runs to the end of its line, wherever it stands.
// - Blanks (spaces, tabs) around keys and values do not count. Keys are
//   case-sensitive. A line without "=" and a key this program does not know are
//   ignored; unknown keys are not kept, so saving drops them.
// - When a key appears more than once, its last line wins.
// - A number is one decimal number ("25", "0.45", "1e-3"); anything else (words,
//   two numbers, nan, inf, a number beyond the range of a double or too small to
//   tell from 0) counts as not given, as does an empty value or a missing key.
//   Numbers are not range-checked here: to_enclosure_input does that, with a
//   message naming the input.
// - A choice (outer_mouth, inner_mouth, flared_ends, port_shape) that is empty,
//   missing or not one of its words takes its default: flanged, free, both, round.
// - port_shape = slot makes the ports slots (engine/slot_port.h), described by
//   slots, slot_width_mm, slot_height_mm, slot_walls and slot_radius_mm; a round
//   port's size is the main window's, not the file's.
// - highpass_1 to highpass_4 each hold one high-pass filter on the amplifier's
//   output in the grammar of engine/filters.h ("bw4@18", "lr4@20", "bessel2@15",
//   "q0.7@22"); they act in series. Text that does not follow the grammar counts
//   as not given, as for numbers; an order, a Q or a frequency out of its bounds
//   is kept for to_enclosure_input to refuse with a message.
//
// The numbers' keys and units are input_rows' (engine/inputs.h); the choices'
// keys are choice_rows' below.

#include "enclosure.h"
#include "port_length.h"
#include "slot_port.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace venturon {

// Which ends of the ports carry the flare (a slot's: the round-over).
enum class FlaredEnds { both, outer, inner, none };

// Round ports (the main window's) or slots (the file's slot numbers).
enum class PortShape { round, slot };

// Every number of the file by its field (input_rows gives its key, unit and
// bounds), each optional: nullopt means "not given". A record starts as the
// designer's first start, a worked example: a subwoofer driver in 60 L tuned to
// 30 Hz. A file is read from nothing given (blank_enclosure_inputs), so that a key
// it lacks stays not given.
struct EnclosureInputs {
    std::array<std::optional<double>, file_number_count> numbers = first_start_numbers();
    // The ports' ends.
    MouthCondition outer_mouth = MouthCondition::flanged;
    MouthCondition inner_mouth = MouthCondition::free;
    FlaredEnds flared_ends = FlaredEnds::both;
    // The high-pass filters, highpass_1 to highpass_4; nothing: not given.
    std::array<std::optional<FilterStage>, max_filter_stages> highpass{};
    // The ports' shape, and the slot's numbers in the order of slot_fields (used
    // when the shape is a slot; kept either way).
    PortShape port_shape = PortShape::round;
    std::array<std::optional<double>, slot_fields.size()> slot = first_start_slot();

    // A number of the file: one of its numbers (in_file(field)) or the slot's
    // (slot_index(field)); no other field.
    std::optional<double>& operator[](Field field) {
        const auto i = slot_index(field);
        return i ? slot[*i] : numbers[static_cast<std::size_t>(field)];
    }
    const std::optional<double>& operator[](Field field) const {
        const auto i = slot_index(field);
        return i ? slot[*i] : numbers[static_cast<std::size_t>(field)];
    }

    static constexpr std::array<std::optional<double>, file_number_count> first_start_numbers() {
        std::array<std::optional<double>, file_number_count> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = input_rows[i].first_start;
        }
        return out;
    }
    static constexpr std::array<std::optional<double>, slot_fields.size()> first_start_slot() {
        std::array<std::optional<double>, slot_fields.size()> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = input_row(slot_fields[i]).first_start;
        }
        return out;
    }

    // Numbers compare by value (0 == -0).
    friend bool operator==(const EnclosureInputs&, const EnclosureInputs&) = default;
};

// Nothing given, the choices at their defaults: what a file without any key reads as.
EnclosureInputs blank_enclosure_inputs();

// The file's fields in the order the file writes them.
constexpr Field file_field(std::size_t index) {
    return input_rows[index].field;
}

// The choices of the file besides its numbers.
enum class Choice { outer_mouth, inner_mouth, flared_ends, port_shape };
struct ChoiceRow {
    Choice choice;
    std::string_view key;    // in the file
    std::string_view option; // on the command line, without its dashes; empty: none
    std::string_view help;   // for --help
};
inline constexpr std::array<ChoiceRow, 4> choice_rows{{
    {Choice::outer_mouth, "outer_mouth", "outer-mouth",
     "Ports' outer mouth: flanged (in the baffle) or free (default: flanged)."},
    {Choice::inner_mouth, "inner_mouth", "inner-mouth",
     "Ports' inner mouth: flanged or free (default: free)."},
    {Choice::flared_ends, "flared_ends", "flared-ends",
     "Ports' ends with the flare: both, outer, inner or none (default: both)."},
    // venturon-calc's --slot and --diameter say the shape.
    {Choice::port_shape, "port_shape", "", "Ports' shape: round or slot (default: round)."},
}};

// A choice's word ("flanged", "both"); and the choice set from a word, false when
// the word is not one of its own (the record is left as it was).
std::string_view choice_text(const EnclosureInputs& inputs, Choice choice);
bool set_choice(EnclosureInputs& inputs, Choice choice, std::string_view word);
// Back to its default: flanged, free, both, round.
void reset_choice(EnclosureInputs& inputs, Choice choice);
// The words a choice takes, for messages: "flanged or free", "both, outer, inner or none".
std::string_view choice_words(Choice choice);
// "round", "slot".
std::string_view port_shape_text(PortShape shape);

// The key of the high-pass filter at a place from 0: "highpass_1" ... "highpass_4".
std::string highpass_key(std::size_t index);

// "flanged", "free"; "both", "outer", "inner", "none". The readers compare exactly.
std::string_view mouth_text(MouthCondition mouth);
std::optional<MouthCondition> mouth_from_text(std::string_view text);
std::string_view flared_ends_text(FlaredEnds ends);
std::optional<FlaredEnds> flared_ends_from_text(std::string_view text);

// What the reader ignores at the end of the file: blank lines. A file rewritten in
// place is padded with them, up to its old length, before it is cut to the new one.
inline constexpr std::string_view enclosure_inputs_filler = "\n";

// Reads the file's bytes, whatever they hold; never fails and never gives a number
// that is not finite.
EnclosureInputs parse_enclosure_inputs(std::string_view bytes);

// Writes every key, one per line ended by LF, under comments naming the groups.
// Numbers are written in the shortest text that reads back to the same double; a
// number that is not finite is written as not given. parse_enclosure_inputs
// reads the result back to an equal record.
std::string serialise_enclosure_inputs(const EnclosureInputs& inputs);

// Checks the inputs and converts them to the model's SI units, for N ports of the
// given internal diameter. Everything the model needs must be given: Fs, Vas, Sd,
// Re, Vb, Fb, enough of Qes, Qms and Qts, and either the power or the voltage (not
// both). Errors are in the file's units (Scale::file); the drivers must be a whole
// number; a filter's error has its place from 1 as `item`. The filters given go
// to the model in their order. solve_enclosure checks what depends on several
// inputs (Qts against Qes and Qms).
Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& inputs, double port_diameter_mm,
                                           int port_count);

// The ports for port_length: N ports of the diameter and flare radius, their ends
// flared and placed as the inputs say. No checks: port_length makes them.
FlaredPort to_flared_port(const EnclosureInputs& inputs, double port_diameter_mm,
                          double flare_radius_mm, int port_count);

// The slots the inputs describe (their shape need not be a slot), in the model's
// units, their ends rounded over and placed as flared_ends and the mouths say.
// Checked in the file's units (Scale::file): the width and height must be given,
// the count, walls and round-over may be left out (1, 0 and 0); the round-over
// must not be larger than the slot's smaller side.
Checked<SlotPort> to_slot_port(const EnclosureInputs& inputs);

// to_enclosure_input for the slots (to_slot_port's): their count, and their area
// and hydraulic diameter as the ports' size.
Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& inputs, const SlotPort& slot);

} // namespace venturon
