#pragma once
// The real desktop: message boxes, modal loops, the override cursor and the system beep.

#include "controls/UiServices.h"

class DesktopUiServices final : public UiServices {
public:
    void message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) override;
    int runModal(QDialog& dialog) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
};
