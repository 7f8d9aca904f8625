#pragma once

#include "lengths.h"
#include "model.h"
#include "round_over.h"

#include <QStringList>

#include <array>
#include <optional>
#include <string>

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

// A picture of the velocity graph, written to a file beside the report.
struct GraphRequest {
    QString path;                          // ends in .png or .svg; its folder exists
    GraphFormat format = GraphFormat::png; // from the file name's extension
    int width = graph_default_width;       // pixels, 1 to graph_side_limit
    int height = graph_default_height;
};

// Everything one run needs, read and checked.
struct Options {
    double diameter_mm = 0;
    std::optional<double> radius_mm;    // given: manual mode; absent: minimum mode
    double ports = 1;                   // normalised: whole part of the absolute value, at least 1
    std::array<double, 4> velocities{}; // required, m/s at 20, 25, 30, 35 Hz
    UnitsMode units = UnitsMode::metric;
    AllowanceSelection allowances = first_start_allowances;
    Format format = Format::table;
    std::optional<CutterSystem> round_over;
    std::optional<DiameterSweep> sweep_diameter;
    std::optional<PortSweep> sweep_ports;
    std::optional<GraphRequest> graph; // never with a sweep
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

std::string_view allowance_name(Allowance allowance); // "none", "seating", ...
std::string_view content_name(Content content);       // "music", "home-theatre"

// Whether this build draws graphs (it needs Qt GUI, which a build without the
// window leaves out). Defined beside the graph writer.
bool graph_output_available();

} // namespace venturon::cli
