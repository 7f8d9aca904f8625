#include "design_file.h"

#include "number_text.h"
#include "text_decoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace venturon {

namespace {

constexpr std::string_view marker_key = "venturon_design";
constexpr std::string_view minimum_key = "flare_radius_is_minimum";

// The design's own numbers besides the inputs file's, in the order it writes them.
struct PortNumber {
    std::string_view key;
    std::optional<double> DesignPort::*member;
};
constexpr std::array<PortNumber, 3> port_numbers{{
    {"port_diameter_mm", &DesignPort::diameter_mm},
    {"port_count", &DesignPort::count},
    {"flare_radius_mm", &DesignPort::flare_radius_mm},
}};

struct TextKey {
    std::string_view key;
    std::string DriverIdentity::*member;
};
constexpr std::array<TextKey, 3> identity_keys{{
    {"driver_maker", &DriverIdentity::maker},
    {"driver_model", &DriverIdentity::model},
    {"driver_comment", &DriverIdentity::comment},
}};

// Calls line(number, text) for each line (LF, CR LF or a lone CR), after a UTF-8
// byte order mark; numbers count from 1.
template <class F> void for_each_line(std::string_view bytes, F line) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::size_t start = 0;
    std::size_t number = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        ++number;
        if (!line(number, bytes.substr(start, end - start))) {
            return;
        }
        start = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() &&
            bytes[start] == '\n') {
            ++start;
        }
    }
}

// A line's key and the text after its "=", when it has one before any "#".
struct KeyValue {
    std::string_view key;
    std::string_view rest;
};
std::optional<KeyValue> key_value(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || line.find('#') < equals) {
        return std::nullopt;
    }
    return KeyValue{trim_blanks(line.substr(0, equals)), line.substr(equals + 1)};
}

// A plain value: up to a "#", blanks around it dropped.
std::string_view plain_value(std::string_view rest) {
    return trim_blanks(rest.substr(0, rest.find('#')));
}

// A text value: in double quotes with \" \\ \n \r \t, or plain. Nothing when the
// quotes do not close or something but a comment follows them; `lenient` takes
// what there is instead.
std::optional<std::string> text_value(std::string_view rest, bool lenient) {
    rest = trim_blanks(rest);
    if (!rest.starts_with('"')) {
        return std::string(plain_value(rest));
    }
    std::string out;
    std::size_t i = 1;
    for (; i < rest.size() && rest[i] != '"'; ++i) {
        char c = rest[i];
        if (c == '\\' && i + 1 < rest.size()) {
            c = rest[++i];
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
        out += c;
    }
    if (i >= rest.size()) {
        return lenient ? std::optional(out) : std::nullopt;
    }
    const std::string_view after = trim_blanks(rest.substr(i + 1));
    if (!after.empty() && !after.starts_with('#') && !lenient) {
        return std::nullopt;
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

// Shortest text that reads back to the same double; empty when not given.
std::string number_value(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, *value + 0.0);
    return std::string(buffer, written.ptr);
}

void add_line(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value.empty() ? " =\n" : " = " + std::string(value) + "\n";
}

// A value as a message shows it: in quotes, on one line, at most 40 characters.
std::string shown_value(std::string_view value) {
    std::string out = one_line_text(value.substr(0, 120));
    if (out.size() > 40) {
        out.resize(40);
        out += "...";
    }
    return "\"" + out + "\"";
}

struct Refusal {
    std::string message;
};

[[noreturn]] void refuse(std::size_t line, std::string_view key, const std::string& why) {
    throw Refusal{"line " + std::to_string(line) + ": " + std::string(key) + ": " + why};
}

// A number or nothing (an empty value); anything else refused.
std::optional<double> strict_number(std::size_t line, std::string_view key,
                                    std::string_view value) {
    if (value.empty()) {
        return std::nullopt;
    }
    const auto number = complete_number(value);
    if (!number || !std::isfinite(*number)) {
        refuse(line, key, shown_value(value) + " is not a number");
    }
    return *number + 0.0;
}

// The field a key names, among the inputs file's numbers and the slot's.
std::optional<Field> input_named(std::string_view key) {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        if (input_rows[i].key == key) {
            return input_rows[i].field;
        }
    }
    for (const Field field : slot_fields) {
        if (input_row(field).key == key) {
            return field;
        }
    }
    return std::nullopt;
}

// The place of a high-pass filter's key, from 0.
std::optional<std::size_t> highpass_named(std::string_view key) {
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        if (key == highpass_key(i)) {
            return i;
        }
    }
    return std::nullopt;
}

// One line of the file into the design; false when its key is not the design's.
bool read_line(Design& design, std::size_t line, std::string_view key, std::string_view rest,
               bool& marked) {
    const std::string_view value = plain_value(rest);
    if (key == marker_key) {
        const auto version = strict_number(line, key, value);
        if (!version || *version < 1 || *version != std::floor(*version)) {
            refuse(line, key, shown_value(value) + " is not a version number");
        }
        marked = true;
    } else if (const auto field = input_named(key)) {
        design.inputs[*field] = strict_number(line, key, value);
    } else if (const auto place = highpass_named(key)) {
        // In the filters' grammar; a stage out of its bounds is kept, for
        // to_enclosure_input to refuse with its message, as the inputs file does.
        auto& stage = design.inputs.highpass[*place];
        stage = value.empty() ? std::nullopt : read_filter(value);
        if (!value.empty() && !stage) {
            refuse(line, key, shown_value(value) + " is not a filter (bw4@18, lr4@20, q0.7@22)");
        }
    } else if (const auto choice =
                   std::find_if(choice_rows.begin(), choice_rows.end(),
                                [key](const ChoiceRow& row) { return row.key == key; });
               choice != choice_rows.end()) {
        if (value.empty()) {
            reset_choice(design.inputs, choice->choice);
        } else if (!set_choice(design.inputs, choice->choice, value)) {
            refuse(line, key,
                   shown_value(value) + " is not " + std::string(choice_words(choice->choice)));
        }
    } else if (key == minimum_key) {
        if (value.empty() || value == "yes") {
            design.port.minimum_radius = true;
        } else if (value == "no") {
            design.port.minimum_radius = false;
        } else {
            refuse(line, key, shown_value(value) + " is not yes or no");
        }
    } else {
        for (const PortNumber& number : port_numbers) {
            if (number.key == key) {
                design.port.*number.member = strict_number(line, key, value);
                return true;
            }
        }
        std::string* text = nullptr;
        for (const TextKey& identity : identity_keys) {
            if (identity.key == key) {
                text = &(design.identity.*identity.member);
            }
        }
        if (!text) {
            return false;
        }
        const auto read = text_value(rest, false);
        if (!read) {
            refuse(line, key, "a text without its closing quote, or more after it");
        }
        *text = *read;
    }
    return true;
}

} // namespace

std::variant<Design, DesignProblem> parse_design(std::string_view bytes) {
    Design design;
    bool marked = false;
    try {
        for_each_line(bytes, [&](std::size_t line, std::string_view text) {
            if (const auto kv = key_value(text)) {
                read_line(design, line, kv->key, kv->rest, marked);
            }
            return true;
        });
    } catch (const Refusal& refusal) {
        return DesignProblem{refusal.message};
    }
    if (!marked) {
        return DesignProblem{"not a Venturon design: it has no " + std::string(marker_key) +
                             " line"};
    }
    return design;
}

std::string serialise_design(const Design& design) {
    std::string out =
        "# Venturon design: the enclosure designer's driver, box, drive and port ends, and the\n"
        "# main window's port. One key = value per line; an empty value means not given.\n";
    add_line(out, marker_key, std::to_string(design_version));
    out += "\n# The driver's maker, model and comment.\n";
    for (const TextKey& identity : identity_keys) {
        const std::string& text = design.identity.*identity.member;
        add_line(out, identity.key, text.empty() ? std::string() : quoted(text));
    }
    // The inputs file's lines, without its own first comment.
    const std::string inputs = serialise_enclosure_inputs(design.inputs);
    out += std::string_view(inputs).substr(inputs.find('\n') + 1);
    out += "\n# The main window's port: internal diameter, number of ports, flare radius\n"
           "# (yes: the minimum worked out; no: given).\n";
    for (const PortNumber& number : port_numbers) {
        add_line(out, number.key, number_value(design.port.*number.member));
    }
    add_line(out, minimum_key, design.port.minimum_radius ? "yes" : "no");
    return out;
}

DriverIdentity parse_identity(std::string_view text) {
    DriverIdentity identity;
    for_each_line(text, [&](std::size_t, std::string_view line) {
        if (const auto kv = key_value(line)) {
            for (const TextKey& key : identity_keys) {
                if (key.key == kv->key) {
                    identity.*key.member = one_line_text(*text_value(kv->rest, true));
                }
            }
        }
        return true;
    });
    return identity;
}

std::string one_line_text(std::string_view text) {
    const std::string utf8 = utf8_text(text);
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        length = std::min(length, utf8.size() - i);
        std::string_view character(utf8.data() + i, length);
        i += length;
        // C0 controls, DEL and the C1 controls (U+0080 to U+009F, "\xC2\x80" on).
        const bool control =
            byte < 0x20 || byte == 0x7F ||
            (byte == 0xC2 && length == 2 && static_cast<unsigned char>(character[1]) < 0xA0);
        if (characters == max_text_length) {
            out += "\u2026";
            break;
        }
        out += control ? std::string_view(" ") : character;
        ++characters;
    }
    return std::string(trim_blanks(out));
}

RecentDesigns::RecentDesigns(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

namespace {

// One file however its path is written: on Windows, letters of either case and
// either slash.
bool same_path(std::string_view a, std::string_view b) {
#ifdef _WIN32
    const auto fold = [](char c) {
        return c == '\\' ? '/' : c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
#else
    return a == b;
#endif
}

} // namespace

bool RecentDesigns::add(std::string_view path) {
    if (path.empty() ||
        path.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        return false;
    }
    remove(path);
    paths_.insert(paths_.begin(), std::string(path));
    if (paths_.size() > capacity_) {
        paths_.resize(capacity_);
    }
    return true;
}

void RecentDesigns::remove(std::string_view path) {
    std::erase_if(paths_, [path](const std::string& p) { return same_path(p, path); });
}

void RecentDesigns::drop_missing(const std::function<bool(const std::string&)>& exists) {
    std::erase_if(paths_, [&exists](const std::string& p) { return !exists(p); });
}

std::string RecentDesigns::serialise() const {
    std::string out;
    for (const std::string& path : paths_) {
        out += path + "\n";
    }
    return out;
}

RecentDesigns RecentDesigns::parse(std::string_view bytes, std::size_t capacity) {
    RecentDesigns list(capacity);
    // Oldest first into add(), so that the first line ends up first.
    std::vector<std::string_view> lines;
    for_each_line(bytes, [&](std::size_t, std::string_view line) {
        if (!line.empty() &&
            std::none_of(lines.begin(), lines.end(),
                         [line](std::string_view seen) { return same_path(seen, line); })) {
            lines.push_back(line);
        }
        return lines.size() < list.capacity_;
    });
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        list.add(*line);
    }
    return list;
}

} // namespace venturon
