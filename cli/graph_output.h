#pragma once

#include "options.h"
#include "results.h"

#include <QCoreApplication>

#include <memory>
#include <optional>
#include <string>

namespace venturon::cli {

// The application object the tool runs under: a QGuiApplication when the
// arguments ask for a graph (drawing text needs fonts), on the offscreen platform
// unless QT_QPA_PLATFORM names another, so that no display is needed; a
// QCoreApplication otherwise. `argc` and `argv` must outlive it.
std::unique_ptr<QCoreApplication> make_application(int& argc, char** argv);

// Draws the main window's velocity graph for the result (Full mode, as the
// Calculate command leaves it) and writes it as PNG or SVG. The file is replaced
// whole or left as it was. Gives a one-line message, naming --graph, on failure.
std::optional<std::string> write_graph(const GraphRequest& request, const SingleResult& single);

} // namespace venturon::cli
