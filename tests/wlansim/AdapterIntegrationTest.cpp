// WirelessAdapter over the real simulated driver library, cycle by cycle: apply a WPA2-PSK
// configuration, see the link come up with traffic, pull the adapter out and plug it back in.
#include "DriverApi.h"
#include "Snapshots.h"
#include "StationConfig.h"
#include "WirelessAdapter.h"

#include "WorldFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string world(const std::string& adapterLines) {
    return "[adapter]\nSurveyDelayMs=0\nAssociationDelayMs=0\nJitter=0\n" + adapterLines +
           "[network home]\nSSID=HomeNet\nBSSID=00:1C:10:4E:82:01\nSecurity=wpa2-psk\nCipher=aes\n"
           "Key=home passphrase\nSignal=70\nTxKbps=800\nRxKbps=3200\n";
}

TEST(AdapterOverSimulatedDriver, AssociatesCountsTrafficAndFollowsPlugging) {
    const std::string path = worldfiles::freshFolder() + "/world.ini";
    worldfiles::writeWorld(path, world("HardwareID=SIM-A\n"));
    ::setenv("WLANSIM_WORLD", path.c_str(), 1);

    LibraryDriver driver;
    WirelessAdapter adapter(driver, WirelessAdapter::Monitor::Manual);
    adapter.RunMonitorCycle();
    int32_t absent = -1;
    adapter.IsDriverAbsent(absent);
    ASSERT_EQ(absent, 0);

    StationConfig config{};
    copyText(config.cSSID, "HomeNet");
    config.NetworkType = 1;
    config.AuthenticationMode = 7;
    config.EncryptionMode = 3;
    copyText(config.cWPAPassPhase, "home passphrase");
    config.TxRateAuto = 1;
    config.TxRate = 12;
    adapter.AccessSettings(0, config);

    LinkStatus status{};
    for (int cycle = 0; cycle < 300; ++cycle) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        adapter.RunMonitorCycle();
        adapter.GetLinkStatus(status);
        if (status.counters.txDelta > 0 && status.counters.rxDelta > 0) {
            break;
        }
    }
    EXPECT_EQ(status.connected, 1);
    EXPECT_STREQ(status.ssid, "HomeNet");
    EXPECT_EQ(status.signalStrength, 70);
    EXPECT_GT(status.counters.txDelta, 0u);
    EXPECT_GT(status.counters.rxDelta, 0u);

    StationSettings readBack{};
    adapter.AccessSettings(1, readBack);
    EXPECT_STREQ(readBack.cSSID, "HomeNet");
    EXPECT_EQ(readBack.AuthenticationMode, 7);
    EXPECT_EQ(readBack.EncryptionMode, 3);

    worldfiles::writeWorld(path, world("Present=0\n"));
    adapter.RunMonitorCycle();
    adapter.IsDriverAbsent(absent);
    EXPECT_EQ(absent, 1);

    worldfiles::writeWorld(path, world("HardwareID=SIM-B\n"));
    adapter.RunMonitorCycle();
    adapter.IsDriverAbsent(absent);
    EXPECT_EQ(absent, 0);
    AdapterInfo info{};
    adapter.GetAdapterInfo(info);
    EXPECT_STREQ(info.hardwareId, "SIM-B") << "the adapter information is read again after a re-plug";
}

} // namespace
