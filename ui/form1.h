#pragma once

#include "allowance_reminder.h"
#include "calculation.h"
#include "frm_about.h"
#include "frm_dia_warning.h"
#include "frm_enclosure.h"
#include "frm_options.h"
#include "frm_units.h"
#include "program_state.h"

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
struct Form1State {
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

class Form1 : public QWidget {
    Q_OBJECT
public:
    // settings_directory: where venturon.ini is read and written.
    Form1(ProgramState& program, Interaction& interaction, QString settings_directory,
          QWidget* parent = nullptr);
    ~Form1() override;

    const Form1State& state() const { return s_; }
    ProgramState& program() { return program_; }

    frmDiaWarning* diameter_warning() const { return frmDiaWarning_; }
    frmOptions* options() const { return frmOptions_; }
    frmUnits* units() const { return frmUnits_; }
    frmEnclosure* enclosure() const { return frmEnclosure_; }
    frmAbout* about() const { return frmAbout_; }
    AllowanceReminder& reminder() { return reminder_; }

    // The allowance choice in force: the options dialog's buttons.
    AllowanceSelection current_allowances() const;

    // The Calculate command.
    void calculate_command() { Command1_Click(); }

    // Whether closing writes the settings file (a timing run must not change it).
    void set_saves_settings(bool saves) { saves_settings_ = saves; }

    // Controls, named as designed.
    QLabel* Label1 = nullptr;
    TextBox* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    TextBox* Text2 = nullptr;
    QLabel* Label12 = nullptr;
    TextBox* Text10 = nullptr;
    ClickableLabel* Label14 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    TextBox* Text6 = nullptr;
    TextBox* Text7 = nullptr;
    TextBox* Text8 = nullptr;
    TextBox* Text9 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QButtonGroup* mode_group = nullptr; // Option1, Option2
    CommandButton* Command1 = nullptr;
    QCheckBox* Check1 = nullptr;
    ClickableLabel* Label3 = nullptr;
    ClickableLabel* Label_mode = nullptr;
    ClickableLabel* Label13 = nullptr;
    ClickableLabel* Label_enclosure = nullptr; // opens the enclosure designer
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    PictureBox* Picture3 = nullptr;
    QLabel* Label9 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Text1_Change();
    void Text1_KeyPress();
    void Text1_LostFocus();
    void Text2_Change();
    void Text2_KeyPress();
    void Text2_LostFocus();
    void velocity_Change(int index);
    void velocity_LostFocus(int index);
    void Text10_Change();
    void Text10_KeyPress();
    void Check1_Click(bool checked);
    void Option1_Click(bool checked);
    void Option2_Click(bool checked);
    void Command1_Click();
    void Command1_PressAbandoned();
    void Command2_Click();
    void Command3_Click();
    void Picture3_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x,
                            double y);
    void Label3_Click();
    void Label13_Click();
    void Label14_Click();
    void Label_enclosure_Click();
    void Label_mode_Click();

private:
    void create_controls();
    void describe_controls();
    void connect_handlers();
    void add_quit_shortcut(QWidget* window);
    void form_load();
    void form_unload();

    void drawfreq();
    void show_clicked_velocities();
    void checklock();
    void populatedia();
    void populaterad();
    void validatedia();
    void validaterad();
    double read_length(const QLineEdit* field);
    // In form1_settings.cpp: the settings file mapped to and from the controls.
    void load_settings();
    void save_settings(); // venturon.ini and venturon-enclosure.ini, as one pair
    void load_enclosure_inputs();
    void use_velocities(const std::array<double, 4>& velocities);

    void show_velocity_used(std::size_t index);
    void mark_stale(QWidget* field);
    void set_status(const QString& caption, const QColor& background);
    void show_limits_message(const QString& text);
    void set_hint_colour(const QColor& colour);
    void re_enable_warnings();
    std::array<TextBox*, 4> velocity_fields() const { return {Text6, Text7, Text8, Text9}; }
    CalculationInput calculation_input() const;
    bool full_mode() const { return program_.display_mode == DisplayMode::full; }

    ProgramState& program_;
    Interaction& interaction_;
    QString settings_directory_;
    Form1State s_;
    bool closed_ = false;
    bool saves_settings_ = true;

    QPointer<frmDiaWarning> frmDiaWarning_;
    QPointer<frmAbout> frmAbout_;
    QPointer<frmOptions> frmOptions_;
    QPointer<frmUnits> frmUnits_;
    QPointer<frmEnclosure> frmEnclosure_;
    AllowanceReminder reminder_;
};

} // namespace venturon
