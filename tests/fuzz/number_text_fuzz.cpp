// text_value reads any bytes as a finite number; number_text writes any double
// so that text_value reads it back to 15 significant digits.
#include "fuzz_check.h"
#include "number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using namespace venturon;
using venturon::fuzz::as_text;

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A leading "-" or blank, digits with at most one ".", at most 15 significant
// digits, no trailing zeros after the point, an optional exponent.
bool has_number_text_form(const std::string& t) {
    if (t.size() < 2 || (t[0] != ' ' && t[0] != '-')) {
        return false;
    }
    const std::size_t e = t.find('e');
    const std::string mantissa = t.substr(1, e == std::string::npos ? std::string::npos : e - 1);
    int significant = 0;
    bool leading = true;
    int points = 0;
    for (char c : mantissa) {
        if (c == '.') {
            ++points;
            continue;
        }
        if (!is_digit(c)) {
            return false;
        }
        leading = leading && c == '0';
        significant += leading ? 0 : 1;
    }
    if (points > 1 || mantissa.empty() || mantissa.front() == '.' || mantissa.back() == '.' ||
        significant > 15) {
        return false;
    }
    if (points == 1 && mantissa.back() == '0') {
        return false;
    }
    if (e != std::string::npos) {
        const std::string exponent = t.substr(e + 1);
        if (exponent.size() < 3 || (exponent[0] != '+' && exponent[0] != '-')) {
            return false;
        }
        for (std::size_t i = 1; i < exponent.size(); ++i) {
            if (!is_digit(exponent[i])) {
                return false;
            }
        }
    }
    return true;
}

void check_round_trip(double x) {
    const std::string written = number_text(x);
    FUZZ_CHECK(has_number_text_form(written));
    FUZZ_CHECK(!fuzz::shows_non_number(written));
    const double back = text_value(written);
    FUZZ_CHECK(std::isfinite(back));

    if (std::isnan(x)) {
        FUZZ_CHECK(back == 0);
    } else {
        FUZZ_CHECK(fuzz::same_to_fifteen_digits(x, back)); // infinities: the largest written
    }
    // What was read back is written the same way again.
    FUZZ_CHECK(number_text(back) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double read = text_value(as_text(data, size));
    FUZZ_CHECK(std::isfinite(read));
    check_round_trip(read);

    // The same bytes taken as doubles: every bit pattern, NaNs and infinities too.
    for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data + at, sizeof x);
        check_round_trip(x);
    }
    return 0;
}
