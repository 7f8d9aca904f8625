#pragma once

// The settings files the tests write and expect, as lines and as file bytes:
// the example of a saved state and the file of a first start. Plain C++, for
// the suites without Qt too.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace venturon::testing {

using SettingsLines = std::vector<std::string>;

// What a first start writes, line by line. Line 4 holds the radius of the
// record's defaults; a window writes the radius it worked out.
// clang-format off
inline const SettingsLines first_start_settings_lines{
    "cruise_on",                                  // 1: cruise control
    " 100", "1", " 10",                           // 2-4: diameter mm, ports, radius mm
    " 100", " 1", " 10", " 14", " 12", " 7",      // 5-10: cruise reference: diameter, ports, m/s
    "Calculate_minimum",                          // 11: calculation mode
    "Boundary_mask_on", "Boundary_seat_off",      // 12-13: chuffing allowance
    "Core_mask_off", "Core_seat_off",             // 14-15: core allowance
    "Home_Theatre",                               // 16: content
    "metric"};                                    // 17: units

// A saved state unlike the first start's: two 6-inch ports with a manual radius
// of 1 inch and cruise control off, seating allowance for chuffing and masking
// for the core limit, music, feet and inches.
inline const SettingsLines example_settings_lines{
    "cruise_off", " 152.4", "2", " 25.4", " 152.4", " 2", " 12", " 15", " 18", " 20",
    "Manually_specify", "Boundary_mask_off", "Boundary_seat_on", "Core_mask_on", "Core_seat_off",
    "Music", "inches"};
// clang-format on

// The lines as a file: each ended by CR LF.
inline std::string crlf_file(const SettingsLines& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\r\n";
    }
    return out;
}

// The lines with line `number` (counted from 1) replaced by text.
inline SettingsLines with_line(SettingsLines lines, int number, std::string text) {
    lines.at(static_cast<std::size_t>(number - 1)) = std::move(text);
    return lines;
}

inline const std::string example_settings_file = crlf_file(example_settings_lines);
inline const std::string first_start_settings_file = crlf_file(first_start_settings_lines);

} // namespace venturon::testing
