#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

namespace venturon {

// A label that reports a click (press and release over it).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A label that takes the focus (links) reacts to Enter and Space like a click
    // and shows a dotted frame while it has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

// A text box that reports when the focus moves from it to another control of the
// same window (not when another window, such as a message box, takes it). Its text
// stays readable while it is disabled: a disabled box shows a computed result.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
signals:
    void focus_lost();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A push button that also reports the two ways a press can end without a click:
// the mouse released away from the button, and the focus leaving it for another
// control of the same window.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
signals:
    void click_abandoned();
    void focus_lost();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Background and text colours, set for every state of the widget so that disabled
// controls keep the colours they are given.
void set_back_colour(QWidget* widget, const QColor& colour);
QColor back_colour(const QWidget* widget);
void set_fore_colour(QWidget* widget, const QColor& colour);
QColor fore_colour(const QWidget* widget);

// Sets a text box's text only when it differs, so that its change handling runs
// only for a real change.
void set_text(QLineEdit* edit, const QString& text);

// Shrinks a control's font from its preferred point size until the text fits the
// given width (and height), so that a caption is never clipped.
void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width = 0);

// fit_font for controls that belong together: all take the size of the one that
// needs the smallest, so that they look alike.
void fit_font_group(const QList<QWidget*>& widgets, double preferred_points, int extra_width = 0);

// Names a fixed-size dialog in the window grey with a title bar and a close
// button only (no minimize or maximize).
void set_up_dialog(QDialog* dialog, const QString& name, const QString& title, QSize size);

// Where a window of the given size goes: `across` and `down` are the fractions of
// the screen's free space left of it and above it (1/2 centres it). A window that
// would then reach beyond the available area (a small or scaled screen, panels)
// is moved into it; one larger than the area keeps its top-left corner visible.
QPoint screen_position(const QRect& screen, const QRect& available, const QSize& window,
                       double across, double down);

// Places a window on the primary screen by screen_position.
void place_on_screen(QWidget* window, double across, double down);

// The link style: underlined, dark blue, reachable with Tab.
void make_link(ClickableLabel* label);

// Twips (1/1440 inch) to pixels at 96 dots per inch.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}

// A designed rectangle (left, top, width, height in twips) in pixels.
inline QRect twips(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

} // namespace venturon
