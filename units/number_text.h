#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace venturon {

// The value of the number at the start of a text. Blanks (space, tab, line feed)
// are skipped wherever they stand; an optional sign, digits with at most one "."
// and an optional exponent are read; reading stops at the first character that
// cannot continue the number. A text without a leading number, or whose number
// lies beyond the range of a double, reads as 0. The result is always finite.
double text_value(std::string_view text);

// Whether the number at the start of a text, as text_value reads it, is larger
// in magnitude than any double (text_value then gives 0).
bool beyond_double(std::string_view text);

// The value of a text that is one number and nothing else, blanks around it
// aside, as text_value reads it; nothing when the text holds more (a second
// number, letters, a comma, blanks inside) or its number lies beyond a double.
std::optional<double> complete_number(std::string_view text);

// Decimal text of a number: at most 15 significant digits, "." as the point, no
// trailing zeros, a leading "-" for negative values and a leading space for all
// others. Values below 1 keep their "0" before the point; "-0" is never written.
// Very large or very small magnitudes use an exponent ("1e+20"). A value that is
// not finite never shows as such: NaN writes " 0" and an infinity writes the
// largest magnitude that reads back as a finite number.
std::string number_text(double x);

// number_text without its leading blank.
std::string number_text_trimmed(double x);

// Rounding down to a whole number (towards minus infinity).
double Int(double x);

// Removes leading and trailing spaces (only the space character).
std::string trim_spaces(std::string_view text);

// The text without the blanks (spaces and tabs) around it.
std::string_view trim_blanks(std::string_view text);

// The parts of a text between its separators, empty ones included ("a,,b" has three).
std::vector<std::string_view> split_text(std::string_view text, char separator);

// A whole number from 0 up written as the whole text, digits only ("0401" too);
// nothing for any other text or one beyond an int.
std::optional<int> whole_number(std::string_view text);

} // namespace venturon
