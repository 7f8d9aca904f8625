#include "inputs.h"

#include <cmath>

namespace venturon {

std::optional<InputError> check_input(Field field, double value, Scale scale) {
    const InputRow& row = input_row(field);
    if (row.zero_is_unknown && value == 0) {
        return std::nullopt;
    }
    const Range range = scale == Scale::model ? si_range(field) : row.range;
    const InputError error{field, Problem::out_of_range, scale, value};
    // A count in the file's units may be any number; the model's counts are whole.
    if (row.whole && scale == Scale::file) {
        if (!(value >= range.low && value <= range.high) || value != std::floor(value)) {
            return InputError{field, Problem::not_whole, scale, value};
        }
        return std::nullopt;
    }
    if (!(value >= range.low && value <= range.high)) {
        return error;
    }
    return std::nullopt;
}

} // namespace venturon
