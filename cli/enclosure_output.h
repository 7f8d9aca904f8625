#pragma once

// The enclosure's part of the report: what output.cpp writes when driver inputs
// are given, as label lines, columns and the JSON object.

#include "options.h"
#include "report.h"
#include "results.h"

#include <QJsonObject>

#include <string>
#include <vector>

namespace venturon::cli {

// Driver, box, drive and ports as used, and where the required velocities came from,
// under the driver's identity.
Fields enclosure_fields(const EnclosureRequest& request, const EnclosureReport& report);

// What heads a report of driver inputs: the driver's maker, model and comment when
// a file gives them, and what the --driver file worked out. Nothing for neither.
Fields identity_fields(const EnclosureRequest& request);
// The two "Driver" lines: Fs and the Qs, then Vas, Sd, Re, Xmax, Le and the count.
Fields driver_fields(const EnclosureRequest& request, const SolvedEnclosure& model);
// "100 W into 3.6 ohm, 18.97 V RMS; air at 20 C"
std::string drive_text(const SolvedEnclosure& model);
// The JSON of the same: driver_file, driver_file_format, design_file, maker, model,
// comment (null when not known) and derived (what the --driver file worked out).
void add_identity_json(QJsonObject& object, const EnclosureRequest& request);
// Every file key as used, and the choices.
QJsonObject inputs_json(const EnclosureInputs& inputs);
// "both ends flared", "outer end flared", "plain ends" (also for a radius of 0).
std::string ends_text(const EnclosureInputs& inputs, double radius_mm);
// A worked-out value to four significant digits: 0.4128, 18.97, 1234.
std::string significant(double value);

// Which table a response shows in: the design frequencies' (with Xmax's share,
// frequencies as they are) or --curve's (with the phase, frequencies to 0.01 Hz).
enum class ResponseTable { design, curve };

// The response at a frequency: port velocity, excursion and its share of Xmax
// (null when Xmax is unknown), SPL, impedance and its phase, and whether the
// cone passes Xmax (JSON).
std::vector<Column<ResponsePoint>> response_columns(bool xmax_known, ResponseTable table);

// The largest output at a frequency: SPL, amplifier power, the limit that binds.
// Marked * when approximate (the ports are slots).
std::vector<Column<MaxOutputPoint>> max_output_columns(bool approximate = false);

// The rows of a response table by their place in the report's design
// frequencies or curve: the response's columns, then with --max-output the
// largest output's.
std::vector<Column<std::size_t>> response_rows(const EnclosureReport& report, ResponseTable table);
// 0 .. n-1 for a table of n rows.
std::vector<std::size_t> row_places(std::size_t n);

// With --max-output, what it works with: the amplifier's power, Xmax, Pe and the
// ports' flare radius.
Fields max_output_fields(const EnclosureReport& report);

// The columns a design frequency's row of the CSV report gains with driver
// inputs (row 0 to 3): its response, then the length's cells, empty when there
// is no length.
std::vector<Column<std::size_t>> enclosure_csv_columns(const EnclosureReport& report);

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

// The "enclosure" object of the JSON report.
QJsonObject enclosure_json(const Options& options, const EnclosureReport& report);

} // namespace venturon::cli
