#pragma once

// Short names for the allowance choices, for tables of them.

#include "model.h"

namespace venturon::testing::shorthands {

inline constexpr Allowance none = Allowance::none;
inline constexpr Allowance seat = Allowance::seating;
inline constexpr Allowance mask = Allowance::seating_and_masking;
inline constexpr Content music = Content::music;
inline constexpr Content ht = Content::home_theatre;

} // namespace venturon::testing::shorthands
