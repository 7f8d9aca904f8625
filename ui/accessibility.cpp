#include "accessibility.h"

#include "clickable_label.h"
#include "picture_box.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace venturon {

namespace {

// A clickable label: pressing it through the accessibility interface clicks it.
class AccessibleClickableLabel : public QAccessibleWidget {
public:
    explicit AccessibleClickableLabel(ClickableLabel* label) : QAccessibleWidget(label) {}

    // Asked each time: a label becomes a link (reachable with Tab) after it is made.
    QAccessible::Role role() const override {
        return widget()->focusPolicy() != Qt::NoFocus ? QAccessible::Link : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            text = label()->text();
        }
        return text;
    }

    // Pressing first: it is what a screen reader offers as the label's action.
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    // The click runs from the event loop, after the screen reader's request has
    // been answered: a link that opens a modal dialog must not hold the reply up.
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            QMetaObject::invokeMethod(label(), &ClickableLabel::clicked, Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    ClickableLabel* label() const { return qobject_cast<ClickableLabel*>(widget()); }
};

QAccessibleInterface* interface_for(const QString& class_name, QObject* object) {
    if (auto* label = qobject_cast<ClickableLabel*>(object);
        label && class_name == QLatin1String("venturon::ClickableLabel")) {
        return new AccessibleClickableLabel(label);
    }
    if (auto* picture = qobject_cast<PictureBox*>(object);
        picture && class_name == QLatin1String("venturon::PictureBox")) {
        return new QAccessibleWidget(picture, QAccessible::Chart);
    }
    return nullptr;
}

} // namespace

void install_accessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(interface_for);
        return true;
    }();
    (void)installed;
}

} // namespace venturon
