#pragma once

#include "logic/BandBoxes.h"
#include "logic/ChannelLists.h"
#include "logic/ProfileForm.h"
#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The Configuration page without its window: network type, SSID, ad hoc band and channel,
// power saving, preamble and the wireless-mode boxes, the rules that tie them together, and the
// page's Apply as one function from the form to what is stored and handed to the adapter.
//
// The page shows "on_link", the configuration chosen last, and loads it again each time it is
// shown and on Cancel. A view renders ConfigFormState after every call and forwards the user's
// input to the operations.
namespace logic {

struct ConfigFormState {
    std::string ssid;
    ChoiceList networkType; // "Ad-hoc", "Infrastructure"
    ChoiceList band;        // "11b" and/or "11a"
    ChoiceList channel;
    ChoiceList powerMode; // "Continuous Access Mode", "Maximum Power Save", "Power Save"
    ChoiceList preamble;  // "Long Preamble", "Short & Long Preamble"
    std::array<CheckBox, bandBoxCount> bandBoxes;

    // What gives the selected positions their meaning: the bands offered and the plan the
    // channel list was built for.
    OfferedModes offered;
    int channelPlan = 0;

    const CheckBox& bandBox(BandBox box) const { return bandBoxes[static_cast<std::size_t>(box)]; }
    bool operator==(const ConfigFormState&) const = default;
};

class ConfigForm {
public:
    // The page as created: "Ad-hoc", "Continuous Access Mode" and "Short & Long Preamble"
    // selected, the channel list "1".."13" and "Auto" with "Auto" selected. A load follows before
    // the page is first seen.
    explicit ConfigForm(TextLookup lookup = {});

    // Fills the form from "on_link". offered: section Check of the settings file, read at each
    // load; channelPlan: the plan of the adapter's current configuration, which the ad hoc channel
    // list follows. A network type other than 0 loads as infrastructure; a stored band the
    // installation does not offer loads as the first band offered; positions the lists lack
    // leave them without a selection.
    void load(const OnLinkRecord& onLink, const OfferedModes& offered, int channelPlan);

    const ConfigFormState& state() const { return m_state; }
    bool isAdhoc() const { return m_state.networkType.selected == 0; }
    // The band of the band list's selection; with none, "11a".
    AdhocBand selectedBand() const;

    // The user's input. Input to a control that is disabled or hidden, or a position the list
    // does not have, is ignored.
    void setSsid(std::string ssid);
    void selectNetworkType(int position);
    void selectBand(int position);
    void selectChannel(int position);
    void selectPowerMode(int position);
    void selectPreamble(int position);
    // The box has been clicked: its state toggles, then the band box rule runs.
    void clickBandBox(BandBox box);

private:
    std::string text(const char* english) const;
    CheckBox& bandBox(BandBox box) { return m_state.bandBoxes[static_cast<std::size_t>(box)]; }
    void wirelessModeRule();
    void fillChannels();

    TextLookup m_lookup;
    ConfigFormState m_state;
};

inline constexpr int configSsidLimit = 32; // characters the SSID field takes

// "adhocband" in "on_link": 0 for "11b", anything else "11a". The value names the band, not
// the band list's position, so it means the same when the installation offers only "11a".
int storedBandCode(AdhocBand band);
AdhocBand bandOfStoredCode(int code);

// Apply refused: the message to show; nothing has been written.
struct ConfigApplyStop {
    FormMessage message;
    bool operator==(const ConfigApplyStop&) const = default;
};

// Apply accepted: the "on_link" writes in their order (the SSID already in its stored form), the
// record for the registry mirror, and the configuration to hand to the adapter.
struct ConfigApplyOutcome {
    std::vector<StoredValue> onLinkWrites;
    StationConfig mirror{};
    StationSettings handOver{};
};

using ConfigApplyResult = std::variant<ConfigApplyStop, ConfigApplyOutcome>;

// The page's Apply. fromMirror: a zeroed record the registry mirror has been loaded into, the
// starting point of every field the page does not set. pending: the configuration handed over
// last; it carries the fields the mirror does not keep (the WEP key size and the 802.1X domain)
// from the Encryption page's Apply, which this Apply completes.
ConfigApplyResult applyConfigForm(const ConfigForm& form, const StationConfig& fromMirror,
                                  const StationSettings& pending);

} // namespace logic
