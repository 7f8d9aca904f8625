#include "units_mode.h"

namespace venturon {

namespace {
struct Named {
    UnitsMode mode;
    std::string_view text;
};
constexpr Named names[] = {
    {UnitsMode::metric, "metric"},
    {UnitsMode::inches, "inches"},
    {UnitsMode::decimal_inches, "decimalinches"},
};
} // namespace

std::string_view units_mode_text(UnitsMode mode) {
    for (const Named& n : names) {
        if (n.mode == mode) {
            return n.text;
        }
    }
    return names[0].text;
}

std::optional<UnitsMode> units_mode_from_text(std::string_view text) {
    for (const Named& n : names) {
        if (n.text == text) {
            return n.mode;
        }
    }
    return std::nullopt;
}

} // namespace venturon
