#pragma once

#include "shell/TrayIconChoice.h"

#include <optional>

// What the status tick sees of the adapter, once a second.
struct TickInput {
    bool systemServiceManages = false; // the system's wireless service has the adapter
    bool adapterAbsent = false;        // not ready: unplugged, not yet up, or stuck
    bool connected = false;            // associated
    int signalStrength = 0;            // percent
    bool trayAvailable = true;         // a notification area can show the window again
};

// What the tick is to carry out, in this order.
struct TickActions {
    bool hideWindow = false;        // the window gives way to the system's service, or the adapter left
    bool copySnapshots = false;     // the adapter's link, information and settings into the window
    bool applyPending = false;      // hand the pending configuration to the adapter now
    bool rebuildFromOnLink = false; // reconnect: the pending configuration from the one chosen last,
                                    // then tell reconnectPrepared() whether there was one
    std::optional<TrayIcon> icon;   // the icon from now on; none: keep the icon shown

    bool operator==(const TickActions&) const = default;
};

// The decisions of the once-a-second status tick, without a window: when the pending
// configuration goes to the adapter, when and how the link is reconnected, when the window gives
// way, and which icon the tray shows.
//
// Reconnection: while associated a countdown stays at 2; the first tick without the association
// lowers it to 1, the second reconnects, once, until the station was associated again. After the
// adapter was absent, the first tick that finds it ready and not associated reconnects at once.
// A reconnection rebuilds the pending configuration, gives the adapter one more second to settle
// (a tick) and then marks the configuration for the tick after, which applies it. The window
// handles input all the while, and a user's hand-over during the wait wins: the reconnection is
// dropped.
class LinkSupervisor {
public:
    static constexpr int associatedCountdown = 2;

    TickActions tick(const TickInput& input);

    // A page or dialog handed a configuration over: it is applied at the next tick that may.
    void handOver();

    // The answer to rebuildFromOnLink. Without a configuration (nothing chosen yet, or no SSID)
    // nothing is applied and the adapter is left as it is.
    void reconnectPrepared(bool haveConfiguration);

    bool applyPending() const { return m_applyPending; }
    int reconnectCountdown() const { return m_reconnectCountdown; }
    bool waitingForAdapter() const { return m_waiting; }

private:
    void startReconnection(TickActions& actions);
    void finishWait();

    bool m_applyPending = false;
    bool m_everHandedOver = false; // a configuration of ours exists to apply again
    bool m_wasUnplugged = false;
    int m_reconnectCountdown = 0;
    bool m_waiting = false; // a rebuilt configuration settles for a tick before it is marked
};
