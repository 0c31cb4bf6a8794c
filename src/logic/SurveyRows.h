#pragma once

#include <array>
#include <string>
#include <string_view>

// The texts and images of a row of the Site Survey page's network list, and the rule that
// marks the network the adapter is on.
namespace logic {

using Bssid = std::array<unsigned char, 6>;

// "00:0E:2E:1A:2B:3C": what the list shows and what a row is found again by.
std::string bssidText(const Bssid& bssid);
// "00-0E-2E-1A-2B-3C": the form in which a surveyed BSSID is compared with the link's.
std::string bssidDashText(const Bssid& bssid);
// "72%".
std::string signalText(int percent);
// "1".."14", "36".."64", "149".."165" for indexes 0..26; empty for any other index.
std::string channelText(int channelIndex);
// A surveyed SSID as the list shows it: at most 32 characters.
std::string surveyName(std::string_view ssid);

// Positions in the page's image list.
enum class SurveyImage {
    AdHoc = 0,
    Infrastructure = 1,
    Encrypted = 2, // closed padlock
    Open = 3,      // open padlock
    InfrastructureCurrent = 4,
    AdHocCurrent = 5,
};

// The authentication part ("WPA", "WPAPSK", "WPA2", "WPA2PSK" for 3, 4, 6, 7, else empty)
// followed by the cipher part ("WEP" for 1, empty for 2 and 3, "none" otherwise), with the
// closed padlock for encryption 1..3 and the open one otherwise.
struct SecurityCell {
    std::string text;
    SurveyImage image;
    bool operator==(const SecurityCell&) const = default;
};
SecurityCell securityCell(int authenticationMode, int encryptionMode);

// Network type 0 is ad hoc; infrastructure and software access points share the mast.
SurveyImage rowImage(int networkType, bool current);

// The adapter is on a surveyed network when the SSIDs, each cut to 32 characters, and the
// BSSIDs, as dash texts, are exactly equal. Whether the link says connected plays no part.
bool isCurrentNetwork(std::string_view entrySsid, const Bssid& entryBssid, std::string_view currentSsid,
                      const Bssid& linkBssid);

// A surveyed network, its texts borrowed from the caller's snapshot.
struct SurveyEntryView {
    std::string_view ssid; // up to the terminator, or the whole field when it has none
    Bssid bssid{};
    int signal = 0;
    int channel = 0; // channel index
    int networkType = 0;
    int encryptionMode = 0;
    int authenticationMode = 0;
};

struct SurveyRow {
    std::string name; // column 0, beside rowImage: the SSID as shownText shows it
    std::string bssid;
    std::string signal;
    SecurityCell security;
    std::string channel;
    SurveyImage rowImage;
    bool current;
    bool operator==(const SurveyRow&) const = default;
};
SurveyRow surveyRow(const SurveyEntryView& entry, std::string_view currentSsid, const Bssid& linkBssid);

// Whether a surveyed network is the one a list row shows: the row's SSID text equals the
// entry's as listed, and the row's BSSID text, upper-cased, equals the entry's.
bool matchesSurveyRow(const SurveyEntryView& entry, std::string_view rowSsid, std::string_view rowBssid);

} // namespace logic
