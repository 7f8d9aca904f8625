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

    QRadioButton* Option1 = nullptr; // metric
    QRadioButton* Option2 = nullptr; // feet, inches and fractions
    QRadioButton* Option3 = nullptr; // decimal inches
    QGroupBox* Frame2 = nullptr;
    std::array<QLabel*, 9>
        rules{}; // Label3, Label4, Label6, Label15, Label10, Label8, Label9, Label11, Label7
    QPushButton* Command1 = nullptr;

    // Selects the button of a units mode, as a click would.
    void select_mode(UnitsMode mode);

protected:
    void reject() override;

private slots:
    void Option1_Click(bool checked);
    void imperial_Click(bool checked);
    void Command1_Click();

private:
    void set_rule_colour(bool imperial);

    ProgramState& program_;
    std::function<void(bool)> relabel_;
};

} // namespace venturon
