// Destroying the adapter while a thread of its own is stuck in the driver. A process of its
// own: once a thread is left running, WirelessAdapter::threadsLeftRunning() stays true.
#include "AdapterFixture.h"
#include "support/CallGate.h"
#include "support/WaitFor.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

WirelessAdapter::Options quickStop() {
    WirelessAdapter::Options options;
    options.cyclePeriod = 10ms;
    options.stopWait = 100ms;
    return options;
}

TEST(AbandonedThread, DestructionGivesUpAfterTheStopWaitWhileACallHangs) {
    EXPECT_FALSE(WirelessAdapter::threadsLeftRunning());
    const auto driver = std::make_shared<RecordingDriver>();
    auto gate = std::make_shared<CallGate>("API_GetStatistics", 5s);
    driver->setCallHook([gate](const std::string& line) { gate->pass(line); });
    auto adapter = std::make_unique<WirelessAdapter>(backendOver(driver), quickStop());
    ASSERT_TRUE(gate->waitUntilHolding());

    const auto start = std::chrono::steady_clock::now();
    adapter.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(gate->holding()) << "destruction did not wait for the hung call";
    EXPECT_GE(elapsed, 100ms) << "it waited the stop wait first";
    EXPECT_TRUE(WirelessAdapter::threadsLeftRunning());

    // When the call returns, the thread ends its backend call and makes no other.
    gate->open();
    ASSERT_TRUE(gate->waitUntilEmpty());
    EXPECT_TRUE(waitFor([&] { return driver->calls().back() == "API_GetIPInfo"; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(driver->calls().back(), "API_GetIPInfo");
    EXPECT_EQ(driver->countCalls("API_GetWZCControlFlag"), 0u);
}

TEST(AbandonedThread, ASurveyStillScanningNeitherHoldsUpDestructionNorCallsTheListenerLater) {
    const auto driver = std::make_shared<RecordingDriver>();
    auto gate = std::make_shared<CallGate>("API_SiteSurvey", 5s);
    driver->setCallHook([gate](const std::string& line) { gate->pass(line); });
    auto adapter = std::make_unique<WirelessAdapter>(backendOver(driver), quickStop());
    auto listened = std::make_shared<std::atomic<int>>(0);
    adapter->setSurveyListener([listened] { ++*listened; });
    ASSERT_TRUE(adapter->startSurvey());
    ASSERT_TRUE(gate->waitUntilHolding());

    adapter.reset();

    EXPECT_TRUE(gate->holding());
    EXPECT_TRUE(WirelessAdapter::threadsLeftRunning());
    gate->open();
    ASSERT_TRUE(gate->waitUntilEmpty());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(listened->load(), 0) << "the listener's owner may be gone";
}

} // namespace
