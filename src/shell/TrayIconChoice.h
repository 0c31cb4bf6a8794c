#pragma once

#include <optional>

// The notification-area icons, by the resource numbers the skin has always used.
enum class TrayIcon {
    Starting = 167, // broken bars: from start-up until the first tick
    Absent = 188,   // broken bars: adapter not ready
    NoLink = 189,   // white bars: ready but not associated, or signal below 5
    Bars1 = 170,    // signal 6 to 24
    Bars2 = 169,    // signal 26 to 49
    Bars3 = 168,    // signal 51 to 74
    Bars4 = 175,    // signal 76 or more
};

// The icon for an associated station's signal strength (percent). The signals 5, 25, 50 and 75
// lie between two bands and give no icon: the tray keeps the icon it shows.
std::optional<TrayIcon> trayIconForSignal(int signal);
