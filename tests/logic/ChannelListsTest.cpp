// The ad hoc bands, the channel lists by plan, list positions as channel indexes, and the
// band box rules the two settings screens share.
#include "logic/ChannelLists.h"
#include "logic/BandBoxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace logic;
using Texts = std::vector<std::string>;

Texts numbers(int first, int last) {
    Texts texts;
    for (int n = first; n <= last; ++n) {
        texts.push_back(std::to_string(n));
    }
    return texts;
}

TEST(ChannelLists, AdhocBandsFromSectionCheck) {
    struct Case {
        bool b, a;
        Texts texts;
        AdhocBand at0, at1;
    };
    const Case cases[] = {
        {true, true, {"11b", "11a"}, AdhocBand::Band11b, AdhocBand::Band11a},
        {true, false, {"11b"}, AdhocBand::Band11b, AdhocBand::Band11a},
        // Only "11a" offered: its one item is 11a, not the 2.4 GHz band.
        {false, true, {"11a"}, AdhocBand::Band11a, AdhocBand::Band11a},
        {false, false, {}, AdhocBand::Band11a, AdhocBand::Band11a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "11b " << c.b << " 11a " << c.a);
        OfferedModes offered;
        offered.mode11b = c.b;
        offered.mode11a = c.a;
        offered.mode11g = true; // the other flags play no part
        EXPECT_EQ(adhocBandTexts(offered), c.texts);
        EXPECT_EQ(adhocBandAt(offered, 0), c.at0);
        EXPECT_EQ(adhocBandAt(offered, 1), c.at1);
        EXPECT_EQ(adhocBandAt(offered, -1), AdhocBand::Band11a) << "no selection";
    }
}

TEST(ChannelLists, ListsByScreenPlanNetworkTypeAndBand) {
    using enum ChannelScreen;
    struct Case {
        ChannelScreen screen;
        int plan;
        bool adhoc;
        AdhocBand band;
        ChannelChoice expected;
    };
    const ChannelChoice autoOnly{{"auto"}, false};
    const Case cases[] = {
        {Configuration, 4, true, AdhocBand::Band11b, {numbers(1, 13), true}},
        {Configuration, 5, true, AdhocBand::Band11b, {numbers(1, 13), true}},
        {Configuration, 11, true, AdhocBand::Band11b, {numbers(1, 13), true}},
        {Configuration, 6, true, AdhocBand::Band11b, {numbers(3, 9), true}},
        {Configuration, 0, true, AdhocBand::Band11b, {numbers(1, 11), true}},
        {Configuration, 3, true, AdhocBand::Band11b, {numbers(1, 11), true}},
        {Configuration, 12, true, AdhocBand::Band11b, {numbers(1, 11), true}},
        {ProfileEditor, 4, true, AdhocBand::Band11b, {numbers(1, 13), true}},
        {ProfileEditor, 5, true, AdhocBand::Band11b, {numbers(1, 11), true}}, // the editor's own table
        {ProfileEditor, 11, true, AdhocBand::Band11b, {numbers(1, 13), true}},
        {ProfileEditor, 6, true, AdhocBand::Band11b, {numbers(3, 9), true}},
        {ProfileEditor, 1, true, AdhocBand::Band11b, {numbers(1, 11), true}},
        {Configuration, 4, true, AdhocBand::Band11a, autoOnly},
        {ProfileEditor, 6, true, AdhocBand::Band11a, autoOnly},
        {Configuration, 4, false, AdhocBand::Band11b, autoOnly},
        {ProfileEditor, 6, false, AdhocBand::Band11b, autoOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << static_cast<int>(c.screen) << " plan " << c.plan
                                        << " adhoc " << c.adhoc << " band " << adhocBandText(c.band));
        const ChannelChoice choice = channelChoice(c.screen, c.plan, c.adhoc, c.band);
        EXPECT_EQ(choice.items, c.expected.items);
        EXPECT_EQ(choice.enabled, c.expected.enabled);
    }
}

// Under plan 6 the list starts at channel 3: its first position is channel index 2.
TEST(ChannelLists, PositionsAndChannelIndexes) {
    struct Case {
        int position, plan, index, adhoc2Ghz;
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {5, 4, 5, 5},    {12, 11, 12, 12}, {13, 0, 13, 13}, {14, 0, 14, 10}, {0, 6, 2, 2},
        {6, 6, 8, 8}, {11, 6, 13, 13}, {12, 6, 14, 10},  {-1, 0, -1, 10}, {-1, 6, -1, 10}, {26, 4, 26, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " plan " << c.plan);
        EXPECT_EQ(channelIndexAt(c.position, c.plan), c.index);
        EXPECT_EQ(adhoc2GhzChannelIndex(c.position, c.plan), c.adhoc2Ghz);
        if (c.position >= 0) {
            EXPECT_EQ(channelPositionOf(c.index, c.plan), c.position);
        }
    }
    // Channels before the list's first one have no position.
    EXPECT_EQ(channelPositionOf(0, 6), -1);
    EXPECT_EQ(channelPositionOf(1, 6), -1);
    EXPECT_EQ(channelPositionOf(-3, 0), -1);

    for (int position = 0; position <= 7; ++position) {
        EXPECT_EQ(adhoc5GhzChannelIndex(position), 14 + position) << position;
    }
    EXPECT_EQ(adhoc5GhzChannelIndex(8), std::nullopt);
    EXPECT_EQ(adhoc5GhzChannelIndex(-1), std::nullopt);
}

// Each row: the boxes before the click (11B, 11G, 11GT, XR, 11A, 11AT as "1"/"0"), the box
// clicked, the network type, and the boxes after the click and its rule.
TEST(BandBoxes, ClickRules) {
    using enum BandBox;
    struct Case {
        const char* before;
        BandBox clicked;
        bool infrastructure;
        const char* after;
    };
    const Case cases[] = {
        // 11GT: only with 11G.
        {"100000", Mode11GT, true, "100000"},
        {"110000", Mode11GT, true, "111000"},
        {"111000", Mode11GT, true, "110000"},
        // 11G: never the last of 11B, 11G, 11A to go, in either type; 11GT follows it.
        {"010000", Mode11G, true, "011000"},
        {"010000", Mode11G, false, "011000"},
        {"111000", Mode11G, true, "100000"},
        {"100000", Mode11G, true, "111000"},
        // 11B and 11A: held only in infrastructure.
        {"100000", Mode11B, true, "100000"},
        {"100000", Mode11B, false, "000000"},
        {"110000", Mode11B, true, "010000"},
        {"000010", Mode11A, true, "000010"},
        {"000010", Mode11A, false, "000000"},
        // Unchecking 11A takes 11AT along, in either type.
        {"100011", Mode11A, true, "100000"},
        {"100011", Mode11A, false, "100000"},
        {"000011", Mode11A, true, "000011"},
        // 11AT: only with 11A.
        {"100000", Mode11AT, true, "100000"},
        {"100010", Mode11AT, true, "100011"},
        // Extended Range has no rule.
        {"000000", ExtendedRange, true, "000100"},
        {"100100", ExtendedRange, false, "100000"},
    };
    const auto parse = [](const char* flags) {
        BandBoxChecks checks{};
        for (std::size_t i = 0; i < checks.size(); ++i) {
            checks[i] = flags[i] == '1';
        }
        return checks;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " click " << static_cast<int>(c.clicked)
                                        << " infrastructure " << c.infrastructure);
        BandBoxChecks checks = parse(c.before);
        checkOf(checks, c.clicked) = !checkOf(checks, c.clicked);
        applyBandBoxRule(checks, c.clicked, c.infrastructure);
        EXPECT_EQ(checks, parse(c.after));
    }
}

TEST(BandBoxes, OfferedBySectionCheck) {
    using enum BandBox;
    const std::pair<BandBox, bool OfferedModes::*> boxes[] = {
        {Mode11B, &OfferedModes::mode11b},   {Mode11G, &OfferedModes::mode11g},
        {Mode11GT, &OfferedModes::mode11gt}, {ExtendedRange, &OfferedModes::modeXR},
        {Mode11A, &OfferedModes::mode11a},   {Mode11AT, &OfferedModes::mode11at},
    };
    for (const auto& [box, key] : boxes) {
        OfferedModes offered;
        offered.*key = true;
        for (const auto& [other, unused] : boxes) {
            EXPECT_EQ(isOffered(offered, other), other == box)
                << static_cast<int>(box) << static_cast<int>(other);
        }
    }
}

} // namespace
