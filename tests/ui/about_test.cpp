// The about dialog: texts, links, panels, the system information launcher,
// "Re-enable Warnings" and what it looks like.
#include "about_dialog.h"
#include "author_details.h"
#include "main_window_fixture.h"
#include "recording_interaction.h"
#include "venturon_version.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QOperatingSystemVersion>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace venturon {
namespace {

using namespace testing;

class AboutDialogTest : public ::testing::Test {
protected:
    ProgramState state;
    RecordingInteraction interaction;
    int re_enable_calls = 0;
    std::unique_ptr<AboutDialog> about;

    void SetUp() override {
        state.version_text = QString::fromLatin1(venturon::version);
        about = std::make_unique<AboutDialog>(state, interaction, [this] { ++re_enable_calls; });
    }

    void TearDown() override {
        EXPECT_TRUE(interaction.unexpected_dialogs.isEmpty())
            << interaction.unexpected_dialogs.join(QStringLiteral(", ")).toStdString();
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* widget = about->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    // Shows the dialog modally, as the main window's "About" link does, and runs
    // the user's actions while it is open; they must leave it hidden.
    void open(const std::function<void()>& user) {
        interaction.dialog_actions.push_back([&](QDialog&) { user(); });
        interaction.run_modal(*about);
    }

    bool showing(const char* frame) { return control(frame)->isVisibleTo(about.get()); }
};

TEST_F(AboutDialogTest, LoadsWithVersionPlacementAndButtons) {
    EXPECT_EQ(about->objectName(), QString::fromLatin1(designed::about::dialog));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Venturon"));
    auto* version = control<QLabel>(designed::about::version_line);
    EXPECT_EQ(version->text(),
              QStringLiteral("Venturon  version ") + QString::fromLatin1(venturon::version));
    EXPECT_TRUE(version->font().bold());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(about->pos(), QPoint(screen.left() + (screen.width() - about->width()) / 2,
                                   screen.top() + (screen.height() - about->height()) / 8));
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(about->minimumSize(), about->maximumSize());

    EXPECT_TRUE(showing(designed::about::about_panel));
    EXPECT_FALSE(showing(designed::about::graphic_panel));
    EXPECT_EQ(control(designed::about::graphic_panel)->geometry(),
              control(designed::about::about_panel)->geometry());

    // OK is the default button and first in the tab order.
    auto* ok = control<QPushButton>(designed::about::ok_button);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(about->focusWidget(), ok);
    QStringList tab_order;
    QWidget* widget = ok;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            tab_order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != ok);
    // The buttons first, then the links, which are reachable from the keyboard too.
    EXPECT_EQ(tab_order,
              QStringList({designed::about::ok_button, designed::about::system_info_button,
                           designed::about::re_enable_warnings_button, designed::about::web_link,
                           designed::about::email_link, designed::about::show_graphic_link,
                           designed::about::return_link}));
}

TEST_F(AboutDialogTest, ReEnableWarningsDoesItsEffectsThenConfirmsEveryTime) {
    std::vector<int> calls_at_message;
    interaction.on_message = [&](const RecordingInteraction::Message&) {
        calls_at_message.push_back(re_enable_calls);
    };
    open([&] {
        click(designed::about::re_enable_warnings_button); // nothing dismissed yet: still confirmed
        click(designed::about::re_enable_warnings_button);
        EXPECT_TRUE(about->isVisible());
        click(designed::about::ok_button);
    });
    EXPECT_EQ(re_enable_calls, 2);
    EXPECT_EQ(calls_at_message, (std::vector<int>{1, 2}));
    ASSERT_EQ(interaction.messages.size(), 2u);
    for (const auto& message : interaction.messages) {
        EXPECT_EQ(message.text, QStringLiteral("Venturon warnings have been re-enabled"));
        EXPECT_EQ(message.title, QStringLiteral("Confirmation"));
        EXPECT_EQ(message.icon, Interaction::Icon::information);
    }
}

TEST_F(AboutDialogTest, LinksOpenTheFeedbackMailAndTheWebPage) {
    open([&] {
        click(designed::about::email_link);
        click(designed::about::web_link);
        click(designed::about::ok_button);
    });
    ASSERT_EQ(interaction.addresses.size(), 2);
    const QString mail = interaction.addresses[0];
    EXPECT_EQ(mail, QStringLiteral("mailto:") + author::feedback_address() +
                        QStringLiteral("?Subject=Feedback from Venturon V") +
                        QString::fromLatin1(venturon::version));
    EXPECT_TRUE(mail.endsWith(QStringLiteral("?Subject=Feedback from Venturon V") +
                              QString::fromLatin1(venturon::version)));
    // What the desktop is handed is a mail address with the subject intact.
    const QUrl url(mail);
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), author::feedback_address());
    EXPECT_EQ(QUrlQuery(url).queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
              QStringLiteral("Feedback from Venturon V") + QString::fromLatin1(venturon::version));

    EXPECT_EQ(interaction.addresses[1], author::web_address());
    EXPECT_TRUE(QUrl(author::web_address()).isValid());
    EXPECT_EQ(control(designed::about::web_link)->toolTip(),
              QStringLiteral("Click link to launch your browser and go to ") +
                  author::web_address());
    EXPECT_EQ(control(designed::about::email_link)->toolTip(),
              QStringLiteral("Click to email ") + author::feedback_address());
    EXPECT_TRUE(interaction.messages.empty());
}

TEST_F(AboutDialogTest, PanelShowingIsKeptBetweenOpenings) {
    QPointer<AboutDialog> alive = about.get();
    open([&] {
        click(designed::about::show_graphic_link);
        EXPECT_TRUE(showing(designed::about::graphic_panel));
        EXPECT_FALSE(showing(designed::about::about_panel));
        click(designed::about::ok_button);
    });
    EXPECT_FALSE(about->isVisible());

    open([&] {
        EXPECT_TRUE(showing(designed::about::graphic_panel)) << "graphic panel kept after OK";
        click(designed::about::return_link);
        EXPECT_TRUE(showing(designed::about::about_panel));
        EXPECT_FALSE(showing(designed::about::graphic_panel));
        click(designed::about::show_graphic_link);
        QTest::keyClick(about.get(), Qt::Key_Escape); // Escape hides like OK
    });
    open([&] {
        EXPECT_TRUE(showing(designed::about::graphic_panel));
        about->close(); // the title bar's close button hides like OK
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(alive.isNull());
    EXPECT_FALSE(about->isVisible());
    open([&] {
        EXPECT_TRUE(showing(designed::about::graphic_panel));
        click(designed::about::ok_button);
    });
}

// Sets PATH for the length of a test.
class PathVariable {
public:
    explicit PathVariable(const QString& value) : saved_(qgetenv("PATH")) {
        qputenv("PATH", value.toLocal8Bit());
    }
    ~PathVariable() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

TEST_F(AboutDialogTest, SystemInfoStartsTheToolFoundOnPathOrSaysItIsUnavailable) {
    if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
        GTEST_SKIP() << "the tool comes from the registry there";
    }
    const QString tool = QStringLiteral("/opt/venturon-test/bin/hardinfo");
    const PathVariable path(QStringLiteral("/opt/venturon-test/bin"));
    const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");

    struct Case {
        const char* what;
        bool installed;
        bool starts;
        bool expect_start;
    };
    const Case cases[] = {
        {"found and started", true, true, true},
        {"found but fails to start", true, false, true},
        {"not found", false, true, false},
    };
    for (const Case& c : cases) {
        interaction.messages.clear();
        interaction.started_programs.clear();
        interaction.existing_files = c.installed ? QStringList{tool} : QStringList{};
        interaction.program_starts = c.starts;
        open([&] {
            click(designed::about::system_info_button);
            click(designed::about::ok_button);
        });
        EXPECT_EQ(interaction.started_programs, c.expect_start ? QStringList{tool} : QStringList{})
            << c.what;
        if (c.installed && c.starts) {
            EXPECT_TRUE(interaction.messages.empty()) << c.what;
        } else {
            ASSERT_EQ(interaction.messages.size(), 1u) << c.what;
            EXPECT_EQ(interaction.messages[0].text, unavailable);
            EXPECT_EQ(interaction.messages[0].title, QStringLiteral("venturon"));
            EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::none);
        }
    }
}

// Every caption is whole in the font it is shown in, and no two controls overlap.
TEST_F(AboutDialogTest, CaptionsAreWholeAndControlsDoNotOverlap) {
    for (const char* panel : {designed::about::about_panel, designed::about::graphic_panel}) {
        const auto children = control(panel)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (auto* label = qobject_cast<QLabel*>(child)) {
                const QFontMetrics metrics(label->font());
                const QRect needed =
                    label->wordWrap()
                        ? metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap,
                                               label->text())
                        : QRect(0, 0, metrics.horizontalAdvance(label->text()), metrics.height());
                EXPECT_LE(needed.width(), label->width()) << label->objectName().toStdString();
                EXPECT_LE(needed.height(), label->height() + 2)
                    << label->objectName().toStdString();
            }
            EXPECT_TRUE(control(panel)->rect().contains(child->geometry()))
                << child->objectName().toStdString();
            for (QWidget* other : children) {
                if (other != child) {
                    EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                        << child->objectName().toStdString() << " overlaps "
                        << other->objectName().toStdString();
                }
            }
        }
    }
    for (const char* name :
         {designed::about::system_info_button, designed::about::re_enable_warnings_button,
          designed::about::ok_button}) {
        auto* button = control<QPushButton>(name);
        const QString caption = button->text().remove(QLatin1Char('&'));
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(caption) + 16, button->width())
            << name;
    }
}

int count_pixels(const QImage& image, const std::function<bool(QColor)>& wanted) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += wanted(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

TEST_F(AboutDialogTest, RendersBackgroundPhotographAndCrossSection) {
    open([&] {
        const QImage dialog = about->grab().toImage();
        EXPECT_EQ(dialog.pixelColor(2, 2), QColor(224, 224, 224));

        // The photograph: the dark bore in the middle, lighter board at the corner.
        const QImage photo = control(designed::about::port_photograph)->grab().toImage();
        EXPECT_LT(photo.pixelColor(50, 43).lightness(), 40);
        EXPECT_GT(photo.pixelColor(2, 82).lightness(), 100);

        click(designed::about::show_graphic_link);
        const QImage section = control(designed::about::cross_section)->grab().toImage();
        const int red = count_pixels(
            section, [](QColor c) { return c.red() > 150 && c.green() < 60 && c.blue() < 60; });
        const int wall = count_pixels(section, [](QColor c) {
            return std::abs(c.red() - 224) < 8 && std::abs(c.green() - 198) < 8 &&
                   std::abs(c.blue() - 152) < 8;
        });
        const int blank = count_pixels(section, [](QColor c) { return c == Qt::white; });
        const int total = section.width() * section.height();
        EXPECT_GT(red, 100) << "flare radius marked";
        EXPECT_GT(wall, total / 20) << "baffle and tube drawn";
        EXPECT_GT(blank, total / 3) << "bore and air left open";
        click(designed::about::return_link);
        click(designed::about::ok_button);
    });
}

// The main window's "About" link, and what "Re-enable Warnings" does there.
class AboutLinkTest : public testing::MainWindowTest {};

TEST_F(AboutLinkTest, ReEnablesTheWarningsAndTheHints) {
    start();
    child<QCheckBox>(form->diameter_warning(), designed::diameter_warning::dont_warn_again_check)
        ->setChecked(true);
    click_label(designed::main::mode_link);
    click_graph(2.0);
    ASSERT_EQ(fore_colour(label(designed::main::simple_mode_caption)), pale_hint);

    expect_dialog([](QDialog& about) {
        press(about.findChild<QPushButton*>(designed::about::re_enable_warnings_button));
        press(about.findChild<QPushButton*>(designed::about::ok_button));
    });
    click_label(designed::main::about_link);
    EXPECT_EQ(interaction.shown_dialogs, QStringList{designed::about::dialog});
    EXPECT_FALSE(child<QCheckBox>(form->diameter_warning(),
                                  designed::diameter_warning::dont_warn_again_check)
                     ->isChecked());
    EXPECT_EQ(fore_colour(label(designed::main::simple_mode_caption)), blue);
    EXPECT_EQ(fore_colour(label(designed::main::graph_hint)), blue);
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text, "Venturon warnings have been re-enabled");
    EXPECT_EQ(interaction.messages[0].title, "Confirmation");
    EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::information);

    // The next large port warns again.
    expect_dialog(dismiss_warning());
    type(designed::main::diameter_field, "200");
    calculate();
    EXPECT_EQ(interaction.shown_dialogs.last(), designed::diameter_warning::dialog);
}

} // namespace
} // namespace venturon
