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
    namespace name = designed::main;
    const char* full_only[] = {
        name::port_count_caption,  name::velocity_captions[0], name::velocity_captions[1],
        name::velocities_caption,  name::velocity_captions[2], name::velocity_captions[3],
        name::port_count_field,    name::velocity_fields[0],   name::velocity_fields[1],
        name::velocity_fields[2],  name::velocity_fields[3],   name::cruise_control_check,
        name::minimum_mode_option, name::manual_mode_option};
    auto visible = [this](const char* name) {
        return form->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly)->isVisible();
    };
    ASSERT_TRUE(option(designed::main::minimum_mode_option)->isChecked());
    click_label(designed::main::mode_link);
    EXPECT_EQ(program.display_mode, DisplayMode::simple);
    EXPECT_EQ(label(designed::main::mode_link)->text(), "Full");
    for (const char* name : full_only) {
        EXPECT_FALSE(visible(name)) << name;
    }
    EXPECT_TRUE(label(designed::main::simple_mode_caption)->isVisible());
    EXPECT_TRUE(label(designed::main::graph_hint)->isVisible());
    EXPECT_EQ(label(designed::main::simple_mode_caption)->pos(),
              QPoint(label(designed::main::port_count_caption)->x(),
                     label(designed::main::velocities_caption)->y()));
    EXPECT_TRUE(option(designed::main::manual_mode_option)->isChecked());
    EXPECT_TRUE(text(designed::main::radius_field)->isEnabled());
    // The minimum radius last computed, shown a millimetre up and now in use.
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 27");
    EXPECT_EQ(form->state().radius_mm, 27);
    EXPECT_EQ(status_colour(), noise_free_green);
    EXPECT_TRUE(status().startsWith("At  28hz   Core Limit is")) << status().toStdString();

    click_graph(1.0);
    EXPECT_EQ(program.tracked_frequency, 20.0f);
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label(designed::main::simple_mode_caption)), pale_hint);
    calculate();
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();

    click_label(designed::main::mode_link);
    EXPECT_EQ(program.display_mode, DisplayMode::full);
    for (const char* name : full_only) {
        EXPECT_TRUE(visible(name)) << name;
    }
    EXPECT_FALSE(label(designed::main::simple_mode_caption)->isVisible());
    EXPECT_TRUE(option(designed::main::manual_mode_option)->isChecked()); // manual radius stays
    EXPECT_FALSE(status().startsWith("At")) << status().toStdString();

    // A click in Full mode does not move the tracked frequency; back in Simple
    // mode the status line reports the one picked there, and the hints stay pale.
    click_graph(4.0);
    click_label(designed::main::mode_link);
    EXPECT_TRUE(status().startsWith("At  20hz")) << status().toStdString();
    EXPECT_EQ(fore_colour(label(designed::main::graph_hint)), pale_hint);
}

TEST_F(DisplayModeTest, ModeSwitchWithAnInvalidDiameterStillSwitches) {
    start();
    type(designed::main::diameter_field, "abc");
    const auto items = graph()->drawing().items().size();
    click_label(designed::main::mode_link);
    EXPECT_EQ(messages(), QStringList{zero_diameter});
    EXPECT_FALSE(text(designed::main::port_count_field)->isVisible());
    EXPECT_EQ(graph()->drawing().items().size(), items);
}

TEST_F(DisplayModeTest, ModeLinkWorksFromTheKeyboard) {
    start();
    auto* link = label(designed::main::mode_link);
    EXPECT_EQ(link->focusPolicy(), Qt::TabFocus);
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(program.display_mode, DisplayMode::simple);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(program.display_mode, DisplayMode::full);
}
