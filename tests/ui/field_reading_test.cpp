// The fields are never left edited but unread, and always show the numbers that a
// result comes from.
#include "main_window_fixture.h"

#include "support/row_names.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class FieldReadingTest : public MainWindowTest {};
} // namespace

// A press on Calculate that is dragged off the button and released there is no
// click: the diameter typed is read all the same, once.
TEST_F(FieldReadingTest, PressOnCalculateReleasedElsewhereReadsTheDiameter) {
    start();
    type(designed::main::diameter_field, "200");
    QPushButton* calc = button(designed::main::calculate_button);
    QTest::mousePress(calc, Qt::LeftButton, {}, calc->rect().center());
    ASSERT_EQ(QApplication::focusWidget(), calc);
    EXPECT_TRUE(form->state().diameter_changed); // the click would read it
    QTest::mouseRelease(calc, Qt::LeftButton, {}, QPoint(-30, calc->height() / 2));

    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 200);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 200");
    // Cruise control rescaled the velocities for the new port; nothing was calculated.
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    EXPECT_EQ(status(), stale);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FieldReadingTest, PressOnCalculateReleasedElsewhereReadsTheRadius) {
    start();
    click(option(designed::main::manual_mode_option));
    type(designed::main::radius_field, "25");
    QPushButton* calc = button(designed::main::calculate_button);
    QTest::mousePress(calc, Qt::LeftButton, {}, calc->rect().center());
    QTest::mouseRelease(calc, Qt::LeftButton, {}, QPoint(calc->width() + 40, -10));
    EXPECT_FALSE(form->state().radius_changed);
    EXPECT_EQ(form->state().radius_mm, 25);
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 25");
    EXPECT_TRUE(messages().isEmpty());
}

// The focus reached Calculate without a click (a press held and then tabbed
// away, a focus moved by the keyboard): leaving the button reads the field.
TEST_F(FieldReadingTest, LeavingCalculateWithoutAClickReadsTheField) {
    start();
    type(designed::main::diameter_field, "150");
    button(designed::main::calculate_button)->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->state().diameter_changed);
    focus(text(designed::main::port_count_field));
    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 150);
}

// A real click validates once: one message for a zero diameter, none again when
// the focus then leaves the button.
TEST_F(FieldReadingTest, ClickOnCalculateShowsOneMessage) {
    start();
    type(designed::main::diameter_field, "0");
    calculate();
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    focus(text(designed::main::port_count_field));
    QTest::mousePress(button(designed::main::calculate_button), Qt::LeftButton);
    QTest::mouseRelease(button(designed::main::calculate_button), Qt::LeftButton, {},
                        QPoint(-30, -30));
    focus(text(designed::main::port_count_field));
    EXPECT_EQ(messages(), QStringList{zero_diameter});
}

namespace {

// What a velocity field shows once it is left, and the number it is read as.
struct VelocityTyped {
    const char* name;
    const char* typed;
    const char* shown;
    double used;

    friend void PrintTo(const VelocityTyped& row, std::ostream* os) { *os << row.name; }
};

// clang-format off
const VelocityTyped velocities_typed[] = {
    {"decimal_comma", "12,5", " 12", 12},      {"thousands_comma", "1,500", " 1", 1},
    {"fraction", "6 1/2", " 61", 61},          {"minus_sign", "-5", " 5", 5},
    {"letters", "abc", " 0", 0},               {"empty", "", " 0", 0},
    {"beyond_a_double", "1e400", " 0", 0},     {"trailing_letter", "7x", " 7", 7},
    {"exponent_without_digits", "1e", " 1", 1}, {"as_shown", " 10", " 10", 10},
    {"decimals", "7.25", "7.25", 7.25},        {"blanks_around", "  8  ", "  8  ", 8},
    {"exponent", "1e1", "1e1", 10},            {"plus_sign", "+3", "+3", 3},
    {"leading_point", ".5", ".5", 0.5},
};
// clang-format on

class VelocityFieldTest : public MainWindowTest,
                          public ::testing::WithParamInterface<VelocityTyped> {};

} // namespace

// What a velocity field shows is the number used, once it is left; texts that
// read completely stay as typed.
TEST_P(VelocityFieldTest, ShowsTheValueUsedWhenLeft) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    type(designed::main::velocity_fields[1], QString::fromLatin1(GetParam().typed));
    focus(text(designed::main::velocity_fields[2]));
    EXPECT_EQ(text(designed::main::velocity_fields[1])->text(), GetParam().shown);
    EXPECT_EQ(form->state().required_v[1], GetParam().used);
}

INSTANTIATE_TEST_SUITE_P(Typed, VelocityFieldTest, ::testing::ValuesIn(velocities_typed),
                         RowName());

// Calculate shows it too, even while the field still has the focus; the result
// then comes from it and nothing is left stale.
TEST_F(FieldReadingTest, CalculateShowsTheVelocityUsed) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    type(designed::main::velocity_fields[3], "9,9");
    calculate();
    EXPECT_EQ(text(designed::main::velocity_fields[3])->text(), " 9");
    EXPECT_EQ(form->state().required_v[3], 9);
    EXPECT_EQ(field_colour(designed::main::velocity_fields[3]), white);
    EXPECT_NE(status(), stale);
}
