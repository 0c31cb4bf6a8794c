#include "model/CodeTables.h"

#include <gtest/gtest.h>

using namespace codes;

TEST(CodeTables, ChannelIndexAndDriverCode) {
    struct Case {
        int index, code, number, frequency;
    };
    const Case cases[] = {
        {0, 1, 1, 2412},    {10, 11, 11, 2462}, {13, 14, 14, 2482},  {14, 19, 36, 5180},
        {15, 20, 40, 5200}, {21, 26, 64, 5320}, {22, 27, 149, 5745}, {26, 31, 165, 5825},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(channelIndexToCode(c.index), c.code) << c.index;
        EXPECT_EQ(channelIndexFromCode(c.code), c.index) << c.code;
        EXPECT_EQ(channelNumber(c.index), c.number) << c.index;
        EXPECT_EQ(channelFrequency(c.index), c.frequency) << c.index;
    }
}

TEST(CodeTables, OutOfTableChannelsFallToChannel11) {
    for (int index : {-1, 27, 1000}) {
        EXPECT_EQ(channelIndexToCode(index), 11) << index;
        EXPECT_EQ(channelIndexKept(index), 10) << index;
        EXPECT_EQ(channelNumber(index), 0) << index;
    }
    for (int code : {0, 11, 15, 18, 32, -5}) {
        EXPECT_EQ(channelIndexFromCode(code), 10) << code;
    }
    EXPECT_EQ(surveyChannelIndex(20), 15);
    EXPECT_EQ(surveyChannelIndex(15), 0);
    EXPECT_EQ(surveyChannelIndex(11), 10);
}

TEST(CodeTables, ApplyAndReadBackDefaults) {
    EXPECT_EQ(authenticationToDriver(8), 8);
    EXPECT_EQ(authenticationToDriver(9), 2);
    EXPECT_EQ(authenticationFromDriver(8), 2);
    EXPECT_EQ(authenticationFromDriver(7), 7);
    EXPECT_EQ(authenticationFromDriver(-1), 2);
    EXPECT_EQ(networkTypeToDriver(5), 1);
    EXPECT_EQ(networkTypeFromDriver(2), 2);
    EXPECT_EQ(encryptionToDriver(4), 0);
    EXPECT_EQ(preambleToDriver(3), 1);
    EXPECT_EQ(powerSaveToDriver(3), 0);
    EXPECT_EQ(txRateToDriver(13), 0);
    EXPECT_EQ(txRateFromDriver(18), 18);
    EXPECT_EQ(txRateFromDriver(19), 0);
    EXPECT_EQ(channelPlanFromDriver(13), 0);
    EXPECT_EQ(chipsetFromDriver(12), 0);
    EXPECT_EQ(surveyBandElement(5), 8);
    EXPECT_EQ(surveyBandElement(1), 4);
}

TEST(CodeTables, RateAndRegionTexts) {
    EXPECT_EQ(txRateText(13), "1");
    EXPECT_EQ(txRateText(17), "1");
    EXPECT_EQ(txRateText(2), "5.5");
    EXPECT_EQ(txRateText(16), "108");
    EXPECT_EQ(channelPlanRegion(12), "FCC");
    EXPECT_EQ(channelPlanRegion(-1), "FCC");
    EXPECT_EQ(channelPlanRegion(7), "ETSI");
    EXPECT_EQ(channelPlanRegion(11), "MKK");
    EXPECT_EQ(channelPlanRegion(5), "FRANCE");
    EXPECT_EQ(channelPlanRegion(6), "ISRAEL");
}
