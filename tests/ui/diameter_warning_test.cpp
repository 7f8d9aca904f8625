// The warning for ports wider than the tests behind the model (165 mm).
#include "main_window_fixture.h"

#include "diameter_warning_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {
class DiameterWarningTest : public MainWindowTest {};
} // namespace

TEST_F(DiameterWarningTest, ComesAbove165MillimetresUntilTicked) {
    start();
    type(designed::main::diameter_field, "165");
    calculate();
    EXPECT_TRUE(interaction.shown_dialogs.isEmpty());

    expect_dialog(dismiss_warning());
    type(designed::main::diameter_field, "165.1");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs, QStringList{designed::diameter_warning::dialog});
    auto* warning = form->diameter_warning();
    EXPECT_EQ(child<QLabel>(warning, designed::diameter_warning::heading)->text(),
              "Diameter exceeds 165 mm");
    EXPECT_EQ(warning->windowTitle(), "Venturon  Diameter Warning");

    expect_dialog(dismiss_warning(true));
    calculate();
    calculate(); // ticked: no more warnings
    type(designed::main::diameter_field, "300");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs.size(), 2);
}
