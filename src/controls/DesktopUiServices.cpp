#include "DesktopUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

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

void DesktopUiServices::sleep(std::chrono::milliseconds duration) {
    // User input is handled too: the window stays usable and the tray's Exit ends the program
    // even in the middle of a wait (a loop started after Exit returns at once).
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}
