// The vented-box model and the port length.
#include "enclosure.h"
#include "port_length.h"

#include <benchmark/benchmark.h>

namespace {

using namespace venturon;

// A 12-inch subwoofer driver in 60 L tuned to 30 Hz, one 100 mm port, 100 W.
EnclosureInput subwoofer() {
    EnclosureInput in;
    in.driver.fs_hz = 25;
    in.driver.qes = 0.45;
    in.driver.qms = 5;
    in.driver.vas_m3 = 0.1;
    in.driver.sd_m2 = 0.05;
    in.driver.re_ohm = 3.6;
    in.driver.xmax_m = 0.012;
    in.box.vb_m3 = 0.06;
    in.box.fb_hz = 30;
    in.drive = Drive::power_w(100);
    in.port = {0.1, 1};
    return in;
}

// What a caller does for a graph: solve the model, then 400 points, 10 to 200 Hz.
void BM_enclosure_curve_400(benchmark::State& state) {
    const EnclosureInput in = subwoofer();
    for (auto _ : state) {
        const auto model = solve_enclosure(in);
        benchmark::DoNotOptimize(response_curve(*model, 10, 200, 400));
    }
    state.SetItemsProcessed(state.iterations() * 400);
}
BENCHMARK(BM_enclosure_curve_400)->Unit(benchmark::kMicrosecond);

// Straight length of two ports flared at both ends, and the tuning back from it.
void BM_port_length(benchmark::State& state) {
    FlaredPort port;
    port.diameter_m = 0.1;
    port.flare_radius_m = 0.025;
    port.count = 2;
    for (auto _ : state) {
        const auto length = port_length(port, 0.12, 30);
        benchmark::DoNotOptimize(port_tuning(port, 0.12, length->straight_length_m));
    }
}
BENCHMARK(BM_port_length);

} // namespace
