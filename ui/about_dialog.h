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
    void Label3_Click();
    void Label5_Click();
    void Label8_Click();
    void Label9_Click();
    void cmdSysInfo_Click();
    void Command1_Click();
    void cmdOK_Click();

private:
    void build_controls();
    void connect_handlers();
    void Form_Load();
    void StartSysInfo();

    ProgramState& state_;
    Interaction& interaction_;
    std::function<void()> re_enable_warnings_;
    std::vector<std::function<void()>> fitting_; // run when the dialog first shows

    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    QWidget* Picture3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    ClickableLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    ClickableLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    ClickableLabel* Label8 = nullptr;
    ClickableLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace venturon
