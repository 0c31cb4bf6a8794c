// The once-a-second status tick against the recording driver: plugging, link loss and
// reconnection, pending applies, the system's wireless service, and the tray icon.
#include "ConnectionProcedure.h"
#include "ShellFixture.h"

#include <chrono>

using namespace std::chrono_literals;

namespace shelltest {
namespace {

using Sleeps = std::vector<std::chrono::milliseconds>;

const std::vector<std::string> noCalls;

class StatusTick : public ShellTest {
protected:
    std::vector<std::string> ssidsApplied() const { return m_driver.callsNamed("API_SetSSID"); }
};

TEST_F(StatusTick, AbsentAdapterShowsItsIconAndKeepsTheWindowHidden) {
    MainDialog& window = open();
    EXPECT_EQ(window.trayIcon(), TrayIcon::Starting) << "until the first tick";
    second();
    window.onTrayDoubleClick();
    ASSERT_TRUE(window.isVisible());

    unplug();
    second();
    EXPECT_EQ(window.trayIcon(), TrayIcon::Absent);
    EXPECT_EQ(window.windowShown(), 0);
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_FALSE(window.isVisible()) << "nothing but the tray shows the window again";
    second();
    EXPECT_EQ(window.trayIcon(), TrayIcon::Absent) << "still unplugged a second later";
}

TEST_F(StatusTick, LostAssociationReconnectsOnTheSecondTickOnce) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    ASSERT_EQ(window.reconnectCountdown(), 2);

    setLink(0);
    second();
    EXPECT_EQ(window.trayIcon(), TrayIcon::NoLink);
    EXPECT_TRUE(m_ui.sleeps().empty()) << "the first tick without the link only counts down";
    EXPECT_EQ(window.applyPending(), 0);

    second();
    EXPECT_EQ(m_ui.sleeps(), (Sleeps{1000ms, 1000ms})) << "the connection procedure ran on the second tick";
    EXPECT_EQ(window.applyPending(), 1);
    EXPECT_STREQ(window.pendingConfig().cSSID, "Cafe");
    EXPECT_EQ(ssidsApplied(), noCalls) << "the tick that rebuilds does not apply";

    m_driver.clearCalls();
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Cafe")"}));
    const auto names = m_driver.callNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "API_SetNetworkType"), 1);
    EXPECT_EQ(window.applyPending(), 0);

    second();
    second();
    EXPECT_EQ(m_ui.sleeps().size(), 2u) << "no second attempt until the station was associated again";
    EXPECT_EQ(ssidsApplied().size(), 1u);

    setLink(1);
    second();
    setLink(0);
    second();
    second();
    EXPECT_EQ(m_ui.sleeps().size(), 4u) << "a new loss after a new association reconnects again";
}

TEST_F(StatusTick, ReplugReconnectsOnTheFirstReadyTick) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    unplug();
    second();
    second();
    ASSERT_EQ(window.trayIcon(), TrayIcon::Absent);
    EXPECT_TRUE(m_ui.sleeps().empty());

    plugIn();
    setLink(0);
    second();
    EXPECT_EQ(m_ui.sleeps(), (Sleeps{1000ms, 1000ms}));
    EXPECT_EQ(window.applyPending(), 1);
    EXPECT_EQ(window.trayIcon(), TrayIcon::NoLink);

    m_driver.clearCalls();
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Cafe")"}));
    second();
    EXPECT_EQ(m_ui.sleeps().size(), 2u) << "one connection procedure per re-plug";
}

TEST_F(StatusTick, PendingConfigurationIsAppliedAtTheNextTickOnly) {
    MainDialog& window = open();
    second();
    copyText(window.pendingConfig().cSSID, "Manual");
    window.setApplyPending(1);
    EXPECT_EQ(ssidsApplied(), noCalls) << "pages never apply themselves";

    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Manual")"}));
    EXPECT_EQ(window.applyPending(), 0);
    second();
    EXPECT_EQ(ssidsApplied().size(), 1u);
}

TEST_F(StatusTick, ChangeMadeWhileTheSystemControlsIsAppliedAfterRelease) {
    MainDialog& window = open();
    second();
    window.onTrayDoubleClick();
    setSystemControl(1);
    second();
    EXPECT_EQ(window.windowShown(), 0);
    EXPECT_FALSE(window.isVisible());

    copyText(window.pendingConfig().cSSID, "Manual");
    window.setApplyPending(1);
    second();
    second();
    EXPECT_EQ(ssidsApplied(), noCalls);
    EXPECT_EQ(window.applyPending(), 1);

    setSystemControl(0);
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Manual")"}));
    EXPECT_EQ(window.applyPending(), 0);
}

TEST_F(StatusTick, SystemControlAloneAppliesNothing) {
    MainDialog& window = open();
    setSystemControl(1);
    second();
    setSystemControl(0);
    second();
    EXPECT_EQ(ssidsApplied(), noCalls) << "there was nothing of ours to apply";
    EXPECT_EQ(window.applyPending(), 0);
}

struct ProcedureCase {
    const char* name;
    bool adapterReady;
    Sleeps sleeps;
    int32_t applyPendingAfter;
};

class ConnectionProcedureWait : public ShellTest, public ::testing::WithParamInterface<ProcedureCase> {};

TEST_P(ConnectionProcedureWait, AsksOnceASecondAndAppliesOnlyWhenReady) {
    const ProcedureCase& c = GetParam();
    writeOnLink("Cafe");
    if (!c.adapterReady) {
        unplug();
    }
    MainDialog& window = open();
    window.adapter().RunMonitorCycle();
    RebuildPendingConfig(window, window.profileStore());
    EXPECT_EQ(m_ui.sleeps(), c.sleeps);
    EXPECT_EQ(window.applyPending(), c.applyPendingAfter);
    EXPECT_EQ(window.unplugged(), c.adapterReady ? 0 : 1);
    EXPECT_STREQ(window.pendingConfig().cSSID, "Cafe") << "rebuilt whether the adapter is there or not";
    EXPECT_EQ(window.trayTip(), QString()) << "the procedure hands the tray an empty tip";
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectionProcedureWait,
                         ::testing::Values(ProcedureCase{"Ready", true, {1000ms, 1000ms}, 1},
                                           ProcedureCase{"AbsentThroughout", false, Sleeps(7, 1000ms), 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SignalCase {
    int32_t previousSignal;
    int32_t signal;
    TrayIcon expected;
};

class TrayIconForSignal : public ShellTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(TrayIconForSignal, FollowsTheBandsAndKeepsTheIconInTheGaps) {
    const SignalCase& c = GetParam();
    MainDialog& window = open();
    setLink(1, c.previousSignal);
    second();
    setLink(1, c.signal);
    second();
    EXPECT_EQ(static_cast<int>(*window.trayIcon()), static_cast<int>(c.expected))
        << "signal " << c.signal << " after " << c.previousSignal;
}

INSTANTIATE_TEST_SUITE_P(
    Bands, TrayIconForSignal,
    ::testing::Values(SignalCase{80, 3, TrayIcon::NoLink}, SignalCase{80, 0, TrayIcon::NoLink},
                      SignalCase{80, 6, TrayIcon::Bars1}, SignalCase{80, 24, TrayIcon::Bars1},
                      SignalCase{80, 26, TrayIcon::Bars2}, SignalCase{80, 49, TrayIcon::Bars2},
                      SignalCase{80, 51, TrayIcon::Bars3}, SignalCase{80, 74, TrayIcon::Bars3},
                      SignalCase{10, 76, TrayIcon::Bars4}, SignalCase{10, 100, TrayIcon::Bars4},
                      // between two bands: the icon of the tick before stays
                      SignalCase{60, 5, TrayIcon::Bars3}, SignalCase{10, 25, TrayIcon::Bars1},
                      SignalCase{30, 50, TrayIcon::Bars2}, SignalCase{90, 75, TrayIcon::Bars4},
                      SignalCase{3, 5, TrayIcon::NoLink}));

TEST_F(StatusTick, UnassociatedShowsWhiteBarsWhateverTheSignal) {
    MainDialog& window = open();
    setLink(0, 90);
    second();
    EXPECT_EQ(window.trayIcon(), TrayIcon::NoLink);
}

TEST_F(StatusTick, TrayIsHandedTheIconOnlyWhenIconOrTipChanges) {
    MainDialog& window = open();
    EXPECT_EQ(window.trayHandovers(), 1) << "the start-up icon";
    second();
    EXPECT_EQ(window.trayHandovers(), 2);
    second();
    second();
    EXPECT_EQ(window.trayHandovers(), 2) << "same icon, same tip";

    setLink(1, 60);
    second();
    EXPECT_EQ(window.trayHandovers(), 3);

    window.SetTrayTip(QStringLiteral("other"));
    EXPECT_EQ(window.trayHandovers(), 4);
    second();
    EXPECT_EQ(window.trayHandovers(), 5) << "the tick puts the title back as the tip";
    EXPECT_EQ(window.trayTip(), QString::fromLatin1(MainDialog::title));
    EXPECT_EQ(window.trayIconAdded(), 1);
}

} // namespace
} // namespace shelltest
