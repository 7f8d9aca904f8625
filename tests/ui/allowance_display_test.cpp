// The allowance displays: totals, bars, the chart's knee and the reminder layout.
#include "allowance_display.h"
#include "allowance_reminder.h"
#include "support/allowance_shorthands.h"

#include <gtest/gtest.h>

using namespace venturon;
using namespace venturon::testing::shorthands;

TEST(AllowanceDisplay, TotalsAndBars) {
    const struct {
        Allowance allowance;
        Content content;
        const char* total;
        AllowanceBar bar;
    } cases[] = {
        {none, music, "0", AllowanceBar::none},     {none, ht, "0", AllowanceBar::none},
        {seat, music, "25", AllowanceBar::seating}, {seat, ht, "25", AllowanceBar::seating},
        {mask, music, "40", AllowanceBar::music},   {mask, ht, "55", AllowanceBar::home_theatre},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(allowance_total(c.allowance, c.content), c.total);
        EXPECT_EQ(visible_bar(c.allowance, c.content), c.bar) << c.total;
    }
}

TEST(AllowanceDisplay, ChartKnee) {
    const struct {
        AllowanceSelection selection;
        KneePoint knee;
    } cases[] = {
        {first_start_allowances, {12, 38}}, {{none, none, music}, {32, 38}},
        {{seat, none, ht}, {25, 38}},       {{mask, none, music}, {19, 38}},
        {{none, seat, ht}, {36.5, 30}},     {{seat, seat, music}, {28, 30}},
        {{mask, seat, music}, {21, 30}},    {{mask, seat, ht}, {14, 30}},
        {{none, mask, music}, {39, 25}},    {{seat, mask, music}, {30, 25}},
        {{mask, mask, music}, {22.5, 25}},  {{none, mask, ht}, {42, 20}},
        {{seat, mask, ht}, {32, 20}},       {{mask, mask, ht}, {16, 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart_knee(c.selection), c.knee)
            << static_cast<int>(c.selection.chuffing) << static_cast<int>(c.selection.core)
            << static_cast<int>(c.selection.content);
    }
    // Every cell, the two a selection cannot reach included, lies within half a unit
    // of its chuffing slope at its core ceiling.
    const double slope_top[] = {52, 40, 30, 20};
    const double ceiling[] = {38, 30, 25, 20};
    for (int chuff = 0; chuff < 4; ++chuff) {
        for (int core = 0; core < 4; ++core) {
            const KneePoint k =
                chart_knee(static_cast<AllowanceBar>(chuff), static_cast<AllowanceBar>(core));
            EXPECT_EQ(k.y, ceiling[core]);
            EXPECT_NEAR(k.x, slope_top[chuff] * (100 - k.y) / 100, 0.5) << chuff << core;
        }
    }
}

TEST(ReminderLayout, DesignerFramesOfBothWindows) {
    // Main window at (2760, 2940) twips, options dialog at (2520, 5760): 15 twips a pixel.
    for (const LayoutRect designer : {LayoutRect{184, 196, 24.8, 25.6}, {168, 384, 24.8, 25.6}}) {
        const double l = designer.left;
        const double t = designer.top;
        const ReminderLayout r = reminder_layout(designer, {20, 13}, {16, 13});
        EXPECT_EQ(r.frame, (LayoutRect{l, t, 25, 26}));
        EXPECT_EQ(r.chuff_seat, (LayoutRect{l + 2, t + 15, 10.5, 9}));
        EXPECT_EQ(r.chuff_music, (LayoutRect{l + 2, t + 9, 10.5, 15}));
        EXPECT_EQ(r.chuff_ht, (LayoutRect{l + 2, t + 2, 10.5, 22}));
        EXPECT_EQ(r.core_seat, (LayoutRect{l + 11.5, t + 15, 10.5, 9}));
        EXPECT_EQ(r.core_music, (LayoutRect{l + 11.5, t + 9, 10.5, 15}));
        EXPECT_EQ(r.core_ht, (LayoutRect{l + 11.5, t + 2, 10.5, 22}));
        EXPECT_EQ(r.chuffing_total, (LayoutPoint{l - 24, t + 13}));
        EXPECT_EQ(r.core_total, (LayoutPoint{l + 29, t + 13}));
    }
}

TEST(ReminderLayout, RoundsHalvesUpAndNeverGoesNegative) {
    const ReminderLayout even = reminder_layout({0, 0, 30.5, 24.49}, {}, {});
    EXPECT_EQ(even.frame, (LayoutRect{0, 0, 31, 24}));
    EXPECT_EQ(even.chuff_seat.height, 9);   // Int(20 * 0.45)
    EXPECT_EQ(even.chuff_music.height, 14); // Int(20 * 0.7), no drift below 14
    EXPECT_EQ(even.core_ht.left, 14.5);

    const ReminderLayout tiny = reminder_layout({5, 5, 1, 1}, {}, {});
    for (const LayoutRect& bar : {tiny.chuff_seat, tiny.chuff_music, tiny.chuff_ht, tiny.core_seat,
                                  tiny.core_music, tiny.core_ht}) {
        EXPECT_GE(bar.width, 0);
        EXPECT_GE(bar.height, 0);
    }
}
