// The real program with a driver file: what a shell user or a script sees, in
// any locale.
#include "enclosure_inputs.h"
#include "support/decimal_comma_locale.h"
#include "support/row_names.h"
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

namespace {

// Runs the program in one locale and in another that writes numbers with a
// decimal comma: what it prints must not change by a byte.
struct LocaleCase {
    const char* name;
    QStringList args;
    int status;
    const char* out_holds; // a line of the output, or nothing
    const char* err;       // the whole of standard error

    friend void PrintTo(const LocaleCase& row, std::ostream* os) { *os << row.name; }
};

const QStringList example{"-d",    "100", "--fs", "25",  "--qes",   "0.45", "--qms",  "5",
                          "--vas", "100", "--sd", "500", "--re",    "3.6",  "--xmax", "12",
                          "--vb",  "60",  "--fb", "30",  "--power", "100"};

const LocaleCase locale_cases[] = {
    {"range_of_fs", example + QStringList{"--fs", "0.5"}, 2, "",
     "venturon-calc: --fs \"0.5\": Fs must be between 1 and 1000 Hz\n"},
    {"range_of_temperature", example + QStringList{"--temperature", "-60"}, 2, "",
     "venturon-calc: --temperature \"-60\": Temperature must be between -50 and 60 C\n"},
    {"qts_from_qes_and_qms", example + QStringList{"--qts", "0.3"}, 2, "",
     "venturon-calc: --qts \"0.3\": Qts does not agree with Qes and Qms, which give 0.4128\n"},
    {"range_of_curve", example + QStringList{"--curve-range", "0.01:200:10"}, 2, "",
     "venturon-calc: --curve-range \"0.01:200:10\": Low frequency must be between 0.1 and "
     "100000 Hz\n"},
    {"worked_example_table", example, 0, "Straight part   331.633 mm of tube to cut", ""},
    {"worked_example_json", example + QStringList{"--format", "json", "--curve"}, 0,
     "\"drive_voltage_v_rms\": 18.973665961010276", ""},
};

class LocaleIndependence : public ::testing::TestWithParam<LocaleCase> {};

} // namespace

TEST_P(LocaleIndependence, OutputIsTheSameWithADecimalComma) {
#ifdef _WIN32
    GTEST_SKIP() << "no POSIX locales on Windows";
#else
    const auto& locale = venturon::testing::decimal_comma_locale();
    ASSERT_TRUE(locale.available()) << locale.problem;
    const LocaleCase& c = GetParam();
    QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
    plain.insert("LC_ALL", "C");
    const venturon::testing::Outcome in_c =
        venturon::testing::run_program(VENTURON_CALC_PATH, c.args, plain);
    const venturon::testing::Outcome in_german =
        venturon::testing::run_program(VENTURON_CALC_PATH, c.args, locale.environment());
    for (const auto* o : {&in_c, &in_german}) {
        EXPECT_EQ(o->status, c.status);
        EXPECT_EQ(o->err, c.err);
        EXPECT_NE(o->out.find(c.out_holds), std::string::npos) << o->out;
    }
    EXPECT_EQ(in_german.out, in_c.out);
#endif
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleIndependence, ::testing::ValuesIn(locale_cases),
                         venturon::testing::RowName());
