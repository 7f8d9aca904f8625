#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace venturon {

// Every modal thing the program does goes through here, so that tests can stand
// in for the user without ever blocking on a modal loop.
class Interaction {
public:
    enum class Icon { none, information, warning };

    virtual ~Interaction() = default;

    // A modal message box with an OK button.
    virtual void message(QWidget* parent, const QString& text, const QString& title, Icon icon) = 0;
    // A plain one: no icon, the application's name as its title.
    void notice(QWidget* parent, const QString& text);
    // Shows a dialog modally; returns once the dialog has been hidden.
    virtual void run_modal(QDialog& dialog) = 0;
    // Opens a mail or web address with the desktop's handler; the result is not reported.
    virtual void open_address(const QString& address) = 0;
    // Starts a program in a normal window; false when it could not be started.
    virtual bool start_program(const QString& program) = 0;
    virtual bool file_exists(const QString& path) = 0;
};

// The real thing: QMessageBox, QDialog::exec, QDesktopServices, QProcess.
class QtInteraction : public Interaction {
public:
    void message(QWidget* parent, const QString& text, const QString& title, Icon icon) override;
    void run_modal(QDialog& dialog) override;
    void open_address(const QString& address) override;
    bool start_program(const QString& program) override;
    bool file_exists(const QString& path) override;
};

} // namespace venturon
