#include "ConnectionProcedure.h"

#include "MainWindowHost.h"
#include "ProfileStore.h"
#include "UiServices.h"
#include "WirelessAdapter.h"

#include <QString>

#include <chrono>
#include <cstdio>

namespace {

struct Security {
    int32_t authentication;
    int32_t encryption;
};

// Ad hoc list: "Auto", "Disable".
Security adhocSecurity(int authIndex) {
    switch (authIndex) {
    case 0:
        return {2, 1};
    case 1:
        return {2, 0};
    default:
        return {0, 0};
    }
}

int32_t pskCipher(int cipherIndex) {
    return cipherIndex == 0 ? 3 : 2;
}

// Separate WPA and WPA2 items: "Open System", "Shared Key", "Auto", "WPA", "WPA-PSK", "WPA2",
// "WPA2-PSK", "Disable". WPA and WPA2 with a certificate always use AES.
Security separateListSecurity(int authIndex, int cipherIndex) {
    switch (authIndex) {
    case 0:
        return {0, 1};
    case 1:
        return {1, 1};
    case 2:
        return {2, 1};
    case 3:
        return {3, 3};
    case 4:
        return {4, pskCipher(cipherIndex)};
    case 5:
        return {6, 3};
    case 6:
        return {7, pskCipher(cipherIndex)};
    case 7:
        return {2, 0};
    default:
        return {0, 0};
    }
}

// Combined items: "Open System", "Shared Key", "Auto", "WPA/WPA2", "WPA-PSK/WPA2-PSK", "Disable".
// The first five mean what the separate list's first five mean.
Security combinedListSecurity(int authIndex, int cipherIndex) {
    if (authIndex >= 0 && authIndex <= 4) {
        return separateListSecurity(authIndex, cipherIndex);
    }
    return authIndex == 5 ? Security{2, 0} : Security{0, 0};
}

Security infrastructureSecurity(const OnLinkRecord& onLink) {
    if (onLink.AutoWPAWPA2 == "YES") {
        return separateListSecurity(onLink.AuthListIndex, onLink.CipherListIndex);
    }
    if (onLink.AutoWPAWPA2 == "NO") {
        return combinedListSecurity(onLink.AuthListIndex, onLink.CipherListIndex);
    }
    return {0, 0};
}

void setModeFlags(StationSettings& config, const OnLinkRecord& onLink) {
    config.WirelessMode[Mode11B] = onLink.Mode11b != 0 ? 1 : 0;
    config.WirelessMode[Mode11G] = onLink.Mode11g != 0 ? 1 : 0;
    config.WirelessMode[Mode11GT] = onLink.Mode11gt != 0 ? 1 : 0;
    config.WirelessMode[Mode11A] = onLink.Mode11a != 0 ? 1 : 0;
    config.WirelessMode[Mode11AT] = onLink.Mode11at != 0 ? 1 : 0;
    config.AdvancedMode[0] = onLink.ModeXR != 0 ? 1 : 0;
}

void setNetworkAndSecurity(StationSettings& config, const OnLinkRecord& onLink) {
    Security security{0, 0};
    if (onLink.bsstype == 0) {
        config.NetworkType = 0;
        config.TxRate = 3;
        security = adhocSecurity(onLink.AuthListIndex);
        for (int element : {Mode11G, Mode11GT, Mode11A, Mode11AT}) {
            config.WirelessMode[element] = 0;
        }
    } else if (onLink.bsstype == 2) {
        config.NetworkType = 2;
        config.TxRate = 0;
    } else {
        config.NetworkType = 1;
        config.TxRate = 12;
        security = infrastructureSecurity(onLink);
    }
    config.AuthenticationMode = security.authentication;
    config.EncryptionMode = security.encryption;
}

// Only the default key gets a value; an ASCII key becomes two hex digits per character.
void setWepKeys(StationSettings& config, const OnLinkRecord& onLink) {
    for (int k = 0; k < 4; ++k) {
        if (onLink.radio(k) != 1) {
            continue;
        }
        config.iDefaultWEPKeyID = k;
        const bool is64 = onLink.keyLength(k) == 0;
        config.iWEPKeyBits = is64 ? 64 : 128;
        const size_t n = is64 ? 5 : 13;
        const std::string& key = onLink.wepKey(k);
        if (onLink.KeyFormat != 0) {
            copyText(config.wepKeyValue(k), key.c_str());
            continue;
        }
        std::string hex;
        for (size_t i = 0; i < n && i < key.size(); ++i) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(key[i]));
            hex += pair;
        }
        copyText(config.wepKeyValue(k), hex.c_str());
    }
}

} // namespace

StationSettings BuildPendingConfig(const OnLinkRecord& onLink) {
    StationSettings config{};
    copyText(config.cSSID, onLink.SSID.c_str());
    setModeFlags(config, onLink);
    setNetworkAndSecurity(config, onLink);
    config.Channel = onLink.Channel >= 0 && onLink.Channel <= 13 ? onLink.Channel : 10;
    config.TxRateAuto = 1;
    config.PowerSaveMode = onLink.PowerMode == 1 || onLink.PowerMode == 2 ? onLink.PowerMode : 0;
    config.PreambleMode = onLink.PreambleMode >= 0 && onLink.PreambleMode <= 2 ? onLink.PreambleMode : 0;
    setWepKeys(config, onLink);
    copyText(config.cWPAPassPhase, onLink.WPAPassPhase.c_str());
    copyText(config.cCertificateHash, onLink.CertificateHash.c_str());
    copyText(config.cCertificateName, onLink.CertificateName.c_str());
    copyText(config.cDomainName, onLink.DomainName.c_str());
    copyText(config.cLoginName, onLink.LoginName.c_str());
    return config;
}

void RebuildPendingConfig(MainWindowHost& host, ProfileStore& store) {
    host.pendingConfig() = BuildPendingConfig(store.ReadOnLink());

    using namespace std::chrono_literals;
    for (int question = 0; question < 7; ++question) {
        int32_t absent = 1;
        host.adapter().IsDriverAbsent(absent);
        host.setUnplugged(absent);
        host.ui().sleep(1000ms);
        if (absent == 0) {
            host.ui().sleep(1000ms);
            host.setApplyPending(1);
            break;
        }
    }
    host.SetTrayTip(QString());
}
