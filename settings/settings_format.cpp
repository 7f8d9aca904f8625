#include "settings_format.h"

#include "number_text.h"

#include <cstddef>

namespace venturon {

namespace {

// Calls take(line) for each line of bytes, at most max_lines times.
template <typename Take>
void for_each_line(std::string_view bytes, std::size_t max_lines, Take take) {
    std::size_t start = 0;
    std::size_t count = 0;
    while (start < bytes.size() && count < max_lines) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            take(bytes.substr(start));
            return;
        }
        take(bytes.substr(start, end - start));
        ++count;
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
}

void append_line(std::string& out, std::string_view text) {
    for (char c : text) {
        if (c != '\r' && c != '\n') {
            out.push_back(c);
        }
    }
    out += "\r\n";
}

} // namespace

std::vector<std::string> split_settings_lines(std::string_view bytes) {
    std::vector<std::string> lines;
    for_each_line(bytes, bytes.size(), [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

SettingsRecord parse_settings(std::string_view bytes) {
    SettingsRecord r;
    std::array<std::string_view, settings_line_count> lines{};
    for_each_line(bytes, lines.size(), [&](std::string_view line) {
        lines[static_cast<std::size_t>(r.lines_read++)] = line;
    });

    const auto present = [&](int number) { return r.lines_read >= number; };
    const auto line = [&](int number) { return lines[static_cast<std::size_t>(number - 1)]; };
    const auto text = [&](int number, std::string& into) {
        if (present(number)) {
            into.assign(line(number));
        }
    };
    const auto value = [&](int number, double& into) {
        if (present(number)) {
            into = text_value(line(number));
        }
    };

    if (present(1)) {
        r.cruise_on = line(1) == "cruise_on";
    }
    value(2, r.diameter_mm);
    text(3, r.port_text);
    value(4, r.radius_mm);
    value(5, r.lock_diameter_mm);
    value(6, r.lock_ports);
    for (int i = 0; i < 4; ++i) {
        value(7 + i, r.lock_v[static_cast<std::size_t>(i)]);
    }
    if (present(11)) {
        r.minimum_mode = line(11) == "Calculate_minimum";
    }
    text(12, r.boundary_mask);
    text(13, r.boundary_seat);
    text(14, r.core_mask);
    text(15, r.core_seat);
    text(16, r.content_type);
    if (present(17)) {
        r.units_mode = units_mode_from_text(line(17)).value_or(UnitsMode::metric);
    }
    return r;
}

std::string serialise_settings(const SettingsRecord& r) {
    std::string out;
    out.reserve(256 + r.port_text.size());
    append_line(out, r.cruise_on ? "cruise_on" : "cruise_off");
    append_line(out, number_text(r.diameter_mm));
    append_line(out, r.port_text);
    append_line(out, number_text(r.radius_mm));
    append_line(out, number_text(r.lock_diameter_mm));
    append_line(out, number_text(r.lock_ports));
    for (double v : r.lock_v) {
        append_line(out, number_text(v));
    }
    append_line(out, r.minimum_mode ? "Calculate_minimum" : "Manually_specify");
    append_line(out, r.boundary_mask);
    append_line(out, r.boundary_seat);
    append_line(out, r.core_mask);
    append_line(out, r.core_seat);
    append_line(out, r.content_type);
    append_line(out, units_mode_text(r.units_mode));
    return out;
}

} // namespace venturon
