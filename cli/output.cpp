#include "output.h"

#include "enclosure_output.h"
#include "number_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

namespace venturon::cli {

namespace {

constexpr std::array<int, 4> frequencies_hz{20, 25, 30, 35};

// ---------------------------------------------------------------- helpers

std::string number(double value) {
    return number_text_trimmed(value);
}

std::string join(const std::array<double, 4>& values, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += (i ? std::string(separator) : "") + number(values[i]);
    }
    return out;
}

std::string allowances_text(const AllowanceSelection& a) {
    return "chuffing " + std::string(allowance_name(a.chuffing)) + ", core " +
           std::string(allowance_name(a.core)) + ", content " +
           std::string(content_name(a.content));
}

// A length in the chosen units; imperial texts (rounded to a sixteenth or cut to
// four decimals) carry the millimetres beside them. `note` ends the brackets.
std::string length_with_mm(double mm, UnitsMode units, int decimals, std::string_view note = {},
                           Rounding rounding = Rounding::nearest) {
    std::string text = show_length(mm, units, decimals, rounding);
    std::string aside = units == UnitsMode::metric
                            ? std::string()
                            : length_number(mm, UnitsMode::metric, decimals) + " mm";
    if (!note.empty()) {
        aside += (aside.empty() ? "" : ", ") + std::string(note);
    }
    return aside.empty() ? text : text + " (" + aside + ")";
}

std::string minimum_with_mm(double mm, UnitsMode units, std::string_view note = {}) {
    return length_with_mm(mm, units, 3, note, Rounding::up);
}

std::string cutter_text(const std::optional<Cutter>& cutter) {
    return cutter ? std::string(cutter->label) : std::string();
}

std::string round_over_line(double minimum_mm, CutterSystem system, UnitsMode units) {
    const auto cutter = smallest_cutter(minimum_mm, system);
    const std::string system_name(cutter_system_name(system));
    if (cutter) {
        return std::string(cutter->label) + ", the smallest " + system_name +
               " cutter of at least " + minimum_with_mm(minimum_mm, units);
    }
    return "none: " + minimum_with_mm(minimum_mm, units) + " is beyond the largest " + system_name +
           " cutter (" + std::string(standard_cutters(system).back().label) + ")";
}

std::string verdict_key(Verdict verdict) {
    switch (verdict) {
    case Verdict::noise_free:
        return "noise-free";
    case Verdict::core:
        return "core";
    case Verdict::chuffing:
        return "chuffing";
    case Verdict::chuffing_and_core:
        return "chuffing-and-core";
    }
    return {};
}

std::string colour_text(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

// Columns padded to their widest cell, two blanks apart; the last column
// is not padded so that no line ends in blanks.
struct TextTable {
    std::vector<bool> left_aligned;
    std::vector<std::vector<std::string>> rows;

    void write(std::ostream& out) const {
        std::vector<std::size_t> widths(left_aligned.size(), 0);
        for (const auto& row : rows) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                widths[c] = std::max(widths[c], row[c].size());
            }
        }
        for (const auto& row : rows) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string padding(widths[c] - row[c].size(), ' ');
                const bool last = c + 1 == row.size();
                line += c ? "  " : "";
                line += left_aligned[c] ? row[c] + (last ? "" : padding) : padding + row[c];
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out << line << '\n';
        }
    }
};

// Label and value lines: "Diameter      100 mm".
void write_fields(std::ostream& out, const std::vector<std::pair<std::string, std::string>>& f) {
    TextTable table{{true, true}, {}};
    for (const auto& [label, value] : f) {
        table.rows.push_back({label, value});
    }
    table.write(out);
}

std::string csv_text(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

void write_csv_line(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out << (i ? "," : "") << cells[i];
    }
    out << '\n';
}

void write_json(std::ostream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonArray json_array(const std::array<double, 4>& values) {
    QJsonArray array;
    for (double v : values) {
        array.append(v);
    }
    return array;
}

QJsonObject json_allowances(const AllowanceSelection& a) {
    return {{"chuffing", q(allowance_name(a.chuffing))},
            {"core", q(allowance_name(a.core))},
            {"content", q(content_name(a.content))}};
}

QJsonValue json_round_over(double minimum_mm, CutterSystem system) {
    const auto cutter = smallest_cutter(minimum_mm, system);
    QJsonObject object{{"system", q(cutter_system_name(system))},
                       {"minimum_radius_mm", minimum_mm}};
    object["cutter"] = cutter ? QJsonValue(q(cutter->label)) : QJsonValue();
    object["cutter_radius_mm"] = cutter ? QJsonValue(cutter->radius_mm) : QJsonValue();
    return object;
}

QJsonObject json_header(const Options& options) {
    return {{"program", q(program_name)},
            {"version", q(program_version())},
            {"units", q(units_mode_text(options.units))},
            {"allowances", json_allowances(options.allowances)}};
}

// ---------------------------------------------------------------- one calculation

void write_rows(std::ostream& out, Rows rows) {
    TextTable table{std::vector<bool>(rows.empty() ? 0 : rows[0].size(), false), std::move(rows)};
    table.write(out);
}

void single_table(const Options& o, const SingleResult& s, std::ostream& out) {
    const CalculationResult& r = s.result;
    const bool minimum = s.input.mode == CalculationMode::minimum;
    if (s.enclosure) {
        write_fields(out, enclosure_fields(*o.enclosure, *s.enclosure));
        out << '\n';
        write_rows(out, design_rows(*s.enclosure));
        if (const Fields excursion = excursion_fields(*s.enclosure); !excursion.empty()) {
            write_fields(out, excursion);
        }
        out << '\n';
    }
    write_fields(out,
                 {
                     {"Diameter", length_with_mm(s.input.diameter, o.units, -1)},
                     {"Ports", number(s.ports)},
                     {"Flare radius", minimum ? minimum_with_mm(r.radius, o.units, "minimum")
                                              : length_with_mm(r.radius, o.units, -1, "given")},
                     {"Allowances", allowances_text(o.allowances)},
                 });
    out << '\n';

    TextTable table{{false, false, false, false, false}, {}};
    table.rows.push_back({"Frequency", "Required", "Core limit", "Chuffing limit"});
    table.rows.push_back({"Hz", "m/s", "m/s", "m/s"});
    if (minimum) {
        table.rows[0].push_back("Minimum radius");
        table.rows[1].push_back(std::string(unit_symbol(o.units)));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        table.rows.push_back({std::to_string(frequencies_hz[i]), fixed(s.input.required[i], 3),
                              fixed(r.core_limit[i], 3), fixed(r.chuff_limit[i], 3)});
        if (minimum) {
            table.rows.back().push_back(length_number(r.min_radius[i], o.units, 3, Rounding::up));
        }
    }
    table.write(out);
    out << '\n';

    std::vector<std::pair<std::string, std::string>> summary{
        {"Core excess", fixed(r.core_excess, 3) + " m/s"},
        {"Chuffing excess", fixed(r.chuff_excess, 3) + " m/s"},
    };
    if (o.round_over) {
        summary.push_back(
            {"Round-over cutter", round_over_line(*s.minimum_radius_mm, *o.round_over, o.units)});
    }
    write_fields(out, summary);
    out << s.verdict_text << '\n';
    if (s.enclosure) {
        out << '\n';
        write_fields(out, length_fields(o, *s.enclosure));
        if (o.enclosure->curve) {
            out << '\n';
            write_rows(out, curve_rows(*s.enclosure));
        }
    }
}

void single_json(const Options& o, const SingleResult& s, std::ostream& out) {
    const CalculationResult& r = s.result;
    const bool minimum = s.input.mode == CalculationMode::minimum;
    QJsonObject object = json_header(o);
    object["diameter_mm"] = s.input.diameter;
    object["diameter"] = q(show_length(s.input.diameter, o.units, -1));
    object["ports"] = s.ports;
    object["mode"] = minimum ? "minimum" : "manual";
    QJsonArray rows;
    for (std::size_t i = 0; i < 4; ++i) {
        QJsonObject row{{"frequency_hz", frequencies_hz[i]},
                        {"required_m_s", s.input.required[i]},
                        {"core_limit_m_s", r.core_limit[i]},
                        {"chuffing_limit_m_s", r.chuff_limit[i]}};
        if (minimum) {
            row["min_radius_mm"] = r.min_radius[i];
        }
        rows.append(row);
    }
    object["frequencies"] = rows;
    object["radius_mm"] = r.radius;
    object["radius"] = q(show_length(r.radius, o.units, minimum ? 3 : -1,
                                     minimum ? Rounding::up : Rounding::nearest));
    object["area_ratio"] = r.area_ratio;
    object["core_excess_m_s"] = r.core_excess;
    object["chuffing_excess_m_s"] = r.chuff_excess;
    object["verdict"] = q(verdict_key(r.verdict));
    object["verdict_text"] = q(s.verdict_text);
    object["verdict_colour"] = q(colour_text(verdict_colour(r.verdict)));
    if (o.round_over) {
        object["round_over"] = json_round_over(*s.minimum_radius_mm, *o.round_over);
    }
    if (s.enclosure) {
        object["enclosure"] = enclosure_json(o, *s.enclosure);
    }
    write_json(out, object);
}

// One line per design frequency; the values of the whole calculation repeat on
// each, so every line stands on its own.
void single_csv(const Options& o, const SingleResult& s, std::ostream& out) {
    if (s.enclosure && o.enclosure->curve) {
        write_curve_csv(*s.enclosure, out); // one table per file: the curve alone
        return;
    }
    const CalculationResult& r = s.result;
    const bool minimum = s.input.mode == CalculationMode::minimum;
    std::vector<std::string> header{"diameter_mm",
                                    "ports",
                                    "mode",
                                    "frequency_hz",
                                    "required_m_s",
                                    "core_limit_m_s",
                                    "chuffing_limit_m_s",
                                    "min_radius_mm",
                                    "radius_mm",
                                    "core_excess_m_s",
                                    "chuffing_excess_m_s",
                                    "verdict",
                                    "verdict_text"};
    if (o.round_over) {
        header.push_back("round_over_cutter");
    }
    if (s.enclosure) {
        const auto more = enclosure_csv_header();
        header.insert(header.end(), more.begin(), more.end());
    }
    write_csv_line(out, header);
    for (std::size_t i = 0; i < 4; ++i) {
        std::vector<std::string> cells{number(s.input.diameter),
                                       number(s.ports),
                                       minimum ? "minimum" : "manual",
                                       std::to_string(frequencies_hz[i]),
                                       number(s.input.required[i]),
                                       number(r.core_limit[i]),
                                       number(r.chuff_limit[i]),
                                       minimum ? number(r.min_radius[i]) : "",
                                       number(r.radius),
                                       number(r.core_excess),
                                       number(r.chuff_excess),
                                       verdict_key(r.verdict),
                                       csv_text(s.verdict_text)};
        if (o.round_over) {
            cells.push_back(
                csv_text(cutter_text(smallest_cutter(*s.minimum_radius_mm, *o.round_over))));
        }
        if (s.enclosure) {
            const auto more = enclosure_csv_cells(*s.enclosure, i);
            cells.insert(cells.end(), more.begin(), more.end());
        }
        write_csv_line(out, cells);
    }
}

// ---------------------------------------------------------------- sweeps

bool over_diameter(const SweepResult& s) {
    return s.over == SweepResult::Over::diameter;
}

void sweep_table(const Options& o, const SweepResult& s, std::ostream& out) {
    const std::string ports = number(o.ports) + (o.ports == 1 ? " port" : " ports");
    write_fields(out, {
                          {"Reference", show_length(o.diameter_mm, o.units, -1) + ", " + ports +
                                            ", " + join(s.reference_velocities, ", ") +
                                            " m/s at 20, 25, 30, 35 Hz"},
                          {"Allowances", allowances_text(o.allowances)},
                      });
    out << '\n';

    std::vector<std::string> header{"Diameter", "Ports", "20 Hz",          "25 Hz",
                                    "30 Hz",    "35 Hz", "Minimum radius", "Core excess"};
    std::vector<std::string> units{
        std::string(unit_symbol(o.units)), "",   "m/s", "m/s", "m/s", "m/s",
        std::string(unit_symbol(o.units)), "m/s"};
    if (o.round_over) {
        header.push_back("Cutter");
        units.push_back("");
    }
    header.push_back("Verdict");
    units.push_back("");
    // Numbers to the right; the cutter and the verdict, words, to the left.
    TextTable table{std::vector<bool>(header.size(), false), {}};
    table.left_aligned.back() = true;
    if (o.round_over) {
        table.left_aligned[header.size() - 2] = true;
    }
    table.rows.push_back(header);
    table.rows.push_back(units);
    for (const SweepRow& row : s.rows) {
        std::vector<std::string> cells{length_number(row.diameter_mm, o.units, -1),
                                       number(row.ports)};
        for (double v : row.required) {
            cells.push_back(fixed(v, 1));
        }
        cells.push_back(length_number(row.result.radius, o.units, 3, Rounding::up));
        cells.push_back(fixed(row.result.core_excess, 3));
        if (o.round_over) {
            const auto cutter = smallest_cutter(row.result.radius, *o.round_over);
            cells.push_back(cutter ? std::string(cutter->label) : "none");
        }
        cells.push_back(trim_spaces(row.verdict_text));
        table.rows.push_back(cells);
    }
    table.write(out);
    out << '\n';

    if (!s.first_quiet) {
        out << (over_diameter(s) ? "No diameter in the sweep is noise free.\n"
                                 : "No port count in the sweep is noise free.\n");
    } else if (over_diameter(s)) {
        out << "Smallest quiet diameter: "
            << show_length(s.rows[*s.first_quiet].diameter_mm, o.units, -1) << '\n';
    } else {
        out << "Smallest quiet port count: " << number(s.rows[*s.first_quiet].ports) << '\n';
    }
}

void sweep_json(const Options& o, const SweepResult& s, std::ostream& out) {
    QJsonObject object = json_header(o);
    object["sweep"] = over_diameter(s) ? "diameter" : "ports";
    object["reference"] = QJsonObject{{"diameter_mm", o.diameter_mm},
                                      {"diameter", q(show_length(o.diameter_mm, o.units, -1))},
                                      {"ports", o.ports},
                                      {"required_m_s", json_array(s.reference_velocities)}};
    QJsonArray rows;
    for (const SweepRow& row : s.rows) {
        QJsonObject item{
            {"diameter_mm", row.diameter_mm},
            {"diameter", q(show_length(row.diameter_mm, o.units, -1))},
            {"ports", row.ports},
            {"required_m_s", json_array(row.required)},
            {"min_radius_mm", row.result.radius},
            {"min_radius", q(show_length(row.result.radius, o.units, 3, Rounding::up))},
            {"core_excess_m_s", row.result.core_excess},
            {"verdict", q(verdict_key(row.result.verdict))},
            {"verdict_text", q(row.verdict_text)}};
        if (o.round_over) {
            item["round_over"] = json_round_over(row.result.radius, *o.round_over);
        }
        rows.append(item);
    }
    object["rows"] = rows;
    const SweepRow* quiet = s.first_quiet ? &s.rows[*s.first_quiet] : nullptr;
    if (over_diameter(s)) {
        object["smallest_quiet_diameter_mm"] =
            quiet ? QJsonValue(quiet->diameter_mm) : QJsonValue();
    } else {
        object["smallest_quiet_ports"] = quiet ? QJsonValue(quiet->ports) : QJsonValue();
    }
    write_json(out, object);
}

// One line per row; the smallest quiet value is left to the reader (the verdict
// column shows it), so the file stays one header and uniform rows.
void sweep_csv(const Options& o, const SweepResult& s, std::ostream& out) {
    std::vector<std::string> header{"diameter_mm",       "ports",
                                    "required_20hz_m_s", "required_25hz_m_s",
                                    "required_30hz_m_s", "required_35hz_m_s",
                                    "min_radius_mm",     "core_excess_m_s",
                                    "verdict",           "verdict_text"};
    if (o.round_over) {
        header.push_back("round_over_cutter");
    }
    write_csv_line(out, header);
    for (const SweepRow& row : s.rows) {
        std::vector<std::string> cells{number(row.diameter_mm), number(row.ports)};
        for (double v : row.required) {
            cells.push_back(number(v));
        }
        cells.push_back(number(row.result.radius));
        cells.push_back(number(row.result.core_excess));
        cells.push_back(verdict_key(row.result.verdict));
        cells.push_back(csv_text(row.verdict_text));
        if (o.round_over) {
            cells.push_back(
                csv_text(cutter_text(smallest_cutter(row.result.radius, *o.round_over))));
        }
        write_csv_line(out, cells);
    }
}

} // namespace

void write_report(const Options& options, const Results& results, std::ostream& out) {
    if (const auto* single = std::get_if<SingleResult>(&results)) {
        switch (options.format) {
        case Format::table:
            return single_table(options, *single, out);
        case Format::json:
            return single_json(options, *single, out);
        case Format::csv:
            return single_csv(options, *single, out);
        }
    }
    const auto& sweep = std::get<SweepResult>(results);
    switch (options.format) {
    case Format::table:
        return sweep_table(options, sweep, out);
    case Format::json:
        return sweep_json(options, sweep, out);
    case Format::csv:
        return sweep_csv(options, sweep, out);
    }
}

} // namespace venturon::cli
