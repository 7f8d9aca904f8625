#include "picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace venturon {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    drawing_.set_font(font());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage PictureBox::to_image(qreal device_pixel_ratio) const {
    return drawing_.to_image(size(), device_pixel_ratio);
}

void PictureBox::set_dimmed(bool dimmed) {
    if (dimmed != dimmed_) {
        dimmed_ = dimmed;
        update();
    }
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawing_.render(painter, QSizeF(size()));
    if (dimmed_) {
        QColor veil = drawing_.background();
        veil.setAlpha(170);
        painter.fillRect(rect(), veil);
    }
    if (cursor_x_) {
        QPen pen(QColor(60, 60, 60));
        pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(*cursor_x_, 0), QPointF(*cursor_x_, height()));
    }
}

void PictureBox::set_cursor_x(std::optional<double> pixels) {
    if (pixels != cursor_x_) {
        cursor_x_ = pixels;
        update();
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit pointer_moved(event->position());
    QWidget::mouseMoveEvent(event);
}

void PictureBox::leaveEvent(QEvent* event) {
    emit pointer_left();
    QWidget::leaveEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const double x = width() > 0 ? p.x() / width() * drawing_.scale_width() : 0;
    const double y = height() > 0 ? p.y() / height() * drawing_.scale_height() : 0;
    emit mouse_down(event->button(), event->modifiers(), x, y);
}

void PictureBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        drawing_.set_font(font());
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace venturon
