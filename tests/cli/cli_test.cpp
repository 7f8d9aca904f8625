#include "length_display.h"
#include "options.h"
#include "round_over.h"
#include "support/calc.h"
#include "support/non_numbers.h"
#include "support/row_names.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>
#include <vector>

using namespace venturon;
using namespace venturon::cli;
using namespace venturon::testing;
using venturon::Rounding;
using venturon::UnitsMode;

namespace {

QJsonObject json(const QStringList& args) {
    const Outcome o = calc(args + QStringList{"--format", "json"});
    EXPECT_EQ(o.status, 0) << o.err;
    QJsonParseError error{};
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(o.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << o.out;
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) {
        out.push_back(cell);
    }
    return out;
}

// A CSV file as column name -> values, checking one header and equal row widths.
std::map<std::string, std::vector<std::string>> csv(const QStringList& args) {
    const Outcome o = calc(args + QStringList{"--format", "csv"});
    EXPECT_EQ(o.status, 0) << o.err;
    const auto rows = lines(o.out);
    std::map<std::string, std::vector<std::string>> columns;
    if (rows.empty()) {
        ADD_FAILURE() << "no CSV";
        return columns;
    }
    const auto header = cells(rows[0]);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto row = cells(rows[r]);
        EXPECT_EQ(row.size(), header.size()) << rows[r];
        EXPECT_NE(row[0], header[0]) << "a second header line";
        for (std::size_t c = 0; c < row.size() && c < header.size(); ++c) {
            columns[header[c]].push_back(row[c]);
        }
    }
    return columns;
}

double number(const std::string& text) {
    return std::stod(text);
}

const QStringList& startup = startup_args;
const QStringList& no_allowances = no_allowance_args;

QStringList with(const QStringList& args, const QStringList& more) {
    return args + more;
}

// The documented examples, worked out by hand.
struct Example {
    const char* name;
    QStringList args;
    double radius;
    // A given radius shows as typed; a minimum the next thousandth up (26.2431
    // shows as 26.244): never less than the radius needed.
    const char* radius_shown;
    std::array<double, 4> chuffing; // all 0: not checked
    double core_excess;
    const char* verdict;

    friend void PrintTo(const Example& row, std::ostream* os) { *os << row.name; }
};

const Example examples[] = {
    {"first_start_minimum", startup, 26.243, "26.244 mm", {}, 0, "Port will be noise free"},
    {"manual_10_mm_no_allowances",
     with(with(startup, no_allowances), {"--radius", "10"}),
     10,
     "10 mm",
     {4.897, 5.596, 7.773, 10.027},
     0,
     " Chuffing"},
    {"diameter_50_mm_no_allowances",
     with({"--diameter", "50", "--velocities", "10,14,12,7"}, no_allowances),
     45.947,
     "45.947 mm",
     {},
     4.034,
     " Core Turbulence and Compression"},
};

class DocumentedExample : public ::testing::TestWithParam<Example> {};

} // namespace

TEST_P(DocumentedExample, Report) {
    const Example& e = GetParam();
    const Outcome o = calc(e.args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(lines(o.out).back(), e.verdict);
    EXPECT_NE(o.out.find(fixed(e.core_excess, 3) + " m/s"), std::string::npos);
    EXPECT_NE(o.out.find(std::string("Flare radius  ") + e.radius_shown), std::string::npos)
        << o.out;
    for (double limit : e.chuffing) {
        if (limit != 0) {
            EXPECT_NE(o.out.find(fixed(limit, 3) + "\n"), std::string::npos) << limit;
        }
    }
    EXPECT_FALSE(shows_non_number(o.out)) << o.out;
}

TEST_P(DocumentedExample, JsonAndCsv) {
    const Example& e = GetParam();
    const QJsonObject j = json(e.args);
    EXPECT_NEAR(j["radius_mm"].toDouble(), e.radius, 5e-4);
    EXPECT_NEAR(j["core_excess_m_s"].toDouble(), e.core_excess, 5e-4);
    EXPECT_EQ(j["verdict_text"].toString().toStdString(), e.verdict);

    auto c = csv(e.args);
    ASSERT_EQ(c["frequency_hz"], (std::vector<std::string>{"20", "25", "30", "35"}));
    EXPECT_NEAR(number(c["radius_mm"][0]), e.radius, 5e-4);
    EXPECT_NEAR(number(c["core_excess_m_s"][0]), e.core_excess, 5e-4);
    EXPECT_EQ(c["verdict_text"][0], "\"" + std::string(e.verdict) + "\"");

    if (e.chuffing[0] != 0) {
        const QJsonArray rows = j["frequencies"].toArray();
        for (std::size_t i = 0; i < 4; ++i) {
            const auto k = static_cast<qsizetype>(i);
            EXPECT_NEAR(rows[k].toObject()["chuffing_limit_m_s"].toDouble(), e.chuffing[i], 5e-4);
            EXPECT_NEAR(number(c["chuffing_limit_m_s"][i]), e.chuffing[i], 5e-4);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Calc, DocumentedExample, ::testing::ValuesIn(examples), RowName());

TEST(Calc, PortCountIsNormalisedLikeTheWindow) {
    const struct {
        const char* ports;
        double count;
        const char* verdict;
    } cases[] = {{"1", 1, "Port will be noise free"},    {"2", 2, "Ports will be noise free"},
                 {"2.7", 2, "Ports will be noise free"}, {"-3", 3, "Ports will be noise free"},
                 {"0", 1, "Port will be noise free"},    {"1.9", 1, "Port will be noise free"}};
    for (const auto& c : cases) {
        const QJsonObject j = json(with(startup, {"--ports", c.ports}));
        EXPECT_EQ(j["ports"].toDouble(), c.count) << c.ports;
        EXPECT_EQ(j["verdict_text"].toString().toStdString(), c.verdict) << c.ports;
    }
}

TEST(Calc, ImperialLengthsAreReadAndShown) {
    const auto args =
        with(startup, {"--units", "inches", "--radius", "1/2", "--diameter", "6 1/2"});
    const QJsonObject j = json(args);
    EXPECT_EQ(j["diameter_mm"].toDouble(), 165.1);
    EXPECT_EQ(j["radius_mm"].toDouble(), 12.7);
    EXPECT_EQ(j["radius"].toString(), "1/2 in");
    EXPECT_EQ(json(with(args, {"--units", "decimalinches"}))["radius"].toString(), "0.5 in");
    EXPECT_NE(calc(args).out.find("Diameter      6 1/2 in (165.1 mm)"), std::string::npos);
    // A minimum radius of 25.758 mm (1.014 in) is not shown as the 1 in that would chuff.
    EXPECT_EQ(json({"--units", "inches", "--diameter", "4", "--velocities", "10,14,12,7"})["radius"]
                  .toString(),
              "1 1/16 in");
}

TEST(Lengths, ShownInEachUnitWithoutErrTexts) {
    constexpr auto up = Rounding::up;
    constexpr auto nearest = Rounding::nearest;
    const struct {
        double mm;
        UnitsMode units;
        Rounding rounding;
        const char* shown;
    } cases[] = {
        {165.1, UnitsMode::inches, nearest, "6 1/2 in"},
        {2095.5, UnitsMode::inches, nearest, "6' 10 1/2 in"},
        {1524, UnitsMode::inches, nearest, "5'"},
        {165.1, UnitsMode::decimal_inches, nearest, "6.5 in"},
        {26.2434, UnitsMode::metric, nearest, "26.243 mm"},
        {26.2434, UnitsMode::metric, up, "26.244 mm"}, // a minimum: the next thousandth
        {26.243, UnitsMode::metric, up, "26.243 mm"},
        {0, UnitsMode::metric, nearest, "0.000 mm"},
        {25.5, UnitsMode::inches, nearest, "1 in"},
        {25.5, UnitsMode::inches, up, "1 1/16 in"},
        {25.4, UnitsMode::inches, up, "1 in"}, // a whole sixteenth stays
        {12.7, UnitsMode::inches, up, "1/2 in"},
        {0, UnitsMode::inches, up, "0 in"},
        {1e-25, UnitsMode::inches, nearest, "0 in"},
        {1e-25, UnitsMode::decimal_inches, nearest, "0 in"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(show_length(c.mm, c.units, 3, c.rounding), c.shown) << c.mm;
    }
    // number text writes 1e+20 here, which the imperial formatter cannot read.
    EXPECT_EQ(show_length(1e20, UnitsMode::inches).find("ERR"), std::string::npos);
}

TEST(RoundOver, SmallestCutterAtLeastTheRadius) {
    const struct {
        double radius;
        CutterSystem system;
        const char* cutter; // nullptr: beyond the largest
    } cases[] = {
        {0, CutterSystem::metric, "3 mm"},
        {3, CutterSystem::metric, "3 mm"},
        {3.0001, CutterSystem::metric, "5 mm"},
        {26.243, CutterSystem::metric, "32 mm"},
        {38, CutterSystem::metric, "38 mm"},
        {38.0001, CutterSystem::metric, nullptr},
        {6.35, CutterSystem::imperial, "1/4 in"},
        {6.36, CutterSystem::imperial, "3/8 in"},
        {25.758, CutterSystem::imperial, "1 1/4 in"},
        {38.1, CutterSystem::imperial, "1 1/2 in"},
        {38.2, CutterSystem::imperial, nullptr},
    };
    for (const auto& c : cases) {
        const auto cutter = smallest_cutter(c.radius, c.system);
        if (c.cutter) {
            ASSERT_TRUE(cutter) << c.radius;
            EXPECT_EQ(cutter->label, c.cutter) << c.radius;
        } else {
            EXPECT_FALSE(cutter) << c.radius;
        }
    }
}

TEST(RoundOver, ReportsTheCutterForTheMinimumRadiusEvenWithAGivenRadius) {
    for (const char* radius : {"", "10"}) {
        auto args = with(startup, {"--round-over", "metric"});
        if (*radius) {
            args = with(args, {"--radius", radius});
        }
        const QJsonObject r = json(args)["round_over"].toObject();
        EXPECT_NEAR(r["minimum_radius_mm"].toDouble(), 26.243, 5e-4);
        EXPECT_EQ(r["cutter"].toString(), "32 mm");
    }
    const Outcome beyond =
        calc(with({"--diameter", "50", "--velocities", "10,14,12,7", "--round-over", "metric"},
                  no_allowances));
    EXPECT_NE(beyond.out.find("none: 45.947 mm is beyond the largest metric cutter (38 mm)"),
              std::string::npos)
        << beyond.out;
}

TEST(Sweep, RowsRescaleLikeCruiseControl) {
    const QJsonArray rows =
        json(with(startup, {"--sweep-diameter", "100:200:10"}))["rows"].toArray();
    ASSERT_EQ(rows.size(), 11);
    auto velocities = [](const QJsonValue& row) {
        return row.toObject()["required_m_s"].toArray().toVariantList();
    };
    EXPECT_EQ(velocities(rows[0]), (QVariantList{10, 14, 12, 7}));
    EXPECT_EQ(velocities(rows[1]), (QVariantList{8.2, 11.5, 9.9, 5.7})); // 11.57 cut, not rounded
    EXPECT_EQ(velocities(rows[10]), (QVariantList{2.5, 3.5, 3, 1.7}));   // 1.75 cut to 1.7

    const QJsonArray ports = json(with(startup, {"--sweep-ports", "1:2"}))["rows"].toArray();
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(velocities(ports[1]), (QVariantList{5, 7, 6, 3.5}));
    EXPECT_EQ(ports[1].toObject()["verdict_text"].toString(), "Ports will be noise free");

    auto c = csv(with(startup, {"--sweep-diameter", "110:110:5"}));
    EXPECT_EQ(c["required_25hz_m_s"], std::vector<std::string>{"11.5"});
}

// Worked by hand for a 50 mm reference port at 10, 14, 12, 7 m/s, no core allowance:
// at 56 mm the 25 Hz velocity is cut to 11.1 m/s against a core limit of
// 0.67 x (10 + 0.00195 x 56^2) = 10.797 (excess 0.303); at 57 mm it is 10.7 against
// 10.945. At one port the 50 mm port is too loud; two ports bring 25 Hz to 7 m/s.
TEST(Sweep, EndsWithTheSmallestQuietDiameterOrPortCount) {
    const QStringList small{"--diameter", "50", "--velocities", "10,14,12,7"};
    const auto d = with(small, {"--sweep-diameter", "50:70:1"});
    EXPECT_EQ(lines(calc(d).out).back(), "Smallest quiet diameter: 57 mm");
    const QJsonObject j = json(d);
    EXPECT_EQ(j["smallest_quiet_diameter_mm"].toDouble(), 57);
    const QJsonObject at56 = j["rows"].toArray()[6].toObject();
    EXPECT_EQ(at56["diameter_mm"].toDouble(), 56);
    EXPECT_NEAR(at56["core_excess_m_s"].toDouble(), 0.303, 5e-4);

    const auto p = with(small, {"--sweep-ports", "1:4"});
    EXPECT_EQ(lines(calc(p).out).back(), "Smallest quiet port count: 2");
    EXPECT_EQ(json(p)["smallest_quiet_ports"].toDouble(), 2);

    const auto loud = with(small, {"--sweep-diameter", "50:56:1"});
    EXPECT_EQ(lines(calc(loud).out).back(), "No diameter in the sweep is noise free.");
    EXPECT_TRUE(json(loud)["smallest_quiet_diameter_mm"].isNull());
}

TEST(Sweep, StepsReachTheEndDespiteBinaryFractions) {
    const auto c = csv(with(startup, {"--sweep-diameter", "100:200:0.1"}));
    ASSERT_EQ(c.at("diameter_mm").size(), 1001u);
    EXPECT_EQ(c.at("diameter_mm").back(), "200");
    EXPECT_EQ(c.at("diameter_mm")[3], "100.3");
    EXPECT_EQ(
        csv(with(startup, {"--units", "inches", "--sweep-diameter", "4:5:1/4"})).at("diameter_mm"),
        (std::vector<std::string>{"101.6", "107.95", "114.3", "120.65", "127"}));
}

namespace {

// Arguments that the tool refuses, what its one line of complaint names and,
// where it matters, what else it says.
struct BadArguments {
    const char* name;
    QStringList args;
    const char* named;
    const char* says = "";

    friend void PrintTo(const BadArguments& row, std::ostream* os) { *os << row.name; }
};

const QStringList imperial = with(startup, {"--units", "inches"});

// clang-format off
const BadArguments bad_arguments[] = {
    {"no_diameter", {"--velocities", "10,14,12,7"}, "--diameter"},
    {"no_velocities", {"--diameter", "100"}, "--velocities"},
    {"diameter_abc", with(startup, {"--diameter", "abc"}), "--diameter"},
    {"diameter_empty", with(startup, {"--diameter", ""}), "--diameter"},
    {"diameter_zero", with(startup, {"--diameter", "0"}), "--diameter"},
    {"diameter_negative", with(startup, {"--diameter", "-5"}), "--diameter"},
    {"diameter_nan", with(startup, {"--diameter", "nan"}), "--diameter"},
    {"diameter_inf", with(startup, {"--diameter", "inf"}), "--diameter"},
    {"diameter_1e999", with(startup, {"--diameter", "1e999"}), "--diameter"},
    {"diameter_with_unit", with(startup, {"--diameter", "100mm"}), "--diameter"},
    {"diameter_limits_beyond_a_double", with(startup, {"--diameter", "1e200"}), "--diameter"},
    {"radius_negative", with(startup, {"--radius", "-1"}), "--radius"},
    {"radius_x", with(startup, {"--radius", "x"}), "--radius"},
    {"radius_on_a_tiny_diameter", with(startup, {"--diameter", "1e-300", "--radius", "10"}), "--radius"},
    {"three_velocities", with(startup, {"--velocities", "10,14,12"}), "--velocities"},
    {"five_velocities", with(startup, {"--velocities", "10,14,12,7,1"}), "--velocities"},
    {"velocity_negative", with(startup, {"--velocities", "10,-1,12,7"}), "--velocities"},
    {"velocity_nan", with(startup, {"--velocities", "10,nan,12,7"}), "--velocities"},
    {"velocity_empty", with(startup, {"--velocities", "10,,12,7"}), "--velocities"},
    {"velocity_1e306", with(startup, {"--velocities", "1e306,14,12,7"}), "--velocities"},
    {"ports_abc", with(startup, {"--ports", "abc"}), "--ports"},
    {"ports_inf", with(startup, {"--ports", "inf"}), "--ports"},
    {"units_feet", with(startup, {"--units", "feet"}), "--units"},
    {"format_xml", with(startup, {"--format", "xml"}), "--format"},
    {"chuffing_allowance_lots", with(startup, {"--chuffing-allowance", "lots"}), "--chuffing-allowance"},
    {"core_allowance_capitalised", with(startup, {"--core-allowance", "Seating"}), "--core-allowance"},
    {"content_film", with(startup, {"--content", "film"}), "--content"},
    {"round_over_cubits", with(startup, {"--round-over", "cubits"}), "--round-over"},
    {"imperial_third", with(imperial, {"--diameter", "6 1/3"}), "Allowable fractions are 1/2 1/4 1/8 1/16"},
    {"imperial_letter", with(imperial, {"--diameter", "6x"}), "--diameter \"6x\": Invalid Character"},
    {"imperial_leading_slash", with(imperial, {"--radius", "/2"}), "--radius \"/2\": slash not allowed at start"},
    {"imperial_point", with(imperial, {"--diameter", "."}), "--diameter"},
    {"sweep_diameter_step_zero", with(startup, {"--sweep-diameter", "100:200:0"}), "--sweep-diameter"},
    {"sweep_diameter_step_negative", with(startup, {"--sweep-diameter", "100:200:-1"}), "--sweep-diameter"},
    {"sweep_diameter_backwards", with(startup, {"--sweep-diameter", "200:100:10"}), "--sweep-diameter"},
    {"sweep_diameter_too_many_rows", with(startup, {"--sweep-diameter", "1:100000:0.0001"}), "--sweep-diameter"},
    {"sweep_diameter_subnormal_step", with(startup, {"--sweep-diameter", "1:2:1e-320"}), "--sweep-diameter"},
    {"sweep_diameter_without_step", with(startup, {"--sweep-diameter", "100:200"}), "--sweep-diameter"},
    {"sweep_diameter_from_zero", with(startup, {"--sweep-diameter", "0:200:10"}), "--sweep-diameter"},
    {"sweep_diameter_limits_overflow", with(startup, {"--sweep-diameter", "1e-300:1:1"}), "--sweep-diameter"},
    {"sweep_ports_from_zero", with(startup, {"--sweep-ports", "0:4"}), "--sweep-ports"},
    {"sweep_ports_backwards", with(startup, {"--sweep-ports", "4:1"}), "--sweep-ports"},
    {"sweep_ports_fraction", with(startup, {"--sweep-ports", "1.5:3"}), "--sweep-ports"},
    {"sweep_ports_too_many_rows", with(startup, {"--sweep-ports", "1:200000"}), "--sweep-ports"},
    {"sweep_ports_1e300", with(startup, {"--sweep-ports", "1e300:1e300"}), "--sweep-ports"},
    {"sweep_ports_with_radius", with(startup, {"--sweep-ports", "1:2", "--radius", "5"}), "--radius"},
    {"two_sweeps", with(startup, {"--sweep-ports", "1:2", "--sweep-diameter", "1:2:1"}), "--sweep-ports"},
    {"unknown_option", with(startup, {"--bogus"}), "bogus"},
    {"option_without_value", with(startup, {"--diameter"}), "--diameter"},
    {"stray_argument", with(startup, {"stray"}), "stray"},
};
// clang-format on

class BadInputTest : public ::testing::TestWithParam<BadArguments> {};

} // namespace

TEST_P(BadInputTest, NamesTheOptionAndExitsWithTwo) {
    const BadArguments& c = GetParam();
    const Outcome o = calc(c.args);
    EXPECT_EQ(o.status, exit_bad_input);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.rfind("venturon-calc: ", 0), 0u) << o.err.substr(0, 200);
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line: " << o.err.substr(0, 200);
    EXPECT_NE(o.err.find(c.named), std::string::npos)
        << c.args.join(' ').toStdString() << " -> " << o.err;
}

INSTANTIATE_TEST_SUITE_P(Arguments, BadInputTest, ::testing::ValuesIn(bad_arguments), RowName());

// A caller without a QGuiApplication (this suite has none) gets a failure naming
// --graph, not an abort inside Qt's font database.
TEST(GraphOption, WithoutAGuiApplicationIsAFailureNotACrash) {
    const QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath("graph.png");
    const Outcome o = calc(with(startup, {"--graph", file}));
    EXPECT_EQ(o.status, graph_output_available() ? exit_output_failed : exit_bad_input);
    EXPECT_EQ(o.err.rfind("venturon-calc: --graph", 0), 0u) << o.err;
    EXPECT_FALSE(QFile::exists(file));
}

namespace {

// A number beyond the largest double is refused as too large, whichever numeric
// option holds it and however it is written; it never reads as 0.
const QString huge(400, u'9');
const QStringList decimal_inches = with(startup, {"--units", "decimalinches"});

// clang-format off
const BadArguments too_large_arguments[] = {
    {"diameter_400_digits", with(startup, {"--diameter", huge}), "--diameter", "too large"},
    {"diameter_1e400", with(startup, {"--diameter", "1e400"}), "--diameter", "too large"},
    {"radius_400_digits", with(startup, {"--radius", huge + ".5"}), "--radius", "too large"},
    {"radius_400_digits_decimal_inches", with(decimal_inches, {"--radius", huge + ".5"}), "--radius", "too large"},
    {"diameter_400_digits_decimal_inches", with(decimal_inches, {"--diameter", huge + ".0"}), "--diameter", "too large"},
    {"diameter_1e307_decimal_inches", with(decimal_inches, {"--diameter", "1" + QString(307, u'0') + ".0"}), "--diameter", "too large"},
    {"velocity_400_digits", with(startup, {"--velocities", "10,14," + huge + ",7"}), "--velocities", "too large"},
    {"ports_400_digits", with(startup, {"--ports", huge}), "--ports", "too large"},
    {"sweep_to_400_digits", with(startup, {"--sweep-diameter", "100:" + huge + ":10"}), "--sweep-diameter", "too large"},
};
// clang-format on

} // namespace

INSTANTIATE_TEST_SUITE_P(BeyondADouble, BadInputTest, ::testing::ValuesIn(too_large_arguments),
                         RowName());

// Numbers too small for a double are 0: a radius of 0 is a radius.
TEST(TooSmallInput, ReadsAsZero) {
    const Outcome tiny = calc(with(startup, {"--radius", "1e-400"}));
    EXPECT_EQ(tiny.status, 0) << tiny.err;
    EXPECT_NE(tiny.out.find("Flare radius  0 mm (given)"), std::string::npos) << tiny.out;
}

// Every shown minimum radius is at least the true minimum: decimal inches round
// up to the next ten-thousandth as feet and inches round up to the next sixteenth.
TEST(Lengths, MinimumRadiusInDecimalInchesIsNeverBelowTheMinimum) {
    for (double mm = 0.01; mm < 300; mm += 0.0731) {
        const std::string shown = length_number(mm, UnitsMode::decimal_inches, 3, Rounding::up);
        const double inches = std::stod(shown);
        EXPECT_GE(inches * 25.4, mm - 1e-9) << mm << " mm shown as " << shown;
        EXPECT_LT(inches * 25.4, mm + 25.4e-4 + 1e-9) << mm << " mm shown as " << shown;
    }
    // An exact ten-thousandth stays as it is.
    EXPECT_EQ(length_number(25.63114, UnitsMode::decimal_inches, 3, Rounding::up), "1.0091");
    EXPECT_EQ(length_number(25.63114, UnitsMode::decimal_inches), "1.0091");
}

TEST(Arguments, FileNamesThatAreNotUtf8AreRefused) {
    const char* good[] = {"venturon-calc", "--graph", "p\xc3\xa4rt.png"};
    EXPECT_EQ(argument_encoding_problem(3, good), std::nullopt);
    const char* bad[] = {"venturon-calc", "--graph", "port\xff.png"};
    const auto problem = argument_encoding_problem(3, bad);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(*problem, "argument \"port?.png\" is not valid UTF-8 text; give file names in "
                        "UTF-8 (rename the file)");
    const char* name_only[] = {"\xff"}; // the program's own name is not looked at
    EXPECT_EQ(argument_encoding_problem(1, name_only), std::nullopt);
}
