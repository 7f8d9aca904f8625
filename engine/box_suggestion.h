#pragma once

// Boxes suggested for a driver, found numerically with the vented-box model
// itself (solve_enclosure, response_at, f3_hz): its losses, its driver count and
// its drive all count. SI units throughout. The high-pass filters are left out:
// a suggestion is the box's own response, and the input it carries has none.
//
// The criteria, with P the passband level (the level the response settles at far
// above Fs and Fb). The voice coil's inductance is left out of the box's shape
// (the peak and flatness checks) but counts in F3 and the port velocity: with a
// large Le it lifts the response above P an octave or two above Fs whatever the
// box (Le 2 mH on a 3.6 ohm, Qes 0.45, Fs 25 Hz driver: 1.1 dB near 90 Hz in its
// flattest box, and no box on a grid from 5 L to 3 m^3 and 5 to 200 Hz below
// 0.2 dB), so that no box would be "without a peak" if it counted.
//
// - No peak: nowhere from a tenth of the lower of Fs and Fb to twenty times the
//   higher is the response more than peak_tolerance_db above P. (Beyond that
//   range the shortfall below P only shrinks; a peak it could hide is below a
//   millionth of a decibel.)
// - Flat tuning of a volume: the tuning at which, far above the box's range, the
//   response's shortfall below P falls as the fourth power of frequency (sixteen
//   times smaller an octave up), as it does for every classical flat alignment; a
//   lower tuning leaves a shelf below P (the shortfall falls as the square), a
//   higher one a peak. It is where 16 d(2f) - d(f) changes sign, d being the
//   shortfall as a power ratio and f twenty times the higher of Fs and Fb.
// - The flattest box: among the volumes whose flat tuning has no peak, the one
//   with the lowest F3 (the largest bandwidth). For a lossless box and Qts
//   0.3827 it is the fourth-order Butterworth alignment: Vb = Vas / 1.414, Fb =
//   Fs, -3.01 dB at Fs.
// - For a given volume: its flat tuning when that has no peak, else the highest
//   lower tuning without a peak (a slight shelf below P is the price).
// - For a given F3: the smallest volume whose tuning as above reaches that F3 or a
//   lower one, with that tuning.
//
// Every search is bounded: volumes from a thousandth to a thousand times Vas (the
// drivers together) within limits::vb_m3, tunings within limits::fb_hz, with a
// fixed number of steps, so that no driver makes it hang.

#include "enclosure.h"

#include <array>
#include <optional>
#include <string_view>

namespace venturon {

// How far above the passband a response may rise and still count as without a
// peak: a millionth of a decibel, rounding rather than a peak.
inline constexpr double peak_tolerance_db = 1e-6;

// The port air velocity reported for a suggestion is the highest over this band.
inline constexpr double suggestion_velocity_low_hz = 10;
inline constexpr double suggestion_velocity_high_hz = 200;

// The classical alignments a suggestion may be named after.
enum class Alignment { none, qb3, b4, sbb4, c4 };

// "QB3", "B4", "SBB4", "C4"; empty for none.
std::string_view alignment_name(Alignment alignment);

// A classical alignment of a lossless box for a driver's Qts: its volume as Vas
// over alpha, its tuning as h times Fs. QB3 and SBB4 exist for Qts up to 0.3827,
// C4 from 0.3827 up, and B4 is the single point alpha = 1.414, h = 1 (where QB3,
// SBB4 and C4 meet, at Qts 0.3827).
struct AlignmentPoint {
    double alpha = 0; // Vas / Vb
    double h = 0;     // Fb / Fs
};
std::optional<AlignmentPoint> classical_alignment(Alignment alignment, double qts);

// A result names the alignment nearest to it when it lies within this much (as a
// fraction) of that alignment's volume and tuning for the driver's Qts.
inline constexpr double alignment_tolerance = 0.10;

// The nearest classical alignment to a box of alpha = Vas/Vb (the drivers
// together) and h = Fb/Fs for a driver of Qts, or none when none lies within
// alignment_tolerance.
Alignment nearest_alignment(double qts, double alpha, double h);

enum class SuggestionKind { flattest, given_volume, given_f3 };

// Why a suggestion has no box.
enum class SuggestionProblem {
    none,
    // No volume within the search has a flat tuning without a peak (a Qts too
    // high for a vented box, or too leaky a box).
    no_flat_box,
    // No tuning gives the volume asked for a response without a peak;
    // `smallest_volume_m3` is the smallest volume that has one (0: none found).
    volume_peaks,
    // No volume within the search reaches the F3 asked for without a peak;
    // `lowest_f3_hz` and `lowest_f3_volume_m3` are the best one found (0: none).
    f3_unreachable,
    // The volume or F3 asked for is outside limits::vb_m3 or limits::fb_hz.
    target_out_of_range,
};

struct BoxSuggestion {
    SuggestionKind kind = SuggestionKind::flattest;
    double target = 0; // the volume asked for (m^3) or the F3 (Hz); 0 for the flattest

    SuggestionProblem problem = SuggestionProblem::none;
    double smallest_volume_m3 = 0;
    double lowest_f3_hz = 0;
    double lowest_f3_volume_m3 = 0;

    // The box, when there is one (problem == none).
    double vb_m3 = 0;
    double fb_hz = 0;
    bool flat_tuning = true;     // false: tuned below the flat tuning to avoid a peak
    std::optional<double> f3_hz; // of the whole model, inductance included; none: never 3 dB down
    double highest_port_velocity = 0;    // m/s peak, the highest from 10 to 200 Hz
    double highest_port_velocity_hz = 0; // where it is
    double peak_db = 0; // the response's highest level above the passband (<= the tolerance)
    Alignment alignment = Alignment::none;
    // The input with this box: driver, drive, losses, port and air as given.
    EnclosureInput input;

    bool found() const { return problem == SuggestionProblem::none; }
};

// The three suggestions. The input's driver, drive, losses, ports and air are
// used; its Vb and Fb are only a starting point and may be anything within their
// bounds. An input the model refuses gives its error.
Checked<BoxSuggestion> flattest_box(const EnclosureInput& input);
Checked<BoxSuggestion> box_for_volume(const EnclosureInput& input, double vb_m3);
Checked<BoxSuggestion> box_for_f3(const EnclosureInput& input, double f3_hz);

// The highest port air velocity (m/s, peak) of a model over a band and where it
// is (Hz): a log-spaced scan refined around its highest point.
struct HighestVelocity {
    double velocity = 0;
    double frequency_hz = 0;
};
HighestVelocity highest_port_velocity(const SolvedEnclosure& model,
                                      double low_hz = suggestion_velocity_low_hz,
                                      double high_hz = suggestion_velocity_high_hz);

} // namespace venturon
