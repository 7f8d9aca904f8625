#pragma once

// A locale that writes numbers with a decimal comma (German, de_DE.UTF-8), for
// tests that outputs do not change with the locale. The system's own when it has
// one; otherwise one compiled with localedef from the sources of Debian's
// `locales` package into a folder of the tests' own, which programs find through
// LOCPATH. A test that cannot have one fails: passing without the locale would
// prove nothing.

#include <QDir>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#ifndef _WIN32
#include <langinfo.h>
#include <sys/wait.h>
#endif

namespace venturon::testing {

inline constexpr const char* decimal_comma_locale_name = "de_DE.UTF-8";

// Windows has no POSIX locales to switch to: the tests that need one run elsewhere.
#ifndef _WIN32

// Whether the locale loads from folder (as LOCPATH; empty: the system's own) and
// has a decimal comma.
inline bool loads_with_decimal_comma(const QString& folder) {
    const char* set = std::getenv("LOCPATH");
    const std::optional<std::string> before = set ? std::optional<std::string>(set) : std::nullopt;
    if (folder.isEmpty()) {
        ::unsetenv("LOCPATH");
    } else {
        ::setenv("LOCPATH", folder.toLocal8Bit().constData(), 1);
    }
    const locale_t locale = ::newlocale(LC_ALL_MASK, decimal_comma_locale_name, locale_t(nullptr));
    const bool comma =
        locale != locale_t(nullptr) && std::strcmp(::nl_langinfo_l(RADIXCHAR, locale), ",") == 0;
    if (locale != locale_t(nullptr)) {
        ::freelocale(locale);
    }
    if (before) {
        ::setenv("LOCPATH", before->c_str(), 1);
    } else {
        ::unsetenv("LOCPATH");
    }
    return comma;
}

struct DecimalCommaLocale {
    QString locpath;     // empty when the system has the locale; else the folder for LOCPATH
    std::string problem; // why there is none; empty when there is

    bool available() const { return problem.empty(); }

    // The environment of a program that runs in the locale.
    QProcessEnvironment environment() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(decimal_comma_locale_name));
        e.remove(QStringLiteral("LANGUAGE"));
        if (!locpath.isEmpty()) {
            e.insert(QStringLiteral("LOCPATH"), locpath);
        }
        return e;
    }
};

// Found once per test program. A compiled locale is kept in the build tree
// (VENTURON_TEST_LOCALE_DIR) for the next test programs: each is compiled aside and
// moved into place whole, so that test programs running at once do not see half
// of one.
inline const DecimalCommaLocale& decimal_comma_locale() {
    static const DecimalCommaLocale found = [] {
        DecimalCommaLocale l;
        if (loads_with_decimal_comma({})) {
            return l;
        }
#ifdef VENTURON_TEST_LOCALE_DIR
        const QString cache = QStringLiteral(VENTURON_TEST_LOCALE_DIR);
#else
        const QString cache = QDir::temp().filePath(QStringLiteral("venturon-test-locales"));
#endif
        if (!loads_with_decimal_comma(cache)) {
            // The C library remembers a locale it did not find in a folder, so the
            // compiled one is tried where it was made, before it is moved.
            QDir().mkpath(cache);
            const QTemporaryDir work(cache + QStringLiteral("/compiling-XXXXXX"));
            const QString compiled = work.filePath(QString::fromLatin1(decimal_comma_locale_name));
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + compiled.toStdString() + "' >/dev/null 2>&1";
            // localedef warns with status 1 and still writes the locale.
            const int status = std::system(command.c_str());
            if (!work.isValid() || status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) > 1 ||
                !loads_with_decimal_comma(work.path())) {
                l.problem = "no " + std::string(decimal_comma_locale_name) +
                            " locale, and localedef cannot compile one (install Debian's "
                            "locales package: scripts/setup)";
                return l;
            }
            // Fails when another test program has put its own there meanwhile.
            std::rename(compiled.toLocal8Bit().constData(),
                        QDir(cache)
                            .filePath(QString::fromLatin1(decimal_comma_locale_name))
                            .toLocal8Bit()
                            .constData());
        }
        l.locpath = cache;
        return l;
    }();
    return found;
}
#endif

} // namespace venturon::testing
