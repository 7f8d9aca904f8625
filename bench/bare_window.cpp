// A bare Qt window with a given number of widgets (the first argument, 60 when
// absent) and nothing else: the floor that scripts/startup-benchmark compares
// Venturon's start-up with, given as many widgets as Venturon creates. With
// VENTURON_EXIT_AFTER_SHOW set it quits as soon as the window has been shown.
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <algorithm>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int widgets = arguments.size() > 1 ? std::clamp(arguments[1].toInt(), 1, 10000) : 60;

    QWidget window; // counts as one
    window.setWindowTitle(QStringLiteral("Bare window"));
    auto* grid = new QGridLayout(&window);
    for (int i = 1; i < widgets; ++i) {
        const int row = (i - 1) / 6;
        const int column = (i - 1) % 6;
        QWidget* w = nullptr;
        switch (column % 3) {
        case 0:
            w = new QLabel(QStringLiteral("Label %1").arg(i));
            break;
        case 1:
            w = new QLineEdit(QString::number(i));
            break;
        default:
            w = new QPushButton(QStringLiteral("Button %1").arg(i));
            break;
        }
        grid->addWidget(w, row, column);
    }
    window.show();
    if (qEnvironmentVariableIsSet("VENTURON_EXIT_AFTER_SHOW")) {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
