#include "command_button.h"

#include "text_box.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace venturon {

void CommandButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool abandoned =
        event->button() == Qt::LeftButton && isDown() && !hitButton(event->position().toPoint());
    QPushButton::mouseReleaseEvent(event);
    if (abandoned) {
        emit click_abandoned();
    }
}

void CommandButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    if (focus_moved_within_window(event)) {
        emit focus_lost();
    }
}

} // namespace venturon
