#pragma once

#include "options.h"
#include "results.h"

#include <QByteArrayView>
#include <QCoreApplication>

#include <memory>
#include <optional>
#include <string>

namespace venturon::cli {

// The application object the tool runs under: a QGuiApplication when the
// arguments ask for a graph of any kind (drawing text needs fonts), on the offscreen platform
// unless QT_QPA_PLATFORM names another, so that no display is needed; a
// QCoreApplication otherwise. `argc` and `argv` must outlive it.
std::unique_ptr<QCoreApplication> make_application(int& argc, char** argv);

// Draws the main window's velocity graph for the result (Full mode, as the
// Calculate command leaves it) and writes it as PNG or SVG. The file is replaced
// whole or left as it was. Gives a one-line message, naming --graph, on failure.
std::optional<std::string> write_graph(const GraphRequest& request, const SingleResult& single);

// What a picture's format ignores after its end, for a file rewritten in place
// (see write_file): line ends after an SVG's root element, zero bytes after a
// PNG's last chunk.
QByteArrayView graph_filler(GraphFormat format);

enum class EnclosurePicture {
    port_velocity, // --enclosure-graph: port air velocity against the limits, 15 to 40 Hz
    excursion,     // --excursion-graph: cone excursion against Xmax, 10 to 200 Hz
};

// Draws one of the enclosure's pictures for a result with driver inputs (the
// limits for its diameter, flare radius and allowances) and writes it as
// write_graph does. Gives a one-line message, naming the request's option, on
// failure.
std::optional<std::string> write_enclosure_graph(const GraphRequest& request,
                                                 const SingleResult& single,
                                                 EnclosurePicture picture);

// Draws one of the designer's views (--plot) from 10 to 200 Hz for a result with
// driver inputs, its ports' limits for the report's flare radius and the
// allowances, and writes it as write_graph does; the SVG's description is the
// view's one-line description.
std::optional<std::string> write_designer_graph(const PlotRequest& request,
                                                const SingleResult& single);

} // namespace venturon::cli
