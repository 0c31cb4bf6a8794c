#pragma once

// The program's name: the main window's exact title (the single-instance key), the tray tip's
// default and the caption of the WEP key messages.
inline constexpr char applicationTitle[] = "Skyvane Configuration Utility";
