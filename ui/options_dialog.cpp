#include "options_dialog.h"

#include "allowances.h"
#include "colours.h"
#include "controls.h"
#include "designed_names.h"
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

namespace venturon {

namespace {
namespace name = designed::options;

// An option button in a frame: black, not the frame caption's colour.
QRadioButton* option(QGroupBox* parent, const char* name, const char* caption, QRect at) {
    QRadioButton* b = add_option(parent, name, QString::fromLatin1(caption), at);
    set_fore_colour(b, Qt::black);
    return b;
}

// The three choices of one limit's allowance and their designed names.
struct AllowanceButtons {
    QRadioButton*& masking;
    QRadioButton*& seating;
    QRadioButton*& none;
    const char* masking_name;
    const char* seating_name;
    const char* none_name;
};

// Creates the three choices one under the other from `top` (twips in the frame).
void add_allowance_buttons(QGroupBox* frame, int top, const AllowanceButtons& buttons) {
    buttons.masking =
        option(frame, buttons.masking_name, "Include allowances for seating and masking by content",
               twips(240, top, 5052, 252));
    buttons.seating =
        option(frame, buttons.seating_name, "Include 25% allowance for seating position only",
               twips(240, top + 360, 5052, 252));
    buttons.none = option(frame, buttons.none_name, "None", twips(240, top + 720, 5052, 252));
}
} // namespace

OptionsDialog::OptionsDialog(ProgramState& program, std::function<void()> show_allowances,
                             QWidget* parent)
    : QDialog(parent), program_(program), show_allowances_(std::move(show_allowances)) {
    set_up_dialog(this, QString::fromLatin1(name::dialog), QStringLiteral("Venturon Options"),
                  twips_size(5700, 6324));

    chuffing_frame =
        add_frame(this, name::chuffing_frame,
                  QStringLiteral("When calculating acceptable Boundary Layer turbulence"),
                  twips(120, 120, 5412, 1572));
    add_allowance_buttons(chuffing_frame, 360,
                          {chuffing_masking_option, chuffing_seating_option, chuffing_none_option,
                           name::chuffing_masking_option, name::chuffing_seating_option,
                           name::chuffing_none_option});

    core_frame = add_frame(this, name::core_frame,
                           QStringLiteral("When calculating acceptable Core turbulence"),
                           twips(120, 1800, 5412, 1932));
    compression_warning =
        add_label(core_frame, name::compression_warning,
                  QStringLiteral("Selecting these options can allow port compression to occur"),
                  twips(240, 360, 5052, 372));
    add_allowance_buttons(core_frame, 720,
                          {core_masking_option, core_seating_option, core_none_option,
                           name::core_masking_option, name::core_seating_option,
                           name::core_none_option});

    content_frame =
        add_frame(this, name::content_frame, QStringLiteral("Value of content masking allowance"),
                  twips(120, 3840, 4212, 1332));
    music_option = option(content_frame, name::music_option,
                          "15% for Music ( total allowances 40% )", twips(240, 360, 3852, 252));
    home_theatre_option =
        option(content_frame, name::home_theatre_option,
               "30% for Home Theatre ( total allowances 55% )", twips(240, 720, 3852, 372));

    chart = add_control<PictureBox>(this, name::chart, twips(4440, 3960, 1092, 1212));
    chart->setToolTip(QStringLiteral("Vertical scale=Usable Velocity  Horizontal=Area Ratio of "
                                     "port (Flared CSA / Core CSA)"));

    reminder_caption = add_label(this, name::reminder_caption,
                                 QStringLiteral("Allowances reminder as displayed on main form"),
                                 twips(120, 5400, 4092, 252));
    reminder_caption->setAlignment(Qt::AlignCenter);
    set_fore_colour(reminder_caption, colours::hint);
    // Fitted when the dialog first shows: most runs never open it.
    on_first_show(this, [this] {
        fit_font_group({chuffing_masking_option, chuffing_seating_option, chuffing_none_option,
                        core_masking_option, core_seating_option, core_none_option, music_option,
                        home_theatre_option},
                       8, 22);
        fit_font(compression_warning, compression_warning->text(),
                 music_option->font().pointSizeF());
        fit_font(reminder_caption, reminder_caption->text(), 8);
    });

    reminder_ = AllowanceReminder::create(this, 2520, 5760);

    ok_button =
        add_button(this, name::ok_button, QStringLiteral("&OK"), twips(4440, 5760, 1092, 372));
    ok_button->setDefault(true);

    // Designed selection: chuffing seating and masking, core none, home theatre.
    chuffing_masking_option->setChecked(true);
    core_none_option->setChecked(true);
    home_theatre_option->setChecked(true);

    // Tab order follows the designed tab indexes.
    QWidget* order[] = {core_frame,
                        compression_warning,
                        ok_button,
                        reminder_caption,
                        chart,
                        content_frame,
                        home_theatre_option,
                        music_option,
                        core_none_option,
                        core_seating_option,
                        core_masking_option,
                        chuffing_none_option,
                        chuffing_seating_option,
                        chuffing_masking_option};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // One exclusive group per frame. A click on the button already selected
    // changes nothing on screen but still counts as a change of the options.
    const QList<QList<QRadioButton*>> groups = {
        {chuffing_masking_option, chuffing_seating_option, chuffing_none_option},
        {core_masking_option, core_seating_option, core_none_option},
        {music_option, home_theatre_option}};
    for (const auto& members : groups) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* b : members) {
            group->addButton(b);
            connect(b, &QRadioButton::toggled, this, &OptionsDialog::on_option_toggled);
        }
        connect(group, &QButtonGroup::buttonClicked, this,
                [this] { program_.options_changed = 1; });
    }
    connect(ok_button, &QPushButton::clicked, this, &OptionsDialog::store_choice_and_hide);

    // Load-time layout: placement, chart size, reminder.
    place_on_screen(this, 0.5, 1.0 / 3);
    chart->resize(core_frame->x() + core_frame->width() - chart->x(),
                  content_frame->y() + content_frame->height() - chart->y());
    reminder_.lay_out();
    // The first group's choice has the focus when the dialog opens.
    focus_when_shown(this, [this]() -> QWidget* {
        return chuffing_seating_option->isChecked() ? chuffing_seating_option
               : chuffing_none_option->isChecked()  ? chuffing_none_option
                                                    : chuffing_masking_option;
    });
}

AllowanceSelection OptionsDialog::selection() const {
    AllowanceSelection s;
    s.chuffing = chuffing_masking_option->isChecked()   ? Allowance::seating_and_masking
                 : chuffing_seating_option->isChecked() ? Allowance::seating
                                                        : Allowance::none;
    s.core = core_masking_option->isChecked()   ? Allowance::seating_and_masking
             : core_seating_option->isChecked() ? Allowance::seating
                                                : Allowance::none;
    s.content = music_option->isChecked() ? Content::music : Content::home_theatre;
    return s;
}

void OptionsDialog::select(const AllowanceSelection& s) {
    const auto allowance_button = [](Allowance a, QRadioButton* none, QRadioButton* seat,
                                     QRadioButton* mask) {
        return a == Allowance::seating_and_masking ? mask : a == Allowance::seating ? seat : none;
    };
    allowance_button(s.chuffing, chuffing_none_option, chuffing_seating_option,
                     chuffing_masking_option)
        ->setChecked(true);
    allowance_button(s.core, core_none_option, core_seating_option, core_masking_option)
        ->setChecked(true);
    (s.content == Content::music ? music_option : home_theatre_option)->setChecked(true);
}

void OptionsDialog::on_option_toggled(bool checked) {
    if (!checked) {
        return;
    }
    program_.options_changed = 1;
    show_allowances_();
}

void OptionsDialog::store_choice_and_hide() {
    program_.allowance_texts = stored_allowance_texts(selection());
    hide();
}

// The title-bar button (through QDialog's close handling) and Escape close the
// dialog the way OK does: the choice is stored and the dialog only hidden, so it
// keeps its buttons and the displays stay true to them. The close is accepted,
// so quitting the program is never held up by it.
void OptionsDialog::reject() {
    store_choice_and_hide();
}

} // namespace venturon
