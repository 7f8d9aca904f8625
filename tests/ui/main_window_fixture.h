#pragma once

#include "clickable_label.h"
#include "form1.h"
#include "frm_dia_warning.h"
#include "palette.h"
#include "recording_interaction.h"
#include "text_box.h"
#include "units_mode.h"
#include "venturon_version.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
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

// Builds the whole program headless in a temporary settings directory, with the
// recording interaction standing in for the user.
class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ProgramState program;
    RecordingInteraction interaction;
    std::unique_ptr<Form1> form;

    // Writes the settings file that the next start will read.
    void write_settings(const QByteArray& bytes) {
        QFile f(settings_path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read_settings() const {
        QFile f(settings_path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString settings_path() const {
        return QDir(dir.path()).filePath(QStringLiteral("venturon.ini"));
    }

    // Starts the program (start-up runs in the constructor) and shows the window.
    void start() {
        form = std::make_unique<Form1>(program, interaction, dir.path());
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
    void calculate() { click(button("Command1")); }

    QString status() const { return label("Label9")->text(); }
    QColor status_colour() const { return back_colour(label("Label9")); }
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
        auto& warning = dynamic_cast<frmDiaWarning&>(d);
        if (never_again) {
            warning.Check1->setChecked(true);
        }
        QTest::mouseClick(warning.OKButton, Qt::LeftButton);
    };
}

inline const QColor white(255, 255, 255);
inline const QColor grey(224, 224, 224);
inline const QColor stale_red(255, 192, 192);
inline const QColor stale_yellow(255, 255, 192);
inline const QColor noise_free_green(160, 217, 136);

} // namespace venturon::testing
