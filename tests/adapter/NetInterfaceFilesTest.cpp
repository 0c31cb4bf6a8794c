#include "adapter/NetInterfaceFiles.h"
#include "FakeNetTree.h"

#include <gtest/gtest.h>

#include <array>

namespace {

class NetInterfaceFilesTest : public ::testing::Test {
protected:
    NetInterfaceFiles files() const {
        return NetInterfaceFiles({tree.sysClassNet(), tree.proc(), tree.resolvConf()});
    }
    FakeNetTree tree;
};

TEST_F(NetInterfaceFilesTest, WirelessInterfacesAreThoseWithARadio) {
    tree.addInterface("eth0", false);
    tree.addInterface("wlp2s0", true);
    tree.addInterface("wlan1", false);
    std::filesystem::create_directories(tree.sysClassNet() + "/wlan1/wireless"); // wireless extensions only
    EXPECT_EQ(files().wirelessInterfaces(), (std::vector<std::string>{"wlan1", "wlp2s0"}));
    EXPECT_FALSE(files().isWireless("eth0"));
    EXPECT_TRUE(files().exists("eth0"));
    EXPECT_FALSE(files().exists("wlan9"));
    // A name is one component of the path, never a way out of the tree.
    EXPECT_FALSE(files().exists(".."));
    EXPECT_FALSE(files().exists("../net"));
    EXPECT_FALSE(files().exists(""));
    EXPECT_TRUE(NetInterfaceFiles({tree.root() + "/nowhere", "", ""}).wirelessInterfaces().empty());
}

TEST_F(NetInterfaceFilesTest, AdapterInformationComesFromTheDeviceAndItsDriver) {
    tree.addInterface("wlan0", true, "a4:5e:60:0b:1c:ff");
    EXPECT_EQ(files().macAddress("wlan0"),
              (std::array<unsigned char, 6>{0xa4, 0x5e, 0x60, 0x0b, 0x1c, 0xff}));
    // Without a device: no driver; the kernel's release stands for the version.
    EXPECT_EQ(files().driverName("wlan0"), "");
    EXPECT_EQ(files().driverVersion("wlan0"), "6.1.0-test-amd64");
    EXPECT_EQ(files().hardwareId("wlan0"), "");

    tree.addDevice("wlan0", "iwlwifi", "");
    EXPECT_EQ(files().driverName("wlan0"), "iwlwifi");
    EXPECT_EQ(files().driverVersion("wlan0"), "6.1.0-test-amd64"); // a module without a version
    EXPECT_EQ(files().hardwareId("wlan0"), "8086:2723");
    EXPECT_EQ(files().hardwareRevision("wlan0"), "0x1a");
    FakeNetTree::write(tree.root() + "/module/iwlwifi/version", "2.3.4-k\n");
    EXPECT_EQ(files().driverVersion("wlan0"), "2.3.4-k");

    for (const char* bad : {"a4:5e:60:0b:1c", "zz:5e:60:0b:1c:ff", "a4-5e-60-0b-1c-ff", ""}) {
        FakeNetTree::write(tree.sysClassNet() + "/wlan0/address", std::string(bad) + "\n");
        EXPECT_FALSE(files().macAddress("wlan0")) << bad;
    }
}

TEST_F(NetInterfaceFilesTest, CountersReadWholeNumbersOrZero) {
    tree.addInterface("wlan0", true);
    tree.setCounter("wlan0", "rx_bytes", "18446744073709551615");
    tree.setCounter("wlan0", "tx_bytes", "12x");
    EXPECT_EQ(files().counter("wlan0", "rx_bytes"), 18446744073709551615ull);
    EXPECT_EQ(files().counter("wlan0", "tx_bytes"), 0u);
    EXPECT_EQ(files().counter("wlan0", "tx_packets"), 0u);
}

TEST_F(NetInterfaceFilesTest, RadioIsBlockedBySoftOrHardSwitch) {
    tree.addInterface("wlan0", true);
    EXPECT_FALSE(files().radioBlocked("wlan0"));
    tree.setRfkill("wlan0", "0", "0");
    EXPECT_FALSE(files().radioBlocked("wlan0"));
    tree.setRfkill("wlan0", "1", "0");
    EXPECT_TRUE(files().radioBlocked("wlan0"));
    tree.setRfkill("wlan0", "0", "1");
    EXPECT_TRUE(files().radioBlocked("wlan0"));
}

TEST_F(NetInterfaceFilesTest, GatewayAndNameServer) {
    FakeNetTree::write(tree.proc() + "/net/route",
                       "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                       "eth0\t00000000\t0100000A\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                       "wlan0\t0001A8C0\t00000000\t0001\t0\t0\t600\t00FFFFFF\t0\t0\t0\n"
                       "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n");
    EXPECT_EQ(files().gateway("wlan0"), "192.168.1.1");
    EXPECT_EQ(files().gateway("eth0"), "10.0.0.1");
    EXPECT_EQ(files().gateway("wlan1"), "");

    EXPECT_EQ(files().nameServer(), "");
    FakeNetTree::write(tree.resolvConf(),
                       "# generated\nsearch example.org\nnameserver 192.168.1.53\nnameserver 9.9.9.9\n");
    EXPECT_EQ(files().nameServer(), "192.168.1.53");
}

} // namespace
