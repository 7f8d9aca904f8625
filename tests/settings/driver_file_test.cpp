// Driver files of the three kinds read from disk: what each gives and works out,
// text in other encodings and line ends, what is refused and how the message
// names the file and the key, and that applying a driver leaves the rest alone.
#include "driver_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace venturon;

namespace {

QString write_file(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

// A whole [Driver] section in SI units. Qts agrees with Qes and Qms:
// 0.45 x 5 / (0.45 + 5) = 0.412844.
const std::string complete_section = "; written by hand for the tests\n"
                                     "[Driver]\n"
                                     "Manufacturer=Acme Audio\n"
                                     "Model=W12-T\n"
                                     "Comment=Test woofer\n"
                                     "fs=25\n"
                                     "Qms=5\n"
                                     "Qes=0.45\n"
                                     "Qts=0.412844\n"
                                     "Vas=0.1\n"
                                     "Sd=0.05\n"
                                     "Re=3.6\n"
                                     "Le=0.0015\n"
                                     "Xmax=0.012\n"
                                     "Pe=300\n"
                                     "[Other]\n"
                                     "fs=99\n";

std::string with_crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

using Values = std::vector<std::pair<Field, double>>;

// The complete files' values in the inputs' units (L, cm^2, mm, mH).
const Values complete_values{{Field::fs, 25},        {Field::qes, 0.45}, {Field::qms, 5},
                             {Field::qts, 0.412844}, {Field::vas, 100},  {Field::sd, 500},
                             {Field::re, 3.6},       {Field::le, 1.5},   {Field::xmax, 12},
                             {Field::pe, 300}};

struct GoodCase {
    const char* name;
    std::string bytes;
    DriverFileFormat format;
    Values values;           // to 1e-5 relative
    std::vector<Field> none; // not given
    // The names worked out, in order: a complete data sheet still gets Cms and Mms.
    std::string derived;
    DriverIdentity identity;
};

// The minimal files, by hand (air at 20 C: c = 331.3 sqrt(1 + 20/273.15) =
// 343.215 m/s, rho = 101325 / (287.05 x 293.15) = 1.204118 kg/m^3, rho c^2 =
// 141840.7 Pa):
// - [Driver]: Sd = pi 0.25^2 / 4 = 0.0490874 m^2 = 490.874 cm^2; Vas = 141840.7 x
//   2.8e-4 x 0.0490874^2 = 0.0956971 m^3 = 95.6971 L; Qes = 2 pi 25 x 0.145 x 3.6 /
//   13.4^2 = 81.9956 / 179.56 = 0.456647; Qts = 0.456647 x 5 / 5.456647 = 0.418432,
//   shown but not an input (two Qs are).
// - JSON: fs = 1 / (2 pi sqrt(0.06 x 4e-4)) = 32.4874 Hz; Vas = 141840.7 x 4e-4 x
//   0.03^2 = 0.0510626 m^3 = 51.0626 L; Qms = 2 pi 32.4874 x 0.06 / 1.5 = 8.16497.
std::vector<GoodCase> good_cases() {
    const DriverIdentity acme{"Acme Audio", "W12-T", "Test woofer"};
    return {
        {"section_complete",
         complete_section,
         DriverFileFormat::driver_section,
         complete_values,
         {},
         "Cms Mms",
         acme},
        {"section_minimal",
         "[driver]\nFS = 25\nqms=5\nRe=3.6\nBL=13.4\nMms=0.145\nCms=2.8e-4\nDia=0.25\n",
         DriverFileFormat::driver_section,
         {{Field::fs, 25},
          {Field::qms, 5},
          {Field::qes, 0.456647},
          {Field::sd, 490.874},
          {Field::vas, 95.6971},
          {Field::re, 3.6}},
         {Field::qts, Field::le, Field::xmax, Field::pe},
         "Sd Vas Qes Qts",
         {}},
        {"section_crlf_windows_1252",
         with_crlf("[Driver]\nManufacturer=Lautsprecher M\xFCller\nComment=\x80 49, 30 \xB0"
                   "C\n") +
             with_crlf(complete_section.substr(complete_section.find("fs="))),
         DriverFileFormat::driver_section,
         complete_values,
         {},
         "Cms Mms",
         {"Lautsprecher M\u00FCller", "", "\u20AC 49, 30 \u00B0C"}},
        {"section_unknown_keys",
         "[Driver]\nZnom=4\nfs=25\nColour=red\nQes=0.45\nQms=5\nVas=0.1\nSd=0.05\nRe=3.6\n"
         "Vd=0.0006\n",
         DriverFileFormat::driver_section,
         {{Field::fs, 25}, {Field::qes, 0.45}, {Field::vas, 100}, {Field::sd, 500}},
         {Field::le, Field::xmax},
         "Cms Mms Qts",
         {}},
        {"json_complete",
         R"({"manufacturer": "Acme Audio", "model": "W12-T", "comment": "Test woofer",
             "fs": 25, "qms": 5, "qes": 0.45, "qts": "0.412844", "vas": 0.1, "sd": 0.05,
             "re": 3.6, "le": 0.0015, "xmax": 0.012, "pe": 300, "colour": [1, 2]})",
         DriverFileFormat::json_data_sheet,
         complete_values,
         {},
         "Cms Mms",
         acme},
        {"json_minimal",
         "\xEF\xBB\xBF{\"Mms\": 0.06, \"cms\": 4e-4, \"rms\": 1.5, \"qes\": 0.5, \"sd\": 0.03, "
         "\"re\": 6, \"le\": null}",
         DriverFileFormat::json_data_sheet,
         {{Field::fs, 32.4874}, {Field::qms, 8.16497}, {Field::vas, 51.0626}, {Field::sd, 300}},
         {Field::le, Field::qts},
         "Vas fs Qms Qts",
         {}},
        {"venturon_complete",
         "driver_maker = \"Acme Audio\"\r\nfs_hz = 25\r\nqes = 0.45\r\nqms = 5\r\nqts = "
         "0.412844\r\nvas_l = 100\r\nsd_cm2 = 500\r\nre_ohm = 3.6\r\nle_mh = 1.5\r\nxmax_mm = "
         "12\r\npe_w = 300\r\nvb_l = 60\r\nnew_key_of_a_later_version = 1\r\n",
         DriverFileFormat::venturon_inputs,
         complete_values,
         {},
         "",
         {"Acme Audio", "", ""}},
        {"venturon_minimal",
         "# by hand\nfs_hz = 30\nqes = 0.5\nqms = 4\nvas_l = 50\nsd_cm2 = 350\nre_ohm = 6\n",
         DriverFileFormat::venturon_inputs,
         {{Field::fs, 30}, {Field::qes, 0.5}, {Field::vas, 50}, {Field::re, 6}},
         {Field::qts, Field::le, Field::vb},
         "",
         {}},
    };
}

class DriverFileKinds : public ::testing::TestWithParam<GoodCase> {};

TEST_P(DriverFileKinds, GivesAndWorksOut) {
    const GoodCase& c = GetParam();
    const QTemporaryDir dir;
    const auto read = open_driver_file(write_file(dir, "driver.txt", c.bytes));
    if (const auto* problem = std::get_if<DriverFileProblem>(&read)) {
        FAIL() << problem->text();
    }
    const DriverFile& file = std::get<DriverFile>(read);
    EXPECT_EQ(file.format, c.format);
    for (const auto& [field, value] : c.values) {
        ASSERT_TRUE(file.inputs[field]) << input_row(field).key;
        EXPECT_NEAR(*file.inputs[field], value, 1e-5 * value) << input_row(field).key;
    }
    for (const Field field : c.none) {
        EXPECT_FALSE(file.inputs[field]) << input_row(field).key;
    }
    std::string derived;
    for (const Derivation& d : file.derived) {
        derived += (derived.empty() ? "" : " ") + std::string(d.name);
    }
    EXPECT_EQ(derived, c.derived);
    EXPECT_EQ(file.identity, c.identity);
}

INSTANTIATE_TEST_SUITE_P(Files, DriverFileKinds, ::testing::ValuesIn(good_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A worked-out value carries what it came from and its formula; the third Q is
// shown but left out of the inputs.
TEST(DriverFile, WorkedOutValuesSayHow) {
    const auto read = parse_driver_file("[Driver]\nfs=25\nQes=0.45\nQms=5\nSd=0.05\nRe=3.6\n"
                                        "Cms=2.8e-4\n");
    const DriverFile& file = std::get<DriverFile>(read);
    ASSERT_EQ(file.derived.size(), 3u);
    // Vas = 141840.7 x 2.8e-4 x 0.05^2 = 0.0992885 m^3.
    EXPECT_EQ(file.derived[0].name, "Vas");
    EXPECT_EQ(file.derived[0].formula, "Vas = rho c^2 Cms Sd^2");
    EXPECT_EQ(file.derived[0].unit, "L");
    EXPECT_NEAR(file.derived[0].value, 99.2885, 1e-4);
    EXPECT_EQ(file.derived[2].name, "Qts");
    EXPECT_FALSE(file.derived[2].in_inputs);
    EXPECT_NEAR(file.derived[2].value, 0.412844, 1e-6);
    EXPECT_EQ(file.origin[static_cast<std::size_t>(Field::vas)], ValueOrigin::derived);
    EXPECT_EQ(file.origin[static_cast<std::size_t>(Field::fs)], ValueOrigin::given);
}

struct BadCase {
    const char* name;
    std::string bytes;
    std::string message; // driver_file_message for a file named woofer.txt
};

std::vector<BadCase> bad_cases() {
    std::string garbage("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\x01\x02\xFE\xFF", 20);
    return {
        {"section_without_fs", "[Driver]\nQes=0.45\nQms=5\nVas=0.1\nSd=0.05\nRe=3.6\n",
         "woofer.txt: fs: missing, and no Mms with Cms to work it out from"},
        {"json_without_fs",
         R"({"qes": 0.45, "qms": 5, "vas": 0.1, "sd": 0.05, "re": 3.6, "fs": null})",
         "woofer.txt: fs: missing, and no Mms with Cms to work it out from"},
        {"venturon_without_fs", "qes = 0.45\nqms = 5\nvas_l = 100\nsd_cm2 = 500\nre_ohm = 3.6\n",
         "woofer.txt: fs_hz: missing"},
        {"section_not_a_number", "[Driver]\nfs=25\nVas=0,1\n",
         "woofer.txt: Vas: \"0,1\" is not a number (in SI units, with a point)"},
        {"json_not_a_number", R"({"fs": "about 25"})",
         "woofer.txt: fs: \"about 25\" is not a number"},
        {"json_broken", R"({"fs": 25,)", "woofer.txt: not valid JSON: "},
        {"one_q", "[Driver]\nfs=25\nQts=0.4\nVas=0.1\nSd=0.05\nRe=3.6\n",
         "woofer.txt: Qes: missing; give two of Qes, Qms and Qts, or fs, Mms, Re and BL for Qes "
         "and Rms for Qms"},
        {"garbage", garbage,
         "woofer.txt: not a driver file: no JSON object, no [Driver] section and no key of "
         "Venturon's inputs file"},
    };
}

class DriverFileRefused : public ::testing::TestWithParam<BadCase> {};

TEST_P(DriverFileRefused, NamingTheFileAndTheKey) {
    const BadCase& c = GetParam();
    const QTemporaryDir dir;
    const QString path = write_file(dir, "woofer.txt", c.bytes);
    const auto read = open_driver_file(path);
    const auto* problem = std::get_if<DriverFileProblem>(&read);
    ASSERT_TRUE(problem);
    EXPECT_EQ(driver_file_message(path, *problem).substr(0, c.message.size()), c.message);
}

INSTANTIATE_TEST_SUITE_P(Files, DriverFileRefused, ::testing::ValuesIn(bad_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// 100 MB is refused from its size, unread: at once, however large the file.
TEST(DriverFile, AHugeFileIsRefusedFromItsSize) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("huge.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64{100} * 1024 * 1024)); // sparse: no blocks written
    file.close();
    QElapsedTimer timer;
    timer.start();
    const auto read = open_driver_file(path);
    EXPECT_LT(timer.elapsed(), 1000);
    const auto* problem = std::get_if<DriverFileProblem>(&read);
    ASSERT_TRUE(problem);
    EXPECT_EQ(driver_file_message(path, *problem),
              "huge.txt: is 104857600 bytes, more than a driver file holds (at most 1048576)");
    EXPECT_EQ(driver_file_message(
                  dir.filePath("gone.txt"),
                  std::get<DriverFileProblem>(open_driver_file(dir.filePath("gone.txt")))),
              "gone.txt: there is no such file");
}

// Applying a driver replaces its numbers (Fs to Pe), given or not, and nothing
// else: the driver count, the box, the drive, the filters and the ports stay.
TEST(DriverFile, WithDriverKeepsTheBoxTheDriveAndThePorts) {
    EnclosureInputs current; // the first start's worked example
    current[Field::driver_count] = 2;
    current[Field::le] = 3;
    current.port_shape = PortShape::slot;
    current[Field::slot_width] = 250;
    current.highpass[0] = read_filter("bw4@18");
    current.outer_mouth = MouthCondition::free;
    const auto read = parse_driver_file("[Driver]\nfs=31\nQes=0.4\nQms=6\nVas=0.05\nSd=0.03\n"
                                        "Re=5.8\n");
    const EnclosureInputs out = with_driver(current, std::get<DriverFile>(read));

    EnclosureInputs expected = current;
    for (const auto& [field, value] : Values{{Field::fs, 31},
                                             {Field::qes, 0.4},
                                             {Field::qms, 6},
                                             {Field::vas, 50},
                                             {Field::sd, 300},
                                             {Field::re, 5.8}}) {
        expected[field] = value;
    }
    for (const Field field : {Field::qts, Field::xmax, Field::le, Field::pe}) {
        expected[field].reset();
    }
    EXPECT_EQ(out, expected);
}

} // namespace
