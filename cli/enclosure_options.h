#pragma once

// The options that carry the enclosure designer's inputs: one for each key of the
// inputs file (--fs for fs_hz, --vas for vas_l, ..., --flared-ends), --highpass
// for the filters, --driver FILE, --design FILE, --curve, --curve-range and
// --max-output.

#include "enclosure.h"
#include "enclosure_inputs.h"
#include "options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace venturon::cli {

class EnclosureOptions {
public:
    EnclosureOptions();

    QList<QCommandLineOption> options() const;

    // Whether --driver was given.
    bool driver_given(const QCommandLineParser& parser) const { return parser.isSet(driver_); }

    // Reads them: nothing when none was given. The inputs start from the --design
    // file's, or else from nothing given but the rows' tool defaults; a --driver file
    // then gives the driver's numbers (Venturon's own inputs file without a design:
    // all of its values), and each option given replaces its key's value; --power
    // clears the file's voltage and --voltage its power, --highpass the filters. A
    // file that cannot be read or is not good, a driver file that lacks what the
    // model needs, numbers beyond a double, texts that are no number and unknown
    // choices raise BadInput; the ranges of what Venturon's own files give are left
    // to to_enclosure_input.
    std::optional<EnclosureRequest> read(const QCommandLineParser& parser) const;

    bool design_given(const QCommandLineParser& parser) const { return parser.isSet(design_); }

private:
    std::vector<QCommandLineOption> numbers_; // in the order of input_rows
    std::vector<QCommandLineOption> choices_; // in the order of choice_rows
    QCommandLineOption driver_;
    QCommandLineOption design_;
    QCommandLineOption highpass_;
    QCommandLineOption curve_;
    QCommandLineOption curve_range_;
    QCommandLineOption max_output_;
};

// One line for a problem of the enclosure's inputs that names where the value came
// from: the option and what was typed (--vas "0": ...), the --driver or --design
// file and its key as the file writes it (--driver "box.ini": vas_l: ...), or the
// option to give a missing value with.
// Errors of the port point at --diameter, --ports and --radius, those of the curve
// at --curve-range; a filter's, at the driver file's highpass_N.
std::string enclosure_problem(const EnclosureRequest& request, const InputError& error);

} // namespace venturon::cli
