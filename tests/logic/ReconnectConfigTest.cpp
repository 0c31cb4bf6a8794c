// The configuration that reconnection builds from "on_link", compared whole: network type,
// rate and security tables, mode flags, channel by plan, power and preamble, WEP keys, texts,
// and "on_link" without a network to reconnect to.
#include "logic/ReconnectConfig.h"

#include "DescribeSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

namespace {

using logic::buildReconnectConfig;
using OnLinkSet = std::function<void(OnLinkRecord&)>;
using Expect = std::function<void(StationSettings&)>;

// "on_link" with the given bsstype, AutoWPAWPA2 and list positions.
OnLinkSet security(int bsstype, const char* autoWpaWpa2, int authPosition, int cipherPosition) {
    return [=](OnLinkRecord& r) {
        r.bsstype = bsstype;
        r.AutoWPAWPA2 = autoWpaWpa2;
        r.AuthListIndex = authPosition;
        r.CipherListIndex = cipherPosition;
    };
}

Expect network(int networkType, int txRate, int authentication, int encryption) {
    return [=](StationSettings& s) {
        s.NetworkType = networkType;
        s.TxRate = txRate;
        s.AuthenticationMode = authentication;
        s.EncryptionMode = encryption;
    };
}

// One raw value in "Channel", "PreambleMode" and "PowerMode" at once.
OnLinkSet rawValues(int raw) {
    return [=](OnLinkRecord& r) { r.Channel = r.PreambleMode = r.PowerMode = raw; };
}

Expect normalised(int channel, int preamble, int powerSave) {
    return [=](StationSettings& s) {
        s.Channel = channel;
        s.PreambleMode = preamble;
        s.PowerSaveMode = powerSave;
    };
}

Expect wep(int keyId, int bits, std::array<std::string, 4> values) {
    return [=](StationSettings& s) {
        s.iDefaultWEPKeyID = keyId;
        s.iWEPKeyBits = bits;
        for (int k = 0; k < 4; ++k) {
            copyText(s.wepKeyValue(k), values[static_cast<std::size_t>(k)].c_str());
        }
    };
}

Expect channel(int index) {
    return [=](StationSettings& s) { s.Channel = index; };
}

Expect unchanged() {
    return [](StationSettings&) {};
}

const std::string longText(400, 'x');

struct Case {
    const char* what;
    OnLinkSet onLink; // over an "on_link" that holds only the SSID "Office"
    Expect expected;  // over an ad hoc, open WEP "Office"; nullptr: nothing to apply
    int channelPlan = 0;
};

const Case cases[] = {
    // --- Nothing to reconnect to ---
    {"an empty on_link", [](OnLinkRecord& r) { r = OnLinkRecord{}; }, nullptr},
    {"no SSID, whatever else is stored",
     [](OnLinkRecord& r) {
         r.SSID.clear();
         security(1, "YES", 6, 1)(r);
         r.WPAPassPhase = "home passphrase";
     },
     nullptr},
    {"an SSID that decodes to a NUL byte first", [](OnLinkRecord& r) { r.SSID = std::string("\0abc", 4); },
     nullptr},

    // --- Network type, rate and security ---
    {"only an SSID: ad hoc with open WEP", [](OnLinkRecord&) {}, unchanged()},
    {"ad hoc Auto", security(0, "YES", 0, 0), network(0, 3, 2, 1)},
    {"ad hoc Disable", security(0, "NO", 1, 0), network(0, 3, 2, 0)},
    {"ad hoc past the list", security(0, "", 2, 0), network(0, 3, 0, 0)},
    {"ad hoc no item", security(0, "YES", -1, 0), network(0, 3, 0, 0)},
    {"YES Open System", security(1, "YES", 0, 0), network(1, 12, 0, 1)},
    {"YES Shared Key", security(1, "YES", 1, 0), network(1, 12, 1, 1)},
    {"YES Auto", security(1, "YES", 2, 0), network(1, 12, 2, 1)},
    {"YES WPA with AES", security(1, "YES", 3, 0), network(1, 12, 3, 3)},
    {"YES WPA with TKIP: AES all the same", security(1, "YES", 3, 1), network(1, 12, 3, 3)},
    {"YES WPA-PSK with AES", security(1, "YES", 4, 0), network(1, 12, 4, 3)},
    {"YES WPA-PSK with TKIP", security(1, "YES", 4, 1), network(1, 12, 4, 2)},
    {"YES WPA2 with AES", security(1, "YES", 5, 0), network(1, 12, 6, 3)},
    {"YES WPA2 with TKIP: AES all the same", security(1, "YES", 5, 1), network(1, 12, 6, 3)},
    {"YES WPA2-PSK with AES", security(1, "YES", 6, 0), network(1, 12, 7, 3)},
    {"YES WPA2-PSK with TKIP",
     [](OnLinkRecord& r) {
         security(1, "YES", 6, 1)(r);
         r.WPAPassPhase = "home passphrase";
     },
     [](StationSettings& s) {
         network(1, 12, 7, 2)(s);
         copyText(s.cWPAPassPhase, "home passphrase");
     }},
    {"YES WPA2-PSK with a cipher past the list", security(1, "YES", 6, 7), network(1, 12, 7, 2)},
    {"YES Disable", security(1, "YES", 7, 0), network(1, 12, 2, 0)},
    {"YES past the list", security(1, "YES", 8, 0), network(1, 12, 0, 0)},
    {"YES far past the list", security(1, "YES", 9, 0), network(1, 12, 0, 0)},
    {"YES no item", security(1, "YES", -1, 0), network(1, 12, 0, 0)},
    {"NO Open System", security(1, "NO", 0, 0), network(1, 12, 0, 1)},
    {"NO Shared Key", security(1, "NO", 1, 0), network(1, 12, 1, 1)},
    {"NO Auto", security(1, "NO", 2, 0), network(1, 12, 2, 1)},
    {"NO WPA/WPA2", security(1, "NO", 3, 1), network(1, 12, 3, 3)},
    {"NO WPA-PSK/WPA2-PSK at position 0", security(1, "NO", 4, 0), network(1, 12, 4, 3)},
    {"NO WPA-PSK/WPA2-PSK at position 1", security(1, "NO", 4, 1), network(1, 12, 4, 2)},
    {"NO Disable", security(1, "NO", 5, 0), network(1, 12, 2, 0)},
    {"NO past the list", security(1, "NO", 6, 0), network(1, 12, 0, 0)},
    {"NO far past the list", security(1, "NO", 7, 0), network(1, 12, 0, 0)},
    {"AutoWPAWPA2 empty", security(1, "", 2, 0), network(1, 12, 0, 0)},
    {"AutoWPAWPA2 in lower case", security(1, "yes", 2, 0), network(1, 12, 0, 0)},
    {"AutoWPAWPA2 with a blank", security(1, "NO ", 2, 0), network(1, 12, 0, 0)},
    {"any other bsstype is infrastructure", security(7, "YES", 6, 1), network(1, 12, 7, 2)},
    {"a negative bsstype is infrastructure", security(-1, "NO", 0, 0), network(1, 12, 0, 1)},
    {"software access point, YES", security(2, "YES", 6, 1), network(2, 0, 0, 0)},
    {"software access point, NO", security(2, "NO", 0, 0), network(2, 0, 0, 0)},

    // --- Mode flags: any value but 0 sets a flag; ad hoc keeps only 11b; XR in every type ---
    {"ad hoc with every flag",
     [](OnLinkRecord& r) {
         r.Mode11b = r.Mode11g = 3;
         r.Mode11gt = -1;
         r.Mode11a = 2;
         r.Mode11at = 9;
         r.ModeXR = 4;
     },
     [](StationSettings& s) {
         s.WirelessMode[Mode11B] = 1;
         s.AdvancedMode[0] = 1;
     }},
    {"infrastructure with every flag",
     [](OnLinkRecord& r) {
         security(1, "", 0, 0)(r);
         r.Mode11b = r.Mode11g = 3;
         r.Mode11gt = -1;
         r.Mode11a = 2;
         r.Mode11at = 9;
         r.ModeXR = 4;
     },
     [](StationSettings& s) {
         network(1, 12, 0, 0)(s);
         for (int element : {Mode11B, Mode11G, Mode11GT, Mode11A, Mode11AT}) {
             s.WirelessMode[element] = 1;
         }
         s.AdvancedMode[0] = 1;
     }},
    {"software access point with 11a",
     [](OnLinkRecord& r) {
         security(2, "YES", 2, 0)(r);
         r.Mode11a = 1;
     },
     [](StationSettings& s) {
         network(2, 0, 0, 0)(s);
         s.WirelessMode[Mode11A] = 1;
     }},
    {"infrastructure without flags", security(1, "", 0, 0), network(1, 12, 0, 0)},

    // --- Channel, preamble and power ---
    {"raw 0", rawValues(0), normalised(0, 0, 0)},
    {"raw 1", rawValues(1), normalised(1, 1, 1)},
    {"raw 2", rawValues(2), normalised(2, 2, 2)},
    {"raw 3", rawValues(3), normalised(3, 0, 0)},
    {"raw 5: preamble 5 gives 0", rawValues(5), normalised(5, 0, 0)},
    {"raw 7: power 7 gives 0", rawValues(7), normalised(7, 0, 0)},
    {"raw 13: the last 2.4 GHz index", rawValues(13), normalised(13, 0, 0)},
    {"raw 14: a 5 GHz index gives channel 11", rawValues(14), normalised(10, 0, 0)},
    {"raw 20", rawValues(20), normalised(10, 0, 0)},
    {"raw 26", rawValues(26), normalised(10, 0, 0)},
    {"raw -1", rawValues(-1), normalised(10, 0, 0)},

    // --- Channel positions by plan: under plan 6 the ad hoc 2.4 GHz list begins at channel 3 ---
    {"plan 6, ad hoc 11b, first position", [](OnLinkRecord& r) { r.Channel = 0; }, channel(2), 6},
    {"plan 6, ad hoc 11b, position 6 (channel 9)", [](OnLinkRecord& r) { r.Channel = 6; }, channel(8), 6},
    {"plan 6, ad hoc 11b, past channel 14", [](OnLinkRecord& r) { r.Channel = 12; }, channel(10), 6},
    {"plan 4, ad hoc 11b, position 0", [](OnLinkRecord& r) { r.Channel = 0; }, channel(0), 4},
    {"plan 6, ad hoc on the 11a band",
     [](OnLinkRecord& r) {
         r.adhocband = 1;
         r.Channel = 0;
     },
     channel(0), 6},
    {"plan 6, infrastructure keeps the position",
     [](OnLinkRecord& r) {
         security(1, "", 0, 0)(r);
         r.Channel = 3;
     },
     [](StationSettings& s) {
         network(1, 12, 0, 0)(s);
         s.Channel = 3;
     },
     6},

    // --- WEP keys (ad hoc "Auto": open WEP) ---
    {"128-bit ASCII key 2, every flag set, another key stored",
     [](OnLinkRecord& r) {
         r.Mode11b = r.Mode11g = r.Mode11gt = r.Mode11a = r.Mode11at = 1;
         r.WEPKey1 = "other";
         r.WEPKey2 = "Hello, World!";
         r.KeyLength2 = 1;
         r.Radio2 = 1;
     },
     [](StationSettings& s) {
         wep(1, 128, {"", "48656C6C6F2C20576F726C6421", "", ""})(s);
         s.WirelessMode[Mode11B] = 1;
     }},
    {"64-bit ASCII key 1",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "12345";
         r.Radio1 = 1;
     },
     wep(0, 64, {"3132333435", "", "", ""})},
    {"an ASCII key longer than its length gives its first characters",
     [](OnLinkRecord& r) {
         r.WEPKey3 = "ABCDEFGHIJKLM";
         r.Radio3 = 1;
     },
     wep(2, 64, {"", "", "4142434445", ""})},
    {"bytes above 127 give two digits each",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "\xff\x80zz\x01";
         r.Radio1 = 1;
     },
     wep(0, 64, {"FF807A7A01", "", "", ""})},
    {"an empty ASCII key",
     [](OnLinkRecord& r) {
         r.KeyLength1 = 1;
         r.Radio1 = 1;
     },
     wep(0, 128, {"", "", "", ""})},
    {"key 4 at 128 bits, key 1 at 64",
     [](OnLinkRecord& r) {
         r.WEPKey4 = "0123456789abc";
         r.KeyLength1 = 0;
         r.KeyLength4 = 1;
         r.Radio4 = 1;
     },
     wep(3, 128, {"", "", "", "30313233343536373839616263"})},
    {"a short hex key is copied unchanged, case kept",
     [](OnLinkRecord& r) {
         r.WEPKey2 = "0a1B2c3D4e5F";
         r.KeyFormat = 1;
         r.Radio2 = 1;
     },
     wep(1, 64, {"", "0a1B2c3D4e5F", "", ""})},
    {"a long hex key is copied unchanged",
     [](OnLinkRecord& r) {
         r.WEPKey3 = "0123456789abcdef0123456789abcdef";
         r.KeyFormat = 1;
         r.KeyLength3 = 1;
         r.Radio3 = 1;
     },
     wep(2, 128, {"", "", "0123456789abcdef0123456789abcdef", ""})},
    {"a hex key longer than its field is cut",
     [](OnLinkRecord& r) {
         r.WEPKey1 = longText;
         r.KeyFormat = 1;
         r.Radio1 = 1;
     },
     wep(0, 64, {longText.substr(0, 256), "", "", ""})},
    {"any key format but 0 is hex",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "zz";
         r.KeyFormat = 7;
         r.Radio1 = 1;
     },
     wep(0, 64, {"zz", "", "", ""})},
    {"radio flags other than 1 choose nothing",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "12345";
         r.Radio1 = 2;
         r.Radio2 = -1;
     },
     unchanged()},
    {"only the chosen key gets a value",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "aaaaa";
         r.WEPKey2 = "bbbbb";
         r.WEPKey4 = "ddddddddddddd";
         r.KeyLength4 = 1;
         r.Radio2 = 1;
     },
     wep(1, 64, {"", "6262626262", "", ""})},
    {"several chosen keys: the last gives the default key and its size",
     [](OnLinkRecord& r) {
         r.WEPKey1 = "ABCDE";
         r.WEPKey4 = "ABCDEFGHIJKLM";
         r.KeyLength1 = 0;
         r.KeyLength4 = 1;
         r.Radio1 = 1;
         r.Radio4 = 1;
     },
     wep(3, 128, {"4142434445", "", "", "4142434445464748494A4B4C4D"})},

    // --- Texts, each cut to its field ---
    {"texts",
     [](OnLinkRecord& r) {
         security(1, "", 0, 0)(r);
         r.SSID = "A network name of forty characters......";
         r.WPAPassPhase = longText;
         r.CertificateHash = "0a1b2c";
         r.CertificateName = "Jo Bloggs";
         r.DomainName = "CORP";
         r.LoginName = longText;
     },
     [](StationSettings& s) {
         network(1, 12, 0, 0)(s);
         copyText(s.cSSID, "A network name of forty characte");
         copyText(s.cWPAPassPhase, longText.substr(0, 67).c_str());
         copyText(s.cCertificateHash, "0a1b2c");
         copyText(s.cCertificateName, "Jo Bloggs");
         copyText(s.cDomainName, "CORP");
         copyText(s.cLoginName, longText.substr(0, 254).c_str());
     }},
};

TEST(ReconnectConfig, IsBuiltFromOnLink) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnLinkRecord onLink;
        onLink.SSID = "Office";
        c.onLink(onLink);
        const std::optional<StationSettings> built = buildReconnectConfig(onLink, c.channelPlan);
        if (!c.expected) {
            EXPECT_FALSE(built.has_value()) << describe(*built);
            continue;
        }
        ASSERT_TRUE(built.has_value());
        StationSettings expected{};
        copyText(expected.cSSID, "Office");
        network(0, 3, 2, 1)(expected);
        expected.TxRateAuto = 1;
        c.expected(expected);
        EXPECT_EQ(describe(*built), describe(expected));
    }
}

} // namespace
