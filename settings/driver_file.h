#pragma once

// Driver files: what "Open driver…" in the enclosure designer and venturon-calc
// --driver FILE read. Three kinds, told apart by their content, never by their
// name:
//
// - JSON data sheets: a JSON object (the text starts with "{") with a member per
//   value: fs, qes, qms, qts, vas, sd, re, le, xmax, bl, mms, cms, rms, pe, dia,
//   in SI units, as numbers (or texts holding one number); manufacturer (or maker
//   or brand), model (or name) and comment (or description or notes) as texts.
// - Key = value driver files with a [Driver] section: plain text, one "Key=Value"
//   per line, "." as the decimal point, SI units: fs (Hz), Qms, Qes, Qts, Vas
//   (m^3), Sd (m^2), Re (ohm), Le (H), Xmax (m, one way), Pe (W), BL (T m), Mms
//   (kg), Cms (m/N), Rms (kg/s), Dia (m), Manufacturer, Model, Comment. Only the
//   [Driver] section is read; lines starting with ";" or "#" are comments.
// - Venturon's own inputs file (enclosure_inputs.h), or a design (design_file.h):
//   any other text with at least one of its keys, or none but comments and blanks.
//
// In all of them keys of the first two kinds match without regard to case, keys
// not known are ignored, the last of duplicate keys wins, lines may end in LF, CR
// LF or CR, and text may be UTF-8 (with or without a byte order mark), UTF-16 with
// a byte order mark, or Windows-1252. An empty value (or a JSON null) is not
// given; a value that is not one number refuses the file, naming its key.
//
// What a file leaves out is worked out where the physics allows (SI units; rho c^2
// of air at 20 C, 1.204 kg/m^3 and 343.2 m/s, the temperature data sheets are
// measured at):
//
//   Sd  = pi Dia^2 / 4             Dia taken as the diameter of the radiating area
//                                  (cone and about half the surround: the diameter
//                                  Sd is the area of), not the frame's size
//   Cms = Vas / (rho c^2 Sd^2)     and the other way round, Vas = rho c^2 Cms Sd^2
//   Mms = 1 / ((2 pi fs)^2 Cms)    and Cms from fs and Mms, fs = 1 / (2 pi sqrt(Mms Cms))
//   Qms = 2 pi fs Mms / Rms        } only while fewer than two of Qes, Qms, Qts are
//   Qes = 2 pi fs Mms Re / Bl^2    } known, so that three Qs never contradict
//   Qts = Qes Qms / (Qes + Qms)    (or Qes, Qms from Qts and the other)
//
// The third Q is shown as worked out but is not put among the inputs when two are
// known: the model works it out the same way, and a typed Qes then never
// contradicts a stored Qts.

#include "design_file.h"
#include "enclosure_inputs.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace venturon {

enum class DriverFileFormat { venturon_inputs, driver_section, json_data_sheet };

// "venturon-inputs", "driver-section", "json-data-sheet": for JSON and scripts.
std::string_view driver_file_format_key(DriverFileFormat format);
// "Venturon inputs file", "[Driver] section", "JSON data sheet": for people.
std::string_view driver_file_format_text(DriverFileFormat format);

enum class ValueOrigin { absent, given, derived };

// A value the file left out, worked out from others.
struct Derivation {
    std::string_view name;    // "Qes", "Sd", "Mms"
    std::string_view from;    // "fs, Mms, Re and BL"
    std::string_view formula; // "Qes = 2 pi fs Mms Re / Bl^2"
    double value = 0;         // in `unit`: an input's in the inputs file's unit
    std::string_view unit;    // "cm^2", "L"; "kg", "m/N" for the others; "" for a Q
    // False for the third Q, shown but not among the inputs (see above).
    bool in_inputs = true;
};

struct DriverFile {
    DriverFileFormat format = DriverFileFormat::venturon_inputs;
    // Venturon's own file: every number and choice it holds. The others: the
    // driver's numbers alone (Fs to Le), given or worked out, in the inputs file's
    // units (L, cm^2, mm, mH); everything else not given.
    EnclosureInputs inputs = blank_enclosure_inputs();
    std::array<ValueOrigin, file_number_count> origin{};
    // The file's own key of each number ("Vas", "vas", "vas_l"), for messages;
    // for a number it lacks, the key it would have.
    std::array<std::string, file_number_count> keys;
    std::vector<Derivation> derived; // in the order worked out
    DriverIdentity identity;         // one line each, at most max_text_length characters
    // The thermal power rating Pe, W, when the file gives it. Where the inputs have
    // a number keyed pe_w, it is in `inputs` as well, and with_driver carries it.
    std::optional<double> pe_w;
};

// Why a file was refused: the file's key at fault (empty when the whole file is)
// and why, one line.
struct DriverFileProblem {
    std::string key;
    std::string message;

    // "fs: missing, and no Mms with Cms to work it out from"
    std::string text() const { return key.empty() ? message : key + ": " + message; }
};

using DriverFileReading = std::variant<DriverFile, DriverFileProblem>;

// Recognises a file's bytes and reads them, working out what the physics allows.
// Refuses what is none of the three kinds, JSON that does not parse, and a known
// key whose value is not a number. Any bytes are safe.
DriverFileReading parse_driver_file(std::string_view bytes);

// What the model needs of the driver and the file does not give, a value outside
// its bounds, or Qs that contradict each other; nothing when the driver is
// complete. Only the driver's numbers are checked (Fs to Le).
std::optional<DriverFileProblem> driver_file_problem(const DriverFile& file);

// Driver files are small: a larger file is refused from its size, unread.
inline constexpr qint64 driver_file_read_limit = qint64{1024} * 1024;

// The file at path, read (a regular file of at most driver_file_read_limit bytes)
// and parsed.
DriverFileReading read_driver_file(const QString& path);

// read_driver_file and then driver_file_problem: what "Open driver…" does before
// it changes anything.
DriverFileReading open_driver_file(const QString& path);

// "woofer.txt: fs: missing, and no Mms with Cms to work it out from"
std::string driver_file_message(const QString& path, const DriverFileProblem& problem);

// The inputs with the driver's numbers (Fs to Le, and Pe where a number is keyed
// pe_w) replaced by the file's, given or not; the number of drivers, the box, the
// drive and the ports' ends stay as they were.
EnclosureInputs with_driver(const EnclosureInputs& current, const DriverFile& driver);

} // namespace venturon
