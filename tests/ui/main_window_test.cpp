#include "main_window_fixture.h"

#include "frm_dia_warning.h"
#include "model.h"
#include "palette.h"
#include "picture_box.h"
#include "velocity_graph.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

using namespace venturon;
using namespace venturon::testing;

namespace {
const QString stale = QStringLiteral("Press Calculate to update results");
const QString diameter_format =
    QStringLiteral("Diameter field contains incorrect format - see Change Units screen for rules");
const QString radius_format =
    QStringLiteral("Radius field contains incorrect format - see Change Units screen for rules");
const QString zero_diameter = QStringLiteral("Port Diameter must be greater than zero");

} // namespace

TEST_F(MainWindowTest, FirstStartCalculatesTheStartUpPort) {
    start();
    EXPECT_EQ(form->windowTitle(), "Venturon");
    EXPECT_EQ(form->size(), QSize(415, 383));
    EXPECT_EQ(program.version_text, QString::fromLatin1(version));
    EXPECT_NEAR(form->state().radius_mm, 26.243, 5e-4);
    EXPECT_EQ(form->state().radius_mm, form->state().min_radius[1]); // needed at 25 Hz
    EXPECT_EQ(text("Text2")->text(), " 26");
    EXPECT_EQ(text("Text1")->text(), " 100");
    EXPECT_EQ(text("Text10")->text(), "1");
    EXPECT_EQ(status(), "Port will be noise free");
    EXPECT_EQ(status_colour(), noise_free_green);
    EXPECT_EQ(form->state().required_v, (std::array<double, 4>{10, 14, 12, 7}));
    // The first calculation's validation rescaled them from the reference (scale 1).
    EXPECT_EQ(text("Text6")->text(), " 10");
    EXPECT_EQ(text("Text9")->text(), " 7");
    EXPECT_TRUE(check("Check1")->isChecked());
    EXPECT_TRUE(option("Option1")->isChecked());
    EXPECT_FALSE(text("Text2")->isEnabled());
    EXPECT_EQ(field_colour("Text2"), grey);
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(form->state().clicked_frequency, 28.0f);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_FALSE(form->findChild<PictureBox*>("Picture3")->drawing().items().empty());
}

TEST_F(MainWindowTest, WindowIsPlacedAThirdOfTheWayAcrossAndDown) {
    start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form->x(), (screen.width() - form->width()) / 3);
    EXPECT_EQ(form->y(), (screen.height() - form->height()) / 3);
    const auto* graph = form->findChild<PictureBox*>("Picture3");
    EXPECT_EQ(graph->height(), int((label("Label9")->y() - graph->y()) * 0.92));
    EXPECT_EQ(graph->width(), label("Label9")->width());
}

TEST_F(MainWindowTest, CaptionsFitTheirControls) {
    start();
    for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QString caption;
        int indicator = 0;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            caption = l->text();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            caption = b->text().remove('&');
            indicator = qobject_cast<QPushButton*>(w) ? 4 : 20;
        }
        if (caption.isEmpty()) {
            continue;
        }
        const QFontMetrics metrics(w->font());
        EXPECT_LE(metrics.horizontalAdvance(caption) + indicator, w->width())
            << w->objectName().toStdString() << ": " << caption.toStdString();
    }
}

TEST_F(MainWindowTest, EditingMarksResultsStaleUntilCalculate) {
    start();
    type("Text1", "150");
    EXPECT_EQ(field_colour("Text1"), stale_red);
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(status_colour(), stale_yellow);
    EXPECT_TRUE(form->state().diameter_changed);

    // Leaving the field validates it and shows the value as understood.
    focus(text("Text10"));
    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 150);
    EXPECT_EQ(text("Text1")->text(), " 150");

    calculate();
    EXPECT_EQ(field_colour("Text1"), white);
    EXPECT_EQ(field_colour("Text10"), white);
    EXPECT_NE(status(), stale);
}

TEST_F(MainWindowTest, EnterInTheDiameterFieldCalculates) {
    start();
    type("Text1", "120.7");
    press_enter("Text1");
    EXPECT_EQ(form->state().diameter_mm, 120.7);
    EXPECT_EQ(text("Text1")->text(), " 120");
    EXPECT_EQ(field_colour("Text1"), white);
    EXPECT_TRUE(status().endsWith("will be noise free")) << status().toStdString();
    // The next validation reads the whole millimetres that the field shows.
    calculate();
    EXPECT_EQ(form->state().diameter_mm, 120);
}

TEST_F(MainWindowTest, DiameterValidationMessages) {
    start();
    const struct {
        const char* typed;
        const char* units;
        QStringList messages;
        double diameter;
        bool cruise_enabled;
        const char* shown_after;
    } cases[] = {
        {"-150", "metric", {}, 150, true, " 150"},
        {"150abc", "metric", {}, 150, true, " 150"},
        {"", "metric", {zero_diameter}, 0, false, ""},
        {"abc", "metric", {zero_diameter}, 0, false, "abc"},
        {"6x", "inches", {diameter_format}, 0, false, "6x"},
        {"6 1/2", "inches", {}, 165.1, true, "6 1/2"},
        {"6 1/2", "decimalinches", {}, 165.1, true, " 6.5"},
    };
    for (const auto& c : cases) {
        program.units_mode = *units_mode_from_text(c.units);
        interaction.messages.clear();
        type("Text1", QString::fromLatin1(c.typed));
        focus(text("Text10"));
        EXPECT_EQ(messages(), c.messages) << c.typed;
        EXPECT_EQ(form->state().diameter_mm, c.diameter) << c.typed;
        EXPECT_EQ(check("Check1")->isEnabled(), c.cruise_enabled) << c.typed;
        EXPECT_EQ(text("Text1")->text(), c.shown_after) << c.typed;
        EXPECT_EQ(form->state().diameter_changed, !c.messages.isEmpty()) << c.typed;
        // A field that failed validates again when left again after an edit only.
        if (!c.messages.isEmpty()) {
            interaction.messages.clear();
            focus(text("Text1"));
            focus(text("Text10"));
            EXPECT_EQ(messages(), c.messages) << c.typed;
        }
    }
}

TEST_F(MainWindowTest, FailedCalculationChangesNothing) {
    start();
    const auto before = form->state();
    const QString verdict = status();
    type("Text1", "0");
    calculate();
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    EXPECT_EQ(form->state().core_limit, before.core_limit);
    EXPECT_EQ(status(), stale); // the edit's notice stays
    EXPECT_EQ(field_colour("Text1"), stale_red);
    EXPECT_NE(verdict, status());
}

TEST_F(MainWindowTest, ManualRadiusAndStepButtons) {
    start();
    form->options()->Option_chuff_none->setChecked(true); // no allowances
    click(option("Option2"));
    EXPECT_TRUE(text("Text2")->isEnabled());
    EXPECT_EQ(field_colour("Text2"), white);
    EXPECT_TRUE(button("Command2")->isVisible());
    EXPECT_TRUE(button("Command3")->isVisible());
    EXPECT_EQ(status(), "Port will be noise free"); // choosing the mode calculates nothing

    type("Text2", "10");
    calculate();
    EXPECT_EQ(form->state().radius_mm, 10);
    EXPECT_EQ(status(), " Chuffing");
    EXPECT_EQ(status_colour(), QColor(245, 185, 84));
    EXPECT_NEAR(form->state().chuff_excess, 8.404, 5e-4);

    click(button("Command2"));
    EXPECT_EQ(form->state().radius_mm, 11);
    EXPECT_EQ(text("Text2")->text(), " 11");
    click(button("Command3"));
    click(button("Command3"));
    EXPECT_EQ(form->state().radius_mm, 9);

    type("Text2", "0.5");
    press_enter("Text2");
    EXPECT_EQ(form->state().radius_mm, 0.5);
    click(button("Command3")); // never below 0
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text("Text2")->text(), " 0");

    // Imperial modes step a sixteenth of an inch, read back as shown.
    program.units_mode = UnitsMode::inches;
    type("Text1", "4");
    click(button("Command2"));
    EXPECT_EQ(text("Text2")->text(), "1/16");
    EXPECT_NEAR(form->state().radius_mm, 25.4 / 16, 1e-9);

    click(option("Option1"));
    EXPECT_FALSE(text("Text2")->isEnabled());
    EXPECT_FALSE(button("Command2")->isVisible());
}

TEST_F(MainWindowTest, UnreadableRadiusStopsAfterTheCoreLimits) {
    start();
    click(option("Option2"));
    program.units_mode = UnitsMode::inches;
    text("Text10")->setText("2.7");
    type("Text1", "2");
    type("Text2", "1/3");
    calculate();
    EXPECT_EQ(messages(), QStringList{radius_format});
    EXPECT_EQ(text("Text10")->text(), "2");
    EXPECT_EQ(form->state().core_limit[0],
              core_limit(50.8, 20, first_start_allowances)); // replaced
    EXPECT_EQ(status(), stale);
    EXPECT_EQ(text("Text2")->text(), "1/3");
}

TEST_F(MainWindowTest, MinimumRadiusOfZeroIsFlagged) {
    start();
    check("Check1")->setChecked(false);
    for (const char* field : {"Text6", "Text7", "Text8", "Text9"}) {
        type(field, "0");
    }
    calculate();
    EXPECT_EQ(form->state().radius_mm, 0);
    EXPECT_EQ(text("Text2")->text(), " 0");
    EXPECT_EQ(field_colour("Text2"), stale_red);
    EXPECT_EQ(status(), "Port will be noise free");
    for (const char* field : {"Text6", "Text7", "Text8", "Text9"}) {
        EXPECT_EQ(field_colour(field), white);
    }
}

TEST_F(MainWindowTest, VelocityFieldsFollowCruiseControl) {
    start();
    // Cruise on: the program's own rewrites store the value and stay grey.
    EXPECT_FALSE(text("Text7")->isEnabled());
    text("Text7")->setText("20");
    EXPECT_EQ(form->state().required_v[1], 20);
    EXPECT_EQ(field_colour("Text7"), grey);
    EXPECT_EQ(status(), "Port will be noise free");

    check("Check1")->setChecked(false);
    EXPECT_TRUE(text("Text7")->isEnabled());
    EXPECT_EQ(field_colour("Text7"), white);
    type("Text7", "-12.5x");
    EXPECT_EQ(form->state().required_v[1], 12.5);
    EXPECT_EQ(field_colour("Text7"), stale_red);
    EXPECT_EQ(status(), stale);
    // Enter in a velocity field starts nothing.
    press_enter("Text7");
    EXPECT_EQ(status(), stale);
    // Leaving it shows the number that is used.
    focus(text("Text8"));
    EXPECT_EQ(text("Text7")->text(), " 12.5");
    EXPECT_EQ(field_colour("Text7"), stale_red);

    check("Check1")->setChecked(true);
    EXPECT_EQ(field_colour("Text7"), stale_red); // stale colour survives the switch
    EXPECT_EQ(field_colour("Text6"), grey);
    calculate();
    EXPECT_EQ(field_colour("Text7"), grey);
}

TEST_F(MainWindowTest, CruiseControlRescalesTypedPorts) {
    start();
    // The reference is the start-up port: 100 mm, one port, 10, 14, 12, 7.
    check("Check1")->setChecked(false);
    check("Check1")->setChecked(true);
    auto velocities = [this] {
        QStringList out;
        for (const char* f : {"Text6", "Text7", "Text8", "Text9"}) {
            out << text(f)->text();
        }
        return out;
    };
    type("Text1", "200");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    type("Text1", "110");
    press_enter("Text1");
    EXPECT_EQ(velocities(), (QStringList{" 8.2", " 11.5", " 9.9", " 5.7"}));
    EXPECT_EQ(form->state().required_v, (std::array<double, 4>{8.2, 11.5, 9.9, 5.7}));
    type("Text1", "100");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 10", " 14", " 12", " 7"}));
    type("Text10", "2");
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
    calculate();
    EXPECT_EQ(status(), "Ports will be noise free");

    // Off: changes of diameter or port count leave the velocities alone.
    check("Check1")->setChecked(false);
    type("Text10", "1");
    type("Text1", "150");
    focus(text("Text10"));
    EXPECT_EQ(velocities(), (QStringList{" 5", " 7", " 6", " 3.5"}));
}

TEST_F(MainWindowTest, PortCountIsNormalised) {
    start();
    const struct {
        const char* typed;
        const char* shown;
        const char* word;
    } cases[] = {{"", "1", "Port"},    {"abc", "1", "Port"}, {"1.9", "1", "Port"},
                 {"2", "2", "Ports"},  {"-3", "3", "Ports"}, {"0", "1", "Port"},
                 {"2.7", "2", "Ports"}};
    check("Check1")->setChecked(false);
    for (const auto& c : cases) {
        text("Text10")->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(text("Text10")->text(), c.shown) << c.typed;
        EXPECT_EQ(form->state().port_word, c.word) << c.typed;
        EXPECT_EQ(status(), stale);
        calculate();
        EXPECT_TRUE(status().startsWith(QString::fromLatin1(c.word) + " will"))
            << status().toStdString();
    }
}

TEST_F(MainWindowTest, UnreadableImperialDiameterSwitchesCruiseControlBackOff) {
    start();
    check("Check1")->setChecked(false);
    program.units_mode = UnitsMode::inches;
    const double diameter = form->state().diameter_mm;
    const double reference = form->state().lock_diameter_mm;
    text("Text1")->setText("6 1/3");
    check("Check1")->setChecked(true);
    EXPECT_EQ(messages(), QStringList{diameter_format});
    EXPECT_FALSE(check("Check1")->isChecked());
    EXPECT_TRUE(text("Text6")->isEnabled());
    EXPECT_EQ(form->state().diameter_mm, diameter);
    EXPECT_EQ(form->state().lock_diameter_mm, reference);

    // A readable one becomes the reference, in millimetres.
    text("Text1")->setText("6 1/2");
    check("Check1")->setChecked(true);
    EXPECT_EQ(form->state().lock_diameter_mm, 165.1);
}

TEST_F(MainWindowTest, DiameterWarningAbove165Millimetres) {
    start();
    type("Text1", "165");
    calculate();
    EXPECT_TRUE(interaction.shown_dialogs.isEmpty());

    expect_dialog(dismiss_warning());
    type("Text1", "165.1");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs, QStringList{"frmDiaWarning"});
    auto* warning = form->diameter_warning();
    EXPECT_EQ(warning->Label1->text(), "Diameter exceeds 165 mm");
    EXPECT_EQ(warning->windowTitle(), "Venturon  Diameter Warning");

    expect_dialog(dismiss_warning(true));
    calculate();
    calculate(); // ticked: no more warnings
    type("Text1", "300");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs.size(), 2);
}

TEST_F(MainWindowTest, GraphClicksReportTheLimitsAtAFrequency) {
    start();
    click(option("Option2"));
    type("Text2", "25");
    check("Check1")->setChecked(false);
    calculate();
    // No allowances for these examples.
    form->options()->Option_chuff_none->setChecked(true);
    auto* graph = form->findChild<PictureBox*>("Picture3");
    auto click_at = [graph](double x) { emit graph->mouse_down(Qt::LeftButton, {}, x, 1); };
    const struct {
        double x;
        float frequency;
        const char* caption;
    } cases[] = {
        {2.6, 28, "At  28hz   Core Limit is 26m/s   Chuffing is 11m/s"},
        {2.5, 28, "At  28hz   Core Limit is 26m/s   Chuffing is 11m/s"},
        {1.0, 20, "At  20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
        {0.5, 18, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
        {0.1, 16, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
        {0.09, 15, "Below 20hz   Core Limit is 20m/s   Chuffing is 8m/s"},
        {4.99, 40, "Above 35hz   Core Limit is 36m/s   Chuffing is 16m/s"},
        {4.1, 36, "Above 35hz   Core Limit is 36m/s   Chuffing is 16m/s"},
    };
    const QColor verdict_colour = status_colour();
    for (const auto& c : cases) {
        click_at(c.x);
        EXPECT_EQ(form->state().clicked_frequency, c.frequency) << c.x;
        EXPECT_EQ(status(), c.caption) << c.x;
    }
    EXPECT_NEAR(form->state().status_core, 36.285, 1e-3);
    EXPECT_EQ(status_colour(), verdict_colour);  // a click keeps the verdict's colour
    EXPECT_EQ(program.tracked_frequency, 28.0f); // Full mode tracks nothing

    // A real mouse press maps through the graph's scale.
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(graph->width() / 5, 10));
    EXPECT_EQ(form->state().clicked_frequency, 20.0f);
}

TEST_F(MainWindowTest, ClickWithoutADiameterShowsOnlyTheCoreLimit) {
    start();
    type("Text1", "0");
    focus(text("Text10"));
    ASSERT_EQ(form->state().diameter_mm, 0);
    auto* graph = form->findChild<PictureBox*>("Picture3");
    emit graph->mouse_down(Qt::LeftButton, {}, 2.6, 1);
    EXPECT_EQ(status(), "At  28hz   Core Limit is 9m/s");
}

TEST_F(MainWindowTest, AbsurdInputsNeverHangOrShowNonNumbers) {
    start();
    check("Check1")->setChecked(false);
    const char* inputs[] = {"1e308", "1e300", "1e-300", "-0", ".", "\t5", "1e999"};
    for (const char* diameter : inputs) {
        for (const char* velocity : inputs) {
            interaction.messages.clear();
            type("Text1", QString::fromLatin1(diameter));
            for (const char* f : {"Text6", "Text7", "Text8", "Text9"}) {
                type(f, QString::fromLatin1(velocity));
            }
            QElapsedTimer timer;
            timer.start();
            interaction.dialog_actions.push_back(dismiss_warning());
            calculate();
            interaction.dialog_actions.clear();
            emit form->findChild<PictureBox*>("Picture3")->mouse_down(Qt::LeftButton, {}, 2.6, 1);
            EXPECT_LT(timer.elapsed(), 500) << diameter << " / " << velocity;
            for (QWidget* w : form->findChildren<QWidget*>()) {
                QString shown;
                if (auto* l = qobject_cast<QLabel*>(w)) {
                    shown = l->text();
                } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
                    shown = e->text();
                }
                EXPECT_FALSE(shown.contains("inf", Qt::CaseInsensitive) ||
                             shown.contains("nan", Qt::CaseInsensitive))
                    << diameter << " / " << velocity << ": " << shown.toStdString();
            }
            for (const auto& item : form->findChild<PictureBox*>("Picture3")->drawing().items()) {
                EXPECT_FALSE(item.text.contains("inf") || item.text.contains("nan"));
            }
        }
    }
}

TEST_F(MainWindowTest, GraphPictureShowsTheLimits) {
    start();
    auto* graph = form->findChild<PictureBox*>("Picture3");
    const QImage image = graph->grab().toImage();
    int chuffing = 0;
    int core = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            chuffing += c == graph_colour::chuffing_line;
            core += c == graph_colour::core_line;
        }
    }
    EXPECT_GT(chuffing, 100);
    EXPECT_GT(core, 100);
}

TEST_F(MainWindowTest, QuitShortcutClosesTheWindow) {
    start();
    QTest::keyClick(form->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, LinksWorkFromTheKeyboard) {
    start();
    auto* link = label("Label_mode");
    EXPECT_EQ(link->focusPolicy(), Qt::TabFocus);
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(program.display_mode, DisplayMode::simple);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(program.display_mode, DisplayMode::full);
}

TEST_F(MainWindowTest, AboutReEnablesTheWarningsAndTheHints) {
    start();
    form->diameter_warning()->Check1->setChecked(true);
    click_label("Label_mode");
    emit form->findChild<PictureBox*>("Picture3")->mouse_down(Qt::LeftButton, {}, 2.0, 1);
    ASSERT_EQ(fore_colour(label("Label4")), QColor(183, 198, 215));

    expect_dialog([](QDialog& about) {
        press(about.findChild<QPushButton*>("Command1"));
        press(about.findChild<QPushButton*>("cmdOK"));
    });
    click_label("Label13");
    EXPECT_EQ(interaction.shown_dialogs, QStringList{"frmAbout"});
    EXPECT_FALSE(form->diameter_warning()->Check1->isChecked());
    EXPECT_EQ(fore_colour(label("Label4")), QColor(55, 106, 240));
    EXPECT_EQ(fore_colour(label("Label5")), QColor(55, 106, 240));
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text, "Venturon warnings have been re-enabled");
    EXPECT_EQ(interaction.messages[0].title, "Confirmation");
    EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::information);

    // The next large port warns again.
    expect_dialog(dismiss_warning());
    type("Text1", "200");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs.last(), "frmDiaWarning");
}
