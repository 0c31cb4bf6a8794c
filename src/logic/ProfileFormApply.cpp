#include "logic/ProfileForm.h"

#include "logic/KeyRules.h"
#include "logic/TextCut.h"
#include "storage/StoredText.h"

namespace logic {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

std::string numbered(const char* prefix, int key) {
    return prefix + std::to_string(key + 1);
}

std::optional<ApplyStop> checkDefaultKey(const ProfileFormState& s, AuthKind kind, int key) {
    if (kind != AuthKind::Wep || key < 0) {
        return std::nullopt;
    }
    auto refused = checkDefaultKeyAtApply(s.keys[at(key)].text, s.keyFormat.selected,
                                          s.keyLength[at(key)].selected, key);
    if (!refused) {
        return std::nullopt;
    }
    return ApplyStop{std::move(refused->message), refused->emptyKeyField};
}

void setNetworkPart(StationSettings& r, const ProfileForm& form) {
    const ProfileFormState& s = form.state();
    if (form.isAdhoc()) {
        r.NetworkType = 0;
        setAdhocBand(r, form.selectedBand(), s.channel.selected, s.channelPlan);
    } else {
        const auto flag = [&](BandBox box) { return s.bandBox(box).checked ? 1 : 0; };
        r.NetworkType = 1;
        r.TxRate = 12;
        r.WirelessMode[Mode11B] = flag(BandBox::Mode11B);
        r.WirelessMode[Mode11G] = flag(BandBox::Mode11G);
        r.WirelessMode[Mode11GT] = flag(BandBox::Mode11GT);
        r.WirelessMode[Mode11A] = flag(BandBox::Mode11A);
        r.WirelessMode[Mode11AT] = flag(BandBox::Mode11AT);
        r.AdvancedMode[0] = flag(BandBox::ExtendedRange);
    }
    r.TxRateAuto = 1;
    const int power = s.powerMode.selected;
    r.PowerSaveMode = power == 1 || power == 2 ? power : 0;
}

void setSecurityPart(StationSettings& r, const ProfileFormState& s, std::optional<AuthItem> item, int key) {
    // Without any item (an infrastructure list that AutoWPAWPA2 leaves empty) the network is
    // open, as the reconnection reads the same choice.
    const SecurityModes modes = item ? securityModes(*item, s.cipher.selected) : SecurityModes{0, 0};
    r.AuthenticationMode = modes.authentication;
    r.EncryptionMode = modes.encryption;
    switch (item ? authKind(*item) : AuthKind::Disabled) {
    case AuthKind::Certificate:
        copyText(r.cCertificateHash, s.certificate.authority.c_str());
        copyText(r.cCertificateName, s.certificate.certificate.c_str());
        copyText(r.cDomainName, s.certificate.domain.c_str());
        copyText(r.cLoginName, s.certificate.login.c_str());
        break;
    case AuthKind::Passphrase:
        copyText(r.cWPAPassPhase, s.passphrase.c_str());
        break;
    case AuthKind::Wep:
        r.iDefaultWEPKeyID = key < 0 ? 0 : key;
        if (key >= 0) {
            const int required = RequiredKeyLength(s.keyFormat.selected, s.keyLength[at(key)].selected);
            r.iWEPKeyBits = WepKeyBits(required);
            copyText(r.wepKeyValue(key), MakeWepKeyValue(s.keys[at(key)].text, required).c_str());
        }
        break;
    case AuthKind::Disabled:
        break;
    }
}

class Writes {
public:
    explicit Writes(ApplyOutcome& outcome) : m_outcome(outcome) {}

    void profileOnly(const std::string& key, std::string value) {
        m_outcome.profileWrites.push_back({key, std::move(value)});
    }
    void onLinkOnly(const std::string& key, std::string value) {
        m_outcome.onLinkWrites.push_back({key, std::move(value)});
    }
    void both(const std::string& key, const std::string& value) {
        profileOnly(key, value);
        onLinkOnly(key, value);
    }
    void number(const std::string& key, int value) { both(key, std::to_string(value)); }
    void scrambled(const std::string& key, const std::string& plain) { both(key, EncodeStoredText(plain)); }

private:
    ApplyOutcome& m_outcome;
};

void addWrites(ApplyOutcome& out, const ProfileForm& form, const std::string& ssid,
               std::optional<AuthItem> item) {
    const ProfileFormState& s = form.state();
    const StationSettings& r = out.pending;
    Writes w(out);
    w.both("Profilename", out.profileName);
    w.profileOnly("true_false", "1");
    w.scrambled("SSID", ssid);
    w.number("bsstype", s.networkType.selected);
    w.number("adhocband", s.band.selected);
    w.number("Channel", s.channel.selected); // the list position: the file keeps positions
    w.onLinkOnly("PreambleMode", "1");
    w.number("PowerMode", s.powerMode.selected);
    w.number("Auth Mode", s.authentication.selected);
    w.number("Encryation Mode", s.cipher.selected);
    for (int k = 0; k < 4; ++k) {
        w.scrambled(numbered("WEP key", k), s.keys[at(k)].text);
    }
    w.number("Key Format", s.keyFormat.selected);
    for (int k = 0; k < 4; ++k) {
        w.number(numbered("Key Length", k), s.keyLength[at(k)].selected);
    }
    for (int k = 0; k < 4; ++k) {
        w.number(numbered("Radio", k), s.defaultKey[at(k)].checked ? 1 : 0);
    }
    const AuthKind kind = item ? authKind(*item) : AuthKind::Disabled;
    if (!form.isAdhoc() && kind == AuthKind::Passphrase) {
        w.scrambled("WPAPassPhase", r.cWPAPassPhase);
    }
    if (!form.isAdhoc() && kind == AuthKind::Certificate) {
        w.scrambled("CertificateHash", r.cCertificateHash);
        w.scrambled("CertificateName", r.cCertificateName);
        w.scrambled("DomainName", r.cDomainName);
        w.scrambled("LoginName", r.cLoginName);
    }
    const std::pair<const char*, BandBox> boxes[] = {
        {"11b", BandBox::Mode11B}, {"11g", BandBox::Mode11G},   {"11gt", BandBox::Mode11GT},
        {"11a", BandBox::Mode11A}, {"11at", BandBox::Mode11AT}, {"XR Extended Range", BandBox::ExtendedRange},
    };
    for (const auto& [key, box] : boxes) {
        w.number(key, s.bandBox(box).checked ? 1 : 0);
    }
}

} // namespace

std::string storedProfileName(std::string_view typed) {
    const std::size_t lineEnd = typed.find_first_of(std::string_view("\r\n\0", 3));
    const std::string cut = cutText(trimmed(typed.substr(0, lineEnd)), storedNameLimit);
    return std::string(trimmed(cut));
}

ApplyResult applyProfileForm(const ProfileForm& form) {
    const ProfileFormState& s = form.state();
    const std::optional<AuthItem> item = form.selectedAuthItem();
    const int key = form.defaultKeyIndex();
    if (auto stop = checkDefaultKey(s, item ? authKind(*item) : AuthKind::Disabled, key)) {
        return *stop;
    }
    ApplyOutcome out;
    out.profileName = storedProfileName(s.name);
    if (out.profileName.empty()) {
        if (s.mode == EditorMode::Connect) {
            return ApplyStop{}; // the editor opens for the user, who sees what is missing
        }
        return ApplyStop{FormMessage{missingNameMessage, MessageCaption::Prompt}};
    }
    const std::string ssid = cutText(s.ssid, ssidFieldLimit);
    if (form.isAdhoc() && ssid.empty()) {
        return ApplyStop{FormMessage{adhocSsidMessage, MessageCaption::Prompt}};
    }
    copyText(out.pending.cSSID, ssid.c_str());
    setNetworkPart(out.pending, form);
    setSecurityPart(out.pending, s, item, key);
    addWrites(out, form, ssid, item);
    return out;
}

} // namespace logic
