#include "shell/TrayIconChoice.h"

std::optional<TrayIcon> trayIconForSignal(int signal) {
    if (signal < 5) {
        return TrayIcon::NoLink;
    }
    if (signal >= 6 && signal <= 24) {
        return TrayIcon::Bars1;
    }
    if (signal >= 26 && signal <= 49) {
        return TrayIcon::Bars2;
    }
    if (signal >= 51 && signal <= 74) {
        return TrayIcon::Bars3;
    }
    if (signal >= 76) {
        return TrayIcon::Bars4;
    }
    return std::nullopt;
}
