// The configuration that reconnection builds from "on_link": network type, security tables,
// channel, power and preamble normalisation and the WEP keys.
#include "ConnectionProcedure.h"
#include "ProfileStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct PendingCase {
    const char* name;
    std::function<void(OnLinkRecord&)> onLink;
    std::function<void(const StationSettings&)> check;
};

class PendingConfig : public ::testing::TestWithParam<PendingCase> {};

TEST_P(PendingConfig, IsBuiltFromOnLink) {
    OnLinkRecord onLink;
    onLink.bsstype = 1;
    onLink.AutoWPAWPA2 = "YES";
    GetParam().onLink(onLink);
    GetParam().check(BuildPendingConfig(onLink));
}

void expectSecurity(const StationSettings& c, int32_t authentication, int32_t encryption) {
    EXPECT_EQ(c.AuthenticationMode, authentication);
    EXPECT_EQ(c.EncryptionMode, encryption);
}

const std::string hex13 = "4142434445464748494A4B4C4D"; // "ABCDEFGHIJKLM"

INSTANTIATE_TEST_SUITE_P(
    OnLink, PendingConfig,
    ::testing::Values(
        PendingCase{"AdHocAsciiWepKeyTwo",
                    [](OnLinkRecord& r) {
                        r.bsstype = 0;
                        r.AuthListIndex = 0;
                        r.KeyFormat = 0;
                        r.Radio2 = 1;
                        r.KeyLength2 = 1;
                        r.WEPKey2 = "ABCDEFGHIJKLM";
                        r.WEPKey1 = "other";
                        r.Mode11b = r.Mode11g = r.Mode11gt = r.Mode11a = r.Mode11at = 1;
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.NetworkType, 0);
                        EXPECT_EQ(c.TxRate, 3);
                        expectSecurity(c, 2, 1);
                        EXPECT_EQ(c.iDefaultWEPKeyID, 1);
                        EXPECT_EQ(c.iWEPKeyBits, 128);
                        EXPECT_EQ(c.ucWEPKey2Value, hex13);
                        EXPECT_STREQ(c.ucWEPKey1Value, "") << "only the default key gets a value";
                        EXPECT_EQ(c.WirelessMode[Mode11B], 1);
                        for (int element : {Mode11G, Mode11GT, Mode11A, Mode11AT}) {
                            EXPECT_EQ(c.WirelessMode[element], 0) << element;
                        }
                    }},
        PendingCase{"LastRadioWinsWithItsOwnLength",
                    [](OnLinkRecord& r) {
                        r.Radio1 = 1;
                        r.KeyLength1 = 0;
                        r.WEPKey1 = "ABCDE";
                        r.Radio4 = 1;
                        r.KeyLength4 = 1;
                        r.WEPKey4 = "ABCDEFGHIJKLM";
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.iDefaultWEPKeyID, 3);
                        EXPECT_EQ(c.iWEPKeyBits, 128);
                        EXPECT_EQ(c.ucWEPKey4Value, hex13);
                    }},
        PendingCase{"AsciiKeyIsCutToItsLength",
                    [](OnLinkRecord& r) {
                        r.Radio3 = 1;
                        r.KeyLength3 = 0;
                        r.WEPKey3 = "ABCDEFGHIJKLM";
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.iWEPKeyBits, 64);
                        EXPECT_STREQ(c.ucWEPKey3Value, "4142434445");
                    }},
        PendingCase{"HexKeyIsCopiedUnchanged",
                    [](OnLinkRecord& r) {
                        r.KeyFormat = 1;
                        r.Radio1 = 1;
                        r.WEPKey1 = "0a1B2c3D4e5F";
                    },
                    [](const StationSettings& c) { EXPECT_STREQ(c.ucWEPKey1Value, "0a1B2c3D4e5F"); }},
        PendingCase{"Wpa2PskWithTkip",
                    [](OnLinkRecord& r) {
                        r.AuthListIndex = 6;
                        r.CipherListIndex = 1;
                        r.WPAPassPhase = "home passphrase";
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.NetworkType, 1);
                        EXPECT_EQ(c.TxRate, 12);
                        expectSecurity(c, 7, 2);
                        EXPECT_STREQ(c.cWPAPassPhase, "home passphrase");
                    }},
        PendingCase{"CertificateWpaIsAlwaysAes",
                    [](OnLinkRecord& r) {
                        r.AuthListIndex = 3;
                        r.CipherListIndex = 1;
                    },
                    [](const StationSettings& c) { expectSecurity(c, 3, 3); }},
        PendingCase{"CombinedListPskWithAes",
                    [](OnLinkRecord& r) {
                        r.AutoWPAWPA2 = "NO";
                        r.AuthListIndex = 4;
                        r.CipherListIndex = 0;
                    },
                    [](const StationSettings& c) { expectSecurity(c, 4, 3); }},
        PendingCase{"CombinedListDisable",
                    [](OnLinkRecord& r) {
                        r.AutoWPAWPA2 = "NO";
                        r.AuthListIndex = 5;
                    },
                    [](const StationSettings& c) { expectSecurity(c, 2, 0); }},
        PendingCase{"UnknownListItem", [](OnLinkRecord& r) { r.AuthListIndex = 9; },
                    [](const StationSettings& c) { expectSecurity(c, 0, 0); }},
        PendingCase{"NeitherList",
                    [](OnLinkRecord& r) {
                        r.AutoWPAWPA2 = "";
                        r.AuthListIndex = 2;
                    },
                    [](const StationSettings& c) { expectSecurity(c, 0, 0); }},
        PendingCase{"SoftApType",
                    [](OnLinkRecord& r) {
                        r.bsstype = 2;
                        r.AuthListIndex = 2;
                        r.Mode11a = 1;
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.NetworkType, 2);
                        EXPECT_EQ(c.TxRate, 0);
                        expectSecurity(c, 0, 0);
                        EXPECT_EQ(c.WirelessMode[Mode11A], 1);
                    }},
        PendingCase{"FiveGigahertzChannelAndOddModes",
                    [](OnLinkRecord& r) {
                        r.Channel = 20;
                        r.PreambleMode = 5;
                        r.PowerMode = 7;
                        r.ModeXR = 3;
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.Channel, 10);
                        EXPECT_EQ(c.PreambleMode, 0);
                        EXPECT_EQ(c.PowerSaveMode, 0);
                        EXPECT_EQ(c.AdvancedMode[0], 1);
                        EXPECT_EQ(c.TxRateAuto, 1);
                    }},
        PendingCase{"KeptChannelAndModes",
                    [](OnLinkRecord& r) {
                        r.Channel = 13;
                        r.PreambleMode = 2;
                        r.PowerMode = 2;
                    },
                    [](const StationSettings& c) {
                        EXPECT_EQ(c.Channel, 13);
                        EXPECT_EQ(c.PreambleMode, 2);
                        EXPECT_EQ(c.PowerSaveMode, 2);
                    }},
        PendingCase{"LongSsidIsCut", [](OnLinkRecord& r) { r.SSID = std::string(40, 'S'); },
                    [](const StationSettings& c) { EXPECT_EQ(std::string(c.cSSID), std::string(32, 'S')); }},
        PendingCase{"EmptyOnLinkGivesAdHoc", [](OnLinkRecord& r) { r = OnLinkRecord{}; },
                    [](const StationSettings& c) {
                        EXPECT_STREQ(c.cSSID, "");
                        EXPECT_EQ(c.NetworkType, 0);
                        EXPECT_EQ(c.Channel, 0);
                        EXPECT_EQ(c.TxRate, 3);
                        EXPECT_EQ(c.TxRateAuto, 1);
                        expectSecurity(c, 2, 1);
                        EXPECT_EQ(c.iWEPKeyBits, 0);
                        EXPECT_STREQ(c.ucWEPKey1Value, "");
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
