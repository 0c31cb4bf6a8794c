#include "logic/ProfileForm.h"

#include "logic/KeyRules.h"
#include "logic/TextCut.h"

#include <utility>

namespace logic {
namespace {

constexpr int keyCount = 4;

bool validKey(int key) {
    return key >= 0 && key < keyCount;
}

std::size_t at(int key) {
    return static_cast<std::size_t>(key);
}

} // namespace

ConfigDialog configDialogFor(bool configEnabled, std::optional<AuthItem> item) {
    if (!configEnabled || !item) {
        return ConfigDialog::None;
    }
    switch (authKind(*item)) {
    case AuthKind::Certificate:
        return ConfigDialog::Certificate;
    case AuthKind::Passphrase:
        return ConfigDialog::Passphrase;
    default:
        return ConfigDialog::None;
    }
}

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

std::optional<KeyRefusal> checkDefaultKeyAtApply(const std::string& typed, int format, int lengthPosition,
                                                 int key) {
    if (auto message = CheckWepKeyLength(typed, key + 1, format, lengthPosition)) {
        return KeyRefusal{FormMessage{std::move(*message), MessageCaption::ApplicationName}};
    }
    // The field's filter and the format check keep such keys out, but a stored key comes in
    // unfiltered: the adapter must never get one.
    if (format != 0 && !IsHexText(typed)) {
        return KeyRefusal{FormMessage{nonHexKeyMessage, MessageCaption::Prompt}, key};
    }
    return std::nullopt;
}

void limitKeyField(KeyField& field, int format, int lengthPosition) {
    const KeyFieldState limited = ApplyKeyLimit(field.text, format, lengthPosition);
    if (limited.limit == 0) {
        return; // an empty field keeps its limit and filter
    }
    field.text = limited.text;
    field.limit = limited.limit;
    field.hexOnly = limited.hexOnly;
}

std::optional<FormMessage> formatKeyField(KeyField& field, int format, int lengthPosition) {
    limitKeyField(field, format, lengthPosition);
    const KeyFormatCheck check = CheckKeyFormat(field.text, format);
    field.hexOnly = check.hexOnly;
    if (check.rejected) {
        field.text.clear();
        return FormMessage{nonHexKeyMessage, MessageCaption::Prompt};
    }
    return std::nullopt;
}

ProfileForm::ProfileForm(ProfileFormInputs inputs) : m_inputs(std::move(inputs)) {
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
    for (ChoiceList& length : s.keyLength) {
        length = {{text("64 bits"), text("128 bits")}, 0};
    }
    s.keyFormat = {{text("ASCII"), text("HEX")}, 0};
    fillAuthentication(infrastructureAuthList(m_inputs.autoWpaWpa2));
    s.defaultKey[0].checked = true;
    for (int i = 0; i < bandBoxCount; ++i) {
        const auto box = static_cast<BandBox>(i);
        CheckBox& check = bandBox(box);
        check.visible = isOffered(m_inputs.offered, box);
        check.checked = box == BandBox::Mode11B || box == BandBox::Mode11G || box == BandBox::Mode11GT ||
                        box == BandBox::ExtendedRange;
    }
    s.channelPlan = m_inputs.channelPlan;
}

std::string ProfileForm::text(const char* english) const {
    return m_inputs.lookup ? m_inputs.lookup(english) : std::string(english);
}

std::optional<AuthItem> ProfileForm::selectedAuthItem() const {
    return authItemAt(m_state.authList, m_state.authentication.selected);
}

bool ProfileForm::isAdhoc() const {
    return m_state.networkType.selected == 0;
}

AdhocBand ProfileForm::selectedBand() const {
    return adhocBandAt(m_inputs.offered, m_state.band.selected);
}

int ProfileForm::defaultKeyIndex() const {
    for (int k = 0; k < keyCount; ++k) {
        if (m_state.defaultKey[at(k)].checked) {
            return k;
        }
    }
    return -1;
}

// --- Loading ---

void ProfileForm::loadNew(std::string_view name) {
    ProfileFormState& s = m_state;
    s.mode = EditorMode::Add;
    s.name = std::string(name);
    s.ssid.clear();
    s.networkType.set(1);
    s.authentication.enabled = true;
    s.authentication.set(authPositionOf(s.authList, AuthItem::Disable));
    s.configEnabled = false;
    setKeyControls(false);
    formatRule(); // the keys are empty: nothing to complain about
    authenticationRule();
    networkTypeRule();
    maskKeys();
}

void ProfileForm::loadSurveyed(const SurveyedNetwork& network) {
    ProfileFormState& s = m_state;
    s.mode = EditorMode::Surveyed;
    s.name = cutText(network.ssid, nameFieldLimit);
    s.ssid = cutText(network.ssid, ssidFieldLimit);
    s.networkType.set(network.networkType == 0 ? 0 : 1);
    networkTypeRule();
    channelRule();
    formatRule();
    if (const auto preselection =
            surveyedPreselection(s.authList, network.encryptionMode, network.authenticationMode)) {
        s.authentication.set(authPositionOf(s.authList, preselection->item));
        authenticationRule();
        setCipher(preselection->cipher, preselection->cipherPosition);
        s.cipher.enabled = preselection->cipherEnabled;
    }
    if (isAdhoc() && selectedBand() == AdhocBand::Band11b && network.channel >= 0 && network.channel <= 13) {
        // A channel the plan's list lacks keeps the list's first channel.
        const int position = channelPositionOf(network.channel, m_inputs.channelPlan);
        if (s.channel.holds(position)) {
            s.channel.selected = position;
        }
    }
    maskKeys();
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
    s.networkType.set(profile.bsstype == 0 ? 0 : 1);
    networkTypeRule();
    s.band.set(profile.adhocband);
    channelRule();
    s.powerMode.set(profile.PowerMode);
    s.channel.set(profile.Channel);
    s.authentication.set(profile.AuthListIndex);
    s.keyFormat.set(profile.KeyFormat);
    enableForStoredItem(profile);
    const int32_t boxes[bandBoxCount] = {profile.Mode11b, profile.Mode11g, profile.Mode11gt,
                                         profile.ModeXR,  profile.Mode11a, profile.Mode11at};
    for (int i = 0; i < bandBoxCount; ++i) {
        s.bandBoxes[at(i)].checked = boxes[i] != 0;
    }
    for (int k = 0; k < keyCount; ++k) {
        s.keyLength[at(k)].set(profile.keyLength(k));
    }
    // Each key goes in as if typed, so its length limit applies; a stored key that fits its
    // stored format and length stays whole.
    for (int k = 0; k < keyCount; ++k) {
        s.keys[at(k)].text = profile.wepKey(k);
        keyLimitRule(k);
    }
    s.passphrase = profile.WPAPassPhase;
    s.certificate = {profile.CertificateName, profile.CertificateHash, profile.DomainName, profile.LoginName};
    maskKeys();
}

// The authentication rule's enabling, with the stored default key and cipher instead of the
// rule's own choices.
void ProfileForm::enableForStoredItem(const ProfileRecord& profile) {
    ProfileFormState& s = m_state;
    int marked = -1;
    for (int k = 0; k < keyCount; ++k) {
        if (profile.radio(k) == 1) {
            marked = k;
        }
    }
    for (int k = 0; k < keyCount; ++k) {
        s.defaultKey[at(k)].checked = k == marked;
    }
    s.authentication.enabled = true;
    const std::optional<AuthItem> item = selectedAuthItem();
    if (!item || *item == AuthItem::Disable) {
        s.configEnabled = false;
        setKeyControls(false);
        setCipher(CipherList::Desable, 0);
        s.cipher.enabled = false;
        return;
    }
    const AuthControls controls = authControls(*item);
    const CipherList cipher = cipherListFor(*item).value_or(CipherList::Empty);
    s.configEnabled = controls.configButton;
    setKeyControls(controls.keyControls);
    if (authKind(*item) == AuthKind::Wep) {
        for (int k = 0; k < keyCount; ++k) {
            s.keys[at(k)].enabled = k == marked;
            s.keyLength[at(k)].enabled = k == marked;
        }
    }
    setCipher(cipher, cipher == CipherList::AesTkip ? profile.CipherListIndex : 0);
    s.cipher.enabled = controls.cipherEnabled;
}

// --- Rules ---

void ProfileForm::fillAuthentication(AuthList list) {
    m_state.authList = list;
    m_state.authentication.items = authItemTexts(list);
    m_state.authentication.selected = authPositionOf(list, AuthItem::Disable);
}

void ProfileForm::setCipher(CipherList list, int selected) {
    m_state.cipher.items = cipherItems(list);
    m_state.cipher.set(selected);
}

void ProfileForm::setKeyControls(bool on) {
    for (int k = 0; k < keyCount; ++k) {
        m_state.keys[at(k)].enabled = on;
        m_state.keyLength[at(k)].enabled = on;
        m_state.defaultKey[at(k)].enabled = on;
    }
    m_state.keyFormat.enabled = on;
}

void ProfileForm::maskKeys() {
    for (KeyField& key : m_state.keys) {
        key.masked = true;
    }
}

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
    fillAuthentication(authListFor(m_inputs.autoWpaWpa2, adhoc));
    if (adhoc) {
        setCipher(CipherList::WepKey, 0);
    } else {
        setCipher(CipherList::Empty, -1);
    }
    authenticationRule(); // "Disable" is selected: it asks nothing of the keys
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

std::optional<FormMessage> ProfileForm::authenticationRule() {
    ProfileFormState& s = m_state;
    s.authentication.enabled = true;
    const std::optional<AuthItem> item = selectedAuthItem();
    if (!item || *item == AuthItem::Disable) {
        // The cipher list keeps what it shows.
        s.configEnabled = false;
        setKeyControls(false);
        s.cipher.enabled = false;
        return std::nullopt;
    }
    const AuthControls controls = authControls(*item);
    const CipherList cipher = cipherListFor(*item).value_or(CipherList::Empty);
    s.configEnabled = controls.configButton;
    setKeyControls(controls.keyControls);
    setCipher(cipher, cipher == CipherList::AesTkip ? m_inputs.storedCipherIndex : 0);
    s.cipher.enabled = controls.cipherEnabled;
    if (authKind(*item) == AuthKind::Wep) {
        return defaultKeyRule(0);
    }
    return std::nullopt;
}

std::optional<FormMessage> ProfileForm::defaultKeyRule(int key) {
    for (int k = 0; k < keyCount; ++k) {
        m_state.defaultKey[at(k)].checked = k == key;
        m_state.keys[at(k)].enabled = k == key;
        m_state.keyLength[at(k)].enabled = k == key;
    }
    return formatRule();
}

std::optional<FormMessage> ProfileForm::formatRule() {
    const int key = defaultKeyIndex();
    if (key < 0) {
        return std::nullopt;
    }
    return formatKeyField(m_state.keys[at(key)], m_state.keyFormat.selected,
                          m_state.keyLength[at(key)].selected);
}

void ProfileForm::keyLimitRule(int key) {
    limitKeyField(m_state.keys[at(key)], m_state.keyFormat.selected, m_state.keyLength[at(key)].selected);
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
    if (!m_state.authentication.pick(position)) {
        return std::nullopt;
    }
    return authenticationRule();
}

void ProfileForm::selectCipher(int position) {
    m_state.cipher.pick(position);
}

std::optional<FormMessage> ProfileForm::checkDefaultKey(int key) {
    if (!validKey(key) || !m_state.defaultKey[at(key)].enabled) {
        return std::nullopt;
    }
    return defaultKeyRule(key);
}

void ProfileForm::setKeyText(int key, std::string text) {
    if (!validKey(key) || !m_state.keys[at(key)].enabled) {
        return;
    }
    KeyField& field = m_state.keys[at(key)];
    field.text = std::move(text);
    field.masked = false;
    keyLimitRule(key);
}

std::optional<FormMessage> ProfileForm::selectKeyLength(int key, int position) {
    if (!validKey(key) || !m_state.keyLength[at(key)].pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

std::optional<FormMessage> ProfileForm::selectKeyFormat(int position) {
    if (!m_state.keyFormat.pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

void ProfileForm::clickBandBox(BandBox box) {
    logic::clickBandBox(m_state.bandBoxes, box, infrastructure());
}

// --- The "Config" button ---

ConfigDialog ProfileForm::configDialog() const {
    return configDialogFor(m_state.configEnabled, selectedAuthItem());
}

// A stored profile's values are offered again; mode 99 only reaches the user when its Apply
// was refused, and is then the same editing of a stored profile.
std::string ProfileForm::passphrasePreset() const {
    const bool stored = m_state.mode == EditorMode::Properties || m_state.mode == EditorMode::Connect;
    return stored ? m_state.passphrase : std::string();
}

CertificateValues ProfileForm::certificatePreset() const {
    const bool stored = m_state.mode == EditorMode::Properties || m_state.mode == EditorMode::Connect;
    return stored ? m_state.certificate : CertificateValues{};
}

void ProfileForm::acceptPassphrase(std::string passphrase) {
    m_state.passphrase = std::move(passphrase);
}

void ProfileForm::acceptCertificate(CertificateValues values) {
    m_state.certificate = std::move(values);
}

} // namespace logic
