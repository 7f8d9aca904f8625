#pragma once

#include "allowance_reminder.h"
#include "model.h"
#include "program_state.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace venturon {

class PictureBox;

// The allowance choice. Its option buttons are the live selection that every
// calculation reads; OK stores the choice for the settings file. Created once
// and only hidden.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // show_allowances refreshes the displays of both windows after an option click.
    OptionsDialog(ProgramState& program, std::function<void()> show_allowances,
                  QWidget* parent = nullptr);

    AllowanceSelection selection() const;
    // Selects the buttons of a choice as clicks would: each button that becomes
    // selected runs its option handling.
    void select(const AllowanceSelection& selection);
    AllowanceReminder& reminder() { return reminder_; }

    QGroupBox* Frame2 = nullptr; // chuffing (boundary layer)
    QRadioButton* Option_chuff_mask = nullptr;
    QRadioButton* Option_chuff_seat = nullptr;
    QRadioButton* Option_chuff_none = nullptr;
    QGroupBox* Frame1 = nullptr; // core
    QLabel* Label1 = nullptr;
    QRadioButton* Option_core_mask = nullptr;
    QRadioButton* Option_core_seat = nullptr;
    QRadioButton* Option_core_none = nullptr;
    QGroupBox* Frame3 = nullptr;     // content
    QRadioButton* Option1 = nullptr; // music
    QRadioButton* Option2 = nullptr; // home theatre
    PictureBox* Picture1 = nullptr;  // the chart
    QLabel* Label6 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    void reject() override;

private slots:
    void option_Click(bool checked);
    void Command1_Click();

private:
    ProgramState& program_;
    std::function<void()> show_allowances_;
    AllowanceReminder reminder_;
};

} // namespace venturon
