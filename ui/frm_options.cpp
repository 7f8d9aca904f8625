#include "frm_options.h"

#include "allowances.h"
#include "picture_box.h"
#include "widgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace venturon {

namespace {
const QColor caption_blue(55, 106, 240);
const QColor warning_red(192, 0, 0);

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, QRect at) {
    auto* box = new QGroupBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(at);
    set_fore_colour(box, caption_blue);
    return box;
}

QRadioButton* option(QGroupBox* parent, const char* name, const char* caption, QRect at) {
    auto* b = new QRadioButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(at);
    set_fore_colour(b, Qt::black);
    return b;
}
} // namespace

frmOptions::frmOptions(ProgramState& program, std::function<void()> show_allowances,
                       QWidget* parent)
    : QDialog(parent), program_(program), show_allowances_(std::move(show_allowances)) {
    set_up_dialog(this, QStringLiteral("frmOptions"), QStringLiteral("Venturon Options"),
                  QSize(px(5700), px(6324)));

    Frame2 = frame(this, "Frame2", "When calculating acceptable Boundary Layer turbulence",
                   twips(120, 120, 5412, 1572));
    Option_chuff_mask =
        option(Frame2, "Option_chuff_mask", "Include allowances for seating and masking by content",
               twips(240, 360, 5052, 252));
    Option_chuff_seat =
        option(Frame2, "Option_chuff_seat", "Include 25% allowance for seating position only",
               twips(240, 720, 5052, 252));
    Option_chuff_none = option(Frame2, "Option_chuff_none", "None", twips(240, 1080, 5052, 252));

    Frame1 = frame(this, "Frame1", "When calculating acceptable Core turbulence",
                   twips(120, 1800, 5412, 1932));
    Label1 = new QLabel(
        QStringLiteral("Selecting these options can allow port compression to occur"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips(240, 360, 5052, 372));
    Option_core_mask =
        option(Frame1, "Option_core_mask", "Include allowances for seating and masking by content",
               twips(240, 720, 5052, 252));
    Option_core_seat =
        option(Frame1, "Option_core_seat", "Include 25% allowance for seating position only",
               twips(240, 1080, 5052, 252));
    Option_core_none = option(Frame1, "Option_core_none", "None", twips(240, 1440, 5052, 252));

    Frame3 =
        frame(this, "Frame3", "Value of content masking allowance", twips(120, 3840, 4212, 1332));
    Option1 = option(Frame3, "Option1", "15% for Music ( total allowances 40% )",
                     twips(240, 360, 3852, 252));
    Option2 = option(Frame3, "Option2", "30% for Home Theatre ( total allowances 55% )",
                     twips(240, 720, 3852, 372));

    fit_font_group({Option_chuff_mask, Option_chuff_seat, Option_chuff_none, Option_core_mask,
                    Option_core_seat, Option_core_none, Option1, Option2},
                   8, 22);
    fit_font(Label1, Label1->text(), Option1->font().pointSizeF());

    Picture1 = new PictureBox(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twips(4440, 3960, 1092, 1212));
    Picture1->setToolTip(QStringLiteral("Vertical scale=Usable Velocity  Horizontal=Area Ratio of "
                                        "port (Flared CSA / Core CSA)"));

    Label6 = new QLabel(QStringLiteral("Allowances reminder as displayed on main form"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(twips(120, 5400, 4092, 252));
    Label6->setAlignment(Qt::AlignCenter);
    set_fore_colour(Label6, caption_blue);
    fit_font(Label6, Label6->text(), 8);

    reminder_ = AllowanceReminder::create(this, 2520, 5760);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(4440, 5760, 1092, 372));
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
            connect(b, &QRadioButton::toggled, this, &frmOptions::option_Click);
        }
        connect(group, &QButtonGroup::buttonClicked, this,
                [this] { program_.options_changed = 1; });
    }
    connect(Command1, &QPushButton::clicked, this, &frmOptions::Command1_Click);

    // Load-time layout: placement, chart size, reminder.
    place_on_screen(this, 0.5, 1.0 / 3);
    Picture1->resize(Frame1->x() + Frame1->width() - Picture1->x(),
                     Frame3->y() + Frame3->height() - Picture1->y());
    reminder_.lay_out();
}

AllowanceSelection frmOptions::selection() const {
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

void frmOptions::option_Click(bool checked) {
    if (!checked) {
        return;
    }
    program_.options_changed = 1;
    show_allowances_();
}

void frmOptions::Command1_Click() {
    const StoredAllowances texts = stored_allowance_texts(selection());
    program_.boundary_mask = QString::fromStdString(texts.boundary_mask);
    program_.boundary_seat = QString::fromStdString(texts.boundary_seat);
    program_.core_mask = QString::fromStdString(texts.core_mask);
    program_.core_seat = QString::fromStdString(texts.core_seat);
    program_.content_type = QString::fromStdString(texts.content_type);
    hide();
}

// The title-bar button (through QDialog's close handling) and Escape close the
// dialog the way OK does: the choice is stored and the dialog only hidden, so it
// keeps its buttons and the displays stay true to them. The close is accepted,
// so quitting the program is never held up by it.
void frmOptions::reject() {
    Command1_Click();
}

void draw_allowance_chart(Drawing& chart, const AllowanceSelection& selection) {
    const QColor grid(199, 207, 237);
    const QColor grey(96, 96, 96);
    chart.set_scale(60, 100);
    chart.clear();
    chart.set_pen_width(1);
    for (double y : {20.0, 25.0, 30.0, 38.0}) {
        chart.line(0, y, 100, y, grid);
    }
    for (double x : {20.0, 30.0, 40.0, 52.0}) {
        chart.line(0, 100, x, 0, grid);
    }
    const KneePoint knee = chart_knee(selection);
    chart.set_pen_width(2);
    chart.line(0, 100, knee.x, knee.y, selection.chuffing == Allowance::none ? grey : caption_blue);
    chart.line(knee.x, knee.y, 100, knee.y, selection.core == Allowance::none ? grey : warning_red);
}

void show_allowances(frmOptions& options, AllowanceReminder& main_reminder) {
    const AllowanceSelection selection = options.selection();
    options.reminder().show_chuffing(selection);
    main_reminder.show_chuffing(selection);
    options.reminder().show_core(selection);
    main_reminder.show_core(selection);
    set_fore_colour(options.Label1, selection.core == Allowance::none ? caption_blue : warning_red);
    const bool masking = selection.chuffing == Allowance::seating_and_masking ||
                         selection.core == Allowance::seating_and_masking;
    options.Frame3->setEnabled(masking);
    options.Option1->setEnabled(masking);
    options.Option2->setEnabled(masking);
    draw_allowance_chart(options.Picture1->drawing(), selection);
    options.Picture1->refresh();
}

} // namespace venturon
