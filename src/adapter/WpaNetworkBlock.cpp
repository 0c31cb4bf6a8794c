#include "adapter/WpaNetworkBlock.h"

#include "adapter/WpaReplies.h"
#include "model/CodeTables.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace wpa {

namespace {

enum class Kind { Open, Wep, Psk, Eap };

Kind kindOf(int32_t authentication, int32_t encryption) {
    switch (authentication) {
    case codes::authWpa:
    case codes::authWpa2:
    case codes::authWpaAndWpa2:
        return Kind::Eap;
    case codes::authWpaPsk:
    case codes::authWpaNone:
    case codes::authWpa2Psk:
        return Kind::Psk;
    default:
        return encryption == codes::encryptionWep ? Kind::Wep : Kind::Open;
    }
}

template <std::size_t N> std::string textOf(const char (&field)[N]) {
    return std::string(field, boundedLength(field));
}

bool isHexKey(std::string_view text, std::size_t length) {
    return text.size() == length && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c));
           });
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        if (space != 0) {
            result.push_back(text.substr(0, space));
        }
        if (space == std::string_view::npos) {
            break;
        }
        text.remove_prefix(space + 1);
    }
    return result;
}

bool hasWord(std::string_view text, std::string_view word) {
    const auto list = words(text);
    return std::find(list.begin(), list.end(), word) != list.end();
}

void addWep(NetworkBlock& block, const StationSettings& record) {
    for (int key = 0; key < 4; ++key) {
        const std::string value = textOf(record.wepKeyValue(key));
        if (!value.empty()) {
            // The record keeps WEP keys as hex digits; unquoted, the supplicant reads them so.
            block.fields.push_back({"wep_key" + std::to_string(key), value, true});
        }
    }
    const int32_t defaultKey =
        record.iDefaultWEPKeyID >= 0 && record.iDefaultWEPKeyID <= 3 ? record.iDefaultWEPKeyID : 0;
    block.fields.push_back({"wep_tx_keyidx", std::to_string(defaultKey)});
}

void addEap(NetworkBlock& block, const StationSettings& record, const CertificateLookup& certificates) {
    block.fields.push_back({"eap", "TLS"});
    const std::string login = textOf(record.cLoginName);
    if (!login.empty()) {
        block.fields.push_back({"identity", encodeConfigText(login)});
    }
    const std::string client = textOf(record.cCertificateName);
    std::optional<ClientCertificateFiles> files;
    if (!client.empty() && certificates.clientCertificate) {
        files = certificates.clientCertificate(client);
    }
    if (files) {
        if (!files->certificate.empty()) { // a PKCS#12 file is the private key and its certificate
            block.fields.push_back({"client_cert", encodeConfigText(files->certificate)});
        }
        block.fields.push_back({"private_key", encodeConfigText(files->privateKey)});
        if (!files->privateKeyPassword.empty()) {
            block.fields.push_back({"private_key_passwd", encodeConfigText(files->privateKeyPassword), true});
        }
    } else {
        block.joinable = false;
        block.notes.push_back(client.empty()
                                  ? "no client certificate is chosen"
                                  : "the files of client certificate " + client + " are not known");
    }
    const std::string authority = textOf(record.cCertificateHash);
    if (!authority.empty()) {
        std::optional<std::string> file;
        if (certificates.authorityFile) {
            file = certificates.authorityFile(authority);
        }
        if (file) {
            block.fields.push_back({"ca_cert", encodeConfigText(*file)});
        } else {
            block.joinable = false;
            block.notes.push_back("the file of authority certificate " + authority + " is not known");
        }
    } else {
        block.notes.push_back("no certification authority is chosen: the server is not verified");
    }
    const std::string domain = textOf(record.cDomainName);
    if (!domain.empty()) {
        block.fields.push_back({"domain_suffix_match", encodeConfigText(domain)});
    }
}

} // namespace

std::string frequencyList(const StationSettings& record, int channelPlan) {
    const bool low =
        record.WirelessMode[Mode11B] || record.WirelessMode[Mode11G] || record.WirelessMode[Mode11GT];
    const bool high = record.WirelessMode[Mode11A] || record.WirelessMode[Mode11AT];
    if (low == high) {
        return {};
    }
    std::vector<int> frequencies;
    if (low) {
        for (int index = 0; index < codes::channelCount && codes::channelNumber(index) <= 14; ++index) {
            frequencies.push_back(frequencyOfChannelIndex(index));
        }
    } else {
        for (const int channel : codes::supplicant5GhzChannels(channelPlan)) {
            frequencies.push_back(codes::channel5GhzFrequency(channel));
        }
    }
    std::ostringstream list;
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        list << (i ? " " : "") << frequencies[i];
    }
    return list.str();
}

NetworkBlock networkBlockFor(const StationSettings& record, const CertificateLookup& certificates) {
    NetworkBlock block;
    const int32_t networkType = codes::networkTypeToDriver(record.NetworkType);
    const bool adHoc = networkType == codes::networkAdHoc;
    const bool accessPoint = networkType == codes::networkSoftwareAccessPoint;
    const int32_t authentication = codes::authenticationToDriver(record.AuthenticationMode);
    const int32_t encryption = codes::encryptionToDriver(record.EncryptionMode);
    const Kind kind = kindOf(authentication, encryption);

    block.fields.push_back({"id_str", encodeConfigText(ownerTag)});
    block.fields.push_back({"ssid", encodeConfigText(textOf(record.cSSID))});
    if (adHoc || accessPoint) {
        block.fields.push_back({"mode", adHoc ? "1" : "2"});
        const int index = codes::channelIndexKept(record.Channel);
        block.fields.push_back({"frequency", std::to_string(frequencyOfChannelIndex(index))});
        if (record.BeaconInterval > 0) {
            block.fields.push_back({"beacon_int", std::to_string(record.BeaconInterval)});
        }
    } else {
        block.fields.push_back({"mode", "0"});
        block.fields.push_back({"scan_ssid", "1"}); // finds networks that hide their name too
        const std::string list = frequencyList(record, record.ChannelPlan);
        if (!list.empty()) {
            block.fields.push_back({"freq_list", list});
        }
    }

    const std::string pairwise = encryption == 3 ? "CCMP" : "CCMP TKIP";
    switch (kind) {
    case Kind::Open:
        block.fields.push_back({"key_mgmt", "NONE"});
        block.fields.push_back({"auth_alg", "OPEN"});
        break;
    case Kind::Wep:
        block.fields.push_back({"key_mgmt", "NONE"});
        addWep(block, record);
        block.fields.push_back({"auth_alg", authentication == 0   ? "OPEN"
                                            : authentication == 1 ? "SHARED"
                                                                  : "OPEN SHARED"});
        break;
    case Kind::Psk: {
        block.fields.push_back({"key_mgmt", "WPA-PSK"});
        if (adHoc) {
            // A cell with a passphrase is an RSN cell: CCMP for both key kinds.
            block.fields.push_back({"proto", "RSN"});
            block.fields.push_back({"pairwise", "CCMP"});
            block.fields.push_back({"group", "CCMP"});
        } else {
            block.fields.push_back({"proto", authentication == 7 ? "RSN" : "WPA RSN"});
            block.fields.push_back({"pairwise", pairwise});
        }
        const std::string passphrase = textOf(record.cWPAPassPhase);
        block.fields.push_back(
            {"psk", isHexKey(passphrase, 64) ? passphrase : encodeConfigText(passphrase), true});
        break;
    }
    case Kind::Eap:
        block.fields.push_back({"key_mgmt", "WPA-EAP"});
        block.fields.push_back({"proto", authentication == 6 ? "RSN" : "WPA RSN"});
        block.fields.push_back({"pairwise", pairwise});
        addEap(block, record, certificates);
        if (adHoc || accessPoint) {
            block.joinable = false;
            block.notes.push_back("802.1X needs an access point to authenticate with");
        }
        break;
    }
    return block;
}

const std::vector<std::string>& readBackFields() {
    static const std::vector<std::string> fields = {
        "ssid",     "mode",     "frequency", "key_mgmt", "proto",    "pairwise",
        "auth_alg", "wep_key0", "wep_key1",  "wep_key2", "wep_key3", "wep_tx_keyidx",
    };
    return fields;
}

void settingsOfBlock(const std::map<std::string, std::optional<std::string>, std::less<>>& values,
                     StationSettings& record) {
    auto value = [&](std::string_view name) -> std::optional<std::string> {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : found->second;
    };
    if (const auto ssid = value("ssid")) {
        if (const auto text = decodeConfigText(*ssid)) {
            copyText(record.cSSID, text->c_str());
        }
    }
    const auto mode = value("mode");
    const bool adHoc = mode == "1";
    if (mode) {
        record.NetworkType = adHoc ? 0 : *mode == "2" ? 2 : 1;
    }
    if (adHoc || mode == "2") {
        if (const auto frequency = value("frequency")) {
            if (const auto index = channelIndexOfFrequency(parseInteger(*frequency).value_or(0))) {
                record.Channel = *index;
            }
        }
    }
    const auto keyManagement = value("key_mgmt");
    if (!keyManagement) {
        return;
    }
    const std::string proto = value("proto").value_or("WPA RSN");
    const bool wpaToo = hasWord(proto, "WPA");
    const int32_t cipher = hasWord(value("pairwise").value_or("CCMP TKIP"), "TKIP") ? 2 : 3;
    if (hasWord(*keyManagement, "WPA-EAP")) {
        record.AuthenticationMode = wpaToo ? 3 : 6;
        record.EncryptionMode = cipher;
        return;
    }
    if (hasWord(*keyManagement, "WPA-PSK") || hasWord(*keyManagement, "SAE")) {
        record.AuthenticationMode = adHoc ? 5 : wpaToo ? 4 : 7;
        record.EncryptionMode = cipher;
        return;
    }
    bool wep = false;
    for (int key = 0; key < 4; ++key) {
        wep = wep || value("wep_key" + std::to_string(key)).has_value();
    }
    record.EncryptionMode = wep ? codes::encryptionWep : codes::encryptionNone;
    const std::string algorithms = value("auth_alg").value_or("");
    const bool open = hasWord(algorithms, "OPEN");
    const bool shared = hasWord(algorithms, "SHARED");
    if (open && !shared) {
        record.AuthenticationMode = codes::authOpenSystem;
    } else if (shared && !open) {
        record.AuthenticationMode = codes::authSharedKey;
    } else {
        record.AuthenticationMode =
            wep ? codes::authAuto : codes::authOpenSystem; // every algorithm: automatic
    }
    if (wep) {
        if (const auto index = parseInteger(value("wep_tx_keyidx").value_or(""))) {
            if (*index >= 0 && *index <= 3) {
                record.iDefaultWEPKeyID = static_cast<int32_t>(*index);
            }
        }
    }
}

} // namespace wpa
