// The one writer of files: what it replaces, what it never replaces, and what it
// keeps of the file it replaces. Cases that need another user or a device node
// run as root (in a child process where they change who they are) and are
// skipped otherwise; the device node is the test's own, never one under /dev.
#include "file_writing.h"
#include "support/isolation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace venturon;
using namespace venturon::testing;

namespace {

const QByteArray old_bytes("cruise_off\r\n 152.4\r\n2\r\n 25.4\r\n");
const QByteArray new_bytes = QByteArray(" 100\r\n").repeated(400);
constexpr uid_t nobody = 65534;

struct FileWriting : ::testing::Test {
    QTemporaryDir dir;
    QString path(const char* name = "venturon.ini") const { return dir.filePath(name); }
    QByteArray native(const QString& p) const { return QFile::encodeName(p); }
    struct stat status(const QString& p) const {
        struct stat s {};
        EXPECT_EQ(::lstat(native(p).constData(), &s), 0) << p.toStdString();
        return s;
    }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

bool running_as_root() {
    return ::geteuid() == 0;
}

} // namespace

TEST_F(FileWriting, ReplacesARegularFileAndKeepsALinkToIt) {
    ASSERT_TRUE(put(path("real.ini"), old_bytes));
    ASSERT_TRUE(QFile::link(path("real.ini"), path()));
    const FileWrite w = write_file(path(), new_bytes);
    EXPECT_TRUE(w.written) << w.problem.toStdString();
    EXPECT_TRUE(w.problem.isEmpty());
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(contents(path("real.ini")), new_bytes);
    EXPECT_EQ(entries(), (QStringList{"real.ini", "venturon.ini"})); // nothing left over
}

TEST_F(FileWriting, KeepsThePermissionBits) {
    for (mode_t mode : {0600, 0640, 0444, 0666}) {
        ASSERT_TRUE(put(path(), old_bytes));
        ASSERT_EQ(::chmod(native(path()).constData(), mode), 0);
        const FileWrite w = write_file(path(), new_bytes);
        if (!running_as_root() && !(mode & S_IWUSR)) {
            EXPECT_FALSE(w.written); // a read-only file stays as it is
            EXPECT_EQ(contents(path()), old_bytes);
        } else {
            EXPECT_TRUE(w.written) << w.problem.toStdString();
            EXPECT_EQ(contents(path()), new_bytes);
        }
        EXPECT_EQ(status(path()).st_mode & 07777, mode) << std::oct << mode;
        ASSERT_EQ(::chmod(native(path()).constData(), 0600), 0);
    }
}

// One run as root must not take the user's file away from the user.
TEST_F(FileWriting, RootKeepsTheOwnerOfTheFile) {
    if (!running_as_root()) {
        GTEST_SKIP() << "needs root";
    }
    for (mode_t mode : {0600, 0444}) {
        ASSERT_TRUE(put(path(), old_bytes));
        ASSERT_EQ(::chown(native(path()).constData(), nobody, nobody), 0);
        ASSERT_EQ(::chmod(native(path()).constData(), mode), 0);
        EXPECT_TRUE(write_file(path(), new_bytes).written);
        const struct stat s = status(path());
        EXPECT_EQ(s.st_uid, nobody);
        EXPECT_EQ(s.st_gid, nobody);
        EXPECT_EQ(s.st_mode & 07777, mode);
        EXPECT_EQ(contents(path()), new_bytes);
        ASSERT_EQ(::unlink(native(path()).constData()), 0);
    }
}

// A folder that takes no new files, holding a file that the user may write: the
// file is rewritten in place; should that fail, the old bytes go back.
TEST_F(FileWriting, ReadOnlyFolderWithAWritableFile) {
    const QString folder = path("program");
    const QString file = folder + "/venturon.ini";
    ASSERT_TRUE(QDir(dir.path()).mkdir("program"));
    ASSERT_TRUE(put(file, old_bytes));
    ASSERT_EQ(::chmod(native(dir.path()).constData(), 0755), 0);
    const int code = run_in_child([&] {
        // Root writes anywhere: the child becomes another user, who owns the file.
        if (::chmod(native(folder).constData(), 0555) != 0 ||
            (running_as_root() &&
             (::chown(native(file).constData(), nobody, nobody) != 0 ||
              ::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))) {
            return child_skipped;
        }
        const FileWrite w = write_file(file, new_bytes);
        if (!w.written || contents(file) != new_bytes) {
            return 2;
        }
        if (QDir(folder).entryList(QDir::Files | QDir::Hidden) != QStringList{"venturon.ini"}) {
            return 3;
        }
        // Shorter content, padded to the old length and then cut: exactly the new bytes.
        const FileWrite shorter = write_file(file, old_bytes);
        if (!shorter.written || contents(file) != old_bytes) {
            return 7;
        }
        // A write cut short by a file-size limit puts the old bytes back.
        if (!put(file, old_bytes)) {
            return 4;
        }
        if (!limit_file_size(100)) {
            return child_skipped;
        }
        const FileWrite cut = write_file(file, new_bytes);
        if (cut.written || cut.problem.isEmpty()) {
            return 5;
        }
        return contents(file) == old_bytes ? child_passed : 6;
    });
    ::chmod(native(folder).constData(), 0755);
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot make a folder read-only for this user";
    }
    EXPECT_EQ(code, child_passed);
}

// ln -s /dev/null venturon.ini: the program may write into the device, but the
// device stays a device (as root, replacing it would destroy it).
TEST_F(FileWriting, LinkToACharacterDeviceIsWrittenIntoNeverReplaced) {
    if (!running_as_root()) {
        GTEST_SKIP() << "making a device node needs root";
    }
    const QString node = path("null");
    ASSERT_EQ(::mknod(native(node).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_TRUE(QFile::link(node, path()));
    write_file(path(), new_bytes); // written, or refused where devices are not allowed
    EXPECT_TRUE(S_ISCHR(status(node).st_mode));
    EXPECT_EQ(status(node).st_rdev, makedev(1, 3));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(entries(), (QStringList{"null", "venturon.ini"}));
}

TEST_F(FileWriting, FifoIsWrittenIntoOnlyWhileSomeoneReads) {
    const QString fifo = path("pipe");
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, path()));
    // No reader: refused at once, without waiting.
    const int code = run_in_child([&] { return write_file(path(), old_bytes).written ? 1 : 0; }, 5);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(S_ISFIFO(status(fifo).st_mode));

    const int reader = ::open(native(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const FileWrite w = write_file(path(), old_bytes);
    EXPECT_TRUE(w.written) << w.problem.toStdString();
    char buffer[256] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(QByteArray(buffer, int(n)), old_bytes);
    EXPECT_TRUE(S_ISFIFO(status(fifo).st_mode));
    EXPECT_EQ(entries(), (QStringList{"pipe", "venturon.ini"}));
}

TEST_F(FileWriting, OtherKindsOfFileAreLeftAlone) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("venturon.ini"));
    const FileWrite w = write_file(path(), new_bytes);
    EXPECT_FALSE(w.written);
    EXPECT_FALSE(w.problem.isEmpty());
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(entries(), QStringList{"venturon.ini"});
}

TEST_F(FileWriting, FullDiskKeepsTheOldFileAndSaysWhy) {
    const QString mount_point = path("disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const QString target = mount_point + "/port.png";
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(mount_point, "16k")) {
            return child_skipped;
        }
        if (!put(target, old_bytes) || !fill_disk(mount_point)) {
            return 2;
        }
        const FileWrite w = write_file(target, new_bytes);
        if (w.written || w.problem.isEmpty()) {
            return 4;
        }
        if (contents(target) != old_bytes) {
            return 5;
        }
        return QDir(mount_point).entryList(QDir::Files | QDir::Hidden) ==
                       QStringList({"filler", "port.png"})
                   ? child_passed
                   : 6;
    });
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, child_passed);
}
