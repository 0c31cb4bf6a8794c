#include "model/CodeTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

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

// The supplicant's 5 GHz channels: the channel table's own, channels 100 to 144 between them,
// and for each channel plan the channels its countries may use.
TEST(CodeTables, Supplicant5GhzChannelsByPlan) {
    const std::vector<int> low = {36, 40, 44, 48, 52, 56, 60, 64};
    const std::vector<int> middle = {100, 104, 108, 112, 116, 120, 124, 128, 132, 136, 140};
    const std::vector<int> upper = {144, 149, 153, 157, 161, 165};
    const auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const std::vector<int>& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const std::vector<int> every = join({low, middle, upper});
    struct Case {
        int plan;
        std::vector<int> channels;
    };
    const Case cases[] = {
        {0, every},  {1, every},  {2, every},  {3, every},
        {4, every},  {5, every},  {6, low},    {7, join({low, middle})},
        {8, every},  {9, every},  {10, every}, {11, join({low, middle})},
        {12, every}, {-1, every}, {13, every}, {99, every},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(supplicant5GhzChannels(c.plan), c.channels) << "plan " << c.plan;
    }
    // Every 5 GHz channel of the program's own table is among them, at the same frequency.
    const std::vector<int> all = supplicant5GhzChannels(3);
    for (int index = 14; index < channelCount; ++index) {
        EXPECT_NE(std::find(all.begin(), all.end(), channelNumber(index)), all.end()) << index;
        EXPECT_EQ(channel5GhzFrequency(channelNumber(index)), channelFrequency(index)) << index;
    }
}

TEST(CodeTables, Supplicant5GhzFrequencies) {
    const std::pair<int, int> cases[] = {{36, 5180},  {64, 5320}, {100, 5500}, {144, 5720}, {149, 5745},
                                         {165, 5825}, {34, 0},    {38, 0},     {14, 0},     {169, 0}};
    for (const auto& [number, frequency] : cases) {
        EXPECT_EQ(channel5GhzFrequency(number), frequency) << number;
    }
}
