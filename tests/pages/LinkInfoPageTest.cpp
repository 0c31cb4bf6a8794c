// The Link Info page: what each field shows for the snapshots, the bars by network type and
// link state, the throughput strips, the freeze while unplugged, captions from the text
// catalogue, and the page's own refresh timer.
#include "pages/LinkInfoPage.h"
#include "support/FakeContext.h"
#include "support/WaitFor.h"

#include "controls/ColorGroupBox.h"
#include "controls/GradientBar.h"
#include "controls/StripChart.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>

namespace {

const QColor blueFrame(0, 0, 255);
const QColor greyFrame(172, 168, 153);

class LinkInfoPageTest : public ::testing::Test {
protected:
    QString field(const char* name) const { return child<QLineEdit>(name)->text(); }
    QString label(const char* name) const { return child<QLabel>(name)->text(); }
    GradientBar* bar(const char* name) const { return child<GradientBar>(name); }
    StripChart* chart(const char* name) const { return child<StripChart>(name); }
    ColorGroupBox* barsGroup() const { return child<ColorGroupBox>("linkQualityGroup"); }
    // The colour the bars' group box is drawn with: a pixel of its left frame line.
    QColor drawnFrameColor() const {
        ColorGroupBox* group = barsGroup();
        const QRect frame = group->frameRect();
        return group->grab().toImage().pixelColor(frame.left(), frame.center().y());
    }

    template <typename T> T* child(const char* name) const {
        T* widget = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void associate(int signal, int quality) {
        host.current.NetworkType = 1;
        host.link.connected = 1;
        host.link.signalStrength = signal;
        host.link.linkQuality = quality;
    }

    FakeContext fake;
    FakeWindowState& host = fake.window;
    LinkInfoPage page{fake.context, nullptr, false};
};

TEST_F(LinkInfoPageTest, ValueFieldTexts) {
    struct Case {
        const char* what;
        std::function<void(int)> set;
        const char* field;
        std::vector<std::pair<int, const char*>> values;
    };
    const auto setChannel = [&](int v) { host.current.Channel = v; };
    const std::vector<Case> cases = {
        {"channel",
         setChannel,
         "channelEdit",
         {{0, "1"},
          {12, "13"},
          {13, "14"},
          {14, "36"},
          {21, "64"},
          {22, "149"},
          {26, "165"},
          {27, ""},
          {-1, ""}}},
        {"frequency",
         setChannel,
         "frequencyEdit",
         {{0, "2412"}, {12, "2472"}, {13, "2482"}, {14, "5180"}, {26, "5825"}, {27, ""}, {-1, ""}}},
        {"rate",
         [&](int v) { host.current.TxRate = v; },
         "txRateEdit",
         {{0, "1"}, {2, "5.5"}, {12, "54"}, {13, "1"}, {14, "72"}, {16, "108"}, {17, "1"}, {-3, "1"}}},
        {"encryption",
         [&](int v) { host.current.EncryptionMode = v; },
         "encryptionEdit",
         {{0, "DISABLE"}, {1, "Enable"}, {2, "Enable"}, {3, "Enable"}, {4, ""}, {-1, ""}}},
        {"network type",
         [&](int v) { host.current.NetworkType = v; },
         "wirelessModeEdit",
         {{0, "Ad-hoc"}, {1, "Infrastructure"}, {2, "SOFTWARE_AP"}, {3, ""}, {-1, ""}}},
    };
    for (const Case& c : cases) {
        for (const auto& [value, expected] : c.values) {
            SCOPED_TRACE(testing::Message() << c.what << " " << value);
            c.set(value);
            page.Refresh();
            EXPECT_EQ(field(c.field), QString::fromLatin1(expected));
        }
    }
}

TEST_F(LinkInfoPageTest, SsidAndStatusFollowTheSnapshots) {
    copyText(host.current.cSSID, "HomeNet");
    const unsigned char bssid[6] = {0x00, 0x0a, 0xeb, 0xc1, 0x02, 0xff};
    std::memcpy(host.link.bssid, bssid, sizeof bssid);
    const std::pair<int, const char*> cases[] = {
        {0, "Scanning BSSID=00-0A-EB-C1-02-FF"},
        {1, "Associated BSSID=00-0A-EB-C1-02-FF"},
        {2, "00-0A-EB-C1-02-FF"},
        {-1, "00-0A-EB-C1-02-FF"},
    };
    for (const auto& [connected, expected] : cases) {
        host.link.connected = connected;
        page.Refresh();
        EXPECT_EQ(field("statusEdit"), QString::fromLatin1(expected)) << connected;
    }
    EXPECT_EQ(field("ssidEdit"), QStringLiteral("HomeNet"));

    // A full 32-character SSID shows whole.
    copyText(host.current.cSSID, "abcdefghijklmnopqrstuvwxyz012345");
    page.Refresh();
    EXPECT_EQ(field("ssidEdit"), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
}

TEST_F(LinkInfoPageTest, AssociatedInfrastructureShowsBothBars) {
    associate(83, 61);
    page.Refresh();
    EXPECT_EQ(bar("signalStrengthBar")->value(), 83);
    EXPECT_EQ(bar("linkQualityBar")->value(), 61);
    EXPECT_EQ(label("signalStrengthPercent"), QStringLiteral("83%"));
    EXPECT_EQ(label("linkQualityPercent"), QStringLiteral("61%"));
    EXPECT_EQ(drawnFrameColor(), blueFrame);
    for (const char* name :
         {"linkQualityLabel", "signalStrengthLabel", "linkQualityBar", "signalStrengthBar"}) {
        EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
    }
}

TEST_F(LinkInfoPageTest, InfrastructureScanningEmptiesTheBars) {
    associate(83, 61);
    page.Refresh();
    host.link.connected = 0;
    page.Refresh();
    EXPECT_EQ(bar("signalStrengthBar")->value(), 0);
    EXPECT_EQ(bar("linkQualityBar")->value(), 0);
    EXPECT_EQ(label("signalStrengthPercent"), QStringLiteral(" "));
    EXPECT_EQ(label("linkQualityPercent"), QStringLiteral(" "));
    EXPECT_EQ(barsGroup()->frameColor(), blueFrame);
}

TEST_F(LinkInfoPageTest, AdHocDisablesTheBarsWhateverTheLink) {
    for (int connected : {0, 1, 2}) {
        SCOPED_TRACE(connected);
        associate(90, 75); // bars full and enabled first, so every reset shows
        page.Refresh();
        host.current.NetworkType = 0;
        host.link.connected = connected;
        page.Refresh();
        EXPECT_EQ(drawnFrameColor(), greyFrame);
        for (const char* name :
             {"linkQualityLabel", "signalStrengthLabel", "linkQualityBar", "signalStrengthBar"}) {
            EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
        }
        EXPECT_EQ(bar("signalStrengthBar")->value(), 0);
        EXPECT_EQ(bar("linkQualityBar")->value(), 0);
        EXPECT_EQ(label("signalStrengthPercent"), QString());
        EXPECT_EQ(label("linkQualityPercent"), QString());
    }
    // Back to infrastructure: enabled and blue again.
    associate(40, 30);
    page.Refresh();
    EXPECT_EQ(drawnFrameColor(), blueFrame);
    EXPECT_TRUE(bar("signalStrengthBar")->isEnabled());
    EXPECT_EQ(bar("signalStrengthBar")->value(), 40);
}

TEST_F(LinkInfoPageTest, ThroughputInKilobitsWithTheChartClamped) {
    struct Case {
        uint64_t delta;
        const char* text;
        int chart;
    };
    const Case cases[] = {
        {0, "0", 0},
        {127, "0", 0},
        {12800, "100", 100},
        {6400, "50", 50},
        {25600, "200", 200},
        {1280000, "10000", 10000},
        {12800000, "100000", 10000},         // the top of the scale
        {(uint64_t{1} << 39) + 640, "5", 5}, // only the low 32 bits of the kilobits count
        {std::numeric_limits<uint64_t>::max(), "4294967295", 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delta);
        host.link.counters.txDelta = c.delta;
        host.link.counters.rxDelta = 1280; // 10
        page.Refresh();
        EXPECT_EQ(field("transmitEdit"), QString::fromLatin1(c.text));
        EXPECT_EQ(chart("transmitChart")->currentValue(), c.chart);
        EXPECT_EQ(field("receiveEdit"), QStringLiteral("10"));
        EXPECT_EQ(chart("receiveChart")->currentValue(), 10);

        host.link.counters.txDelta = 1280;
        host.link.counters.rxDelta = c.delta;
        page.Refresh();
        EXPECT_EQ(field("receiveEdit"), QString::fromLatin1(c.text));
        EXPECT_EQ(chart("receiveChart")->currentValue(), c.chart);
        EXPECT_EQ(field("transmitEdit"), QStringLiteral("10"));
        EXPECT_EQ(chart("transmitChart")->currentValue(), 10);
    }
}

// Each refresh adds an empty column and then a value column to both strips.
TEST_F(LinkInfoPageTest, EveryRefreshPushesZeroThenTheValue) {
    host.link.counters.txDelta = 1280000; // 10000 kbps: a full-height bar
    host.link.counters.rxDelta = 1280000;
    page.Refresh();
    page.Refresh();
    for (const char* name : {"transmitChart", "receiveChart"}) {
        SCOPED_TRACE(name);
        const QImage& picture = chart(name)->picture();
        ASSERT_FALSE(picture.isNull());
        const int bottom = picture.height() - 1;
        const int right = picture.width();
        // Columns from the right edge: value, empty, value, empty.
        const QColor expected[] = {StripChart::kBar, StripChart::kGround, StripChart::kBar,
                                   StripChart::kGround};
        for (int column = 0; column < 4; ++column) {
            const int x = right - (column + 1) * StripChart::kColumnWidth;
            EXPECT_EQ(picture.pixelColor(x, bottom), expected[column]) << "column " << column;
            EXPECT_EQ(picture.pixelColor(x, 0), expected[column]) << "top of column " << column;
        }
    }
}

TEST_F(LinkInfoPageTest, UnpluggedFreezesTheValuesAndSaysTheAdapterIsAbsent) {
    associate(70, 60);
    copyText(host.current.cSSID, "Before");
    host.current.Channel = 5;
    host.current.TxRate = 12;
    host.current.EncryptionMode = 1;
    host.link.counters.txDelta = 6400;
    host.link.counters.rxDelta = 3200;
    page.Refresh();

    const char* fields[] = {"statusEdit",       "ssidEdit",       "frequencyEdit",
                            "wirelessModeEdit", "encryptionEdit", "txRateEdit",
                            "channelEdit",      "transmitEdit",   "receiveEdit"};
    std::vector<QString> before;
    for (const char* name : fields) {
        before.push_back(field(name));
    }
    const QImage transmitBefore = chart("transmitChart")->picture();

    host.absent = true;
    host.current = {};
    host.link = {};
    host.link.counters.txDelta = 99999;
    page.Refresh();

    EXPECT_EQ(field("statusEdit"), QStringLiteral("No adapter")) << "the page says why it stands still";
    for (size_t i = 1; i < std::size(fields); ++i) {
        EXPECT_EQ(field(fields[i]), before[i]) << fields[i];
    }
    EXPECT_EQ(bar("signalStrengthBar")->value(), 70);
    EXPECT_EQ(bar("linkQualityBar")->value(), 60);
    EXPECT_EQ(label("signalStrengthPercent"), QStringLiteral("70%"));
    EXPECT_EQ(chart("transmitChart")->picture(), transmitBefore);
    EXPECT_EQ(chart("transmitChart")->currentValue(), 50);
}

// The page reads its captions from .\define.ini in the working directory when it is built.
TEST(LinkInfoPageCaptions, CatalogueChangesOnlyTheCaptionsItMaps) {
    { std::ofstream("define.ini") << "[DATA]\r\nTx Rate=Debit\r\n"; }
    FakeContext fake;
    LinkInfoPage translated(fake.context, nullptr, false);
    std::remove("define.ini");
    LinkInfoPage english(fake.context, nullptr, false);

    const std::pair<const char*, const char*> captions[] = {
        {"statusLabel", "Status"},
        {"ssidLabel", "SSID"},
        {"frequencyLabel", "Frequency"},
        {"wirelessModeLabel", "Wireless Mode"},
        {"encryptionLabel", "Encryption"},
        {"txRateLabel", "Tx Rate"},
        {"channelLabel", "Channel"},
        {"linkQualityLabel", "Link Quality"},
        {"signalStrengthLabel", "Signal Strength"},
        {"transmitLabel", "Transmit"},
        {"receiveLabel", "Receive"},
    };
    for (const auto& [name, caption] : captions) {
        const QString objectName = QString::fromLatin1(name);
        EXPECT_EQ(english.findChild<QLabel*>(objectName)->text(), QString::fromLatin1(caption)) << name;
        const QString expected = objectName == QStringLiteral("txRateLabel") ? QStringLiteral("Debit")
                                                                             : QString::fromLatin1(caption);
        EXPECT_EQ(translated.findChild<QLabel*>(objectName)->text(), expected) << name;
    }
}

// Timer 100 keeps the page current while it is hidden; one real-time wait for two firings.
TEST(LinkInfoPageTimer, RefreshesOnceASecondWhileHidden) {
    FakeContext fake;
    FakeWindowState& host = fake.window;
    LinkInfoPage page(fake.context, nullptr, true);
    ASSERT_FALSE(page.isVisible());
    auto* ssid = page.findChild<QLineEdit*>(QStringLiteral("ssidEdit"));
    const auto shows = [&](const QString& text) { return waitFor([&] { return ssid->text() == text; }); };
    copyText(host.current.cSSID, "First");
    EXPECT_TRUE(shows(QStringLiteral("First")));
    copyText(host.current.cSSID, "Second");
    EXPECT_TRUE(shows(QStringLiteral("Second")));
}

} // namespace
