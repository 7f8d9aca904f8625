#pragma once

#include "enclosure.h"
#include "enclosure_inputs.h"
#include "model.h"
#include "plot.h"
#include "program_state.h"

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
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
    double radius_mm = 0; // as cut: a computed minimum a display step up
    double ports = 1;
    AllowanceSelection allowances;
    bool minimum_radius = false; // the radius is the minimum worked out
};

// The enclosure designer: from the driver, the box and the drive level to the
// air velocity in the main window's port across the band, against its core and
// chuffing limits, and to the length of that port which tunes the box. Its fields
// come from the inputs' rows; lengths, volumes and areas show in the units mode.
class EnclosureDesigner : public QDialog {
    Q_OBJECT
public:
    // port() gives the main window's port each time the results are worked out;
    // use_velocities(v) writes velocities at 20, 25, 30 and 35 Hz into the main
    // window as if typed.
    EnclosureDesigner(ProgramState& program, std::function<WindowPort()> port,
                      std::function<void(const std::array<double, 4>&)> use_velocities,
                      QWidget* parent = nullptr);

    const EnclosureInputs& inputs() const { return inputs_; }
    // Replaces the inputs (read from the file at start-up) and shows them.
    void set_inputs(const EnclosureInputs& inputs);

    // The port air velocity (peak, m/s) at 20, 25, 30 and 35 Hz of the last
    // results; nothing while the inputs have an error.
    const std::optional<std::array<double, 4>>& design_velocities() const { return velocities_; }

    // Works the results out again for the main window's port as it is now (when
    // the designer is on screen).
    void refresh();
    // Shows the fields and results again in the units mode of now.
    void units_changed();

    // The field of one of the inputs file's numbers, and the message beside it;
    // the other controls go by their object names ("Combo_outer", "Tab_view",
    // "Picture1", "Label_velocities", "Command_use", ...).
    TextBox* field(Field field) const;
    QLabel* field_message(Field field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    struct FieldControls {
        QLabel* caption = nullptr;
        TextBox* text = nullptr;
        QLabel* message = nullptr;
    };

    void create_controls();
    QWidget* create_inputs();
    void add_field(QGroupBox* frame, QGridLayout* grid, const InputRow& row, std::size_t place);
    QGroupBox* create_port_ends(QWidget* panel);
    QWidget* create_results();
    void show_inputs();
    void show_units();
    void read_field(Field field);
    void read_choices();
    void calculate();
    void show_errors(const std::optional<InputError>& error);
    void show_velocities(int ports);
    void draw_graph();
    void point_at(double frequency);
    void use_velocities();
    void show_drive_equivalent();

    ProgramState& program_;
    std::function<WindowPort()> port_;
    std::function<void(const std::array<double, 4>&)> use_velocities_;
    EnclosureInputs inputs_;
    std::optional<std::array<double, 4>> velocities_;
    std::optional<SolvedEnclosure> model_; // of the last good results, and their port
    WindowPort shown_port_;
    // Texts that are no value (not a number, not a length), by field.
    std::map<Field, QString> unreadable_;
    std::array<FieldControls, file_number_count> fields_{};
    bool showing_inputs_ = false;

    // The port ends' choices, in the order of choice_rows.
    std::array<QComboBox*, choice_rows.size()> choices_{};
    // What the results say: the port, its velocities, its length, warnings, and a
    // problem of the main window's port.
    QLabel *port_text_ = nullptr, *velocities_text_ = nullptr, *length_text_ = nullptr;
    QLabel *warnings_text_ = nullptr, *problem_text_ = nullptr;
    QTabBar* view_tabs_ = nullptr;
    PictureBox* graph_ = nullptr;
    QLabel* readout_ = nullptr;
    PlotSpec spec_; // of the view shown
    PlotLayout layout_;
    std::optional<double> cursor_hz_; // the read-out's frequency
    QPushButton *use_button_ = nullptr, *close_button_ = nullptr;
};

} // namespace venturon
