#include "enclosure_graph.h"

#include "graph_layout.h"
#include "plot.h"

#include <QFontMetricsF>
#include <QString>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace venturon {

namespace {

// Far beyond any port or cone; a value fit for drawing stays within it.
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

// A point of a curve with the two limits it is judged against there.
struct Judged {
    double x = 0;
    double value = 0;
    double low_limit = 0;  // chuffing, or Xmax
    double high_limit = 0; // core; the same as low_limit where there is one limit
};

Judged between(const Judged& a, const Judged& b, double t) {
    auto mix = [t](double u, double v) { return u + (v - u) * t; };
    return {mix(a.x, b.x), mix(a.value, b.value), mix(a.low_limit, b.low_limit),
            mix(a.high_limit, b.high_limit)};
}

struct CurveColours {
    QColor within;
    QColor over_low;
    QColor over_high;
};

const QColor& colour_of(const Judged& p, const CurveColours& c) {
    if (p.value > p.high_limit) {
        return c.over_high;
    }
    return p.value > p.low_limit ? c.over_low : c.within;
}

// The curve through the points, each stretch in the colour of where it stands
// against the limits: a stretch that crosses a limit is split where it does.
PlotCurve judged_curve(const QString& name, const std::vector<Judged>& points,
                       const CurveColours& c) {
    PlotCurve curve;
    curve.name = name;
    curve.colour = c.within;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Judged& a = points[i];
        curve.points.push_back({a.x, a.value});
        if (i + 1 == points.size()) {
            break;
        }
        const Judged& b = points[i + 1];
        std::array<double, 4> cuts{0, 1, 1, 1};
        std::size_t n = 1;
        for (auto limit : {&Judged::low_limit, &Judged::high_limit}) {
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
        const auto within = [](double t) { return t > 0 && t < 1; };
        for (std::size_t k = 0; k + 1 < n; ++k) {
            if (k > 0 && within(cuts[k])) {
                const Judged at = between(a, b, cuts[k]);
                curve.points.push_back({at.x, at.value});
            }
            curve.stretch_colours.push_back(
                colour_of(between(a, b, (cuts[k] + cuts[k + 1]) / 2), c));
        }
    }
    return curve;
}

PlotCurve limit_curve(const QString& name, const QColor& colour, const QColor& text,
                      const std::vector<Judged>& points, double Judged::*limit) {
    PlotCurve curve;
    curve.name = name;
    curve.colour = colour;
    curve.legend_colour = text;
    curve.fits_scale = false;
    for (const Judged& p : points) {
        curve.points.push_back({p.x, p.*limit});
    }
    return curve;
}

// The area from a limit up to the curve (but no higher than `ceiling` when given).
PlotShade shade_over(const QColor& colour, const std::vector<Judged>& points, double Judged::*limit,
                     double Judged::*ceiling = nullptr) {
    PlotShade shade;
    shade.colour = colour;
    for (const Judged& p : points) {
        shade.lower.push_back({p.x, p.*limit});
        shade.upper.push_back({p.x, ceiling ? std::min(p.value, p.*ceiling) : p.value});
    }
    return shade;
}

QSizeF size_or_default(QSizeF size) {
    return size.isEmpty() ? QSizeF(enclosure_graph_default_width, enclosure_graph_default_height)
                          : size;
}

std::vector<PlotMarker> design_markers() {
    std::vector<PlotMarker> out;
    for (float f : design_frequencies) {
        out.push_back({f, enclosure_colour::design_marker, Qt::SolidLine});
    }
    return out;
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

PlotSpec port_velocity_plot(const PortVelocityGraphInput& in) {
    std::vector<Judged> points;
    for (const auto& sample : thinned(in.samples)) {
        // Where the chuffing limit lies above the core limit, passing the core limit
        // is the worse, and counts as such.
        points.push_back({clean(sample.frequency_hz), clean(sample.velocity),
                          clean(sample.chuff_limit), clean(sample.core_limit)});
    }
    PlotSpec spec;
    spec.x = {port_graph_low_hz, port_graph_high_hz, AxisScale::linear, QStringLiteral("Hz")};
    spec.y_title = QStringLiteral("Air velocity in the port, m/s peak");
    spec.shades = {shade_over(enclosure_colour::chuffing_shade, points, &Judged::low_limit,
                              &Judged::high_limit),
                   shade_over(enclosure_colour::core_shade, points, &Judged::high_limit)};
    spec.markers = design_markers();
    spec.curves = {limit_curve(QStringLiteral("Core Limit"), graph_colour::core_line,
                               graph_colour::core_text, points, &Judged::high_limit),
                   limit_curve(QStringLiteral("Chuffing"), graph_colour::chuffing_line,
                               graph_colour::chuffing_text, points, &Judged::low_limit),
                   judged_curve(QStringLiteral("Port velocity"), points,
                                {enclosure_colour::curve, enclosure_colour::over_chuffing,
                                 enclosure_colour::over_core})};
    for (PlotCurve& c : spec.curves) {
        c.unit = QStringLiteral("m/s");
    }
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        spec.crosses.push_back(
            {design_frequencies[i], clean(in.design_velocity[i]), graph_colour::cross});
        spec.x_labels.push_back(design_frequencies[i]);
    }
    return spec;
}

PlotLayout draw_port_velocity_graph(Drawing& d, const PortVelocityGraphInput& in) {
    return draw_plot(d, port_velocity_plot(in), size_or_default(in.picture_size));
}

PlotSpec excursion_plot(const ExcursionGraphInput& in) {
    const bool has_xmax = in.xmax_mm && *in.xmax_mm > 0 && std::isfinite(*in.xmax_mm);
    const double xmax = has_xmax ? std::min(*in.xmax_mm, tallest) : tallest;
    std::vector<Judged> points;
    for (const auto& sample : thinned(in.samples)) {
        points.push_back({clean(sample.frequency_hz), clean(sample.excursion_mm), xmax, xmax});
    }
    PlotSpec spec;
    spec.x = {excursion_graph_low_hz, excursion_graph_high_hz, AxisScale::log,
              QStringLiteral("Hz")};
    spec.y_title = QStringLiteral("Cone excursion, mm peak");
    spec.markers = design_markers();
    if (has_xmax) {
        spec.shades = {shade_over(enclosure_colour::core_shade, points, &Judged::low_limit)};
        spec.curves.push_back(limit_curve(QStringLiteral("Xmax"), enclosure_colour::xmax_line,
                                          enclosure_colour::xmax_text, points, &Judged::low_limit));
    }
    spec.curves.push_back(judged_curve(
        QStringLiteral("Excursion"), points,
        {enclosure_colour::curve, enclosure_colour::over_core, enclosure_colour::over_core}));
    for (PlotCurve& c : spec.curves) {
        c.unit = QStringLiteral("mm");
    }
    return spec;
}

PlotLayout draw_excursion_graph(Drawing& d, const ExcursionGraphInput& in) {
    return draw_plot(d, excursion_plot(in), size_or_default(in.picture_size));
}

} // namespace venturon
