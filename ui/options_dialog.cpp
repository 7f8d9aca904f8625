#include "options_dialog.h"

#include "allowances.h"
#include "colours.h"
#include "controls.h"
#include "font_fitting.h"
#include "palette.h"
#include "picture_box.h"
#include "twips.h"
#include "window_setup.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <string>

namespace venturon {

namespace {
// An option button in a frame: black, not the frame caption's colour.
QRadioButton* option(QGroupBox* parent, const std::string& name, const char* caption, QRect at) {
    QRadioButton* b = add_option(parent, name.c_str(), QString::fromLatin1(caption), at);
    set_fore_colour(b, Qt::black);
    return b;
}

// The three choices of one limit's allowance (Option_<limit>_mask, _seat, _none),
// one under the other from `top` (twips in the frame).
void add_allowance_buttons(QGroupBox* frame, const char* limit, int top, QRadioButton*& mask,
                           QRadioButton*& seat, QRadioButton*& none) {
    const std::string stem = std::string("Option_") + limit;
    mask = option(frame, stem + "_mask", "Include allowances for seating and masking by content",
                  twips(240, top, 5052, 252));
    seat = option(frame, stem + "_seat", "Include 25% allowance for seating position only",
                  twips(240, top + 360, 5052, 252));
    none = option(frame, stem + "_none", "None", twips(240, top + 720, 5052, 252));
}
} // namespace

OptionsDialog::OptionsDialog(ProgramState& program, std::function<void()> show_allowances,
                             QWidget* parent)
    : QDialog(parent), program_(program), show_allowances_(std::move(show_allowances)) {
    set_up_dialog(this, QStringLiteral("frmOptions"), QStringLiteral("Venturon Options"),
                  twips_size(5700, 6324));

    Frame2 = add_frame(this, "Frame2",
                       QStringLiteral("When calculating acceptable Boundary Layer turbulence"),
                       twips(120, 120, 5412, 1572));
    add_allowance_buttons(Frame2, "chuff", 360, Option_chuff_mask, Option_chuff_seat,
                          Option_chuff_none);

    Frame1 =
        add_frame(this, "Frame1", QStringLiteral("When calculating acceptable Core turbulence"),
                  twips(120, 1800, 5412, 1932));
    Label1 =
        add_label(Frame1, "Label1",
                  QStringLiteral("Selecting these options can allow port compression to occur"),
                  twips(240, 360, 5052, 372));
    add_allowance_buttons(Frame1, "core", 720, Option_core_mask, Option_core_seat,
                          Option_core_none);

    Frame3 = add_frame(this, "Frame3", QStringLiteral("Value of content masking allowance"),
                       twips(120, 3840, 4212, 1332));
    Option1 = option(Frame3, "Option1", "15% for Music ( total allowances 40% )",
                     twips(240, 360, 3852, 252));
    Option2 = option(Frame3, "Option2", "30% for Home Theatre ( total allowances 55% )",
                     twips(240, 720, 3852, 372));

    Picture1 = add_control<PictureBox>(this, "Picture1", twips(4440, 3960, 1092, 1212));
    Picture1->setToolTip(QStringLiteral("Vertical scale=Usable Velocity  Horizontal=Area Ratio of "
                                        "port (Flared CSA / Core CSA)"));

    Label6 =
        add_label(this, "Label6", QStringLiteral("Allowances reminder as displayed on main form"),
                  twips(120, 5400, 4092, 252));
    Label6->setAlignment(Qt::AlignCenter);
    set_fore_colour(Label6, colours::hint);
    // Fitted when the dialog first shows: most runs never open it.
    on_first_show(this, [this] {
        fit_font_group({Option_chuff_mask, Option_chuff_seat, Option_chuff_none, Option_core_mask,
                        Option_core_seat, Option_core_none, Option1, Option2},
                       8, 22);
        fit_font(Label1, Label1->text(), Option1->font().pointSizeF());
        fit_font(Label6, Label6->text(), 8);
    });

    reminder_ = AllowanceReminder::create(this, 2520, 5760);

    Command1 = add_button(this, "Command1", QStringLiteral("&OK"), twips(4440, 5760, 1092, 372));
    Command1->setDefault(true);

    // Designed selection: chuffing seating and masking, core none, home theatre.
    Option_chuff_mask->setChecked(true);
    Option_core_none->setChecked(true);
    Option2->setChecked(true);

    // Tab order follows the designed tab indexes.
    QWidget* order[] = {Frame1,
                        Label1,
                        Command1,
                        Label6,
                        Picture1,
                        Frame3,
                        Option2,
                        Option1,
                        Option_core_none,
                        Option_core_seat,
                        Option_core_mask,
                        Option_chuff_none,
                        Option_chuff_seat,
                        Option_chuff_mask};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // One exclusive group per frame. A click on the button already selected
    // changes nothing on screen but still counts as a change of the options.
    const QList<QList<QRadioButton*>> groups = {
        {Option_chuff_mask, Option_chuff_seat, Option_chuff_none},
        {Option_core_mask, Option_core_seat, Option_core_none},
        {Option1, Option2}};
    for (const auto& members : groups) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* b : members) {
            group->addButton(b);
            connect(b, &QRadioButton::toggled, this, &OptionsDialog::option_Click);
        }
        connect(group, &QButtonGroup::buttonClicked, this,
                [this] { program_.options_changed = 1; });
    }
    connect(Command1, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);

    // Load-time layout: placement, chart size, reminder.
    place_on_screen(this, 0.5, 1.0 / 3);
    Picture1->resize(Frame1->x() + Frame1->width() - Picture1->x(),
                     Frame3->y() + Frame3->height() - Picture1->y());
    reminder_.lay_out();
    // The first group's choice has the focus when the dialog opens.
    focus_when_shown(this, [this]() -> QWidget* {
        return Option_chuff_seat->isChecked()   ? Option_chuff_seat
               : Option_chuff_none->isChecked() ? Option_chuff_none
                                                : Option_chuff_mask;
    });
}

AllowanceSelection OptionsDialog::selection() const {
    AllowanceSelection s;
    s.chuffing = Option_chuff_mask->isChecked()   ? Allowance::seating_and_masking
                 : Option_chuff_seat->isChecked() ? Allowance::seating
                                                  : Allowance::none;
    s.core = Option_core_mask->isChecked()   ? Allowance::seating_and_masking
             : Option_core_seat->isChecked() ? Allowance::seating
                                             : Allowance::none;
    s.content = Option1->isChecked() ? Content::music : Content::home_theatre;
    return s;
}

void OptionsDialog::select(const AllowanceSelection& s) {
    const auto allowance_button = [](Allowance a, QRadioButton* none, QRadioButton* seat,
                                     QRadioButton* mask) {
        return a == Allowance::seating_and_masking ? mask : a == Allowance::seating ? seat : none;
    };
    allowance_button(s.chuffing, Option_chuff_none, Option_chuff_seat, Option_chuff_mask)
        ->setChecked(true);
    allowance_button(s.core, Option_core_none, Option_core_seat, Option_core_mask)
        ->setChecked(true);
    (s.content == Content::music ? Option1 : Option2)->setChecked(true);
}

void OptionsDialog::option_Click(bool checked) {
    if (!checked) {
        return;
    }
    program_.options_changed = 1;
    show_allowances_();
}

void OptionsDialog::Command1_Click() {
    program_.allowance_texts = stored_allowance_texts(selection());
    hide();
}

// The title-bar button (through QDialog's close handling) and Escape close the
// dialog the way OK does: the choice is stored and the dialog only hidden, so it
// keeps its buttons and the displays stay true to them. The close is accepted,
// so quitting the program is never held up by it.
void OptionsDialog::reject() {
    Command1_Click();
}

} // namespace venturon
