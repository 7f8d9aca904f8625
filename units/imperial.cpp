#include "imperial.h"

#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace venturon {

namespace {

// One or more digits, at most 15, no sign, blank or leading zero ("0" itself is fine).
bool is_canonical_whole(const std::string& text) {
    return text == number_text_trimmed(text_value(text));
}

bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

std::string collapse_spaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

} // namespace

ImperialParse in2mm(std::string_view input) {
    ImperialParse out;
    std::string text = trim_spaces(input);
    if (text.empty()) {
        out.result = "0";
        return out;
    }
    std::replace(text.begin(), text.end(), '\\', '/');
    text = collapse_spaces(text);

    std::string& message = out.message;
    auto fail = [&out]() {
        out.result = "ERR";
        return out;
    };

    if (text.front() == '\'') {
        message = "Foot symbol without any feet";
        return fail();
    }

    int dots = 0;
    int slashes = 0;
    int feet_marks = 0;
    int spaces = 0;
    for (char c : text) {
        switch (c) {
        case '.':
            ++dots;
            break;
        case '/':
            ++slashes;
            break;
        case '\'':
            ++feet_marks;
            break;
        case ' ':
            ++spaces;
            break;
        default:
            if (c < '0' || c > '9') {
                message = "Invalid Character";
            }
        }
    }
    if (!message.empty()) {
        return fail();
    }

    if (dots > 1) {
        message = "More than one dot";
    } else if (slashes > 1) {
        message = "More than one slash";
    } else if (feet_marks > 1) {
        message = "More than one ' (foot) symbol";
    } else if (dots > 0 && slashes > 0) {
        message = "Fractions not allowed in decimal inches mode";
    } else if (dots > 0 && feet_marks > 0) {
        message = "Feet not allowed in decimal inches mode and vice versa";
    }
    if (!message.empty()) {
        return fail();
    }

    if (dots == 1) {
        out.result = number_text_trimmed(text_value(text) * mm_per_inch);
        return out;
    }

    const auto slash = text.find('/');
    if (slash == 0) {
        message = "slash not allowed at start of field";
    }
    if (slash != std::string::npos && slash == text.size() - 1) {
        message = "slash not allowed at end of field";
    }

    std::string feet;
    std::string rest;
    if (message.empty()) {
        const auto mark = text.find('\'');
        if (mark != std::string::npos) {
            feet = text.substr(0, mark);
            rest = mark + 1 < text.size() ? trim_spaces(text.substr(mark + 1)) : std::string();
        } else {
            rest = text;
            if (spaces > 1) {
                message = "Multiple spaces but no foot symbol   OR   spaces in fraction";
            }
        }
    }
    if (!feet.empty() && !is_canonical_whole(feet)) {
        message = "Invalid feet";
    }

    std::string whole;
    std::string fraction;
    if (message.empty() && !rest.empty()) {
        const auto space = rest.find(' ');
        if (space != std::string::npos) {
            whole = trim_spaces(rest.substr(0, space));
            fraction = rest.substr(space + 1);
        } else if (contains(rest, '/')) {
            fraction = rest;
        } else {
            whole = rest;
        }
        if (!whole.empty() && !is_canonical_whole(whole)) {
            message = "Invalid whole inches or spaces in fraction";
        }
        if (!fraction.empty() && message.empty()) {
            if (contains(fraction, ' ')) {
                message = "Fraction cannot contain spaces";
            }
            if (fraction.front() == '/') {
                message = "Fraction not correctly specified or contains spaces";
            }
            if (!contains(fraction, '/')) {
                message = "Fraction must contain a slash";
            }
        }
    }

    std::string numerator;
    std::string denominator;
    if (message.empty() && !fraction.empty()) {
        const auto bar = fraction.find('/');
        numerator = fraction.substr(0, bar);
        denominator = trim_spaces(fraction.substr(bar + 1));
        if (!numerator.empty() && !is_canonical_whole(numerator)) {
            message = "Invalid Upper fraction";
        }
        if (denominator != "2" && denominator != "4" && denominator != "8" && denominator != "16") {
            message = "Allowable fractions are 1/2 1/4 1/8 1/16";
        }
    }
    if (!message.empty()) {
        return fail();
    }

    const double f = text_value(feet);
    const double w = text_value(whole);
    const double n = text_value(numerator);
    const double d = text_value(denominator);
    const double inches = d < 1 ? f * inches_per_foot + w : f * inches_per_foot + w + n / d;
    out.result = number_text(inches * mm_per_inch);
    return out;
}

ImperialFormat mm2in(std::string_view millimetres) {
    ImperialFormat out;
    const std::string text = trim_spaces(millimetres);
    if (text.empty()) {
        out.feet_inches = "0";
        out.decimal_inches = "0";
        return out;
    }
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.') {
            out.message = "Invalid character";
        }
    }
    if (!out.message.empty()) {
        out.feet_inches = "ERR";
        out.decimal_inches = "ERR";
        return out;
    }

    const double inches = Int(ten_thousandths_of_inch(text_value(text))) / 10000;
    out.decimal_inches = number_text(inches);

    double whole = Int(inches);
    const double fraction = inches - whole;
    double feet = 0;
    double numerator = 0;
    double denominator = 1;
    auto is_even = [](double v) { return Int(v / 2) * 2 == v; };
    if (fraction > 0) {
        denominator = 16;
        numerator = Int(16 * fraction + 0.5);
        if (is_even(numerator)) {
            denominator = 8;
            numerator = Int(8 * fraction + 0.5);
            if (is_even(numerator)) {
                denominator = 4;
                numerator = Int(4 * fraction + 0.5);
                if (is_even(numerator)) {
                    denominator = 2;
                    numerator = Int(2 * fraction + 0.5);
                    if (numerator == 2) {
                        whole += 1;
                        numerator = 0;
                    }
                }
            }
        }
    }
    if (whole > 0) {
        feet = Int(whole / inches_per_foot);
        whole -= inches_per_foot * feet;
    }

    std::string& shown = out.feet_inches;
    if (feet != 0) {
        shown += number_text_trimmed(feet) + "' ";
    }
    if (whole != 0) {
        shown += number_text_trimmed(whole);
    }
    if (numerator != 0) {
        if (whole != 0) {
            shown += ' ';
        }
        shown += number_text_trimmed(numerator) + "/" + number_text_trimmed(denominator);
    }
    if (shown.empty()) {
        shown = "0";
    }
    return out;
}

double ten_thousandths_of_inch(double millimetres) {
    const double exact = millimetres / mm_per_inch * 10000;
    const double nearest = std::round(exact);
    // The quotient of a length typed to a ten-thousandth lies a few units of its
    // last digit either side of it: that hair is rounding, not length.
    const double hair = std::max(1e-9, std::fabs(exact) * 4e-15);
    return std::fabs(exact - nearest) <= hair ? nearest : exact;
}

std::string length_text(double millimetres) {
    return number_text_trimmed(millimetres);
}

} // namespace venturon
