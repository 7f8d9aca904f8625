#include "palette.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

namespace venturon {

namespace {
QPalette::ColorRole back_role(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) ? QPalette::Base : QPalette::Window;
}
QPalette::ColorRole fore_role(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget)) {
        return QPalette::Text;
    }
    if (qobject_cast<const QAbstractButton*>(widget)) {
        return QPalette::ButtonText;
    }
    return QPalette::WindowText;
}
} // namespace

void set_back_colour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    const auto role = back_role(widget);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, role, colour);
        if (role == QPalette::Window) {
            palette.setColor(group, QPalette::Button, colour);
        }
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor back_colour(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, back_role(widget));
}

void set_fore_colour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    const auto role = fore_role(widget);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, role, colour);
        palette.setColor(group, QPalette::WindowText, colour);
    }
    widget->setPalette(palette);
}

QColor fore_colour(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, fore_role(widget));
}

} // namespace venturon
