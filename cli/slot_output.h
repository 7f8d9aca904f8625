#pragma once

// What a report says of a slot port: its size, the hydraulic diameter its limits
// are for, and that those limits, the verdict and the minimum round-over are
// approximate, in the table, the JSON and the CSV alike.

#include "calculation.h"
#include "options.h"
#include "report.h"

#include <QJsonObject>

#include <cstddef>
#include <string>
#include <vector>

namespace venturon::cli {

// Why a slot's limits are approximate, one sentence for people.
std::string slot_approximation(double hydraulic_diameter_mm, UnitsMode units);

// The same under the table of limits, its lines kept short, the first marked "*".
Fields slot_approximation_fields(double hydraulic_diameter_mm, UnitsMode units);

// "Slot will be noise free (approximate)", " Chuffing (approximate)", ...
std::string slot_verdict_text(Verdict verdict, double count);

// "250 x 50 mm along 1 wall", "10 x 2 in in a corner": the slot as built.
std::string slot_size_text(const SlotShape& slot, UnitsMode units);

// The lines over the table of limits in place of a round port's diameter, count
// and flare radius: the slot, how many, and its round-over.
Fields slot_port_fields(const Options& options, const CalculationResult& result, bool minimum);

// The CSV's columns of the slot, the same on each row: its shape, size, walls,
// hydraulic diameter and that the limits are approximate.
std::vector<Column<std::size_t>> slot_csv_columns(const SlotShape& slot);

// The JSON report's "slot" object.
QJsonObject slot_json(const SlotShape& slot, UnitsMode units);

} // namespace venturon::cli
