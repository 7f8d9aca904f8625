// The window's closing when its settings cannot be written: the directory cannot
// hold the file, the file cannot be replaced, or the disk is full. Each time the
// program closes normally without a word and the old file stays byte for byte.
// The tests run as root, so read-only cases use a read-only mount, and the mounts
// and limits live in a forked child process.
#include "main_window_fixture.h"

#include "settings_file.h"
#include "support/isolation.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace venturon;
using namespace venturon::testing;

namespace {

constexpr int passed = child_passed;
constexpr int skipped = child_skipped;

// A file the program would never write as it is: closing after the change made
// in close_after_a_change() must give different bytes.
const QByteArray
    old_file("cruise_off\r\n 152.4\r\n2\r\n 25.4\r\n 152.4\r\n 2\r\n 12\r\n 15\r\n"
             " 18\r\n 20\r\nManually_specify\r\nBoundary_mask_off\r\n"
             "Boundary_seat_on\r\nCore_mask_on\r\nCore_seat_off\r\nMusic\r\ninches\r\n");

// Starts the program on settings_directory, changes the port count and closes it.
// Returns what went wrong, or passed: the window closed without a message.
int close_after_a_change(const QString& settings_directory) {
    ProgramState program;
    RecordingInteraction interaction;
    {
        Form1 form(program, interaction, settings_directory);
        form.show();
        form.Text10->setText(QStringLiteral("3"));
        form.close();
        if (form.isVisible()) {
            return 10;
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return interaction.messages.empty() && interaction.unexpected_dialogs.isEmpty() ? passed : 11;
}

} // namespace

// The same change on a writable directory rewrites the file: the cases below
// would see a write that should have failed.
TEST_F(MainWindowTest, ClosingAfterAChangeRewritesAWritableFile) {
    write_settings(old_file);
    EXPECT_EQ(close_after_a_change(dir.path()), passed);
    EXPECT_NE(read_settings(), old_file);
    EXPECT_EQ(read_settings().count("\r\n"), 17);
}

TEST_F(MainWindowTest, SettingsPathThatCannotBeCreated) {
    const QString plain = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(put(plain, old_file));
    // A directory that is a regular file, and one that does not exist.
    for (const QString& directory : {plain, dir.filePath(QStringLiteral("missing/deeper"))}) {
        SCOPED_TRACE(directory.toStdString());
        EXPECT_EQ(close_after_a_change(directory), passed);
    }
    EXPECT_EQ(contents(plain), old_file);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST_F(MainWindowTest, SettingsFileThatCannotBeReplaced) {
    // A directory of that name with a file in it.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("venturon.ini")));
    ASSERT_TRUE(put(dir.filePath(QStringLiteral("venturon.ini/keep")), old_file));
    EXPECT_EQ(close_after_a_change(dir.path()), passed);
    EXPECT_TRUE(QFileInfo(settings_path()).isDir());
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("venturon.ini/keep"))), old_file);

    // The file in a directory that is mounted read-only.
    const QString mount_point = dir.filePath(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("read-only")));
    const QString target = settings_file_path(mount_point);
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(mount_point, "64k")) {
            return skipped;
        }
        if (!put(target, old_file) || mount(nullptr, mount_point.toLocal8Bit().constData(), nullptr,
                                            MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            return 2;
        }
        const int closed = close_after_a_change(mount_point);
        return closed != passed ? closed : contents(target) == old_file ? passed : 3;
    });
    if (code == skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, passed);
}

// A full disk: a tiny tmpfs filled to the last byte.
TEST_F(MainWindowTest, FullDiskKeepsTheOldSettingsFile) {
    const QString mount_point = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("disk")));
    const QString target = settings_file_path(mount_point);
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(mount_point, "64k")) {
            return skipped;
        }
        if (!put(target, old_file)) {
            return 2;
        }
        QFile filler(mount_point + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return 3;
        }
        const QByteArray block(512, 'x');
        while (filler.write(block) > 0) {
        }
        while (filler.write("x", 1) > 0) {
        }
        const int closed = close_after_a_change(mount_point);
        if (closed != passed) {
            return closed;
        }
        const QStringList left =
            QDir(mount_point).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        return contents(target) != old_file ? 4
               : left != QStringList({QStringLiteral("filler"), QStringLiteral("venturon.ini")})
                   ? 5
                   : passed;
    });
    if (code == skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, passed);
}

// A file-size limit cuts the write short, as a full disk would.
TEST_F(MainWindowTest, FileSizeLimitKeepsTheOldSettingsFile) {
    write_settings(old_file);
    const int code = run_in_child([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return skipped;
        }
        return close_after_a_change(dir.path());
    });
    if (code == skipped) {
        GTEST_SKIP() << "cannot limit the file size";
    }
    EXPECT_EQ(code, passed);
    EXPECT_EQ(read_settings(), old_file);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("venturon.ini")});
}
