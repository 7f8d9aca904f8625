#include "enclosure_output.h"

#include "length_display.h"
#include "number_text.h"
#include "slot_output.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cmath>
#include <numbers>
#include <numeric>

namespace venturon::cli {

namespace {

std::string number(double value) {
    return number_text_trimmed(value);
}

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonValue json_number(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

std::string given(const std::optional<double>& value, std::string_view unit = {}) {
    if (!value) {
        return "none";
    }
    return number(*value) + (unit.empty() ? "" : " " + std::string(unit));
}

// The nominal load's RMS voltage and power: the model drives each driver with
// e_peak, and N drivers in parallel present Re/N.
double rms_voltage(const SolvedEnclosure& m) {
    return m.e_peak / std::numbers::sqrt2;
}

double nominal_power(const SolvedEnclosure& m) {
    const double e = rms_voltage(m);
    return e * e * m.driver.count / m.driver.re_ohm;
}

double phase_degrees(const ResponsePoint& p) {
    return std::arg(p.impedance) * 180 / std::numbers::pi;
}

// A value worked out from the file's others: "Qts 0.4128 from Qes and Qms".
std::string derivation_text(const Derivation& d) {
    return std::string(d.name) + " " + significant(d.value) +
           (d.unit.empty() ? "" : " " + std::string(d.unit)) + " from " + std::string(d.from);
}

QJsonValue text_or_null(const std::string& text) {
    return text.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(text));
}

// "bw4@18, q0.7@22".
std::string filters_text(const std::vector<FilterStage>& stages) {
    std::string out;
    for (const FilterStage& stage : stages) {
        out += (out.empty() ? "" : ", ") + filter_text(stage);
    }
    return out;
}

} // namespace

// A slot's flared ends are rounded over: "both ends rounded", "sharp ends".
std::string ends_text(const EnclosureInputs& inputs, double radius_mm) {
    const bool slot = inputs.port_shape == PortShape::slot;
    if (radius_mm == 0 || inputs.flared_ends == FlaredEnds::none) {
        return slot ? "sharp ends" : "plain ends";
    }
    const std::string done = slot ? "rounded" : "flared";
    return inputs.flared_ends == FlaredEnds::both
               ? "both ends " + done
               : std::string(flared_ends_text(inputs.flared_ends)) + " end " + done;
}

std::string significant(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return number(value);
    }
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3);
    return number(std::round(value / scale) * scale);
}

QJsonObject inputs_json(const EnclosureInputs& inputs) {
    QJsonObject object;
    for (std::size_t i = 0; i < file_number_count; ++i) {
        object[q(input_rows[i].key)] = json_number(inputs.numbers[i]);
    }
    for (const ChoiceRow& row : choice_rows) {
        object[q(row.key)] = q(choice_text(inputs, row.choice));
    }
    for (const Field field : slot_fields) {
        object[q(input_row(field).key)] = json_number(inputs[field]);
    }
    for (std::size_t i = 0; i < max_filter_stages; ++i) {
        const auto& stage = inputs.highpass[i];
        object[q(highpass_key(i))] = stage ? QJsonValue(q(filter_text(*stage))) : QJsonValue();
    }
    return object;
}

Fields identity_fields(const EnclosureRequest& request) {
    Fields fields;
    const DriverIdentity& identity = request.identity;
    for (const auto& [label, text] :
         {std::pair{"Maker", &identity.maker}, std::pair{"Model", &identity.model},
          std::pair{"Comment", &identity.comment}}) {
        if (!text->empty()) {
            fields.push_back({label, *text});
        }
    }
    if (request.driver && !request.driver->derived.empty()) {
        std::string derived;
        for (const Derivation& d : request.driver->derived) {
            derived += (derived.empty() ? "" : "; ") + derivation_text(d);
        }
        fields.push_back({"Worked out", derived});
    }
    return fields;
}

Fields driver_fields(const EnclosureRequest& request, const SolvedEnclosure& m) {
    const EnclosureInputs& in = request.inputs;
    auto q_text = [](std::string_view name, const std::optional<double>& value, double solved) {
        return std::string(name) + " " + (value ? number(*value) : significant(solved));
    };
    const int drivers = m.driver.count;
    return {
        {"Driver", "Fs " + given(in[Field::fs], "Hz") + ", " +
                       q_text("Qes", in[Field::qes], m.driver.qes) + ", " +
                       q_text("Qms", in[Field::qms], m.driver.qms) + ", " +
                       q_text("Qts", in[Field::qts], m.driver.qts)},
        {"",
         "Vas " + given(in[Field::vas], "L") + ", Sd " + given(in[Field::sd], "cm^2") + ", Re " +
             given(in[Field::re], "ohm") + ", Xmax " +
             (in[Field::xmax] && *in[Field::xmax] > 0 ? given(in[Field::xmax], "mm") : "unknown") +
             ", Le " + given(in[Field::le], "mH") + ", Pe " +
             (in[Field::pe] && *in[Field::pe] > 0 ? given(in[Field::pe], "W") : "unknown") + ", " +
             std::to_string(drivers) + (drivers == 1 ? " driver" : " drivers")},
    };
}

std::string drive_text(const SolvedEnclosure& m) {
    return significant(nominal_power(m)) + " W into " +
           significant(m.driver.re_ohm / m.driver.count) + " ohm, " + significant(rms_voltage(m)) +
           " V RMS; air at " + number(m.air.temperature_c) + " C";
}

void add_identity_json(QJsonObject& object, const EnclosureRequest& request) {
    object["driver_file"] = request.driver_file.isEmpty() ? QJsonValue() : request.driver_file;
    object["driver_file_format"] =
        request.driver ? QJsonValue(q(driver_file_format_key(request.driver->format)))
                       : QJsonValue();
    object["design_file"] = request.design_file.isEmpty() ? QJsonValue() : request.design_file;
    object["maker"] = text_or_null(request.identity.maker);
    object["model"] = text_or_null(request.identity.model);
    object["comment"] = text_or_null(request.identity.comment);
    QJsonArray derived;
    if (request.driver) {
        for (const Derivation& d : request.driver->derived) {
            derived.append(QJsonObject{{"name", q(d.name)},
                                       {"value", d.value},
                                       {"unit", q(d.unit)},
                                       {"from", q(d.from)},
                                       {"formula", q(d.formula)},
                                       {"used", d.in_inputs}});
        }
    }
    object["derived"] = derived;
}

Fields enclosure_fields(const EnclosureRequest& request, const EnclosureReport& report) {
    const EnclosureInputs& in = request.inputs;
    const SolvedEnclosure& m = report.model;
    Fields fields = identity_fields(request);
    for (auto& field : driver_fields(request, m)) {
        fields.push_back(std::move(field));
    }
    Fields rest{
        {"Box", "Vb " + given(in[Field::vb], "L") + ", Fb " + given(in[Field::fb], "Hz") + ", QL " +
                    given(in[Field::ql]) + ", QA " + given(in[Field::qa]) + ", QP " +
                    given(in[Field::qp])},
        {"Drive", drive_text(m)},
        {"Port ends", "outer mouth " + std::string(mouth_text(in.outer_mouth)) + ", inner mouth " +
                          std::string(mouth_text(in.inner_mouth)) + ", " + ends_text(in, 1)},
        {"Velocities", report.velocities_used
                           ? "the port air velocities below are the required velocities"
                           : "from --velocities; the port air velocities below are the "
                             "enclosure's"},
    };
    if (!m.highpass.empty()) {
        // After the drive, which it filters.
        rest.insert(rest.begin() + 2,
                    {"High-pass", filters_text(m.highpass) + " on the amplifier's output"});
    }
    for (auto& field : rest) {
        fields.push_back(std::move(field));
    }
    return fields;
}

std::vector<Column<ResponsePoint>> response_columns(bool xmax_known, ResponseTable table) {
    const bool design = table == ResponseTable::design;
    using P = const ResponsePoint&;
    return {
        {"frequency_hz", "Frequency", "Hz", [](P p) { return QJsonValue(p.frequency_hz); },
         design ? -1 : 2},
        {"beyond_xmax", "", "",
         [xmax_known](P p) { return QJsonValue(xmax_known && p.excursion_ratio > 1); }, 0, nullptr,
         in_json},
        {"port_velocity_m_s", "Port velocity", "m/s peak",
         [](P p) { return QJsonValue(p.port_velocity); }},
        {"excursion_mm", "Excursion", "mm peak",
         [](P p) { return QJsonValue(p.excursion_m * 1000); }},
        {"excursion_ratio", "of Xmax", "%",
         [xmax_known](P p) { return number_or_null(xmax_known, p.excursion_ratio); }, 1,
         [](P p) { return fixed(100 * p.excursion_ratio, 1); },
         (design && xmax_known ? in_table : 0u) | in_json | in_csv},
        {"spl_db", "SPL at 1 m", "dB", [](P p) { return QJsonValue(p.spl_db); }, 1},
        {"impedance_ohm", "Impedance", "ohm", [](P p) { return QJsonValue(p.impedance_magnitude); },
         2},
        {"impedance_phase_deg", "Phase", "deg", [](P p) { return QJsonValue(phase_degrees(p)); }, 1,
         nullptr, (design ? 0u : in_table) | in_json | in_csv},
    };
}

std::vector<Column<MaxOutputPoint>> max_output_columns(bool approximate) {
    using M = const MaxOutputPoint&;
    const auto key = [](M m) { return std::string(limit_key(m.binding)); };
    const std::string mark = approximate ? "*" : "";
    return {
        {"max_spl_db", "Max SPL" + mark, "dB", [](M m) { return QJsonValue(m.spl_db); }, 1},
        {"max_power_w", "Max power" + mark, "W", [](M m) { return QJsonValue(m.power_w); }, 1},
        {"binding_limit", "Limit" + mark, "", [key](M m) { return QJsonValue(q(key(m))); }, -1, key,
         everywhere, false, true},
    };
}

std::vector<std::size_t> row_places(std::size_t n) {
    std::vector<std::size_t> out(n);
    std::iota(out.begin(), out.end(), std::size_t{0});
    return out;
}

std::vector<Column<std::size_t>> response_rows(const EnclosureReport& report, ResponseTable table) {
    const bool design = table == ResponseTable::design;
    auto columns =
        columns_of<std::size_t>(response_columns(report.model.driver.xmax_m > 0, table),
                                [&report, design](std::size_t i) -> const ResponsePoint& {
                                    return design ? report.design[i] : report.curve[i];
                                });
    const std::vector<MaxOutputPoint>& max = design ? report.design_max : report.curve_max;
    if (!max.empty()) {
        for (auto& c : columns_of<std::size_t>(
                 max_output_columns(report.slot),
                 [&max](std::size_t i) -> const MaxOutputPoint& { return max[i]; })) {
            columns.push_back(std::move(c));
        }
    }
    return columns;
}

Fields max_output_fields(const EnclosureReport& report) {
    if (report.design_max.empty()) {
        return {};
    }
    const SolvedEnclosure& m = report.model;
    const std::string xmax =
        m.driver.xmax_m > 0 ? "Xmax " + number(m.driver.xmax_m * 1000) + " mm" : "Xmax unknown";
    const std::string pe = m.driver.pe_w > 0 ? "Pe " + number(m.driver.pe_w) + " W" : "Pe unknown";
    return {{"Max output", "before the amplifier (" + significant(nominal_power(m)) + " W), " +
                               xmax + ", " + pe +
                               " or the port's chuffing or core limit binds, for a " +
                               (report.slot ? "round-over" : "flare radius") + " of " +
                               fixed(report.flare_radius_mm, 3) + " mm" +
                               (report.slot ? " (* approximate for a slot, as its limits)" : "")}};
}

std::vector<Column<std::size_t>> enclosure_csv_columns(const EnclosureReport& report) {
    auto columns = response_rows(report, ResponseTable::design);
    // Only the CSV's cells: the frequency stands in the report's own columns.
    columns.erase(columns.begin());
    std::erase_if(columns, [](const auto& c) { return (c.in & in_csv) == 0; });
    for (auto& c : columns) {
        c.in = in_csv;
    }
    const std::optional<PortLength>& l = report.length;
    const auto length_cell = [&l](const char* key, auto value) {
        return Column<std::size_t>{
            key,   "",
            "",    [&l, value](std::size_t) {
                                       return l ? QJsonValue(value(*l)) : QJsonValue(); },
            -1,    nullptr,
            in_csv};
    };
    columns.push_back(
        length_cell("length_reachable", [](const PortLength& p) { return p.reachable; }));
    columns.push_back(length_cell("straight_length_mm",
                                  [](const PortLength& p) { return p.straight_length_m * 1000; }));
    columns.push_back(length_cell("overall_length_mm",
                                  [](const PortLength& p) { return p.overall_length_m * 1000; }));
    columns.push_back(length_cell("max_fb_hz", [](const PortLength& p) { return p.max_fb_hz; }));
    columns.push_back(length_cell(
        "displaced_volume_l", [](const PortLength& p) { return p.displaced_volume_m3 * 1000; }));
    columns.push_back(
        length_cell("pipe_resonance_hz", [](const PortLength& p) { return p.pipe_resonance_hz; }));
    return columns;
}

Fields length_fields(const Options& options, const EnclosureReport& report) {
    const UnitsMode units = options.units;
    const std::string radius =
        report.radius_given
            ? length_with_mm(report.flare_radius_mm, units, -1, Rounding::nearest, "given")
            : length_with_mm(report.flare_radius_mm, units, 3, Rounding::up, "minimum");
    const int n = report.port_count;
    const std::string ports = options.slot
                                  ? std::to_string(n) + (n == 1 ? " slot of " : " slots of ") +
                                        slot_size_text(*options.slot, units)
                                  : std::to_string(n) + (n == 1 ? " port of " : " ports of ") +
                                        show_length(options.diameter_mm, units, -1);
    const std::string radius_name = options.slot ? "round-over" : "flare radius";
    if (!report.length) {
        return {{"Port length", "not worked out: " + report.length_problem}};
    }
    const PortLength& l = *report.length;
    const double vb = report.model.box.vb_m3;
    const double fb = report.model.box.fb_hz;
    const std::string box = "Vb " + significant(vb * 1000) + " L";
    switch (l.fit) {
    case PortFit::flares_too_heavy:
        return {{"Port length", "none: no positive straight length tunes " + box + " to " +
                                    number(fb) + " Hz with " + ports + " and a " + radius_name +
                                    " of " + radius + "; with no straight part they tune it to " +
                                    fixed(l.max_fb_hz, 2) + " Hz, the highest they reach"}};
    case PortFit::too_long:
        return {{"Port length",
                 "none: no straight length up to " + number(limits::straight_length_m.high) +
                     " m tunes " + box + " to " + number(fb) + " Hz with " + ports + " and a " +
                     radius_name + " of " + radius + "; " + number(limits::straight_length_m.high) +
                     " m of straight part tunes it to " + fixed(l.fb_hz, 2) +
                     " Hz, the lowest they reach"}};
    case PortFit::fits:
        break;
    }
    Fields fields{
        {"Port length", ports + ", " + radius_name + " " + radius + ", " +
                            ends_text(options.enclosure->inputs, report.flare_radius_mm)},
        {"Straight part", length_with_mm(l.straight_length_m * 1000, units) +
                              (options.slot ? " of straight slot for each, between its ends"
                                            : " of tube to cut for each port, between its flares")},
        {"Overall", length_with_mm(l.overall_length_m * 1000, units) + " mouth to mouth"},
        {"Tuning", number(l.fb_hz) + " Hz in " + box + " (" + fixed(l.max_fb_hz, 2) +
                       " Hz with no straight part)"},
        {"Displaced", fixed(l.displaced_volume_m3 * 1000, 3) + " L, all " +
                          (options.slot ? "slots" : "ports") + " together (" +
                          fixed(100 * l.displaced_volume_m3 / vb, 1) + " % of Vb)"},
        {"Pipe resonance", fixed(l.pipe_resonance_hz, 1) + " Hz, the first (effective length " +
                               length_with_mm(l.effective_length_m * 1000, units) +
                               ", end corrections included)"},
    };
    for (const std::string& warning : length_warnings(l, vb, fb)) {
        fields.push_back({"Warning", warning});
    }
    return fields;
}

std::vector<std::string> length_warnings(const PortLength& l, double vb_m3, double fb_hz) {
    std::vector<std::string> out;
    if (l.larger_than(vb_m3)) {
        out.push_back("the ports hold more air (" + significant(l.displaced_volume_m3 * 1000) +
                      " L) than the box (" + significant(vb_m3 * 1000) + " L)");
    }
    if (l.too_long_for_model(fb_hz)) {
        out.push_back("the first pipe resonance, " + fixed(l.pipe_resonance_hz, 1) +
                      " Hz, is below five times Fb: the ports are too long for the model, "
                      "which takes a port much shorter than the wavelength");
    }
    return out;
}

std::vector<std::size_t> beyond_xmax(const EnclosureReport& report) {
    std::vector<std::size_t> out;
    if (report.model.driver.xmax_m > 0) {
        for (std::size_t i = 0; i < report.design.size(); ++i) {
            if (report.design[i].excursion_ratio > 1) {
                out.push_back(i);
            }
        }
    }
    return out;
}

Fields excursion_fields(const EnclosureReport& report) {
    const auto beyond = beyond_xmax(report);
    if (beyond.empty()) {
        return {};
    }
    std::string where;
    for (std::size_t k = 0; k < beyond.size(); ++k) {
        const ResponsePoint& p = report.design[beyond[k]];
        where += (k == 0                   ? ""
                  : k + 1 == beyond.size() ? " and "
                                           : ", ") +
                 number(design_frequencies[beyond[k]]) + " Hz (" +
                 fixed(100 * p.excursion_ratio, 1) + " %)";
    }
    return {{"Excursion",
             "beyond Xmax at " + where + ": the cone cannot make these velocities within Xmax"}};
}

QJsonObject enclosure_json(const Options& options, const EnclosureReport& report) {
    const EnclosureRequest& request = *options.enclosure;
    const SolvedEnclosure& m = report.model;
    QJsonObject object;
    add_identity_json(object, request);
    object["inputs"] = inputs_json(request.inputs);
    object["driver"] = QJsonObject{{"qes", m.driver.qes},
                                   {"qms", m.driver.qms},
                                   {"qts", m.driver.qts},
                                   {"drivers", m.driver.count}};
    object["drive_power_w"] = nominal_power(m);
    object["drive_voltage_v_rms"] = rms_voltage(m);
    object["air_temperature_c"] = m.air.temperature_c;
    object["air_density_kg_m3"] = m.air.density;
    object["speed_of_sound_m_s"] = m.air.speed_of_sound;
    object["velocities_used"] = report.velocities_used;
    object["highpass"] = [&m] {
        QJsonArray stages;
        for (const FilterStage& stage : m.highpass) {
            stages.append(q(filter_text(stage)));
        }
        return stages;
    }();
    object["frequencies"] =
        json_rows(response_rows(report, ResponseTable::design), row_places(report.design.size()));
    object["max_output_flare_radius_mm"] =
        report.design_max.empty() ? QJsonValue() : QJsonValue(report.flare_radius_mm);

    QJsonValue length;
    if (report.length) {
        const PortLength& l = *report.length;
        length = QJsonObject{
            {"shape", q(port_shape_text(request.inputs.port_shape))},
            {"ports", report.port_count},
            {"flare_radius_mm", report.flare_radius_mm},
            {"radius", report.radius_given ? "given" : "minimum"},
            {"flared_ends", q(flared_ends_text(request.inputs.flared_ends))},
            {"reachable", l.reachable},
            {"straight_length_mm", l.straight_length_m * 1000},
            {"overall_length_mm", l.overall_length_m * 1000},
            {"fb_hz", l.fb_hz},
            {"max_fb_hz", l.max_fb_hz},
            {"displaced_volume_l", l.displaced_volume_m3 * 1000},
            {"fit", l.fit == PortFit::fits       ? "fits"
                    : l.fit == PortFit::too_long ? "too-long"
                                                 : "flares-too-heavy"},
            {"effective_length_mm", l.effective_length_m * 1000},
            {"pipe_resonance_hz", l.pipe_resonance_hz},
            {"larger_than_box", l.larger_than(m.box.vb_m3)},
            {"too_long_for_model", l.too_long_for_model(m.box.fb_hz)},
        };
    }
    object["port_length"] = length;
    object["port_length_problem"] =
        report.length ? QJsonValue() : QJsonValue(q(report.length_problem));
    if (request.curve) {
        object["curve"] =
            json_rows(response_rows(report, ResponseTable::curve), row_places(report.curve.size()));
    }
    return object;
}

} // namespace venturon::cli
