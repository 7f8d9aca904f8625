#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace venturon {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Scans the leading number of a text, dropping blanks, into a compact form that
// std::from_chars accepts (no leading "+"). `end` receives the index of the first
// character that is not part of the number (an exponent marker without digits
// is not).
std::string leading_number(std::string_view text, std::size_t* end = nullptr) {
    std::string out;
    out.reserve(32);
    enum class State { sign, mantissa, exponent_sign, exponent } state = State::sign;
    bool seen_point = false;
    bool mantissa_digits = false;
    std::size_t exponent_start = 0;  // where the exponent marker went into out
    std::size_t exponent_marker = 0; // and where it stands in the text
    bool exponent_digits = false;
    std::size_t i = 0;

    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (is_blank(c)) {
            continue;
        }
        if (state == State::sign) {
            state = State::mantissa;
            if (c == '+') {
                continue;
            }
            if (c == '-') {
                out.push_back('-');
                continue;
            }
        }
        if (state == State::mantissa) {
            if (is_digit(c)) {
                mantissa_digits = true;
                out.push_back(c);
                continue;
            }
            if (c == '.' && !seen_point) {
                seen_point = true;
                out.push_back(c);
                continue;
            }
            if ((c == 'e' || c == 'E') && mantissa_digits) {
                exponent_start = out.size();
                exponent_marker = i;
                out.push_back('e');
                state = State::exponent_sign;
                continue;
            }
            break;
        }
        if (state == State::exponent_sign) {
            state = State::exponent;
            if (c == '+') {
                continue;
            }
            if (c == '-') {
                out.push_back('-');
                continue;
            }
        }
        if (is_digit(c)) {
            exponent_digits = true;
            out.push_back(c);
            continue;
        }
        break;
    }
    if (exponent_start != 0 && !exponent_digits) {
        out.resize(exponent_start); // "1e" and "1e-" read as 1
        i = exponent_marker;
    }
    if (end) {
        *end = i;
    }
    if (!mantissa_digits) {
        return {};
    }
    return out;
}

} // namespace

double text_value(std::string_view text) {
    const std::string number = leading_number(text);
    if (number.empty()) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) {
        return 0.0; // beyond the range of a double, either way
    }
    return value;
}

bool beyond_double(std::string_view text) {
    const std::string number = leading_number(text);
    double value = 0.0;
    if (number.empty() || std::from_chars(number.data(), number.data() + number.size(), value,
                                          std::chars_format::general)
                                  .ec != std::errc::result_out_of_range) {
        return false;
    }
    // Out of range either way: too large, or too small to tell from 0. The decimal
    // exponent of the first significant digit tells which.
    const std::size_t e = number.find('e');
    const std::string_view mantissa = std::string_view(number).substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return false; // all zeros
    }
    long long exponent = first < point ? static_cast<long long>(point - first) - 1
                                       : -static_cast<long long>(first - point);
    if (e != std::string::npos) {
        long long written = 0;
        const char* begin = number.data() + e + 1;
        const bool read =
            std::from_chars(begin, number.data() + number.size(), written).ec == std::errc();
        // An exponent too long for 64 bits is far beyond either end.
        exponent = read ? exponent + written : (*begin == '-' ? -1 : 1);
    }
    return exponent > 0;
}

std::optional<double> complete_number(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\n\r");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t\n\r") - first + 1);
    if (text.find_first_of(" \t\n\r") != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t end = 0;
    const std::string number = leading_number(text, &end);
    double value = 0.0;
    if (number.empty() || end != text.size() ||
        std::from_chars(number.data(), number.data() + number.size(), value,
                        std::chars_format::general)
                .ec != std::errc() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string number_text(double x) {
    if (std::isnan(x)) {
        return " 0";
    }
    if (std::isinf(x)) {
        x = std::copysign(std::numeric_limits<double>::max(), x);
    }
    if (x == 0.0) {
        return " 0"; // also for -0
    }

    // Shortest rounding to 15 significant digits: d.dddddddddddddde±XX
    // (to_chars writes a point in every locale, as the file format needs.)
    char scientific[40];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific - 1, std::fabs(x),
                                       std::chars_format::scientific, 14);
    *written.ptr = '\0';
    std::string digits;
    const char* p = scientific;
    for (; *p != 'e'; ++p) {
        if (is_digit(*p)) {
            digits.push_back(*p);
        }
    }
    const int exponent = std::atoi(p + 1);
    if (exponent == 308 && digits > "179769313486231") {
        digits = "179769313486231"; // rounding up would pass the largest double
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string body;
    const int n = static_cast<int>(digits.size());
    if (exponent >= 15 || exponent < -20) {
        body = digits.substr(0, 1);
        if (n > 1) {
            body += '.';
            body += digits.substr(1);
        }
        char tail[16];
        std::snprintf(tail, sizeof tail, "e%+03d", exponent);
        body += tail;
    } else if (exponent < 0) {
        body = "0.";
        body.append(static_cast<std::size_t>(-exponent - 1), '0');
        body += digits;
    } else if (n <= exponent + 1) {
        body = digits;
        body.append(static_cast<std::size_t>(exponent + 1 - n), '0');
    } else {
        const std::size_t whole_digits = static_cast<std::size_t>(exponent) + 1; // exponent >= 0
        body = digits.substr(0, whole_digits);
        body += '.';
        body += digits.substr(whole_digits);
    }
    return (x < 0 ? "-" : " ") + body;
}

std::string number_text_trimmed(double x) {
    return trim_spaces(number_text(x));
}

double Int(double x) {
    return std::floor(x);
}

std::string trim_spaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> split_text(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::optional<int> whole_number(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace venturon
