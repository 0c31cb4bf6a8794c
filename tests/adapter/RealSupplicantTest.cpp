#include "support/RealSupplicant.h"
#include "adapter/WpaReplies.h"
#include "adapter/WpaSupplicantBackend.h"
#include "platform/Diagnostics.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include <unistd.h>

using namespace std::chrono_literals;

// The backend against Debian's wpa_supplicant, started by each test on the loopback interface
// with the "none" driver and a control directory of its own. That driver associates with
// nothing and cannot scan, so these tests cover what a real supplicant does with the
// program's network blocks, its events and its restarts; the link and the survey's contents
// are covered by the scripted peer.
namespace {

class RealSupplicantTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (RealSupplicant::binary().empty()) {
            GTEST_SKIP() << "wpa_supplicant is not installed (scripts/deps installs wpasupplicant)";
        }
        char pattern[] = "/tmp/skyvane-wpa.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        for (const char* name : {"client.pem", "client.key", "ca.pem"}) {
            std::ofstream(m_dir + "/" + name) << "not a real certificate\n";
        }
        m_supplicant = std::make_unique<RealSupplicant>(
            m_dir, "network={\n\tssid=\"home\"\n\tpsk=\"users own passphrase\"\n\tid_str=\"home\"\n"
                   "\tpriority=5\n}\n\nnetwork={\n\tssid=\"cafe\"\n\tkey_mgmt=NONE\n}\n");
        controlDirectory = m_supplicant->controlDirectory();
        std::string why;
        if (!startSupplicant(why)) {
            GTEST_SKIP() << "wpa_supplicant cannot run here: " << why;
        }
        diag::setSink([this](diag::Level level, std::string_view, std::string_view message) {
            if (level != diag::Level::Debug && level != diag::Level::Info) {
                warnings.emplace_back(message);
            }
        });
    }

    void TearDown() override {
        diag::setSink({});
        m_supplicant.reset();
        if (!m_dir.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_dir, ignored);
        }
    }

    bool startSupplicant(std::string& why) { return m_supplicant->start(why); }
    void stopSupplicant() { m_supplicant->stop(); }

    WpaSupplicantBackend::Options options() const {
        WpaSupplicantBackend::Options o;
        o.interfaceName = "lo";
        o.controlDirectory = controlDirectory;
        o.scanTimeout = 5000ms;
        o.systemService = [](const std::string&) { return SystemServiceReport{}; };
        o.openSettings = [] {};
        return o;
    }

    wpa::CertificateLookup certificates() const {
        wpa::CertificateLookup lookup;
        lookup.clientCertificate =
            [dir = m_dir](const std::string& id) -> std::optional<wpa::ClientCertificateFiles> {
            if (id != "AB12") {
                return std::nullopt;
            }
            return wpa::ClientCertificateFiles{dir + "/client.pem", dir + "/client.key", "key password"};
        };
        lookup.authorityFile = [dir = m_dir](const std::string& id) -> std::optional<std::string> {
            return id == "CD34" ? std::optional<std::string>(dir + "/ca.pem") : std::nullopt;
        };
        return lookup;
    }

    // GET_NETWORK of every block, by id: the fields asked for, as the supplicant prints them.
    std::map<int, std::map<std::string, std::string>> blocks(const std::vector<std::string>& fields) {
        auto result = m_supplicant->blocks(fields);
        EXPECT_FALSE(result.empty()) << "the supplicant lists no network";
        return result;
    }

    std::string request(const std::string& command) { return m_supplicant->request(command); }

    const std::string& directory() const { return m_dir; }

    std::string controlDirectory;
    std::vector<std::string> warnings;

private:
    std::string m_dir;
    std::unique_ptr<RealSupplicant> m_supplicant;
};

StationSettings base(const char* ssid, int32_t networkType, int32_t authentication, int32_t encryption) {
    StationSettings r{};
    copyText(r.cSSID, ssid);
    r.NetworkType = networkType;
    r.AuthenticationMode = authentication;
    r.EncryptionMode = encryption;
    r.Channel = 5;
    r.TxRateAuto = 1;
    r.TxRate = 12;
    r.WirelessMode[Mode11B] = 1;
    r.WirelessMode[Mode11G] = 1;
    return r;
}

TEST_F(RealSupplicantTest, EachApplyLeavesTheExpectedBlockAndTheUsersBlocksSurvive) {
    StationSettings open = base("Open Net", 1, 0, 0);

    StationSettings wep = base("Old WEP", 1, 1, 1);
    copyText(wep.ucWEPKey1Value, "0102030405");
    copyText(wep.ucWEPKey2Value, "1112131415");
    copyText(wep.ucWEPKey3Value, "2122232425");
    copyText(wep.ucWEPKey4Value, "3132333435");
    wep.iWEPKeyBits = 64;
    wep.iDefaultWEPKeyID = 2;

    StationSettings wpa2 = base("Home 5G", 1, 7, 3);
    copyText(wpa2.cWPAPassPhase, "correct horse battery");
    wpa2.WirelessMode[Mode11B] = 0;
    wpa2.WirelessMode[Mode11G] = 0;
    wpa2.WirelessMode[Mode11A] = 1;

    StationSettings combined = base("Mixed", 1, 4, 2); // the WPA-PSK/WPA2-PSK choice
    copyText(combined.cWPAPassPhase, std::string(64, 'b').c_str());

    StationSettings eap = base("Corp", 1, 3, 3); // the WPA/WPA2 choice
    copyText(eap.cCertificateName, "AB12");
    copyText(eap.cCertificateHash, "CD34");
    copyText(eap.cDomainName, "radius.example.org");
    copyText(eap.cLoginName, "alice");

    StationSettings adHoc = base("Field Cell", 0, 2, 1);
    adHoc.Channel = 10;
    copyText(adHoc.ucWEPKey1Value, "a1a2a3a4a5a6a7a8a9aaabacad");
    adHoc.iWEPKeyBits = 128;

    const struct {
        const char* label;
        StationSettings record;
        std::map<std::string, std::string> fields;
        int32_t authentication, encryption, networkType, channel;
    } cases[] = {
        {"open",
         open,
         {{"ssid", "\"Open Net\""},
          {"key_mgmt", "NONE"},
          {"auth_alg", "OPEN"},
          {"mode", "0"},
          {"scan_ssid", "1"},
          {"wep_key0", "FAIL"},
          {"psk", "FAIL"},
          {"freq_list", "2412 2417 2422 2427 2432 2437 2442 2447 2452 2457 2462 2467 2472 2484"}},
         0,
         0,
         1,
         5},
        {"WEP",
         wep,
         {{"ssid", "\"Old WEP\""},
          {"key_mgmt", "NONE"},
          {"wep_key0", "*"},
          {"wep_key1", "*"},
          {"wep_key2", "*"},
          {"wep_key3", "*"},
          {"wep_tx_keyidx", "2"},
          {"auth_alg", "SHARED"}},
         1,
         1,
         1,
         5},
        {"WPA2-PSK",
         wpa2,
         {{"ssid", "\"Home 5G\""},
          {"key_mgmt", "WPA-PSK"},
          {"proto", "RSN"},
          {"pairwise", "CCMP"},
          {"psk", "*"},
          {"freq_list", "5180 5200 5220 5240 5260 5280 5300 5320 5500 5520 5540 5560 "
                        "5580 5600 5620 5640 5660 5680 5700 5720 5745 5765 5785 5805 "
                        "5825"}},
         7,
         3,
         1,
         5},
        {"WPA/WPA2-PSK",
         combined,
         {{"key_mgmt", "WPA-PSK"}, {"proto", "WPA RSN"}, {"pairwise", "CCMP TKIP"}, {"psk", "*"}},
         4,
         2,
         1,
         5},
        {"802.1X",
         eap,
         {{"key_mgmt", "WPA-EAP"},
          {"proto", "WPA RSN"},
          {"pairwise", "CCMP"},
          {"eap", "TLS"},
          {"identity", "\"alice\""},
          {"domain_suffix_match", "\"radius.example.org\""},
          {"private_key_passwd", "*"},
          {"psk", "FAIL"},
          {"client_cert", "\"" + directory() + "/client.pem\""},
          {"private_key", "\"" + directory() + "/client.key\""},
          {"ca_cert", "\"" + directory() + "/ca.pem\""}},
         3,
         3,
         1,
         5},
        {"ad hoc",
         adHoc,
         {{"ssid", "\"Field Cell\""},
          {"mode", "1"},
          {"frequency", "2462"},
          {"key_mgmt", "NONE"},
          {"wep_key0", "*"},
          {"auth_alg", "OPEN SHARED"},
          {"scan_ssid", "0"}},
         2,
         1,
         0,
         10},
    };

    WpaSupplicantBackend backend(options(), certificates());
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        backend.apply(c.record);

        std::vector<std::string> asked = {"id_str", "disabled", "ssid", "psk", "priority"};
        for (const auto& [field, value] : c.fields) {
            asked.push_back(field);
        }
        const auto all = blocks(asked);
        ASSERT_EQ(all.size(), 3u); // the user's two and one of the program's
        int ours = -1;
        for (const auto& [id, fields] : all) {
            if (fields.at("id_str") == "\"skyvane\"") {
                EXPECT_EQ(ours, -1) << "a second block of the program's";
                ours = id;
            }
        }
        ASSERT_NE(ours, -1);
        for (const auto& [field, value] : c.fields) {
            EXPECT_EQ(all.at(ours).at(field), value) << field;
        }
        EXPECT_EQ(all.at(ours).at("disabled"), "0"); // selected
        EXPECT_EQ(all.at(0).at("ssid"), "\"home\"");
        EXPECT_EQ(all.at(0).at("psk"), "*");
        EXPECT_EQ(all.at(0).at("id_str"), "\"home\"");
        EXPECT_EQ(all.at(0).at("priority"), "5");
        EXPECT_EQ(all.at(1).at("ssid"), "\"cafe\"");
        EXPECT_EQ(all.at(1).at("psk"), "FAIL");

        StationSettings readBack{};
        backend.readBack(readBack);
        EXPECT_STREQ(readBack.cSSID, c.record.cSSID);
        EXPECT_EQ(readBack.AuthenticationMode, c.authentication);
        EXPECT_EQ(readBack.EncryptionMode, c.encryption);
        EXPECT_EQ(readBack.NetworkType, c.networkType);
        EXPECT_EQ(readBack.Channel, c.channel);
        EXPECT_EQ(readBack.TxRate, 12);
    }
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST_F(RealSupplicantTest, TheLinkOnLoopbackAndAScanThatTheNoneDriverCannotMake) {
    WpaSupplicantBackend backend(options());
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    const AdapterInfo info = backend.readAdapterInfo();
    EXPECT_STREQ(info.hardwareId, "lo");

    LinkStatus link{};
    backend.readLink(link);
    EXPECT_EQ(link.connected, 0);
    EXPECT_EQ(link.signalStrength, 0); // SIGNAL_POLL has nothing to say without a driver
    EXPECT_STREQ(link.ipText[0], "127.0.0.1");
    EXPECT_STREQ(link.ipText[1], "255.0.0.0");

    // The scan is accepted and fails at once; the survey is empty, not an error.
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_TRUE(backend.requestScan());
    EXPECT_TRUE(backend.collectScan().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 4000ms); // ended by the failure, not the time limit
    EXPECT_FALSE(backend.unplugged());
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST_F(RealSupplicantTest, AJapaneseChannelPlanSetsTheCountry) {
    WpaSupplicantBackend backend(options());
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    EXPECT_EQ(backend.channelPlan(), 0); // no country in its configuration
    backend.setChannelPlan(7);
    EXPECT_EQ(request("GET country"), "JP");
    backend.setChannelPlan(2); // ETSI serves many countries: left as it is
    EXPECT_EQ(request("GET country"), "JP");
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

// The country the user chose goes to the supplicant when the adapter starts, again after the
// supplicant came back, and with the plan it was chosen with; a region leaves the system's.
TEST_F(RealSupplicantTest, TheUsersCountryIsSetAtEachStart) {
    WpaSupplicantBackend::CountryChoice chosen{2, "DE"};
    WpaSupplicantBackend::Options withCountry = options();
    withCountry.chosenCountry = [&chosen] { return chosen; };
    WpaSupplicantBackend backend(withCountry);
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    EXPECT_EQ(request("GET country"), "DE");
    EXPECT_EQ(backend.channelPlan(), 2);

    stopSupplicant();
    EXPECT_TRUE(backend.unplugged());
    backend.stop();
    std::string why;
    ASSERT_TRUE(startSupplicant(why)) << why;
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    EXPECT_EQ(request("GET country"), "DE");
    warnings.clear(); // the stop was told

    chosen = {7, "JP"}; // chosen again (the dialog wrote it before the plan arrives)
    backend.setChannelPlan(7);
    EXPECT_EQ(request("GET country"), "JP");
    chosen = {2, ""}; // "Europe": no nation of its own
    backend.setChannelPlan(2);
    EXPECT_EQ(request("GET country"), "JP");
    EXPECT_EQ(backend.channelPlan(), 2);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST_F(RealSupplicantTest, ARestartedSupplicantIsAnUnplugAndAReplug) {
    WpaSupplicantBackend backend(options());
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    StationSettings record = base("Home", 1, 7, 3);
    copyText(record.cWPAPassPhase, "correct horse battery");
    backend.apply(record);

    stopSupplicant();
    EXPECT_TRUE(backend.unplugged());
    backend.stop();
    EXPECT_FALSE(backend.probe());

    std::string why;
    ASSERT_TRUE(startSupplicant(why)) << why;
    ASSERT_TRUE(backend.probe());
    ASSERT_TRUE(backend.start());
    EXPECT_EQ(blocks({"id_str"}).size(), 2u); // what was never saved is gone
    backend.apply(record);
    const auto all = blocks({"id_str", "ssid"});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all.rbegin()->second.at("id_str"), "\"skyvane\"");
    EXPECT_EQ(all.rbegin()->second.at("ssid"), "\"Home\"");
    for (const std::string& line : warnings) {
        EXPECT_EQ(line.find("correct horse"), std::string::npos);
    }
}

} // namespace
