// mm2in takes any bytes: "ERR" exactly when the text (less surrounding spaces)
// holds a character other than a digit or "."; otherwise two texts that show a
// length, which in2mm, the field's reader, takes back.
#include "fuzz_check.h"
#include "imperial.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace venturon;
using venturon::fuzz::as_text;

namespace {

bool digit_or_point(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// The feet-and-inches text rounds to the nearest sixteenth after cutting to four
// decimals; the decimal text only cuts.
constexpr double sixteenth_tolerance_mm = (1.0 / 32 + 1e-4) * mm_per_inch;
constexpr double decimal_tolerance_mm = 1e-4 * mm_per_inch;

void expect_read_back(const std::string& shown, double mm, double tolerance) {
    const ImperialParse back = in2mm(shown);
    FUZZ_CHECK(back.message.empty());
    const double read = text_value(back.result);
    FUZZ_CHECK(std::fabs(read - mm) <= tolerance + 1e-12 * mm);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = as_text(data, size);
    const ImperialFormat shown = mm2in(input);

    const std::string text = trim_spaces(input);
    if (text.empty()) {
        FUZZ_CHECK(shown.feet_inches == "0" && shown.decimal_inches == "0");
        FUZZ_CHECK(shown.message.empty());
        return 0;
    }
    if (!std::all_of(text.begin(), text.end(), digit_or_point)) {
        FUZZ_CHECK(shown.feet_inches == "ERR" && shown.decimal_inches == "ERR");
        FUZZ_CHECK(shown.message == "Invalid character");
        return 0;
    }

    FUZZ_CHECK(shown.message.empty());
    FUZZ_CHECK(shown.feet_inches != "ERR" && shown.decimal_inches != "ERR");
    FUZZ_CHECK(!shown.feet_inches.empty() && !shown.decimal_inches.empty());
    FUZZ_CHECK(!fuzz::shows_non_number(shown.feet_inches));
    FUZZ_CHECK(!fuzz::shows_non_number(shown.decimal_inches));

    // Lengths a port can have, with room to spare: what the field shows, the
    // field's reader takes back as nearly the same length.
    const double mm = text_value(text);
    if (mm < 1e12) {
        expect_read_back(shown.feet_inches, mm, sixteenth_tolerance_mm);
        expect_read_back(shown.decimal_inches, mm, decimal_tolerance_mm);
    }
    return 0;
}
