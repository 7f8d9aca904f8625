#include "results.h"

#include "cruise.h"
#include "enclosure_options.h"
#include "input_messages.h"
#include "length_display.h"
#include "number_text.h"
#include "slot_output.h"
#include "slot_port.h"

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
    out.verdict_text = options.slot ? slot_verdict_text(out.result.verdict, options.ports)
                                    : verdict_text(out.result.verdict, port_word(options.ports));
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
    out.reference_velocities = options.velocities;
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

// The ports' count as the model takes it; beyond its limit, a count it refuses.
int port_count(double ports) {
    return ports <= limits::max_port_count ? static_cast<int>(ports) : limits::max_port_count + 1;
}

// The model of the driver inputs and its response at the design frequencies.
std::variant<EnclosureReport, Failure> solve(const Options& options) {
    const EnclosureRequest& request = *options.enclosure;
    const int count = port_count(options.ports);
    // The slot's numbers were checked as the options were read.
    const auto input = options.slot
                           ? to_enclosure_input(request.inputs, *to_slot_port(request.inputs))
                           : to_enclosure_input(request.inputs, options.diameter_mm, count);
    if (!input) {
        return Failure{enclosure_problem(request, input.error())};
    }
    const auto model = solve_enclosure(*input);
    if (!model) {
        return Failure{enclosure_problem(request, model.error())};
    }
    EnclosureReport report(*model);
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        report.design[i] = response_at(*model, design_frequencies[i]);
    }
    report.velocities_used = !options.velocities_given;
    report.port_count = count;
    report.slot = options.slot.has_value();
    return report;
}

bool in_range(const PortLength& length) {
    return in_range(length.straight_length_m) && in_range(length.overall_length_m) &&
           in_range(length.fb_hz) && in_range(length.max_fb_hz) &&
           in_range(length.displaced_volume_m3);
}

// The length of the ports with the flare radius of the calculation: a minimum as
// the report shows it, a step up, since that is the radius a builder cuts.
void add_length(const Options& options, const SingleResult& single, EnclosureReport& report) {
    report.flare_radius_mm = options.radius_mm
                                 ? single.result.radius
                                 : shown_minimum(single.result.radius, options.units, 0.001);
    report.radius_given = options.radius_mm.has_value();
    if (!(report.flare_radius_mm <= input_row(Field::flare_radius).range.high)) {
        report.length_problem = "the flare radius is above " +
                                number_text_trimmed(input_row(Field::flare_radius).range.high) +
                                " mm, the largest the length is worked out for";
        return;
    }
    const double vb = report.model.box.vb_m3;
    const double fb = report.model.box.fb_hz;
    const double temperature = report.model.air.temperature_c;
    Checked<PortLength> length = InputError{};
    if (options.slot) {
        // The round-over as the length takes it: the slot's smaller side at most.
        const SlotShape& shape = *options.slot;
        if (auto error = check_round_over(report.flare_radius_mm, shape.width_mm, shape.height_mm,
                                          Scale::file)) {
            report.length_problem = input_message(*error);
            return;
        }
        SlotPort slot = *to_slot_port(options.enclosure->inputs);
        slot.radius_m = std::min(report.flare_radius_mm / 1000,
                                 largest_round_over(slot.width_m, slot.height_m));
        length = slot_length(slot, vb, fb, temperature);
    } else {
        const FlaredPort port = to_flared_port(options.enclosure->inputs, options.diameter_mm,
                                               report.flare_radius_mm, report.port_count);
        length = port_length(port, vb, fb, temperature);
    }
    if (!length) {
        report.length_problem = input_message(length.error());
    } else if (!in_range(*length)) {
        report.length_problem = "the length is beyond the range of numbers";
    } else {
        report.length = *length;
    }
}

} // namespace

std::variant<Results, Failure> compute(const Options& given) {
    Options options = given;
    std::optional<EnclosureReport> report;
    if (options.enclosure) {
        auto solved = solve(options);
        if (auto* failure = std::get_if<Failure>(&solved)) {
            return *failure;
        }
        report = std::move(std::get<EnclosureReport>(solved));
        if (!options.velocities_given) {
            for (std::size_t i = 0; i < report->design.size(); ++i) {
                options.velocities[i] = report->design[i].port_velocity;
            }
        }
    }
    if (options.sweep_diameter || options.sweep_ports) {
        return sweep(options);
    }
    auto computed = single(options);
    auto* results = std::get_if<Results>(&computed);
    if (!report || !results) {
        return computed;
    }
    auto& out = std::get<SingleResult>(*results);
    add_length(options, out, *report);
    if (const auto& range = options.enclosure->curve) {
        auto curve = response_curve(report->model, range->low_hz, range->high_hz, range->points);
        if (!curve) {
            return Failure{enclosure_problem(*options.enclosure, curve.error())};
        }
        report->curve = std::move(*curve);
    }
    if (options.enclosure->max_output) {
        const PortLimitSettings port{report->flare_radius_mm, options.allowances};
        report->design_max = max_output_curve(report->model, port, report->design);
        report->curve_max = max_output_curve(report->model, port, report->curve);
    }
    out.enclosure = std::move(report);
    return computed;
}

} // namespace venturon::cli
