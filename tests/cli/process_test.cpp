// The real executable: what a shell user or a script sees.
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

Finished start(const QStringList& arguments) {
    QProcess process;
    process.start(VENTURON_CALC_PATH, arguments);
    EXPECT_TRUE(process.waitForFinished(10000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace

TEST(Executable, HelpAndVersion) {
    const Finished help = start({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: venturon-calc --diameter", 0), 0u) << help.out;
    for (const char* option :
         {"--diameter", "--radius", "--ports", "--velocities", "--units", "--chuffing-allowance",
          "--core-allowance", "--content", "--round-over", "--sweep-diameter", "--sweep-ports",
          "--format", "--graph", "--graph-size", "(default: 1)", "Examples:"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Finished version = start({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "venturon-calc " VENTURON_EXPECTED_VERSION "\n");
}

TEST(Executable, ResultsOnStandardOutputErrorsOnStandardError) {
    const Finished good = start({"-d", "100", "--velocities", "10,14,12,7"});
    EXPECT_EQ(good.status, 0);
    EXPECT_NE(good.out.find("26.243 mm (minimum)"), std::string::npos) << good.out;
    EXPECT_EQ(good.err, "");

    const Finished bad = start({"-d", "100", "--velocities", "10,14,12"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("--velocities"), std::string::npos) << bad.err;

    const Finished imperial = start({"-u", "inches", "-d", "6 1/3", "--velocities", "1,1,1,1"});
    EXPECT_EQ(imperial.status, 2);
    EXPECT_EQ(imperial.err, "venturon-calc: --diameter \"6 1/3\": Allowable fractions are 1/2 "
                            "1/4 1/8 1/16\n");
}

TEST(Executable, AFullDiskIsAFailure) {
    const std::string command = std::string("'") + VENTURON_CALC_PATH +
                                "' -d 100 --velocities 10,14,12,7 >/dev/full 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}
