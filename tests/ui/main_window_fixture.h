#pragma once

#include "clickable_label.h"
#include "designed_control.h"
#include "diameter_warning_dialog.h"
#include "main_window.h"
#include "palette.h"
#include "picture_box.h"
#include "recording_interaction.h"
#include "support/settings_examples.h"
#include "text_box.h"
#include "units_mode.h"
#include "venturon_version.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace venturon::testing {

// Settings lines as the bytes of a file, each line ended by CR LF.
inline QByteArray settings_bytes(const SettingsLines& lines) {
    return QByteArray::fromStdString(crlf_file(lines));
}

// Builds the whole program headless in a temporary settings directory, with the
// recording interaction standing in for the user. Each feature's tests have a
// fixture of their own name derived from this one (class CruiseControlTest :
// public MainWindowTest {}), so that a list of the tests reads as a list of the
// features.
class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ProgramState program;
    RecordingInteraction interaction;
    std::unique_ptr<MainWindow> form;

    // Writes the settings file that the next start will read.
    void write_settings(const QByteArray& bytes) {
        QFile f(settings_path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void write_settings(const SettingsLines& lines) { write_settings(settings_bytes(lines)); }
    QByteArray read_settings() const {
        QFile f(settings_path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString settings_path() const {
        return QDir(dir.path()).filePath(QStringLiteral("venturon.ini"));
    }

    // Starts the program (start-up runs in the constructor) and shows the window.
    void start() {
        form = std::make_unique<MainWindow>(program, interaction, dir.path());
        form->show();
        form->activateWindow();
        QApplication::setActiveWindow(form.get());
        ASSERT_EQ(QApplication::activeWindow(), form.get());
    }
    // Closes the program as the user would: the settings are written.
    void close_program() {
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form.reset();
    }
    // Closes and starts again with a fresh program state, as a new run would.
    void restart() {
        close_program();
        program = ProgramState{};
        start();
    }

    void TearDown() override {
        EXPECT_TRUE(interaction.unexpected_dialogs.isEmpty())
            << interaction.unexpected_dialogs.join(QStringLiteral(", ")).toStdString();
        if (form) {
            form->hide();
            form.reset();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T> T* control(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        EXPECT_NE(w, nullptr) << "no control " << name;
        return w;
    }
    QLineEdit* text(const char* name) const { return control<QLineEdit>(name); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(name); }

    // Replaces a field's text by typing, as a user would.
    void type(const char* field, const QString& keys) {
        QLineEdit* edit = text(field);
        edit->setFocus();
        edit->selectAll();
        if (keys.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        } else {
            QTest::keyClicks(edit, keys);
        }
    }
    // Replaces a field's text by pasting, as a user would.
    void paste(const char* field, const QString& copied) {
        QLineEdit* edit = text(field);
        edit->setFocus();
        edit->selectAll();
        QGuiApplication::clipboard()->setText(copied);
        edit->paste();
    }
    void press_enter(const char* field) { QTest::keyClick(text(field), Qt::Key_Return); }
    // Moves the focus for real to another control of the window.
    void focus(QWidget* target) {
        target->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    void click(QAbstractButton* b) { press(b); }
    // Clicks a button where its caption starts (an option button reacts only over
    // its indicator and caption).
    static void press(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {},
                          QPoint(std::min(8, b->width() / 2), b->height() / 2));
    }
    void click_label(const char* name) { QTest::mouseClick(label(name), Qt::LeftButton); }
    void calculate() { click(button(designed::main::calculate_button)); }

    // The velocity graph, and a press on it at x (0 to 5: 15 to 40 Hz).
    PictureBox* graph() const { return control<PictureBox>(designed::main::graph); }
    void click_graph(double x) const { emit graph()->mouse_down(Qt::LeftButton, {}, x, 1); }

    // The required velocities at 20, 25, 30 and 35 Hz, as shown.
    QStringList velocities() const {
        QStringList shown;
        for (const char* field : designed::main::velocity_fields) {
            shown << text(field)->text();
        }
        return shown;
    }

    QString status() const { return label(designed::main::status_line)->text(); }
    QColor status_colour() const { return back_colour(label(designed::main::status_line)); }
    QColor field_colour(const char* name) const { return back_colour(text(name)); }
    QStringList messages() const { return interaction.message_texts(); }

    // Presses a dialog's OK-like button when it shows up.
    void expect_dialog(std::function<void(QDialog&)> action) {
        interaction.dialog_actions.push_back(std::move(action));
    }
};

// Hides the diameter warning, optionally ticking "Don't warn me again" first.
inline std::function<void(QDialog&)> dismiss_warning(bool never_again = false) {
    return [never_again](QDialog& d) {
        auto& warning = dynamic_cast<DiameterWarningDialog&>(d);
        if (never_again) {
            child<QCheckBox>(warning, designed::diameter_warning::dont_warn_again_check)
                ->setChecked(true);
        }
        QTest::mouseClick(child<QPushButton>(warning, designed::diameter_warning::ok_button),
                          Qt::LeftButton);
    };
}

// What the status line and the message boxes say.
inline const QString stale = QStringLiteral("Press Calculate to update results");
inline const QString zero_diameter = QStringLiteral("Port Diameter must be greater than zero");
inline const QString diameter_format =
    QStringLiteral("Diameter field contains incorrect format - see Change Units screen for rules");
inline const QString radius_format =
    QStringLiteral("Radius field contains incorrect format - see Change Units screen for rules");

inline const QColor white(255, 255, 255);
inline const QColor grey(224, 224, 224);
inline const QColor stale_red(255, 192, 192);
inline const QColor stale_yellow(255, 255, 192);
inline const QColor noise_free_green(160, 217, 136);
// The program's blue (links, hints, rules in force, the chart's lines), and the
// pale colour of hints once they have been followed.
inline const QColor blue(55, 106, 240);
inline const QColor pale_hint(183, 198, 215);

} // namespace venturon::testing
