#pragma once

#include "options.h"
#include "results.h"

#include <ostream>

namespace venturon::cli {

// Writes the results in the format the options ask for: a table for people, or
// JSON or CSV (one header line) for scripts. Nothing here prints nan or inf:
// compute() refuses results that are not finite.
void write_report(const Options& options, const Results& results, std::ostream& out);

} // namespace venturon::cli
