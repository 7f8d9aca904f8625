#include "allowances.h"

namespace venturon {

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

} // namespace venturon
