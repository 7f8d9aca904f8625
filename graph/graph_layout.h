#pragma once

// What the graphs share about placing things: coordinates that pass through 32
// bits, grid steps that stay few, and texts kept apart at the size a picture is
// shown.

#include "drawing.h"

#include <QSizeF>
#include <QString>

#include <optional>
#include <span>

namespace venturon {

// A coordinate as the picture box takes it (32 bits); out-of-range values
// saturate instead of becoming infinite, so a line towards an absurd value keeps
// its direction.
double f32(double v);

// Number text without its leading blank: "5", "12.5".
QString digits(double v);

// Grid lines every `step` value units; for pictures far taller than any real
// design, the step grows by powers of ten so that a drawing never holds more
// than a few hundred of them. Gives the factor.
double grid_multiplier(double height, double step);

// The sizes at which a picture is shown, for keeping its texts apart.
struct TextSpace {
    double pixels_per_unit = 0; // vertical, pixels per value unit
    double picture_height = 0;  // pixels
    double text_height = 0;     // pixels, one line of the drawing's font
};

// Nothing when no size is given (or the picture is empty): then every item
// stands at its plain place.
std::optional<TextSpace> text_space(const Drawing& drawing, QSizeF picture_size, double height);

// The next of 1, 2, 5, 10, 20, ... (times the decade) above a step.
double next_round_step(double step);

// The step of value labels: `step`, or where labels that close would overlap at
// the picture's size, the next of 20, 50, 100, 200, ... (times the decade) that
// keeps them apart.
double label_step(double step, const std::optional<TextSpace>& space);

// The tops of legend texts (as the picture's y, value units below the top edge).
// Where at the picture's size two of them would overlap, or one would reach
// beyond the top or bottom edge, those move just enough to clear each other and
// stay inside; the others keep their places. Without a space, nothing moves.
void keep_legends_apart(std::span<double> tops, const std::optional<TextSpace>& space);

} // namespace venturon
