#pragma once

#include <QPushButton>

namespace venturon {

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

} // namespace venturon
