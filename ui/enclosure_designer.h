#pragma once

#include "design_file.h"
#include "enclosure.h"
#include "enclosure_graph.h"
#include "enclosure_inputs.h"
#include "filters.h"
#include "model.h"
#include "plot.h"
#include "program_state.h"
#include "reference_designs.h"
#include "slot_port.h"

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabBar;
class QToolButton;

namespace venturon {

class BoxSuggestionDialog;
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

// A design worked out: the model and what its ports' limits are taken with, or
// the input that stops it.
struct DesignResult {
    std::optional<InputError> error;
    std::optional<EnclosureInput> input;
    std::optional<SolvedEnclosure> model;
    std::optional<SlotPort> slot; // the ports are slots
    PortLimitSettings limits;
};

// The design of the inputs with the main window's port (or the inputs' slots).
DesignResult solve_design(const EnclosureInputs& inputs, const WindowPort& port);

// The enclosure designer: from the driver, the box, the drive and its high-pass
// filters to six views of the design against frequency (SPL, the largest SPL
// before the cone, the coil, the amplifier or the port gives, the port's air
// velocity against its limits, the excursion, the impedance and the group
// delay), the figures at the four design frequencies and the length of port that
// tunes the box: the main window's round port, or slots of its own. Its fields
// come from the inputs' rows; lengths, volumes and areas show in the units mode.
// Up to three designs can be kept beside it to compare with.
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

    // What a file action asks the user for: a driver file or a design to open, or
    // where to save the design; an empty answer is a cancel. The dialogs by default.
    enum class FileChoice { driver, open_design, save_design };
    using FileChooser = std::function<QString(FileChoice choice, const QString& start)>;
    void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
    // Where the recent designs' list lives (the settings folder), and what takes an
    // opened design's port (the main window).
    void set_settings_directory(const QString& directory) { settings_directory_ = directory; }
    void set_design_port_taker(std::function<void(const DesignPort&)> take) {
        take_port_ = std::move(take);
    }
    // The file actions, as the buttons and the recent designs' menu run them.
    void open_driver();
    void open_design(const QString& path = {});
    void save_design();
    void suggest_box();
    const DriverIdentity& identity() const { return identity_; }

    const std::vector<ReferenceInputs>& references() const { return references_; }
    void set_references(const std::vector<ReferenceInputs>& references);

    // The port air velocity (peak, m/s) at 20, 25, 30 and 35 Hz of the last
    // results; nothing while the inputs have an error.
    const std::optional<std::array<double, 4>>& design_velocities() const { return velocities_; }
    // What the graphs show now.
    const DesignerGraphInput& graph_input() const { return graph_input_; }

    // Works the results out again for the main window's port as it is now (when
    // the designer is on screen).
    void refresh();
    // Shows the fields and results again in the units mode of now.
    void units_changed();

    // The field of one of the inputs file's numbers (the slot's too) and the
    // message beside it; the other controls go by their object names
    // ("Combo_shape", "Text_highpass_1", "Tab_view", "Picture1", "Command_use",
    // "Command_keep", ...).
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
    QWidget* create_file_bar();
    void show_recent_designs();
    void show_identity();
    void show_file_text(const QString& text, bool problem);
    QString ask_for_file(FileChoice choice);
    QWidget* create_inputs();
    FieldControls add_field(QWidget* frame, QGridLayout* grid, const QString& name, int line,
                            int col);
    void add_number(QWidget* frame, QGridLayout* grid, const InputRow& row, std::size_t place,
                    std::size_t per_column);
    QGroupBox* create_filters(QWidget* panel);
    QGroupBox* create_port(QWidget* panel);
    QWidget* create_results();
    QWidget* create_graph_bar(QWidget* panel);
    QWidget* create_table(QWidget* panel);
    QWidget* create_references(QWidget* panel);
    void show_inputs();
    void show_units();
    void read_field(Field field);
    void read_filter(std::size_t stage);
    void read_choices();
    void calculate();
    void show_errors(const std::optional<InputError>& error);
    void show_port(const WindowPort& port, const DesignResult& design);
    void show_velocities(int ports);
    void show_table(const DesignResult& design);
    void show_length(const DesignResult& design, const WindowPort& port);
    void draw_graph();
    void fit_words();
    void point_at(double frequency);
    void use_velocities();
    void show_drive_equivalent();
    void keep_reference();
    void show_references();
    void update_reference_curves();

    ProgramState& program_;
    std::function<WindowPort()> port_;
    std::function<void(const std::array<double, 4>&)> use_velocities_;
    EnclosureInputs inputs_;
    std::optional<std::array<double, 4>> velocities_;
    std::optional<DesignResult> design_; // of the last good results
    WindowPort shown_port_;
    // Texts that are no value (not a number, not a length), by field; and the
    // filters' texts that do not follow their grammar, by stage.
    std::map<Field, QString> unreadable_;
    std::array<QString, max_filter_stages> unreadable_filters_;
    std::array<FieldControls, input_rows.size()> fields_{};
    std::array<FieldControls, max_filter_stages> filters_{};
    bool showing_inputs_ = false;

    // The port ends' choices, in the order of choice_rows (the shape's last).
    std::array<QComboBox*, choice_rows.size()> choices_{};
    QGroupBox* slot_frame_ = nullptr;
    // What the results say.
    QLabel *port_text_ = nullptr, *velocities_text_ = nullptr, *length_text_ = nullptr;
    QLabel *warnings_text_ = nullptr, *problem_text_ = nullptr, *summary_text_ = nullptr;
    QLabel* use_reason_ = nullptr;
    // The figures at the design frequencies: a header row, then one row each.
    std::array<std::array<QLabel*, 6>, 5> table_{};
    QTabBar* view_tabs_ = nullptr;
    QSpinBox *from_hz_ = nullptr, *to_hz_ = nullptr;
    PictureBox* graph_ = nullptr;
    QScrollArea* results_scroll_ = nullptr;
    QLabel* readout_ = nullptr;
    DesignerGraphInput graph_input_;
    PlotSpec spec_; // of the view shown
    PlotLayout layout_;
    std::optional<double> cursor_hz_; // the read-out's frequency

    FileChooser choose_file_;
    QString settings_directory_;
    std::function<void(const DesignPort&)> take_port_;
    DriverIdentity identity_; // of the driver file or design the inputs came from
    QLabel *identity_text_ = nullptr, *file_text_ = nullptr;
    QPushButton *open_design_button_ = nullptr, *suggest_button_ = nullptr;
    BoxSuggestionDialog* suggestions_ = nullptr; // made when first asked for
    QMenu* recent_menu_ = nullptr;

    std::vector<ReferenceInputs> references_;
    std::vector<ReferenceDesign> reference_curves_; // as references_, at the graphs' span
    QHBoxLayout* references_row_ = nullptr;
    QWidget* references_box_ = nullptr;
    QPushButton *keep_button_ = nullptr, *use_button_ = nullptr, *close_button_ = nullptr;
};

} // namespace venturon
