// Renders the program's SVG icon into a Windows icon file at build time: one
// picture per size Windows asks for (16 to 256 pixels), each a 32-bit bitmap
// with its alpha, as Explorer, the Start menu and the installer read them.
//   venturon_render_ico input.svg output.ico
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <iterator>

#include <cstdio>

namespace {

constexpr int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

void append_le(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(char((value >> (8 * i)) & 0xFF));
    }
}

// One icon picture: a BITMAPINFOHEADER whose height counts the colour rows and
// the mask rows, the colour rows bottom up as BGRA, then the 1-bit mask (all
// zero: the alpha decides).
QByteArray bitmap(const QImage& image) {
    const int side = image.width();
    QByteArray out;
    append_le(out, 40, 4);       // header size
    append_le(out, side, 4);     // width
    append_le(out, 2 * side, 4); // height: colours and mask
    append_le(out, 1, 2);        // planes
    append_le(out, 32, 2);       // bits per pixel
    append_le(out, 0, 4);        // BI_RGB
    append_le(out, 0, 4 * 5);    // image size, resolution, palette: unused
    for (int y = side - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            append_le(out, row[x], 4); // 0xAARRGGBB, little endian: B G R A
        }
    }
    const int mask_row = ((side + 31) / 32) * 4;
    out.append(QByteArray(mask_row * side, '\0'));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s input.svg output.ico\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build machine has no display
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot render %s\n", argv[0], argv[1]);
        return 1;
    }

    QByteArray directory;
    QByteArray pictures;
    const int count = int(std::size(sizes));
    append_le(directory, 0, 2);     // reserved
    append_le(directory, 1, 2);     // an icon
    append_le(directory, count, 2); // pictures
    const int first_offset = 6 + 16 * count;
    for (const int side : sizes) {
        QImage image(side, side, QImage::Format_ARGB32); // straight alpha, as icons keep it
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QByteArray picture = bitmap(image);
        append_le(directory, side == 256 ? 0 : side, 1); // 0 stands for 256
        append_le(directory, side == 256 ? 0 : side, 1);
        append_le(directory, 0, 2); // no palette, reserved
        append_le(directory, 1, 2); // planes
        append_le(directory, 32, 2);
        append_le(directory, quint32(picture.size()), 4);
        append_le(directory, quint32(first_offset + pictures.size()), 4);
        pictures += picture;
    }

    QFile file(QString::fromLocal8Bit(argv[2]));
    const QByteArray bytes = directory + pictures;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
