// Any bytes as venturon-enclosure.ini (or a --driver file): reading never fails
// and gives no number that is not finite; writing what was read and reading it
// again gives the same inputs; and whatever passes the checks gives finite
// results in the model.
#include "enclosure_inputs.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace venturon;
using venturon::fuzz::as_text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EnclosureInputs read = parse_enclosure_inputs(as_text(data, size));
    for (int k = 0; k < enclosure_key_count; ++k) {
        if (const auto* value = enclosure_number(read, static_cast<EnclosureKey>(k)); value) {
            FUZZ_CHECK(!*value || std::isfinite(**value));
        }
    }
    FUZZ_CHECK(parse_enclosure_inputs(serialise_enclosure_inputs(read)) == read);

    const auto input = to_enclosure_input(read, 100, 1);
    if (!input) {
        FUZZ_CHECK(!input.error().message.empty());
        return 0;
    }
    const auto model = solve_enclosure(*input);
    if (!model) {
        return 0;
    }
    for (double f : {10.0, 20.0, 30.0, 200.0}) {
        const ResponsePoint p = response_at(*model, f);
        FUZZ_CHECK(std::isfinite(p.port_velocity) && std::isfinite(p.excursion_m) &&
                   std::isfinite(p.spl_db) && std::isfinite(p.impedance_magnitude));
    }
    return 0;
}
