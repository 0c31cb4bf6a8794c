#pragma once
// Everything a window does that waits for the user, behind one small interface, so windows can be
// driven by tests without message boxes or modal loops. (Waits for time are states advanced by a
// timer, never a sleep.)

#include <QString>

class QDialog;
class QWidget;

class UiServices {
public:
    enum class MessageIcon { None, Information, Warning };

    virtual ~UiServices() = default;

    // A message box with an OK button only.
    virtual void message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) = 0;
    // Runs the dialog modally and returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int runModal(QDialog& dialog) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    virtual void beep() = 0;
};
