#include "system_information.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace venturon {
namespace {

const QString macos_tool = QStringLiteral(
    "/System/Applications/Utilities/System Information.app/Contents/MacOS/System Information");

QString path_of(const QStringList& directories) {
    return directories.join(QDir::listSeparator());
}

struct Case {
    const char* what;
    QStringList path;
    QStringList existing;
    std::optional<QString> expected;
};

TEST(FindSystemInformationTool, SearchesPathInOrderOfPreference) {
    const Case cases[] = {
        {"nothing on an empty PATH", {}, {QStringLiteral("/usr/bin/hardinfo")}, std::nullopt},
        {"no tool installed",
         {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")},
         {QStringLiteral("/usr/bin/ls")},
         std::nullopt},
        {"found in a later directory",
         {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")},
         {QStringLiteral("/usr/bin/hardinfo")},
         QStringLiteral("/usr/bin/hardinfo")},
        {"preferred tool wins over directory order",
         {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")},
         {QStringLiteral("/usr/local/bin/gnome-system-monitor"),
          QStringLiteral("/usr/bin/kinfocenter")},
         QStringLiteral("/usr/bin/kinfocenter")},
        {"same tool twice: first directory wins",
         {QStringLiteral("/opt/a"), QStringLiteral("/opt/b")},
         {QStringLiteral("/opt/b/hardinfo"), QStringLiteral("/opt/a/hardinfo")},
         QStringLiteral("/opt/a/hardinfo")},
        {"trailing separator in a directory",
         {QStringLiteral("/opt/tools/")},
         {QStringLiteral("/opt/tools/lxtask")},
         QStringLiteral("/opt/tools/lxtask")},
        {"empty and relative entries are never searched",
         {QString(), QStringLiteral("."), QStringLiteral("bin"), QStringLiteral("/usr/bin")},
         {QStringLiteral("hardinfo"), QStringLiteral("./hardinfo"), QStringLiteral("bin/hardinfo"),
          QStringLiteral("/usr/bin/xfce4-taskmanager")},
         QStringLiteral("/usr/bin/xfce4-taskmanager")},
        {"fixed place when PATH has none", {QStringLiteral("/usr/bin")}, {macos_tool}, macos_tool},
        {"PATH before the fixed place",
         {QStringLiteral("/usr/bin")},
         {macos_tool, QStringLiteral("/usr/bin/mate-system-monitor")},
         QStringLiteral("/usr/bin/mate-system-monitor")},
    };
    for (const Case& c : cases) {
        QStringList asked;
        const auto found = find_system_information_tool(path_of(c.path), [&](const QString& file) {
            asked << file;
            return c.existing.contains(file);
        });
        EXPECT_EQ(found, c.expected) << c.what;
        for (const QString& file : asked) {
            EXPECT_TRUE(QDir::isAbsolutePath(file))
                << c.what << ": asked for " << file.toStdString();
        }
    }
}

} // namespace
} // namespace venturon
