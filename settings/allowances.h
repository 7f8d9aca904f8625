#pragma once

#include "model.h"

#include <string>

namespace venturon {

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

// The five texts that store a selection in the settings file.
struct StoredAllowances {
    std::string boundary_mask, boundary_seat, core_mask, core_seat, content_type;
    friend bool operator==(const StoredAllowances&, const StoredAllowances&) = default;
};
StoredAllowances stored_allowance_texts(const AllowanceSelection& selection);

// The selection that stored texts stand for, as the settings reader applies them to
// the option buttons: a mask text "..._on" selects seating and masking, a seat text
// "..._on" then selects seating (so seat wins when both are on), neither means none.
// Content follows "Music" or "Home_Theatre"; any other text keeps current_content.
AllowanceSelection selection_from_stored(const StoredAllowances& texts, Content current_content);

// Geometry of the allowance reminder, in the window's pixels.
struct LayoutRect {
    double left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};
struct LayoutSize {
    double width = 0, height = 0;
};
struct LayoutPoint {
    double left = 0, top = 0;
    friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};
struct ReminderLayout {
    LayoutRect frame; // whole pixels
    LayoutRect chuff_seat, chuff_music, chuff_ht;
    LayoutRect core_seat, core_music, core_ht;
    LayoutPoint bound_total; // left of the frame, bottoms aligned
    LayoutPoint core_total;  // right of the frame, bottoms aligned
};

// Places the six bars inside the frame (chuffing in the left half, core in the
// right, all standing 2 pixels above the frame's lower edge) and the two total
// labels beside it. Bar sizes may be half pixels; none is ever negative.
ReminderLayout reminder_layout(LayoutRect frame, LayoutSize bound_total, LayoutSize core_total);

} // namespace venturon
