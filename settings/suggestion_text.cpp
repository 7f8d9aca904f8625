#include "suggestion_text.h"

#include "number_text.h"

#include <cmath>

namespace venturon {

namespace {

// Four significant digits: 35.21, 0.4128, 1234.
std::string significant(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return number_text_trimmed(value);
    }
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3);
    return number_text_trimmed(std::round(value / scale) * scale);
}

// A volume in m^3 as it shows: "35.21 L", "1.243 ft^3".
std::string volume(double m3, UnitsMode units, UnitStyle style) {
    const InputRow& row = input_row(Field::vb);
    const ShownUnit shown = shown_unit(row, units, style);
    return significant(m3 / row.si_per_unit * shown.per_file_unit) + " " + std::string(shown.unit);
}

std::string hertz(double hz) {
    return significant(hz) + " Hz";
}

} // namespace

std::string suggestion_label(const BoxSuggestion& s, UnitsMode units, UnitStyle style) {
    switch (s.kind) {
    case SuggestionKind::given_volume:
        return "Vb " + volume(s.target, units, style);
    case SuggestionKind::given_f3:
        return "F3 " + hertz(s.target);
    case SuggestionKind::flattest:
        break;
    }
    return "flattest";
}

std::string suggestion_problem_text(const BoxSuggestion& s, double qts, UnitsMode units,
                                    UnitStyle style) {
    switch (s.problem) {
    case SuggestionProblem::none:
        return {};
    case SuggestionProblem::no_flat_box:
        return "no volume has a flat tuning without a peak above the passband: Qts " +
               significant(qts) + " is too high for a vented box, or the box too leaky";
    case SuggestionProblem::volume_peaks: {
        std::string text =
            "no tuning gives " + volume(s.target, units, style) + " a response without a peak";
        if (s.smallest_volume_m3 > 0) {
            text += "; the smallest volume that has one is " +
                    volume(s.smallest_volume_m3, units, style);
        }
        return text;
    }
    case SuggestionProblem::f3_unreachable: {
        std::string text = "no box reaches F3 " + hertz(s.target) + " without a peak";
        if (s.lowest_f3_hz > 0) {
            text += "; the lowest F3 found is " + hertz(s.lowest_f3_hz) + ", in " +
                    volume(s.lowest_f3_volume_m3, units, style);
        }
        return text;
    }
    case SuggestionProblem::target_out_of_range:
        return s.kind == SuggestionKind::given_f3
                   ? "F3 must be between " + bound_text(limits::fb_hz.low) + " and " +
                         bound_text(limits::fb_hz.high) + " Hz"
                   : input_message({Field::vb, Problem::out_of_range, Scale::model, s.target},
                                   units, style);
    }
    return {};
}

} // namespace venturon
