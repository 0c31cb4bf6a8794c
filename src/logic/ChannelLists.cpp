#include "logic/ChannelLists.h"

#include <cstddef>

namespace logic {
namespace {

std::vector<std::string> numbered(int first, int last) {
    std::vector<std::string> items;
    for (int channel = first; channel <= last; ++channel) {
        items.push_back(std::to_string(channel));
    }
    return items;
}

} // namespace

std::vector<AdhocBand> adhocBands(const OfferedModes& offered) {
    std::vector<AdhocBand> bands;
    if (offered.mode11b) {
        bands.push_back(AdhocBand::Band11b);
    }
    if (offered.mode11a) {
        bands.push_back(AdhocBand::Band11a);
    }
    return bands;
}

std::vector<std::string> adhocBandTexts(const OfferedModes& offered) {
    std::vector<std::string> texts;
    for (AdhocBand band : adhocBands(offered)) {
        texts.emplace_back(adhocBandText(band));
    }
    return texts;
}

const char* adhocBandText(AdhocBand band) {
    return band == AdhocBand::Band11b ? "11b" : "11a";
}

AdhocBand adhocBandAt(const OfferedModes& offered, int position) {
    const std::vector<AdhocBand> bands = adhocBands(offered);
    if (position < 0 || static_cast<std::size_t>(position) >= bands.size()) {
        return AdhocBand::Band11a;
    }
    return bands[static_cast<std::size_t>(position)];
}

ChannelChoice channelChoice(ChannelScreen screen, int channelPlan, bool adhoc, AdhocBand band) {
    if (!adhoc || band != AdhocBand::Band11b) {
        return {{"auto"}, false};
    }
    if (channelPlan == plan2GhzFromChannel3) {
        return {numbered(3, 9), true};
    }
    const bool thirteen = channelPlan == codes::planEtsi13 || channelPlan == codes::planMkk ||
                          (channelPlan == codes::planFrance && screen == ChannelScreen::Configuration);
    return {numbered(1, thirteen ? 13 : 11), true};
}

int channelIndexAt(int position, int channelPlan) {
    return position >= 0 && channelPlan == plan2GhzFromChannel3 ? position + 2 : position;
}

int channelPositionOf(int channelIndex, int channelPlan) {
    const int position = channelPlan == plan2GhzFromChannel3 ? channelIndex - 2 : channelIndex;
    return position >= 0 ? position : -1;
}

int adhoc2GhzChannelIndex(int position, int channelPlan) {
    const int index = channelIndexAt(position, channelPlan);
    return index >= 0 && index <= 13 ? index : 10;
}

std::optional<int> adhoc5GhzChannelIndex(int position) {
    if (position >= 0 && position <= 7) {
        return 14 + position;
    }
    return std::nullopt;
}

void setAdhocBand(StationSettings& r, AdhocBand band, int channelPosition, int channelPlan) {
    if (band == AdhocBand::Band11b) {
        r.WirelessMode[Mode11B] = 1;
        r.TxRate = codes::txRate11Mbps;
        r.Channel = adhoc2GhzChannelIndex(channelPosition, channelPlan);
    } else {
        r.WirelessMode[Mode11A] = 1;
        r.TxRate = codes::txRate54Mbps;
        r.Channel = adhoc5GhzChannelIndex(channelPosition).value_or(14);
    }
}

} // namespace logic
