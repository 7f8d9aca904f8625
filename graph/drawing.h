#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace venturon {

// A picture kept as a list of what was drawn, in a user scale whose origin is the
// top-left corner (x to the right, y downwards). Items are stored as fractions of
// the scale they were drawn in, so setting the scale again later does not move
// them, and the list can be replayed at any size and pixel ratio.
class Drawing {
public:
    enum class Kind { line, point, text, polygon };
    struct Item {
        Kind kind = Kind::line;
        QPointF from; // fractions of the scale: 0..1 spans the picture
        QPointF to;   // lines only
        QColor colour;
        double pen_width = 1;               // pixels
        QString text;                       // texts only
        Qt::PenStyle style = Qt::SolidLine; // lines only
        std::vector<QPointF> corners;       // polygons only, filled in `colour`
    };

    void set_scale(double width, double height);
    double scale_width() const { return scale_width_; }
    double scale_height() const { return scale_height_; }

    // Clears the picture to its background and resets the text position.
    void clear();
    void set_pen_width(double pixels) { pen_width_ = pixels; }
    double pen_width() const { return pen_width_; }
    void set_foreground(const QColor& colour) { foreground_ = colour; }
    QColor foreground() const { return foreground_; }
    void set_background(const QColor& colour) { background_ = colour; }
    QColor background() const { return background_; }
    void set_font(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }
    // Lines drawn from now on: solid, dashed, dotted.
    void set_pen_style(Qt::PenStyle style) { pen_style_ = style; }
    // Whether the picture is drawn with smoothed edges (curves), or pixel-sharp.
    void set_antialiased(bool on) { antialiased_ = on; }
    bool antialiased() const { return antialiased_; }

    void line(double x1, double y1, double x2, double y2, const QColor& colour);
    // Plots a point in the foreground colour and makes it the text position.
    void point(double x, double y);
    // Prints a text in the foreground colour, its top-left corner at the text position.
    void print(const QString& text);
    // Prints a text with its top-left corner at (x, y), plotting no point.
    void text_at(double x, double y, const QString& text, const QColor& colour);
    // A filled polygon without an outline; corners lying far outside the picture
    // leave nothing.
    void polygon(const std::vector<QPointF>& corners, const QColor& colour);

    const std::vector<Item>& items() const { return items_; }

    void render(QPainter& painter, const QSizeF& size) const;
    QImage to_image(const QSize& size, qreal device_pixel_ratio = 1.0) const;

private:
    QPointF fraction(double x, double y) const;

    double scale_width_ = 1;
    double scale_height_ = 1;
    double pen_width_ = 1;
    Qt::PenStyle pen_style_ = Qt::SolidLine;
    bool antialiased_ = false;
    QColor foreground_ = Qt::black;
    QColor background_ = Qt::white;
    QFont font_;
    QPointF text_position_;
    std::vector<Item> items_;
};

// Cuts a segment to a rectangle (Liang-Barsky): false when nothing of it lies inside.
bool clip_segment(const QRectF& rectangle, QPointF& a, QPointF& b);

} // namespace venturon
