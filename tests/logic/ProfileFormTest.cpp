// The profile form's rules: loading by mode, the network type, channel, authentication,
// default-key, format and band box rules, and the "Config" button.
#include "logic/ProfileForm.h"

#include "logic/KeyRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace logic;
using Texts = std::vector<std::string>;

const Texts separate = {"Open System", "Shared Key", "Auto", "WPA", "WPA-PSK", "WPA2", "WPA2-PSK", "Disable"};
const Texts combined = {"Open System", "Shared Key", "Auto", "WPA/WPA2", "WPA-PSK/WPA2-PSK", "Disable"};
const Texts adhocAuth = {"Auto", "Disable"};

OfferedModes everyMode() {
    return {true, true, true, true, true, true};
}

ProfileFormInputs inputs(const char* autoWpaWpa2 = "YES", int plan = 0, int storedCipher = 1) {
    ProfileFormInputs in;
    in.autoWpaWpa2 = autoWpaWpa2;
    in.offered = everyMode();
    in.channelPlan = plan;
    in.storedCipherIndex = storedCipher;
    return in;
}

ProfileForm newForm(ProfileFormInputs in = inputs()) {
    ProfileForm form(std::move(in));
    form.loadNew();
    return form;
}

std::string bits(bool a, bool b, bool c, bool d) {
    return {a ? '1' : '0', b ? '1' : '0', c ? '1' : '0', d ? '1' : '0'};
}

// The key controls in one line: which radio buttons are on and checked, which key fields and
// length lists are on, and the key format list.
std::string keyControls(const SecurityState& s) {
    const auto& r = s.defaultKey;
    const auto& k = s.keys;
    const auto& l = s.keyLength;
    return "radios " + bits(r.enabled, r.enabled, r.enabled, r.enabled) + " checked " +
           bits(r.selected == 0, r.selected == 1, r.selected == 2, r.selected == 3) + " fields " +
           bits(k[0].enabled, k[1].enabled, k[2].enabled, k[3].enabled) + " lengths " +
           bits(l[0].enabled, l[1].enabled, l[2].enabled, l[3].enabled) + " format " +
           (s.keyFormat.enabled ? "1" : "0");
}

// A list in one line: its items, the selection and whether it is on.
std::string describe(const ChoiceList& list) {
    std::string text;
    for (const std::string& item : list.items) {
        text += (text.empty() ? "" : ",") + item;
    }
    return text + " @" + std::to_string(list.selected) + (list.enabled ? " on" : " off");
}

const std::string keysOff = "radios 0000 checked 1000 fields 0000 lengths 0000 format 0";
const std::string wepKey1 = "radios 1111 checked 1000 fields 1000 lengths 1000 format 1";

TEST(ProfileForm, CatalogueTextsComeThroughTheLookup) {
    ProfileFormInputs in = inputs();
    in.lookup = [](const std::string& english) { return "<" + english + ">"; };
    ProfileForm form(in);
    form.loadNew();
    const ProfileFormState& s = form.state();
    const SecurityState& security = form.security();
    EXPECT_EQ(s.networkType.items, (Texts{"<Ad-hoc>", "<Infrastructure>"}));
    EXPECT_EQ(s.powerMode.items, (Texts{"<Continuous Access Mode>", "<Maximum Power Save>", "<Power Save>"}));
    for (const ChoiceList& length : security.keyLength) {
        EXPECT_EQ(length.items, (Texts{"<64 bits>", "<128 bits>"}));
    }
    EXPECT_EQ(security.keyFormat.items, (Texts{"<ASCII>", "<HEX>"}));
    // Fixed texts stay as they are.
    EXPECT_EQ(security.authentication.items, separate);
    EXPECT_EQ(s.band.items, (Texts{"11b", "11a"}));
    EXPECT_EQ(s.channel.items, Texts{"auto"});
    form.selectNetworkType(0);
    EXPECT_EQ(form.security().authentication.items, adhocAuth);
    EXPECT_EQ(form.security().cipher.items, Texts{"WEP-Key"});
}

TEST(ProfileForm, NewProfile) {
    struct Case {
        const char* autoWpaWpa2;
        Texts authItems;
        int disable;
    };
    const Case cases[] = {{"YES", separate, 7}, {"NO", combined, 5}, {"", {}, -1}, {"maybe", {}, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoWpaWpa2);
        const ProfileForm form = newForm(inputs(c.autoWpaWpa2));
        const ProfileFormState& s = form.state();
        const SecurityState& security = form.security();
        EXPECT_EQ(s.mode, EditorMode::Add);
        EXPECT_EQ(s.name, "");
        EXPECT_EQ(s.ssid, "");
        EXPECT_EQ(s.networkType.selected, 1);
        EXPECT_EQ(security.authentication.items, c.authItems);
        EXPECT_EQ(security.authentication.selected, c.disable);
        EXPECT_TRUE(security.authentication.enabled);
        EXPECT_EQ(describe(security.cipher), " @-1 off");
        EXPECT_FALSE(security.configEnabled);
        EXPECT_EQ(keyControls(security), keysOff);
        EXPECT_EQ(describe(s.channel), "auto @0 off");
        EXPECT_EQ(describe(s.band), "11b,11a @0 off");
        EXPECT_EQ(describe(s.powerMode), "Continuous Access Mode,Maximum Power Save,Power Save @0 on");
        EXPECT_EQ(security.keyFormat.selected, 0);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(security.keyLength[static_cast<std::size_t>(k)].selected, 0);
            EXPECT_TRUE(security.keys[static_cast<std::size_t>(k)].masked);
        }
        // 11B, 11G, 11GT and Extended Range start checked; every box is on in infrastructure.
        const bool checked[] = {true, true, true, true, false, false};
        for (int i = 0; i < bandBoxCount; ++i) {
            EXPECT_EQ(s.bandBoxes[static_cast<std::size_t>(i)], (CheckBox{checked[i], true, true})) << i;
        }
    }
}

TEST(ProfileForm, SectionCheckShowsBoxesAndBands) {
    ProfileFormInputs in = inputs();
    in.offered = {};
    in.offered.mode11a = true;
    in.offered.modeXR = true;
    const ProfileForm form = newForm(in);
    const ProfileFormState& s = form.state();
    const bool visible[] = {false, false, false, true, true, false};
    for (int i = 0; i < bandBoxCount; ++i) {
        EXPECT_EQ(s.bandBoxes[static_cast<std::size_t>(i)].visible, visible[i]) << i;
    }
    EXPECT_EQ(s.band.items, Texts{"11a"});
}

TEST(ProfileForm, NetworkTypeRule) {
    struct Case {
        const char* autoWpaWpa2;
        int networkType;
        Texts authItems;
        int authSelected;
        std::string cipher, channel, band;
        bool boxesOn; // 11B, 11G, 11GT and 11AT
    };
    // Each from ad hoc on band "11a" with "Auto": infrastructure leaves the band as it was.
    const Case cases[] = {
        {"YES", 0, adhocAuth, 1, "WEP-Key @0 off", "1,2,3,4,5,6,7,8,9,10,11 @0 on", "11b,11a @0 on", false},
        {"NO", 0, adhocAuth, 1, "WEP-Key @0 off", "1,2,3,4,5,6,7,8,9,10,11 @0 on", "11b,11a @0 on", false},
        {"YES", 1, separate, 7, " @-1 off", "auto @0 off", "11b,11a @1 off", true},
        {"NO", 1, combined, 5, " @-1 off", "auto @0 off", "11b,11a @1 off", true},
        {"", 1, {}, -1, " @-1 off", "auto @0 off", "11b,11a @1 off", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoWpaWpa2 << " network type " << c.networkType);
        ProfileForm form = newForm(inputs(c.autoWpaWpa2));
        form.selectNetworkType(0);
        form.selectBand(1);
        form.selectAuthentication(0);
        form.selectNetworkType(c.networkType);
        const ProfileFormState& s = form.state();
        const SecurityState& security = form.security();
        EXPECT_EQ(security.authentication.items, c.authItems);
        EXPECT_EQ(security.authentication.selected, c.authSelected);
        EXPECT_EQ(describe(security.cipher), c.cipher);
        EXPECT_EQ(describe(s.channel), c.channel);
        EXPECT_EQ(describe(s.band), c.band);
        EXPECT_FALSE(security.configEnabled);
        EXPECT_EQ(keyControls(security), keysOff);
        for (BandBox box : {BandBox::Mode11B, BandBox::Mode11G, BandBox::Mode11GT, BandBox::Mode11AT}) {
            EXPECT_EQ(s.bandBox(box).enabled, c.boxesOn) << static_cast<int>(box);
        }
        EXPECT_TRUE(s.bandBox(BandBox::Mode11A).enabled);
        EXPECT_TRUE(s.bandBox(BandBox::ExtendedRange).enabled);
    }
}

TEST(ProfileForm, ChannelRule) {
    struct Case {
        int plan;
        bool only11a;
        int band;
        std::string channel;
    };
    const Case cases[] = {
        {0, false, 0, "1,2,3,4,5,6,7,8,9,10,11 @0 on"},
        {4, false, 0, "1,2,3,4,5,6,7,8,9,10,11,12,13 @0 on"},
        {5, false, 0, "1,2,3,4,5,6,7,8,9,10,11 @0 on"},
        {11, false, 0, "1,2,3,4,5,6,7,8,9,10,11,12,13 @0 on"},
        {6, false, 0, "3,4,5,6,7,8,9 @0 on"},
        {6, false, 1, "auto @0 off"},
        {4, true, 0, "auto @0 off"}, // the only band offered is 11a
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "plan " << c.plan << " only 11a " << c.only11a << " band " << c.band);
        ProfileFormInputs in = inputs("YES", c.plan);
        in.offered.mode11b = !c.only11a;
        ProfileForm form = newForm(in);
        form.selectNetworkType(0);
        form.selectChannel(2);
        form.selectBand(c.band);
        EXPECT_EQ(describe(form.state().channel), c.channel);
        EXPECT_EQ(form.state().channelPlan, c.plan);
    }
}

// The authentication rule for every item of both lists and of the ad hoc list, with the
// stored "Encryation Mode" 1 ("TKIP") preselected for the items with an "AES", "TKIP" list.
TEST(ProfileForm, AuthenticationRule) {
    struct Case {
        const char* autoWpaWpa2;
        bool adhoc;
        int position;
        bool config;
        std::string keys, cipher;
    };
    const Case cases[] = {
        {"YES", false, 0, false, wepKey1, "WEP-Key @0 on"},
        {"YES", false, 1, false, wepKey1, "WEP-Key @0 on"},
        {"YES", false, 2, false, wepKey1, "WEP-Key @0 on"},
        {"YES", false, 3, true, keysOff, "AES,TKIP @1 off"},
        {"YES", false, 4, true, keysOff, "AES,TKIP @1 on"},
        {"YES", false, 5, true, keysOff, "AES,TKIP @1 off"},
        {"YES", false, 6, true, keysOff, "AES,TKIP @1 on"},
        {"YES", false, 7, false, keysOff, "AES,TKIP @1 off"}, // the list keeps what it showed
        {"NO", false, 0, false, wepKey1, "WEP-Key @0 on"},
        {"NO", false, 1, false, wepKey1, "WEP-Key @0 on"},
        {"NO", false, 2, false, wepKey1, "WEP-Key @0 on"},
        {"NO", false, 3, true, keysOff, "TKIP/AES @0 on"},
        {"NO", false, 4, true, keysOff, "TKIP/AES @0 on"},
        {"NO", false, 5, false, keysOff, "TKIP/AES @0 off"},
        {"YES", true, 0, false, wepKey1, "WEP-Key @0 on"},
        {"NO", true, 1, false, "radios 0000 checked 0010 fields 0000 lengths 0000 format 0",
         "WEP-Key @0 off"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoWpaWpa2 << " adhoc " << c.adhoc << " item " << c.position);
        ProfileForm form = newForm(inputs(c.autoWpaWpa2));
        form.selectNetworkType(c.adhoc ? 0 : 1);
        // From a WPA item first, so the rule has something to undo.
        form.selectAuthentication(c.adhoc ? 0 : 4);
        form.checkDefaultKey(2);
        form.selectAuthentication(c.position);
        const SecurityState& security = form.security();
        EXPECT_EQ(security.authentication.selected, c.position);
        EXPECT_TRUE(security.authentication.enabled);
        EXPECT_EQ(security.configEnabled, c.config);
        EXPECT_EQ(keyControls(security), c.keys);
        EXPECT_EQ(describe(security.cipher), c.cipher);
    }

    // A stored cipher position the list lacks leaves it without a selection.
    ProfileForm form = newForm(inputs("YES", 0, 5));
    form.selectAuthentication(6);
    EXPECT_EQ(describe(form.security().cipher), "AES,TKIP @-1 on");
}

TEST(ProfileForm, DefaultKeyRule) {
    ProfileForm form = newForm();
    form.checkDefaultKey(2);
    EXPECT_EQ(keyControls(form.security()), keysOff) << "radio buttons are off without a WEP item";
    form.selectAuthentication(1);
    form.checkDefaultKey(2);
    EXPECT_EQ(keyControls(form.security()), "radios 1111 checked 0010 fields 0010 lengths 0010 format 1");
    form.checkDefaultKey(3);
    EXPECT_EQ(keyControls(form.security()), "radios 1111 checked 0001 fields 0001 lengths 0001 format 1");
    // Another WEP item starts again from key 1.
    form.selectAuthentication(0);
    EXPECT_EQ(keyControls(form.security()), wepKey1);
    form.checkDefaultKey(4);
    form.checkDefaultKey(-1);
    EXPECT_EQ(keyControls(form.security()), wepKey1);
}

// The key-length limit on every text change, and the format check for the default key when
// the format, its length or the default key changes.
TEST(ProfileForm, KeyLimitAndFormatRules) {
    const FormMessage nonHex{nonHexKeyMessage, MessageCaption::Prompt};
    struct Case {
        const char* what;
        std::function<std::optional<FormMessage>(ProfileForm&)> act;
        int key;
        KeyField field;
        std::optional<FormMessage> message;
    };
    const Case cases[] = {
        {"typing past the ASCII 64-bit limit drops the first character",
         [](ProfileForm& f) {
             f.setKeyText(0, "abcdefgh");
             return std::nullopt;
         },
         0, KeyField{"bcdef", true, false, false, 5}, std::nullopt},
        {"a 128-bit length allows 13",
         [](ProfileForm& f) {
             const auto message = f.selectKeyLength(0, 1);
             f.setKeyText(0, "abcdefghijklmno");
             return message;
         },
         0, KeyField{"bcdefghijklmn", true, false, false, 13}, std::nullopt},
        {"HEX with hexadecimal text",
         [](ProfileForm& f) {
             f.setKeyText(0, "abcde");
             return f.selectKeyFormat(1);
         },
         0, KeyField{"abcde", true, false, true, 10}, std::nullopt},
        {"HEX with a letter beyond F empties the default key",
         [](ProfileForm& f) {
             f.setKeyText(0, "hello");
             return f.selectKeyFormat(1);
         },
         0, KeyField{"", true, false, true, 10}, nonHex},
        {"a new default key is checked at once",
         [](ProfileForm& f) {
             f.checkDefaultKey(1);
             f.setKeyText(1, "zzzzzzzzzz");
             f.checkDefaultKey(0);
             f.selectKeyFormat(1);
             return f.checkDefaultKey(1);
         },
         1, KeyField{"", true, false, true, 10}, nonHex},
        {"a key that is not the default is not checked",
         [](ProfileForm& f) {
             f.checkDefaultKey(2);
             f.setKeyText(2, "zzzzz");
             f.checkDefaultKey(0);
             return f.selectKeyFormat(1);
         },
         2, KeyField{"zzzzz", false, false, false, 5}, std::nullopt},
        {"an empty field keeps its limit and filter",
         [](ProfileForm& f) {
             f.setKeyText(0, "12345");
             f.setKeyText(0, "");
             return f.selectKeyFormat(1);
         },
         0, KeyField{"", true, false, true, 5}, std::nullopt},
        {"a disabled field takes no text",
         [](ProfileForm& f) {
             f.setKeyText(3, "abcde");
             return std::nullopt;
         },
         3, KeyField{"", false, true, false, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileForm form = newForm();
        form.selectAuthentication(2);
        EXPECT_EQ(c.act(form), c.message);
        const KeyField& field = form.security().keys[static_cast<std::size_t>(c.key)];
        EXPECT_EQ(field.text, c.field.text);
        EXPECT_EQ(field.enabled, c.field.enabled);
        EXPECT_EQ(field.masked, c.field.masked);
        EXPECT_EQ(field.hexOnly, c.field.hexOnly);
        EXPECT_EQ(field.limit, c.field.limit);
    }
}

TEST(ProfileForm, BandBoxClicks) {
    ProfileForm form = newForm();
    const auto checked = [&](BandBox box) { return form.state().bandBox(box).checked; };
    // Unchecking 11B, 11G and 11A in turn in infrastructure leaves the last of them checked.
    form.clickBandBox(BandBox::Mode11A);
    EXPECT_TRUE(checked(BandBox::Mode11A));
    form.clickBandBox(BandBox::Mode11B);
    form.clickBandBox(BandBox::Mode11G);
    EXPECT_FALSE(checked(BandBox::Mode11GT)) << "11GT follows 11G";
    form.clickBandBox(BandBox::Mode11A);
    EXPECT_TRUE(checked(BandBox::Mode11A));
    EXPECT_FALSE(checked(BandBox::Mode11B));
    EXPECT_FALSE(checked(BandBox::Mode11G));

    // In ad hoc 11B, 11G, 11GT and 11AT are off and take no clicks.
    form.selectNetworkType(0);
    form.clickBandBox(BandBox::Mode11B);
    form.clickBandBox(BandBox::Mode11G);
    EXPECT_FALSE(checked(BandBox::Mode11B));
    EXPECT_FALSE(checked(BandBox::Mode11G));
    form.clickBandBox(BandBox::ExtendedRange);
    EXPECT_FALSE(checked(BandBox::ExtendedRange));

    // A hidden box takes no clicks either.
    ProfileFormInputs in = inputs();
    in.offered.mode11gt = false;
    ProfileForm hidden = newForm(in);
    hidden.clickBandBox(BandBox::Mode11GT);
    EXPECT_TRUE(hidden.state().bandBox(BandBox::Mode11GT).checked);
}

TEST(ProfileForm, SurveyedNetwork) {
    struct Case {
        const char* autoWpaWpa2;
        int plan;
        SurveyedNetwork network;
        int networkType, auth;
        bool config;
        std::string keys, cipher;
        int channel;
    };
    const Case cases[] = {
        // Ad hoc: open or WEP; the surveyed channel is selected when the plan's list has it.
        {"YES", 0, {"Cell", 5, 0, 0, 0}, 0, 1, false, keysOff, "Desable @0 off", 5},
        {"YES", 0, {"Cell", 5, 0, 1, 0}, 0, 0, false, wepKey1, "WEP-Key @0 on", 5},
        {"NO", 6, {"Cell", 5, 0, 1, 0}, 0, 0, false, wepKey1, "WEP-Key @0 on", 3},
        {"YES", 6, {"Cell", 1, 0, 0, 0}, 0, 1, false, keysOff, "Desable @0 off", 0},
        {"YES", 0, {"Cell", 12, 0, 0, 0}, 0, 1, false, keysOff, "Desable @0 off", 0},
        {"YES", 4, {"Cell", 12, 0, 0, 0}, 0, 1, false, keysOff, "Desable @0 off", 12},
        {"YES", 0, {"Cell", 20, 0, 0, 0}, 0, 1, false, keysOff, "Desable @0 off", 0},
        {"YES", 0, {"Cell", 5, 0, 2, 4}, 0, 1, false, keysOff, "WEP-Key @0 off", 5},
        // Infrastructure, separate items.
        {"YES", 0, {"Office", 5, 1, 0, 7}, 1, 7, false, keysOff, "Desable @0 off", 0},
        {"YES", 0, {"Office", 5, 1, 1, 1}, 1, 1, false, wepKey1, "WEP-Key @0 on", 0},
        {"YES", 0, {"Office", 5, 1, 2, 3}, 1, 3, true, keysOff, "AES,TKIP @1 off", 0},
        {"YES", 0, {"Office", 5, 1, 2, 4}, 1, 4, true, keysOff, "AES,TKIP @1 on", 0},
        {"YES", 0, {"Office", 5, 1, 3, 6}, 1, 5, true, keysOff, "AES,TKIP @0 off", 0},
        {"YES", 0, {"Office", 5, 2, 3, 7}, 1, 6, true, keysOff, "AES,TKIP @0 on", 0},
        // Infrastructure, combined items.
        {"NO", 0, {"Office", 5, 1, 2, 6}, 1, 3, true, keysOff, "TKIP/AES @0 on", 0},
        {"NO", 0, {"Office", 5, 1, 3, 4}, 1, 4, true, keysOff, "TKIP/AES @0 on", 0},
        {"NO", 0, {"Office", 5, 1, 1, 2}, 1, 2, false, wepKey1, "WEP-Key @0 on", 0},
        // Nothing to preselect: "Disable" as the network type rule left it.
        {"YES", 0, {"Office", 5, 1, 2, 1}, 1, 7, false, keysOff, " @-1 off", 0},
        {"", 0, {"Office", 5, 1, 2, 4}, 1, -1, false, keysOff, " @-1 off", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.autoWpaWpa2 << " plan " << c.plan << " type " << c.network.networkType
                     << " encryption " << c.network.encryptionMode << " authentication "
                     << c.network.authenticationMode << " channel " << c.network.channel);
        ProfileForm form(inputs(c.autoWpaWpa2, c.plan));
        form.loadSurveyed(c.network);
        const ProfileFormState& s = form.state();
        const SecurityState& security = form.security();
        EXPECT_EQ(s.mode, EditorMode::Surveyed);
        EXPECT_EQ(s.name, c.network.ssid);
        EXPECT_EQ(s.ssid, c.network.ssid);
        EXPECT_EQ(s.networkType.selected, c.networkType);
        EXPECT_EQ(security.authentication.selected, c.auth);
        EXPECT_EQ(security.configEnabled, c.config);
        EXPECT_EQ(keyControls(security), c.keys);
        EXPECT_EQ(describe(security.cipher), c.cipher);
        EXPECT_EQ(s.channel.selected, c.channel);
        EXPECT_TRUE(security.keys[0].masked);
    }

    ProfileForm longName(inputs());
    longName.loadSurveyed({std::string(33, 'n'), 0, 1, 0, 0});
    EXPECT_EQ(longName.state().name, std::string(32, 'n'));
    EXPECT_EQ(longName.state().ssid, std::string(32, 'n'));
}

// The editor opened without the values it was opened for: a profile row whose name the store
// no longer holds opens as a new profile of that name, and a network row that the last survey
// no longer reports as a surveyed network with only its SSID. Both start like a new profile.
TEST(ProfileForm, OpenedWithOnlyAName) {
    struct Case {
        const char* what;
        std::function<void(ProfileForm&)> load;
        EditorMode mode;
        std::string name, ssid;
    };
    const std::string long33(33, 'n');
    const Case cases[] = {
        {"new", [](ProfileForm& f) { f.loadNew(); }, EditorMode::Add, "", ""},
        {"new with a name", [](ProfileForm& f) { f.loadNew("Gone"); }, EditorMode::Add, "Gone", ""},
        {"a long name stays whole", [&](ProfileForm& f) { f.loadNew(long33); }, EditorMode::Add, long33, ""},
        {"SSID only", [](ProfileForm& f) { f.loadSurveyedSsid("Cafe"); }, EditorMode::Surveyed, "Cafe",
         "Cafe"},
        {"SSID cut to 32", [&](ProfileForm& f) { f.loadSurveyedSsid(long33); }, EditorMode::Surveyed,
         std::string(32, 'n'), std::string(32, 'n')},
    };
    const ProfileForm fresh = newForm();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileForm form(inputs());
        form.loadSurveyed({"Earlier", 3, 0, 1, 2}); // whatever came before is gone
        c.load(form);
        ProfileFormState expected = fresh.state();
        expected.mode = c.mode;
        expected.name = c.name;
        expected.ssid = c.ssid;
        EXPECT_EQ(form.state(), expected);
        EXPECT_EQ(form.security(), fresh.security());
    }
}

ProfileRecord storedProfile() {
    ProfileRecord p;
    p.Profilename = "Home";
    p.SSID = "HomeNet";
    p.bsstype = 1;
    p.AuthListIndex = 7;
    p.Mode11b = p.Mode11g = p.Mode11gt = 1;
    return p;
}

TEST(ProfileForm, StoredProfile) {
    const std::string hex26 = "0123456789abcdef0123456789";
    struct Case {
        const char* what;
        std::function<void(ProfileRecord&)> set;
        int plan;
        int auth;
        bool config;
        std::string keys, cipher;
    };
    const Case cases[] = {
        {"Disable", [](ProfileRecord&) {}, 0, 7, false,
         "radios 0000 checked 0000 fields 0000 lengths 0000 format 0", "Desable @0 off"},
        {"Shared Key with key 2 the default",
         [&](ProfileRecord& p) {
             p.AuthListIndex = 1;
             p.Radio2 = 1;
         },
         0, 1, false, "radios 1111 checked 0100 fields 0100 lengths 0100 format 1", "WEP-Key @0 on"},
        {"of several default keys the last counts",
         [&](ProfileRecord& p) {
             p.AuthListIndex = 0;
             p.Radio1 = p.Radio3 = 1;
             p.Radio4 = 2;
         },
         0, 0, false, "radios 1111 checked 0010 fields 0010 lengths 0010 format 1", "WEP-Key @0 on"},
        {"Auto without a default key", [&](ProfileRecord& p) { p.AuthListIndex = 2; }, 0, 2, false,
         "radios 1111 checked 0000 fields 0000 lengths 0000 format 1", "WEP-Key @0 on"},
        {"WPA2-PSK with its stored cipher",
         [&](ProfileRecord& p) {
             p.AuthListIndex = 6;
             p.CipherListIndex = 0;
             p.Radio1 = 1;
         },
         0, 6, true, "radios 0000 checked 1000 fields 0000 lengths 0000 format 0", "AES,TKIP @0 on"},
        {"WPA with a cipher the list lacks",
         [&](ProfileRecord& p) {
             p.AuthListIndex = 3;
             p.CipherListIndex = 4;
         },
         0, 3, true, "radios 0000 checked 0000 fields 0000 lengths 0000 format 0", "AES,TKIP @-1 off"},
        {"an item the list lacks", [&](ProfileRecord& p) { p.AuthListIndex = 12; }, 0, -1, false,
         "radios 0000 checked 0000 fields 0000 lengths 0000 format 0", "Desable @0 off"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileRecord profile = storedProfile();
        c.set(profile);
        ProfileForm form(inputs("YES", c.plan));
        form.loadStored(profile, EditorMode::Properties);
        const ProfileFormState& s = form.state();
        const SecurityState& security = form.security();
        EXPECT_EQ(s.mode, EditorMode::Properties);
        EXPECT_EQ(security.authentication.selected, c.auth);
        EXPECT_EQ(security.configEnabled, c.config);
        EXPECT_EQ(keyControls(security), c.keys);
        EXPECT_EQ(describe(security.cipher), c.cipher);
    }
}

TEST(ProfileForm, StoredProfileValues) {
    ProfileRecord p = storedProfile();
    p.bsstype = 0;
    p.adhocband = 0;
    p.Channel = 4;
    p.PowerMode = 2;
    p.AuthListIndex = 0;
    p.KeyFormat = 1;
    p.KeyLength1 = 1;
    p.KeyLength3 = 7;
    p.Radio1 = 1;
    p.WEPKey1 = "0123456789abcdef0123456789"; // fits HEX 128-bit: shown whole
    p.WEPKey2 = "0123456789abcdef";           // too long for HEX 64-bit: cut as if typed
    p.Mode11b = 0;
    p.Mode11a = p.Mode11at = p.ModeXR = 1;
    p.WPAPassPhase = "a passphrase";
    p.CertificateName = "CERT";
    p.CertificateHash = "AUTH";
    p.DomainName = "corp.example";
    p.LoginName = "jo";
    ProfileForm form(inputs("NO", 6));
    form.loadStored(p, EditorMode::Properties);
    const ProfileFormState& s = form.state();
    const SecurityState& security = form.security();
    EXPECT_EQ(s.name, "Home");
    EXPECT_EQ(s.ssid, "HomeNet");
    EXPECT_EQ(s.networkType.selected, 0);
    EXPECT_EQ(describe(s.channel), "3,4,5,6,7,8,9 @4 on");
    EXPECT_EQ(s.powerMode.selected, 2);
    EXPECT_EQ(security.authentication.items, adhocAuth);
    EXPECT_EQ(security.authentication.selected, 0);
    EXPECT_EQ(security.keyFormat.selected, 1);
    EXPECT_EQ(security.keyLength[0].selected, 1);
    EXPECT_EQ(security.keyLength[1].selected, 0);
    EXPECT_EQ(security.keyLength[2].selected, -1) << "a stored length the list lacks";
    EXPECT_EQ(security.keys[0], (KeyField{"0123456789abcdef0123456789", true, true, true, 26}));
    EXPECT_EQ(security.keys[1], (KeyField{"123456789a", false, true, true, 10}));
    EXPECT_EQ(security.keys[2], (KeyField{"", false, true, false, 0}));
    const bool checked[] = {false, true, true, true, true, true};
    for (int i = 0; i < bandBoxCount; ++i) {
        EXPECT_EQ(s.bandBoxes[static_cast<std::size_t>(i)].checked, checked[i]) << i;
    }
    EXPECT_FALSE(s.bandBox(BandBox::Mode11B).enabled);
    EXPECT_EQ(security.passphrase, "a passphrase");
    EXPECT_EQ(security.certificate, (CertificateValues{"CERT", "AUTH", "corp.example", "jo"}));

    // Any stored network type but ad hoc loads as infrastructure.
    p.bsstype = 2;
    ProfileForm softAp(inputs("NO", 6));
    softAp.loadStored(p, EditorMode::Connect);
    EXPECT_EQ(softAp.state().networkType.selected, 1);
    EXPECT_EQ(softAp.state().mode, EditorMode::Connect);
}

TEST(ProfileForm, ConfigButton) {
    struct Case {
        const char* autoWpaWpa2;
        int position;
        ConfigDialog dialog;
    };
    const Case cases[] = {
        {"YES", 0, ConfigDialog::None},       {"YES", 3, ConfigDialog::Certificate},
        {"YES", 4, ConfigDialog::Passphrase}, {"YES", 5, ConfigDialog::Certificate},
        {"YES", 6, ConfigDialog::Passphrase}, {"YES", 7, ConfigDialog::None},
        {"NO", 3, ConfigDialog::Certificate}, {"NO", 4, ConfigDialog::Passphrase},
        {"NO", 5, ConfigDialog::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoWpaWpa2 << " " << c.position);
        ProfileForm form = newForm(inputs(c.autoWpaWpa2));
        form.selectAuthentication(c.position);
        EXPECT_EQ(form.configDialog(), c.dialog);
    }

    // The dialogs start from the form's values only for a stored profile.
    ProfileRecord p = storedProfile();
    p.AuthListIndex = 4;
    p.WPAPassPhase = "stored phrase";
    p.LoginName = "jo";
    for (EditorMode mode : {EditorMode::Properties, EditorMode::Connect}) {
        ProfileForm form(inputs());
        form.loadStored(p, mode);
        EXPECT_EQ(form.passphrasePreset(), "stored phrase");
        EXPECT_EQ(form.certificatePreset().login, "jo");
        form.acceptPassphrase("new phrase");
        EXPECT_EQ(form.passphrasePreset(), "new phrase");
    }
    ProfileForm surveyed(inputs());
    surveyed.loadSurveyed({"Office", 0, 1, 2, 4});
    surveyed.acceptPassphrase("typed once");
    surveyed.acceptCertificate({"C", "A", "D", "L"});
    EXPECT_EQ(surveyed.passphrasePreset(), "");
    EXPECT_EQ(surveyed.certificatePreset(), CertificateValues{});
    EXPECT_EQ(surveyed.security().passphrase, "typed once");
    EXPECT_EQ(surveyed.security().certificate, (CertificateValues{"C", "A", "D", "L"}));
}

TEST(ProfileForm, InputToUnusableControlsIsIgnored) {
    ProfileForm form = newForm();
    const ProfileFormState before = form.state();
    const SecurityState securityBefore = form.security();
    form.selectChannel(0);      // off in infrastructure
    form.selectBand(1);         // off in infrastructure
    form.selectCipher(0);       // off with "Disable"
    form.selectKeyFormat(1);    // off with "Disable"
    form.selectKeyLength(0, 1); // off with "Disable"
    form.selectNetworkType(2);  // no such item
    form.selectAuthentication(9);
    form.selectPowerMode(-1);
    EXPECT_EQ(form.state(), before);
    EXPECT_EQ(form.security(), securityBefore);
}

} // namespace
