#include "interaction.h"
#include "main_window.h"
#include "program_state.h"
#include "settings_file.h"
#include "venturon_version.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QTimer>

#include <clocale>
#include <system_error>
#include <thread>

namespace {

// The icon's pixels, rendered at build time: no image decoding at start-up. Only
// 48 by 48: larger ones cost the display server time at every window shown, and
// docks and task switchers take the installed icons by the desktop file's name.
QIcon window_icon() {
    constexpr qsizetype side = 48;
    const QResource pixels(QStringLiteral(":/icons/venturon-48.argb"));
    const QByteArray bytes = pixels.uncompressedData();
    if (bytes.size() != 8 + side * side * 4) {
        return {};
    }
    const QImage image(reinterpret_cast<const uchar*>(bytes.constData()) + 8, int{side}, int{side},
                       side * 4, QImage::Format_ARGB32_Premultiplied);
    return QIcon(QPixmap::fromImage(image));
}

// Fills the font database from fontconfig on a second thread while the main thread
// builds the window: the first caption measured would otherwise parse fontconfig's
// configuration and font list itself, about 3 ms, after the accessibility bridge
// has waited for the session bus. The font database's functions are thread-safe;
// the main thread waits on its lock if it needs a font before the list is read.
// Measured on Linux only, so only there.
class FontDatabaseWarmUp {
public:
    FontDatabaseWarmUp() {
#if defined(Q_OS_LINUX)
        try {
            thread_ = std::thread([] { (void)QFontDatabase::families(); });
        } catch (const std::system_error&) {
            // No thread: the first caption fills the database, as it would anyway.
        }
#endif
    }
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;
    ~FontDatabaseWarmUp() {
        finish();
    }

    void finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::thread thread_; // not joinable when it was never started
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(venturon::application_name));
    QApplication::setApplicationVersion(QString::fromLatin1(venturon::version));
    // The installed menu entry (application_id.desktop) and the window icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(venturon::application_id));
    QApplication::setWindowIcon(window_icon());
    std::setlocale(LC_NUMERIC, "C"); // numbers are always written with "."
    // After setlocale, which must not run beside another thread.
    FontDatabaseWarmUp fonts;

    venturon::ProgramState program;
    venturon::QtInteraction interaction;
    const QString program_dir = QCoreApplication::applicationDirPath();
    const QString settings_directory = venturon::choose_settings_directory(
        program_dir, venturon::user_config_directory(),
        venturon::installed_program(program_dir,
                                    QString::fromLatin1(venturon::application_id) + ".desktop"));

    venturon::MainWindow window(program, interaction, settings_directory);
    fonts.finish();
    window.show();
    // For scripts/startup-benchmark: end as soon as the window has been shown,
    // leaving the user's settings as they were.
    if (qEnvironmentVariableIsSet("VENTURON_EXIT_AFTER_SHOW")) {
        window.set_saves_settings(false);
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
