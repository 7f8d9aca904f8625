#pragma once

#include "program_state.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace venturon {

// Chooses the units in which lengths are typed and shown, and lists the rules for
// typing imperial lengths. Created once and only hidden; its buttons keep the
// choice between showings.
class UnitsDialog : public QDialog {
    Q_OBJECT
public:
    // relabel(imperial) rewrites the captions that name the unit elsewhere.
    UnitsDialog(ProgramState& program, std::function<void(bool imperial)> relabel,
                QWidget* parent = nullptr);

    // Selects the button of a units mode, as a click would.
    void select_mode(UnitsMode mode);

protected:
    void reject() override;

private slots:
    void on_metric_toggled(bool checked);
    void on_imperial_toggled(bool checked);
    void store_mode_and_hide();

private:
    void set_rule_colour(bool imperial);

    ProgramState& program_;
    std::function<void(bool)> relabel_;

    QRadioButton* metric_option = nullptr;
    QRadioButton* feet_inches_option = nullptr;
    QRadioButton* decimal_inches_option = nullptr;
    QGroupBox* rules_frame = nullptr;
    std::array<QLabel*, 9> rules{};
    QPushButton* ok_button = nullptr;
};

} // namespace venturon
