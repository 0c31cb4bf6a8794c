// The About page: MAC address, utility and driver versions, and the regulatory domain the
// driver reports.
#include "pages/AboutPage.h"
#include "support/FakeContext.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

class AboutPageTest : public ::testing::Test {
protected:
    void TearDown() override { std::remove("a.cba"); }

    QString field(const char* name) const {
        auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit != nullptr ? edit->text() : QString();
    }

    FakeContext fake;
    FakeWindowState& host = fake.window;
    AboutPage page{fake.context, nullptr};
};

TEST_F(AboutPageTest, MacAddressAndDriverVersion) {
    const unsigned char mac[6] = {0x00, 0x0a, 0xeb, 0x01, 0x02, 0x03};
    std::memcpy(host.info.macAddress, mac, sizeof mac);
    copyText(host.info.driverVersion, "5.3.0.27");
    page.RefreshAbout();
    EXPECT_EQ(field("macAddressEdit"), QStringLiteral("00:0A:EB:01:02:03"));
    EXPECT_EQ(field("driverVersionEdit"), QStringLiteral("5.3.0.27"));

    // A driver version that fills its buffer without a terminator shows whole, nothing more.
    std::memset(host.info.driverVersion, 'v', sizeof host.info.driverVersion);
    page.RefreshAbout();
    EXPECT_EQ(field("driverVersionEdit"), QString(int(sizeof host.info.driverVersion), QLatin1Char('v')));
}

TEST_F(AboutPageTest, RegulatoryDomainByTheDriversCode) {
    const std::pair<int, const char*> cases[] = {
        {0, "ETSI"}, {1, "ETSI"}, {2, "ETSI"}, {3, "FCC"},  {4, "ETSI"}, {5, "FRANCE"}, {6, "ISRAEL"},
        {7, "ETSI"}, {8, "ETSI"}, {9, "ETSI"}, {10, "FCC"}, {11, "MKK"}, {12, "FCC"},   {-1, "FCC"},
    };
    for (const auto& [code, expected] : cases) {
        host.channelPlan = code;
        page.RefreshAbout();
        EXPECT_EQ(field("regulatoryDomainEdit"), QString::fromLatin1(expected)) << code;
    }
}

TEST_F(AboutPageTest, UtilityVersionFromTheSettingsFile) {
    page.RefreshAbout();
    EXPECT_EQ(field("utilityVersionEdit"), QString()); // no settings file

    const std::string longVersion = "V" + std::string(149, '1'); // 150 characters
    std::ofstream("a.cba") << "[Setini]\r\nVer=" << longVersion << "\r\n";
    page.RefreshAbout();
    EXPECT_EQ(field("utilityVersionEdit"), QString::fromStdString(longVersion.substr(0, 99)));

    std::ofstream("a.cba") << "[Setini]\r\nVer=2.1.0 build 7\r\n";
    page.RefreshAbout();
    EXPECT_EQ(field("utilityVersionEdit"), QStringLiteral("2.1.0 build 7"));
}

} // namespace
