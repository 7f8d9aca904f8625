// The real program, started as a separate process from a copy in a private
// folder: where it keeps its settings and what a timing run leaves behind.
#include "support/run_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramCopy {
    QTemporaryDir dir;
    QString bin() const { return dir.filePath("prefix/bin"); }
    QString home() const { return dir.filePath("home"); }
    QString work() const { return dir.filePath("work"); }

    explicit ProgramCopy(bool installed) {
        QDir(dir.path()).mkpath("prefix/bin");
        QDir(dir.path()).mkpath("home");
        QDir(dir.path()).mkpath("work");
        QFile::copy(VENTURON_APP_PATH, bin() + "/venturon");
        if (installed) {
            QDir(dir.path()).mkpath("prefix/share/applications");
            QFile desktop(dir.filePath("prefix/share/applications/" VENTURON_APP_ID ".desktop"));
            desktop.open(QIODevice::WriteOnly);
        }
    }

    // Starts the copy until its window has been shown, then lets it end.
    int run(const QString& xdg_config_home) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VENTURON_EXIT_AFTER_SHOW", "1");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", home());
        if (xdg_config_home.isNull()) {
            environment.remove("XDG_CONFIG_HOME");
        } else {
            environment.insert("XDG_CONFIG_HOME", xdg_config_home);
        }
        return venturon::testing::run_program(bin() + "/venturon", {}, environment, work()).status;
    }
};

} // namespace

// A timing run reads the settings but leaves them exactly as they were, and
// creates none.
TEST(Program, TimingRunChangesNoSettings) {
    ProgramCopy copy(false);
    ASSERT_EQ(copy.run(QString()), 0);
    EXPECT_FALSE(QFile::exists(copy.bin() + "/venturon.ini"));

    // LF line ends and 4 lines: any save would rewrite it as 17 lines ended by CR LF.
    const QByteArray odd("cruise_off\n 150\n2\n 20\n");
    {
        QFile file(copy.bin() + "/venturon.ini");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(odd);
    }
    ASSERT_EQ(copy.run(QString()), 0);
    QFile file(copy.bin() + "/venturon.ini");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), odd);
}

#ifndef _WIN32 // XDG_CONFIG_HOME and the menu entry: Linux (tests/windows has %APPDATA%)
// An installed program keeps its settings in the user's configuration folder,
// which a relative XDG_CONFIG_HOME does not move into the start folder.
TEST(Program, RelativeXdgConfigHomeIsIgnored) {
    ProgramCopy copy(true);
    ASSERT_EQ(copy.run("relative-config"), 0);
    EXPECT_FALSE(QFile::exists(copy.work() + "/relative-config"));
    EXPECT_TRUE(QDir(copy.home() + "/.config/venturon").exists());

    ProgramCopy absolute(true);
    ASSERT_EQ(absolute.run(absolute.dir.filePath("config")), 0);
    EXPECT_TRUE(QDir(absolute.dir.filePath("config/venturon")).exists());
}
#endif
