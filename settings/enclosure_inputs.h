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
// - A choice (outer_mouth, inner_mouth, flared_ends) that is empty, missing or not
//   one of its words takes its default: flanged, free, both.
//
// Keys and units:
//   fs_hz, qes, qms, qts, vas_l, sd_cm2, re_ohm, xmax_mm, le_mh, drivers  (driver)
//   vb_l, fb_hz, ql, qa, qp                                               (box)
//   power_w, voltage_v, temperature_c                                     (drive, air)
//   outer_mouth (flanged|free), inner_mouth (flanged|free),
//   flared_ends (both|outer|inner|none)                                   (ports)

#include "enclosure.h"
#include "port_length.h"

#include <optional>
#include <string>
#include <string_view>

namespace venturon {

// Which ends of the ports carry the flare.
enum class FlaredEnds { both, outer, inner, none };

// Every number is optional: nullopt means "not given". Defaults are the inputs of a
// first start, a worked example: a subwoofer driver in 60 L tuned to 30 Hz. A
// program without its file starts from these; a file is read from nothing given
// (blank_enclosure_inputs), so that a key it lacks stays not given.
struct EnclosureInputs {
    // One driver, data sheet values.
    std::optional<double> fs_hz = 25;
    std::optional<double> qes = 0.45;
    std::optional<double> qms = 5;
    std::optional<double> qts;         // not given: from Qes and Qms
    std::optional<double> vas_l = 100; // litres
    std::optional<double> sd_cm2 = 500;
    std::optional<double> re_ohm = 3.6;
    std::optional<double> xmax_mm = 12; // one way; not given: unknown
    std::optional<double> le_mh;        // not given: no inductance
    std::optional<double> drivers = 1;  // identical drivers in the box; not given: 1
    // The box: net volume, tuning and losses as Qs at Fb (not given: no such loss).
    std::optional<double> vb_l = 60;
    std::optional<double> fb_hz = 30;
    std::optional<double> ql = 7;
    std::optional<double> qa;
    std::optional<double> qp;
    // The signal (power into the nominal load Re/N, or an RMS voltage; exactly one
    // of them) and the air.
    std::optional<double> power_w = 100;
    std::optional<double> voltage_v;
    std::optional<double> temperature_c = 20; // not given: 20 C
    // The ports' ends.
    MouthCondition outer_mouth = MouthCondition::flanged;
    MouthCondition inner_mouth = MouthCondition::free;
    FlaredEnds flared_ends = FlaredEnds::both;

    // Numbers compare by value (0 == -0).
    friend bool operator==(const EnclosureInputs&, const EnclosureInputs&) = default;
};

// Nothing given, the choices at their defaults: what a file without any key reads as.
EnclosureInputs blank_enclosure_inputs();

// The keys of the file, in the order serialise_enclosure_inputs writes them.
enum class EnclosureKey {
    fs_hz,
    qes,
    qms,
    qts,
    vas_l,
    sd_cm2,
    re_ohm,
    xmax_mm,
    le_mh,
    drivers,
    vb_l,
    fb_hz,
    ql,
    qa,
    qp,
    power_w,
    voltage_v,
    temperature_c,
    outer_mouth,
    inner_mouth,
    flared_ends,
};
inline constexpr int enclosure_key_count = 21;

// "fs_hz", "outer_mouth", ...
std::string_view enclosure_key_name(EnclosureKey key);
// The number a key stands for; nullptr for the three choices.
std::optional<double>* enclosure_number(EnclosureInputs& inputs, EnclosureKey key);
const std::optional<double>* enclosure_number(const EnclosureInputs& inputs, EnclosureKey key);
// The key whose value an error of the model points at; nullopt for the port's own
// fields (diameter, count, flare radius) and the curve's.
std::optional<EnclosureKey> enclosure_key_of(Field field);

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

// The bounds of each input in the file's units: the model's limits converted.
namespace sheet_limits {
inline constexpr Range vas_l{0.01, 100000};
inline constexpr Range sd_cm2{0.1, 20000};
inline constexpr Range xmax_mm{0, 200};
inline constexpr Range le_mh{0, 1000};
inline constexpr Range vb_l{0.01, 100000};
inline constexpr Range port_diameter_mm{1, 2000};
inline constexpr Range flare_radius_mm{0, 2000};
} // namespace sheet_limits

// Checks the inputs and converts them to the model's SI units, for N ports of the
// given internal diameter. Everything the model needs must be given: Fs, Vas, Sd,
// Re, Vb, Fb, enough of Qes, Qms and Qts, and either the power or the voltage (not
// both). Messages name the input and its unit as in the file ("Vas must be between
// 0.01 and 100000 L"); the drivers must be a whole number. solve_enclosure checks
// what depends on several inputs (Qts against Qes and Qms).
Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& inputs, double port_diameter_mm,
                                           int port_count);

// The ports for port_length: N ports of the diameter and flare radius, their ends
// flared and placed as the inputs say. No checks: port_length makes them.
FlaredPort to_flared_port(const EnclosureInputs& inputs, double port_diameter_mm,
                          double flare_radius_mm, int port_count);

} // namespace venturon
