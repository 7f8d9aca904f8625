#pragma once

// Graphs of curves against frequency, laid out in pixels at the size they are
// shown: the plot area in the middle, the value labels and axis titles in the
// margins around it, the legends in a column at its right. Texts stand only in
// the margins, so no curve, shading or marker ever covers one; they are kept apart
// and inside the picture at any size. The vertical scale follows the curves a
// user came to see; a limit that runs far above them is cut at the top edge and
// marked there.

#include "drawing.h"

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

namespace venturon {

struct PlotPoint {
    double x = 0;
    double y = 0;
};

enum class AxisScale { linear, log };

struct PlotAxis {
    double low = 0;
    double high = 1;
    AxisScale scale = AxisScale::linear;
    QString title; // with its unit: "Hz", "m/s, peak"
};

// How the vertical scale is found when the chart leaves it open.
struct VerticalFit {
    bool from_zero = true;      // the scale starts at 0 (velocities, excursions)
    double headroom = 0.08;     // above the highest fitted value, as a share of the span
    double limit_reach = 2.5;   // a curve that does not fit counts up to this many times the top
    std::optional<double> span; // at most this much below the top (decibels)
};

struct PlotCurve {
    QString name; // its legend; empty: none
    QColor colour;
    QColor legend_colour; // when the line's own colour is too pale for text
    double width = 2;
    Qt::PenStyle style = Qt::SolidLine;
    std::vector<PlotPoint> points; // by rising x
    // One colour per stretch between two points where the colour changes along
    // the curve (the binding limit, a limit passed); empty: `colour` throughout.
    std::vector<QColor> stretch_colours;
    bool fits_scale = true; // the vertical scale follows it; else it may run off the top
    bool secondary = false; // against the right-hand axis
    QString unit;           // of its values, for a read-out: "m/s", "mm", "dB"
};

// The area between two curves sampled at the same x, where the upper lies above
// the lower.
struct PlotShade {
    QColor colour;
    std::vector<PlotPoint> lower;
    std::vector<PlotPoint> upper;
};

// A thin vertical line across the plot, such as a design frequency.
struct PlotMarker {
    double x = 0;
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
};

// A lightly shaded stretch of the frequency axis.
struct PlotBand {
    double from = 0;
    double to = 0;
    QColor colour;
};

struct PlotCross {
    double x = 0;
    double y = 0;
    QColor colour;
};

// A legend without a curve of its own, naming a colour that curves take along
// their stretches (the limit that binds). Keys stand in the legends' column, in
// their order, from the bottom of the plot upwards.
struct PlotKey {
    QString name;
    QColor colour;
};

struct PlotSpec {
    PlotAxis x;
    // Left open (nullopt) the vertical range follows the fitted curves.
    std::optional<double> y_low;
    std::optional<double> y_high;
    QString y_title;
    VerticalFit fit;
    std::optional<PlotAxis> y2; // right-hand axis, its range given
    std::vector<PlotBand> bands;
    std::vector<PlotShade> shades;
    std::vector<PlotMarker> markers;
    std::vector<PlotCurve> curves;
    std::vector<PlotCross> crosses;
    std::vector<PlotKey> keys;
    // Extra labels on the frequency axis besides the round ones (the design
    // frequencies), shown where they fit.
    std::vector<double> x_labels;
    QString note; // one line in the top margin, right of the vertical title
};

// Where things ended up, for reading the picture back (pointing at it).
struct PlotLayout {
    QRectF plot;      // pixels
    PlotAxis x;       // as drawn
    double y_low = 0; // the vertical range drawn
    double y_high = 1;
    std::optional<PlotAxis> y2;

    double x_pixel(double x) const;
    double x_value(double pixel) const;
    double y_pixel(double y) const;
    double y2_pixel(double y) const;
};

// Replaces the drawing with the graph at `size` pixels (the drawing's scale
// becomes that size). Values that are not numbers are left out.
PlotLayout draw_plot(Drawing& drawing, const PlotSpec& chart, QSizeF size);

// A named curve's value at a frequency, for a read-out.
struct CurveValue {
    QString name;
    double value = 0;
    QString unit;
    QColor colour;
};

// Every named curve's value at x, read between its two nearest points (along a
// log axis, between their logarithms); curves that do not reach x are left out.
std::vector<CurveValue> curve_values_at(const PlotSpec& chart, double x);

// "42.3 Hz: Port velocity 12.1 m/s, Chuffing 30.2 m/s": the values at x in words,
// to three significant digits.
QString read_out(const PlotSpec& chart, double x);

// A value label's text for a grid step: enough decimals for the step, no more.
QString tick_text(double value, double step);

} // namespace venturon
