#include "graph_output.h"

#include "enclosure_graph.h"
#include "file_writing.h"
#include "velocity_graph.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QSvgGenerator>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shellapi.h> // needs windows.h first
#endif

namespace venturon::cli {

namespace {

std::string failure(const GraphRequest& request, const std::string& why) {
    return "--" + request.option + " \"" + request.path.toStdString() + "\": " + why;
}

// What the file says it shows.
struct Caption {
    QString title;
    QString description;
};

// What the window's graph shows after a Calculate in Full mode, at the size asked.
VelocityGraphInput graph_input(const SingleResult& single, const GraphRequest& request) {
    VelocityGraphInput in = velocity_graph_input(single.result.core_limit,
                                                 single.result.chuff_limit, single.input.required);
    in.picture_size = QSizeF(request.width, request.height);
    return in;
}

// PNG: the picture box replayed into an image, as the window shows it.
std::optional<std::string> encode_png(const GraphRequest& request, const Drawing& drawing,
                                      QBuffer& bytes) {
    const QImage image = drawing.to_image(QSize(request.width, request.height));
    if (image.isNull()) {
        return failure(request, "not enough memory for a picture of this size");
    }
    if (!image.save(&bytes, "PNG")) {
        return failure(request, "cannot encode the picture");
    }
    return std::nullopt;
}

// SVG: the same display list replayed into vector strokes and texts, at the
// resolution of an image so that texts keep their size relative to the lines.
std::optional<std::string> encode_svg(const GraphRequest& request, const Drawing& drawing,
                                      const Caption& caption, QBuffer& bytes) {
    const QSize size(request.width, request.height);
    QSvgGenerator generator;
    generator.setOutputDevice(&bytes);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiY());
    generator.setTitle(caption.title);
    generator.setDescription(caption.description);
    QPainter painter;
    if (!painter.begin(&generator)) {
        return failure(request, "cannot draw the picture");
    }
    drawing.render(painter, QSizeF(size));
    painter.end();
    return std::nullopt;
}

} // namespace

bool graph_output_available() {
    return true;
}

QByteArrayView graph_filler(GraphFormat format) {
    return format == GraphFormat::png ? QByteArrayView("\0", 1) : QByteArrayView("\n");
}

namespace {

QtMessageHandler qt_messages = nullptr;

// Qt's offscreen platform warns when XDG_RUNTIME_DIR is not set, which is common
// in scripts and services and harmless here: a run that succeeds prints nothing
// on standard error. Every other message goes through.
void without_runtime_directory_warning(QtMsgType type, const QMessageLogContext& context,
                                       const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    qt_messages(type, context, message);
}

// The arguments as given. On Windows argv holds them in the ANSI code page, which
// loses every letter outside it (a graph in a folder named in Cyrillic would be
// refused as in a missing folder): there they come from the UTF-16 command
// line, as QCoreApplication::arguments() takes them.
QStringList given_arguments(int argc, char** argv) {
    QStringList arguments;
#ifdef Q_OS_WIN
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) {
            arguments << QString::fromWCharArray(wide[i]);
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

std::unique_ptr<QCoreApplication> make_application(int& argc, char** argv) {
    const QStringList arguments = given_arguments(argc, argv);
    const ParsedCommandLine parsed = parse_command_line(arguments);
    if (parsed.action == ParsedCommandLine::Action::run && parsed.options.draws_graphs()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
            // There the offscreen platform reads fonts from one folder only, by
            // default one beside Qt that holds none: texts would be boxes.
            if (!qEnvironmentVariableIsSet("QT_QPA_FONTDIR")) {
                qputenv(
                    "QT_QPA_FONTDIR",
                    QStandardPaths::writableLocation(QStandardPaths::FontsLocation).toLocal8Bit());
            }
#endif
        }
        qt_messages = qInstallMessageHandler(without_runtime_directory_warning);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

namespace {

// The picture encoded whole first, then the file in one write: a file that cannot
// take it all keeps what it held.
std::optional<std::string> write_drawing(const GraphRequest& request, const Drawing& drawing,
                                         const Caption& caption) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    const auto problem = request.format == GraphFormat::png
                             ? encode_png(request, drawing, bytes)
                             : encode_svg(request, drawing, caption, bytes);
    if (problem) {
        return problem;
    }
    const FileWrite write = write_file(request.path, bytes.data(), graph_filler(request.format));
    if (!write.written) {
        return failure(request, "cannot write: " + write.problem.toStdString());
    }
    return std::nullopt;
}

// Texts need the font database, which only a QGuiApplication provides; without
// one Qt would abort the whole program.
bool can_draw() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

std::optional<std::string> write_graph(const GraphRequest& request, const SingleResult& single) {
    if (!can_draw()) {
        return failure(request, "drawing needs a QGuiApplication, and there is none");
    }
    Drawing drawing;
    draw_velocity_graph(drawing, graph_input(single, request));
    return write_drawing(request, drawing,
                         {QStringLiteral("Velocity graph"),
                          QStringLiteral("Core and chuffing limits and required velocities "
                                         "against frequency, drawn by venturon-calc")});
}

std::optional<std::string> write_enclosure_graph(const GraphRequest& request,
                                                 const SingleResult& single,
                                                 EnclosurePicture picture) {
    if (!can_draw()) {
        return failure(request, "drawing needs a QGuiApplication, and there is none");
    }
    if (!single.enclosure) {
        return failure(request, "there are no driver inputs to draw");
    }
    const EnclosureReport& report = *single.enclosure;
    const QSizeF size(request.width, request.height);
    Drawing drawing;
    if (picture == EnclosurePicture::port_velocity) {
        PortVelocityGraphInput in = port_velocity_graph_input(
            report.model, single.input.diameter, single.result.radius, single.input.allowances);
        in.picture_size = size;
        draw_port_velocity_graph(drawing, in);
        return write_drawing(request, drawing,
                             {QStringLiteral("Port velocity graph"),
                              QStringLiteral("Port air velocity (peak) against the core and "
                                             "chuffing limits, 15 to 40 Hz, drawn by "
                                             "venturon-calc")});
    }
    ExcursionGraphInput in = excursion_graph_input(report.model);
    in.picture_size = size;
    draw_excursion_graph(drawing, in);
    return write_drawing(request, drawing,
                         {QStringLiteral("Excursion graph"),
                          QStringLiteral("Cone excursion (peak) against Xmax, 10 to 200 Hz, "
                                         "drawn by venturon-calc")});
}

std::optional<std::string> write_designer_graph(const PlotRequest& request,
                                                const SingleResult& single) {
    const GraphRequest& graph = request.graph;
    if (!can_draw()) {
        return failure(graph, "drawing needs a QGuiApplication, and there is none");
    }
    if (!single.enclosure) {
        return failure(graph, "there are no driver inputs to draw");
    }
    const auto view = designer_view_named(plot_view_key(request.view));
    if (!view) {
        return failure(graph, "this build does not know the view");
    }
    const EnclosureReport& report = *single.enclosure;
    const DesignerGraphInput input =
        designer_graph_input(report.model, {report.flare_radius_mm, single.input.allowances});
    Drawing drawing;
    draw_designer_graph(drawing, *view, input, QSizeF(graph.width, graph.height));
    return write_drawing(graph, drawing,
                         {designer_view_title(*view), designer_graph_description(*view, input)});
}

} // namespace venturon::cli
