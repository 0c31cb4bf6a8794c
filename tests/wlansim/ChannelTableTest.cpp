// The simulated driver's own channel table, spelled out number by number.
#include "wlansim/Channels.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(SimulatedChannelTable, EveryChannelHasItsDriverCodeAndBack) {
    struct Case {
        int number;
        int code;
    };
    const Case cases[] = {{1, 1},   {6, 6},    {11, 11},  {13, 13},  {14, 14},  {36, 19},
                          {40, 20}, {44, 21},  {48, 22},  {52, 23},  {56, 24},  {60, 25},
                          {64, 26}, {149, 27}, {153, 28}, {157, 29}, {161, 30}, {165, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(wlansim::driverCodeOfChannel(c.number), c.code);
        EXPECT_EQ(wlansim::channelOfDriverCode(c.code), c.number);
    }
}

TEST(SimulatedChannelTable, NumbersAndCodesOutsideTheTableHaveNoPartner) {
    for (const int number : {0, 15, 34, 38, 68, 100, 145, 151, 169, -1}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(wlansim::driverCodeOfChannel(number), std::nullopt);
    }
    for (const int code : {0, 15, 16, 17, 18, 32, -1, 36}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(wlansim::channelOfDriverCode(code), std::nullopt);
    }
}

TEST(SimulatedChannelTable, FiveGigahertzStartsAtChannel36) {
    EXPECT_FALSE(wlansim::is5GHzChannel(14));
    EXPECT_TRUE(wlansim::is5GHzChannel(36));
    EXPECT_TRUE(wlansim::is5GHzChannel(165));
}

} // namespace
