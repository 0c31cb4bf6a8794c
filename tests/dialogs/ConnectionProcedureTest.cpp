// The connection procedure: the configuration built from "on_link", and the reconnection that
// rebuilds it, waits for the adapter and asks for the apply.
#include "ConnectionProcedure.h"
#include "FakeHost.h"
#include "ProfileStore.h"
#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <sstream>
#include <string>

namespace {

using namespace std::chrono_literals;

// Every field of the settings part as text, so whole records compare with readable failures.
std::string describe(const StationSettings& s) {
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

// A record of "on_link" with the given values, every other value empty.
OnLinkRecord onLink(const std::function<void(OnLinkRecord&)>& set) {
    OnLinkRecord record;
    set(record);
    return record;
}

// What an empty "on_link" gives: an open-WEP ad hoc network with no SSID on channel index 0.
StationSettings emptyOnLinkConfig() {
    StationSettings expected{};
    expected.TxRate = 3;
    expected.TxRateAuto = 1;
    expected.AuthenticationMode = 2;
    expected.EncryptionMode = 1;
    return expected;
}

TEST(BuildPendingConfig, EmptyOnLinkIsAnAdHocNetwork) {
    EXPECT_EQ(describe(BuildPendingConfig(OnLinkRecord{})), describe(emptyOnLinkConfig()));
}

TEST(BuildPendingConfig, NetworkTypeRateAndSecurity) {
    struct Case {
        int bsstype;
        const char* autoWpa;
        int authIndex;
        int cipherIndex;
        int networkType, txRate, authentication, encryption;
    };
    const Case cases[] = {
        // Ad hoc: "Auto", "Disable", anything else.
        {0, "YES", 0, 0, 0, 3, 2, 1},
        {0, "NO", 1, 0, 0, 3, 2, 0},
        {0, "", 2, 0, 0, 3, 0, 0},
        {0, "YES", -1, 0, 0, 3, 0, 0},
        // Separate WPA and WPA2 items.
        {1, "YES", 0, 0, 1, 12, 0, 1},
        {1, "YES", 1, 0, 1, 12, 1, 1},
        {1, "YES", 2, 0, 1, 12, 2, 1},
        {1, "YES", 3, 0, 1, 12, 3, 3},
        {1, "YES", 3, 1, 1, 12, 3, 3}, // WPA with a certificate: AES whatever the cipher says
        {1, "YES", 4, 0, 1, 12, 4, 3},
        {1, "YES", 4, 1, 1, 12, 4, 2},
        {1, "YES", 5, 0, 1, 12, 6, 3},
        {1, "YES", 5, 1, 1, 12, 6, 3},
        {1, "YES", 6, 0, 1, 12, 7, 3},
        {1, "YES", 6, 1, 1, 12, 7, 2},
        {1, "YES", 6, 7, 1, 12, 7, 2},
        {1, "YES", 7, 0, 1, 12, 2, 0},
        {1, "YES", 8, 0, 1, 12, 0, 0},
        {1, "YES", -1, 0, 1, 12, 0, 0},
        // Combined items.
        {1, "NO", 0, 0, 1, 12, 0, 1},
        {1, "NO", 1, 0, 1, 12, 1, 1},
        {1, "NO", 2, 0, 1, 12, 2, 1},
        {1, "NO", 3, 1, 1, 12, 3, 3},
        {1, "NO", 4, 0, 1, 12, 4, 3},
        {1, "NO", 4, 1, 1, 12, 4, 2},
        {1, "NO", 5, 0, 1, 12, 2, 0},
        {1, "NO", 6, 0, 1, 12, 0, 0},
        {1, "NO", 7, 0, 1, 12, 0, 0},
        // AutoWPAWPA2 must be exactly "YES" or "NO".
        {1, "", 2, 0, 1, 12, 0, 0},
        {1, "yes", 2, 0, 1, 12, 0, 0},
        {1, "NO ", 2, 0, 1, 12, 0, 0},
        // Any other bsstype is infrastructure; 2 is the software access point without security.
        {7, "YES", 6, 1, 1, 12, 7, 2},
        {-1, "NO", 0, 0, 1, 12, 0, 1},
        {2, "YES", 6, 1, 2, 0, 0, 0},
        {2, "NO", 0, 0, 2, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "bsstype " << c.bsstype << " AutoWPAWPA2 '" << c.autoWpa << "' Auth Mode "
                     << c.authIndex << " Encryation Mode " << c.cipherIndex);
        const StationSettings config = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
            r.bsstype = c.bsstype;
            r.CipherListIndex = c.cipherIndex;
            r.AuthListIndex = c.authIndex;
            r.AutoWPAWPA2 = c.autoWpa;
        }));
        EXPECT_EQ(config.NetworkType, c.networkType);
        EXPECT_EQ(config.TxRate, c.txRate);
        EXPECT_EQ(config.TxRateAuto, 1);
        EXPECT_EQ(config.AuthenticationMode, c.authentication);
        EXPECT_EQ(config.EncryptionMode, c.encryption);
    }
}

TEST(BuildPendingConfig, ModeFlags) {
    // Every flag set (to values other than 1): ad hoc keeps only 11b; XR stays in every type.
    struct Case {
        int bsstype;
        std::array<int32_t, 12> modes;
    };
    const Case cases[] = {
        {0, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1, {1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0}},
        {2, {1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bsstype);
        const StationSettings config = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
            r.bsstype = c.bsstype;
            r.Mode11b = 3;
            r.Mode11g = 3;
            r.Mode11gt = -1;
            r.Mode11a = 2;
            r.Mode11at = 9;
            r.ModeXR = 4;
        }));
        EXPECT_EQ(std::to_array(config.WirelessMode), c.modes);
        EXPECT_EQ(config.AdvancedMode[0], 1);
        EXPECT_EQ(config.AdvancedMode[1], 0);
    }
    const StationSettings none = BuildPendingConfig(onLink([&](OnLinkRecord& r) { r.bsstype = 1; }));
    EXPECT_EQ(std::to_array(none.WirelessMode), (std::array<int32_t, 12>{}));
    EXPECT_EQ(none.AdvancedMode[0], 0);
}

// One raw value in "Channel", "PreambleMode" and "PowerMode" at once.
TEST(BuildPendingConfig, ChannelPreambleAndPowerAreNormalised) {
    struct Case {
        int raw;
        int channel, preamble, powerSave;
    };
    const Case cases[] = {
        {0, 0, 0, 0},   {1, 1, 1, 1},   {2, 2, 2, 2},   {3, 3, 0, 0},   {5, 5, 0, 0},   {7, 7, 0, 0},
        {13, 13, 0, 0}, {14, 10, 0, 0}, {20, 10, 0, 0}, {26, 10, 0, 0}, {-1, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        const StationSettings config = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
            r.bsstype = 1;
            r.Channel = c.raw;
            r.PowerMode = c.raw;
            r.PreambleMode = c.raw;
        }));
        EXPECT_EQ(config.Channel, c.channel);
        EXPECT_EQ(config.PreambleMode, c.preamble);
        EXPECT_EQ(config.PowerSaveMode, c.powerSave);
    }
}

TEST(BuildPendingConfig, WepKeys) {
    struct Case {
        const char* what;
        OnLinkRecord onLink;
        int keyId, bits;
        std::array<const char*, 4> values;
    };
    const Case cases[] = {
        {"128-bit ASCII key 2",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey2 = "ABCDEFGHIJKLM";
             r.KeyFormat = 0;
             r.KeyLength2 = 1;
             r.Radio2 = 1;
         }),
         1,
         128,
         {"", "4142434445464748494A4B4C4D", "", ""}},
        {"64-bit ASCII key 1",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey1 = "12345";
             r.KeyFormat = 0;
             r.Radio1 = 1;
         }),
         0,
         64,
         {"3132333435", "", "", ""}},
        {"an ASCII key longer than its length gives its first characters",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey3 = "abcdefgh";
             r.KeyFormat = 0;
             r.KeyLength3 = 0;
             r.Radio3 = 1;
         }),
         2,
         64,
         {"", "", "6162636465", ""}},
        {"bytes above 127 give two digits each",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey1 = "\xff\x80zz\x01";
             r.Radio1 = 1;
         }),
         0,
         64,
         {"FF807A7A01", "", "", ""}},
        {"an empty ASCII key",
         onLink([&](OnLinkRecord& r) {
             r.KeyLength1 = 1;
             r.Radio1 = 1;
         }),
         0,
         128,
         {"", "", "", ""}},
        {"key 4 at 128 bits, key 1 at 64",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey4 = "0123456789abc";
             r.KeyFormat = 0;
             r.KeyLength1 = 0;
             r.KeyLength4 = 1;
             r.Radio4 = 1;
         }),
         3,
         128,
         {"", "", "", "30313233343536373839616263"}},
        {"a short hex key is copied unchanged",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey2 = "12ab";
             r.KeyFormat = 1;
             r.Radio2 = 1;
         }),
         1,
         64,
         {"", "12ab", "", ""}},
        {"a long hex key is copied unchanged",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey3 = "0123456789abcdef0123456789abcdef";
             r.KeyFormat = 1;
             r.KeyLength3 = 1;
             r.Radio3 = 1;
         }),
         2,
         128,
         {"", "", "0123456789abcdef0123456789abcdef", ""}},
        {"any key format other than 0 is hex",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey1 = "zz";
             r.KeyFormat = 7;
             r.Radio1 = 1;
         }),
         0,
         64,
         {"zz", "", "", ""}},
        {"radio flags other than 1 choose nothing",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey1 = "12345";
             r.Radio1 = 2;
             r.Radio2 = -1;
         }),
         0,
         0,
         {"", "", "", ""}},
        {"only the chosen key gets a value",
         onLink([&](OnLinkRecord& r) {
             r.WEPKey1 = "aaaaa";
             r.WEPKey2 = "bbbbb";
             r.WEPKey4 = "ddddddddddddd";
             r.KeyLength4 = 1;
             r.Radio2 = 1;
         }),
         1,
         64,
         {"", "6262626262", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const StationSettings config = BuildPendingConfig(c.onLink);
        EXPECT_EQ(config.iDefaultWEPKeyID, c.keyId);
        EXPECT_EQ(config.iWEPKeyBits, c.bits);
        for (int k = 0; k < 4; ++k) {
            EXPECT_STREQ(config.wepKeyValue(k), c.values[static_cast<size_t>(k)]) << "key " << k + 1;
        }
    }

    // Several chosen keys: the last one gives the default key and its length.
    const StationSettings several = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
        r.WEPKey1 = "11111";
        r.WEPKey3 = "3333333333333";
        r.KeyLength1 = 0;
        r.KeyLength3 = 1;
        r.Radio1 = 1;
        r.Radio3 = 1;
    }));
    EXPECT_EQ(several.iDefaultWEPKeyID, 2);
    EXPECT_EQ(several.iWEPKeyBits, 128);
    EXPECT_STREQ(several.ucWEPKey3Value, "33333333333333333333333333");

    // A hex key longer than its field is cut, never overrun.
    const std::string longHex(300, 'a');
    const StationSettings huge = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
        r.WEPKey1 = longHex;
        r.KeyFormat = 1;
        r.Radio1 = 1;
    }));
    EXPECT_EQ(std::string(huge.ucWEPKey1Value), longHex.substr(0, 256));
}

// Ad hoc, open WEP with a 13-character ASCII key 2, every mode flag set.
TEST(BuildPendingConfig, AdHocWithAsciiKeyTwo) {
    const StationSettings config = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
        r.SSID = "Meshroom";
        r.bsstype = 0;
        r.Mode11b = 1;
        r.Mode11g = 1;
        r.Mode11gt = 1;
        r.Mode11a = 1;
        r.Mode11at = 1;
        r.AuthListIndex = 0;
        r.WEPKey2 = "Hello, World!";
        r.KeyFormat = 0;
        r.KeyLength2 = 1;
        r.Radio2 = 1;
    }));
    StationSettings expected = emptyOnLinkConfig();
    copyText(expected.cSSID, "Meshroom");
    expected.iDefaultWEPKeyID = 1;
    expected.iWEPKeyBits = 128;
    copyText(expected.ucWEPKey2Value, "48656C6C6F2C20576F726C6421");
    expected.WirelessMode[Mode11B] = 1;
    EXPECT_EQ(describe(config), describe(expected));
}

TEST(BuildPendingConfig, TextsAreCopiedAndCut) {
    const std::string longText(400, 'x');
    const StationSettings config = BuildPendingConfig(onLink([&](OnLinkRecord& r) {
        r.SSID = "A network name of forty characters......";
        r.bsstype = 1;
        r.WPAPassPhase = longText;
        r.CertificateHash = "0a1b2c";
        r.CertificateName = "Jo Bloggs";
        r.DomainName = "CORP";
        r.LoginName = longText;
    }));
    EXPECT_STREQ(config.cSSID, "A network name of forty characte");
    EXPECT_EQ(std::string(config.cWPAPassPhase), longText.substr(0, 67));
    EXPECT_STREQ(config.cCertificateHash, "0a1b2c");
    EXPECT_STREQ(config.cCertificateName, "Jo Bloggs");
    EXPECT_STREQ(config.cDomainName, "CORP");
    EXPECT_EQ(std::string(config.cLoginName), longText.substr(0, 254));
}

class RebuildPendingConfigTest : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        writeFile("a.cba", "[Setini]\r\nAutoWPAWPA2=YES\r\n");
        store.WriteOnLinkScrambled("SSID", "Office");
        store.WriteOnLinkValues(
            {{"bsstype", "1"}, {"Auth Mode", "6"}, {"Encryation Mode", "0"}, {"Channel", "5"}});
        // Leftovers of an earlier configuration that the rebuild must clear.
        copyText(host.pending.ucWEPKey3Value, "stale");
        host.pending.BeaconInterval = 77;
        host.pending.RTSThreshold = 2347;
    }

    static StationSettings expectedConfig() {
        StationSettings expected{};
        copyText(expected.cSSID, "Office");
        expected.NetworkType = 1;
        expected.TxRate = 12;
        expected.TxRateAuto = 1;
        expected.AuthenticationMode = 7;
        expected.EncryptionMode = 3;
        expected.Channel = 5;
        return expected;
    }

    FakeHost host;
    ProfileStore store;
};

TEST_F(RebuildPendingConfigTest, AdapterReadyAtOnce) {
    host.wireless.RunMonitorCycle(); // the driver comes up
    host.unpluggedFlag = 1;
    RebuildPendingConfig(host, store);
    EXPECT_EQ(describe(host.pending), describe(expectedConfig()));
    EXPECT_EQ(host.services.sleeps(), (std::vector<std::chrono::milliseconds>{1000ms, 1000ms}));
    EXPECT_EQ(host.applyPendingFlag, 1);
    EXPECT_EQ(host.unpluggedFlag, 0);
    EXPECT_EQ(host.trayTips, std::vector<QString>{QString()});
}

TEST_F(RebuildPendingConfigTest, AdapterAbsentThroughout) {
    for (int before : {0, 1}) {
        SCOPED_TRACE(before);
        FakeHost absent; // no monitor cycle: the driver never comes up
        absent.applyPendingFlag = before;
        RebuildPendingConfig(absent, store);
        EXPECT_EQ(absent.services.sleeps(), std::vector<std::chrono::milliseconds>(7, 1000ms));
        EXPECT_EQ(absent.services.totalSlept(), 7s);
        EXPECT_EQ(absent.applyPendingFlag, before);
        EXPECT_EQ(absent.unpluggedFlag, 1);
        // The configuration is rebuilt all the same, for a later tick to apply.
        EXPECT_EQ(describe(absent.pending), describe(expectedConfig()));
        EXPECT_EQ(absent.trayTips, std::vector<QString>{QString()});
    }
}

} // namespace
