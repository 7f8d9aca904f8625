#pragma once

#include <QLineEdit>

namespace venturon {

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

// Sets a text box's text only when it differs, so that its change handling runs
// only for a real change.
void set_text(QLineEdit* edit, const QString& text);

// The value a field shows as a number: the absolute value of its leading number.
double field_number(const QLineEdit* field);

// Whether a focus change moves the focus within the window, rather than to
// another window (a message box, a menu).
bool focus_moved_within_window(const QFocusEvent* event);

} // namespace venturon
