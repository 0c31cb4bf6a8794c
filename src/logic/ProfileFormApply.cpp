#include "logic/ProfileForm.h"

#include "logic/TextCut.h"
#include "model/CodeTables.h"
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

void setNetworkPart(StationSettings& r, const ProfileForm& form) {
    const ProfileFormState& s = form.state();
    if (form.isAdhoc()) {
        r.NetworkType = codes::networkAdHoc;
        setAdhocBand(r, form.selectedBand(), s.channel.selected, s.channelPlan);
    } else {
        const auto flag = [&](BandBox box) { return s.bandBox(box).checked ? 1 : 0; };
        r.NetworkType = codes::networkInfrastructure;
        r.TxRate = codes::txRate54Mbps;
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
    void both(const std::vector<StoredValue>& values) {
        for (const StoredValue& value : values) {
            both(value.key, value.value);
        }
    }
    void number(const std::string& key, int value) { both(key, std::to_string(value)); }
    void scrambled(const std::string& key, const std::string& plain) { both(key, EncodeStoredText(plain)); }

private:
    ApplyOutcome& m_outcome;
};

void addWrites(ApplyOutcome& out, const ProfileForm& form, const std::string& ssid) {
    const ProfileFormState& s = form.state();
    Writes w(out);
    w.both("Profilename", out.profileName);
    w.profileOnly("true_false", "1");
    w.scrambled("SSID", ssid);
    w.number("bsstype", s.networkType.selected);
    w.number("adhocband", s.band.selected);
    w.number("Channel", s.channel.selected); // the list position: the file keeps positions
    w.onLinkOnly("PreambleMode", "1");
    w.number("PowerMode", s.powerMode.selected);
    w.both(form.securitySection().storedValues(out.pending, !form.isAdhoc()));
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
    const SecuritySection& security = form.securitySection();
    if (auto refused = security.checkAtApply()) {
        return ApplyStop{std::move(refused->message), refused->emptyKeyField};
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
    security.setSecurity(out.pending);
    addWrites(out, form, ssid);
    return out;
}

} // namespace logic
