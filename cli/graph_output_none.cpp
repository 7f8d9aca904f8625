// The graph writer of a build without Qt GUI: --graph is refused when read.
#include "graph_output.h"

namespace venturon::cli {

bool graph_output_available() {
    return false;
}

std::unique_ptr<QCoreApplication> make_application(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

std::optional<std::string> write_graph(const GraphRequest&, const SingleResult&) {
    return "--graph: this build cannot draw graphs";
}

std::optional<std::string> write_enclosure_graph(const GraphRequest& request, const SingleResult&,
                                                 EnclosurePicture) {
    return "--" + request.option + ": this build cannot draw graphs";
}

std::optional<std::string> write_designer_graph(const PlotRequest&, const SingleResult&) {
    return "--plot: this build cannot draw graphs";
}

} // namespace venturon::cli
