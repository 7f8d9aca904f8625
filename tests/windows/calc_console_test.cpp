// venturon-calc.exe as a Windows user or a script starts it: what it writes on
// standard output and error (UTF-8, LF line ends as on Linux, so a redirected
// report is the same file on both), its exit codes, and file names outside any
// ANSI code page in its arguments.
#include "support/isolation.h"
#include "support/run_program.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

using namespace venturon::testing;

namespace {

Outcome start(const QStringList& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    return run_program(QStringLiteral(VENTURON_CALC_PATH), arguments, environment);
}

// The README's first example, start-up values and minimum radius (a minimum is
// shown rounded up, as it is cut).
const char readme_report[] = "Diameter      100 mm\n"
                             "Ports         1\n"
                             "Flare radius  26.244 mm (minimum)\n"
                             "Allowances    chuffing seating-and-masking, core none, content "
                             "home-theatre\n"
                             "\n"
                             "Frequency  Required  Core limit  Chuffing limit  Minimum radius\n"
                             "       Hz       m/s         m/s             m/s              mm\n"
                             "       20    10.000      19.765          12.250          18.887\n"
                             "       25    14.000      19.765          14.000          26.244\n"
                             "       30    12.000      29.500          19.444           9.896\n"
                             "       35     7.000      36.285          25.083           0.000\n"
                             "\n"
                             "Core excess      0.000 m/s\n"
                             "Chuffing excess  0.000 m/s\n"
                             "Port will be noise free\n";

// Names with Cyrillic, Japanese and a letter beyond the Basic Multilingual Plane:
// no ANSI code page holds them all.
const QString foreign = QStringLiteral("\u0413\u0440\u043e\u043c\u043a\u043e \u65e5\u672c "
                                       "\U0001F50A");

} // namespace

TEST(WindowsCalc, ReportIsTheLinuxReportByteForByte) {
    const Outcome o = start({"--diameter", "100", "--velocities", "10,14,12,7"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, readme_report);
    EXPECT_EQ(o.err, "");
}

// 0 success, 2 bad input, 1 an output that cannot be written; one line on
// standard error for each failure, ended by LF alone.
TEST(WindowsCalc, ExitCodesAndOneLineOnStandardError) {
    QTemporaryDir dir;
    const QString locked = dir.filePath("locked.png");
    ASSERT_TRUE(put(locked, "an older picture"));
    ASSERT_TRUE(SetFileAttributesW(QDir::toNativeSeparators(locked).toStdWString().c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    const struct {
        const char* what;
        QStringList arguments;
        int status;
        const char* err_start;
    } cases[] = {
        {"success", {"-d", "100", "--velocities", "10,14,12,7", "--format", "csv"}, 0, nullptr},
        {"help", {"--help"}, 0, nullptr},
        {"bad velocities", {"-d", "100", "--velocities", "10,14,12"}, 2, "venturon-calc: "},
        {"unknown option", {"--colour", "red"}, 2, "venturon-calc: "},
        {"read-only graph",
         {"-d", "100", "--velocities", "10,14,12,7", "--graph", locked},
         VENTURON_DRAWS_GRAPHS ? 1 : 2,
         "venturon-calc: --graph"},
    };
    for (const auto& c : cases) {
        const Outcome o = start(c.arguments);
        EXPECT_EQ(o.status, c.status) << c.what;
        EXPECT_EQ(o.out.find('\r'), std::string::npos) << c.what;
        if (c.err_start) {
            EXPECT_EQ(o.err.rfind(c.err_start, 0), 0u) << c.what << ": " << o.err;
            EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << c.what;
            EXPECT_EQ(o.err.find('\r'), std::string::npos) << c.what;
        } else {
            EXPECT_EQ(o.err, "") << c.what;
            EXPECT_FALSE(o.out.empty()) << c.what;
        }
    }
    EXPECT_EQ(contents(locked), "an older picture");
}

// A name outside the ANSI code page reaches the tool whole, and comes back in
// its messages as UTF-8.
TEST(WindowsCalc, FileNamesOutsideTheAnsiCodePage) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(foreign);
    ASSERT_TRUE(QDir().mkpath(folder));

    // A driver file with CR LF line ends, as Notepad saves it.
    const QString driver = folder + "/" + foreign + ".ini";
    ASSERT_TRUE(put(driver, "fs_hz = 25\r\nqes = 0.45\r\nqms = 5\r\nvas_l = 100\r\n"
                            "sd_cm2 = 500\r\nre_ohm = 3.6\r\nxmax_mm = 12\r\nvb_l = 60\r\n"
                            "fb_hz = 30\r\npower_w = 100\r\n"));
    const Outcome report = start({"-d", "100", "--driver", driver});
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("Straight part"), std::string::npos) << report.out;

    const QString missing = folder + "/missing.ini";
    const Outcome bad = start({"-d", "100", "--driver", missing});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err,
              "venturon-calc: --driver \"" + missing.toStdString() + "\": there is no such file\n");

    if (!VENTURON_DRAWS_GRAPHS) {
        return;
    }
    const QString graph = folder + "/" + foreign + ".png";
    const Outcome drawn = start({"-d", "100", "--velocities", "10,14,12,7", "--graph", graph});
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_TRUE(contents(graph).startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2) << "a mangled name was written";
}

// The graph's texts are drawn with the system's fonts, not as boxes: the same
// graph drawn with no fonts at all comes out different.
TEST(WindowsCalc, GraphTextsUseTheSystemsFonts) {
    if (!VENTURON_DRAWS_GRAPHS) {
        GTEST_SKIP() << "this build draws no graphs";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("no-fonts"));
    QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    system.remove("QT_QPA_FONTDIR"); // the tests' own fonts
    QProcessEnvironment none = system;
    none.insert("QT_QPA_FONTDIR", dir.filePath("no-fonts"));
    const QStringList arguments{"-d", "100", "--velocities", "10,14,12,7", "--graph"};
    ASSERT_EQ(start(arguments + QStringList{dir.filePath("system.png")}, system).status, 0);
    ASSERT_EQ(start(arguments + QStringList{dir.filePath("boxes.png")}, none).status, 0);
    EXPECT_NE(contents(dir.filePath("system.png")), contents(dir.filePath("boxes.png")));
}
