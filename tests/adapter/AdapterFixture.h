#pragma once

#include "adapter/DriverLibraryBackend.h"
#include "adapter/WirelessAdapter.h"
#include "support/RecordingDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The driver-library backend over a recording driver.
inline std::shared_ptr<AdapterBackend> backendOver(const std::shared_ptr<RecordingDriver>& driver) {
    return std::make_shared<DriverLibraryBackend>(driver);
}

// An adapter over the recording driver whose cycles the test runs by hand; requests and
// surveys run at once on the test's thread.
class ManualAdapterTest : public ::testing::Test {
protected:
    // One cycle that brings the driver up, then an empty log.
    void bringUp() {
        adapter.runMonitorCycle();
        ASSERT_FALSE(adapter.isDriverAbsent());
        driver.clearCalls();
    }

    std::shared_ptr<RecordingDriver> driverPointer = std::make_shared<RecordingDriver>();
    RecordingDriver& driver = *driverPointer;
    WirelessAdapter adapter{backendOver(driverPointer), WirelessAdapter::Monitor::Manual};
};

inline std::vector<std::string> names(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}
