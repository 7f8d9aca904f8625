#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// A property that must hold for every input: a failure aborts, and libFuzzer keeps
// the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace venturon::fuzz {

inline std::string_view as_text(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// What a user must never see in place of a number.
inline bool shows_non_number(std::string_view text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const auto lower = [&](std::size_t k) { return char(text[i + k] | 0x20); };
        const char a = lower(0), b = lower(1), c = lower(2);
        if ((a == 'n' && b == 'a' && c == 'n') || (a == 'i' && b == 'n' && c == 'f')) {
            return true;
        }
    }
    return false;
}

// The largest magnitude that number_text writes: doubles above it would round up
// past the largest double at 15 digits, so they are written as this instead.
inline constexpr double largest_written = 1.79769313486231e308;

// x to 15 significant digits, as number_text promises to keep it.
inline bool same_to_fifteen_digits(double x, double back) {
    if (x == 0 || back == 0) {
        return x == back;
    }
    if (std::fabs(x) > largest_written) {
        return back == std::copysign(largest_written, x);
    }
    char a[40];
    char b[40];
    std::snprintf(a, sizeof a, "%.14e", x);
    std::snprintf(b, sizeof b, "%.14e", back);
    return std::string_view(a) == std::string_view(b);
}

} // namespace venturon::fuzz
