#include "enclosure_output.h"

#include "number_text.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cmath>
#include <numbers>

namespace venturon::cli {

namespace {

std::string number(double value) {
    return number_text_trimmed(value);
}

// A worked-out value to four significant digits: 0.4128, 18.97, 1234.
std::string significant(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return number(value);
    }
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3);
    return number(std::round(value / scale) * scale);
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

std::string ends_text(const EnclosureInputs& inputs, double radius_mm) {
    if (radius_mm == 0 || inputs.flared_ends == FlaredEnds::none) {
        return "plain ends";
    }
    switch (inputs.flared_ends) {
    case FlaredEnds::both:
        return "both ends flared";
    case FlaredEnds::outer:
        return "outer end flared";
    case FlaredEnds::inner:
        return "inner end flared";
    case FlaredEnds::none:
        break;
    }
    return "plain ends";
}

// A length in the chosen units, with its millimetres beside an imperial one and
// the note after them: "1/2 in (12.7 mm, given)". Lengths worked out show three
// decimals of a millimetre, given ones as typed (decimals -1).
std::string length_text(double mm, UnitsMode units, int decimals = 3,
                        Rounding rounding = Rounding::nearest, std::string_view note = {}) {
    std::string aside = units == UnitsMode::metric
                            ? std::string()
                            : length_number(mm, UnitsMode::metric, decimals) + " mm";
    if (!note.empty()) {
        aside += (aside.empty() ? "" : ", ") + std::string(note);
    }
    const std::string text = show_length(mm, units, decimals, rounding);
    return aside.empty() ? text : text + " (" + aside + ")";
}

// The excursion over Xmax is null (JSON) or empty (CSV) when Xmax is unknown.
QJsonObject json_point(const ResponsePoint& p, bool xmax) {
    return {{"frequency_hz", p.frequency_hz},
            {"beyond_xmax", xmax && p.excursion_ratio > 1},
            {"port_velocity_m_s", p.port_velocity},
            {"excursion_mm", p.excursion_m * 1000},
            {"excursion_ratio", xmax ? QJsonValue(p.excursion_ratio) : QJsonValue()},
            {"spl_db", p.spl_db},
            {"impedance_ohm", p.impedance_magnitude},
            {"impedance_phase_deg", phase_degrees(p)}};
}

QJsonArray json_points(const auto& points, bool xmax) {
    QJsonArray array;
    for (const ResponsePoint& p : points) {
        array.append(json_point(p, xmax));
    }
    return array;
}

QJsonObject json_inputs(const EnclosureInputs& inputs) {
    QJsonObject object;
    for (std::size_t i = 0; i < file_number_count; ++i) {
        object[q(input_rows[i].key)] = json_number(inputs.numbers[i]);
    }
    for (const ChoiceRow& row : choice_rows) {
        object[q(row.key)] = q(choice_text(inputs, row.choice));
    }
    return object;
}

std::vector<std::string> point_cells(const ResponsePoint& p, bool xmax) {
    return {number(p.port_velocity),
            number(p.excursion_m * 1000),
            xmax ? number(p.excursion_ratio) : "",
            number(p.spl_db),
            number(p.impedance_magnitude),
            number(phase_degrees(p))};
}

} // namespace

Fields enclosure_fields(const EnclosureRequest& request, const EnclosureReport& report) {
    const EnclosureInputs& in = request.inputs;
    const SolvedEnclosure& m = report.model;
    auto q_text = [](std::string_view name, const std::optional<double>& value, double solved) {
        return std::string(name) + " " + (value ? number(*value) : significant(solved));
    };
    const int drivers = m.driver.count;
    Fields fields{
        {"Driver", "Fs " + given(in[Field::fs], "Hz") + ", " +
                       q_text("Qes", in[Field::qes], m.driver.qes) + ", " +
                       q_text("Qms", in[Field::qms], m.driver.qms) + ", " +
                       q_text("Qts", in[Field::qts], m.driver.qts)},
        {"",
         "Vas " + given(in[Field::vas], "L") + ", Sd " + given(in[Field::sd], "cm^2") + ", Re " +
             given(in[Field::re], "ohm") + ", Xmax " +
             (in[Field::xmax] && *in[Field::xmax] > 0 ? given(in[Field::xmax], "mm") : "unknown") +
             ", Le " + given(in[Field::le], "mH") + ", " + std::to_string(drivers) +
             (drivers == 1 ? " driver" : " drivers")},
        {"Box", "Vb " + given(in[Field::vb], "L") + ", Fb " + given(in[Field::fb], "Hz") + ", QL " +
                    given(in[Field::ql]) + ", QA " + given(in[Field::qa]) + ", QP " +
                    given(in[Field::qp])},
        {"Drive", significant(nominal_power(m)) + " W into " +
                      significant(m.driver.re_ohm / drivers) + " ohm, " +
                      significant(rms_voltage(m)) + " V RMS; air at " +
                      number(m.air.temperature_c) + " C"},
        {"Port ends", "outer mouth " + std::string(mouth_text(in.outer_mouth)) + ", inner mouth " +
                          std::string(mouth_text(in.inner_mouth)) + ", " + ends_text(in, 1)},
        {"Velocities", report.velocities_used
                           ? "the port air velocities below are the required velocities"
                           : "from --velocities; the port air velocities below are the "
                             "enclosure's"},
    };
    return fields;
}

Rows design_rows(const EnclosureReport& report) {
    const bool xmax = report.model.driver.xmax_m > 0;
    Rows rows{{"Frequency", "Port velocity", "Excursion"}, {"Hz", "m/s peak", "mm peak"}};
    if (xmax) {
        rows[0].push_back("of Xmax");
        rows[1].push_back("%");
    }
    rows[0].insert(rows[0].end(), {"SPL at 1 m", "Impedance"});
    rows[1].insert(rows[1].end(), {"dB", "ohm"});
    for (std::size_t i = 0; i < report.design.size(); ++i) {
        const ResponsePoint& p = report.design[i];
        std::vector<std::string> row{number(design_frequencies[i]), fixed(p.port_velocity, 3),
                                     fixed(p.excursion_m * 1000, 3)};
        if (xmax) {
            row.push_back(fixed(100 * p.excursion_ratio, 1));
        }
        row.insert(row.end(), {fixed(p.spl_db, 1), fixed(p.impedance_magnitude, 2)});
        rows.push_back(std::move(row));
    }
    return rows;
}

Fields length_fields(const Options& options, const EnclosureReport& report) {
    const UnitsMode units = options.units;
    const std::string radius =
        report.radius_given
            ? length_text(report.flare_radius_mm, units, -1, Rounding::nearest, "given")
            : length_text(report.flare_radius_mm, units, 3, Rounding::up, "minimum");
    const int n = report.port_count;
    const std::string ports = std::to_string(n) + (n == 1 ? " port of " : " ports of ") +
                              show_length(options.diameter_mm, units, -1);
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
                                    number(fb) + " Hz with " + ports + " and a flare radius of " +
                                    radius + "; with no straight part they tune it to " +
                                    fixed(l.max_fb_hz, 2) + " Hz, the highest they reach"}};
    case PortFit::too_long:
        return {{"Port length",
                 "none: no straight length up to " + number(limits::straight_length_m.high) +
                     " m tunes " + box + " to " + number(fb) + " Hz with " + ports +
                     " and a flare radius of " + radius + "; " +
                     number(limits::straight_length_m.high) + " m of straight part tunes it to " +
                     fixed(l.fb_hz, 2) + " Hz, the lowest they reach"}};
    case PortFit::fits:
        break;
    }
    Fields fields{
        {"Port length", ports + ", flare radius " + radius + ", " +
                            ends_text(options.enclosure->inputs, report.flare_radius_mm)},
        {"Straight part", length_text(l.straight_length_m * 1000, units) +
                              " of tube to cut for each port, between its flares"},
        {"Overall", length_text(l.overall_length_m * 1000, units) + " mouth to mouth"},
        {"Tuning", number(l.fb_hz) + " Hz in " + box + " (" + fixed(l.max_fb_hz, 2) +
                       " Hz with no straight part)"},
        {"Displaced", fixed(l.displaced_volume_m3 * 1000, 3) + " L, all ports together (" +
                          fixed(100 * l.displaced_volume_m3 / vb, 1) + " % of Vb)"},
        {"Pipe resonance", fixed(l.pipe_resonance_hz, 1) + " Hz, the first (effective length " +
                               length_text(l.effective_length_m * 1000, units) +
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

Rows curve_rows(const EnclosureReport& report) {
    Rows rows{{"Frequency", "Port velocity", "Excursion", "SPL at 1 m", "Impedance", "Phase"},
              {"Hz", "m/s peak", "mm peak", "dB", "ohm", "deg"}};
    for (const ResponsePoint& p : report.curve) {
        rows.push_back({fixed(p.frequency_hz, 2), fixed(p.port_velocity, 3),
                        fixed(p.excursion_m * 1000, 3), fixed(p.spl_db, 1),
                        fixed(p.impedance_magnitude, 2), fixed(phase_degrees(p), 1)});
    }
    return rows;
}

QJsonObject enclosure_json(const Options& options, const EnclosureReport& report) {
    const EnclosureRequest& request = *options.enclosure;
    const SolvedEnclosure& m = report.model;
    QJsonObject object;
    object["driver_file"] = request.driver_file.isEmpty() ? QJsonValue() : request.driver_file;
    object["inputs"] = json_inputs(request.inputs);
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
    const bool xmax = m.driver.xmax_m > 0;
    object["frequencies"] = json_points(report.design, xmax);

    QJsonValue length;
    if (report.length) {
        const PortLength& l = *report.length;
        length = QJsonObject{
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
        object["curve"] = json_points(report.curve, xmax);
    }
    return object;
}

std::vector<std::string> enclosure_csv_header() {
    return {"port_velocity_m_s", "excursion_mm",        "excursion_ratio",    "spl_db",
            "impedance_ohm",     "impedance_phase_deg", "length_reachable",   "straight_length_mm",
            "overall_length_mm", "max_fb_hz",           "displaced_volume_l", "pipe_resonance_hz"};
}

std::vector<std::string> enclosure_csv_cells(const EnclosureReport& report, std::size_t index) {
    std::vector<std::string> cells =
        point_cells(report.design[index], report.model.driver.xmax_m > 0);
    if (report.length) {
        const PortLength& l = *report.length;
        cells.insert(cells.end(),
                     {l.reachable ? "true" : "false", number(l.straight_length_m * 1000),
                      number(l.overall_length_m * 1000), number(l.max_fb_hz),
                      number(l.displaced_volume_m3 * 1000), number(l.pipe_resonance_hz)});
    } else {
        cells.insert(cells.end(), 6, "");
    }
    return cells;
}

void write_curve_csv(const EnclosureReport& report, std::ostream& out) {
    out << "frequency_hz,port_velocity_m_s,excursion_mm,excursion_ratio,spl_db,impedance_ohm,"
           "impedance_phase_deg\n";
    for (const ResponsePoint& p : report.curve) {
        out << number(p.frequency_hz);
        for (const std::string& cell : point_cells(p, report.model.driver.xmax_m > 0)) {
            out << ',' << cell;
        }
        out << '\n';
    }
}

} // namespace venturon::cli
