#include "length_display.h"

#include "imperial.h"
#include "number_text.h"

#include <cmath>

namespace venturon {

namespace {

// Whole steps of `step` millimetres, rounded up; a hair below a whole step is it.
double steps_up(double millimetres, double step) {
    const double steps = std::ceil(millimetres / step - 1e-9);
    return steps > 0 ? steps : 0;
}

} // namespace

double shown_minimum(double millimetres, UnitsMode units, double metric_step) {
    if (!(millimetres > 0) || !std::isfinite(millimetres)) {
        return 0;
    }
    switch (units) {
    case UnitsMode::metric:
        return steps_up(millimetres, metric_step) * metric_step;
    case UnitsMode::inches:
        return steps_up(millimetres, mm_per_inch / 16) * mm_per_inch / 16;
    case UnitsMode::decimal_inches: {
        const double steps = std::ceil(ten_thousandths_of_inch(millimetres));
        return (steps > 0 ? steps : 0) * mm_per_inch / 10000;
    }
    }
    return millimetres;
}

std::string field_length_text(double millimetres, UnitsMode units, Rounding rounding) {
    const double mm = rounding == Rounding::up ? shown_minimum(millimetres, units) : millimetres;
    switch (units) {
    case UnitsMode::metric:
        return number_text(Int(mm));
    case UnitsMode::inches:
        return mm2in(length_text(mm)).feet_inches;
    case UnitsMode::decimal_inches:
        return mm2in(length_text(mm)).decimal_inches;
    }
    return {};
}

} // namespace venturon
