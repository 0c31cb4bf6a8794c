// The status tick's decisions as tables: each step is one tick's input, what the window does
// after it (a user's hand-over, the answer to a rebuild), and what the tick asked for.
#include "shell/LinkSupervisor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class After { Nothing, HandOver, Rebuilt, NothingToRebuild };

struct Step {
    TickInput input;
    TickActions expected;
    After after = After::Nothing;
};

// Inputs; a notification area is there unless a test takes it away.
TickInput associated(int signal = 80) {
    return {.connected = true, .signalStrength = signal};
}
TickInput unassociated() {
    return {};
}
TickInput absent() {
    return {.adapterAbsent = true};
}
TickInput managed() {
    return {.systemServiceManages = true, .connected = true, .signalStrength = 80};
}

// Expected actions.
TickActions copied(std::optional<TrayIcon> icon) {
    return {.copySnapshots = true, .icon = icon};
}
TickActions applied(std::optional<TrayIcon> icon) {
    return {.copySnapshots = true, .applyPending = true, .icon = icon};
}
TickActions rebuilt() {
    return {.copySnapshots = true, .rebuildFromOnLink = true, .icon = TrayIcon::NoLink};
}
TickActions gone() {
    return {.hideWindow = true, .icon = TrayIcon::Absent};
}
TickActions gaveWay(std::optional<TrayIcon> icon) { // to the system's own wireless service
    return {.hideWindow = true, .copySnapshots = true, .icon = icon};
}

struct Script {
    const char* name;
    std::vector<Step> steps;
};

class SupervisorScript : public ::testing::TestWithParam<Script> {};

TEST_P(SupervisorScript, TickByTick) {
    LinkSupervisor supervisor;
    int n = 0;
    for (const Step& step : GetParam().steps) {
        EXPECT_EQ(supervisor.tick(step.input), step.expected) << "tick " << n;
        switch (step.after) {
        case After::HandOver:
            supervisor.handOver();
            break;
        case After::Rebuilt:
            supervisor.reconnectPrepared(true);
            break;
        case After::NothingToRebuild:
            supervisor.reconnectPrepared(false);
            break;
        case After::Nothing:
            break;
        }
        ++n;
    }
}

const Script scripts[] = {
    {"LostAssociationReconnectsOnTheSecondTickOnce",
     {{associated(), copied(TrayIcon::Bars4)},
      {unassociated(), copied(TrayIcon::NoLink)}, // the countdown goes 2 -> 1
      {unassociated(), rebuilt(), After::Rebuilt},
      {unassociated(), copied(TrayIcon::NoLink)}, // the adapter's second to settle
      {unassociated(), applied(TrayIcon::NoLink)},
      {unassociated(), copied(TrayIcon::NoLink)}, // no second attempt ...
      {unassociated(), copied(TrayIcon::NoLink)},
      {associated(), copied(TrayIcon::Bars4)}, // ... until associated again
      {unassociated(), copied(TrayIcon::NoLink)},
      {unassociated(), rebuilt(), After::Rebuilt}}},
    {"ReplugReconnectsOnTheFirstReadyTick",
     {{associated(), copied(TrayIcon::Bars4)},
      {absent(), gone()},
      {absent(), gone()},
      {unassociated(), rebuilt(), After::Rebuilt},
      {unassociated(), copied(TrayIcon::NoLink)},
      {unassociated(), applied(TrayIcon::NoLink)},
      {unassociated(), copied(TrayIcon::NoLink)}}},
    {"NothingChosenYetLeavesTheAdapterAlone",
     {{absent(), gone()},
      {unassociated(), rebuilt(), After::NothingToRebuild},
      {unassociated(), copied(TrayIcon::NoLink)},
      {unassociated(), copied(TrayIcon::NoLink)},
      {associated(), copied(TrayIcon::Bars4)},
      {unassociated(), copied(TrayIcon::NoLink)},
      {unassociated(), rebuilt(), After::NothingToRebuild},
      {unassociated(), copied(TrayIcon::NoLink)}}},
    {"AUsersHandOverDuringTheWaitWins",
     {{absent(), gone()},
      {unassociated(), rebuilt(), After::Rebuilt},
      {unassociated(), copied(TrayIcon::NoLink), After::HandOver}, // user's click mid-wait
      {unassociated(), applied(TrayIcon::NoLink)},
      {unassociated(), copied(TrayIcon::NoLink)}}},
    {"AHandOverRightAfterTheRebuildWinsToo",
     {{absent(), gone()},
      {unassociated(), rebuilt(), After::Rebuilt},
      {associated(), copied(TrayIcon::Bars4), After::HandOver},
      {associated(), applied(TrayIcon::Bars4)},
      {associated(), copied(TrayIcon::Bars4)}}},
    {"AHandOverIsAppliedAtTheNextTickOnly",
     {{associated(), copied(TrayIcon::Bars4), After::HandOver},
      {associated(), applied(TrayIcon::Bars4)},
      {associated(), copied(TrayIcon::Bars4)}}},
    {"AnAppliedChangeDoesNotReconnectInTheSameTick",
     {{absent(), gone(), After::HandOver},
      {unassociated(), applied(TrayIcon::NoLink)},
      {unassociated(), copied(TrayIcon::NoLink)}}},
    {"ChangesWaitWhileTheSystemServiceManagesTheAdapter",
     {{associated(), copied(TrayIcon::Bars4)},
      {managed(), gaveWay(TrayIcon::Bars4), After::HandOver},
      {managed(), gaveWay(TrayIcon::Bars4)},
      {associated(), applied(TrayIcon::Bars4)},
      {associated(), copied(TrayIcon::Bars4)}}},
    {"TheSystemServiceAloneAppliesNothing",
     {{managed(), gaveWay(TrayIcon::Bars4)},
      {associated(), copied(TrayIcon::Bars4)},
      {associated(), copied(TrayIcon::Bars4)}}},
    {"OursIsAppliedAgainWhenTheServiceLetsGo",
     {{associated(), copied(TrayIcon::Bars4), After::HandOver},
      {associated(), applied(TrayIcon::Bars4)},
      {managed(), gaveWay(TrayIcon::Bars4)},
      {associated(), applied(TrayIcon::Bars4)}}},
    {"SignalsBetweenTwoBandsKeepTheIcon",
     {{associated(60), copied(TrayIcon::Bars3)},
      {associated(50), copied(std::nullopt)},
      {associated(3), copied(TrayIcon::NoLink)},
      {associated(6), copied(TrayIcon::Bars1)},
      {associated(76), copied(TrayIcon::Bars4)}}},
};

INSTANTIATE_TEST_SUITE_P(Scripts, SupervisorScript, ::testing::ValuesIn(scripts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinkSupervisor, WithoutATrayTheWindowNeverGivesWay) {
    LinkSupervisor supervisor;
    for (TickInput input : {absent(), managed(), absent()}) {
        input.trayAvailable = false;
        EXPECT_FALSE(supervisor.tick(input).hideWindow);
    }
}

TEST(LinkSupervisor, CountdownFollowsTheAssociation) {
    LinkSupervisor supervisor;
    supervisor.tick(associated());
    EXPECT_EQ(supervisor.reconnectCountdown(), 2);
    supervisor.tick(unassociated());
    EXPECT_EQ(supervisor.reconnectCountdown(), 1);
    supervisor.tick(absent());
    EXPECT_EQ(supervisor.reconnectCountdown(), 0);
}

struct BandCase {
    int signal;
    std::optional<TrayIcon> icon;
};

TEST(TrayIconForSignal, Bands) {
    const BandCase cases[] = {
        {0, TrayIcon::NoLink}, {4, TrayIcon::NoLink},  {5, std::nullopt},      {6, TrayIcon::Bars1},
        {24, TrayIcon::Bars1}, {25, std::nullopt},     {26, TrayIcon::Bars2},  {49, TrayIcon::Bars2},
        {50, std::nullopt},    {51, TrayIcon::Bars3},  {74, TrayIcon::Bars3},  {75, std::nullopt},
        {76, TrayIcon::Bars4}, {100, TrayIcon::Bars4}, {-3, TrayIcon::NoLink},
    };
    for (const BandCase& c : cases) {
        EXPECT_EQ(trayIconForSignal(c.signal), c.icon) << c.signal;
    }
}

} // namespace
