#include "controls/DesktopUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(UiServices::MessageIcon icon) {
    switch (icon) {
    case UiServices::MessageIcon::Information:
        return QMessageBox::Information;
    case UiServices::MessageIcon::Warning:
        return QMessageBox::Warning;
    case UiServices::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void DesktopUiServices::message(QWidget* parent, const QString& text, const QString& caption,
                                MessageIcon icon) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

int DesktopUiServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

void DesktopUiServices::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void DesktopUiServices::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void DesktopUiServices::beep() {
    QApplication::beep();
}
