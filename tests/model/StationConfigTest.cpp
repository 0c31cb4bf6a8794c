#include "model/StationConfig.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(StationConfig, NewRecordIsAllZeros) {
    const StationConfig config{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(&config);
    for (size_t i = 0; i < sizeof config; ++i) {
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
}

TEST(StationConfig, CopyingIntoSettingsLeavesSelectionAlone) {
    StationConfig full{};
    copyText(full.cSSID, "HomeNet");
    full.RTSThreshold = 2347;
    full.SecurityIndex = 5;
    copyText(full.UIWEPKey1, "typed");

    StationConfig target{};
    target.SecurityIndex = 9;
    copyText(target.UIWEPKey1, "kept");
    static_cast<StationSettings&>(target) = full;

    EXPECT_STREQ(target.cSSID, "HomeNet");
    EXPECT_EQ(target.RTSThreshold, 2347);
    EXPECT_EQ(target.SecurityIndex, 9);
    EXPECT_STREQ(target.UIWEPKey1, "kept");
}

TEST(StationConfig, CopyTextCutsToCapacity) {
    char ssid[33];
    const std::string longName(40, 'x');
    copyText(ssid, longName.c_str());
    EXPECT_EQ(std::strlen(ssid), 32u);
    copyText(ssid, nullptr);
    EXPECT_STREQ(ssid, "");
}

TEST(StationConfig, KeyFieldsByIndex) {
    StationConfig config{};
    copyText(config.wepKeyValue(2), "0102030405");
    copyText(config.uiWepKey(3), "abcde");
    EXPECT_STREQ(config.ucWEPKey3Value, "0102030405");
    EXPECT_STREQ(config.UIWEPKey4, "abcde");
}
