#pragma once

// A whole design in one file: the enclosure designer's driver, box, drive, high-pass
// filters, port ends and port shape (a slot's numbers too), the driver's maker,
// model and comment, and the main window's port. "Save design…" writes it, "Open
// design…" and venturon-calc --design FILE read it. And the short list of recent
// designs the window keeps.
//
// The file is the enclosure inputs file (enclosure_inputs.h: one "key = value" per
// line, "#" comments, LF, CR LF or CR line ends, a UTF-8 byte order mark skipped,
// keys case-sensitive, the last of duplicate lines wins, unknown keys ignored, so
// that a design written by a newer version still opens), every one of its keys
// (pe_w, port_shape, the slot's, highpass_1 to highpass_4 among them), with these
// besides:
//
//   venturon_design = 1            marks the file as a design; the version writing it
//   driver_maker = "..."           texts, in double quotes: \" \\ \n \r \t inside;
//   driver_model = "..."           "#" inside the quotes is text; empty: none
//   driver_comment = "..."
//   port_diameter_mm = 100         the main window's port: internal diameter,
//   port_count = 1                 the number of ports (as its field reads it),
//   flare_radius_mm = 40           the flare radius,
//   flare_radius_is_minimum = yes  yes: the radius is the minimum worked out; no: given
//
// Reading is stricter than for the inputs file, since a design replaces
// everything at once: a file without the venturon_design line, a number that is
// not one number (words, nan, inf, beyond a double), a choice that is not one of
// its words, a filter not in the filters' grammar, or a text with no closing quote
// is refused with one line saying where (the line and its key), and nothing is
// read from it. An empty value still means not given. Numbers are written in the
// shortest text that reads back to the same double, so a design opened gives the
// same results to the last digit.

#include "enclosure_inputs.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace venturon {

// What names a driver, as its file gives it (UTF-8); empty: not known.
struct DriverIdentity {
    std::string maker;
    std::string model;
    std::string comment;

    bool empty() const { return maker.empty() && model.empty() && comment.empty(); }
    friend bool operator==(const DriverIdentity&, const DriverIdentity&) = default;
};

// The main window's port.
struct DesignPort {
    std::optional<double> diameter_mm;
    std::optional<double> count;
    std::optional<double> flare_radius_mm;
    bool minimum_radius = true; // the radius is the minimum worked out, not a given one

    friend bool operator==(const DesignPort&, const DesignPort&) = default;
};

struct Design {
    EnclosureInputs inputs = blank_enclosure_inputs();
    DriverIdentity identity;
    DesignPort port;

    friend bool operator==(const Design&, const Design&) = default;
};

// The version this program writes into venturon_design.
inline constexpr int design_version = 1;

// Why a design file was refused: one line ("line 12: vb_l: \"abc\" is not a
// number"), without the file's name.
struct DesignProblem {
    std::string message;
};

std::variant<Design, DesignProblem> parse_design(std::string_view bytes);

// Every key of the design, one per line ended by LF, under comments naming the groups.
std::string serialise_design(const Design& design);

// What the reader ignores at the end of the file, for a rewrite in place: blank lines.
inline constexpr std::string_view design_filler = "\n";

// The maker, model and comment of any text in the design's key = value lines, read
// leniently (a text that is not quoted is taken up to a "#"); empty where not given.
DriverIdentity parse_identity(std::string_view text);

// The texts of an identity made safe to show on one line: control characters
// become blanks, blanks at the ends go, and a text longer than max_text_length
// characters is cut there with "…" at the end. Input that is not UTF-8 is read
// as Windows-1252.
inline constexpr std::size_t max_text_length = 200;
std::string one_line_text(std::string_view text);

// The recent designs, newest first: the paths as the window gives them (UTF-8).
// The window keeps the list in venturon-recent-designs.txt beside venturon.ini
// (design_storage.h), one path per line.
class RecentDesigns {
public:
    static constexpr std::size_t default_capacity = 6;
    explicit RecentDesigns(std::size_t capacity = default_capacity);

    const std::vector<std::string>& paths() const { return paths_; }
    std::size_t capacity() const { return capacity_; }

    // Puts a path first; one already listed moves there. The oldest beyond the
    // capacity drop off. An empty path, or one holding a line end or a NUL, which
    // the file could not keep, is not added; false then.
    bool add(std::string_view path);
    void remove(std::string_view path);
    // Drops the paths for which `exists` says false (files deleted or moved).
    void drop_missing(const std::function<bool(const std::string&)>& exists);

    // One path per line, LF.
    std::string serialise() const;
    // Reads such lines (LF, CR LF or CR), newest first; blank lines, duplicates
    // and lines beyond the capacity are skipped.
    static RecentDesigns parse(std::string_view bytes, std::size_t capacity = default_capacity);

    friend bool operator==(const RecentDesigns&, const RecentDesigns&) = default;

private:
    std::vector<std::string> paths_;
    std::size_t capacity_;
};

} // namespace venturon
