// venturon-calc's drive chain: --pe, --highpass and its grammar, --max-output in
// every format, and the refusals, run in-process.
#include "enclosure_inputs.h"
#include "run.h"
#include "support/calc.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace venturon;
using namespace venturon::testing::string_args;

namespace {

// The README's worked example with Pe 300 W, one 100 mm port with a 40 mm flare.
const Args example{"-d",   "100",   "-r",   "40",   "--fs", "25",   "--qes",   "0.45",   "--qms",
                   "5",    "--vas", "100",  "--sd", "500",  "--re", "3.6",     "--xmax", "12",
                   "--vb", "60",    "--fb", "30",   "--pe", "300",  "--power", "100"};

QJsonObject enclosure(const Args& args) {
    const Outcome o = calc(args + Args{"--format", "json"});
    EXPECT_EQ(o.status, 0) << o.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(o.out))
        .object()["enclosure"]
        .toObject();
}

struct Refusal {
    Args args;
    std::string message; // after "venturon-calc: "
};

} // namespace

// Bad filters, too many of them and options out of place: status 2, one line
// naming the option and what is wrong.
TEST(DriveChainCalc, Refusals) {
    const Refusal refusals[] = {
        {example + Args{"--highpass", "bw9@20"},
         "--highpass \"bw9@20\": Butterworth order must be a whole number between 1 and 8"},
        {example + Args{"--highpass", "lr6@20"},
         "--highpass \"lr6@20\": Linkwitz-Riley order must be 2, 4 or 8"},
        {example + Args{"--highpass", "bessel5@15"},
         "--highpass \"bessel5@15\": Bessel order must be a whole number between 2 and 4"},
        {example + Args{"--highpass", "q30@22"},
         "--highpass \"q30@22\": High-pass Q must be between 0.1 and 20"},
        {example + Args{"--highpass", "bw4@0.5"},
         "--highpass \"bw4@0.5\": High-pass frequency must be between 1 and 1000 Hz"},
        {example + Args{"--highpass", "bw4"},
         "--highpass \"bw4\": A high-pass filter is written as its kind and order (bw1 to bw8, "
         "lr2, lr4 or lr8, bessel2 to bessel4) or q and its Q, then @ and its frequency in Hz: "
         "bw4@18, q0.7@22"},
        {example + Args{"--highpass", "bw2@10", "--highpass", "bw2@11", "--highpass", "bw2@12",
                        "--highpass", "bw2@13", "--highpass", "bw2@14"},
         "--highpass: at most 4 filters in series, 5 given"},
        {example + Args{"--pe", "0.001"},
         "--pe \"0.001\": Pe must be between 0.01 and 100000 W, or 0 for unknown"},
        {Args{"-d", "100", "--velocities", "10,14,12,7", "--highpass", "bw4@18"},
         "--highpass needs driver inputs (--driver FILE, or --fs, --vas, ...)"},
        {Args{"-d", "100", "--velocities", "10,14,12,7", "--max-output"},
         "--max-output needs driver inputs (--driver FILE, or --fs, --vas, ...)"},
        {Args{"-d",    "100", "--fs",    "25",  "--qes",        "0.45",          "--qms", "5",
              "--vas", "100", "--sd",    "500", "--re",         "3.6",           "--vb",  "60",
              "--fb",  "30",  "--power", "100", "--max-output", "--sweep-ports", "1:3"},
         "--max-output cannot be used with --sweep-ports: a sweep has no single enclosure"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.message);
        const Outcome o = calc(r.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, "venturon-calc: " + r.message + "\n");
    }
}

// The filters in the report, from options (replacing the file's) or from the
// file; a file's bad stage names its key.
TEST(DriveChainCalc, FiltersFromOptionsAndFile) {
    QTemporaryDir dir;
    EnclosureInputs in;
    in[Field::pe] = 300;
    in.highpass[1] = FilterStage{FilterKind::linkwitz_riley, 4, 20};
    const QString path = dir.filePath("box.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(serialise_enclosure_inputs(in)));
    file.close();
    const Args driver{"-d", "100", "--driver", path.toStdString()};

    const Outcome table = calc(driver);
    EXPECT_NE(table.out.find("\nHigh-pass   lr4@20 on the amplifier's output\n"), std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("Le none, Pe 300 W, 1 driver"), std::string::npos);
    EXPECT_EQ(enclosure(driver)["highpass"].toArray(), QJsonArray({"lr4@20"}));
    EXPECT_EQ(enclosure(driver)["inputs"].toObject()["highpass_2"].toString(), "lr4@20");
    EXPECT_EQ(
        enclosure(driver + Args{"--highpass", " Q0.5 @ 17 ", "--highpass", "bw3@12"})["highpass"]
            .toArray(),
        QJsonArray({"q0.5@17", "bw3@12"}));
    EXPECT_EQ(enclosure(driver + Args{"--highpass", "none"})["highpass"].toArray(), QJsonArray());

    // The filter lowers the response where it acts: at 20 Hz, LR4 at 20 Hz is -6.02 dB.
    const QJsonObject plain = enclosure(driver + Args{"--highpass", "none"});
    const QJsonObject filtered = enclosure(driver);
    EXPECT_NEAR(filtered["frequencies"].toArray()[0].toObject()["spl_db"].toDouble() -
                    plain["frequencies"].toArray()[0].toObject()["spl_db"].toDouble(),
                -6.0206, 1e-4);

    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("highpass_3 = bw12@20\n");
    file.close();
    const Outcome bad = calc(driver);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "venturon-calc: --driver \"" + path.toStdString() +
                           "\": highpass_3: Butterworth order must be a whole number between 1 "
                           "and 8\n");
}

// --max-output adds the largest SPL, the amplifier's power and the binding limit
// to the four frequencies and to the curve, in the table, JSON and CSV.
TEST(DriveChainCalc, MaxOutputColumns) {
    const Args args = example + Args{"--power", "1000", "--max-output"};
    const Outcome table = calc(args);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("Frequency  Port velocity  Excursion  of Xmax  SPL at 1 m  Impedance  "
                             "Max SPL  Max power  Limit\n"),
              std::string::npos)
        << table.out;
    // The README's hand-worked figures on a 1000 W amplifier.
    for (const char* row : {"94.1      100.0  xmax", "101.1      125.8  chuffing",
                            "108.7      277.2  chuffing", "111.7      300.0  pe"}) {
        EXPECT_NE(table.out.find(row), std::string::npos) << row;
    }

    const QJsonObject e = enclosure(args + Args{"--curve-range", "10:200:9"});
    EXPECT_EQ(e["max_output_flare_radius_mm"].toDouble(), 40);
    const QJsonArray design = e["frequencies"].toArray();
    ASSERT_EQ(design.size(), 4);
    EXPECT_EQ(design[3].toObject()["binding_limit"].toString(), "pe");
    EXPECT_NEAR(design[3].toObject()["max_power_w"].toDouble(), 300, 1e-9);
    EXPECT_NEAR(design[0].toObject()["max_spl_db"].toDouble(), 94.0863, 5e-5);
    const QJsonArray curve = e["curve"].toArray();
    ASSERT_EQ(curve.size(), 9);
    for (const auto& point : curve) {
        for (const char* key : {"max_spl_db", "max_power_w"}) {
            EXPECT_TRUE(point.toObject()[key].isDouble()) << key;
        }
        EXPECT_TRUE(point.toObject()["binding_limit"].isString());
    }
    // Without --max-output, no such fields.
    EXPECT_FALSE(enclosure(example)["frequencies"].toArray()[0].toObject().contains("max_spl_db"));
    EXPECT_TRUE(enclosure(example)["max_output_flare_radius_mm"].isNull());

    const Outcome csv = calc(args + Args{"-f", "csv"});
    const std::string header = csv.out.substr(0, csv.out.find('\n'));
    EXPECT_NE(header.find(",impedance_phase_deg,max_spl_db,max_power_w,binding_limit,length_"),
              std::string::npos)
        << header;
    EXPECT_NE(csv.out.find(",pe,"), std::string::npos);
    const Outcome points = calc(args + Args{"-f", "csv", "--curve-range", "10:200:5"});
    EXPECT_EQ(points.out.substr(0, points.out.find('\n')),
              "frequency_hz,port_velocity_m_s,excursion_mm,excursion_ratio,spl_db,impedance_ohm,"
              "impedance_phase_deg,max_spl_db,max_power_w,binding_limit");
    EXPECT_EQ(std::count(points.out.begin(), points.out.end(), '\n'), 6);
}
