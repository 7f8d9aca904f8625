#include "run.h"

#include "graph_output.h"
#include "options.h"
#include "output.h"
#include "results.h"
#include "suggestion.h"

namespace venturon::cli {

namespace {

int bad_input(std::ostream& err, const std::string& message) {
    err << program_name << ": " << message << '\n';
    return exit_bad_input;
}

} // namespace

int run(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = parse_command_line(arguments);
    switch (parsed.action) {
    case ParsedCommandLine::Action::error:
        return bad_input(err, parsed.text);
    case ParsedCommandLine::Action::help:
    case ParsedCommandLine::Action::version:
        out << parsed.text;
        return exit_success;
    case ParsedCommandLine::Action::run:
        break;
    }

    const Options& options = parsed.options;
    if (options.suggestion) {
        const auto suggested = suggest(options);
        if (const auto* failure = std::get_if<Failure>(&suggested)) {
            return bad_input(err, failure->message);
        }
        write_suggestions(options, std::get<SuggestionReport>(suggested), out);
        return exit_success;
    }
    const auto computed = compute(options);
    if (const auto* failure = std::get_if<Failure>(&computed)) {
        return bad_input(err, failure->message);
    }
    const Results& results = std::get<Results>(computed);

    write_report(options, results, out);
    // Further outputs (files beside the report) go here, each from `results`.
    // Options never hold a graph for a sweep.
    std::optional<std::string> problem;
    if (options.graph) {
        problem = write_graph(*options.graph, std::get<SingleResult>(results));
    }
    if (options.enclosure) {
        const auto& e = *options.enclosure;
        if (!problem && e.velocity_graph) {
            problem = write_enclosure_graph(*e.velocity_graph, std::get<SingleResult>(results),
                                            EnclosurePicture::port_velocity);
        }
        if (!problem && e.excursion_graph) {
            problem = write_enclosure_graph(*e.excursion_graph, std::get<SingleResult>(results),
                                            EnclosurePicture::excursion);
        }
        for (const PlotRequest& plot : e.plots) {
            if (!problem) {
                problem = write_designer_graph(plot, std::get<SingleResult>(results));
            }
        }
    }
    if (problem) {
        err << program_name << ": " << *problem << '\n';
        return exit_output_failed;
    }
    return exit_success;
}

} // namespace venturon::cli
