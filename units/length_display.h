#pragma once

// How a length held in millimetres shows in a field or a report, shared by the
// windows and venturon-calc.

#include "units_mode.h"

#include <string>

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

} // namespace venturon
