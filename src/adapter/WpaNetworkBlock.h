#pragma once

#include "model/StationConfig.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The network block that this program keeps in wpa_supplicant: how a configuration record
// becomes the block's fields, and how the fields read back become a record again.
//
// The block is marked with an id_str of its own, so it is found again among the user's
// networks, which are never touched. Settings a supplicant cannot express (turbo, XR,
// preamble, power saving, the fixed transmit rate, the thresholds) have no field here; the
// backend keeps them as applied. The band flags become a frequency list for an
// infrastructure network: only 2.4 GHz channels, only 5 GHz channels, or no list.
namespace wpa {

inline constexpr std::string_view ownerTag = "skyvane";

// The files of an 802.1X client certificate: the certificate, its private key and the key's
// password (empty when the key is not encrypted).
struct ClientCertificateFiles {
    std::string certificate; // empty when privateKey is a PKCS#12 file, which holds both
    std::string privateKey;
    std::string privateKeyPassword;
};

// Where the certificate files of an identifier (the upper-case hex SHA-1 of a certificate)
// are. Either function may be empty or answer nullopt: that certificate is then unknown.
struct CertificateLookup {
    std::function<std::optional<ClientCertificateFiles>(const std::string& identifier)> clientCertificate;
    std::function<std::optional<std::string>(const std::string& identifier)> authorityFile;
};

struct BlockField {
    std::string name;
    std::string value; // in the form SET_NETWORK takes it (quoted text, hex, numbers, words)
    bool secret = false;
};

struct NetworkBlock {
    std::vector<BlockField> fields; // in the order they are to be set; id_str first
    // False when the block must not be joined: an 802.1X network whose certificate files are
    // unknown would otherwise authenticate without them, or trust any server.
    bool joinable = true;
    std::vector<std::string> notes; // what the diagnostics should say about this block
};

// The block's frequency list comes from the record's band flags and the plan it carries
// (ChannelPlan, 0 in a record built by hand).
NetworkBlock networkBlockFor(const StationSettings& record, const CertificateLookup& certificates);

// The frequencies an infrastructure network may use, from the band flags, as freq_list takes
// them: when the flags name one band alone, its channels ("" otherwise). The 2.4 GHz list is
// channels 1 to 14; the 5 GHz list is every channel of the supplicant's 5 GHz table that the
// channel plan allows.
std::string frequencyList(const StationSettings& record, int channelPlan);

// The fields a read-back asks for with GET_NETWORK.
const std::vector<std::string>& readBackFields();

// The block's fields as GET_NETWORK answered them (nullopt where it answered FAIL: the field is
// not set) into the record's SSID, network type, channel (ad hoc and access point only),
// authentication, encryption and default WEP key. Fields the block does not answer leave the
// record as it is.
void settingsOfBlock(const std::map<std::string, std::optional<std::string>, std::less<>>& values,
                     StationSettings& record);

} // namespace wpa
