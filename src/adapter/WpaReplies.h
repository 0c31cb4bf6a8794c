#pragma once

#include "model/Snapshots.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Readers of wpa_supplicant's control-interface replies, and the conversions between its
// terms (MHz, dBm, Mbit/s, flag texts) and the program's (channel indexes, percentages,
// rate codes, the survey's codes). Pure functions: no sockets, no files.
namespace wpa {

// "key=value" lines (STATUS, SIGNAL_POLL, BSS). Lines without '=' are skipped; a key that
// appears twice keeps its first value. Empty when the reply holds no such line at all.
using KeyValues = std::map<std::string, std::string, std::less<>>;
KeyValues parseKeyValues(std::string_view reply);

// A MAC address as the supplicant and the kernel print it: "00:1c:10:4e:82:01", either letter
// case. False (mac partly written) for anything else.
bool parseMac(std::string_view text, unsigned char (&mac)[6]);

// A whole decimal number (an optional sign, digits, nothing else).
std::optional<int64_t> parseInteger(std::string_view text);

// The reply of a command that answers "OK" (or "FAIL"), with or without its newline.
bool isOk(std::string_view reply);
bool isFail(std::string_view reply); // "FAIL", "FAIL-BUSY", ...
// FAIL, or a command this supplicant was built without ("UNKNOWN COMMAND").
bool isRefusal(std::string_view reply);

// One line of LIST_NETWORKS: "id<TAB>ssid<TAB>bssid<TAB>flags".
struct ListedNetwork {
    int id = -1;
    std::string ssid;  // as the supplicant printed it (escaped)
    std::string flags; // "[CURRENT]", "[DISABLED]", ...
};
// nullopt when the reply is not a network list (no header line).
std::optional<std::vector<ListedNetwork>> parseNetworkList(std::string_view reply);

// SSIDs in STATUS, BSS and LIST_NETWORKS are printed with C escapes (\\, \", \n, \xNN, ...).
// Decodes them into the raw bytes, cut at the first NUL (a hidden network's name).
std::string decodeEscapedText(std::string_view text);

// A value of GET_NETWORK for a text field: "quoted" text, or the bytes as hex digits.
// nullopt when it is neither (FAIL, "*" for a secret, an odd hex string).
std::optional<std::string> decodeConfigText(std::string_view value);
// The form SET_NETWORK takes for a text field: quoted when every byte is printable ASCII,
// otherwise hex digits (which the supplicant reads as the raw bytes).
std::string encodeConfigText(std::string_view text);

// --- Frequencies and channels ---
// The channel index (0..26) of a centre frequency in MHz; nullopt for a frequency outside the
// program's channel table.
std::optional<int> channelIndexOfFrequency(int64_t mhz);
// The centre frequency of a channel index as the radio uses it (channel 14 is 2484 MHz);
// 0 outside 0..26.
int frequencyOfChannelIndex(int index);
bool isFiveGigahertz(int64_t mhz);

// --- Signal ---
// A signal level in dBm as a percentage on the line from -100 dBm (0 %) to -50 dBm (100 %),
// clamped. Drivers that report a positive level report a quality already: it is clamped to
// 0..100 as it is.
int32_t signalPercent(int64_t level);
// Link quality from the signal and the noise floor (both dBm): a signal-to-noise ratio of
// 40 dB or more is 100 %. Without a noise figure (the supplicant's 9999) it is the signal's
// percentage.
int32_t qualityPercent(int64_t rssi, std::optional<int64_t> noise);

// The transmit-rate code of the program's table for a link speed in Mbit/s: the fastest rate
// of the table that is not above it (code 0, 1 Mbit/s, for anything slower).
int32_t rateCodeOfSpeed(int64_t mbitPerSecond);

// --- Security, as the scan's flags and STATUS's key_mgmt name it ---
struct Security {
    int32_t authenticationMode = 0; // the codes of AuthenticationMode (0 open/WEP, 3..7)
    int32_t encryptionMode = 0;     // 0 none, 1 WEP, 2 TKIP, 3 AES
};
// The flags of a scan entry ("[WPA-PSK-TKIP][WPA2-PSK-CCMP+TKIP][ESS]"). WPA2 is preferred
// to WPA where a network offers both; SAE counts as the pre-shared key it replaces.
Security securityOfFlags(std::string_view flags, bool adHoc);
// STATUS's key_mgmt ("WPA2-PSK", "WPA/IEEE 802.1X/EAP", "NONE") with its pairwise cipher.
Security securityOfStatus(std::string_view keyManagement, std::string_view pairwiseCipher);

// One BSS entry (the reply of "BSS ...") as a survey entry; nullopt when it has no BSSID or
// no frequency. A frequency outside the channel table gives channel index 0.
std::optional<BssEntry> surveyEntryOfBss(const KeyValues& bss);

// The band element of the wireless-mode block for a network: 11A on 5 GHz; on 2.4 GHz 11B
// when every rate its information elements announce is 11 Mbit/s or slower, else 11G.
int surveyBandElement(int64_t mhz, std::string_view ieHex);

// --- Safe logging ---
// A reply cut to a short, printable excerpt for a diagnostic line.
std::string excerpt(std::string_view reply);
// A command as it may be logged: the command and, for SET_NETWORK and SET, the network and the
// field name, never the value ("SET_NETWORK 3 psk").
std::string loggableCommand(std::string_view command);

} // namespace wpa
