#pragma once

#include "model.h"

#include <string>

namespace venturon {

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

} // namespace venturon
