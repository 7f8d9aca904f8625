#include "enclosure_inputs.h"
#include "file_writing.h"
#include "settings_file.h"
#include "settings_format.h"
#include "support/isolation.h"
#include "support/row_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace venturon;
using namespace venturon::testing;

// Failures show file contents as text.
void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << ::testing::PrintToString(bytes.toStdString());
}

namespace {

QStringList entries(const QString& directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

const QByteArray old_bytes("cruise_off\r\n 152.4\r\n2\r\n\0 old\r\n", 30);
const QByteArray new_bytes = QByteArray(" 100\r\n").repeated(400);

struct SettingsFile : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("venturon.ini"); }
};

} // namespace

TEST(SettingsFilePath, AddsOneSeparator) {
    const struct {
        const char* directory;
        const char* path;
    } cases[] = {
        {"/opt/venturon", "/opt/venturon/venturon.ini"},
        {"/opt/venturon/", "/opt/venturon/venturon.ini"},
        {"/", "/venturon.ini"},
        {"", "venturon.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settings_file_path(c.directory), c.path) << c.directory;
    }
}

TEST_F(SettingsFile, ReadsBytesAsTheyAre) {
    EXPECT_EQ(read_settings_file(path()), std::nullopt);
    ASSERT_TRUE(put(path(), old_bytes));
    EXPECT_EQ(read_settings_file(path()), old_bytes);
    ASSERT_TRUE(put(path(), {}));
    EXPECT_EQ(read_settings_file(path()), QByteArray());
    EXPECT_EQ(read_settings_file(dir.path()), std::nullopt); // a directory
}

TEST_F(SettingsFile, ReadingStopsAtTheLimit) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(settings_read_limit + 4096)); // sparse: fast to make
    file.close();
    const auto bytes = read_settings_file(path());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), settings_read_limit);
}

#ifndef _WIN32 // FIFOs and forked children are POSIX only
TEST_F(SettingsFile, FifoIsNotReadAndDoesNotBlock) {
    ASSERT_EQ(mkfifo(path().toLocal8Bit().constData(), 0600), 0);
    const int code = run_in_child([&] { return read_settings_file(path()) ? 1 : child_passed; }, 5);
    EXPECT_EQ(code, child_passed);
}
#endif

TEST_F(SettingsFile, WriteReplacesTheWholeFile) {
    ASSERT_TRUE(put(path(), new_bytes + "tail that must go"));
    ASSERT_TRUE(write_settings_file(path(), old_bytes));
    EXPECT_EQ(contents(path()), old_bytes);
    ASSERT_TRUE(write_settings_file(path(), new_bytes));
    EXPECT_EQ(contents(path()), new_bytes);
    EXPECT_EQ(entries(dir.path()), QStringList{"venturon.ini"}); // no temporary file left
}

TEST_F(SettingsFile, FailedWritesLeaveNothingBehind) {
    ASSERT_TRUE(put(dir.filePath("plain"), old_bytes));
    ASSERT_TRUE(QDir(dir.path()).mkdir("venturon.ini"));
    const QString paths[] = {
        dir.filePath("plain/venturon.ini"),   // through a regular file
        dir.filePath("missing/venturon.ini"), // directory does not exist
        path(),                               // a directory stands in the way
    };
    for (const QString& target : paths) {
        EXPECT_FALSE(write_settings_file(target, new_bytes)) << target.toStdString();
    }
    EXPECT_EQ(contents(dir.filePath("plain")), old_bytes);
    EXPECT_EQ(entries(dir.path()), (QStringList{"plain", "venturon.ini"}));
}

#ifndef _WIN32 // file-size limits, private mounts and forked children are Linux only
TEST_F(SettingsFile, FileSizeLimitKeepsTheOldFile) {
    ASSERT_TRUE(put(path(), old_bytes));
    const int code = run_in_child([&] {
        if (!limit_file_size(100)) {
            return child_skipped;
        }
        return write_settings_file(path(), new_bytes) ? 1 : child_passed;
    });
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot limit the file size";
    }
    EXPECT_EQ(code, child_passed) << "a cut-short write was reported as success";
    EXPECT_EQ(contents(path()), old_bytes);
    EXPECT_EQ(entries(dir.path()), QStringList{"venturon.ini"});
}

// On a tiny tmpfs mounted in a private mount namespace of a child process.
TEST_F(SettingsFile, FullDiskKeepsTheOldFile) {
    const QString mount_point = dir.filePath("disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const QString target = settings_file_path(mount_point);
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(mount_point)) {
            return child_skipped;
        }
        if (!put(target, old_bytes) || !fill_disk(mount_point)) {
            return 2;
        }
        if (write_settings_file(target, new_bytes)) {
            return 4; // reported success on a full disk
        }
        if (contents(target) != old_bytes) {
            return 5;
        }
        return entries(mount_point) == QStringList{"filler", "venturon.ini"} ? child_passed : 6;
    });
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, child_passed);
}
#endif

TEST_F(SettingsFile, ChoosesAWritableProgramDirectory) {
    const QString program = dir.filePath("program");
    const QString config = dir.filePath("home/.config/venturon");
    ASSERT_TRUE(QDir(dir.path()).mkdir("program"));
    EXPECT_EQ(choose_settings_directory(program, config), program);
    EXPECT_TRUE(entries(program).isEmpty()); // the probe file is gone
    EXPECT_FALSE(QFileInfo::exists(config));

    // A program directory that cannot hold files: the configuration directory, made.
    ASSERT_TRUE(put(dir.filePath("file"), "x"));
    for (const QString& unusable : {dir.filePath("file"), dir.filePath("nowhere"), QString()}) {
        EXPECT_EQ(choose_settings_directory(unusable, config), config) << unusable.toStdString();
        EXPECT_TRUE(QFileInfo(config).isDir());
    }
}

// An installed program keeps its settings per user, even where it could write
// beside itself; a build tree or a portable copy has no desktop entry above it.
TEST_F(SettingsFile, InstalledProgramUsesTheUserDirectory) {
    const QString program = dir.filePath("usr/bin");
    const QString config = dir.filePath("home/.config/venturon");
    ASSERT_TRUE(QDir(dir.path()).mkpath("usr/bin"));
    EXPECT_FALSE(installed_program(program, "org.venturon.Venturon.desktop"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("usr/share/applications"));
    ASSERT_TRUE(put(dir.filePath("usr/share/applications/org.venturon.Venturon.desktop"), "x"));
    EXPECT_TRUE(installed_program(program, "org.venturon.Venturon.desktop"));
    EXPECT_FALSE(installed_program(program, "other.desktop"));
    EXPECT_FALSE(installed_program(QString(), "org.venturon.Venturon.desktop"));

    EXPECT_EQ(choose_settings_directory(program, config, true), config);
    EXPECT_TRUE(QFileInfo(config).isDir());
    EXPECT_EQ(choose_settings_directory(program, config, false), program);
}

#ifndef _WIN32 // private mounts, forked children and XDG_CONFIG_HOME are Linux only
// Read-only program directories need a read-only mount: root writes anywhere else.
TEST_F(SettingsFile, ReadOnlyProgramDirectory) {
    const QString program = dir.filePath("program");
    const QString config = dir.filePath("config");
    ASSERT_TRUE(QDir(dir.path()).mkdir("program"));
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(program)) {
            return child_skipped;
        }
        if (!remount(program, true) || choose_settings_directory(program, config) != config) {
            return 2; // nothing there, cannot write: the user's directory
        }
        if (!remount(program, false) || !put(settings_file_path(program), old_bytes) ||
            !remount(program, true)) {
            return 3;
        }
        if (choose_settings_directory(program, config) != program) {
            return 4; // a portable installation keeps its file
        }
        if (write_settings_file(settings_file_path(program), new_bytes)) {
            return 5;
        }
        return contents(settings_file_path(program)) == old_bytes ? child_passed : 6;
    });
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, child_passed);
}

// XDG_CONFIG_HOME counts only when it is an absolute path.
TEST(UserConfigDirectory, FollowsAnAbsoluteXdgConfigHomeOnly) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool was_set = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QString home_config = QDir::home().filePath(".config/venturon");
    const struct {
        const char* value; // nullptr: unset
        QString expected;
    } cases[] = {
        {"/srv/config", "/srv/config/venturon"},
        {"/srv/config/", "/srv/config/venturon"},
        {"relative-config", home_config},
        {"./config", home_config},
        {"", home_config},
        {nullptr, home_config},
    };
    for (const auto& c : cases) {
        if (c.value) {
            qputenv("XDG_CONFIG_HOME", c.value);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
        EXPECT_EQ(user_config_directory(), c.expected) << (c.value ? c.value : "(unset)");
    }
    if (was_set) {
        qputenv("XDG_CONFIG_HOME", saved);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

namespace {

// Another window's hold on venturon.ini.lock while a window writes its pair.
enum class Holder {
    live_then_gone,  // a running program, which lets go after a while
    live_throughout, // a running program that keeps it beyond the writer's wait
    crashed,         // a program that ended without letting go
};

struct LockCase {
    const char* name;
    Holder holder;
    std::chrono::milliseconds wait; // the writer's

    friend void PrintTo(const LockCase& row, std::ostream* os) { *os << row.name; }
};

// Each wait either ends the writer's wait (a short one) or is far beyond the
// child's time limit, so that the writer is known not to have waited it out.
const LockCase lock_cases[] = {
    {"held_by_a_running_window", Holder::live_then_gone, std::chrono::minutes(10)},
    {"held_beyond_the_wait", Holder::live_throughout, std::chrono::milliseconds(200)},
    {"left_by_a_crashed_window", Holder::crashed, std::chrono::minutes(10)},
};

class SettingsPair : public SettingsFile, public ::testing::WithParamInterface<LockCase> {
protected:
    QString enclosure_path() const { return enclosure_file_path(dir.path()); }
    QString lock_path() const { return path() + ".lock"; }
    void put_pair(const char* which) {
        ASSERT_TRUE(put(path(), QByteArray("settings of ") + which));
        ASSERT_TRUE(put(enclosure_path(), QByteArray("enclosure of ") + which));
    }
    QByteArray pair() const { return contents(path()) + " / " + contents(enclosure_path()); }
};

} // namespace

// Two windows closing together: the files are always both of one of them.
TEST_P(SettingsPair, IsWrittenUnderOneLock) {
    const LockCase& c = GetParam();
    put_pair("another window");
    std::optional<QLockFile> held;
    if (c.holder == Holder::crashed) {
        const int code = run_in_child([&]() -> int {
            QLockFile lock(lock_path());
            _exit(lock.tryLock(0) ? child_passed : 1); // never unlocked
        });
        ASSERT_EQ(code, child_passed);
        ASSERT_TRUE(QFileInfo::exists(lock_path()));
    } else {
        held.emplace(lock_path());
        ASSERT_TRUE(held->tryLock(0));
    }

    std::fflush(nullptr);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        alarm(60);
        _exit(write_settings_pair(dir.path(), "settings of this window",
                                  QByteArray("enclosure of this window"), c.wait)
                  ? child_passed
                  : 1);
    }
    int status = 0;
    if (c.holder == Holder::live_then_gone) {
        // While the other window holds the lock the writer waits; the other window
        // writes its own pair meanwhile, and then lets go.
        for (int i = 0; i < 20; ++i) {
            ASSERT_EQ(waitpid(writer, &status, WNOHANG), 0) << "the writer did not wait";
            usleep(25000);
        }
        put_pair("the other window");
        EXPECT_EQ(pair(), "settings of the other window / enclosure of the other window");
        held->unlock();
    }
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFEXITED(status)) << "the writer waited for a lock that no one holds";
    EXPECT_EQ(WEXITSTATUS(status), child_passed);
    EXPECT_EQ(pair(), "settings of this window / enclosure of this window");
    if (held) {
        held->unlock();
    }
    EXPECT_EQ(QFileInfo::exists(lock_path()), false);
}

INSTANTIATE_TEST_SUITE_P(Windows, SettingsPair, ::testing::ValuesIn(lock_cases), RowName());

#endif

namespace {

// What a rewrite in place leaves should the program stop between writing the new
// content and cutting the file: the new content padded to the old length with the
// format's filler. Each format's own reader must read it as the new content.
struct PaddingCase {
    const char* name;
    std::string old_content;
    std::string new_content;
    std::string_view filler;
    bool settings; // read by parse_settings, else by parse_enclosure_inputs

    friend void PrintTo(const PaddingCase& row, std::ostream* os) { *os << row.name; }
};

std::string settings_text(const std::string& port_text, UnitsMode units) {
    SettingsRecord record;
    record.lines_read = settings_line_count;
    record.port_text = port_text;
    record.units_mode = units;
    return serialise_settings(record);
}

std::string enclosure_text(std::optional<double> qa, FlaredEnds ends) {
    EnclosureInputs inputs;
    inputs[Field::qa] = qa;
    inputs.flared_ends = ends;
    return serialise_enclosure_inputs(inputs);
}

const PaddingCase padding_cases[] = {
    // One byte shorter: the filler's first byte alone (a lone CR) follows the text.
    {"settings_one_byte_shorter", settings_text("12", UnitsMode::inches),
     settings_text("1", UnitsMode::inches), settings_filler, true},
    {"settings_much_shorter", settings_text(std::string(300, '7'), UnitsMode::decimal_inches),
     settings_text("2", UnitsMode::metric), settings_filler, true},
    {"enclosure_inputs_old_had_more_keys",
     enclosure_text(3, FlaredEnds::outer) + "unknown_key = 1\nfs_hz = 40\n",
     enclosure_text(std::nullopt, FlaredEnds::both), enclosure_inputs_filler, false},
};

class InPlacePadding : public ::testing::TestWithParam<PaddingCase> {};

} // namespace

TEST_P(InPlacePadding, ReadsAsTheNewContent) {
    const PaddingCase& c = GetParam();
    ASSERT_LT(c.new_content.size(), c.old_content.size());
    const QByteArray padded =
        padded_content(QByteArray::fromStdString(c.new_content), qint64(c.old_content.size()),
                       QByteArrayView(c.filler.data(), qsizetype(c.filler.size())));
    EXPECT_EQ(padded.size(), qsizetype(c.old_content.size()));
    EXPECT_TRUE(padded.startsWith(QByteArray::fromStdString(c.new_content)));
    const std::string_view seen(padded.constData(), std::size_t(padded.size()));
    if (c.settings) {
        EXPECT_EQ(parse_settings(seen), parse_settings(c.new_content));
        EXPECT_NE(parse_settings(c.old_content), parse_settings(c.new_content));
    } else {
        EXPECT_EQ(parse_enclosure_inputs(seen), parse_enclosure_inputs(c.new_content));
        EXPECT_NE(parse_enclosure_inputs(c.old_content), parse_enclosure_inputs(c.new_content));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, InPlacePadding, ::testing::ValuesIn(padding_cases), RowName());
