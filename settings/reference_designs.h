#pragma once

// Designs kept beside the current one to compare with: each with a name, a colour
// and everything that gives its curves (the inputs, the round port it was worked
// out for and the allowances of its limits). They live in the designer's inputs
// file after its own keys, each key of a design prefixed "reference_N." (N from 1):
//
//   reference_1.name = Vb 60 L, Fb 30 Hz
//   reference_1.colour = 008cc8          (six hex digits: "#" starts a comment)
//   reference_1.port_diameter_mm = 100
//   reference_1.port_count = 1
//   reference_1.flare_radius_mm = 27
//   reference_1.chuffing = 2             (allowance: 0 none, 1 seating, 2 seating and masking)
//   reference_1.core = 0
//   reference_1.content = 1              (0 music, 1 home theatre)
//   reference_1.fs_hz = 25 ...           (every key of the inputs file)
//
// A reader that does not know them ignores them as unknown keys. A reference whose
// name is missing, or whose port is not a number above 0, is dropped; one beyond
// max_references too.

#include "enclosure_inputs.h"
#include "model.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace venturon {

inline constexpr std::size_t max_references = 3;
inline constexpr std::size_t max_reference_name = 40; // characters, UTF-8 bytes counted

struct ReferenceInputs {
    std::string name;       // one line, no "#"
    std::uint32_t rgb = 0;  // 0xRRGGBB
    EnclosureInputs inputs; // as the designer had them
    double diameter_mm = 100;
    int ports = 1;
    double radius_mm = 0;
    AllowanceSelection allowances = first_start_allowances;

    friend bool operator==(const ReferenceInputs&, const ReferenceInputs&) = default;
};

// The lines after the inputs' own; empty for no references.
std::string serialise_references(const std::vector<ReferenceInputs>& references);
// The references an inputs file holds, in their order; any bytes are safe.
std::vector<ReferenceInputs> parse_references(std::string_view bytes);

// A name as it can be stored: one line, without "#", blanks trimmed, at most
// max_reference_name bytes cut at a character's start.
std::string reference_name(std::string_view typed);

} // namespace venturon
