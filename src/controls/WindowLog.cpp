#include "controls/WindowLog.h"

Q_LOGGING_CATEGORY(shellLog, "skyvane.shell", QtInfoMsg)
Q_LOGGING_CATEGORY(pagesLog, "skyvane.pages", QtInfoMsg)
Q_LOGGING_CATEGORY(dialogsLog, "skyvane.dialogs", QtInfoMsg)
Q_LOGGING_CATEGORY(controlsLog, "skyvane.controls", QtInfoMsg)
