// A driver call that hangs for seconds must never stop the window: its event loop keeps turning
// (a timer keeps firing, the status tick keeps running) and the adapter reads as not ready until
// the call comes back. Real threads and real time: the one slow test of the shell.
#include "ShellFixture.h"
#include "support/CallGate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

namespace shelltest {
namespace {

using namespace std::chrono_literals;

class HungDriver : public ShellTest {};

TEST_F(HungDriver, TheWindowsEventLoopKeepsTurningWhileADriverCallHangsFiveSeconds) {
    auto gate = std::make_shared<CallGate>("API_GetStatistics", 5000ms);
    m_window = std::make_unique<MainDialog>(
        std::make_shared<DriverLibraryBackend>(m_driverHandle), m_services,
        MainDialog::Options{WirelessAdapter::Monitor::Start, false, TrayController::Presence::Present});
    m_window->OnInitDialog();
    m_driver.setCallHook([gate](const std::string& line) { gate->pass(line); });
    ASSERT_TRUE(gate->waitUntilHolding(5000ms)) << "the monitor never reached the statistics";

    int timerFirings = 0;
    int ticks = 0;
    bool sawAbsent = false;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++timerFirings; });
    heartbeat.start(50);
    QTimer statusTimer;
    QObject::connect(&statusTimer, &QTimer::timeout, [&] {
        m_window->onStatusTimer(); // the tick reads snapshots only: it must return at once
        ++ticks;
        sawAbsent = sawAbsent || m_window->state().unplugged();
    });
    statusTimer.start(500);

    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 4500 && gate->holding()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const qint64 held = clock.elapsed();
    heartbeat.stop();
    statusTimer.stop();
    m_driver.setCallHook({});
    gate->open();

    EXPECT_GE(held, 4000) << "the call was let go early";
    // 50 ms timer: about 90 firings in 4.5 s; a loop that stalled for seconds would have a handful.
    EXPECT_GT(timerFirings, 40);
    EXPECT_GE(ticks, 7);
    EXPECT_TRUE(sawAbsent) << "a call stuck past the hang limit shows the adapter as not ready";
    EXPECT_EQ(m_window->tray().icon(), TrayIcon::Absent);
}

} // namespace
} // namespace shelltest
