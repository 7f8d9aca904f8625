#include "input_messages.h"

#include "imperial.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace venturon {

namespace {

constexpr double litres_per_cubic_foot = 28.316846592;
constexpr double square_cm_per_square_inch = 6.4516;

std::string with_unit(std::string text, std::string_view unit) {
    if (!unit.empty()) {
        text += ' ';
        text += unit;
    }
    return text;
}

std::string name_of(Field field) {
    return std::string(input_row(field).name);
}

// The words for each problem, in the order of Problem: the input's {name}, its
// bounds {low} and {high} with its {unit}, the {other} Q that a Q problem names
// and the {third} it gives, the highest Q ({top}), a {value} worked out and a
// {limit} in the input's own units.
constexpr std::array<std::string_view, problem_count> problem_words{
    "{name} must be given",
    "{name} must be between {low} and {high}{unit}{unknown}",
    "{name} must be a whole number between {low} and {high}",
    "Give either the power or the voltage, not both",
    "Power or voltage must be given",
    "Qes or Qms must be given",
    "{name} or Qts must be given with {other}",
    "Qts must be less than {other}",
    "Qts is too close to {other}: the {third} it gives is above {top}",
    "Qts does not agree with Qes and Qms, which give {value}",
    "High frequency must not be below the low frequency",
    "{name} must be 2, 4 or 8",
    "A high-pass filter is written as its kind and order (bw1 to bw8, lr2, lr4 or lr8, "
    "bessel2 to bessel4) or q and its Q, then @ and its frequency in Hz: bw4@18, q0.7@22",
    "{name} must be at most {limit}{unit}, the slot's smaller side",
};

} // namespace

ShownUnit shown_unit(const InputRow& row, UnitsMode units, UnitStyle style) {
    const bool window = style == UnitStyle::window;
    if (imperial(units)) {
        switch (row.quantity) {
        case Quantity::volume:
            return {1 / litres_per_cubic_foot, window ? "ft\u00b3" : "ft^3"};
        case Quantity::area:
            return {1 / square_cm_per_square_inch, window ? "in\u00b2" : "in^2"};
        case Quantity::length:
            return {1 / mm_per_inch, "in"};
        case Quantity::plain:
            break;
        }
    }
    return {1, window ? row.symbol : row.unit};
}

std::string bound_text(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value != 0) {
        const double scale = std::pow(10.0, 5 - std::floor(std::log10(std::fabs(value))));
        value = std::round(value * scale) / scale;
    }
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 9);
    std::string s(buffer, written.ptr);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string input_message(const InputError& e, UnitsMode units, UnitStyle style) {
    const InputRow& row = input_row(e.field);
    double factor = row.si_per_unit;
    std::string_view unit = row.si_unit;
    if (e.scale == Scale::file) {
        const ShownUnit shown = shown_unit(row, units, style);
        factor = shown.per_file_unit;
        unit = shown.unit;
    }
    const Field third = e.other == Field::qes ? Field::qms : Field::qes;
    const std::pair<std::string_view, std::string> fills[] = {
        {"{name}", name_of(e.field)},
        {"{low}", bound_text(row.range.low * factor)},
        {"{high}", bound_text(row.range.high * factor)},
        {"{unit}", with_unit("", unit)},
        {"{unknown}", row.zero_is_unknown ? ", or 0 for unknown" : ""},
        {"{other}", name_of(e.other)},
        {"{third}", name_of(third)},
        {"{top}", bound_text(input_row(Field::qes).range.high)},
        {"{value}", bound_text(std::round(e.value * 1e4) / 1e4)},
        {"{limit}", bound_text(e.scale == Scale::file ? e.value * factor : e.value)},
    };
    std::string text(problem_words[static_cast<std::size_t>(e.problem)]);
    for (const auto& [mark, fill] : fills) {
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
            text.replace(at, mark.size(), fill);
            at += fill.size();
        }
    }
    return text;
}

} // namespace venturon
