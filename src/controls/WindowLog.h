#pragma once

#include <QLoggingCategory>

// Logging categories of the window layers (QT_LOGGING_RULES="skyvane.*.debug=true" shows all);
// the core reports under "skyvane.platform", "skyvane.storage", "skyvane.adapter", "skyvane.logic".
Q_DECLARE_LOGGING_CATEGORY(shellLog)
Q_DECLARE_LOGGING_CATEGORY(pagesLog)
Q_DECLARE_LOGGING_CATEGORY(dialogsLog)
Q_DECLARE_LOGGING_CATEGORY(controlsLog)
