#include "allowances.h"
#include "support/allowance_shorthands.h"

#include <gtest/gtest.h>

using namespace venturon;
using namespace venturon::testing::shorthands;

TEST(Allowances, StoredTextsReadBackToTheSelection) {
    const StoredAllowances first = stored_allowance_texts(first_start_allowances);
    EXPECT_EQ(first, (StoredAllowances{"Boundary_mask_on", "Boundary_seat_off", "Core_mask_off",
                                       "Core_seat_off", "Home_Theatre"}));
    EXPECT_EQ(stored_allowance_texts({seat, mask, music}),
              (StoredAllowances{"Boundary_mask_off", "Boundary_seat_on", "Core_mask_on",
                                "Core_seat_off", "Music"}));
    for (Allowance chuff : {none, seat, mask}) {
        for (Allowance core : {none, seat, mask}) {
            for (Content content : {music, ht}) {
                const AllowanceSelection s{chuff, core, content};
                const Content other = content == music ? ht : music;
                EXPECT_EQ(selection_from_stored(stored_allowance_texts(s), other), s);
            }
        }
    }
}

TEST(Allowances, HandMadeStoredTexts) {
    const struct {
        StoredAllowances texts;
        AllowanceSelection selection;
    } cases[] = {
        // Both on: the seat text is applied later and wins.
        {{"Boundary_mask_on", "Boundary_seat_on", "Core_mask_on", "Core_seat_on", "Music"},
         {seat, seat, music}},
        {{"boundary_mask_on", "", "Core_mask_on ", "x", "Home_Theatre"}, {none, none, ht}},
        // An unknown content type keeps the dialog's current content.
        {{"Boundary_mask_on", "Boundary_seat_off", "Core_mask_off", "Core_seat_off", "music"},
         {mask, none, ht}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(selection_from_stored(c.texts, ht), c.selection) << c.texts.boundary_mask;
    }
}
