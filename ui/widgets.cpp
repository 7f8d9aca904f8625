#include "widgets.h"

#include "colours.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace venturon {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    if (focusPolicy() != Qt::NoFocus &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
         event->key() == Qt::Key_Space)) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

namespace {
// Focus that goes to another window (a message box, a menu) is not a move within
// the window.
bool moved_within_window(const QFocusEvent* event) {
    const auto reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::Text, colours::disabled_field_text);
    setPalette(p);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (moved_within_window(event)) {
        emit focus_lost();
    }
}

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
    if (moved_within_window(event)) {
        emit focus_lost();
    }
}

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

void set_text(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void fit_font(QWidget* widget, const QString& text, double preferred_points, int extra_width) {
    QFont font = widget->font();
    const double available = widget->width() - extra_width;
    for (double points = preferred_points; points >= 5.0; points -= 0.25) {
        font.setPointSizeF(points);
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= available &&
            metrics.height() <= widget->height() + 2) {
            break;
        }
    }
    widget->setFont(font);
}

namespace {
QString caption_of(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}
} // namespace

void fit_font_group(const QList<QWidget*>& widgets, double preferred_points, int extra_width) {
    double points = preferred_points;
    for (QWidget* w : widgets) {
        fit_font(w, caption_of(w), preferred_points, extra_width);
        points = std::min(points, w->font().pointSizeF());
    }
    for (QWidget* w : widgets) {
        QFont font = w->font();
        font.setPointSizeF(points);
        w->setFont(font);
    }
}

void set_up_dialog(QDialog* dialog, const QString& name, const QString& title, QSize size) {
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    set_back_colour(dialog, QColor(224, 224, 224));
    dialog->setFixedSize(size);
}

QPoint screen_position(const QRect& screen, const QRect& available, const QSize& window,
                       double across, double down) {
    // The small margin keeps exact fractions such as 1/3 of 3n from rounding down.
    const auto part = [](int free, double fraction) {
        return static_cast<int>(free * fraction + (free >= 0 ? 1e-9 : -1e-9));
    };
    int x = screen.left() + part(screen.width() - window.width(), across);
    int y = screen.top() + part(screen.height() - window.height(), down);
    // Into the available area: first the far edges, then the near ones, which win
    // for a window larger than the area.
    x = std::max(std::min(x, available.left() + available.width() - window.width()),
                 available.left());
    y = std::max(std::min(y, available.top() + available.height() - window.height()),
                 available.top());
    return {x, y};
}

void place_on_screen(QWidget* window, double across, double down) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    window->move(screen_position(screen->geometry(), screen->availableGeometry(), window->size(),
                                 across, down));
}

void make_link(ClickableLabel* label) {
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    set_fore_colour(label, QColor(0, 0, 192));
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::TabFocus);
}

} // namespace venturon
