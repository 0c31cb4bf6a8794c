#include "adapter/WpaSupplicantBackend.h"
#include "FakeNetTree.h"
#include "ScriptedSupplicant.h"
#include "adapter/WpaControl.h"
#include "platform/Diagnostics.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>

#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

class WpaBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.addInterface("wlan0", true, "02:00:00:00:00:01");
        tree.addDevice("wlan0", "iwlwifi", "");
        controlDirectory = tree.root() + "/run";
        std::filesystem::create_directories(controlDirectory);
        peer = std::make_unique<ScriptedSupplicant>(controlDirectory, "wlan0");
        diag::setSink([this](diag::Level, std::string_view, std::string_view message) {
            const std::lock_guard<std::mutex> guard(logMutex);
            logLines.emplace_back(message);
        });
    }
    void TearDown() override { diag::setSink({}); }

    WpaSupplicantBackend::Options options() {
        WpaSupplicantBackend::Options o;
        o.controlDirectory = controlDirectory;
        o.files = {tree.sysClassNet(), tree.proc(), tree.resolvConf()};
        o.scanTimeout = 2000ms;
        o.systemService = [this](const std::string& name) {
            serviceAsked = name;
            return service;
        };
        o.openSettings = [this] { ++settingsOpened; };
        o.addresses = [this](const std::string&) { return address; };
        return o;
    }

    static wpa::CertificateLookup certificates() {
        wpa::CertificateLookup lookup;
        lookup.clientCertificate = [](const std::string& id) -> std::optional<wpa::ClientCertificateFiles> {
            return wpa::ClientCertificateFiles{"/certs/" + id + ".pem", "/certs/" + id + ".key",
                                               "key-password-9"};
        };
        lookup.authorityFile = [](const std::string& id) -> std::optional<std::string> {
            return "/certs/" + id + ".ca.pem";
        };
        return lookup;
    }

    std::unique_ptr<WpaSupplicantBackend> started() {
        auto backend = std::make_unique<WpaSupplicantBackend>(options(), certificates());
        EXPECT_TRUE(backend->probe());
        EXPECT_TRUE(backend->start());
        return backend;
    }

    std::vector<std::string> log() {
        const std::lock_guard<std::mutex> guard(logMutex);
        return logLines;
    }
    std::size_t logCount(const std::string& part) {
        const auto lines = log();
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(part) != std::string::npos;
        }));
    }

    FakeNetTree tree;
    std::string controlDirectory;
    std::unique_ptr<ScriptedSupplicant> peer;
    SystemServiceReport service;
    std::string serviceAsked;
    int settingsOpened = 0;
    std::optional<WpaSupplicantBackend::InterfaceAddress> address;
    std::mutex logMutex;
    std::vector<std::string> logLines;
};

StationSettings pskRecord(const char* ssid, const char* passphrase) {
    StationSettings record{};
    copyText(record.cSSID, ssid);
    record.NetworkType = 1;
    record.AuthenticationMode = 7;
    record.EncryptionMode = 3;
    copyText(record.cWPAPassPhase, passphrase);
    record.TxRateAuto = 1;
    record.TxRate = 12;
    record.PreambleMode = 1;
    record.PowerSaveMode = 2;
    record.AdvancedMode[0] = 1;
    record.WirelessMode[Mode11A] = 1;
    record.WirelessMode[Mode11AT] = 1;
    record.RTSThreshold = 2347;
    record.FragmentationThreshold = 2346;
    return record;
}

// --- Which adapter, and whether it answers ---

TEST_F(WpaBackendTest, TheOnlyWirelessInterfaceIsChosenAndNoneOrSeveralMeanNoAdapter) {
    tree.addInterface("eth0", false);
    {
        WpaSupplicantBackend backend(options());
        EXPECT_TRUE(backend.probe());
        EXPECT_EQ(backend.name(), "wpa_supplicant wlan0");
    }
    tree.addInterface("wlan1", true);
    {
        WpaSupplicantBackend backend(options());
        EXPECT_FALSE(backend.probe());
        EXPECT_FALSE(backend.probe());
        EXPECT_EQ(logCount("several wireless interfaces (wlan0, wlan1)"), 1u); // said once, not every cycle
        auto named = options();
        named.interfaceName = "wlan0";
        EXPECT_TRUE(WpaSupplicantBackend(named).probe());
    }
    tree.removeInterface("wlan0");
    tree.removeInterface("wlan1");
    {
        WpaSupplicantBackend backend(options());
        EXPECT_FALSE(backend.probe());
        EXPECT_EQ(logCount("no wireless interface"), 1u);
        auto named = options();
        named.interfaceName = "wlan0";
        WpaSupplicantBackend gone(named);
        EXPECT_FALSE(gone.probe());
        EXPECT_EQ(logCount("interface wlan0 does not exist"), 1u);
    }
    EXPECT_EQ(peer->count("PING"), 2u); // only where an interface was there to ask about
}

// Whatever listens in the control folder receives passphrases in clear.
TEST_F(WpaBackendTest, AControlFolderOthersCouldPlantASocketInIsRefused) {
    struct Case {
        const char* what;
        mode_t mode;
        uid_t owner;         // 0: this program's user
        const char* refusal; // "" when trusted
    };
    const Case cases[] = {
        {"own, owner only", 0700, 0, ""},
        {"own, the group may write (wpa_supplicant's GROUP=)", 0770, 0, ""},
        {"every user may write", 0777, 0, "every user may write to it"},
        {"sticky, like /tmp", 01777, 0, "every user may write to it"},
        {"another user's", 0755, 4242, "it belongs to user 4242, neither root nor this program's user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.owner != 0) {
            if (::geteuid() != 0) {
                continue; // only root can give a folder away
            }
            ASSERT_EQ(::chown(controlDirectory.c_str(), c.owner, static_cast<gid_t>(-1)), 0);
        } else {
            ASSERT_EQ(::chown(controlDirectory.c_str(), ::geteuid(), static_cast<gid_t>(-1)), 0);
        }
        ASSERT_EQ(::chmod(controlDirectory.c_str(), c.mode), 0);
        EXPECT_EQ(untrustedControlFolder(controlDirectory), c.refusal);
        logLines.clear();
        WpaSupplicantBackend backend(options());
        EXPECT_EQ(backend.probe(), *c.refusal == '\0');
        EXPECT_EQ(logCount("the control folder " + controlDirectory + " is refused: " + c.refusal),
                  *c.refusal == '\0' ? 0u : 1u);
    }
    ASSERT_EQ(::chown(controlDirectory.c_str(), ::geteuid(), static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(::chmod(controlDirectory.c_str(), 0755), 0);
    EXPECT_EQ(untrustedControlFolder("/nowhere/at/all"), "") << "left to the connection, which says why";
}

TEST_F(WpaBackendTest, AnInterfaceWithoutASupplicantIsNoAdapter) {
    peer->stop();
    WpaSupplicantBackend backend(options());
    EXPECT_FALSE(backend.probe());
    EXPECT_FALSE(backend.probe());
    EXPECT_EQ(logCount("no control socket answers at " + controlDirectory + "/wlan0"), 1u);
}

TEST_F(WpaBackendTest, StartAttachesForEventsAndReadsTheAdapterInformation) {
    auto backend = started();
    EXPECT_EQ(peer->count("ATTACH"), 1u);
    const AdapterInfo info = backend->readAdapterInfo();
    const unsigned char mac[6] = {0x02, 0, 0, 0, 0, 0x01};
    EXPECT_EQ(std::memcmp(info.macAddress, mac, 6), 0);
    EXPECT_STREQ(info.driverDescription, "iwlwifi");
    EXPECT_STREQ(info.driverVersion, "6.1.0-test-amd64");
    EXPECT_STREQ(info.hardwareId, "8086:2723");
    EXPECT_EQ(info.chipsetSolution, 0);

    // A supplicant that reports no address of its own: the kernel's.
    peer->answer("STATUS", "wpa_state=INACTIVE\naddress=00:00:00:00:00:00\n");
    FakeNetTree::write(tree.sysClassNet() + "/wlan0/address", "a4:5e:60:0b:1c:ff\n");
    const unsigned char kernelMac[6] = {0xa4, 0x5e, 0x60, 0x0b, 0x1c, 0xff};
    EXPECT_EQ(std::memcmp(backend->readAdapterInfo().macAddress, kernelMac, 6), 0);
}

// --- Link status ---

TEST_F(WpaBackendTest, LinkStatusForEachKindOfNetwork) {
    const struct {
        const char* label;
        const char* status;
        std::string signal;
        int32_t connected;
        const char* ssid;
        unsigned char bssidLast;
        int32_t authStatus;
        int32_t linkMode;
        int32_t signalPercent;
        // read back without a block of the program's own: what the adapter is joined to
        int32_t authentication;
        int32_t encryption;
        int32_t channel;
        int32_t networkType;
        int32_t rate;
    } cases[] = {
        {"open", replies::statusOpen, replies::signalPoll(-55, 54, 2412), 1, "cafe-open", 0x00, 3, 1, 90, 0,
         0, 0, 1, 12},
        {"WEP", replies::statusWep, replies::signalPoll(-75, 11, 2437), 1, "old-wep", 0x00, 3, 1, 50, 0, 1, 5,
         1, 3},
        {"WPA-PSK", replies::statusWpaPsk, replies::signalPoll(-80, 18, 2462), 1, "legacy-wpa", 0x00, 4, 1,
         40, 4, 2, 10, 1, 7},
        {"WPA2-PSK", replies::statusWpa2Psk, replies::signalPoll(-45, 866, 5180), 1, "home 5G", 0x00, 4, 1,
         100, 7, 3, 14, 1, 16},
        {"WPA2 802.1X", replies::statusWpa2Eap, replies::signalPoll(-60, 300, 5745), 1, "corp", 0x00, 4, 1,
         80, 6, 3, 22, 1, 16},
        {"ad hoc", replies::statusIbss, "FAIL\n", 1, "field cell", 0x00, 3, 2, 0, 0, 0, 2, 0, 0},
        {"searching", replies::statusScanning, "FAIL\n", 0, "", 0x00, 1, 1, 0, 0, 0, 9, 1, 0},
        {"disconnected", replies::statusDisconnected, "FAIL\n", 0, "", 0x00, 0, 1, 0, 0, 0, 9, 1, 0},
    };
    auto backend = started();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        peer->answer("STATUS", c.status);
        peer->answer("SIGNAL_POLL", c.signal);
        LinkStatus link{};
        link.counters.counter3 = 77; // not the link's to change
        backend->readLink(link);
        EXPECT_EQ(link.connected, c.connected);
        EXPECT_STREQ(link.ssid, c.ssid);
        EXPECT_EQ(link.authStatus, c.authStatus);
        EXPECT_EQ(link.linkMode, c.linkMode);
        EXPECT_EQ(link.signalStrength, c.signalPercent);
        EXPECT_EQ(link.counters.counter3, 77);
        if (c.connected) {
            EXPECT_EQ(link.bssid[0], c.status[6] == '5' ? 0x52 : 0x02);
        }

        StationSettings record{};
        record.Channel = 9;
        backend->readBack(record);
        EXPECT_STREQ(record.cSSID, c.ssid);
        EXPECT_EQ(record.AuthenticationMode, c.authentication);
        EXPECT_EQ(record.EncryptionMode, c.encryption);
        EXPECT_EQ(record.Channel, c.channel);
        EXPECT_EQ(record.NetworkType, c.networkType);
        EXPECT_EQ(record.TxRate, c.rate);
    }
    EXPECT_TRUE(log().empty());
}

TEST_F(WpaBackendTest, SignalFollowsEachPoll) {
    auto backend = started();
    peer->answer("STATUS", replies::statusWpa2Psk);
    for (const auto& [rssi, percent] :
         std::vector<std::pair<int, int>>{{-52, 96}, {-70, 60}, {-91, 18}, {-104, 0}}) {
        peer->answer("SIGNAL_POLL", replies::signalPoll(rssi, 54, 5180));
        LinkStatus link{};
        backend->readLink(link);
        EXPECT_EQ(link.signalStrength, percent) << rssi;
        EXPECT_EQ(link.linkQuality, percent) << rssi; // no noise figure: quality follows the signal
    }
    peer->answer("SIGNAL_POLL", "RSSI=-60\nLINKSPEED=54\nNOISE=-90\nFREQUENCY=5180\n");
    LinkStatus link{};
    backend->readLink(link);
    EXPECT_EQ(link.signalStrength, 80);
    EXPECT_EQ(link.linkQuality, 75);
}

TEST_F(WpaBackendTest, ASupplicantBuiltWithoutSignalPollingStillShowsTheLink) {
    auto backend = started();
    peer->answer("STATUS", replies::statusWpa2Psk);
    peer->answer("SIGNAL_POLL", "UNKNOWN COMMAND\n");
    LinkStatus link{};
    backend->readLink(link);
    EXPECT_EQ(link.connected, 1);
    EXPECT_EQ(link.signalStrength, 0);
    EXPECT_FALSE(backend->unplugged());
    EXPECT_TRUE(log().empty());
}

TEST_F(WpaBackendTest, AddressesComeFromTheInterfaceAndTrafficFromItsCounters) {
    auto backend = started();
    LinkStatus link{};
    backend->readLink(link);
    for (const int text : {0, 1, 2, 4}) {
        EXPECT_STREQ(link.ipText[text], "0.0.0.0") << text;
    }
    EXPECT_STREQ(link.ipText[3], "");

    address = WpaSupplicantBackend::InterfaceAddress{"192.168.1.23", "255.255.255.0"};
    FakeNetTree::write(tree.proc() + "/net/route",
                       "Iface\tDestination\tGateway\nwlan0\t00000000\t0101A8C0\t0003\n");
    FakeNetTree::write(tree.resolvConf(), "nameserver 192.168.1.1\n");
    backend->readLink(link);
    EXPECT_STREQ(link.ipText[0], "192.168.1.23");
    EXPECT_STREQ(link.ipText[1], "255.255.255.0");
    EXPECT_STREQ(link.ipText[2], "192.168.1.1");
    EXPECT_STREQ(link.ipText[3], "");
    EXPECT_STREQ(link.ipText[4], "192.168.1.1");

    tree.setCounter("wlan0", "tx_bytes", "18446744073709551000");
    tree.setCounter("wlan0", "rx_bytes", "123456");
    tree.setCounter("wlan0", "tx_packets", "4294967298"); // past 2^32: passed on modulo 2^32
    tree.setCounter("wlan0", "rx_crc_errors", "5");
    const TrafficReading traffic = backend->readTraffic();
    EXPECT_EQ(traffic.txTotal, 18446744073709551000ull);
    EXPECT_EQ(traffic.rxTotal, 123456u);
    EXPECT_EQ(traffic.counters[0], 2);
    EXPECT_EQ(traffic.counters[5], 5);
}

// --- Survey ---

std::vector<std::string> dozenNetworks() {
    const std::string bRates = "010482848b96";
    const std::string gRates = "010882848b960c121824"
                               "32043048606c";
    return {
        replies::bss(3, "02:00:00:00:01:00", 2412, -40, "[ESS]", "cafe-open", gRates),
        replies::bss(5, "02:00:00:00:02:00", 2437, -75, "[WEP][ESS]", "old-wep", bRates),
        replies::bss(6, "02:00:00:00:03:00", 2462, -80, "[WPA-PSK-TKIP][ESS]", "legacy-wpa", gRates),
        replies::bss(8, "02:00:00:00:04:00", 5180, -45, "[WPA2-PSK-CCMP][ESS]", "home 5G"),
        replies::bss(9, "02:00:00:00:04:01", 2412, -50, "[WPA-PSK-CCMP+TKIP][WPA2-PSK-CCMP+TKIP][ESS]",
                     "mixed", gRates),
        replies::bss(11, "02:00:00:00:05:00", 5745, -60, "[WPA2-EAP-CCMP][ESS]", "corp"),
        replies::bss(12, "02:00:00:00:05:01", 2462, -70, "[WPA-EAP-TKIP][ESS]", "corp-legacy", gRates),
        replies::bss(13, "52:00:00:00:06:00", 2422, -65, "[IBSS]", "field cell", bRates),
        replies::bss(14, "52:00:00:00:06:01", 2422, -66, "[WEP][IBSS]", "field wep", bRates),
        replies::bss(15, "02:00:00:00:07:00", 5500, -85, "[WPA2-PSK-CCMP][ESS]", "dfs channel"),
        replies::bss(16, "02:00:00:00:08:00", 2437, -90, "[WPA2-PSK-CCMP][WPS][ESS]", "\\x00\\x00\\x00\\x00",
                     gRates),
        replies::bss(17, "02:00:00:00:09:00", 2484, -30, "[WPA2-SAE-CCMP][ESS]",
                     "caf\\xc3\\xa9 \\\"quoted\\\"", gRates),
    };
}

TEST_F(WpaBackendTest, ASurveyOfADozenNetworksOfEveryKind) {
    auto backend = started();
    peer->setBssTable(dozenNetworks());
    peer->afterCommand([this](const std::string& command) {
        if (command == "SCAN") {
            peer->sendEvent("CTRL-EVENT-SCAN-STARTED ");
            peer->sendEvent("CTRL-EVENT-SCAN-RESULTS ");
        }
    });
    ASSERT_TRUE(backend->requestScan());
    const std::vector<BssEntry> found = backend->collectScan();
    ASSERT_EQ(found.size(), 12u);

    const struct {
        const char* ssid;
        int32_t signal, channel, networkType, encryption, authentication, band;
    } expected[] = {
        {"cafe-open", 100, 0, 1, 0, 0, 4},
        {"old-wep", 50, 5, 1, 1, 0, 0},
        {"legacy-wpa", 40, 10, 1, 2, 4, 4},
        {"home 5G", 100, 14, 1, 3, 7, 8},
        {"mixed", 100, 0, 1, 3, 7, 4},
        {"corp", 80, 22, 1, 3, 6, 8},
        {"corp-legacy", 60, 10, 1, 2, 3, 4},
        {"field cell", 70, 2, 0, 0, 0, 0},
        {"field wep", 68, 2, 0, 1, 0, 0},
        {"dfs channel", 30, 0, 1, 3, 7, 8},
        {"", 20, 5, 1, 3, 7, 4},
        {"caf\xc3\xa9 \"quoted\"", 100, 13, 1, 3, 7, 4},
    };
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(expected[i].ssid);
        EXPECT_STREQ(found[i].ssid, expected[i].ssid);
        EXPECT_EQ(found[i].signal, expected[i].signal);
        EXPECT_EQ(found[i].channel, expected[i].channel);
        EXPECT_EQ(found[i].networkType, expected[i].networkType);
        EXPECT_EQ(found[i].encryptionMode, expected[i].encryption);
        EXPECT_EQ(found[i].authenticationMode, expected[i].authentication);
        EXPECT_EQ(found[i].wirelessMode[expected[i].band], 1);
        EXPECT_EQ(found[i].wirelessMode[0] + found[i].wirelessMode[4] + found[i].wirelessMode[8], 1);
    }
    // The walk: FIRST, then NEXT after each id, until the empty reply.
    EXPECT_EQ(peer->count("BSS FIRST MASK="), 1u);
    EXPECT_EQ(peer->count("BSS NEXT-17 MASK="), 1u);
    EXPECT_EQ(peer->count("BSS "), 13u);
}

TEST_F(WpaBackendTest, AFailedScanShowsWhatTheSupplicantKnowsWithoutWaiting) {
    auto backend = started();
    peer->afterCommand([this](const std::string& command) {
        if (command == "SCAN") {
            peer->sendEvent("CTRL-EVENT-SCAN-FAILED ret=-1");
        }
    });
    ASSERT_TRUE(backend->requestScan());
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_TRUE(backend->collectScan().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1500ms); // the scan's own limit is 2 s
    EXPECT_TRUE(log().empty()); // not an error: a driver that cannot scan has nothing to show

    // A scan that is already running serves this survey as well; a refused one ends it.
    peer->answer("SCAN", "FAIL-BUSY\n");
    EXPECT_TRUE(backend->requestScan());
    peer->answer("SCAN", "FAIL\n");
    EXPECT_FALSE(backend->requestScan());
}

TEST_F(WpaBackendTest, ResultsOfAnEarlierScanDoNotEndTheNextOne) {
    auto backend = started();
    peer->sendEvent("CTRL-EVENT-SCAN-RESULTS "); // the supplicant's own background scan
    peer->setBssTable({replies::bss(1, "02:00:00:00:01:00", 2412, -40, "[ESS]", "late")});
    ASSERT_TRUE(backend->requestScan());
    auto survey = std::async(std::launch::async, [&] { return backend->collectScan(); });
    EXPECT_EQ(survey.wait_for(300ms), std::future_status::timeout);
    peer->sendEvent("CTRL-EVENT-SCAN-RESULTS ");
    ASSERT_EQ(survey.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(survey.get().size(), 1u);
}

TEST_F(WpaBackendTest, ASurveyWaitsBesideTheMonitorsCallsAndEndsWhenTheAdapterGoes) {
    auto backend = started();
    peer->answer("STATUS", replies::statusWpa2Psk);
    peer->answer("SIGNAL_POLL", replies::signalPoll(-50, 54, 5180));
    peer->setBssTable(dozenNetworks());
    ASSERT_TRUE(backend->requestScan());
    auto survey = std::async(std::launch::async, [&] { return backend->collectScan(); });
    // The monitor's cycle goes on while the survey waits, and takes its events too.
    for (int cycle = 0; cycle < 5; ++cycle) {
        LinkStatus link{};
        backend->readLink(link);
        EXPECT_EQ(link.connected, 1);
        StationSettings record{};
        backend->readBack(record);
        EXPECT_FALSE(backend->unplugged());
        if (cycle == 2) {
            peer->sendEvent("CTRL-EVENT-SCAN-RESULTS ");
        }
    }
    ASSERT_EQ(survey.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(survey.get().size(), 12u);

    // A survey that is waiting when the adapter stops ends at once, with nothing.
    ASSERT_TRUE(backend->requestScan());
    std::atomic<bool> collecting{false};
    auto orphan = std::async(std::launch::async, [&] {
        collecting = true;
        return backend->collectScan();
    });
    ASSERT_TRUE(waitFor([&] { return collecting.load(); }));
    ASSERT_EQ(orphan.wait_for(50ms), std::future_status::timeout) << "the survey waits for its results";
    backend->stop();
    ASSERT_EQ(orphan.wait_for(1s), std::future_status::ready);
    EXPECT_TRUE(orphan.get().empty());
}

TEST_F(WpaBackendTest, WithoutResultsInTimeTheSurveyShowsTheNetworksKnownSoFar) {
    auto backend = started();
    peer->setBssTable({replies::bss(1, "02:00:00:00:01:00", 2412, -40, "[ESS]", "known")});
    ASSERT_TRUE(backend->requestScan());
    EXPECT_EQ(backend->collectScan().size(), 1u);
    EXPECT_EQ(logCount("no scan results in time"), 1u);
}

// --- Settings ---

TEST_F(WpaBackendTest, ApplyReplacesTheProgramsOwnBlockAndLeavesTheUsersAlone) {
    const int home =
        peer->addUserNetwork({{"ssid", "\"home\""}, {"psk", "\"users own secret\""}, {"id_str", "\"home\""}});
    const int work = peer->addUserNetwork({{"ssid", "\"work\""}, {"key_mgmt", "NONE"}});
    auto backend = started();

    backend->apply(pskRecord("first", "first passphrase"));
    backend->apply(pskRecord("Cafe Net", "correct horse battery"));

    const auto networks = peer->networks();
    ASSERT_EQ(networks.size(), 3u); // the user's two and one of ours: the first was replaced
    EXPECT_EQ(networks.at(home).fields.at("psk"), "\"users own secret\"");
    EXPECT_EQ(networks.at(home).fields.at("id_str"), "\"home\"");
    EXPECT_EQ(networks.at(work).fields.at("ssid"), "\"work\"");
    const auto ours = std::find_if(networks.begin(), networks.end(), [](const auto& n) {
        const auto tag = n.second.fields.find("id_str");
        return tag != n.second.fields.end() && tag->second == "\"skyvane\"";
    });
    ASSERT_NE(ours, networks.end());
    EXPECT_EQ(ours->second.fields.at("ssid"), "\"Cafe Net\"");
    EXPECT_EQ(ours->second.fields.at("psk"), "\"correct horse battery\"");
    EXPECT_EQ(ours->second.fields.at("proto"), "RSN");
    EXPECT_FALSE(ours->second.disabled); // selected
    EXPECT_TRUE(networks.at(home).disabled);
    EXPECT_EQ(peer->count("REMOVE_NETWORK"), 1u);
    EXPECT_EQ(peer->count("SELECT_NETWORK " + std::to_string(ours->first)), 1u);
    // The owner's mark is the first field set, so an apply cut short still leaves a block
    // that the next apply finds and replaces.
    const auto commands = peer->commands();
    const auto add = std::find(commands.rbegin(), commands.rend(), "ADD_NETWORK");
    ASSERT_NE(add, commands.rend());
    EXPECT_EQ(*(add - 1), "SET_NETWORK " + std::to_string(ours->first) + " id_str \"skyvane\"");

    // Read back: the block, and what the supplicant cannot express as it was applied.
    StationSettings record{};
    backend->readBack(record);
    EXPECT_STREQ(record.cSSID, "Cafe Net");
    EXPECT_EQ(record.AuthenticationMode, 7);
    EXPECT_EQ(record.EncryptionMode, 3);
    EXPECT_EQ(record.NetworkType, 1);
    EXPECT_EQ(record.PreambleMode, 1);
    EXPECT_EQ(record.PowerSaveMode, 2);
    EXPECT_EQ(record.AdvancedMode[0], 1);
    EXPECT_EQ(record.WirelessMode[Mode11AT], 1);
    EXPECT_EQ(record.RTSThreshold, 2347);
    EXPECT_EQ(record.TxRate, 12);
    EXPECT_EQ(record.cWPAPassPhase[0], '\0'); // never read from the supplicant
}

// The end of the program gives the user's networks back to the supplicant: those the selection
// of ours disabled are enabled again, one the user had disabled stays so, and ours stays
// selected (enabling a block leaves the current network alone).
TEST_F(WpaBackendTest, AtTheEndTheUsersBlocksItDisabledAreEnabledAgain) {
    const int home = peer->addUserNetwork({{"ssid", "\"home\""}});
    const int work = peer->addUserNetwork({{"ssid", "\"work\""}});
    const int spare = peer->addUserNetwork({{"ssid", "\"spare\""}}, false);
    {
        auto backend = started();
        backend->apply(pskRecord("first", "first passphrase"));
        backend->apply(pskRecord("Cafe Net", "correct horse battery"));
        const auto during = peer->networks();
        EXPECT_TRUE(during.at(home).disabled && during.at(work).disabled);
        peer->clearCommands();
    }
    const auto after = peer->networks();
    EXPECT_FALSE(after.at(home).disabled);
    EXPECT_FALSE(after.at(work).disabled);
    EXPECT_TRUE(after.at(spare).disabled);
    const auto ours = std::find_if(after.begin(), after.end(), [](const auto& n) {
        const auto tag = n.second.fields.find("id_str");
        return tag != n.second.fields.end() && tag->second == "\"skyvane\"";
    });
    ASSERT_NE(ours, after.end());
    EXPECT_FALSE(ours->second.disabled);
    EXPECT_EQ(peer->count("SELECT_NETWORK"), 0u) << "the end selects nothing";
    EXPECT_EQ(peer->count("ENABLE_NETWORK"), 2u);
}

// A supplicant that restarted has the user's blocks from its file: the end leaves them alone.
TEST_F(WpaBackendTest, AfterTheSupplicantRestartedTheEndEnablesNothing) {
    peer->addUserNetwork({{"ssid", "\"home\""}});
    {
        auto backend = started();
        backend->apply(pskRecord("ours", "correct horse battery"));
        peer->stop();
        EXPECT_TRUE(backend->unplugged());
        backend->stop();
        peer->restart();
        ASSERT_TRUE(backend->probe());
        ASSERT_TRUE(backend->start());
        peer->clearCommands();
    }
    EXPECT_EQ(peer->count("ENABLE_NETWORK"), 0u);
}

TEST_F(WpaBackendTest, AssociationShowsInTheLinkAndTheRateInTheReadBack) {
    auto backend = started();
    backend->apply(pskRecord("home 5G", "correct horse battery"));
    LinkStatus link{};
    backend->readLink(link);
    EXPECT_EQ(link.connected, 0);

    peer->sendEvent("CTRL-EVENT-CONNECTED - Connection to 02:00:00:00:04:00 completed [id=0 id_str=skyvane]");
    peer->answer("STATUS", replies::statusWpa2Psk);
    peer->answer("SIGNAL_POLL", replies::signalPoll(-58, 72, 5180));
    backend->readLink(link);
    EXPECT_EQ(link.connected, 1);
    EXPECT_EQ(link.authStatus, 4);
    EXPECT_EQ(link.signalStrength, 84);
    const unsigned char bssid[6] = {0x02, 0, 0, 0, 0x04, 0};
    EXPECT_EQ(std::memcmp(link.bssid, bssid, 6), 0);

    StationSettings record{};
    backend->readBack(record);
    EXPECT_EQ(record.Channel, 14); // 5180 MHz: channel 36
    EXPECT_EQ(record.TxRateAuto, 1);
    EXPECT_EQ(record.TxRate, 14); // 72 Mbit/s

    // Authentication keeps failing: the network is there but refuses the settings.
    peer->sendEvent("CTRL-EVENT-DISCONNECTED bssid=02:00:00:00:04:00 reason=15");
    peer->sendEvent("CTRL-EVENT-SSID-TEMP-DISABLED id=0 ssid=\"home 5G\" auth_failures=1 duration=10 "
                    "reason=WRONG_KEY");
    peer->answer("STATUS", replies::statusScanning);
    backend->readLink(link);
    EXPECT_EQ(link.connected, 0);
    EXPECT_EQ(link.authStatus, 2);
}

TEST_F(WpaBackendTest, SecretsNeverReachTheDiagnostics) {
    auto backend = started();
    for (const char* field : {"psk", "wep_key0", "wep_key2", "private_key_passwd", "identity"}) {
        peer->refuseField(field);
    }
    StationSettings psk = pskRecord("net", "correct horse battery staple");
    backend->apply(psk);
    StationSettings wep{};
    copyText(wep.cSSID, "wep");
    wep.NetworkType = 1;
    wep.EncryptionMode = 1;
    wep.AuthenticationMode = 1;
    copyText(wep.ucWEPKey1Value, "a1b2c3d4e5");
    copyText(wep.ucWEPKey3Value, "f00dfeedbeefcafe0123456789");
    backend->apply(wep);
    StationSettings eap{};
    copyText(eap.cSSID, "corp");
    eap.NetworkType = 1;
    eap.AuthenticationMode = 6;
    eap.EncryptionMode = 3;
    copyText(eap.cCertificateName, "AB12");
    copyText(eap.cCertificateHash, "CD34");
    copyText(eap.cLoginName, "alice");
    backend->apply(eap);

    EXPECT_EQ(logCount("refused the network's psk"), 1u);
    EXPECT_EQ(logCount("refused the network's wep_key0"), 1u);
    EXPECT_EQ(logCount("refused the network's private_key_passwd"), 1u);
    for (const std::string& line : log()) {
        for (const char* secret : {"correct horse", "a1b2c3d4e5", "f00dfeed", "key-password-9"}) {
            EXPECT_EQ(line.find(secret), std::string::npos) << line;
        }
    }
}

TEST_F(WpaBackendTest, An8021xNetworkWithoutItsCertificateFilesIsStoredButNotJoined) {
    WpaSupplicantBackend backend(options()); // no certificate lookup
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    StationSettings eap{};
    copyText(eap.cSSID, "corp");
    eap.NetworkType = 1;
    eap.AuthenticationMode = 3;
    eap.EncryptionMode = 3;
    copyText(eap.cCertificateName, "AB12");
    copyText(eap.cCertificateHash, "CD34");
    backend.apply(eap);
    EXPECT_EQ(peer->count("SELECT_NETWORK"), 0u);
    ASSERT_EQ(peer->networks().size(), 1u);
    EXPECT_TRUE(peer->networks().begin()->second.disabled);
    EXPECT_EQ(logCount("the files of client certificate AB12 are not known"), 1u);
    EXPECT_EQ(logCount("the file of authority certificate CD34 is not known"), 1u);
    EXPECT_EQ(logCount("stored but not joined"), 1u);
}

TEST_F(WpaBackendTest, ReadBackLooksForTheOwnBlockOnlyWhenTheNetworksChange) {
    for (int i = 0; i < 5; ++i) {
        peer->addUserNetwork({{"ssid", "\"user" + std::to_string(i) + "\""}});
    }
    auto backend = started();
    backend->apply(pskRecord("ours", "correct horse battery"));
    peer->clearCommands();
    StationSettings record{};
    backend->readBack(record);
    backend->readBack(record);
    EXPECT_EQ(peer->count("LIST_NETWORKS"), 0u); // the block's id is known
    EXPECT_STREQ(record.cSSID, "ours");

    // A block added or removed by someone else sends the next read-back looking once.
    peer->sendEvent("CTRL-EVENT-NETWORK-ADDED 6");
    backend->readBack(record);
    backend->readBack(record);
    EXPECT_EQ(peer->count("LIST_NETWORKS"), 1u);
    EXPECT_STREQ(record.cSSID, "ours");
}

TEST_F(WpaBackendTest, CountryIsSetOnlyForAPlanOfOneNation) {
    auto backend = started();
    EXPECT_EQ(backend->channelPlan(), 0); // the supplicant has no country
    peer->answer("GET country", "DE");
    EXPECT_EQ(backend->channelPlan(), 2);
    peer->answer("GET country", "JP");
    EXPECT_EQ(backend->channelPlan(), 11);

    peer->answer("SET country JP", "OK\n");
    backend->setChannelPlan(7); // Japan's plan
    EXPECT_EQ(peer->count("SET country JP"), 1u);
    backend->setChannelPlan(3); // the FCC plan serves many countries
    backend->setChannelPlan(3);
    EXPECT_EQ(peer->count("SET country"), 1u);
    EXPECT_EQ(logCount("channel plan 3 serves several countries"), 1u);
    EXPECT_EQ(backend->channelPlan(), 3); // as set

    EXPECT_FALSE(backend->setCountry("jp1"));
    peer->answer("SET country ZZ", "FAIL\n");
    EXPECT_FALSE(backend->setCountry("ZZ"));
    EXPECT_EQ(logCount("refused the country ZZ"), 1u);
}

TEST_F(WpaBackendTest, SystemServiceAndItsSettingsComeFromTheInjectedFunctions) {
    auto backend = started();
    EXPECT_FALSE(backend->systemServiceManages());
    EXPECT_EQ(serviceAsked, "wlan0");
    service = SystemServiceReport{true, 100};
    EXPECT_TRUE(backend->systemServiceManages());
    EXPECT_EQ(backend->systemServiceState(), 100);
    backend->openSystemSettings();
    EXPECT_EQ(settingsOpened, 1);
}

// --- Faults ---

TEST_F(WpaBackendTest, ASupplicantThatStopsIsAnUnplugAndItsReturnAReplug) {
    peer->addUserNetwork({{"ssid", "\"home\""}});
    auto backend = started();
    backend->apply(pskRecord("ours", "correct horse battery"));
    EXPECT_FALSE(backend->unplugged());

    peer->stop();
    EXPECT_TRUE(backend->unplugged());
    backend->stop();
    for (int cycle = 0; cycle < 3; ++cycle) {
        EXPECT_FALSE(backend->probe());
    }
    EXPECT_EQ(logCount("counts as absent"), 2u); // the failed PING, then the missing socket; once each

    peer->restart(); // a fresh supplicant: the user's blocks from its file, ours gone
    ASSERT_TRUE(backend->probe());
    ASSERT_TRUE(backend->start());
    EXPECT_EQ(logCount("wpa_supplicant wlan0 answers again"), 1u);
    EXPECT_EQ(peer->count("ATTACH"), 2u);
    StationSettings record{};
    backend->readBack(record);
    EXPECT_STREQ(record.cSSID, ""); // nothing of ours, joined to nothing
    EXPECT_EQ(record.TxRate, 12);   // what was applied stays as applied

    // The next apply (the reconnection rule's) works on the new supplicant.
    backend->apply(pskRecord("ours", "correct horse battery"));
    EXPECT_EQ(peer->networks().size(), 2u);
}

TEST_F(WpaBackendTest, ATerminatingSupplicantIsNoticedFromItsEvent) {
    auto backend = started();
    peer->sendEvent("CTRL-EVENT-TERMINATING ");
    peer->clearCommands();
    EXPECT_TRUE(backend->unplugged());
    EXPECT_EQ(peer->count("PING"), 0u);
    EXPECT_EQ(logCount("the supplicant has stopped"), 1u);
}

TEST_F(WpaBackendTest, AnInterfaceThatVanishesIsAnUnplug) {
    auto backend = started();
    tree.removeInterface("wlan0");
    EXPECT_TRUE(backend->unplugged());
    backend->stop();
    EXPECT_FALSE(backend->probe());
    tree.addInterface("wlan0", true);
    EXPECT_TRUE(backend->probe());
    EXPECT_TRUE(backend->start());
}

void readLinkOnce(WpaSupplicantBackend& backend) {
    LinkStatus link{};
    backend.readLink(link);
}

void applyOnce(WpaSupplicantBackend& backend) {
    backend.apply(pskRecord("x", "correct horse battery"));
}

void checkPlugged(WpaSupplicantBackend& backend) {
    backend.unplugged();
}

TEST_F(WpaBackendTest, GarbageRepliesMakeTheAdapterAbsentUntilItAnswersProperly) {
    const struct {
        std::string command;
        std::string garbage;
        std::string repaired;
        void (*call)(WpaSupplicantBackend&);
        const char* logged;
        bool probeAsks; // a probe asks this command too, so it stays absent while garbage comes
    } cases[] = {
        {"STATUS", "\x01\x02\xff binary", replies::statusOpen, readLinkOnce,
         "STATUS answered \"\\x01\\x02\\xff binary\"", true},
        {"SIGNAL_POLL", "LINKSPEED=ten\n", "FAIL\n", readLinkOnce, "SIGNAL_POLL answered", false},
        {"LIST_NETWORKS", "OK\n", "network id / ssid / bssid / flags\n", applyOnce, "LIST_NETWORKS answered",
         false},
        {"ADD_NETWORK", "PONG\n", "0\n", applyOnce, "ADD_NETWORK answered", false},
        {"PING", "PANG\n", "PONG\n", checkPlugged, "PING answered \"PANG\\n\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        peer->restart();
        peer->answer("STATUS",
                     c.command == "SIGNAL_POLL" ? replies::statusWpa2Psk : replies::statusDisconnected);
        auto backend = started();
        peer->answer(c.command, c.garbage);
        c.call(*backend);
        EXPECT_TRUE(backend->unplugged());
        EXPECT_EQ(logCount(c.logged), 1u);
        backend->stop();
        if (c.probeAsks) {
            EXPECT_FALSE(backend->probe()); // still garbage: still absent, and said once only
            EXPECT_EQ(logCount(c.logged), 1u);
        }
        peer->answer(c.command, c.repaired);
        EXPECT_TRUE(backend->probe());
        EXPECT_TRUE(backend->start());
    }
}

TEST_F(WpaBackendTest, ASupplicantThatStopsAnsweringIsAbsentAfterLibwpaClientsLimit) {
    auto backend = started();
    peer->silence("PING");
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_TRUE(backend->unplugged());
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 30s); // libwpa_client waits ten seconds
    EXPECT_EQ(logCount("PING had no reply in time"), 1u);

    // A late reply to the old socket cannot be taken for the next command's: the next probe
    // opens a new one.
    backend->stop();
    peer->answer("PING", "PONG\n");
    EXPECT_TRUE(backend->probe());
}

} // namespace
