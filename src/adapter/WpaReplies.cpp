#include "adapter/WpaReplies.h"

#include "platform/HexDigits.h"

#include "model/CodeTables.h"
#include "model/StationConfig.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace wpa {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view withoutNewline(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The bracketed groups of a flags text: "[WPA2-PSK-CCMP][ESS]" -> "WPA2-PSK-CCMP", "ESS".
std::vector<std::string_view> flagGroups(std::string_view flags) {
    std::vector<std::string_view> groups;
    while (true) {
        const std::size_t open = flags.find('[');
        if (open == std::string_view::npos) {
            break;
        }
        const std::size_t close = flags.find(']', open);
        if (close == std::string_view::npos) {
            break;
        }
        groups.push_back(flags.substr(open + 1, close - open - 1));
        flags.remove_prefix(close + 1);
    }
    return groups;
}

int32_t cipherCode(std::string_view ciphers, int32_t otherwise) {
    if (contains(ciphers, "CCMP") || contains(ciphers, "GCMP")) {
        return 3;
    }
    if (contains(ciphers, "TKIP")) {
        return 2;
    }
    return otherwise;
}

} // namespace

bool parseMac(std::string_view text, unsigned char (&mac)[6]) {
    if (text.size() != 17) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        const auto at = static_cast<std::size_t>(3 * i);
        const int byte = platform::hexByteValue(text[at], text[at + 1]);
        if (byte < 0 || (i < 5 && text[at + 2] != ':')) {
            return false;
        }
        mac[i] = static_cast<unsigned char>(byte);
    }
    return true;
}

KeyValues parseKeyValues(std::string_view reply) {
    KeyValues values;
    for (std::string_view line : splitLines(reply)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            continue;
        }
        values.emplace(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    }
    return values;
}

std::optional<int64_t> parseInteger(std::string_view text) {
    text = withoutNewline(text);
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool isOk(std::string_view reply) {
    return withoutNewline(reply) == "OK";
}

bool isFail(std::string_view reply) {
    return reply.substr(0, 4) == "FAIL";
}

bool isRefusal(std::string_view reply) {
    return isFail(reply) || reply.substr(0, 15) == "UNKNOWN COMMAND";
}

std::optional<std::vector<ListedNetwork>> parseNetworkList(std::string_view reply) {
    const std::vector<std::string_view> lines = splitLines(reply);
    if (lines.empty() || lines.front().substr(0, 10) != "network id") {
        return std::nullopt;
    }
    std::vector<ListedNetwork> networks;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty()) {
            continue;
        }
        std::array<std::string_view, 4> columns{};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::size_t tab = c + 1 < columns.size() ? line.find('\t') : std::string_view::npos;
            columns[c] = line.substr(0, tab);
            if (tab == std::string_view::npos) {
                line = {};
                break;
            }
            line.remove_prefix(tab + 1);
        }
        const std::optional<int64_t> id = parseInteger(columns[0]);
        if (!id || *id < 0 || *id > INT32_MAX) {
            return std::nullopt; // not a list of networks after all
        }
        networks.push_back({static_cast<int>(*id), std::string(columns[1]), std::string(columns[3])});
    }
    return networks;
}

std::string decodeEscapedText(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            bytes.push_back(c);
            continue;
        }
        const char kind = text[++i];
        switch (kind) {
        case 'n':
            bytes.push_back('\n');
            break;
        case 'r':
            bytes.push_back('\r');
            break;
        case 't':
            bytes.push_back('\t');
            break;
        case 'e':
            bytes.push_back('\x1b');
            break;
        case 'x': {
            int value = 0;
            int digits = 0;
            while (digits < 2 && i + 1 < text.size() && platform::hexDigitValue(text[i + 1]) >= 0) {
                value = value * 16 + platform::hexDigitValue(text[++i]);
                ++digits;
            }
            bytes.push_back(digits > 0 ? static_cast<char>(value) : 'x');
            break;
        }
        default:
            if (kind >= '0' && kind <= '7') {
                int value = kind - '0';
                for (int digits = 1;
                     digits < 3 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7';
                     ++digits) {
                    value = value * 8 + (text[++i] - '0');
                }
                bytes.push_back(static_cast<char>(value & 0xff));
            } else {
                bytes.push_back(kind); // \\ and \" and anything unknown stand for themselves
            }
            break;
        }
    }
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) {
        bytes.resize(nul);
    }
    return bytes;
}

std::optional<std::string> decodeConfigText(std::string_view value) {
    value = withoutNewline(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return std::string(value.substr(1, value.size() - 2));
    }
    if (value.empty() || value.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < value.size(); i += 2) {
        const int byte = platform::hexByteValue(value[i], value[i + 1]);
        if (byte < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

std::string encodeConfigText(std::string_view text) {
    const bool printable =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
    if (printable) {
        return "\"" + std::string(text) + "\"";
    }
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0x0f]);
    }
    return hex;
}

// --- Frequencies and channels ---

int frequencyOfChannelIndex(int index) {
    // The radio's channel 14 is 2484 MHz; the program's own table shows 2482 for it.
    return codes::channelNumber(index) == 14 ? 2484 : codes::channelFrequency(index);
}

std::optional<int> channelIndexOfFrequency(int64_t mhz) {
    for (int index = 0; index < codes::channelCount; ++index) {
        if (frequencyOfChannelIndex(index) == mhz) {
            return index;
        }
    }
    return std::nullopt;
}

bool isFiveGigahertz(int64_t mhz) {
    return mhz >= 4900;
}

// --- Signal ---

int32_t signalPercent(int64_t level) {
    if (level >= 0) {
        return static_cast<int32_t>(std::clamp<int64_t>(level, 0, 100));
    }
    return static_cast<int32_t>(std::clamp<int64_t>(2 * (level + 100), 0, 100));
}

int32_t qualityPercent(int64_t rssi, std::optional<int64_t> noise) {
    const bool noiseKnown = noise && *noise < 0 && *noise >= -127 && rssi < 0;
    if (!noiseKnown) {
        return signalPercent(rssi);
    }
    const int64_t ratio = rssi - *noise;
    return static_cast<int32_t>(std::clamp<int64_t>(ratio * 100 / 40, 0, 100));
}

int32_t rateCodeOfSpeed(int64_t mbitPerSecond) {
    // The table's rates in half Mbit/s, slowest first, with their codes.
    static constexpr std::array<std::pair<int, int32_t>, 16> rates = {{
        {2, 0},
        {4, 1},
        {11, 2},
        {12, 4},
        {18, 5},
        {22, 3},
        {24, 6},
        {36, 7},
        {44, 8},
        {48, 9},
        {72, 10},
        {96, 11},
        {108, 12},
        {144, 14},
        {192, 15},
        {216, 16},
    }};
    // The supplicant prints whole Mbit/s (5.5 as 5), so a speed stands for up to half a
    // Mbit/s more.
    const int64_t halves = 2 * std::clamp<int64_t>(mbitPerSecond, 0, 100000) + 1;
    int32_t code = 0;
    for (const auto& [rate, rateCode] : rates) {
        if (rate <= halves) {
            code = rateCode;
        }
    }
    return code;
}

// --- Security ---

Security securityOfFlags(std::string_view flags, bool adHoc) {
    std::optional<std::string_view> rsn;
    std::optional<std::string_view> wpa;
    bool wep = false;
    for (std::string_view group : flagGroups(flags)) {
        if (group.substr(0, 5) == "WPA2-" || group.substr(0, 4) == "RSN-") {
            rsn = rsn.value_or(group);
        } else if (group.substr(0, 4) == "WPA-") {
            wpa = wpa.value_or(group);
        } else if (group == "WEP") {
            wep = true;
        }
    }
    auto keyed = [&](std::string_view group, int32_t eapCode, int32_t pskCode) -> std::optional<Security> {
        // "WPA2-PSK+SAE-CCMP", "WPA2-EAP-CCMP+TKIP-preauth", "WPA-PSK-TKIP"
        const int32_t cipher = cipherCode(group, 3);
        if (contains(group, "-EAP") || contains(group, "802.1X")) {
            return Security{eapCode, cipher};
        }
        if (contains(group, "PSK") || contains(group, "SAE")) {
            return Security{adHoc ? 5 : pskCode, cipher};
        }
        return std::nullopt;
    };
    if (rsn) {
        if (auto security = keyed(*rsn, 6, 7)) {
            return *security;
        }
    }
    if (wpa) {
        if (auto security = keyed(*wpa, 3, 4)) {
            return *security;
        }
    }
    if (rsn || wpa) {
        // Encrypted without a key this program can give (OWE, for one): shown as an open
        // network with its cipher.
        return Security{0, cipherCode(rsn.value_or(wpa.value_or("")), 3)};
    }
    return Security{0, wep ? 1 : 0};
}

Security securityOfStatus(std::string_view keyManagement, std::string_view pairwiseCipher) {
    if (keyManagement.substr(0, 11) == "IEEE 802.1X") {
        return Security{0, 1}; // 802.1X with dynamic WEP keys
    }
    const int32_t cipher = cipherCode(pairwiseCipher, 3);
    if (contains(keyManagement, "802.1X") || contains(keyManagement, "EAP")) {
        return Security{keyManagement.substr(0, 4) == "WPA/" ? 3 : 6, cipher};
    }
    if (keyManagement == "WPA-PSK") {
        return Security{4, cipher};
    }
    if (keyManagement == "WPA-NONE") {
        return Security{5, cipher};
    }
    if (contains(keyManagement, "PSK") || contains(keyManagement, "SAE")) {
        return Security{7, cipher};
    }
    if (keyManagement == "NONE" || keyManagement.empty()) {
        return Security{0, contains(pairwiseCipher, "WEP") ? 1 : 0};
    }
    return Security{0, cipher};
}

int surveyBandElement(int64_t mhz, std::string_view ieHex) {
    if (isFiveGigahertz(mhz)) {
        return Mode11A;
    }
    bool anyRate = false;
    bool fasterThanB = false;
    std::size_t at = 0;
    auto byteAt = [&](std::size_t index) -> int {
        if (2 * index + 1 >= ieHex.size()) {
            return -1;
        }
        return platform::hexByteValue(ieHex[2 * index], ieHex[2 * index + 1]);
    };
    while (true) {
        const int id = byteAt(at);
        const int length = byteAt(at + 1);
        if (id < 0 || length < 0) {
            break;
        }
        if (id == 1 || id == 50) { // supported and extended supported rates
            for (int i = 0; i < length; ++i) {
                const int rate = byteAt(at + 2 + static_cast<std::size_t>(i));
                if (rate < 0) {
                    break;
                }
                anyRate = true;
                fasterThanB = fasterThanB || (rate & 0x7f) > 22; // 11 Mbit/s in 500 kbit/s units
            }
        } else if (id == 45) { // HT capabilities: not a 802.11b network
            fasterThanB = true;
        }
        at += 2 + static_cast<std::size_t>(length);
    }
    return anyRate && !fasterThanB ? Mode11B : Mode11G;
}

std::optional<BssEntry> surveyEntryOfBss(const KeyValues& bss) {
    BssEntry entry{};
    const auto bssid = bss.find("bssid");
    const auto freq = bss.find("freq");
    if (bssid == bss.end() || freq == bss.end() || !parseMac(bssid->second, entry.bssid)) {
        return std::nullopt;
    }
    const std::optional<int64_t> mhz = parseInteger(freq->second);
    if (!mhz) {
        return std::nullopt;
    }
    auto text = [&](const char* key) -> std::string_view {
        const auto found = bss.find(key);
        return found == bss.end() ? std::string_view() : std::string_view(found->second);
    };
    const std::string ssid = decodeEscapedText(text("ssid"));
    copyText(entry.ssid, ssid.c_str());
    entry.signal = signalPercent(parseInteger(text("level")).value_or(-100));
    entry.channel = channelIndexOfFrequency(*mhz).value_or(0);
    const std::string_view flags = text("flags");
    const bool adHoc = contains(flags, "[IBSS]");
    entry.networkType = adHoc ? 0 : 1;
    const Security security = securityOfFlags(flags, adHoc);
    entry.encryptionMode = security.encryptionMode;
    entry.authenticationMode = security.authenticationMode;
    entry.wirelessMode[surveyBandElement(*mhz, text("ie"))] = 1;
    return entry;
}

// --- Safe logging ---

std::string excerpt(std::string_view reply) {
    constexpr std::size_t limit = 40;
    std::string text;
    for (std::size_t i = 0; i < reply.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(reply[i]);
        if (c == '\n') {
            text += "\\n";
        } else if (c < 0x20 || c >= 0x7f) {
            static const char digits[] = "0123456789abcdef";
            text += "\\x";
            text.push_back(digits[c >> 4]);
            text.push_back(digits[c & 0x0f]);
        } else {
            text.push_back(static_cast<char>(c));
        }
    }
    if (reply.size() > limit) {
        text += "...";
    }
    return "\"" + text + "\"";
}

std::string loggableCommand(std::string_view command) {
    std::size_t keep = 0; // words kept after the command itself; all of them when 0
    const std::string_view name = command.substr(0, command.find(' '));
    if (name == "SET_NETWORK" || name == "GET_NETWORK") {
        keep = 2;
    } else if (name == "SET" || name == "GET") {
        keep = 1;
    } else {
        // The other commands carry no values: PING, STATUS, BSS NEXT-3, SELECT_NETWORK 2.
        std::string text;
        for (const char c : command.substr(0, 60)) {
            text.push_back(c >= 0x20 && c < 0x7f ? c : '?');
        }
        return text;
    }
    std::size_t end = name.size();
    for (std::size_t word = 0; word < keep && end < command.size(); ++word) {
        const std::size_t next = command.find(' ', end + 1);
        end = next == std::string_view::npos ? command.size() : next;
    }
    return std::string(command.substr(0, end));
}

} // namespace wpa
