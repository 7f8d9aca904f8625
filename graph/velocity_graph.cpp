#include "velocity_graph.h"

#include "graph_layout.h"

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
    const double m = grid_multiplier(H, 5);

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

    const std::optional<TextSpace> space = text_space(d, in.picture_size, H);
    const double step = label_step(10 * m, space);
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
    keep_legends_apart(std::span<double>(y.data(), shown), space);
    for (std::size_t i = 0; i < shown; ++i) {
        d.set_foreground(legends[i].colour);
        d.point(f32(4.1), f32(y[i]));
        d.print(legends[i].text);
    }
    return out;
}

} // namespace venturon
