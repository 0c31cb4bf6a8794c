#include "shell/LinkSupervisor.h"

TickActions LinkSupervisor::tick(const TickInput& input) {
    TickActions actions;
    // Without a notification area the window is the only way in: it never gives way.
    const bool mayHide = input.trayAvailable;
    if (input.systemServiceManages) {
        actions.hideWindow = mayHide;
        // What this program had asked for is applied again once the service lets go; when it never
        // asked for anything there is nothing to apply (an all-zero configuration would do harm).
        m_applyPending = m_applyPending || m_everHandedOver;
    }
    if (input.adapterAbsent) {
        actions.hideWindow = mayHide;
        actions.icon = TrayIcon::Absent;
        m_wasUnplugged = true;
        m_reconnectCountdown = 0;
        return actions;
    }
    actions.copySnapshots = true;
    if (m_waiting) {
        finishWait(); // the adapter had its second; the configuration goes at the next tick
    } else if (!input.systemServiceManages && m_applyPending) {
        actions.applyPending = true;
        m_applyPending = false;
        m_reconnectCountdown = 0;
        m_wasUnplugged = false;
    }
    if (!input.connected) {
        if (!m_waiting) {
            if (m_wasUnplugged) {
                startReconnection(actions);
            } else if (m_reconnectCountdown == 1) {
                startReconnection(actions);
            } else if (m_reconnectCountdown > 1) {
                --m_reconnectCountdown;
            }
        }
        actions.icon = TrayIcon::NoLink;
    } else {
        m_reconnectCountdown = associatedCountdown;
        actions.icon = trayIconForSignal(input.signalStrength);
    }
    return actions;
}

void LinkSupervisor::handOver() {
    m_applyPending = true;
    m_everHandedOver = true;
    m_waiting = false; // the user's choice wins over a reconnection in progress
}

void LinkSupervisor::reconnectPrepared(bool haveConfiguration) {
    if (!haveConfiguration) {
        return; // nothing chosen yet: the adapter keeps what it has
    }
    m_everHandedOver = true;
    m_waiting = true;
}

void LinkSupervisor::startReconnection(TickActions& actions) {
    actions.rebuildFromOnLink = true;
    m_reconnectCountdown = 0;
    m_wasUnplugged = false;
}

void LinkSupervisor::finishWait() {
    m_waiting = false;
    m_applyPending = true;
    m_reconnectCountdown = 0;
    m_wasUnplugged = false;
}
