#pragma once

#include "about_dialog.h"
#include "allowance_reminder.h"
#include "calculation.h"
#include "diameter_warning_dialog.h"
#include "enclosure_designer.h"
#include "options_dialog.h"
#include "program_state.h"
#include "units_dialog.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace venturon {

class ClickableLabel;
class CommandButton;
class Interaction;
class PictureBox;
class TextBox;

// The main window's own values. Arrays hold one value per design frequency, in
// the order 20, 25, 30, 35 Hz.
struct MainWindowState {
    double diameter_mm = 0; // port internal diameter
    double radius_mm = 0;   // flare radius
    std::array<double, 4> required_v{};
    std::array<double, 4> core_limit{};
    std::array<double, 4> chuff_limit{};
    std::array<double, 4> min_radius{};
    double core_excess = 0;
    double chuff_excess = 0;
    double flare_area_ratio = 0;
    QString port_word;
    float clicked_frequency = 0; // Hz, shown in the status line
    double status_core = 0;      // limits at clicked_frequency, unrounded
    double status_chuff = 0;
    double top_velocity_label = 0;
    double graph_max_velocity = 0;
    // Cruise-control reference
    double lock_diameter_mm = 0;
    double lock_ports = 0;
    std::array<double, 4> lock_v{};
    double lock_scale = 0;
    int loading_settings = 0;
    QString settings_path;
    bool diameter_changed = false;
    bool radius_changed = false;
    // A length field was left for the Calculate button without being read: the
    // click reads it, or else the button's press ends without one and reads it.
    bool validation_deferred = false;
    // Why the last length validation failed (the imperial reader's message);
    // empty when it succeeded.
    QString conv_error;
};

// The window's controls are private: tests and screen readers find each by its
// designed name (designed_names.h), its objectName.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // settings_directory: where venturon.ini is read and written.
    MainWindow(ProgramState& program, Interaction& interaction, QString settings_directory,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainWindowState& state() const { return s_; }
    ProgramState& program() { return program_; }

    DiameterWarningDialog* diameter_warning() const { return diameter_warning_; }
    OptionsDialog* options() const { return options_; }
    UnitsDialog* units() const { return units_; }
    // The enclosure designer, once it has been opened; nothing before.
    EnclosureDesigner* enclosure() const { return enclosure_; }
    // Its inputs: the designer's, or those read at start-up while it is not open.
    const EnclosureInputs& enclosure_inputs() const;
    const std::vector<ReferenceInputs>& enclosure_references() const;
    AboutDialog* about() const { return about_; }
    AllowanceReminder& reminder() { return reminder_; }

    // The allowance choice in force: the options dialog's buttons.
    AllowanceSelection current_allowances() const;

    // What the Calculate button, Enter in a field and every change of mode or
    // radius step run: validate, calculate, draw and give the verdict.
    void calculate_command();

    // Whether closing writes the settings file (a timing run must not change it).
    void set_saves_settings(bool saves) { saves_settings_ = saves; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_diameter_edited();
    void on_diameter_left();
    void on_radius_edited();
    void on_radius_left();
    void on_velocity_edited(int index);
    void on_velocity_left(int index);
    void on_port_count_edited();
    void on_cruise_control_toggled(bool checked);
    void on_minimum_mode_toggled(bool checked);
    void on_manual_mode_toggled(bool checked);
    void on_calculate_press_abandoned();
    void increase_radius();
    void decrease_radius();
    void on_graph_clicked(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void open_options();
    void open_about();
    void open_units();
    void open_enclosure_designer();
    void switch_display_mode();

private:
    void create_controls();
    void describe_controls();
    void connect_handlers();
    void add_quit_shortcut(QWidget* window);
    void start_up();
    void shut_down();

    void drawfreq();
    void show_clicked_velocities();
    void checklock();
    void populatedia();
    void populaterad();
    void validatedia();
    void validaterad();
    double read_length(const QLineEdit* field);
    // In main_window_settings.cpp: the settings file mapped to and from the controls.
    void load_settings();
    void save_settings(); // venturon.ini and venturon-enclosure.ini, as one pair
    void load_enclosure_inputs();
    WindowPort window_port() const;
    void port_changed();
    void use_velocities(const std::array<double, 4>& velocities);
    void apply_design_port(const DesignPort& port);

    void show_velocity_used(std::size_t index);
    void mark_stale(QWidget* field);
    void set_status(const QString& caption, const QColor& background);
    void show_limits_message(const QString& text);
    void set_hint_colour(const QColor& colour);
    void re_enable_warnings();
    CalculationInput calculation_input() const;
    bool full_mode() const { return program_.display_mode == DisplayMode::full; }

    ProgramState& program_;
    Interaction& interaction_;
    QString settings_directory_;
    MainWindowState s_;
    bool closed_ = false;
    bool saves_settings_ = true;

    QLabel* diameter_caption = nullptr;
    TextBox* diameter_field = nullptr;
    QLabel* radius_caption = nullptr;
    TextBox* radius_field = nullptr;
    QLabel* port_count_caption = nullptr;
    TextBox* port_count_field = nullptr;
    ClickableLabel* units_link = nullptr;
    QPushButton* radius_down_button = nullptr;
    QPushButton* radius_up_button = nullptr;
    QLabel* velocities_caption = nullptr;
    std::array<QLabel*, 4> velocity_captions{};
    std::array<TextBox*, 4> velocity_fields{};
    QRadioButton* minimum_mode_option = nullptr;
    QRadioButton* manual_mode_option = nullptr;
    QButtonGroup* radius_mode_group = nullptr;
    CommandButton* calculate_button = nullptr;
    QCheckBox* cruise_control_check = nullptr;
    ClickableLabel* options_link = nullptr;
    ClickableLabel* mode_link = nullptr;
    ClickableLabel* about_link = nullptr;
    ClickableLabel* enclosure_link = nullptr;
    QLabel* simple_mode_caption = nullptr;
    QLabel* graph_hint = nullptr;
    PictureBox* graph = nullptr;
    QLabel* status_line = nullptr;

    QPointer<DiameterWarningDialog> diameter_warning_;
    QPointer<AboutDialog> about_;
    QPointer<OptionsDialog> options_;
    QPointer<UnitsDialog> units_;
    QPointer<EnclosureDesigner> enclosure_;
    EnclosureInputs enclosure_inputs_; // read at start-up
    std::vector<ReferenceInputs> enclosure_references_;
    AllowanceReminder reminder_;
};

} // namespace venturon
