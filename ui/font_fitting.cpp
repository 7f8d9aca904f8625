#include "font_fitting.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>

namespace venturon {

namespace {

// Text grows about in proportion to its size: the steps down from the preferred
// size to a little above the size that proportion gives cannot fit, and are not
// tried (every size tried loads a font). The preferred size, measured at `wide` by
// `high`, did not fit. The steps are taken as the loop takes them, so the size
// chosen is the one trying every step would give.
double first_size_below(double points, double wide, double high, double available, double height) {
    const double scale =
        std::min(wide > 0 ? available / wide : 1.0, high > 0 ? height / high : 1.0);
    const double above = points * std::max(scale, 0.0) + 0.5;
    double start = points - 0.25;
    while (start - 0.25 >= above && start - 0.25 >= 5.0) {
        start -= 0.25;
    }
    return start;
}

} // namespace

void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width) {
    QFont font = widget->font();
    const double available = widget->width() - extra_width;
    const double height = widget->height() + 2;
    font.setPointSizeF(preferred_points);
    const QFontMetricsF preferred(font);
    const double wide = preferred.horizontalAdvance(text);
    const double high = preferred.height();
    if (wide > available || high > height) {
        for (double points = first_size_below(preferred_points, wide, high, available, height);
             points >= 5.0; points -= 0.25) {
            font.setPointSizeF(points);
            const QFontMetricsF metrics(font);
            if (metrics.horizontalAdvance(text) <= available && metrics.height() <= height) {
                break;
            }
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
