// The simulated driver library through its C functions, as the program uses it.
#include "adapter/wlandll.h"

#include "WorldFiles.h"
#include "support/HostileFiles.h"
#include "support/WaitFor.h"
#include "wlansim/FileAccess.h"
#include "wlansim/World.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using worldfiles::readAll;
using worldfiles::writeWorld;

namespace {

const std::string kAdapter = "[adapter]\nSurveyDelayMs=0\nAssociationDelayMs=0\nJitter=0\n"
                             "MAC=00:11:22:33:44:55\nHardwareID=SIM-1\n";

int32_t intAt(const unsigned char* block, std::size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | block[offset + std::size_t(i)];
    return int32_t(value);
}

uint64_t totalAt(const unsigned char* block, std::size_t offset) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | block[offset + std::size_t(i)];
    return value;
}

using Mac = std::array<unsigned char, 6>;

struct Link {
    int32_t state = -1, mode = -1;
    std::string ssid;
    Mac bssid{};
    int32_t signal = -1, quality = -1;
};

Link readLink() {
    Link link;
    char ssid[WLAN_LINK_SSID_BUFFER_SIZE];
    std::memset(ssid, 'x', sizeof ssid);
    API_GetStatusLinkInfo(&link.state, &link.mode, ssid, link.bssid.data());
    link.ssid = ssid;
    API_GetStatusSignalInfo(&link.signal, &link.quality);
    return link;
}

// A configuration in driver codes, applied in the order the program uses.
struct Apply {
    int networkType = 1;
    int encryption = 0;
    int authentication = 0;
    std::string wepKey;
    int wepBits = 64;
    std::string passphrase;
    std::string certificate;
    std::string ssid;
};

void apply(const Apply& config) {
    API_SetNetworkType(config.networkType);
    API_SetEncryptionMode(config.encryption);
    API_SetAuthenticationMode(config.authentication);
    int auth = config.authentication;
    if (auth == 4 || auth == 7) {
        API_SetWPAPSKKey(config.encryption, config.passphrase.c_str(), config.ssid.c_str());
    } else if (auth == 5) {
        API_SetWPANoneKey(config.encryption, config.passphrase.c_str(), config.ssid.c_str());
    } else if (auth == 3 || auth == 6 || auth == 8) {
        WlanCertificateBlock block{};
        std::strncpy(block.certificateName, config.certificate.c_str(), sizeof block.certificateName - 1);
        API_SetWPA(block);
    } else {
        for (int i = 0; i < 4; ++i)
            API_SetWEPKey(i, config.wepBits, config.wepKey.c_str());
        API_SetDefaultKeyID(0);
    }
    API_SetPreambleMode(1);
    API_SetSSID(config.ssid.c_str());
}

class DriverLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = worldfiles::freshFolder();
        m_world = m_folder + "/world.ini";
        ::unsetenv("WLANSIM_TRACE");
        ::setenv("WLANSIM_WORLD", m_world.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("WLANSIM_TRACE"); }

    void startWith(const std::string& networks) {
        writeWorld(m_world, kAdapter + networks);
        ASSERT_EQ(API_Initialize(), 1);
    }

    std::string m_folder;
    std::string m_world;
};

const std::string kSurveyWorld =
    "[network "
    "office]\nSSID=Office\nBSSID=00:AA:00:00:00:01\nChannel=40\nSecurity=wpa2\nCipher=aes\nSignal=55\n"
    "[network party]\nSSID=Party\nBSSID=02:AA:00:00:00:02\nChannel=14\nType=adhoc\nSecurity=wpa-none\n"
    "Cipher=tkip\nKey=partytime\nSignal=33\n"
    "[network lobby]\nSSID=Lobby\nBSSID=00:AA:00:00:00:03\nChannel=3\nBand=b\nType=softap\n"
    "Security=shared-wep\nKey=0123456789\nSignal=20\n"
    "[network gone]\nSSID=Gone\nSignal=0\n"
    "[network cafe]\nSSID=Cafe\nBSSID=00:AA:00:00:00:04\nChannel=165\nSecurity=open\nSignal=90\n";

TEST_F(DriverLibrary, SurveyRecordsHoldEachFieldAtItsOffset) {
    startWith(kSurveyWorld);
    std::vector<unsigned char> records(WLAN_SURVEY_MAX_RECORDS * WLAN_SURVEY_RECORD_SIZE, 0xEE);
    ASSERT_EQ(API_SiteSurvey(records.data()), 4); // the network out of range is not heard

    struct Expected {
        int type;
        const char* ssid;
        Mac bssid;
        int signal, channelCode, encryption, authentication, band;
    };
    const Expected expected[] = {
        {1, "Office", {0x00, 0xAA, 0, 0, 0, 1}, 55, 20, 3, 6, 2},
        {0, "Party", {0x02, 0xAA, 0, 0, 0, 2}, 33, 14, 2, 5, 1},
        {2, "Lobby", {0x00, 0xAA, 0, 0, 0, 3}, 20, 3, 1, 1, 0},
        {1, "Cafe", {0x00, 0xAA, 0, 0, 0, 4}, 90, 31, 0, 0, 2},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].ssid);
        const unsigned char* record = records.data() + i * WLAN_SURVEY_RECORD_SIZE;
        EXPECT_EQ(intAt(record, WLAN_SURVEY_TYPE_OFFSET), expected[i].type);
        EXPECT_STREQ(reinterpret_cast<const char*>(record + WLAN_SURVEY_SSID_OFFSET), expected[i].ssid);
        EXPECT_EQ(0, std::memcmp(record + WLAN_SURVEY_BSSID_OFFSET, expected[i].bssid.data(), 6));
        EXPECT_EQ(intAt(record, WLAN_SURVEY_SIGNAL_OFFSET), expected[i].signal);
        EXPECT_EQ(intAt(record, WLAN_SURVEY_CHANNEL_OFFSET), expected[i].channelCode);
        EXPECT_EQ(intAt(record, WLAN_SURVEY_ENCRYPTION_OFFSET), expected[i].encryption);
        EXPECT_EQ(intAt(record, WLAN_SURVEY_AUTH_OFFSET), expected[i].authentication);
        EXPECT_EQ(intAt(record, WLAN_SURVEY_BAND_OFFSET), expected[i].band);
        EXPECT_EQ(record[43], 0);
        for (std::size_t unused = 64; unused < WLAN_SURVEY_RECORD_SIZE; ++unused)
            EXPECT_EQ(record[unused], 0);
    }
    // Records past the count are left alone.
    EXPECT_EQ(records[4 * WLAN_SURVEY_RECORD_SIZE], 0xEE);
}

struct AssociationCase {
    const char* name;
    std::string network; // the lines of one [network] section
    Apply config;
    bool associates;
};

const AssociationCase kAssociationCases[] = {
    {"open", "Security=open", {1, 0, 0, "", 64, "", "", "Net"}, true},
    {"open refuses WEP", "Security=open", {1, 1, 0, "0123456789", 64, "", "", "Net"}, false},
    {"WEP with its key", "Security=wep\nKey=a1b2c3d4e5", {1, 1, 0, "A1B2C3D4E5", 64, "", "", "Net"}, true},
    {"WEP with auto", "Security=wep\nKey=a1b2c3d4e5", {1, 1, 2, "A1B2C3D4E5", 64, "", "", "Net"}, true},
    {"WEP wrong key", "Security=wep\nKey=a1b2c3d4e5", {1, 1, 0, "A1B2C3D4E6", 64, "", "", "Net"}, false},
    {"WEP 128-bit",
     "Security=wep\nKey=0123456789abcdef0123456789",
     {1, 1, 0, "0123456789ABCDEF0123456789", 128, "", "", "Net"},
     true},
    {"WEP key of the wrong size",
     "Security=wep\nKey=a1b2c3d4e5",
     {1, 1, 0, "A1B2C3D4E5", 128, "", "", "Net"},
     false},
    {"shared WEP", "Security=shared-wep\nKey=a1b2c3d4e5", {1, 1, 1, "a1b2c3d4e5", 64, "", "", "Net"}, true},
    {"shared WEP refuses open",
     "Security=shared-wep\nKey=a1b2c3d4e5",
     {1, 1, 0, "a1b2c3d4e5", 64, "", "", "Net"},
     false},
    {"WPA with a certificate", "Security=wpa\nCipher=tkip", {1, 2, 3, "", 64, "", "C0FFEE", "Net"}, true},
    {"WPA without a certificate", "Security=wpa\nCipher=tkip", {1, 2, 3, "", 64, "", "", "Net"}, false},
    {"WPA2 through WPA/WPA2", "Security=wpa2\nCipher=aes", {1, 3, 8, "", 64, "", "C0FFEE", "Net"}, true},
    {"WPA-PSK",
     "Security=wpa-psk\nCipher=tkip\nKey=secret phrase",
     {1, 2, 4, "", 64, "secret phrase", "", "Net"},
     true},
    {"WPA-PSK wrong passphrase",
     "Security=wpa-psk\nCipher=tkip\nKey=secret phrase",
     {1, 2, 4, "", 64, "secret phrasE", "", "Net"},
     false},
    {"WPA2-PSK",
     "Security=wpa2-psk\nCipher=aes\nKey=secret phrase",
     {1, 3, 7, "", 64, "secret phrase", "", "Net"},
     true},
    {"WPA2-PSK with TKIP only",
     "Security=wpa2-psk\nCipher=aes\nKey=secret phrase",
     {1, 2, 7, "", 64, "secret phrase", "", "Net"},
     false},
    {"WPA2-PSK as WPA-PSK",
     "Security=wpa2-psk\nCipher=aes\nKey=secret phrase",
     {1, 3, 4, "", 64, "secret phrase", "", "Net"},
     false},
    {"WPA-None cell",
     "Type=adhoc\nSecurity=wpa-none\nCipher=tkip\nKey=party time",
     {0, 2, 5, "", 64, "party time", "", "Net"},
     true},
    {"WPA-None wrong key",
     "Type=adhoc\nSecurity=wpa-none\nCipher=tkip\nKey=party time",
     {0, 2, 5, "", 64, "party tima", "", "Net"},
     false},
    {"software AP joined as infrastructure",
     "Type=softap\nSecurity=wpa2-psk\nKey=hotspot1234",
     {1, 3, 7, "", 64, "hotspot1234", "", "Net"},
     true},
    {"infrastructure does not join an ad hoc cell", "Type=adhoc", {1, 0, 0, "", 64, "", "", "Net"}, false},
    {"other SSID", "Security=open", {1, 0, 0, "", 64, "", "", "Other"}, false},
};

TEST_F(DriverLibrary, AssociatesOnlyWhenTypeAndSecurityAgree) {
    for (const AssociationCase& c : kAssociationCases) {
        SCOPED_TRACE(c.name);
        SetUp(); // a world of its own for each case
        startWith("[network net]\nSSID=Net\nBSSID=00:AA:BB:CC:DD:01\nChannel=6\nSignal=70\nQuality=65\n"
                  "TxKbps=100\nRxKbps=100\n" +
                  c.network + "\n");
        apply(c.config);
        Link link = readLink();
        unsigned char ip[WLAN_IP_INFO_SIZE];
        API_GetIPInfo(ip);
        EXPECT_EQ(link.ssid, c.config.ssid);
        if (c.associates) {
            EXPECT_EQ(link.state, 1);
            EXPECT_EQ(link.bssid, (Mac{0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0x01}));
            EXPECT_EQ(link.signal, 70);
            EXPECT_EQ(link.quality, 65);
            EXPECT_GT(std::strlen(reinterpret_cast<char*>(ip)), 6u);
        } else {
            EXPECT_EQ(link.state, 0);
            EXPECT_EQ(link.bssid, Mac{});
            EXPECT_EQ(link.signal, 0);
            EXPECT_EQ(ip[0], 0);
        }
    }
}

TEST_F(DriverLibrary, AdHocWithoutACellStartsOneOfItsOwn) {
    startWith("[network other]\nSSID=Elsewhere\nType=adhoc\n");
    apply({0, 0, 0, "", 64, "", "", "MyCell"});
    Link link = readLink();
    EXPECT_EQ(link.state, 1);
    EXPECT_EQ(link.mode, 2);
    EXPECT_EQ(link.bssid[0] & 0x03, 0x02); // locally administered, unicast
}

TEST_F(DriverLibrary, JoinsTheStrongestOfAccessPointsSharingTheSsid) {
    startWith("[network a]\nSSID=Metro\nBSSID=00:00:00:00:00:0A\nSignal=30\n"
              "[network b]\nSSID=Metro\nBSSID=00:00:00:00:00:0B\nChannel=44\nSignal=80\n"
              "[network c]\nSSID=Metro\nBSSID=00:00:00:00:00:0C\nSignal=50\n");
    apply({1, 0, 0, "", 64, "", "", "Metro"});
    EXPECT_EQ(readLink().bssid, (Mac{0, 0, 0, 0, 0, 0x0B}));
}

TEST_F(DriverLibrary, ReportsTheChannelOfTheNetworkItIsOn) {
    startWith("[network n]\nSSID=Net\nChannel=44\n");
    API_SetChannel(11); // an infrastructure apply never sends one; the driver keeps its own
    apply({1, 0, 0, "", 64, "", "", "Elsewhere"});
    EXPECT_EQ(API_GetChannel(), 11) << "without an association: the channel it was given";
    apply({1, 0, 0, "", 64, "", "", "Net"});
    ASSERT_EQ(readLink().state, 1);
    EXPECT_EQ(API_GetChannel(), 21) << "channel 44 (index 16): the access point's channel";
}

TEST_F(DriverLibrary, WaitsTheAssociationDelay) {
    writeWorld(m_world, "[adapter]\nAssociationDelayMs=600000\n[network n]\nSSID=Net\n");
    ASSERT_EQ(API_Initialize(), 1);
    apply({1, 0, 0, "", 64, "", "", "Net"});
    EXPECT_EQ(readLink().state, 0);
    EXPECT_EQ(API_GetStatusAuthStatus(), 1); // still trying
}

TEST_F(DriverLibrary, TotalsGrowWithTheNetworksTrafficWhileAssociated) {
    startWith("[network n]\nSSID=Net\nTxKbps=1000\nRxKbps=4000\n");
    unsigned char block[WLAN_STATISTICS_SIZE];
    API_GetStatistics(block);
    EXPECT_EQ(totalAt(block, WLAN_STAT_TX_TOTAL_OFFSET), 0u) << "nothing moves before an association";

    apply({1, 0, 0, "", 64, "", "", "Net"});
    uint64_t tx = 0;
    uint64_t rx = 0;
    waitFor(
        [&] {
            API_GetStatistics(block);
            tx = totalAt(block, WLAN_STAT_TX_TOTAL_OFFSET);
            rx = totalAt(block, WLAN_STAT_RX_TOTAL_OFFSET);
            return tx >= 10000;
        },
        std::chrono::seconds(5), std::chrono::milliseconds(10));
    ASSERT_GE(tx, 10000u);
    // Both totals come from the same elapsed time: 125 bytes per kbit/s and second.
    EXPECT_NEAR(double(rx), 4.0 * double(tx), 8.0);
    EXPECT_EQ(uint32_t(intAt(block, 0)), uint32_t(tx / 1200)) << "packet counter follows the bytes";

    API_Stop();
    API_GetStatistics(block);
    uint64_t stopped = totalAt(block, WLAN_STAT_TX_TOTAL_OFFSET);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    API_GetStatistics(block);
    EXPECT_EQ(totalAt(block, WLAN_STAT_TX_TOTAL_OFFSET), stopped) << "a stopped driver moves nothing";
}

TEST_F(DriverLibrary, UnplugLosesTheLinkAndReplugNeedsInitialize) {
    const std::string network = "[network n]\nSSID=Net\n";
    startWith(network);
    apply({1, 0, 0, "", 64, "", "", "Net"});
    ASSERT_EQ(readLink().state, 1);

    writeWorld(m_world, kAdapter + "Present=0\n" + network);
    char id[256] = "stale";
    EXPECT_EQ(API_GetHardwareID(id), 0);
    EXPECT_STREQ(id, "");
    EXPECT_EQ(API_IsUnplug(), 1);
    EXPECT_EQ(readLink().state, 0);
    EXPECT_EQ(API_Initialize(), 0);

    writeWorld(m_world, kAdapter + network);
    EXPECT_EQ(API_GetHardwareID(id), 1);
    EXPECT_STREQ(id, "SIM-1");
    EXPECT_EQ(API_IsUnplug(), 0);
    EXPECT_EQ(readLink().state, 0) << "the driver is not up again until initialised";
    ASSERT_EQ(API_Initialize(), 1);
    EXPECT_EQ(readLink().state, 1) << "the driver rejoins with the settings it kept";
}

TEST_F(DriverLibrary, InitialisationCanBeMadeToFail) {
    writeWorld(m_world, kAdapter + "InitFails=1\n");
    char id[256];
    EXPECT_EQ(API_GetHardwareID(id), 1);
    EXPECT_EQ(API_Initialize(), 0);
}

TEST_F(DriverLibrary, FollowsTheWorldFileWhileRunning) {
    auto world = [&](const std::string& network) { writeWorld(m_world, kAdapter + network); };
    world("[network n]\nSSID=Net\nSecurity=wpa2-psk\nKey=first key\nSignal=0\n");
    ASSERT_EQ(API_Initialize(), 1);
    apply({1, 3, 7, "", 64, "first key", "", "Net"});
    EXPECT_EQ(readLink().state, 0) << "out of range";

    world("[network n]\nSSID=Net\nSecurity=wpa2-psk\nKey=first key\nSignal=40\n");
    EXPECT_EQ(readLink().state, 1) << "came into range";
    EXPECT_EQ(readLink().signal, 40);

    world("[network n]\nSSID=Net\nSecurity=wpa2-psk\nKey=first key\nSignal=90\n");
    EXPECT_EQ(readLink().signal, 90) << "signal follows the file";

    world("[network n]\nSSID=Net\nSecurity=wpa2-psk\nKey=other key\nSignal=90\n");
    EXPECT_EQ(readLink().state, 0) << "key changed";
    EXPECT_EQ(API_GetStatusAuthStatus(), 2) << "a network is there but refuses the key";

    world("[network n]\nSSID=Net\nSecurity=wpa2-psk\nKey=first key\nSignal=90\n");
    EXPECT_EQ(readLink().state, 1) << "key agrees again";

    world("[network m]\nSSID=Another\n");
    EXPECT_EQ(readLink().state, 0) << "network vanished";
}

TEST_F(DriverLibrary, SettingsReadBackAndSurviveANewDriverStart) {
    startWith("");
    API_SetNetworkType(0);
    API_SetEncryptionMode(1);
    API_SetAuthenticationMode(1);
    API_SetPreambleMode(2);
    API_SetPowerSaveMode(2);
    API_SetChannel(20);
    API_SetBeaconInterval(150);
    API_SetFragmentationThreshold(1024);
    API_SetRTSThreshold(512);
    API_SetDefaultKeyID(3);
    API_SetTxRate(0, 16);
    WlanWirelessModeBlock modes{{1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0}};
    API_SetWirelessMode(modes);
    API_SetChannelPlanByCountry(11);
    API_SetSSID("Kept \"quoted\"\nline");

    // Another world, then back: the driver starts from what it saved beside the first world.
    ::setenv("WLANSIM_WORLD", (m_folder + "/elsewhere.ini").c_str(), 1);
    EXPECT_EQ(API_GetNetworkType(), 1);
    ::setenv("WLANSIM_WORLD", m_world.c_str(), 1);
    ASSERT_EQ(API_Initialize(), 1);

    int32_t encryption = -1, autoRate = -1, rate = -1;
    char ssid[WLAN_LINK_SSID_BUFFER_SIZE];
    WlanWirelessModeBlock readModes{};
    API_GetEncryptionMode(&encryption);
    API_GetTxRate(&autoRate, &rate);
    API_GetSSID(ssid);
    API_GetWirelessMode(&readModes);
    EXPECT_EQ(API_GetNetworkType(), 0);
    EXPECT_EQ(encryption, 1);
    EXPECT_EQ(API_GetAuthenticationMode(), 1);
    EXPECT_EQ(API_GetPreambleMode(), 2);
    EXPECT_EQ(API_GetPowerSaveMode(), 2);
    EXPECT_EQ(API_GetChannel(), 20);
    EXPECT_EQ(API_GetBeaconInterval(), 150);
    EXPECT_EQ(API_GetFragmentationThreshold(), 1024);
    EXPECT_EQ(API_GetRTSThreshold(), 512);
    EXPECT_EQ(API_GetDefaultKeyID(), 3);
    EXPECT_EQ(autoRate, 0);
    EXPECT_EQ(rate, 16);
    EXPECT_EQ(0, std::memcmp(readModes.flags, modes.flags, sizeof modes.flags));
    EXPECT_EQ(API_GetChannelPlanByCountry(), 11);
    EXPECT_STREQ(ssid, "Kept \"quoted\"\nline");

    struct stat info {};
    ASSERT_EQ(::stat((m_world + ".state").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the saved settings hold keys";
}

TEST_F(DriverLibrary, UnconfiguredDriverStartsWithTheWorldsDriverSection) {
    writeWorld(m_world, kAdapter +
                            "ChannelPlan=5\n[driver]\nSSID=Home\nSecurity=wpa2-psk\nKey=home phrase\n"
                            "[network home]\nSSID=Home\nSecurity=wpa2-psk\nKey=home phrase\nTxKbps=50\n");
    ASSERT_EQ(API_Initialize(), 1);
    EXPECT_EQ(readLink().state, 1);
    EXPECT_EQ(API_GetAuthenticationMode(), 7);
    EXPECT_EQ(API_GetChannelPlanByCountry(), 5);
}

TEST_F(DriverLibrary, WithoutAWorldFileTheBuiltInStreetApplies) {
    // m_world is never written.
    char id[256];
    ASSERT_EQ(API_GetHardwareID(id), 1);
    ASSERT_EQ(API_Initialize(), 1);
    char ssid[WLAN_LINK_SSID_BUFFER_SIZE];
    API_GetSSID(ssid);
    EXPECT_STREQ(ssid, "Riverside-Home");
    std::vector<unsigned char> records(WLAN_SURVEY_MAX_RECORDS * WLAN_SURVEY_RECORD_SIZE);
    EXPECT_GE(API_SiteSurvey(records.data()), 8);
}

TEST_F(DriverLibrary, AdapterTextsAreTerminatedWithinTheirBuffers) {
    std::string longText(400, 'D');
    writeWorld(m_world, kAdapter + "DriverDescription=" + std::string(254, 'D') + "\nDriverVersion=" +
                            longText + "\n[network n]\nSSID=" + std::string(32, 'S') + "\n");
    char description[256], version[256];
    std::memset(description, 'x', sizeof description);
    std::memset(version, 'x', sizeof version);
    API_GetDriverDescription(description, version);
    EXPECT_EQ(std::strlen(description), 254u);
    EXPECT_STREQ(version, "4.2.1.17") << "a value too long is ignored and the default stays";

    ASSERT_EQ(API_Initialize(), 1);
    API_SetNetworkType(1);
    API_SetEncryptionMode(0);
    API_SetAuthenticationMode(0);
    API_SetSSID((std::string(32, 'S') + "cut").c_str());
    Link link = readLink();
    EXPECT_EQ(link.ssid, std::string(32, 'S'));
    EXPECT_EQ(link.state, 1);
}

TEST_F(DriverLibrary, TraceWritesOneLinePerCall) {
    startWith("[network n]\nSSID=HomeNet\n");
    std::string trace = m_folder + "/trace.txt";
    ::setenv("WLANSIM_TRACE", trace.c_str(), 1);
    API_SetWPAPSKKey(2, "secret passphrase", "HomeNet");
    API_GetNetworkType();
    WlanWirelessModeBlock modes{{1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0}};
    API_SetWirelessMode(modes);
    unsigned char mac[6];
    API_GetMacAddress(mac);
    int32_t autoRate, rate;
    API_SetTxRate(1, 12);
    API_GetTxRate(&autoRate, &rate);
    API_SetSSID("a\"b\\\n\x01");
    ::unsetenv("WLANSIM_TRACE");
    API_GetNetworkType();

    EXPECT_EQ(readAll(trace), "API_SetWPAPSKKey 2 \"secret passphrase\" \"HomeNet\"\n"
                              "API_GetNetworkType -> 1\n"
                              "API_SetWirelessMode 1,0,0,0,1,0,1,0,0,0,0,0\n"
                              "API_GetMacAddress -> 1 00:11:22:33:44:55\n"
                              "API_SetTxRate 1 12\n"
                              "API_GetTxRate -> 1 1 12\n"
                              "API_SetSSID \"a\\\"b\\\\\\n\\001\"\n");
}

TEST_F(DriverLibrary, NullBuffersAreSurvived) {
    startWith("[network n]\nSSID=Net\n");
    EXPECT_EQ(API_SiteSurvey(nullptr), 0);
    API_SetSSID(nullptr);
    API_SetWPAPSKKey(3, nullptr, nullptr);
    API_GetStatusLinkInfo(nullptr, nullptr, nullptr, nullptr);
    API_GetStatistics(nullptr);
    API_GetIPInfo(nullptr);
    API_GetHardwareID(nullptr);
    API_GetDriverDescription(nullptr, nullptr);
    API_GetEncryptionMode(nullptr);
    API_GetWirelessMode(nullptr);
    API_GetAdvancedMode(nullptr);
    char ssid[WLAN_LINK_SSID_BUFFER_SIZE];
    API_GetSSID(ssid);
    EXPECT_STREQ(ssid, "");
}

TEST_F(DriverLibrary, CallsFromSeveralThreadsAreSerialised) {
    startWith("[network n]\nSSID=Net\nTxKbps=100\n[network m]\nSSID=Other\n");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            std::vector<unsigned char> records(WLAN_SURVEY_MAX_RECORDS * WLAN_SURVEY_RECORD_SIZE);
            unsigned char block[WLAN_STATISTICS_SIZE];
            for (int i = 0; i < 100; ++i) {
                apply({1, 0, 0, "", 64, "", "", (i + t) % 2 ? "Net" : "Other"});
                readLink();
                API_GetStatistics(block);
                API_SiteSurvey(records.data());
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(API_IsUnplug(), 0);
}

// A survey takes its time on its own thread; the monitor's calls go on meanwhile.
TEST_F(DriverLibrary, OtherCallsGoOnWhileASurveyScans) {
    const std::string trace = m_folder + "/trace.txt";
    writeWorld(m_world,
               "[adapter]\nSurveyDelayMs=3000\nAssociationDelayMs=0\nJitter=0\n[network n]\nSSID=Net\n");
    ASSERT_EQ(API_Initialize(), 1);
    ::setenv("WLANSIM_TRACE", trace.c_str(), 1);
    std::atomic<bool> surveyDone{false};
    std::thread survey([&surveyDone] {
        std::vector<unsigned char> records(WLAN_SURVEY_MAX_RECORDS * WLAN_SURVEY_RECORD_SIZE);
        API_SiteSurvey(records.data());
        surveyDone = true;
    });
    // the survey's trace line is written as it starts to scan
    const bool scanning = waitFor([&] { return readAll(trace).find("API_SiteSurvey") != std::string::npos; },
                                  std::chrono::seconds(5), std::chrono::milliseconds(2));
    EXPECT_TRUE(scanning) << "the survey did not start";

    if (scanning) {
        unsigned char block[WLAN_STATISTICS_SIZE];
        EXPECT_EQ(API_IsUnplug(), 0);
        API_GetStatistics(block);
        readLink();
        apply({1, 0, 0, "", 64, "", "", "Net"});
        char ssid[WLAN_LINK_SSID_BUFFER_SIZE];
        API_GetSSID(ssid);

        EXPECT_FALSE(surveyDone) << "the calls did not wait for the scan";
        EXPECT_STREQ(ssid, "Net");
    }
    survey.join();
    EXPECT_TRUE(surveyDone);
}

// A settings file or world that is not a file (a named pipe above all) must never hold a call:
// the program calls the driver under its adapter lock. Each is read as missing.
TEST_F(DriverLibrary, FilesThatAreNotFilesNeverHoldACall) {
    using namespace std::chrono_literals;
    for (const auto& [kind, kindName] : hostile::kAllKinds) {
        SCOPED_TRACE(kindName);
        const std::string world = m_folder + "/state" + std::to_string(int(kind)) + ".ini";
        writeWorld(world, kAdapter + "[driver]\nSSID=Factory\n");
        ASSERT_TRUE(hostile::plant(kind, world + ".state", wlansim::maxStateBytes, "SSID=\"Saved\"\n"));
        ::setenv("WLANSIM_WORLD", world.c_str(), 1);
        const auto ssid = hostile::finishesWithin(1s,
                                                  [] {
                                                      char buffer[WLAN_LINK_SSID_BUFFER_SIZE] = {};
                                                      return API_Initialize() == 1 && API_GetSSID(buffer) == 1
                                                                 ? std::string(buffer)
                                                                 : std::string("?");
                                                  },
                                                  {world + ".state"});
        ASSERT_TRUE(ssid.has_value())
            << "a call on a hostile settings file did not come back within a second";
        EXPECT_EQ(*ssid, "Factory");

        const std::string hostileWorld = m_folder + "/world" + std::to_string(int(kind)) + ".ini";
        ASSERT_TRUE(hostile::plant(kind, hostileWorld, wlansim::maxWorldBytes, kAdapter));
        ::setenv("WLANSIM_WORLD", hostileWorld.c_str(), 1);
        const auto id =
            hostile::finishesWithin(1s,
                                    [] {
                                        char buffer[256] = {};
                                        return API_Initialize() == 1 && API_GetHardwareID(buffer) == 1
                                                   ? std::string(buffer)
                                                   : std::string("?");
                                    },
                                    {hostileWorld});
        ASSERT_TRUE(id.has_value()) << "a call on a hostile world did not come back within a second";
        EXPECT_EQ(*id, wlansim::defaultWorld().adapter.hardwareId) << "the built-in world applies";
    }
}

} // namespace
