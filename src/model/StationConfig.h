#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// One complete adapter configuration.
//
// The settings part is what the adapter reads back and applies; the main window's
// currentConfig and pendingConfig are StationSettings, so assigning a full StationConfig
// to them copies the settings part and can never touch the selection part.
// All integers are 32-bit; texts are NUL-terminated single-byte arrays whose size
// includes the terminator. A value-initialised record ({}) is all zeros.
struct StationSettings {
    char cSSID[33];  // first: the driver reads the SSID from the start of the record
    int32_t Channel; // channel index 0..26, not the channel number
    int32_t NetworkType;
    int32_t EncryptionMode;
    int32_t AuthenticationMode;
    char ucWEPKey1Value[257];
    char ucWEPKey2Value[257];
    char ucWEPKey3Value[257];
    char ucWEPKey4Value[257];
    int32_t iWEPKeyBits;
    int32_t iDefaultWEPKeyID;
    char cCertificateName[255];
    char cCertificateHash[255];
    char cDomainName[255];
    char cLoginName[255];
    char cWPAPassPhase[68];
    int32_t WirelessMode[12];
    int32_t TxRateAuto;
    int32_t TxRate;
    int32_t ChannelPlan;
    int32_t PreambleMode;
    int32_t PowerSaveMode;
    int32_t AdvancedMode[2];
    int32_t BeaconInterval;
    int32_t FragmentationThreshold;
    int32_t RadioOff;
    int32_t RTSThreshold;

    // The four WEP key value fields by key number 0..3.
    auto wepKeyValue(int index) -> char (&)[257];
    auto wepKeyValue(int index) const -> const char (&)[257];
};

// The user-interface choices that travel with a record through the registry mirror.
struct StationSelection {
    int32_t SecurityIndex;
    int32_t EncryptionIndex;
    int32_t iKeyLength;
    int32_t iKeyFormat;
    char UIWEPKey1[240];
    char UIWEPKey2[240];
    char UIWEPKey3[240];
    char UIWEPKey4[240];
    int32_t UICertIndex;

    auto uiWepKey(int index) -> char (&)[240];
    auto uiWepKey(int index) const -> const char (&)[240];
};

struct StationConfig : StationSettings, StationSelection {};

// Elements of the wireless-mode block that the user interface sets.
enum WirelessModeElement : int {
    Mode11B = 0,
    Mode11G = 4,
    Mode11GT = 6,
    Mode11A = 8,
    Mode11AT = 10,
};

static_assert(std::is_standard_layout_v<StationSettings> && std::is_trivially_copyable_v<StationSettings>);
static_assert(std::is_standard_layout_v<StationSelection> && std::is_trivially_copyable_v<StationSelection>);
static_assert(std::is_trivially_copyable_v<StationConfig>);
static_assert(offsetof(StationSettings, cSSID) == 0, "the driver reads the SSID from the record's start");
static_assert(sizeof(StationSettings::WirelessMode) == 48, "wireless-mode block is twelve 32-bit flags");
static_assert(sizeof(StationSettings::AdvancedMode) == 8, "advanced mode is a pair of 32-bit values");
static_assert(offsetof(StationSettings, cCertificateHash) ==
                      offsetof(StationSettings, cCertificateName) + 255 &&
                  offsetof(StationSettings, cDomainName) ==
                      offsetof(StationSettings, cCertificateHash) + 255 &&
                  offsetof(StationSettings, cLoginName) == offsetof(StationSettings, cDomainName) + 255,
              "the four certificate texts form one 1020-byte block");
static_assert(offsetof(StationSettings, RTSThreshold) + sizeof(int32_t) <= sizeof(StationSettings));

// Copies text into a fixed array, cut to its capacity and always terminated.
template <std::size_t N> void copyText(char (&target)[N], const char* source) {
    std::size_t i = 0;
    if (source != nullptr) {
        for (; i + 1 < N && source[i] != '\0'; ++i) {
            target[i] = source[i];
        }
    }
    target[i] = '\0';
}

// Length of a text in a fixed array that may lack its terminator.
template <std::size_t N> std::size_t boundedLength(const char (&text)[N]) {
    std::size_t i = 0;
    while (i < N && text[i] != '\0') {
        ++i;
    }
    return i;
}
