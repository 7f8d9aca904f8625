#include "length_display.h"

#include "imperial.h"
#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace venturon {

namespace {

// Whole steps of `step` millimetres, rounded up; a hair below a whole step is it.
double steps_up(double millimetres, double step) {
    const double steps = std::ceil(millimetres / step - 1e-9);
    return steps > 0 ? steps : 0;
}

// The millimetre text that mm2in accepts: digits and a point only. number text
// switches to an exponent for very large or very small values, which mm2in refuses.
std::string plain_millimetres(double millimetres) {
    std::string text = length_text(millimetres);
    if (text.find('e') == std::string::npos) {
        return text;
    }
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, millimetres, std::chars_format::fixed);
    return std::string(buffer, written.ptr);
}

} // namespace

double shown_minimum(double millimetres, UnitsMode units, double metric_step) {
    if (!(millimetres > 0) || !std::isfinite(millimetres)) {
        return 0;
    }
    switch (units) {
    case UnitsMode::metric:
        return steps_up(millimetres, metric_step) * metric_step;
    case UnitsMode::inches:
        return steps_up(millimetres, mm_per_inch / 16) * mm_per_inch / 16;
    case UnitsMode::decimal_inches: {
        const double steps = std::ceil(ten_thousandths_of_inch(millimetres));
        return (steps > 0 ? steps : 0) * mm_per_inch / 10000;
    }
    }
    return millimetres;
}

std::string field_length_text(double millimetres, UnitsMode units, Rounding rounding) {
    const double mm = rounding == Rounding::up ? shown_minimum(millimetres, units) : millimetres;
    switch (units) {
    case UnitsMode::metric:
        return number_text(Int(mm));
    case UnitsMode::inches:
        return mm2in(length_text(mm)).feet_inches;
    case UnitsMode::decimal_inches:
        return mm2in(length_text(mm)).decimal_inches;
    }
    return {};
}

std::string_view unit_symbol(UnitsMode units) {
    return units == UnitsMode::metric ? "mm" : "in";
}

NumberReading read_number(std::string_view text) {
    text = trim_blanks(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    NumberReading reading;
    if (const auto value = complete_number(text)) {
        reading.value = *value + 0.0; // no negative zero
        return reading;
    }
    // complete_number refuses a number beyond a double either way: one too large
    // is said to be, one too small for a double is 0.
    double tiny = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), tiny);
    if (error == std::errc::result_out_of_range && end == text.data() + text.size()) {
        if (beyond_double(text)) {
            reading.too_large = true;
        } else {
            reading.value = 0.0;
        }
    }
    return reading;
}

LengthReading read_length(std::string_view text, UnitsMode units) {
    LengthReading reading;
    if (trim_blanks(text).empty()) {
        reading.problem = "empty";
        return reading;
    }
    if (units == UnitsMode::metric) {
        const NumberReading number = read_number(text);
        reading.millimetres = number.value;
        if (!number.value) {
            reading.problem = number.too_large ? too_large : "not a number of millimetres";
        }
        return reading;
    }
    const ImperialParse parsed = in2mm(text);
    if (!parsed.message.empty()) {
        reading.problem = parsed.message;
        return reading;
    }
    // Decimal inches may hold any number of digits: beyond a double, in2mm reads 0.
    if (beyond_double(text) || !std::isfinite(text_value(text) * mm_per_inch)) {
        reading.problem = too_large;
        return reading;
    }
    reading.millimetres = text_value(parsed.result);
    return reading;
}

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e12) {
        return number_text_trimmed(value);
    }
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) {
        value = 0; // never "-0.000"
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, written.ptr);
}

std::string length_number(double millimetres, UnitsMode units, int decimals, Rounding rounding) {
    if (rounding == Rounding::up) {
        millimetres = shown_minimum(millimetres, units, std::pow(10.0, -std::max(decimals, 0)));
    }
    switch (units) {
    case UnitsMode::metric:
        return decimals < 0 ? number_text_trimmed(millimetres) : fixed(millimetres, decimals);
    case UnitsMode::inches:
        return trim_spaces(mm2in(plain_millimetres(millimetres)).feet_inches);
    case UnitsMode::decimal_inches:
        return trim_spaces(mm2in(plain_millimetres(millimetres)).decimal_inches);
    }
    return {};
}

std::string show_length(double millimetres, UnitsMode units, int decimals, Rounding rounding) {
    std::string text = length_number(millimetres, units, decimals, rounding);
    if (text.ends_with('\'')) {
        return text; // whole feet carry their own symbol
    }
    return text + " " + std::string(unit_symbol(units));
}

} // namespace venturon
