#include "adapter/WpaReplies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

using namespace wpa;

namespace {

TEST(WpaReplies, KeyValuesKeepTheFirstValueAndSkipLinesWithoutAKey) {
    const KeyValues values = parseKeyValues("wpa_state=COMPLETED\nssid=a=b\nnoise\n=orphan\nssid=second\r\n");
    EXPECT_EQ(values.size(), 2u);
    EXPECT_EQ(values.at("wpa_state"), "COMPLETED");
    EXPECT_EQ(values.at("ssid"), "a=b");
    EXPECT_TRUE(parseKeyValues("FAIL\n").empty());
    EXPECT_TRUE(parseKeyValues("").empty());
}

TEST(WpaReplies, IntegersAreWholeDecimalNumbers) {
    const struct {
        const char* text;
        std::optional<int64_t> value;
    } cases[] = {
        {"42", 42},
        {"-57\n", -57},
        {"0", 0},
        {"", std::nullopt},
        {"12ab", std::nullopt},
        {" 1", std::nullopt},
        {"FAIL", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
    }
}

TEST(WpaReplies, OkFailAndRefusal) {
    const struct {
        const char* reply;
        bool ok, fail, refusal;
    } cases[] = {
        {"OK\n", true, false, false},
        {"OK", true, false, false},
        {"FAIL\n", false, true, true},
        {"FAIL-BUSY\n", false, true, true},
        {"UNKNOWN COMMAND\n", false, false, true},
        {"OKAY\n", false, false, false},
        {"", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isOk(c.reply), c.ok) << c.reply;
        EXPECT_EQ(isFail(c.reply), c.fail) << c.reply;
        EXPECT_EQ(isRefusal(c.reply), c.refusal) << c.reply;
    }
}

TEST(WpaReplies, NetworkListReadsIdsAndRefusesWhatIsNotAList) {
    const auto list = parseNetworkList("network id / ssid / bssid / flags\n0\thome\tany\t[DISABLED]\n"
                                       "3\twith space\t02:00:00:00:01:00\t[CURRENT]\n7\tbare\tany\n");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[0].id, 0);
    EXPECT_EQ((*list)[0].flags, "[DISABLED]");
    EXPECT_EQ((*list)[1].id, 3);
    EXPECT_EQ((*list)[1].ssid, "with space");
    EXPECT_EQ((*list)[1].flags, "[CURRENT]");
    EXPECT_EQ((*list)[2].flags, "");

    EXPECT_TRUE(parseNetworkList("network id / ssid / bssid / flags\n")->empty());
    EXPECT_FALSE(parseNetworkList("FAIL\n"));
    EXPECT_FALSE(parseNetworkList("network id / ssid / bssid / flags\nx\tbad\tany\t\n"));
}

TEST(WpaReplies, EscapedTextsDecodeToTheirBytes) {
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"plain", "plain"},
        {"back\\\\slash", "back\\slash"},
        {"q\\\"uote", "q\"uote"},
        {"caf\\xc3\\xa9", "caf\xc3\xa9"},
        {"tab\\tnew\\n", "tab\tnew\n"},
        {"oct\\101", "octA"},
        {"\\x00\\x00\\x00", ""}, // a hidden network's name of zero bytes
        {"cut\\x00after", "cut"},
        {"trailing\\", "trailing\\"},
        {"\\xzz", "xzz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeEscapedText(c.text), c.bytes) << c.text;
    }
}

TEST(WpaReplies, ConfigTextsAreQuotedOrHexBothWays) {
    EXPECT_EQ(decodeConfigText("\"my net\""), "my net");
    EXPECT_EQ(decodeConfigText("\"a\"b\""), "a\"b");
    EXPECT_EQ(decodeConfigText("414243"), "ABC");
    EXPECT_EQ(decodeConfigText("\"\""), "");
    EXPECT_FALSE(decodeConfigText("*"));
    EXPECT_FALSE(decodeConfigText("FAIL\n"));
    EXPECT_FALSE(decodeConfigText("abc"));
    EXPECT_FALSE(decodeConfigText("zz"));

    EXPECT_EQ(encodeConfigText("my net"), "\"my net\"");
    EXPECT_EQ(encodeConfigText("caf\xc3\xa9"), "636166c3a9");
    EXPECT_EQ(encodeConfigText("line\nbreak"), "6c696e650a627265616b");
    for (const std::string text : {"x", "with \"quotes\"", "\x01\xff", ""}) {
        EXPECT_EQ(decodeConfigText(encodeConfigText(text)), text);
    }
}

TEST(WpaReplies, FrequenciesAndChannelIndexesMatchTheChannelTable) {
    const struct {
        int64_t mhz;
        std::optional<int> index;
    } cases[] = {
        {2412, 0},
        {2437, 5},
        {2472, 12},
        {2484, 13},
        {5180, 14},
        {5320, 21},
        {5745, 22},
        {5825, 26},
        {2482, std::nullopt}, // the program's historic label for channel 14, not a radio frequency
        {5500, std::nullopt},
        {5955, std::nullopt},
        {0, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(channelIndexOfFrequency(c.mhz), c.index) << c.mhz;
    }
    for (int index = 0; index < 27; ++index) {
        EXPECT_EQ(channelIndexOfFrequency(frequencyOfChannelIndex(index)), index) << index;
    }
    EXPECT_EQ(frequencyOfChannelIndex(27), 0);
    EXPECT_EQ(frequencyOfChannelIndex(-1), 0);
}

TEST(WpaReplies, SignalIsAPercentageOnTheMinus100ToMinus50Line) {
    const struct {
        int64_t level;
        int32_t percent;
    } cases[] = {
        {-100, 0},
        {-101, 0},
        {-75, 50},
        {-50, 100},
        {-49, 100},
        {-30, 100},
        {-99, 2},
        // drivers that report a quality instead of a level
        {0, 0},
        {60, 60},
        {150, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(signalPercent(c.level), c.percent) << c.level;
    }
    EXPECT_EQ(qualityPercent(-60, std::nullopt), 80);
    EXPECT_EQ(qualityPercent(-60, 9999), 80); // the supplicant's "no noise figure"
    EXPECT_EQ(qualityPercent(-60, -90), 75);  // 30 dB above the noise
    EXPECT_EQ(qualityPercent(-40, -95), 100);
    EXPECT_EQ(qualityPercent(-95, -90), 0);
}

TEST(WpaReplies, LinkSpeedsBecomeTheFastestTableRateNotAboveThem) {
    const struct {
        int64_t mbit;
        int32_t code;
    } cases[] = {
        {0, 0},   {1, 0},   {2, 1},   {5, 2},    {6, 4},    {11, 3}, {12, 6},
        {54, 12}, {65, 12}, {72, 14}, {150, 16}, {866, 16}, {-3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rateCodeOfSpeed(c.mbit), c.code) << c.mbit;
    }
}

TEST(WpaReplies, ScanFlagsGiveTheSurveysSecurityCodes) {
    const struct {
        const char* flags;
        bool adHoc;
        int32_t authentication;
        int32_t encryption;
    } cases[] = {
        {"[ESS]", false, 0, 0},
        {"[WEP][ESS]", false, 0, 1},
        {"[WPA-PSK-TKIP][ESS]", false, 4, 2},
        {"[WPA-PSK-CCMP+TKIP][ESS]", false, 4, 3},
        {"[WPA2-PSK-CCMP][ESS]", false, 7, 3},
        {"[WPA-PSK-TKIP][WPA2-PSK-CCMP+TKIP][WPS][ESS]", false, 7, 3},
        {"[WPA2-PSK+SAE-CCMP][ESS]", false, 7, 3},
        {"[WPA2-SAE-CCMP][ESS]", false, 7, 3},
        {"[WPA-EAP-TKIP][ESS]", false, 3, 2},
        {"[WPA2-EAP-CCMP-preauth][ESS]", false, 6, 3},
        {"[WPA-EAP-CCMP][WPA2-EAP-CCMP][ESS]", false, 6, 3},
        {"[WPA2-EAP-SUITE-B-192-GCMP-256][ESS]", false, 6, 3},
        {"[WPA2-OWE-CCMP][ESS]", false, 0, 3},
        {"[IBSS]", true, 0, 0},
        {"[WEP][IBSS]", true, 0, 1},
        {"[WPA2-PSK-CCMP][IBSS]", true, 5, 3},
        {"", false, 0, 0},
        {"[WPA2-PSK-CCMP", false, 0, 0}, // cut short: no whole group
    };
    for (const auto& c : cases) {
        const Security security = securityOfFlags(c.flags, c.adHoc);
        EXPECT_EQ(security.authenticationMode, c.authentication) << c.flags;
        EXPECT_EQ(security.encryptionMode, c.encryption) << c.flags;
    }
}

TEST(WpaReplies, StatusKeyManagementGivesTheLinksSecurityCodes) {
    const struct {
        const char* keyManagement;
        const char* pairwise;
        int32_t authentication;
        int32_t encryption;
    } cases[] = {
        {"NONE", "NONE", 0, 0},
        {"NONE", "WEP-104", 0, 1},
        {"NONE", "WEP-40", 0, 1},
        {"WPA-PSK", "TKIP", 4, 2},
        {"WPA2-PSK", "CCMP", 7, 3},
        {"WPA2-PSK-SHA256", "CCMP", 7, 3},
        {"SAE", "CCMP", 7, 3},
        {"FT-PSK", "CCMP", 7, 3},
        {"WPA/IEEE 802.1X/EAP", "TKIP", 3, 2},
        {"WPA2/IEEE 802.1X/EAP", "CCMP", 6, 3},
        {"WPA2-EAP-SHA256", "CCMP", 6, 3},
        {"IEEE 802.1X (no WPA)", "WEP-104", 0, 1},
        {"WPA-NONE", "CCMP", 5, 3},
    };
    for (const auto& c : cases) {
        const Security security = securityOfStatus(c.keyManagement, c.pairwise);
        EXPECT_EQ(security.authenticationMode, c.authentication) << c.keyManagement;
        EXPECT_EQ(security.encryptionMode, c.encryption) << c.keyManagement;
    }
}

TEST(WpaReplies, BandFollowsTheFrequencyAndTheAnnouncedRates) {
    // Supported rates 1, 2, 5.5, 11 Mbit/s (basic flags set): an 802.11b network.
    const char* bOnly = "0004686f6d65"
                        "010482848b96"
                        "030101";
    // The same with 6..54 Mbit/s in the extended rates.
    const char* bAndG = "0004686f6d65"
                        "010482848b96"
                        "32080c1218243048606c";
    // 802.11b rates, but HT capabilities.
    const char* ht = "010482848b96"
                     "2d1aef0117ffffff0000000000000000000000000000000000000000";
    EXPECT_EQ(surveyBandElement(2412, bOnly), 0);
    EXPECT_EQ(surveyBandElement(2412, bAndG), 4);
    EXPECT_EQ(surveyBandElement(2412, ht), 4);
    EXPECT_EQ(surveyBandElement(2412, ""), 4);
    EXPECT_EQ(surveyBandElement(2412, "01"), 4);       // cut short
    EXPECT_EQ(surveyBandElement(2412, "01ff8284"), 0); // a length past the end reads what is there
    EXPECT_EQ(surveyBandElement(5180, bOnly), 8);
}

TEST(WpaReplies, BssEntriesBecomeSurveyEntries) {
    const KeyValues bss = parseKeyValues("id=12\nbssid=02:00:00:00:01:0a\nfreq=5240\nlevel=-62\n"
                                         "flags=[WPA2-PSK-CCMP][ESS]\nssid=caf\\xc3\\xa9 net\n");
    const auto entry = surveyEntryOfBss(bss);
    ASSERT_TRUE(entry);
    EXPECT_STREQ(entry->ssid, "caf\xc3\xa9 net");
    const unsigned char bssid[6] = {0x02, 0, 0, 0, 0x01, 0x0a};
    EXPECT_EQ(std::memcmp(entry->bssid, bssid, 6), 0);
    EXPECT_EQ(entry->channel, 17); // channel 48
    EXPECT_EQ(entry->signal, 76);
    EXPECT_EQ(entry->networkType, 1);
    EXPECT_EQ(entry->authenticationMode, 7);
    EXPECT_EQ(entry->encryptionMode, 3);
    EXPECT_EQ(entry->wirelessMode[8], 1);
    EXPECT_EQ(entry->wirelessMode[0] + entry->wirelessMode[4], 0);

    // A channel outside the program's table shows as index 0; a long name is cut to 32 bytes.
    const auto wide =
        surveyEntryOfBss(parseKeyValues("bssid=02:00:00:00:01:0b\nfreq=5500\nlevel=-80\nflags=[IBSS]\n"
                                        "ssid=0123456789abcdef0123456789abcdefXYZ\n"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->channel, 0);
    EXPECT_EQ(wide->networkType, 0);
    EXPECT_EQ(std::strlen(wide->ssid), 32u);

    EXPECT_FALSE(surveyEntryOfBss(parseKeyValues("bssid=02:00:00:00:01:0b\nlevel=-80\n")));
    EXPECT_FALSE(surveyEntryOfBss(parseKeyValues("bssid=nonsense\nfreq=2412\n")));
    EXPECT_FALSE(surveyEntryOfBss(parseKeyValues("bssid=02:00:00:00:01:0b\nfreq=often\n")));
}

TEST(WpaReplies, LoggedCommandsNeverCarryValues) {
    const struct {
        const char* command;
        const char* logged;
    } cases[] = {
        {"SET_NETWORK 3 psk \"my secret phrase\"", "SET_NETWORK 3 psk"},
        {"SET_NETWORK 3 wep_key0 0102030405", "SET_NETWORK 3 wep_key0"},
        {"SET_NETWORK 3 private_key_passwd \"pw\"", "SET_NETWORK 3 private_key_passwd"},
        {"SET country JP", "SET country"},
        {"GET_NETWORK 2 ssid", "GET_NETWORK 2 ssid"},
        {"STATUS", "STATUS"},
        {"BSS NEXT-4 MASK=0x1c87", "BSS NEXT-4 MASK=0x1c87"},
        {"PI\nNG", "PI?NG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loggableCommand(c.command), c.logged) << c.command;
    }
    EXPECT_EQ(excerpt("a\nb\x01"), "\"a\\nb\\x01\"");
    EXPECT_EQ(excerpt(std::string(50, 'x')), "\"" + std::string(40, 'x') + "...\"");
}

} // namespace
