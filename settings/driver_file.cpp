#include "driver_file.h"

#include "file_reading.h"
#include "input_messages.h"
#include "number_text.h"
#include "text_decoding.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace venturon {

namespace {

constexpr double pi = std::numbers::pi;

// The values a data sheet may give, the model's inputs among them.
enum class Sheet { fs, qes, qms, qts, vas, sd, re, le, xmax, pe, bl, mms, cms, rms, dia };
constexpr std::size_t sheet_count = static_cast<std::size_t>(Sheet::dia) + 1;

struct SheetRow {
    Sheet sheet;
    std::string_view name; // as the [Driver] section writes it; JSON's is lower case
    std::optional<Field> field;
    std::string_view si_unit; // for a derived value that is no input
};
constexpr std::array<SheetRow, sheet_count> sheet_rows{{
    {Sheet::fs, "fs", Field::fs, "Hz"},
    {Sheet::qes, "Qes", Field::qes, ""},
    {Sheet::qms, "Qms", Field::qms, ""},
    {Sheet::qts, "Qts", Field::qts, ""},
    {Sheet::vas, "Vas", Field::vas, "m^3"},
    {Sheet::sd, "Sd", Field::sd, "m^2"},
    {Sheet::re, "Re", Field::re, "ohm"},
    {Sheet::le, "Le", Field::le, "H"},
    {Sheet::xmax, "Xmax", Field::xmax, "m"},
    {Sheet::pe, "Pe", std::nullopt, "W"},
    {Sheet::bl, "BL", std::nullopt, "T m"},
    {Sheet::mms, "Mms", std::nullopt, "kg"},
    {Sheet::cms, "Cms", std::nullopt, "m/N"},
    {Sheet::rms, "Rms", std::nullopt, "kg/s"},
    {Sheet::dia, "Dia", std::nullopt, "m"},
}};

const SheetRow& row_of(Sheet sheet) {
    return sheet_rows[static_cast<std::size_t>(sheet)];
}

// The identity's keys, each with the names it goes by.
enum class Text { maker, model, comment };
struct TextRow {
    Text text{};
    std::array<std::string_view, 3> names{}; // first: the [Driver] section's
};
constexpr std::array<TextRow, 3> text_rows{{
    {Text::maker, {"Manufacturer", "maker", "brand"}},
    {Text::model, {"Model", "name", ""}},
    {Text::comment, {"Comment", "description", "notes"}},
}};

bool same_key(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// A value as a file gives it: a text, or a JSON number.
struct Pair {
    std::string key;
    std::variant<std::string, double> value;
};

std::string shown(std::string_view value) {
    std::string text = one_line_text(value.substr(0, 120));
    if (text.size() > 40) {
        text.resize(40);
        text += "...";
    }
    return "\"" + text + "\"";
}

// Calls line(text) for each line: LF, CR LF or a lone CR.
template <class F> void for_each_line(std::string_view text, F line) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        line(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
}

// "[Driver]", whatever the case and blanks.
std::optional<std::string_view> section_name(std::string_view line) {
    line = trim_blanks(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return trim_blanks(line.substr(1, line.size() - 2));
}

bool has_driver_section(std::string_view text) {
    bool found = false;
    for_each_line(text, [&](std::string_view line) {
        const auto name = section_name(line);
        found = found || (name && same_key(*name, "Driver"));
    });
    return found;
}

// A key of Venturon's inputs file or of a design.
bool is_own_key(std::string_view key) {
    const auto named = [key](const auto& row) { return row.key == key; };
    return std::any_of(input_rows.begin(), input_rows.begin() + file_number_count, named) ||
           std::any_of(choice_rows.begin(), choice_rows.end(), named) ||
           std::any_of(slot_fields.begin(), slot_fields.end(),
                       [key](Field field) { return input_row(field).key == key; }) ||
           (key.starts_with("highpass_") && key.size() == 10 && key[9] >= '1' &&
            key[9] <= char('0' + max_filter_stages)) ||
           key == "venturon_design";
}

// Venturon's own inputs file: a line with one of its keys, or nothing but
// comments and blank lines.
bool is_venturon_inputs(std::string_view bytes) {
    bool own_key = false;
    bool other = false;
    for_each_line(bytes, [&](std::string_view line) {
        const std::string_view content = trim_blanks(line.substr(0, line.find('#')));
        if (content.empty()) {
            return;
        }
        const auto equals = content.find('=');
        const std::string_view key = equals == std::string_view::npos
                                         ? std::string_view()
                                         : trim_blanks(content.substr(0, equals));
        (!key.empty() && is_own_key(key) ? own_key : other) = true;
    });
    return own_key || !other;
}

std::vector<Pair> section_pairs(std::string_view text) {
    std::vector<Pair> pairs;
    bool in_driver = false;
    for_each_line(text, [&](std::string_view line) {
        if (const auto name = section_name(line)) {
            in_driver = same_key(*name, "Driver");
            return;
        }
        const std::string_view content = trim_blanks(line);
        if (!in_driver || content.empty() || content.front() == ';' || content.front() == '#') {
            return;
        }
        const auto equals = content.find('=');
        if (equals == std::string_view::npos) {
            return;
        }
        std::string_view value = trim_blanks(content.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        pairs.push_back({std::string(trim_blanks(content.substr(0, equals))), std::string(value)});
    });
    return pairs;
}

std::variant<std::vector<Pair>, DriverFileProblem> json_pairs(const std::string& text) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        return DriverFileProblem{{},
                                 "not valid JSON: " + error.errorString().toStdString() +
                                     " at byte " + std::to_string(error.offset)};
    }
    if (!document.isObject()) {
        return DriverFileProblem{{}, "a JSON data sheet is one object, { ... }"};
    }
    std::vector<Pair> pairs;
    const QJsonObject object = document.object();
    for (auto member = object.begin(); member != object.end(); ++member) {
        const QJsonValue value = member.value();
        Pair pair{member.key().toStdString(), std::string()};
        if (value.isDouble()) {
            pair.value = value.toDouble();
        } else if (value.isString()) {
            pair.value = value.toString().toStdString();
        } else if (!value.isNull()) {
            // Marked as no number: refused below if the key is one of ours.
            pair.value = std::string(value.isBool() ? "true/false" : "an array or object");
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

// What a file gives and what is worked out from it, in SI units.
struct SheetValues {
    std::array<std::optional<double>, sheet_count> si{};
    std::array<ValueOrigin, sheet_count> origin{};
    std::array<std::string, sheet_count> keys;
    std::vector<Derivation> derived;

    std::optional<double>& operator[](Sheet s) { return si[static_cast<std::size_t>(s)]; }
    bool usable(Sheet s) const {
        const auto& v = si[static_cast<std::size_t>(s)];
        return v && *v > 0;
    }
    double at(Sheet s) const { return *si[static_cast<std::size_t>(s)]; }

    // Sets a value worked out, when it is a positive finite number.
    bool derive(Sheet s, double value, std::string_view from, std::string_view formula,
                bool in_inputs = true) {
        if (!(value > 0) || !std::isfinite(value)) {
            return false;
        }
        const SheetRow& row = row_of(s);
        Derivation d{row.name, from, formula, value, row.si_unit, in_inputs};
        if (row.field) {
            const InputRow& input = input_row(*row.field);
            d.value = value / input.si_per_unit;
            d.unit = input.unit;
        }
        derived.push_back(d);
        if (in_inputs) {
            (*this)[s] = value;
            origin[static_cast<std::size_t>(s)] = ValueOrigin::derived;
        }
        return true;
    }

    int q_count() const {
        return int(usable(Sheet::qes)) + int(usable(Sheet::qms)) + int(usable(Sheet::qts));
    }
};

void derive_missing(SheetValues& v) {
    const AirProperties air = air_properties(standard_temperature_c);
    const double rho_c2 = air.density * air.speed_of_sound * air.speed_of_sound;
    using S = Sheet;
    const auto missing = [&v](S s) { return !v[s]; };
    const auto w = [&v] { return 2 * pi * v.at(S::fs); };
    // Each pass may make the next possible (Mms from fs and Cms, then Qes from Mms);
    // the passes end when one finds nothing more.
    for (int pass = 0; pass < 8; ++pass) {
        bool more = false;
        if (missing(S::sd) && v.usable(S::dia)) {
            more |=
                v.derive(S::sd, pi * v.at(S::dia) * v.at(S::dia) / 4, "Dia", "Sd = pi Dia^2 / 4");
        }
        if (missing(S::cms) && v.usable(S::vas) && v.usable(S::sd)) {
            more |= v.derive(S::cms, v.at(S::vas) / (rho_c2 * v.at(S::sd) * v.at(S::sd)),
                             "Vas and Sd", "Cms = Vas / (rho c^2 Sd^2)");
        }
        if (missing(S::vas) && v.usable(S::cms) && v.usable(S::sd)) {
            more |= v.derive(S::vas, rho_c2 * v.at(S::cms) * v.at(S::sd) * v.at(S::sd),
                             "Cms and Sd", "Vas = rho c^2 Cms Sd^2");
        }
        if (missing(S::fs) && v.usable(S::mms) && v.usable(S::cms)) {
            more |= v.derive(S::fs, 1 / (2 * pi * std::sqrt(v.at(S::mms) * v.at(S::cms))),
                             "Mms and Cms", "fs = 1 / (2 pi sqrt(Mms Cms))");
        }
        if (missing(S::mms) && v.usable(S::fs) && v.usable(S::cms)) {
            more |= v.derive(S::mms, 1 / (w() * w() * v.at(S::cms)), "fs and Cms",
                             "Mms = 1 / ((2 pi fs)^2 Cms)");
        }
        if (missing(S::cms) && v.usable(S::fs) && v.usable(S::mms)) {
            more |= v.derive(S::cms, 1 / (w() * w() * v.at(S::mms)), "fs and Mms",
                             "Cms = 1 / ((2 pi fs)^2 Mms)");
        }
        if (v.q_count() < 2 && missing(S::qes) && v.usable(S::fs) && v.usable(S::mms) &&
            v.usable(S::re) && v.usable(S::bl)) {
            more |= v.derive(S::qes, w() * v.at(S::mms) * v.at(S::re) / (v.at(S::bl) * v.at(S::bl)),
                             "fs, Mms, Re and BL", "Qes = 2 pi fs Mms Re / Bl^2");
        }
        if (v.q_count() < 2 && missing(S::qms) && v.usable(S::fs) && v.usable(S::mms) &&
            v.usable(S::rms)) {
            more |= v.derive(S::qms, w() * v.at(S::mms) / v.at(S::rms), "fs, Mms and Rms",
                             "Qms = 2 pi fs Mms / Rms");
        }
        if (!more) {
            break;
        }
    }
    // The third Q, for the record.
    const bool es = v.usable(S::qes);
    const bool ms = v.usable(S::qms);
    const bool ts = v.usable(S::qts);
    if (es && ms && !ts) {
        v.derive(S::qts, v.at(S::qes) * v.at(S::qms) / (v.at(S::qes) + v.at(S::qms)), "Qes and Qms",
                 "Qts = Qes Qms / (Qes + Qms)", false);
    } else if (ts && es && !ms && v.at(S::qes) > v.at(S::qts)) {
        v.derive(S::qms, v.at(S::qes) * v.at(S::qts) / (v.at(S::qes) - v.at(S::qts)), "Qes and Qts",
                 "Qms = Qes Qts / (Qes - Qts)", false);
    } else if (ts && ms && !es && v.at(S::qms) > v.at(S::qts)) {
        v.derive(S::qes, v.at(S::qms) * v.at(S::qts) / (v.at(S::qms) - v.at(S::qts)), "Qms and Qts",
                 "Qes = Qms Qts / (Qms - Qts)", false);
    }
}

// The inputs keyed pe_w, should the inputs have one.
std::optional<Field> pe_field() {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        if (input_rows[i].key == "pe_w") {
            return input_rows[i].field;
        }
    }
    return std::nullopt;
}

DriverFileReading from_pairs(DriverFileFormat format, const std::vector<Pair>& pairs) {
    const bool json = format == DriverFileFormat::json_data_sheet;
    SheetValues v;
    DriverFile file;
    file.format = format;
    for (const SheetRow& row : sheet_rows) {
        std::string key(row.name);
        if (json) {
            std::transform(key.begin(), key.end(), key.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        }
        v.keys[static_cast<std::size_t>(row.sheet)] = key;
    }
    for (const Pair& pair : pairs) {
        const auto* row =
            std::find_if(sheet_rows.begin(), sheet_rows.end(),
                         [&](const SheetRow& r) { return same_key(r.name, pair.key); });
        if (row != sheet_rows.end()) {
            const auto i = static_cast<std::size_t>(row->sheet);
            v.keys[i] = pair.key;
            std::optional<double> number;
            if (const auto* given = std::get_if<double>(&pair.value)) {
                number = *given;
            } else {
                const std::string_view text = trim_blanks(std::get<std::string>(pair.value));
                if (!text.empty()) {
                    number = complete_number(text);
                    if (!number || !std::isfinite(*number)) {
                        return DriverFileProblem{pair.key,
                                                 shown(text) + " is not a number" +
                                                     (json ? "" : " (in SI units, with a point)")};
                    }
                }
            }
            v.si[i] = number ? std::optional(*number + 0.0) : std::nullopt;
            v.origin[i] = number ? ValueOrigin::given : ValueOrigin::absent;
            continue;
        }
        for (const TextRow& text : text_rows) {
            if (std::none_of(text.names.begin(), text.names.end(), [&](std::string_view name) {
                    return !name.empty() && same_key(name, pair.key);
                })) {
                continue;
            }
            const std::string value = std::holds_alternative<double>(pair.value)
                                          ? number_text_trimmed(std::get<double>(pair.value))
                                          : one_line_text(std::get<std::string>(pair.value));
            std::string& into = text.text == Text::maker   ? file.identity.maker
                                : text.text == Text::model ? file.identity.model
                                                           : file.identity.comment;
            into = value;
        }
    }
    derive_missing(v);

    for (const SheetRow& row : sheet_rows) {
        const auto i = static_cast<std::size_t>(row.sheet);
        if (!row.field) {
            continue;
        }
        const auto f = static_cast<std::size_t>(*row.field);
        file.keys[f] = v.keys[i];
        file.origin[f] = v.origin[i];
        if (v.origin[i] != ValueOrigin::absent && v.si[i]) {
            file.inputs[*row.field] = *v.si[i] / input_row(*row.field).si_per_unit + 0.0;
        }
    }
    file.derived = std::move(v.derived);
    file.pe_w = v[Sheet::pe];
    if (const auto pe = pe_field(); pe && file.pe_w) {
        file.inputs[*pe] = file.pe_w;
        file.origin[static_cast<std::size_t>(*pe)] = ValueOrigin::given;
    }
    return file;
}

DriverFile venturon_inputs(std::string_view bytes) {
    DriverFile file;
    file.format = DriverFileFormat::venturon_inputs;
    file.inputs = parse_enclosure_inputs(bytes);
    for (std::size_t i = 0; i < file_number_count; ++i) {
        file.keys[i] = input_rows[i].key;
        file.origin[i] = file.inputs.numbers[i] ? ValueOrigin::given : ValueOrigin::absent;
    }
    file.identity = parse_identity(bytes);
    if (const auto pe = pe_field()) {
        file.pe_w = file.inputs[*pe];
    }
    return file;
}

// The words for a driver number the file lacks.
std::string missing_text(Field field, DriverFileFormat format) {
    if (format == DriverFileFormat::venturon_inputs) {
        return "missing";
    }
    switch (field) {
    case Field::fs:
        return "missing, and no Mms with Cms to work it out from";
    case Field::vas:
        return "missing, and no Cms with Sd (or Dia) to work it out from";
    case Field::sd:
        return "missing, and no Dia to work it out from";
    default:
        return "missing";
    }
}

bool is_driver_number(const InputRow& row) {
    return row.group == InputGroup::driver && row.field != Field::driver_count;
}

} // namespace

std::string_view driver_file_format_key(DriverFileFormat format) {
    switch (format) {
    case DriverFileFormat::driver_section:
        return "driver-section";
    case DriverFileFormat::json_data_sheet:
        return "json-data-sheet";
    case DriverFileFormat::venturon_inputs:
        break;
    }
    return "venturon-inputs";
}

std::string_view driver_file_format_text(DriverFileFormat format) {
    switch (format) {
    case DriverFileFormat::driver_section:
        return "[Driver] section";
    case DriverFileFormat::json_data_sheet:
        return "JSON data sheet";
    case DriverFileFormat::venturon_inputs:
        break;
    }
    return "Venturon inputs file";
}

DriverFileReading parse_driver_file(std::string_view bytes) {
    const std::string text = utf8_text(bytes);
    const std::string_view start = trim_blanks(
        std::string_view(text).substr(std::min(text.find_first_not_of(" \t\r\n"), text.size())));
    if (start.starts_with('{')) {
        auto pairs = json_pairs(text);
        if (auto* problem = std::get_if<DriverFileProblem>(&pairs)) {
            return *problem;
        }
        return from_pairs(DriverFileFormat::json_data_sheet, std::get<std::vector<Pair>>(pairs));
    }
    if (has_driver_section(text)) {
        return from_pairs(DriverFileFormat::driver_section, section_pairs(text));
    }
    if (is_venturon_inputs(bytes)) {
        return venturon_inputs(bytes);
    }
    return DriverFileProblem{{},
                             "not a driver file: no JSON object, no [Driver] section and no key "
                             "of Venturon's inputs file"};
}

std::optional<DriverFileProblem> driver_file_problem(const DriverFile& file) {
    const auto worked_out = [&file](Field field) {
        return file.origin[static_cast<std::size_t>(field)] == ValueOrigin::derived
                   ? std::string(" (worked out from the file's other values)")
                   : std::string();
    };
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (!is_driver_number(row)) {
            continue;
        }
        const auto& value = file.inputs[row.field];
        if (!value) {
            if (row.required) {
                return DriverFileProblem{file.keys[i], missing_text(row.field, file.format)};
            }
            continue;
        }
        if (const auto error = check_input(row.field, *value, Scale::file)) {
            return DriverFileProblem{file.keys[i], input_message(*error) + worked_out(row.field)};
        }
    }
    // Two of the three Qs, agreeing with each other.
    const auto& qes = file.inputs[Field::qes];
    const auto& qms = file.inputs[Field::qms];
    const auto& qts = file.inputs[Field::qts];
    const auto key = [&file](Field field) { return file.keys[static_cast<std::size_t>(field)]; };
    if (int(qes.has_value()) + int(qms.has_value()) + int(qts.has_value()) < 2) {
        const bool own = file.format == DriverFileFormat::venturon_inputs;
        return DriverFileProblem{
            key(qts || qes || qms ? (qes ? Field::qms : Field::qes) : Field::qts),
            own ? "missing; give two of qes, qms and qts"
                : "missing; give two of Qes, Qms and Qts, or fs, Mms, Re and BL for Qes and "
                  "Rms for Qms"};
    }
    if (qes && qms && qts) {
        const double from_others = *qes * *qms / (*qes + *qms);
        if (std::fabs(*qts - from_others) > limits::qts_tolerance * from_others) {
            return DriverFileProblem{
                key(Field::qts),
                input_message({Field::qts, Problem::qts_disagrees, Scale::file, from_others})};
        }
    } else if (qts) {
        const Field other = qes ? Field::qes : Field::qms;
        if (*qts >= *file.inputs[other]) {
            return DriverFileProblem{
                key(Field::qts),
                input_message({Field::qts, Problem::qts_not_below, Scale::file, *qts, other})};
        }
    }
    return std::nullopt;
}

DriverFileReading read_driver_file(const QString& path) {
    const LimitedRead read = read_limited_file(path, driver_file_read_limit);
    if (!read.bytes) {
        return DriverFileProblem{{},
                                 read_problem_text(read, "driver file", driver_file_read_limit)};
    }
    return parse_driver_file(std::string_view(read.bytes->constData(), read.bytes->size()));
}

DriverFileReading open_driver_file(const QString& path) {
    DriverFileReading reading = read_driver_file(path);
    if (const auto* file = std::get_if<DriverFile>(&reading)) {
        if (auto problem = driver_file_problem(*file)) {
            return *problem;
        }
    }
    return reading;
}

std::string driver_file_message(const QString& path, const DriverFileProblem& problem) {
    return QFileInfo(path).fileName().toStdString() + ": " + problem.text();
}

EnclosureInputs with_driver(const EnclosureInputs& current, const DriverFile& driver) {
    EnclosureInputs out = current;
    for (std::size_t i = 0; i < file_number_count; ++i) {
        const InputRow& row = input_rows[i];
        if (is_driver_number(row) || row.key == "pe_w") {
            out[row.field] = driver.inputs[row.field];
        }
    }
    return out;
}

} // namespace venturon
