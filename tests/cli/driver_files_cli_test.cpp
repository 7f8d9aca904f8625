// venturon-calc with driver files of each kind, a design, and the boxes suggested
// for a driver in each format, run in-process.
#include "design_storage.h"
#include "support/calc.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace venturon;
using namespace venturon::testing::string_args;

namespace {

std::string write_file(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

QJsonObject json_of(const Outcome& o) {
    EXPECT_EQ(o.status, 0) << o.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();
}

// The same driver three ways: Fs 25 Hz, Qes 0.45, Qms 5, Vas 100 L, Sd 500 cm^2,
// Re 3.6 ohm, Xmax 12 mm; the SI files give Vas, Sd and Xmax in m^3, m^2 and m.
// Venturon's own file gives the box's QL too (7, the tool's default otherwise).
struct FormatCase {
    const char* name;
    const char* bytes;
    const char* format;
    const char* maker;
};

const FormatCase format_cases[] = {
    {"driver_section",
     "[Driver]\r\nManufacturer=Acme\r\nfs=25\r\nQes=0.45\r\nQms=5\r\nVas=0.1\r\nSd=0.05\r\n"
     "Re=3.6\r\nXmax=0.012\r\n",
     "driver-section", "Acme"},
    {"json_data_sheet",
     R"({"brand": "Acme", "fs": 25, "qes": 0.45, "qms": 5, "vas": 0.1, "sd": 0.05, "re": 3.6,
         "xmax": 0.012})",
     "json-data-sheet", "Acme"},
    {"venturon_inputs",
     "driver_maker = Acme\nfs_hz = 25\nqes = 0.45\nqms = 5\nvas_l = 100\nsd_cm2 = 500\n"
     "re_ohm = 3.6\nxmax_mm = 12\nql = 7\n",
     "venturon-inputs", "Acme"},
};

class DriverOption : public ::testing::TestWithParam<FormatCase> {};

// Each kind gives the driver in the inputs' units, and the run the same figures.
TEST_P(DriverOption, EachKindGivesTheSameDriver) {
    const FormatCase& c = GetParam();
    const QTemporaryDir dir;
    const std::string path = write_file(dir, "driver", c.bytes);
    const Args box{"-d", "100", "--vb", "60", "--fb", "30", "--power", "100", "--format", "json"};
    const QJsonObject out = json_of(calc(Args{"--driver", path} + box));
    EXPECT_EQ(out["enclosure"].toObject()["driver_file_format"].toString(), c.format);
    EXPECT_EQ(out["enclosure"].toObject()["maker"].toString(), c.maker);
    const QJsonObject inputs = out["enclosure"].toObject()["inputs"].toObject();
    for (const auto& [key, value] : {std::pair{"fs_hz", 25.0}, std::pair{"vas_l", 100.0},
                                     std::pair{"sd_cm2", 500.0}, std::pair{"xmax_mm", 12.0}}) {
        EXPECT_NEAR(inputs[key].toDouble(), value, 1e-9 * value) << key;
    }
    // The figures equal those of the same numbers typed.
    const QJsonObject typed =
        json_of(calc(Args{"--fs", "25", "--qes", "0.45", "--qms", "5", "--vas", "100", "--sd",
                          "500", "--re", "3.6", "--xmax", "12"} +
                     box));
    EXPECT_EQ(out["frequencies"], typed["frequencies"]);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DriverOption, ::testing::ValuesIn(format_cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

// A design gives the driver, box, drive and port; the run equals the one with
// everything typed, and a bad design stops it with the file, line and key.
TEST(DesignOption, GivesTheWholeRun) {
    const QTemporaryDir dir;
    Design design;
    design.inputs = EnclosureInputs{}; // the worked example: 60 L at 30 Hz
    design.inputs[Field::power] = 100;
    design.inputs.highpass[0] = read_filter("bw2@15");
    design.port = {90, 2, 30, false};
    const QString path = dir.filePath("sub.design");
    ASSERT_TRUE(write_design_file(path, design).written);
    const QJsonObject from_design =
        json_of(calc({"--design", path.toStdString(), "--format", "json"}));
    const QJsonObject typed = json_of(
        calc({"-d",    "90",   "-p",      "2",   "-r",         "30",     "--fs",     "25",
              "--qes", "0.45", "--qms",   "5",   "--vas",      "100",    "--sd",     "500",
              "--re",  "3.6",  "--xmax",  "12",  "--vb",       "60",     "--fb",     "30",
              "--ql",  "7",    "--power", "100", "--highpass", "bw2@15", "--format", "json"}));
    EXPECT_EQ(from_design["frequencies"], typed["frequencies"]);
    EXPECT_EQ(from_design["enclosure"].toObject()["port_length"],
              typed["enclosure"].toObject()["port_length"]);

    const std::string bad = write_file(dir, "bad.design", "venturon_design = 1\nfb_hz = thirty\n");
    const Outcome refused = calc({"--design", bad});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(
        refused.err.find("--design \"" + bad + "\": line 2: fb_hz: \"thirty\" is not a number"),
        std::string::npos)
        << refused.err;
}

// --suggest-box in the three formats: the same flattest box in each, and an F3
// no box reaches said plainly.
TEST(SuggestBox, TableJsonAndCsvAgree) {
    const QTemporaryDir dir;
    const std::string path = write_file(dir, "woofer.txt",
                                        "[Driver]\nfs=25\nQes=0.45\nQms=5\nVas=0.1\nSd=0.05\n"
                                        "Re=3.6\nXmax=0.012\n");
    const Args ask{"-d",           "100", "--driver",     path, "--power", "100", "--suggest-box",
                   "--suggest-vb", "70",  "--suggest-f3", "5"};
    const QJsonObject json = json_of(calc(ask + Args{"--format", "json"}));
    const QJsonArray rows = json["suggestions"].toArray();
    ASSERT_EQ(rows.size(), 3);
    const QJsonObject flattest = rows[0].toObject();
    EXPECT_EQ(flattest["suggestion"].toString(), "flattest");
    // Qts 0.4128 with QL 7: near the fourth-order Chebyshev alignment, F3 near Fs.
    EXPECT_EQ(flattest["alignment"].toString(), "C4");
    EXPECT_NEAR(flattest["f3_hz"].toDouble(), 25, 2.5);
    EXPECT_EQ(rows[1].toObject()["vb_l"].toDouble(), 70);
    EXPECT_TRUE(rows[2].toObject()["vb_l"].isNull());
    EXPECT_EQ(rows[2].toObject()["problem"].toString().toStdString().substr(0, 40),
              "no box reaches F3 5 Hz without a peak; t");

    const Outcome table = calc(ask);
    ASSERT_EQ(table.status, 0) << table.err;
    const auto shown = [](double value) { return QString::number(value, 'f', 2).toStdString(); };
    EXPECT_NE(table.out.find("flattest    " + shown(flattest["vb_l"].toDouble())),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("no box reaches F3 5 Hz without a peak"), std::string::npos);

    const Outcome csv = calc(ask + Args{"--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const std::string first_row = csv.out.substr(csv.out.find('\n') + 1);
    EXPECT_NE(first_row.find(",flattest,,"), std::string::npos) << csv.out;
    EXPECT_NE(first_row.find(",C4,"), std::string::npos);

    const Outcome with_curve = calc(ask + Args{"--curve"});
    EXPECT_EQ(with_curve.status, 2);
}
