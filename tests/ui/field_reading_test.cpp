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
    type("Text1", "200");
    QPushButton* calc = button("Command1");
    QTest::mousePress(calc, Qt::LeftButton, {}, calc->rect().center());
    ASSERT_EQ(QApplication::focusWidget(), calc);
    EXPECT_TRUE(form->state().diameter_changed); // the click would read it
    QTest::mouseRelease(calc, Qt::LeftButton, {}, QPoint(-30, calc->height() / 2));

    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 200);
    EXPECT_EQ(text("Text1")->text(), " 200");
    // Cruise control rescaled the velocities for the new port; nothing was calculated.
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    EXPECT_EQ(status(), stale);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FieldReadingTest, PressOnCalculateReleasedElsewhereReadsTheRadius) {
    start();
    click(option("Option2"));
    type("Text2", "25");
    QPushButton* calc = button("Command1");
    QTest::mousePress(calc, Qt::LeftButton, {}, calc->rect().center());
    QTest::mouseRelease(calc, Qt::LeftButton, {}, QPoint(calc->width() + 40, -10));
    EXPECT_FALSE(form->state().radius_changed);
    EXPECT_EQ(form->state().radius_mm, 25);
    EXPECT_EQ(text("Text2")->text(), " 25");
    EXPECT_TRUE(messages().isEmpty());
}

// The focus reached Calculate without a click (a press held and then tabbed
// away, a focus moved by the keyboard): leaving the button reads the field.
TEST_F(FieldReadingTest, LeavingCalculateWithoutAClickReadsTheField) {
    start();
    type("Text1", "150");
    button("Command1")->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->state().diameter_changed);
    focus(text("Text10"));
    EXPECT_FALSE(form->state().diameter_changed);
    EXPECT_EQ(form->state().diameter_mm, 150);
}

// A real click validates once: one message for a zero diameter, none again when
// the focus then leaves the button.
TEST_F(FieldReadingTest, ClickOnCalculateShowsOneMessage) {
    start();
    type("Text1", "0");
    calculate();
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    focus(text("Text10"));
    QTest::mousePress(button("Command1"), Qt::LeftButton);
    QTest::mouseRelease(button("Command1"), Qt::LeftButton, {}, QPoint(-30, -30));
    focus(text("Text10"));
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
    check("Check1")->setChecked(false);
    type("Text7", QString::fromLatin1(GetParam().typed));
    focus(text("Text8"));
    EXPECT_EQ(text("Text7")->text(), GetParam().shown);
    EXPECT_EQ(form->state().required_v[1], GetParam().used);
}

INSTANTIATE_TEST_SUITE_P(Typed, VelocityFieldTest, ::testing::ValuesIn(velocities_typed),
                         RowName());

// Calculate shows it too, even while the field still has the focus; the result
// then comes from it and nothing is left stale.
TEST_F(FieldReadingTest, CalculateShowsTheVelocityUsed) {
    start();
    check("Check1")->setChecked(false);
    type("Text9", "9,9");
    calculate();
    EXPECT_EQ(text("Text9")->text(), " 9");
    EXPECT_EQ(form->state().required_v[3], 9);
    EXPECT_EQ(field_colour("Text9"), white);
    EXPECT_NE(status(), stale);
}
