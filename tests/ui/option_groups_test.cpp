// Groups of option buttons: exactly one of each group stays selected whatever the
// user clicks or presses, and a click on the selected one changes nothing (but
// still counts as a change of the options).
#include "main_window_fixture.h"

#include "calculation.h"
#include "number_text.h"
#include "options_dialog.h"
#include "units_dialog.h"

#include <QButtonGroup>

using namespace venturon;
using namespace venturon::testing;

namespace {

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
    const QList<QRadioButton*> modes{option("Option1"), option("Option2")};
    click_and_space(option("Option1"));
    EXPECT_TRUE(option("Option1")->isChecked());
    EXPECT_EQ(selected(modes), 1);

    // The minimum radius is still worked out, and the mode survives a restart.
    type("Text1", "80");
    press_enter("Text1");
    CalculationInput in;
    in.diameter = 80;
    in.required = form->state().required_v;
    in.allowances = first_start_allowances;
    const double radius = venturon::calculate(in).radius;
    ASSERT_GT(radius, 27);
    EXPECT_EQ(form->state().radius_mm, radius);
    EXPECT_EQ(text("Text2")->text(), QString::fromStdString(number_text(Int(radius))));
    EXPECT_EQ(field_colour("Text2"), grey);
    EXPECT_FALSE(text("Text2")->isEnabled());
    EXPECT_FALSE(button("Command2")->isVisibleTo(form.get()));

    click(option("Option2"));
    click_and_space(option("Option2"));
    EXPECT_TRUE(option("Option2")->isChecked());
    EXPECT_EQ(selected(modes), 1);
    EXPECT_TRUE(button("Command2")->isVisibleTo(form.get()));

    click(option("Option1"));
    close_program();
    EXPECT_EQ(read_settings().split('\n').value(10), "Calculate_minimum\r");
}

TEST_F(OptionGroupTest, ClickingTheSelectedUnitsKeepsIt) {
    start();
    UnitsDialog& u = *form->units();
    const QList<QRadioButton*> units{u.Option1, u.Option2, u.Option3};
    expect_dialog([&](QDialog&) {
        for (QRadioButton* b : units) {
            click(b);
            click_and_space(b);
            EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
            EXPECT_EQ(selected(units), 1);
        }
        click(u.Option2);
        click(u.Command1);
    });
    click_label("Label14");
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    // The main window's modes were never touched by the dialog's buttons.
    EXPECT_TRUE(option("Option1")->isChecked());
}

TEST_F(OptionGroupTest, ClickingTheSelectedAllowanceKeepsItAndCountsAsAChange) {
    start();
    OptionsDialog& o = *form->options();
    const QList<QList<QRadioButton*>> groups{
        {o.Option_chuff_mask, o.Option_chuff_seat, o.Option_chuff_none},
        {o.Option_core_mask, o.Option_core_seat, o.Option_core_none},
        {o.Option1, o.Option2}};
    for (const auto& group : groups) {
        for (QRadioButton* b : group) {
            // Select b: masking for chuffing keeps the content buttons enabled.
            expect_dialog([&, b](QDialog&) {
                click(b);
                click(o.Option_chuff_mask);
                click(b);
                EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
                click(o.Command1);
            });
            click_label("Label3");
            calculate();
            // Open again and only click and press Space on the selected button.
            expect_dialog([&, b](QDialog&) {
                click_and_space(b);
                EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
                for (const auto& g : groups) {
                    EXPECT_EQ(selected(g), 1);
                }
                click(o.Command1);
            });
            click_label("Label3");
            EXPECT_EQ(program.options_changed, 1) << b->objectName().toStdString();
            EXPECT_EQ(status(), "Press Calculate to update graph");
        }
    }
    EXPECT_TRUE(option("Option1")->isChecked());
    EXPECT_EQ(selected({option("Option1"), option("Option2")}), 1);
}

TEST_F(OptionGroupTest, OpeningTheOptionsWithoutAClickIsNoChange) {
    start();
    expect_dialog([&](QDialog&) { click(form->options()->Command1); });
    click_label("Label3");
    EXPECT_EQ(program.options_changed, 0);
    EXPECT_EQ(status(), "Port will be noise free");
}

TEST_F(OptionGroupTest, EveryDocumentedGroupHasItsOwnExclusiveGroup) {
    start();
    OptionsDialog& o = *form->options();
    UnitsDialog& u = *form->units();
    const QList<QList<QRadioButton*>> groups{
        {option("Option1"), option("Option2")},
        {u.Option1, u.Option2, u.Option3},
        {o.Option_chuff_mask, o.Option_chuff_seat, o.Option_chuff_none},
        {o.Option_core_mask, o.Option_core_seat, o.Option_core_none},
        {o.Option1, o.Option2}};
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
