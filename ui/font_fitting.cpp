#include "font_fitting.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>

namespace venturon {

void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width) {
    QFont font = widget->font();
    const double available = widget->width() - extra_width;
    for (double points = preferred_points; points >= 5.0; points -= 0.25) {
        font.setPointSizeF(points);
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= available &&
            metrics.height() <= widget->height() + 2) {
            break;
        }
    }
    widget->setFont(font);
}

namespace {
QString caption_of(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}
} // namespace

void fit_font_group(const QList<QWidget*>& widgets, double preferred_points, int extra_width) {
    double points = preferred_points;
    for (QWidget* w : widgets) {
        fit_font(w, caption_of(w), preferred_points, extra_width);
        points = std::min(points, w->font().pointSizeF());
    }
    for (QWidget* w : widgets) {
        QFont font = w->font();
        font.setPointSizeF(points);
        w->setFont(font);
    }
}

void fit_wrapped_font(QLabel* label, double preferred_points) {
    QFont font = label->font();
    for (double points = preferred_points; points >= 5.0; points -= 0.25) {
        font.setPointSizeF(points);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, label->width(), 10000),
                                                             Qt::TextWordWrap, label->text());
        if (needed.height() <= label->height()) {
            break;
        }
    }
    label->setFont(font);
}

} // namespace venturon
