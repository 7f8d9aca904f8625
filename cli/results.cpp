#include "results.h"

#include "cruise.h"

#include <cmath>
#include <limits>

namespace venturon::cli {

namespace {

// Finite and not pinned at the largest double, where the model saturates a
// value that overflowed: such a number is no result.
bool in_range(double v) {
    return std::isfinite(v) && std::fabs(v) < std::numeric_limits<double>::max();
}

bool in_range(const std::array<double, 4>& values) {
    for (double v : values) {
        if (!in_range(v)) {
            return false;
        }
    }
    return true;
}

bool in_range(const CalculationResult& r) {
    return in_range(r.core_limit) && in_range(r.chuff_limit) && in_range(r.min_radius) &&
           in_range(r.radius) && in_range(r.area_ratio) && in_range(r.core_excess) &&
           in_range(r.chuff_excess);
}

Failure out_of_range(std::string_view option) {
    return {"--" + std::string(option) +
            ": the results are beyond the range of numbers; use a more modest value"};
}

CalculationInput minimum_input(const Options& options, double diameter,
                               const std::array<double, 4>& required) {
    CalculationInput input;
    input.diameter = diameter;
    input.mode = CalculationMode::minimum;
    input.required = required;
    input.allowances = options.allowances;
    return input;
}

std::variant<Results, Failure> single(const Options& options) {
    SingleResult out;
    out.input = minimum_input(options, options.diameter_mm, options.velocities);
    if (options.radius_mm) {
        out.input.mode = CalculationMode::manual;
        out.input.radius = *options.radius_mm;
    }
    out.result = calculate(out.input);
    out.ports = options.ports;
    out.verdict_text = verdict_text(out.result.verdict, port_word(options.ports));
    if (options.round_over) {
        out.minimum_radius_mm =
            options.radius_mm
                ? calculate(minimum_input(options, options.diameter_mm, options.velocities)).radius
                : out.result.radius;
    }

    // Attribute a blow-up to the input that drives it: the core limits depend on
    // the diameter alone, a given radius drives the chuffing limits, and huge
    // velocities drive the minimum radius.
    if (!in_range(out.result.core_limit)) {
        return out_of_range("diameter");
    }
    if (options.radius_mm && !in_range(out.result)) {
        return out_of_range("radius");
    }
    if (!in_range(out.result) || !in_range(out.minimum_radius_mm.value_or(0))) {
        return out_of_range("velocities");
    }
    return Results{std::move(out)};
}

std::variant<Results, Failure> sweep(const Options& options) {
    SweepResult out;
    const CruiseReference reference{options.diameter_mm, options.ports, options.velocities};
    auto add_row = [&](double diameter, double ports) {
        const auto rescaled = rescale_velocities(reference, diameter, ports);
        SweepRow row;
        row.diameter_mm = diameter;
        row.ports = ports;
        row.required = rescaled ? rescaled->velocities : std::array<double, 4>{};
        row.result = calculate(minimum_input(options, diameter, row.required));
        row.verdict_text = verdict_text(row.result.verdict, port_word(ports));
        const bool ok = rescaled && in_range(row.required) && in_range(row.result);
        if (ok && !out.first_quiet && row.result.verdict == Verdict::noise_free) {
            out.first_quiet = out.rows.size();
        }
        out.rows.push_back(std::move(row));
        return ok;
    };

    if (options.sweep_diameter) {
        const DiameterSweep& s = *options.sweep_diameter;
        out.over = SweepResult::Over::diameter;
        out.rows.reserve(static_cast<std::size_t>(s.rows));
        for (int i = 0; i < s.rows; ++i) {
            const double diameter = std::min(s.from_mm + i * s.step_mm, s.to_mm);
            if (!add_row(diameter, options.ports)) {
                return out_of_range("sweep-diameter");
            }
        }
    } else {
        const PortSweep& s = *options.sweep_ports;
        out.over = SweepResult::Over::ports;
        const auto rows = static_cast<int>(s.to - s.from) + 1;
        for (int i = 0; i < rows; ++i) {
            if (!add_row(options.diameter_mm, s.from + i)) {
                return out_of_range("sweep-ports");
            }
        }
    }
    return Results{std::move(out)};
}

} // namespace

std::variant<Results, Failure> compute(const Options& options) {
    if (options.sweep_diameter || options.sweep_ports) {
        return sweep(options);
    }
    return single(options);
}

} // namespace venturon::cli
