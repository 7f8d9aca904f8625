// venturon-calc with driver inputs, run in-process: the worked example from the
// driver to the quiet port and its length, the --driver file, the outputs and bad
// input.
#include "calculation.h"
#include "enclosure_inputs.h"
#include "length_display.h"
#include "port_length.h"
#include "run.h"
#include "support/calc.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <regex>
#include <sstream>

using namespace venturon;
using namespace venturon::cli;
using namespace venturon::testing::string_args;

namespace {

// The worked example's port, driver and box, as options.
const Args example{"-d",    "100", "--fs", "25",  "--qes",   "0.45", "--qms",  "5",
                   "--vas", "100", "--sd", "500", "--re",    "3.6",  "--xmax", "12",
                   "--vb",  "60",  "--fb", "30",  "--power", "100"};

QJsonObject json(const Args& args) {
    const Outcome o = calc(args + Args{"--format", "json"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    return QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();
}

QJsonObject enclosure(const Args& args) {
    return json(args)["enclosure"].toObject();
}

SolvedEnclosure example_model(int ports = 1) {
    const auto model = solve_enclosure(*to_enclosure_input(EnclosureInputs{}, 100, ports));
    EXPECT_TRUE(model);
    return *model;
}

QString write_temporary(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace

// Driver to velocities to quiet port to length: every number as the engine gives it.
TEST(EnclosureCalc, WorkedExampleFromDriverToPortLength) {
    const QJsonObject o = json(example);
    const QJsonObject e = o["enclosure"].toObject();
    const SolvedEnclosure model = example_model();
    EXPECT_TRUE(e["velocities_used"].toBool());

    // The port velocities at the design frequencies are the required velocities.
    CalculationInput c;
    c.diameter = 100;
    c.allowances = first_start_allowances;
    for (qsizetype i = 0; i < 4; ++i) {
        const ResponsePoint p = response_at(model, design_frequencies[std::size_t(i)]);
        c.required[std::size_t(i)] = p.port_velocity;
        const QJsonObject d = e["frequencies"].toArray()[i].toObject();
        EXPECT_EQ(d["port_velocity_m_s"].toDouble(), p.port_velocity);
        EXPECT_EQ(d["excursion_mm"].toDouble(), p.excursion_m * 1000);
        EXPECT_EQ(o["frequencies"].toArray()[i].toObject()["required_m_s"].toDouble(),
                  p.port_velocity);
    }
    EXPECT_NEAR(c.required[0], 17.03, 0.01); // m/s at 100 W: a sensible port

    // The quiet port: the minimum radius for those velocities, and its length.
    const CalculationResult r = calculate(c);
    EXPECT_EQ(o["radius_mm"].toDouble(), r.radius);
    EXPECT_EQ(o["verdict"].toString(), "noise-free");
    // The length is for the radius as the report shows it: the next thousandth up.
    const double cut = std::ceil(r.radius * 1000) / 1000;
    const FlaredPort port = to_flared_port(EnclosureInputs{}, 100, cut, 1);
    const auto length = port_length(port, 0.06, 30, 20);
    ASSERT_TRUE(length);
    const QJsonObject l = e["port_length"].toObject();
    EXPECT_TRUE(l["reachable"].toBool());
    EXPECT_EQ(l["radius"].toString(), "minimum");
    EXPECT_NEAR(l["straight_length_mm"].toDouble(), length->straight_length_m * 1000, 1e-9);
    EXPECT_NEAR(l["overall_length_mm"].toDouble() - l["straight_length_mm"].toDouble(), 2 * cut,
                1e-9); // a flare at each end adds its radius
    EXPECT_NEAR(l["displaced_volume_l"].toDouble(), length->displaced_volume_m3 * 1000, 1e-12);
    // That length tunes the box back to Fb.
    EXPECT_NEAR(port_tuning(port, 0.06, length->straight_length_m, 20)->fb_hz, 30, 1e-9);

    // The table says the same, rounded, and calls the velocities peaks.
    const Outcome table = calc(example);
    EXPECT_EQ(table.err, "");
    EXPECT_NE(table.out.find("m/s peak"), std::string::npos);
    EXPECT_NE(table.out.find("Straight part   " + fixed(length->straight_length_m * 1000, 3) +
                             " mm of tube to cut"),
              std::string::npos)
        << table.out;
}

// Given velocities win over the enclosure's, which are still shown; a given radius
// sets the length, or says why there is none.
TEST(EnclosureCalc, GivenVelocitiesAndRadius) {
    const QJsonObject o =
        json(example + Args{"--velocities", "10,14,12,7", "--radius", "10", "-p", "2"});
    const QJsonObject e = o["enclosure"].toObject();
    EXPECT_FALSE(e["velocities_used"].toBool());
    EXPECT_EQ(o["frequencies"].toArray()[1].toObject()["required_m_s"].toDouble(), 14);
    EXPECT_EQ(e["frequencies"].toArray()[1].toObject()["port_velocity_m_s"].toDouble(),
              response_at(example_model(2), 25).port_velocity);
    const auto length = port_length(to_flared_port(EnclosureInputs{}, 100, 10, 2), 0.06, 30, 20);
    EXPECT_EQ(e["port_length"].toObject()["straight_length_mm"].toDouble(),
              length->straight_length_m * 1000);
    EXPECT_EQ(e["port_length"].toObject()["radius"].toString(), "given");

    // A narrow port with wide flares holds too much air for 30 Hz in 60 L.
    const Args narrow = example + Args{"-d", "30", "-r", "200"};
    const QJsonObject l = enclosure(narrow)["port_length"].toObject();
    EXPECT_FALSE(l["reachable"].toBool());
    EXPECT_LT(l["max_fb_hz"].toDouble(), 30);
    EXPECT_NE(calc(narrow).out.find("none: no positive straight length tunes Vb 60 L to 30 Hz"),
              std::string::npos);

    // A flare radius beyond the length's bounds: the rest of the report stands.
    const QJsonObject wide = enclosure(example + Args{"-r", "2500"});
    EXPECT_TRUE(wide["port_length"].isNull());
    EXPECT_TRUE(wide["port_length_problem"].toString().contains("2000 mm"));
}

TEST(EnclosureCalc, DriverFileRoundTripAndOptionsOverIt) {
    QTemporaryDir dir;
    const QString path =
        write_temporary(dir, "box.ini", serialise_enclosure_inputs(EnclosureInputs{}));
    const Args file{"-d", "100", "--driver", path.toStdString()};

    // The file gives what the options give.
    const QJsonObject from_file = json(file);
    const QJsonObject from_options = json(example);
    EXPECT_EQ(from_file["enclosure"].toObject()["driver_file"].toString(), path);
    EXPECT_EQ(from_file["enclosure"].toObject()["port_length"],
              from_options["enclosure"].toObject()["port_length"]);
    EXPECT_EQ(from_file["frequencies"], from_options["frequencies"]);

    // Options replace the file's values; --voltage its power, "none" clears a value.
    const QJsonObject inputs = enclosure(file + Args{"--fb", "35", "--voltage", "20", "--xmax",
                                                     "none", "--flared-ends", "outer"})["inputs"]
                                   .toObject();
    EXPECT_EQ(inputs["fb_hz"].toDouble(), 35);
    EXPECT_EQ(inputs["vb_l"].toDouble(), 60);
    EXPECT_TRUE(inputs["power_w"].isNull());
    EXPECT_EQ(inputs["voltage_v"].toDouble(), 20);
    EXPECT_TRUE(inputs["xmax_mm"].isNull());
    EXPECT_EQ(inputs["flared_ends"].toString(), "outer");

    // Without a file QL is 7; a file without ql means no leakage.
    const QString lossless = write_temporary(dir, "lossless.ini",
                                             "fs_hz=25\nqes=0.45\nqms=5\nvas_l=100\nsd_cm2=500\n"
                                             "re_ohm=3.6\nvb_l=60\nfb_hz=30\npower_w=100\n");
    EXPECT_TRUE(enclosure({"-d", "100", "--driver", lossless.toStdString()})["inputs"]
                    .toObject()["ql"]
                    .isNull());
    EXPECT_EQ(enclosure(example)["inputs"].toObject()["ql"], 7);
}

namespace {

// The ports' ends given by option over a file that holds free, flanged and outer
// (none of them the default): an empty value is the default, "none" is a value of
// --flared-ends.
struct ChoiceCase {
    const char* name;
    Args args;
    const char* outer_mouth;
    const char* inner_mouth;
    const char* flared_ends;

    friend void PrintTo(const ChoiceCase& row, std::ostream* os) { *os << row.name; }
};

const ChoiceCase choice_cases[] = {
    {"file_as_it_is", {}, "free", "flanged", "outer"},
    {"outer_mouth_empty", {"--outer-mouth", ""}, "flanged", "flanged", "outer"},
    {"inner_mouth_empty", {"--inner-mouth="}, "free", "free", "outer"},
    {"flared_ends_empty", {"--flared-ends", ""}, "free", "flanged", "both"},
    {"flared_ends_none", {"--flared-ends", "none"}, "free", "flanged", "none"},
    {"all_empty",
     {"--outer-mouth", "", "--inner-mouth", "", "--flared-ends", ""},
     "flanged",
     "free",
     "both"},
};

class ChoiceOptions : public ::testing::TestWithParam<ChoiceCase> {};

} // namespace

TEST_P(ChoiceOptions, EmptyValueIsTheDefault) {
    QTemporaryDir dir;
    EnclosureInputs in;
    in.outer_mouth = MouthCondition::free;
    in.inner_mouth = MouthCondition::flanged;
    in.flared_ends = FlaredEnds::outer;
    const QString path = write_temporary(dir, "ends.ini", serialise_enclosure_inputs(in));
    const ChoiceCase& c = GetParam();
    const QJsonObject e = enclosure(Args{"-d", "100", "--driver", path.toStdString()} + c.args);
    const QJsonObject inputs = e["inputs"].toObject();
    EXPECT_EQ(inputs["outer_mouth"].toString(), c.outer_mouth);
    EXPECT_EQ(inputs["inner_mouth"].toString(), c.inner_mouth);
    EXPECT_EQ(inputs["flared_ends"].toString(), c.flared_ends);
    EXPECT_EQ(e["port_length"].toObject()["flared_ends"].toString(), c.flared_ends);
}

INSTANTIATE_TEST_SUITE_P(PortEnds, ChoiceOptions, ::testing::ValuesIn(choice_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EnclosureCalc, JsonAndCsvFields) {
    const QJsonObject e = enclosure(example + Args{"--curve-range", "10:200:7"});
    for (const char* key :
         {"driver_file", "driver", "drive_power_w", "drive_voltage_v_rms", "air_temperature_c",
          "air_density_kg_m3", "speed_of_sound_m_s", "port_length_problem"}) {
        EXPECT_TRUE(e.contains(key)) << key;
    }
    EXPECT_EQ(e["inputs"].toObject().size(), qsizetype(file_number_count + choice_rows.size() +
                                                       slot_fields.size() + max_filter_stages));
    EXPECT_EQ(e["port_length"].toObject().size(), 16);
    const QJsonArray curve = e["curve"].toArray();
    ASSERT_EQ(curve.size(), 7);
    EXPECT_EQ(curve.last().toObject()["frequency_hz"].toDouble(), 200);
    for (const char* key : {"frequency_hz", "port_velocity_m_s", "excursion_mm", "excursion_ratio",
                            "spl_db", "impedance_ohm", "impedance_phase_deg"}) {
        EXPECT_TRUE(curve.first().toObject()[key].isDouble()) << key;
    }

    const Outcome csv = calc(example + Args{"-f", "csv"});
    const std::string header = csv.out.substr(0, csv.out.find('\n'));
    EXPECT_EQ(header.rfind("diameter_mm,ports,mode,frequency_hz,required_m_s,", 0), 0u);
    EXPECT_TRUE(header.ends_with(",port_velocity_m_s,excursion_mm,excursion_ratio,spl_db,"
                                 "impedance_ohm,impedance_phase_deg,length_reachable,"
                                 "straight_length_mm,overall_length_mm,max_fb_hz,"
                                 "displaced_volume_l,pipe_resonance_hz"))
        << header;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 5);

    // With --curve, the curve alone: one header, one line per point.
    const Outcome points = calc(example + Args{"-f", "csv", "--curve"});
    EXPECT_EQ(points.out.rfind("frequency_hz,port_velocity_m_s,excursion_mm,excursion_ratio,"
                               "spl_db,impedance_ohm,impedance_phase_deg\n",
                               0),
              0u);
    EXPECT_EQ(std::count(points.out.begin(), points.out.end(), '\n'), 101);
}

// Extreme inputs the model accepts: whatever the format, every number is finite.
TEST(EnclosureCalc, NoNonNumbersAnywhere) {
    static const std::regex non_number(R"(\b(nan|inf|infinity)\b)", std::regex::icase);
    const Args designs[] = {
        {"-d", "1", "--power", "100000"},
        {"-d", "2000", "-p", "1000", "--power", "0.001"},
        {"-d", "1", "--fs", "1000", "--fb", "1", "--vb", "0.01", "--vas", "100000"},
        {"-d", "50", "--drivers", "1000", "--sd", "20000", "--vb", "100000", "--fb", "1000"},
        {"--qts", "0.4128", "--qa", "0.1", "--qp", "0.1", "--ql", "0.1", "--le", "1000"},
        {"--temperature", "-50", "--xmax", "0", "--flared-ends", "none", "-r", "0"},
    };
    for (const Args& design : designs) {
        for (const char* format : {"table", "json", "csv"}) {
            for (const Args& chain :
                 {Args{}, Args{"--max-output", "--pe", "0.01", "--highpass", "bw8@1000",
                               "--highpass", "q20@1", "--highpass", "lr8@1"}}) {
                const Outcome o = calc(example + design + chain + Args{"-f", format, "--curve"});
                EXPECT_EQ(o.status, 0) << o.err;
                EXPECT_FALSE(std::regex_search(o.out, non_number)) << o.out;
            }
        }
    }
}

TEST(EnclosureCalc, SweepTakesTheEnclosuresVelocities) {
    const QJsonObject o = json(example + Args{"--sweep-diameter", "80:120:20"});
    EXPECT_EQ(o["reference"].toObject()["required_m_s"].toArray()[0].toDouble(),
              response_at(example_model(), 20).port_velocity);
    EXPECT_EQ(o["rows"].toArray().size(), 3);

    const std::string help = calc({"--help"}).out;
    for (const char* option :
         {"--driver", "--fs", "--qts", "--vas", "--drivers", "--ql", "--voltage", "--flared-ends",
          "--curve-range", "--enclosure-graph", "--excursion-graph", "fs_hz", "flared_ends"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

// ---------------------------------------------------------------- bad input

namespace {

struct BadCase {
    const char* name;
    Args args;           // "{file}" stands for a driver file of the worked example
    const char* message; // after "venturon-calc: "
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

const Args file{"-d", "100", "--driver", "{file}"};

const BadCase bad_cases[] = {
    {"vas_zero", example + Args{"--vas", "0"},
     "--vas \"0\": Vas must be between 0.01 and 100000 L"},
    {"vas_beyond_a_double", example + Args{"--vas", "1e999"},
     "--vas \"1e999\": too large (the largest number is about 1.8e308)"},
    {"sd_not_a_number", example + Args{"--sd", "big"}, "--sd \"big\": not a number (or \"none\")"},
    {"fs_cleared", file + Args{"--fs", ""}, "--fs \"\": Fs must be given"},
    {"qts_disagrees", example + Args{"--qts", "0.3"},
     "--qts \"0.3\": Qts does not agree with Qes and Qms, which give 0.4128"},
    {"drivers_fraction", example + Args{"--drivers", "2.5"},
     "--drivers \"2.5\": Driver count must be a whole number between 1 and 1000"},
    {"power_and_voltage", example + Args{"--voltage", "20"},
     "--power and --voltage cannot be used together"},
    {"no_drive", file + Args{"--power", "none"},
     "--power \"none\": Power or voltage must be given"},
    {"mouth_unknown", example + Args{"--outer-mouth", "open"},
     "--outer-mouth \"open\": expected flanged or free"},
    {"too_many_ports", example + Args{"-p", "1001"},
     "--ports: Port count must be between 1 and 1000"},
    {"port_too_wide", example + Args{"-d", "2001"},
     "--diameter: Port diameter must be between 1 and 2000 mm"},
    {"no_driver_file",
     {"-d", "100", "--driver", "/nonexistent/x.ini"},
     "--driver \"/nonexistent/x.ini\": there is no such file"},
#ifdef _WIN32 // Windows's device names are no files to Qt: never read either
    {"driver_file_is_a_device",
     {"-d", "100", "--driver", "NUL"},
     "--driver \"NUL\": there is no such file"},
#else
    {"driver_file_is_a_device",
     {"-d", "100", "--driver", "/dev/null"},
     "--driver \"/dev/null\": is not a regular file"},
#endif
    {"curve_without_driver",
     {"-d", "100", "--velocities", "1,1,1,1", "--curve"},
     "--curve needs driver inputs (--driver FILE, or --fs, --vas, ...)"},
    {"graph_without_driver",
     {"-d", "100", "--velocities", "1,1,1,1", "--excursion-graph", "g.png"},
     "--excursion-graph needs driver inputs (--driver FILE, or --fs, --vas, ...)"},
    {"curve_with_sweep", file + Args{"--curve", "--sweep-ports", "1:3"},
     "--curve cannot be used with --sweep-ports: a sweep has no single enclosure"},
    {"curve_range_reversed", file + Args{"--curve-range", "200:10:5"},
     "--curve-range \"200:10:5\": HIGH must not be below LOW"},
    {"curve_range_too_large", file + Args{"--curve-range", "10:1e400:5"},
     "--curve-range \"10:1e400:5\": \"1e400\" is too large (the largest number is about 1.8e308)"},
    {"no_velocities_nor_driver",
     {"-d", "100"},
     "missing --velocities, or driver inputs to work them out (see --help)"},
};

} // namespace

class EnclosureBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(EnclosureBadInput, OneLineNamingTheOptionAndStatusTwo) {
    QTemporaryDir dir;
    const std::string path =
        write_temporary(dir, "box.ini", serialise_enclosure_inputs(EnclosureInputs{}))
            .toStdString();
    Args args = GetParam().args;
    std::replace(args.begin(), args.end(), std::string("{file}"), path);
    const Outcome o = calc(args);
    EXPECT_EQ(o.status, exit_bad_input);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "venturon-calc: " + std::string(GetParam().message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Options, EnclosureBadInput, ::testing::ValuesIn(bad_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// A value the file itself gets wrong is named by the file and its key; a missing
// one by its option.
TEST(EnclosureCalc, BadValueInTheFileNamesTheFileAndKey) {
    QTemporaryDir dir;
    EnclosureInputs in;
    in[Field::vas] = 0;
    const QString path = write_temporary(dir, "bad.ini", serialise_enclosure_inputs(in));
    EXPECT_EQ(calc({"-d", "100", "--driver", path.toStdString()}).err,
              "venturon-calc: --driver \"" + path.toStdString() +
                  "\": vas_l: Vas must be between 0.01 and 100000 L\n");
    const QString empty = write_temporary(dir, "empty.ini", "");
    EXPECT_EQ(calc({"-d", "100", "--driver", empty.toStdString()}).err,
              "venturon-calc: --fs: Fs must be given (or fs_hz in the --driver file)\n");
}

// Lengths that do not suit the box, and a cone beyond Xmax, said in words beside
// the numbers, still with exit status 0. The worked example's pipe resonance by
// hand: 411.45 mm mouth to mouth plus 0.85 x 89.91 and 0.613 x 89.91 mm of end
// corrections is 542.98 mm, and 343.21 m/s / (2 x 0.54298 m) = 316.05 Hz.
TEST(EnclosureCalc, LengthsThatDoNotSuitTheBoxAreSaidInWords) {
    const Args driver{"--fs", "25",   "--qes", "0.45", "--qms", "5",       "--vas",
                      "100",  "--sd", "500",   "--re", "3.6",   "--power", "100"};
    const struct {
        const char* name;
        Args args;
        std::vector<std::string> said;
        const char* fit;
    } cases[] = {
        {"worked example",
         example,
         {"Pipe resonance  316.0 Hz",
          "Excursion  beyond Xmax at 20 Hz (100.0 %): the cone cannot make these velocities"},
         "fits"},
        {"a tube of 1426 km",
         driver + Args{"-d", "78", "--vb", "0.01", "--fb", "1", "-r", "0"},
         {"Port length  none: no straight length up to 100 m tunes Vb 0.01 L to 1 Hz"},
         "too-long"},
        {"ports larger than the box",
         driver + Args{"-d", "150", "--vb", "30", "--fb", "20", "-r", "0", "--xmax", "30"},
         {"Warning         the ports hold more air (",
          "Warning         the first pipe resonance, 39.1 Hz, is below five times Fb"},
         "fits"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = calc(c.args);
        EXPECT_EQ(o.status, 0) << o.err;
        for (const std::string& text : c.said) {
            EXPECT_NE(o.out.find(text), std::string::npos) << text << "\n" << o.out;
        }
        EXPECT_EQ(o.out.find("1425774680"), std::string::npos);
        const QJsonObject l = enclosure(c.args)["port_length"].toObject();
        EXPECT_EQ(l["fit"].toString(), c.fit);
        EXPECT_EQ(l["reachable"].toBool(), std::string(c.fit) == "fits");
    }
    const QJsonObject e = enclosure(example);
    EXPECT_NEAR(e["port_length"].toObject()["pipe_resonance_hz"].toDouble(), 316.05, 0.01);
    EXPECT_TRUE(e["frequencies"].toArray()[0].toObject()["beyond_xmax"].toBool());
    EXPECT_FALSE(e["frequencies"].toArray()[1].toObject()["beyond_xmax"].toBool());
}
