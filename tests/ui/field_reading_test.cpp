// The fields are never left edited but unread, and always show the numbers that a
// result comes from.
#include "main_window_fixture.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
const QString zero_diameter = QStringLiteral("Port Diameter must be greater than zero");
const QString stale = QStringLiteral("Press Calculate to update results");

} // namespace

// A press on Calculate that is dragged off the button and released there is no
// click: the diameter typed is read all the same, once.
TEST_F(MainWindowTest, PressOnCalculateReleasedElsewhereReadsTheDiameter) {
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
    EXPECT_EQ((QStringList{text("Text6")->text(), text("Text7")->text(), text("Text8")->text(),
                           text("Text9")->text()}),
              (QStringList{" 2.5", " 3.5", " 3", " 1.7"}));
    EXPECT_EQ(status(), stale);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MainWindowTest, PressOnCalculateReleasedElsewhereReadsTheRadius) {
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
TEST_F(MainWindowTest, LeavingCalculateWithoutAClickReadsTheField) {
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
TEST_F(MainWindowTest, ClickOnCalculateShowsOneMessage) {
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

// What a velocity field shows is the number used, once it is left or a
// calculation runs; texts that read completely stay as typed.
TEST_F(MainWindowTest, VelocityFieldsShowTheValueUsed) {
    start();
    check("Check1")->setChecked(false);
    const struct {
        const char* typed;
        const char* shown;
        double used;
    } cases[] = {
        {"12,5", " 12", 12}, {"1,500", " 1", 1}, {"6 1/2", " 61", 61},   {"-5", " 5", 5},
        {"abc", " 0", 0},    {"", " 0", 0},      {"1e400", " 0", 0},     {"7x", " 7", 7},
        {"1e", " 1", 1},     {" 10", " 10", 10}, {"7.25", "7.25", 7.25}, {"  8  ", "  8  ", 8},
        {"1e1", "1e1", 10},  {"+3", "+3", 3},    {".5", ".5", 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        type("Text7", QString::fromLatin1(c.typed));
        focus(text("Text8"));
        EXPECT_EQ(text("Text7")->text(), c.shown);
        EXPECT_EQ(form->state().required_v[1], c.used);
    }
    // Calculate shows it too, even while the field still has the focus; the
    // result then comes from it and nothing is left stale.
    type("Text9", "9,9");
    calculate();
    EXPECT_EQ(text("Text9")->text(), " 9");
    EXPECT_EQ(form->state().required_v[3], 9);
    EXPECT_EQ(field_colour("Text9"), white);
    EXPECT_NE(status(), stale);
}
