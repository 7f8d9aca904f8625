#pragma once

#include "calculation.h"
#include "options.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace venturon::cli {

// One calculation, as the main window's Calculate command would run it.
struct SingleResult {
    CalculationInput input;
    CalculationResult result;
    double ports = 1;
    std::string verdict_text;
    std::optional<double> minimum_radius_mm; // for the round-over cutter
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
    std::vector<SweepRow> rows;
    std::optional<std::size_t> first_quiet; // first noise-free row
};

struct Failure {
    std::string message; // one line, the option named first
};

using Results = std::variant<SingleResult, SweepResult>;

// Works out everything the options ask for. Fails, naming the option, when the
// numbers run beyond the range of a double (absurdly large or small ports).
std::variant<Results, Failure> compute(const Options& options);

} // namespace venturon::cli
