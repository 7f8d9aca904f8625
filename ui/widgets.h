#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
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
// same window (not when another window, such as a message box, takes it).
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void focus_lost();

protected:
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

// Places a window on the primary screen: `across` and `down` are the fractions of
// the free space left of it and above it (1/2 centres it).
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
