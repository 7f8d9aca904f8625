#pragma once

#include "units_mode.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace venturon {

// The 17 positional lines of venturon.ini, decoded. Defaults are the values of a
// missing line: a short file leaves everything after its last line as here.
struct SettingsRecord {
    int lines_read = 0;                              // lines the file held, 0 to 17
    bool cruise_on = true;                           // 1: exactly "cruise_on"
    double diameter_mm = 100;                        // 2
    std::string port_text = "1";                     // 3: the port-count field's raw text
    double radius_mm = 10;                           // 4
    double lock_diameter_mm = 100;                   // 5: cruise reference
    double lock_ports = 1;                           // 6
    std::array<double, 4> lock_v{10, 14, 12, 7};     // 7 to 10: m/s at 20, 25, 30, 35 Hz
    bool minimum_mode = true;                        // 11: exactly "Calculate_minimum"
    std::string boundary_mask = "Boundary_mask_on";  // 12, as read
    std::string boundary_seat = "Boundary_seat_off"; // 13
    std::string core_mask = "Core_mask_off";         // 14
    std::string core_seat = "Core_seat_off";         // 15
    std::string content_type = "Home_Theatre";       // 16
    UnitsMode units_mode = UnitsMode::metric;        // 17: "metric", "inches" or "decimalinches"

    // Every member counts, lines_read included; numbers compare by value (0 == -0).
    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

inline constexpr int settings_line_count = 17;

// What the reader ignores after the 17 lines: CR LF line ends. A file rewritten in
// place is padded with them, up to its old length, before it is cut to the new one.
inline constexpr std::string_view settings_filler = "\r\n";

// Splits single-byte text into lines. A line ends at CR LF, a lone CR or a lone
// LF; a last line without an ending counts when it holds at least one byte. Every
// other byte, NUL included, stays in its line.
std::vector<std::string> split_settings_lines(std::string_view bytes);

// Decodes the first 17 lines; later lines are ignored and missing ones keep the
// defaults of SettingsRecord. Numbers are read by text_value, texts are kept
// byte for byte, an unknown units mode reads as metric. Accepts any bytes.
SettingsRecord parse_settings(std::string_view bytes);

// Encodes a record as exactly 17 lines, each ended by CR LF. Numbers are written
// by number_text (leading blank kept). Texts are written as they stand, less any
// CR or LF byte, which would otherwise split a line in two and shift every later
// line. parse_settings reads the result back to a record that serialises to the
// same bytes.
std::string serialise_settings(const SettingsRecord& record);

} // namespace venturon
