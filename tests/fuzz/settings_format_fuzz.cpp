// Any bytes as venturon.ini: parsing never fails, and writing what was read and
// reading it again reaches a fixed point after one round.
#include "fuzz_check.h"
#include "settings_format.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace venturon;
using venturon::fuzz::as_text;

namespace {

std::string without_line_breaks(std::string text) {
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

bool known_units(UnitsMode mode) {
    return units_mode_from_text(units_mode_text(mode)) == mode;
}

void check_numbers(const SettingsRecord& r) {
    for (double v : {r.diameter_mm, r.radius_mm, r.lock_diameter_mm, r.lock_ports, r.lock_v[0],
                     r.lock_v[1], r.lock_v[2], r.lock_v[3]}) {
        FUZZ_CHECK(std::isfinite(v));
    }
}

// Exactly 17 lines, each ended by CR LF, with no other CR or LF.
void check_file_shape(const std::string& file) {
    int lines = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\r') {
            FUZZ_CHECK(i + 1 < file.size() && file[i + 1] == '\n');
            ++lines;
            ++i;
        } else {
            FUZZ_CHECK(file[i] != '\n');
        }
    }
    FUZZ_CHECK(lines == settings_line_count);
    FUZZ_CHECK(file.size() >= 2 && file.substr(file.size() - 2) == "\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SettingsRecord r1 = parse_settings(as_text(data, size));
    FUZZ_CHECK(r1.lines_read >= 0 && r1.lines_read <= settings_line_count);
    FUZZ_CHECK(known_units(r1.units_mode));
    check_numbers(r1);

    const std::string s1 = serialise_settings(r1);
    check_file_shape(s1);
    const SettingsRecord r2 = parse_settings(s1);
    const std::string s2 = serialise_settings(r2);
    const SettingsRecord r3 = parse_settings(s2);
    FUZZ_CHECK(r2 == r3);
    FUZZ_CHECK(serialise_settings(r3) == s2);

    // Nothing read is lost on the way but line breaks and digits past the 15th.
    FUZZ_CHECK(r2.lines_read == settings_line_count);
    FUZZ_CHECK(r2.cruise_on == r1.cruise_on && r2.minimum_mode == r1.minimum_mode);
    FUZZ_CHECK(r2.port_text == without_line_breaks(r1.port_text));
    FUZZ_CHECK(r2.boundary_mask == without_line_breaks(r1.boundary_mask));
    FUZZ_CHECK(r2.boundary_seat == without_line_breaks(r1.boundary_seat));
    FUZZ_CHECK(r2.core_mask == without_line_breaks(r1.core_mask));
    FUZZ_CHECK(r2.core_seat == without_line_breaks(r1.core_seat));
    FUZZ_CHECK(r2.content_type == without_line_breaks(r1.content_type));
    FUZZ_CHECK(r2.units_mode == r1.units_mode);
    FUZZ_CHECK(fuzz::same_to_fifteen_digits(r1.diameter_mm, r2.diameter_mm));
    FUZZ_CHECK(fuzz::same_to_fifteen_digits(r1.radius_mm, r2.radius_mm));
    FUZZ_CHECK(fuzz::same_to_fifteen_digits(r1.lock_diameter_mm, r2.lock_diameter_mm));
    FUZZ_CHECK(fuzz::same_to_fifteen_digits(r1.lock_ports, r2.lock_ports));
    for (std::size_t i = 0; i < r1.lock_v.size(); ++i) {
        FUZZ_CHECK(fuzz::same_to_fifteen_digits(r1.lock_v[i], r2.lock_v[i]));
    }
    return 0;
}
