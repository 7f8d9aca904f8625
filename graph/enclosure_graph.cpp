#include "enclosure_graph.h"

#include "graph_layout.h"
#include "plot.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <numbers>
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
    PlotSpec chart;
    chart.x = {port_graph_low_hz, port_graph_high_hz, AxisScale::linear, QStringLiteral("Hz")};
    chart.y_title = QStringLiteral("Air velocity in the port, m/s peak");
    chart.shades = {shade_over(enclosure_colour::chuffing_shade, points, &Judged::low_limit,
                               &Judged::high_limit),
                    shade_over(enclosure_colour::core_shade, points, &Judged::high_limit)};
    chart.markers = design_markers();
    chart.curves = {limit_curve(QStringLiteral("Core Limit"), graph_colour::core_line,
                                graph_colour::core_text, points, &Judged::high_limit),
                    limit_curve(QStringLiteral("Chuffing"), graph_colour::chuffing_line,
                                graph_colour::chuffing_text, points, &Judged::low_limit),
                    judged_curve(QStringLiteral("Port velocity"), points,
                                 {enclosure_colour::curve, enclosure_colour::over_chuffing,
                                  enclosure_colour::over_core})};
    for (PlotCurve& c : chart.curves) {
        c.unit = QStringLiteral("m/s");
    }
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        chart.crosses.push_back(
            {design_frequencies[i], clean(in.design_velocity[i]), graph_colour::cross});
        chart.x_labels.push_back(design_frequencies[i]);
    }
    return chart;
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
    PlotSpec chart;
    chart.x = {excursion_graph_low_hz, excursion_graph_high_hz, AxisScale::log,
               QStringLiteral("Hz")};
    chart.y_title = QStringLiteral("Cone excursion, mm peak");
    chart.markers = design_markers();
    if (has_xmax) {
        chart.shades = {shade_over(enclosure_colour::core_shade, points, &Judged::low_limit)};
        chart.curves.push_back(limit_curve(QStringLiteral("Xmax"), enclosure_colour::xmax_line,
                                           enclosure_colour::xmax_text, points,
                                           &Judged::low_limit));
    }
    chart.curves.push_back(judged_curve(
        QStringLiteral("Excursion"), points,
        {enclosure_colour::curve, enclosure_colour::over_core, enclosure_colour::over_core}));
    for (PlotCurve& c : chart.curves) {
        c.unit = QStringLiteral("mm");
    }
    return chart;
}

PlotLayout draw_excursion_graph(Drawing& d, const ExcursionGraphInput& in) {
    return draw_plot(d, excursion_plot(in), size_or_default(in.picture_size));
}

} // namespace venturon

// ---------------------------------------------------------------- the designer's views

namespace venturon {

namespace {

struct ViewWords {
    DesignerView view;
    std::string_view key;
    const char* title;
};
constexpr std::array<ViewWords, 6> view_words{{
    {DesignerView::spl, "spl", "SPL"},
    {DesignerView::max_spl, "max-spl", "Maximum SPL"},
    {DesignerView::velocity, "velocity", "Port velocity"},
    {DesignerView::excursion, "excursion", "Excursion"},
    {DesignerView::impedance, "impedance", "Impedance"},
    {DesignerView::group_delay, "group-delay", "Group delay"},
}};

const ViewWords& words_of(DesignerView view) {
    return view_words[std::min(static_cast<std::size_t>(view), view_words.size() - 1)];
}

// A reference's line: its colour halfway to white, thinner.
QColor faint(const QColor& c) {
    return QColor((c.red() + 255) / 2, (c.green() + 255) / 2, (c.blue() + 255) / 2);
}

const QString hz = QStringLiteral("Frequency, Hz");

// What a view plots of one design at sample i.
using Measure = double (*)(const DesignerCurves&, std::size_t);

double spl_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].spl_db;
}
double spl_unfiltered_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].spl_unfiltered_db;
}
double max_spl_of(const DesignerCurves& c, std::size_t i) {
    return i < c.max_output.size() ? c.max_output[i].spl_db : c.response[i].spl_db;
}
double max_power_of(const DesignerCurves& c, std::size_t i) {
    return i < c.max_output.size() ? c.max_output[i].power_w : 0;
}
double velocity_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].port_velocity;
}
double core_of(const DesignerCurves& c, std::size_t i) {
    return i < c.max_output.size() ? c.max_output[i].core_limit : 0;
}
double chuffing_of(const DesignerCurves& c, std::size_t i) {
    return i < c.max_output.size() ? c.max_output[i].chuffing_limit : 0;
}
double excursion_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].excursion_m * 1000;
}
double impedance_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].impedance_magnitude;
}
double phase_of(const DesignerCurves& c, std::size_t i) {
    return std::arg(c.response[i].impedance) * 180 / std::numbers::pi;
}
double delay_of(const DesignerCurves& c, std::size_t i) {
    return c.response[i].group_delay_s * 1000;
}

// The view's main quantity: what a reference design shows of itself.
Measure main_quantity(DesignerView view) {
    switch (view) {
    case DesignerView::spl:
        return spl_of;
    case DesignerView::max_spl:
        return max_spl_of;
    case DesignerView::velocity:
        return velocity_of;
    case DesignerView::excursion:
        return excursion_of;
    case DesignerView::impedance:
        return impedance_of;
    case DesignerView::group_delay:
        break;
    }
    return delay_of;
}

// The samples to draw: every one, or for very long inputs every k-th and the last.
std::vector<std::size_t> drawn_samples(const DesignerCurves& c) {
    std::vector<std::size_t> out;
    const std::size_t n = c.response.size();
    const std::size_t k = n <= enclosure_graph_max_samples ? 1
                                                           : (n + enclosure_graph_max_samples - 2) /
                                                                 (enclosure_graph_max_samples - 1);
    for (std::size_t i = 0; i < n; i += k) {
        out.push_back(i);
    }
    if (!out.empty() && out.back() != n - 1) {
        out.push_back(n - 1);
    }
    return out;
}

std::vector<PlotPoint> points_of(const DesignerCurves& c, Measure q) {
    std::vector<PlotPoint> out;
    for (std::size_t i : drawn_samples(c)) {
        out.push_back({clean(c.response[i].frequency_hz), clean(q(c, i))});
    }
    return out;
}

PlotCurve line(const QString& name, const QColor& colour, std::vector<PlotPoint> points,
               double width = 2) {
    PlotCurve curve;
    curve.name = name;
    curve.colour = colour;
    curve.width = width;
    curve.points = std::move(points);
    return curve;
}

// Axis, band, design frequencies, and the references' faint lines first, so that
// the current design's lie over them.
PlotSpec frame(DesignerView view, const DesignerGraphInput& in, const QString& y_title) {
    PlotSpec chart;
    const double low = std::clamp(std::isfinite(in.low_hz) ? in.low_hz : designer_graph_low_hz,
                                  limits::frequency_hz.low, limits::frequency_hz.high);
    double high = std::clamp(std::isfinite(in.high_hz) ? in.high_hz : designer_graph_high_hz,
                             limits::frequency_hz.low, limits::frequency_hz.high);
    if (!(high > low * 1.001)) {
        high = std::min(low * 2, limits::frequency_hz.high * 2);
    }
    chart.x = {low, high, AxisScale::log, hz};
    chart.y_title = y_title;
    chart.bands.push_back({chuffing_band_low_hz, chuffing_band_high_hz, designer_colour::band});
    chart.markers = design_markers();
    for (float f : design_frequencies) {
        chart.x_labels.push_back(f);
    }
    const Measure q = main_quantity(view);
    const std::size_t n = std::min(in.references.size(), max_reference_designs);
    for (std::size_t r = 0; r < n; ++r) {
        const ReferenceDesign& ref = in.references[r];
        if (ref.curves.response.empty()) {
            continue;
        }
        PlotCurve curve = line(ref.name, faint(ref.colour), points_of(ref.curves, q), 1.5);
        curve.legend_colour = ref.colour;
        chart.curves.push_back(std::move(curve));
    }
    return chart;
}

std::vector<Judged> judged_points(const DesignerCurves& c, Measure value, Measure low,
                                  Measure high) {
    std::vector<Judged> out;
    for (std::size_t i : drawn_samples(c)) {
        out.push_back({clean(c.response[i].frequency_hz), clean(value(c, i)), clean(low(c, i)),
                       clean(high(c, i))});
    }
    return out;
}

PlotSpec spl_view(const DesignerGraphInput& in) {
    PlotSpec chart = frame(DesignerView::spl, in, QStringLiteral("SPL at 1 m, half space, dB"));
    chart.fit.from_zero = false;
    chart.fit.span = 50;
    chart.fit.headroom = 0.05;
    if (in.filtered) {
        PlotCurve unfiltered = line(QStringLiteral("Without filter"), designer_colour::unfiltered,
                                    points_of(in.current, spl_unfiltered_of), 1.5);
        unfiltered.style = Qt::DashLine;
        chart.curves.push_back(std::move(unfiltered));
    }
    chart.curves.push_back(
        line(QStringLiteral("SPL"), enclosure_colour::curve, points_of(in.current, spl_of)));
    if (in.f3_hz && std::isfinite(*in.f3_hz)) {
        chart.markers.push_back({*in.f3_hz, designer_colour::f3, Qt::DashLine});
        chart.note = QStringLiteral("F3 %1 Hz").arg(*in.f3_hz, 0, 'f', 1);
    }
    return chart;
}

PlotSpec max_spl_view(const DesignerGraphInput& in) {
    PlotSpec chart =
        frame(DesignerView::max_spl, in, QStringLiteral("Maximum SPL at 1 m, half space, dB"));
    // Deeper than the SPL's: the largest level falls fast below the tuning, and
    // that is where it matters.
    chart.fit.from_zero = false;
    chart.fit.span = 60;
    chart.fit.headroom = 0.05;
    chart.curves.push_back(line(QStringLiteral("At the drive"), designer_colour::at_drive,
                                points_of(in.current, spl_of), 1.5));
    PlotCurve max = line(QStringLiteral("Max SPL"), limit_colour::amplifier,
                         points_of(in.current, max_spl_of), 2.5);
    const auto samples = drawn_samples(in.current);
    if (in.current.max_output.size() == in.current.response.size()) {
        for (std::size_t k = 0; k + 1 < samples.size(); ++k) {
            max.stretch_colours.push_back(
                colour_of_limit(in.current.max_output[samples[k]].binding));
        }
    }
    chart.curves.push_back(std::move(max));
    for (Limit limit : all_limits) {
        chart.keys.push_back({QString::fromUtf8(limit_name(limit).data(),
                                                static_cast<qsizetype>(limit_name(limit).size())),
                              colour_of_limit(limit)});
    }
    return chart;
}

PlotSpec velocity_view(const DesignerGraphInput& in) {
    PlotSpec chart =
        frame(DesignerView::velocity, in, QStringLiteral("Air velocity in the port, m/s peak"));
    const auto points = judged_points(in.current, velocity_of, chuffing_of, core_of);
    chart.shades = {shade_over(enclosure_colour::chuffing_shade, points, &Judged::low_limit,
                               &Judged::high_limit),
                    shade_over(enclosure_colour::core_shade, points, &Judged::high_limit)};
    if (!in.current.max_output.empty()) {
        chart.curves.push_back(limit_curve(QStringLiteral("Core Limit"), graph_colour::core_line,
                                           graph_colour::core_text, points, &Judged::high_limit));
        chart.curves.push_back(limit_curve(QStringLiteral("Chuffing"), graph_colour::chuffing_line,
                                           graph_colour::chuffing_text, points,
                                           &Judged::low_limit));
    }
    chart.curves.push_back(judged_curve(
        QStringLiteral("Port velocity"), points,
        {enclosure_colour::curve, enclosure_colour::over_chuffing, enclosure_colour::over_core}));
    return chart;
}

PlotSpec excursion_view(const DesignerGraphInput& in) {
    PlotSpec chart = frame(DesignerView::excursion, in, QStringLiteral("Cone excursion, mm peak"));
    const bool has_xmax =
        in.current.xmax_mm && *in.current.xmax_mm > 0 && std::isfinite(*in.current.xmax_mm);
    const double xmax = has_xmax ? std::min(*in.current.xmax_mm, tallest) : tallest;
    std::vector<Judged> points;
    for (std::size_t i : drawn_samples(in.current)) {
        points.push_back({clean(in.current.response[i].frequency_hz),
                          clean(excursion_of(in.current, i)), xmax, xmax});
    }
    if (has_xmax) {
        chart.shades = {shade_over(enclosure_colour::core_shade, points, &Judged::low_limit)};
        chart.curves.push_back(limit_curve(QStringLiteral("Xmax"), enclosure_colour::xmax_line,
                                           enclosure_colour::xmax_text, points,
                                           &Judged::low_limit));
    }
    chart.curves.push_back(judged_curve(
        QStringLiteral("Excursion"), points,
        {enclosure_colour::curve, enclosure_colour::over_core, enclosure_colour::over_core}));
    return chart;
}

PlotSpec impedance_view(const DesignerGraphInput& in) {
    PlotSpec chart = frame(DesignerView::impedance, in, QStringLiteral("Impedance, ohm"));
    chart.y2 = PlotAxis{-90, 90, AxisScale::linear, QStringLiteral("Phase, degrees")};
    PlotCurve phase =
        line(QStringLiteral("Phase"), designer_colour::phase, points_of(in.current, phase_of), 1.5);
    phase.secondary = true;
    phase.style = Qt::DashLine;
    chart.curves.push_back(std::move(phase));
    chart.curves.push_back(line(QStringLiteral("Impedance"), enclosure_colour::curve,
                                points_of(in.current, impedance_of)));
    return chart;
}

PlotSpec group_delay_view(const DesignerGraphInput& in) {
    PlotSpec chart = frame(DesignerView::group_delay, in, QStringLiteral("Group delay, ms"));
    chart.curves.push_back(line(QStringLiteral("Group delay"), enclosure_colour::curve,
                                points_of(in.current, delay_of)));
    return chart;
}

// A curve's value at a frequency, linear in log frequency between samples; the
// ends hold beyond the curve.
std::optional<double> value_at(const DesignerCurves& c, Measure q, double f) {
    const auto& r = c.response;
    if (r.empty() || !(f > 0)) {
        return std::nullopt;
    }
    if (f <= r.front().frequency_hz) {
        return clean(q(c, 0));
    }
    if (f >= r.back().frequency_hz) {
        return clean(q(c, r.size() - 1));
    }
    const auto above = std::upper_bound(
        r.begin(), r.end(), f, [](double v, const ResponsePoint& p) { return v < p.frequency_hz; });
    const auto i = static_cast<std::size_t>(above - r.begin());
    const double f0 = r[i - 1].frequency_hz;
    const double f1 = r[i].frequency_hz;
    const double t = f1 > f0 ? std::log(f / f0) / std::log(f1 / f0) : 0;
    return clean(q(c, i - 1) + t * (q(c, i) - q(c, i - 1)));
}

// The binding limit at the sample nearest a frequency (log).
std::optional<Limit> limit_at(const DesignerCurves& c, double f) {
    if (c.max_output.empty() || !(f > 0)) {
        return std::nullopt;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < c.max_output.size(); ++i) {
        if (std::fabs(std::log(c.max_output[i].frequency_hz / f)) <
            std::fabs(std::log(c.max_output[best].frequency_hz / f))) {
            best = i;
        }
    }
    return c.max_output[best].binding;
}

QString limit_text(Limit limit) {
    return QString::fromUtf8(limit_name(limit).data(),
                             static_cast<qsizetype>(limit_name(limit).size()));
}

// As a sentence names it: "limited by Xmax", "by the amplifier".
QString limit_in_words(Limit limit) {
    switch (limit) {
    case Limit::amplifier:
        return QStringLiteral("the amplifier");
    case Limit::chuffing:
        return QStringLiteral("chuffing");
    case Limit::core:
        return QStringLiteral("the core limit");
    default:
        return limit_text(limit);
    }
}

QString number(double v, int decimals) {
    return QString::number(clean(v), 'f', decimals);
}

struct Series {
    QString name;
    QColor colour;
    Measure quantity;
    QString unit;
    int decimals;
};

// The current design's curves of a view, as the read-out lists them.
std::vector<Series> series_of(DesignerView view, const DesignerGraphInput& in) {
    const QString db = QStringLiteral("dB");
    switch (view) {
    case DesignerView::spl: {
        std::vector<Series> out{{QStringLiteral("SPL"), enclosure_colour::curve, spl_of, db, 1}};
        if (in.filtered) {
            out.push_back({QStringLiteral("Without filter"), designer_colour::unfiltered,
                           spl_unfiltered_of, db, 1});
        }
        return out;
    }
    case DesignerView::max_spl:
        return {{QStringLiteral("Max SPL"), limit_colour::amplifier, max_spl_of, db, 1},
                {QStringLiteral("Max power"), limit_colour::amplifier, max_power_of,
                 QStringLiteral("W"), 1},
                {QStringLiteral("At the drive"), designer_colour::at_drive, spl_of, db, 1}};
    case DesignerView::velocity:
        return {{QStringLiteral("Port velocity"), enclosure_colour::curve, velocity_of,
                 QStringLiteral("m/s peak"), 1},
                {QStringLiteral("Core Limit"), graph_colour::core_text, core_of,
                 QStringLiteral("m/s"), 1},
                {QStringLiteral("Chuffing"), graph_colour::chuffing_text, chuffing_of,
                 QStringLiteral("m/s"), 1}};
    case DesignerView::excursion:
        return {{QStringLiteral("Excursion"), enclosure_colour::curve, excursion_of,
                 QStringLiteral("mm peak"), 2}};
    case DesignerView::impedance:
        return {{QStringLiteral("Impedance"), enclosure_colour::curve, impedance_of,
                 QStringLiteral("ohm"), 2},
                {QStringLiteral("Phase"), designer_colour::phase, phase_of,
                 QStringLiteral("degrees"), 1}};
    case DesignerView::group_delay:
        break;
    }
    return {{QStringLiteral("Group delay"), enclosure_colour::curve, delay_of, QStringLiteral("ms"),
             1}};
}

// "94.1, 100.1, 104.3 and 106.9 dB at 20, 25, 30 and 35 Hz".
QString at_design_frequencies(const DesignerCurves& c, const Series& s) {
    QString values;
    for (std::size_t i = 0; i < design_frequencies.size(); ++i) {
        values += (i == 0                               ? QString()
                   : i + 1 == design_frequencies.size() ? QStringLiteral(" and ")
                                                        : QStringLiteral(", ")) +
                  number(value_at(c, s.quantity, design_frequencies[i]).value_or(0), s.decimals);
    }
    return values + QLatin1Char(' ') + s.unit + QStringLiteral(" at 20, 25, 30 and 35 Hz");
}

QString hertz(double f) {
    return QString::number(clean(f), 'g', 3) + QStringLiteral(" Hz");
}

// Where a condition holds along the curve: "from 10 to 21.3 Hz and from ...".
QString stretches(const DesignerCurves& c, const std::function<bool(std::size_t)>& holds) {
    QStringList parts;
    const auto& r = c.response;
    for (std::size_t i = 0; i < r.size();) {
        if (!holds(i)) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < r.size() && holds(j + 1)) {
            ++j;
        }
        parts << (i == j ? QStringLiteral("at ") + hertz(r[i].frequency_hz)
                         : QStringLiteral("from ") +
                               QString::number(clean(r[i].frequency_hz), 'g', 3) +
                               QStringLiteral(" to ") + hertz(r[j].frequency_hz));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

std::string_view designer_view_key(DesignerView view) {
    return words_of(view).key;
}

std::optional<DesignerView> designer_view_named(std::string_view key) {
    for (const ViewWords& w : view_words) {
        if (w.key == key) {
            return w.view;
        }
    }
    return std::nullopt;
}

QString designer_view_title(DesignerView view) {
    return QString::fromLatin1(words_of(view).title);
}

const QColor& colour_of_limit(Limit limit) {
    switch (limit) {
    case Limit::xmax:
        return limit_colour::xmax;
    case Limit::pe:
        return limit_colour::pe;
    case Limit::chuffing:
        return limit_colour::chuffing;
    case Limit::core:
        return limit_colour::core;
    case Limit::amplifier:
        break;
    }
    return limit_colour::amplifier;
}

DesignerCurves designer_curves(const SolvedEnclosure& model, const PortLimitSettings& port,
                               double low_hz, double high_hz, int points) {
    DesignerCurves out;
    const auto clamp_hz = [](double f, double otherwise) {
        return std::isfinite(f) ? std::clamp(f, limits::frequency_hz.low, limits::frequency_hz.high)
                                : otherwise;
    };
    const double low = clamp_hz(low_hz, designer_graph_low_hz);
    const double high = std::max(low, clamp_hz(high_hz, designer_graph_high_hz));
    const int n = std::clamp(points, 2, static_cast<int>(enclosure_graph_max_samples));
    out.response.resize(static_cast<std::size_t>(n));
    if (fill_response_curve(model, low, high, out.response)) {
        out.response.clear();
        return out;
    }
    out.max_output.resize(out.response.size());
    fill_max_output(model, port, out.response, out.max_output);
    if (model.driver.xmax_m > 0) {
        out.xmax_mm = model.driver.xmax_m * 1000;
    }
    return out;
}

DesignerGraphInput designer_graph_input(const SolvedEnclosure& model, const PortLimitSettings& port,
                                        double low_hz, double high_hz, int points) {
    DesignerGraphInput in;
    in.current = designer_curves(model, port, low_hz, high_hz, points);
    if (!in.current.response.empty()) {
        in.low_hz = in.current.response.front().frequency_hz;
        in.high_hz = in.current.response.back().frequency_hz;
    }
    in.filtered = !model.highpass.empty();
    in.f3_hz = f3_hz(model);
    return in;
}

PlotSpec designer_plot(DesignerView view, const DesignerGraphInput& in) {
    switch (view) {
    case DesignerView::spl:
        return spl_view(in);
    case DesignerView::max_spl:
        return max_spl_view(in);
    case DesignerView::velocity:
        return velocity_view(in);
    case DesignerView::excursion:
        return excursion_view(in);
    case DesignerView::impedance:
        return impedance_view(in);
    case DesignerView::group_delay:
        break;
    }
    return group_delay_view(in);
}

PlotLayout draw_designer_graph(Drawing& drawing, DesignerView view, const DesignerGraphInput& input,
                               QSizeF size) {
    return draw_plot(drawing, designer_plot(view, input), size_or_default(size));
}

QString designer_graph_description(DesignerView view, const DesignerGraphInput& in) {
    const DesignerCurves& c = in.current;
    const QString span = QStringLiteral(" from ") + QString::number(clean(in.low_hz), 'g', 4) +
                         QStringLiteral(" to ") + hertz(in.high_hz);
    if (c.response.empty()) {
        return designer_view_title(view) + span + QStringLiteral(": nothing to show");
    }
    const Series main = series_of(view, in).front();
    QString text;
    switch (view) {
    case DesignerView::spl:
        text = QStringLiteral("Sound pressure level at 1 m in half space") + span +
               (in.filtered ? QStringLiteral(", after the high-pass filter") : QString()) +
               QStringLiteral(": ") + at_design_frequencies(c, main) +
               (in.f3_hz ? QStringLiteral("; F3 ") + QString::number(*in.f3_hz, 'f', 1) +
                               QStringLiteral(" Hz")
                         : QString());
        break;
    case DesignerView::max_spl: {
        text = QStringLiteral("Largest sound pressure level at 1 m in half space before a limit "
                              "binds") +
               span + QStringLiteral(": ") + at_design_frequencies(c, main);
        QStringList limits;
        for (Limit limit : all_limits) {
            const QString where = stretches(c, [&](std::size_t i) {
                return i < c.max_output.size() && c.max_output[i].binding == limit;
            });
            if (!where.isEmpty()) {
                limits << limit_in_words(limit) + QLatin1Char(' ') + where;
            }
        }
        if (!limits.isEmpty()) {
            text += QStringLiteral("; limited by ") + limits.join(QStringLiteral("; by "));
        }
        break;
    }
    case DesignerView::velocity: {
        text = QStringLiteral("Air velocity in the port, peak,") + span + QStringLiteral(": ") +
               at_design_frequencies(c, main);
        const QString chuffing = stretches(c, [&](std::size_t i) {
            return i < c.max_output.size() && velocity_of(c, i) > chuffing_of(c, i);
        });
        const QString core = stretches(c, [&](std::size_t i) {
            return i < c.max_output.size() && velocity_of(c, i) > core_of(c, i);
        });
        text += chuffing.isEmpty() ? QStringLiteral("; below the chuffing limit throughout")
                                   : QStringLiteral("; above the chuffing limit ") + chuffing;
        if (!core.isEmpty()) {
            text += QStringLiteral("; above the core limit ") + core;
        }
        break;
    }
    case DesignerView::excursion: {
        text = QStringLiteral("Cone excursion, peak,") + span + QStringLiteral(": ") +
               at_design_frequencies(c, main);
        if (!c.xmax_mm) {
            text += QStringLiteral("; Xmax unknown");
        } else {
            const double xmax = *c.xmax_mm;
            const QString beyond =
                stretches(c, [&](std::size_t i) { return excursion_of(c, i) > xmax; });
            text += QStringLiteral("; Xmax ") + QString::number(xmax, 'g', 4) +
                    QStringLiteral(" mm, ") +
                    (beyond.isEmpty() ? QStringLiteral("never passed")
                                      : QStringLiteral("passed ") + beyond);
        }
        break;
    }
    case DesignerView::impedance:
    case DesignerView::group_delay: {
        std::size_t top = 0;
        std::size_t bottom = 0;
        for (std::size_t i = 0; i < c.response.size(); ++i) {
            top = main.quantity(c, i) > main.quantity(c, top) ? i : top;
            bottom = main.quantity(c, i) < main.quantity(c, bottom) ? i : bottom;
        }
        text = (view == DesignerView::impedance
                    ? QStringLiteral("Impedance magnitude and phase")
                    : QStringLiteral("Group delay of the sound pressure, filters included,")) +
               span + QStringLiteral(": highest ") + number(main.quantity(c, top), 1) +
               QLatin1Char(' ') + main.unit + QStringLiteral(" at ") +
               hertz(c.response[top].frequency_hz) + QStringLiteral(", lowest ") +
               number(main.quantity(c, bottom), 1) + QLatin1Char(' ') + main.unit +
               QStringLiteral(" at ") + hertz(c.response[bottom].frequency_hz);
        break;
    }
    }
    QStringList names;
    for (std::size_t r = 0; r < std::min(in.references.size(), max_reference_designs); ++r) {
        names << in.references[r].name;
    }
    if (!names.isEmpty()) {
        text += QStringLiteral("; compared with ") + names.join(QStringLiteral(", "));
    }
    return text + QLatin1Char('.');
}

std::vector<CurveReading> designer_read_out(DesignerView view, const DesignerGraphInput& in,
                                            double frequency_hz) {
    std::vector<CurveReading> out;
    const auto add = [&](const QString& name, const QColor& colour, const DesignerCurves& c,
                         Measure q, const QString& unit, int decimals) {
        const auto value = value_at(c, q, frequency_hz);
        out.push_back({name, colour, value,
                       value ? number(*value, decimals) + QLatin1Char(' ') + unit : QString()});
    };
    for (const Series& s : series_of(view, in)) {
        if ((s.quantity == core_of || s.quantity == chuffing_of || s.quantity == max_power_of) &&
            in.current.max_output.empty()) {
            continue;
        }
        add(s.name, s.colour, in.current, s.quantity, s.unit, s.decimals);
    }
    if (view == DesignerView::max_spl) {
        if (const auto limit = limit_at(in.current, frequency_hz)) {
            out.push_back({QStringLiteral("Limit"), colour_of_limit(*limit), std::nullopt,
                           limit_text(*limit)});
        }
    }
    if (view == DesignerView::excursion && in.current.xmax_mm) {
        out.push_back({QStringLiteral("Xmax"), enclosure_colour::xmax_text, *in.current.xmax_mm,
                       number(*in.current.xmax_mm, 2) + QStringLiteral(" mm")});
    }
    const Series main = series_of(view, in).front();
    for (std::size_t r = 0; r < std::min(in.references.size(), max_reference_designs); ++r) {
        const ReferenceDesign& ref = in.references[r];
        add(ref.name, ref.colour, ref.curves, main.quantity, main.unit, main.decimals);
    }
    return out;
}

} // namespace venturon
