#include "interaction.h"

#include "venturon_version.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QUrl>

namespace venturon {

void Interaction::notice(QWidget* parent, const QString& text) {
    message(parent, text, QString::fromLatin1(application_name), Icon::none);
}

void QtInteraction::message(QWidget* parent, const QString& text, const QString& title, Icon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case Icon::none:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::warning:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    box.exec();
}

void QtInteraction::run_modal(QDialog& dialog) {
    // A dialog that hides itself ends exec(); one that is already visible stays put.
    if (!dialog.isVisible()) {
        dialog.exec();
    }
}

void QtInteraction::open_address(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

bool QtInteraction::start_program(const QString& program) {
    return QProcess::startDetached(program, {});
}

bool QtInteraction::file_exists(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace venturon
