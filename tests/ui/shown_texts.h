#pragma once

#include "form1.h"
#include "picture_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include <cmath>
#include <string>

namespace venturon::testing {

// Every text the program shows: the captions and field texts of the main window
// and its dialogs, and the texts printed on the graph.
inline QStringList shown_texts(const Form1& form) {
    QStringList out;
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            out << l->text();
        } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
            out << e->text();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            out << b->text();
        }
    }
    for (const auto& item : form.Picture3->drawing().items()) {
        out << item.text;
    }
    return out;
}

// The texts that show "nan" or "inf" where a number belongs, one a line, and a
// note for every drawing item placed at a position that is not a number; empty
// when all is well. Texts in typed_by_user are what the user put into a field,
// which a field keeps as typed when it cannot be read.
inline std::string non_numbers_shown(const Form1& form, const QStringList& typed_by_user = {}) {
    static const QRegularExpression non_number(QStringLiteral("\\b(nan|inf|infinity)\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QString& text : shown_texts(form)) {
        if (non_number.match(text).hasMatch() && !typed_by_user.contains(text)) {
            out << text.left(200);
        }
    }
    for (const auto& item : form.Picture3->drawing().items()) {
        for (const QPointF& p : {item.from, item.to}) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
                out << QStringLiteral("a drawing item at a position that is not a number");
            }
        }
    }
    return out.join(u'\n').toStdString();
}

} // namespace venturon::testing
