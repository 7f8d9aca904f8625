// --graph: the main window's velocity graph written as PNG or SVG.
#include "calculation.h"
#include "enclosure_graph.h"
#include "file_writing.h"
#include "graph_output.h"
#include "support/calc.h"
#include "support/isolation.h"
#include "support/row_names.h"
#include "support/run_program.h"
#include "velocity_graph.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace venturon;
using namespace venturon::cli;
using namespace venturon::testing;

namespace {

const QStringList& startup = startup_args;
const QStringList& no_allowances = no_allowance_args;

// What the window plots after Calculate, worked out here from the engine.
VelocityGraphInput window_input(double diameter, std::optional<double> radius,
                                const AllowanceSelection& allowances) {
    CalculationInput in;
    in.diameter = diameter;
    in.mode = radius ? CalculationMode::manual : CalculationMode::minimum;
    in.radius = radius.value_or(0);
    in.required = {10, 14, 12, 7};
    in.allowances = allowances;
    const CalculationResult result = calculate(in);
    return velocity_graph_input(result.core_limit, result.chuff_limit, in.required);
}

QImage window_picture(const VelocityGraphInput& input, QSize size) {
    Drawing drawing;
    draw_velocity_graph(drawing, input);
    return drawing.to_image(size).convertToFormat(QImage::Format_RGB32);
}

// True when the pixel nearest the graph point (x in graph units, 0 to 5, and a
// velocity), or one of its neighbours, has the colour.
bool colour_near(const QImage& image, double x, double velocity, double top, QColor colour) {
    const int px = static_cast<int>(std::lround(x / 5 * image.width()));
    const int py = static_cast<int>(std::lround((top - velocity) / top * image.height()));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(px + dx, py + dy);
            if (image.valid(p) && image.pixelColor(p) == colour) {
                return true;
            }
        }
    }
    return false;
}

class GraphFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
};

} // namespace

namespace {

struct PictureRequest {
    const char* name;
    QStringList args;
    QStringList size_args;
    QSize size;
    VelocityGraphInput expected;

    friend void PrintTo(const PictureRequest& row, std::ostream* os) { *os << row.name; }
};

const PictureRequest picture_requests[] = {
    {"first_start_default_size",
     startup,
     {},
     {401, 117},
     window_input(100, {}, first_start_allowances)},
    {"manual_radius_larger",
     startup + no_allowances + QStringList{"--radius", "10"},
     {"--graph-size", "800x300"},
     {800, 300},
     window_input(100, 10, {})},
    {"inches_narrow",
     {"-u", "inches", "-d", "4", "-r", "1/2", "--velocities", "10,14,12,7"},
     {"--graph-size", "200X400"},
     {200, 400},
     window_input(101.6, 12.7, first_start_allowances)},
};

class GraphPicture : public GraphFile, public ::testing::WithParamInterface<PictureRequest> {};

} // namespace

TEST_P(GraphPicture, PngIsTheWindowsPictureAtTheRequestedSize) {
    const PictureRequest& c = GetParam();
    const QString file = path("graph.png");
    const Outcome plain = calc(c.args);
    const Outcome o = calc(c.args + c.size_args + QStringList{"--graph", file});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, plain.out) << "the report does not change";

    const QImage png = QImage(file, "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), c.size);
    EXPECT_TRUE(png == window_picture(c.expected, c.size));

    // The chuffing line crosses the middle of each stretch between the design
    // frequencies, on a graph whose top is the 35 Hz core limit or the largest
    // required velocity, plus 5 m/s.
    const auto& chuff = c.expected.chuff_limit;
    const double top = std::max(c.expected.core_limit[3], 14.0) + 5;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(colour_near(png, i + 1.5, (chuff[i] + chuff[i + 1]) / 2, top,
                                graph_colour::chuffing_line))
            << "between " << 20 + 5 * i << " and " << 25 + 5 * i << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, GraphPicture, ::testing::ValuesIn(picture_requests), RowName());

TEST_F(GraphFile, ReplacesAnExistingFile) {
    const QString file = path("old.PNG");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a picture");
    }
    ASSERT_EQ(calc(startup + QStringList{"--graph", file}).status, 0);
    EXPECT_EQ(QImage(file, "PNG").size(), QSize(401, 117));
}

TEST_F(GraphFile, SvgIsWellFormedWithTheLinesInTheirColours) {
    const QString file = path("graph.svg");
    const Outcome o = calc(startup + QStringList{"--graph", file, "--graph-size", "600x200"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, calc(startup).out);

    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray bytes = svg.readAll();
    QXmlStreamReader xml(bytes);
    QString root;
    QString view_box;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && root.isEmpty()) {
            root = xml.name().toString();
            view_box = xml.attributes().value("viewBox").toString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg");
    EXPECT_EQ(view_box, "0 0 600 200");
    for (const char* colour : {"#6484fc", "#ffc4c4", "#c4c4c4", "#c40000"}) {
        EXPECT_TRUE(bytes.contains(colour)) << colour; // chuffing, core, required, legend
    }
    EXPECT_TRUE(bytes.contains("Core Limit"));
}

namespace {

// Graph requests that the tool refuses, and the option its complaint starts with.
// "{dir}" stands for a folder that holds a folder named folder.png.
struct BadGraphRequest {
    const char* name;
    QStringList args;
    const char* option;

    friend void PrintTo(const BadGraphRequest& row, std::ostream* os) { *os << row.name; }
};

// clang-format off
const BadGraphRequest bad_graph_requests[] = {
    {"text_file", {"--graph", "{dir}/g.txt"}, "--graph"},
    {"no_extension", {"--graph", "{dir}/g"}, "--graph"},
    {"empty_name", {"--graph", ""}, "--graph"},
    {"a_folder", {"--graph", "{dir}/folder.png"}, "--graph"},
    {"missing_folder", {"--graph", "{dir}/missing/g.png"}, "--graph"},
    {"zero_width", {"--graph", "{dir}/g.png", "--graph-size", "0x100"}, "--graph-size"},
    {"no_height", {"--graph", "{dir}/g.png", "--graph-size", "401x"}, "--graph-size"},
    {"star_between", {"--graph", "{dir}/g.png", "--graph-size", "401*117"}, "--graph-size"},
    {"negative_width", {"--graph", "{dir}/g.png", "--graph-size", "-401x117"}, "--graph-size"},
    {"too_wide", {"--graph", "{dir}/g.png", "--graph-size", "10001x10"}, "--graph-size"},
    {"width_beyond_an_int", {"--graph", "{dir}/g.png", "--graph-size", "99999999999x10"}, "--graph-size"},
    {"three_sizes", {"--graph", "{dir}/g.png", "--graph-size", "401x117x2"}, "--graph-size"},
    {"size_without_graph", {"--graph-size", "401x117"}, "--graph-size"},
    {"diameter_sweep", {"--graph", "{dir}/g.png", "--sweep-diameter", "80:120:10"}, "--graph"},
    {"port_sweep", {"--graph", "{dir}/g.png", "--sweep-ports", "1:3"}, "--graph"},
};
// clang-format on

class BadGraphRequests : public GraphFile, public ::testing::WithParamInterface<BadGraphRequest> {};

} // namespace

TEST_P(BadGraphRequests, NameTheOptionAndWriteNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    QStringList args = GetParam().args;
    args.replaceInStrings(QStringLiteral("{dir}"), dir.path());
    const Outcome o = calc(startup + args);
    EXPECT_EQ(o.status, exit_bad_input);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.rfind("venturon-calc: " + std::string(GetParam().option), 0), 0u) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Graph, BadGraphRequests, ::testing::ValuesIn(bad_graph_requests),
                         RowName());

TEST_F(GraphFile, AFileThatCannotBeWrittenIsAFailure) {
    // /proc takes no new files, not even from root.
    if (!QFileInfo(QStringLiteral("/proc")).isDir()) {
        GTEST_SKIP() << "no /proc";
    }
    const Outcome o = calc(startup + QStringList{"--graph", "/proc/venturon-graph.png"});
    EXPECT_EQ(o.status, exit_output_failed);
    EXPECT_EQ(o.err.rfind("venturon-calc: --graph \"/proc/venturon-graph.png\": cannot write", 0),
              0u)
        << o.err;
    EXPECT_FALSE(QFile::exists("/proc/venturon-graph.png"));
}

// The real tool needs no display for a graph, and no graphical platform at all
// without one.
TEST_F(GraphFile, ExecutableDrawsWithoutADisplay) {
    auto start = [](const QStringList& args, const QString& platform) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        if (!platform.isEmpty()) {
            environment.insert("QT_QPA_PLATFORM", platform);
        }
        return run_program(VENTURON_CALC_PATH, startup + args, environment).status;
    };
    const QString png = path("tool.png");
    EXPECT_EQ(start({"--graph", png, "--graph-size", "300x150"}, {}), 0);
    EXPECT_EQ(QImage(png, "PNG").size(), QSize(300, 150));
    const QString svg = path("tool.svg");
    EXPECT_EQ(start({"--graph", svg}, {}), 0);
    EXPECT_GT(QFileInfo(svg).size(), 0);
    // A platform that does not exist would abort a QGuiApplication.
    EXPECT_EQ(start({}, "no-such-platform"), 0);
}

namespace {

// Two graph options naming one file, however it is spelt. In the folder: p.svg
// (an older picture), link.svg (a link to p.svg), here (a link to the folder) and
// hard.svg (a hard link to p.svg). "{dir}" stands for the folder.
struct SharedFile {
    const char* name;
    QStringList args;
    const char* message; // after "venturon-calc: ", "{dir}" for the folder; empty: accepted

    friend void PrintTo(const SharedFile& row, std::ostream* os) { *os << row.name; }
};

const QStringList driver{"--fs",  "25",  "--qes", "0.45", "--qms",   "5",
                         "--vas", "100", "--sd",  "500",  "--re",    "3.6",
                         "--vb",  "60",  "--fb",  "30",   "--power", "100"};

// clang-format off
const SharedFile shared_files[] = {
    {"enclosure_and_excursion",
     {"--enclosure-graph", "{dir}/new.png", "--excursion-graph", "{dir}/new.png"},
     "--excursion-graph \"{dir}/new.png\": the same file as --enclosure-graph \"{dir}/new.png\"; "
     "give each graph a file of its own"},
    {"graph_and_enclosure_through_dot",
     {"--graph", "{dir}/new.svg", "--enclosure-graph", "{dir}/./new.svg"},
     "--enclosure-graph \"{dir}/./new.svg\": the same file as --graph \"{dir}/new.svg\"; "
     "give each graph a file of its own"},
    {"link_to_the_file",
     {"--enclosure-graph", "{dir}/link.svg", "--excursion-graph", "{dir}/p.svg"},
     "--excursion-graph \"{dir}/p.svg\": the same file as --enclosure-graph \"{dir}/link.svg\"; "
     "give each graph a file of its own"},
    {"linked_folder_new_file",
     {"--graph", "{dir}/here/new.png", "--excursion-graph", "{dir}/new.png"},
     "--excursion-graph \"{dir}/new.png\": the same file as --graph \"{dir}/here/new.png\"; "
     "give each graph a file of its own"},
    {"hard_link",
     {"--graph", "{dir}/hard.svg", "--enclosure-graph", "{dir}/p.svg"},
     "--enclosure-graph \"{dir}/p.svg\": the same file as --graph \"{dir}/hard.svg\"; "
     "give each graph a file of its own"},
    {"plot_and_excursion",
     {"--excursion-graph", "{dir}/new.png", "--plot", "excursion={dir}/./new.png"},
     "--plot \"{dir}/./new.png\": the same file as --excursion-graph \"{dir}/new.png\"; "
     "give each graph a file of its own"},
    {"all_three_different", {"--graph", "{dir}/a.png", "--enclosure-graph", "{dir}/b.png",
      "--excursion-graph", "{dir}/here/c.svg"}, ""},
};
// clang-format on

class SharedGraphFile : public GraphFile, public ::testing::WithParamInterface<SharedFile> {};

} // namespace

TEST_P(SharedGraphFile, IsRefusedNamingBothOptions) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic and hard links as the test makes them: POSIX only";
#else
    const QByteArray old_picture("an older picture");
    ASSERT_TRUE(put(path("p.svg"), old_picture));
    ASSERT_TRUE(QFile::link(path("p.svg"), path("link.svg")));
    ASSERT_TRUE(QFile::link(dir.path(), path("here")));
    ASSERT_EQ(::link(QFile::encodeName(path("p.svg")).constData(),
                     QFile::encodeName(path("hard.svg")).constData()),
              0);
    const SharedFile& c = GetParam();
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("{dir}"), dir.path());
    const Outcome o = calc(startup + driver + args);
    if (*c.message == '\0') {
        EXPECT_EQ(o.status, exit_success) << o.err;
        for (const char* made : {"a.png", "b.png", "c.svg"}) {
            EXPECT_TRUE(QFileInfo(path(made)).size() > 0) << made;
        }
        return;
    }
    EXPECT_EQ(o.status, exit_bad_input);
    EXPECT_EQ(o.out, "");
    QString message = "venturon-calc: " + QString::fromUtf8(c.message) + "\n";
    EXPECT_EQ(o.err, message.replace(QStringLiteral("{dir}"), dir.path()).toStdString());
    EXPECT_EQ(contents(path("p.svg")), old_picture);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{"hard.svg", "link.svg", "p.svg"}));
#endif
}

INSTANTIATE_TEST_SUITE_P(Graph, SharedGraphFile, ::testing::ValuesIn(shared_files), RowName());

// A picture rewritten in place (where the folder takes no new file) is first padded
// to the old file's length with what its format ignores: should the program stop
// before the file is cut, the file still reads as the new picture.
TEST_F(GraphFile, PaddedPictureReadsAsThePicture) {
    for (const auto& [name, format] :
         {std::pair{"g.png", GraphFormat::png}, std::pair{"g.svg", GraphFormat::svg}}) {
        const Outcome o = calc(startup + QStringList{"--graph", path(name)});
        ASSERT_EQ(o.status, exit_success) << o.err;
        const QByteArray picture = contents(path(name));
        const QByteArray padded =
            padded_content(picture, picture.size() + 1001, graph_filler(format));
        ASSERT_EQ(padded.size(), picture.size() + 1001);
        if (format == GraphFormat::png) {
            const QImage image = QImage::fromData(padded, "PNG");
            EXPECT_FALSE(image.isNull());
            EXPECT_EQ(image, QImage::fromData(picture, "PNG"));
            continue;
        }
        QXmlStreamReader xml(padded);
        int elements = 0;
        while (!xml.atEnd()) {
            elements += xml.readNext() == QXmlStreamReader::StartElement ? 1 : 0;
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(elements, 10);
    }
}

// --plot VIEW=FILE: each of the designer's views at the size asked, its SVG
// described in the view's own line; a view it does not know is refused, naming
// the views it does.
TEST_F(GraphFile, PlotWritesTheDesignersViews) {
    QStringList args =
        startup + driver + QStringList{"--radius", "40",   "--graph-size", "480x260", "--xmax",
                                       "12",       "--pe", "300",          "--power", "1000"};
    for (std::string_view key : plot_view_keys) {
        const QString name = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
        args << "--plot" << name + "=" + path(name + ".png");
        ASSERT_TRUE(designer_view_named(key)) << key;
    }
    args << "--plot"
         << "max-spl=" + path("max.svg");
    const Outcome o = calc(args);
    ASSERT_EQ(o.status, exit_success) << o.err;
    EXPECT_EQ(o.err, "");
    for (std::string_view key : plot_view_keys) {
        const QString file =
            path(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())) + ".png");
        EXPECT_EQ(QImage(file, "PNG").size(), QSize(480, 260)) << key;
    }
    QFile svg(path("max.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(svg.readAll());
    EXPECT_TRUE(text.contains("<title>Maximum SPL</title>"));
    EXPECT_TRUE(text.contains("limited by Xmax from 10 to")) << text.left(600).toStdString();
    EXPECT_TRUE(text.contains("; by chuffing from ")) << text.left(600).toStdString();

    for (const auto& [value, message] :
         {std::pair{QString("loudness=" + path("l.png")),
                    "--plot \"loudness=" + path("l.png").toStdString() +
                        "\": unknown view \"loudness\"; expected spl, max-spl, velocity, "
                        "excursion, impedance or group-delay"},
          std::pair{path("l.png"),
                    "--plot \"" + path("l.png").toStdString() +
                        "\": expected VIEW=FILE, VIEW one of spl, max-spl, velocity, excursion, "
                        "impedance or group-delay"}}) {
        const Outcome bad = calc(startup + driver + QStringList{"--plot", value});
        EXPECT_EQ(bad.status, exit_bad_input);
        EXPECT_EQ(bad.err, "venturon-calc: " + message + "\n");
    }
    const Outcome without = calc(startup + QStringList{"--plot", "spl=" + path("s.png")});
    EXPECT_EQ(without.err,
              "venturon-calc: --plot needs driver inputs (--driver FILE, or --fs, --vas, ...)\n");
}
