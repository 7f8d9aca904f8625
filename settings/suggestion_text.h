#pragma once

// The words for the boxes suggested for a driver (engine/box_suggestion.h), in the
// units on screen: the command line's and the window's.

#include "box_suggestion.h"
#include "input_messages.h"
#include "units_mode.h"

#include <string>

namespace venturon {

// Which suggestion a row is: "flattest", "Vb 60 L", "F3 30 Hz".
std::string suggestion_label(const BoxSuggestion& suggestion, UnitsMode units = UnitsMode::metric,
                             UnitStyle style = UnitStyle::text);

// Why a suggestion has no box, one sentence without a full stop ("no tuning gives 10 L
// a response without a peak; the smallest volume that has one is 35.21 L"); empty
// when it has one. qts is the driver's, which a problem may name.
std::string suggestion_problem_text(const BoxSuggestion& suggestion, double qts,
                                    UnitsMode units = UnitsMode::metric,
                                    UnitStyle style = UnitStyle::text);

} // namespace venturon
