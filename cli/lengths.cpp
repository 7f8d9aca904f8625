#include "lengths.h"

#include "imperial.h"
#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace venturon::cli {

namespace {

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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

std::string_view units_name(Units units) {
    switch (units) {
    case Units::metric:
        return "metric";
    case Units::inches:
        return "inches";
    case Units::decimal_inches:
        return "decimalinches";
    }
    return {};
}

std::string_view unit_symbol(Units units) {
    return units == Units::metric ? "mm" : "in";
}

std::optional<double> strict_number(std::string_view text) {
    text = trim_blanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value + 0.0; // no negative zero
}

LengthReading read_length(std::string_view text, Units units) {
    LengthReading reading;
    if (trim_blanks(text).empty()) {
        reading.problem = "empty";
        return reading;
    }
    if (units == Units::metric) {
        reading.millimetres = strict_number(text);
        if (!reading.millimetres) {
            reading.problem = "not a number of millimetres";
        }
        return reading;
    }
    const ImperialParse parsed = in2mm(text);
    if (!parsed.message.empty()) {
        reading.problem = parsed.message;
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

std::string length_number(double millimetres, Units units, int decimals, Rounding rounding) {
    switch (units) {
    case Units::metric:
        return decimals < 0 ? number_text_trimmed(millimetres) : fixed(millimetres, decimals);
    case Units::inches:
        if (rounding == Rounding::up) {
            // The allowance keeps a radius of exactly n sixteenths at n.
            const double sixteenths = std::ceil(millimetres / mm_per_inch * 16 - 1e-9);
            millimetres = std::max(0.0, sixteenths) * mm_per_inch / 16;
        }
        return trim_spaces(mm2in(plain_millimetres(millimetres)).feet_inches);
    case Units::decimal_inches:
        return trim_spaces(mm2in(plain_millimetres(millimetres)).decimal_inches);
    }
    return {};
}

std::string show_length(double millimetres, Units units, int decimals, Rounding rounding) {
    std::string text = length_number(millimetres, units, decimals, rounding);
    if (text.ends_with('\'')) {
        return text; // whole feet carry their own symbol
    }
    return text + " " + std::string(unit_symbol(units));
}

} // namespace venturon::cli
