#include "plot.h"

#include "graph_layout.h"
#include "velocity_graph.h"

#include <QFontMetricsF>
#include <QStringList>

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
Vertical fitted_range(const PlotSpec& chart) {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    const auto in_x = [&](const PlotPoint& p) {
        return finite(p) && p.x >= std::min(chart.x.low, chart.x.high) &&
               p.x <= std::max(chart.x.low, chart.x.high);
    };
    for (const PlotCurve& c : chart.curves) {
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
    for (const PlotCross& c : chart.crosses) {
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
    const double reach = high > 0 ? high * chart.fit.limit_reach : high;
    for (const PlotCurve& c : chart.curves) {
        if (c.secondary || c.fits_scale) {
            continue;
        }
        for (const PlotPoint& p : c.points) {
            if (in_x(p) && p.y <= reach) {
                high = std::max(high, p.y);
                if (!chart.fit.from_zero) {
                    low = std::min(low, p.y);
                }
            }
        }
    }
    if (chart.fit.from_zero) {
        low = std::min(0.0, low);
    }
    if (chart.fit.span && high - low > *chart.fit.span) {
        low = high - *chart.fit.span;
    }
    if (!(high > low)) {
        high = low + 1;
    }
    high += chart.fit.headroom * (high - low);
    return {chart.y_low.value_or(low), chart.y_high.value_or(high)};
}

// Steps of a vertical axis: a round step that leaves room for a label at each.
double vertical_step(double low, double high, double pixels, double text_height) {
    const double most = std::max(1.0, std::floor(pixels / (1.6 * text_height)));
    return nice_step((high - low) / most);
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

namespace {

// One drawing of a chart: measured first (ranges, ticks, margins, legends), then
// drawn back to front, the texts last.
class Plotter {
public:
    Plotter(Drawing& d, const PlotSpec& chart, QSizeF size)
        : d_(d), spec_(chart), w_(std::max(1.0, size.width())), h_(std::max(1.0, size.height())),
          metrics_(d.font()), texts_{d, metrics_, QSizeF(w_, h_), {}}, th_(texts_.height()) {}

    PlotLayout draw() {
        d_.set_scale(w_, h_);
        d_.clear();
        d_.set_antialiased(true);
        d_.set_pen_width(1);
        d_.set_pen_style(Qt::SolidLine);
        layout_.x = spec_.x;
        layout_.y2 = spec_.y2;
        if (!measure()) {
            return layout_; // too small to show anything readable
        }
        draw_grid();
        draw_shades();
        draw_markers();
        draw_curves();
        draw_crosses();
        draw_frame();
        draw_texts();
        draw_legends();
        return layout_;
    }

private:
    struct Legend {
        QString text;
        QColor colour;
        double end = 0;         // the value where the curve ends
        bool secondary = false; // that value on the right-hand axis
        int key = -1;           // a key's place in its list; -1: a curve's legend
    };

    // The vertical range and ticks for the plot's height, the legends, the
    // margins; false when no readable plot fits.
    bool measure() {
        const double top_margin = th_ + gap + triangle_half;
        const double bottom_margin = 2 * th_ + 2 * gap;
        const double plot_height = h_ - top_margin - bottom_margin;
        Vertical range = fitted_range(spec_);
        step_ = vertical_step(range.low, range.high, std::max(plot_height, 1.0), th_);
        if (!spec_.y_high) {
            range.high = std::ceil(range.high / step_ - 1e-9) * step_;
        }
        if (!spec_.y_low) {
            range.low = std::floor(range.low / step_ + 1e-9) * step_;
        }
        layout_.y_low = range.low;
        layout_.y_high = range.high;
        const double label_width = ticks(range.low, range.high, step_, ticks_);
        double label2_width = 0;
        if (spec_.y2) {
            step2_ = vertical_step(spec_.y2->low, spec_.y2->high, std::max(plot_height, 1.0), th_);
            label2_width = ticks(std::ceil(spec_.y2->low / step2_ - 1e-9) * step2_, spec_.y2->high,
                                 step2_, ticks2_);
        }
        const double legend_width = measure_legends();
        const double left = label_width + 2 * gap;
        const double right =
            (spec_.y2 ? label2_width + 2 * gap : gap) + legend_width + (legend_width > 0 ? gap : 0);
        legend_x_ = spec_.y2 ? label2_width + 2 * gap : gap;
        layout_.plot =
            QRectF(left, top_margin, std::max(1.0, w_ - left - right), std::max(1.0, plot_height));
        plot_ = layout_.plot;
        legend_x_ += plot_.right();
        y2_title_right_ = plot_.right() + gap + label2_width;
        return plot_.width() > 20 && plot_.height() > 10 && w_ - left - right > 20 &&
               plot_height > 10;
    }

    // The values of a vertical axis's grid lines; gives the widest label.
    double ticks(double from, double to, double step, std::vector<double>& out) const {
        double widest = 0;
        for (double v = from; v <= to + step * 1e-6 && out.size() < 200; v += step) {
            out.push_back(v);
            widest = std::max(widest, texts_.width(tick_text(v, step)));
        }
        return widest;
    }

    // A curve whose right-hand end lies above the range says so in its legend.
    double measure_legends() {
        double widest = 0;
        for (const PlotCurve& c : spec_.curves) {
            if (c.name.isEmpty()) {
                continue;
            }
            std::optional<double> end;
            for (const PlotPoint& p : c.points) {
                if (finite(p) && p.x <= std::max(spec_.x.low, spec_.x.high)) {
                    end = p.y;
                }
            }
            const double high = c.secondary && spec_.y2 ? spec_.y2->high : layout_.y_high;
            const bool above = end && *end > high;
            legends_.push_back({above ? c.name + QStringLiteral(" (off scale)") : c.name,
                                c.legend_colour.isValid() ? c.legend_colour : c.colour,
                                end.value_or(std::numeric_limits<double>::quiet_NaN()),
                                c.secondary});
            widest = std::max(widest, texts_.width(legends_.back().text));
        }
        for (std::size_t k = 0; k < spec_.keys.size(); ++k) {
            legends_.push_back(
                {spec_.keys[k].name, spec_.keys[k].colour, 0, false, static_cast<int>(k)});
            widest = std::max(widest, texts_.width(legends_.back().text));
        }
        return std::min(widest, 0.3 * w_);
    }

    QPointF point_at(const PlotPoint& p, bool secondary) const {
        return QPointF(px(layout_.x_pixel(p.x)),
                       px(secondary ? layout_.y2_pixel(p.y) : layout_.y_pixel(p.y)));
    }

    void draw_grid() {
        for (const PlotBand& b : spec_.bands) {
            const double x0 = std::max(plot_.left(), layout_.x_pixel(b.from));
            const double x1 = std::min(plot_.right(), layout_.x_pixel(b.to));
            if (x1 > x0) {
                d_.polygon({{x0, plot_.top()},
                            {x1, plot_.top()},
                            {x1, plot_.bottom()},
                            {x0, plot_.bottom()}},
                           b.colour);
            }
        }
        for (double f : frequency_grid(spec_.x)) {
            const double x = layout_.x_pixel(f);
            d_.line(px(x), plot_.top(), px(x), plot_.bottom(), graph_colour::grid);
        }
        for (double v : ticks_) {
            const double y = layout_.y_pixel(v);
            d_.line(plot_.left(), px(y), plot_.right(), px(y), graph_colour::grid);
        }
    }

    // Each stretch where the upper curve lies above the lower, as one polygon cut
    // to the plot; where a stretch starts or ends between samples, the curves meet.
    void draw_shades() {
        for (const PlotShade& s : spec_.shades) {
            const std::size_t n = std::min(s.lower.size(), s.upper.size());
            const auto above = [&s](std::size_t k) {
                return finite(s.upper[k]) && finite(s.lower[k]) && s.upper[k].y > s.lower[k].y;
            };
            const auto known = [&s](std::size_t k) {
                return finite(s.upper[k]) && finite(s.lower[k]);
            };
            const auto meeting = [&s](std::size_t a, std::size_t b) {
                const double da = s.upper[a].y - s.lower[a].y;
                const double db = s.upper[b].y - s.lower[b].y;
                const double t = da / (da - db);
                return PlotPoint{s.lower[a].x + t * (s.lower[b].x - s.lower[a].x),
                                 s.lower[a].y + t * (s.lower[b].y - s.lower[a].y)};
            };
            for (std::size_t i = 0; i < n;) {
                while (i < n && !above(i)) {
                    ++i;
                }
                std::size_t j = i;
                while (j < n && above(j)) {
                    ++j;
                }
                if (j == i) {
                    break;
                }
                std::vector<QPointF> corners;
                if (i > 0 && known(i - 1)) {
                    corners.push_back(point_at(meeting(i - 1, i), false));
                }
                for (std::size_t k = i; k < j; ++k) {
                    corners.push_back(point_at(s.lower[k], false));
                }
                if (j < n && known(j)) {
                    corners.push_back(point_at(meeting(j - 1, j), false));
                }
                for (std::size_t k = j; k-- > i;) {
                    corners.push_back(point_at(s.upper[k], false));
                }
                const auto cut = clip_polygon(corners, plot_);
                if (cut.size() >= 3) {
                    d_.polygon(cut, s.colour);
                }
                i = j;
            }
        }
    }

    void draw_markers() {
        for (const PlotMarker& m : spec_.markers) {
            const double x = layout_.x_pixel(m.x);
            if (x >= plot_.left() && x <= plot_.right()) {
                d_.set_pen_style(m.style);
                d_.line(px(x), plot_.top(), px(x), plot_.bottom(), m.colour);
                d_.set_pen_style(Qt::SolidLine);
            }
        }
    }

    // A small triangle on the top edge, where a curve runs off the top.
    void mark_off_top(double x, const QColor& colour) {
        x = std::clamp(x, plot_.left() + triangle_half, plot_.right() - triangle_half);
        d_.polygon({{x - triangle_half, plot_.top()},
                    {x + triangle_half, plot_.top()},
                    {x, plot_.top() - triangle_half}},
                   colour);
    }

    // Where a dashed curve is along its pattern, carried from segment to segment.
    struct Dash {
        double along = 0; // pixels into the current dash or gap
        bool on = true;
    };

    // A pen's own pattern restarts with every line, and a curve's segments are
    // shorter than a dash: the dashes are laid along the whole curve instead, as
    // solid pieces.
    void line_in_style(QPointF a, QPointF b, const QColor& colour, Qt::PenStyle style, Dash& dash) {
        if (style == Qt::SolidLine || style == Qt::NoPen) {
            d_.line(a.x(), a.y(), b.x(), b.y(), colour);
            return;
        }
        const double on = style == Qt::DotLine ? 2 : 7;
        const double off = style == Qt::DotLine ? 3 : 4;
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        double done = 0;
        for (int pieces = 0; done < length && pieces < 100000; ++pieces) {
            const double step = std::min((dash.on ? on : off) - dash.along, length - done);
            if (dash.on) {
                const QPointF from = a + (b - a) * (done / length);
                const QPointF to = a + (b - a) * ((done + step) / length);
                d_.line(from.x(), from.y(), to.x(), to.y(), colour);
            }
            done += step;
            dash.along += step;
            if (dash.along >= (dash.on ? on : off) - 1e-9) {
                dash.along = 0;
                dash.on = !dash.on;
            }
        }
    }

    // The curves, cut to the plot; one that leaves through the top is marked
    // there, and where it ends above it.
    void draw_curves() {
        for (const PlotCurve& c : spec_.curves) {
            d_.set_pen_width(c.width);
            Dash dash;
            for (std::size_t i = 0; i + 1 < c.points.size(); ++i) {
                if (!finite(c.points[i]) || !finite(c.points[i + 1])) {
                    continue;
                }
                QPointF a = point_at(c.points[i], c.secondary);
                QPointF b = point_at(c.points[i + 1], c.secondary);
                const bool a_above = a.y() < plot_.top();
                const bool b_above = b.y() < plot_.top();
                const QColor colour =
                    i < c.stretch_colours.size() ? c.stretch_colours[i] : c.colour;
                if (clip_segment(plot_, a, b)) {
                    line_in_style(a, b, colour, c.style, dash);
                    if (a_above != b_above) {
                        mark_off_top(a_above ? a.x() : b.x(), colour);
                    }
                }
            }
            const auto last = std::find_if(c.points.rbegin(), c.points.rend(), finite);
            if (last != c.points.rend() && point_at(*last, c.secondary).y() < plot_.top() &&
                layout_.x_pixel(last->x) >= plot_.left()) {
                mark_off_top(std::min(layout_.x_pixel(last->x), plot_.right()) - triangle_half,
                             c.stretch_colours.empty() ? c.colour : c.stretch_colours.back());
            }
            d_.set_pen_style(Qt::SolidLine);
        }
    }

    void draw_crosses() {
        d_.set_pen_width(1.5);
        for (const PlotCross& c : spec_.crosses) {
            const QPointF p = point_at({c.x, c.y}, false);
            for (auto [a, b] :
                 {std::pair{QPointF(p.x() - cross_half, p.y()), QPointF(p.x() + cross_half, p.y())},
                  std::pair{QPointF(p.x(), p.y() - cross_half),
                            QPointF(p.x(), p.y() + cross_half)}}) {
                if (clip_segment(plot_, a, b)) {
                    d_.line(a.x(), a.y(), b.x(), b.y(), c.colour);
                }
            }
        }
        d_.set_pen_width(1);
    }

    void draw_frame() {
        d_.line(plot_.left(), plot_.top(), plot_.right(), plot_.top(), frame_colour);
        d_.line(plot_.right(), plot_.top(), plot_.right(), plot_.bottom(), frame_colour);
        d_.line(plot_.right(), plot_.bottom(), plot_.left(), plot_.bottom(), frame_colour);
        d_.line(plot_.left(), plot_.bottom(), plot_.left(), plot_.top(), frame_colour);
    }

    // Titles first, then the value labels, then the frequency labels: a text
    // that would overlap one placed before it is left out.
    void draw_texts() {
        texts_.place(gap, 0, spec_.y_title, text_colour);
        if (spec_.y2) {
            const QString& title = spec_.y2->title;
            const double x =
                std::min(w_ - texts_.width(title) - 0.5, y2_title_right_ - texts_.width(title));
            texts_.place(std::max(0.0, x), 0, title, text_colour);
        }
        if (!spec_.note.isEmpty()) {
            texts_.place(std::max(gap + texts_.width(spec_.y_title) + 3 * gap,
                                  plot_.right() - texts_.width(spec_.note)),
                         0, spec_.note, text_colour);
        }
        texts_.place(std::max(0.0, plot_.right() - texts_.width(spec_.x.title)), h_ - th_ - 0.5,
                     spec_.x.title, text_colour);
        for (double v : ticks_) {
            const QString t = tick_text(v, step_);
            const double y = std::clamp(layout_.y_pixel(v) - th_ / 2, 0.0, h_ - th_);
            texts_.place(plot_.left() - gap - texts_.width(t), y, t, graph_colour::label);
        }
        for (double v : ticks2_) {
            const QString t = tick_text(v, step2_);
            const double y = std::clamp(layout_.y2_pixel(v) - th_ / 2, 0.0, h_ - th_);
            texts_.place(plot_.right() + gap, y, t, graph_colour::label);
        }
        for (double f : frequency_labels(spec_.x, spec_.x_labels)) {
            const QString t = QString::number(f, 'g', 6);
            const double x = layout_.x_pixel(f);
            if (x < plot_.left() - 0.5 || x > plot_.right() + 0.5) {
                continue;
            }
            // Within the plot's width at its right, clear of the legends' column.
            const double left_edge =
                std::clamp(x - texts_.width(t) / 2, std::max(0.0, plot_.left() - gap / 2),
                           std::max(0.0, plot_.right() - texts_.width(t)));
            texts_.place(left_edge, plot_.bottom() + gap / 2, t, graph_colour::label);
        }
    }

    // Legends at their curves' right-hand ends, kept apart, beside the plot and
    // above the frequency labels.
    void draw_legends() {
        if (legends_.empty()) {
            return;
        }
        std::vector<double> tops;
        const auto keys = static_cast<double>(spec_.keys.size());
        for (const Legend& legend : legends_) {
            if (legend.key >= 0) {
                tops.push_back(plot_.bottom() - (keys - legend.key) * (th_ + 1));
                continue;
            }
            const double y =
                legend.secondary ? layout_.y2_pixel(legend.end) : layout_.y_pixel(legend.end);
            tops.push_back((std::isfinite(y) ? std::clamp(y, plot_.top(), plot_.bottom())
                                             : plot_.center().y()) -
                           th_ / 2);
        }
        keep_legends_apart(tops, TextSpace{1, std::min(h_, plot_.bottom() + th_ / 2), th_});
        for (std::size_t i = 0; i < legends_.size(); ++i) {
            const QString text = metrics_.elidedText(legends_[i].text, Qt::ElideRight,
                                                     std::max(0.0, w_ - legend_x_ - 1));
            texts_.place(legend_x_, tops[i], text, legends_[i].colour);
        }
    }

    Drawing& d_;
    const PlotSpec& spec_;
    double w_;
    double h_;
    QFontMetricsF metrics_;
    Texts texts_;
    double th_;
    PlotLayout layout_;
    QRectF plot_;
    double step_ = 1;
    double step2_ = 1;
    std::vector<double> ticks_;
    std::vector<double> ticks2_;
    std::vector<Legend> legends_;
    double legend_x_ = 0;
    double y2_title_right_ = 0;
};

} // namespace

PlotLayout draw_plot(Drawing& d, const PlotSpec& chart, QSizeF size) {
    return Plotter(d, chart, size).draw();
}

std::vector<CurveValue> curve_values_at(const PlotSpec& chart, double x) {
    const bool log = chart.x.scale == AxisScale::log;
    const auto along = [log](double v) { return log ? std::log(std::max(v, 1e-300)) : v; };
    std::vector<CurveValue> out;
    for (const PlotCurve& c : chart.curves) {
        if (c.name.isEmpty()) {
            continue;
        }
        for (std::size_t i = 0; i + 1 < c.points.size(); ++i) {
            const PlotPoint& a = c.points[i];
            const PlotPoint& b = c.points[i + 1];
            if (!finite(a) || !finite(b) || x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) {
                continue;
            }
            const double span = along(b.x) - along(a.x);
            const double t = span != 0 ? (along(x) - along(a.x)) / span : 0;
            out.push_back({c.name, a.y + t * (b.y - a.y), c.unit,
                           c.legend_colour.isValid() ? c.legend_colour : c.colour});
            break;
        }
    }
    return out;
}

QString read_out(const PlotSpec& chart, double x) {
    QStringList parts;
    for (const CurveValue& v : curve_values_at(chart, x)) {
        parts << v.name + QLatin1Char(' ') + QString::number(v.value, 'g', 3) +
                     (v.unit.isEmpty() ? QString() : QLatin1Char(' ') + v.unit);
    }
    return QString::number(x, 'f', x < 100 ? 1 : 0) + QStringLiteral(" Hz: ") +
           parts.join(QStringLiteral(", "));
}

} // namespace venturon
