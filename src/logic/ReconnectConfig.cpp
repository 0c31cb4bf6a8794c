#include "logic/ReconnectConfig.h"

#include "logic/AuthenticationLists.h"
#include "logic/ChannelLists.h"
#include "logic/KeyRules.h"
#include "model/CodeTables.h"

namespace logic {
namespace {

int32_t flag(int32_t stored) {
    return stored != 0 ? 1 : 0;
}

void setModeFlags(StationSettings& config, const OnLinkRecord& onLink) {
    config.WirelessMode[Mode11B] = flag(onLink.Mode11b);
    config.WirelessMode[Mode11G] = flag(onLink.Mode11g);
    config.WirelessMode[Mode11GT] = flag(onLink.Mode11gt);
    config.WirelessMode[Mode11A] = flag(onLink.Mode11a);
    config.WirelessMode[Mode11AT] = flag(onLink.Mode11at);
    config.AdvancedMode[0] = flag(onLink.ModeXR);
}

void setNetworkAndSecurity(StationSettings& config, const OnLinkRecord& onLink) {
    SecurityModes security{0, 0};
    if (onLink.bsstype == codes::networkAdHoc) {
        config.NetworkType = codes::networkAdHoc;
        config.TxRate = codes::txRate11Mbps;
        security = reconnectSecurity(AuthList::AdHoc, onLink.AuthListIndex, onLink.CipherListIndex);
        // An ad hoc cell is rebuilt on 11b alone.
        for (int element : {Mode11G, Mode11GT, Mode11A, Mode11AT}) {
            config.WirelessMode[element] = 0;
        }
    } else if (onLink.bsstype == codes::networkSoftwareAccessPoint) {
        config.NetworkType = codes::networkSoftwareAccessPoint;
        config.TxRate = 0;
    } else {
        config.NetworkType = codes::networkInfrastructure;
        config.TxRate = codes::txRate54Mbps;
        security = reconnectSecurity(infrastructureAuthList(onLink.AutoWPAWPA2), onLink.AuthListIndex,
                                     onLink.CipherListIndex);
    }
    config.AuthenticationMode = security.authentication;
    config.EncryptionMode = security.encryption;
}

// The stored "Channel" is a list position. Only the ad hoc 2.4 GHz list depends on the plan;
// the record keeps 2.4 GHz indexes only, anything else becomes channel 11.
int32_t channelIndex(const OnLinkRecord& onLink, int channelPlan) {
    const bool adhoc2Ghz = onLink.bsstype == codes::networkAdHoc && onLink.adhocband == 0;
    const int index = adhoc2Ghz ? channelIndexAt(onLink.Channel, channelPlan) : onLink.Channel;
    return index >= 0 && index <= 13 ? index : 10;
}

// Only the default key gets a value; when several keys are marked, the last one wins.
void setWepKeys(StationSettings& config, const OnLinkRecord& onLink) {
    for (int k = 0; k < 4; ++k) {
        if (onLink.radio(k) != 1) {
            continue;
        }
        const int required = RequiredKeyLength(onLink.KeyFormat, onLink.keyLength(k));
        config.iDefaultWEPKeyID = k;
        config.iWEPKeyBits = WepKeyBits(required);
        copyText(config.wepKeyValue(k), MakeWepKeyValue(onLink.wepKey(k), required).c_str());
    }
}

} // namespace

std::optional<StationSettings> buildReconnectConfig(const OnLinkRecord& onLink, int channelPlan) {
    StationSettings config{};
    copyText(config.cSSID, onLink.SSID.c_str());
    if (config.cSSID[0] == '\0') {
        return std::nullopt; // also a stored SSID that decodes to a leading NUL byte
    }
    setModeFlags(config, onLink);
    setNetworkAndSecurity(config, onLink);
    config.Channel = channelIndex(onLink, channelPlan);
    config.TxRateAuto = 1;
    config.PowerSaveMode = codes::powerSaveToDriver(onLink.PowerMode);
    config.PreambleMode =
        onLink.PreambleMode >= codes::preambleLong && onLink.PreambleMode <= codes::preambleDriverThird
            ? onLink.PreambleMode
            : codes::preambleLong;
    setWepKeys(config, onLink);
    copyText(config.cWPAPassPhase, onLink.WPAPassPhase.c_str());
    copyText(config.cCertificateHash, onLink.CertificateHash.c_str());
    copyText(config.cCertificateName, onLink.CertificateName.c_str());
    copyText(config.cDomainName, onLink.DomainName.c_str());
    copyText(config.cLoginName, onLink.LoginName.c_str());
    return config;
}

} // namespace logic
