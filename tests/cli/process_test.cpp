// The real executable: what a shell user or a script sees.
#include "options.h"
#include "support/isolation.h"
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
    EXPECT_NE(good.out.find("26.243 mm (minimum)"), std::string::npos) << good.out;
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

TEST(Executable, FileNamesThatAreNotUtf8AreRefused) {
    QTemporaryDir dir;
    const std::string name = dir.filePath("port").toStdString() + "\xff.png";
    EXPECT_EQ(shell(std::string("'") + VENTURON_CALC_PATH +
                    "' -d 100 --velocities 10,14,12,7 --graph '" + name + "' >/dev/null 2>&1"),
              2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
#endif
