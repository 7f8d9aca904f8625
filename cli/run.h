#pragma once

#include <QStringList>

#include <ostream>

namespace venturon::cli {

inline constexpr int exit_success = 0;
inline constexpr int exit_output_failed = 1;
inline constexpr int exit_bad_input = 2;

// The whole tool: reads the arguments (the first is the program's name), works
// out the results and writes them. Bad input gives one line on `err`, nothing
// on `out` and exit_bad_input. Steps: parse, compute, write each output.
int run(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace venturon::cli
