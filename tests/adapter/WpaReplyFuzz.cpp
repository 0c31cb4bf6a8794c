// Feeds arbitrary bytes to the readers of wpa_supplicant's replies, as a supplicant that
// answers garbage would: nothing may crash or read past its input, a survey entry keeps to its
// codes, and a text encoded for SET_NETWORK decodes to itself.
#include "adapter/WpaNetworkBlock.h"
#include "adapter/WpaReplies.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const wpa::KeyValues values = wpa::parseKeyValues(text);
    (void)wpa::parseNetworkList(text);
    (void)wpa::parseInteger(text);
    (void)wpa::securityOfFlags(text, size % 2 == 0);
    (void)wpa::securityOfStatus(text, text);
    (void)wpa::loggableCommand(text);
    (void)wpa::excerpt(text);
    (void)wpa::surveyBandElement(2412, text);

    if (const auto entry = wpa::surveyEntryOfBss(values)) {
        const bool codesKept = entry->channel >= 0 && entry->channel <= 26 && entry->signal >= 0 &&
                               entry->signal <= 100 && entry->networkType >= 0 && entry->networkType <= 2 &&
                               entry->encryptionMode >= 0 && entry->encryptionMode <= 3 &&
                               entry->authenticationMode >= 0 && entry->authenticationMode <= 7;
        const int bands = entry->wirelessMode[0] + entry->wirelessMode[4] + entry->wirelessMode[8];
        if (!codesKept || bands != 1 || std::memchr(entry->ssid, '\0', sizeof entry->ssid) == nullptr) {
            __builtin_trap();
        }
    }

    const std::string decoded = wpa::decodeEscapedText(text);
    if (decoded.size() > text.size() || decoded.find('\0') != std::string::npos) {
        __builtin_trap();
    }
    if (wpa::decodeConfigText(wpa::encodeConfigText(text)) != text) {
        __builtin_trap();
    }

    std::map<std::string, std::optional<std::string>, std::less<>> block;
    for (const auto& [key, value] : values) {
        block[key] = value;
    }
    StationSettings record{};
    wpa::settingsOfBlock(block, record);
    if (record.cSSID[sizeof record.cSSID - 1] != '\0') {
        __builtin_trap();
    }
    return 0;
}
