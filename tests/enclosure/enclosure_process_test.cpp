// The real program with a driver file: what a shell user or a script sees.
#include "enclosure_inputs.h"
#include "support/run_program.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

venturon::testing::Outcome start(const QStringList& arguments) {
    return venturon::testing::run_program(VENTURON_CALC_PATH, arguments);
}

} // namespace

TEST(EnclosureExecutable, DriverFileToReportAndBadInputToOneLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("venturon-enclosure.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(venturon::serialise_enclosure_inputs({})));
    file.close();

    const venturon::testing::Outcome good = start({"-d", "100", "--driver", path});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
    EXPECT_NE(good.out.find("Port will be noise free"), std::string::npos) << good.out;
    EXPECT_NE(good.out.find("Straight part   331.633 mm"), std::string::npos) << good.out;

    const venturon::testing::Outcome bad = start({"-d", "100", "--driver", path, "--fb", "0"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "venturon-calc: --fb \"0\": Fb must be between 1 and 1000 Hz\n");
}
