#pragma once

#include "logic/BandBoxes.h"
#include "model/CodeTables.h"
#include "model/StationConfig.h"

#include <optional>
#include <string>
#include <vector>

// The ad hoc band list and the channel lists of the Configuration page and the profile editor.
// A channel list position is what the profile file stores under "Channel"; the channel index
// of the record is derived from it here, because the list does not always start at channel 1.
namespace logic {

enum class AdhocBand { Band11b, Band11a };

// "11b" when section Check offers it, then "11a" when it offers that.
std::vector<AdhocBand> adhocBands(const OfferedModes& offered);
std::vector<std::string> adhocBandTexts(const OfferedModes& offered);
const char* adhocBandText(AdhocBand band);
// The band at a position of that list. With no band there (no selection, or neither band
// offered) the screens have always treated the band as "11a".
AdhocBand adhocBandAt(const OfferedModes& offered, int position);

// The two screens build their 2.4 GHz lists from slightly different plan tables.
enum class ChannelScreen { Configuration, ProfileEditor };

inline constexpr int plan2GhzFromChannel3 = codes::planIsrael; // the plan whose list starts at channel 3

struct ChannelChoice {
    std::vector<std::string> items;
    bool enabled;
    bool operator==(const ChannelChoice&) const = default;
};
// Infrastructure, or ad hoc on "11a": the single item "auto", disabled. Ad hoc on "11b":
// channels by plan, enabled: plan 6 "3".."9"; plans 4 and 11 (and 5 on the Configuration
// page) "1".."13"; any other plan "1".."11". Position 0 is selected after every rebuild.
ChannelChoice channelChoice(ChannelScreen screen, int channelPlan, bool adhoc, AdhocBand band);

// The channel index of a position of the 2.4 GHz list: the position itself, or two more under
// plan 6, whose list begins at channel 3. A negative position (no selection) stays as it is.
int channelIndexAt(int position, int channelPlan);
// The inverse: the list position that gives a channel index, -1 for an index before the list's
// first channel. Whether the list reaches that far is the caller's check.
int channelPositionOf(int channelIndex, int channelPlan);

// The record's Channel for ad hoc on "11b": the channel index of the position when it is a
// 2.4 GHz index (0..13), channel 11 (index 10) for anything else.
int adhoc2GhzChannelIndex(int position, int channelPlan);
// The record's Channel for ad hoc on "11a": positions 0..7 give channels 36..64 (indexes
// 14..21); nullopt for any other position.
std::optional<int> adhoc5GhzChannelIndex(int position);

// An ad hoc network's band in the record: its base mode, transmit rate and channel index, from
// the channel list's position. The "11a" list holds only "auto": its channel is 36, also when
// nothing is selected (a stored position the list lacks), for the record's channel may be a
// 2.4 GHz one.
void setAdhocBand(StationSettings& r, AdhocBand band, int channelPosition, int channelPlan);

} // namespace logic
