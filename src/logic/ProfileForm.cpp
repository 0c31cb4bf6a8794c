#include "logic/ProfileForm.h"

#include "logic/TextCut.h"
#include "model/CodeTables.h"

#include <utility>

namespace logic {

void clickBandBox(std::array<CheckBox, bandBoxCount>& boxes, BandBox box, bool infrastructure) {
    CheckBox& clicked = boxes[static_cast<std::size_t>(box)];
    if (!clicked.enabled || !clicked.visible) {
        return;
    }
    clicked.checked = !clicked.checked;
    BandBoxChecks checks{};
    for (std::size_t i = 0; i < checks.size(); ++i) {
        checks[i] = boxes[i].checked;
    }
    applyBandBoxRule(checks, box, infrastructure);
    for (std::size_t i = 0; i < checks.size(); ++i) {
        boxes[i].checked = checks[i];
    }
}

ProfileForm::ProfileForm(ProfileFormInputs inputs)
    : m_inputs(std::move(inputs)),
      m_security(profileEditorSecurity, infrastructureAuthList(m_inputs.autoWpaWpa2), m_inputs.lookup) {
    ProfileFormState& s = m_state;
    s.networkType = {{text("Ad-hoc"), text("Infrastructure")}, 0};
    s.powerMode = {{text("Continuous Access Mode"), text("Maximum Power Save"), text("Power Save")}, 0};
    s.channel.items.clear();
    for (int channel = 1; channel <= 13; ++channel) {
        s.channel.items.push_back(std::to_string(channel));
    }
    s.channel.items.push_back(text("Auto"));
    s.channel.selected = 0;
    s.band.items = adhocBandTexts(m_inputs.offered);
    s.band.set(0);
    for (int i = 0; i < bandBoxCount; ++i) {
        const auto box = static_cast<BandBox>(i);
        CheckBox& check = bandBox(box);
        check.visible = isOffered(m_inputs.offered, box);
        check.checked = box == BandBox::Mode11B || box == BandBox::Mode11G || box == BandBox::Mode11GT ||
                        box == BandBox::ExtendedRange;
    }
    s.channelPlan = m_inputs.channelPlan;
    m_security.setStoredCipher(m_inputs.storedCipherIndex);
}

std::string ProfileForm::text(const char* english) const {
    return m_inputs.lookup ? m_inputs.lookup(english) : std::string(english);
}

bool ProfileForm::isAdhoc() const {
    return m_state.networkType.selected == 0;
}

AdhocBand ProfileForm::selectedBand() const {
    return adhocBandAt(m_inputs.offered, m_state.band.selected);
}

// --- Loading ---

void ProfileForm::loadNew(std::string_view name) {
    ProfileFormState& s = m_state;
    s.mode = EditorMode::Add;
    s.name = std::string(name);
    s.ssid.clear();
    s.networkType.set(1);
    m_security.formatRule(); // the keys are empty: nothing to complain about
    networkTypeRule();       // "Disable", which asks nothing of the keys
    m_security.maskKeys();
}

void ProfileForm::loadSurveyed(const SurveyedNetwork& network) {
    ProfileFormState& s = m_state;
    s.mode = EditorMode::Surveyed;
    s.name = cutText(network.ssid, nameFieldLimit);
    s.ssid = cutText(network.ssid, ssidFieldLimit);
    s.networkType.set(network.networkType == codes::networkAdHoc ? 0 : 1);
    networkTypeRule();
    channelRule();
    m_security.formatRule();
    const SecurityState& security = m_security.state();
    if (const auto preselection =
            surveyedPreselection(security.authList, network.encryptionMode, network.authenticationMode)) {
        m_security.preselect(*preselection);
    }
    if (isAdhoc() && selectedBand() == AdhocBand::Band11b && network.channel >= 0 && network.channel <= 13) {
        // A channel the plan's list lacks keeps the list's first channel.
        const int position = channelPositionOf(network.channel, m_inputs.channelPlan);
        if (s.channel.holds(position)) {
            s.channel.selected = position;
        }
    }
    m_security.maskKeys();
}

void ProfileForm::loadSurveyedSsid(std::string_view ssid) {
    loadNew();
    m_state.mode = EditorMode::Surveyed;
    m_state.name = cutText(ssid, nameFieldLimit);
    m_state.ssid = cutText(ssid, ssidFieldLimit);
}

void ProfileForm::handToUser() {
    if (m_state.mode == EditorMode::Connect) {
        m_state.mode = EditorMode::Properties;
    }
}

void ProfileForm::loadStored(const ProfileRecord& profile, EditorMode mode) {
    ProfileFormState& s = m_state;
    s.mode = mode;
    s.name = profile.Profilename;
    s.ssid = profile.SSID;
    s.networkType.set(profile.bsstype == codes::networkAdHoc ? 0 : 1);
    networkTypeRule();
    s.band.set(profile.adhocband);
    channelRule();
    s.powerMode.set(profile.PowerMode);
    s.channel.set(profile.Channel);
    const int32_t boxes[bandBoxCount] = {profile.Mode11b, profile.Mode11g, profile.Mode11gt,
                                         profile.ModeXR,  profile.Mode11a, profile.Mode11at};
    for (int i = 0; i < bandBoxCount; ++i) {
        s.bandBoxes[static_cast<std::size_t>(i)].checked = boxes[i] != 0;
    }
    // The editor leaves a stored key that fails its format to Apply: showing it asks nothing.
    m_security.showStored(profile, profile.AuthListIndex, profile.CipherListIndex);
}

// --- Rules ---

void ProfileForm::networkTypeRule() {
    ProfileFormState& s = m_state;
    const bool adhoc = isAdhoc();
    s.channel.enabled = adhoc;
    s.band.enabled = adhoc;
    if (adhoc) {
        s.band.set(0);
    }
    for (BandBox box : {BandBox::Mode11B, BandBox::Mode11G, BandBox::Mode11GT, BandBox::Mode11AT}) {
        bandBox(box).enabled = !adhoc;
    }
    m_security.fillAuthentication(authListFor(m_inputs.autoWpaWpa2, adhoc));
    m_security.setCipher(adhoc ? CipherList::WepKey : CipherList::Empty, 0);
    m_security.authenticationRule(); // "Disable" is selected: it asks nothing of the keys
    channelRule();
}

void ProfileForm::channelRule() {
    const ChannelChoice choice =
        channelChoice(ChannelScreen::ProfileEditor, m_inputs.channelPlan, isAdhoc(), selectedBand());
    m_state.channel.items = choice.items;
    m_state.channel.enabled = choice.enabled;
    m_state.channel.set(0);
    m_state.channelPlan = m_inputs.channelPlan;
}

// --- Input ---

void ProfileForm::setName(std::string name) {
    m_state.name = std::move(name);
}

void ProfileForm::setSsid(std::string ssid) {
    m_state.ssid = std::move(ssid);
}

void ProfileForm::selectNetworkType(int position) {
    if (m_state.networkType.pick(position)) {
        networkTypeRule();
    }
}

void ProfileForm::selectBand(int position) {
    if (m_state.band.pick(position)) {
        channelRule();
    }
}

void ProfileForm::selectChannel(int position) {
    m_state.channel.pick(position);
}

void ProfileForm::selectPowerMode(int position) {
    m_state.powerMode.pick(position);
}

std::optional<FormMessage> ProfileForm::selectAuthentication(int position) {
    return m_security.selectAuthentication(position);
}

void ProfileForm::selectCipher(int position) {
    m_security.selectCipher(position);
}

std::optional<FormMessage> ProfileForm::checkDefaultKey(int key) {
    return m_security.selectDefaultKey(key);
}

// The field unmasks itself at the first keystroke, so an edited text is never masked.
void ProfileForm::setKeyText(int key, std::string text) {
    m_security.setKeyText(key, std::move(text), false);
}

std::optional<FormMessage> ProfileForm::selectKeyLength(int key, int position) {
    return m_security.selectKeyLength(key, position);
}

std::optional<FormMessage> ProfileForm::selectKeyFormat(int position) {
    return m_security.selectKeyFormat(position);
}

void ProfileForm::clickBandBox(BandBox box) {
    logic::clickBandBox(m_state.bandBoxes, box, infrastructure());
}

// --- The "Config" button ---

ConfigDialog ProfileForm::configDialog() const {
    return m_security.configDialog();
}

// A stored profile's values are offered again; mode 99 only reaches the user when its Apply
// was refused, and is then the same editing of a stored profile.
bool ProfileForm::editsStoredProfile() const {
    return m_state.mode == EditorMode::Properties || m_state.mode == EditorMode::Connect;
}

std::string ProfileForm::passphrasePreset() const {
    return editsStoredProfile() ? m_security.state().passphrase : std::string();
}

CertificateValues ProfileForm::certificatePreset() const {
    return editsStoredProfile() ? m_security.state().certificate : CertificateValues{};
}

void ProfileForm::acceptPassphrase(std::string passphrase) {
    m_security.acceptPassphrase(std::move(passphrase));
}

void ProfileForm::acceptCertificate(CertificateValues values) {
    m_security.acceptCertificate(std::move(values));
}

} // namespace logic
