#pragma once

#include "StationConfig.h"

class MainWindowHost;
class ProfileStore;
struct OnLinkRecord;

// The configuration that reconnects the adapter, built from the configuration chosen last
// ("on_link" of the profile store). Fields it does not set stay 0.
StationSettings BuildPendingConfig(const OnLinkRecord& onLink);

// Reconnection, run by the status tick after a re-plug or a lost association: rebuilds
// pendingConfig from "on_link", waits (up to 7 questions a second apart) for the adapter to
// be ready, and asks for the apply. The waits go through the window's UiServices, which keep
// the event loop running.
void RebuildPendingConfig(MainWindowHost& host, ProfileStore& store);
