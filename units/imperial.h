#pragma once

#include <string>
#include <string_view>

namespace venturon {

inline constexpr double mm_per_inch = 25.4;
inline constexpr double inches_per_foot = 12.0;

// Result of reading a typed imperial length.
struct ImperialParse {
    std::string result;  // "0", "ERR", or the length in millimetres as number text
    std::string message; // empty on success, else the first rule broken
};

// Reads decimal inches ("6.25") or feet, whole inches and a fraction ("6' 10 1/2")
// into millimetres.
ImperialParse in2mm(std::string_view text);

// The two imperial renderings of a length held in millimetres.
struct ImperialFormat {
    std::string feet_inches;    // e.g. "6' 10 1/2", nearest sixteenth; "0" or "ERR"
    std::string decimal_inches; // number text of the inches cut to four decimals; "0" or "ERR"
    std::string message;        // empty or "Invalid character"
};

// Renders a millimetre text (digits and "." only) as feet-and-inches and decimal inches.
ImperialFormat mm2in(std::string_view millimetres);

// A length in ten-thousandths of an inch, where a quotient a hair either side of a
// whole ten-thousandth counts as it (1.0091 inches is 25.63114 mm, which divides to
// 10090.99999...): cutting to whole ten-thousandths, or rounding up, never gives
// the neighbour of the decimal that was typed. Other lengths keep every digit.
double ten_thousandths_of_inch(double millimetres);

// Decimal text of a stored length as mm2in expects it: up to 15 significant
// digits, no leading blank.
std::string length_text(double millimetres);

} // namespace venturon
