#include "model/CodeTables.h"

#include <array>

namespace codes {
namespace {

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

constexpr std::array<int, channelCount> kChannelNumbers = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 36, 40, 44, 48, 52, 56, 60, 64, 149, 153, 157, 161, 165,
};

// Channel plans 0..12 as bits of a set.
constexpr uint16_t planBit(int plan) {
    return static_cast<uint16_t>(1u << plan);
}
constexpr uint16_t kEveryPlan = 0x1fff;
constexpr uint16_t kNotIsrael = kEveryPlan & ~planBit(6);
constexpr uint16_t kNotIsraelNorJapan = kNotIsrael & ~planBit(7) & ~planBit(11);

struct Supplicant5GhzChannel {
    int number;
    uint16_t plans; // the channel plans that allow it
};

constexpr std::array<Supplicant5GhzChannel, 25> kSupplicant5Ghz = {{
    // the channel table's own lower channels
    {36, kEveryPlan},
    {40, kEveryPlan},
    {44, kEveryPlan},
    {48, kEveryPlan},
    {52, kEveryPlan},
    {56, kEveryPlan},
    {60, kEveryPlan},
    {64, kEveryPlan},
    // the supplicant's alone
    {100, kNotIsrael},
    {104, kNotIsrael},
    {108, kNotIsrael},
    {112, kNotIsrael},
    {116, kNotIsrael},
    {120, kNotIsrael},
    {124, kNotIsrael},
    {128, kNotIsrael},
    {132, kNotIsrael},
    {136, kNotIsrael},
    {140, kNotIsrael},
    {144, kNotIsraelNorJapan},
    // the channel table's own upper channels
    {149, kNotIsraelNorJapan},
    {153, kNotIsraelNorJapan},
    {157, kNotIsraelNorJapan},
    {161, kNotIsraelNorJapan},
    {165, kNotIsraelNorJapan},
}};

} // namespace

int networkTypeToDriver(int networkType) {
    return networkType == networkAdHoc || networkType == networkSoftwareAccessPoint ? networkType
                                                                                    : networkInfrastructure;
}
int encryptionToDriver(int encryptionMode) {
    return isEncrypting(encryptionMode) ? encryptionMode : encryptionNone;
}
int authenticationToDriver(int authentication) {
    return inRange(authentication, authOpenSystem, authWpaAndWpa2) ? authentication : authAuto;
}
int preambleToDriver(int preamble) {
    return preamble == preambleLong || preamble == preambleDriverThird ? preamble : preambleShortAndLong;
}
int powerSaveToDriver(int powerSave) {
    return powerSave == powerSaveMaximum || powerSave == powerSaveNormal ? powerSave : powerSaveOff;
}
int txRateToDriver(int txRate) {
    return inRange(txRate, 1, 12) || inRange(txRate, 14, 18) ? txRate : 0;
}

int channelIndexToCode(int index) {
    if (inRange(index, 0, 13)) {
        return index + 1;
    }
    if (inRange(index, 14, 26)) {
        return index + 5;
    }
    return 11;
}

int networkTypeFromDriver(int code) {
    return networkTypeToDriver(code);
}
int encryptionFromDriver(int code) {
    return encryptionToDriver(code);
}
int authenticationFromDriver(int code) {
    return code == authOpenSystem || code == authSharedKey || inRange(code, authWpa, authWpa2Psk) ? code
                                                                                                  : authAuto;
}
int preambleFromDriver(int code) {
    return preambleToDriver(code);
}
int powerSaveFromDriver(int code) {
    return powerSaveToDriver(code);
}
int txRateFromDriver(int code) {
    return txRateToDriver(code);
}

int channelIndexFromCode(int code) {
    if (inRange(code, 1, 10) || inRange(code, 12, 14)) {
        return code - 1;
    }
    if (inRange(code, 19, 31)) {
        return code - 5;
    }
    return defaultChannelIndex;
}

int channelPlanFromDriver(int code) {
    return inRange(code, 1, 12) ? code : 0;
}
int channelIndexKept(int index) {
    return isChannelIndex(index) ? index : defaultChannelIndex;
}

int chipsetFromDriver(int code) {
    return inRange(code, 1, 11) ? code : 0;
}
int authStatusFromDriver(int code) {
    return inRange(code, 1, 4) ? code : 0;
}
int linkModeFromDriver(int code) {
    return code == 1 || code == 2 ? code : 0;
}
int linkConnectedFromState(int state) {
    return state == 1 || state == 2 ? 1 : 0;
}
int surveyNetworkType(int code) {
    return code == networkInfrastructure || code == networkSoftwareAccessPoint ? code : networkAdHoc;
}
int surveyEncryption(int code) {
    return encryptionToDriver(code);
}
int surveyAuthentication(int code) {
    return inRange(code, authSharedKey, authWpa2Psk) ? code : authOpenSystem;
}

int surveyChannelIndex(int code) {
    if (inRange(code, 1, 14)) {
        return code - 1;
    }
    if (inRange(code, 19, 31)) {
        return code - 5;
    }
    return 0;
}

int surveyBandElement(int band) {
    if (band == 0) {
        return 0;
    }
    return band == 1 ? 4 : 8;
}

bool isChannelIndex(int index) {
    return inRange(index, 0, channelCount - 1);
}

int channelNumber(int index) {
    return isChannelIndex(index) ? kChannelNumbers[static_cast<size_t>(index)] : 0;
}

int channelFrequency(int index) {
    if (!isChannelIndex(index)) {
        return 0;
    }
    const int channel = channelNumber(index);
    if (channel == 14) {
        return 2482; // the frequency this utility has always shown for channel 14
    }
    if (channel <= 13) {
        return 2407 + 5 * channel;
    }
    return 5000 + 5 * channel;
}

std::vector<int> supplicant5GhzChannels(int channelPlan) {
    const bool known = inRange(channelPlan, 0, 12);
    std::vector<int> numbers;
    for (const Supplicant5GhzChannel& channel : kSupplicant5Ghz) {
        if (!known || (channel.plans & planBit(channelPlan)) != 0) {
            numbers.push_back(channel.number);
        }
    }
    return numbers;
}

int channel5GhzFrequency(int number) {
    for (const Supplicant5GhzChannel& channel : kSupplicant5Ghz) {
        if (channel.number == number) {
            return 5000 + 5 * number;
        }
    }
    return 0;
}

std::string txRateText(int code) {
    switch (code) {
    case 1:
        return "2";
    case 2:
        return "5.5";
    case 3:
        return "11";
    case 4:
        return "6";
    case 5:
        return "9";
    case 6:
        return "12";
    case 7:
        return "18";
    case 8:
        return "22";
    case 9:
        return "24";
    case 10:
        return "36";
    case 11:
        return "48";
    case 12:
        return "54";
    case 14:
        return "72";
    case 15:
        return "96";
    case 16:
        return "108";
    default:
        return "1";
    }
}

std::string channelPlanRegion(int plan) {
    switch (plan) {
    case 0:
    case 1:
    case 2:
    case 4:
    case 7:
    case 8:
    case 9:
        return "ETSI";
    case planFrance:
        return "FRANCE";
    case planIsrael:
        return "ISRAEL";
    case planMkk:
        return "MKK";
    default:
        return "FCC";
    }
}

} // namespace codes
