// The whole program on the wpa_supplicant backend, offscreen, against Debian's wpa_supplicant on
// the loopback interface: it starts, the reconnection rule applies the configuration chosen
// last when the supplicant comes, the supplicant holds the program's network block beside the
// user's own and gets the user's country, and a supplicant that stops and comes back gets both
// again.
#include "ProgramProcess.h"
#include "storage/ProfileStore.h"
#include "support/RealSupplicant.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using Blocks = std::map<int, std::map<std::string, std::string>>;

const std::vector<std::string> fields = {"id_str", "disabled", "ssid", "key_mgmt",
                                         "proto",  "pairwise", "psk"};

// The working folder: the delivered files, the country chosen (Germany), and "on_link": the
// WPA2-PSK network chosen last.
fs::path prepareWpaRunFolder(const fs::path& run) {
    EXPECT_TRUE(prepareRunFolder(run, {"a.cba", "b.cba", "define.ini"}, "CountryDomain=2\nCountry=DE"));

    ProfileRecord onLink;
    onLink.SSID = "Office";
    onLink.bsstype = 1;
    onLink.AuthListIndex = 6;   // "WPA2-PSK"
    onLink.CipherListIndex = 0; // "AES"
    onLink.WPAPassPhase = "correct horse battery";
    onLink.Channel = 5;
    onLink.Mode11b = 1;
    onLink.Mode11g = 1;
    ProfileStore(run.string() + "/S.cba").writeOnLink(onLink);
    return run;
}

// Waits (a minute at most: a limit against hanging, not a measure) until the supplicant's
// blocks satisfy done, and returns them as last seen.
Blocks waitForBlocks(const RealSupplicant& supplicant, Program& program,
                     const std::function<bool(const Blocks&)>& done) {
    Blocks blocks;
    waitFor(
        [&] {
            blocks = supplicant.blocks(fields);
            return done(blocks) || !program.running();
        },
        1min, 100ms);
    return blocks;
}

bool hasOwnBlock(const Blocks& blocks) {
    for (const auto& [id, values] : blocks) {
        if (values.at("id_str") == "\"skyvane\"") {
            return true;
        }
    }
    return false;
}

void expectTheProgramsBlockAndTheUsers(const Blocks& blocks) {
    ASSERT_EQ(blocks.size(), 2u) << "the user's block and the program's";
    EXPECT_EQ(blocks.at(0).at("ssid"), "\"home\"");
    EXPECT_EQ(blocks.at(0).at("id_str"), "\"home\"");
    EXPECT_EQ(blocks.at(0).at("psk"), "*");
    const auto& own = blocks.rbegin()->second;
    EXPECT_EQ(own.at("id_str"), "\"skyvane\"");
    EXPECT_EQ(own.at("ssid"), "\"Office\"");
    EXPECT_EQ(own.at("key_mgmt"), "WPA-PSK");
    EXPECT_EQ(own.at("proto"), "RSN");
    EXPECT_EQ(own.at("pairwise"), "CCMP");
    EXPECT_EQ(own.at("psk"), "*");
    EXPECT_EQ(own.at("disabled"), "0") << "selected";
}

// Waits (a minute at most) until the program's standard error holds text.
bool waitForLog(const fs::path& path, const std::string& text, Program& program) {
    const auto logged = [&] { return readAll(path).find(text) != std::string::npos; };
    waitFor([&] { return logged() || !program.running(); }, 1min, 100ms);
    return logged();
}

// The program starts before the supplicant (as at a login where the adapter comes up later): the
// adapter's arrival is a plug-in, after which the reconnection applies "on_link".
TEST(ProgramOnWpaSupplicant, ReconnectsWithTheNetworkChosenLastWheneverTheSupplicantComes) {
    if (RealSupplicant::binary().empty()) {
        GTEST_SKIP() << "wpa_supplicant is not installed (scripts/deps installs wpasupplicant)";
    }
    // Socket paths are short: the supplicant's folder lives in /tmp.
    char pattern[] = "/tmp/skyvane-wpa-program.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path supplicantFolder = pattern;
    RealSupplicant supplicant(
        supplicantFolder.string(),
        "network={\n\tssid=\"home\"\n\tpsk=\"users own passphrase\"\n\tid_str=\"home\"\n}\n");

    const fs::path run = prepareWpaRunFolder(fs::absolute("wpa-run"));
    const fs::path output = fs::absolute("wpa-run.output");
    const fs::path errors = output.string() + ".err";
    std::string why;
    {
        Program program(
            run,
            {{"QT_QPA_PLATFORM", "offscreen"},
             {"XDG_RUNTIME_DIR", (run / "runtime").string()},
             {"XDG_CONFIG_HOME", (run / "config").string()},
             {"XDG_DATA_HOME", (run / "data").string()},
             {"QT_LOGGING_RULES", "skyvane.shell.debug=true"}},
            {{"--backend", "wpa", "--interface", "lo", "--control-dir", supplicant.controlDirectory()},
             {"WLANSIM_WORLD"},
             output});
        ASSERT_TRUE(waitForLog(errors, "counts as absent", program)) << readAll(errors);
        // The reconnection follows an absence that a status tick has seen; the tick says so
        // among its debug messages.
        ASSERT_TRUE(waitForLog(errors, "status tick: no adapter", program)) << readAll(errors);

        if (!supplicant.start(why)) {
            fs::remove_all(supplicantFolder);
            GTEST_SKIP() << "wpa_supplicant cannot run here: " << why;
        }
        Blocks blocks = waitForBlocks(supplicant, program, hasOwnBlock);
        ASSERT_TRUE(program.running()) << readAll(errors);
        expectTheProgramsBlockAndTheUsers(blocks);
        EXPECT_EQ(supplicant.request("GET country"), "DE");

        // The supplicant stops: the adapter is gone. Back, it has forgotten the unsaved block
        // and the country; the program gives it both again.
        supplicant.stop();
        ASSERT_TRUE(supplicant.start(why)) << why;
        blocks = waitForBlocks(supplicant, program, hasOwnBlock);
        ASSERT_TRUE(program.running()) << readAll(errors);
        expectTheProgramsBlockAndTheUsers(blocks);
        EXPECT_EQ(supplicant.request("GET country"), "DE");

        program.terminate();
        const auto status = program.waitForExit();
        ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the program";
        EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0);
    }
    const std::string log = readAll(errors);
    EXPECT_NE(log.find("wpa_supplicant lo answers again"), std::string::npos) << log;
    EXPECT_EQ(log.find("correct horse"), std::string::npos) << "a passphrase in the log";
    supplicant.stop();
    fs::remove_all(supplicantFolder);
}

} // namespace
