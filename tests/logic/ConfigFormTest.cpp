// The Configuration page's form: what a load of "on_link" shows, how the network type, band and
// boxes rule each other, and the page's Apply.
#include "logic/ConfigForm.h"

#include "DescribeSettings.h"
#include "PrintForms.h"
#include "storage/StoredText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace logic;
using Items = std::vector<std::string>;

const OfferedModes everything{true, true, true, true, true, true};
const OfferedModes only11b{true, true, true, false, false, true};
const OfferedModes only11a{false, false, false, true, true, false};

Items numbers(int first, int last) {
    Items items;
    for (int n = first; n <= last; ++n) {
        items.push_back(std::to_string(n));
    }
    return items;
}

OnLinkRecord onLink(int bsstype, int adhocband = 0, int channel = 0) {
    OnLinkRecord r;
    r.SSID = "HomeNet";
    r.bsstype = bsstype;
    r.adhocband = adhocband;
    r.Channel = channel;
    r.PowerMode = 0;
    r.PreambleMode = 1;
    r.Mode11b = r.Mode11g = r.Mode11gt = 1;
    return r;
}

ConfigForm loaded(const OnLinkRecord& record, const OfferedModes& offered = everything, int plan = 3) {
    ConfigForm form;
    form.load(record, offered, plan);
    return form;
}

// The enabled flags of 11B, 11G, 11GT, Extended Range, 11A, 11AT as "110111".
std::string boxesEnabled(const ConfigFormState& s) {
    std::string flags;
    for (const CheckBox& box : s.bandBoxes) {
        flags += box.enabled ? '1' : '0';
    }
    return flags;
}

std::string boxesChecked(const ConfigFormState& s) {
    std::string flags;
    for (const CheckBox& box : s.bandBoxes) {
        flags += box.checked ? '1' : '0';
    }
    return flags;
}

TEST(ConfigForm, AsCreated) {
    const ConfigForm form;
    const ConfigFormState& s = form.state();
    EXPECT_EQ(s.networkType, (ChoiceList{{"Ad-hoc", "Infrastructure"}, 0}));
    Items channels = numbers(1, 13);
    channels.push_back("Auto");
    EXPECT_EQ(s.channel, (ChoiceList{channels, 13}));
    EXPECT_EQ(s.powerMode, (ChoiceList{{"Continuous Access Mode", "Maximum Power Save", "Power Save"}, 0}));
    EXPECT_EQ(s.preamble, (ChoiceList{{"Long Preamble", "Short & Long Preamble"}, 1}));
}

TEST(ConfigForm, TranslatedTexts) {
    const ConfigForm form(
        [](const std::string& english) { return english == "Ad-hoc" ? "Ad-hoc-Netz" : english; });
    EXPECT_EQ(form.state().networkType.items, (Items{"Ad-hoc-Netz", "Infrastructure"}));
}

// What a load shows of the network type, band and channel, by the stored network, the bands the
// installation offers and the country's channel plan.
TEST(ConfigForm, LoadShowsBandAndChannels) {
    struct Case {
        const char* what;
        OnLinkRecord stored;
        OfferedModes offered;
        int plan;
        int networkType;
        ChoiceList band;
        ChoiceList channel;
        std::string boxesEnabled; // 11B 11G 11GT XR 11A 11AT
    };
    const Items both{"11b", "11a"};
    const Case cases[] = {
        {"infrastructure", onLink(1), everything, 3, 1, {both, 0, false}, {{"auto"}, 0, false}, "111111"},
        {"a third network type loads as infrastructure",
         onLink(2),
         everything,
         3,
         1,
         {both, 0, false},
         {{"auto"}, 0, false},
         "111111"},
        {"ad hoc 11b, plan 4", onLink(0, 0, 12), everything, 4, 0, {both, 0}, {numbers(1, 13), 12}, "000100"},
        {"ad hoc 11b, plan 5", onLink(0, 0, 12), everything, 5, 0, {both, 0}, {numbers(1, 13), 12}, "000100"},
        {"ad hoc 11b, plan 6", onLink(0, 0, 6), everything, 6, 0, {both, 0}, {numbers(3, 9), 6}, "000100"},
        {"ad hoc 11b, plan 11", onLink(0, 0, 3), everything, 11, 0, {both, 0}, {numbers(1, 13), 3}, "000100"},
        {"ad hoc 11b, plan 3", onLink(0, 0, 10), everything, 3, 0, {both, 0}, {numbers(1, 11), 10}, "000100"},
        {"ad hoc 11b, a channel the plan lacks",
         onLink(0, 0, 12),
         everything,
         3,
         0,
         {both, 0},
         {numbers(1, 11), -1},
         "000100"},
        {"ad hoc 11a", onLink(0, 1), everything, 3, 0, {both, 1}, {{"auto"}, 0, false}, "000100"},
        {"ad hoc 11a, an old file's band without a selection",
         onLink(0, -1),
         everything,
         3,
         0,
         {both, 1},
         {{"auto"}, 0, false},
         "000100"},
        {"ad hoc, only 11a offered",
         onLink(0, 1),
         only11a,
         3,
         0,
         {{"11a"}, 0},
         {{"auto"}, 0, false},
         "000100"},
        {"ad hoc 11b stored, only 11a offered",
         onLink(0, 0, 4),
         only11a,
         3,
         0,
         {{"11a"}, 0},
         {{"auto"}, -1, false},
         "000100"},
        {"ad hoc 11a stored, only 11b offered",
         onLink(0, 1, 4),
         only11b,
         3,
         0,
         {{"11b"}, 0},
         {numbers(1, 11), 4},
         "000100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ConfigForm form = loaded(c.stored, c.offered, c.plan);
        const ConfigFormState& s = form.state();
        EXPECT_EQ(s.networkType.selected, c.networkType);
        EXPECT_EQ(s.band, c.band);
        EXPECT_EQ(s.channel, c.channel);
        EXPECT_EQ(boxesEnabled(s), c.boxesEnabled);
    }
}

TEST(ConfigForm, LoadShowsTheStoredChoices) {
    OnLinkRecord stored = onLink(1);
    stored.SSID = std::string(40, 's');
    stored.PowerMode = 2;
    stored.PreambleMode = 0;
    stored.Mode11b = 0;
    stored.Mode11g = 1;
    stored.Mode11gt = 0;
    stored.ModeXR = 1;
    stored.Mode11a = 1;
    stored.Mode11at = 1;
    const OfferedModes noTurbo{true, true, false, true, false, false};
    ConfigForm form = loaded(stored, noTurbo);
    const ConfigFormState& s = form.state();
    EXPECT_EQ(s.ssid, std::string(configSsidLimit, 's'));
    EXPECT_EQ(s.powerMode.selected, 2);
    EXPECT_EQ(s.preamble.selected, 0);
    EXPECT_EQ(boxesChecked(s), "010111");
    const bool visible[] = {true, true, false, false, true, false};
    for (int i = 0; i < bandBoxCount; ++i) {
        EXPECT_EQ(s.bandBoxes[static_cast<std::size_t>(i)].visible, visible[i]) << i;
    }
    // Out-of-range positions leave the lists without a selection.
    stored.PowerMode = 3;
    stored.PreambleMode = -1;
    form.load(stored, noTurbo, 3);
    EXPECT_EQ(form.state().powerMode.selected, -1);
    EXPECT_EQ(form.state().preamble.selected, -1);
}

TEST(ConfigForm, NetworkTypeAndBandChanges) {
    ConfigForm form = loaded(onLink(1), everything, 6);
    form.selectBand(1); // disabled in infrastructure
    EXPECT_EQ(form.state().band.selected, 0);

    form.selectNetworkType(0);
    EXPECT_EQ(form.state().band, (ChoiceList{{"11b", "11a"}, 0}));
    EXPECT_EQ(form.state().channel, (ChoiceList{numbers(3, 9), 0}));
    EXPECT_EQ(boxesEnabled(form.state()), "000100");
    form.selectChannel(4);
    EXPECT_EQ(form.state().channel.selected, 4);

    form.selectBand(1);
    EXPECT_EQ(form.state().channel, (ChoiceList{{"auto"}, 0, false}));
    form.selectChannel(0); // a disabled list takes nothing
    form.selectBand(0);
    EXPECT_EQ(form.state().channel, (ChoiceList{numbers(3, 9), 0}));

    form.selectNetworkType(1);
    EXPECT_EQ(form.state().channel, (ChoiceList{{"auto"}, 0, false}));
    EXPECT_FALSE(form.state().band.enabled);
    EXPECT_EQ(boxesEnabled(form.state()), "111111");

    form.selectNetworkType(2); // not on the list
    EXPECT_EQ(form.state().networkType.selected, 1);
}

// Each row: the boxes checked before (11B 11G 11GT XR 11A 11AT), the clicks, the boxes after.
TEST(ConfigForm, BandBoxRules) {
    struct Case {
        const char* what;
        int bsstype;
        std::string before;
        std::vector<BandBox> clicks;
        std::string after;
    };
    using enum BandBox;
    const Case cases[] = {
        {"unchecking 11B, 11G and 11A in turn leaves the last",
         1,
         "110010",
         {Mode11B, Mode11G, Mode11A},
         "000010"},
        {"11G alone can't be unchecked", 1, "010000", {Mode11G}, "011000"},
        {"checking 11G checks 11GT", 1, "100000", {Mode11G}, "111000"},
        {"unchecking 11G unchecks 11GT", 1, "111000", {Mode11G}, "100000"},
        {"11GT without 11G", 1, "100000", {Mode11GT}, "100000"},
        {"11GT with 11G", 1, "110000", {Mode11GT}, "111000"},
        {"unchecking 11A unchecks 11AT", 1, "100011", {Mode11A}, "100000"},
        {"11AT without 11A", 1, "100000", {Mode11AT}, "100000"},
        {"Extended Range has no rule", 1, "000000", {ExtendedRange}, "000100"},
        {"ad hoc: the band boxes take no clicks",
         0,
         "110010",
         {Mode11B, Mode11G, Mode11A, Mode11AT},
         "110010"},
        {"ad hoc: Extended Range does", 0, "110110", {ExtendedRange}, "110010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnLinkRecord stored = onLink(c.bsstype);
        int32_t* flags[] = {&stored.Mode11b, &stored.Mode11g, &stored.Mode11gt,
                            &stored.ModeXR,  &stored.Mode11a, &stored.Mode11at};
        for (std::size_t i = 0; i < 6; ++i) {
            *flags[i] = c.before[i] == '1' ? 1 : 0;
        }
        ConfigForm form = loaded(stored);
        ASSERT_EQ(boxesChecked(form.state()), c.before);
        for (BandBox box : c.clicks) {
            form.clickBandBox(box);
        }
        EXPECT_EQ(boxesChecked(form.state()), c.after);
    }
}

TEST(ConfigForm, HiddenBoxesTakeNoClicks) {
    ConfigForm form = loaded(onLink(1), only11b);
    form.clickBandBox(BandBox::Mode11A);
    EXPECT_FALSE(form.state().bandBox(BandBox::Mode11A).checked);
}

// --- Apply ---

ConfigApplyOutcome outcomeOf(const ConfigForm& form, const StationConfig& mirror = {},
                             const StationSettings& pending = {}) {
    const ConfigApplyResult result = applyConfigForm(form, mirror, pending);
    if (const auto* stop = std::get_if<ConfigApplyStop>(&result)) {
        ADD_FAILURE() << "refused: " << stop->message.text;
        return {};
    }
    return std::get<ConfigApplyOutcome>(result);
}

using Writes = std::vector<StoredValue>;

TEST(ConfigFormApply, RecordAndWritesByNetworkTypeAndBand) {
    struct Case {
        const char* what;
        std::function<ConfigForm()> form;
        std::function<void(StationSettings&)> expected; // on top of the mirror's record
        Writes writes;
    };
    const std::string ssid = EncodeStoredText("HomeNet");
    // An ad hoc cell on "11a": channel 36, the band's base mode and rate.
    const auto adhocOn36 = [](StationSettings& s) {
        s.NetworkType = 0;
        s.TxRate = 12;
        s.Channel = 14;
        s.WirelessMode[Mode11A] = 1;
        s.PreambleMode = 1;
    };
    const auto adhoc11aWrites = [&ssid](const char* channel) {
        return Writes{{"SSID", ssid},   {"Channel", channel}, {"adhocband", "1"},
                      {"bsstype", "0"}, {"PowerMode", "0"},   {"PreambleMode", "1"}};
    };
    const Case cases[] = {
        {"infrastructure: the boxes, the mirror's channel",
         [] {
             OnLinkRecord stored = onLink(1, 0, 3);
             stored.ModeXR = 1;
             stored.Mode11a = 1;
             ConfigForm form = loaded(stored);
             form.clickBandBox(BandBox::Mode11AT);
             form.selectPowerMode(1);
             return form;
         },
         [](StationSettings& s) {
             s.NetworkType = 1;
             s.TxRate = 12;
             s.WirelessMode[Mode11B] = s.WirelessMode[Mode11G] = s.WirelessMode[Mode11GT] = 1;
             s.WirelessMode[Mode11A] = s.WirelessMode[Mode11AT] = 1;
             s.AdvancedMode[0] = 1;
             s.PowerSaveMode = 1;
             s.PreambleMode = 1;
         },
         {{"SSID", ssid},
          {"Channel", "-1"}, // the stored position is not on the "auto" list
          {"adhocband", "0"},
          {"11b", "1"},
          {"11g", "1"},
          {"11gt", "1"},
          {"11a", "1"},
          {"11at", "1"},
          {"XR Extended Range", "1"},
          {"bsstype", "1"},
          {"PowerMode", "1"},
          {"PreambleMode", "1"}}},
        {"ad hoc 11b, plan 3, channel 6",
         [] {
             ConfigForm form = loaded(onLink(0, 0, 5));
             form.selectPowerMode(2);
             form.selectPreamble(0);
             return form;
         },
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 3;
             s.Channel = 5;
             s.WirelessMode[Mode11B] = 1;
             s.PowerSaveMode = 2;
             s.PreambleMode = 0;
         },
         {{"SSID", ssid},
          {"Channel", "5"},
          {"adhocband", "0"},
          {"bsstype", "0"},
          {"PowerMode", "2"},
          {"PreambleMode", "0"}}},
        {"ad hoc 11b, plan 6: the list's first channel is 3",
         [] { return loaded(onLink(0, 0, 0), everything, 6); },
         [](StationSettings& s) {
             s.NetworkType = 0;
             s.TxRate = 3;
             s.Channel = 2;
             s.WirelessMode[Mode11B] = 1;
             s.PreambleMode = 1;
         },
         {{"SSID", ssid},
          {"Channel", "0"},
          {"adhocband", "0"},
          {"bsstype", "0"},
          {"PowerMode", "0"},
          {"PreambleMode", "1"}}},
        {"ad hoc 11a: channel 36", [] { return loaded(onLink(0, 1)); }, adhocOn36, adhoc11aWrites("0")},
        {"ad hoc with only 11a offered: stored as 11a", [] { return loaded(onLink(0, 1), only11a); },
         adhocOn36, adhoc11aWrites("0")},
        {"ad hoc 11a without a channel selected: 36", [] { return loaded(onLink(0, 1, 3)); }, adhocOn36,
         adhoc11aWrites("-1")},
        {"ad hoc without any band offered: 11a", [] { return loaded(onLink(0, 0), OfferedModes{}); },
         adhocOn36, adhoc11aWrites("0")},
    };
    StationConfig mirror{};
    copyText(mirror.cSSID, "FromMirror");
    mirror.Channel = 9;
    mirror.AuthenticationMode = 7;
    mirror.EncryptionMode = 3;
    copyText(mirror.cWPAPassPhase, "kept passphrase");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ConfigApplyOutcome out = outcomeOf(c.form(), mirror);
        StationSettings expected = mirror;
        copyText(expected.cSSID, "HomeNet");
        expected.TxRateAuto = 1;
        c.expected(expected);
        EXPECT_EQ(describe(out.handOver), describe(expected));
        EXPECT_EQ(describe(out.mirror), describe(expected));
        EXPECT_EQ(out.onLinkWrites, c.writes);
    }
}

TEST(ConfigFormApply, AdhocCellRunsOnItsBaseModeAlone) {
    StationConfig mirror{};
    for (int32_t& mode : mirror.WirelessMode) {
        mode = 1;
    }
    const ConfigApplyOutcome out = outcomeOf(loaded(onLink(0, 0, 2)), mirror);
    const int32_t expected[12] = {1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(out.handOver.WirelessMode[i], expected[i]) << i;
    }
}

TEST(ConfigFormApply, AdhocNeedsAnSsid) {
    OnLinkRecord stored = onLink(0);
    stored.SSID.clear();
    ConfigForm form = loaded(stored);
    const ConfigApplyResult refused = applyConfigForm(form, {}, {});
    ASSERT_TRUE(std::holds_alternative<ConfigApplyStop>(refused));
    EXPECT_EQ(std::get<ConfigApplyStop>(refused).message,
              (FormMessage{adhocSsidMessage, MessageCaption::Prompt}));

    form.selectNetworkType(1); // infrastructure takes an empty SSID
    EXPECT_TRUE(std::holds_alternative<ConfigApplyOutcome>(applyConfigForm(form, {}, {})));
    form.selectNetworkType(0);
    form.setSsid("Party");
    EXPECT_STREQ(outcomeOf(form).handOver.cSSID, "Party");
}

TEST(ConfigFormApply, SsidCutToThirtyTwoCharacters) {
    ConfigForm form = loaded(onLink(1));
    form.setSsid(std::string(40, 'x'));
    const ConfigApplyOutcome out = outcomeOf(form);
    EXPECT_EQ(std::string(out.handOver.cSSID), std::string(32, 'x'));
    EXPECT_EQ(out.onLinkWrites.front(), (StoredValue{"SSID", EncodeStoredText(std::string(32, 'x'))}));
}

// The Encryption page's Apply hands its record over and ends here: the fields the mirror does not
// keep reach the adapter through the pending configuration.
TEST(ConfigFormApply, CompletesTheHandedOverSecurity) {
    StationConfig mirror{};
    mirror.AuthenticationMode = 3;
    mirror.EncryptionMode = 3;
    copyText(mirror.cCertificateName, "CERT");
    StationSettings pending{};
    pending.iWEPKeyBits = 128;
    copyText(pending.cDomainName, "example.org");
    copyText(pending.cCertificateName, "not from here");
    const ConfigApplyOutcome out = outcomeOf(loaded(onLink(1)), mirror, pending);
    EXPECT_EQ(out.handOver.iWEPKeyBits, 128);
    EXPECT_STREQ(out.handOver.cDomainName, "example.org");
    EXPECT_STREQ(out.handOver.cCertificateName, "CERT");
    EXPECT_EQ(out.handOver.AuthenticationMode, 3);
}

} // namespace
