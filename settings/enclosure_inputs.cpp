#include "enclosure_inputs.h"

#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace venturon {

namespace {

constexpr std::array<std::string_view, enclosure_key_count> key_names{
    "fs_hz",   "qes",     "qms",       "qts",           "vas_l",       "sd_cm2",      "re_ohm",
    "xmax_mm", "le_mh",   "drivers",   "vb_l",          "fb_hz",       "ql",          "qa",
    "qp",      "power_w", "voltage_v", "temperature_c", "outer_mouth", "inner_mouth", "flared_ends",
};

// The numbers, in the keys' order; the three choices come after them.
constexpr std::array<std::optional<double> EnclosureInputs::*, 18> number_members{
    &EnclosureInputs::fs_hz,   &EnclosureInputs::qes,       &EnclosureInputs::qms,
    &EnclosureInputs::qts,     &EnclosureInputs::vas_l,     &EnclosureInputs::sd_cm2,
    &EnclosureInputs::re_ohm,  &EnclosureInputs::xmax_mm,   &EnclosureInputs::le_mh,
    &EnclosureInputs::drivers, &EnclosureInputs::vb_l,      &EnclosureInputs::fb_hz,
    &EnclosureInputs::ql,      &EnclosureInputs::qa,        &EnclosureInputs::qp,
    &EnclosureInputs::power_w, &EnclosureInputs::voltage_v, &EnclosureInputs::temperature_c,
};

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<EnclosureKey> key_named(std::string_view name) {
    for (std::size_t i = 0; i < key_names.size(); ++i) {
        if (key_names[i] == name) {
            return static_cast<EnclosureKey>(i);
        }
    }
    return std::nullopt;
}

// Finite or nothing, and never -0.
std::optional<double> read_value(std::string_view text) {
    const auto value = complete_number(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return *value + 0.0;
}

void take(EnclosureInputs& inputs, EnclosureKey key, std::string_view value) {
    switch (key) {
    case EnclosureKey::outer_mouth:
        inputs.outer_mouth = mouth_from_text(value).value_or(MouthCondition::flanged);
        return;
    case EnclosureKey::inner_mouth:
        inputs.inner_mouth = mouth_from_text(value).value_or(MouthCondition::free);
        return;
    case EnclosureKey::flared_ends:
        inputs.flared_ends = flared_ends_from_text(value).value_or(FlaredEnds::both);
        return;
    default:
        *enclosure_number(inputs, key) = read_value(value);
        return;
    }
}

// Shortest text that reads back to the same double; empty when not given or not finite.
std::string value_text(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, *value + 0.0);
    return std::string(buffer, written.ptr);
}

std::string_view group_comment(EnclosureKey key) {
    switch (key) {
    case EnclosureKey::fs_hz:
        return "# Driver: one driver's data sheet values; drivers is how many are in the box.";
    case EnclosureKey::vb_l:
        return "# Box: net volume and tuning; leakage, absorption and port losses as Qs at Fb "
               "(empty: none).";
    case EnclosureKey::power_w:
        return "# Drive: power into Re/drivers, or RMS voltage (give one); air temperature.";
    case EnclosureKey::outer_mouth:
        return "# Ports: mouths flanged or free; flared_ends both, outer, inner or none.";
    default:
        return {};
    }
}

// Collects the first problem of a series of checks.
class Checks {
public:
    bool ok() const { return !error_; }
    const InputError& error() const { return *error_; }

    void add(std::optional<InputError> error) {
        if (!error_ && error) {
            error_ = std::move(error);
        }
    }
    // A value that must be given and lie within its bounds.
    void required(const std::optional<double>& value, Field field, std::string_view name,
                  std::string_view unit, Range range) {
        if (!value) {
            add(InputError{field, std::string(name) + " must be given"});
            return;
        }
        add(check_input(*value, field, name, unit, range));
    }
    void optional(const std::optional<double>& value, Field field, std::string_view name,
                  std::string_view unit, Range range) {
        if (value) {
            add(check_input(*value, field, name, unit, range));
        }
    }

private:
    std::optional<InputError> error_;
};

// A value in the model's units, kept within its bounds: a value at the edge of the
// file's bounds must not fall outside the model's through the conversion's rounding.
double si(double value, double factor, Range model_range) {
    return std::clamp(value * factor, model_range.low, model_range.high);
}

} // namespace

EnclosureInputs blank_enclosure_inputs() {
    EnclosureInputs inputs;
    for (auto member : number_members) {
        inputs.*member = std::nullopt;
    }
    inputs.outer_mouth = MouthCondition::flanged;
    inputs.inner_mouth = MouthCondition::free;
    inputs.flared_ends = FlaredEnds::both;
    return inputs;
}

std::string_view enclosure_key_name(EnclosureKey key) {
    const auto i = static_cast<std::size_t>(key);
    return i < key_names.size() ? key_names[i] : std::string_view();
}

std::optional<double>* enclosure_number(EnclosureInputs& inputs, EnclosureKey key) {
    const auto i = static_cast<std::size_t>(key);
    return i < number_members.size() ? &(inputs.*number_members[i]) : nullptr;
}

const std::optional<double>* enclosure_number(const EnclosureInputs& inputs, EnclosureKey key) {
    const auto i = static_cast<std::size_t>(key);
    return i < number_members.size() ? &(inputs.*number_members[i]) : nullptr;
}

std::optional<EnclosureKey> enclosure_key_of(Field field) {
    switch (field) {
    case Field::temperature:
        return EnclosureKey::temperature_c;
    case Field::fs:
        return EnclosureKey::fs_hz;
    case Field::qes:
        return EnclosureKey::qes;
    case Field::qms:
        return EnclosureKey::qms;
    case Field::qts:
        return EnclosureKey::qts;
    case Field::vas:
        return EnclosureKey::vas_l;
    case Field::sd:
        return EnclosureKey::sd_cm2;
    case Field::re:
        return EnclosureKey::re_ohm;
    case Field::xmax:
        return EnclosureKey::xmax_mm;
    case Field::le:
        return EnclosureKey::le_mh;
    case Field::driver_count:
        return EnclosureKey::drivers;
    case Field::vb:
        return EnclosureKey::vb_l;
    case Field::fb:
        return EnclosureKey::fb_hz;
    case Field::ql:
        return EnclosureKey::ql;
    case Field::qa:
        return EnclosureKey::qa;
    case Field::qp:
        return EnclosureKey::qp;
    case Field::power:
        return EnclosureKey::power_w;
    case Field::voltage:
        return EnclosureKey::voltage_v;
    default:
        return std::nullopt;
    }
}

std::string_view mouth_text(MouthCondition mouth) {
    return mouth == MouthCondition::flanged ? "flanged" : "free";
}

std::optional<MouthCondition> mouth_from_text(std::string_view text) {
    if (text == "flanged") {
        return MouthCondition::flanged;
    }
    if (text == "free") {
        return MouthCondition::free;
    }
    return std::nullopt;
}

std::string_view flared_ends_text(FlaredEnds ends) {
    switch (ends) {
    case FlaredEnds::both:
        return "both";
    case FlaredEnds::outer:
        return "outer";
    case FlaredEnds::inner:
        return "inner";
    case FlaredEnds::none:
        return "none";
    }
    return "both";
}

std::optional<FlaredEnds> flared_ends_from_text(std::string_view text) {
    for (FlaredEnds ends :
         {FlaredEnds::both, FlaredEnds::outer, FlaredEnds::inner, FlaredEnds::none}) {
        if (text == flared_ends_text(ends)) {
            return ends;
        }
    }
    return std::nullopt;
}

EnclosureInputs parse_enclosure_inputs(std::string_view bytes) {
    EnclosureInputs inputs = blank_enclosure_inputs();
    if (bytes.starts_with(byte_order_mark)) {
        bytes.remove_prefix(byte_order_mark.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() &&
            bytes[start] == '\n') {
            ++start;
        }
        line = line.substr(0, line.find('#'));
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        if (const auto key = key_named(trim_blanks(line.substr(0, equals)))) {
            take(inputs, *key, trim_blanks(line.substr(equals + 1)));
        }
    }
    return inputs;
}

std::string serialise_enclosure_inputs(const EnclosureInputs& inputs) {
    std::string out = "# Venturon enclosure inputs: one key = value per line; an empty value "
                      "means not given.\n";
    for (int i = 0; i < enclosure_key_count; ++i) {
        const auto key = static_cast<EnclosureKey>(i);
        if (const auto comment = group_comment(key); !comment.empty()) {
            out += "\n";
            out += comment;
            out += "\n";
        }
        std::string value;
        switch (key) {
        case EnclosureKey::outer_mouth:
            value = mouth_text(inputs.outer_mouth);
            break;
        case EnclosureKey::inner_mouth:
            value = mouth_text(inputs.inner_mouth);
            break;
        case EnclosureKey::flared_ends:
            value = flared_ends_text(inputs.flared_ends);
            break;
        default:
            value = value_text(*enclosure_number(inputs, key));
            break;
        }
        out += enclosure_key_name(key);
        out += value.empty() ? " =\n" : " = " + value + "\n";
    }
    return out;
}

Checked<EnclosureInput> to_enclosure_input(const EnclosureInputs& in, double port_diameter_mm,
                                           int port_count) {
    Checks checks;
    checks.optional(in.temperature_c, Field::temperature, "Temperature", "C",
                    limits::temperature_c);
    checks.required(in.fs_hz, Field::fs, "Fs", "Hz", limits::fs_hz);
    checks.optional(in.qes, Field::qes, "Qes", "", limits::q_driver);
    checks.optional(in.qms, Field::qms, "Qms", "", limits::q_driver);
    checks.optional(in.qts, Field::qts, "Qts", "", limits::q_driver);
    checks.required(in.vas_l, Field::vas, "Vas", "L", sheet_limits::vas_l);
    checks.required(in.sd_cm2, Field::sd, "Sd", "cm^2", sheet_limits::sd_cm2);
    checks.required(in.re_ohm, Field::re, "Re", "ohm", limits::re_ohm);
    checks.optional(in.xmax_mm, Field::xmax, "Xmax", "mm", sheet_limits::xmax_mm);
    checks.optional(in.le_mh, Field::le, "Le", "mH", sheet_limits::le_mh);
    if (in.drivers) {
        const double n = *in.drivers;
        if (!(n >= 1 && n <= limits::max_driver_count && n == std::floor(n))) {
            checks.add(InputError{Field::driver_count,
                                  "Driver count must be a whole number between 1 and " +
                                      std::to_string(limits::max_driver_count)});
        }
    }
    checks.required(in.vb_l, Field::vb, "Vb", "L", sheet_limits::vb_l);
    checks.required(in.fb_hz, Field::fb, "Fb", "Hz", limits::fb_hz);
    checks.optional(in.ql, Field::ql, "QL", "", limits::q_box);
    checks.optional(in.qa, Field::qa, "QA", "", limits::q_box);
    checks.optional(in.qp, Field::qp, "QP", "", limits::q_box);
    if (in.power_w && in.voltage_v) {
        checks.add(InputError{Field::voltage, "Give either the power or the voltage, not both"});
    } else if (!in.power_w && !in.voltage_v) {
        checks.add(InputError{Field::power, "Power or voltage must be given"});
    }
    checks.optional(in.power_w, Field::power, "Power", "W", limits::power_w);
    checks.optional(in.voltage_v, Field::voltage, "Voltage", "V", limits::voltage_v);
    checks.add(check_input(port_diameter_mm, Field::port_diameter, "Port diameter", "mm",
                           sheet_limits::port_diameter_mm));
    checks.add(check_count(port_count, limits::max_port_count, Field::port_count, "Port count"));
    if (!checks.ok()) {
        return checks.error();
    }

    EnclosureInput out;
    DriverParameters& d = out.driver;
    d.fs_hz = *in.fs_hz;
    d.qes = in.qes.value_or(0);
    d.qms = in.qms.value_or(0);
    d.qts = in.qts.value_or(0);
    d.vas_m3 = si(*in.vas_l, 1e-3, limits::vas_m3);
    d.sd_m2 = si(*in.sd_cm2, 1e-4, limits::sd_m2);
    d.re_ohm = *in.re_ohm;
    d.xmax_m = si(in.xmax_mm.value_or(0), 1e-3, limits::xmax_m);
    d.le_h = si(in.le_mh.value_or(0), 1e-3, limits::le_h);
    d.count = static_cast<int>(in.drivers.value_or(1));
    out.box.vb_m3 = si(*in.vb_l, 1e-3, limits::vb_m3);
    out.box.fb_hz = *in.fb_hz;
    out.box.ql = in.ql;
    out.box.qa = in.qa;
    out.box.qp = in.qp;
    out.drive = in.power_w ? Drive::power_w(*in.power_w) : Drive::voltage_rms(*in.voltage_v);
    out.port.diameter_m = si(port_diameter_mm, 1e-3, limits::port_diameter_m);
    out.port.count = port_count;
    out.temperature_c = in.temperature_c.value_or(20);
    return out;
}

FlaredPort to_flared_port(const EnclosureInputs& inputs, double port_diameter_mm,
                          double flare_radius_mm, int port_count) {
    const FlaredEnds ends = inputs.flared_ends;
    FlaredPort port;
    port.diameter_m = port_diameter_mm / 1000;
    port.flare_radius_m = flare_radius_mm / 1000;
    port.count = port_count;
    port.outer = {ends == FlaredEnds::both || ends == FlaredEnds::outer, inputs.outer_mouth};
    port.inner = {ends == FlaredEnds::both || ends == FlaredEnds::inner, inputs.inner_mouth};
    return port;
}

} // namespace venturon
