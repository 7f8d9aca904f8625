#pragma once

// The scan for "nan" and "inf" where a user should see a number.

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>

namespace venturon::testing {

// True when text shows a number that is not one: "nan", "inf" or "infinity" in
// any case, alone, signed or right before a unit ("-inf", "nanm/s", "infhz"), but
// not a word that merely starts with those letters ("Info").
inline bool shows_non_number(const QString& text) {
    static const QRegularExpression non_number(
        QStringLiteral("(?<![a-z])(nan|inf(inity)?)(?![a-z])|(?<![a-z])(nan|inf)(?=hz|m/s|mm)"),
        QRegularExpression::CaseInsensitiveOption);
    return non_number.match(text).hasMatch();
}

inline bool shows_non_number(const std::string& text) {
    return shows_non_number(QString::fromStdString(text));
}

// The texts that show a non-number, one a line (each cut to 200 characters);
// empty when all is well. Texts in allowed are left out (what a user typed, which
// a field keeps as typed when it cannot read it).
inline std::string non_numbers_in(const QStringList& texts, const QStringList& allowed = {}) {
    QStringList out;
    for (const QString& text : texts) {
        if (shows_non_number(text) && !allowed.contains(text)) {
            out << text.left(200);
        }
    }
    return out.join(u'\n').toStdString();
}

} // namespace venturon::testing
