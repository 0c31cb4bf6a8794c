#include "wlansim/World.h"

#include "wlansim/Channels.h"
#include "wlansim/DefaultWorldText.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace wlansim {
namespace {

struct NamedValue {
    std::string_view name;
    int value;
};

template <std::size_t N> std::optional<int> lookup(const NamedValue (&table)[N], std::string_view text) {
    for (const auto& entry : table) {
        if (equalsNoCase(entry.name, text)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

const NamedValue kSecurityNames[] = {
    {"open", int(Security::Open)},
    {"wep", int(Security::Wep)},
    {"shared-wep", int(Security::SharedWep)},
    {"wpa", int(Security::Wpa)},
    {"wpa-psk", int(Security::WpaPsk)},
    {"wpa2", int(Security::Wpa2)},
    {"wpa2-psk", int(Security::Wpa2Psk)},
    {"wpa-none", int(Security::WpaNone)},
};
const NamedValue kKindNames[] = {
    {"infrastructure", int(NetworkKind::Infrastructure)},
    {"adhoc", int(NetworkKind::AdHoc)},
    {"softap", int(NetworkKind::SoftAp)},
};
const NamedValue kCipherNames[] = {{"tkip", int(Cipher::Tkip)}, {"aes", int(Cipher::Aes)}};
const NamedValue kBandNames[] = {{"b", int(Band::B)}, {"g", int(Band::G)}, {"a", int(Band::A)}};

std::optional<std::string> parseText(std::string_view value, std::size_t limit) {
    if (value.size() > limit || value.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<int> parseFlag(std::string_view value) {
    return parseInt(value, 0, 1);
}

std::optional<int> parseChannel(std::string_view value) {
    auto number = parseInt(value, 1, 165);
    return number && driverCodeOfChannel(*number) ? number : std::nullopt;
}

// A stable, globally administered unicast address for a network without a BSSID.
Mac macFromName(std::string_view name) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : name) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    Mac mac{0x00, 0x14, 0x6c, 0, 0, 0};
    for (int i = 3; i < 6; ++i) {
        mac[i] = uint8_t(hash >> (8 * i));
    }
    return mac;
}

// What a network section has said so far; finished once its section ends.
struct NetworkDraft {
    Network network;
    bool haveBssid = false;
    std::optional<Band> band;
};

enum class KeyResult { Applied, BadValue, UnknownKey };

template <typename Field, typename Value> KeyResult assign(Field& field, const std::optional<Value>& parsed) {
    if (!parsed) {
        return KeyResult::BadValue;
    }
    field = Field(*parsed);
    return KeyResult::Applied;
}

KeyResult applyAdapterKey(AdapterSection& adapter, std::string_view key, std::string_view value) {
    auto text = [&] { return parseText(value, maxTextLength); };
    bool flag = false;
    KeyResult result = KeyResult::UnknownKey;
    if (equalsNoCase(key, "Present")) {
        result = assign(flag, parseFlag(value));
        adapter.present = result == KeyResult::Applied ? flag : adapter.present;
    } else if (equalsNoCase(key, "InitFails")) {
        result = assign(flag, parseFlag(value));
        adapter.initFails = result == KeyResult::Applied ? flag : adapter.initFails;
    } else if (equalsNoCase(key, "HardwareID")) {
        result = assign(adapter.hardwareId, text());
    } else if (equalsNoCase(key, "MAC")) {
        result = assign(adapter.mac, parseMac(value));
    } else if (equalsNoCase(key, "DriverDescription")) {
        result = assign(adapter.driverDescription, text());
    } else if (equalsNoCase(key, "DriverVersion")) {
        result = assign(adapter.driverVersion, text());
    } else if (equalsNoCase(key, "HardwareVersion")) {
        result = assign(adapter.hardwareVersion, text());
    } else if (equalsNoCase(key, "APIVersion")) {
        result = assign(adapter.apiVersion, text());
    } else if (equalsNoCase(key, "Chipset")) {
        result = assign(adapter.chipset, parseInt(value, 0, 255));
    } else if (equalsNoCase(key, "ChannelPlan")) {
        result = assign(adapter.channelPlan, parseInt(value, 0, 12));
    } else if (equalsNoCase(key, "SystemControl")) {
        result = assign(adapter.systemControl, parseFlag(value));
    } else if (equalsNoCase(key, "RadioOff")) {
        result = assign(adapter.radioOff, parseFlag(value));
    } else if (equalsNoCase(key, "SurveyDelayMs")) {
        result = assign(adapter.surveyDelayMs, parseInt(value, 0, 60000));
    } else if (equalsNoCase(key, "AssociationDelayMs")) {
        result = assign(adapter.associationDelayMs, parseInt(value, 0, 600000));
    } else if (equalsNoCase(key, "Jitter")) {
        result = assign(adapter.jitter, parseInt(value, 0, 50));
    }
    return result;
}

// Keys shared by network sections and the [driver] section.
template <typename Target>
KeyResult applyCommonKey(Target& target, std::string_view key, std::string_view value) {
    if (equalsNoCase(key, "SSID")) {
        return assign(target.ssid, parseText(value, maxSsidLength));
    }
    if (equalsNoCase(key, "Channel")) {
        return assign(target.channel, parseChannel(value));
    }
    if (equalsNoCase(key, "Type")) {
        return assign(target.kind, lookup(kKindNames, value));
    }
    if (equalsNoCase(key, "Security")) {
        return assign(target.security, lookup(kSecurityNames, value));
    }
    if (equalsNoCase(key, "Cipher")) {
        return assign(target.cipher, lookup(kCipherNames, value));
    }
    if (equalsNoCase(key, "Key")) {
        return assign(target.key, parseText(value, maxKeyLength));
    }
    return KeyResult::UnknownKey;
}

KeyResult applyNetworkKey(NetworkDraft& draft, std::string_view key, std::string_view value) {
    Network& network = draft.network;
    KeyResult result = applyCommonKey(network, key, value);
    if (result != KeyResult::UnknownKey) {
        return result;
    }
    if (equalsNoCase(key, "BSSID")) {
        result = assign(network.bssid, parseMac(value));
        draft.haveBssid = draft.haveBssid || result == KeyResult::Applied;
    } else if (equalsNoCase(key, "Band")) {
        auto band = lookup(kBandNames, value);
        result = band ? KeyResult::Applied : KeyResult::BadValue;
        draft.band = band ? std::optional<Band>(Band(*band)) : draft.band;
    } else if (equalsNoCase(key, "Signal")) {
        result = assign(network.signal, parseInt(value, 0, 100));
    } else if (equalsNoCase(key, "Quality")) {
        result = assign(network.quality, parseInt(value, 0, 100));
    } else if (equalsNoCase(key, "TxKbps")) {
        result = assign(network.txKbps, parseInt(value, 0, 1000000));
    } else if (equalsNoCase(key, "RxKbps")) {
        result = assign(network.rxKbps, parseInt(value, 0, 1000000));
    }
    return result;
}

std::string describe(KeyResult result, std::string_view section, std::string_view key,
                     std::string_view value) {
    switch (result) {
    case KeyResult::Applied:
        return {};
    case KeyResult::BadValue:
        return "bad value '" + std::string(value) + "' for " + std::string(key);
    case KeyResult::UnknownKey:
        break;
    }
    return "unknown " + std::string(section) + " key '" + std::string(key) + "'";
}

// The band must fit the channel: 5 GHz channels are always 11a, 2.4 GHz ones 11b or 11g.
Network finish(NetworkDraft draft) {
    Network network = std::move(draft.network);
    if (!draft.haveBssid) {
        network.bssid = macFromName(network.name);
    }
    if (is5GHzChannel(network.channel)) {
        network.band = Band::A;
    } else {
        network.band = draft.band == Band::B ? Band::B : Band::G;
    }
    return network;
}

class WorldReader {
public:
    World read(std::string_view text) {
        while (!text.empty()) {
            std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            readLine(trim(line));
        }
        closeNetwork();
        return std::move(m_world);
    }

private:
    void readLine(const std::string& line) {
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            return;
        }
        if (line.front() == '[') {
            openSection(line);
            return;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            return;
        }
        std::string key = trim(std::string_view(line).substr(0, equals));
        std::string value = trim(std::string_view(line).substr(equals + 1));
        if (m_section == SectionKind::Adapter) {
            applyAdapterKey(m_world.adapter, key, value);
        } else if (m_section == SectionKind::Driver) {
            applyCommonKey(m_world.factory, key, value);
        } else if (m_section == SectionKind::Network && m_draft) {
            applyNetworkKey(*m_draft, key, value);
        }
    }

    void openSection(const std::string& line) {
        closeNetwork();
        m_section = SectionKind::Unknown;
        if (line.back() != ']') {
            return;
        }
        std::string name;
        m_section = classifySection(std::string_view(line).substr(1, line.size() - 2), name);
        if (m_section == SectionKind::Network && m_world.networks.size() < maxNetworks) {
            m_draft.emplace();
            m_draft->network.name = name;
            m_draft->network.ssid = name.substr(0, maxSsidLength);
        }
    }

    void closeNetwork() {
        if (m_draft) {
            m_world.networks.push_back(finish(std::move(*m_draft)));
            m_draft.reset();
        }
    }

    World m_world;
    SectionKind m_section = SectionKind::Unknown;
    std::optional<NetworkDraft> m_draft;
};

} // namespace

World parseWorld(std::string_view text) {
    return WorldReader().read(text);
}

std::string_view defaultWorldText() {
    return kDefaultWorldText;
}

const World& defaultWorld() {
    static const World world = parseWorld(defaultWorldText());
    return world;
}

SectionKind classifySection(std::string_view header, std::string& network) {
    std::string name = trim(header);
    if (equalsNoCase(name, "adapter")) {
        return SectionKind::Adapter;
    }
    if (equalsNoCase(name, "driver")) {
        return SectionKind::Driver;
    }
    constexpr std::string_view prefix = "network ";
    if (name.size() > prefix.size() &&
        equalsNoCase(std::string_view(name).substr(0, prefix.size()), prefix)) {
        network = trim(std::string_view(name).substr(prefix.size()));
        return network.empty() || network.size() > maxTextLength ? SectionKind::Unknown
                                                                 : SectionKind::Network;
    }
    return SectionKind::Unknown;
}

std::string checkAdapterValue(std::string_view key, std::string_view value) {
    AdapterSection scratch;
    return describe(applyAdapterKey(scratch, key, value), "adapter", key, value);
}

std::string checkNetworkValue(std::string_view key, std::string_view value) {
    NetworkDraft scratch;
    return describe(applyNetworkKey(scratch, key, value), "network", key, value);
}

std::optional<int> parseInt(std::string_view text, int low, int high) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (!text.empty() && text.front() == '+') {
        ++first;
    }
    auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<Mac> parseMac(std::string_view text) {
    if (text.size() != 17) {
        return std::nullopt;
    }
    Mac mac{};
    for (int i = 0; i < 6; ++i) {
        std::string_view pair = text.substr(std::size_t(i) * 3, 2);
        if (i < 5 && text[std::size_t(i) * 3 + 2] != ':') {
            return std::nullopt;
        }
        unsigned value = 0;
        auto [end, error] = std::from_chars(pair.data(), pair.data() + 2, value, 16);
        if (error != std::errc() || end != pair.data() + 2) {
            return std::nullopt;
        }
        mac[std::size_t(i)] = uint8_t(value);
    }
    return mac;
}

std::string macText(const Mac& mac) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < mac.size(); ++i) {
        if (i > 0) {
            text += ':';
        }
        text += digits[mac[i] >> 4];
        text += digits[mac[i] & 15];
    }
    return text;
}

std::string_view securityName(Security security) {
    return kSecurityNames[int(security)].name;
}
std::string_view kindName(NetworkKind kind) {
    return kKindNames[int(kind)].name;
}
std::string_view bandName(Band band) {
    return kBandNames[int(band)].name;
}

std::string trim(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace wlansim
