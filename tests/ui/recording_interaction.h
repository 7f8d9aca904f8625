#pragma once

#include "interaction.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace venturon::testing {

// Stands in for the user: records every message box and address, and runs a
// test's own callback where a modal dialog would wait for the user. A modal
// dialog that no callback expects fails the test instead of hanging the suite.
class RecordingInteraction : public Interaction {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::none;
    };

    std::vector<Message> messages;
    QStringList addresses;
    QStringList started_programs;
    QStringList existing_files;
    bool program_starts = true;

    // Called with the dialog shown; must leave it hidden (press OK, close it...).
    std::vector<std::function<void(QDialog&)>> dialog_actions;
    QStringList unexpected_dialogs;
    QStringList shown_dialogs;
    // Called for a message box, after it has been recorded (e.g. to close the program).
    std::function<void(const Message&)> on_message;

    void message(QWidget*, const QString& text, const QString& title, Icon icon) override {
        messages.push_back({text, title, icon});
        if (on_message) {
            on_message(messages.back());
        }
    }

    void run_modal(QDialog& dialog) override {
        shown_dialogs << dialog.objectName();
        if (dialog_actions.empty()) {
            unexpected_dialogs << dialog.objectName();
            return;
        }
        auto action = dialog_actions.front();
        dialog_actions.erase(dialog_actions.begin());
        dialog.show();
        // The action may end the program, whose closing deletes the dialogs: an
        // event processed meanwhile (a simulated key press, say) deletes this one.
        const QPointer<QDialog> alive(&dialog);
        const QString name = dialog.objectName();
        action(dialog);
        if (alive && alive->isVisible()) {
            unexpected_dialogs << name + QStringLiteral(" (left open)");
            alive->hide();
        }
    }

    void open_address(const QString& address) override { addresses << address; }

    bool start_program(const QString& program) override {
        started_programs << program;
        return program_starts;
    }

    bool file_exists(const QString& path) override { return existing_files.contains(path); }

    QStringList message_texts() const {
        QStringList out;
        for (const auto& m : messages) {
            out << m.text;
        }
        return out;
    }
};

} // namespace venturon::testing
