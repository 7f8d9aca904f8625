// Where Venturon keeps venturon.ini on Windows: %APPDATA%\venturon for an
// installed program (the installer leaves its uninstaller beside it), beside
// the program for a portable copy that can write there or already has its file.
#include "settings_file.h"
#include "support/isolation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace venturon;
using namespace venturon::testing;

namespace {

// The program names itself "venturon" before it looks for its folder; a test
// program has its own name, given back afterwards.
struct ApplicationNamed {
    QString saved = QCoreApplication::applicationName();
    explicit ApplicationNamed(const QString& name) { QCoreApplication::setApplicationName(name); }
    ~ApplicationNamed() { QCoreApplication::setApplicationName(saved); }
};

} // namespace

TEST(WindowsSettingsFolder, IsTheProgramsFolderInAppData) {
    const QString app_data = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    ASSERT_FALSE(app_data.isEmpty()) << "APPDATA is not set";
    const ApplicationNamed named(QStringLiteral("venturon"));
    EXPECT_EQ(QDir::cleanPath(user_config_directory()), QDir::cleanPath(app_data + "/venturon"));
}

TEST(WindowsSettingsFolder, InstalledProgramKeepsItsSettingsPerUser) {
    QTemporaryDir dir;
    const QString program = dir.filePath("Program Files/Venturon");
    const QString config = dir.filePath("AppData/Roaming/venturon");
    ASSERT_TRUE(QDir().mkpath(program));
    const QString desktop = QStringLiteral("org.venturon.Venturon.desktop");

    // A portable copy (unpacked from the zip) writes beside itself.
    EXPECT_FALSE(installed_program(program, desktop));
    EXPECT_EQ(choose_settings_directory(program, config, installed_program(program, desktop)),
              program);

    // The installer's copy, in a folder this user may write (Wine, an
    // administrator, an installation into the user's own folders): the user's.
    ASSERT_TRUE(put(program + "/Uninstall.exe", "MZ"));
    EXPECT_TRUE(installed_program(program, desktop));
    EXPECT_EQ(choose_settings_directory(program, config, installed_program(program, desktop)),
              config);
    EXPECT_TRUE(QFileInfo(config).isDir());
    EXPECT_FALSE(QFileInfo::exists(program + "/venturon.ini"));
}

// The portable rule, case by case: the program's folder when it holds
// venturon.ini or takes a new file, else the user's.
TEST(WindowsSettingsFolder, PortableCopy) {
    QTemporaryDir dir;
    const QString config = dir.filePath("AppData/Roaming/venturon");
    const QString usb = dir.filePath("E/Venturon");
    ASSERT_TRUE(QDir().mkpath(usb));
    EXPECT_EQ(choose_settings_directory(usb, config), usb);
    EXPECT_TRUE(QDir(usb).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        << "the probe file was left behind";

    // A folder named with letters outside any ANSI code page.
    const QString named = dir.filePath(QStringLiteral("Lautsprecher \u00fc \u65e5\u672c"));
    ASSERT_TRUE(QDir().mkpath(named));
    ASSERT_TRUE(put(named + "/venturon.ini", "x"));
    EXPECT_EQ(choose_settings_directory(named, config), named);
    EXPECT_EQ(contents(settings_file_path(named)), "x");
}
