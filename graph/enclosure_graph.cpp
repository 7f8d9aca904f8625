#include "enclosure_graph.h"

#include "graph_layout.h"

#include <QFontMetricsF>
#include <QString>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace venturon {

namespace {

// The plot takes x from 0 to 5 in the user scale, as in the velocity graph; the
// legends stand in a column to its right.
constexpr double plot_width = 5;
constexpr double legend_x = 5.1;
constexpr double scale_width = 6.6;

// Far beyond any port or cone; keeps the scale a finite float.
constexpr double tallest = 1e30;

// A value fit for drawing: not a number counts as 0, the rest is held within tallest.
double clean(double v) {
    return std::isnan(v) ? 0 : std::clamp(v, -tallest, tallest);
}

// Every sample, or, for very long inputs, every k-th and the last.
template <typename Sample> std::vector<Sample> thinned(const std::vector<Sample>& samples) {
    if (samples.size() <= enclosure_graph_max_samples) {
        return samples;
    }
    const std::size_t k =
        (samples.size() + enclosure_graph_max_samples - 2) / (enclosure_graph_max_samples - 1);
    std::vector<Sample> out;
    std::size_t i = 0;
    for (; i < samples.size(); i += k) {
        out.push_back(samples[i]);
    }
    if (i - k != samples.size() - 1) {
        out.push_back(samples.back());
    }
    return out;
}

// How a stretch of curve stands against its limits.
enum class Level { within, over_low, over_high };

struct Point {
    double x = 0;
    double value = 0;
    double low_limit = 0;  // chuffing, or Xmax
    double high_limit = 0; // core; the same as low_limit where there is one limit
};

Level level_of(const Point& p) {
    if (p.value > p.high_limit) {
        return Level::over_high;
    }
    return p.value > p.low_limit ? Level::over_low : Level::within;
}

Point between(const Point& a, const Point& b, double t) {
    auto mix = [t](double u, double v) { return u + (v - u) * t; };
    return {mix(a.x, b.x), mix(a.value, b.value), mix(a.low_limit, b.low_limit),
            mix(a.high_limit, b.high_limit)};
}

struct CurveColours {
    QColor within;
    QColor over_low;
    QColor over_high;
};

// The curve through the points, each stretch in the colour of its level: a segment
// that crosses a limit is split where it does.
void draw_curve(Drawing& d, double H, const std::vector<Point>& points, const CurveColours& c) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[i + 1];
        // The stretch's ends and where it crosses each limit, in order along it.
        std::array<double, 4> cuts{0, 1, 1, 1};
        std::size_t n = 1;
        for (auto limit : {&Point::low_limit, &Point::high_limit}) {
            const double da = a.value - a.*limit;
            const double db = b.value - b.*limit;
            if ((da < 0 && db > 0) || (da > 0 && db < 0)) {
                cuts[n++] = da / (da - db);
            }
        }
        if (n == 3 && cuts[1] > cuts[2]) {
            std::swap(cuts[1], cuts[2]);
        }
        cuts[n++] = 1;
        for (std::size_t k = 0; k + 1 < n; ++k) {
            if (!(cuts[k + 1] > cuts[k])) {
                continue;
            }
            const Point from = between(a, b, cuts[k]);
            const Point to = between(a, b, cuts[k + 1]);
            const Level level = level_of(between(a, b, (cuts[k] + cuts[k + 1]) / 2));
            const QColor& colour = level == Level::over_high  ? c.over_high
                                   : level == Level::over_low ? c.over_low
                                                              : c.within;
            d.line(f32(from.x), f32(H - from.value), f32(to.x), f32(H - to.value), colour);
        }
    }
}

// A stroke from the lowest limit a point passes up to the curve, in the shade of
// the highest one.
void draw_shading(Drawing& d, double H, const std::vector<Point>& points, const QColor& low_shade,
                  const QColor& high_shade) {
    for (const Point& p : points) {
        const Level level = level_of(p);
        if (level == Level::within) {
            continue;
        }
        const double from = std::min(p.low_limit, p.high_limit);
        d.line(f32(p.x), f32(H - from), f32(p.x), f32(H - p.value),
               level == Level::over_high ? high_shade : low_shade);
    }
}

// Lines through a series of (x, value) points in one colour.
template <typename Value>
void draw_polyline(Drawing& d, double H, const std::vector<Point>& points, Value value,
                   const QColor& colour) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        d.line(f32(points[i].x), f32(H - value(points[i])), f32(points[i + 1].x),
               f32(H - value(points[i + 1])), colour);
    }
}

struct Legend {
    QColor colour;
    double value;
    QString text;
};

template <std::size_t N>
void draw_legends(Drawing& d, double H, const std::array<Legend, N>& legends,
                  const std::optional<TextSpace>& space) {
    std::array<double, N> y{};
    for (std::size_t i = 0; i < N; ++i) {
        y[i] = f32(0.95 * H - legends[i].value);
    }
    keep_legends_apart(y, space);
    for (std::size_t i = 0; i < N; ++i) {
        d.set_foreground(legends[i].colour);
        d.point(legend_x, f32(y[i]));
        d.print(legends[i].text);
    }
}

// Value labels at the left edge, every `step` from `first`, the top one with its
// unit; `lift` raises each text so that it stands beside its grid line.
void draw_value_labels(Drawing& d, double H, double first, double step, double lift,
                       const QString& unit) {
    d.set_foreground(graph_colour::label);
    double top_label = 0;
    const double top = H - lift;
    for (double v = first; v <= top; v += step) {
        d.point(0.05, f32(H - v - lift));
        d.print(digits(v));
        top_label = v;
    }
    d.point(0.05, f32(H - top_label - lift));
    d.print(digits(top_label) + unit);
}

double frequency_x(double f) {
    return (f - port_graph_low_hz) / (port_graph_high_hz - port_graph_low_hz) * plot_width;
}

double log_frequency_x(double f) {
    if (!(f > 0)) {
        return -tallest; // cut off at the left edge
    }
    return std::log(f / excursion_graph_low_hz) /
           std::log(excursion_graph_high_hz / excursion_graph_low_hz) * plot_width;
}

} // namespace

PortVelocityGraphInput port_velocity_graph_input(const SolvedEnclosure& model, double diameter_mm,
                                                 double radius_mm,
                                                 const AllowanceSelection& allowances, int points) {
    PortVelocityGraphInput in;
    const int n = std::clamp(points, 2, static_cast<int>(enclosure_graph_max_samples));
    in.samples.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double f = port_graph_low_hz +
                         (port_graph_high_hz - port_graph_low_hz) * i / static_cast<double>(n - 1);
        const auto frequency = static_cast<float>(f);
        in.samples.push_back({f, response_at(model, f).port_velocity,
                              core_limit(diameter_mm, frequency, allowances),
                              chuff_limit(diameter_mm, radius_mm, frequency, allowances)});
    }
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        in.design_velocity[i] = response_at(model, design_frequencies[i]).port_velocity;
    }
    return in;
}

ExcursionGraphInput excursion_graph_input(const SolvedEnclosure& model, int points) {
    ExcursionGraphInput in;
    const int n = std::clamp(points, 2, static_cast<int>(enclosure_graph_max_samples));
    const auto curve = response_curve(model, excursion_graph_low_hz, excursion_graph_high_hz, n);
    if (curve) {
        for (const ResponsePoint& p : *curve) {
            in.samples.push_back({p.frequency_hz, p.excursion_m * 1000});
        }
    }
    if (model.driver.xmax_m > 0) {
        in.xmax_mm = model.driver.xmax_m * 1000;
    }
    return in;
}

void draw_port_velocity_graph(Drawing& d, const PortVelocityGraphInput& in) {
    const auto samples = thinned(in.samples);
    std::vector<Point> points;
    points.reserve(samples.size());
    double top = 0;
    for (const auto& s : samples) {
        // Where the chuffing limit lies above the core limit, passing the core limit
        // is the worse, and counts as such.
        const Point p{frequency_x(clean(s.frequency_hz)), clean(s.velocity), clean(s.chuff_limit),
                      clean(s.core_limit)};
        points.push_back(p);
        top = std::max({top, p.value, p.low_limit, p.high_limit});
    }
    for (double v : in.design_velocity) {
        top = std::max(top, clean(v));
    }
    const double H = f32(top + 5);
    d.set_scale(scale_width, H);
    const double m = grid_multiplier(H, 5);

    d.clear();
    d.set_pen_width(1);
    for (double x = 0; x <= plot_width; x += 1) {
        d.line(x, 0, x, H, graph_colour::grid);
    }
    for (double v = 0; v <= H; v += 5 * m) {
        d.line(0, f32(H - v), plot_width, f32(H - v), graph_colour::grid);
    }
    for (double f : design_frequencies) {
        const double x = frequency_x(f);
        d.line(x, 0, x, H, enclosure_colour::design_marker);
    }
    draw_shading(d, H, points, enclosure_colour::chuffing_shade, enclosure_colour::core_shade);

    d.set_foreground(graph_colour::label);
    const double label_row = f32(0.85 * H);
    for (int i = 0; i < 3; ++i) {
        d.point(f32(frequency_x(design_frequencies[static_cast<std::size_t>(i)]) - 0.05),
                label_row);
        d.print(QString::number(20 + 5 * i));
    }
    d.point(f32(frequency_x(35) - 0.05), label_row);
    d.print(QStringLiteral("35hz"));

    const auto space = text_space(d, in.picture_size, H);
    const double step = label_step(10 * m, space);
    draw_value_labels(d, H, step == 10 * m ? 5 * m : step, step, 2, QStringLiteral("m/s"));

    d.set_pen_width(2);
    draw_polyline(
        d, H, points, [](const Point& p) { return p.high_limit; }, graph_colour::core_line);
    draw_polyline(
        d, H, points, [](const Point& p) { return p.low_limit; }, graph_colour::chuffing_line);
    draw_curve(
        d, H, points,
        {enclosure_colour::curve, enclosure_colour::over_chuffing, enclosure_colour::over_core});
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        const double x = frequency_x(design_frequencies[i]);
        const double v = clean(in.design_velocity[i]);
        d.line(f32(x - 0.1), f32(H - v), f32(x + 0.1), f32(H - v), graph_colour::cross);
        d.line(x, f32(0.95 * H - v), x, f32(1.05 * H - v), graph_colour::cross);
    }

    d.set_pen_width(1);
    const Point last = points.empty() ? Point{} : points.back();
    draw_legends(d, H,
                 std::array<Legend, 3>{{
                     {graph_colour::core_text, last.high_limit, QStringLiteral("Core Limit")},
                     {graph_colour::chuffing_text, last.low_limit, QStringLiteral("Chuffing")},
                     {enclosure_colour::curve, last.value, QStringLiteral("Port velocity")},
                 }},
                 space);
}

void draw_excursion_graph(Drawing& d, const ExcursionGraphInput& in) {
    const auto samples = thinned(in.samples);
    const bool has_xmax = in.xmax_mm && *in.xmax_mm > 0 && std::isfinite(*in.xmax_mm);
    const double xmax = has_xmax ? std::min(*in.xmax_mm, tallest) : tallest;
    std::vector<Point> points;
    points.reserve(samples.size());
    double top = has_xmax ? xmax : 0;
    for (const auto& s : samples) {
        const Point p{log_frequency_x(clean(s.frequency_hz)), clean(s.excursion_mm), xmax, xmax};
        points.push_back(p);
        top = std::max(top, p.value);
    }
    // A round grid step with 4 to 10 lines; the picture reaches 15 % above the top.
    double grid = 0.1;
    const double H = f32(std::max(top * 1.15, 1.0));
    while (H / grid > 10) {
        grid = next_round_step(grid);
    }
    d.set_scale(scale_width, H);

    d.clear();
    d.set_pen_width(1);
    for (double decade = 10; decade <= 100; decade *= 10) {
        for (int k = 1; k <= 9; ++k) {
            const double f = decade * k;
            if (f <= excursion_graph_high_hz) {
                d.line(f32(log_frequency_x(f)), 0, f32(log_frequency_x(f)), H, graph_colour::grid);
            }
        }
    }
    for (double v = 0; v <= H; v += grid) {
        d.line(0, f32(H - v), plot_width, f32(H - v), graph_colour::grid);
    }
    draw_shading(d, H, points, enclosure_colour::core_shade, enclosure_colour::core_shade);

    d.set_foreground(graph_colour::label);
    const double label_row = f32(0.85 * H);
    d.point(f32(log_frequency_x(20) - 0.05), label_row);
    d.print(QStringLiteral("20"));
    d.point(f32(log_frequency_x(50) - 0.05), label_row);
    d.print(QStringLiteral("50"));
    d.point(f32(log_frequency_x(100) - 0.05), label_row);
    d.print(QStringLiteral("100hz"));

    const auto space = text_space(d, in.picture_size, H);
    const double step = label_step(grid, space);
    draw_value_labels(d, H, step, step, f32(0.05 * H), QStringLiteral("mm"));

    d.set_pen_width(2);
    if (has_xmax) {
        d.line(0, f32(H - xmax), plot_width, f32(H - xmax), enclosure_colour::xmax_line);
    }
    draw_curve(d, H, points,
               {enclosure_colour::curve, enclosure_colour::over_core, enclosure_colour::over_core});

    d.set_pen_width(1);
    const double end = points.empty() ? 0 : points.back().value;
    if (has_xmax) {
        draw_legends(d, H,
                     std::array<Legend, 2>{{
                         {enclosure_colour::xmax_text, xmax, QStringLiteral("Xmax")},
                         {enclosure_colour::curve, end, QStringLiteral("Excursion")},
                     }},
                     space);
    } else {
        draw_legends(
            d, H,
            std::array<Legend, 1>{{{enclosure_colour::curve, end, QStringLiteral("Excursion")}}},
            space);
    }
}

} // namespace venturon
