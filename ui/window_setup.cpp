#include "window_setup.h"

#include "colours.h"
#include "palette.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace venturon {

void set_up_dialog(QDialog* dialog, const QString& name, const QString& title, QSize size) {
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    set_back_colour(dialog, colours::window_background);
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

namespace {
class FirstShow : public QObject {
public:
    FirstShow(QWidget* window, std::function<void()> work)
        : QObject(window), work_(std::move(work)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            const auto work = std::move(work_);
            deleteLater();
            work();
        }
        return false;
    }

private:
    std::function<void()> work_;
};
} // namespace

void on_first_show(QWidget* window, std::function<void()> work) {
    new FirstShow(window, std::move(work));
}

namespace {
class FocusWhenShown : public QObject {
public:
    FocusWhenShown(QWidget* window, std::function<QWidget*()> first)
        : QObject(window), first_(std::move(first)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (QWidget* first = first_()) {
                first->setFocus(Qt::ActiveWindowFocusReason);
            }
        }
        return false;
    }

private:
    std::function<QWidget*()> first_;
};
} // namespace

void focus_when_shown(QWidget* window, std::function<QWidget*()> first) {
    new FocusWhenShown(window, std::move(first));
}

void place_on_screen(QWidget* window, double across, double down) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    window->move(screen_position(screen->geometry(), screen->availableGeometry(), window->size(),
                                 across, down));
}

} // namespace venturon
