#include "box_suggestion.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

namespace venturon {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Qts of the fourth-order Butterworth alignment, 1 / sqrt(4 + 2 sqrt 2).
constexpr double b4_qts = 0.38268343236508977;
constexpr AlignmentPoint b4_point{std::numbers::sqrt2, 1};
// A family's point for a Qts within this of B4's point is B4 itself.
constexpr double b4_closeness = 0.01;

// The sizes of the searches: each is a fixed number of steps.
constexpr int volume_points = 61;     // the volume grid, a thousandth to a thousand Vas
constexpr double volume_span = 1000;  // each way from Vas
constexpr int bisection_steps = 64;   // halvings of a log interval: to the last bit
constexpr int golden_steps = 80;      // shrinks a bracket by 0.618 each
constexpr int peak_scan_points = 400; // log spaced over the peak check's range: 1.4 %
constexpr int peak_hills = 8;         // local maxima refined: narrow resonances too
constexpr int velocity_scan_points = 200;
constexpr double tuning_step = 0.95;     // down from the flat tuning to lose a peak
constexpr double tuning_scan_depth = 10; // at most this far down
constexpr double range_below = 0.1;      // the peak check from a tenth of the lower of Fs, Fb
constexpr double range_above = 20;       // to twenty times the higher; also the flatness test's

const double golden = (std::sqrt(5.0) - 1) / 2;

// The highest of g near the grid point `best` of a scan: a golden-section search
// between its neighbours. Returns the place and the value.
template <class G>
std::pair<double, double> refine(G g, double low, double step, int points, int best,
                                 double best_value) {
    double a = low + std::max(best - 1, 0) * step;
    double b = low + std::min(best + 1, points - 1) * step;
    double best_x = low + best * step;
    double c = b - golden * (b - a);
    double d = a + golden * (b - a);
    double gc = g(c);
    double gd = g(d);
    for (int i = 0; i < golden_steps && b - a > 0; ++i) {
        // Towards the higher side; where both are equal (both outside the feasible
        // volumes, say), towards the best point found.
        if (gc > gd || (gc == gd && best_x < c)) {
            b = d;
            d = c;
            gd = gc;
            c = b - golden * (b - a);
            gc = g(c);
        } else {
            a = c;
            c = d;
            gc = gd;
            d = a + golden * (b - a);
            gd = g(d);
        }
        for (const auto& [x, v] : {std::pair{c, gc}, std::pair{d, gd}}) {
            if (v > best_value) {
                best_value = v;
                best_x = x;
            }
        }
    }
    return {best_x, best_value};
}

// The highest of g over [low, high] (a log-frequency or log-volume interval):
// `points` evenly spaced, then the highest of them refined; with `hills` > 1, that
// many of the highest local maxima are refined, so that a narrow peak beside a
// broad one is not lost. Returns the place and the value.
template <class G>
std::pair<double, double> highest(G g, double low, double high, int points, int hills = 1) {
    const double step = points > 1 ? (high - low) / (points - 1) : 0;
    std::vector<double> values(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) {
        values[static_cast<std::size_t>(i)] = g(low + i * step);
    }
    std::vector<int> tops;
    for (int i = 0; i < points; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const auto v = values[at];
        if ((i == 0 || v >= values[at - 1]) && (i + 1 == points || v >= values[at + 1])) {
            tops.push_back(i);
        }
    }
    const auto higher = [&values](int a, int b) {
        return values[static_cast<std::size_t>(a)] > values[static_cast<std::size_t>(b)];
    };
    const auto count = std::min<std::size_t>(tops.size(), std::size_t(std::max(hills, 1)));
    std::partial_sort(tops.begin(), tops.begin() + std::ptrdiff_t(count), tops.end(), higher);
    std::pair<double, double> best{low, -infinity};
    for (std::size_t k = 0; k < count; ++k) {
        const int i = tops[k];
        const auto found = refine(g, low, step, points, i, values[static_cast<std::size_t>(i)]);
        if (found.second > best.second) {
            best = found;
        }
    }
    return best;
}

// The response relative to the level it settles at far above the box, as the
// shortfall of its power below that level: (H_inf / |H|)^2 - 1, where H is the
// radiated volume acceleration over the passband's, n Sd Bl e / (Re Mms), and
// H_inf = 1 / (1 + RAB / RAL) its limit (1 unless the box has both leakage and
// absorption loss). Negative where the response is above that level.
double shortfall(const SolvedEnclosure& m, double frequency_hz) {
    const ResponsePoint p = response_at(m, frequency_hz);
    // What leaves the box through the ports and the leak, less what the cones
    // push in: the volume velocity the box radiates.
    const std::complex<double> radiated =
        p.port_volume_velocity + p.box_pressure * m.gal - p.cone_volume_velocity;
    const double w = 2 * std::numbers::pi * p.frequency_hz;
    const double passband =
        m.driver.count * m.driver.sd_m2 * m.bl * m.e_peak / (m.driver.re_ohm * m.mms);
    const double settled = 1 / (1 + m.gal * m.rab);
    const double ratio = w * std::abs(radiated) / (passband * settled);
    return 1 / (ratio * ratio) - 1;
}

// How far the response rises above the level it settles at: the highest over the
// peak check's range, in dB (negative when it stays below).
double highest_excess_db(const SolvedEnclosure& m) {
    const double fs = m.driver.fs_hz;
    const double fb = m.box.fb_hz;
    const double low = std::max(limits::frequency_hz.low, range_below * std::min(fs, fb));
    const double high = std::min(limits::frequency_hz.high, range_above * std::max(fs, fb));
    const auto excess = [&m](double ln_f) {
        return -10 * std::log10(1 + shortfall(m, std::exp(ln_f)));
    };
    return highest(excess, std::log(low), std::log(high), peak_scan_points, peak_hills).second;
}

// Positive where the shortfall far above the box falls more slowly than the fourth
// power of frequency (a shelf), negative where faster or below 0 (a peak): 16 d(2f)
// - d(f) at f twenty times the higher of Fs and Fb.
double flatness(const SolvedEnclosure& m) {
    const double f = range_above * std::max(m.driver.fs_hz, m.box.fb_hz);
    return 16 * shortfall(m, 2 * f) - shortfall(m, f);
}

std::optional<AlignmentPoint> point_of(double alpha, double h) {
    if (!(alpha > 0) || !(h > 0) || !std::isfinite(alpha) || !std::isfinite(h)) {
        return std::nullopt;
    }
    return AlignmentPoint{alpha, h};
}

// The box polynomial s^4 + a1 s^3 + a2 s^2 + a3 s + 1 of a lossless box: a1 =
// 1/(Qts sqrt h), a2 = (alpha + 1 + h^2)/h, a3 = sqrt h / Qts; so h = a3/a1 and
// alpha = a2 h - 1 - h^2.
std::optional<AlignmentPoint> from_coefficients(double a1, double a2, double a3) {
    const double h = a3 / a1;
    return point_of(a2 * h - 1 - h * h, h);
}

// The fourth-order Chebyshev (equal ripple) high pass of ripple parameter eps: its
// low-pass prototype's poles inverted, the polynomial scaled to a constant term of 1.
struct Chebyshev {
    double a1, a2, a3;
};
Chebyshev chebyshev(double eps) {
    const double v = std::asinh(1 / eps) / 4;
    // Each pair of inverted poles gives s^2 + p s + q.
    double p[2];
    double q[2];
    for (int k = 0; k < 2; ++k) {
        const double theta = (2 * k + 1) * std::numbers::pi / 8;
        const std::complex<double> pole{-std::sinh(v) * std::sin(theta),
                                        std::cosh(v) * std::cos(theta)};
        const std::complex<double> root = 1.0 / pole;
        p[k] = -2 * root.real();
        q[k] = std::norm(root);
    }
    const double c = std::pow(q[0] * q[1], 0.25);
    return {(p[0] + p[1]) / c, (q[0] + q[1] + p[0] * p[1]) / (c * c),
            (p[0] * q[1] + q[0] * p[1]) / (c * c * c)};
}

double chebyshev_qts(double eps) {
    const Chebyshev p = chebyshev(eps);
    return 1 / std::sqrt(p.a1 * p.a3);
}

std::optional<AlignmentPoint> c4_point(double qts) {
    // Qts grows with the ripple, from B4's at no ripple.
    double low = std::log(1e-9);
    double high = std::log(1e3);
    if (qts < b4_qts || qts > chebyshev_qts(std::exp(high))) {
        return std::nullopt;
    }
    for (int i = 0; i < bisection_steps; ++i) {
        const double mid = (low + high) / 2;
        (chebyshev_qts(std::exp(mid)) < qts ? low : high) = mid;
    }
    const Chebyshev p = chebyshev(std::exp((low + high) / 2));
    return from_coefficients(p.a1, p.a2, p.a3);
}

double distance(const AlignmentPoint& a, const AlignmentPoint& b) {
    return std::max(std::fabs(std::log(a.alpha / b.alpha)), std::fabs(std::log(a.h / b.h)));
}

// The searches for one input: models of it with other boxes.
class Search {
public:
    explicit Search(const EnclosureInput& input) : real_(input), shape_(input) {
        real_.highpass.clear(); // the box's own response
        shape_.highpass.clear();
        shape_.driver.le_h = 0; // the box's shape, without the voice coil's rise and fall
        const double vas = input.driver.vas_m3 * input.driver.count;
        low_volume_ = std::max(limits::vb_m3.low, vas / volume_span);
        high_volume_ = std::min(limits::vb_m3.high, vas * volume_span);
        if (!(low_volume_ < high_volume_)) {
            high_volume_ = low_volume_;
        }
    }

    double low_volume() const { return low_volume_; }
    double high_volume() const { return high_volume_; }

    // The volumes of the grid, from the smallest up.
    double grid_volume(int i) const {
        return low_volume_ *
               std::pow(high_volume_ / low_volume_, double(i) / double(volume_points - 1));
    }

    std::optional<SolvedEnclosure> model(double vb, double fb, bool inductance) const {
        EnclosureInput in = inductance ? real_ : shape_;
        in.box.vb_m3 = vb;
        in.box.fb_hz = fb;
        auto solved = solve_enclosure(in);
        if (!solved) {
            return std::nullopt;
        }
        return *solved;
    }

    // The tuning where the flatness test changes sign, within limits::fb_hz.
    std::optional<double> flat_tuning(double vb) const {
        double low = std::log(limits::fb_hz.low);
        double high = std::log(limits::fb_hz.high);
        const auto sign_at = [&](double ln_fb) -> std::optional<bool> {
            const auto m = model(vb, std::exp(ln_fb), false);
            if (!m) {
                return std::nullopt;
            }
            return flatness(*m) > 0;
        };
        const auto low_sign = sign_at(low);
        const auto high_sign = sign_at(high);
        if (!low_sign || !high_sign || *low_sign == *high_sign) {
            return std::nullopt;
        }
        for (int i = 0; i < bisection_steps; ++i) {
            const double mid = (low + high) / 2;
            const auto sign = sign_at(mid);
            if (!sign) {
                return std::nullopt;
            }
            (*sign == *low_sign ? low : high) = mid;
        }
        return std::exp((low + high) / 2);
    }

    // The highest rise above the passband, dB; nothing when the model refuses the box.
    std::optional<double> peak_db(double vb, double fb) const {
        const auto m = model(vb, fb, false);
        if (!m) {
            return std::nullopt;
        }
        return highest_excess_db(*m);
    }

    bool without_peak(double vb, double fb) const {
        const auto peak = peak_db(vb, fb);
        return peak && *peak <= peak_tolerance_db;
    }

    // The volume's flat tuning, when it has no peak.
    std::optional<double> flat_box(double vb) const {
        const auto fb = flat_tuning(vb);
        if (fb && without_peak(vb, *fb)) {
            return fb;
        }
        return std::nullopt;
    }

    struct Tuned {
        double fb = 0;
        bool flat = true;
    };

    // The flat tuning without a peak, or the highest tuning below it (or below
    // the highest tuning, when the flat one lies above it) without one.
    std::optional<Tuned> tuned_box(double vb) const {
        const auto flat = flat_tuning(vb);
        double start = limits::fb_hz.high;
        if (flat) {
            if (without_peak(vb, *flat)) {
                return Tuned{*flat, true};
            }
            start = *flat;
        }
        double above = start; // with a peak
        const double lowest = std::max(limits::fb_hz.low, start / tuning_scan_depth);
        for (double fb = start; fb >= lowest; fb *= tuning_step) {
            if (without_peak(vb, fb)) {
                if (fb == start) {
                    return Tuned{fb, false};
                }
                // Between the last tuning with a peak and this one.
                double low = std::log(fb);
                double high = std::log(above);
                for (int i = 0; i < bisection_steps; ++i) {
                    const double mid = (low + high) / 2;
                    (without_peak(vb, std::exp(mid)) ? low : high) = mid;
                }
                return Tuned{std::exp(low), false};
            }
            above = fb;
        }
        return std::nullopt;
    }

    // F3 of the whole model, inductance included.
    std::optional<double> f3(double vb, double fb) const {
        const auto m = model(vb, fb, true);
        return m ? f3_hz(*m) : std::nullopt;
    }

    // The suggestion for a box found.
    BoxSuggestion result(BoxSuggestion out, double vb, double fb, bool flat) const {
        const auto m = model(vb, fb, true);
        out.vb_m3 = vb;
        out.fb_hz = fb;
        out.flat_tuning = flat;
        out.input = real_;
        out.input.box.vb_m3 = vb;
        out.input.box.fb_hz = fb;
        if (m) {
            out.f3_hz = f3_hz(*m);
            const HighestVelocity v = highest_port_velocity(*m);
            out.highest_port_velocity = v.velocity;
            out.highest_port_velocity_hz = v.frequency_hz;
            out.alignment =
                nearest_alignment(m->driver.qts, real_.driver.vas_m3 * real_.driver.count / vb,
                                  fb / real_.driver.fs_hz);
        }
        out.peak_db = peak_db(vb, fb).value_or(0);
        return out;
    }

private:
    EnclosureInput real_;
    EnclosureInput shape_;
    double low_volume_ = 0;
    double high_volume_ = 0;
};

// The input as the model takes it, or its error.
std::optional<InputError> refused(const EnclosureInput& input) {
    const auto model = solve_enclosure(input);
    if (!model) {
        return model.error();
    }
    return std::nullopt;
}

} // namespace

std::string_view alignment_name(Alignment alignment) {
    switch (alignment) {
    case Alignment::qb3:
        return "QB3";
    case Alignment::b4:
        return "B4";
    case Alignment::sbb4:
        return "SBB4";
    case Alignment::c4:
        return "C4";
    case Alignment::none:
        break;
    }
    return {};
}

std::optional<AlignmentPoint> classical_alignment(Alignment alignment, double qts) {
    if (!(qts > 0) || !std::isfinite(qts)) {
        return std::nullopt;
    }
    const double q2 = qts * qts;
    switch (alignment) {
    case Alignment::b4:
        return std::fabs(qts / b4_qts - 1) <= b4_closeness ? std::optional(b4_point) : std::nullopt;
    case Alignment::qb3: {
        // Flat at the top to the third term: a1^2 = 2 a2 and a2^2 + 2 = 2 a1 a3,
        // so h^2 = 1 / (8 Qts^2 (1 - Qts^2)) and alpha = 1/(2 Qts^2) - 1 - h^2.
        if (qts > b4_qts) {
            return std::nullopt;
        }
        const double h2 = 1 / (8 * q2 * (1 - q2));
        return point_of(1 / (2 * q2) - 1 - h2, std::sqrt(h2));
    }
    case Alignment::sbb4: {
        // Flat at the bottom: a3^2 = 2 a2 and a2^2 + 2 = 2 a1 a3, so a2 =
        // sqrt(2/Qts^2 - 2) and h = 2 a2 Qts^2.
        if (qts > b4_qts) {
            return std::nullopt;
        }
        const double a2 = std::sqrt(2 / q2 - 2);
        const double h = 2 * a2 * q2;
        return point_of(a2 * h - 1 - h * h, h);
    }
    case Alignment::c4:
        return c4_point(qts);
    case Alignment::none:
        break;
    }
    return std::nullopt;
}

Alignment nearest_alignment(double qts, double alpha, double h) {
    const auto here = point_of(alpha, h);
    if (!here) {
        return Alignment::none;
    }
    Alignment best = Alignment::none;
    double best_distance = std::log(1 + alignment_tolerance);
    std::optional<AlignmentPoint> best_point;
    for (const Alignment family : {Alignment::qb3, Alignment::sbb4, Alignment::c4}) {
        const auto point = classical_alignment(family, qts);
        if (point && distance(*here, *point) <= best_distance) {
            best = family;
            best_distance = distance(*here, *point);
            best_point = point;
        }
    }
    // Where the families meet, at Qts 0.3827, they are the Butterworth alignment.
    if (best_point && distance(*best_point, b4_point) <= std::log(1 + b4_closeness)) {
        return Alignment::b4;
    }
    return best;
}

HighestVelocity highest_port_velocity(const SolvedEnclosure& model, double low_hz, double high_hz) {
    low_hz = std::clamp(low_hz, limits::frequency_hz.low, limits::frequency_hz.high);
    high_hz = std::clamp(high_hz, low_hz, limits::frequency_hz.high);
    const auto velocity = [&model](double ln_f) {
        return response_at(model, std::exp(ln_f)).port_velocity;
    };
    const auto [ln_f, v] =
        highest(velocity, std::log(low_hz), std::log(high_hz), velocity_scan_points);
    return {v, std::exp(ln_f)};
}

Checked<BoxSuggestion> flattest_box(const EnclosureInput& input) {
    if (auto error = refused(input)) {
        return *error;
    }
    const Search search(input);
    BoxSuggestion out;
    out.kind = SuggestionKind::flattest;

    // The lowest F3 among the volumes whose flat tuning has no peak; a volume
    // without one counts as an F3 of infinity.
    const auto f3_of = [&search](double ln_vb) {
        const double vb = std::exp(ln_vb);
        const auto fb = search.flat_box(vb);
        const auto f3 = fb ? search.f3(vb, *fb) : std::nullopt;
        return f3 ? -*f3 : -infinity;
    };
    const double low = std::log(search.low_volume());
    const double high = std::log(search.high_volume());
    const auto [ln_vb, minus_f3] = highest(f3_of, low, high, volume_points);
    if (!std::isfinite(minus_f3)) {
        out.problem = SuggestionProblem::no_flat_box;
        return out;
    }
    const double vb = std::exp(ln_vb);
    return search.result(out, vb, *search.flat_box(vb), true);
}

Checked<BoxSuggestion> box_for_volume(const EnclosureInput& input, double vb_m3) {
    if (auto error = refused(input)) {
        return *error;
    }
    BoxSuggestion out;
    out.kind = SuggestionKind::given_volume;
    out.target = vb_m3;
    if (check_input(Field::vb, vb_m3)) {
        out.problem = SuggestionProblem::target_out_of_range;
        return out;
    }
    const Search search(input);
    if (const auto tuned = search.tuned_box(vb_m3)) {
        return search.result(out, vb_m3, tuned->fb, tuned->flat);
    }
    out.problem = SuggestionProblem::volume_peaks;
    // The smallest volume of the grid above this one that has a tuning without a
    // peak, then the edge between it and the one below.
    for (int i = 0; i < volume_points; ++i) {
        const double vb = search.grid_volume(i);
        if (vb <= vb_m3 || !search.tuned_box(vb)) {
            continue;
        }
        double low = std::log(std::max(vb_m3, i > 0 ? search.grid_volume(i - 1) : vb_m3));
        double high = std::log(vb);
        for (int k = 0; k < bisection_steps / 2; ++k) {
            const double mid = (low + high) / 2;
            (search.tuned_box(std::exp(mid)) ? high : low) = mid;
        }
        out.smallest_volume_m3 = std::exp(high);
        break;
    }
    return out;
}

Checked<BoxSuggestion> box_for_f3(const EnclosureInput& input, double f3_hz) {
    if (auto error = refused(input)) {
        return *error;
    }
    BoxSuggestion out;
    out.kind = SuggestionKind::given_f3;
    out.target = f3_hz;
    if (check_input(Field::fb, f3_hz)) {
        out.problem = SuggestionProblem::target_out_of_range;
        return out;
    }
    const Search search(input);
    // Whether a volume, tuned as for a given volume, reaches the F3; the lowest
    // F3 seen is kept for the message when none does.
    const auto reaches = [&](double vb) -> std::optional<Search::Tuned> {
        const auto tuned = search.tuned_box(vb);
        if (!tuned) {
            return std::nullopt;
        }
        const auto f3 = search.f3(vb, tuned->fb);
        if (!f3) {
            return std::nullopt;
        }
        if (out.lowest_f3_hz == 0 || *f3 < out.lowest_f3_hz) {
            out.lowest_f3_hz = *f3;
            out.lowest_f3_volume_m3 = vb;
        }
        return *f3 <= f3_hz ? tuned : std::nullopt;
    };
    for (int i = 0; i < volume_points; ++i) {
        const double vb = search.grid_volume(i);
        auto tuned = reaches(vb);
        if (!tuned) {
            continue;
        }
        double found = vb;
        if (i > 0) {
            double low = std::log(search.grid_volume(i - 1));
            double high = std::log(vb);
            for (int k = 0; k < bisection_steps / 2; ++k) {
                const double mid = (low + high) / 2;
                if (const auto t = reaches(std::exp(mid))) {
                    high = mid;
                    found = std::exp(mid);
                    tuned = t;
                } else {
                    low = mid;
                }
            }
        }
        return search.result(out, found, tuned->fb, tuned->flat);
    }
    out.problem = SuggestionProblem::f3_unreachable;
    return out;
}

} // namespace venturon
