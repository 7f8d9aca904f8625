#include "allowance_reminder.h"

#include "allowance_display.h"
#include "clickable_label.h"
#include "colours.h"
#include "designed_names.h"
#include "font_fitting.h"
#include "number_text.h"
#include "palette.h"
#include "twips.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace venturon {

namespace {

QRect pixels(const LayoutRect& r) {
    // Half pixels round outwards on the left and inwards on the right, so that
    // the two halves of the frame never overlap.
    const int left = static_cast<int>(std::ceil(r.left));
    const int right = static_cast<int>(std::floor(r.left + r.width));
    const int top = static_cast<int>(std::floor(r.top));
    const int bottom = static_cast<int>(std::floor(r.top + r.height));
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// A bar of the reminder; `says` is what it shows, for screen readers.
ClickableLabel* bar(QWidget* parent, const char* name, const QColor& colour,
                    const QString& says = {}) {
    auto* label = new ClickableLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(says);
    set_back_colour(label, colour);
    return label;
}
} // namespace

ReminderLayout reminder_layout(LayoutRect frame, LayoutSize chuffing_total, LayoutSize core_total) {
    ReminderLayout out;
    LayoutRect& b = out.frame;
    b = frame;
    b.height = Int(b.height + 0.5);
    b.width = Int(b.width + 0.5);

    const double inner = std::max(0.0, b.height - 4);
    const double bar_width = std::max(0.0, b.width / 2 - 2);
    const double bottom = b.top + b.height - 2;
    const auto bar = [&](double left, double height, bool standing) {
        return LayoutRect{left, standing ? bottom - height : b.top + 2, bar_width, height};
    };
    const double seat = Int(inner * 0.45);
    const double music = Int(inner * 0.7);
    const double chuff_left = b.left + 2;
    const double core_left = b.left + b.width / 2 - 1;

    out.chuff_seat = bar(chuff_left, seat, true);
    out.chuff_music = bar(chuff_left, music, true);
    out.chuff_ht = bar(chuff_left, inner, false);
    out.core_seat = bar(core_left, seat, true);
    out.core_music = bar(core_left, music, true);
    out.core_ht = bar(core_left, inner, false);

    out.chuffing_total = {b.left - chuffing_total.width - 4,
                          b.top + b.height - chuffing_total.height};
    out.core_total = {b.left + b.width + 4, b.top + b.height - core_total.height};
    return out;
}

AllowanceReminder AllowanceReminder::create(QWidget* parent, int frame_left, int frame_top) {
    AllowanceReminder r;
    r.frame = bar(parent, designed::reminder::frame, colours::reminder_frame);
    // Designed 372 by 384 twips: 24.8 by 25.6 pixels, kept until the layout rounds it.
    r.frame->setGeometry(px(frame_left), px(frame_top), 25, 26);
    r.frame->setProperty("design_width", 372.0 / 15);
    r.frame->setProperty("design_height", 384.0 / 15);
    // The bars, with what each shows for screen readers.
    const struct {
        ClickableLabel* AllowanceReminder::*member;
        const char* name;
        bool core;
        const char* choice;
    } bars[] = {
        {&AllowanceReminder::chuffing_seating_bar, designed::reminder::chuffing_seating_bar, false,
         "seating"},
        {&AllowanceReminder::chuffing_music_bar, designed::reminder::chuffing_music_bar, false,
         "seating and masking, music"},
        {&AllowanceReminder::chuffing_home_theatre_bar,
         designed::reminder::chuffing_home_theatre_bar, false, "seating and masking, home theatre"},
        {&AllowanceReminder::core_seating_bar, designed::reminder::core_seating_bar, true,
         "seating"},
        {&AllowanceReminder::core_music_bar, designed::reminder::core_music_bar, true,
         "seating and masking, music"},
        {&AllowanceReminder::core_home_theatre_bar, designed::reminder::core_home_theatre_bar, true,
         "seating and masking, home theatre"},
    };
    for (const auto& b : bars) {
        r.*b.member = bar(
            parent, b.name, b.core ? colours::core_bar : colours::hint,
            QString::fromLatin1(b.core ? "Core allowance bar: %1" : "Chuffing allowance bar: %1")
                .arg(QLatin1String(b.choice)));
    }

    r.chuffing_total = new QLabel(QStringLiteral("0"), parent);
    r.chuffing_total->setObjectName(QString::fromLatin1(designed::reminder::chuffing_total));
    r.chuffing_total->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    set_fore_colour(r.chuffing_total, colours::hint);
    r.core_total = new QLabel(QStringLiteral("0"), parent);
    r.core_total->setObjectName(QString::fromLatin1(designed::reminder::core_total));
    r.core_total->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    set_fore_colour(r.core_total, colours::core_total);
    for (QLabel* total : {r.chuffing_total, r.core_total}) {
        total->resize(22, 17);
        fit_font(total, QStringLiteral("55"), 8);
    }
    return r;
}

void AllowanceReminder::lay_out() {
    const QRect f = frame->geometry();
    const LayoutRect designed_frame{double(f.left()), double(f.top()),
                                    frame->property("design_width").toDouble(),
                                    frame->property("design_height").toDouble()};
    const auto size = [](const QLabel* l) {
        return LayoutSize{double(l->width()), double(l->height())};
    };
    const ReminderLayout layout =
        reminder_layout(designed_frame, size(chuffing_total), size(core_total));
    frame->setGeometry(pixels(layout.frame));
    chuffing_seating_bar->setGeometry(pixels(layout.chuff_seat));
    chuffing_music_bar->setGeometry(pixels(layout.chuff_music));
    chuffing_home_theatre_bar->setGeometry(pixels(layout.chuff_ht));
    core_seating_bar->setGeometry(pixels(layout.core_seat));
    core_music_bar->setGeometry(pixels(layout.core_music));
    core_home_theatre_bar->setGeometry(pixels(layout.core_ht));
    chuffing_total->move(static_cast<int>(std::lround(layout.chuffing_total.left)),
                         static_cast<int>(std::lround(layout.chuffing_total.top)));
    core_total->move(static_cast<int>(std::lround(layout.core_total.left)),
                     static_cast<int>(std::lround(layout.core_total.top)));
    for (QWidget* w :
         {static_cast<QWidget*>(chuffing_seating_bar), static_cast<QWidget*>(chuffing_music_bar),
          static_cast<QWidget*>(chuffing_home_theatre_bar), static_cast<QWidget*>(core_seating_bar),
          static_cast<QWidget*>(core_music_bar), static_cast<QWidget*>(core_home_theatre_bar)}) {
        w->raise();
    }
}

namespace {
void show_bar(AllowanceBar visible, ClickableLabel* seat, ClickableLabel* music,
              ClickableLabel* ht) {
    seat->setVisible(visible == AllowanceBar::seating);
    music->setVisible(visible == AllowanceBar::music);
    ht->setVisible(visible == AllowanceBar::home_theatre);
}
} // namespace

void AllowanceReminder::show_chuffing(const AllowanceSelection& selection) {
    show_bar(visible_bar(selection.chuffing, selection.content), chuffing_seating_bar,
             chuffing_music_bar, chuffing_home_theatre_bar);
    const QString total =
        QString::fromStdString(allowance_total(selection.chuffing, selection.content));
    chuffing_total->setText(total);
    chuffing_total->setAccessibleName(QStringLiteral("Chuffing allowance %1 %").arg(total));
}

void AllowanceReminder::show_core(const AllowanceSelection& selection) {
    show_bar(visible_bar(selection.core, selection.content), core_seating_bar, core_music_bar,
             core_home_theatre_bar);
    const QString total =
        QString::fromStdString(allowance_total(selection.core, selection.content));
    core_total->setText(total);
    core_total->setAccessibleName(QStringLiteral("Core allowance %1 %").arg(total));
}

void AllowanceReminder::on_click(QObject* context, const std::function<void()>& receiver) {
    for (ClickableLabel* label :
         {frame, chuffing_seating_bar, chuffing_music_bar, chuffing_home_theatre_bar,
          core_seating_bar, core_music_bar, core_home_theatre_bar}) {
        QObject::connect(label, &ClickableLabel::clicked, context, receiver);
    }
}

} // namespace venturon
