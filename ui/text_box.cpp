#include "text_box.h"

#include "colours.h"
#include "number_text.h"

#include <QFocusEvent>

#include <cmath>

namespace venturon {

bool focus_moved_within_window(const QFocusEvent* event) {
    const auto reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::Text, colours::disabled_field_text);
    setPalette(p);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (focus_moved_within_window(event)) {
        emit focus_lost();
    }
}

double field_number(const QLineEdit* field) {
    return std::fabs(text_value(field->text().toStdString()));
}

void set_text(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
    }
}

} // namespace venturon
