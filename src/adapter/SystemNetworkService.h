#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The system's own wireless service as this program meets it on Linux: NetworkManager, asked
// over the system D-Bus whether it manages an interface, and the desktop's network settings
// window that takes over when it does.
struct SystemServiceReport {
    bool manages = false; // NetworkManager runs and manages the interface
    int32_t state = 0;    // its device state (NM_DEVICE_STATE_*), 0 when it does not
};

using SystemServiceQuery = std::function<SystemServiceReport(const std::string& interfaceName)>;

// Asks NetworkManager; a missing bus or service answers "not managed" at once. Each call waits
// at most half a second for the bus. The query keeps its bus connection between calls; copies
// share it, and the caller serialises them.
SystemServiceQuery networkManagerQuery();

// Starts the first program found on PATH that opens the desktop's network settings
// (nm-connection-editor, GNOME's, KDE's), detached from this process; false (with a
// line in the diagnostics) when none is installed.
bool openDesktopNetworkSettings();
