#pragma once

// venturon-calc --suggest-box: boxes suggested for the driver (engine/box_suggestion.h),
// each with its F3, its highest port velocity at the drive and the length of the
// --diameter port that tunes it, as a table, JSON or CSV.

#include "box_suggestion.h"
#include "options.h"
#include "port_length.h"
#include "results.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>

#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace venturon::cli {

// --suggest-box, --suggest-vb LITRES and --suggest-f3 HZ.
class SuggestionOptions {
public:
    SuggestionOptions();

    QList<QCommandLineOption> options() const;

    // Reads them into options (whose other options are read already): nothing when
    // none was given. Raises BadInput for a bad volume or F3, for suggestions without
    // driver inputs, and with what they cannot go with (--velocities, a sweep, a
    // graph, --curve).
    void read(const QCommandLineParser& parser, Options& options) const;

private:
    QCommandLineOption suggest_;
    QCommandLineOption volume_;
    QCommandLineOption f3_;
};

// One suggestion with the ports for it.
struct SuggestionRow {
    BoxSuggestion box;
    double flare_radius_mm = 0; // the given one, or the minimum for its velocities as shown
    bool radius_given = false;
    std::optional<PortLength> length; // nothing when the box has none or it cannot be worked out
    std::string length_problem;
};

struct SuggestionReport {
    explicit SuggestionReport(const SolvedEnclosure& solved) : model(solved) {}

    SolvedEnclosure model; // the driver and drive, with a box of the search's choosing
    std::vector<SuggestionRow> rows;
    int port_count = 1;
};

// Works the suggestions out; a driver input the model refuses fails as the other
// reports do, naming its option or file.
std::variant<SuggestionReport, Failure> suggest(const Options& options);

void write_suggestions(const Options& options, const SuggestionReport& report, std::ostream& out);

} // namespace venturon::cli
