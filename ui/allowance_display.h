#pragma once

#include "model.h"

#include <string>

namespace venturon {

class Drawing;
class OptionsDialog;
struct AllowanceReminder;

// The displays of the allowance choice: the totals and reminder bars of both
// windows, and the options dialog's compression warning, content frame and chart.

// The percentage shown for one limit's allowance: "0", "25", "40" or "55".
// The content type counts only for seating and masking.
std::string allowance_total(Allowance allowance, Content content);

// Which of a limit's three reminder bars is visible (at most one).
enum class AllowanceBar { none, seating, music, home_theatre };
AllowanceBar visible_bar(Allowance allowance, Content content);

// The knee of the options dialog's chart, in the chart's scale (60 wide, 100 high,
// y downwards): Y is the ceiling of the core allowance, X lies on the slope of the
// chuffing allowance at that height.
struct KneePoint {
    double x, y;
    friend bool operator==(const KneePoint&, const KneePoint&) = default;
};
KneePoint chart_knee(const AllowanceSelection& selection);
// The same table addressed by the two bars. A selection never pairs music with home
// theatre; those two cells follow the same slope and ceiling rule as the others.
KneePoint chart_knee(AllowanceBar chuffing, AllowanceBar core);

// Draws the options dialog's chart of usable velocity against area ratio.
void draw_allowance_chart(Drawing& chart, const AllowanceSelection& selection);

// Shows the allowance choice held by the options dialog's buttons on both
// windows: bars and totals, the compression warning's colour, the content frame's
// state, and the chart.
void show_allowances(OptionsDialog& options, AllowanceReminder& main_reminder);

} // namespace venturon
