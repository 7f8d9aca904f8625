#include "diameter_warning_dialog.h"

#include "colours.h"
#include "controls.h"
#include "palette.h"
#include "twips.h"
#include "window_setup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace venturon {

DiameterWarningDialog::DiameterWarningDialog(QWidget* parent) : QDialog(parent) {
    set_up_dialog(this, QStringLiteral("frmDiaWarning"),
                  QStringLiteral("Venturon  Diameter Warning"), twips_size(6480, 2688));

    OKButton = add_button(this, "OKButton", QStringLiteral("OK"), twips(4920, 2070, 1320, 390));
    OKButton->setDefault(true);

    Check1 = add_check_box(this, "Check1", QStringLiteral("Don't warn me again"),
                           twips(240, 2130, 3000, 300));

    Label1 = add_label(this, "Label1", {}, twips(960, 180, 5280, 330));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(10);
    Label1->setFont(bold);
    set_fore_colour(Label1, colours::large_diameter_warning);

    Picture1 = add_label(this, "Picture1", {}, twips(240, 660, 465, 480));
    // The style's warning icon may come from the desktop's icon theme, a search
    // through its folders: done when the warning first shows, not at start-up.
    on_first_show(this, [this] {
        Picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(31, 32));
    });

    Label2 = add_label(this, "Label2", {}, twips(960, 630, 5280, 540));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label3 = add_label(
        this, "Label3",
        QStringLiteral("Results for diameters greater than this should be regarded with caution"),
        twips(960, 1260, 5280, 540));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    set_metric_texts(true);
    setTabOrder(OKButton, Check1);
    OKButton->setFocus();

    connect(OKButton, &QPushButton::clicked, this, &DiameterWarningDialog::OKButton_Click);

    focus_when_shown(this, [this] { return OKButton; });
    // Centred across, three tenths of the free height down.
    place_on_screen(this, 0.5, 0.3);
}

bool DiameterWarningDialog::warnings_silenced() const {
    return Check1->isChecked();
}

void DiameterWarningDialog::set_warnings_silenced(bool silenced) {
    Check1->setChecked(silenced);
}

void DiameterWarningDialog::set_metric_texts(bool metric) {
    if (metric) {
        Label1->setText(QStringLiteral("Diameter exceeds 165 mm"));
        Label2->setText(
            QStringLiteral("This software was based on testing of ports up to 152mm in diameter"));
    } else {
        Label1->setText(QStringLiteral("Diameter exceeds 6 1/2 inches"));
        Label2->setText(QStringLiteral(
            "This software was based on testing of ports up to 6 inches in diameter"));
    }
}

void DiameterWarningDialog::OKButton_Click() {
    hide();
}

// The title-bar button (through QDialog's close handling) and Escape dismiss the
// warning like OK: it is only hidden.
void DiameterWarningDialog::reject() {
    hide();
}

} // namespace venturon
