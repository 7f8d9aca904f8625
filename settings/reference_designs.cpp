#include "reference_designs.h"

#include "number_text.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>

namespace venturon {

namespace {

constexpr std::string_view prefix = "reference_";

std::string shortest(double v) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v + 0.0);
    return {buffer, written.ptr};
}

std::string hex_colour(std::uint32_t rgb) {
    char buffer[8];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, rgb & 0xffffffu, 16);
    const std::string digits(buffer, written.ptr);
    return std::string(6 - digits.size(), '0') + digits;
}

// The keys of one reference, "reference_N." taken off, with their values.
using Keys = std::map<std::string, std::string, std::less<>>;

std::optional<double> number_of(const Keys& keys, std::string_view key) {
    const auto it = keys.find(key);
    if (it == keys.end()) {
        return std::nullopt;
    }
    const auto value = complete_number(it->second);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

template <class E> E choice_of(const Keys& keys, std::string_view key, int count, E fallback) {
    const auto value = number_of(keys, key);
    if (value && *value >= 0 && *value < count && std::floor(*value) == *value) {
        return static_cast<E>(static_cast<int>(*value));
    }
    return fallback;
}

std::optional<ReferenceInputs> reference_of(const Keys& keys) {
    const auto name = keys.find(std::string_view("name"));
    const auto diameter = number_of(keys, "port_diameter_mm");
    if (name == keys.end() || reference_name(name->second).empty() || !diameter ||
        !(*diameter > 0)) {
        return std::nullopt;
    }
    ReferenceInputs r;
    r.name = reference_name(name->second);
    if (const auto colour = keys.find(std::string_view("colour")); colour != keys.end()) {
        std::uint32_t rgb = 0;
        const std::string& text = colour->second;
        const auto read = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
        if (read.ec == std::errc{} && read.ptr == text.data() + text.size() && text.size() == 6) {
            r.rgb = rgb;
        }
    }
    r.diameter_mm = *diameter;
    const double ports = number_of(keys, "port_count").value_or(1);
    r.ports = ports >= 1 && ports <= 1000 ? static_cast<int>(std::floor(ports)) : 1;
    const double radius = number_of(keys, "flare_radius_mm").value_or(0);
    r.radius_mm = radius >= 0 ? radius : 0;
    r.allowances.chuffing = choice_of(keys, "chuffing", 3, first_start_allowances.chuffing);
    r.allowances.core = choice_of(keys, "core", 3, first_start_allowances.core);
    r.allowances.content = choice_of(keys, "content", 2, first_start_allowances.content);
    std::string text;
    for (const auto& [key, value] : keys) {
        text += key + " = " + value + "\n";
    }
    r.inputs = parse_enclosure_inputs(text);
    return r;
}

} // namespace

std::string reference_name(std::string_view typed) {
    std::string name;
    for (const char c : typed) {
        name += (c == '#' || c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    }
    name = std::string(trim_blanks(name));
    if (name.size() > max_reference_name) {
        std::size_t cut = max_reference_name;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xc0) == 0x80) {
            --cut; // not inside a UTF-8 sequence
        }
        name = std::string(trim_blanks(name.substr(0, cut)));
    }
    return name;
}

std::string serialise_references(const std::vector<ReferenceInputs>& references) {
    std::string out;
    for (std::size_t i = 0; i < references.size() && i < max_references; ++i) {
        const ReferenceInputs& r = references[i];
        const std::string p = std::string(prefix) + std::to_string(i + 1) + ".";
        out += "\n# A design kept to compare with: its name, colour, port and inputs.\n";
        out += p + "name = " + reference_name(r.name) + "\n";
        out += p + "colour = " + hex_colour(r.rgb) + "\n";
        out += p + "port_diameter_mm = " + shortest(r.diameter_mm) + "\n";
        out += p + "port_count = " + std::to_string(r.ports) + "\n";
        out += p + "flare_radius_mm = " + shortest(r.radius_mm) + "\n";
        out += p + "chuffing = " + std::to_string(static_cast<int>(r.allowances.chuffing)) + "\n";
        out += p + "core = " + std::to_string(static_cast<int>(r.allowances.core)) + "\n";
        out += p + "content = " + std::to_string(static_cast<int>(r.allowances.content)) + "\n";
        const std::string inputs = serialise_enclosure_inputs(r.inputs);
        for (const std::string_view line : split_text(inputs, '\n')) {
            if (!line.empty() && line.front() != '#') {
                out += p;
                out += line;
                out += "\n";
            }
        }
    }
    return out;
}

std::vector<ReferenceInputs> parse_references(std::string_view bytes) {
    std::map<int, Keys> found;
    for (std::string_view line : split_text(bytes, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trim_blanks(line);
        if (!line.starts_with(prefix)) {
            continue;
        }
        const std::size_t dot = line.find('.');
        const std::size_t equals = line.find('=');
        if (dot == std::string_view::npos || equals == std::string_view::npos || equals < dot) {
            continue;
        }
        const auto n = whole_number(line.substr(prefix.size(), dot - prefix.size()));
        if (!n || *n < 1 || *n > static_cast<int>(max_references)) {
            continue;
        }
        std::string_view value = line.substr(equals + 1);
        const std::string_view key = trim_blanks(line.substr(dot + 1, equals - dot - 1));
        if (key != "name") {
            value = value.substr(0, value.find('#')); // the rest is a comment
        }
        found[*n][std::string(key)] = std::string(trim_blanks(value));
    }
    std::vector<ReferenceInputs> out;
    for (const auto& [n, keys] : found) {
        if (auto r = reference_of(keys)) {
            out.push_back(std::move(*r));
        }
    }
    return out;
}

} // namespace venturon
