#include "frm_dia_warning.h"

#include "widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace venturon {

frmDiaWarning::frmDiaWarning(QWidget* parent) : QDialog(parent) {
    set_up_dialog(this, QStringLiteral("frmDiaWarning"),
                  QStringLiteral("Venturon  Diameter Warning"), QSize(px(6480), px(2688)));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(328, 138, 88, 26);
    OKButton->setDefault(true);

    Check1 = new QCheckBox(QStringLiteral("Don't warn me again"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(16, 142, 200, 20);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(64, 12, 352, 22);
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(10);
    Label1->setFont(bold);
    set_fore_colour(Label1, QColor(255, 0, 0));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(16, 44, 31, 32);
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(31, 32));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(64, 42, 352, 36);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label3 = new QLabel(
        QStringLiteral("Results for diameters greater than this should be regarded with caution"),
        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(64, 84, 352, 36);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    set_metric_texts(true);
    setTabOrder(OKButton, Check1);
    OKButton->setFocus();

    connect(OKButton, &QPushButton::clicked, this, &frmDiaWarning::OKButton_Click);

    // Centred across, three tenths of the free height down.
    place_on_screen(this, 0.5, 0.3);
}

void frmDiaWarning::set_metric_texts(bool metric) {
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

void frmDiaWarning::OKButton_Click() {
    hide();
}

// The title-bar button (through QDialog's close handling) and Escape dismiss the
// warning like OK: it is only hidden.
void frmDiaWarning::reject() {
    hide();
}

} // namespace venturon
