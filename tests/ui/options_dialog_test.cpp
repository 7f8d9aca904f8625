// The options dialog: the allowances chosen, the reminders and the chart that show
// them, and when a choice marks the graph stale.
#include "main_window_fixture.h"

#include "allowance_reminder.h"
#include "options_dialog.h"
#include "support/row_names.h"

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
Chart chart_of(const OptionsDialog& o) {
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

const QColor red(192, 0, 0);
const QColor chart_grey(96, 96, 96);

class OptionsDialogTest : public MainWindowTest {};

} // namespace

namespace {

// A choice in the options dialog, and what the reminders (the main window's and
// the dialog's), the chart and the warning then show.
struct AllowanceChoice {
    const char* name;
    QRadioButton* OptionsDialog::*chuffing;
    QRadioButton* OptionsDialog::*core;
    QRadioButton* OptionsDialog::*content; // Option1: music, Option2: home theatre
    std::string reminder;
    QPointF knee;
    QColor rising, ceiling, warning;
    bool content_enabled;

    friend void PrintTo(const AllowanceChoice& row, std::ostream* os) { *os << row.name; }
};

// clang-format off
const AllowanceChoice allowance_choices[] = {
    {"first_start", &OptionsDialog::Option_chuff_mask, &OptionsDialog::Option_core_none, &OptionsDialog::Option2,
     "55 ht / 0 -", {12, 38}, blue, chart_grey, blue, true},
    {"none", &OptionsDialog::Option_chuff_none, &OptionsDialog::Option_core_none, &OptionsDialog::Option2,
     "0 - / 0 -", {32, 38}, chart_grey, chart_grey, blue, false},
    {"seating_and_core_masking_music", &OptionsDialog::Option_chuff_seat, &OptionsDialog::Option_core_mask, &OptionsDialog::Option1,
     "25 seat / 40 music", {30, 25}, blue, red, red, true},
    {"masking_music", &OptionsDialog::Option_chuff_mask, &OptionsDialog::Option_core_mask, &OptionsDialog::Option1,
     "40 music / 40 music", {22.5, 25}, blue, red, red, true},
    {"masking_home_theatre", &OptionsDialog::Option_chuff_mask, &OptionsDialog::Option_core_mask, &OptionsDialog::Option2,
     "55 ht / 55 ht", {16, 20}, blue, red, red, true},
    {"core_seating_only", &OptionsDialog::Option_chuff_none, &OptionsDialog::Option_core_seat, &OptionsDialog::Option2,
     "0 - / 25 seat", {36.5, 30}, chart_grey, red, red, false},
};
// clang-format on

class AllowanceChoiceTest : public MainWindowTest,
                            public ::testing::WithParamInterface<AllowanceChoice> {};

} // namespace

TEST_P(AllowanceChoiceTest, DisplaysFollowTheOptionsClicked) {
    const AllowanceChoice& c = GetParam();
    start();
    OptionsDialog& o = *form->options();
    (o.*c.chuffing)->setChecked(true);
    (o.*c.core)->setChecked(true);
    (o.*c.content)->setChecked(true);
    EXPECT_EQ(reminder_text(form->reminder()), c.reminder);
    EXPECT_EQ(reminder_text(o.reminder()), c.reminder);
    const Chart chart = chart_of(o);
    EXPECT_NEAR(chart.knee.x(), c.knee.x(), 1e-9);
    EXPECT_NEAR(chart.knee.y(), c.knee.y(), 1e-9);
    EXPECT_EQ(chart.rising, c.rising);
    EXPECT_EQ(chart.ceiling, c.ceiling);
    EXPECT_EQ(fore_colour(o.Label1), c.warning);
    EXPECT_EQ(o.Frame3->isEnabled(), c.content_enabled);
    EXPECT_EQ(o.Option1->isEnabled(), c.content_enabled);
}

INSTANTIATE_TEST_SUITE_P(Choices, AllowanceChoiceTest, ::testing::ValuesIn(allowance_choices),
                         RowName());

TEST_F(OptionsDialogTest, ReminderLayoutGivesWholePixelBars) {
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

TEST_F(OptionsDialogTest, OptionsLinkMarksTheGraphStaleOnlyAfterAClick) {
    start();
    const QString verdict = status();
    expect_dialog([](QDialog& d) {
        QTest::mouseClick(dynamic_cast<OptionsDialog&>(d).Command1, Qt::LeftButton);
    });
    click_label("Label3");
    EXPECT_EQ(program.options_changed, 0);
    EXPECT_EQ(status(), verdict);
    EXPECT_EQ(program.allowance_texts.boundary_mask, "Boundary_mask_on");

    // Changing an option and back still counts as a change.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        press(o.Option_core_seat);
        press(o.Option_core_none);
        QTest::mouseClick(o.Command1, Qt::LeftButton);
    });
    click_label("Label3");
    EXPECT_EQ(status(), "Press Calculate to update graph");
    EXPECT_EQ(status_colour(), stale_yellow);
}

TEST_F(OptionsDialogTest, OkStoresTheChoiceAndTheCloseButtonDoesTheSame) {
    start();
    const struct {
        std::function<void(OptionsDialog&)> close;
    } ways[] = {
        {[](OptionsDialog& o) { QTest::mouseClick(o.Command1, Qt::LeftButton); }},
        {[](OptionsDialog& o) { o.close(); }},
        {[](OptionsDialog& o) { QTest::keyClick(&o, Qt::Key_Escape); }},
    };
    for (const auto& way : ways) {
        program.allowance_texts.boundary_mask.clear();
        expect_dialog([&way](QDialog& d) {
            auto& o = dynamic_cast<OptionsDialog&>(d);
            o.Option_chuff_seat->setChecked(true);
            o.Option_core_mask->setChecked(true);
            o.Option1->setChecked(true);
            way.close(o);
        });
        click_label("Label3");
        EXPECT_FALSE(form->options()->isVisible());
        EXPECT_EQ(program.allowance_texts.boundary_mask, "Boundary_mask_off");
        EXPECT_EQ(program.allowance_texts.boundary_seat, "Boundary_seat_on");
        EXPECT_EQ(program.allowance_texts.core_mask, "Core_mask_on");
        EXPECT_EQ(program.allowance_texts.core_seat, "Core_seat_off");
        EXPECT_EQ(program.allowance_texts.content_type, "Music");
        EXPECT_TRUE(form->options()->Option_chuff_seat->isChecked()); // still the same dialog
        form->options()->Option_chuff_mask->setChecked(true);
    }
    // With both "None" the content is still stored as last selected.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        o.Option_chuff_none->setChecked(true);
        o.Option_core_none->setChecked(true);
        o.close();
    });
    click_label("Label3");
    EXPECT_EQ(program.allowance_texts.content_type, "Music");
}

TEST_F(OptionsDialogTest, ReminderBarsOpenTheOptionsButTotalsDoNot) {
    start();
    form->options()->Option_core_seat->setChecked(true);
    expect_dialog([](QDialog& d) { d.close(); });
    QTest::mouseClick(form->reminder().Label_core_seat, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs, QStringList{"frmOptions"});
    QTest::mouseClick(form->reminder().lbl_core_tot, Qt::LeftButton);
    QTest::mouseClick(form->reminder().lbl_bound_tot, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs.size(), 1);
}

TEST_F(OptionsDialogTest, CalculationUsesTheAllowancesInForce) {
    start();
    EXPECT_NEAR(form->state().radius_mm, 26.243, 5e-4);
    form->options()->Option_chuff_none->setChecked(true);
    calculate();
    EXPECT_NEAR(form->state().radius_mm, 44.900, 5e-4);
}
