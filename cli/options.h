#pragma once

#include "design_file.h"
#include "driver_file.h"
#include "enclosure_inputs.h"
#include "length_display.h"
#include "model.h"
#include "round_over.h"

#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace venturon::cli {

enum class Format { table, json, csv };

inline constexpr int sweep_row_limit = 100000;

struct DiameterSweep {
    double from_mm = 0;
    double to_mm = 0;
    double step_mm = 0;
    int rows = 0; // from, from + step, ... up to to
};

struct PortSweep {
    double from = 1;
    double to = 1;
};

enum class GraphFormat { png, svg };

// The main window's graph, in pixels, when it first shows.
inline constexpr int graph_default_width = 401;
inline constexpr int graph_default_height = 117;
inline constexpr int graph_side_limit = 10000;

// The enclosure's graphs, in pixels, unless --graph-size says otherwise.
inline constexpr int enclosure_graph_default_width = 600;
inline constexpr int enclosure_graph_default_height = 300;

// A picture written to a file beside the report.
struct GraphRequest {
    QString path;                          // ends in .png or .svg; its folder exists
    GraphFormat format = GraphFormat::png; // from the file name's extension
    int width = graph_default_width;       // pixels, 1 to graph_side_limit
    int height = graph_default_height;
    std::string option = "graph"; // the option that asked for it, for messages
};

// The designer's views that --plot draws, by the names it takes.
enum class PlotView { spl, max_spl, velocity, excursion, impedance, group_delay };
inline constexpr std::array<std::string_view, 6> plot_view_keys{
    "spl", "max-spl", "velocity", "excursion", "impedance", "group-delay"};
inline std::string_view plot_view_key(PlotView view) {
    return plot_view_keys[static_cast<std::size_t>(view)];
}

// One --plot VIEW=FILE.
struct PlotRequest {
    PlotView view = PlotView::spl;
    GraphRequest graph;
};

// The frequencies of --curve: `points` of them spaced evenly on a log scale from
// low_hz to high_hz, both included.
struct CurveRange {
    double low_hz = 10;
    double high_hz = 200;
    int points = 100;
};

// The enclosure designer's inputs, when the command line gives any (--driver FILE,
// --design FILE or one of --fs, --vas, ...): the run then works out the port velocities, the
// ports' length and, when asked, the response curve and the enclosure's graphs.
struct EnclosureRequest {
    EnclosureInputs inputs; // the files', with the options' values over them
    QString driver_file;    // --driver; empty when not given
    // What the --driver file is: its kind, its own keys, the values worked out.
    std::optional<DriverFile> driver;
    QString design_file;          // --design; empty when not given
    std::optional<Design> design; // as read from it
    // The driver's maker, model and comment: the --driver file's, else the design's.
    DriverIdentity identity;
    // The text typed for each key's option; nothing where the value comes from the
    // file or is not given. Messages name what the user typed.
    std::array<std::optional<std::string>, file_number_count> typed;
    std::optional<CurveRange> curve;             // --curve, --curve-range
    bool max_output = false;                     // --max-output
    std::optional<GraphRequest> velocity_graph;  // --enclosure-graph
    std::optional<GraphRequest> excursion_graph; // --excursion-graph
    std::vector<PlotRequest> plots;              // --plot, in the order given
};

// A slot port, from --slot or from a --driver file with port_shape = slot: the
// run's diameter_mm is then the slot's hydraulic diameter (which the velocity-limit
// model reads it as), ports its count and radius_mm its round-over.
struct SlotShape {
    double width_mm = 0;  // inside, along the wall
    double height_mm = 0; // inside, away from it
    int walls = 0;        // sides that are the box's walls: 0, 1 or 2
};

// --suggest-box: the flattest box, and the boxes for a volume and an F3 when asked.
struct SuggestionRequest {
    std::optional<double> volume_l; // --suggest-vb
    std::optional<double> f3_hz;    // --suggest-f3
};

// Everything one run needs, read and checked.
struct Options {
    double diameter_mm = 0;
    std::optional<double> radius_mm;    // given: manual mode; absent: minimum mode
    double ports = 1;                   // normalised: whole part of the absolute value, at least 1
    std::array<double, 4> velocities{}; // required, m/s at 20, 25, 30, 35 Hz
    // False when --velocities is not given: the enclosure's port velocities at the
    // four frequencies are used in their place.
    bool velocities_given = true;
    UnitsMode units = UnitsMode::metric;
    AllowanceSelection allowances = first_start_allowances;
    Format format = Format::table;
    std::optional<CutterSystem> round_over;
    std::optional<DiameterSweep> sweep_diameter;
    std::optional<PortSweep> sweep_ports;
    std::optional<GraphRequest> graph; // never with a sweep
    std::optional<EnclosureRequest> enclosure;
    std::optional<SlotShape> slot;               // the ports are slots
    std::optional<SuggestionRequest> suggestion; // never with a sweep, a graph or --curve

    bool draws_graphs() const {
        return graph || (enclosure && (enclosure->velocity_graph || enclosure->excursion_graph ||
                                       !enclosure->plots.empty()));
    }
};

struct ParsedCommandLine {
    enum class Action { run, help, version, error } action = Action::error;
    Options options;
    std::string text; // the help text, the version line, or the error message
};

inline constexpr std::string_view program_name = "venturon-calc";
std::string_view program_version();

// A one-line message when an argument (after the program's name) is not valid
// UTF-8 text: such a file name would otherwise be written under another name.
std::optional<std::string> argument_encoding_problem(int argc, const char* const* argv);

// Reads the arguments (the first one is the program's name). An error message is
// one line without the program's name in front.
ParsedCommandLine parse_command_line(const QStringList& arguments);

// Raised by the option readers; parse_command_line turns it into its one-line message.
struct BadInput {
    std::string message;
};
// The text as typed, in double quotes, kept on one line.
std::string quoted_text(std::string_view text);
// Raises BadInput: `--option "text": why`.
[[noreturn]] void reject(std::string_view option, std::string_view text, std::string_view why);

std::string_view allowance_name(Allowance allowance); // "none", "seating", ...
std::string_view content_name(Content content);       // "music", "home-theatre"

// Whether this build draws graphs (it needs Qt GUI, which a build without the
// window leaves out). Defined beside the graph writer.
bool graph_output_available();

} // namespace venturon::cli
