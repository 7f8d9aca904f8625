// What a screen reader is told, read through Qt's accessibility interface: names,
// roles, actions, the graph in words and the status line's announcements.
#include "main_window_fixture.h"

#include "about_dialog.h"
#include "enclosure_designer.h"
#include "options_dialog.h"
#include "units_dialog.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

#include <vector>

using namespace venturon;
using namespace venturon::testing;

namespace {

class AccessibilityTest : public MainWindowTest {};

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString name_of(QObject* object) {
    return accessible(object)->text(QAccessible::Name);
}

// Every control of a window that takes the focus, with the name a screen reader
// reads for it; those without one are listed.
QStringList unnamed_focusable(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && w->isEnabledTo(window) && !w->isWindow() &&
            w->window() == window && name_of(w).trimmed().isEmpty()) {
            unnamed << w->objectName() + QStringLiteral(" (") + w->metaObject()->className() +
                           QStringLiteral(")");
        }
    }
    return unnamed;
}

} // namespace

TEST_F(AccessibilityTest, EveryFocusableControlOfEveryWindowHasAName) {
    start();
    click_label(designed::main::enclosure_link); // made when first opened
    form->enclosure()->suggest_box();            // and so are the box suggestions
    auto* suggestions = form->enclosure()->findChild<QDialog*>("BoxSuggestionDialog");
    ASSERT_NE(suggestions, nullptr);
    EXPECT_EQ(unnamed_focusable(form.get()), QStringList());
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{form->options(), form->units(), form->diameter_warning(),
                                         form->about(), form->enclosure(), suggestions}) {
        dialog->show(); // some texts are fitted when a dialog first shows
        EXPECT_EQ(unnamed_focusable(dialog), QStringList()) << dialog->objectName().toStdString();
        dialog->hide();
    }
}

TEST_F(AccessibilityTest, FieldsAreNamedByTheirCaptionsAndUnits) {
    start();
    const std::pair<const char*, const char*> fields[] = {
        {designed::main::diameter_field, "Port Diameter - mm"},
        {designed::main::radius_field, "Flare Radius - mm"},
        {designed::main::port_count_field, "Number of ports"},
        {designed::main::velocity_fields[0], "Required velocity at 20 Hz, m/s"},
        {designed::main::velocity_fields[1], "Required velocity at 25 Hz, m/s"},
        {designed::main::velocity_fields[2], "Required velocity at 30 Hz, m/s"},
        {designed::main::velocity_fields[3], "Required velocity at 35 Hz, m/s"},
    };
    for (const auto& [field, name] : fields) {
        EXPECT_EQ(name_of(text(field)), name) << field;
        EXPECT_EQ(accessible(text(field))->role(), QAccessible::EditableText) << field;
    }
    // The names follow the units, as the captions do.
    expect_dialog([&](QDialog&) {
        click(child<QRadioButton>(form->units(), designed::units::feet_inches_option));
        click(child<QPushButton>(form->units(), designed::units::ok_button));
    });
    click_label(designed::main::units_link);
    EXPECT_EQ(name_of(text(designed::main::diameter_field)), "Port Diameter - inches");
    EXPECT_EQ(name_of(text(designed::main::radius_field)), "Flare Radius - inches");
}

TEST_F(AccessibilityTest, LinksAreLinksThatCanBePressed) {
    start();
    for (const char* link :
         {designed::main::units_link, designed::main::options_link, designed::main::mode_link,
          designed::main::about_link, designed::main::enclosure_link}) {
        QAccessibleInterface* a = accessible(label(link));
        EXPECT_EQ(a->role(), QAccessible::Link) << link;
        ASSERT_NE(a->actionInterface(), nullptr) << link;
        EXPECT_EQ(a->actionInterface()->actionNames().value(0),
                  QAccessibleActionInterface::pressAction())
            << link;
    }
    // Pressing "Options" through the interface opens the options dialog, once the
    // screen reader's request has been answered.
    expect_dialog([&](QDialog& d) {
        EXPECT_EQ(&d, form->options());
        click(child<QPushButton>(form->options(), designed::options::ok_button));
    });
    accessible(label(designed::main::options_link))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(interaction.shown_dialogs.isEmpty()); // not yet: the request is answered first
    QCoreApplication::processEvents();
    EXPECT_EQ(interaction.shown_dialogs, QStringList{designed::options::dialog});
    // The about box's links too.
    for (const char* name : {designed::about::show_graphic_link, designed::about::return_link,
                             designed::about::email_link, designed::about::web_link}) {
        auto* link = form->about()->findChild<QLabel*>(name);
        ASSERT_NE(link, nullptr) << name;
        EXPECT_EQ(accessible(link)->role(), QAccessible::Link) << name;
    }
}

TEST_F(AccessibilityTest, GraphSaysWhatItShowsAfterEveryCalculation) {
    start();
    QWidget* graph = form->findChild<QWidget*>(designed::main::graph);
    EXPECT_EQ(name_of(graph), "Velocity graph");
    EXPECT_EQ(accessible(graph)->role(), QAccessible::Chart);
    const QString description = accessible(graph)->text(QAccessible::Description);
    // The first start: 100 mm, 10, 14, 12 and 7 m/s, radius 26.243 mm.
    EXPECT_TRUE(description.contains("core limit 19.8, 19.8, 29.5 and 36.3 m/s"))
        << description.toStdString();
    EXPECT_TRUE(description.contains("chuffing limit 12.3, 14, 19.4 and 25.1 m/s"))
        << description.toStdString();
    EXPECT_TRUE(description.contains("required velocity 10, 14, 12 and 7 m/s"))
        << description.toStdString();

    interaction.dialog_actions.push_back(dismiss_warning());
    click_label(designed::main::mode_link); // Simple mode: the tracked frequency instead
    interaction.dialog_actions.clear();
    const QString simple = accessible(graph)->text(QAccessible::Description);
    EXPECT_TRUE(simple.contains("Tracked frequency 28 Hz")) << simple.toStdString();
    EXPECT_FALSE(simple.contains("required")) << simple.toStdString();
}

// The status line is read as its text; that a new text is announced (a name
// change on the accessibility bus) needs a screen reader listening, and the
// end-to-end test through AT-SPI checks it.
TEST_F(AccessibilityTest, StatusLineIsReadAsItsVerdict) {
    start();
    type(designed::main::diameter_field, "70");
    EXPECT_EQ(name_of(label(designed::main::status_line)), "Press Calculate to update results");
    calculate();
    EXPECT_EQ(name_of(label(designed::main::status_line)), " Core Turbulence and Compression");
    EXPECT_EQ(accessible(label(designed::main::status_line))->text(QAccessible::Description),
              "Status line");
}

TEST_F(AccessibilityTest, AllowanceDisplaysSayWhatTheyShow) {
    start();
    const QString first = "Chuffing allowance 55 %, core allowance 0 %";
    EXPECT_EQ(name_of(form->reminder().frame), first);
    EXPECT_EQ(name_of(form->options()->reminder().frame), first);
    EXPECT_EQ(name_of(child<PictureBox>(form->options(), designed::options::chart)), first);
    expect_dialog([&](QDialog&) {
        click(child<QRadioButton>(form->options(), designed::options::core_seating_option));
        click(child<QPushButton>(form->options(), designed::options::ok_button));
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(name_of(form->reminder().frame), "Chuffing allowance 55 %, core allowance 25 %");
    EXPECT_EQ(name_of(form->reminder().core_total), "Core allowance 25 %");
}

TEST_F(AccessibilityTest, DialogsOpenWithTheFocusOnTheirFirstChoice) {
    start();
    click_label(designed::main::enclosure_link); // made when first opened
    form->enclosure()->hide();
    const std::pair<QDialog*, QWidget*> dialogs[] = {
        {form->units(), child<QRadioButton>(form->units(), designed::units::metric_option)},
        {form->options(),
         child<QRadioButton>(form->options(), designed::options::chuffing_masking_option)},
        {form->diameter_warning(),
         child<QPushButton>(form->diameter_warning(), designed::diameter_warning::ok_button)},
        {form->enclosure(), form->enclosure()->field(Field::fs)},
    };
    for (const auto& [dialog, first] : dialogs) {
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        EXPECT_TRUE(first->hasFocus()) << dialog->objectName().toStdString();
        dialog->hide();
    }
}
