#pragma once

// The words for what is wrong with an input, and the units a quantity shows in:
// the command line and the window say the same, in the units on screen.

#include "inputs.h"
#include "units_mode.h"

#include <string>
#include <string_view>

namespace venturon {

// How units are written: as plain text ("cm^2", the command line's) or as the
// window writes them ("cm²").
enum class UnitStyle { text, window };

// The unit a row's value shows in, and the factor from the file's unit to it:
// the file's own in metric; cubic feet, square inches and inches for volumes,
// areas and lengths when the units mode is imperial.
struct ShownUnit {
    double per_file_unit = 1;
    std::string_view unit;
};
ShownUnit shown_unit(const InputRow& row, UnitsMode units, UnitStyle style);

// One line: "Fs must be between 1 and 1000 Hz", "Vas must be given". An error in
// the file's units (Scale::file) is said in the units on screen for the mode;
// one in the model's units in those.
std::string input_message(const InputError& error, UnitsMode units = UnitsMode::metric,
                          UnitStyle style = UnitStyle::text);

// Decimal text without an exponent or trailing zeros, rounded to nine decimals and
// six significant digits at most, the same in every locale: 0.00001, 100000,
// 0.000353147, -50.
std::string bound_text(double value);

} // namespace venturon
