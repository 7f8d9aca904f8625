#pragma once

#include <QColor>

class QWidget;

namespace venturon {

// Background and text colours, set for every state of the widget so that disabled
// controls keep the colours they are given.
void set_back_colour(QWidget* widget, const QColor& colour);
QColor back_colour(const QWidget* widget);
void set_fore_colour(QWidget* widget, const QColor& colour);
QColor fore_colour(const QWidget* widget);

} // namespace venturon
