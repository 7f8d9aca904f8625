// The plain parts: the engine, the number and length texts, the settings format
// and a diameter sweep of the command-line calculator.
#include "calculation.h"
#include "imperial.h"
#include "number_text.h"
#include "options.h"
#include "results.h"
#include "settings_format.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

using namespace venturon;

CalculationInput first_start(CalculationMode mode) {
    CalculationInput in;
    in.diameter = 100;
    in.mode = mode;
    in.radius = 10;
    in.required = {10, 14, 12, 7};
    in.allowances = first_start_allowances;
    return in;
}

void BM_calculate_minimum(benchmark::State& state) {
    const CalculationInput in = first_start(CalculationMode::minimum);
    for (auto _ : state) {
        benchmark::DoNotOptimize(calculate(in));
    }
}
BENCHMARK(BM_calculate_minimum);

void BM_calculate_manual(benchmark::State& state) {
    const CalculationInput in = first_start(CalculationMode::manual);
    for (auto _ : state) {
        benchmark::DoNotOptimize(calculate(in));
    }
}
BENCHMARK(BM_calculate_manual);

// Typical typed lengths: decimal inches, and feet with inches and a fraction.
void BM_in2mm(benchmark::State& state) {
    const std::array<std::string, 3> texts{"6.25", "6' 10 1/2", "4 3/16"};
    for (auto _ : state) {
        for (const auto& text : texts) {
            benchmark::DoNotOptimize(in2mm(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_in2mm);

void BM_number_text(benchmark::State& state) {
    const std::array<double, 4> values{100, 26.2431234567891, 0.1, 1e20};
    for (auto _ : state) {
        for (double v : values) {
            benchmark::DoNotOptimize(number_text(v));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_number_text);

// Reading a settings file's bytes and writing them back.
void BM_settings_round_trip(benchmark::State& state) {
    SettingsRecord record;
    record.diameter_mm = 101.6;
    record.radius_mm = 12.7;
    record.lock_v = {10.5, 14.25, 12, 7};
    record.units_mode = UnitsMode::inches;
    const std::string bytes = serialise_settings(record);
    for (auto _ : state) {
        benchmark::DoNotOptimize(serialise_settings(parse_settings(bytes)));
    }
}
BENCHMARK(BM_settings_round_trip);

// 1,000 diameters, each with rescaled velocities, minimum radius and verdict.
void BM_sweep_1000_diameters(benchmark::State& state) {
    const auto parsed =
        cli::parse_command_line({"venturon-calc", "--diameter", "100", "--velocities", "10,14,12,7",
                                 "--sweep-diameter", "50:149.9:0.1"});
    if (parsed.action != cli::ParsedCommandLine::Action::run ||
        parsed.options.sweep_diameter->rows != 1000) {
        state.SkipWithError("the sweep does not have 1,000 rows");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(cli::compute(parsed.options));
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_sweep_1000_diameters)->Unit(benchmark::kMicrosecond);

} // namespace
