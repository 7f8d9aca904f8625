#pragma once

#include "designed_control.h"
#include "main_window.h"
#include "picture_box.h"
#include "support/drawing_checks.h"
#include "support/non_numbers.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <string>

namespace venturon::testing {

// Every text the program shows: the captions and field texts of the main window
// and its dialogs, and the texts printed on the graph.
inline QStringList shown_texts(const MainWindow& form) {
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
    for (const auto& item : child<PictureBox>(form, designed::main::graph)->drawing().items()) {
        out << item.text;
    }
    return out;
}

// The texts that show "nan" or "inf" where a number belongs, one a line, and what
// is wrong with the graph (positions that are not numbers, more items than any
// graph needs); empty when all is well. Texts in typed_by_user are what the user
// put into a field, which a field keeps as typed when it cannot be read.
inline std::string non_numbers_shown(const MainWindow& form,
                                     const QStringList& typed_by_user = {}) {
    std::string out = non_numbers_in(shown_texts(form), typed_by_user);
    const std::string graph =
        drawing_faults(child<PictureBox>(form, designed::main::graph)->drawing());
    if (!out.empty() && !graph.empty()) {
        out += '\n';
    }
    return out + graph;
}

} // namespace venturon::testing
