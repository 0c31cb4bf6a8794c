#pragma once

#include "logic/AuthenticationLists.h"
#include "logic/BandBoxes.h"
#include "logic/ChannelLists.h"
#include "logic/FormControls.h"
#include "logic/SecuritySection.h"
#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The profile editor without its window: the whole state of the form, every rule that ties
// its controls together, and its Apply as one function from the form to what is stored and
// applied. The security part is the section the Encryption page has too, in the editor's
// flavour. A view renders ProfileFormState and the security state after every call and forwards
// the user's input to the operations; it decides nothing itself.
//
// Texts that the text catalogue translates (network types, power modes, key lengths, key
// formats) come translated through the lookup the caller passes in; every other list text
// is fixed. A view therefore shows the state's texts as they are.
namespace logic {

// How the editor was opened: 1 add a profile, 2 connect to a surveyed network, 5 edit a stored
// profile (Properties), 99 apply a stored profile without showing the editor.
enum class EditorMode { Add = 1, Surveyed = 2, Properties = 5, Connect = 99 };

// What the form needs from outside, read by the opener when the editor opens.
struct ProfileFormInputs {
    std::string autoWpaWpa2;   // AutoWPAWPA2 of section Setini
    OfferedModes offered;      // section Check
    int channelPlan = 0;       // ChannelPlan of the current configuration
    int storedCipherIndex = 0; // "Encryation Mode" of "on_link": preselected for WPA items
    TextLookup lookup;
};

// The surveyed network the editor connects to in mode 2.
struct SurveyedNetwork {
    std::string ssid;
    int channel = 0; // channel index
    int networkType = 0;
    int encryptionMode = 0;
    int authenticationMode = 0;
};

inline constexpr std::size_t nameFieldLimit = 32; // characters the name field takes
inline constexpr std::size_t ssidFieldLimit = 32; // characters the SSID field takes

// The editor's own controls; its security section keeps the rest.
struct ProfileFormState {
    EditorMode mode = EditorMode::Add;
    std::string name;
    std::string ssid;
    ChoiceList networkType; // "Ad-hoc", "Infrastructure"
    ChoiceList band;        // "11b" and/or "11a"
    ChoiceList channel;
    ChoiceList powerMode; // "Continuous Access Mode", "Maximum Power Save", "Power Save"
    std::array<CheckBox, bandBoxCount> bandBoxes;

    // The plan the channel list was built for: it gives the selected position its meaning.
    int channelPlan = 0;

    const CheckBox& bandBox(BandBox box) const { return bandBoxes[static_cast<std::size_t>(box)]; }
    bool operator==(const ProfileFormState&) const = default;
};

// A click on a band box: a usable box changes, then the band-box rules put the others right.
void clickBandBox(std::array<CheckBox, bandBoxCount>& boxes, BandBox box, bool infrastructure);

class ProfileForm {
public:
    // The freshly created editor: lists filled, "Disable" selected, key 1 the default key,
    // 11B, 11G, 11GT and Extended Range checked. One of the load operations follows.
    explicit ProfileForm(ProfileFormInputs inputs);

    // Mode 1: an empty infrastructure profile without security; name: what the name field
    // starts with (a profile the list shows but the store no longer holds by that name).
    void loadNew(std::string_view name = {});
    // Mode 2: the surveyed network's SSID as name and SSID, its network type, and the security
    // preselected from what the survey reported.
    void loadSurveyed(const SurveyedNetwork& network);
    // Mode 2 for a listed network the last survey no longer reports: its SSID as name and SSID,
    // and nothing else preset (an infrastructure network without security, as a new profile).
    void loadSurveyedSsid(std::string_view ssid);
    // Modes 5 and 99: a stored profile. Positions that the lists lack leave them without a
    // selection, as the file then says nothing usable; a network type other than 0 loads as
    // infrastructure. Of several keys marked as the default, the last one counts.
    void loadStored(const ProfileRecord& profile, EditorMode mode);

    // Mode 99 refused to apply the stored profile: the user now edits it as in mode 5, and a
    // refusal from now on tells why.
    void handToUser();

    const ProfileFormState& state() const { return m_state; }
    const SecurityState& security() const { return m_security.state(); }
    const SecuritySection& securitySection() const { return m_security; }
    const ProfileFormInputs& inputs() const { return m_inputs; }

    std::optional<AuthItem> selectedAuthItem() const { return m_security.selectedItem(); }
    bool isAdhoc() const;
    AdhocBand selectedBand() const;
    // The checked default key 0..3, -1 when none is.
    int defaultKeyIndex() const { return m_security.defaultKey(); }

    // The user's input. Input to a control that is disabled or hidden, or a position the list
    // does not have, is ignored. An operation that returns a message has changed the form
    // already; the view shows the message and renders the state.
    void setName(std::string name);
    void setSsid(std::string ssid);
    void selectNetworkType(int position);
    void selectBand(int position);
    void selectChannel(int position);
    void selectPowerMode(int position);
    std::optional<FormMessage> selectAuthentication(int position);
    void selectCipher(int position);
    std::optional<FormMessage> checkDefaultKey(int key);
    // key 0..3: the field's text after the user's edit (a masked field's first keystroke
    // already replaced the whole text). Applies the key-length limit.
    void setKeyText(int key, std::string text);
    std::optional<FormMessage> selectKeyLength(int key, int position);
    std::optional<FormMessage> selectKeyFormat(int position);
    // The box has been clicked: its state toggles, then the band box rule runs.
    void clickBandBox(BandBox box);

    // The "Config" button: which dialog, and what it starts with (the form's own values when a
    // stored profile is edited, empty otherwise).
    ConfigDialog configDialog() const;
    std::string passphrasePreset() const;
    CertificateValues certificatePreset() const;
    void acceptPassphrase(std::string passphrase);
    void acceptCertificate(CertificateValues values);

private:
    std::string text(const char* english) const;
    bool infrastructure() const { return !isAdhoc(); }
    bool editsStoredProfile() const;
    CheckBox& bandBox(BandBox box) { return m_state.bandBoxes[static_cast<std::size_t>(box)]; }

    void networkTypeRule();
    void channelRule();

    ProfileFormInputs m_inputs;
    ProfileFormState m_state;
    SecuritySection m_security;
};

// The name under which a profile is stored, or "" when there is none: the store holds at
// most 99 characters on one line and ignores blanks around a value, so a name is cut at a
// line break, loses its blanks at both ends and keeps at most 99 characters. Two names that
// the store would read back alike are thus alike already when they are saved.
inline constexpr std::size_t storedNameLimit = 99;
std::string storedProfileName(std::string_view typed);

inline constexpr const char* missingNameMessage = "Please input profile name";
inline constexpr const char* adhocSsidMessage =
    "In order to select an Ad-hoc network , you must have a SSID.";

// Apply refused: the message to show (none for a stored profile without a name in mode 99),
// and the key field to empty (-1: none). In mode 99 a refusal opens the editor for the user.
struct ApplyStop {
    std::optional<FormMessage> message;
    int emptyKeyField = -1;
    bool operator==(const ApplyStop&) const = default;
};

// Apply accepted: the profile section's and "on_link"'s writes in the order they are made
// (secrets already in their stored form), the profile's name, and the configuration to hand
// to the adapter. The caller chooses the profile's section through the store.
struct ApplyOutcome {
    std::string profileName;
    std::vector<StoredValue> profileWrites;
    std::vector<StoredValue> onLinkWrites;
    StationSettings pending{};
};

using ApplyResult = std::variant<ApplyStop, ApplyOutcome>;

// The editor's Apply: the checks (the default WEP key's length and digits, the name, an ad hoc
// network's SSID), then the writes and the configuration. The form itself is not changed.
ApplyResult applyProfileForm(const ProfileForm& form);

} // namespace logic
