#include "adapter/WpaNetworkBlock.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace wpa;

namespace {

using Fields = std::map<std::string, std::string>;

StationSettings record(int32_t networkType, int32_t authentication, int32_t encryption) {
    StationSettings r{};
    copyText(r.cSSID, "Office Net");
    r.NetworkType = networkType;
    r.AuthenticationMode = authentication;
    r.EncryptionMode = encryption;
    r.Channel = 5;
    copyText(r.ucWEPKey1Value, "0102030405");
    copyText(r.ucWEPKey3Value, "a1a2a3a4a5a6a7a8a9aaabacad");
    r.iDefaultWEPKeyID = 2;
    copyText(r.cWPAPassPhase, "correct horse battery");
    copyText(r.cCertificateName, "AB12");
    copyText(r.cCertificateHash, "CD34");
    copyText(r.cDomainName, "radius.example.org");
    copyText(r.cLoginName, "alice");
    return r;
}

CertificateLookup knownCertificates() {
    CertificateLookup lookup;
    lookup.clientCertificate = [](const std::string& id) -> std::optional<ClientCertificateFiles> {
        if (id != "AB12") {
            return std::nullopt;
        }
        return ClientCertificateFiles{"/certs/AB12.pem", "/certs/AB12.key", "key pw"};
    };
    lookup.authorityFile = [](const std::string& id) -> std::optional<std::string> {
        return id == "CD34" ? std::optional<std::string>("/certs/CD34.pem") : std::nullopt;
    };
    return lookup;
}

Fields fieldsOf(const NetworkBlock& block) {
    Fields fields;
    for (const BlockField& field : block.fields) {
        EXPECT_TRUE(fields.emplace(field.name, field.value).second) << "set twice: " << field.name;
    }
    return fields;
}

// What GET_NETWORK answers for a block set from these fields: secrets as "*", unset fields FAIL.
std::map<std::string, std::optional<std::string>, std::less<>> readBackOf(const NetworkBlock& block) {
    std::map<std::string, std::optional<std::string>, std::less<>> values;
    for (const std::string& name : readBackFields()) {
        values[name] = std::nullopt;
    }
    for (const BlockField& field : block.fields) {
        values[field.name] = field.secret ? "*" : field.value;
    }
    return values;
}

struct SecurityCase {
    const char* label;
    int32_t networkType;
    int32_t authentication;
    int32_t encryption;
    Fields expected;                 // these fields with these values
    std::vector<std::string> absent; // and none of these
    int32_t readAuthentication;      // what a read-back of the block gives
    int32_t readEncryption;
};

TEST(WpaNetworkBlock, EachSecurityKindBecomesItsFields) {
    const std::vector<SecurityCase> cases = {
        {"open",
         1,
         0,
         0,
         {{"key_mgmt", "NONE"}, {"auth_alg", "OPEN"}, {"mode", "0"}, {"scan_ssid", "1"}},
         {"psk", "wep_key0", "proto", "frequency"},
         0,
         0},
        {"WEP open",
         1,
         0,
         1,
         {{"key_mgmt", "NONE"},
          {"wep_key0", "0102030405"},
          {"wep_key2", "a1a2a3a4a5a6a7a8a9aaabacad"},
          {"wep_tx_keyidx", "2"},
          {"auth_alg", "OPEN"}},
         {"wep_key1", "wep_key3", "psk"},
         0,
         1},
        {"WEP shared", 1, 1, 1, {{"auth_alg", "SHARED"}}, {}, 1, 1},
        {"WEP auto", 1, 2, 1, {{"auth_alg", "OPEN SHARED"}}, {}, 2, 1},
        {"out-of-range authentication is auto WEP", 1, 9, 1, {{"auth_alg", "OPEN SHARED"}}, {}, 2, 1},
        {"WPA-PSK TKIP (also the WPA-PSK/WPA2-PSK choice)",
         1,
         4,
         2,
         {{"key_mgmt", "WPA-PSK"},
          {"proto", "WPA RSN"},
          {"pairwise", "CCMP TKIP"},
          {"psk", "\"correct horse battery\""}},
         {"wep_key0", "eap", "group"},
         4,
         2},
        {"WPA-PSK AES", 1, 4, 3, {{"proto", "WPA RSN"}, {"pairwise", "CCMP"}}, {}, 4, 3},
        {"WPA2-PSK AES",
         1,
         7,
         3,
         {{"key_mgmt", "WPA-PSK"}, {"proto", "RSN"}, {"pairwise", "CCMP"}},
         {},
         7,
         3},
        {"WPA2-PSK TKIP", 1, 7, 2, {{"proto", "RSN"}, {"pairwise", "CCMP TKIP"}}, {}, 7, 2},
        {"WPA with 802.1X (also WPA/WPA2)",
         1,
         3,
         3,
         {{"key_mgmt", "WPA-EAP"},
          {"proto", "WPA RSN"},
          {"eap", "TLS"},
          {"identity", "\"alice\""},
          {"client_cert", "\"/certs/AB12.pem\""},
          {"private_key", "\"/certs/AB12.key\""},
          {"private_key_passwd", "\"key pw\""},
          {"ca_cert", "\"/certs/CD34.pem\""},
          {"domain_suffix_match", "\"radius.example.org\""}},
         {"psk", "wep_key0"},
         3,
         3},
        {"WPA2 with 802.1X", 1, 6, 2, {{"key_mgmt", "WPA-EAP"}, {"proto", "RSN"}}, {}, 6, 2},
        {"WPA and WPA2 with 802.1X", 1, 8, 3, {{"key_mgmt", "WPA-EAP"}, {"proto", "WPA RSN"}}, {}, 3, 3},
        {"ad hoc open",
         0,
         2,
         0,
         {{"mode", "1"}, {"frequency", "2437"}, {"key_mgmt", "NONE"}},
         {"scan_ssid", "freq_list", "psk"},
         0,
         0},
        {"ad hoc WEP",
         0,
         2,
         1,
         {{"mode", "1"}, {"wep_key0", "0102030405"}, {"auth_alg", "OPEN SHARED"}},
         {},
         2,
         1},
        {"ad hoc with a passphrase",
         0,
         5,
         2,
         {{"mode", "1"}, {"key_mgmt", "WPA-PSK"}, {"proto", "RSN"}, {"pairwise", "CCMP"}, {"group", "CCMP"}},
         {},
         5,
         3},
        {"software access point", 2, 7, 3, {{"mode", "2"}, {"frequency", "2437"}}, {"scan_ssid"}, 7, 3},
    };
    for (const SecurityCase& c : cases) {
        SCOPED_TRACE(c.label);
        const NetworkBlock block =
            networkBlockFor(record(c.networkType, c.authentication, c.encryption), knownCertificates());
        ASSERT_FALSE(block.fields.empty());
        EXPECT_EQ(block.fields.front().name, "id_str");
        EXPECT_EQ(block.fields.front().value, "\"skyvane\"");
        const Fields fields = fieldsOf(block);
        EXPECT_EQ(fields.at("ssid"), "\"Office Net\"");
        for (const auto& [name, value] : c.expected) {
            ASSERT_TRUE(fields.count(name)) << name;
            EXPECT_EQ(fields.at(name), value) << name;
        }
        for (const std::string& name : c.absent) {
            EXPECT_FALSE(fields.count(name)) << name;
        }
        for (const BlockField& field : block.fields) {
            const bool wepKey = field.name.rfind("wep_key", 0) == 0 && field.name != "wep_tx_keyidx";
            const bool secret = wepKey || field.name == "psk" || field.name == "private_key_passwd";
            EXPECT_EQ(field.secret, secret) << field.name;
        }

        StationSettings readBack{};
        readBack.Channel = 20;
        settingsOfBlock(readBackOf(block), readBack);
        EXPECT_STREQ(readBack.cSSID, "Office Net");
        EXPECT_EQ(readBack.NetworkType, c.networkType);
        EXPECT_EQ(readBack.AuthenticationMode, c.readAuthentication);
        EXPECT_EQ(readBack.EncryptionMode, c.readEncryption);
        EXPECT_EQ(readBack.Channel, c.networkType == 1 ? 20 : 5); // a link's channel is not the block's
    }
}

TEST(WpaNetworkBlock, PassphraseOf64HexDigitsIsTheKeyItself) {
    StationSettings r = record(1, 7, 3);
    const std::string hex(64, 'a');
    copyText(r.cWPAPassPhase, hex.c_str());
    EXPECT_EQ(fieldsOf(networkBlockFor(r, {})).at("psk"), hex);
    copyText(r.cWPAPassPhase, std::string(63, 'a').c_str());
    EXPECT_EQ(fieldsOf(networkBlockFor(r, {})).at("psk"), "\"" + std::string(63, 'a') + "\"");
    copyText(r.cWPAPassPhase, (std::string(63, 'a') + "g").c_str());
    EXPECT_EQ(fieldsOf(networkBlockFor(r, {})).at("psk").front(), '"');
}

TEST(WpaNetworkBlock, AnSsidOfAnyBytesTravelsAsHex) {
    StationSettings r = record(1, 0, 0);
    copyText(r.cSSID, "caf\xc3\xa9");
    const NetworkBlock block = networkBlockFor(r, {});
    EXPECT_EQ(fieldsOf(block).at("ssid"), "636166c3a9");
    StationSettings readBack{};
    settingsOfBlock(readBackOf(block), readBack);
    EXPECT_STREQ(readBack.cSSID, "caf\xc3\xa9");
}

TEST(WpaNetworkBlock, AdHocChannelsBecomeFrequenciesWithTheApplysDefault) {
    const struct {
        int32_t channel;
        const char* frequency;
    } cases[] = {{0, "2412"}, {13, "2484"}, {14, "5180"}, {26, "5825"}, {27, "2462"}, {-4, "2462"}};
    for (const auto& c : cases) {
        StationSettings r = record(0, 2, 0);
        r.Channel = c.channel;
        EXPECT_EQ(fieldsOf(networkBlockFor(r, {})).at("frequency"), c.frequency) << c.channel;
    }
}

TEST(WpaNetworkBlock, BandFlagsOfOneBandAloneBecomeAFrequencyList) {
    StationSettings r = record(1, 0, 0);
    EXPECT_FALSE(fieldsOf(networkBlockFor(r, {})).count("freq_list")); // no band flag at all

    r.WirelessMode[0] = 1; // 11B
    r.WirelessMode[6] = 1; // 11GT
    const std::string low = fieldsOf(networkBlockFor(r, {})).at("freq_list");
    EXPECT_EQ(low.substr(0, 10), "2412 2417 ");
    EXPECT_EQ(low.substr(low.size() - 9), "2472 2484");

    r.WirelessMode[8] = 1; // and 11A: both bands, no list
    EXPECT_FALSE(fieldsOf(networkBlockFor(r, {})).count("freq_list"));

    StationSettings high = record(1, 0, 0);
    high.WirelessMode[10] = 1; // 11AT alone
    const std::string list = fieldsOf(networkBlockFor(high, {})).at("freq_list");
    EXPECT_EQ(list.substr(0, 5), "5180 ");
    EXPECT_NE(list.find("5500"), std::string::npos);
    EXPECT_EQ(list.substr(list.size() - 4), "5825");
    EXPECT_EQ(list.find("2412"), std::string::npos);
}

// The 5 GHz list holds what the record's channel plan allows: every channel under plan 0 (the
// plan of a record built by hand) and the FCC plan, 36 to 64 alone under Israel's, nothing above
// 140 under Japan's. The 2.4 GHz list is the same under every plan.
TEST(WpaNetworkBlock, TheFiveGigahertzListFollowsTheChannelPlan) {
    const std::string low = "5180 5200 5220 5240 5260 5280 5300 5320";
    const std::string middle = " 5500 5520 5540 5560 5580 5600 5620 5640 5660 5680 5700";
    const std::string every = low + middle + " 5720 5745 5765 5785 5805 5825";
    const struct {
        int32_t plan;
        std::string list;
    } cases[] = {{0, every}, {3, every}, {6, low}, {7, low + middle}, {11, low + middle}, {42, every}};
    for (const auto& c : cases) {
        StationSettings r = record(1, 0, 0);
        r.WirelessMode[8] = 1; // 11A alone
        r.ChannelPlan = c.plan;
        EXPECT_EQ(fieldsOf(networkBlockFor(r, {})).at("freq_list"), c.list) << "plan " << c.plan;
    }
    StationSettings b = record(1, 0, 0);
    b.WirelessMode[0] = 1; // 11B alone
    EXPECT_EQ(frequencyList(b, 6), frequencyList(b, 0));
    EXPECT_EQ(frequencyList(b, 0).size(), 14u * 5 - 1);
}

TEST(WpaNetworkBlock, UnknownCertificatesKeepTheNetworkFromBeingJoined) {
    const struct {
        const char* label;
        const char* client;
        const char* authority;
        bool lookups;
        bool joinable;
        const char* missingField;
    } cases[] = {
        {"both known", "AB12", "CD34", true, true, nullptr},
        {"unknown client certificate", "FFFF", "CD34", true, false, "client_cert"},
        {"no client certificate chosen", "", "CD34", true, false, "client_cert"},
        {"unknown authority", "AB12", "EEEE", true, false, "ca_cert"},
        {"no lookup given", "AB12", "CD34", false, false, "client_cert"},
        {"no authority chosen: joined, unverified", "AB12", "", true, true, "ca_cert"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StationSettings r = record(1, 6, 3);
        copyText(r.cCertificateName, c.client);
        copyText(r.cCertificateHash, c.authority);
        const NetworkBlock block = networkBlockFor(r, c.lookups ? knownCertificates() : CertificateLookup{});
        EXPECT_EQ(block.joinable, c.joinable);
        if (c.missingField) {
            EXPECT_FALSE(fieldsOf(block).count(c.missingField));
            EXPECT_FALSE(block.notes.empty());
        }
        for (const std::string& note : block.notes) {
            EXPECT_EQ(note.find("key pw"), std::string::npos);
        }
    }
    // 802.1X needs an access point.
    EXPECT_FALSE(networkBlockFor(record(0, 6, 3), knownCertificates()).joinable);
}

TEST(WpaNetworkBlock, APkcs12FileIsThePrivateKeyAlone) {
    // The supplicant reads certificate and key from a PKCS#12 private key; a client_cert naming
    // the same file would be read as a certificate and fail.
    CertificateLookup lookup = knownCertificates();
    lookup.clientCertificate = [](const std::string&) {
        return std::optional<ClientCertificateFiles>(ClientCertificateFiles{"", "/certs/pat.p12", ""});
    };
    const NetworkBlock block = networkBlockFor(record(1, 6, 3), lookup);
    const Fields fields = fieldsOf(block);
    EXPECT_TRUE(block.joinable);
    EXPECT_EQ(fields.at("private_key"), "\"/certs/pat.p12\"");
    EXPECT_FALSE(fields.count("client_cert"));
    EXPECT_FALSE(fields.count("private_key_passwd"));
}

TEST(WpaNetworkBlock, ReadBackOfTheUsersOwnBlocksUsesTheSupplicantsDefaults) {
    // A block written by hand: key_mgmt, proto and pairwise left at their defaults.
    const struct {
        const char* label;
        std::map<std::string, std::optional<std::string>, std::less<>> values;
        int32_t authentication;
        int32_t encryption;
        int32_t defaultKey;
    } cases[] = {
        {"defaults",
         {{"ssid", "\"x\""},
          {"key_mgmt", "WPA-PSK WPA-EAP"},
          {"proto", "WPA RSN"},
          {"pairwise", "CCMP TKIP"}},
         3,
         2,
         0},
        {"SAE", {{"key_mgmt", "SAE"}, {"proto", "RSN"}, {"pairwise", "CCMP"}}, 7, 3, 0},
        {"open without auth_alg", {{"key_mgmt", "NONE"}}, 0, 0, 0},
        {"WEP without auth_alg", {{"key_mgmt", "NONE"}, {"wep_key1", "*"}, {"wep_tx_keyidx", "1"}}, 2, 1, 1},
        {"WEP with a key index out of range",
         {{"key_mgmt", "NONE"}, {"wep_key0", "*"}, {"wep_tx_keyidx", "9"}},
         2,
         1,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StationSettings readBack{};
        settingsOfBlock(c.values, readBack);
        EXPECT_EQ(readBack.AuthenticationMode, c.authentication);
        EXPECT_EQ(readBack.EncryptionMode, c.encryption);
        EXPECT_EQ(readBack.iDefaultWEPKeyID, c.defaultKey);
    }
    // A block that answers nothing leaves the record alone.
    StationSettings untouched{};
    untouched.AuthenticationMode = 7;
    copyText(untouched.cSSID, "kept");
    settingsOfBlock({}, untouched);
    EXPECT_EQ(untouched.AuthenticationMode, 7);
    EXPECT_STREQ(untouched.cSSID, "kept");
}

} // namespace
