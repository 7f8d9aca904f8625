#include "font_fitting.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>

namespace venturon {

// Text grows about in proportion to its size: the steps down from the preferred
// size to a little above the size that proportion gives cannot fit, and are not
// tried (every size tried loads a font). The steps are taken as the loop takes
// them, so the size chosen is the one trying every step would give.
double first_size_to_try(const QFont& preferred, const QString& text, double available,
                         double height) {
    const QFontMetricsF metrics(preferred);
    const double wide = metrics.horizontalAdvance(text);
    const double high = metrics.height();
    const double points = preferred.pointSizeF();
    if (wide <= available && high <= height) {
        return points;
    }
    const double scale =
        std::min(wide > 0 ? available / wide : 1.0, high > 0 ? height / high : 1.0);
    const double above = points * std::max(scale, 0.0) + 0.5;
    double start = points;
    while (start - 0.25 >= above && start - 0.25 >= 5.0) {
        start -= 0.25;
    }
    return start;
}

void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width) {
    QFont font = widget->font();
    const double available = widget->width() - extra_width;
    font.setPointSizeF(preferred_points);
    const double start = first_size_to_try(font, text, available, widget->height() + 2);
    for (double points = start; points >= 5.0; points -= 0.25) {
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
