#pragma once

#include <optional>
#include <string_view>

namespace venturon {

// How lengths are typed and shown: millimetres, feet-inches-and-fractions, or
// decimal inches. Both imperial modes read either imperial notation.
enum class UnitsMode { metric, inches, decimal_inches };

// The texts that stand for a mode in the settings file and on the command line:
// "metric", "inches", "decimalinches".
std::string_view units_mode_text(UnitsMode mode);
// The mode a text stands for, compared exactly; nothing for any other text.
std::optional<UnitsMode> units_mode_from_text(std::string_view text);

constexpr bool imperial(UnitsMode mode) {
    return mode != UnitsMode::metric;
}

} // namespace venturon
