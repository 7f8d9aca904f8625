#include "main_window_fixture.h"

#include "allowance_reminder.h"
#include "frm_dia_warning.h"
#include "frm_options.h"
#include "frm_units.h"
#include "picture_box.h"

#include <QGroupBox>

using namespace venturon;
using namespace venturon::testing;

namespace {

// Which bars of a reminder are visible, and its totals: "55 ht / 0 -".
std::string reminder_text(const AllowanceReminder& r) {
    auto bar = [](const QWidget* seat, const QWidget* music, const QWidget* ht) {
        return seat->isVisibleTo(seat->parentWidget())     ? "seat"
               : music->isVisibleTo(music->parentWidget()) ? "music"
               : ht->isVisibleTo(ht->parentWidget())       ? "ht"
                                                           : "-";
    };
    return r.lbl_bound_tot->text().toStdString() + " " +
           bar(r.Label_chuff_seat, r.Label_chuff_music, r.Label_chuff_ht) + " / " +
           r.lbl_core_tot->text().toStdString() + " " +
           bar(r.Label_core_seat, r.Label_core_music, r.Label_core_ht);
}

// The chart's two thick lines: the knee point and their colours.
struct Chart {
    QPointF knee;
    QColor rising;
    QColor ceiling;
};
Chart chart_of(const frmOptions& o) {
    Chart c;
    for (const auto& item : o.Picture1->drawing().items()) {
        if (item.pen_width != 2) {
            continue;
        }
        if (item.from == QPointF(0, 1)) {
            c.knee = QPointF(item.to.x() * 60, item.to.y() * 100);
            c.rising = item.colour;
        } else {
            c.ceiling = item.colour;
        }
    }
    return c;
}

const QColor blue(55, 106, 240);
const QColor red(192, 0, 0);
const QColor chart_grey(96, 96, 96);
const QColor rule_grey(192, 192, 192);

} // namespace

TEST_F(MainWindowTest, AllowanceDisplaysFollowEveryOptionClick) {
    start();
    frmOptions& o = *form->options();
    const struct {
        QRadioButton* chuffing;
        QRadioButton* core;
        QRadioButton* content;
        std::string reminder;
        QPointF knee;
        QColor rising, ceiling, warning;
        bool content_enabled;
    } cases[] = {
        {o.Option_chuff_mask,
         o.Option_core_none,
         o.Option2,
         "55 ht / 0 -",
         {12, 38},
         blue,
         chart_grey,
         blue,
         true},
        {o.Option_chuff_none,
         o.Option_core_none,
         o.Option2,
         "0 - / 0 -",
         {32, 38},
         chart_grey,
         chart_grey,
         blue,
         false},
        {o.Option_chuff_seat,
         o.Option_core_mask,
         o.Option1,
         "25 seat / 40 music",
         {30, 25},
         blue,
         red,
         red,
         true},
        {o.Option_chuff_mask,
         o.Option_core_mask,
         o.Option1,
         "40 music / 40 music",
         {22.5, 25},
         blue,
         red,
         red,
         true},
        {o.Option_chuff_mask,
         o.Option_core_mask,
         o.Option2,
         "55 ht / 55 ht",
         {16, 20},
         blue,
         red,
         red,
         true},
        {o.Option_chuff_none,
         o.Option_core_seat,
         o.Option2,
         "0 - / 25 seat",
         {36.5, 30},
         chart_grey,
         red,
         red,
         false},
    };
    for (const auto& c : cases) {
        c.chuffing->setChecked(true);
        c.core->setChecked(true);
        c.content->setChecked(true);
        EXPECT_EQ(reminder_text(form->reminder()), c.reminder);
        EXPECT_EQ(reminder_text(o.reminder()), c.reminder);
        const Chart chart = chart_of(o);
        EXPECT_NEAR(chart.knee.x(), c.knee.x(), 1e-9) << c.reminder;
        EXPECT_NEAR(chart.knee.y(), c.knee.y(), 1e-9) << c.reminder;
        EXPECT_EQ(chart.rising, c.rising) << c.reminder;
        EXPECT_EQ(chart.ceiling, c.ceiling) << c.reminder;
        EXPECT_EQ(fore_colour(o.Label1), c.warning) << c.reminder;
        EXPECT_EQ(o.Frame3->isEnabled(), c.content_enabled) << c.reminder;
        EXPECT_EQ(o.Option1->isEnabled(), c.content_enabled) << c.reminder;
    }
}

TEST_F(MainWindowTest, ReminderLayoutGivesWholePixelBars) {
    start();
    for (AllowanceReminder* r : {&form->reminder(), &form->options()->reminder()}) {
        EXPECT_EQ(r->Label_allowances->size(), QSize(25, 26));
        const QRect frame = r->Label_allowances->geometry();
        EXPECT_EQ(r->Label_chuff_seat->height(), 9);
        EXPECT_EQ(r->Label_chuff_music->height(), 15);
        EXPECT_EQ(r->Label_chuff_ht->height(), 22);
        for (QWidget* bar : {static_cast<QWidget*>(r->Label_chuff_seat),
                             static_cast<QWidget*>(r->Label_core_music),
                             static_cast<QWidget*>(r->Label_core_ht)}) {
            EXPECT_EQ(bar->geometry().bottom(), frame.bottom() - 2);
            EXPECT_TRUE(frame.contains(bar->geometry()));
        }
        EXPECT_FALSE(r->Label_chuff_ht->geometry().intersects(r->Label_core_ht->geometry()));
        EXPECT_EQ(r->lbl_bound_tot->geometry().right(), frame.left() - 5);
        EXPECT_EQ(r->lbl_core_tot->x(), frame.right() + 5);
    }
}

TEST_F(MainWindowTest, OptionsLinkMarksTheGraphStaleOnlyAfterAClick) {
    start();
    const QString verdict = status();
    expect_dialog([](QDialog& d) {
        QTest::mouseClick(dynamic_cast<frmOptions&>(d).Command1, Qt::LeftButton);
    });
    click_label("Label3");
    EXPECT_EQ(program.options_changed, 0);
    EXPECT_EQ(status(), verdict);
    EXPECT_EQ(program.boundary_mask, "Boundary_mask_on");

    // Changing an option and back still counts as a change.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<frmOptions&>(d);
        press(o.Option_core_seat);
        press(o.Option_core_none);
        QTest::mouseClick(o.Command1, Qt::LeftButton);
    });
    click_label("Label3");
    EXPECT_EQ(status(), "Press Calculate to update graph");
    EXPECT_EQ(status_colour(), stale_yellow);
}

TEST_F(MainWindowTest, OkStoresTheChoiceAndTheCloseButtonDoesTheSame) {
    start();
    const struct {
        std::function<void(frmOptions&)> close;
    } ways[] = {
        {[](frmOptions& o) { QTest::mouseClick(o.Command1, Qt::LeftButton); }},
        {[](frmOptions& o) { o.close(); }},
        {[](frmOptions& o) { QTest::keyClick(&o, Qt::Key_Escape); }},
    };
    for (const auto& way : ways) {
        program.boundary_mask.clear();
        expect_dialog([&way](QDialog& d) {
            auto& o = dynamic_cast<frmOptions&>(d);
            o.Option_chuff_seat->setChecked(true);
            o.Option_core_mask->setChecked(true);
            o.Option1->setChecked(true);
            way.close(o);
        });
        click_label("Label3");
        EXPECT_FALSE(form->options()->isVisible());
        EXPECT_EQ(program.boundary_mask, "Boundary_mask_off");
        EXPECT_EQ(program.boundary_seat, "Boundary_seat_on");
        EXPECT_EQ(program.core_mask, "Core_mask_on");
        EXPECT_EQ(program.core_seat, "Core_seat_off");
        EXPECT_EQ(program.content_type, "Music");
        EXPECT_TRUE(form->options()->Option_chuff_seat->isChecked()); // still the same dialog
        form->options()->Option_chuff_mask->setChecked(true);
    }
    // With both "None" the content is still stored as last selected.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<frmOptions&>(d);
        o.Option_chuff_none->setChecked(true);
        o.Option_core_none->setChecked(true);
        o.close();
    });
    click_label("Label3");
    EXPECT_EQ(program.content_type, "Music");
}

TEST_F(MainWindowTest, ReminderBarsOpenTheOptionsButTotalsDoNot) {
    start();
    form->options()->Option_core_seat->setChecked(true);
    expect_dialog([](QDialog& d) { d.close(); });
    QTest::mouseClick(form->reminder().Label_core_seat, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs, QStringList{"frmOptions"});
    QTest::mouseClick(form->reminder().lbl_core_tot, Qt::LeftButton);
    QTest::mouseClick(form->reminder().lbl_bound_tot, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs.size(), 1);
}

TEST_F(MainWindowTest, CalculationUsesTheAllowancesInForce) {
    start();
    EXPECT_NEAR(form->state().radius_mm, 26.243, 5e-4);
    form->options()->Option_chuff_none->setChecked(true);
    calculate();
    EXPECT_NEAR(form->state().radius_mm, 44.900, 5e-4);
}

TEST_F(MainWindowTest, UnitsDialogRelabelsAndRewritesTheLengths) {
    start();
    type("Text1", "165.1");
    press_enter("Text1"); // the warning is expected for 165.1 mm
    auto choose = [this](int option, bool ok = true) {
        expect_dialog([option, ok](QDialog& d) {
            auto& u = dynamic_cast<frmUnits&>(d);
            QRadioButton* b[] = {u.Option1, u.Option2, u.Option3};
            press(b[option]);
            if (ok) {
                QTest::mouseClick(u.Command1, Qt::LeftButton);
            } else {
                u.close();
            }
        });
        click_label("Label14");
    };
    interaction.dialog_actions.clear();
    interaction.unexpected_dialogs.clear();

    choose(1);
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    EXPECT_EQ(text("Text1")->text(), "6 1/2");
    EXPECT_EQ(label("Label1")->text(), "Port Diameter - inches");
    EXPECT_EQ(label("Label2")->text(), "Flare Radius - inches");
    EXPECT_EQ(form->diameter_warning()->Label1->text(), "Diameter exceeds 6 1/2 inches");
    EXPECT_EQ(form->diameter_warning()->Label2->text(),
              "This software was based on testing of ports up to 6 inches in diameter");
    for (QLabel* rule : form->units()->rules) {
        EXPECT_EQ(fore_colour(rule), blue);
    }

    choose(2);
    EXPECT_EQ(program.units_mode, UnitsMode::decimal_inches);
    EXPECT_EQ(text("Text1")->text(), " 6.5");

    choose(0, /*ok=*/false); // the title-bar button commits like OK
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(text("Text1")->text(), " 165");
    EXPECT_EQ(form->state().diameter_mm, 165.1); // kept until the field is read again
    EXPECT_EQ(label("Label1")->text(), "Port Diameter - mm");
    EXPECT_EQ(form->diameter_warning()->Label1->text(), "Diameter exceeds 165 mm");
    for (QLabel* rule : form->units()->rules) {
        EXPECT_EQ(fore_colour(rule), rule_grey);
    }
    EXPECT_TRUE(form->units()->Option1->isChecked()); // reopens with the mode confirmed
}

TEST_F(MainWindowTest, UnitsDialogShowsTheRulesVerbatim) {
    start();
    QStringList shown;
    for (QLabel* rule : form->units()->rules) {
        shown << rule->text();
    }
    EXPECT_EQ(
        shown,
        (QStringList{
            "Decimal inches are allowed, but without  feet or fractions eg 6.25 or 61.25",
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one rule, split to fit
            "Feet, inches and fractions allowed, but without decimals eg  1/4     3 9\\16     "
            "6' 10 1/2 ",
            "Feet must be immediately followed by the ' symbol. A following space is optional",
            "Inches and fractions must be separated by a space",
            "Fractions of an inch must contain a single / or \\ symbol",
            "\"\\\" is converted to \"/\" and is not allowed at start or end of field",
            "No spaces allowed in fractional part - allowed elsewhere",
            "Allowable fractions: 1/2  1/4  1/8  1/16",
            "Allowable characters 0 thru 9 .  / \\  and space"}));
    // Opening and closing without a change still rewrites both fields.
    text("Text2")->setText("junk");
    expect_dialog([](QDialog& d) { dynamic_cast<frmUnits&>(d).Command1->click(); });
    click_label("Label14");
    EXPECT_EQ(text("Text2")->text(), " 26");
}

TEST_F(MainWindowTest, SimpleModeHidesTheInputsAndTracksAFrequency) {
    start();
    const char* full_only[] = {"Label12", "Label6", "Label7",  "Label8", "Label10",
                               "Label11", "Text10", "Text6",   "Text7",  "Text8",
                               "Text9",   "Check1", "Option1", "Option2"};
    auto visible = [this](const char* name) {
        return form->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly)->isVisible();
    };
    ASSERT_TRUE(option("Option1")->isChecked());
    click_label("Label_mode");
    EXPECT_EQ(program.display_mode, DisplayMode::simple);
    EXPECT_EQ(label("Label_mode")->text(), "Full");
    for (const char* name : full_only) {
        EXPECT_FALSE(visible(name)) << name;
    }
    EXPECT_TRUE(label("Label4")->isVisible());
    EXPECT_TRUE(label("Label5")->isVisible());
    EXPECT_EQ(label("Label4")->pos(), QPoint(label("Label12")->x(), label("Label8")->y()));
    EXPECT_TRUE(option("Option2")->isChecked());
    EXPECT_TRUE(text("Text2")->isEnabled());
    EXPECT_EQ(text("Text2")->text(), " 26"); // the minimum radius last computed, now in use
    EXPECT_EQ(form->state().radius_mm, 26);
    EXPECT_EQ(status_colour(), noise_free_green);
    EXPECT_TRUE(status().startsWith("At  28hz   Core Limit is")) << status().toStdString();

    auto* graph = form->findChild<PictureBox*>("Picture3");
    emit graph->mouse_down(Qt::LeftButton, {}, 1.0, 1);
    EXPECT_EQ(program.tracked_frequency, 20.0f);
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label("Label4")), QColor(183, 198, 215));
    calculate();
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();

    click_label("Label_mode");
    EXPECT_EQ(program.display_mode, DisplayMode::full);
    for (const char* name : full_only) {
        EXPECT_TRUE(visible(name)) << name;
    }
    EXPECT_FALSE(label("Label4")->isVisible());
    EXPECT_TRUE(option("Option2")->isChecked()); // manual radius stays
    EXPECT_FALSE(status().startsWith("At")) << status().toStdString();

    // A click in Full mode does not move the tracked frequency; back in Simple
    // mode the status line reports the one picked there, and the hints stay pale.
    emit graph->mouse_down(Qt::LeftButton, {}, 4.0, 1);
    click_label("Label_mode");
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label("Label5")), QColor(183, 198, 215));
}

TEST_F(MainWindowTest, ModeSwitchWithAnInvalidDiameterStillSwitches) {
    start();
    type("Text1", "abc");
    const auto items = form->findChild<PictureBox*>("Picture3")->drawing().items().size();
    click_label("Label_mode");
    EXPECT_EQ(messages(), QStringList{"Port Diameter must be greater than zero"});
    EXPECT_FALSE(text("Text10")->isVisible());
    EXPECT_EQ(form->findChild<PictureBox*>("Picture3")->drawing().items().size(), items);
}
