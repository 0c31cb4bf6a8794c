#include "AdapterFixture.h"

#include <cstring>
#include <functional>
#include <limits>

namespace {

const std::vector<std::string> statusAndReadBack = {"API_GetStatusSignalInfo",
                                                    "API_GetStatusLinkInfo",
                                                    "API_GetStatistics",
                                                    "API_GetStatusAuthStatus",
                                                    "API_GetIPInfo",
                                                    "API_GetWZCControlFlag",
                                                    "API_GetWZCService",
                                                    "API_GetAdvancedMode",
                                                    "API_GetAuthenticationMode",
                                                    "API_GetRadioOff",
                                                    "API_GetChannel",
                                                    "API_GetChannelPlanByCountry",
                                                    "API_GetSSID",
                                                    "API_GetEncryptionMode",
                                                    "API_GetBeaconInterval",
                                                    "API_GetDefaultKeyID",
                                                    "API_GetFragmentationThreshold",
                                                    "API_GetRTSThreshold",
                                                    "API_GetNetworkType",
                                                    "API_GetPowerSaveMode",
                                                    "API_GetPreambleMode",
                                                    "API_GetTxRate",
                                                    "API_GetWirelessMode"};

std::vector<std::string> concat(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// --- Connection ---

TEST_F(ManualAdapterTest, WithoutAdapterACycleOnlyProbes) {
    driver.update([](DriverAnswers& a) { a.adapterPresent = 0; });

    adapter.runMonitorCycle();
    adapter.runMonitorCycle();

    EXPECT_EQ(driver.calls(), names({"API_GetHardwareID", "API_GetHardwareID"}));
    EXPECT_TRUE(adapter.isDriverAbsent());
}

TEST_F(ManualAdapterTest, FailedStartStopsTheDriverAndRetriesNextCycle) {
    driver.update([](DriverAnswers& a) { a.initializeResult = 0; });
    adapter.runMonitorCycle();
    adapter.runMonitorCycle();
    EXPECT_EQ(driver.takeCalls(), names({"API_GetHardwareID", "API_Initialize", "API_Stop",
                                         "API_GetHardwareID", "API_Initialize", "API_Stop"}));
    EXPECT_TRUE(adapter.isDriverAbsent());

    // initialised, but the adapter is already gone again
    driver.update([](DriverAnswers& a) {
        a.initializeResult = 1;
        a.unplugResult = 1;
    });
    adapter.runMonitorCycle();
    EXPECT_EQ(driver.takeCalls(), names({"API_GetHardwareID", "API_Initialize", "API_IsUnplug", "API_Stop"}));
    EXPECT_TRUE(adapter.isDriverAbsent());
}

TEST_F(ManualAdapterTest, FirstReadyCycleReadsAdapterInfoThenStatusAndSettings) {
    EXPECT_TRUE(adapter.isDriverAbsent());

    adapter.runMonitorCycle();

    EXPECT_EQ(driver.callNames(),
              concat(names({"API_GetHardwareID", "API_Initialize", "API_IsUnplug", "API_GetDriverDescription",
                            "API_GetMacAddress", "API_GetChipsetSolution", "API_GetHardwareID",
                            "API_GetHardwareVersion", "API_GetAPIVersion"}),
                     statusAndReadBack));
    EXPECT_FALSE(adapter.isDriverAbsent());

    driver.clearCalls();
    adapter.runMonitorCycle();
    EXPECT_EQ(driver.callNames(), concat(names({"API_IsUnplug"}), statusAndReadBack));
}

TEST_F(ManualAdapterTest, AdapterInfoComesFromTheDriverOncePerStart) {
    driver.update([](DriverAnswers& a) { a.chipsetSolution = 12; });
    adapter.runMonitorCycle();

    AdapterInfo info = adapter.adapterInfo();
    const DriverAnswers script = driver.answers();
    EXPECT_EQ(std::string(info.hardwareId), script.hardwareId);
    EXPECT_EQ(std::string(info.driverDescription), script.driverDescription);
    EXPECT_EQ(std::string(info.driverVersion), script.driverVersion);
    EXPECT_EQ(std::string(info.hardwareVersion), script.hardwareVersion);
    EXPECT_EQ(std::string(info.apiVersion), script.apiVersion);
    EXPECT_EQ(std::memcmp(info.macAddress, script.macAddress.data(), 6), 0);
    EXPECT_EQ(info.chipsetSolution, 0); // 12 is outside 1..11

    driver.update([](DriverAnswers& a) { a.hardwareId = "another"; });
    adapter.runMonitorCycle();
    info = adapter.adapterInfo();
    EXPECT_EQ(std::string(info.hardwareId), script.hardwareId); // not read again while ready
}

TEST_F(ManualAdapterTest, UnplugStopsOnceKeepsCachesAndReplugReadsTheNewAdapter) {
    driver.update([](DriverAnswers& a) { a.signalStrength = 64; });
    bringUp();
    ASSERT_EQ(adapter.linkStatus().signalStrength, 64);
    StationConfig configBefore{};
    adapter.copyReadBack(configBefore);

    driver.update([](DriverAnswers& a) {
        a.unplugResult = 1;
        a.adapterPresent = 0;
        a.signalStrength = 5;
        a.ssid = "Elsewhere";
    });
    adapter.runMonitorCycle();
    adapter.runMonitorCycle();

    EXPECT_EQ(driver.takeCalls(), names({"API_IsUnplug", "API_Stop", "API_GetHardwareID"}));
    EXPECT_TRUE(adapter.isDriverAbsent());
    LinkStatus linkAfter = adapter.linkStatus();
    EXPECT_EQ(linkAfter.signalStrength, 64);
    StationConfig configAfter{};
    adapter.copyReadBack(configAfter);
    EXPECT_STREQ(configAfter.cSSID, configBefore.cSSID);

    driver.update([](DriverAnswers& a) {
        a.unplugResult = 0;
        a.adapterPresent = 1;
        a.hardwareId = "second adapter";
        a.macAddress = {1, 2, 3, 4, 5, 6};
    });
    adapter.runMonitorCycle();

    EXPECT_FALSE(adapter.isDriverAbsent());
    AdapterInfo info{};
    info = adapter.adapterInfo();
    EXPECT_STREQ(info.hardwareId, "second adapter");
    EXPECT_EQ(info.macAddress[5], 6);
    linkAfter = adapter.linkStatus();
    EXPECT_EQ(linkAfter.signalStrength, 5);
}

TEST_F(ManualAdapterTest, DriverTextsFillingTheirBuffersAreCut) {
    driver.update([](DriverAnswers& a) {
        a.hardwareId = std::string(WLAN_TEXT_BUFFER_SIZE, 'h');
        a.driverDescription = std::string(WLAN_TEXT_BUFFER_SIZE, 'd');
        a.driverVersion = std::string(WLAN_TEXT_BUFFER_SIZE, 'v');
        a.hardwareVersion = std::string(WLAN_TEXT_BUFFER_SIZE, 'w');
        a.apiVersion = std::string(WLAN_TEXT_BUFFER_SIZE, 'a');
        a.linkSsid = std::string(WLAN_LINK_SSID_BUFFER_SIZE, 's');
    });

    adapter.runMonitorCycle();

    AdapterInfo info{};
    info = adapter.adapterInfo();
    EXPECT_EQ(std::string(info.hardwareId), std::string(254, 'h'));
    EXPECT_EQ(std::string(info.driverDescription), std::string(254, 'd'));
    EXPECT_EQ(std::string(info.driverVersion), std::string(254, 'v'));
    EXPECT_EQ(std::string(info.hardwareVersion), std::string(254, 'w'));
    EXPECT_EQ(std::string(info.apiVersion), std::string(254, 'a'));
    LinkStatus status = adapter.linkStatus();
    EXPECT_EQ(std::string(status.ssid), std::string(32, 's'));
}

// --- Link status ---

TEST_F(ManualAdapterTest, LinkStatusStartsInModeOneAndFollowsTheDriver) {
    LinkStatus status = adapter.linkStatus();
    EXPECT_EQ(status.linkMode, 1);
    EXPECT_EQ(status.connected, 0);

    struct Case {
        int32_t state, mode, auth;
        int32_t connected, linkMode, authStatus;
    };
    const Case cases[] = {{1, 1, 1, 1, 1, 1}, {2, 2, 4, 1, 2, 4}, {3, 3, 5, 0, 0, 0}, {0, -1, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        driver.update([&c](DriverAnswers& a) {
            a.linkState = c.state;
            a.linkMode = c.mode;
            a.authStatus = c.auth;
            a.signalStrength = 42;
            a.linkQuality = 37;
            a.linkSsid = "Cafe";
            a.linkBssid = {0xde, 0xad, 0xbe, 0xef, 0x00, 0x01};
        });
        adapter.runMonitorCycle();
        status = adapter.linkStatus();
        EXPECT_EQ(status.connected, c.connected);
        EXPECT_EQ(status.linkMode, c.linkMode);
        EXPECT_EQ(status.authStatus, c.authStatus);
        EXPECT_EQ(status.signalStrength, 42);
        EXPECT_EQ(status.linkQuality, 37);
        EXPECT_STREQ(status.ssid, "Cafe");
        EXPECT_EQ(status.bssid[0], 0xde);
        EXPECT_EQ(status.bssid[5], 0x01);
    }
}

TEST_F(ManualAdapterTest, IpTextsKeepOneToFifteenCharactersAndTextThreeStaysEmpty) {
    const std::string fifteen = "192.168.100.200";
    const std::string sixteen = "192.168.100.2001";
    const std::string unterminated(WLAN_IP_TEXT_SIZE, '1');
    driver.update([&](DriverAnswers& a) {
        a.ipInfo = RecordingDriver::ipBlock({fifteen, sixteen, "", "10.0.0.1"}, -7);
    });

    adapter.runMonitorCycle();

    LinkStatus status = adapter.linkStatus();
    EXPECT_EQ(std::string(status.ipText[0]), fifteen);
    EXPECT_STREQ(status.ipText[1], "0.0.0.0");
    EXPECT_STREQ(status.ipText[2], "0.0.0.0");
    EXPECT_STREQ(status.ipText[3], "");
    EXPECT_STREQ(status.ipText[4], "10.0.0.1");
    EXPECT_EQ(status.ipValue, -7);

    driver.update([&](DriverAnswers& a) {
        a.ipInfo = RecordingDriver::ipBlock({"1.1.1.1", "2.2.2.2", "3.3.3.3", unterminated}, 0);
    });
    adapter.runMonitorCycle();
    status = adapter.linkStatus();
    EXPECT_STREQ(status.ipText[0], "1.1.1.1");
    EXPECT_STREQ(status.ipText[1], "2.2.2.2");
    EXPECT_STREQ(status.ipText[2], "3.3.3.3");
    EXPECT_STREQ(status.ipText[3], "");
    EXPECT_STREQ(status.ipText[4], "0.0.0.0");
}

TEST_F(ManualAdapterTest, TrafficDeltasStartAtZeroAndWrapModulo64Bits) {
    const uint64_t big = (uint64_t{1} << 40) + 1000;
    driver.update([&](DriverAnswers& a) {
        a.statistics = RecordingDriver::statisticsBlock({1, -2, 3, 4, 5, 6, 2147483647}, big, 2000);
    });
    adapter.runMonitorCycle();

    LinkStatus status = adapter.linkStatus();
    EXPECT_EQ(status.counters.txDelta, 0u);
    EXPECT_EQ(status.counters.rxDelta, 0u);
    EXPECT_EQ(status.counters.counter0, 1);
    EXPECT_EQ(status.counters.counter1, -2);
    EXPECT_EQ(status.counters.counter6, 2147483647);

    driver.update([&](DriverAnswers& a) {
        a.statistics = RecordingDriver::statisticsBlock({}, big + (uint64_t{1} << 33), 2600);
    });
    adapter.runMonitorCycle();
    status = adapter.linkStatus();
    EXPECT_EQ(status.counters.txDelta, uint64_t{1} << 33);
    EXPECT_EQ(status.counters.rxDelta, 600u);

    // the driver was reset: its received total went down
    driver.update([](DriverAnswers& a) { a.statistics = RecordingDriver::statisticsBlock({}, 0, 100); });
    adapter.runMonitorCycle();
    status = adapter.linkStatus();
    EXPECT_EQ(status.counters.rxDelta, std::numeric_limits<uint64_t>::max() - 2500 + 1);
    EXPECT_EQ(status.counters.txDelta, 0 - (big + (uint64_t{1} << 33)));
}

TEST_F(ManualAdapterTest, FirstCycleAfterReplugHasZeroDeltas) {
    driver.update([](DriverAnswers& a) { a.statistics = RecordingDriver::statisticsBlock({}, 5000, 9000); });
    bringUp();
    driver.update([](DriverAnswers& a) { a.unplugResult = 1; });
    adapter.runMonitorCycle();

    driver.update([](DriverAnswers& a) {
        a.unplugResult = 0;
        a.statistics = RecordingDriver::statisticsBlock({}, 10, 20); // a fresh driver counts from 0
    });
    adapter.runMonitorCycle();

    LinkStatus status = adapter.linkStatus();
    EXPECT_EQ(status.counters.txDelta, 0u);
    EXPECT_EQ(status.counters.rxDelta, 0u);
}

// --- Site survey ---

TEST_F(ManualAdapterTest, SurveyRecordsBecomeNormalisedEntries) {
    const SurveyRecordFields adHoc40{.networkType = 7,
                                     .ssid = "Cell",
                                     .bssid = {1, 2, 3, 4, 5, 6},
                                     .signal = 55,
                                     .channelCode = 20,
                                     .encryption = 4,
                                     .authentication = 8,
                                     .band = 5};
    const SurveyRecordFields infra{.networkType = 1,
                                   .ssid = std::string(WLAN_SURVEY_SSID_SIZE, 'n'), // no terminator
                                   .bssid = {},
                                   .signal = 0,
                                   .channelCode = 15,
                                   .encryption = 3,
                                   .authentication = 7,
                                   .band = 1};
    const SurveyRecordFields softAp{.networkType = 2,
                                    .ssid = "AP",
                                    .bssid = {},
                                    .signal = 0,
                                    .channelCode = 14,
                                    .encryption = 0,
                                    .authentication = 0,
                                    .band = 0};
    driver.update([&](DriverAnswers& a) {
        a.surveyRecords = RecordingDriver::surveyBlock({adHoc40, infra, softAp});
        a.surveyCount = 3;
    });

    EXPECT_TRUE(adapter.startSurvey());

    EXPECT_EQ(driver.calls(), names({"API_SiteSurvey"}));
    EXPECT_FALSE(adapter.surveyRunning());
    const std::vector<BssEntry> entries = adapter.surveyResult();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[0].ssid, "Cell");
    EXPECT_EQ(entries[0].bssid[5], 6);
    EXPECT_EQ(entries[0].signal, 55);
    EXPECT_EQ(entries[0].channel, 15); // channel 40
    EXPECT_EQ(entries[0].networkType, 0);
    EXPECT_EQ(entries[0].encryptionMode, 0);
    EXPECT_EQ(entries[0].authenticationMode, 0);
    const int32_t only11a[12] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(std::memcmp(entries[0].wirelessMode, only11a, sizeof only11a), 0);

    EXPECT_EQ(std::string(entries[1].ssid), std::string(32, 'n'));
    EXPECT_EQ(entries[1].channel, 0);
    EXPECT_EQ(entries[1].networkType, 1);
    EXPECT_EQ(entries[1].encryptionMode, 3);
    EXPECT_EQ(entries[1].authenticationMode, 7);
    const int32_t only11g[12] = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(entries[1].wirelessMode, only11g, sizeof only11g), 0);

    EXPECT_EQ(entries[2].networkType, 2);
    EXPECT_EQ(entries[2].channel, 13);
    const int32_t only11b[12] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(entries[2].wirelessMode, only11b, sizeof only11b), 0);
}

TEST_F(ManualAdapterTest, SurveyCountAboveTheRoomIsCut) {
    std::vector<SurveyRecordFields> records(maxSurveyEntries);
    for (int i = 0; i < maxSurveyEntries; ++i) {
        records[static_cast<size_t>(i)].signal = i;
    }
    driver.update([&](DriverAnswers& a) {
        a.surveyRecords = RecordingDriver::surveyBlock(records);
        a.surveyCount = 300;
    });

    adapter.startSurvey();

    const std::vector<BssEntry> entries = adapter.surveyResult();
    ASSERT_EQ(entries.size(), static_cast<size_t>(maxSurveyEntries));
    EXPECT_EQ(entries[254].signal, 254);
}

TEST_F(ManualAdapterTest, EmptyOrNegativeSurveyCountLeavesAnEmptyList) {
    for (const int count : {0, -1}) {
        SCOPED_TRACE(count);
        SurveyRecordFields fields;
        fields.ssid = "Ghost";
        driver.update([&](DriverAnswers& a) {
            a.surveyRecords = RecordingDriver::surveyBlock({fields});
            a.surveyCount = 1;
        });
        adapter.startSurvey();
        ASSERT_EQ(adapter.surveyResult().size(), 1u);

        driver.update([count](DriverAnswers& a) { a.surveyCount = count; });
        adapter.startSurvey();

        EXPECT_TRUE(adapter.surveyResult().empty()) << "the records past the count are not read";
    }
}

TEST_F(ManualAdapterTest, SurveyListenerFiresOnceBeforeStartSurveyReturns) {
    driver.update([](DriverAnswers& a) {
        a.surveyRecords = RecordingDriver::surveyBlock({SurveyRecordFields{.ssid = "Cafe"}});
        a.surveyCount = 1;
    });
    int calls = 0;
    size_t seen = 0;
    adapter.setSurveyListener([&] {
        ++calls;
        seen = adapter.surveyResult().size();
        EXPECT_FALSE(adapter.surveyRunning()) << "a listener may start the next survey at once";
    });

    adapter.startSurvey();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, 1u);

    adapter.startSurvey();
    EXPECT_EQ(calls, 2);

    adapter.setSurveyListener(nullptr);
    adapter.startSurvey();
    EXPECT_EQ(calls, 2);
}

TEST_F(ManualAdapterTest, NoSurveyBeforeTheFirstOne) {
    EXPECT_TRUE(adapter.surveyResult().empty());
    EXPECT_FALSE(adapter.surveyRunning());
}

// A backend in the program's own terms, for what the driver library cannot show: a scan the
// adapter refuses, a backend that hands back more networks than a list holds.
class StubBackend : public AdapterBackend {
public:
    bool scanAccepted = true;
    std::vector<BssEntry> networks;
    int collected = 0;

    std::string name() const override { return "stub"; }
    bool probe() override { return true; }
    bool start() override { return true; }
    bool unplugged() override { return false; }
    void stop() override {}
    AdapterInfo readAdapterInfo() override { return {}; }
    void readLink(LinkStatus&, TrafficReading&) override {}
    bool requestScan() override { return scanAccepted; }
    std::vector<BssEntry> collectScan() override {
        ++collected;
        return networks;
    }
    void apply(const StationSettings&) override {}
    void readBack(StationSettings&) override {}
    int channelPlan() override { return 0; }
    void setChannelPlan(int) override {}
    bool systemServiceManages() override { return false; }
    int32_t systemServiceState() override { return 0; }
    void openSystemSettings() override {}
};

TEST(SurveyOverAnyBackend, ARefusedScanEndsTheSurveyEmptyAndStillTellsTheListener) {
    const auto backend = std::make_shared<StubBackend>();
    backend->networks.resize(2);
    WirelessAdapter adapter(backend, WirelessAdapter::Monitor::Manual);
    int listened = 0;
    adapter.setSurveyListener([&] { ++listened; });
    adapter.startSurvey();
    ASSERT_EQ(adapter.surveyResult().size(), 2u);

    backend->scanAccepted = false;
    EXPECT_TRUE(adapter.startSurvey());

    EXPECT_EQ(backend->collected, 1) << "nothing to collect after a refusal";
    EXPECT_TRUE(adapter.surveyResult().empty());
    EXPECT_FALSE(adapter.surveyRunning());
    EXPECT_EQ(listened, 2);
}

TEST(SurveyOverAnyBackend, MoreNetworksThanAListHoldsAreCut) {
    const auto backend = std::make_shared<StubBackend>();
    backend->networks.resize(maxSurveyEntries + 10);
    backend->networks[maxSurveyEntries - 1].signal = 77;
    WirelessAdapter adapter(backend, WirelessAdapter::Monitor::Manual);

    adapter.startSurvey();

    const std::vector<BssEntry> entries = adapter.surveyResult();
    ASSERT_EQ(entries.size(), static_cast<size_t>(maxSurveyEntries));
    EXPECT_EQ(entries.back().signal, 77);
}

// --- The system's wireless configuration service ---

TEST_F(ManualAdapterTest, MonitorCycleCachesTheServiceState) {
    EXPECT_FALSE(adapter.systemServiceManages());
    EXPECT_EQ(adapter.systemServiceState(), 0);

    struct Case {
        int flag;
        int service;
        bool manages;
    };
    for (const Case c : {Case{1, 4, true}, Case{0, 9, false}, Case{2, -1, false}}) {
        SCOPED_TRACE(c.flag);
        driver.update([&c](DriverAnswers& a) {
            a.wzcControlFlag = c.flag;
            a.wzcService = c.service;
        });
        adapter.runMonitorCycle();
        driver.clearCalls();

        EXPECT_EQ(adapter.systemServiceManages(), c.manages);
        EXPECT_EQ(adapter.systemServiceState(), c.service);
        EXPECT_TRUE(driver.calls().empty()) << "reads answer from the cycle's snapshot";
    }
}

TEST_F(ManualAdapterTest, OpeningTheSystemSettingsCallsTheDriverOnce) {
    bringUp();

    adapter.openSystemSettings();

    EXPECT_EQ(driver.calls(), names({"API_ActiveWZCUI"}));
}

// The backend's named methods, each with the driver calls it stands for.
struct NamedCallCase {
    const char* what;
    std::function<void(AdapterBackend&)> call;
    std::vector<std::string> expectedCalls;
};

TEST(DriverLibraryBackend, NamedMethodsMakeTheirDriverCalls) {
    const auto driver = std::make_shared<RecordingDriver>();
    driver->update([](DriverAnswers& a) {
        a.wzcControlFlag = 1;
        a.wzcService = 9;
        a.channelPlan = 42;
    });
    const std::shared_ptr<AdapterBackend> backend = backendOver(driver);
    const NamedCallCase cases[] = {
        {"probe", [](AdapterBackend& b) { EXPECT_TRUE(b.probe()); }, {"API_GetHardwareID"}},
        {"start", [](AdapterBackend& b) { EXPECT_TRUE(b.start()); }, {"API_Initialize", "API_IsUnplug"}},
        {"unplugged", [](AdapterBackend& b) { EXPECT_FALSE(b.unplugged()); }, {"API_IsUnplug"}},
        {"stop", [](AdapterBackend& b) { b.stop(); }, {"API_Stop"}},
        {"request scan", [](AdapterBackend& b) { EXPECT_TRUE(b.requestScan()); }, {}},
        {"collect scan", [](AdapterBackend& b) { EXPECT_TRUE(b.collectScan().empty()); }, {"API_SiteSurvey"}},
        {"channel plan",
         [](AdapterBackend& b) { EXPECT_EQ(b.channelPlan(), 42); },
         {"API_GetChannelPlanByCountry"}},
        {"set channel plan",
         [](AdapterBackend& b) { b.setChannelPlan(6); },
         {"API_SetChannelPlanByCountry 6"}},
        {"service manages",
         [](AdapterBackend& b) { EXPECT_TRUE(b.systemServiceManages()); },
         {"API_GetWZCControlFlag"}},
        {"service state",
         [](AdapterBackend& b) { EXPECT_EQ(b.systemServiceState(), 9); },
         {"API_GetWZCService"}},
        {"open settings", [](AdapterBackend& b) { b.openSystemSettings(); }, {"API_ActiveWZCUI"}},
    };
    for (const NamedCallCase& c : cases) {
        SCOPED_TRACE(c.what);
        driver->clearCalls();

        c.call(*backend);

        EXPECT_EQ(driver->calls(), c.expectedCalls);
    }
}

TEST(DriverLibraryBackend, StartFailsWhenTheDriverDoesNotComeUpOrIsGoneAtOnce) {
    struct Case {
        int initialize, unplug;
        bool started;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1, 0, true, {"API_Initialize", "API_IsUnplug"}},
        {0, 0, false, {"API_Initialize"}},
        {2, 0, false, {"API_Initialize"}},
        {1, 1, false, {"API_Initialize", "API_IsUnplug"}},
    };
    const auto driver = std::make_shared<RecordingDriver>();
    const std::shared_ptr<AdapterBackend> backend = backendOver(driver);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.initialize << " " << c.unplug);
        driver->update([&c](DriverAnswers& a) {
            a.initializeResult = c.initialize;
            a.unplugResult = c.unplug;
        });
        driver->clearCalls();

        EXPECT_EQ(backend->start(), c.started);
        EXPECT_EQ(driver->calls(), c.calls);
    }
}

} // namespace
