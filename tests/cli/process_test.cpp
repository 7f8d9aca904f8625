// The real executable: what a shell user or a script sees.
#include "options.h"
#include "support/decimal_comma_locale.h"
#include "support/isolation.h"
#include "support/row_names.h"
#include "support/run_program.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace venturon::testing;

namespace {

Outcome start(const QStringList& arguments) {
    return run_program(VENTURON_CALC_PATH, arguments);
}

} // namespace

TEST(Executable, HelpAndVersion) {
    const Outcome help = start({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: venturon-calc --diameter", 0), 0u) << help.out;
    for (const char* option :
         {"--diameter", "--radius", "--ports", "--velocities", "--units", "--chuffing-allowance",
          "--core-allowance", "--content", "--round-over", "--sweep-diameter", "--sweep-ports",
          "--format", "--graph", "--graph-size", "(default: 1)", "Examples:"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Outcome version = start({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "venturon-calc " VENTURON_EXPECTED_VERSION "\n");
}

TEST(Executable, ResultsOnStandardOutputErrorsOnStandardError) {
    const Outcome good = start({"-d", "100", "--velocities", "10,14,12,7"});
    EXPECT_EQ(good.status, 0);
    EXPECT_NE(good.out.find("26.244 mm (minimum)"), std::string::npos) << good.out;
    EXPECT_EQ(good.err, "");

    const Outcome bad = start({"-d", "100", "--velocities", "10,14,12"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("--velocities"), std::string::npos) << bad.err;

    const Outcome imperial = start({"-u", "inches", "-d", "6 1/3", "--velocities", "1,1,1,1"});
    EXPECT_EQ(imperial.status, 2);
    EXPECT_EQ(imperial.err, "venturon-calc: --diameter \"6 1/3\": Allowable fractions are 1/2 "
                            "1/4 1/8 1/16\n");
}

// The cases below need a POSIX shell and what Linux offers (/dev/full, FIFOs,
// file-size limits, private mounts, file names that are bytes rather than
// UTF-16); tests/windows has the Windows counterparts.
#ifndef _WIN32
TEST(Executable, AFullDiskIsAFailure) {
    const std::string command = std::string("'") + VENTURON_CALC_PATH +
                                "' -d 100 --velocities 10,14,12,7 >/dev/full 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

namespace {

// The tool as a shell would start it, in this process's mounts and limits.
int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string tool_command(const QString& graph, const char* redirect = "2>/dev/null") {
    return std::string("'") + VENTURON_CALC_PATH + "' -d 100 --velocities 10,14,12,7 --graph '" +
           graph.toStdString() + "' >/dev/null " + redirect;
}

const QByteArray old_picture("an older picture, kept byte for byte");

} // namespace
#endif

namespace {

bool graphs_available() {
    return venturon::cli::graph_output_available();
}

} // namespace

TEST(Executable, GraphWithoutARuntimeDirectoryPrintsNothingOnStandardError) {
    if (!graphs_available()) {
        GTEST_SKIP() << "this build draws no graphs";
    }
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    const Outcome o = run_program(
        VENTURON_CALC_PATH,
        {"-d", "100", "--velocities", "10,14,12,7", "--graph", dir.filePath("port.png")},
        environment);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
}

#ifndef _WIN32
// A graph that cannot be written whole leaves the old file as it was, says so in
// one line and ends with status 1: a file-size limit, a full disk, a pipe.
TEST(Executable, GraphThatCannotBeWrittenKeepsTheOldFile) {
    if (!graphs_available()) {
        GTEST_SKIP() << "this build draws no graphs";
    }
    QTemporaryDir dir;
    for (const char* name : {"limited.png", "limited.svg"}) {
        const QString file = dir.filePath(name);
        ASSERT_TRUE(put(file, old_picture));
        const QString err = dir.filePath("err.txt");
        const int code = run_in_child([&] {
            if (!limit_file_size(2048)) {
                return child_skipped;
            }
            return shell(tool_command(file, ("2>'" + err.toStdString() + "'").c_str()));
        });
        if (code == child_skipped) {
            GTEST_SKIP() << "cannot limit the file size";
        }
        EXPECT_EQ(code, 1) << name;
        EXPECT_EQ(contents(file), old_picture) << name;
        const QByteArray message = contents(err);
        EXPECT_EQ(message.count('\n'), 1) << message.toStdString();
        EXPECT_TRUE(message.startsWith("venturon-calc: --graph")) << message.toStdString();
    }

    for (const char* name : {"full.png", "full.svg"}) {
        const QString disk = dir.filePath(QString("disk-") + name);
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString("disk-") + name));
        const QString file = disk + "/port" + QString(name).right(4);
        const int code = run_in_child([&] {
            if (!mount_private_tmpfs(disk, "16k")) {
                return child_skipped;
            }
            if (!put(file, old_picture) || !fill_disk(disk)) {
                return 90;
            }
            const int status = shell(tool_command(file));
            return contents(file) == old_picture ? status : 91;
        });
        if (code == child_skipped) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
        EXPECT_EQ(code, 1) << name;
    }

    // A link to a pipe nobody reads: refused at once, and the pipe stays a pipe.
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, dir.filePath("link.png")));
    EXPECT_EQ(shell("timeout 20 " + tool_command(dir.filePath("link.png"))), 1);
    struct stat s {};
    ASSERT_EQ(lstat(fifo.toLocal8Bit().constData(), &s), 0);
    EXPECT_TRUE(S_ISFIFO(s.st_mode));
}

namespace {

// A disk with no room, one with room for a part of the picture only (the write is
// cut short, and the next one is refused) and a read-only one.
enum class Disk { full, nearly_full, read_only };

struct UnwritableCase {
    const char* name;
    const char* option;
    const char* file;
    Disk disk;
    const char* why; // the system's text for the error

    friend void PrintTo(const UnwritableCase& row, std::ostream* os) { *os << row.name; }
};

constexpr const char* no_space = "No space left on device";

const UnwritableCase unwritable_cases[] = {
    {"graph_png_full", "--graph", "port.png", Disk::full, no_space},
    {"graph_svg_nearly_full", "--graph", "port.svg", Disk::nearly_full, no_space},
    {"enclosure_graph_png_nearly_full", "--enclosure-graph", "velocity.png", Disk::nearly_full,
     no_space},
    {"enclosure_graph_svg_full", "--enclosure-graph", "velocity.svg", Disk::full, no_space},
    {"excursion_graph_png_full", "--excursion-graph", "excursion.png", Disk::full, no_space},
    {"excursion_graph_svg_nearly_full", "--excursion-graph", "excursion.svg", Disk::nearly_full,
     no_space},
    {"excursion_graph_png_read_only", "--excursion-graph", "excursion.png", Disk::read_only,
     "Read-only file system"},
};

class UnwritableDisk : public ::testing::TestWithParam<UnwritableCase> {};

} // namespace

// The message gives the system's reason, in the same words in every locale (here
// one whose own words for it are German), and the old picture stays. On the
// read-only disk the picture is a new file, which the folder refuses.
TEST_P(UnwritableDisk, SaysWhyInOneLine) {
    if (!graphs_available()) {
        GTEST_SKIP() << "this build draws no graphs";
    }
    const auto& locale = decimal_comma_locale();
    ASSERT_TRUE(locale.available()) << locale.problem;
    const UnwritableCase& c = GetParam();
    QTemporaryDir dir;
    const QString disk = dir.filePath("disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const QString file = disk + "/" + c.file;
    const QString err = dir.filePath("err.txt");
    const std::string command =
        "LC_ALL=" + std::string(decimal_comma_locale_name) + " LOCPATH='" +
        locale.locpath.toStdString() + "' '" + VENTURON_CALC_PATH +
        "' -d 100 --fs 25 --qes 0.45 --qms 5 --vas 100 --sd 500 --re 3.6 --vb 60 --fb 30 "
        "--power 100 --graph-size 600x300 " +
        c.option + " '" + file.toStdString() + "' >/dev/null 2>'" + err.toStdString() + "'";
    const int code = run_in_child([&] {
        if (!mount_private_tmpfs(disk, "64k")) {
            return child_skipped;
        }
        // Every picture of 600 by 300 pixels takes more than the 4096 bytes left.
        const int room = c.disk == Disk::nearly_full ? 4096 : 0;
        const bool existing = c.disk != Disk::read_only;
        if ((existing && !put(file, old_picture)) || !put(disk + "/room", QByteArray(room, 'r')) ||
            !fill_disk(disk) || !QFile::remove(disk + "/room") ||
            (c.disk == Disk::read_only && !remount(disk, true))) {
            return 90;
        }
        const int status = shell(command);
        const bool kept = existing ? contents(file) == old_picture : !QFile::exists(file);
        return kept ? status : 91;
    });
    if (code == child_skipped) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(contents(err).toStdString(), std::string("venturon-calc: ") + c.option + " \"" +
                                               file.toStdString() + "\": cannot write: " + c.why +
                                               "\n");
}

INSTANTIATE_TEST_SUITE_P(Graphs, UnwritableDisk, ::testing::ValuesIn(unwritable_cases), RowName());

TEST(Executable, FileNamesThatAreNotUtf8AreRefused) {
    QTemporaryDir dir;
    const std::string name = dir.filePath("port").toStdString() + "\xff.png";
    EXPECT_EQ(shell(std::string("'") + VENTURON_CALC_PATH +
                    "' -d 100 --velocities 10,14,12,7 --graph '" + name + "' >/dev/null 2>&1"),
              2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
#endif
