#include "form1.h"
#include "interaction.h"
#include "program_state.h"
#include "settings_file.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("venturon"));
    QApplication::setApplicationVersion(QStringLiteral(VENTURON_VERSION));
    std::setlocale(LC_NUMERIC, "C"); // numbers are always written with "."

    venturon::ProgramState program;
    venturon::QtInteraction interaction;
    const QString settings_directory = venturon::choose_settings_directory(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));

    venturon::Form1 window(program, interaction, settings_directory);
    window.show();
    // For scripts/startup-benchmark: end as soon as the window has been shown.
    if (qEnvironmentVariableIsSet("VENTURON_EXIT_AFTER_SHOW")) {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
