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
    return r.chuffing_total->text().toStdString() + " " +
           bar(r.chuffing_seating_bar, r.chuffing_music_bar, r.chuffing_home_theatre_bar) + " / " +
           r.core_total->text().toStdString() + " " +
           bar(r.core_seating_bar, r.core_music_bar, r.core_home_theatre_bar);
}

// The chart's two thick lines: the knee point and their colours.
struct Chart {
    QPointF knee;
    QColor rising;
    QColor ceiling;
};
Chart chart_of(const OptionsDialog& o) {
    Chart c;
    for (const auto& item : child<PictureBox>(o, designed::options::chart)->drawing().items()) {
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
    // The designed names of the three buttons chosen.
    const char* chuffing;
    const char* core;
    const char* content;
    std::string reminder;
    QPointF knee;
    QColor rising, ceiling, warning;
    bool content_enabled;

    friend void PrintTo(const AllowanceChoice& row, std::ostream* os) { *os << row.name; }
};

namespace options = designed::options;

// clang-format off
const AllowanceChoice allowance_choices[] = {
    {"first_start", options::chuffing_masking_option, options::core_none_option, options::home_theatre_option,
     "55 ht / 0 -", {12, 38}, blue, chart_grey, blue, true},
    {"none", options::chuffing_none_option, options::core_none_option, options::home_theatre_option,
     "0 - / 0 -", {32, 38}, chart_grey, chart_grey, blue, false},
    {"seating_and_core_masking_music", options::chuffing_seating_option, options::core_masking_option, options::music_option,
     "25 seat / 40 music", {30, 25}, blue, red, red, true},
    {"masking_music", options::chuffing_masking_option, options::core_masking_option, options::music_option,
     "40 music / 40 music", {22.5, 25}, blue, red, red, true},
    {"masking_home_theatre", options::chuffing_masking_option, options::core_masking_option, options::home_theatre_option,
     "55 ht / 55 ht", {16, 20}, blue, red, red, true},
    {"core_seating_only", options::chuffing_none_option, options::core_seating_option, options::home_theatre_option,
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
    for (const char* button : {c.chuffing, c.core, c.content}) {
        child<QRadioButton>(o, button)->setChecked(true);
    }
    EXPECT_EQ(reminder_text(form->reminder()), c.reminder);
    EXPECT_EQ(reminder_text(o.reminder()), c.reminder);
    const Chart chart = chart_of(o);
    EXPECT_NEAR(chart.knee.x(), c.knee.x(), 1e-9);
    EXPECT_NEAR(chart.knee.y(), c.knee.y(), 1e-9);
    EXPECT_EQ(chart.rising, c.rising);
    EXPECT_EQ(chart.ceiling, c.ceiling);
    EXPECT_EQ(fore_colour(child<QLabel>(o, designed::options::compression_warning)), c.warning);
    EXPECT_EQ(child<QGroupBox>(o, designed::options::content_frame)->isEnabled(),
              c.content_enabled);
    EXPECT_EQ(child<QRadioButton>(o, designed::options::music_option)->isEnabled(),
              c.content_enabled);
}

INSTANTIATE_TEST_SUITE_P(Choices, AllowanceChoiceTest, ::testing::ValuesIn(allowance_choices),
                         RowName());

TEST_F(OptionsDialogTest, ReminderLayoutGivesWholePixelBars) {
    start();
    for (AllowanceReminder* r : {&form->reminder(), &form->options()->reminder()}) {
        EXPECT_EQ(r->frame->size(), QSize(25, 26));
        const QRect frame = r->frame->geometry();
        EXPECT_EQ(r->chuffing_seating_bar->height(), 9);
        EXPECT_EQ(r->chuffing_music_bar->height(), 15);
        EXPECT_EQ(r->chuffing_home_theatre_bar->height(), 22);
        for (QWidget* bar : {static_cast<QWidget*>(r->chuffing_seating_bar),
                             static_cast<QWidget*>(r->core_music_bar),
                             static_cast<QWidget*>(r->core_home_theatre_bar)}) {
            EXPECT_EQ(bar->geometry().bottom(), frame.bottom() - 2);
            EXPECT_TRUE(frame.contains(bar->geometry()));
        }
        EXPECT_FALSE(r->chuffing_home_theatre_bar->geometry().intersects(
            r->core_home_theatre_bar->geometry()));
        EXPECT_EQ(r->chuffing_total->geometry().right(), frame.left() - 5);
        EXPECT_EQ(r->core_total->x(), frame.right() + 5);
    }
}

TEST_F(OptionsDialogTest, OptionsLinkMarksTheGraphStaleOnlyAfterAClick) {
    start();
    const QString verdict = status();
    expect_dialog([](QDialog& d) {
        QTest::mouseClick(
            child<QPushButton>(dynamic_cast<OptionsDialog&>(d), designed::options::ok_button),
            Qt::LeftButton);
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(program.options_changed, 0);
    EXPECT_EQ(status(), verdict);
    EXPECT_EQ(program.allowance_texts.boundary_mask, "Boundary_mask_on");

    // Changing an option and back still counts as a change.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        press(child<QRadioButton>(o, designed::options::core_seating_option));
        press(child<QRadioButton>(o, designed::options::core_none_option));
        QTest::mouseClick(child<QPushButton>(o, designed::options::ok_button), Qt::LeftButton);
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(status(), "Press Calculate to update graph");
    EXPECT_EQ(status_colour(), stale_yellow);
}

TEST_F(OptionsDialogTest, OkStoresTheChoiceAndTheCloseButtonDoesTheSame) {
    start();
    const struct {
        std::function<void(OptionsDialog&)> close;
    } ways[] = {
        {[](OptionsDialog& o) {
            QTest::mouseClick(child<QPushButton>(o, designed::options::ok_button), Qt::LeftButton);
        }},
        {[](OptionsDialog& o) { o.close(); }},
        {[](OptionsDialog& o) { QTest::keyClick(&o, Qt::Key_Escape); }},
    };
    for (const auto& way : ways) {
        program.allowance_texts.boundary_mask.clear();
        expect_dialog([&way](QDialog& d) {
            auto& o = dynamic_cast<OptionsDialog&>(d);
            child<QRadioButton>(o, designed::options::chuffing_seating_option)->setChecked(true);
            child<QRadioButton>(o, designed::options::core_masking_option)->setChecked(true);
            child<QRadioButton>(o, designed::options::music_option)->setChecked(true);
            way.close(o);
        });
        click_label(designed::main::options_link);
        EXPECT_FALSE(form->options()->isVisible());
        EXPECT_EQ(program.allowance_texts.boundary_mask, "Boundary_mask_off");
        EXPECT_EQ(program.allowance_texts.boundary_seat, "Boundary_seat_on");
        EXPECT_EQ(program.allowance_texts.core_mask, "Core_mask_on");
        EXPECT_EQ(program.allowance_texts.core_seat, "Core_seat_off");
        EXPECT_EQ(program.allowance_texts.content_type, "Music");
        // Still the same dialog.
        EXPECT_TRUE(child<QRadioButton>(form->options(), designed::options::chuffing_seating_option)
                        ->isChecked());
        child<QRadioButton>(form->options(), designed::options::chuffing_masking_option)
            ->setChecked(true);
    }
    // With both "None" the content is still stored as last selected.
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        child<QRadioButton>(o, designed::options::chuffing_none_option)->setChecked(true);
        child<QRadioButton>(o, designed::options::core_none_option)->setChecked(true);
        o.close();
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(program.allowance_texts.content_type, "Music");
}

TEST_F(OptionsDialogTest, ReminderBarsOpenTheOptionsButTotalsDoNot) {
    start();
    child<QRadioButton>(form->options(), designed::options::core_seating_option)->setChecked(true);
    expect_dialog([](QDialog& d) { d.close(); });
    QTest::mouseClick(form->reminder().core_seating_bar, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs, QStringList{designed::options::dialog});
    QTest::mouseClick(form->reminder().core_total, Qt::LeftButton);
    QTest::mouseClick(form->reminder().chuffing_total, Qt::LeftButton);
    EXPECT_EQ(interaction.shown_dialogs.size(), 1);
}

TEST_F(OptionsDialogTest, CalculationUsesTheAllowancesInForce) {
    start();
    EXPECT_NEAR(form->state().radius_mm, 26.243, 5e-4);
    child<QRadioButton>(form->options(), designed::options::chuffing_none_option)->setChecked(true);
    calculate();
    EXPECT_NEAR(form->state().radius_mm, 44.900, 5e-4);
}
