// The Site Survey page of the real window over the simulated driver library, whose survey takes
// two seconds: the window keeps handling its timers and input meanwhile, a second Refresh starts
// no second survey, and the world's networks arrive in the list. The library is one per
// process, so this is the only test of its executable.
#include "ShellFixture.h"

#include "controls/BitmapButton.h"
#include "support/WaitFor.h"

#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <fstream>

using namespace std::chrono_literals;

namespace shelltest {
namespace {

std::size_t countSurveys(const std::string& trace) {
    std::ifstream in(trace);
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);) {
        count += line.rfind("API_SiteSurvey", 0) == 0 ? 1 : 0;
    }
    return count;
}

TEST(SiteSurveyOverSimulatedAdapter, TheWindowStaysAliveWhileTheAdapterScans) {
    const auto home = std::filesystem::current_path();
    std::filesystem::remove_all("run");
    std::filesystem::create_directory("run");
    std::filesystem::current_path("run");
    const std::string world = std::filesystem::absolute("world.ini");
    const std::string trace = std::filesystem::absolute("trace.txt");
    std::ofstream(world) << "[adapter]\nPresent=1\nSurveyDelayMs=2000\nAssociationDelayMs=0\nJitter=0\n"
                            "[network home]\nSSID=HomeNet\nBSSID=00:1C:10:4E:82:01\nChannel=6\n"
                            "Security=wpa2-psk\nKey=correct horse\nSignal=78\n"
                            "[network cafe]\nSSID=Cafe\nBSSID=00:0F:66:C3:09:E4\nChannel=36\nSignal=38\n"
                            "[network cell]\nSSID=Cell\nBSSID=02:5A:19:C4:7E:33\nChannel=11\nType=adhoc\n"
                            "Security=wep\nKey=0123456789\nSignal=42\n";
    ::setenv("WLANSIM_WORLD", world.c_str(), 1);
    ::setenv("WLANSIM_TRACE", trace.c_str(), 1);
    writeSkin();
    writeSettings({});

    RecordingUiServices ui;
    ProfileStore store;
    AppSettings settings;
    TextCatalog texts;
    RegistryMirror mirror{registryKeyPath, "registry"};
    OpenSslCertificateStore certificates;
    MainDialog window(
        makeDriverLibraryBackend(), AppServices{store, settings, texts, mirror, ui, certificates},
        MainDialog::Options{WirelessAdapter::Monitor::Start, false, TrayController::Presence::Present});
    window.OnInitDialog();
    // The monitor thread brings the adapter up; the status tick sees it.
    ASSERT_TRUE(waitFor(
        [&] {
            window.onStatusTimer();
            return !window.state().unplugged();
        },
        5s, 50ms));

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    window.ShowPage(PageId::SiteSurvey);
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("networkList"));
    ASSERT_NE(list, nullptr);
    // A window blocked by the survey would come back with the list filled, having run no timer.
    const auto scanning = [&] { return window.state().surveyRunning() && list->topLevelItemCount() == 0; };
    EXPECT_TRUE(scanning()) << "the survey runs beside the window";
    EXPECT_EQ(ui.waitCursorDepth(), 1) << "the wait cursor shows while the adapter scans";
    ASSERT_TRUE(waitFor([&] { return ticks >= 5; }));
    EXPECT_TRUE(scanning()) << "the timer ran while the adapter scans";
    window.findChild<BitmapButton*>(QStringLiteral("refreshButton"))->click();
    EXPECT_TRUE(scanning());

    ASSERT_TRUE(waitFor([&] { return list->topLevelItemCount() != 0; }, 10s));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(ui.waitCursorDepth(), 0);
    EXPECT_EQ(countSurveys(trace), 1u) << "Refresh during a survey starts no other";

    const auto row = [&](int i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList texts;
        for (int column = 0; column < item->columnCount(); ++column) {
            texts << item->text(column);
        }
        return texts.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(row(0), "HomeNet|00:1C:10:4E:82:01|78%|WPA2PSK|6");
    EXPECT_EQ(row(1), "Cafe|00:0F:66:C3:09:E4|38%|none|36");
    EXPECT_EQ(row(2), "Cell|02:5A:19:C4:7E:33|42%|WEP|11");

    std::filesystem::current_path(home);
}

} // namespace
} // namespace shelltest
