#include "enclosure_options.h"

#include "settings_file.h"

#include <QFileInfo>

#include <array>
#include <cmath>

namespace venturon::cli {

namespace {

struct KeyOption {
    std::string_view name; // without dashes
    const char* value_name;
    const char* description;
};

// In the order of EnclosureKey.
constexpr std::array<KeyOption, enclosure_key_count> key_options{{
    {"fs", "hz", "Driver: resonance frequency Fs in Hz."},
    {"qes", "q", "Driver: electrical Q, Qes."},
    {"qms", "q", "Driver: mechanical Q, Qms."},
    {"qts", "q",
     "Driver: total Q, Qts. With one of Qes and Qms it gives the other; with both it "
     "must agree with them to within 5 %."},
    {"vas", "litres", "Driver: equivalent volume Vas in litres."},
    {"sd", "cm2", "Driver: cone area Sd in cm^2."},
    {"re", "ohm", "Driver: voice-coil DC resistance Re in ohm."},
    {"xmax", "mm", "Driver: one-way linear excursion Xmax in mm (default: unknown)."},
    {"le", "mh", "Driver: voice-coil inductance Le in mH (default: none)."},
    {"drivers", "count", "Identical drivers in the box, wired in parallel (default: 1)."},
    {"vb", "litres", "Box: net volume Vb in litres."},
    {"fb", "hz", "Box: tuning frequency Fb in Hz."},
    {"ql", "q", "Box: leakage loss as its Q at Fb (default: 7; with --driver, the file's)."},
    {"qa", "q", "Box: absorption loss as its Q at Fb (default: none)."},
    {"qp", "q", "Box: port loss as its Q at Fb (default: none)."},
    {"power", "watts", "Drive: electrical power in W into the nominal load, Re over drivers."},
    {"voltage", "volts", "Drive: RMS voltage in V, in place of a power."},
    {"temperature", "celsius", "Air temperature in degrees Celsius (default: 20)."},
    {"outer-mouth", "mouth",
     "Ports' outer mouth: flanged (in the baffle) or free (default: flanged)."},
    {"inner-mouth", "mouth", "Ports' inner mouth: flanged or free (default: free)."},
    {"flared-ends", "ends",
     "Ports' ends with the flare: both, outer, inner or none (default: both)."},
}};

QCommandLineOption key_option(const KeyOption& k) {
    return QCommandLineOption(QString::fromLatin1(k.name.data(), qsizetype(k.name.size())),
                              QString::fromUtf8(k.description), QString::fromLatin1(k.value_name));
}

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "none" or nothing: not given.
bool clears(std::string_view text) {
    text = trim_blanks(text);
    return text.empty() || text == "none";
}

std::optional<double> number_value(std::string_view option, std::string_view text) {
    if (clears(text)) {
        return std::nullopt;
    }
    const NumberReading reading = read_number(text);
    if (reading.too_large) {
        reject(option, text, too_large);
    }
    if (!reading.value) {
        reject(option, text, "not a number (or \"none\")");
    }
    return reading.value;
}

// An empty value clears a choice to its default, as it clears a number; "none" is
// one of the words of --flared-ends.
void choice_value(EnclosureInputs& inputs, EnclosureKey key, std::string_view option,
                  std::string_view text) {
    const std::string_view word = trim_blanks(text);
    const EnclosureInputs defaults = blank_enclosure_inputs();
    if (key == EnclosureKey::flared_ends) {
        const auto ends =
            word.empty() ? std::optional(defaults.flared_ends) : flared_ends_from_text(word);
        if (!ends) {
            reject(option, text, "expected both, outer, inner or none");
        }
        inputs.flared_ends = *ends;
        return;
    }
    MouthCondition& mouth =
        key == EnclosureKey::outer_mouth ? inputs.outer_mouth : inputs.inner_mouth;
    const MouthCondition default_mouth =
        key == EnclosureKey::outer_mouth ? defaults.outer_mouth : defaults.inner_mouth;
    const auto chosen = word.empty() ? std::optional(default_mouth) : mouth_from_text(word);
    if (!chosen) {
        reject(option, text, "expected flanged or free");
    }
    mouth = *chosen;
}

EnclosureInputs driver_file_inputs(const QString& path) {
    const std::string text = path.toStdString();
    const QFileInfo file(path);
    if (!file.exists()) {
        reject("driver", text, "there is no such file");
    }
    if (file.isDir()) {
        reject("driver", text, "is a folder; give the driver inputs file");
    }
    if (!file.isFile()) {
        reject("driver", text, "is not a regular file");
    }
    const auto bytes = read_settings_file(path);
    if (!bytes) {
        reject("driver", text, "cannot be read");
    }
    return parse_enclosure_inputs(std::string_view(bytes->constData(), bytes->size()));
}

CurveRange curve_range(std::string_view text) {
    std::array<std::string_view, 3> parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto end = text.find(':', start);
        if ((end == std::string_view::npos) != (i + 1 == parts.size())) {
            reject("curve-range", text, "expected LOW:HIGH:POINTS (for example 10:200:100)");
        }
        parts[i] = text.substr(start, end - start);
        start = end + 1;
    }
    auto frequency = [&](std::string_view part, Field field, std::string_view name) {
        const NumberReading reading = read_number(part);
        if (reading.too_large) {
            reject("curve-range", text, quoted_text(part) + " is " + std::string(too_large));
        }
        if (!reading.value) {
            reject("curve-range", text, quoted_text(part) + " is not a number of hertz");
        }
        if (auto error = check_input(*reading.value, field, name, "Hz", limits::frequency_hz)) {
            reject("curve-range", text, error->message);
        }
        return *reading.value;
    };
    CurveRange range;
    range.low_hz = frequency(parts[0], Field::low_frequency, "Low frequency");
    range.high_hz = frequency(parts[1], Field::high_frequency, "High frequency");
    if (range.high_hz < range.low_hz) {
        reject("curve-range", text, "HIGH must not be below LOW");
    }
    const auto points = read_number(parts[2]).value;
    if (!points || *points < 1 || *points > limits::max_points || *points != std::floor(*points)) {
        reject("curve-range", text,
               "POINTS must be a whole number from 1 to " + std::to_string(limits::max_points));
    }
    range.points = static_cast<int>(*points);
    return range;
}

std::string option_text(EnclosureKey key) {
    return "--" + std::string(enclosure_option_name(key));
}

} // namespace

std::string_view enclosure_option_name(EnclosureKey key) {
    const auto i = static_cast<std::size_t>(key);
    return i < key_options.size() ? key_options[i].name : std::string_view();
}

EnclosureOptions::EnclosureOptions()
    : driver_("driver",
              "Driver, box and drive inputs from a file of key = value lines (the "
              "enclosure window's venturon-enclosure.ini); the options below override "
              "its values.",
              "file"),
      curve_("curve", "With driver inputs: also give the response from 10 to 200 Hz "
                      "(port velocity, excursion, SPL, impedance) in the chosen --format; "
                      "with --format csv, only the curve. Not with a sweep."),
      curve_range_("curve-range",
                   "Frequencies of --curve (implies it): LOW to HIGH Hz, POINTS of them on "
                   "a log scale (default: 10:200:100).",
                   "low:high:points") {
    for (const KeyOption& k : key_options) {
        keys_.push_back(key_option(k));
    }
}

QList<QCommandLineOption> EnclosureOptions::options() const {
    QList<QCommandLineOption> out{driver_};
    for (const auto& option : keys_) {
        out.append(option);
    }
    out.append(curve_);
    out.append(curve_range_);
    return out;
}

std::optional<EnclosureRequest> EnclosureOptions::read(const QCommandLineParser& parser) const {
    bool any = parser.isSet(driver_);
    for (const auto& option : keys_) {
        any = any || parser.isSet(option);
    }
    if (!any) {
        if (parser.isSet(curve_) || parser.isSet(curve_range_)) {
            throw BadInput{std::string(parser.isSet(curve_) ? "--curve" : "--curve-range") +
                           " needs driver inputs (--driver FILE, or --fs, --vas, ...)"};
        }
        return std::nullopt;
    }

    EnclosureRequest request;
    if (parser.isSet(driver_)) {
        request.driver_file = parser.value(driver_);
        request.inputs = driver_file_inputs(request.driver_file);
    } else {
        request.inputs = blank_enclosure_inputs();
        request.inputs.ql = 7;
    }

    const auto power = static_cast<std::size_t>(EnclosureKey::power_w);
    const auto voltage = static_cast<std::size_t>(EnclosureKey::voltage_v);
    if (parser.isSet(keys_[power]) && parser.isSet(keys_[voltage]) &&
        !clears(parser.value(keys_[power]).toStdString()) &&
        !clears(parser.value(keys_[voltage]).toStdString())) {
        throw BadInput{"--power and --voltage cannot be used together"};
    }
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (!parser.isSet(keys_[i])) {
            continue;
        }
        const auto key = static_cast<EnclosureKey>(i);
        const std::string text = parser.value(keys_[i]).toStdString();
        const std::string_view name = key_options[i].name;
        request.typed[i] = text;
        if (auto* number = enclosure_number(request.inputs, key)) {
            *number = number_value(name, text);
            if (*number && i == power) {
                request.inputs.voltage_v.reset();
            } else if (*number && i == voltage) {
                request.inputs.power_w.reset();
            }
        } else {
            choice_value(request.inputs, key, name, text);
        }
    }

    if (parser.isSet(curve_range_)) {
        request.curve = curve_range(parser.value(curve_range_).toStdString());
    } else if (parser.isSet(curve_)) {
        request.curve = CurveRange{};
    }
    return request;
}

std::string enclosure_problem(const EnclosureRequest& request, const InputError& error) {
    const auto key = enclosure_key_of(error.field);
    if (!key) {
        switch (error.field) {
        case Field::port_diameter:
            return "--diameter: " + error.message;
        case Field::port_count:
            return "--ports: " + error.message;
        case Field::flare_radius:
            return "--radius: " + error.message;
        default:
            return "--curve-range: " + error.message;
        }
    }
    const auto i = static_cast<std::size_t>(*key);
    if (request.typed[i]) {
        return option_text(*key) + " " + quoted_text(*request.typed[i]) + ": " + error.message;
    }
    const auto* value = enclosure_number(request.inputs, *key);
    if (!request.driver_file.isEmpty() && value && *value) {
        return "--driver " + quoted_text(request.driver_file.toStdString()) + ": " +
               std::string(enclosure_key_name(*key)) + ": " + error.message;
    }
    std::string message = option_text(*key) + ": " + error.message;
    if (!request.driver_file.isEmpty()) {
        message += " (or " + std::string(enclosure_key_name(*key)) + " in the --driver file)";
    }
    return message;
}

} // namespace venturon::cli
