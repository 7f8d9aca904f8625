#include "plot.h"

#include "graph_layout.h"
#include "velocity_graph.h"

#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>

namespace venturon {

namespace {

const QColor frame_colour{150, 150, 160};
const QColor text_colour{70, 70, 80};

// Gaps in pixels.
constexpr double gap = 4;
constexpr double cross_half = 5;
constexpr double triangle_half = 5;

bool finite(const PlotPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

double axis_fraction(const PlotAxis& axis, double v) {
    if (axis.scale == AxisScale::log) {
        if (!(v > 0) || !(axis.low > 0) || !(axis.high > axis.low)) {
            return v > 0 ? 0.0 : -1e9;
        }
        return std::log(v / axis.low) / std::log(axis.high / axis.low);
    }
    return axis.high != axis.low ? (v - axis.low) / (axis.high - axis.low) : 0;
}

// The next of 1, 2, 5, 10, 20, ... at or above a raw step.
double nice_step(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) {
        return 1;
    }
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade >= raw * (1 - 1e-9)) {
            return m * decade;
        }
    }
    return 10 * decade;
}

struct Vertical {
    double low = 0;
    double high = 1;
};

// The range the fitted curves (and the limits within reach of them) need.
Vertical fitted_range(const PlotSpec& spec) {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    const auto in_x = [&](const PlotPoint& p) {
        return finite(p) && p.x >= std::min(spec.x.low, spec.x.high) &&
               p.x <= std::max(spec.x.low, spec.x.high);
    };
    for (const PlotCurve& c : spec.curves) {
        if (c.secondary || !c.fits_scale) {
            continue;
        }
        for (const PlotPoint& p : c.points) {
            if (in_x(p)) {
                low = std::min(low, p.y);
                high = std::max(high, p.y);
            }
        }
    }
    for (const PlotCross& c : spec.crosses) {
        if (std::isfinite(c.y)) {
            low = std::min(low, c.y);
            high = std::max(high, c.y);
        }
    }
    if (!(high >= low)) {
        low = 0;
        high = 1;
    }
    // Limits count where they stay within reach of what was fitted.
    const double reach = high > 0 ? high * spec.fit.limit_reach : high;
    for (const PlotCurve& c : spec.curves) {
        if (c.secondary || c.fits_scale) {
            continue;
        }
        for (const PlotPoint& p : c.points) {
            if (in_x(p) && p.y <= reach) {
                high = std::max(high, p.y);
                if (!spec.fit.from_zero) {
                    low = std::min(low, p.y);
                }
            }
        }
    }
    if (spec.fit.from_zero) {
        low = std::min(0.0, low);
    }
    if (spec.fit.span && high - low > *spec.fit.span) {
        low = high - *spec.fit.span;
    }
    if (!(high > low)) {
        high = low + 1;
    }
    high += spec.fit.headroom * (high - low);
    return {spec.y_low.value_or(low), spec.y_high.value_or(high)};
}

// Steps of a vertical axis: a round step that leaves room for a label at each.
double vertical_step(double low, double high, double pixels, double text_height) {
    const double most = std::max(1.0, std::floor(pixels / (1.6 * text_height)));
    return nice_step((high - low) / most);
}

// Cuts a segment to a rectangle (Liang-Barsky); nothing when it lies outside.
bool clip_segment(const QRectF& r, QPointF& a, QPointF& b) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{a.x() - r.left(), r.right() - a.x(), a.y() - r.top(),
                                  r.bottom() - a.y()};
    for (std::size_t i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const QPointF start(a.x() + t0 * dx, a.y() + t0 * dy);
    b = QPointF(a.x() + t1 * dx, a.y() + t1 * dy);
    a = start;
    return true;
}

// Cuts a polygon to a rectangle (Sutherland-Hodgman).
std::vector<QPointF> clip_polygon(const std::vector<QPointF>& corners, const QRectF& r) {
    std::vector<QPointF> out = corners;
    const auto cut = [&out](auto inside, auto meet) {
        std::vector<QPointF> in = std::move(out);
        out.clear();
        for (std::size_t i = 0; i < in.size(); ++i) {
            const QPointF& a = in[i];
            const QPointF& b = in[(i + 1) % in.size()];
            const bool ia = inside(a);
            const bool ib = inside(b);
            if (ia) {
                out.push_back(a);
            }
            if (ia != ib) {
                out.push_back(meet(a, b));
            }
        }
    };
    const auto at_x = [](double x) {
        return [x](const QPointF& a, const QPointF& b) {
            const double t = (x - a.x()) / (b.x() - a.x());
            return QPointF(x, a.y() + t * (b.y() - a.y()));
        };
    };
    const auto at_y = [](double y) {
        return [y](const QPointF& a, const QPointF& b) {
            const double t = (y - a.y()) / (b.y() - a.y());
            return QPointF(a.x() + t * (b.x() - a.x()), y);
        };
    };
    cut([&](const QPointF& p) { return p.x() >= r.left(); }, at_x(r.left()));
    cut([&](const QPointF& p) { return p.x() <= r.right(); }, at_x(r.right()));
    cut([&](const QPointF& p) { return p.y() >= r.top(); }, at_y(r.top()));
    cut([&](const QPointF& p) { return p.y() <= r.bottom(); }, at_y(r.bottom()));
    return out;
}

// A pixel coordinate that stays a sane float, however absurd the value.
double px(double v) {
    return f32(std::clamp(v, -1e7, 1e7));
}

struct Texts {
    Drawing& drawing;
    const QFontMetricsF& metrics;
    QSizeF size;
    std::vector<QRectF> taken;

    double width(const QString& t) const { return metrics.horizontalAdvance(t); }
    double height() const { return metrics.height(); }

    // Places a text whose top-left is at (x, y) when it stays inside the picture
    // and clear of every text placed before; false when it does not.
    bool place(double x, double y, const QString& text, const QColor& colour) {
        const QRectF box(x, y, width(text), height());
        const QRectF picture(QPointF(0, 0), size);
        if (!picture.adjusted(-0.01, -0.01, 0.01, 0.01).contains(box)) {
            return false;
        }
        for (const QRectF& other : taken) {
            if (box.intersects(other.adjusted(-1, 0, 1, 0))) {
                return false;
            }
        }
        taken.push_back(box);
        drawing.text_at(x, y, text, colour);
        return true;
    }
};

// The round frequencies worth a label, most wanted first.
std::vector<double> frequency_labels(const PlotAxis& axis, const std::vector<double>& extra) {
    std::vector<double> out;
    const double low = std::min(axis.low, axis.high);
    const double high = std::max(axis.low, axis.high);
    if (axis.scale == AxisScale::log && low > 0) {
        for (double m : {1.0, 2.0, 5.0, 3.0, 1.5, 4.0, 7.0}) {
            for (double decade = std::pow(10.0, std::floor(std::log10(low))); decade <= high;
                 decade *= 10) {
                const double v = m * decade;
                if (v >= low * (1 - 1e-9) && v <= high * (1 + 1e-9)) {
                    out.push_back(v);
                }
            }
        }
    } else {
        const double step = nice_step((high - low) / 10);
        for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step) {
            out.push_back(v);
        }
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

// Grid lines of the frequency axis: 1 to 9 times each decade (log), or the label step.
std::vector<double> frequency_grid(const PlotAxis& axis) {
    std::vector<double> out;
    const double low = std::min(axis.low, axis.high);
    const double high = std::max(axis.low, axis.high);
    if (axis.scale == AxisScale::log && low > 0) {
        for (double decade = std::pow(10.0, std::floor(std::log10(low))); decade <= high;
             decade *= 10) {
            for (int k = 1; k <= 9; ++k) {
                if (k * decade >= low * (1 - 1e-9) && k * decade <= high * (1 + 1e-9)) {
                    out.push_back(k * decade);
                }
            }
        }
        return out;
    }
    const double step = nice_step((high - low) / 10);
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step) {
        out.push_back(v);
    }
    return out;
}

} // namespace

double PlotLayout::x_pixel(double v) const {
    return plot.left() + axis_fraction(x, v) * plot.width();
}

double PlotLayout::x_value(double pixel) const {
    const double t = plot.width() > 0 ? (pixel - plot.left()) / plot.width() : 0;
    if (x.scale == AxisScale::log && x.low > 0 && x.high > 0) {
        return x.low * std::pow(x.high / x.low, t);
    }
    return x.low + t * (x.high - x.low);
}

double PlotLayout::y_pixel(double v) const {
    const double t = y_high != y_low ? (v - y_low) / (y_high - y_low) : 0;
    return plot.bottom() - t * plot.height();
}

double PlotLayout::y2_pixel(double v) const {
    if (!y2) {
        return y_pixel(v);
    }
    const double t = y2->high != y2->low ? (v - y2->low) / (y2->high - y2->low) : 0;
    return plot.bottom() - t * plot.height();
}

QString tick_text(double value, double step) {
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    if (std::fabs(value) < step * 1e-6) {
        value = 0;
    }
    return QString::number(value, 'f', std::clamp(decimals, 0, 9));
}

PlotLayout draw_plot(Drawing& d, const PlotSpec& spec, QSizeF size) {
    const double w = std::max(1.0, size.width());
    const double h = std::max(1.0, size.height());
    d.set_scale(w, h);
    d.clear();
    d.set_antialiased(true);
    d.set_pen_width(1);
    d.set_pen_style(Qt::SolidLine);

    const QFontMetricsF metrics(d.font());
    Texts texts{d, metrics, QSizeF(w, h), {}};
    const double th = texts.height();

    PlotLayout layout;
    layout.x = spec.x;
    layout.y2 = spec.y2;

    // The vertical range and its step, for the height the plot will have.
    const double top_margin = th + gap + triangle_half;
    const double bottom_margin = 2 * th + 2 * gap;
    const double plot_height = h - top_margin - bottom_margin;
    Vertical range = fitted_range(spec);
    const double step = vertical_step(range.low, range.high, std::max(plot_height, 1.0), th);
    if (!spec.y_high) {
        range.high = std::ceil(range.high / step - 1e-9) * step;
    }
    if (!spec.y_low) {
        range.low = std::floor(range.low / step + 1e-9) * step;
    }
    layout.y_low = range.low;
    layout.y_high = range.high;
    std::vector<double> ticks;
    for (double v = range.low; v <= range.high + step * 1e-6 && ticks.size() < 200; v += step) {
        ticks.push_back(v);
    }
    double label_width = 0;
    for (double v : ticks) {
        label_width = std::max(label_width, texts.width(tick_text(v, step)));
    }
    double step2 = 1;
    std::vector<double> ticks2;
    double label2_width = 0;
    if (spec.y2) {
        step2 = vertical_step(spec.y2->low, spec.y2->high, std::max(plot_height, 1.0), th);
        for (double v = std::ceil(spec.y2->low / step2 - 1e-9) * step2;
             v <= spec.y2->high + step2 * 1e-6 && ticks2.size() < 200; v += step2) {
            ticks2.push_back(v);
            label2_width = std::max(label2_width, texts.width(tick_text(v, step2)));
        }
    }
    // The legends: a curve whose right-hand end lies above the range says so.
    struct Legend {
        const PlotCurve* curve;
        QString text;
        double end; // pixels, where the curve ends, within the plot's height
    };
    std::vector<Legend> legends;
    double legend_width = 0;
    for (const PlotCurve& c : spec.curves) {
        if (c.name.isEmpty()) {
            continue;
        }
        std::optional<double> end;
        for (const PlotPoint& p : c.points) {
            if (finite(p) && p.x <= std::max(spec.x.low, spec.x.high)) {
                end = p.y;
            }
        }
        const double high = c.secondary && spec.y2 ? spec.y2->high : range.high;
        const bool above = end && *end > high;
        legends.push_back({&c, above ? c.name + QStringLiteral(" (off scale)") : c.name,
                           end.value_or(std::numeric_limits<double>::quiet_NaN())});
        legend_width = std::max(legend_width, texts.width(legends.back().text));
    }
    const double left = label_width + 2 * gap;
    const double right =
        (spec.y2 ? label2_width + 2 * gap : gap) + legend_width + (legend_width > 0 ? gap : 0);
    layout.plot =
        QRectF(left, top_margin, std::max(1.0, w - left - right), std::max(1.0, plot_height));
    const QRectF plot = layout.plot;
    const bool room =
        plot.width() > 20 && plot.height() > 10 && w - left - right > 20 && plot_height > 10;
    if (!room) {
        return layout; // too small to show anything readable
    }

    const auto point_at = [&layout](const PlotPoint& p, bool secondary) {
        return QPointF(px(layout.x_pixel(p.x)),
                       px(secondary ? layout.y2_pixel(p.y) : layout.y_pixel(p.y)));
    };

    // Bands, grid and frame.
    for (const PlotBand& b : spec.bands) {
        const double x0 = std::max(plot.left(), layout.x_pixel(b.from));
        const double x1 = std::min(plot.right(), layout.x_pixel(b.to));
        if (x1 > x0) {
            d.polygon(
                {{x0, plot.top()}, {x1, plot.top()}, {x1, plot.bottom()}, {x0, plot.bottom()}},
                b.colour);
        }
    }
    for (double f : frequency_grid(spec.x)) {
        const double x = layout.x_pixel(f);
        d.line(px(x), plot.top(), px(x), plot.bottom(), graph_colour::grid);
    }
    for (double v : ticks) {
        const double y = layout.y_pixel(v);
        d.line(plot.left(), px(y), plot.right(), px(y), graph_colour::grid);
    }

    // Shading between curves, cut to the plot.
    for (const PlotShade& s : spec.shades) {
        const std::size_t n = std::min(s.lower.size(), s.upper.size());
        std::size_t i = 0;
        while (i < n) {
            // A run where the upper curve lies above the lower.
            while (i < n &&
                   !(finite(s.upper[i]) && finite(s.lower[i]) && s.upper[i].y > s.lower[i].y)) {
                ++i;
            }
            std::size_t j = i;
            while (j < n && finite(s.upper[j]) && finite(s.lower[j]) &&
                   s.upper[j].y > s.lower[j].y) {
                ++j;
            }
            if (j > i) {
                std::vector<QPointF> corners;
                // Where the run starts and ends between samples, the curves meet.
                const auto meeting = [&](std::size_t a, std::size_t b) {
                    const double da = s.upper[a].y - s.lower[a].y;
                    const double db = s.upper[b].y - s.lower[b].y;
                    const double t = da / (da - db);
                    return PlotPoint{s.lower[a].x + t * (s.lower[b].x - s.lower[a].x),
                                     s.lower[a].y + t * (s.lower[b].y - s.lower[a].y)};
                };
                if (i > 0 && finite(s.upper[i - 1]) && finite(s.lower[i - 1])) {
                    corners.push_back(point_at(meeting(i - 1, i), false));
                }
                for (std::size_t k = i; k < j; ++k) {
                    corners.push_back(point_at(s.lower[k], false));
                }
                if (j < n && finite(s.upper[j]) && finite(s.lower[j])) {
                    corners.push_back(point_at(meeting(j - 1, j), false));
                }
                for (std::size_t k = j; k-- > i;) {
                    corners.push_back(point_at(s.upper[k], false));
                }
                const auto cut = clip_polygon(corners, plot);
                if (cut.size() >= 3) {
                    d.polygon(cut, s.colour);
                }
            }
            i = j;
        }
    }

    for (const PlotMarker& m : spec.markers) {
        const double x = layout.x_pixel(m.x);
        if (x >= plot.left() && x <= plot.right()) {
            d.set_pen_style(m.style);
            d.line(px(x), plot.top(), px(x), plot.bottom(), m.colour);
            d.set_pen_style(Qt::SolidLine);
        }
    }

    // The curves, cut to the plot; a curve that leaves through the top is marked
    // there with a small triangle.
    const auto mark_off_top = [&](double x, const QColor& colour) {
        x = std::clamp(x, plot.left() + triangle_half, plot.right() - triangle_half);
        d.polygon({{x - triangle_half, plot.top()},
                   {x + triangle_half, plot.top()},
                   {x, plot.top() - triangle_half}},
                  colour);
    };
    for (const PlotCurve& c : spec.curves) {
        d.set_pen_width(c.width);
        d.set_pen_style(c.style);
        for (std::size_t i = 0; i + 1 < c.points.size(); ++i) {
            if (!finite(c.points[i]) || !finite(c.points[i + 1])) {
                continue;
            }
            QPointF a = point_at(c.points[i], c.secondary);
            QPointF b = point_at(c.points[i + 1], c.secondary);
            const bool a_above = a.y() < plot.top();
            const bool b_above = b.y() < plot.top();
            const QColor colour = i < c.stretch_colours.size() ? c.stretch_colours[i] : c.colour;
            if (clip_segment(plot, a, b)) {
                d.line(a.x(), a.y(), b.x(), b.y(), colour);
                if (a_above != b_above) {
                    mark_off_top(a_above ? a.x() : b.x(), colour);
                }
            }
        }
        // A curve that ends above the top is marked where it ends too.
        const auto last = std::find_if(c.points.rbegin(), c.points.rend(), finite);
        if (last != c.points.rend() && point_at(*last, c.secondary).y() < plot.top() &&
            layout.x_pixel(last->x) >= plot.left()) {
            mark_off_top(std::min(layout.x_pixel(last->x), plot.right()) - triangle_half,
                         c.stretch_colours.empty() ? c.colour : c.stretch_colours.back());
        }
        d.set_pen_style(Qt::SolidLine);
    }
    d.set_pen_width(1.5);
    for (const PlotCross& c : spec.crosses) {
        const QPointF p = point_at({c.x, c.y}, false);
        for (auto [a, b] :
             {std::pair{QPointF(p.x() - cross_half, p.y()), QPointF(p.x() + cross_half, p.y())},
              std::pair{QPointF(p.x(), p.y() - cross_half), QPointF(p.x(), p.y() + cross_half)}}) {
            if (clip_segment(plot, a, b)) {
                d.line(a.x(), a.y(), b.x(), b.y(), c.colour);
            }
        }
    }
    d.set_pen_width(1);
    d.line(plot.left(), plot.top(), plot.right(), plot.top(), frame_colour);
    d.line(plot.right(), plot.top(), plot.right(), plot.bottom(), frame_colour);
    d.line(plot.right(), plot.bottom(), plot.left(), plot.bottom(), frame_colour);
    d.line(plot.left(), plot.bottom(), plot.left(), plot.top(), frame_colour);

    // Texts, all in the margins: titles first, then the value labels, then the
    // frequency labels, then the legends.
    texts.place(gap, 0, spec.y_title, text_colour);
    if (spec.y2) {
        const double x = std::min(w - texts.width(spec.y2->title) - 0.5,
                                  plot.right() + gap + label2_width - texts.width(spec.y2->title));
        texts.place(std::max(0.0, x), 0, spec.y2->title, text_colour);
    }
    if (!spec.note.isEmpty()) {
        texts.place(std::max(gap + texts.width(spec.y_title) + 3 * gap,
                             plot.right() - texts.width(spec.note)),
                    0, spec.note, text_colour);
    }
    const double x_title_top = h - th - 0.5;
    texts.place(std::max(0.0, plot.right() - texts.width(spec.x.title)), x_title_top, spec.x.title,
                text_colour);
    for (double v : ticks) {
        const QString t = tick_text(v, step);
        const double y = std::clamp(layout.y_pixel(v) - th / 2, 0.0, h - th);
        texts.place(plot.left() - gap - texts.width(t), y, t, graph_colour::label);
    }
    for (double v : ticks2) {
        const QString t = tick_text(v, step2);
        const double y = std::clamp(layout.y2_pixel(v) - th / 2, 0.0, h - th);
        texts.place(plot.right() + gap, y, t, graph_colour::label);
    }
    for (double f : frequency_labels(spec.x, spec.x_labels)) {
        const QString t = QString::number(f, 'g', 6);
        const double x = layout.x_pixel(f);
        if (x < plot.left() - 0.5 || x > plot.right() + 0.5) {
            continue;
        }
        // Within the plot's width at its right, clear of the legends' column.
        const double left_edge =
            std::clamp(x - texts.width(t) / 2, std::max(0.0, plot.left() - gap / 2),
                       std::max(0.0, plot.right() - texts.width(t)));
        texts.place(left_edge, plot.bottom() + gap / 2, t, graph_colour::label);
    }

    // Legends at their curves' right-hand ends, kept apart and inside.
    if (!legends.empty()) {
        std::vector<double> tops;
        for (const Legend& legend : legends) {
            const double y =
                legend.curve->secondary ? layout.y2_pixel(legend.end) : layout.y_pixel(legend.end);
            tops.push_back(
                (std::isfinite(y) ? std::clamp(y, plot.top(), plot.bottom()) : plot.center().y()) -
                th / 2);
        }
        // Beside the plot, above the frequency labels.
        keep_legends_apart(tops, TextSpace{1, std::min(h, plot.bottom() + th / 2), th});
        const double x = plot.right() + (spec.y2 ? label2_width + 2 * gap : gap);
        for (std::size_t i = 0; i < legends.size(); ++i) {
            const QString text =
                metrics.elidedText(legends[i].text, Qt::ElideRight, std::max(0.0, w - x - 1));
            const PlotCurve& c = *legends[i].curve;
            texts.place(x, tops[i], text, c.legend_colour.isValid() ? c.legend_colour : c.colour);
        }
    }
    return layout;
}

} // namespace venturon
