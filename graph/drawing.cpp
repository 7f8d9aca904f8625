#include "drawing.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace venturon {

namespace {

// Items lying further out than this (in fractions of the picture) cannot show.
constexpr double far_out = 4.0;

bool visible_point(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) < far_out &&
           std::fabs(p.y()) < far_out;
}

// Cuts a segment to the square |x|, |y| <= far_out, so that huge coordinates
// never reach the painter; nothing is left when it lies wholly outside.
std::optional<std::pair<QPointF, QPointF>> clip(QPointF a, QPointF b) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()) ||
        !clip_segment(QRectF(-far_out, -far_out, 2 * far_out, 2 * far_out), a, b)) {
        return std::nullopt;
    }
    return std::make_pair(a, b);
}

} // namespace

bool clip_segment(const QRectF& r, QPointF& a, QPointF& b) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
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

void Drawing::set_scale(double width, double height) {
    scale_width_ = width;
    scale_height_ = height;
}

QPointF Drawing::fraction(double x, double y) const {
    const double w = scale_width_ != 0 ? scale_width_ : 1;
    const double h = scale_height_ != 0 ? scale_height_ : 1;
    return {x / w, y / h};
}

void Drawing::clear() {
    items_.clear();
    text_position_ = QPointF();
}

void Drawing::line(double x1, double y1, double x2, double y2, const QColor& colour) {
    const auto cut = clip(fraction(x1, y1), fraction(x2, y2));
    if (!cut) {
        return;
    }
    items_.push_back({Kind::line, cut->first, cut->second, colour, pen_width_, {}, pen_style_, {}});
}

void Drawing::point(double x, double y) {
    text_position_ = fraction(x, y);
    if (visible_point(text_position_)) {
        items_.push_back({Kind::point, text_position_, {}, foreground_, pen_width_, {}, {}, {}});
    }
}

void Drawing::print(const QString& text) {
    if (visible_point(text_position_)) {
        items_.push_back({Kind::text, text_position_, {}, foreground_, pen_width_, text, {}, {}});
    }
}

void Drawing::text_at(double x, double y, const QString& text, const QColor& colour) {
    const QPointF at = fraction(x, y);
    if (visible_point(at)) {
        items_.push_back({Kind::text, at, {}, colour, pen_width_, text, {}, {}});
    }
}

void Drawing::polygon(const std::vector<QPointF>& corners, const QColor& colour) {
    Item item{Kind::polygon, {}, {}, colour, 0, {}, {}, {}};
    for (const QPointF& c : corners) {
        const QPointF f = fraction(c.x(), c.y());
        if (!visible_point(f)) {
            return;
        }
        item.corners.push_back(f);
    }
    if (item.corners.size() >= 3) {
        items_.push_back(std::move(item));
    }
}

void Drawing::render(QPainter& painter, const QSizeF& size) const {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), size), background_);
    painter.setRenderHint(QPainter::Antialiasing, antialiased_);
    painter.setFont(font_);
    const QFontMetricsF metrics(font_, painter.device());
    auto at = [&size](const QPointF& f) {
        return QPointF(f.x() * size.width(), f.y() * size.height());
    };
    for (const Item& item : items_) {
        QPen pen(item.colour);
        pen.setWidthF(item.pen_width);
        pen.setCapStyle(item.style == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap);
        pen.setStyle(item.style);
        painter.setPen(pen);
        switch (item.kind) {
        case Kind::polygon: {
            QPolygonF shape;
            for (const QPointF& c : item.corners) {
                shape << at(c);
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(item.colour);
            painter.drawPolygon(shape);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case Kind::line:
            painter.drawLine(at(item.from), at(item.to));
            break;
        case Kind::point:
            painter.drawPoint(at(item.from));
            break;
        case Kind::text: {
            QPen text_pen(item.colour);
            painter.setPen(text_pen);
            painter.drawText(at(item.from) + QPointF(0, metrics.ascent()), item.text);
            break;
        }
        }
    }
    painter.restore();
}

QImage Drawing::to_image(const QSize& size, qreal device_pixel_ratio) const {
    QImage image(size * device_pixel_ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(device_pixel_ratio);
    QPainter painter(&image);
    render(painter, QSizeF(size));
    return image;
}

} // namespace venturon
