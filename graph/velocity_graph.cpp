#include "velocity_graph.h"

#include "number_text.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>

namespace venturon {

namespace {

// Coordinates pass through 32 bits; out-of-range values saturate instead of
// becoming infinite, so a line towards an absurd value keeps its direction.
double f32(double v) {
    return static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
}

// Grid lines, labels and marker dashes are drawn every `step` m/s; for graphs far
// taller than any real port needs, the steps grow by powers of ten so that a
// drawing never holds more than a few hundred of each.
double step_multiplier(double height) {
    constexpr double most_grid_lines = 250;
    double m = 1;
    while (height / (5 * m) > most_grid_lines) {
        m *= 10;
    }
    return m;
}

QString digits(double v) {
    return QString::fromStdString(number_text_trimmed(v));
}

// Sizes at which the picture is shown, for keeping its texts apart.
struct TextSpace {
    double pixels_per_unit = 0; // vertical, pixels per m/s
    double picture_height = 0;  // pixels
    double text_height = 0;     // pixels, one line of the drawing's font
};

std::optional<TextSpace> text_space(const Drawing& d, const VelocityGraphInput& in, double H) {
    const double height = in.picture_size.height();
    if (!(height > 0) || !(in.picture_size.width() > 0) || !(H > 0)) {
        return std::nullopt;
    }
    const TextSpace space{height / H, height, QFontMetricsF(d.font()).height()};
    if (!std::isfinite(space.pixels_per_unit) || !(space.pixels_per_unit > 0)) {
        return std::nullopt;
    }
    return space;
}

// The step of the velocity labels: every 10 m/s (times the grid's multiplier),
// or, where labels that close would overlap, the next of 20, 50, 100, 200, ...
// that keeps them apart.
double label_step(double m, const std::optional<TextSpace>& space) {
    double step = 10 * m;
    if (!space) {
        return step;
    }
    for (int i = 0; i < 400 && step * space->pixels_per_unit < space->text_height; ++i) {
        const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        const double mantissa = step / decade;
        step = (mantissa < 1.5 ? 2 : mantissa < 3.5 ? 5 : 10) * decade;
    }
    return step;
}

// Tops (m/s below the top edge, as the picture's y) of the legend texts. Where at
// the picture's size two of them would overlap, or one would reach beyond the top
// or bottom edge, those move just enough to clear each other and stay inside;
// the others keep their places.
template <std::size_t N>
std::array<double, N> legend_tops(std::array<double, N> y, const std::optional<TextSpace>& space) {
    if (!space) {
        return y;
    }
    const double h = space->text_height;
    const double bottom = space->picture_height - h; // the lowest top that stays inside
    std::array<double, N> top{};
    for (std::size_t i = 0; i < N; ++i) {
        top[i] = y[i] * space->pixels_per_unit;
    }
    bool clear = true;
    for (std::size_t i = 0; i < N; ++i) {
        clear = clear && top[i] >= 0 && top[i] <= bottom;
        for (std::size_t j = i + 1; j < N; ++j) {
            clear = clear && std::fabs(top[i] - top[j]) >= h;
        }
    }
    if (clear) {
        return y;
    }
    std::array<std::size_t, N> order{};
    for (std::size_t i = 0; i < N; ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return top[a] < top[b]; });
    // Moved texts keep half a pixel from the edges and a pixel from each other, so
    // that rounding on the way to the screen cannot make them touch.
    const double margin = 0.5;
    const double line = h + 1;
    const double lowest = std::max(margin, bottom - margin);
    for (std::size_t k = 0; k < N; ++k) {
        double& t = top[order[k]];
        t = std::clamp(t, margin, lowest);
        if (k > 0) {
            t = std::max(t, top[order[k - 1]] + line);
        }
    }
    for (std::size_t k = N; k-- > 0;) {
        double& t = top[order[k]];
        t = std::min(t, k + 1 < N ? top[order[k + 1]] - line : lowest);
    }
    for (std::size_t i = 0; i < N; ++i) {
        // A picture too low for all of them keeps the first at the top edge.
        y[i] = std::max(top[i], 0.0) / space->pixels_per_unit;
    }
    return y;
}

} // namespace

namespace {
// "12.3, 14, 19.4 and 25.1": four values to one decimal.
QString four_values(const std::array<double, 4>& values) {
    QStringList texts;
    for (double v : values) {
        texts << digits(std::round(v * 10) / 10);
    }
    return texts[0] + QStringLiteral(", ") + texts[1] + QStringLiteral(", ") + texts[2] +
           QStringLiteral(" and ") + texts[3];
}
} // namespace

QString describe_velocity_graph(const VelocityGraphInput& in) {
    QString text =
        QStringLiteral("Velocity against frequency. At 20, 25, 30 and 35 Hz: core limit ") +
        four_values(in.core_limit) + QStringLiteral(" m/s; chuffing limit ") +
        four_values(in.chuff_limit) + QStringLiteral(" m/s");
    if (in.full_mode) {
        text += QStringLiteral("; required velocity ") + four_values(in.required) +
                QStringLiteral(" m/s.");
    } else {
        text += QStringLiteral(". Tracked frequency ") + digits(in.tracked_frequency) +
                QStringLiteral(" Hz.");
    }
    return text;
}

VelocityGraphInput velocity_graph_input(const std::array<double, 4>& core_limit,
                                        const std::array<double, 4>& chuff_limit,
                                        const std::array<double, 4>& required) {
    VelocityGraphInput in;
    in.core_limit = core_limit;
    in.chuff_limit = chuff_limit;
    in.required = required;
    return in;
}

VelocityGraphOutput draw_velocity_graph(Drawing& d, const VelocityGraphInput& in) {
    VelocityGraphOutput out;
    out.top_velocity_label = in.top_velocity_label;

    d.set_scale(5, d.scale_height());
    out.graph_max_velocity = in.core_limit[3];
    for (double v : in.required) {
        if (v > out.graph_max_velocity) {
            out.graph_max_velocity = v;
        }
    }
    constexpr double tallest = 1e30; // far beyond any port; keeps H a finite float
    out.graph_max_velocity = std::clamp(out.graph_max_velocity, -tallest, tallest);
    const double H = f32(out.graph_max_velocity + 5);
    d.set_scale(5, H);
    const double m = step_multiplier(H);

    d.clear();
    d.set_pen_width(1);
    d.set_foreground(graph_colour::label);

    const double width = d.scale_width();
    for (double x = 0; x <= width; x += 1) {
        d.line(x, 0, x, H, graph_colour::grid);
    }
    for (double v = 0; v <= H; v += 5 * m) {
        d.line(0, f32(H - v), 5, f32(H - v), graph_colour::grid);
    }

    if (!in.full_mode) {
        const double xm = f32(std::floor(double(in.tracked_frequency) - 15) / 5);
        for (double v = 0; v <= H; v += 2 * m) {
            d.line(xm, f32(H - v), xm, f32(H - v - m), graph_colour::marker);
            d.line(xm, f32(H - v - m), xm, f32(H - v - 2 * m), Qt::white);
        }
    }

    d.set_foreground(graph_colour::label);
    d.set_pen_width(1);
    const double label_row = f32(0.85 * H);
    for (int x = 1; x <= 3; ++x) {
        d.point(f32(x - 0.05), label_row);
        d.print(QString::number(5 * x + 15));
    }
    d.point(3.95, label_row);
    d.print(QStringLiteral("35hz"));

    const std::optional<TextSpace> space = text_space(d, in, H);
    const double step = label_step(m, space);
    const double top = H - 2;
    for (double v = step == 10 * m ? 5 * m : step; v <= top; v += step) {
        d.point(0.05, f32(H - v - 2));
        d.print(digits(v));
        out.top_velocity_label = v;
    }
    d.point(0.05, f32(H - out.top_velocity_label - 2));
    d.print(digits(out.top_velocity_label) + QStringLiteral("m/s"));

    d.set_pen_width(2);
    const auto& r = in.required;
    if (in.full_mode) {
        for (int i = 0; i < 3; ++i) {
            d.line(i + 1, f32(H - r[i]), i + 2, f32(H - r[i + 1]), graph_colour::required_line);
        }
        for (int i = 0; i < 4; ++i) {
            const double x = i + 1;
            d.line(f32(x - 0.1), f32(H - r[i]), f32(x + 0.1), f32(H - r[i]), graph_colour::cross);
            d.line(x, f32(0.95 * H - r[i]), x, f32(1.05 * H - r[i]), graph_colour::cross);
        }
    }
    for (int i = 0; i < 3; ++i) {
        d.line(i + 1, f32(H - in.core_limit[i]), i + 2, f32(H - in.core_limit[i + 1]),
               graph_colour::core_line);
    }
    for (int i = 0; i < 3; ++i) {
        d.line(i + 1, f32(H - in.chuff_limit[i]), i + 2, f32(H - in.chuff_limit[i + 1]),
               graph_colour::chuffing_line);
    }

    struct Legend {
        QColor colour;
        double value;
        QString text;
    };
    const std::array<Legend, 3> legends{{
        {graph_colour::core_text, in.core_limit[3], QStringLiteral("Core Limit")},
        {graph_colour::chuffing_text, in.chuff_limit[3], QStringLiteral("Chuffing")},
        {graph_colour::required_text, r[3], QStringLiteral("Required")},
    }};
    const std::size_t shown = in.full_mode ? 3 : 2;
    std::array<double, 3> y{};
    for (std::size_t i = 0; i < 3; ++i) {
        y[i] = f32(0.95 * H - legends[i].value);
    }
    if (shown == 3) {
        y = legend_tops(y, space);
    } else {
        const auto two = legend_tops(std::array<double, 2>{y[0], y[1]}, space);
        y[0] = two[0];
        y[1] = two[1];
    }
    for (std::size_t i = 0; i < shown; ++i) {
        d.set_foreground(legends[i].colour);
        d.point(f32(4.1), f32(y[i]));
        d.print(legends[i].text);
    }
    return out;
}

} // namespace venturon
