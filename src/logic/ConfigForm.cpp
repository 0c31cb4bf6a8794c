#include "logic/ConfigForm.h"

#include "logic/TextCut.h"
#include "model/CodeTables.h"
#include "storage/StoredText.h"

#include <utility>

namespace logic {
namespace {

// The boxes an ad hoc network leaves to the band list: it always runs on the band chosen there.
constexpr BandBox bandChoosingBoxes[] = {BandBox::Mode11B, BandBox::Mode11A, BandBox::Mode11G,
                                         BandBox::Mode11GT, BandBox::Mode11AT};

} // namespace

int storedBandCode(AdhocBand band) {
    return band == AdhocBand::Band11b ? 0 : 1;
}

AdhocBand bandOfStoredCode(int code) {
    return code == 0 ? AdhocBand::Band11b : AdhocBand::Band11a;
}

ConfigForm::ConfigForm(TextLookup lookup) : m_lookup(std::move(lookup)) {
    ConfigFormState& s = m_state;
    s.networkType = {{text("Ad-hoc"), text("Infrastructure")}, 0};
    for (int channel = 1; channel <= 13; ++channel) {
        s.channel.items.push_back(std::to_string(channel));
    }
    s.channel.items.push_back(text("Auto"));
    s.channel.selected = 13;
    s.powerMode = {{text("Continuous Access Mode"), text("Maximum Power Save"), text("Power Save")}, 0};
    s.preamble = {{text("Long Preamble"), text("Short & Long Preamble")}, 1};
}

std::string ConfigForm::text(const char* english) const {
    return m_lookup ? m_lookup(english) : std::string(english);
}

AdhocBand ConfigForm::selectedBand() const {
    return adhocBandAt(m_state.offered, m_state.band.selected);
}

void ConfigForm::load(const OnLinkRecord& onLink, const OfferedModes& offered, int channelPlan) {
    ConfigFormState& s = m_state;
    s.offered = offered;
    s.channelPlan = channelPlan;
    s.ssid = cutText(onLink.SSID, configSsidLimit);
    // The band list first, so the stored band and its channel list are what the page shows:
    // an Apply that changes nothing else keeps the network on its band.
    s.band.items = adhocBandTexts(offered);
    s.networkType.set(onLink.bsstype == codes::networkAdHoc ? 0 : 1);
    wirelessModeRule();
    const std::vector<AdhocBand> bands = adhocBands(offered);
    int bandPosition = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i] == bandOfStoredCode(onLink.adhocband)) {
            bandPosition = static_cast<int>(i);
        }
    }
    s.band.set(bandPosition);
    fillChannels();
    s.channel.set(onLink.Channel);
    s.powerMode.set(onLink.PowerMode);
    s.preamble.set(onLink.PreambleMode);
    const int32_t checked[bandBoxCount] = {onLink.Mode11b, onLink.Mode11g, onLink.Mode11gt,
                                           onLink.ModeXR,  onLink.Mode11a, onLink.Mode11at};
    for (int i = 0; i < bandBoxCount; ++i) {
        CheckBox& box = s.bandBoxes[static_cast<std::size_t>(i)];
        box.checked = checked[i] != 0;
        box.visible = isOffered(offered, static_cast<BandBox>(i));
    }
}

void ConfigForm::wirelessModeRule() {
    ConfigFormState& s = m_state;
    const bool adhoc = isAdhoc();
    s.channel.enabled = adhoc;
    s.band.enabled = adhoc;
    if (adhoc) {
        s.band.set(0);
    }
    for (BandBox box : bandChoosingBoxes) {
        bandBox(box).enabled = !adhoc;
    }
    fillChannels();
}

void ConfigForm::fillChannels() {
    const ChannelChoice choice =
        channelChoice(ChannelScreen::Configuration, m_state.channelPlan, isAdhoc(), selectedBand());
    m_state.channel.items = choice.items;
    m_state.channel.enabled = choice.enabled;
    m_state.channel.set(0);
}

void ConfigForm::setSsid(std::string ssid) {
    m_state.ssid = std::move(ssid);
}

void ConfigForm::selectNetworkType(int position) {
    if (m_state.networkType.pick(position)) {
        wirelessModeRule();
    }
}

void ConfigForm::selectBand(int position) {
    if (m_state.band.pick(position)) {
        fillChannels();
    }
}

void ConfigForm::selectChannel(int position) {
    m_state.channel.pick(position);
}

void ConfigForm::selectPowerMode(int position) {
    m_state.powerMode.pick(position);
}

void ConfigForm::selectPreamble(int position) {
    m_state.preamble.pick(position);
}

void ConfigForm::clickBandBox(BandBox box) {
    logic::clickBandBox(m_state.bandBoxes, box, !isAdhoc());
}

// --- Apply ---

namespace {

void setAdhocPart(StationConfig& r, const ConfigForm& form) {
    const ConfigFormState& s = form.state();
    r.NetworkType = codes::networkAdHoc;
    setAdhocBand(r, form.selectedBand(), s.channel.selected, s.channelPlan);
    // An ad hoc cell runs on its band's base mode alone.
    for (int element :
         {static_cast<int>(Mode11G), static_cast<int>(Mode11GT), static_cast<int>(Mode11AT), 5, 9, 11}) {
        r.WirelessMode[element] = 0;
    }
}

void setInfrastructurePart(StationConfig& r, const ConfigFormState& s, std::vector<StoredValue>& writes) {
    r.NetworkType = codes::networkInfrastructure;
    r.TxRate = codes::txRate54Mbps;
    const std::pair<const char*, BandBox> boxes[] = {
        {"11b", BandBox::Mode11B}, {"11g", BandBox::Mode11G},   {"11gt", BandBox::Mode11GT},
        {"11a", BandBox::Mode11A}, {"11at", BandBox::Mode11AT},
    };
    const int elements[] = {Mode11B, Mode11G, Mode11GT, Mode11A, Mode11AT};
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        const int flag = s.bandBox(boxes[i].second).checked ? 1 : 0;
        r.WirelessMode[elements[i]] = flag;
        writes.push_back({boxes[i].first, std::to_string(flag)});
    }
    const int extendedRange = s.bandBox(BandBox::ExtendedRange).checked ? 1 : 0;
    r.AdvancedMode[0] = extendedRange;
    writes.push_back({"XR Extended Range", std::to_string(extendedRange)});
    // Channel: an infrastructure network's channel is the access point's; the mirror's stays.
}

} // namespace

ConfigApplyResult applyConfigForm(const ConfigForm& form, const StationConfig& fromMirror,
                                  const StationSettings& pending) {
    const ConfigFormState& s = form.state();
    const std::string ssid = cutText(s.ssid, configSsidLimit);
    if (form.isAdhoc() && ssid.empty()) {
        return ConfigApplyStop{FormMessage{adhocSsidMessage, MessageCaption::Prompt}};
    }
    ConfigApplyOutcome out;
    StationConfig& r = out.mirror;
    r = fromMirror;
    copyText(r.cSSID, ssid.c_str());
    std::vector<StoredValue>& writes = out.onLinkWrites;
    writes.push_back({"SSID", EncodeStoredText(ssid)});
    writes.push_back({"Channel", std::to_string(s.channel.selected)});
    writes.push_back({"adhocband", std::to_string(storedBandCode(form.selectedBand()))});
    if (form.isAdhoc()) {
        setAdhocPart(r, form);
    } else {
        setInfrastructurePart(r, s, writes);
    }
    writes.push_back({"bsstype", std::to_string(s.networkType.selected)});
    const int power = s.powerMode.selected;
    r.PowerSaveMode = codes::powerSaveToDriver(power); // the list's positions are the codes
    writes.push_back({"PowerMode", std::to_string(power)});
    const int preamble = s.preamble.selected;
    r.PreambleMode = preamble == 1 || preamble == 2 ? codes::preambleShortAndLong : codes::preambleLong;
    writes.push_back({"PreambleMode", std::to_string(preamble)});
    r.TxRateAuto = 1;

    // The mirror keeps neither the WEP key size nor the 802.1X domain: they come from the
    // configuration handed over last, which is the Encryption page's when its Apply led here.
    out.handOver = r;
    out.handOver.iWEPKeyBits = pending.iWEPKeyBits;
    copyText(out.handOver.cDomainName, pending.cDomainName);
    return out;
}

} // namespace logic
