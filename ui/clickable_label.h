#pragma once

#include <QLabel>

namespace venturon {

// A label that reports a click (press and release over it). A label that takes
// the focus (a link) reacts to Enter and Space like a click and shows a dotted
// frame while it has the focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

// The link style: underlined, dark blue, reachable with Tab.
void make_link(ClickableLabel* label);

} // namespace venturon
