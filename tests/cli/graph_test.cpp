// --graph: the main window's velocity graph written as PNG or SVG.
#include "calculation.h"
#include "run.h"
#include "velocity_graph.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace venturon;
using namespace venturon::cli;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome calc(const QStringList& args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome o;
    o.status = run(QStringList{"venturon-calc"} + args, out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}

const QStringList startup{"--diameter", "100", "--velocities", "10,14,12,7"};
const QStringList no_allowances{
    "--chuffing-allowance", "none", "--core-allowance", "none", "--content", "music"};

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
    VelocityGraphInput graph;
    graph.core_limit = result.core_limit;
    graph.chuff_limit = result.chuff_limit;
    graph.required = in.required;
    return graph;
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

TEST_F(GraphFile, PngIsTheWindowsPictureAtTheRequestedSize) {
    const struct {
        const char* name;
        QStringList args;
        QStringList size_args;
        QSize size;
        VelocityGraphInput expected;
    } cases[] = {
        {"first start, default size",
         startup,
         {},
         {401, 117},
         window_input(100, {}, first_start_allowances)},
        {"manual radius, larger",
         startup + no_allowances + QStringList{"--radius", "10"},
         {"--graph-size", "800x300"},
         {800, 300},
         window_input(100, 10, {})},
        {"inches, narrow",
         {"-u", "inches", "-d", "4", "-r", "1/2", "--velocities", "10,14,12,7"},
         {"--graph-size", "200X400"},
         {200, 400},
         window_input(101.6, 12.7, first_start_allowances)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
}

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

TEST_F(GraphFile, BadRequestsNameTheOptionAndWriteNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    const QString good = path("g.png");
    const struct {
        QStringList args;
        const char* option;
    } cases[] = {
        {{"--graph", path("g.txt")}, "--graph"},
        {{"--graph", path("g")}, "--graph"},
        {{"--graph", ""}, "--graph"},
        {{"--graph", path("folder.png")}, "--graph"},
        {{"--graph", path("missing/g.png")}, "--graph"},
        {{"--graph", good, "--graph-size", "0x100"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "401x"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "401*117"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "-401x117"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "10001x10"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "99999999999x10"}, "--graph-size"},
        {{"--graph", good, "--graph-size", "401x117x2"}, "--graph-size"},
        {{"--graph-size", "401x117"}, "--graph-size"},
        {{"--graph", good, "--sweep-diameter", "80:120:10"}, "--graph"},
        {{"--graph", good, "--sweep-ports", "1:3"}, "--graph"},
    };
    for (const auto& c : cases) {
        const std::string name = c.args.join(' ').toStdString();
        const Outcome o = calc(startup + c.args);
        EXPECT_EQ(o.status, exit_bad_input) << name;
        EXPECT_EQ(o.out, "") << name;
        EXPECT_EQ(o.err.rfind("venturon-calc: " + std::string(c.option), 0), 0u) << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

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
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        if (!platform.isEmpty()) {
            environment.insert("QT_QPA_PLATFORM", platform);
        }
        process.setProcessEnvironment(environment);
        process.start(VENTURON_CALC_PATH, startup + args);
        EXPECT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return process.exitCode();
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
