#include "diameter_warning_dialog.h"

#include "colours.h"
#include "controls.h"
#include "designed_names.h"
#include "palette.h"
#include "twips.h"
#include "window_setup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace venturon {

namespace {
namespace name = designed::diameter_warning;
} // namespace

DiameterWarningDialog::DiameterWarningDialog(QWidget* parent) : QDialog(parent) {
    set_up_dialog(this, QString::fromLatin1(name::dialog),
                  QStringLiteral("Venturon  Diameter Warning"), twips_size(6480, 2688));

    ok_button =
        add_button(this, name::ok_button, QStringLiteral("OK"), twips(4920, 2070, 1320, 390));
    ok_button->setDefault(true);

    dont_warn_again_check =
        add_check_box(this, name::dont_warn_again_check, QStringLiteral("Don't warn me again"),
                      twips(240, 2130, 3000, 300));

    heading = add_label(this, name::heading, {}, twips(960, 180, 5280, 330));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(10);
    heading->setFont(bold);
    set_fore_colour(heading, colours::large_diameter_warning);

    icon = add_label(this, name::icon, {}, twips(240, 660, 465, 480));
    // The style's warning icon may come from the desktop's icon theme, a search
    // through its folders: done when the warning first shows, not at start-up.
    on_first_show(this, [this] {
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(31, 32));
    });

    tested_range = add_label(this, name::tested_range, {}, twips(960, 630, 5280, 540));
    tested_range->setWordWrap(true);
    tested_range->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    caution = add_label(
        this, name::caution,
        QStringLiteral("Results for diameters greater than this should be regarded with caution"),
        twips(960, 1260, 5280, 540));
    caution->setWordWrap(true);
    caution->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    set_metric_texts(true);
    setTabOrder(ok_button, dont_warn_again_check);
    ok_button->setFocus();

    connect(ok_button, &QPushButton::clicked, this, &QWidget::hide);

    focus_when_shown(this, [this] { return ok_button; });
    // Centred across, three tenths of the free height down.
    place_on_screen(this, 0.5, 0.3);
}

bool DiameterWarningDialog::warnings_silenced() const {
    return dont_warn_again_check->isChecked();
}

void DiameterWarningDialog::set_warnings_silenced(bool silenced) {
    dont_warn_again_check->setChecked(silenced);
}

void DiameterWarningDialog::set_metric_texts(bool metric) {
    if (metric) {
        heading->setText(QStringLiteral("Diameter exceeds 165 mm"));
        tested_range->setText(
            QStringLiteral("This software was based on testing of ports up to 152mm in diameter"));
    } else {
        heading->setText(QStringLiteral("Diameter exceeds 6 1/2 inches"));
        tested_range->setText(QStringLiteral(
            "This software was based on testing of ports up to 6 inches in diameter"));
    }
}

// The title-bar button (through QDialog's close handling) and Escape dismiss the
// warning like OK: it is only hidden.
void DiameterWarningDialog::reject() {
    hide();
}

} // namespace venturon
