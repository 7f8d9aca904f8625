#include "run.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    const int status = venturon::cli::run(QCoreApplication::arguments(), std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "venturon-calc: cannot write the output\n";
        return venturon::cli::exit_output_failed;
    }
    return status;
}
