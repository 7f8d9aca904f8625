#pragma once

// venturon-calc run in this process, as the tests of its options and outputs do,
// and the argument lists they start from.

#include "run.h"
#include "support/run_program.h"

#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

namespace venturon::testing {

// The port of a first start: 100 mm, one port, 10, 14, 12 and 7 m/s.
inline const QStringList startup_args{"--diameter", "100", "--velocities", "10,14,12,7"};
inline const QStringList no_allowance_args{
    "--chuffing-allowance", "none", "--core-allowance", "none", "--content", "music"};

// Runs the tool's code on the arguments (the program's name is added).
inline Outcome calc(const QStringList& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome o;
    o.status = cli::run(QStringList{"venturon-calc"} + arguments, out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}

// For tables of cases written as plain strings: the same run from a list of
// std::string, and lists joined with +.
namespace string_args {

using venturon::testing::Outcome;
using Args = std::vector<std::string>;

inline Outcome calc(const Args& args) {
    QStringList arguments;
    for (const auto& a : args) {
        arguments << QString::fromStdString(a);
    }
    return venturon::testing::calc(arguments);
}

inline Args operator+(Args a, const Args& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace string_args

} // namespace venturon::testing
