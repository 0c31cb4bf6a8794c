#pragma once

#include "model/StationConfig.h"

#include <sstream>
#include <string>

// Every field of the settings part as text, so whole records compare with readable failures.
inline std::string describe(const StationSettings& s) {
    std::ostringstream out;
    out << "SSID=" << s.cSSID << " Channel=" << s.Channel << " NetworkType=" << s.NetworkType
        << " Enc=" << s.EncryptionMode << " Auth=" << s.AuthenticationMode;
    for (int k = 0; k < 4; ++k) {
        out << " Key" << k + 1 << "=" << s.wepKeyValue(k);
    }
    out << " Bits=" << s.iWEPKeyBits << " KeyId=" << s.iDefaultWEPKeyID << " CertName=" << s.cCertificateName
        << " CertHash=" << s.cCertificateHash << " Domain=" << s.cDomainName << " Login=" << s.cLoginName
        << " Pass=" << s.cWPAPassPhase << " Modes=";
    for (int32_t mode : s.WirelessMode) {
        out << mode;
    }
    out << " RateAuto=" << s.TxRateAuto << " Rate=" << s.TxRate << " Plan=" << s.ChannelPlan
        << " Preamble=" << s.PreambleMode << " Power=" << s.PowerSaveMode << " Advanced=" << s.AdvancedMode[0]
        << s.AdvancedMode[1] << " Beacon=" << s.BeaconInterval << " Frag=" << s.FragmentationThreshold
        << " RadioOff=" << s.RadioOff << " RTS=" << s.RTSThreshold;
    return out.str();
}
