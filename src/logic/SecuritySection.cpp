#include "logic/SecuritySection.h"

#include "logic/KeyRules.h"

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

std::string translated(const TextLookup& lookup, const char* english) {
    return lookup ? lookup(english) : std::string(english);
}

// A field after a change of its text, format or length (list positions): its text cut to the
// length, its limit and filter set; an empty field keeps its limit and filter.
void limitKeyField(KeyField& field, int format, int lengthPosition) {
    const KeyFieldState limited = ApplyKeyLimit(field.text, format, lengthPosition);
    if (limited.limit == 0) {
        return;
    }
    field.text = limited.text;
    field.limit = limited.limit;
    field.hexOnly = limited.hexOnly;
}

// The same, then the format check: a text that is not hexadecimal where hexadecimal is asked for
// is emptied, with the message that says so.
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

} // namespace

SecuritySection::SecuritySection(const SecurityFlavour& flavour, AuthList list, const TextLookup& lookup)
    : m_flavour(flavour) {
    for (ChoiceList& length : m_state.keyLength) {
        length = {
            {translated(lookup, flavour.keyLengthTexts[0]), translated(lookup, flavour.keyLengthTexts[1])},
            0};
    }
    m_state.defaultKey = {{"1", "2", "3", "4"}, 0};
    m_state.keyFormat = {{translated(lookup, "ASCII"), translated(lookup, "HEX")}, 0};
    fillAuthentication(list);
}

std::optional<AuthItem> SecuritySection::selectedItem() const {
    return authItemAt(m_state.authList, m_state.authentication.selected);
}

AuthKind SecuritySection::selectedKind() const {
    const std::optional<AuthItem> item = selectedItem();
    return item ? authKind(*item) : AuthKind::Disabled;
}

// --- What the form sets ---

void SecuritySection::fillAuthentication(AuthList list) {
    // Without a list (an infrastructure network and an AutoWPAWPA2 other than "YES" and "NO")
    // the list is empty: nothing on it could be stored with a meaning the reconnection shares.
    m_state.authList = list;
    m_state.authentication.items = authItemTexts(list);
    m_state.authentication.selected = authPositionOf(list, AuthItem::Disable);
}

void SecuritySection::setCipher(CipherList list, int selected) {
    m_state.cipher.items = cipherItems(list);
    m_state.cipher.set(selected);
}

std::optional<FormMessage> SecuritySection::authenticationRule() {
    SecurityState& s = m_state;
    s.authentication.enabled = true;
    const std::optional<AuthItem> item = selectedItem();
    if (!item || *item == AuthItem::Disable) {
        // No item selected (a stored position the list lacks) asks for nothing either.
        s.configEnabled = false;
        setKeyControls(false);
        if (!m_flavour.pickedDisableKeepsCipher) {
            setCipher(CipherList::Empty, -1);
        }
        s.cipher.enabled = false;
        return std::nullopt;
    }
    const bool wep = authKind(*item) == AuthKind::Wep;
    if (wep) {
        s.defaultKey.set(0);
    }
    enableFor(*item, AuthRuleForm::SelectionChange, m_storedCipher);
    return wep ? defaultKeyRule() : std::nullopt;
}

std::optional<FormMessage> SecuritySection::formatRule() {
    const int key = defaultKey();
    if (key < 0) {
        return std::nullopt;
    }
    return formatKeyField(m_state.keys[at(key)], m_state.keyFormat.selected,
                          m_state.keyLength[at(key)].selected);
}

void SecuritySection::preselect(const Preselection& preselection) {
    m_state.authentication.set(authPositionOf(m_state.authList, preselection.item));
    authenticationRule(); // the keys are empty: nothing to complain about
    setCipher(preselection.cipher, preselection.cipherPosition);
    m_state.cipher.enabled = preselection.cipherEnabled;
}

std::optional<FormMessage> SecuritySection::showStored(const SecurityFields& stored, int authPosition,
                                                       int cipherPosition) {
    SecurityState& s = m_state;
    s.authentication.set(authPosition);
    s.keyFormat.set(stored.KeyFormat);
    for (int k = 0; k < keyCount; ++k) {
        s.keyLength[at(k)].set(stored.keyLength(k));
    }
    // A stored key that fits its stored format and length stays whole.
    for (int k = 0; k < keyCount; ++k) {
        s.keys[at(k)].text = stored.wepKey(k);
        keyLimitRule(k);
    }
    markDefaultKey(stored);
    std::optional<FormMessage> message;
    if (m_flavour.checkFormatWhenShown) {
        message = formatRule();
    }
    enableForStored(cipherPosition);
    s.passphrase = stored.WPAPassPhase;
    s.certificate = {stored.CertificateName, stored.CertificateHash, stored.DomainName, stored.LoginName};
    maskKeys();
    return message;
}

void SecuritySection::maskKeys() {
    for (KeyField& key : m_state.keys) {
        key.masked = true;
    }
}

// --- Rules ---

void SecuritySection::setKeyControls(bool on) {
    for (int k = 0; k < keyCount; ++k) {
        m_state.keys[at(k)].enabled = on;
        m_state.keyLength[at(k)].enabled = on;
    }
    m_state.defaultKey.enabled = on;
    m_state.keyFormat.enabled = on;
}

// The enabling an item asks for, and its cipher list; cipherPosition is the selection of the
// "AES", "TKIP" list.
void SecuritySection::enableFor(AuthItem item, AuthRuleForm form, int cipherPosition) {
    SecurityState& s = m_state;
    const AuthControls controls = authControls(item, form);
    const CipherList cipher = cipherListFor(item).value_or(CipherList::Empty);
    s.configEnabled = controls.configButton;
    setKeyControls(controls.keyControls);
    if (authKind(item) == AuthKind::Wep) {
        // Only the default key is edited; its length with it.
        for (int k = 0; k < keyCount; ++k) {
            s.keys[at(k)].enabled = k == defaultKey();
            s.keyLength[at(k)].enabled = k == defaultKey();
        }
    }
    setCipher(cipher, cipher == CipherList::AesTkip ? cipherPosition : 0);
    s.cipher.enabled = controls.cipherEnabled;
}

// The authentication rule for a stored item, with the stored default key and cipher instead of
// the rule's own choices.
void SecuritySection::enableForStored(int cipherPosition) {
    SecurityState& s = m_state;
    s.authentication.enabled = true;
    const std::optional<AuthItem> item = selectedItem();
    if (!item || *item == AuthItem::Disable) {
        s.configEnabled = false;
        setKeyControls(false);
        setCipher(m_flavour.storedDisableCipher, 0);
        s.cipher.enabled = false;
        return;
    }
    enableFor(*item, m_flavour.storedRule, cipherPosition);
}

// Of several marked keys the last one counts; only "1" marks a key.
void SecuritySection::markDefaultKey(const SecurityFields& stored) {
    int marked = -1;
    for (int k = 0; k < keyCount; ++k) {
        if (stored.radio(k) == 1) {
            marked = k;
        }
    }
    if (marked >= 0 || m_flavour.defaultKey == DefaultKeyControl::RadioButtons) {
        m_state.defaultKey.set(marked);
    }
}

std::optional<FormMessage> SecuritySection::defaultKeyRule() {
    const int key = defaultKey();
    if (key < 0) {
        return std::nullopt;
    }
    for (int k = 0; k < keyCount; ++k) {
        m_state.keys[at(k)].enabled = k == key;
        m_state.keyLength[at(k)].enabled = k == key;
    }
    return formatRule();
}

void SecuritySection::keyLimitRule(int key) {
    limitKeyField(m_state.keys[at(key)], m_state.keyFormat.selected, m_state.keyLength[at(key)].selected);
}

// --- Input ---

std::optional<FormMessage> SecuritySection::selectAuthentication(int position) {
    if (!m_state.authentication.pick(position)) {
        return std::nullopt;
    }
    return authenticationRule();
}

void SecuritySection::selectCipher(int position) {
    m_state.cipher.pick(position);
}

std::optional<FormMessage> SecuritySection::selectDefaultKey(int key) {
    if (!m_state.defaultKey.pick(key)) {
        return std::nullopt;
    }
    return defaultKeyRule();
}

void SecuritySection::setKeyText(int key, std::string text, bool masked) {
    if (!validKey(key) || !m_state.keys[at(key)].enabled) {
        return;
    }
    KeyField& field = m_state.keys[at(key)];
    field.text = std::move(text);
    field.masked = masked;
    keyLimitRule(key);
}

std::optional<FormMessage> SecuritySection::selectKeyLength(int key, int position) {
    if (!validKey(key) || !m_state.keyLength[at(key)].pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

std::optional<FormMessage> SecuritySection::selectKeyFormat(int position) {
    if (!m_state.keyFormat.pick(position)) {
        return std::nullopt;
    }
    return formatRule();
}

// --- The configuration button ---

ConfigDialog SecuritySection::configDialog() const {
    if (!m_state.configEnabled) {
        return ConfigDialog::None;
    }
    switch (selectedKind()) {
    case AuthKind::Certificate:
        return ConfigDialog::Certificate;
    case AuthKind::Passphrase:
        return ConfigDialog::Passphrase;
    default:
        return ConfigDialog::None;
    }
}

void SecuritySection::acceptPassphrase(std::string passphrase) {
    m_state.passphrase = std::move(passphrase);
}

void SecuritySection::acceptCertificate(CertificateValues values) {
    m_state.certificate = std::move(values);
}

} // namespace logic
