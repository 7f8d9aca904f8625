#include "form1.h"
#include "interaction.h"
#include "program_state.h"
#include "settings_file.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("venturon"));
    QApplication::setApplicationVersion(QStringLiteral(VENTURON_VERSION));
    // The installed menu entry (VENTURON_APP_ID.desktop) and the window icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VENTURON_APP_ID));
    QIcon icon;
    for (const int size : {48, 256}) {
        icon.addFile(QStringLiteral(":/icons/venturon-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    std::setlocale(LC_NUMERIC, "C"); // numbers are always written with "."

    venturon::ProgramState program;
    venturon::QtInteraction interaction;
    const QString program_dir = QCoreApplication::applicationDirPath();
    const QString settings_directory = venturon::choose_settings_directory(
        program_dir, venturon::user_config_directory(),
        venturon::installed_program(program_dir, QStringLiteral(VENTURON_APP_ID ".desktop")));

    venturon::Form1 window(program, interaction, settings_directory);
    window.show();
    // For scripts/startup-benchmark: end as soon as the window has been shown,
    // leaving the user's settings as they were.
    if (qEnvironmentVariableIsSet("VENTURON_EXIT_AFTER_SHOW")) {
        window.set_saves_settings(false);
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
