#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace venturon {

// Names a fixed-size dialog in the window grey with a title bar and a close
// button only (no minimize or maximize).
void set_up_dialog(QDialog* dialog, const QString& name, const QString& title, QSize size);

// Where a window of the given size goes: `across` and `down` are the fractions of
// the screen's free space left of it and above it (1/2 centres it). A window that
// would then reach beyond the available area (a small or scaled screen, panels)
// is moved into it; one larger than the area keeps its top-left corner visible.
QPoint screen_position(const QRect& screen, const QRect& available, const QSize& window,
                       double across, double down);

// Runs `work` once, just before the window is first shown. What only matters on
// screen (fitting fonts, looking up a themed icon) is then not paid at start-up
// for a dialog that a run may never open. (Polishing would be too early: showing
// the main window polishes every window it owns.)
void on_first_show(QWidget* window, std::function<void()> work);

// Gives the focus to first() each time the window is shown, so that a keyboard
// or screen reader user starts at the dialog's first field.
void focus_when_shown(QWidget* window, std::function<QWidget*()> first);

// Places a window on the primary screen by screen_position.
void place_on_screen(QWidget* window, double across, double down);

} // namespace venturon
