#pragma once

#include "clickable_label.h"
#include "text_box.h"

#include <QRect>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace venturon {

// Creating the windows' controls: each gets its designed name (designed_names.h)
// as its objectName, by which tests and debuggers find it, its designed place in
// pixels and its caption. Fonts are fitted by the caller, who knows the preferred
// size.

template <class Control> Control* add_control(QWidget* parent, const char* name, QRect at) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(at);
    return control;
}

QLabel* add_label(QWidget* parent, const char* name, const QString& caption, QRect at,
                  const QString& tip = {});
// A label in the link style (make_link).
ClickableLabel* add_link(QWidget* parent, const char* name, const QString& caption, QRect at,
                         const QString& tip = {});
// A text box on white, with the window's small font.
TextBox* add_text_box(QWidget* parent, const char* name, QRect at);
QPushButton* add_button(QWidget* parent, const char* name, const QString& caption, QRect at,
                        const QString& tip = {});
QRadioButton* add_option(QWidget* parent, const char* name, const QString& caption, QRect at);
QCheckBox* add_check_box(QWidget* parent, const char* name, const QString& caption, QRect at,
                         const QString& tip = {});
// A frame whose caption is in the hint colour.
QGroupBox* add_frame(QWidget* parent, const char* name, const QString& caption, QRect at);

} // namespace venturon
