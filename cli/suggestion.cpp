#include "suggestion.h"

#include "calculation.h"
#include "enclosure_options.h"
#include "enclosure_output.h"
#include "input_messages.h"
#include "number_text.h"
#include "report.h"
#include "suggestion_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace venturon::cli {

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

double read_value(std::string_view option, std::string_view text) {
    const NumberReading reading = read_number(text);
    if (reading.too_large) {
        reject(option, text, too_large);
    }
    if (!reading.value) {
        reject(option, text, "not a number");
    }
    return *reading.value;
}

// What --suggest-box cannot go with, and why.
void refuse_alongside(const Options& options) {
    const auto refuse = [](std::string_view what, std::string_view why) {
        throw BadInput{std::string(what) +
                       " cannot be used with --suggest-box: " + std::string(why)};
    };
    if (options.velocities_given) {
        refuse("--velocities", "each box gives its own port velocities");
    }
    if (options.sweep_diameter || options.sweep_ports) {
        refuse(options.sweep_diameter ? "--sweep-diameter" : "--sweep-ports",
               "the suggestions are for one port");
    }
    if (options.draws_graphs()) {
        refuse(options.graph                        ? "--graph"
               : options.enclosure->velocity_graph  ? "--enclosure-graph"
               : options.enclosure->excursion_graph ? "--excursion-graph"
                                                    : "--plot",
               "the suggestions have no single graph");
    }
    if (options.enclosure->curve) {
        refuse("--curve", "the suggestions have no single curve");
    }
    if (options.enclosure->max_output) {
        refuse("--max-output", "the suggestions give the response's own figures");
    }
    if (options.slot) {
        refuse("A slot port", "the suggestions give the lengths of round ports (--diameter)");
    }
}

int port_count(double ports) {
    return ports <= limits::max_port_count ? static_cast<int>(ports) : limits::max_port_count + 1;
}

bool finite(const PortLength& l) {
    return std::isfinite(l.straight_length_m) && std::isfinite(l.overall_length_m) &&
           std::isfinite(l.fb_hz) && std::isfinite(l.max_fb_hz) &&
           std::isfinite(l.displaced_volume_m3) && std::isfinite(l.pipe_resonance_hz);
}

// The flare radius for a box: the given one, or the minimum that keeps its port
// velocities at 20, 25, 30 and 35 Hz free of chuffing, a display step up as the
// report shows it.
double flare_radius_mm(const Options& options, const BoxSuggestion& box) {
    if (options.radius_mm) {
        return *options.radius_mm;
    }
    const auto model = solve_enclosure(box.input);
    if (!model) {
        return 0;
    }
    CalculationInput input;
    input.diameter = options.diameter_mm;
    input.mode = CalculationMode::minimum;
    input.allowances = options.allowances;
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        input.required[i] = response_at(*model, design_frequencies[i]).port_velocity;
    }
    return shown_minimum(calculate(input).radius, options.units, 0.001);
}

SuggestionRow row_for(const Options& options, const BoxSuggestion& box, int ports) {
    SuggestionRow row;
    row.box = box;
    if (!box.found()) {
        return row;
    }
    row.radius_given = options.radius_mm.has_value();
    row.flare_radius_mm = flare_radius_mm(options, box);
    if (!(row.flare_radius_mm <= input_row(Field::flare_radius).range.high)) {
        row.length_problem = "the flare radius is above " +
                             number_text_trimmed(input_row(Field::flare_radius).range.high) +
                             " mm, the largest the length is worked out for";
        return row;
    }
    const FlaredPort port =
        to_flared_port(options.enclosure->inputs, options.diameter_mm, row.flare_radius_mm, ports);
    const auto length = port_length(port, box.vb_m3, box.fb_hz, box.input.temperature_c);
    if (!length) {
        row.length_problem = input_message(length.error());
    } else if (!finite(*length)) {
        row.length_problem = "the length is beyond the range of numbers";
    } else {
        row.length = *length;
    }
    return row;
}

using R = const SuggestionRow&;

QJsonValue if_found(R r, double value) {
    return r.box.found() ? QJsonValue(value) : QJsonValue();
}

QJsonValue length_value(R r, double value) {
    return r.length && r.length->reachable ? QJsonValue(value) : QJsonValue();
}

std::string_view kind_key(SuggestionKind kind) {
    switch (kind) {
    case SuggestionKind::given_volume:
        return "volume";
    case SuggestionKind::given_f3:
        return "f3";
    case SuggestionKind::flattest:
        break;
    }
    return "flattest";
}

// The target in the units it was asked in: litres, or Hz.
QJsonValue target_value(const BoxSuggestion& box) {
    switch (box.kind) {
    case SuggestionKind::given_volume:
        return box.target * 1000;
    case SuggestionKind::given_f3:
        return box.target;
    case SuggestionKind::flattest:
        break;
    }
    return {};
}

std::string problem_of(R r, double qts, UnitsMode units) {
    return suggestion_problem_text(r.box, qts, units);
}

std::vector<Column<SuggestionRow>> columns(const Options& o, double qts) {
    const std::string unit(unit_symbol(o.units));
    const UnitsMode units = o.units;
    return {
        {"suggestion", "Suggestion", "", [](R r) { return QJsonValue(q(kind_key(r.box.kind))); },
         -1, [units](R r) { return suggestion_label(r.box, units); }, everywhere, false, true},
        {"target", "", "", [](R r) { return target_value(r.box); }, -1, nullptr, in_json | in_csv},
        {"vb_l", "Vb", "L", [](R r) { return if_found(r, r.box.vb_m3 * 1000); }, 2},
        {"fb_hz", "Fb", "Hz", [](R r) { return if_found(r, r.box.fb_hz); }, 2},
        {"f3_hz", "F3", "Hz",
         [](R r) { return r.box.found() && r.box.f3_hz ? QJsonValue(*r.box.f3_hz) : QJsonValue(); },
         2},
        {"alignment", "Alignment", "",
         [](R r) {
             return r.box.found() ? QJsonValue(q(r.box.alignment == Alignment::none
                                                     ? "none"
                                                     : alignment_name(r.box.alignment)))
                                  : QJsonValue();
         },
         -1, nullptr, everywhere, false, true},
        {"flat_tuning", "", "",
         [](R r) { return r.box.found() ? QJsonValue(r.box.flat_tuning) : QJsonValue(); }, -1,
         nullptr, in_json | in_csv},
        {"peak_db", "", "", [](R r) { return if_found(r, r.box.peak_db); }, -1, nullptr,
         in_json | in_csv},
        {"highest_port_velocity_m_s", "Port velocity", "m/s peak",
         [](R r) { return if_found(r, r.box.highest_port_velocity); }, 3},
        {"highest_port_velocity_hz", "at", "Hz",
         [](R r) { return if_found(r, r.box.highest_port_velocity_hz); }, 1},
        {"flare_radius_mm", "Flare radius", unit,
         [](R r) { return if_found(r, r.flare_radius_mm); }, 3,
         [units](R r) {
             if (!r.box.found()) {
                 return std::string();
             }
             return r.radius_given ? length_number(r.flare_radius_mm, units, -1)
                                   : length_number(r.flare_radius_mm, units, 3, Rounding::up);
         }},
        {"radius", "", "",
         [](R r) {
             return r.box.found() ? QJsonValue(r.radius_given ? "given" : "minimum") : QJsonValue();
         },
         -1, nullptr, in_json | in_csv},
        {"straight_length_mm", "Straight", unit,
         [](R r) { return length_value(r, r.length ? r.length->straight_length_m * 1000 : 0); }, 3,
         [units](R r) {
             return r.length && r.length->reachable
                        ? length_number(r.length->straight_length_m * 1000, units)
                        : std::string();
         }},
        {"overall_length_mm", "Overall", unit,
         [](R r) { return length_value(r, r.length ? r.length->overall_length_m * 1000 : 0); }, 3,
         [units](R r) {
             return r.length && r.length->reachable
                        ? length_number(r.length->overall_length_m * 1000, units)
                        : std::string();
         }},
        {"displaced_volume_l", "", "",
         [](R r) { return length_value(r, r.length ? r.length->displaced_volume_m3 * 1000 : 0); },
         -1, nullptr, in_json | in_csv},
        {"pipe_resonance_hz", "", "",
         [](R r) { return length_value(r, r.length ? r.length->pipe_resonance_hz : 0); }, -1,
         nullptr, in_json | in_csv},
        {"problem", "", "",
         [qts, units](R r) {
             const std::string text = problem_of(r, qts, units);
             return text.empty() ? QJsonValue() : QJsonValue(q(text));
         },
         -1, nullptr, in_json | in_csv, true},
        {"length_problem", "", "",
         [](R r) {
             if (r.length && !r.length->reachable) {
                 return QJsonValue(r.length->fit == PortFit::too_long ? "too-long"
                                                                      : "flares-too-heavy");
             }
             return r.length_problem.empty() ? QJsonValue() : QJsonValue(q(r.length_problem));
         },
         -1, nullptr, in_json | in_csv, true},
    };
}

// What the table's cells leave unsaid, a line per row that needs one.
Fields notes(const Options& o, const SuggestionReport& report) {
    Fields out;
    const UnitsMode units = o.units;
    for (const SuggestionRow& r : report.rows) {
        const std::string label = suggestion_label(r.box, units);
        if (!r.box.found()) {
            out.push_back({label, problem_of(r, report.model.driver.qts, units)});
            continue;
        }
        if (!r.box.flat_tuning) {
            out.push_back({label, "tuned below its flat tuning, which has a peak: the response "
                                  "shows a slight shelf below the passband"});
        }
        if (!r.length_problem.empty()) {
            out.push_back({label, "no port length: " + r.length_problem});
        } else if (r.length && r.length->fit == PortFit::flares_too_heavy) {
            out.push_back({label, "no positive straight length tunes it; with no straight part "
                                  "the ports tune it to " +
                                      fixed(r.length->max_fb_hz, 2) +
                                      " Hz, the highest they reach"});
        } else if (r.length && r.length->fit == PortFit::too_long) {
            out.push_back({label, "no straight length up to " +
                                      number_text_trimmed(limits::straight_length_m.high) +
                                      " m tunes it; that length tunes it to " +
                                      fixed(r.length->fb_hz, 2) + " Hz"});
        } else if (r.length) {
            for (const std::string& warning :
                 length_warnings(*r.length, r.box.vb_m3, r.box.fb_hz)) {
                out.push_back({label, warning});
            }
        }
    }
    return out;
}

std::string ports_text(const Options& o, const SuggestionReport& report) {
    const int n = report.port_count;
    std::string text = std::to_string(n) + (n == 1 ? " port of " : " ports of ") +
                       show_length(o.diameter_mm, o.units, -1) + ", " +
                       ends_text(o.enclosure->inputs, o.radius_mm.value_or(1)) + "; flare radius ";
    text += o.radius_mm ? length_with_mm(*o.radius_mm, o.units, -1, Rounding::nearest, "given")
                        : std::string("the minimum for each box's velocities");
    return text;
}

void write_table(const Options& o, const SuggestionReport& report, std::ostream& out) {
    const EnclosureRequest& request = *o.enclosure;
    const SolvedEnclosure& m = report.model;
    const EnclosureInputs& in = request.inputs;
    Fields fields = identity_fields(request);
    for (auto& field : driver_fields(request, m)) {
        fields.push_back(std::move(field));
    }
    const auto given = [](const std::optional<double>& v) {
        return v ? number_text_trimmed(*v) : std::string("none");
    };
    fields.push_back({"Losses", "QL " + given(in[Field::ql]) + ", QA " + given(in[Field::qa]) +
                                    ", QP " + given(in[Field::qp])});
    fields.push_back({"Drive", drive_text(m)});
    fields.push_back({"Ports", ports_text(o, report)});
    fields.push_back({"Velocity", "the highest port air velocity from " +
                                      number_text_trimmed(suggestion_velocity_low_hz) + " to " +
                                      number_text_trimmed(suggestion_velocity_high_hz) +
                                      " Hz, peak, at the drive"});
    write_fields(out, fields);
    out << '\n';
    cli::write_table(out, columns(o, m.driver.qts), report.rows);
    const Fields below = notes(o, report);
    if (!below.empty()) {
        out << '\n';
        write_fields(out, below);
    }
}

void write_json(const Options& o, const SuggestionReport& report, std::ostream& out) {
    const EnclosureRequest& request = *o.enclosure;
    const SolvedEnclosure& m = report.model;
    QJsonObject object{{"program", q(program_name)},
                       {"version", q(program_version())},
                       {"units", q(units_mode_text(o.units))}};
    add_identity_json(object, request);
    object["inputs"] = inputs_json(request.inputs);
    object["driver"] = QJsonObject{{"qes", m.driver.qes},
                                   {"qms", m.driver.qms},
                                   {"qts", m.driver.qts},
                                   {"drivers", m.driver.count}};
    object["drive_voltage_v_rms"] = m.e_peak / std::sqrt(2.0);
    object["air_temperature_c"] = m.air.temperature_c;
    object["port"] = QJsonObject{
        {"diameter_mm", o.diameter_mm},
        {"ports", report.port_count},
        {"flared_ends", q(flared_ends_text(request.inputs.flared_ends))},
        {"radius", o.radius_mm ? "given" : "minimum"},
        {"flare_radius_mm", o.radius_mm ? QJsonValue(*o.radius_mm) : QJsonValue()},
    };
    object["peak_tolerance_db"] = peak_tolerance_db;
    object["velocity_band_hz"] =
        QJsonArray{suggestion_velocity_low_hz, suggestion_velocity_high_hz};
    object["suggestions"] = json_rows(columns(o, m.driver.qts), report.rows);
    out << QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

void write_csv(const Options& o, const SuggestionReport& report, std::ostream& out) {
    const DriverIdentity& identity = o.enclosure->identity;
    auto all = columns(o, report.model.driver.qts);
    const auto constant = [](const char* key, const std::string& text) {
        return Column<SuggestionRow>{
            key, "", "", [text](R) { return QJsonValue(q(text)); }, -1, nullptr, in_csv, true};
    };
    all.insert(all.begin(), {constant("maker", identity.maker), constant("model", identity.model)});
    cli::write_csv(out, all, report.rows);
}

} // namespace

SuggestionOptions::SuggestionOptions()
    : suggest_("suggest-box",
               "Suggest boxes for the driver in place of the usual report: the flattest "
               "(no peak above the passband, the largest bandwidth), each with its F3, its "
               "highest port velocity at the drive and the port's length. Needs driver "
               "inputs and a drive; Vb and Fb are not used."),
      volume_("suggest-vb",
              "Also the flattest tuning of this net volume in litres (implies --suggest-box).",
              "litres"),
      f3_("suggest-f3",
          "Also the smallest box, with its tuning, that reaches this F3 in Hz without a peak "
          "(implies --suggest-box).",
          "hz") {}

QList<QCommandLineOption> SuggestionOptions::options() const {
    return {suggest_, volume_, f3_};
}

void SuggestionOptions::read(const QCommandLineParser& parser, Options& options) const {
    if (!parser.isSet(suggest_) && !parser.isSet(volume_) && !parser.isSet(f3_)) {
        return;
    }
    SuggestionRequest request;
    if (parser.isSet(volume_)) {
        const std::string text = parser.value(volume_).toStdString();
        const double litres = read_value("suggest-vb", text);
        if (auto error = check_input(Field::vb, litres, Scale::file)) {
            reject("suggest-vb", text, input_message(*error));
        }
        request.volume_l = litres;
    }
    if (parser.isSet(f3_)) {
        const std::string text = parser.value(f3_).toStdString();
        const double hz = read_value("suggest-f3", text);
        if (!(hz >= limits::fb_hz.low && hz <= limits::fb_hz.high)) {
            reject("suggest-f3", text,
                   "F3 must be between " + bound_text(limits::fb_hz.low) + " and " +
                       bound_text(limits::fb_hz.high) + " Hz");
        }
        request.f3_hz = hz;
    }
    if (!options.enclosure) {
        throw BadInput{"--suggest-box needs driver inputs (--driver FILE, or --fs, --vas, ...)"};
    }
    refuse_alongside(options);
    options.suggestion = request;
}

std::variant<SuggestionReport, Failure> suggest(const Options& options) {
    const EnclosureRequest& request = *options.enclosure;
    // The search chooses the box: Vb and Fb stand in at valid values meanwhile.
    EnclosureInputs inputs = request.inputs;
    const double drivers = inputs[Field::driver_count].value_or(1);
    inputs[Field::vb] = std::clamp(inputs[Field::vas].value_or(100) * drivers,
                                   input_row(Field::vb).range.low, input_row(Field::vb).range.high);
    inputs[Field::fb] = std::clamp(inputs[Field::fs].value_or(30), input_row(Field::fb).range.low,
                                   input_row(Field::fb).range.high);
    if (!std::isfinite(*inputs[Field::vb])) {
        inputs[Field::vb] = 100;
    }
    const int ports = port_count(options.ports);
    const auto input = to_enclosure_input(inputs, options.diameter_mm, ports);
    if (!input) {
        return Failure{enclosure_problem(request, input.error())};
    }
    const auto model = solve_enclosure(*input);
    if (!model) {
        return Failure{enclosure_problem(request, model.error())};
    }
    SuggestionReport report(*model);
    report.port_count = ports;
    const SuggestionRequest& asked = *options.suggestion;
    std::vector<Checked<BoxSuggestion>> boxes{flattest_box(*input)};
    if (asked.volume_l) {
        boxes.push_back(box_for_volume(*input, *asked.volume_l * 1e-3));
    }
    if (asked.f3_hz) {
        boxes.push_back(box_for_f3(*input, *asked.f3_hz));
    }
    for (const auto& box : boxes) {
        if (!box) {
            return Failure{enclosure_problem(request, box.error())};
        }
        report.rows.push_back(row_for(options, *box, ports));
    }
    return report;
}

void write_suggestions(const Options& options, const SuggestionReport& report, std::ostream& out) {
    switch (options.format) {
    case Format::table:
        return write_table(options, report, out);
    case Format::json:
        return write_json(options, report, out);
    case Format::csv:
        return write_csv(options, report, out);
    }
}

} // namespace venturon::cli
