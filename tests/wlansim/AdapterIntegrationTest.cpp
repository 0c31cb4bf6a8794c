// WirelessAdapter over the real simulated driver library: cycle by cycle, apply a WPA2-PSK
// configuration, see the link come up with traffic, pull the adapter out and plug it back in;
// and with its own threads, a slow survey beside the monitor cycle.
#include "adapter/DriverLibraryBackend.h"
#include "adapter/WirelessAdapter.h"
#include "model/CodeTables.h"
#include "model/Snapshots.h"
#include "model/StationConfig.h"
#include "wlansim/Channels.h"

#include "WorldFiles.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace std::chrono_literals;

namespace {

std::string world(const std::string& adapterLines, int surveyDelayMs = 0) {
    return "[adapter]\nSurveyDelayMs=" + std::to_string(surveyDelayMs) +
           "\nAssociationDelayMs=0\nJitter=0\n" + adapterLines +
           "[network home]\nSSID=HomeNet\nBSSID=00:1C:10:4E:82:01\nSecurity=wpa2-psk\nCipher=aes\n"
           "Key=home passphrase\nSignal=70\nTxKbps=800\nRxKbps=3200\nChannel=44\n"
           "[network cafe]\nSSID=Cafe\nChannel=1\nSignal=40\n";
}

class AdapterOverSimulatedDriver : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = worldfiles::freshFolder() + "/world.ini";
        ::unsetenv("WLANSIM_TRACE");
        ::setenv("WLANSIM_WORLD", m_path.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("WLANSIM_TRACE"); }

    std::string m_path;
};

TEST_F(AdapterOverSimulatedDriver, AssociatesCountsTrafficAndFollowsPlugging) {
    worldfiles::writeWorld(m_path, world("HardwareID=SIM-A\n"));

    WirelessAdapter adapter(makeDriverLibraryBackend(), WirelessAdapter::Monitor::Manual);
    adapter.runMonitorCycle();
    ASSERT_FALSE(adapter.isDriverAbsent());

    StationConfig config{};
    copyText(config.cSSID, "HomeNet");
    config.NetworkType = 1;
    config.AuthenticationMode = 7;
    config.EncryptionMode = 3;
    copyText(config.cWPAPassPhase, "home passphrase");
    config.TxRateAuto = 1;
    config.TxRate = 12;
    adapter.apply(config);

    LinkStatus status{};
    waitFor(
        [&] {
            adapter.runMonitorCycle();
            status = adapter.linkStatus();
            return status.counters.txDelta > 0 && status.counters.rxDelta > 0;
        },
        5s, 10ms);
    EXPECT_EQ(status.connected, 1);
    EXPECT_STREQ(status.ssid, "HomeNet");
    EXPECT_EQ(status.signalStrength, 70);
    EXPECT_GT(status.counters.txDelta, 0u);
    EXPECT_GT(status.counters.rxDelta, 0u);

    StationSettings readBack{};
    adapter.copyReadBack(readBack);
    EXPECT_STREQ(readBack.cSSID, "HomeNet");
    EXPECT_EQ(readBack.AuthenticationMode, 7);
    EXPECT_EQ(readBack.EncryptionMode, 3);
    EXPECT_EQ(readBack.Channel, 16) << "channel 44, the access point's, through both channel tables";

    worldfiles::writeWorld(m_path, world("Present=0\n"));
    adapter.runMonitorCycle();
    EXPECT_TRUE(adapter.isDriverAbsent());

    worldfiles::writeWorld(m_path, world("HardwareID=SIM-B\n"));
    adapter.runMonitorCycle();
    EXPECT_FALSE(adapter.isDriverAbsent());
    EXPECT_STREQ(adapter.adapterInfo().hardwareId, "SIM-B")
        << "the adapter information is read again after a re-plug";
}

TEST_F(AdapterOverSimulatedDriver, SurveyListsTheStreetOnItsChannels) {
    worldfiles::writeWorld(m_path, world(""));
    WirelessAdapter adapter(makeDriverLibraryBackend(), WirelessAdapter::Monitor::Manual);
    adapter.runMonitorCycle();

    ASSERT_TRUE(adapter.startSurvey());

    const std::vector<BssEntry> entries = adapter.surveyResult();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].ssid, "HomeNet");
    EXPECT_EQ(entries[0].channel, 16); // channel 44
    EXPECT_EQ(entries[0].authenticationMode, 7);
    EXPECT_STREQ(entries[1].ssid, "Cafe");
    EXPECT_EQ(entries[1].channel, 0); // channel 1
}

// The program and the simulated driver keep separate channel tables; they must agree on
// every channel, or a channel would be sent as one and read back as another.
TEST(ChannelTables, TheProgramAndTheSimulatedDriverAgreeOnEveryChannel) {
    for (int index = 0; index < codes::channelCount; ++index) {
        SCOPED_TRACE(index);
        const int number = codes::channelNumber(index);
        EXPECT_EQ(wlansim::driverCodeOfChannel(number), codes::channelIndexToCode(index));
        EXPECT_EQ(codes::channelIndexFromCode(codes::channelIndexToCode(index)), index);
        EXPECT_EQ(codes::surveyChannelIndex(codes::channelIndexToCode(index)), index);
    }
}

// The library's own call trace counts the monitor's cycles while the survey scans.
TEST_F(AdapterOverSimulatedDriver, ASlowSurveyDoesNotHoldUpTheMonitorCycle) {
    const std::string trace = m_path + ".trace";
    worldfiles::writeWorld(m_path, world("", 1500));
    ::setenv("WLANSIM_TRACE", trace.c_str(), 1);
    std::atomic<int> cyclesWhenDone{-1};
    const auto cyclesSinceSurvey = [&trace] {
        std::istringstream lines(worldfiles::readAll(trace));
        std::string line;
        int cycles = -1; // -1: the survey has not reached the library yet
        while (std::getline(lines, line)) {
            if (line.rfind("API_SiteSurvey", 0) == 0) {
                cycles = 0;
            } else if (cycles >= 0 && line.rfind("API_GetWirelessMode", 0) == 0) {
                ++cycles;
            }
        }
        return cycles;
    };
    // declared after what its survey listener uses, so that it ends first
    WirelessAdapter::Options options;
    options.cyclePeriod = 20ms;
    WirelessAdapter adapter(makeDriverLibraryBackend(), options);
    adapter.setSurveyListener([&] { cyclesWhenDone = cyclesSinceSurvey(); });
    ASSERT_TRUE(waitFor([&] { return !adapter.isDriverAbsent(); }));

    ASSERT_TRUE(adapter.startSurvey());
    waitFor([&] { return cyclesWhenDone >= 0; }, 10s);

    // 1.5 s of scanning leave room for dozens of 20 ms cycles; a few prove they went on
    EXPECT_GE(cyclesWhenDone.load(), 3);
    EXPECT_EQ(adapter.surveyResult().size(), 2u);
}

} // namespace
