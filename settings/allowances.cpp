#include "allowances.h"

#include "number_text.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace venturon {

AllowanceBar visible_bar(Allowance allowance, Content content) {
    switch (allowance) {
    case Allowance::none:
        return AllowanceBar::none;
    case Allowance::seating:
        return AllowanceBar::seating;
    case Allowance::seating_and_masking:
        break;
    }
    return content == Content::music ? AllowanceBar::music : AllowanceBar::home_theatre;
}

std::string allowance_total(Allowance allowance, Content content) {
    switch (visible_bar(allowance, content)) {
    case AllowanceBar::none:
        break;
    case AllowanceBar::seating:
        return "25";
    case AllowanceBar::music:
        return "40";
    case AllowanceBar::home_theatre:
        return "55";
    }
    return "0";
}

KneePoint chart_knee(AllowanceBar chuffing, AllowanceBar core) {
    // Rows: core bar; columns: chuffing bar; both in AllowanceBar order.
    static constexpr std::array<std::array<KneePoint, 4>, 4> knees{{
        {{{32, 38}, {25, 38}, {19, 38}, {12, 38}}},
        {{{36.5, 30}, {28, 30}, {21, 30}, {14, 30}}},
        {{{39, 25}, {30, 25}, {22.5, 25}, {15, 25}}},
        {{{42, 20}, {32, 20}, {24, 20}, {16, 20}}},
    }};
    return knees[static_cast<std::size_t>(core)][static_cast<std::size_t>(chuffing)];
}

KneePoint chart_knee(const AllowanceSelection& selection) {
    return chart_knee(visible_bar(selection.chuffing, selection.content),
                      visible_bar(selection.core, selection.content));
}

StoredAllowances stored_allowance_texts(const AllowanceSelection& s) {
    const auto on_off = [](const char* stem, bool on) {
        return std::string(stem) + (on ? "_on" : "_off");
    };
    return {
        on_off("Boundary_mask", s.chuffing == Allowance::seating_and_masking),
        on_off("Boundary_seat", s.chuffing == Allowance::seating),
        on_off("Core_mask", s.core == Allowance::seating_and_masking),
        on_off("Core_seat", s.core == Allowance::seating),
        s.content == Content::music ? "Music" : "Home_Theatre",
    };
}

AllowanceSelection selection_from_stored(const StoredAllowances& texts, Content current_content) {
    const auto allowance = [](const std::string& mask, const char* mask_on, const std::string& seat,
                              const char* seat_on) {
        if (seat == seat_on) {
            return Allowance::seating;
        }
        return mask == mask_on ? Allowance::seating_and_masking : Allowance::none;
    };
    AllowanceSelection s;
    s.chuffing =
        allowance(texts.boundary_mask, "Boundary_mask_on", texts.boundary_seat, "Boundary_seat_on");
    s.core = allowance(texts.core_mask, "Core_mask_on", texts.core_seat, "Core_seat_on");
    s.content = texts.content_type == "Music"          ? Content::music
                : texts.content_type == "Home_Theatre" ? Content::home_theatre
                                                       : current_content;
    return s;
}

ReminderLayout reminder_layout(LayoutRect frame, LayoutSize bound_total, LayoutSize core_total) {
    ReminderLayout out;
    LayoutRect& b = out.frame;
    b = frame;
    b.height = Int(b.height + 0.5);
    b.width = Int(b.width + 0.5);

    const double inner = std::max(0.0, b.height - 4);
    const double bar_width = std::max(0.0, b.width / 2 - 2);
    const double bottom = b.top + b.height - 2;
    const auto bar = [&](double left, double height, bool standing) {
        return LayoutRect{left, standing ? bottom - height : b.top + 2, bar_width, height};
    };
    const double seat = Int(inner * 0.45);
    const double music = Int(inner * 0.7);
    const double chuff_left = b.left + 2;
    const double core_left = b.left + b.width / 2 - 1;

    out.chuff_seat = bar(chuff_left, seat, true);
    out.chuff_music = bar(chuff_left, music, true);
    out.chuff_ht = bar(chuff_left, inner, false);
    out.core_seat = bar(core_left, seat, true);
    out.core_music = bar(core_left, music, true);
    out.core_ht = bar(core_left, inner, false);

    out.bound_total = {b.left - bound_total.width - 4, b.top + b.height - bound_total.height};
    out.core_total = {b.left + b.width + 4, b.top + b.height - core_total.height};
    return out;
}

} // namespace venturon
