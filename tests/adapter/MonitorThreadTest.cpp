// The adapter's real threads: the monitor cycle, the survey thread and the request queue.
#include "AdapterFixture.h"
#include "support/CallGate.h"
#include "support/WaitFor.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace {

WirelessAdapter::Options fastCycles(std::chrono::milliseconds period = 10ms) {
    WirelessAdapter::Options options;
    options.cyclePeriod = period;
    return options;
}

void installGate(RecordingDriver& driver, const std::shared_ptr<CallGate>& gate) {
    driver.setCallHook([gate](const std::string& line) { gate->pass(line); });
}

StationSettings recordNamed(const char* ssid) {
    StationSettings record{};
    record.NetworkType = 1;
    copyText(record.cSSID, ssid);
    return record;
}

std::vector<std::string> withoutSurveys(std::vector<std::string> names) {
    std::erase(names, "API_SiteSurvey");
    return names;
}

TEST(MonitorThread, NoticesUnpluggingOnItsNextCycle) {
    const auto driver = std::make_shared<RecordingDriver>();
    WirelessAdapter adapter(backendOver(driver)); // the real one-second cycle
    ASSERT_TRUE(waitFor([&] { return !adapter.isDriverAbsent(); }));

    driver->update([](DriverAnswers& a) {
        a.unplugResult = 1;
        a.adapterPresent = 0;
    });
    const auto unplugged = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor([&] { return adapter.isDriverAbsent(); }));

    // about one cycle period; the bound leaves room for a loaded machine
    EXPECT_LT(std::chrono::steady_clock::now() - unplugged, 3000ms);
    EXPECT_EQ(driver->countCalls("API_Stop"), 1u);
}

TEST(MonitorThread, DestructionWaitsForTheRunningCycleAndReturnsPromptly) {
    const auto driver = std::make_shared<RecordingDriver>();
    std::mutex mutex;
    std::condition_variable signal;
    bool inCycle = false;
    driver->setCallHook([&](const std::string& line) {
        if (line == "API_GetStatistics") {
            {
                std::lock_guard<std::mutex> guard(mutex);
                inCycle = true;
            }
            signal.notify_all();
            std::this_thread::sleep_for(300ms); // a slow driver call in the middle of the cycle
        }
    });
    auto adapter = std::make_unique<WirelessAdapter>(backendOver(driver));
    {
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(signal.wait_for(lock, 5s, [&] { return inCycle; }));
    }

    const auto start = std::chrono::steady_clock::now();
    adapter.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, 2000ms);
    EXPECT_FALSE(WirelessAdapter::threadsLeftRunning());
    // the cycle ran to its end and nothing touched the driver after destruction
    const std::vector<std::string> calls = driver->calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "API_GetWirelessMode");
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(driver->calls().size(), calls.size());
    driver->setCallHook(nullptr);
}

TEST(MonitorThread, AppliesFromAnotherThreadNeverInterleaveWithACycle) {
    const auto driver = std::make_shared<RecordingDriver>();
    WirelessAdapter adapter(backendOver(driver), fastCycles(1ms));
    ASSERT_TRUE(waitFor([&] { return !adapter.isDriverAbsent(); }));

    const StationSettings busy = recordNamed("Busy");
    for (int i = 0; i < 40; ++i) {
        adapter.apply(busy);
        (void)adapter.linkStatus();
        StationConfig readBack{};
        adapter.copyReadBack(readBack);
        adapter.startSurvey();
        std::this_thread::sleep_for(1ms);
    }
    adapter.apply(recordNamed("Last"));
    ASSERT_TRUE(waitFor([&] {
        return driver->countCalls("API_SetSSID") > 0 &&
               driver->callsNamed("API_SetSSID").back() == "API_SetSSID \"Last\"";
    }));

    // each apply is one unbroken run from the network type to the SSID; only the survey,
    // which runs beside the cycle, may come in between
    const std::vector<std::string> names = withoutSurveys(driver->callNames());
    int applies = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != "API_SetNetworkType") {
            continue;
        }
        ++applies;
        ASSERT_LT(i + 15, names.size());
        for (size_t j = i; j < i + 15; ++j) {
            EXPECT_EQ(names[j].rfind("API_Set", 0), 0u) << names[j];
        }
        EXPECT_EQ(names[i + 15], "API_SetSSID");
    }
    EXPECT_GE(applies, 2);
    EXPECT_GE(driver->countCalls("API_SiteSurvey"), 1u);
}

TEST(MonitorThread, RequestsAreCarriedOutByTheMonitorThreadAtOnceAndInOrder) {
    const auto driver = std::make_shared<RecordingDriver>();
    std::mutex mutex;
    std::set<std::thread::id> callers;
    driver->setCallHook([&](const std::string&) {
        std::lock_guard<std::mutex> guard(mutex);
        callers.insert(std::this_thread::get_id());
    });
    // one cycle at the start and the next in an hour: whatever happens now is the requests'
    WirelessAdapter adapter(backendOver(driver), fastCycles(std::chrono::hours(1)));
    ASSERT_TRUE(waitFor([&] { return driver->countCalls("API_GetWirelessMode") == 1; }));
    driver->clearCalls();

    adapter.apply(recordNamed("First"));
    adapter.setChannelPlan(5);
    adapter.openSystemSettings();
    adapter.apply(recordNamed("Second"));

    const auto applyOf = [](const char* ssid) {
        return std::vector<std::string>{"API_SetNetworkType 1",
                                        "API_SetEncryptionMode 0",
                                        "API_SetAuthenticationMode 0",
                                        "API_SetWEPKey 0 0 \"\"",
                                        "API_SetWEPKey 1 0 \"\"",
                                        "API_SetWEPKey 2 0 \"\"",
                                        "API_SetWEPKey 3 0 \"\"",
                                        "API_SetDefaultKeyID 0",
                                        "API_SetPreambleMode 0",
                                        "API_SetFragmentationThreshold 0",
                                        "API_SetWirelessMode 0,0,0,0,0,0,0,0,0,0,0,0",
                                        "API_SetTxRate 0 0",
                                        "API_SetRTSThreshold 0",
                                        "API_SetPowerSaveMode 0",
                                        "API_SetBeaconInterval 0",
                                        std::string("API_SetSSID \"") + ssid + "\""};
    };
    std::vector<std::string> expected = applyOf("First");
    expected.insert(expected.end(), {"API_SetChannelPlanByCountry 5", "API_ActiveWZCUI"});
    const std::vector<std::string> second = applyOf("Second");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_TRUE(waitFor([&] { return driver->calls().size() >= expected.size(); }));
    EXPECT_EQ(driver->calls(), expected);

    std::lock_guard<std::mutex> guard(mutex);
    EXPECT_EQ(callers.count(std::this_thread::get_id()), 0u) << "requests return before the driver is called";
    EXPECT_EQ(callers.size(), 1u) << "one monitor thread makes every call";
}

TEST(MonitorThread, AnApplyQueuedBehindABusyBackendKeepsOnlyTheLatest) {
    const auto driver = std::make_shared<RecordingDriver>();
    auto gate = std::make_shared<CallGate>("API_SetChannelPlanByCountry");
    installGate(*driver, gate);
    WirelessAdapter adapter(backendOver(driver), fastCycles(std::chrono::hours(1)));
    ASSERT_TRUE(waitFor([&] { return driver->countCalls("API_GetWirelessMode") == 1; }));

    adapter.setChannelPlan(2);
    ASSERT_TRUE(gate->waitUntilHolding());
    adapter.apply(recordNamed("One"));
    adapter.apply(recordNamed("Two"));
    adapter.apply(recordNamed("Three"));
    gate->open();

    EXPECT_TRUE(waitFor([&] { return driver->countCalls("API_SetSSID") == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(driver->callsNamed("API_SetSSID"), names({"API_SetSSID \"Three\""}));
    EXPECT_EQ(driver->countCalls("API_SetNetworkType"), 1u);
}

TEST(MonitorThread, CyclesGoOnWhileASurveyRunsAndASecondSurveyIsRefused) {
    const auto driver = std::make_shared<RecordingDriver>();
    driver->update([](DriverAnswers& a) {
        a.surveyRecords = RecordingDriver::surveyBlock({SurveyRecordFields{.ssid = "Cafe"}});
        a.surveyCount = 1;
    });
    auto gate = std::make_shared<CallGate>("API_SiteSurvey");
    installGate(*driver, gate);
    std::atomic<int> listened{0}; // outlives the adapter, whose survey thread uses it
    WirelessAdapter adapter(backendOver(driver), fastCycles());
    adapter.setSurveyListener([&] { ++listened; });
    ASSERT_TRUE(waitFor([&] { return !adapter.isDriverAbsent(); }));

    ASSERT_TRUE(adapter.startSurvey());
    ASSERT_TRUE(gate->waitUntilHolding());
    EXPECT_TRUE(adapter.surveyRunning());
    EXPECT_FALSE(adapter.startSurvey());

    // whole cycles, read-back included, while the adapter scans
    const size_t cyclesBefore = driver->countCalls("API_GetWirelessMode");
    EXPECT_TRUE(waitFor([&] { return driver->countCalls("API_GetWirelessMode") >= cyclesBefore + 3; }));
    EXPECT_TRUE(gate->holding());
    EXPECT_TRUE(adapter.surveyRunning());
    EXPECT_EQ(listened.load(), 0);
    EXPECT_FALSE(adapter.isDriverAbsent()) << "a scan is no hang";

    gate->open();
    ASSERT_TRUE(waitFor([&] { return !adapter.surveyRunning(); }));
    EXPECT_TRUE(waitFor([&] { return listened.load() == 1; }));
    ASSERT_EQ(adapter.surveyResult().size(), 1u);
    EXPECT_STREQ(adapter.surveyResult()[0].ssid, "Cafe");
    EXPECT_EQ(driver->countCalls("API_SiteSurvey"), 1u);
}

TEST(MonitorThread, SurveyListenerFiresOncePerSurveyOnTheSurveyThread) {
    const auto driver = std::make_shared<RecordingDriver>();
    // the listener's state outlives the adapter, whose survey thread uses it
    std::mutex mutex;
    std::condition_variable ended;
    int calls = 0;
    std::set<std::thread::id> threads;
    WirelessAdapter adapter(backendOver(driver), fastCycles());
    adapter.setSurveyListener([&] {
        {
            std::lock_guard<std::mutex> guard(mutex);
            ++calls;
            threads.insert(std::this_thread::get_id());
        }
        ended.notify_all();
    });

    for (int survey = 1; survey <= 3; ++survey) {
        SCOPED_TRACE(survey);
        driver->update([survey](DriverAnswers& a) {
            a.surveyRecords = RecordingDriver::surveyBlock(std::vector<SurveyRecordFields>(size_t(survey)));
            a.surveyCount = survey;
        });
        ASSERT_TRUE(adapter.startSurvey());
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(ended.wait_for(lock, 5s, [&] { return calls == survey; }));
        lock.unlock();
        EXPECT_EQ(adapter.surveyResult().size(), size_t(survey));
    }
    std::this_thread::sleep_for(50ms);

    std::lock_guard<std::mutex> guard(mutex);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

// A driver call that hangs: the window's side goes on, and learns that the adapter is stuck.
TEST(MonitorThread, WhileADriverCallHangsReadsAndRequestsReturnAtOnce) {
    const auto driver = std::make_shared<RecordingDriver>();
    auto gate = std::make_shared<CallGate>("API_GetStatistics", 5s);
    installGate(*driver, gate);
    WirelessAdapter::Options options = fastCycles();
    options.hangLimit = 200ms;
    WirelessAdapter adapter(backendOver(driver), options);
    ASSERT_TRUE(gate->waitUntilHolding());

    // the reads, a request and a survey, all while the call is held
    (void)adapter.isDriverAbsent();
    (void)adapter.adapterInfo();
    const LinkStatus link = adapter.linkStatus();
    StationConfig readBack{};
    adapter.copyReadBack(readBack);
    (void)adapter.channelPlanCode();
    (void)adapter.systemServiceManages();
    (void)adapter.systemServiceState();
    (void)adapter.surveyResult();
    adapter.apply(recordNamed("Queued"));
    EXPECT_TRUE(adapter.startSurvey());
    EXPECT_TRUE(adapter.surveyRunning());
    EXPECT_TRUE(gate->holding()) << "none of them waited for the driver";
    EXPECT_EQ(link.linkMode, 1) << "the snapshot before the first cycle";

    EXPECT_TRUE(waitFor([&] { return adapter.isDriverAbsent(); }, 4s));
    EXPECT_TRUE(gate->holding());
    EXPECT_EQ(driver->countCalls("API_SetSSID"), 0u);

    gate->open();
    EXPECT_TRUE(waitFor([&] { return !adapter.isDriverAbsent(); }));
    EXPECT_TRUE(waitFor([&] { return driver->countCalls("API_SetSSID") == 1; }));
    EXPECT_TRUE(waitFor([&] { return !adapter.surveyRunning(); }));
}

} // namespace
