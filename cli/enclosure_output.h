#pragma once

// The enclosure's part of the report: what output.cpp writes when driver inputs
// are given, as label lines, table rows, JSON and CSV cells.

#include "options.h"
#include "results.h"

#include <QJsonObject>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace venturon::cli {

using Fields = std::vector<std::pair<std::string, std::string>>;
using Rows = std::vector<std::vector<std::string>>;

// Driver, box, drive and ports as used, and where the required velocities came from.
Fields enclosure_fields(const EnclosureRequest& request, const EnclosureReport& report);

// Two header rows (names, then units), then one row per design frequency: port
// velocity, excursion (and its share of Xmax when Xmax is known), SPL, impedance.
Rows design_rows(const EnclosureReport& report);

// Where the cone passes Xmax at a design frequency, one line saying so; nothing
// where it does not (or Xmax is unknown).
Fields excursion_fields(const EnclosureReport& report);
// The design frequencies (0 to 3) at which the cone passes Xmax.
std::vector<std::size_t> beyond_xmax(const EnclosureReport& report);

// The ports' length, or why there is none, lengths in the chosen units, with its
// first pipe resonance and the warnings below.
Fields length_fields(const Options& options, const EnclosureReport& report);

// Why a length does not suit the box: the ports hold more air than it, or their
// first pipe resonance is below five times Fb. One sentence each.
std::vector<std::string> length_warnings(const PortLength& length, double vb_m3, double fb_hz);

// Two header rows, then one row per point of --curve.
Rows curve_rows(const EnclosureReport& report);

// The "enclosure" object of the JSON report.
QJsonObject enclosure_json(const Options& options, const EnclosureReport& report);

// The columns the CSV report gains with driver inputs, and their cells on the row
// of a design frequency (0 to 3).
std::vector<std::string> enclosure_csv_header();
std::vector<std::string> enclosure_csv_cells(const EnclosureReport& report, std::size_t index);

// --curve as CSV: one header line, one line per point.
void write_curve_csv(const EnclosureReport& report, std::ostream& out);

} // namespace venturon::cli
