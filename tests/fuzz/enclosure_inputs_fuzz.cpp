// Any bytes as venturon-enclosure.ini (or a --driver file): reading never fails
// and gives no number that is not finite; writing what was read and reading it
// again gives the same inputs; and whatever passes the checks gives finite
// results in the model, filters, group delay and largest output included.
#include "enclosure_inputs.h"
#include "fuzz_check.h"
#include "input_messages.h"
#include "max_output.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace venturon;
using venturon::fuzz::as_text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EnclosureInputs read = parse_enclosure_inputs(as_text(data, size));
    for (const auto& value : read.numbers) {
        FUZZ_CHECK(!value || std::isfinite(*value));
    }
    FUZZ_CHECK(parse_enclosure_inputs(serialise_enclosure_inputs(read)) == read);

    const auto input = to_enclosure_input(read, 100, 1);
    if (!input) {
        const std::string message = input_message(input.error());
        FUZZ_CHECK(!message.empty() && message.find('\n') == std::string::npos);
        return 0;
    }
    const auto model = solve_enclosure(*input);
    if (!model) {
        return 0;
    }
    for (double f : {10.0, 20.0, 30.0, 200.0}) {
        const ResponsePoint p = response_at(*model, f);
        FUZZ_CHECK(std::isfinite(p.port_velocity) && std::isfinite(p.excursion_m) &&
                   std::isfinite(p.spl_db) && std::isfinite(p.impedance_magnitude) &&
                   std::isfinite(p.spl_unfiltered_db) && std::isfinite(p.group_delay_s));
        const MaxOutputPoint max = max_output_at(*model, {40, first_start_allowances}, p);
        FUZZ_CHECK(std::isfinite(max.spl_db) && std::isfinite(max.power_w) && max.power_w >= 0);
    }
    return 0;
}
