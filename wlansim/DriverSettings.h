#pragma once

#include "wlansim/World.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace wlansim {

// What the driver has been told through the API_Set calls, in driver codes. The driver keeps
// it across restarts in a state file beside the world, as a real driver keeps its settings.
struct DriverSettings {
    int networkType = 1;
    int encryption = 0;
    int authentication = 0;
    int preamble = 1;
    int powerSave = 0;
    int channelCode = 11;
    int beaconInterval = 100;
    int fragmentationThreshold = 2346;
    int rtsThreshold = 2347;
    int defaultKeyId = 0;
    std::string ssid;
    int txRateAuto = 1;
    int txRate = 12;
    std::array<int32_t, 12> wirelessMode{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    std::array<std::string, 4> wepKeys;
    int wepKeyBits = 64;
    int passphraseEncryption = 0;
    std::string passphrase;                 // the last of API_SetWPAPSKKey and API_SetWPANoneKey
    std::string passphraseSsid;             // the SSID the passphrase was given for
    std::array<std::string, 4> certificate; // client certificate, authority, domain, login
    int channelPlan = 3;

    bool operator==(const DriverSettings&) const = default;
};

// The settings of a driver that has never been configured: the world's [driver] network.
DriverSettings factorySettings(const World& world);

// The state file: one "Key=value" line per setting, texts quoted with C escapes.
std::string serializeSettings(const DriverSettings& settings);
// Reads a state file over the given defaults; unreadable lines keep the default.
DriverSettings parseSettings(std::string_view text, DriverSettings defaults);

} // namespace wlansim
