#include "AdapterFixture.h"

#include <cstring>
#include <functional>
#include <optional>

namespace {

// An infrastructure WEP record with a value in every field the apply sends.
StationConfig sampleRecord() {
    StationConfig record{};
    copyText(record.cSSID, "HomeNet");
    record.Channel = 5;
    record.NetworkType = 1;
    record.EncryptionMode = 1;
    record.AuthenticationMode = 0;
    copyText(record.ucWEPKey1Value, "0102030405");
    copyText(record.ucWEPKey2Value, "1112131415");
    copyText(record.ucWEPKey3Value, "2122232425");
    copyText(record.ucWEPKey4Value, "3132333435");
    record.iWEPKeyBits = 64;
    record.iDefaultWEPKeyID = 2;
    copyText(record.cCertificateName, "A1B2");
    copyText(record.cCertificateHash, "C3D4");
    copyText(record.cDomainName, "corp.example");
    copyText(record.cLoginName, "alice");
    copyText(record.cWPAPassPhase, "secret passphrase");
    const int32_t modes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    std::memcpy(record.WirelessMode, modes, sizeof modes);
    record.TxRateAuto = 1;
    record.TxRate = 12;
    record.PreambleMode = 1;
    record.PowerSaveMode = 2;
    record.BeaconInterval = 100;
    record.FragmentationThreshold = 2346;
    record.RTSThreshold = 2347;
    return record;
}

// The full call sequence of an apply of sampleRecord() with the given security calls.
std::vector<std::string> expectedApply(int encryptionCode, const std::vector<std::string>& security,
                                       std::optional<std::string> channel = std::nullopt) {
    std::vector<std::string> calls = {"API_SetNetworkType 1",
                                      "API_SetEncryptionMode " + std::to_string(encryptionCode)};
    calls.insert(calls.end(), security.begin(), security.end());
    calls.insert(calls.end(), {"API_SetPreambleMode 1", "API_SetFragmentationThreshold 2346",
                               "API_SetWirelessMode 1,0,0,0,1,0,0,0,0,0,0,0", "API_SetTxRate 1 12",
                               "API_SetRTSThreshold 2347", "API_SetPowerSaveMode 2"});
    if (channel) {
        calls.push_back(*channel);
    }
    calls.insert(calls.end(), {"API_SetBeaconInterval 100", "API_SetSSID \"HomeNet\""});
    return calls;
}

std::vector<std::string> wepCalls(int authentication) {
    return {"API_SetAuthenticationMode " + std::to_string(authentication),
            "API_SetWEPKey 0 64 \"0102030405\"",
            "API_SetWEPKey 1 64 \"1112131415\"",
            "API_SetWEPKey 2 64 \"2122232425\"",
            "API_SetWEPKey 3 64 \"3132333435\"",
            "API_SetDefaultKeyID 2"};
}

std::string certificateLine(const char* name, const char* hash, const char* domain, const char* login) {
    WlanCertificateBlock block{};
    copyText(block.certificateName, name);
    copyText(block.certificateHash, hash);
    copyText(block.domainName, domain);
    copyText(block.loginName, login);
    return "API_SetWPA " + RecordingDriver::hexBytes(&block, sizeof block);
}

struct SecurityCase {
    int authentication;
    int encryption;
    int encryptionCode;
    std::vector<std::string> security;
};

class ApplySecurityTest : public ManualAdapterTest, public ::testing::WithParamInterface<SecurityCase> {};

TEST_P(ApplySecurityTest, SendsTheCallsOfItsAuthenticationInOrder) {
    StationConfig record = sampleRecord();
    record.AuthenticationMode = GetParam().authentication;
    record.EncryptionMode = GetParam().encryption;

    adapter.apply(record);

    EXPECT_EQ(driver.calls(), expectedApply(GetParam().encryptionCode, GetParam().security));
}

const std::string certificate = certificateLine("A1B2", "C3D4", "corp.example", "alice");

INSTANTIATE_TEST_SUITE_P(
    EachAuthentication, ApplySecurityTest,
    ::testing::Values(
        SecurityCase{0, 1, 1, wepCalls(0)}, SecurityCase{1, 1, 1, wepCalls(1)},
        SecurityCase{2, 0, 0, wepCalls(2)},
        SecurityCase{9, 1, 1, wepCalls(2)}, // unknown codes are Auto with WEP keys
        SecurityCase{-1, 1, 1, wepCalls(2)},
        SecurityCase{3, 2, 2, {"API_SetAuthenticationMode 3", certificate}},
        SecurityCase{6, 3, 3, {"API_SetAuthenticationMode 6", certificate}},
        SecurityCase{8, 3, 3, {"API_SetAuthenticationMode 8", certificate}},
        SecurityCase{
            4, 2, 2, {"API_SetAuthenticationMode 4", "API_SetWPAPSKKey 2 \"secret passphrase\" \"HomeNet\""}},
        SecurityCase{
            7, 3, 3, {"API_SetAuthenticationMode 7", "API_SetWPAPSKKey 3 \"secret passphrase\" \"HomeNet\""}},
        // the passphrase call carries the normalised encryption code
        SecurityCase{
            4, 9, 0, {"API_SetAuthenticationMode 4", "API_SetWPAPSKKey 0 \"secret passphrase\" \"HomeNet\""}},
        SecurityCase{
            5,
            2,
            2,
            {"API_SetAuthenticationMode 5", "API_SetWPANoneKey 2 \"secret passphrase\" \"HomeNet\""}}));

struct ChannelCase {
    int networkType;
    int channel;
    std::optional<std::string> channelCall;
};

class ApplyChannelTest : public ManualAdapterTest, public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(ApplyChannelTest, SendsTheChannelOnlyInAdHocMode) {
    StationConfig record = sampleRecord();
    record.NetworkType = GetParam().networkType;
    record.Channel = GetParam().channel;

    adapter.apply(record);

    std::vector<std::string> expected = expectedApply(1, wepCalls(0), GetParam().channelCall);
    expected[0] =
        "API_SetNetworkType " + std::to_string(GetParam().networkType == 0 || GetParam().networkType == 2
                                                   ? GetParam().networkType
                                                   : 1);
    EXPECT_EQ(driver.calls(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, ApplyChannelTest,
    ::testing::Values(ChannelCase{1, 5, std::nullopt}, ChannelCase{2, 5, std::nullopt},
                      ChannelCase{7, 5, std::nullopt}, // sent as infrastructure
                      ChannelCase{0, 0, "API_SetChannel 1"}, ChannelCase{0, 13, "API_SetChannel 14"},
                      ChannelCase{0, 14, "API_SetChannel 19"}, ChannelCase{0, 26, "API_SetChannel 31"},
                      ChannelCase{0, 27, "API_SetChannel 11"}, ChannelCase{0, -1, "API_SetChannel 11"}));

TEST_F(ManualAdapterTest, ApplyOfAZeroRecordSendsAdHocOpenSystemWithZeros) {
    StationConfig record{};

    adapter.apply(record);

    EXPECT_EQ(driver.calls(),
              (names({"API_SetNetworkType 0", "API_SetEncryptionMode 0", "API_SetAuthenticationMode 0",
                      "API_SetWEPKey 0 0 \"\"", "API_SetWEPKey 1 0 \"\"", "API_SetWEPKey 2 0 \"\"",
                      "API_SetWEPKey 3 0 \"\"", "API_SetDefaultKeyID 0", "API_SetPreambleMode 0",
                      "API_SetFragmentationThreshold 0", "API_SetWirelessMode 0,0,0,0,0,0,0,0,0,0,0,0",
                      "API_SetTxRate 0 0", "API_SetRTSThreshold 0", "API_SetPowerSaveMode 0",
                      "API_SetChannel 1", "API_SetBeaconInterval 0", "API_SetSSID \"\""})));
}

struct ApplyCodeCase {
    const char* what;
    std::function<void(StationSettings&)> edit;
    std::string expectedCall;
};

TEST_F(ManualAdapterTest, ApplyPassesEveryCodeThroughItsTable) {
    const ApplyCodeCase cases[] = {
        {"network type 5", [](StationSettings& r) { r.NetworkType = 5; }, "API_SetNetworkType 1"},
        {"encryption 4", [](StationSettings& r) { r.EncryptionMode = 4; }, "API_SetEncryptionMode 0"},
        {"preamble 2", [](StationSettings& r) { r.PreambleMode = 2; }, "API_SetPreambleMode 2"},
        {"preamble 7", [](StationSettings& r) { r.PreambleMode = 7; }, "API_SetPreambleMode 1"},
        {"power save 3", [](StationSettings& r) { r.PowerSaveMode = 3; }, "API_SetPowerSaveMode 0"},
        {"tx rate 13", [](StationSettings& r) { r.TxRate = 13; }, "API_SetTxRate 1 0"},
        {"tx rate 18", [](StationSettings& r) { r.TxRate = 18; }, "API_SetTxRate 1 18"},
        {"tx rate 19", [](StationSettings& r) { r.TxRate = 19; }, "API_SetTxRate 1 0"},
    };
    for (const ApplyCodeCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        StationConfig record = sampleRecord();
        testCase.edit(record);
        driver.clearCalls();

        adapter.apply(record);

        const std::string name = testCase.expectedCall.substr(0, testCase.expectedCall.find(' '));
        EXPECT_EQ(driver.callsNamed(name), names({testCase.expectedCall.c_str()}));
    }
}

TEST_F(ManualAdapterTest, ApplyCutsRecordTextsThatLackTheirTerminator) {
    StationConfig record = sampleRecord();
    record.AuthenticationMode = 4;
    std::memset(record.cSSID, 'S', sizeof record.cSSID);
    std::memset(record.cWPAPassPhase, 'p', sizeof record.cWPAPassPhase);

    adapter.apply(record);

    const std::string ssid(32, 'S');
    EXPECT_EQ(driver.callsNamed("API_SetSSID"), names({("API_SetSSID \"" + ssid + "\"").c_str()}));
    EXPECT_EQ(driver.callsNamed("API_SetWPAPSKKey"),
              names({("API_SetWPAPSKKey 1 \"" + std::string(67, 'p') + "\" \"" + ssid + "\"").c_str()}));
}

TEST_F(ManualAdapterTest, CertificateTextsAreCutToTheirBlockFields) {
    StationConfig record = sampleRecord();
    record.AuthenticationMode = 3;
    std::memset(record.cCertificateName, 'N', sizeof record.cCertificateName);
    std::memset(record.cLoginName, 'L', sizeof record.cLoginName);

    adapter.apply(record);

    const std::string name(254, 'N');
    const std::string login(254, 'L');
    EXPECT_EQ(driver.callsNamed("API_SetWPA"),
              names({certificateLine(name.c_str(), "C3D4", "corp.example", login.c_str()).c_str()}));
}

// --- Read-back ---

TEST_F(ManualAdapterTest, ReadBackAsksTheDriverInOrderAndFillsTheCache) {
    bringUp();
    driver.update([](DriverAnswers& a) {
        a.advancedMode = {1, 7};
        a.authenticationMode = 4;
        a.radioOff = 1;
        a.channel = 20;
        a.channelPlan = 11;
        a.ssid = "Office";
        a.encryptionMode = 2;
        a.beaconInterval = 200;
        a.defaultKeyId = 3;
        a.fragmentationThreshold = 1500;
        a.rtsThreshold = 500;
        a.networkType = 0;
        a.powerSaveMode = 1;
        a.preambleMode = 0;
        a.txRateAuto = 0;
        a.txRate = 16;
        a.wirelessMode = {0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 1};
    });
    StationConfig record{};

    adapter.runMonitorCycle();
    adapter.copyReadBack(record);

    // the read-back closes the cycle
    const std::vector<std::string> calls = driver.callNames();
    const std::vector<std::string> readBack = names(
        {"API_GetAdvancedMode", "API_GetAuthenticationMode", "API_GetRadioOff", "API_GetChannel",
         "API_GetChannelPlanByCountry", "API_GetSSID", "API_GetEncryptionMode", "API_GetBeaconInterval",
         "API_GetDefaultKeyID", "API_GetFragmentationThreshold", "API_GetRTSThreshold", "API_GetNetworkType",
         "API_GetPowerSaveMode", "API_GetPreambleMode", "API_GetTxRate", "API_GetWirelessMode"});
    ASSERT_GE(calls.size(), readBack.size());
    EXPECT_EQ(std::vector<std::string>(calls.end() - static_cast<long>(readBack.size()), calls.end()),
              readBack);
    EXPECT_EQ(record.AdvancedMode[0], 1);
    EXPECT_EQ(record.AdvancedMode[1], 7);
    EXPECT_EQ(record.AuthenticationMode, 4);
    EXPECT_EQ(record.RadioOff, 1);
    EXPECT_EQ(record.Channel, 15);
    EXPECT_EQ(record.ChannelPlan, 11);
    EXPECT_STREQ(record.cSSID, "Office");
    EXPECT_EQ(record.EncryptionMode, 2);
    EXPECT_EQ(record.BeaconInterval, 200);
    EXPECT_EQ(record.iDefaultWEPKeyID, 3);
    EXPECT_EQ(record.FragmentationThreshold, 1500);
    EXPECT_EQ(record.RTSThreshold, 500);
    EXPECT_EQ(record.NetworkType, 0);
    EXPECT_EQ(record.PowerSaveMode, 1);
    EXPECT_EQ(record.PreambleMode, 0);
    EXPECT_EQ(record.TxRateAuto, 0);
    EXPECT_EQ(record.TxRate, 16);
    const int32_t modes[12] = {0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 1};
    EXPECT_EQ(std::memcmp(record.WirelessMode, modes, sizeof modes), 0);
}

struct ReadBackCase {
    const char* what;
    std::function<void(DriverAnswers&)> script;
    std::function<int(const StationSettings&)> field;
    int expected;
};

TEST_F(ManualAdapterTest, ReadBackNormalisesDriverCodes) {
    const ReadBackCase cases[] = {
        {"channel 1", [](DriverAnswers& a) { a.channel = 1; },
         [](const StationSettings& r) { return r.Channel; }, 0},
        {"channel 10", [](DriverAnswers& a) { a.channel = 10; },
         [](const StationSettings& r) { return r.Channel; }, 9},
        {"channel 11", [](DriverAnswers& a) { a.channel = 11; },
         [](const StationSettings& r) { return r.Channel; }, 10},
        {"channel 12", [](DriverAnswers& a) { a.channel = 12; },
         [](const StationSettings& r) { return r.Channel; }, 11},
        {"channel 15", [](DriverAnswers& a) { a.channel = 15; },
         [](const StationSettings& r) { return r.Channel; }, 10},
        {"channel 19", [](DriverAnswers& a) { a.channel = 19; },
         [](const StationSettings& r) { return r.Channel; }, 14},
        {"channel 31", [](DriverAnswers& a) { a.channel = 31; },
         [](const StationSettings& r) { return r.Channel; }, 26},
        {"channel 99", [](DriverAnswers& a) { a.channel = 99; },
         [](const StationSettings& r) { return r.Channel; }, 10},
        {"auth 8", [](DriverAnswers& a) { a.authenticationMode = 8; },
         [](const StationSettings& r) { return r.AuthenticationMode; }, 2},
        {"auth 7", [](DriverAnswers& a) { a.authenticationMode = 7; },
         [](const StationSettings& r) { return r.AuthenticationMode; }, 7},
        {"auth -3", [](DriverAnswers& a) { a.authenticationMode = -3; },
         [](const StationSettings& r) { return r.AuthenticationMode; }, 2},
        {"tx rate 13", [](DriverAnswers& a) { a.txRate = 13; },
         [](const StationSettings& r) { return r.TxRate; }, 0},
        {"tx rate 18", [](DriverAnswers& a) { a.txRate = 18; },
         [](const StationSettings& r) { return r.TxRate; }, 18},
        {"network 2", [](DriverAnswers& a) { a.networkType = 2; },
         [](const StationSettings& r) { return r.NetworkType; }, 2},
        {"network 5", [](DriverAnswers& a) { a.networkType = 5; },
         [](const StationSettings& r) { return r.NetworkType; }, 1},
        {"encryption 4", [](DriverAnswers& a) { a.encryptionMode = 4; },
         [](const StationSettings& r) { return r.EncryptionMode; }, 0},
        {"power save 3", [](DriverAnswers& a) { a.powerSaveMode = 3; },
         [](const StationSettings& r) { return r.PowerSaveMode; }, 0},
        {"preamble 9", [](DriverAnswers& a) { a.preambleMode = 9; },
         [](const StationSettings& r) { return r.PreambleMode; }, 1},
        {"plan 13", [](DriverAnswers& a) { a.channelPlan = 13; },
         [](const StationSettings& r) { return r.ChannelPlan; }, 0},
        {"plan 12", [](DriverAnswers& a) { a.channelPlan = 12; },
         [](const StationSettings& r) { return r.ChannelPlan; }, 12},
    };
    for (const ReadBackCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        driver.update(testCase.script);
        adapter.runMonitorCycle();
        StationConfig record{};

        adapter.copyReadBack(record);

        EXPECT_EQ(testCase.field(record), testCase.expected);
    }
}

TEST_F(ManualAdapterTest, ReadBackCutsAnUnterminatedSsid) {
    driver.update([](DriverAnswers& a) { a.ssid = std::string(WLAN_LINK_SSID_BUFFER_SIZE, 'x'); });
    adapter.runMonitorCycle();
    StationConfig record{};

    adapter.copyReadBack(record);

    EXPECT_EQ(std::string(record.cSSID), std::string(32, 'x'));
}

TEST_F(ManualAdapterTest, CopyOfTheCacheLeavesKeysPassphraseAndSelectionAlone) {
    adapter.runMonitorCycle();
    StationConfig record = sampleRecord();
    record.AuthenticationMode = 7;
    record.SecurityIndex = 4;
    record.iKeyFormat = 1;
    copyText(record.UIWEPKey2, "typed key");
    record.UICertIndex = 3;
    const StationConfig before = record;

    adapter.copyReadBack(record);

    EXPECT_STREQ(record.ucWEPKey1Value, before.ucWEPKey1Value);
    EXPECT_STREQ(record.ucWEPKey4Value, before.ucWEPKey4Value);
    EXPECT_EQ(record.iWEPKeyBits, before.iWEPKeyBits);
    EXPECT_STREQ(record.cWPAPassPhase, before.cWPAPassPhase);
    EXPECT_STREQ(record.cCertificateName, before.cCertificateName);
    EXPECT_STREQ(record.cLoginName, before.cLoginName);
    const StationSelection& selection = record;
    EXPECT_EQ(std::memcmp(&selection, static_cast<const StationSelection*>(&before), sizeof selection), 0);
    // ... while the read-back fields come from the driver
    EXPECT_EQ(record.AuthenticationMode, driver.answers().authenticationMode);
    EXPECT_EQ(record.PowerSaveMode, 0);
    EXPECT_STREQ(record.cSSID, "HomeNet");
}

TEST_F(ManualAdapterTest, ChannelPlanIsKeptAsReportedAndNormalisedInTheCopy) {
    struct Case {
        int reported;
        int copied;
    };
    // the About page names every code, so the raw one stays available
    for (const Case c : {Case{12, 12}, Case{5, 5}, Case{13, 0}, Case{-1, 0}, Case{0, 0}}) {
        SCOPED_TRACE(c.reported);
        driver.update([&c](DriverAnswers& a) { a.channelPlan = c.reported; });
        adapter.runMonitorCycle();
        StationConfig record{};

        adapter.copyReadBack(record);

        EXPECT_EQ(adapter.channelPlanCode(), c.reported);
        EXPECT_EQ(record.ChannelPlan, c.copied);
    }
}

TEST_F(ManualAdapterTest, ChannelPlanBeforeAnyReadBackIsZero) {
    EXPECT_EQ(adapter.channelPlanCode(), 0);
}

TEST_F(ManualAdapterTest, SettingTheChannelPlanReachesTheDriverUnchanged) {
    bringUp();

    adapter.setChannelPlan(7);
    adapter.setChannelPlan(-4);

    EXPECT_EQ(driver.calls(), names({"API_SetChannelPlanByCountry 7", "API_SetChannelPlanByCountry -4"}));
}

} // namespace
