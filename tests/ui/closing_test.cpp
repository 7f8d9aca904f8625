// Closing the program, however it is asked to: the settings are saved once and
// the program ends, even when a dialog is open or the file cannot be written.
#include "main_window_fixture.h"

#include "options_dialog.h"
#include "support/row_names.h"
#include "units_dialog.h"

#include <QPointer>

using namespace venturon;
using namespace venturon::testing;

namespace {
class ClosingTest : public MainWindowTest {};
} // namespace

TEST_F(ClosingTest, QuitShortcutClosesTheWindow) {
    start();
    QTest::keyClick(form->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ClosingTest, FailedWriteClosesNormallyWithoutAWord) {
    start();
    // The settings path is a directory, which a file cannot replace.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("venturon.ini/keep")));
    close_program();
    EXPECT_TRUE(QFileInfo(settings_path()).isDir());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(ClosingTest, ClosingWithADialogOpenSavesOnceAndEnds) {
    start();
    // The desktop asks the main window to close while the options dialog is modal.
    expect_dialog([this](QDialog& d) {
        child<QRadioButton>(dynamic_cast<OptionsDialog&>(d), designed::options::core_seating_option)
            ->setChecked(true);
        form->close();
        EXPECT_FALSE(d.isVisible());
    });
    click_label(designed::main::options_link);
    EXPECT_FALSE(form->isVisible());
    const QByteArray written = read_settings();
    EXPECT_EQ(written.count('\n'), 17);
    EXPECT_EQ(status(), "Port will be noise free"); // nothing ran after the close
    form->close();                                  // a second request writes nothing again
    QFile::remove(settings_path());
    form->close();
    EXPECT_FALSE(QFileInfo::exists(settings_path()));
}

namespace {

// A way to quit while the units dialog is open, after choosing decimal inches,
// and the units line the settings file then holds. Quitting from the dialog
// leaves its choice uncommitted; the session closing the dialog window first
// commits it, as its close button does.
struct QuitFromDialog {
    const char* name;
    std::function<void(QDialog&)> quit;
    QByteArray units_line;

    friend void PrintTo(const QuitFromDialog& row, std::ostream* os) { *os << row.name; }
};

const QuitFromDialog ways_to_quit[] = {
    {"ctrl_q_in_the_dialog",
     [](QDialog& d) { QTest::keyClick(d.windowHandle(), Qt::Key_Q, Qt::ControlModifier); },
     "metric\r"},
    // closeAllWindows alone closes the windows in an order that depends on where
    // they lie in memory; a session closes the dialog first.
    {"the_session_closing_every_window",
     [](QDialog& d) {
         d.close();
         QApplication::closeAllWindows();
     },
     "decimalinches\r"},
};

class QuitFromDialogTest : public MainWindowTest,
                           public ::testing::WithParamInterface<QuitFromDialog> {};

} // namespace

TEST_P(QuitFromDialogTest, SavesAndEnds) {
    start();
    const QuitFromDialog& way = GetParam();
    expect_dialog([&way](QDialog& d) {
        d.activateWindow();
        QApplication::setActiveWindow(&d);
        child<QRadioButton>(dynamic_cast<UnitsDialog&>(d), designed::units::decimal_inches_option)
            ->setChecked(true);
        const QPointer<QDialog> dialog(&d); // quitting may delete it
        way.quit(d);
        EXPECT_TRUE(!dialog || !dialog->isVisible());
    });
    click_label(designed::main::units_link);
    EXPECT_FALSE(form->isVisible());
    const QList<QByteArray> lines = read_settings().split('\n');
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[16], way.units_line);
}

INSTANTIATE_TEST_SUITE_P(Ways, QuitFromDialogTest, ::testing::ValuesIn(ways_to_quit), RowName());
