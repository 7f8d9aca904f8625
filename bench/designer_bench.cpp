// The designer's redraw after an input changes: the model solved with its
// high-pass filters, the 400-point curves and the largest output at each point,
// F3, and the six views laid out and drawn into display lists at a window's size.
#include "enclosure_graph.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <array>

namespace {

using namespace venturon;

// The README's worked example with Pe 300 W, two filters and a 40 mm flare, its
// box volume changed at every redraw as a typed value would.
EnclosureInput design(double vb_m3) {
    EnclosureInput in;
    in.driver = {.fs_hz = 25,
                 .qes = 0.45,
                 .qms = 5,
                 .vas_m3 = 0.1,
                 .sd_m2 = 0.05,
                 .re_ohm = 3.6,
                 .xmax_m = 0.012,
                 .pe_w = 300};
    in.box.vb_m3 = vb_m3;
    in.box.fb_hz = 30;
    in.drive = Drive::power_w(1000);
    in.port = {0.1, 1};
    in.highpass = {{FilterKind::butterworth, 4, 15}, {FilterKind::second_order, 2, 22, 0.9}};
    return in;
}

const QSizeF window_graph(760, 400);
const PortLimitSettings port{40, first_start_allowances};

DesignerGraphInput redraw(int step, std::array<Drawing, 6>& drawings) {
    const auto model = solve_enclosure(design(0.055 + 0.001 * (step % 10)));
    DesignerGraphInput input = designer_graph_input(*model, port);
    for (std::size_t v = 0; v < designer_views.size(); ++v) {
        draw_designer_graph(drawings[v], designer_views[v], input, window_graph);
    }
    return input;
}

void BM_designer_six_views_400(benchmark::State& state) {
    std::array<Drawing, 6> drawings;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(redraw(step++, drawings));
    }
    state.counters["items"] = static_cast<double>(drawings[1].items().size());
}
BENCHMARK(BM_designer_six_views_400)->Unit(benchmark::kMillisecond);

// The same, each drawing then replayed into an image of its size, as a window
// paints it (for reference: the window's own painting is its widgets').
void BM_designer_six_views_400_painted(benchmark::State& state) {
    std::array<Drawing, 6> drawings;
    int step = 0;
    for (auto _ : state) {
        redraw(step++, drawings);
        for (const Drawing& d : drawings) {
            benchmark::DoNotOptimize(d.to_image(window_graph.toSize()));
        }
    }
}
BENCHMARK(BM_designer_six_views_400_painted)->Unit(benchmark::kMillisecond);

} // namespace
