#include "main_window_fixture.h"

#include "frm_dia_warning.h"
#include "frm_options.h"
#include "frm_units.h"
#include "number_text.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

QByteArray crlf_lines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toLatin1() + "\r\n";
    }
    return out;
}

const QStringList documented_example{"cruise_off",
                                     " 152.4",
                                     "2",
                                     " 25.4",
                                     " 152.4",
                                     " 2",
                                     " 12",
                                     " 15",
                                     " 18",
                                     " 20",
                                     "Manually_specify",
                                     "Boundary_mask_off",
                                     "Boundary_seat_on",
                                     "Core_mask_on",
                                     "Core_seat_off",
                                     "Music",
                                     "inches"};

QStringList velocities(const Form1& form) {
    QStringList out;
    for (const QLineEdit* f : {form.Text6, form.Text7, form.Text8, form.Text9}) {
        out << f->text();
    }
    return out;
}

} // namespace

TEST_F(MainWindowTest, NoFileGivesTheDefaultsAndClosingWritesSeventeenLines) {
    start();
    EXPECT_TRUE(check("Check1")->isChecked());
    EXPECT_EQ(form->reminder().lbl_bound_tot->text(), "55");
    EXPECT_EQ(form->reminder().lbl_core_tot->text(), "0");
    EXPECT_TRUE(form->options()->Option2->isChecked());
    EXPECT_EQ(program.content_type, "Home_Theatre");
    const QString radius = QString::fromStdString(number_text(form->state().radius_mm));
    close_program();
    EXPECT_EQ(read_settings(),
              crlf_lines({"cruise_on", " 100", "1", radius, " 100", " 1", " 10", " 14", " 12", " 7",
                          "Calculate_minimum", "Boundary_mask_on", "Boundary_seat_off",
                          "Core_mask_off", "Core_seat_off", "Home_Theatre", "metric"}));
}

TEST_F(MainWindowTest, WritesTheDocumentedExampleByteForByte) {
    start();
    check("Check1")->setChecked(false);
    program.units_mode = UnitsMode::inches;
    type("Text1", "6");
    type("Text10", "2");
    click(option("Option2"));
    type("Text2", "1");
    const char* typed[] = {"12", "15", "18", "20"};
    const char* fields[] = {"Text6", "Text7", "Text8", "Text9"};
    for (int i = 0; i < 4; ++i) {
        type(fields[i], typed[i]);
    }
    press_enter("Text2");
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<frmOptions&>(d);
        o.Option_chuff_seat->setChecked(true);
        o.Option_core_mask->setChecked(true);
        o.Option1->setChecked(true);
        o.Command1->click();
    });
    click_label("Label3");
    close_program();
    EXPECT_EQ(read_settings(), crlf_lines(documented_example));
}

TEST_F(MainWindowTest, EverythingChosenSurvivesARestart) {
    write_settings(crlf_lines(documented_example));
    start();
    EXPECT_FALSE(check("Check1")->isChecked());
    EXPECT_EQ(form->state().diameter_mm, 152.4);
    EXPECT_EQ(text("Text1")->text(), "6");
    EXPECT_EQ(text("Text10")->text(), "2");
    EXPECT_EQ(text("Text2")->text(), "1");
    EXPECT_TRUE(option("Option2")->isChecked());
    EXPECT_EQ(velocities(*form), (QStringList{" 12", " 15", " 18", " 20"}));
    EXPECT_TRUE(form->options()->Option_chuff_seat->isChecked());
    EXPECT_TRUE(form->options()->Option_core_mask->isChecked());
    EXPECT_TRUE(form->options()->Option1->isChecked());
    EXPECT_EQ(form->reminder().lbl_core_tot->text(), "40");
    EXPECT_TRUE(form->units()->Option2->isChecked());
    EXPECT_EQ(label("Label1")->text(), "Port Diameter - inches");
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    EXPECT_TRUE(status().startsWith(" ") || status().startsWith("Ports")) << status().toStdString();

    // And again through a close and a new start.
    restart();
    EXPECT_EQ(read_settings(), crlf_lines(documented_example));
    EXPECT_EQ(velocities(*form), (QStringList{" 12", " 15", " 18", " 20"}));
}

TEST_F(MainWindowTest, CruiseReferenceCapturedAtSwitchOnIsKept) {
    start();
    check("Check1")->setChecked(false);
    type("Text7", "20");
    check("Check1")->setChecked(true); // reference: 100 mm, 1 port, 10, 20, 12, 7
    type("Text1", "200");
    expect_dialog(dismiss_warning());
    press_enter("Text1");
    EXPECT_EQ(velocities(*form), (QStringList{" 2.5", " 5", " 3", " 1.7"}));
    close_program();
    const QList<QByteArray> lines = read_settings().split('\n');
    EXPECT_EQ(lines.mid(4, 6),
              (QList<QByteArray>{" 100\r", " 1\r", " 10\r", " 20\r", " 12\r", " 7\r"}));

    // The velocities come back scaled from the reference to the saved diameter.
    program = ProgramState{};
    expect_dialog(dismiss_warning()); // the first calculation warns about 200 mm
    start();
    EXPECT_EQ(velocities(*form), (QStringList{" 2.5", " 5", " 3", " 1.7"}));
}

TEST_F(MainWindowTest, OddFilesLoadAsDocumented) {
    const struct {
        const char* what;
        QByteArray file;
        bool cruise_ticked;
        bool cruise_enabled;
        double diameter;
        QStringList velocities;
        bool minimum_mode;
        const char* chuffing_total;
    } cases[] = {
        {"capitalised cruise_on",
         crlf_lines({"Cruise_on", " 120"}),
         false,
         true,
         120,
         {"10", "14", "12", "7"},
         true,
         "55"},
        {"four lines",
         crlf_lines({"cruise_off", " 80", "3", " 12"}),
         false,
         true,
         80,
         {"10", "14", "12", "7"},
         true,
         "55"},
        {"both chuffing texts on",
         crlf_lines({"cruise_on", " 100", "1", " 10", " 100", " 1", " 10", " 14", " 12", " 7",
                     "Calculate_minimum", "Boundary_mask_on", "Boundary_seat_on"}),
         true,
         true,
         100,
         {" 10", " 14", " 12", " 7"},
         true,
         "25"},
        {"zero diameter",
         crlf_lines({"cruise_on", " 0"}),
         true,
         false,
         0,
         {"10", "14", "12", "7"},
         true,
         "55"},
        {"LF line ends",
         "cruise_off\n 90\n1\n 5\n 90\n 1\n 9\n 9\n 9\n 9\nManually_specify\n",
         false,
         true,
         90,
         {" 9", " 9", " 9", " 9"},
         false,
         "55"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write_settings(c.file);
        program = ProgramState{};
        start();
        EXPECT_EQ(check("Check1")->isChecked(), c.cruise_ticked);
        EXPECT_EQ(check("Check1")->isEnabled(), c.cruise_enabled);
        EXPECT_EQ(form->state().diameter_mm, c.diameter);
        EXPECT_EQ(option("Option1")->isChecked(), c.minimum_mode);
        EXPECT_EQ(form->reminder().lbl_bound_tot->text(), c.chuffing_total);
        EXPECT_EQ(velocities(*form), c.velocities);
        if (c.diameter == 0) {
            EXPECT_EQ(status(), "Press Calculate to update results"); // no calculation
        }
        form->hide();
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(MainWindowTest, UnknownUnitsModeLoadsAndSavesAsMetric) {
    write_settings(crlf_lines({"cruise_on", " 100", "1", " 10", " 100", " 1", " 10", " 14", " 12",
                               " 7", "Calculate_minimum", "Boundary_mask_on", "Boundary_seat_off",
                               "Core_mask_off", "Core_seat_off", "Cinema", "furlongs"}));
    start();
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(text("Text1")->text(), " 100");
    EXPECT_EQ(program.content_type, "Cinema"); // kept as read, written back unchanged
    EXPECT_TRUE(form->options()->Option2->isChecked());
    close_program();
    const QList<QByteArray> lines = read_settings().split('\n');
    EXPECT_EQ(lines[15], "Cinema\r");
    EXPECT_EQ(lines[16], "metric\r");
}

TEST_F(MainWindowTest, FailedWriteClosesNormallyWithoutAWord) {
    start();
    // The settings path is a directory, which a file cannot replace.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("venturon.ini/keep")));
    close_program();
    EXPECT_TRUE(QFileInfo(settings_path()).isDir());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MainWindowTest, ClosingWithADialogOpenSavesOnceAndEnds) {
    start();
    // The desktop asks the main window to close while the options dialog is modal.
    expect_dialog([this](QDialog& d) {
        dynamic_cast<frmOptions&>(d).Option_core_seat->setChecked(true);
        form->close();
        EXPECT_FALSE(d.isVisible());
    });
    click_label("Label3");
    EXPECT_FALSE(form->isVisible());
    const QByteArray written = read_settings();
    EXPECT_EQ(written.count('\n'), 17);
    EXPECT_EQ(status(), "Port will be noise free"); // nothing ran after the close
    form->close();                                  // a second request writes nothing again
    QFile::remove(settings_path());
    form->close();
    EXPECT_FALSE(QFileInfo::exists(settings_path()));
}

TEST_F(MainWindowTest, QuittingFromAnOpenDialogSavesAndEnds) {
    // Quitting from the dialog leaves its choice uncommitted; the session closing
    // the dialog window first commits it, as its close button does.
    const struct {
        const char* what;
        std::function<void(QDialog&)> quit;
        QByteArray units_line;
    } ways[] = {
        {"Ctrl+Q in the dialog",
         [](QDialog& d) { QTest::keyClick(d.windowHandle(), Qt::Key_Q, Qt::ControlModifier); },
         "metric\r"},
        // closeAllWindows alone closes the windows in an order that depends on where
        // they lie in memory; a session closes the dialog first.
        {"the session closing every window",
         [](QDialog& d) {
             d.close();
             QApplication::closeAllWindows();
         },
         "decimalinches\r"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        QFile::remove(settings_path());
        program = ProgramState{};
        start();
        expect_dialog([&way](QDialog& d) {
            d.activateWindow();
            QApplication::setActiveWindow(&d);
            dynamic_cast<frmUnits&>(d).Option3->setChecked(true);
            const QPointer<QDialog> dialog(&d); // quitting may delete it
            way.quit(d);
            EXPECT_TRUE(!dialog || !dialog->isVisible());
        });
        click_label("Label14");
        EXPECT_FALSE(form->isVisible());
        const QList<QByteArray> lines = read_settings().split('\n');
        ASSERT_EQ(lines.size(), 18);
        EXPECT_EQ(lines[16], way.units_line);
        close_program();
    }
}
