#pragma once

#include "interaction.h"
#include "program_state.h"

#include <QDialog>

#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace venturon {

class ClickableLabel;

// The about box: version and credits, the measuring graphic, the feedback and
// web links, the system information launcher and "Re-enable Warnings". Created
// once when the main window starts and afterwards only shown and hidden, so the
// panel showing is kept between openings.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // re_enable_warnings unticks the diameter warning's "Don't warn me again" and
    // turns the main window's hints blue again; the dialog then confirms.
    AboutDialog(ProgramState& state, Interaction& interaction,
                std::function<void()> re_enable_warnings, QWidget* parent = nullptr);

    // Escape and the title bar's close button do what OK does: hide.
    void reject() override;

private slots:
    void show_graphic();
    void show_texts();
    void send_feedback();
    void open_web_page();
    void start_system_information();
    void re_enable_warnings();

private:
    void build_controls();
    void connect_handlers();
    void finish_loading();

    ProgramState& state_;
    Interaction& interaction_;
    std::function<void()> re_enable_warnings_;
    std::vector<std::function<void()>> fitting_; // run when the dialog first shows

    QFrame* about_panel = nullptr;
    QFrame* graphic_panel = nullptr;
    QWidget* port_photograph = nullptr;
    QWidget* strip = nullptr;
    QWidget* cross_section = nullptr;
    QLabel* version_line = nullptr;
    QLabel* theory_note = nullptr;
    ClickableLabel* show_graphic_link = nullptr;
    QLabel* free_software_note = nullptr;
    ClickableLabel* return_link = nullptr;
    QLabel* credit_line = nullptr;
    QLabel* feedback_note = nullptr;
    ClickableLabel *email_link = nullptr, *web_link = nullptr;
    QLabel* graphic_heading = nullptr;
    QPushButton *system_info_button = nullptr, *re_enable_warnings_button = nullptr,
                *ok_button = nullptr;
};

} // namespace venturon
