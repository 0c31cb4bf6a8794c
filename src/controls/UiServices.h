#pragma once
// Everything a window does that waits for the user or for time, behind one small interface,
// so windows can be driven by tests without message boxes, modal loops or real sleeps.

#include <QString>

#include <chrono>

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
    // Waits; the windows keep repainting meanwhile.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};
