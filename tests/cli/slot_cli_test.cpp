// venturon-calc with a slot port, run in-process: the README's slot, the marks
// that say its limits are approximate in every format, the slot of a --driver
// file, and bad input.
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
#include <regex>
#include <string>
#include <vector>

using namespace venturon;
using namespace venturon::cli;
using namespace venturon::testing::string_args;

namespace {

// The README's slot: 250 x 50 mm along the floor, with the worked example's driver
// and box.
const Args driver{"--fs", "25",  "--qes",  "0.45", "--qms", "5",  "--vas", "100", "--sd",    "500",
                  "--re", "3.6", "--xmax", "12",   "--vb",  "60", "--fb",  "30",  "--power", "100"};
const Args readme_slot = Args{"--slot", "250x50", "--slot-walls", "1"} + driver;

QJsonObject json(const Args& args) {
    const Outcome o = calc(args + Args{"--format", "json"});
    EXPECT_EQ(o.status, 0) << o.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();
}

QString write_temporary(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace

// By hand (README): the box moves the 100 mm port's air through the slot, 17.034 x
// 7853.98 / 12500 = 10.703 m/s at 20 Hz; the hydraulic diameter, 83.333 mm, gives a
// core limit of 15.773 m/s there; sharp, the slot is 560.189 mm long.
TEST(SlotCalc, TheReadmesSlotByHand) {
    const QJsonObject sharp = json(readme_slot + Args{"--radius", "0"});
    EXPECT_EQ(sharp["port_shape"].toString(), "slot");
    const QJsonObject slot = sharp["slot"].toObject();
    EXPECT_NEAR(slot["hydraulic_diameter_mm"].toDouble(), 83.333, 5e-4);
    EXPECT_EQ(slot["area_mm2"].toDouble(), 12500);
    EXPECT_TRUE(slot["limits_approximate"].toBool());
    EXPECT_EQ(slot["size"].toString(), "250 x 50 mm along 1 wall");
    const QJsonObject at_20 = sharp["frequencies"].toArray()[0].toObject();
    EXPECT_NEAR(at_20["required_m_s"].toDouble(), 10.703, 5e-4);
    EXPECT_NEAR(at_20["core_limit_m_s"].toDouble(), 15.773, 5e-4);
    EXPECT_EQ(sharp["verdict_text"].toString(), " Chuffing (approximate)");
    const QJsonObject length = sharp["enclosure"].toObject()["port_length"].toObject();
    EXPECT_EQ(length["shape"].toString(), "slot");
    EXPECT_NEAR(length["straight_length_mm"].toDouble(), 560.189, 5e-4);
    EXPECT_NEAR(length["pipe_resonance_hz"].toDouble(), 248.45, 0.01);
    EXPECT_NEAR(length["displaced_volume_l"].toDouble(), 7.002, 5e-4);

    // The minimum round-over, 25.80 mm: (sqrt(10.703 x 1785 / (10514.4 x 0.693)) - 1)
    // x 83.333 / 2; it shortens the straight part.
    const QJsonObject minimum = json(readme_slot);
    EXPECT_NEAR(minimum["radius_mm"].toDouble(), 25.80, 0.005);
    EXPECT_EQ(minimum["verdict_text"].toString(), "Slot will be noise free (approximate)");
    const QJsonObject rounded = minimum["enclosure"].toObject()["port_length"].toObject();
    EXPECT_LT(rounded["straight_length_mm"].toDouble(), 560.189);
    EXPECT_EQ(minimum["enclosure"].toObject()["inputs"].toObject()["port_shape"], "slot");
}

// Every format says that the limits are approximate, and what they were read as.
TEST(SlotCalc, ApproximateInEveryFormat) {
    const Outcome table = calc(readme_slot);
    ASSERT_EQ(table.status, 0) << table.err;
    const std::string port_line = std::string("Port length     1 slot of 250 x 50 mm along 1 "
                                              "wall, round-over 25.801 mm (minimum), both ends "
                                              "rounded");
    const std::string lines[] = {
        "Slot        250 x 50 mm along 1 wall (hydraulic diameter 83.333 mm)",
        "Round-over  25.801 mm (minimum)",
        "Core limit*  Chuffing limit*  Minimum round-over*",
        "*  approximate: the velocity-limit model was built for round ports",
        "Slot will be noise free (approximate)",
        port_line};
    for (const std::string& text : lines) {
        EXPECT_NE(table.out.find(text), std::string::npos) << text << "\n" << table.out;
    }
    EXPECT_EQ(table.out.find("Diameter"), std::string::npos);
    // The largest output rests on the same limits: marked too.
    const Outcome max = calc(readme_slot + Args{"--max-output"});
    const std::string max_line =
        std::string("for a round-over of 25.801 mm (* approximate for a slot");
    for (const std::string& text : {std::string("Max SPL*  Max power*  Limit*"), max_line}) {
        EXPECT_NE(max.out.find(text), std::string::npos) << text << "\n" << max.out;
    }

    const Outcome csv = calc(readme_slot + Args{"-f", "csv"});
    const std::string header = csv.out.substr(0, csv.out.find('\n'));
    EXPECT_NE(header.find(",port_shape,slot_width_mm,slot_height_mm,slot_walls,"
                          "hydraulic_diameter_mm,limits_approximate,"),
              std::string::npos)
        << header;
    EXPECT_NE(csv.out.find(",\"Slot will be noise free (approximate)\",slot,250,50,1,"
                           "83.3333333333333,true,"),
              std::string::npos)
        << csv.out;

    // A round port's reports stay as they were: no marks.
    const Outcome round = calc(Args{"-d", "100"} + driver);
    EXPECT_EQ(round.out.find("*"), std::string::npos);
    EXPECT_EQ(round.out.find("approximate"), std::string::npos);
    EXPECT_EQ(json(Args{"-d", "100"} + driver)["port_shape"].toString(), "round");
}

// Without driver inputs, the main window's calculation for the slot's hydraulic
// diameter: a square slot's is its side, so its limits are the round port's.
TEST(SlotCalc, LimitsOfTheHydraulicDiameter) {
    const Args velocities{"--velocities", "10,14,12,7"};
    const QJsonObject square = json(Args{"--slot", "100x100", "-p", "2"} + velocities);
    const QJsonObject round = json(Args{"-d", "100", "-p", "2"} + velocities);
    EXPECT_EQ(square["frequencies"], round["frequencies"]);
    EXPECT_EQ(square["radius_mm"], round["radius_mm"]);
    EXPECT_EQ(square["verdict_text"].toString(), "Slots will be noise free (approximate)");
    EXPECT_FALSE(square.contains("enclosure"));

    // Imperial: 10 by 2 inches is 254 x 50.8 mm, 84.667 mm across.
    const QJsonObject inches = json(Args{"-u", "inches", "--slot", "10x2"} + velocities);
    EXPECT_NEAR(inches["diameter_mm"].toDouble(), 84.667, 5e-4);
    EXPECT_EQ(inches["slot"].toObject()["size"].toString(), "10 in x 2 in free of walls");
}

// A --driver file may hold the slot; options override it, --diameter makes the
// port round again, and a bad value is named by its key.
TEST(SlotCalc, SlotOfTheDriverFile) {
    QTemporaryDir dir;
    EnclosureInputs in; // the first start: its slot is the README's, 250 x 50 mm
    in.port_shape = PortShape::slot;
    in[Field::slot_radius] = 10;
    const std::string path =
        write_temporary(dir, "slot.ini", serialise_enclosure_inputs(in)).toStdString();
    const QJsonObject from_file = json({"--driver", path});
    EXPECT_EQ(from_file["mode"].toString(), "manual");
    EXPECT_EQ(from_file["radius_mm"].toDouble(), 10);
    EXPECT_NEAR(from_file["diameter_mm"].toDouble(), 83.333, 5e-4);

    const QJsonObject over = json({"--driver", path, "--slot", "300x60", "-p", "2", "-r", "20"});
    const QJsonObject inputs = over["enclosure"].toObject()["inputs"].toObject();
    EXPECT_EQ(inputs["slot_width_mm"].toDouble(), 300);
    EXPECT_EQ(inputs["slots"].toDouble(), 2);
    EXPECT_EQ(inputs["slot_radius_mm"].toDouble(), 20);
    EXPECT_EQ(over["enclosure"].toObject()["port_length"].toObject()["ports"].toInt(), 2);

    const QJsonObject round = json({"--driver", path, "-d", "100"});
    EXPECT_EQ(round["port_shape"].toString(), "round");
    EXPECT_EQ(round["enclosure"].toObject()["inputs"].toObject()["port_shape"], "round");

    in[Field::slot_radius] = 60;
    const std::string bad =
        write_temporary(dir, "bad.ini", serialise_enclosure_inputs(in)).toStdString();
    EXPECT_EQ(calc({"--driver", bad}).err,
              "venturon-calc: --driver \"" + bad +
                  "\": slot_radius_mm: Round-over radius must be at most 50 mm, the slot's "
                  "smaller side\n");
    in[Field::slot_width].reset();
    const std::string missing =
        write_temporary(dir, "missing.ini", serialise_enclosure_inputs(in)).toStdString();
    EXPECT_EQ(calc({"--driver", missing}).err,
              "venturon-calc: --slot: Slot width must be given (or slot_width_mm in the --driver "
              "file)\n");
}

// A minimum round-over larger than a thin slot takes: the limits and the verdict
// stand, the length says why it is not worked out.
TEST(SlotCalc, MinimumRoundOverBeyondTheSlot) {
    const Outcome o = calc(Args{"--slot", "250x10"} + driver);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("Port length  not worked out: Round-over radius must be at most 10 mm, "
                         "the slot's smaller side"),
              std::string::npos)
        << o.out;
}

// Extreme slots, in every format: no number that is not finite.
TEST(SlotCalc, NoNonNumbersAnywhere) {
    static const std::regex non_number(R"(\b(nan|inf|infinity)\b)", std::regex::icase);
    const Args designs[] = {
        {"--slot", "2000x1", "--slot-walls", "2", "-r", "1", "-p", "1000"},
        {"--slot", "1x1", "--vb", "100000", "--fb", "1"},
        {"--slot", "2000x2000", "--vb", "0.01", "--fb", "1000", "-r", "2000"},
    };
    for (const Args& slot : designs) {
        for (const char* format : {"table", "json", "csv"}) {
            const Outcome o = calc(driver + slot + Args{"-f", format});
            EXPECT_EQ(o.status, 0) << o.err;
            EXPECT_FALSE(std::regex_search(o.out, non_number)) << o.out;
        }
    }
}

namespace {

struct BadCase {
    const char* name;
    Args args;
    const char* message;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

const BadCase bad_cases[] = {
    {"height_zero", readme_slot + Args{"--slot", "250x0"},
     "--slot \"250x0\": Slot height must be between 1 and 2000 mm"},
    {"width_negative", driver + Args{"--slot", "-5x50"},
     "--slot \"-5x50\": Slot width must be between 1 and 2000 mm"},
    {"height_inches", driver + Args{"-u", "decimalinches", "--slot", "10x100"},
     "--slot \"10x100\": Slot height must be between 0.0393701 and 78.7402 in"},
    {"one_side", driver + Args{"--slot", "250"},
     "--slot \"250\": expected WIDTHxHEIGHT (for example 250x50)"},
    {"not_a_length", driver + Args{"--slot", "wide x 50"},
     "--slot \"wide x 50\": WIDTH: not a number of millimetres"},
    {"three_walls", readme_slot + Args{"--slot-walls", "3"},
     "--slot-walls \"3\": Slot walls must be a whole number between 0 and 2"},
    {"walls_word", readme_slot + Args{"--slot-walls", "floor"},
     "--slot-walls \"floor\": expected 0, 1 or 2"},
    {"walls_without_slot", Args{"-d", "100", "--slot-walls", "1"} + driver,
     "--slot-walls needs a slot (--slot WIDTHxHEIGHT)"},
    {"slot_and_diameter", readme_slot + Args{"-d", "100"},
     "--slot and --diameter cannot be used together: a slot has no diameter"},
    {"round_over_beyond", readme_slot + Args{"-r", "60"},
     "--radius \"60\": Round-over radius must be at most 50 mm, the slot's smaller side"},
    {"too_many_slots", readme_slot + Args{"-p", "1001"},
     "--ports \"1001\": Slot count must be a whole number between 1 and 1000"},
    {"sweep", readme_slot + Args{"--sweep-ports", "1:3"},
     "a slot port cannot be used with --sweep-ports: a sweep goes over round ports"},
    {"neither", driver, "missing --diameter, or --slot (see --help)"},
};

class SlotBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(SlotBadInput, OneLineNamingTheOptionAndStatusTwo) {
    const Outcome o = calc(GetParam().args);
    EXPECT_EQ(o.status, exit_bad_input);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "venturon-calc: " + std::string(GetParam().message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Options, SlotBadInput, ::testing::ValuesIn(bad_cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
