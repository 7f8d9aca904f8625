#include "allowance_display.h"

#include "allowance_reminder.h"
#include "clickable_label.h"
#include "colours.h"
#include "drawing.h"
#include "options_dialog.h"
#include "palette.h"
#include "picture_box.h"
#include "velocity_graph.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <array>
#include <cstddef>

namespace venturon {

AllowanceBar visible_bar(Allowance allowance, Content content) {
    switch (allowance) {
    case Allowance::none:
        return AllowanceBar::none;
    case Allowance::seating:
        return AllowanceBar::seating;
    case Allowance::seating_and_masking:
        break;
    }
    return content == Content::music ? AllowanceBar::music : AllowanceBar::home_theatre;
}

std::string allowance_total(Allowance allowance, Content content) {
    switch (visible_bar(allowance, content)) {
    case AllowanceBar::none:
        break;
    case AllowanceBar::seating:
        return "25";
    case AllowanceBar::music:
        return "40";
    case AllowanceBar::home_theatre:
        return "55";
    }
    return "0";
}

KneePoint chart_knee(AllowanceBar chuffing, AllowanceBar core) {
    // Rows: core bar; columns: chuffing bar; both in AllowanceBar order.
    static constexpr std::array<std::array<KneePoint, 4>, 4> knees{{
        {{{32, 38}, {25, 38}, {19, 38}, {12, 38}}},
        {{{36.5, 30}, {28, 30}, {21, 30}, {14, 30}}},
        {{{39, 25}, {30, 25}, {22.5, 25}, {15, 25}}},
        {{{42, 20}, {32, 20}, {24, 20}, {16, 20}}},
    }};
    return knees[static_cast<std::size_t>(core)][static_cast<std::size_t>(chuffing)];
}

KneePoint chart_knee(const AllowanceSelection& selection) {
    return chart_knee(visible_bar(selection.chuffing, selection.content),
                      visible_bar(selection.core, selection.content));
}

void draw_allowance_chart(Drawing& chart, const AllowanceSelection& selection) {
    chart.set_scale(60, 100);
    chart.clear();
    chart.set_pen_width(1);
    for (double y : {20.0, 25.0, 30.0, 38.0}) {
        chart.line(0, y, 100, y, graph_colour::grid);
    }
    for (double x : {20.0, 30.0, 40.0, 52.0}) {
        chart.line(0, 100, x, 0, graph_colour::grid);
    }
    const KneePoint knee = chart_knee(selection);
    chart.set_pen_width(2);
    chart.line(0, 100, knee.x, knee.y,
               selection.chuffing == Allowance::none ? colours::chart_grey : colours::hint);
    chart.line(knee.x, knee.y, 100, knee.y,
               selection.core == Allowance::none ? colours::chart_grey
                                                 : colours::compression_warning);
}

void show_allowances(OptionsDialog& options, AllowanceReminder& main_reminder) {
    const AllowanceSelection selection = options.selection();
    options.reminder().show_chuffing(selection);
    main_reminder.show_chuffing(selection);
    options.reminder().show_core(selection);
    main_reminder.show_core(selection);
    set_fore_colour(options.compression_warning, selection.core == Allowance::none
                                                     ? colours::hint
                                                     : colours::compression_warning);
    const bool masking = selection.chuffing == Allowance::seating_and_masking ||
                         selection.core == Allowance::seating_and_masking;
    options.content_frame->setEnabled(masking);
    options.music_option->setEnabled(masking);
    options.home_theatre_option->setEnabled(masking);
    draw_allowance_chart(options.chart->drawing(), selection);
    options.chart->refresh();
    // In words, for screen readers: "Chuffing allowance 55 %, core allowance 0 %".
    const QString shown =
        QStringLiteral("Chuffing allowance %1 %, core allowance %2 %")
            .arg(QString::fromStdString(allowance_total(selection.chuffing, selection.content)),
                 QString::fromStdString(allowance_total(selection.core, selection.content)));
    for (QWidget* display :
         {static_cast<QWidget*>(options.reminder().frame),
          static_cast<QWidget*>(main_reminder.frame), static_cast<QWidget*>(options.chart)}) {
        display->setAccessibleName(shown);
    }
}

} // namespace venturon
