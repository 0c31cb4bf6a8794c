// The Site Survey list's row texts and images, and the mark of the network the adapter is on.
#include "logic/SurveyRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace logic;

const Bssid apOne = {0x00, 0x0E, 0x2E, 0x1A, 0x2B, 0x3C};
const Bssid apTwo = {0x00, 0x0E, 0x2E, 0x1A, 0x2B, 0x3D};

TEST(SurveyRows, BssidSignalAndChannelTexts) {
    EXPECT_EQ(bssidText(apOne), "00:0E:2E:1A:2B:3C");
    EXPECT_EQ(bssidDashText(apOne), "00-0E-2E-1A-2B-3C");
    EXPECT_EQ(bssidText({0xff, 0xa0, 0x0b, 0, 0, 1}), "FF:A0:0B:00:00:01");
    EXPECT_EQ(signalText(72), "72%");
    EXPECT_EQ(signalText(0), "0%");
    EXPECT_EQ(signalText(100), "100%");

    const std::pair<int, const char*> channels[] = {
        {0, "1"},    {8, "9"},    {9, "10"}, {13, "14"}, {14, "36"}, {21, "64"},
        {22, "149"}, {26, "165"}, {27, ""},  {-1, ""},   {100, ""},
    };
    for (const auto& [index, text] : channels) {
        EXPECT_EQ(channelText(index), text) << index;
    }
}

TEST(SurveyRows, SecurityTextAndPadlock) {
    struct Case {
        int authentication, encryption;
        const char* text;
        SurveyImage padlock;
    };
    const Case cases[] = {
        {0, 0, "none", SurveyImage::Open},         {0, 1, "WEP", SurveyImage::Encrypted},
        {1, 1, "WEP", SurveyImage::Encrypted},     {3, 0, "WPAnone", SurveyImage::Open},
        {3, 2, "WPA", SurveyImage::Encrypted},     {4, 2, "WPAPSK", SurveyImage::Encrypted},
        {6, 3, "WPA2", SurveyImage::Encrypted},    {7, 3, "WPA2PSK", SurveyImage::Encrypted},
        {7, 2, "WPA2PSK", SurveyImage::Encrypted}, {4, 1, "WPAPSKWEP", SurveyImage::Encrypted},
        {5, 2, "", SurveyImage::Encrypted},        {2, 3, "", SurveyImage::Encrypted},
        {8, 4, "none", SurveyImage::Open},         {-1, -1, "none", SurveyImage::Open},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "authentication " << c.authentication << " encryption " << c.encryption);
        EXPECT_EQ(securityCell(c.authentication, c.encryption), (SecurityCell{c.text, c.padlock}));
    }
}

TEST(SurveyRows, RowImages) {
    EXPECT_EQ(rowImage(0, false), SurveyImage::AdHoc);
    EXPECT_EQ(rowImage(0, true), SurveyImage::AdHocCurrent);
    EXPECT_EQ(rowImage(1, false), SurveyImage::Infrastructure);
    EXPECT_EQ(rowImage(1, true), SurveyImage::InfrastructureCurrent);
    EXPECT_EQ(rowImage(2, true), SurveyImage::InfrastructureCurrent) << "a software access point is a mast";
    // The image list order the page loads its icons in.
    EXPECT_EQ(static_cast<int>(SurveyImage::Encrypted), 2);
    EXPECT_EQ(static_cast<int>(SurveyImage::Open), 3);
    EXPECT_EQ(static_cast<int>(SurveyImage::InfrastructureCurrent), 4);
    EXPECT_EQ(static_cast<int>(SurveyImage::AdHocCurrent), 5);
}

// Two access points of one network: only the one the link names is current.
TEST(SurveyRows, TwoAccessPointsOfOneNetwork) {
    SurveyEntryView first{"Office", apOne, 72, 5, 1, 3, 7};
    SurveyEntryView second{"Office", apTwo, 40, 14, 1, 3, 7};
    const SurveyRow one = surveyRow(first, "Office", apTwo);
    const SurveyRow two = surveyRow(second, "Office", apTwo);
    EXPECT_EQ(one, (SurveyRow{"Office",
                              "00:0E:2E:1A:2B:3C",
                              "72%",
                              {"WPA2PSK", SurveyImage::Encrypted},
                              "6",
                              SurveyImage::Infrastructure,
                              false}));
    EXPECT_EQ(two, (SurveyRow{"Office",
                              "00:0E:2E:1A:2B:3D",
                              "40%",
                              {"WPA2PSK", SurveyImage::Encrypted},
                              "36",
                              SurveyImage::InfrastructureCurrent,
                              true}));
}

TEST(SurveyRows, CurrentNetworkRule) {
    const std::string ssid32(32, 'n');
    const std::string ssid33 = ssid32 + "x";
    struct Case {
        const char* what;
        std::string entrySsid;
        Bssid entryBssid;
        std::string currentSsid;
        Bssid linkBssid;
        bool current;
    };
    const Case cases[] = {
        {"same SSID and BSSID", "Office", apOne, "Office", apOne, true},
        {"another access point of the network", "Office", apOne, "Office", apTwo, false},
        {"another network on the access point", "Guest", apOne, "Office", apOne, false},
        {"SSIDs compare case-sensitively", "office", apOne, "Office", apOne, false},
        {"SSIDs compare whole", "Office ", apOne, "Office", apOne, false},
        {"a 33-character SSID compares by its first 32", ssid33, apOne, ssid32, apOne, true},
        {"both cut to 32", ssid33, apOne, ssid32 + "y", apOne, true},
        {"an empty SSID on the link's BSSID", "", apOne, "", apOne, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isCurrentNetwork(c.entrySsid, c.entryBssid, c.currentSsid, c.linkBssid), c.current);
    }
}

TEST(SurveyRows, LongSsidIsShownCut) {
    const std::string ssid33 = std::string(32, 's') + "t";
    const SurveyRow row = surveyRow(SurveyEntryView{ssid33, apOne, 10, 27, 0, 0, 0}, "", apTwo);
    EXPECT_EQ(row.name, std::string(32, 's'));
    EXPECT_EQ(row.channel, "");
    EXPECT_EQ(row.rowImage, SurveyImage::AdHoc);
    EXPECT_EQ(row.security, (SecurityCell{"none", SurveyImage::Open}));
}

TEST(SurveyRows, AnSsidThatLiesIsShownOnOneLineWithItsTricksVisible) {
    const SurveyRow row = surveyRow(SurveyEntryView{"Free\nWiFi\u202E", apOne, 10, 5, 1, 0, 0}, "", apTwo);
    EXPECT_EQ(row.name, "Free\\nWiFi\\u202E");
    // The entry is still found by its SSID's own bytes.
    EXPECT_TRUE(matchesSurveyRow(SurveyEntryView{"Free\nWiFi\u202E", apOne}, "Free\nWiFi\u202E",
                                 "00:0E:2E:1A:2B:3C"));
}

// The editor for a row is filled from the survey entry the row shows.
TEST(SurveyRows, RowFindsItsEntryAgain) {
    const std::string ssid33 = std::string(32, 's') + "t";
    const SurveyEntryView entry{"Office", apOne, 72, 5, 1, 3, 7};
    EXPECT_TRUE(matchesSurveyRow(entry, "Office", "00:0E:2E:1A:2B:3C"));
    EXPECT_TRUE(matchesSurveyRow(entry, "Office", "00:0e:2e:1a:2b:3c"));
    EXPECT_FALSE(matchesSurveyRow(entry, "Office", "00:0E:2E:1A:2B:3D"));
    EXPECT_FALSE(matchesSurveyRow(entry, "office", "00:0E:2E:1A:2B:3C"));
    EXPECT_TRUE(matchesSurveyRow(SurveyEntryView{ssid33, apOne}, std::string(32, 's'), "00:0E:2E:1A:2B:3C"))
        << "the row shows the SSID cut to 32";
}

} // namespace
