#include "RecordingDriver.h"
#include "WirelessAdapter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Polls until the condition holds or the (generous) deadline passes.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds deadline = 5000ms) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

bool absent(WirelessAdapter& adapter) {
    int32_t flag = 0;
    adapter.IsDriverAbsent(flag);
    return flag == 1;
}

TEST(MonitorThread, NoticesUnpluggingOnItsNextCycle) {
    RecordingDriver driver;
    WirelessAdapter adapter(driver); // the real one-second cycle
    ASSERT_TRUE(eventually([&] { return !absent(adapter); }));

    driver.update([](DriverAnswers& a) {
        a.unplugResult = 1;
        a.adapterPresent = 0;
    });
    const auto unplugged = std::chrono::steady_clock::now();
    ASSERT_TRUE(eventually([&] { return absent(adapter); }));

    // about one cycle period; the bound leaves room for a loaded machine
    EXPECT_LT(std::chrono::steady_clock::now() - unplugged, 3000ms);
    EXPECT_EQ(driver.countCalls("API_Stop"), 1u);
}

TEST(MonitorThread, DestructionWaitsForTheRunningCycleAndReturnsPromptly) {
    RecordingDriver driver;
    std::mutex mutex;
    std::condition_variable signal;
    bool inCycle = false;
    driver.setCallHook([&](const std::string& line) {
        if (line == "API_GetStatistics") {
            {
                std::lock_guard<std::mutex> guard(mutex);
                inCycle = true;
            }
            signal.notify_all();
            std::this_thread::sleep_for(300ms); // a slow driver call in the middle of the cycle
        }
    });
    auto adapter = std::make_unique<WirelessAdapter>(driver);
    {
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(signal.wait_for(lock, 5s, [&] { return inCycle; }));
    }

    const auto start = std::chrono::steady_clock::now();
    adapter.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, 2000ms);
    // the cycle ran to its end and nothing touched the driver after destruction
    const std::vector<std::string> calls = driver.calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "API_GetWirelessMode");
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(driver.calls().size(), calls.size());
}

TEST(MonitorThread, AppliesFromAnotherThreadNeverInterleaveWithACycle) {
    RecordingDriver driver;
    WirelessAdapter adapter(driver, WirelessAdapter::Monitor::Start, 1ms);
    ASSERT_TRUE(eventually([&] { return !absent(adapter); }));

    StationConfig record{};
    record.NetworkType = 1;
    copyText(record.cSSID, "Busy");
    for (int i = 0; i < 40; ++i) {
        adapter.AccessSettings(0, record);
        LinkStatus status{};
        adapter.GetLinkStatus(status);
        StationConfig readBack{};
        adapter.AccessSettings(1, readBack);
        std::array<BssEntry, maxSurveyEntries> entries{};
        adapter.GetSurveyList(entries);
    }

    // each apply is one unbroken run from the network type to the SSID
    const std::vector<std::string> names = driver.callNames();
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
    EXPECT_EQ(applies, 40);
}

} // namespace
