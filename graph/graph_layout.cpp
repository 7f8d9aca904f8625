#include "graph_layout.h"

#include "number_text.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>
#include <vector>

namespace venturon {

double f32(double v) {
    return static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
}

QString digits(double v) {
    return QString::fromStdString(number_text_trimmed(v));
}

double grid_multiplier(double height, double step) {
    constexpr double most_grid_lines = 250;
    double m = 1;
    while (height / (step * m) > most_grid_lines) {
        m *= 10;
    }
    return m;
}

std::optional<TextSpace> text_space(const Drawing& drawing, QSizeF picture_size, double height) {
    if (!(picture_size.height() > 0) || !(picture_size.width() > 0) || !(height > 0)) {
        return std::nullopt;
    }
    const TextSpace space{picture_size.height() / height, picture_size.height(),
                          QFontMetricsF(drawing.font()).height()};
    if (!std::isfinite(space.pixels_per_unit) || !(space.pixels_per_unit > 0)) {
        return std::nullopt;
    }
    return space;
}

double next_round_step(double step) {
    const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / decade;
    return (mantissa < 1.5 ? 2 : mantissa < 3.5 ? 5 : 10) * decade;
}

double label_step(double step, const std::optional<TextSpace>& space) {
    if (!space) {
        return step;
    }
    for (int i = 0; i < 400 && step * space->pixels_per_unit < space->text_height; ++i) {
        step = next_round_step(step);
    }
    return step;
}

void keep_legends_apart(std::span<double> y, const std::optional<TextSpace>& space) {
    if (!space) {
        return;
    }
    const std::size_t n = y.size();
    const double h = space->text_height;
    const double bottom = space->picture_height - h; // the lowest top that stays inside
    std::vector<double> top(n);
    for (std::size_t i = 0; i < n; ++i) {
        top[i] = y[i] * space->pixels_per_unit;
    }
    bool clear = true;
    for (std::size_t i = 0; i < n; ++i) {
        clear = clear && top[i] >= 0 && top[i] <= bottom;
        for (std::size_t j = i + 1; j < n; ++j) {
            clear = clear && std::fabs(top[i] - top[j]) >= h;
        }
    }
    if (clear) {
        return;
    }
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return top[a] < top[b]; });
    // Moved texts keep half a pixel from the edges and a pixel from each other, so
    // that rounding on the way to the screen cannot make them touch.
    const double margin = 0.5;
    const double line = h + 1;
    const double lowest = std::max(margin, bottom - margin);
    for (std::size_t k = 0; k < n; ++k) {
        double& t = top[order[k]];
        t = std::clamp(t, margin, lowest);
        if (k > 0) {
            t = std::max(t, top[order[k - 1]] + line);
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        double& t = top[order[k]];
        t = std::min(t, k + 1 < n ? top[order[k + 1]] - line : lowest);
    }
    for (std::size_t i = 0; i < n; ++i) {
        // A picture too low for all of them keeps the first at the top edge.
        y[i] = std::max(top[i], 0.0) / space->pixels_per_unit;
    }
}

} // namespace venturon
