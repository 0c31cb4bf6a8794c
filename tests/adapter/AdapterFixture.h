#pragma once

#include "RecordingDriver.h"
#include "WirelessAdapter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// An adapter over the recording driver whose cycles the test runs by hand.
class ManualAdapterTest : public ::testing::Test {
protected:
    // One cycle that brings the driver up, then an empty log.
    void bringUp() {
        adapter.RunMonitorCycle();
        int32_t absent = -1;
        adapter.IsDriverAbsent(absent);
        ASSERT_EQ(absent, 0);
        driver.clearCalls();
    }

    RecordingDriver driver;
    WirelessAdapter adapter{driver, WirelessAdapter::Monitor::Manual};
};

inline std::vector<std::string> names(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}
