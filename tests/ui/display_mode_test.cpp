// Full and Simple display modes: what each shows, and the frequency Simple mode
// tracks.
#include "main_window_fixture.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class DisplayModeTest : public MainWindowTest {};
} // namespace

TEST_F(DisplayModeTest, SimpleModeHidesTheInputsAndTracksAFrequency) {
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
    // The minimum radius last computed, shown a millimetre up and now in use.
    EXPECT_EQ(text("Text2")->text(), " 27");
    EXPECT_EQ(form->state().radius_mm, 27);
    EXPECT_EQ(status_colour(), noise_free_green);
    EXPECT_TRUE(status().startsWith("At  28hz   Core Limit is")) << status().toStdString();

    click_graph(1.0);
    EXPECT_EQ(program.tracked_frequency, 20.0f);
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label("Label4")), pale_hint);
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
    click_graph(4.0);
    click_label("Label_mode");
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label("Label5")), pale_hint);
}

TEST_F(DisplayModeTest, ModeSwitchWithAnInvalidDiameterStillSwitches) {
    start();
    type("Text1", "abc");
    const auto items = graph()->drawing().items().size();
    click_label("Label_mode");
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    EXPECT_FALSE(text("Text10")->isVisible());
    EXPECT_EQ(graph()->drawing().items().size(), items);
}

TEST_F(DisplayModeTest, ModeLinkWorksFromTheKeyboard) {
    start();
    auto* link = label("Label_mode");
    EXPECT_EQ(link->focusPolicy(), Qt::TabFocus);
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(program.display_mode, DisplayMode::simple);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(program.display_mode, DisplayMode::full);
}
