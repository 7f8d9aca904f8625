// Entry point of the suites that draw: on the offscreen platform unless another
// is set (the tests are listed when no display exists), with the C locale, so
// that texts and pixels do not depend on the machine. The window's suites build
// it with VENTURON_TEST_WIDGETS: a QApplication in the Fusion style. The others
// draw without widgets, which needs a QGuiApplication only.
#ifdef VENTURON_TEST_WIDGETS
#include <QApplication>
#include <QStyleFactory>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    const TestApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
#ifdef VENTURON_TEST_WIDGETS
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
    return RUN_ALL_TESTS();
}
