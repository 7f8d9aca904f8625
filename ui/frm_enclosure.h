#pragma once

#include "enclosure_inputs.h"
#include "model.h"
#include "program_state.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace venturon {

class PictureBox;
class TextBox;

// The main window's port, as the enclosure designer takes it.
struct WindowPort {
    double diameter_mm = 0;
    double radius_mm = 0;
    double ports = 1;
    AllowanceSelection allowances;
};

// The enclosure designer: from the driver, the box and the drive level to the
// air velocity in the main window's port across the band, against its core and
// chuffing limits, and to the length of that port which tunes the box. Created
// once at start-up and only hidden, like the other dialogs.
class frmEnclosure : public QDialog {
    Q_OBJECT
public:
    // port() gives the main window's port each time the results are worked out;
    // use_velocities(v) writes velocities at 20, 25, 30 and 35 Hz into the main
    // window as if typed.
    frmEnclosure(ProgramState& program, std::function<WindowPort()> port,
                 std::function<void(const std::array<double, 4>&)> use_velocities,
                 QWidget* parent = nullptr);

    const EnclosureInputs& inputs() const { return inputs_; }
    // Replaces the inputs (read from the file at start-up) and shows them.
    void set_inputs(const EnclosureInputs& inputs);

    // The port air velocity (peak, m/s) at 20, 25, 30 and 35 Hz of the last
    // results; nothing while the inputs have an error.
    const std::optional<std::array<double, 4>>& design_velocities() const { return velocities_; }

    // A field of an input, by its key in the file.
    TextBox* field(EnclosureKey key) const;

    QComboBox* Combo_outer = nullptr;
    QComboBox* Combo_inner = nullptr;
    QComboBox* Combo_flares = nullptr;
    QTabBar* Tab_view = nullptr;    // port velocity, cone excursion
    PictureBox* Picture1 = nullptr; // the graph
    QLabel* Label_velocities = nullptr;
    QLabel* Label_length = nullptr;
    QLabel* Label_problem = nullptr;
    QPushButton* Command_use = nullptr;
    QPushButton* Command_close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private slots:
    void field_Change(int key);
    void choice_Change();
    void Command_use_Click();

private:
    void create_controls();
    void show_inputs();
    void show_units();
    void calculate();
    void show_problem(const QString& text);

    ProgramState& program_;
    std::function<WindowPort()> port_;
    std::function<void(const std::array<double, 4>&)> use_velocities_;
    EnclosureInputs inputs_;
    std::optional<std::array<double, 4>> velocities_;
    std::array<TextBox*, enclosure_key_count> fields_{};
    std::array<QLabel*, enclosure_key_count> captions_{};
    bool showing_inputs_ = false;
    std::vector<std::function<void()>> fitting_; // run when the dialog first shows
};

} // namespace venturon
