#pragma once

#include "drawing.h"

#include <QWidget>

#include <optional>

namespace venturon {

// A widget that shows a Drawing and reports mouse presses in the drawing's user
// scale. It repaints from the drawing's display list at any size and pixel ratio,
// so what was drawn survives repaints and stays sharp on high-DPI screens.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    Drawing& drawing() { return drawing_; }
    const Drawing& drawing() const { return drawing_; }
    // Call after drawing into drawing() so that the widget shows it.
    void refresh() { update(); }
    // A picture that no longer stands for the inputs shows faintly until it is
    // drawn again.
    void set_dimmed(bool dimmed);
    bool dimmed() const { return dimmed_; }
    // A thin vertical line over the picture at x pixels (a read-out's cursor);
    // nothing: none.
    void set_cursor_x(std::optional<double> pixels);
    std::optional<double> cursor_x() const { return cursor_x_; }
    QImage to_image(qreal device_pixel_ratio = 1.0) const;

signals:
    void mouse_down(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x, double y);
    // With mouse tracking on: the pointer moved over the picture (pixels), or left it.
    void pointer_moved(QPointF pixels);
    void pointer_left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Drawing drawing_;
    bool dimmed_ = false;
    std::optional<double> cursor_x_;
};

} // namespace venturon
