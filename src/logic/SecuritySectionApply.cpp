#include "logic/SecuritySection.h"

#include "logic/KeyRules.h"
#include "storage/StoredText.h"

namespace logic {
namespace {

constexpr int keyCount = 4;

std::size_t at(int key) {
    return static_cast<std::size_t>(key);
}

std::string numbered(const char* prefix, int key) {
    return prefix + std::to_string(key + 1);
}

class Writes {
public:
    void number(std::string key, int value) { m_writes.push_back({std::move(key), std::to_string(value)}); }
    void scrambled(std::string key, const std::string& plain) {
        m_writes.push_back({std::move(key), EncodeStoredText(plain)});
    }
    std::vector<StoredValue> take() { return std::move(m_writes); }

private:
    std::vector<StoredValue> m_writes;
};

} // namespace

std::optional<KeyRefusal> SecuritySection::checkAtApply() const {
    const int key = defaultKey();
    if (selectedKind() != AuthKind::Wep || key < 0) {
        return std::nullopt;
    }
    const std::string& typed = m_state.keys[at(key)].text;
    const int format = m_state.keyFormat.selected;
    if (auto message = CheckWepKeyLength(typed, key + 1, format, m_state.keyLength[at(key)].selected)) {
        return KeyRefusal{FormMessage{std::move(*message), MessageCaption::ApplicationName}};
    }
    // The field's filter and the format check keep such keys out, but a stored key may come in
    // unchecked: the adapter must never get one.
    if (format != 0 && !IsHexText(typed)) {
        return KeyRefusal{FormMessage{nonHexKeyMessage, MessageCaption::Prompt}, key};
    }
    return std::nullopt;
}

void SecuritySection::setSecurity(StationSettings& record) const {
    const std::optional<AuthItem> item = selectedItem();
    // Without any item (an infrastructure list that AutoWPAWPA2 leaves empty) the network is
    // open, as the reconnection reads the same choice.
    const SecurityModes modes = item ? securityModes(*item, m_state.cipher.selected) : SecurityModes{0, 0};
    record.AuthenticationMode = modes.authentication;
    record.EncryptionMode = modes.encryption;
    const CertificateValues& certificate = m_state.certificate;
    switch (selectedKind()) {
    case AuthKind::Certificate:
        copyText(record.cCertificateName, certificate.certificate.c_str());
        copyText(record.cCertificateHash, certificate.authority.c_str());
        copyText(record.cDomainName, certificate.domain.c_str());
        copyText(record.cLoginName, certificate.login.c_str());
        break;
    case AuthKind::Passphrase:
        copyText(record.cWPAPassPhase, m_state.passphrase.c_str());
        break;
    case AuthKind::Wep:
        if (const int key = defaultKey(); key >= 0) {
            const int required =
                RequiredKeyLength(m_state.keyFormat.selected, m_state.keyLength[at(key)].selected);
            record.iDefaultWEPKeyID = key;
            record.iWEPKeyBits = WepKeyBits(required);
            copyText(record.wepKeyValue(key), MakeWepKeyValue(m_state.keys[at(key)].text, required).c_str());
        }
        break;
    case AuthKind::Disabled:
        break;
    }
}

void SecuritySection::setSecurity(StationConfig& record) const {
    setSecurity(static_cast<StationSettings&>(record));
    if (const int key = defaultKey(); selectedKind() == AuthKind::Wep && key >= 0) {
        copyText(record.uiWepKey(key), m_state.keys[at(key)].text.c_str());
    }
}

std::vector<StoredValue> SecuritySection::storedValues(const StationSettings& record,
                                                       bool infrastructure) const {
    const SecurityState& s = m_state;
    const AuthKind kind = selectedKind();
    Writes w;
    const auto keys = [&] {
        for (int k = 0; k < keyCount; ++k) {
            w.scrambled(numbered("WEP key", k), s.keys[at(k)].text);
        }
    };
    const auto formatAndLengths = [&] {
        w.number("Key Format", s.keyFormat.selected);
        for (int k = 0; k < keyCount; ++k) {
            w.number(numbered("Key Length", k), s.keyLength[at(k)].selected);
        }
    };
    const auto marks = [&] {
        for (int k = 0; k < keyCount; ++k) {
            w.number(numbered("Radio", k), k == defaultKey() ? 1 : 0);
        }
    };
    // An ad hoc network keeps no passphrase or 802.1X data.
    const auto secrets = [&] {
        if (infrastructure && kind == AuthKind::Passphrase) {
            w.scrambled("WPAPassPhase", record.cWPAPassPhase);
        }
        if (infrastructure && kind == AuthKind::Certificate) {
            w.scrambled("CertificateHash", record.cCertificateHash);
            w.scrambled("CertificateName", record.cCertificateName);
            w.scrambled("DomainName", record.cDomainName);
            w.scrambled("LoginName", record.cLoginName);
        }
    };
    w.number("Auth Mode", s.authentication.selected);
    w.number("Encryation Mode", s.cipher.selected);
    if (m_flavour.writeOrder == SecurityWriteOrder::Profile) {
        keys();
        formatAndLengths();
        marks();
        secrets();
    } else {
        marks();
        keys();
        secrets();
        formatAndLengths();
    }
    return w.take();
}

} // namespace logic
