#include "controls.h"

#include "colours.h"
#include "palette.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace venturon {

namespace {
template <class Control>
Control* add_captioned(QWidget* parent, const char* name, const QString& caption, QRect at,
                       const QString& tip) {
    auto* control = add_control<Control>(parent, name, at);
    control->setText(caption);
    if (!tip.isEmpty()) {
        control->setToolTip(tip);
    }
    return control;
}
} // namespace

QLabel* add_label(QWidget* parent, const char* name, const QString& caption, QRect at,
                  const QString& tip) {
    return add_captioned<QLabel>(parent, name, caption, at, tip);
}

ClickableLabel* add_link(QWidget* parent, const char* name, const QString& caption, QRect at,
                         const QString& tip) {
    auto* link = add_captioned<ClickableLabel>(parent, name, caption, at, tip);
    make_link(link);
    return link;
}

TextBox* add_text_box(QWidget* parent, const char* name, QRect at) {
    auto* text = add_control<TextBox>(parent, name, at);
    QFont font = text->font();
    font.setPointSizeF(8);
    text->setFont(font);
    text->setTextMargins(1, 0, 1, 0);
    set_back_colour(text, colours::normal_field);
    return text;
}

QPushButton* add_button(QWidget* parent, const char* name, const QString& caption, QRect at,
                        const QString& tip) {
    return add_captioned<QPushButton>(parent, name, caption, at, tip);
}

QRadioButton* add_option(QWidget* parent, const char* name, const QString& caption, QRect at) {
    return add_captioned<QRadioButton>(parent, name, caption, at, {});
}

QCheckBox* add_check_box(QWidget* parent, const char* name, const QString& caption, QRect at,
                         const QString& tip) {
    return add_captioned<QCheckBox>(parent, name, caption, at, tip);
}

QGroupBox* add_frame(QWidget* parent, const char* name, const QString& caption, QRect at) {
    auto* frame = add_control<QGroupBox>(parent, name, at);
    frame->setTitle(caption);
    set_fore_colour(frame, colours::hint);
    return frame;
}

} // namespace venturon
