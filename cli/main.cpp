#include "console.h"
#include "graph_output.h"
#include "options.h"
#include "run.h"

#include <clocale>
#include <iostream>

int main(int argc, char* argv[]) {
    const venturon::cli::ConsoleOutput console;
#ifndef _WIN32
    // On Windows argv is the command line in the ANSI code page, where any name
    // outside it is already lost; Qt takes the arguments from the UTF-16 command
    // line instead, so there is nothing to check.
    if (const auto problem = venturon::cli::argument_encoding_problem(argc, argv)) {
        std::cerr << venturon::cli::program_name << ": " << *problem << '\n';
        return venturon::cli::exit_bad_input;
    }
#endif
    const auto application = venturon::cli::make_application(argc, argv);
    // The application takes the locale from the environment. Numbers are written
    // the same in every locale; the system's error texts must be English too
    // (Windows has no message locale: its error texts come from the system).
#ifdef LC_MESSAGES
    std::setlocale(LC_MESSAGES, "C");
#endif
    const int status = venturon::cli::run(QCoreApplication::arguments(), std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "venturon-calc: cannot write the output\n";
        return venturon::cli::exit_output_failed;
    }
    return status;
}
