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

protected:
    void reject() override;

private slots:
    void on_option_toggled(bool checked);
    void store_choice_and_hide();

private:
    // Shows the choice on the compression warning, the content frame and the chart.
    friend void show_allowances(OptionsDialog& options, AllowanceReminder& main_reminder);

    ProgramState& program_;
    std::function<void()> show_allowances_;
    AllowanceReminder reminder_;

    QGroupBox* chuffing_frame = nullptr;
    QRadioButton *chuffing_masking_option = nullptr, *chuffing_seating_option = nullptr,
                 *chuffing_none_option = nullptr;
    QGroupBox* core_frame = nullptr;
    QLabel* compression_warning = nullptr;
    QRadioButton *core_masking_option = nullptr, *core_seating_option = nullptr,
                 *core_none_option = nullptr;
    QGroupBox* content_frame = nullptr;
    QRadioButton *music_option = nullptr, *home_theatre_option = nullptr;
    PictureBox* chart = nullptr;
    QLabel* reminder_caption = nullptr;
    QPushButton* ok_button = nullptr;
};

} // namespace venturon
