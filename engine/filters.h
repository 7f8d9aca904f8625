#pragma once

// High-pass filters on the amplifier's output voltage: up to four stages in
// series, each a Butterworth (order 1 to 8), a Linkwitz-Riley (order 2, 4 or 8), a
// Bessel (order 2 to 4, -3 dB at its frequency) or a second-order section with a
// given Q. Each stage is written as text the same way everywhere (the inputs file,
// venturon-calc's --highpass, the designer's fields):
//
//   bw4@18     Butterworth, 4th order, 18 Hz
//   lr4@20     Linkwitz-Riley, 4th order, 20 Hz (two 2nd-order Butterworths)
//   bessel2@15 Bessel, 2nd order, -3 dB at 15 Hz
//   q0.7@22    second-order section s^2 / (s^2 + s/Q + 1), Q 0.7, 22 Hz
//
// The kind's letters in any case, the order a whole number, the Q and the
// frequency decimal numbers ("0.707", "17.5", "2e1"); blanks may stand before and
// after each part ("BW4 @ 18").

#include "inputs.h"

#include <array>
#include <complex>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace venturon {

enum class FilterKind { butterworth, linkwitz_riley, bessel, second_order };

struct FilterStage {
    FilterKind kind = FilterKind::butterworth;
    int order = 2;                 // 2 for a second-order section
    double frequency_hz = 20;      // -3 dB there (-6 dB for Linkwitz-Riley; a section's f0)
    double q = 0.7071067811865476; // second-order sections only

    friend bool operator==(const FilterStage&, const FilterStage&) = default;
};

inline constexpr std::size_t max_filter_stages = 4;

// The checks of one stage: the order its kind allows, the frequency and the Q
// against their rows. Errors are in the model's units (Scale::model), the order's
// field naming its kind (Field::butterworth_order, ...).
std::optional<InputError> check_filter(const FilterStage& stage);
// Every stage, and at most max_filter_stages of them; an error's `item` is the
// stage's place from 1.
std::optional<InputError> check_filters(std::span<const FilterStage> stages);

// A filter's complex gain and the derivative of its logarithm by s = j omega,
// d ln H / ds in seconds: its group delay is -Re(log_slope).
struct FilterResponse {
    std::complex<double> gain{1, 0};
    std::complex<double> log_slope{0, 0};
};

// At a frequency (Hz, above 0); for a stage that check_filter refuses the result
// is still finite but means nothing.
FilterResponse filter_response(const FilterStage& stage, double frequency_hz);
// The stages in series: gains multiply, slopes add. No stage: a gain of 1.
FilterResponse chain_response(std::span<const FilterStage> stages, double frequency_hz);

// The Bessel low-pass prototype's -3 dB frequency (delay normalised, rad/s) for an
// order of 2 to 4, found from its polynomial: 1.3617, 1.7557, 2.1139.
double bessel_cutoff(int order);

// The stage's text: "bw4@18", "q0.707@22" (shortest numbers that read back the same).
std::string filter_text(const FilterStage& stage);

// Reads one stage's text. Text that does not follow the grammar gives
// Problem::filter_syntax (field highpass_frequency); a stage that follows it but
// is refused by check_filter gives that error.
Checked<FilterStage> parse_filter(std::string_view text);
// The grammar alone, no range checks: nothing when the text does not follow it.
std::optional<FilterStage> read_filter(std::string_view text);

} // namespace venturon
