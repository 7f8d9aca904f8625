// The words for the boxes suggested: each row's label and each reason a row has
// no box, in the units on screen.
#include "suggestion_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace venturon;

namespace {

BoxSuggestion suggestion(SuggestionKind kind, double target, SuggestionProblem problem) {
    BoxSuggestion s;
    s.kind = kind;
    s.target = target;
    s.problem = problem;
    return s;
}

} // namespace

// Volumes to four significant digits, in litres or, imperial, in cubic feet
// (60 L = 60 / 28.3168 = 2.119 ft^3; 398.107 L = 14.06 ft^3).
TEST(SuggestionText, LabelsAndReasons) {
    using K = SuggestionKind;
    using P = SuggestionProblem;
    BoxSuggestion peaks = suggestion(K::given_volume, 0.005, P::volume_peaks);
    peaks.smallest_volume_m3 = 0.0517634;
    BoxSuggestion deep = suggestion(K::given_f3, 5, P::f3_unreachable);
    deep.lowest_f3_hz = 15.8531;
    deep.lowest_f3_volume_m3 = 0.398107;
    const struct {
        BoxSuggestion s;
        UnitsMode units;
        const char* label;
        const char* problem;
    } cases[] = {
        {suggestion(K::flattest, 0, P::none), UnitsMode::metric, "flattest", ""},
        {suggestion(K::given_volume, 0.06, P::none), UnitsMode::metric, "Vb 60 L", ""},
        {suggestion(K::given_volume, 0.06, P::none), UnitsMode::decimal_inches, "Vb 2.119 ft^3",
         ""},
        {suggestion(K::given_f3, 30, P::none), UnitsMode::metric, "F3 30 Hz", ""},
        {suggestion(K::flattest, 0, P::no_flat_box), UnitsMode::metric, "flattest",
         "no volume has a flat tuning without a peak above the passband: Qts 0.8 is too high "
         "for a vented box, or the box too leaky"},
        {peaks, UnitsMode::metric, "Vb 5 L",
         "no tuning gives 5 L a response without a peak; the smallest volume that has one is "
         "51.76 L"},
        {deep, UnitsMode::metric, "F3 5 Hz",
         "no box reaches F3 5 Hz without a peak; the lowest F3 found is 15.85 Hz, in 398.1 L"},
        {deep, UnitsMode::decimal_inches, "F3 5 Hz",
         "no box reaches F3 5 Hz without a peak; the lowest F3 found is 15.85 Hz, in 14.06 ft^3"},
        {suggestion(K::given_f3, 2000, P::target_out_of_range), UnitsMode::metric, "F3 2000 Hz",
         "F3 must be between 1 and 1000 Hz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(suggestion_label(c.s, c.units), c.label);
        EXPECT_EQ(suggestion_problem_text(c.s, 0.8, c.units), c.problem);
    }
}
