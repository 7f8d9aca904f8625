#include "filters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace venturon {

namespace {

using Complex = std::complex<double>;

constexpr double pi = std::numbers::pi;

// Reverse Bessel polynomials, ascending powers: theta_n(s) = sum c_k s^k; the
// low-pass prototype theta_n(0) / theta_n(s) has a group delay of 1 s at DC.
constexpr std::array<std::array<double, 5>, 3> bessel_coefficients{{
    {3, 3, 1, 0, 0},
    {15, 15, 6, 1, 0},
    {105, 105, 45, 10, 1},
}};

const std::array<double, 5>& bessel_polynomial(int order) {
    return bessel_coefficients[static_cast<std::size_t>(std::clamp(order, 2, 4) - 2)];
}

// The polynomial and its derivative at v.
std::pair<Complex, Complex> bessel_at(int order, Complex v) {
    const auto& c = bessel_polynomial(order);
    Complex p = 0;
    Complex dp = 0;
    for (int k = std::clamp(order, 2, 4); k >= 0; --k) {
        dp = dp * v + p;
        p = p * v + c[static_cast<std::size_t>(k)];
    }
    return {p, dp};
}

// Gain and d ln H / du of the sections, u = s / omega0 = j f / f0.
FilterResponse first_order(Complex u) {
    return {u / (u + 1.0), 1.0 / u - 1.0 / (u + 1.0)};
}

FilterResponse second_order(Complex u, double q) {
    const Complex d = u * u + u / q + 1.0;
    return {u * u / d, 2.0 / u - (2.0 * u + 1 / q) / d};
}

void series(FilterResponse& total, const FilterResponse& stage) {
    total.gain *= stage.gain;
    total.log_slope += stage.log_slope;
}

// Butterworth of order n: its poles lie on the unit circle at angles
// (n - 2k + 1) pi / (2n) from the negative real axis, k = 1 .. n/2, in pairs of
// Q = 1 / (2 cos angle), and one on the axis itself when n is odd.
FilterResponse butterworth(Complex u, int n) {
    FilterResponse out;
    for (int k = 1; 2 * k <= n; ++k) {
        const double angle = (n - 2 * k + 1) * pi / (2 * n);
        series(out, second_order(u, 1 / (2 * std::cos(angle))));
    }
    if (n % 2 == 1) {
        series(out, first_order(u));
    }
    return out;
}

// The low-pass prototype theta(0) / theta(w) turned high-pass by w = a / u, with a
// its -3 dB frequency, so that the high-pass is -3 dB at u = j.
FilterResponse bessel(Complex u, int n) {
    const double a = bessel_cutoff(n);
    const Complex v = a / u;
    const auto [p, dp] = bessel_at(n, v);
    const double c0 = bessel_polynomial(n)[0];
    return {c0 / p, dp / p * a / (u * u)};
}

double squared_gain(int order, double w) {
    const Complex p = bessel_at(order, Complex{0, w}).first;
    const double c0 = bessel_polynomial(order)[0];
    return c0 * c0 / std::norm(p);
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One decimal number filling the whole text, finite.
std::optional<double> number(std::string_view text) {
    text = trim(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Digits only, a few of them.
std::optional<int> whole(std::string_view text) {
    text = trim(text);
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct KindWord {
    std::string_view word;
    FilterKind kind;
};
// "bessel" before "bw": no word starts another, but the longest is tried first.
constexpr std::array<KindWord, 4> kind_words{{
    {"bessel", FilterKind::bessel},
    {"bw", FilterKind::butterworth},
    {"lr", FilterKind::linkwitz_riley},
    {"q", FilterKind::second_order},
}};

bool starts_with_word(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != word[i]) {
            return false;
        }
    }
    return true;
}

Field order_field(FilterKind kind) {
    switch (kind) {
    case FilterKind::linkwitz_riley:
        return Field::linkwitz_riley_order;
    case FilterKind::bessel:
        return Field::bessel_order;
    default:
        return Field::butterworth_order;
    }
}

std::string shortest(double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

} // namespace

double bessel_cutoff(int order) {
    static const std::array<double, 3> cutoffs = [] {
        std::array<double, 3> out{};
        for (int n = 2; n <= 4; ++n) {
            // The gain falls steadily from 1 at DC: halve the bracket around 1/2.
            double low = 0.1;
            double high = 10;
            for (int i = 0; i < 100; ++i) {
                const double mid = (low + high) / 2;
                (squared_gain(n, mid) > 0.5 ? low : high) = mid;
            }
            out[static_cast<std::size_t>(n - 2)] = (low + high) / 2;
        }
        return out;
    }();
    return cutoffs[static_cast<std::size_t>(std::clamp(order, 2, 4) - 2)];
}

FilterResponse filter_response(const FilterStage& stage, double frequency_hz) {
    const double f0 = stage.frequency_hz > 0 ? stage.frequency_hz : 1;
    const double f = frequency_hz > 0 ? frequency_hz : 1e-9;
    const Complex u{0, f / f0};
    FilterResponse out;
    const int n = std::clamp(stage.order, 1, 8);
    switch (stage.kind) {
    case FilterKind::butterworth:
        out = butterworth(u, n);
        break;
    case FilterKind::linkwitz_riley: {
        const FilterResponse half = butterworth(u, std::max(1, n / 2));
        out = {half.gain * half.gain, 2.0 * half.log_slope};
        break;
    }
    case FilterKind::bessel:
        out = bessel(u, n);
        break;
    case FilterKind::second_order:
        out = second_order(u, stage.q > 0 ? stage.q : 1);
        break;
    }
    // d ln H / du to d ln H / ds: u = s / omega0.
    out.log_slope /= 2 * pi * f0;
    return out;
}

FilterResponse chain_response(std::span<const FilterStage> stages, double frequency_hz) {
    FilterResponse out;
    for (const FilterStage& stage : stages) {
        series(out, filter_response(stage, frequency_hz));
    }
    return out;
}

std::optional<InputError> check_filter(const FilterStage& stage) {
    if (stage.kind != FilterKind::second_order) {
        const Field field = order_field(stage.kind);
        // An order is a count: its error says it must be whole.
        if (auto error = check_input(field, stage.order, Scale::file)) {
            error->scale = Scale::model;
            return error;
        }
        if (stage.kind == FilterKind::linkwitz_riley && stage.order != 2 && stage.order != 4 &&
            stage.order != 8) {
            return InputError{field, Problem::lr_order, Scale::model,
                              static_cast<double>(stage.order)};
        }
    } else if (auto error = check_input(Field::highpass_q, stage.q)) {
        return error;
    }
    return check_input(Field::highpass_frequency, stage.frequency_hz);
}

std::optional<InputError> check_filters(std::span<const FilterStage> stages) {
    if (stages.size() > max_filter_stages) {
        return InputError{Field::highpass_count, Problem::not_whole, Scale::model,
                          static_cast<double>(stages.size())};
    }
    for (std::size_t i = 0; i < stages.size(); ++i) {
        if (auto error = check_filter(stages[i])) {
            error->item = static_cast<int>(i + 1);
            return error;
        }
    }
    return std::nullopt;
}

std::string filter_text(const FilterStage& stage) {
    std::string out;
    for (const KindWord& k : kind_words) {
        if (k.kind == stage.kind) {
            out = k.word;
        }
    }
    out += stage.kind == FilterKind::second_order ? shortest(stage.q) : std::to_string(stage.order);
    return out + "@" + shortest(stage.frequency_hz);
}

std::optional<FilterStage> read_filter(std::string_view text) {
    const auto at = text.find('@');
    if (at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view left = trim(text.substr(0, at));
    const auto frequency = number(text.substr(at + 1));
    if (!frequency) {
        return std::nullopt;
    }
    for (const KindWord& k : kind_words) {
        if (!starts_with_word(left, k.word)) {
            continue;
        }
        const std::string_view rest = left.substr(k.word.size());
        FilterStage stage;
        stage.kind = k.kind;
        stage.frequency_hz = *frequency;
        if (k.kind == FilterKind::second_order) {
            const auto q = number(rest);
            if (!q) {
                return std::nullopt;
            }
            stage.q = *q;
        } else {
            const auto order = whole(rest);
            if (!order) {
                return std::nullopt;
            }
            stage.order = *order;
        }
        return stage;
    }
    return std::nullopt;
}

Checked<FilterStage> parse_filter(std::string_view text) {
    const auto stage = read_filter(text);
    if (!stage) {
        return InputError{Field::highpass_frequency, Problem::filter_syntax, Scale::model};
    }
    if (auto error = check_filter(*stage)) {
        return *error;
    }
    return *stage;
}

} // namespace venturon
