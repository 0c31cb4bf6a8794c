// The once-a-second status tick against the recording driver: plugging, link loss and
// reconnection from the configuration chosen last, hand-overs, the system's wireless service, and
// the tray icon. (The decisions themselves are tabled in LinkSupervisorTest.)
#include "ShellFixture.h"

#include <QApplication>
#include <QTimer>

namespace shelltest {
namespace {

const std::vector<std::string> noCalls;

class StatusTick : public ShellTest {
protected:
    std::vector<std::string> ssidsApplied() const { return m_driver.callsNamed("API_SetSSID"); }
};

TEST_F(StatusTick, AbsentAdapterShowsItsIconAndKeepsTheWindowHidden) {
    MainDialog& window = open();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Starting) << "until the first tick";
    second();
    window.onTrayDoubleClick();
    ASSERT_TRUE(window.isVisible());

    unplug();
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Absent);
    EXPECT_EQ(window.windowShown(), 0);
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_FALSE(window.isVisible()) << "nothing but the tray shows the window again";
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Absent) << "still unplugged a second later";
}

TEST_F(StatusTick, LostAssociationReconnectsFromTheConfigurationChosenLast) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    ASSERT_EQ(window.state().supervisor().reconnectCountdown(), 2);

    setLink(0);
    second(); // counts down
    second(); // rebuilds from "on_link"
    EXPECT_STREQ(window.state().pendingConfig().cSSID, "Cafe");
    EXPECT_EQ(ssidsApplied(), noCalls) << "the tick that rebuilds does not apply";
    second(); // the adapter's second to settle
    EXPECT_EQ(ssidsApplied(), noCalls);
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Cafe")"}));
    EXPECT_EQ(m_driver.countCalls("API_SetNetworkType"), 1u);

    second();
    second();
    EXPECT_EQ(ssidsApplied().size(), 1u) << "no second attempt until the station was associated again";
}

TEST_F(StatusTick, ReplugReconnectsOnTheFirstReadyTick) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    unplug();
    second();
    second();
    ASSERT_EQ(window.tray().icon(), TrayIcon::Absent);

    plugIn();
    setLink(0);
    second();
    EXPECT_STREQ(window.state().pendingConfig().cSSID, "Cafe");
    EXPECT_EQ(window.tray().icon(), TrayIcon::NoLink);
    second();
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Cafe")"}));
}

// With the delivered files no configuration was ever chosen: losing and regaining the adapter must
// not configure it for nothing (ad hoc, empty SSID).
TEST_F(StatusTick, NoConfigurationChosenYetLeavesTheAdapterAsItIs) {
    MainDialog& window = open();
    second();
    unplug();
    second();
    plugIn();
    setLink(0);
    for (int i = 0; i < 6; ++i) {
        second();
    }
    EXPECT_EQ(ssidsApplied(), noCalls);
    EXPECT_EQ(m_driver.countCalls("API_SetNetworkType"), 0u);
    EXPECT_FALSE(window.state().applyPending());
}

TEST_F(StatusTick, AnOnLinkWithoutSsidAppliesNothingEither) {
    writeOnLink("");
    open();
    second();
    setLink(0);
    for (int i = 0; i < 5; ++i) {
        second();
    }
    EXPECT_EQ(m_driver.countCalls("API_SetNetworkType"), 0u);
}

TEST_F(StatusTick, AHandOverIsAppliedAtTheNextTickOnly) {
    MainDialog& window = open();
    second();
    handOver("Manual");
    EXPECT_EQ(ssidsApplied(), noCalls) << "pages never apply themselves";

    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Manual")"}));
    EXPECT_FALSE(window.state().applyPending());
    second();
    EXPECT_EQ(ssidsApplied().size(), 1u);
}

TEST_F(StatusTick, AUsersHandOverDuringAReconnectionWins) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    setLink(0);
    second();
    second(); // rebuilt from "on_link", waiting
    ASSERT_TRUE(window.state().supervisor().waitingForAdapter());
    handOver("Mine"); // the user's Apply arrives mid-wait
    second();
    second();
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Mine")"}));
}

TEST_F(StatusTick, ChangeMadeWhileTheSystemControlsIsAppliedAfterRelease) {
    MainDialog& window = open();
    second();
    window.onTrayDoubleClick();
    setSystemControl(1);
    second();
    EXPECT_EQ(window.windowShown(), 0);
    EXPECT_FALSE(window.isVisible());

    handOver("Manual");
    second();
    second();
    EXPECT_EQ(ssidsApplied(), noCalls);
    EXPECT_TRUE(window.state().applyPending());

    setSystemControl(0);
    second();
    EXPECT_EQ(ssidsApplied(), (std::vector<std::string>{R"(API_SetSSID "Manual")"}));
    EXPECT_FALSE(window.state().applyPending());
}

TEST_F(StatusTick, SystemControlAloneAppliesNothing) {
    MainDialog& window = open();
    setSystemControl(1);
    second();
    setSystemControl(0);
    second();
    EXPECT_EQ(ssidsApplied(), noCalls) << "there was nothing of ours to apply";
    EXPECT_FALSE(window.state().applyPending());
}

TEST_F(StatusTick, TheTrayIconFollowsTheSignal) {
    MainDialog& window = open();
    setLink(1, 60);
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Bars3);
    setLink(1, 50); // between two bands: the icon stays
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::Bars3);
    setLink(0, 90);
    second();
    EXPECT_EQ(window.tray().icon(), TrayIcon::NoLink) << "unassociated shows white bars whatever the signal";
}

TEST_F(StatusTick, TrayIsHandedTheIconOnlyWhenIconOrTipChanges) {
    MainDialog& window = open();
    EXPECT_EQ(window.tray().handovers(), 1) << "the start-up icon";
    second();
    EXPECT_EQ(window.tray().handovers(), 2);
    second();
    second();
    EXPECT_EQ(window.tray().handovers(), 2) << "same icon, same tip";

    setLink(1, 60);
    second();
    EXPECT_EQ(window.tray().handovers(), 3);

    window.tray().setIcon(window.tray().icon(), QStringLiteral("other"));
    EXPECT_EQ(window.tray().handovers(), 4);
    second();
    EXPECT_EQ(window.tray().handovers(), 5) << "the tick puts the title back as the tip";
    EXPECT_EQ(window.tray().tip(), QString::fromLatin1(MainDialog::title));
}

TEST_F(StatusTick, LongTipIsCutForTheTray) {
    MainDialog& window = open();
    window.tray().setIcon(TrayIcon::NoLink, QString(200, QLatin1Char('t')));
    EXPECT_EQ(window.tray().tip(), QString(127, QLatin1Char('t')));
}

// The window is never blocked by a reconnection: input (here: Exit) is handled between ticks.
TEST_F(StatusTick, ExitDuringAReconnectionEndsTheProgramAtOnce) {
    writeOnLink("Cafe");
    MainDialog& window = open();
    second();
    unplug();
    second();
    plugIn();
    setLink(0);
    second();
    ASSERT_TRUE(window.state().supervisor().waitingForAdapter());
    QTimer::singleShot(0, &window, &MainDialog::onTrayMenuExit);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.exitRequested());
}

} // namespace
} // namespace shelltest
