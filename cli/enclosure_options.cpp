#include "enclosure_options.h"

#include "design_storage.h"
#include "input_messages.h"
#include "number_text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace venturon::cli {

namespace {

QCommandLineOption number_option(const InputRow& row) {
    std::string help(row.help);
    if (row.tool_default) {
        help +=
            " (default: " + number_text_trimmed(*row.tool_default) + "; with --driver, the file's)";
    } else if (!row.absent_text.empty()) {
        help += " (default: " + std::string(row.absent_text) + ")";
    }
    return QCommandLineOption(
        QString::fromLatin1(row.option.data(), qsizetype(row.option.size())),
        QString::fromUtf8(help.data(), qsizetype(help.size())),
        QString::fromLatin1(row.value_name.data(), qsizetype(row.value_name.size())));
}

QCommandLineOption choice_option(const ChoiceRow& row) {
    return QCommandLineOption(QString::fromLatin1(row.option.data(), qsizetype(row.option.size())),
                              QString::fromLatin1(row.help.data(), qsizetype(row.help.size())),
                              QStringLiteral("word"));
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

// A choice's word; an empty value clears it to its default, as for the numbers.
void choice_value(EnclosureInputs& inputs, const ChoiceRow& row, std::string_view text) {
    const std::string_view word = trim_blanks(text);
    if (word.empty()) {
        reset_choice(inputs, row.choice);
    } else if (!set_choice(inputs, row.choice, word)) {
        reject(row.option, text, "expected " + std::string(choice_words(row.choice)));
    }
}

// The --driver file, recognised by its content. A driver file of another program
// must hold what the model needs of the driver; Venturon's own file is checked as
// its values are used, each value by its key.
DriverFile driver_file(const QString& path) {
    const std::string text = path.toStdString();
    const DriverFileReading reading = read_driver_file(path);
    if (const auto* problem = std::get_if<DriverFileProblem>(&reading)) {
        reject("driver", text, problem->text());
    }
    const DriverFile& file = std::get<DriverFile>(reading);
    if (file.format != DriverFileFormat::venturon_inputs) {
        if (const auto problem = driver_file_problem(file)) {
            reject("driver", text, problem->text());
        }
    }
    return file;
}

Design design_file(const QString& path) {
    auto read = read_design_file(path);
    if (const auto* problem = std::get_if<DesignProblem>(&read)) {
        reject("design", path.toStdString(), problem->message);
    }
    return std::get<Design>(std::move(read));
}

bool is_driver_number(Field field) {
    return input_row(field).group == InputGroup::driver && field != Field::driver_count;
}

// The file a value of the inputs came from, and its key there: the --driver file
// for the driver's numbers (for all of them when it is Venturon's own file and
// there is no design), else the --design file.
struct Source {
    std::string option; // "driver" or "design"; empty: no file
    QString path;
    std::string key;
};
Source source_of(const EnclosureRequest& request, Field field) {
    const auto i = static_cast<std::size_t>(field);
    const std::string key(input_row(field).key);
    if (request.driver && (is_driver_number(field) || !request.design) &&
        (is_driver_number(field) || request.driver->format == DriverFileFormat::venturon_inputs)) {
        return {"driver", request.driver_file,
                request.driver->keys[i].empty() ? key : request.driver->keys[i]};
    }
    if (request.design) {
        return {"design", request.design_file, key};
    }
    return {};
}

CurveRange curve_range(std::string_view text) {
    const auto parts = split_text(text, ':');
    if (parts.size() != 3) {
        reject("curve-range", text, "expected LOW:HIGH:POINTS (for example 10:200:100)");
    }
    auto frequency = [&](std::string_view part, Field field) {
        const NumberReading reading = read_number(part);
        if (reading.too_large) {
            reject("curve-range", text, quoted_text(part) + " is " + std::string(too_large));
        }
        if (!reading.value) {
            reject("curve-range", text, quoted_text(part) + " is not a number of hertz");
        }
        if (auto error = check_input(field, *reading.value)) {
            reject("curve-range", text, input_message(*error));
        }
        return *reading.value;
    };
    CurveRange range;
    range.low_hz = frequency(parts[0], Field::low_frequency);
    range.high_hz = frequency(parts[1], Field::high_frequency);
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

// The filters of --highpass, in the order given, in place of the file's; "none"
// (or an empty value) clears them.
void highpass_values(EnclosureInputs& inputs, const QStringList& values) {
    std::vector<FilterStage> stages;
    for (const QString& value : values) {
        const std::string text = value.toStdString();
        if (clears(text)) {
            stages.clear();
            continue;
        }
        const auto stage = parse_filter(text);
        if (!stage) {
            reject("highpass", text, input_message(stage.error()));
        }
        stages.push_back(*stage);
    }
    if (stages.size() > max_filter_stages) {
        throw BadInput{"--highpass: at most " + std::to_string(max_filter_stages) +
                       " filters in series, " + std::to_string(stages.size()) + " given"};
    }
    inputs.highpass = {};
    std::copy(stages.begin(), stages.end(), inputs.highpass.begin());
}

std::string option_text(Field field) {
    return "--" + std::string(input_row(field).option);
}

} // namespace

EnclosureOptions::EnclosureOptions()
    : driver_("driver",
              "The driver from a file, recognised by its content: a JSON data sheet, a "
              "key = value driver file with a [Driver] section (SI units), or Venturon's "
              "own inputs file (the enclosure window's venturon-enclosure.ini, whose box "
              "and drive count too). The options below override its values.",
              "file"),
      design_("design",
              "A whole design saved by the enclosure window: driver, box, drive, port ends "
              "and the main window's port, which stands in for --diameter, --ports and "
              "--radius when they are not given. --driver replaces its driver; the "
              "options below override its values.",
              "file"),
      highpass_("highpass",
                "A high-pass filter on the amplifier's output, in place of the --driver file's; "
                "repeat it for up to 4 in series: bwN@HZ (Butterworth, N 1 to 8), lrN@HZ "
                "(Linkwitz-Riley, N 2, 4 or 8), besselN@HZ (Bessel, N 2 to 4, -3 dB at HZ) or "
                "qQ@HZ (second order with that Q), for example bw4@18 or q0.7@22; \"none\" "
                "clears them.",
                "filter"),
      curve_("curve", "With driver inputs: also give the response from 10 to 200 Hz "
                      "(port velocity, excursion, SPL, impedance) in the chosen --format; "
                      "with --format csv, only the curve. Not with a sweep."),
      curve_range_("curve-range",
                   "Frequencies of --curve (implies it): LOW to HIGH Hz, POINTS of them on "
                   "a log scale (default: 10:200:100).",
                   "low:high:points"),
      max_output_("max-output",
                  "With driver inputs: also give, at each frequency of the report and of "
                  "--curve, the largest SPL and amplifier power before the amplifier, Xmax, Pe "
                  "or the port's chuffing or core limit binds, and which one does.") {
    for (std::size_t i = 0; i < file_number_count; ++i) {
        numbers_.push_back(number_option(input_rows[i]));
    }
    for (const ChoiceRow& row : choice_rows) {
        if (!row.option.empty()) {
            choices_.push_back(choice_option(row));
        }
    }
}

QList<QCommandLineOption> EnclosureOptions::options() const {
    QList<QCommandLineOption> out{driver_, design_};
    for (const auto& option : numbers_) {
        out.append(option);
    }
    for (const auto& option : choices_) {
        out.append(option);
    }
    out.append(highpass_);
    out.append(curve_);
    out.append(curve_range_);
    out.append(max_output_);
    return out;
}

std::optional<EnclosureRequest> EnclosureOptions::read(const QCommandLineParser& parser) const {
    bool any = parser.isSet(driver_) || parser.isSet(design_);
    for (const auto* options : {&numbers_, &choices_}) {
        for (const auto& option : *options) {
            any = any || parser.isSet(option);
        }
    }
    if (!any) {
        for (const auto* option : {&curve_, &curve_range_, &highpass_, &max_output_}) {
            if (parser.isSet(*option)) {
                throw BadInput{"--" + option->names().constFirst().toStdString() +
                               " needs driver inputs (--driver FILE, or --fs, --vas, ...)"};
            }
        }
        return std::nullopt;
    }

    EnclosureRequest request;
    if (parser.isSet(design_)) {
        request.design_file = parser.value(design_);
        request.design = design_file(request.design_file);
        request.inputs = request.design->inputs;
        request.identity = request.design->identity;
    } else {
        request.inputs = blank_enclosure_inputs();
        for (std::size_t i = 0; i < file_number_count; ++i) {
            request.inputs.numbers[i] = input_rows[i].tool_default;
        }
    }
    if (parser.isSet(driver_)) {
        request.driver_file = parser.value(driver_);
        request.driver = driver_file(request.driver_file);
        const bool whole =
            request.driver->format == DriverFileFormat::venturon_inputs && !request.design;
        request.inputs =
            whole ? request.driver->inputs : with_driver(request.inputs, *request.driver);
        request.identity = request.driver->identity;
    }

    const auto power = static_cast<std::size_t>(Field::power);
    const auto voltage = static_cast<std::size_t>(Field::voltage);
    if (parser.isSet(numbers_[power]) && parser.isSet(numbers_[voltage]) &&
        !clears(parser.value(numbers_[power]).toStdString()) &&
        !clears(parser.value(numbers_[voltage]).toStdString())) {
        throw BadInput{"--power and --voltage cannot be used together"};
    }
    for (std::size_t i = 0; i < numbers_.size(); ++i) {
        if (!parser.isSet(numbers_[i])) {
            continue;
        }
        const Field field = input_rows[i].field;
        const std::string text = parser.value(numbers_[i]).toStdString();
        request.typed[i] = text;
        auto& number = request.inputs[field];
        number = number_value(input_rows[i].option, text);
        // Power and voltage are one input said two ways: the one typed counts.
        if (number && field == Field::power) {
            request.inputs[Field::voltage].reset();
        } else if (number && field == Field::voltage) {
            request.inputs[Field::power].reset();
        }
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (parser.isSet(choices_[i])) {
            choice_value(request.inputs, choice_rows[i], parser.value(choices_[i]).toStdString());
        }
    }

    if (parser.isSet(highpass_)) {
        highpass_values(request.inputs, parser.values(highpass_));
    }
    request.max_output = parser.isSet(max_output_);
    if (parser.isSet(curve_range_)) {
        request.curve = curve_range(parser.value(curve_range_).toStdString());
    } else if (parser.isSet(curve_)) {
        request.curve = CurveRange{};
    }
    return request;
}

std::string enclosure_problem(const EnclosureRequest& request, const InputError& error) {
    const std::string message = input_message(error);
    if (error.item > 0) {
        // Only a file's filters are checked this late: --highpass's are checked as read.
        // They are the design's, unless Venturon's own --driver file gave everything.
        const bool design = request.design.has_value();
        return "--" + std::string(design ? "design" : "driver") + " " +
               quoted_text((design ? request.design_file : request.driver_file).toStdString()) +
               ": " + highpass_key(static_cast<std::size_t>(error.item - 1)) + ": " + message;
    }
    if (!in_file(error.field)) {
        const std::string_view option = input_row(error.field).option;
        return "--" + std::string(option.empty() ? "curve-range" : option) + ": " + message;
    }
    const auto i = static_cast<std::size_t>(error.field);
    if (request.typed[i]) {
        return option_text(error.field) + " " + quoted_text(*request.typed[i]) + ": " + message;
    }
    const Source source = source_of(request, error.field);
    if (!source.option.empty() && request.inputs[error.field]) {
        return "--" + source.option + " " + quoted_text(source.path.toStdString()) + ": " +
               source.key + ": " + message;
    }
    std::string out = option_text(error.field) + ": " + message;
    // Where a missing value could have come from: the file that gives the box.
    if (request.design) {
        out += " (or " + std::string(input_row(error.field).key) + " in the --design file)";
    } else if (request.driver && request.driver->format == DriverFileFormat::venturon_inputs) {
        out += " (or " + std::string(input_row(error.field).key) + " in the --driver file)";
    }
    return out;
}

} // namespace venturon::cli
