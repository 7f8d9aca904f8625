#pragma once

#include "calculation.h"
#include "enclosure.h"
#include "max_output.h"
#include "options.h"
#include "port_length.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace venturon::cli {

// What the driver inputs give: the response at the design frequencies, the length
// of port that tunes the box, and the curve when asked for.
struct EnclosureReport {
    explicit EnclosureReport(const SolvedEnclosure& solved) : model(solved) {}

    SolvedEnclosure model;
    std::array<ResponsePoint, 4> design{}; // at 20, 25, 30 and 35 Hz
    // True when there was no --velocities: the design port velocities were the
    // required velocities of the calculation.
    bool velocities_used = false;
    int port_count = 1;
    // The length is for this flare radius: the given one, or the minimum found.
    double flare_radius_mm = 0;
    bool radius_given = false;
    bool slot = false; // the ports are slots: the limits and the largest output are approximate
    std::optional<PortLength> length;
    std::string length_problem;       // why there is no length, when there is none
    std::vector<ResponsePoint> curve; // --curve
    // --max-output: at the design frequencies and at the curve's, for the flare
    // radius above; empty without it.
    std::vector<MaxOutputPoint> design_max;
    std::vector<MaxOutputPoint> curve_max;
};

// One calculation, as the main window's Calculate command would run it.
struct SingleResult {
    CalculationInput input;
    CalculationResult result;
    double ports = 1;
    std::string verdict_text;
    std::optional<double> minimum_radius_mm; // for the round-over cutter
    std::optional<EnclosureReport> enclosure;
};

// One row of a sweep: the velocities rescaled as cruise control would, then
// the minimum radius and verdict for them.
struct SweepRow {
    double diameter_mm = 0;
    double ports = 1;
    std::array<double, 4> required{};
    CalculationResult result;
    std::string verdict_text;
};

struct SweepResult {
    enum class Over { diameter, ports } over = Over::diameter;
    // m/s at 20, 25, 30, 35 Hz for --diameter and --ports: --velocities, or the
    // enclosure's port velocities.
    std::array<double, 4> reference_velocities{};
    std::vector<SweepRow> rows;
    std::optional<std::size_t> first_quiet; // first noise-free row
};

struct Failure {
    std::string message; // one line, the option named first
};

using Results = std::variant<SingleResult, SweepResult>;

// Works out everything the options ask for. Fails, naming the option, when the
// numbers run beyond the range of a double (absurdly large or small ports), and
// when the driver inputs are incomplete or out of bounds.
std::variant<Results, Failure> compute(const Options& options);

} // namespace venturon::cli
