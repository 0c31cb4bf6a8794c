#include "wlansim/DriverSettings.h"

#include "wlansim/Channels.h"
#include "wlansim/TextEscape.h"

#include <climits>
#include <sstream>

namespace wlansim {
namespace {

int encryptionOf(Cipher cipher) {
    return cipher == Cipher::Tkip ? 2 : 3;
}

void applySecurity(DriverSettings& settings, const FactoryNetwork& network) {
    switch (network.security) {
    case Security::Open:
        settings.authentication = 0;
        return;
    case Security::Wep:
    case Security::SharedWep:
        settings.encryption = 1;
        settings.authentication = network.security == Security::Wep ? 0 : 1;
        settings.wepKeys[0] = network.key;
        settings.wepKeyBits = network.key.size() == 26 ? 128 : 64;
        return;
    case Security::Wpa:
    case Security::Wpa2:
        settings.encryption = encryptionOf(network.cipher);
        settings.authentication = network.security == Security::Wpa ? 3 : 6;
        settings.certificate[0] = network.key;
        return;
    case Security::WpaPsk:
    case Security::Wpa2Psk:
    case Security::WpaNone:
        settings.encryption = encryptionOf(network.cipher);
        settings.authentication = network.security == Security::WpaPsk    ? 4
                                  : network.security == Security::Wpa2Psk ? 7
                                                                          : 5;
        settings.passphraseEncryption = settings.encryption;
        settings.passphrase = network.key;
        settings.passphraseSsid = network.ssid;
        return;
    }
}

// One row per stored integer.
struct IntField {
    const char* key;
    int DriverSettings::*field;
};
const IntField kIntFields[] = {
    {"NetworkType", &DriverSettings::networkType},
    {"EncryptionMode", &DriverSettings::encryption},
    {"AuthenticationMode", &DriverSettings::authentication},
    {"PreambleMode", &DriverSettings::preamble},
    {"PowerSaveMode", &DriverSettings::powerSave},
    {"Channel", &DriverSettings::channelCode},
    {"BeaconInterval", &DriverSettings::beaconInterval},
    {"FragmentationThreshold", &DriverSettings::fragmentationThreshold},
    {"RTSThreshold", &DriverSettings::rtsThreshold},
    {"DefaultKeyID", &DriverSettings::defaultKeyId},
    {"TxRateAuto", &DriverSettings::txRateAuto},
    {"TxRate", &DriverSettings::txRate},
    {"WEPKeyBits", &DriverSettings::wepKeyBits},
    {"PassphraseEncryption", &DriverSettings::passphraseEncryption},
    {"ChannelPlan", &DriverSettings::channelPlan},
};

std::string* textField(DriverSettings& settings, std::string_view key) {
    static const char* const names[] = {"WEPKey0",         "WEPKey1",         "WEPKey2",    "WEPKey3",
                                        "CertificateName", "CertificateHash", "DomainName", "LoginName"};
    for (std::size_t i = 0; i < 8; ++i) {
        if (equalsNoCase(key, names[i])) {
            return i < 4 ? &settings.wepKeys[i] : &settings.certificate[i - 4];
        }
    }
    if (equalsNoCase(key, "SSID"))
        return &settings.ssid;
    if (equalsNoCase(key, "Passphrase"))
        return &settings.passphrase;
    if (equalsNoCase(key, "PassphraseSSID"))
        return &settings.passphraseSsid;
    return nullptr;
}

bool readWirelessMode(std::string_view value, std::array<int32_t, 12>& block) {
    std::array<int32_t, 12> parsed{};
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        std::size_t comma = value.find(',');
        bool last = i + 1 == parsed.size();
        if (last != (comma == std::string_view::npos)) {
            return false;
        }
        auto number = parseInt(value.substr(0, comma), INT_MIN, INT_MAX);
        if (!number) {
            return false;
        }
        parsed[i] = *number;
        value = last ? std::string_view{} : value.substr(comma + 1);
    }
    block = parsed;
    return true;
}

void readLine(DriverSettings& settings, std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    std::string key = trim(line.substr(0, equals));
    std::string value = trim(line.substr(equals + 1));
    for (const auto& entry : kIntFields) {
        if (equalsNoCase(key, entry.key)) {
            if (auto number = parseInt(value, INT_MIN, INT_MAX))
                settings.*entry.field = *number;
            return;
        }
    }
    if (equalsNoCase(key, "WirelessMode")) {
        readWirelessMode(value, settings.wirelessMode);
    } else if (std::string* text = textField(settings, key)) {
        if (auto unquoted = unquoteText(value); unquoted && unquoted->size() <= 256)
            *text = *unquoted;
    }
}

} // namespace

DriverSettings factorySettings(const World& world) {
    const FactoryNetwork& network = world.factory;
    DriverSettings settings;
    settings.networkType = network.kind == NetworkKind::AdHoc ? 0 : 1;
    settings.ssid = network.ssid;
    settings.channelCode = driverCodeOfChannel(network.channel).value_or(11);
    settings.channelPlan = world.adapter.channelPlan;
    applySecurity(settings, network);
    return settings;
}

std::string serializeSettings(const DriverSettings& settings) {
    std::ostringstream out;
    out << "# Settings of the simulated adapter's driver, kept across restarts.\n";
    for (const auto& entry : kIntFields) {
        out << entry.key << '=' << settings.*entry.field << '\n';
    }
    out << "WirelessMode=";
    for (std::size_t i = 0; i < settings.wirelessMode.size(); ++i) {
        out << (i ? "," : "") << settings.wirelessMode[i];
    }
    out << "\nSSID=" << quoteText(settings.ssid) << '\n';
    for (std::size_t i = 0; i < 4; ++i) {
        out << "WEPKey" << i << '=' << quoteText(settings.wepKeys[i]) << '\n';
    }
    out << "Passphrase=" << quoteText(settings.passphrase) << '\n';
    out << "PassphraseSSID=" << quoteText(settings.passphraseSsid) << '\n';
    out << "CertificateName=" << quoteText(settings.certificate[0]) << '\n';
    out << "CertificateHash=" << quoteText(settings.certificate[1]) << '\n';
    out << "DomainName=" << quoteText(settings.certificate[2]) << '\n';
    out << "LoginName=" << quoteText(settings.certificate[3]) << '\n';
    return out.str();
}

DriverSettings parseSettings(std::string_view text, DriverSettings defaults) {
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        readLine(defaults, text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return defaults;
}

} // namespace wlansim
