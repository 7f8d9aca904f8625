#include "output.h"

#include "enclosure_output.h"
#include "number_text.h"
#include "slot_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace venturon::cli {

namespace {

constexpr std::array<int, 4> frequencies_hz{20, 25, 30, 35};

std::string number(double value) {
    return number_text_trimmed(value);
}

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonValue text_value_of(std::string_view text) {
    return QJsonValue(q(text));
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

std::string minimum_with_mm(double mm, UnitsMode units, std::string_view note = {}) {
    return length_with_mm(mm, units, 3, Rounding::up, note);
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

// In the order of Verdict.
constexpr std::array<std::string_view, 4> verdict_keys{"noise-free", "core", "chuffing",
                                                       "chuffing-and-core"};

std::string verdict_key(Verdict verdict) {
    return std::string(verdict_keys[static_cast<std::size_t>(verdict)]);
}

std::string colour_text(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

void write_json(std::ostream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
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

QJsonValue cutter_label(double minimum_mm, CutterSystem system) {
    const auto cutter = smallest_cutter(minimum_mm, system);
    return text_value_of(cutter ? cutter->label : std::string_view());
}

QJsonObject json_header(const Options& options) {
    return {{"program", q(program_name)},
            {"version", q(program_version())},
            {"units", q(units_mode_text(options.units))},
            {"allowances", json_allowances(options.allowances)}};
}

// ---------------------------------------------------------------- one calculation

const std::vector<std::size_t> design_rows{0, 1, 2, 3};

// The rows of one calculation, one per design frequency. The calculation's own
// values repeat on each row of the CSV, so that every line stands on its own.
std::vector<Column<std::size_t>> single_columns(const Options& o, const SingleResult& s) {
    const CalculationResult& r = s.result;
    const bool minimum = s.input.mode == CalculationMode::minimum;
    using I = std::size_t;
    const auto constant = [](const char* key, QJsonValue value, bool quoted = false) {
        return Column<I>{key, "", "", [value](I) { return value; }, -1, nullptr, in_csv, quoted};
    };
    // A slot's limits are approximate: their headings carry a mark, said below the table.
    const std::string mark = o.slot ? "*" : "";
    std::vector<Column<I>> columns{
        constant("diameter_mm", s.input.diameter),
        constant("ports", s.ports),
        constant("mode", minimum ? "minimum" : "manual"),
        {"frequency_hz", "Frequency", "Hz", [](I i) { return QJsonValue(frequencies_hz[i]); }, -1},
        {"required_m_s", "Required", "m/s", [&s](I i) { return QJsonValue(s.input.required[i]); }},
        {"core_limit_m_s", "Core limit" + mark, "m/s",
         [&r](I i) { return QJsonValue(r.core_limit[i]); }},
        {"chuffing_limit_m_s", "Chuffing limit" + mark, "m/s",
         [&r](I i) { return QJsonValue(r.chuff_limit[i]); }},
        {"min_radius_mm", (o.slot ? "Minimum round-over" : "Minimum radius") + mark,
         std::string(unit_symbol(o.units)),
         [&r, minimum](I i) { return number_or_null(minimum, r.min_radius[i]); }, 3,
         [&r, &o](I i) { return length_number(r.min_radius[i], o.units, 3, Rounding::up); },
         minimum ? everywhere : in_csv},
        constant("radius_mm", r.radius),
        constant("core_excess_m_s", r.core_excess),
        constant("chuffing_excess_m_s", r.chuff_excess),
        constant("verdict", text_value_of(verdict_key(r.verdict))),
        constant("verdict_text", text_value_of(s.verdict_text), true),
    };
    if (o.slot) {
        for (auto& c : slot_csv_columns(*o.slot)) {
            columns.push_back(std::move(c));
        }
    }
    if (o.round_over) {
        columns.push_back(
            constant("round_over_cutter", cutter_label(*s.minimum_radius_mm, *o.round_over), true));
    }
    if (s.enclosure) {
        for (auto& c : enclosure_csv_columns(*s.enclosure)) {
            columns.push_back(std::move(c));
        }
    }
    return columns;
}

void single_table(const Options& o, const SingleResult& s, std::ostream& out) {
    const CalculationResult& r = s.result;
    const bool minimum = s.input.mode == CalculationMode::minimum;
    if (s.enclosure) {
        write_fields(out, enclosure_fields(*o.enclosure, *s.enclosure));
        out << '\n';
        write_table(out, response_rows(*s.enclosure, ResponseTable::design), design_rows);
        write_fields(out, excursion_fields(*s.enclosure));
        write_fields(out, max_output_fields(*s.enclosure));
        out << '\n';
    }
    Fields port{
        {"Diameter", length_with_mm(s.input.diameter, o.units, -1)},
        {"Ports", number(s.ports)},
        {"Flare radius", minimum
                             ? minimum_with_mm(r.radius, o.units, "minimum")
                             : length_with_mm(r.radius, o.units, -1, Rounding::nearest, "given")},
    };
    if (o.slot) {
        port = slot_port_fields(o, r, minimum);
    }
    port.push_back({"Allowances", allowances_text(o.allowances)});
    write_fields(out, port);
    out << '\n';
    write_table(out, single_columns(o, s), design_rows);
    if (o.slot) {
        write_fields(out, slot_approximation_fields(s.input.diameter, o.units));
    }
    out << '\n';

    Fields summary{
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
            write_table(out, response_rows(*s.enclosure, ResponseTable::curve),
                        row_places(s.enclosure->curve.size()));
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
    object["frequencies"] = json_rows(single_columns(o, s), design_rows);
    object["radius_mm"] = r.radius;
    object["radius"] = q(show_length(r.radius, o.units, minimum ? 3 : -1,
                                     minimum ? Rounding::up : Rounding::nearest));
    object["area_ratio"] = r.area_ratio;
    object["core_excess_m_s"] = r.core_excess;
    object["chuffing_excess_m_s"] = r.chuff_excess;
    object["verdict"] = q(verdict_key(r.verdict));
    object["verdict_text"] = q(s.verdict_text);
    object["verdict_colour"] = q(colour_text(verdict_colour(r.verdict)));
    object["port_shape"] = o.slot ? "slot" : "round";
    if (o.slot) {
        object["slot"] = slot_json(*o.slot, o.units);
    }
    if (o.round_over) {
        object["round_over"] = json_round_over(*s.minimum_radius_mm, *o.round_over);
    }
    if (s.enclosure) {
        object["enclosure"] = enclosure_json(o, *s.enclosure);
    }
    write_json(out, object);
}

void single_csv(const Options& o, const SingleResult& s, std::ostream& out) {
    if (s.enclosure && o.enclosure->curve) {
        // One table per file: the curve alone.
        write_csv(out, response_rows(*s.enclosure, ResponseTable::curve),
                  row_places(s.enclosure->curve.size()));
        return;
    }
    write_csv(out, single_columns(o, s), design_rows);
}

// ---------------------------------------------------------------- sweeps

bool over_diameter(const SweepResult& s) {
    return s.over == SweepResult::Over::diameter;
}

// A sweep's rows: the velocities rescaled, the minimum radius and the verdict.
std::vector<Column<SweepRow>> sweep_columns(const Options& o) {
    using R = const SweepRow&;
    const std::string length_unit(unit_symbol(o.units));
    std::vector<Column<SweepRow>> columns{
        {"diameter_mm", "Diameter", length_unit, [](R r) { return QJsonValue(r.diameter_mm); }, -1,
         [&o](R r) { return length_number(r.diameter_mm, o.units, -1); }},
        {"diameter", "", "",
         [&o](R r) { return QJsonValue(q(show_length(r.diameter_mm, o.units, -1))); }, -1, nullptr,
         in_json},
        {"ports", "Ports", "", [](R r) { return QJsonValue(r.ports); }, -1},
        {"required_m_s", "", "", [](R r) { return QJsonValue(json_array(r.required)); }, -1,
         nullptr, in_json},
    };
    for (std::size_t i = 0; i < frequencies_hz.size(); ++i) {
        const std::string hz = std::to_string(frequencies_hz[i]);
        columns.push_back({"required_" + hz + "hz_m_s", hz + " Hz", "m/s",
                           [i](R r) { return QJsonValue(r.required[i]); }, 1, nullptr,
                           in_table | in_csv});
    }
    const auto minimum = [](R r) { return r.result.radius; };
    columns.push_back(
        {"min_radius_mm", "Minimum radius", length_unit,
         [minimum](R r) { return QJsonValue(minimum(r)); }, 3,
         [&o, minimum](R r) { return length_number(minimum(r), o.units, 3, Rounding::up); }});
    columns.push_back({"min_radius", "", "",
                       [&o, minimum](R r) {
                           return QJsonValue(q(show_length(minimum(r), o.units, 3, Rounding::up)));
                       },
                       -1, nullptr, in_json});
    columns.push_back({"core_excess_m_s", "Core excess", "m/s",
                       [](R r) { return QJsonValue(r.result.core_excess); }});
    if (o.round_over) {
        const CutterSystem system = *o.round_over;
        columns.push_back({"cutter", "Cutter", "", [](R) { return QJsonValue(); }, -1,
                           [system, minimum](R r) {
                               const auto cutter = smallest_cutter(minimum(r), system);
                               return cutter ? std::string(cutter->label) : std::string("none");
                           },
                           in_table, false, true});
        columns.push_back({"round_over", "", "",
                           [system, minimum](R r) { return json_round_over(minimum(r), system); },
                           -1, nullptr, in_json});
    }
    columns.push_back({"verdict", "Verdict", "",
                       [](R r) { return QJsonValue(q(verdict_key(r.result.verdict))); }, -1,
                       [](R r) { return trim_spaces(r.verdict_text); }, everywhere, false, true});
    columns.push_back({"verdict_text", "", "", [](R r) { return QJsonValue(q(r.verdict_text)); },
                       -1, nullptr, in_json | in_csv, true});
    if (o.round_over) {
        const CutterSystem system = *o.round_over;
        columns.push_back({"round_over_cutter", "", "",
                           [system, minimum](R r) { return cutter_label(minimum(r), system); }, -1,
                           nullptr, in_csv, true});
    }
    return columns;
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
    write_table(out, sweep_columns(o), s.rows);
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
    object["rows"] = json_rows(sweep_columns(o), s.rows);
    const SweepRow* quiet = s.first_quiet ? &s.rows[*s.first_quiet] : nullptr;
    if (over_diameter(s)) {
        object["smallest_quiet_diameter_mm"] =
            quiet ? QJsonValue(quiet->diameter_mm) : QJsonValue();
    } else {
        object["smallest_quiet_ports"] = quiet ? QJsonValue(quiet->ports) : QJsonValue();
    }
    write_json(out, object);
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
        // One line per row; the smallest quiet value is left to the reader (the
        // verdict column shows it), so the file stays one header and uniform rows.
        return write_csv(out, sweep_columns(options), sweep.rows);
    }
}

} // namespace venturon::cli
