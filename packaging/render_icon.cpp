// Renders the program's SVG icon at build time, by the output's extension:
//   venturon_render_icon input.svg output.png size    a square PNG of that size
//   venturon_render_icon input.svg output.argb size   its pixels themselves (width
//       and height as two 32-bit numbers, then premultiplied ARGB32 rows in this
//       machine's byte order), which the window icon takes without decoding
//   venturon_render_icon input.svg output.ico         a Windows icon: one picture
//       per size Windows asks for (16 to 256 pixels), each a 32-bit bitmap with
//       its alpha, as Explorer, the Start menu and the installer read them
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int ico_sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

QImage render(QSvgRenderer& renderer, int side, QImage::Format format) {
    QImage image(side, side, format);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

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
    out.append(QByteArray(static_cast<qsizetype>(mask_row) * side, '\0'));
    return out;
}

QByteArray icon_file(QSvgRenderer& renderer) {
    QByteArray directory;
    QByteArray pictures;
    const int count = int(std::size(ico_sizes));
    append_le(directory, 0, 2);     // reserved
    append_le(directory, 1, 2);     // an icon
    append_le(directory, count, 2); // pictures
    const int first_offset = 6 + 16 * count;
    for (const int side : ico_sizes) {
        // Straight alpha, as icons keep it.
        const QByteArray picture = bitmap(render(renderer, side, QImage::Format_ARGB32));
        append_le(directory, side == 256 ? 0 : side, 1); // 0 stands for 256
        append_le(directory, side == 256 ? 0 : side, 1);
        append_le(directory, 0, 2); // no palette, reserved
        append_le(directory, 1, 2); // planes
        append_le(directory, 32, 2);
        append_le(directory, quint32(picture.size()), 4);
        append_le(directory, quint32(first_offset + pictures.size()), 4);
        pictures += picture;
    }
    return directory + pictures;
}

QByteArray pixels_file(const QImage& image) {
    const auto side = static_cast<quint32>(image.width());
    const QByteArray header(reinterpret_cast<const char*>(&side), sizeof side);
    return header + header +
           QByteArray(reinterpret_cast<const char*>(image.constBits()),
                      static_cast<qsizetype>(image.sizeInBytes()));
}

bool write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char** argv) {
    const bool ico = argc == 3 && QString::fromLocal8Bit(argv[2]).endsWith(QLatin1String(".ico"));
    if (argc != 4 && !ico) {
        std::fprintf(stderr, "usage: %s input.svg output.png|output.argb size, or output.ico\n",
                     argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build machine has no display
    QGuiApplication app(argc, argv);
    const int size = ico ? 1 : std::atoi(argv[3]);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "%s: cannot render %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    bool written = false;
    if (ico) {
        written = write_bytes(output, icon_file(renderer));
    } else {
        const QImage image = render(renderer, size, QImage::Format_ARGB32_Premultiplied);
        written = output.endsWith(QLatin1String(".argb")) ? write_bytes(output, pixels_file(image))
                                                          : image.save(output, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
