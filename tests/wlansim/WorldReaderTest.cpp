// The world file reader, the saved driver settings and the quoting they share.
#include "wlansim/DriverSettings.h"
#include "wlansim/TextEscape.h"
#include "wlansim/World.h"

#include <gtest/gtest.h>

#include <set>

using namespace wlansim;

namespace {

Network onlyNetwork(const std::string& lines) {
    World world = parseWorld("[network n]\n" + lines);
    EXPECT_EQ(world.networks.size(), 1u);
    return world.networks.empty() ? Network{} : world.networks[0];
}

TEST(WorldReader, ReadsEveryNetworkKey) {
    Network n =
        onlyNetwork("SSID = Corner Cafe \r\nBSSID=0a:1B:2c:3D:4e:5F\nChannel=157\nBand=g\nType=softap\n"
                    "Security=WPA2-PSK\nCipher=tkip\nKey=pass phrase\nSignal=33\nQuality=21\n"
                    "TxKbps=100\nRxKbps=2000\n");
    EXPECT_EQ(n.ssid, "Corner Cafe");
    EXPECT_EQ(n.bssid, (Mac{0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}));
    EXPECT_EQ(n.channel, 157);
    EXPECT_EQ(n.band, Band::A) << "a 5 GHz channel is always 11a";
    EXPECT_EQ(n.kind, NetworkKind::SoftAp);
    EXPECT_EQ(n.security, Security::Wpa2Psk);
    EXPECT_EQ(n.cipher, Cipher::Tkip);
    EXPECT_EQ(n.key, "pass phrase");
    EXPECT_EQ(n.signal, 33);
    EXPECT_EQ(n.linkQuality(), 21);
    EXPECT_EQ(n.txKbps, 100);
    EXPECT_EQ(n.rxKbps, 2000);
}

TEST(WorldReader, MalformedValuesKeepTheirDefaults) {
    const Network defaults = onlyNetwork("");
    const char* const lines[] = {
        "Signal=101",
        "Signal=-1",
        "Signal=5x",
        "Signal=",
        "Signal=99999999999",
        "Channel=15",
        "Channel=0",
        "Channel=abc",
        "BSSID=00:11:22:33:44",
        "BSSID=00-11-22-33-44-55",
        "BSSID=0g:11:22:33:44:55",
        "Band=n",
        "Type=mesh",
        "Security=wpa3",
        "Cipher=ccmp",
        "TxKbps=-5",
        "RxKbps=1e3",
        "Quality=200",
        "SSID=123456789012345678901234567890123",
        "Key=12345678901234567890123456789012345678901234567890123456789012345",
        "no equals sign",
        "=value without key",
        "[unterminated section",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        Network n = onlyNetwork(std::string(line) + "\n");
        EXPECT_EQ(n.ssid, defaults.ssid);
        EXPECT_EQ(n.bssid, defaults.bssid);
        EXPECT_EQ(n.channel, defaults.channel);
        EXPECT_EQ(n.band, defaults.band);
        EXPECT_EQ(n.kind, defaults.kind);
        EXPECT_EQ(n.security, defaults.security);
        EXPECT_EQ(n.cipher, defaults.cipher);
        EXPECT_EQ(n.key, defaults.key);
        EXPECT_EQ(n.signal, defaults.signal);
        EXPECT_EQ(n.linkQuality(), defaults.linkQuality());
        EXPECT_EQ(n.txKbps, defaults.txKbps);
        EXPECT_EQ(n.rxKbps, defaults.rxKbps);
    }
}

TEST(WorldReader, SectionsAndDefaults) {
    World world =
        parseWorld("; comment\n# comment\nPresent=0\n[ADAPTER]\npresent=0\nmac=00:00:00:00:00:01\n"
                   "[unknown]\nSignal=1\n[network   Two Words  ]\n[network ]\n[network b]\nChannel=36\n"
                   "[network c]\nBand=b\n[driver]\nType=adhoc\nSSID=Mine\nSecurity=wep\nKey=0123456789\n");
    EXPECT_FALSE(world.adapter.present);
    EXPECT_EQ(world.adapter.mac, (Mac{0, 0, 0, 0, 0, 1}));
    ASSERT_EQ(world.networks.size(), 3u) << "a network section without a name is no network";
    EXPECT_EQ(world.networks[0].name, "Two Words");
    EXPECT_EQ(world.networks[0].ssid, "Two Words") << "the SSID defaults to the name";
    EXPECT_NE(world.networks[0].bssid, world.networks[1].bssid) << "each network gets an address of its own";
    EXPECT_EQ(world.networks[1].band, Band::A);
    EXPECT_EQ(world.networks[2].band, Band::B);
    EXPECT_EQ(world.factory.kind, NetworkKind::AdHoc);
    EXPECT_EQ(world.factory.ssid, "Mine");

    DriverSettings factory = factorySettings(world);
    EXPECT_EQ(factory.networkType, 0);
    EXPECT_EQ(factory.encryption, 1);
    EXPECT_EQ(factory.wepKeys[0], "0123456789");
    EXPECT_EQ(factory.wepKeyBits, 64);
}

TEST(WorldReader, NetworkCountIsBounded) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "[network n" + std::to_string(i) + "]\n";
    EXPECT_EQ(parseWorld(text).networks.size(), maxNetworks);
}

// The delivered street: what the program shows out of the box.
TEST(WorldReader, DefaultWorldIsABelievableNeighbourhood) {
    const World& world = defaultWorld();
    ASSERT_GE(world.networks.size(), 8u);
    ASSERT_LE(world.networks.size(), 12u);
    std::set<Security> securities;
    std::set<Band> bands;
    std::set<std::string> ssids;
    bool adHoc = false, weak = false, sharedSsid = false;
    for (const Network& n : world.networks) {
        securities.insert(n.security);
        bands.insert(n.band == Band::A ? Band::A : Band::G);
        adHoc = adHoc || n.kind == NetworkKind::AdHoc;
        weak = weak || (n.signal > 0 && n.signal < 10);
        sharedSsid = sharedSsid || !ssids.insert(n.ssid).second;
    }
    EXPECT_EQ(securities.size(), 8u);
    EXPECT_EQ(bands.size(), 2u);
    EXPECT_TRUE(adHoc && weak && sharedSsid);

    const Network& home = world.networks[0];
    EXPECT_EQ(home.security, Security::Wpa2Psk);
    EXPECT_GT(home.txKbps, 0);
    EXPECT_GT(home.rxKbps, 0);
    EXPECT_EQ(world.factory.ssid, home.ssid);
    EXPECT_EQ(world.factory.security, home.security);
    EXPECT_EQ(world.factory.key, home.key);
}

TEST(DriverSettingsFile, RoundTripsEverySetting) {
    DriverSettings settings;
    settings.networkType = 0;
    settings.encryption = 3;
    settings.authentication = -7;
    settings.channelCode = 31;
    settings.ssid = std::string("odd \"ssid\"\n\x01\xff", 12);
    settings.wirelessMode = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -12};
    settings.wepKeys = {"0A", "", "=x", "\\"};
    settings.passphrase = "  spaced  ";
    settings.certificate = {"ABCDEF", "1234", "corp.example", "user"};
    EXPECT_EQ(parseSettings(serializeSettings(settings), DriverSettings{}), settings);
}

TEST(DriverSettingsFile, DamagedLinesKeepTheDefaults) {
    DriverSettings defaults;
    defaults.ssid = "Home";
    DriverSettings read = parseSettings("NetworkType=x\nSSID=\"unterminated\nWirelessMode=1,2\nChannel=\n"
                                        "SSID=no quotes\nTxRate=7\n",
                                        defaults);
    DriverSettings expected = defaults;
    expected.txRate = 7;
    EXPECT_EQ(read, expected);
}

TEST(TextEscape, QuotesAndUnquotesAnyBytes) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    EXPECT_EQ(unquoteText(quoteText(all)), all);
    EXPECT_EQ(quoteText("a\"b\\c\n\t\x7f"), "\"a\\\"b\\\\c\\n\\t\\177\"");
    for (const char* bad : {"", "\"", "noquotes", "\"a\"b\"", "\"\\\"", "\"\\9\"", "\"\\12\"", "\"\\777\""}) {
        EXPECT_EQ(unquoteText(bad), std::nullopt) << bad;
    }
}

} // namespace
