#pragma once

// What must hold for any drawing the program makes, whatever numbers it was given.

#include "drawing.h"
#include "support/non_numbers.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace venturon::testing {

// The lines of a colour (and, when given, of a pen width) in a drawing.
inline std::vector<Drawing::Item> lines_in(const Drawing& d, const QColor& colour, double pen = 0) {
    std::vector<Drawing::Item> out;
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::line && item.colour == colour &&
            (pen == 0 || item.pen_width == pen)) {
            out.push_back(item);
        }
    }
    return out;
}

// The texts of a drawing, in the order they were printed.
inline QStringList texts(const Drawing& d) {
    QStringList out;
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::text) {
            out << item.text;
        }
    }
    return out;
}

// More items than this means work that grows with the numbers drawn: the graph
// thins its grid and labels so that no value, however large, needs more.
inline constexpr std::size_t most_drawing_items = 2000;

// What is wrong with a drawing, one fault a line; empty when all is well: items
// at positions that are not numbers, texts that show "nan" or "inf", and more
// items than any graph needs.
inline std::string drawing_faults(const Drawing& drawing) {
    std::string out;
    const auto& items = drawing.items();
    if (items.size() >= most_drawing_items) {
        out += std::to_string(items.size()) + " drawing items\n";
    }
    QStringList texts;
    int not_placed = 0;
    for (const auto& item : items) {
        texts << item.text;
        for (const QPointF& p : {item.from, item.to}) {
            not_placed += std::isfinite(p.x()) && std::isfinite(p.y()) ? 0 : 1;
        }
    }
    if (not_placed > 0) {
        out += std::to_string(not_placed) + " drawing positions that are not numbers\n";
    }
    out += non_numbers_in(texts);
    if (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

} // namespace venturon::testing
