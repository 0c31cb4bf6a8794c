#include "logic/EncryptionForm.h"

#include "logic/KeyRules.h"
#include "storage/StoredText.h"

#include <utility>

namespace logic {
namespace {

constexpr int keyCount = 4;

std::size_t at(int key) {
    return static_cast<std::size_t>(key);
}

std::string numbered(const char* prefix, int key) {
    return prefix + std::to_string(key + 1);
}

} // namespace

EncryptionForm::EncryptionForm(const OnLinkRecord& onLink) : m_onLink(onLink) {
    EncryptionFormState& s = m_state;
    fillAuthentication(infrastructureAuthList(onLink.AutoWPAWPA2));
    for (ChoiceList& length : s.keyLength) {
        length = {{"64bits", "128bits"}, 0};
    }
    s.defaultKey = {{"1", "2", "3", "4"}, 0};
    s.keyFormat = {{"ASCII", "HEX"}, 0};
    enableForItem(RuleForm::Refresh);
}

std::optional<AuthItem> EncryptionForm::selectedAuthItem() const {
    return authItemAt(m_state.authList, m_state.authentication.selected);
}

// --- Refresh ---

std::optional<FormMessage> EncryptionForm::refresh(const OnLinkRecord& onLink) {
    EncryptionFormState& s = m_state;
    m_onLink = onLink;
    m_givenPassphrase.reset();
    m_givenCertificate.reset();
    fillAuthentication(authListFor(onLink.AutoWPAWPA2, onLink.bsstype == 0));
    if (onLink.CipherListIndex == 0) {
        setCipher(CipherList::Desable, 0);
    } else if (onLink.CipherListIndex == 1) {
        setCipher(CipherList::WepKey, 0);
    }
    s.authentication.set(onLink.AuthListIndex);
    s.keyFormat.set(onLink.KeyFormat);
    for (int k = 0; k < keyCount; ++k) {
        s.keyLength[at(k)].set(onLink.keyLength(k));
    }
    // Each key goes in as if typed, so its length limit applies; a stored key that fits its
    // stored format and length stays whole.
    for (int k = 0; k < keyCount; ++k) {
        s.keys[at(k)].text = onLink.wepKey(k);
        keyLimitRule(k);
    }
    for (int k = 0; k < keyCount; ++k) {
        if (onLink.radio(k) == 1) {
            s.defaultKey.selected = k; // of several marked keys the last one counts
        }
    }
    std::optional<FormMessage> message = defaultKeyRule();
    enableForItem(RuleForm::Refresh);
    for (KeyField& key : s.keys) {
        key.masked = true;
    }
    return message;
}

// --- Rules ---

void EncryptionForm::fillAuthentication(AuthList list) {
    // Without a list (an infrastructure network and an AutoWPAWPA2 other than "YES" and "NO")
    // the list is empty: nothing on it could be stored with a meaning the reconnection shares.
    m_state.authList = list;
    m_state.authentication.items = authItemTexts(list);
    m_state.authentication.selected = authPositionOf(list, AuthItem::Disable);
}

void EncryptionForm::setCipher(CipherList list, int selected) {
    m_state.cipher.items = cipherItems(list);
    m_state.cipher.set(selected);
}

void EncryptionForm::setKeyControls(bool on) {
    for (int k = 0; k < keyCount; ++k) {
        m_state.keys[at(k)].enabled = on;
        m_state.keyLength[at(k)].enabled = on;
    }
    m_state.defaultKey.enabled = on;
    m_state.keyFormat.enabled = on;
}

void EncryptionForm::enableForItem(RuleForm form) {
    EncryptionFormState& s = m_state;
    s.authentication.enabled = true;
    const std::optional<AuthItem> item = selectedAuthItem();
    if (!item || *item == AuthItem::Disable) {
        // No item selected (a stored position the list lacks) asks for nothing either.
        s.configEnabled = false;
        setKeyControls(false);
        setCipher(CipherList::Empty, -1);
        s.cipher.enabled = false;
        return;
    }
    const AuthControls controls =
        authControls(*item, form == RuleForm::Refresh ? AuthRuleForm::EncryptionPageRefresh
                                                      : AuthRuleForm::SelectionChange);
    const CipherList cipher = cipherListFor(*item).value_or(CipherList::Empty);
    s.configEnabled = controls.configButton;
    setKeyControls(controls.keyControls);
    if (authKind(*item) == AuthKind::Wep) {
        // Only the default key is edited; its length with it.
        for (int k = 0; k < keyCount; ++k) {
            s.keys[at(k)].enabled = k == s.defaultKey.selected;
            s.keyLength[at(k)].enabled = k == s.defaultKey.selected;
        }
    }
    // The stored "Encryation Mode" is a position of the "AES", "TKIP" list.
    setCipher(cipher, cipher == CipherList::AesTkip ? m_onLink.CipherListIndex : 0);
    s.cipher.enabled = controls.cipherEnabled;
}

std::optional<FormMessage> EncryptionForm::defaultKeyRule() {
    const int key = m_state.defaultKey.selected;
    if (key < 0) {
        return std::nullopt;
    }
    for (int k = 0; k < keyCount; ++k) {
        m_state.keys[at(k)].enabled = k == key;
        m_state.keyLength[at(k)].enabled = k == key;
    }
    return formatRule();
}

std::optional<FormMessage> EncryptionForm::formatRule() {
    const int key = m_state.defaultKey.selected;
    if (key < 0) {
        return std::nullopt;
    }
    return formatKeyField(m_state.keys[at(key)], m_state.keyFormat.selected,
                          m_state.keyLength[at(key)].selected);
}

void EncryptionForm::keyLimitRule(int key) {
    limitKeyField(m_state.keys[at(key)], m_state.keyFormat.selected, m_state.keyLength[at(key)].selected);
}

// --- Input ---

std::optional<FormMessage> EncryptionForm::selectAuthentication(int position) {
    if (!m_state.authentication.pick(position)) {
        return std::nullopt;
    }
    const std::optional<AuthItem> item = selectedAuthItem();
    if (item && authKind(*item) == AuthKind::Wep) {
        m_state.defaultKey.selected = 0; // a change to a WEP item starts at key 1
        enableForItem(RuleForm::SelectionChange);
        return defaultKeyRule();
    }
    enableForItem(RuleForm::SelectionChange);
    return std::nullopt;
}

void EncryptionForm::selectCipher(int position) {
    m_state.cipher.pick(position);
}

std::optional<FormMessage> EncryptionForm::selectDefaultKey(int position) {
    if (!m_state.defaultKey.pick(position)) {
        return std::nullopt;
    }
    return defaultKeyRule();
}

std::optional<FormMessage> EncryptionForm::selectKeyLength(int key, int position) {
    if (key < 0 || key >= keyCount || !m_state.keyLength[at(key)].pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

std::optional<FormMessage> EncryptionForm::selectKeyFormat(int position) {
    if (!m_state.keyFormat.pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

void EncryptionForm::setKeyText(int key, std::string text, bool masked) {
    if (key < 0 || key >= keyCount || !m_state.keys[at(key)].enabled) {
        return;
    }
    KeyField& field = m_state.keys[at(key)];
    field.text = std::move(text);
    field.masked = masked;
    keyLimitRule(key);
}

// --- The "Configuration" button ---

ConfigDialog EncryptionForm::configDialog() const {
    return configDialogFor(m_state.configEnabled, selectedAuthItem());
}

void EncryptionForm::acceptPassphrase(std::string passphrase) {
    m_givenPassphrase = std::move(passphrase);
}

void EncryptionForm::acceptCertificate(CertificateValues values) {
    m_givenCertificate = std::move(values);
}

std::string EncryptionForm::passphrase() const {
    return m_givenPassphrase ? *m_givenPassphrase : m_onLink.WPAPassPhase;
}

CertificateValues EncryptionForm::certificate() const {
    if (m_givenCertificate) {
        return *m_givenCertificate;
    }
    return {m_onLink.CertificateName, m_onLink.CertificateHash, m_onLink.DomainName, m_onLink.LoginName};
}

// --- Apply ---

namespace {

std::optional<EncryptionApplyStop> checkDefaultKey(const EncryptionFormState& s, AuthKind kind) {
    const int key = s.defaultKey.selected;
    if (kind != AuthKind::Wep || key < 0) {
        return std::nullopt;
    }
    auto refused = checkDefaultKeyAtApply(s.keys[at(key)].text, s.keyFormat.selected,
                                          s.keyLength[at(key)].selected, key);
    if (!refused) {
        return std::nullopt;
    }
    return EncryptionApplyStop{std::move(refused->message), refused->emptyKeyField};
}

void setSecurity(StationConfig& r, const EncryptionForm& form, AuthKind kind) {
    const EncryptionFormState& s = form.state();
    switch (kind) {
    case AuthKind::Certificate: {
        const CertificateValues values = form.certificate();
        copyText(r.cCertificateName, values.certificate.c_str());
        copyText(r.cCertificateHash, values.authority.c_str());
        copyText(r.cDomainName, values.domain.c_str());
        copyText(r.cLoginName, values.login.c_str());
        break;
    }
    case AuthKind::Passphrase:
        copyText(r.cWPAPassPhase, form.passphrase().c_str());
        break;
    case AuthKind::Wep: {
        const int key = s.defaultKey.selected;
        if (key < 0) {
            break;
        }
        const std::string& typed = s.keys[at(key)].text;
        const int required = RequiredKeyLength(s.keyFormat.selected, s.keyLength[at(key)].selected);
        r.iDefaultWEPKeyID = key;
        r.iWEPKeyBits = WepKeyBits(required);
        copyText(r.wepKeyValue(key), MakeWepKeyValue(typed, required).c_str());
        copyText(r.uiWepKey(key), typed.c_str());
        break;
    }
    case AuthKind::Disabled:
        break;
    }
}

void addWrites(std::vector<StoredValue>& writes, const EncryptionForm& form, AuthKind kind) {
    const EncryptionFormState& s = form.state();
    const auto number = [&](std::string key, int value) {
        writes.push_back({std::move(key), std::to_string(value)});
    };
    const auto scrambled = [&](std::string key, const std::string& plain) {
        writes.push_back({std::move(key), EncodeStoredText(plain)});
    };
    number("Auth Mode", s.authentication.selected);
    number("Encryation Mode", s.cipher.selected);
    for (int k = 0; k < keyCount; ++k) {
        number(numbered("Radio", k), k == s.defaultKey.selected ? 1 : 0);
    }
    for (int k = 0; k < keyCount; ++k) {
        scrambled(numbered("WEP key", k), s.keys[at(k)].text);
    }
    if (form.storedNetworkType() == 1 && kind == AuthKind::Passphrase) {
        scrambled("WPAPassPhase", form.passphrase());
    }
    if (form.storedNetworkType() == 1 && kind == AuthKind::Certificate) {
        const CertificateValues values = form.certificate();
        scrambled("CertificateHash", values.authority);
        scrambled("CertificateName", values.certificate);
        scrambled("DomainName", values.domain);
        scrambled("LoginName", values.login);
    }
    number("Key Format", s.keyFormat.selected);
    for (int k = 0; k < keyCount; ++k) {
        number(numbered("Key Length", k), s.keyLength[at(k)].selected);
    }
}

} // namespace

EncryptionApplyResult applyEncryptionForm(const EncryptionForm& form, const StationConfig& fromMirror) {
    const EncryptionFormState& s = form.state();
    const std::optional<AuthItem> item = form.selectedAuthItem();
    const AuthKind kind = item ? authKind(*item) : AuthKind::Disabled;
    if (auto stop = checkDefaultKey(s, kind)) {
        return *stop;
    }
    EncryptionApplyOutcome out;
    out.record = fromMirror;
    // Without any item (an empty list) the network is open, as the reconnection reads it.
    const SecurityModes modes = item ? securityModes(*item, s.cipher.selected) : SecurityModes{0, 0};
    out.record.AuthenticationMode = modes.authentication;
    out.record.EncryptionMode = modes.encryption;
    setSecurity(out.record, form, kind);
    addWrites(out.onLinkWrites, form, kind);
    return out;
}

} // namespace logic
