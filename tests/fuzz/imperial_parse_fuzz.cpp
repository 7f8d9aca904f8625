// in2mm takes any bytes: the result is "0", "ERR" with one of the documented
// messages, or millimetres as number text that reads back as a finite length.
#include "fuzz_check.h"
#include "imperial.h"
#include "number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace venturon;
using venturon::fuzz::as_text;

namespace {

constexpr std::array<std::string_view, 17> documented_messages{
    "Foot symbol without any feet",
    "Invalid Character",
    "More than one dot",
    "More than one slash",
    "More than one ' (foot) symbol",
    "Fractions not allowed in decimal inches mode",
    "Feet not allowed in decimal inches mode and vice versa",
    "slash not allowed at start of field",
    "slash not allowed at end of field",
    "Multiple spaces but no foot symbol   OR   spaces in fraction",
    "Invalid feet",
    "Invalid whole inches or spaces in fraction",
    "Fraction cannot contain spaces",
    "Fraction not correctly specified or contains spaces",
    "Fraction must contain a slash",
    "Invalid Upper fraction",
    "Allowable fractions are 1/2 1/4 1/8 1/16",
};

bool allowed(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '/' || c == '\\' || c == '\'' || c == ' ';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed = as_text(data, size);
    const ImperialParse parsed = in2mm(typed);

    const std::string cleaned = trim_spaces(typed);
    const bool foreign = !std::all_of(cleaned.begin(), cleaned.end(), allowed);

    if (parsed.result == "ERR") {
        FUZZ_CHECK(std::find(documented_messages.begin(), documented_messages.end(),
                             parsed.message) != documented_messages.end());
        // Any character outside the notation is refused by name, unless the text
        // already failed for beginning with a foot symbol.
        FUZZ_CHECK(!foreign || cleaned.front() == '\'' || parsed.message == "Invalid Character");
        return 0;
    }

    FUZZ_CHECK(parsed.message.empty());
    FUZZ_CHECK(!foreign);
    if (cleaned.empty()) {
        FUZZ_CHECK(parsed.result == "0");
        return 0;
    }
    // Number text, as number_text writes it (the leading blank may be trimmed).
    const double mm = text_value(parsed.result);
    FUZZ_CHECK(std::isfinite(mm));
    FUZZ_CHECK(mm >= 0);
    FUZZ_CHECK(trim_spaces(parsed.result) == number_text_trimmed(mm));
    FUZZ_CHECK(!fuzz::shows_non_number(parsed.result));
    return 0;
}
