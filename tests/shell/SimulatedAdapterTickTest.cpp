// The status tick over the simulated driver library: associated, pulled out, plugged back in
// where the old network is gone, and reconnected from the configuration chosen last. The
// library is one per process, so this is the only test of its executable.
#include "ShellFixture.h"
#include "support/WaitFor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

using namespace std::chrono_literals;

namespace shelltest {
namespace {

// Writes the world and moves its modification time on, so the library sees every change even
// within the file system's time granularity.
void writeWorld(const std::string& path, bool present, int homeSignal) {
    static long stamp = 1000000;
    {
        std::ofstream out(path, std::ios::trunc);
        out << "[adapter]\nPresent=" << (present ? 1 : 0)
            << "\nSurveyDelayMs=0\nAssociationDelayMs=0\nJitter=0\n"
               "[driver]\nType=infrastructure\nSSID=HomeNet\nSecurity=open\nChannel=6\n"
               "[network home]\nSSID=HomeNet\nChannel=6\nSignal="
            << homeSignal << "\n[network cafe]\nSSID=Cafe\nChannel=6\nSignal=30\n";
    }
    ++stamp;
    const timespec times[2] = {{stamp, 0}, {stamp, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

size_t countLines(const std::string& path, const std::string& line) {
    std::ifstream in(path);
    size_t count = 0;
    for (std::string text; std::getline(in, text);) {
        count += text == line ? 1 : 0;
    }
    return count;
}

TEST(StatusTickOverSimulatedAdapter, ShowsTheLinkFollowsPluggingAndReconnects) {
    const auto home = std::filesystem::current_path();
    std::filesystem::remove_all("run"); // the driver's saved settings of an earlier run go too
    std::filesystem::create_directory("run");
    std::filesystem::current_path("run");
    const std::string world = std::filesystem::absolute("world.ini");
    const std::string trace = std::filesystem::absolute("trace.txt");
    writeWorld(world, true, 70);
    ::setenv("WLANSIM_WORLD", world.c_str(), 1);
    ::setenv("WLANSIM_TRACE", trace.c_str(), 1);
    writeSkin();
    writeSettings({});
    writeOnLink("Cafe");

    RecordingUiServices ui;
    ProfileStore store;
    AppSettings settings;
    TextCatalog texts;
    RegistryMirror mirror{registryKeyPath, "registry"};
    OpenSslCertificateStore certificates;
    MainDialog window(
        makeDriverLibraryBackend(), AppServices{store, settings, texts, mirror, ui, certificates},
        MainDialog::Options{WirelessAdapter::Monitor::Manual, false, TrayController::Presence::Present});
    window.OnInitDialog();
    const auto second = [&] {
        window.adapter().runMonitorCycle();
        window.onStatusTimer();
    };
    const auto& state = window.state();
    // The simulated association takes a moment of real time; seconds are run until it is there.
    const auto secondsUntilAssociated = [&] {
        waitFor(
            [&] {
                if (state.linkStatus().connected == 0) {
                    second();
                }
                return state.linkStatus().connected != 0;
            },
            5s, 10ms);
        return state.linkStatus().connected;
    };

    ASSERT_EQ(secondsUntilAssociated(), 1);
    EXPECT_STREQ(state.linkStatus().ssid, "HomeNet");
    EXPECT_EQ(window.tray().icon(), TrayIcon::Bars3) << "signal 70";

    writeWorld(world, false, 70);
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Absent);
    EXPECT_TRUE(state.unplugged());

    writeWorld(world, true, 0); // back in, but the home network is out of range
    second();
    EXPECT_FALSE(state.unplugged());
    EXPECT_STREQ(state.pendingConfig().cSSID, "Cafe") << "the first ready tick without a link reconnects";
    EXPECT_EQ(countLines(trace, R"(API_SetSSID "Cafe")"), 0u);

    ASSERT_EQ(secondsUntilAssociated(), 1);
    EXPECT_STREQ(state.linkStatus().ssid, "Cafe");
    EXPECT_EQ(window.tray().icon(), TrayIcon::Bars2) << "signal 30";
    EXPECT_EQ(countLines(trace, R"(API_SetSSID "Cafe")"), 1u);

    std::filesystem::current_path(home);
}

} // namespace
} // namespace shelltest
