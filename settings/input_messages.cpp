#include "input_messages.h"

#include "imperial.h"

#include <charconv>
#include <cmath>

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
    const std::string name = name_of(e.field);
    double factor = row.si_per_unit;
    std::string_view unit = row.si_unit;
    if (e.scale == Scale::file) {
        const ShownUnit shown = shown_unit(row, units, style);
        factor = shown.per_file_unit;
        unit = shown.unit;
    }
    const std::string low = bound_text(row.range.low * factor);
    const std::string high = bound_text(row.range.high * factor);
    switch (e.problem) {
    case Problem::missing:
        return name + " must be given";
    case Problem::out_of_range:
        return with_unit(name + " must be between " + low + " and " + high, unit) +
               (row.zero_is_unknown ? ", or 0 for unknown" : "");
    case Problem::not_whole:
        return name + " must be a whole number between " + low + " and " + high;
    case Problem::both_drives:
        return "Give either the power or the voltage, not both";
    case Problem::no_drive:
        return "Power or voltage must be given";
    case Problem::no_q:
        return "Qes or Qms must be given";
    case Problem::q_needs_other:
        return name + " or Qts must be given with " + name_of(e.other);
    case Problem::qts_not_below:
        return "Qts must be less than " + name_of(e.other);
    case Problem::qts_too_close:
        return "Qts is too close to " + name_of(e.other) + ": the " +
               name_of(e.other == Field::qes ? Field::qms : Field::qes) + " it gives is above " +
               bound_text(input_row(Field::qes).range.high);
    case Problem::qts_disagrees:
        return "Qts does not agree with Qes and Qms, which give " +
               bound_text(std::round(e.value * 1e4) / 1e4);
    case Problem::high_below_low:
        return "High frequency must not be below the low frequency";
    }
    return name + " is not valid";
}

} // namespace venturon
