// Designs as files: a design saved and opened gives the same results to the last
// digit, a bad file is refused whole, a newer version's keys are passed over; and
// the recent designs' list.
#include "design_storage.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace venturon;

namespace {

QString write_bytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

// Every kind of value a design holds, with numbers that have no short decimal
// (1/3, 0.1 + 0.2) and texts that need escaping.
Design full_design() {
    Design d;
    d.inputs = EnclosureInputs{};
    d.inputs[Field::fs] = 1.0 / 3 * 100;
    d.inputs[Field::qms] = 0.1 + 0.2 + 4.7;
    d.inputs[Field::vb] = 60.000000000000007;
    d.inputs[Field::pe] = 350;
    d.inputs[Field::ql] = 7;
    d.inputs[Field::qa].reset();
    d.inputs.highpass[0] = read_filter("bw4@18");
    d.inputs.highpass[2] = read_filter("q0.7@22.5");
    d.inputs.inner_mouth = MouthCondition::flanged;
    d.inputs.flared_ends = FlaredEnds::outer;
    d.inputs.port_shape = PortShape::slot;
    d.inputs[Field::slot_width] = 250;
    d.inputs[Field::slot_height] = 50;
    d.inputs[Field::slot_walls] = 1;
    d.identity = {"Acme \"Pro\" Audio", "W12 # T", "line one\nline two\\"};
    d.port = {101.6, 2, 38.1, false};
    return d;
}

// The model's figures for a design: its F3 and its response at 20 Hz.
std::vector<double> figures(const Design& d) {
    const auto slot = to_slot_port(d.inputs);
    EXPECT_TRUE(slot);
    const auto input = to_enclosure_input(d.inputs, *slot);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    const ResponsePoint p = response_at(*model, 20);
    return {*f3_hz(*model), p.spl_db, p.port_velocity, p.excursion_m, std::abs(p.impedance)};
}

} // namespace

TEST(DesignFile, SavedAndOpenedGivesTheSameResultsToTheLastDigit) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("sub.design");
    const Design saved = full_design();
    ASSERT_TRUE(write_design_file(path, saved).written);
    const auto opened = read_design_file(path);
    ASSERT_TRUE(std::holds_alternative<Design>(opened)) << std::get<DesignProblem>(opened).message;
    EXPECT_EQ(std::get<Design>(opened), saved);
    EXPECT_EQ(figures(std::get<Design>(opened)), figures(saved));

    // The file says what it holds in the inputs file's own words.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    for (const char* line :
         {"venturon_design = 1\n", "pe_w = 350\n", "highpass_1 = bw4@18\n", "highpass_2 =\n",
          "port_shape = slot\n", "slot_walls = 1\n", "flare_radius_is_minimum = no\n",
          "driver_maker = \"Acme \\\"Pro\\\" Audio\"\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

// A newer version's keys and sections are passed over, and its version number read.
TEST(DesignFile, UnknownKeysOfANewerVersionAreIgnored) {
    const auto read = parse_design("venturon_design = 3\n"
                                   "[a section of a later version]\n"
                                   "fs_hz = 30\n"
                                   "cabinet_colour = \"walnut\"\n"
                                   "bracing = 4 # per side\n"
                                   "port_diameter_mm = 90\n");
    ASSERT_TRUE(std::holds_alternative<Design>(read));
    const Design& d = std::get<Design>(read);
    EXPECT_EQ(d.inputs[Field::fs], 30);
    EXPECT_EQ(d.port.diameter_mm, 90);
    Design expected;
    expected.inputs[Field::fs] = 30;
    expected.port.diameter_mm = 90;
    EXPECT_EQ(d, expected);
}

// A bad file is refused whole, with where and why, and reading it changes nothing.
TEST(DesignFile, ABadFileIsRefusedWhole) {
    const struct {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"fs_hz = 30\n", "not a Venturon design: it has no venturon_design line"},
        {"venturon_design = 1\nfs_hz = 30\nvb_l = abc\n", "line 3: vb_l: \"abc\" is not a number"},
        {"venturon_design = 1\r\nvb_l = nan\r\n", "line 2: vb_l: \"nan\" is not a number"},
        {"venturon_design = 0\n", "line 1: venturon_design: \"0\" is not a version number"},
        {"venturon_design = 1\nouter_mouth = sideways\n",
         "line 2: outer_mouth: \"sideways\" is not flanged or free"},
        {"venturon_design = 1\nhighpass_2 = butter\n",
         "line 2: highpass_2: \"butter\" is not a filter (bw4@18, lr4@20, q0.7@22)"},
        {"venturon_design = 1\ndriver_model = \"W12\n",
         "line 2: driver_model: a text without its closing quote, or more after it"},
        {"venturon_design = 1\nflare_radius_is_minimum = maybe\n",
         "line 2: flare_radius_is_minimum: \"maybe\" is not yes or no"},
    };
    for (const auto& c : cases) {
        const auto read = parse_design(c.bytes);
        ASSERT_TRUE(std::holds_alternative<DesignProblem>(read)) << c.bytes;
        EXPECT_EQ(std::get<DesignProblem>(read).message, c.message);
    }
    const QTemporaryDir dir;
    const QString path = write_bytes(dir.filePath("bad.design"), cases[1].bytes);
    const auto read = read_design_file(path);
    EXPECT_EQ(design_file_message(path, std::get<DesignProblem>(read)),
              "bad.design: line 3: vb_l: \"abc\" is not a number");
    // A filter out of its bounds is the inputs' to refuse, as from the inputs file.
    const auto wide = parse_design("venturon_design = 1\nhighpass_1 = bw9@18\n");
    ASSERT_TRUE(std::holds_alternative<Design>(wide));
    EXPECT_TRUE(std::get<Design>(wide).inputs.highpass[0]);
}

// The list in the settings folder: newest first, at most six, a path opened again
// moves to the top, and a file that is gone is left out when the list is read.
TEST(RecentDesigns, NewestFirstAtMostSixWithoutMissingFiles) {
    const QTemporaryDir settings;
    const QTemporaryDir designs;
    std::vector<QString> paths;
    for (int i = 1; i <= 8; ++i) {
        paths.push_back(
            write_bytes(designs.filePath(QString("d%1.design").arg(i)), "venturon_design = 1\n"));
        ASSERT_TRUE(remember_design(settings.path(), paths.back()));
    }
    EXPECT_EQ(recent_designs(settings.path()),
              (std::vector<QString>{paths[7], paths[6], paths[5], paths[4], paths[3], paths[2]}));

    ASSERT_TRUE(remember_design(settings.path(), paths[4]));
    ASSERT_TRUE(QFile::remove(paths[6]));
    EXPECT_EQ(recent_designs(settings.path()),
              (std::vector<QString>{paths[4], paths[7], paths[5], paths[3], paths[2]}));
    // The list was rewritten without it.
    EXPECT_EQ(read_recent_designs(settings.path()).paths().size(), 5u);

    EXPECT_FALSE(remember_design(settings.path(), QString("two\nlines.design")));
    EXPECT_EQ(recent_designs(QTemporaryDir().path()), std::vector<QString>{});
}
