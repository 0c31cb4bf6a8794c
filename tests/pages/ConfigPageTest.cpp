// The Configuration page through its widgets: what it shows of "on_link" by network type, band,
// channel plan and the offered modes, the wireless-mode boxes under the user's clicks, and its
// Apply: "on_link", the registry mirror, the hand-over and the Link Info page.
#include "pages/ConfigPage.h"
#include "SettingsPageFixture.h"

#include "DescribeSettings.h"

#include "controls/SkinButton.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

ProfileRecord onLink(int bsstype, int adhocband = 0, int channel = 0) {
    ProfileRecord r;
    r.SSID = "HomeNet";
    r.bsstype = bsstype;
    r.adhocband = adhocband;
    r.Channel = channel;
    r.PowerMode = 0;
    r.Mode11b = r.Mode11g = r.Mode11gt = 1;
    return r;
}

QStringList numbers(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n) {
        items << QString::number(n);
    }
    return items;
}

// The fields the registry mirror keeps, as text.
std::string mirroredPart(const StationSettings& s) {
    std::ostringstream out;
    out << "SSID=" << s.cSSID << " NetworkType=" << s.NetworkType << " Channel=" << s.Channel
        << " Power=" << s.PowerSaveMode << " Preamble=" << s.PreambleMode << " Rate=" << s.TxRate
        << " RateAuto=" << s.TxRateAuto << " Auth=" << s.AuthenticationMode << " Enc=" << s.EncryptionMode
        << " Pass=" << s.cWPAPassPhase << " Cert=" << s.cCertificateName << " Login=" << s.cLoginName;
    return out.str();
}

const char* const boxNames[] = {"mode11bCheck",       "mode11gCheck", "mode11gtCheck",
                                "extendedRangeCheck", "mode11aCheck", "mode11atCheck"};

class ConfigPageTest : public SettingsPageFixture<ConfigPage> {
public: // the cases' lambdas drive the page too
    void SetUp() override {
        SettingsPageFixture::SetUp();
        writeSettings({});
    }

    SkinButton* box(int i) { return child<SkinButton>(boxNames[i]); }
    // 11B 11G 11GT XR 11A 11AT as "110100".
    std::string boxFlags(const std::function<bool(SkinButton*)>& flag) {
        std::string flags;
        for (int i = 0; i < 6; ++i) {
            flags += flag(box(i)) ? '1' : '0';
        }
        return flags;
    }
    std::string checked() {
        return boxFlags([](SkinButton* b) { return b->isChecked(); });
    }

    // Shows the page as the window does.
    void show() {
        page().aboutToShow();
        page().shown();
    }
    void apply() { clickOn(child<SkinButton>("applyButton")); }
};

TEST_F(ConfigPageTest, ListsAndBoxesByNetworkTypeBandAndPlan) {
    struct Case {
        const char* what;
        ProfileRecord stored;
        SettingsFile settings;
        int plan;
        int networkType;
        QStringList bands;
        int band;
        QStringList channels;
        bool channelsEnabled;
        std::string enabled; // boxes 11B 11G 11GT XR 11A 11AT
    };
    const QStringList both{"11b", "11a"};
    const SettingsFile only11a{false, false, false, true, true, false};
    const Case cases[] = {
        {"infrastructure", onLink(1), {}, 3, 1, both, 0, {"auto"}, false, "111111"},
        {"ad hoc 11b, plan 4", onLink(0, 0, 12), {}, 4, 0, both, 0, numbers(1, 13), true, "000100"},
        {"ad hoc 11b, plan 6", onLink(0, 0, 6), {}, 6, 0, both, 0, numbers(3, 9), true, "000100"},
        {"ad hoc 11b, plan 11", onLink(0, 0, 12), {}, 11, 0, both, 0, numbers(1, 13), true, "000100"},
        {"ad hoc 11b, plan 3", onLink(0, 0, 10), {}, 3, 0, both, 0, numbers(1, 11), true, "000100"},
        {"ad hoc 11a", onLink(0, 1), {}, 3, 0, both, 1, {"auto"}, false, "000100"},
        {"ad hoc, only 11a offered", onLink(0, 1), only11a, 3, 0, {"11a"}, 0, {"auto"}, false, "000100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings(c.settings);
        writeOnLink(c.stored);
        fake.window.current.ChannelPlan = c.plan;
        show();
        auto* networkType = child<QComboBox>("wirelessModeCombo");
        auto* band = child<QComboBox>("adhocBandCombo");
        auto* channel = child<QComboBox>("channelCombo");
        EXPECT_EQ(networkType->currentIndex(), c.networkType);
        EXPECT_EQ(items(band), c.bands);
        EXPECT_EQ(band->currentIndex(), c.band);
        EXPECT_EQ(band->isEnabled(), c.networkType == 0);
        EXPECT_EQ(items(channel), c.channels);
        EXPECT_EQ(channel->isEnabled(), c.channelsEnabled);
        EXPECT_EQ(channel->currentIndex(), c.channelsEnabled ? c.stored.Channel : 0);
        EXPECT_EQ(boxFlags([](SkinButton* b) { return b->isEnabled(); }), c.enabled);
    }
}

TEST_F(ConfigPageTest, BoxesShownByTheSettingsFile) {
    writeSettings({true, false, true, false, true, false});
    writeOnLink(onLink(1));
    show();
    EXPECT_EQ(boxFlags([](SkinButton* b) { return !b->isHidden(); }), "101001");
    EXPECT_TRUE(child<QLabel>("mode11bLabel")->isVisibleTo(&page()));
    EXPECT_FALSE(child<QLabel>("mode11gLabel")->isVisibleTo(&page()));
    EXPECT_EQ(items(child<QComboBox>("adhocBandCombo")), QStringList{"11b"});
    // The offered boxes close up in one row: 11B, 11GT, 11AT.
    EXPECT_EQ(box(2)->y(), box(0)->y());
    EXPECT_EQ(box(5)->y(), box(0)->y());
    EXPECT_LT(box(0)->x(), box(2)->x());
    EXPECT_LT(box(2)->x(), box(5)->x());
    EXPECT_LT(box(2)->geometry().right(), child<QLabel>("mode11gtLabel")->x());
}

TEST_F(ConfigPageTest, ChangingTheNetworkTypeAndBand) {
    writeOnLink(onLink(1));
    fake.window.current.ChannelPlan = 6;
    show();
    choose(child<QComboBox>("wirelessModeCombo"), 0);
    EXPECT_EQ(items(child<QComboBox>("channelCombo")), numbers(3, 9));
    EXPECT_EQ(checked(), "111000") << "the boxes keep their states, disabled";
    EXPECT_EQ(boxFlags([](SkinButton* b) { return b->isEnabled(); }), "000100");
    choose(child<QComboBox>("adhocBandCombo"), 1);
    EXPECT_EQ(items(child<QComboBox>("channelCombo")), QStringList{"auto"});
    EXPECT_FALSE(child<QComboBox>("channelCombo")->isEnabled());
    choose(child<QComboBox>("wirelessModeCombo"), 1);
    EXPECT_FALSE(child<QComboBox>("adhocBandCombo")->isEnabled());
    EXPECT_EQ(boxFlags([](SkinButton* b) { return b->isEnabled(); }), "111111");
}

TEST_F(ConfigPageTest, BoxRulesUnderClicks) {
    struct Case {
        const char* what;
        std::string before;
        std::vector<int> clicks; // box positions: 0 11B, 1 11G, 2 11GT, 3 XR, 4 11A, 5 11AT
        std::string after;
    };
    const Case cases[] = {
        {"unchecking 11B, 11G and 11A in turn leaves the last checked", "110010", {0, 1, 4}, "000010"},
        {"checking 11G checks 11GT", "100000", {1}, "111000"},
        {"11GT stays off without 11G", "100000", {2}, "100000"},
        {"unchecking 11A unchecks 11AT", "100011", {4}, "100000"},
        {"11AT stays off without 11A", "100000", {5}, "100000"},
        {"Extended Range toggles freely", "100100", {3}, "100000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileRecord stored = onLink(1);
        int32_t* flags[] = {&stored.Mode11b, &stored.Mode11g, &stored.Mode11gt,
                            &stored.ModeXR,  &stored.Mode11a, &stored.Mode11at};
        for (int i = 0; i < 6; ++i) {
            *flags[i] = c.before[static_cast<std::size_t>(i)] == '1' ? 1 : 0;
        }
        writeOnLink(stored);
        show();
        ASSERT_EQ(checked(), c.before);
        for (int i : c.clicks) {
            clickOn(box(i));
        }
        EXPECT_EQ(checked(), c.after);
    }
}

TEST_F(ConfigPageTest, ACaptionClickIsABoxClick) {
    writeOnLink(onLink(1));
    show();
    clickOn(child<QLabel>("mode11aLabel"));
    EXPECT_EQ(checked(), "111010");
    choose(child<QComboBox>("wirelessModeCombo"), 0);
    clickOn(child<QLabel>("mode11aLabel")); // disabled in ad hoc
    EXPECT_EQ(checked(), "111010");
}

// --- Apply ---

TEST_F(ConfigPageTest, ApplyByNetworkTypeAndBand) {
    struct Case {
        const char* what;
        ProfileRecord stored;
        SettingsFile settings;
        int plan;
        std::function<void(ConfigPageTest&)> input;
        std::function<void(StationSettings&)> expected;  // over the mirror's record
        std::vector<std::pair<const char*, int>> onLink; // numbers "on_link" holds afterwards
    };
    const auto boxes = [](ProfileRecord r) {
        r.Mode11a = 1;
        r.ModeXR = 1;
        return r;
    };
    const Case cases[] = {
        {"infrastructure: the boxes",
         boxes(onLink(1)),
         {},
         3,
         [](ConfigPageTest& t) {
             clickOn(t.box(5)); // 11AT
             t.choose(t.child<QComboBox>("powerModeCombo"), 2);
         },
         [](StationSettings& s) {
             s.NetworkType = 1;
             s.TxRate = 12;
             s.WirelessMode[Mode11B] = s.WirelessMode[Mode11G] = s.WirelessMode[Mode11GT] = 1;
             s.WirelessMode[Mode11A] = s.WirelessMode[Mode11AT] = 1;
             s.AdvancedMode[0] = 1;
             s.PowerSaveMode = 2;
         },
         {{"bsstype", 1}, {"11b", 1}, {"11a", 1}, {"11at", 1}, {"XR Extended Range", 1}, {"PowerMode", 2}}},
        {"ad hoc 11b, channel 9 of plan 3",
         onLink(0, 0, 8),
         {},
         3,
         [](ConfigPageTest& t) { t.choose(t.child<QComboBox>("preambleCombo"), 1); },
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 3;
             s.Channel = 8;
             s.WirelessMode[Mode11B] = 1;
             s.PreambleMode = 1;
         },
         {{"bsstype", 0}, {"adhocband", 0}, {"Channel", 8}, {"PreambleMode", 1}}},
        {"ad hoc 11b, plan 6: the first item is channel 3",
         onLink(0),
         {},
         6,
         [](ConfigPageTest&) {},
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 3;
             s.Channel = 2;
             s.WirelessMode[Mode11B] = 1;
         },
         {{"bsstype", 0}, {"Channel", 0}}},
        {"ad hoc 11a: channel 36",
         onLink(0, 1),
         {},
         3,
         [](ConfigPageTest&) {},
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 12;
             s.Channel = 14;
             s.WirelessMode[Mode11A] = 1;
         },
         {{"bsstype", 0}, {"adhocband", 1}, {"Channel", 0}}},
        {"ad hoc, only 11a offered: stored as 11a",
         onLink(0, 1),
         {false, false, false, true, true, false},
         3,
         [](ConfigPageTest&) {},
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 12;
             s.Channel = 14;
             s.WirelessMode[Mode11A] = 1;
         },
         {{"adhocband", 1}}},
        {"infrastructure changed to ad hoc 11b",
         onLink(1),
         {},
         3,
         [](ConfigPageTest& t) {
             t.choose(t.child<QComboBox>("wirelessModeCombo"), 0);
             t.choose(t.child<QComboBox>("channelCombo"), 5);
         },
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 3;
             s.Channel = 5;
             s.WirelessMode[Mode11B] = 1;
         },
         {{"bsstype", 0}, {"Channel", 5}}},
    };
    StationConfig mirror{};
    copyText(mirror.cSSID, "Elsewhere");
    mirror.Channel = 9;
    mirror.AuthenticationMode = 7;
    mirror.EncryptionMode = 3;
    copyText(mirror.cWPAPassPhase, "sunflower meadow 42");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings(c.settings);
        writeOnLink(c.stored);
        ASSERT_EQ(fake.mirror.store(mirror), 1);
        fake.window.current.ChannelPlan = c.plan;
        fake.window.shownPages.clear();
        const int handOvers = fake.window.handOvers;
        show();
        c.input(*this);
        apply();

        StationSettings expected = mirror;
        copyText(expected.cSSID, "HomeNet");
        expected.TxRateAuto = 1;
        c.expected(expected);
        EXPECT_EQ(fake.window.handOvers, handOvers + 1);
        EXPECT_EQ(describe(fake.window.pending), describe(expected));
        EXPECT_EQ(mirroredPart(mirrored()), mirroredPart(expected))
            << "the mirror holds what was handed over";
        EXPECT_EQ(fake.window.shownPages, std::vector<PageId>{PageId::LinkInfo});
        const OnLinkRecord stored = fake.store.ReadOnLink();
        EXPECT_EQ(stored.SSID, "HomeNet");
        const std::map<std::string, int32_t> numbersStored = {
            {"bsstype", stored.bsstype},
            {"adhocband", stored.adhocband},
            {"Channel", stored.Channel},
            {"PowerMode", stored.PowerMode},
            {"PreambleMode", stored.PreambleMode},
            {"11b", stored.Mode11b},
            {"11a", stored.Mode11a},
            {"11at", stored.Mode11at},
            {"XR Extended Range", stored.ModeXR},
        };
        for (const auto& [key, value] : c.onLink) {
            EXPECT_EQ(numbersStored.at(key), value) << key;
        }
    }
}

TEST_F(ConfigPageTest, AdhocWithoutSsidIsRefused) {
    writeOnLink(onLink(1));
    show();
    choose(child<QComboBox>("wirelessModeCombo"), 0);
    child<QLineEdit>("ssidEdit")->clear();
    apply();
    ASSERT_EQ(fake.ui.messages().size(), 1u);
    EXPECT_EQ(fake.ui.messages()[0].text, "In order to select an Ad-hoc network , you must have a SSID.");
    EXPECT_EQ(fake.ui.messages()[0].caption, "Prompt");
    EXPECT_EQ(fake.window.handOvers, 0);
    EXPECT_TRUE(fake.window.shownPages.empty());
    EXPECT_EQ(fake.store.ReadOnLink().bsstype, 1) << "nothing written";
    EXPECT_EQ(child<QComboBox>("wirelessModeCombo")->currentIndex(), 0) << "the page keeps its contents";

    typeText(child<QLineEdit>("ssidEdit"), "Party");
    apply();
    EXPECT_STREQ(fake.window.pending.cSSID, "Party");
    EXPECT_EQ(fake.store.ReadOnLink().SSID, "Party");
}

TEST_F(ConfigPageTest, SsidFieldTakesThirtyTwoSingleByteCharacters) {
    writeOnLink(onLink(1));
    show();
    auto* ssid = child<QLineEdit>("ssidEdit");
    EXPECT_EQ(ssid->text(), "HomeNet");
    ssid->clear();
    typeText(ssid, QString(40, QLatin1Char('x')));
    EXPECT_EQ(ssid->text(), QString(32, QLatin1Char('x')));
    ssid->clear();
    typeText(ssid, QStringLiteral("Caf\u00e9\u20ac"));
    EXPECT_EQ(ssid->text(), QStringLiteral("Caf\u00e9")) << "the euro sign has no single byte";
    apply();
    EXPECT_EQ(fake.store.ReadOnLink().SSID, "Caf\xe9");
}

TEST_F(ConfigPageTest, CancelReloadsTheStoredConfiguration) {
    writeOnLink(onLink(1));
    show();
    typeText(child<QLineEdit>("ssidEdit"), "Other");
    choose(child<QComboBox>("wirelessModeCombo"), 0);
    clickOn(child<SkinButton>("cancelButton"));
    EXPECT_EQ(child<QLineEdit>("ssidEdit")->text(), "HomeNet");
    EXPECT_EQ(child<QComboBox>("wirelessModeCombo")->currentIndex(), 1);
    EXPECT_EQ(fake.window.handOvers, 0);
}

// The Encryption page's Apply hands its record over and ends here: the fields the mirror does not
// keep come from that hand-over.
TEST_F(ConfigPageTest, CompletingAnApplyKeepsTheHandedOverKeySizeAndDomain) {
    writeOnLink(onLink(1));
    fake.window.pending.iWEPKeyBits = 128;
    copyText(fake.window.pending.cDomainName, "corp.example");
    show();
    page().completeApply();
    EXPECT_EQ(fake.window.pending.iWEPKeyBits, 128);
    EXPECT_STREQ(fake.window.pending.cDomainName, "corp.example");
}

TEST_F(ConfigPageTest, AFailedWriteIsReportedAndNothingHandedOver) {
    writeOnLink(onLink(1));
    ProfileStore unwritable(".\\missing\\S.cba");
    AppContext context(
        AppServices{unwritable, fake.settings, fake.texts, fake.mirror, fake.ui, fake.certificates},
        fake.window);
    ConfigPage page(context, nullptr);
    page.aboutToShow();
    page.findChild<QLineEdit*>("ssidEdit")->setText("HomeNet");
    clickOn(page.findChild<SkinButton*>("applyButton"));
    ASSERT_EQ(fake.ui.messages().size(), 1u);
    EXPECT_TRUE(fake.ui.messages()[0].text.contains("could not be saved"))
        << fake.ui.messages()[0].text.toStdString();
    EXPECT_TRUE(fake.ui.messages()[0].text.contains("missing/S."))
        << fake.ui.messages()[0].text.toStdString();
    EXPECT_EQ(fake.window.handOvers, 0);
    EXPECT_TRUE(fake.window.shownPages.empty());
    StationConfig untouched{};
    EXPECT_EQ(fake.mirror.load(untouched), 0) << "the mirror follows a saved configuration only";
}

// Each refusal is told with its own reason: a store that is no file to write over says so, not
// what an earlier failure ran into.
TEST_F(ConfigPageTest, EachFailedWriteToldWithItsOwnReason) {
    ASSERT_EQ(::mkdir("refused", 0700), 0);
    ASSERT_EQ(::mkdir("refused/S.cba", 0700), 0);
    ProfileStore unwritable(".\\missing\\S.cba");
    ProfileStore refused(".\\refused\\S.cba");
    for (ProfileStore* store : {&unwritable, &refused}) {
        AppContext context(
            AppServices{*store, fake.settings, fake.texts, fake.mirror, fake.ui, fake.certificates},
            fake.window);
        ConfigPage page(context, nullptr);
        page.aboutToShow();
        page.findChild<QLineEdit*>("ssidEdit")->setText("HomeNet");
        clickOn(page.findChild<SkinButton*>("applyButton"));
    }
    ASSERT_EQ(fake.ui.messages().size(), 2u);
    const std::string first = fake.ui.messages()[0].text.toStdString();
    const std::string second = fake.ui.messages()[1].text.toStdString();
    EXPECT_NE(first.find("missing/S."), std::string::npos) << first;
    EXPECT_NE(second.find("refused/S.cba is not a regular file"), std::string::npos) << second;
    EXPECT_EQ(second.find("missing/"), std::string::npos) << second;
    EXPECT_EQ(fake.window.handOvers, 0);
}

TEST_F(ConfigPageTest, CaptionsFromTheCatalogueAndNamesForScreenReaders) {
    writeFile("define.ini", "[DATA]\nPower Mode=Energiemodus\nInfrastructure=Infrastruktur\n");
    writeOnLink(onLink(1));
    show();
    EXPECT_EQ(child<QLabel>("powerModeLabel")->text(), "Energiemodus");
    EXPECT_EQ(items(child<QComboBox>("wirelessModeCombo")), (QStringList{"Ad-hoc", "Infrastruktur"}));
    expectEveryControlNamed();
    const std::pair<const char*, const char*> names[] = {
        {"ssidEdit", "SSID"},
        {"wirelessModeCombo", "Wireless Mode"},
        {"powerModeCombo", "Energiemodus"},
        {"mode11gtCheck", "11GT"},
        {"applyButton", "Apply"},
        {"cancelButton", "Cancel"},
    };
    for (const auto& [object, name] : names) {
        EXPECT_TRUE(spokenAs(child<QWidget>(object)).contains(QString::fromUtf8(name)))
            << object << ": " << spokenAs(child<QWidget>(object)).join(", ").toStdString();
    }
}

} // namespace
