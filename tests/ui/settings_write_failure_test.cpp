// The window's closing when its settings cannot be written: the folder cannot
// hold the file, the file cannot be replaced, or the disk is full. Each time the
// program closes normally without a word and the old file stays byte for byte.
// The tests run as root, so the read-only case needs a read-only mount; mounts
// and limits are made by a helper program (settings_write_helper), which runs
// the window in a process of its own.
#include "main_window_fixture.h"

#include "settings_file.h"
#include "support/isolation.h"
#include "support/row_names.h"
#include "support/run_program.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

// A file the program would never write as it is: closing after the helper's
// change of the port count must give different bytes.
const QByteArray old_file = QByteArray::fromStdString(example_settings_file);

class SettingsWriteFailureTest : public MainWindowTest {
protected:
    // Starts the main window in the helper, under the condition named, on folder;
    // changes the port count and closes it.
    static Outcome close_after_a_change(const char* condition, const QString& folder) {
        return run_program(VENTURON_SETTINGS_WRITE_HELPER, {condition, folder});
    }
};

} // namespace

// The same change on a writable folder rewrites the file: the cases below would
// see a write that should have failed.
TEST_F(SettingsWriteFailureTest, ClosingAfterAChangeRewritesAWritableFile) {
    write_settings(old_file);
    const Outcome o = close_after_a_change("plain", dir.path());
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(read_settings(), old_file);
    EXPECT_EQ(read_settings().count("\r\n"), 17);
}

TEST_F(SettingsWriteFailureTest, SettingsPathThatCannotBeCreated) {
    const QString plain = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(put(plain, old_file));
    // A folder that is a regular file, and one that does not exist.
    for (const QString& folder : {plain, dir.filePath(QStringLiteral("missing/deeper"))}) {
        SCOPED_TRACE(folder.toStdString());
        const Outcome o = close_after_a_change("plain", folder);
        EXPECT_EQ(o.status, 0) << o.err;
    }
    EXPECT_EQ(contents(plain), old_file);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST_F(SettingsWriteFailureTest, SettingsFileThatIsAFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("venturon.ini")));
    ASSERT_TRUE(put(dir.filePath(QStringLiteral("venturon.ini/keep")), old_file));
    const Outcome o = close_after_a_change("plain", dir.path());
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(QFileInfo(settings_path()).isDir());
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("venturon.ini/keep"))), old_file);
}

namespace {

// A disk of the helper's own: a tiny tmpfs holding the old file, mounted
// read-only or filled to the last byte. The mount is seen by the helper's
// process only, so the helper checks the old file itself.
struct PrivateDisk {
    const char* name;
    const char* condition;

    friend void PrintTo(const PrivateDisk& row, std::ostream* os) { *os << row.name; }
};

const PrivateDisk private_disks[] = {{"read_only_mount", "read-only"}, {"full_disk", "full-disk"}};

class PrivateDiskTest : public SettingsWriteFailureTest,
                        public ::testing::WithParamInterface<PrivateDisk> {};

} // namespace

TEST_P(PrivateDiskTest, KeepsTheOldSettingsFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("disk")));
    const Outcome o = close_after_a_change(GetParam().condition, dir.filePath("disk"));
    if (o.status == child_skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(o.status, 0) << o.err;
}

INSTANTIATE_TEST_SUITE_P(Disks, PrivateDiskTest, ::testing::ValuesIn(private_disks), RowName());

// A file-size limit cuts the write short, as a full disk would.
TEST_F(SettingsWriteFailureTest, FileSizeLimitKeepsTheOldSettingsFile) {
    write_settings(old_file);
    const Outcome o = close_after_a_change("file-size-limit", dir.path());
    if (o.status == child_skipped) {
        GTEST_SKIP() << "cannot limit the file size";
    }
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(read_settings(), old_file);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("venturon.ini")});
}
