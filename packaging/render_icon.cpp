// Renders the program's SVG icon to a square picture of the given size, at build
// time: a PNG, or for a name ending in .argb the pixels themselves (width and
// height as two 32-bit numbers, then premultiplied ARGB32 rows in this machine's
// byte order), which the window icon takes without decoding.
//   venturon_render_icon input.svg output.png|output.argb size
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s input.svg output.png size\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build machine has no display
    QGuiApplication app(argc, argv);

    const int size = std::atoi(argv[3]);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "%s: cannot render %s at size %s\n", argv[0], argv[1], argv[3]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (output.endsWith(QLatin1String(".argb"))) {
        QFile file(output);
        const quint32 side = static_cast<quint32>(size);
        const QByteArray header(reinterpret_cast<const char*>(&side), sizeof side);
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                static_cast<qsizetype>(image.sizeInBytes()));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(header + header + pixels) != 2 * header.size() + pixels.size()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
            return 1;
        }
        return 0;
    }
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
