// The main window, headless: the whole Calculate command, and the graph replayed
// into an image as a repaint would.
#include "interaction.h"
#include "main_window.h"
#include "program_state.h"
#include "velocity_graph.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace venturon;

// Answers nothing and opens nothing: a modal dialog returns at once.
class SilentInteraction : public Interaction {
public:
    void message(QWidget*, const QString&, const QString&, Icon) override {}
    void run_modal(QDialog&) override {}
    void open_address(const QString&) override {}
    bool start_program(const QString&) override { return false; }
    bool file_exists(const QString&) override { return false; }
};

// Validation, calculation, the graph and the status line, as a press of Calculate
// runs them, with the start-up values.
void BM_calculate_command(benchmark::State& state) {
    const QTemporaryDir settings;
    ProgramState program;
    SilentInteraction interaction;
    MainWindow window(program, interaction, settings.path());
    for (auto _ : state) {
        window.calculate_command();
    }
    // The window and its dialogs, for the bare window that start-up is compared with.
    state.counters["widgets"] = static_cast<double>(window.findChildren<QWidget*>().size() + 1);
}
BENCHMARK(BM_calculate_command)->Unit(benchmark::kMicrosecond);

void BM_graph_to_image_415x300(benchmark::State& state) {
    VelocityGraphInput in;
    in.core_limit = {13.2, 16.5, 19.8, 23.1};
    in.chuff_limit = {9.8, 14.5, 17.2, 19.9};
    in.required = {10, 14, 12, 7};
    Drawing drawing;
    draw_velocity_graph(drawing, in);
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawing.to_image(QSize(415, 300)));
    }
}
BENCHMARK(BM_graph_to_image_415x300)->Unit(benchmark::kMicrosecond);

} // namespace
