// Groups of option buttons: exactly one of each group stays selected whatever the
// user clicks or presses, and a click on the selected one changes nothing (but
// still counts as a change of the options).
#include "main_window_fixture.h"

#include <cmath>

#include "calculation.h"
#include "number_text.h"
#include "options_dialog.h"
#include "units_dialog.h"

#include <QButtonGroup>

using namespace venturon;
using namespace venturon::testing;

namespace {

// The options dialog's three groups: chuffing, core and content.
QList<QList<QRadioButton*>> allowance_groups(OptionsDialog& o) {
    return {{child<QRadioButton>(o, designed::options::chuffing_masking_option),
             child<QRadioButton>(o, designed::options::chuffing_seating_option),
             child<QRadioButton>(o, designed::options::chuffing_none_option)},
            {child<QRadioButton>(o, designed::options::core_masking_option),
             child<QRadioButton>(o, designed::options::core_seating_option),
             child<QRadioButton>(o, designed::options::core_none_option)},
            {child<QRadioButton>(o, designed::options::music_option),
             child<QRadioButton>(o, designed::options::home_theatre_option)}};
}

int selected(const QList<QRadioButton*>& group) {
    int n = 0;
    for (const QRadioButton* b : group) {
        n += b->isChecked();
    }
    return n;
}

// Clicks, then presses Space on, the button already selected.
void click_and_space(QRadioButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Space);
}

class OptionGroupTest : public MainWindowTest {};

} // namespace

TEST_F(OptionGroupTest, ClickingTheSelectedCalculationModeKeepsIt) {
    start();
    const QList<QRadioButton*> modes{option(designed::main::minimum_mode_option),
                                     option(designed::main::manual_mode_option)};
    click_and_space(option(designed::main::minimum_mode_option));
    EXPECT_TRUE(option(designed::main::minimum_mode_option)->isChecked());
    EXPECT_EQ(selected(modes), 1);

    // The minimum radius is still worked out, and the mode survives a restart.
    type(designed::main::diameter_field, "80");
    press_enter(designed::main::diameter_field);
    CalculationInput in;
    in.diameter = 80;
    in.required = form->state().required_v;
    in.allowances = first_start_allowances;
    const double radius = venturon::calculate(in).radius;
    ASSERT_GT(radius, 27);
    EXPECT_EQ(form->state().radius_mm, radius);
    EXPECT_EQ(text(designed::main::radius_field)->text(),
              QString::fromStdString(number_text(std::ceil(radius))));
    EXPECT_EQ(field_colour(designed::main::radius_field), grey);
    EXPECT_FALSE(text(designed::main::radius_field)->isEnabled());
    EXPECT_FALSE(button(designed::main::radius_up_button)->isVisibleTo(form.get()));

    click(option(designed::main::manual_mode_option));
    click_and_space(option(designed::main::manual_mode_option));
    EXPECT_TRUE(option(designed::main::manual_mode_option)->isChecked());
    EXPECT_EQ(selected(modes), 1);
    EXPECT_TRUE(button(designed::main::radius_up_button)->isVisibleTo(form.get()));

    click(option(designed::main::minimum_mode_option));
    close_program();
    EXPECT_EQ(read_settings().split('\n').value(10), "Calculate_minimum\r");
}

TEST_F(OptionGroupTest, ClickingTheSelectedUnitsKeepsIt) {
    start();
    UnitsDialog& u = *form->units();
    const QList<QRadioButton*> units{
        child<QRadioButton>(u, designed::units::metric_option),
        child<QRadioButton>(u, designed::units::feet_inches_option),
        child<QRadioButton>(u, designed::units::decimal_inches_option)};
    expect_dialog([&](QDialog&) {
        for (QRadioButton* b : units) {
            click(b);
            click_and_space(b);
            EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
            EXPECT_EQ(selected(units), 1);
        }
        click(child<QRadioButton>(u, designed::units::feet_inches_option));
        click(child<QPushButton>(u, designed::units::ok_button));
    });
    click_label(designed::main::units_link);
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    // The main window's modes were never touched by the dialog's buttons.
    EXPECT_TRUE(option(designed::main::minimum_mode_option)->isChecked());
}

TEST_F(OptionGroupTest, ClickingTheSelectedAllowanceKeepsItAndCountsAsAChange) {
    start();
    OptionsDialog& o = *form->options();
    const QList<QList<QRadioButton*>> groups = allowance_groups(o);
    for (const auto& group : groups) {
        for (QRadioButton* b : group) {
            // Select b: masking for chuffing keeps the content buttons enabled.
            expect_dialog([&, b](QDialog&) {
                click(b);
                click(child<QRadioButton>(o, designed::options::chuffing_masking_option));
                click(b);
                EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
                click(child<QPushButton>(o, designed::options::ok_button));
            });
            click_label(designed::main::options_link);
            calculate();
            // Open again and only click and press Space on the selected button.
            expect_dialog([&, b](QDialog&) {
                click_and_space(b);
                EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
                for (const auto& g : groups) {
                    EXPECT_EQ(selected(g), 1);
                }
                click(child<QPushButton>(o, designed::options::ok_button));
            });
            click_label(designed::main::options_link);
            EXPECT_EQ(program.options_changed, 1) << b->objectName().toStdString();
            EXPECT_EQ(status(), "Press Calculate to update graph");
        }
    }
    EXPECT_TRUE(option(designed::main::minimum_mode_option)->isChecked());
    EXPECT_EQ(selected({option(designed::main::minimum_mode_option),
                        option(designed::main::manual_mode_option)}),
              1);
}

TEST_F(OptionGroupTest, OpeningTheOptionsWithoutAClickIsNoChange) {
    start();
    expect_dialog([&](QDialog&) {
        click(child<QPushButton>(form->options(), designed::options::ok_button));
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(program.options_changed, 0);
    EXPECT_EQ(status(), "Port will be noise free");
}

TEST_F(OptionGroupTest, EveryDocumentedGroupHasItsOwnExclusiveGroup) {
    start();
    OptionsDialog& o = *form->options();
    UnitsDialog& u = *form->units();
    QList<QList<QRadioButton*>> groups{
        {option(designed::main::minimum_mode_option), option(designed::main::manual_mode_option)},
        {child<QRadioButton>(u, designed::units::metric_option),
         child<QRadioButton>(u, designed::units::feet_inches_option),
         child<QRadioButton>(u, designed::units::decimal_inches_option)}};
    groups += allowance_groups(o);
    for (const auto& group : groups) {
        QButtonGroup* g = group.front()->group();
        ASSERT_NE(g, nullptr) << group.front()->objectName().toStdString();
        EXPECT_TRUE(g->exclusive());
        EXPECT_EQ(g->buttons().size(), group.size());
        for (QRadioButton* b : group) {
            EXPECT_EQ(b->group(), g);
        }
    }
}
