#pragma once

// How lengths and numbers are read from text and shown in a field or a report,
// shared by the windows and venturon-calc.

#include "units_mode.h"

#include <optional>
#include <string>
#include <string_view>

namespace venturon {

// A length that must at least be cut (a minimum flare radius) shows the next
// display step up, so that what is shown is always enough; other lengths show
// the nearest step (feet and inches) or are cut (decimal inches, whole millimetres).
enum class Rounding { nearest, up };

// The smallest length, at least `millimetres`, that shows exactly in the units:
// a whole number of `metric_step` millimetres, of sixteenths of an inch, or of
// ten-thousandths of an inch. A hair below a whole step (rounding, 1e-9 of a step)
// counts as that step. Negative lengths and non-numbers give 0.
double shown_minimum(double millimetres, UnitsMode units, double metric_step = 1);

// The text a length field shows: whole millimetres with number text's leading
// blank, feet-and-inches to the sixteenth, or decimal inches (leading blank).
// With Rounding::up the length is first raised to shown_minimum.
std::string field_length_text(double millimetres, UnitsMode units,
                              Rounding rounding = Rounding::nearest);

std::string_view unit_symbol(UnitsMode units); // "mm" or "in"

// A real number written as the whole text (blanks around it allowed): no trailing
// words, no nan or infinity. A number too small for a double reads as 0.
struct NumberReading {
    std::optional<double> value;
    bool too_large = false; // beyond the largest double
};
NumberReading read_number(std::string_view text);

// What a number beyond the largest double is told.
inline constexpr std::string_view too_large = "too large (the largest number is about 1.8e308)";

struct LengthReading {
    std::optional<double> millimetres;
    std::string problem; // why the text is not a length, when it is not
};

// Reads a length typed in the given units. Imperial texts go through in2mm, whose
// own message names the rule that was broken; a length whose millimetres pass
// the largest double is too large. The sign is left to the caller.
LengthReading read_length(std::string_view text, UnitsMode units);

// Fixed-point text with the given number of decimals; very large magnitudes fall
// back to number text (exponent form) so that a column never holds hundreds of digits.
std::string fixed(double value, int decimals);

// A length held in millimetres as it shows in the given units, without the unit:
// metric with `decimals` decimals (number text when negative), feet and inches to
// a sixteenth, or decimal inches to four decimals. A minimum (Rounding::up) shows
// the next step up in every unit, the last decimal of millimetres included.
std::string length_number(double millimetres, UnitsMode units, int decimals = 3,
                          Rounding rounding = Rounding::nearest);

// length_number followed by its unit ("26.243 mm", "1 1/16 in", "5'").
std::string show_length(double millimetres, UnitsMode units, int decimals = 3,
                        Rounding rounding = Rounding::nearest);

} // namespace venturon
