#pragma once
// The real desktop: message boxes, modal loops, the override cursor and the system beep.

#include "UiServices.h"

class DesktopUiServices final : public UiServices {
public:
    void message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) override;
    int runModal(QDialog& dialog) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
    // Runs a local event loop for the duration: timers fire, windows repaint and the user's
    // clicks and keys are handled. Callers keep their own timers stopped while they wait.
    void sleep(std::chrono::milliseconds duration) override;
};
