#include "velocity_graph.h"

#include "number_text.h"

#include <QString>

#include <algorithm>
#include <cfloat>
#include <cmath>

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

} // namespace

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

    const double top = H - 2;
    for (double v = 5 * m; v <= top; v += 10 * m) {
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

    d.set_foreground(graph_colour::core_text);
    d.point(f32(4.1), f32(0.95 * H - in.core_limit[3]));
    d.print(QStringLiteral("Core Limit"));
    d.set_foreground(graph_colour::chuffing_text);
    d.point(f32(4.1), f32(0.95 * H - in.chuff_limit[3]));
    d.print(QStringLiteral("Chuffing"));
    if (in.full_mode) {
        d.set_foreground(graph_colour::required_text);
        d.point(f32(4.1), f32(0.95 * H - r[3]));
        d.print(QStringLiteral("Required"));
    }
    return out;
}

} // namespace venturon
