#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The fixed tables through which every enumerated value passes when it crosses a boundary
// (driver, registry, files, user interface). Each keeps the known codes and maps every other
// code to one fixed default.
namespace codes {

inline constexpr int channelCount = 27;        // channel indexes 0..26
inline constexpr int defaultChannelIndex = 10; // channel 11

// --- The record's codes, as StationConfig holds them and the driver takes them ---
// NetworkType; also the profile file's "bsstype" and a surveyed network's type.
inline constexpr int32_t networkAdHoc = 0; // IBSS
inline constexpr int32_t networkInfrastructure = 1;
inline constexpr int32_t networkSoftwareAccessPoint = 2; // shown, never offered for selection

// EncryptionMode.
inline constexpr int32_t encryptionNone = 0;
inline constexpr int32_t encryptionWep = 1;
inline constexpr int32_t encryptionTkip = 2;
inline constexpr int32_t encryptionAes = 3; // offered as "TKIP/AES"
// WEP, TKIP or AES: a cipher is on.
inline constexpr bool isEncrypting(int encryptionMode) {
    return encryptionMode >= encryptionWep && encryptionMode <= encryptionAes;
}

// AuthenticationMode: with 0 to 2 the WEP keys are applied, with the 802.1X ones the
// certificate block, with the PSK ones and WPA-None the passphrase.
inline constexpr int32_t authOpenSystem = 0;
inline constexpr int32_t authSharedKey = 1;
inline constexpr int32_t authAuto = 2; // open or shared; also what an unknown code becomes
inline constexpr int32_t authWpa = 3;  // 802.1X certificate
inline constexpr int32_t authWpaPsk = 4;
inline constexpr int32_t authWpaNone = 5; // ad hoc with a passphrase
inline constexpr int32_t authWpa2 = 6;    // 802.1X certificate
inline constexpr int32_t authWpa2Psk = 7;
inline constexpr int32_t authWpaAndWpa2 = 8; // 802.1X certificate

// PowerSaveMode.
inline constexpr int32_t powerSaveOff = 0;     // "Continuous Access Mode"
inline constexpr int32_t powerSaveMaximum = 1; // "Maximum Power Save"
inline constexpr int32_t powerSaveNormal = 2;  // "Power Save"

// PreambleMode.
inline constexpr int32_t preambleLong = 0;
inline constexpr int32_t preambleShortAndLong = 1;
inline constexpr int32_t preambleDriverThird = 2; // the driver's third setting, passed through

// The transmit-rate codes the program itself chooses (with TxRateAuto 1).
inline constexpr int32_t txRate11Mbps = 3;  // ad hoc on the 2.4 GHz band
inline constexpr int32_t txRate54Mbps = 12; // every other case

// Channel plans (ChannelPlan) with 2.4 GHz channel lists of their own; the About page's
// names for every plan are channelPlanRegion's.
inline constexpr int planEtsi13 = 4; // an ETSI plan with channels 1 to 13
inline constexpr int planFrance = 5;
inline constexpr int planIsrael = 6; // channels 3 to 9
inline constexpr int planMkk = 11;

// --- Applying a record to the driver ---
int networkTypeToDriver(int networkType);       // 0 -> 0, 2 -> 2, else 1
int encryptionToDriver(int encryptionMode);     // 1..3 kept, else 0
int authenticationToDriver(int authentication); // 0..8 kept, else 2
int preambleToDriver(int preamble);             // 0 -> 0, 2 -> 2, else 1
int powerSaveToDriver(int powerSave);           // 1, 2 kept, else 0
int txRateToDriver(int txRate);                 // 1..12 and 14..18 kept, else 0
int channelIndexToCode(int index);              // 0..13 -> +1, 14..26 -> +5, else 11

// --- Reading the driver's configuration back ---
int networkTypeFromDriver(int code);    // 0 and 2 kept, else 1
int encryptionFromDriver(int code);     // 1..3 kept, else 0
int authenticationFromDriver(int code); // 0, 1, 3..7 kept, else 2
int preambleFromDriver(int code);       // 0 and 2 kept, else 1
int powerSaveFromDriver(int code);      // 1 and 2 kept, else 0
int txRateFromDriver(int code);         // 1..12 and 14..18 kept, else 0
int channelIndexFromCode(int code);     // 1..10 -> 0..9, 12..14 -> 11..13, 19..31 -> 14..26, else 10
int channelPlanFromDriver(int code);    // 1..12 kept, else 0
int channelIndexKept(int index);        // 0..26 kept, else 10

// --- Adapter snapshots ---
int chipsetFromDriver(int code);       // 1..11 kept, else 0
int authStatusFromDriver(int code);    // 1..4 kept, else 0
int linkModeFromDriver(int code);      // 1, 2 kept, else 0
int linkConnectedFromState(int state); // 1 for states 1 and 2, else 0
int surveyNetworkType(int code);       // 1 and 2 kept, else 0 (ad hoc)
int surveyEncryption(int code);        // 1..3 kept, else 0
int surveyAuthentication(int code);    // 1..7 kept, else 0
int surveyChannelIndex(int code);      // 1..14 -> 0..13, 19..31 -> 14..26, else 0
int surveyBandElement(int band);       // 0 -> 11B (0), 1 -> 11G (4), else 11A (8)

// --- Channel table ---
int channelNumber(int index);    // index 0..26 -> 1..14, 36..64, 149..165; else 0
int channelFrequency(int index); // MHz; else 0
bool isChannelIndex(int index);

// --- The 5 GHz channels a supplicant may use ---
// The channel table above is fixed by the stored files and the driver's codes; a supplicant may
// use channels 100 to 144 as well. Each of these channels names the channel plans whose
// countries may use it: every plan channels 36 to 64; all but Israel's (6) channels 100 to 140;
// all but Israel's and Japan's (7 as the country selector gives it, 11 as the driver names it)
// channel 144 and channels 149 to 165. A plan serving several countries allows what any of them
// allows; a plan code outside 0..12 allows every channel.
std::vector<int> supplicant5GhzChannels(int channelPlan); // channel numbers, ascending
int channel5GhzFrequency(int number);                     // MHz; 0 for a number outside that table

// --- Transmit rate: the Mbit/s text shown for a code read back ---
std::string txRateText(int code); // "1" for codes outside the table

// --- Channel plan (regulatory domain) names ---
std::string channelPlanRegion(int plan); // "ETSI", "FCC", "FRANCE", "ISRAEL", "MKK"; else "FCC"

} // namespace codes
