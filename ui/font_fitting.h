#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace venturon {

// Shrinks a control's font from its preferred point size until the text fits the
// given width (and height), so that a caption is never clipped.
void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width = 0);

// fit_font for controls that belong together: all take the size of the one that
// needs the smallest, so that they look alike.
void fit_font_group(const QList<QWidget*>& widgets, double preferred_points, int extra_width = 0);

// Shrinks a word-wrapped label's font from the preferred size until the whole
// text fits the label.
void fit_wrapped_font(QLabel* label, double preferred_points);

} // namespace venturon
