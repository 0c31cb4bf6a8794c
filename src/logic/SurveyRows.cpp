#include "logic/SurveyRows.h"

#include "logic/ShownText.h"
#include "model/CodeTables.h"

#include <cstddef>

namespace logic {
namespace {

constexpr std::size_t kShownSsid = 32;

std::string joinedHex(const Bssid& bssid, char separator) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bssid.size(); ++i) {
        if (i > 0) {
            text += separator;
        }
        text += digits[bssid[i] >> 4];
        text += digits[bssid[i] & 15];
    }
    return text;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

const char* authenticationPart(int authenticationMode) {
    switch (authenticationMode) {
    case codes::authWpa:
        return "WPA";
    case codes::authWpaPsk:
        return "WPAPSK";
    case codes::authWpa2:
        return "WPA2";
    case codes::authWpa2Psk:
        return "WPA2PSK";
    default:
        return "";
    }
}

} // namespace

std::string bssidText(const Bssid& bssid) {
    return joinedHex(bssid, ':');
}

std::string bssidDashText(const Bssid& bssid) {
    return joinedHex(bssid, '-');
}

std::string signalText(int percent) {
    return std::to_string(percent) + "%";
}

std::string channelText(int channelIndex) {
    return codes::isChannelIndex(channelIndex) ? std::to_string(codes::channelNumber(channelIndex))
                                               : std::string();
}

std::string surveyName(std::string_view ssid) {
    return std::string(ssid.substr(0, kShownSsid));
}

SecurityCell securityCell(int authenticationMode, int encryptionMode) {
    std::string text = authenticationPart(authenticationMode);
    const bool encrypted = codes::isEncrypting(encryptionMode);
    if (encryptionMode == codes::encryptionWep) {
        text += "WEP";
    } else if (!encrypted) {
        text += "none";
    }
    return {text, encrypted ? SurveyImage::Encrypted : SurveyImage::Open};
}

SurveyImage rowImage(int networkType, bool current) {
    if (networkType == codes::networkAdHoc) {
        return current ? SurveyImage::AdHocCurrent : SurveyImage::AdHoc;
    }
    return current ? SurveyImage::InfrastructureCurrent : SurveyImage::Infrastructure;
}

bool isCurrentNetwork(std::string_view entrySsid, const Bssid& entryBssid, std::string_view currentSsid,
                      const Bssid& linkBssid) {
    return surveyName(entrySsid) == surveyName(currentSsid) &&
           bssidDashText(entryBssid) == bssidDashText(linkBssid);
}

SurveyRow surveyRow(const SurveyEntryView& entry, std::string_view currentSsid, const Bssid& linkBssid) {
    const bool current = isCurrentNetwork(entry.ssid, entry.bssid, currentSsid, linkBssid);
    return {shownText(surveyName(entry.ssid)),
            bssidText(entry.bssid),
            signalText(entry.signal),
            securityCell(entry.authenticationMode, entry.encryptionMode),
            channelText(entry.channel),
            rowImage(entry.networkType, current),
            current};
}

bool matchesSurveyRow(const SurveyEntryView& entry, std::string_view rowSsid, std::string_view rowBssid) {
    return surveyName(entry.ssid) == rowSsid && bssidText(entry.bssid) == upper(rowBssid);
}

} // namespace logic
