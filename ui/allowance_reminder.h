#pragma once

#include "model.h"

#include <QObject>

#include <functional>

class QLabel;
class QWidget;

namespace venturon {

class ClickableLabel;

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
    LayoutPoint chuffing_total; // left of the frame, bottoms aligned
    LayoutPoint core_total;     // right of the frame, bottoms aligned
};

// Places the six bars inside the frame (chuffing in the left half, core in the
// right, all standing 2 pixels above the frame's lower edge) and the two total
// labels beside it. Bar sizes may be half pixels; none is ever negative.
ReminderLayout reminder_layout(LayoutRect frame, LayoutSize chuffing_total, LayoutSize core_total);

// The small bar graphic of the allowance choice, with the two percentage totals
// beside it; the main window and the options dialog each carry one.
struct AllowanceReminder {
    ClickableLabel* frame = nullptr;
    ClickableLabel* chuffing_seating_bar = nullptr;
    ClickableLabel* chuffing_music_bar = nullptr;
    ClickableLabel* chuffing_home_theatre_bar = nullptr;
    ClickableLabel* core_seating_bar = nullptr;
    ClickableLabel* core_music_bar = nullptr;
    ClickableLabel* core_home_theatre_bar = nullptr;
    QLabel* chuffing_total = nullptr;
    QLabel* core_total = nullptr;

    // Creates the labels with the frame at its designed place (twips).
    static AllowanceReminder create(QWidget* parent, int frame_left_twips, int frame_top_twips);

    // Places and sizes the bars and totals around the frame (once, at load).
    void lay_out();
    // Shows the bar and total of one limit's allowance.
    void show_chuffing(const AllowanceSelection& selection);
    void show_core(const AllowanceSelection& selection);

    // Calls `receiver` for a click on the frame or any bar (never the totals).
    void on_click(QObject* context, const std::function<void()>& receiver);
};

} // namespace venturon
