#pragma once

// The program's name: the main window's exact title (the single-instance key), the tray tip's
// default, and the caption of the messages that have no caption of their own (the WEP key length
// messages).
inline constexpr char applicationTitle[] = "Skyvane Configuration Utility";
