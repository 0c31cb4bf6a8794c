#pragma once

#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <optional>

namespace logic {

// The configuration that reconnects the adapter after a re-plug or a lost association, built
// from the configuration chosen last ("on_link") alone. Fields it does not set stay 0.
//
// nullopt when there is nothing to reconnect to: "on_link" without an SSID (missing or
// never written). Applying a configuration for no network would leave an adapter that had
// its network configured for nothing.
//
// channelPlan is the adapter's channel plan: an ad hoc network on the 2.4 GHz band stores
// the position in a list that begins at channel 3 under plan 6.
std::optional<StationSettings> buildReconnectConfig(const OnLinkRecord& onLink, int channelPlan);

} // namespace logic
