// The profile form's Apply: its checks, the profile and "on_link" writes in their order, and
// the configuration handed to the adapter.
#include "logic/ProfileForm.h"

#include "DescribeSettings.h"
#include "logic/KeyRules.h"
#include "storage/StoredText.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace logic;
using Writes = std::vector<StoredValue>;

ProfileFormInputs inputs(const char* autoWpaWpa2 = "YES", int plan = 0) {
    ProfileFormInputs in;
    in.autoWpaWpa2 = autoWpaWpa2;
    in.offered = {true, true, true, true, true, true};
    in.channelPlan = plan;
    in.storedCipherIndex = 1;
    return in;
}

// A new profile named "Home" for the network "HomeNet", infrastructure or ad hoc.
ProfileForm homeForm(bool adhoc, ProfileFormInputs in = inputs()) {
    ProfileForm form(std::move(in));
    form.loadNew();
    form.setName("Home");
    form.setSsid("HomeNet");
    form.selectNetworkType(adhoc ? 0 : 1);
    return form;
}

ApplyOutcome outcomeOf(const ProfileForm& form) {
    const ApplyResult result = applyProfileForm(form);
    if (const auto* stop = std::get_if<ApplyStop>(&result)) {
        ADD_FAILURE() << "refused: " << (stop->message ? stop->message->text : "(no message)");
        return {};
    }
    return std::get<ApplyOutcome>(result);
}

std::string stopText(const ApplyResult& result) {
    const auto* stop = std::get_if<ApplyStop>(&result);
    return stop == nullptr ? "applied" : stop->message ? stop->message->text : "(no message)";
}

std::string value(const Writes& writes, const std::string& key) {
    for (const StoredValue& write : writes) {
        if (write.key == key) {
            return write.value;
        }
    }
    return "(absent)";
}

std::string enc(const std::string& plain) {
    return EncodeStoredText(plain);
}

// The pending configuration of "HomeNet" as the new form gives it.
StationSettings homeSettings(bool adhoc) {
    StationSettings s{};
    copyText(s.cSSID, "HomeNet");
    s.TxRateAuto = 1;
    if (adhoc) {
        s.NetworkType = 0;
        s.TxRate = 3;
        s.WirelessMode[Mode11B] = 1;
    } else {
        s.NetworkType = 1;
        s.TxRate = 12;
        s.WirelessMode[Mode11B] = s.WirelessMode[Mode11G] = s.WirelessMode[Mode11GT] = 1;
        s.AdvancedMode[0] = 1;
    }
    return s;
}

TEST(ProfileFormApply, Refusals) {
    const FormMessage noName{missingNameMessage, MessageCaption::Prompt};
    const auto stored = [](EditorMode mode, const std::function<void(ProfileRecord&)>& set) {
        ProfileRecord p;
        p.Profilename = "Home";
        p.SSID = "HomeNet";
        p.bsstype = 1;
        p.AuthListIndex = 7;
        set(p);
        ProfileForm form(inputs());
        form.loadStored(p, mode);
        return form;
    };
    struct Case {
        const char* what;
        std::function<ProfileForm()> form;
        ApplyStop expected;
    };
    const Case cases[] = {
        {"a new profile applied at once",
         [] {
             ProfileForm form(inputs());
             form.loadNew();
             return form;
         },
         {noName}},
        {"a name of blanks",
         [] {
             ProfileForm form = homeForm(false);
             form.setName(" \t  ");
             return form;
         },
         {noName}},
        {"a stored profile without a name",
         [&] { return stored(EditorMode::Properties, [](ProfileRecord& p) { p.Profilename.clear(); }); },
         {noName}},
        {"a stored profile without a name, applied unseen: no message",
         [&] { return stored(EditorMode::Connect, [](ProfileRecord& p) { p.Profilename = "   "; }); },
         {}},
        {"ad hoc without an SSID",
         [] {
             ProfileForm form = homeForm(true);
             form.setSsid("");
             return form;
         },
         {FormMessage{adhocSsidMessage, MessageCaption::Prompt}}},
        {"the default key of the wrong length",
         [] {
             ProfileForm form = homeForm(false);
             form.selectAuthentication(0);
             form.checkDefaultKey(2);
             form.setKeyText(2, "abc");
             return form;
         },
         {FormMessage{"The length of key3 must be 5 characters", MessageCaption::ApplicationName}}},
        {"a HEX 64-bit key of 9 digits",
         [] {
             ProfileForm form = homeForm(false);
             form.selectAuthentication(2);
             form.selectKeyFormat(1);
             form.setKeyText(0, "123456789");
             return form;
         },
         {FormMessage{"The length of key1 must be 10 characters", MessageCaption::ApplicationName}}},
        {"the key is checked before the name",
         [] {
             ProfileForm form = homeForm(true);
             form.setName("");
             form.setSsid("");
             form.selectAuthentication(0);
             form.setKeyText(0, "ab");
             return form;
         },
         {FormMessage{"The length of key1 must be 5 characters", MessageCaption::ApplicationName}}},
        {"a stored HEX key with a non-hexadecimal digit empties the field",
         [&] {
             return stored(EditorMode::Connect, [](ProfileRecord& p) {
                 p.AuthListIndex = 0;
                 p.KeyFormat = 1;
                 p.Radio4 = 1;
                 p.WEPKey4 = "012345678g";
             });
         },
         {FormMessage{nonHexKeyMessage, MessageCaption::Prompt}, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ApplyResult result = applyProfileForm(c.form());
        ASSERT_TRUE(std::holds_alternative<ApplyStop>(result));
        EXPECT_EQ(std::get<ApplyStop>(result), c.expected) << stopText(result);
    }
}

TEST(ProfileFormApply, StopThenEmptiedFieldThenFixed) {
    ProfileRecord p;
    p.Profilename = "Home";
    p.SSID = "HomeNet";
    p.bsstype = 1;
    p.AuthListIndex = 0;
    p.KeyFormat = 1;
    p.Radio1 = 1;
    p.WEPKey1 = "zz23456789";
    ProfileForm form(inputs());
    form.loadStored(p, EditorMode::Connect);
    const ApplyResult refused = applyProfileForm(form);
    ASSERT_TRUE(std::holds_alternative<ApplyStop>(refused));
    form.setKeyText(std::get<ApplyStop>(refused).emptyKeyField, "");
    EXPECT_EQ(stopText(applyProfileForm(form)), "The length of key1 must be 10 characters");
    form.setKeyText(0, "aa23456789");
    EXPECT_EQ(stopText(applyProfileForm(form)), "applied");
}

// The security keys of the writes, in their order; the same in both sections.
Writes securityWrites(const Writes& writes) {
    static const std::set<std::string> keys = {
        "Auth Mode",    "Encryation Mode", "WEP key1",        "WEP key2",    "WEP key3",
        "WEP key4",     "Key Format",      "Key Length1",     "Key Length2", "Key Length3",
        "Key Length4",  "Radio1",          "Radio2",          "Radio3",      "Radio4",
        "WPAPassPhase", "CertificateHash", "CertificateName", "DomainName",  "LoginName",
    };
    Writes security;
    for (const StoredValue& write : writes) {
        if (keys.count(write.key) != 0) {
            security.push_back(write);
        }
    }
    return security;
}

// Auth Mode, Encryation Mode, the four keys as typed, Key Format, the lengths and the radio
// flags: what every profile writes.
Writes keyWrites(int auth, int cipher, std::array<std::string, 4> keys, int format,
                 std::array<int, 4> lengths, int defaultKey) {
    Writes w = {{"Auth Mode", std::to_string(auth)}, {"Encryation Mode", std::to_string(cipher)}};
    for (int k = 0; k < 4; ++k) {
        w.push_back({"WEP key" + std::to_string(k + 1), enc(keys[static_cast<std::size_t>(k)])});
    }
    w.push_back({"Key Format", std::to_string(format)});
    for (int k = 0; k < 4; ++k) {
        w.push_back(
            {"Key Length" + std::to_string(k + 1), std::to_string(lengths[static_cast<std::size_t>(k)])});
    }
    for (int k = 0; k < 4; ++k) {
        w.push_back({"Radio" + std::to_string(k + 1), k == defaultKey ? "1" : "0"});
    }
    return w;
}

Writes plus(Writes writes, const Writes& more) {
    writes.insert(writes.end(), more.begin(), more.end());
    return writes;
}

const Writes passphraseWrite = {{"WPAPassPhase", EncodeStoredText("home passphrase")}};
const Writes certificateWrites = {{"CertificateHash", EncodeStoredText("AUTH")},
                                  {"CertificateName", EncodeStoredText("CERT")},
                                  {"DomainName", EncodeStoredText("corp.example")},
                                  {"LoginName", EncodeStoredText("jo")}};

void choosePassphraseItem(ProfileForm& form) {
    form.selectAuthentication(6); // "WPA2-PSK"
    form.selectCipher(1);         // "TKIP"
    form.acceptPassphrase("home passphrase");
}

void chooseCertificateItem(ProfileForm& form) {
    form.selectAuthentication(3); // "WPA/WPA2"
    form.acceptCertificate({"CERT", "AUTH", "corp.example", "jo"});
}

// An open, a WEP ASCII, a WEP HEX, a WPA2-PSK and an 802.1X profile, in infrastructure and in
// ad hoc: the configuration for the adapter and the security values stored.
TEST(ProfileFormApply, ProfilesBySecurityAndNetworkType) {
    using Expect = std::function<void(StationSettings&)>;
    const auto modes = [](int auth, int encryption) {
        return [=](StationSettings& s) {
            s.AuthenticationMode = auth;
            s.EncryptionMode = encryption;
        };
    };
    const std::string hello = "Hello, World!";
    struct Case {
        const char* what;
        bool adhoc;
        const char* autoWpaWpa2;
        std::function<void(ProfileForm&)> set;
        Expect expected;
        Writes security;
    };
    const Case cases[] = {
        {"open, infrastructure", false, "YES", [](ProfileForm&) {}, modes(2, 0),
         keyWrites(7, -1, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0)},
        {"open, ad hoc", true, "YES", [](ProfileForm&) {}, modes(2, 0),
         keyWrites(1, 0, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0)},
        {"WEP ASCII, 128-bit key 2, infrastructure", false, "YES",
         [&](ProfileForm& f) {
             f.selectAuthentication(1);
             f.checkDefaultKey(1);
             f.selectKeyLength(1, 1);
             f.setKeyText(1, hello);
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 1;
             s.EncryptionMode = 1;
             s.iDefaultWEPKeyID = 1;
             s.iWEPKeyBits = 128;
             copyText(s.ucWEPKey2Value, "48656C6C6F2C20576F726C6421");
         },
         keyWrites(1, 0, {"", hello, "", ""}, 0, {0, 1, 0, 0}, 1)},
        {"WEP ASCII, 64-bit key 1, ad hoc", true, "NO",
         [](ProfileForm& f) {
             f.selectAuthentication(0);
             f.setKeyText(0, "12345");
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 2;
             s.EncryptionMode = 1;
             s.iWEPKeyBits = 64;
             copyText(s.ucWEPKey1Value, "3132333435");
         },
         keyWrites(0, 0, {"12345", "", "", ""}, 0, {0, 0, 0, 0}, 0)},
        {"WEP HEX, 64-bit key 4, infrastructure; a short key 1 does not matter", false, "NO",
         [](ProfileForm& f) {
             f.selectAuthentication(2);
             f.setKeyText(0, "12");
             f.selectKeyFormat(1);
             f.checkDefaultKey(3);
             f.setKeyText(3, "0a1B2c3D4e");
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 2;
             s.EncryptionMode = 1;
             s.iDefaultWEPKeyID = 3;
             s.iWEPKeyBits = 64;
             copyText(s.ucWEPKey4Value, "0a1B2c3D4e");
         },
         keyWrites(2, 0, {"12", "", "", "0a1B2c3D4e"}, 1, {0, 0, 0, 0}, 3)},
        {"WEP HEX, 128-bit key 1, ad hoc", true, "YES",
         [](ProfileForm& f) {
             f.selectAuthentication(0);
             f.selectKeyFormat(1);
             f.selectKeyLength(0, 1);
             f.setKeyText(0, "0123456789abcdef0123456789");
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 2;
             s.EncryptionMode = 1;
             s.iWEPKeyBits = 128;
             copyText(s.ucWEPKey1Value, "0123456789abcdef0123456789");
         },
         keyWrites(0, 0, {"0123456789abcdef0123456789", "", "", ""}, 1, {1, 0, 0, 0}, 0)},
        {"WPA2-PSK with TKIP, infrastructure", false, "YES", choosePassphraseItem,
         [](StationSettings& s) {
             s.AuthenticationMode = 7;
             s.EncryptionMode = 2;
             copyText(s.cWPAPassPhase, "home passphrase");
         },
         plus(keyWrites(6, 1, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0), passphraseWrite)},
        {"WPA2-PSK, then ad hoc: no passphrase anywhere", true, "YES",
         [](ProfileForm& f) {
             f.selectNetworkType(1);
             choosePassphraseItem(f);
             f.selectNetworkType(0);
         },
         modes(2, 0), keyWrites(1, 0, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0)},
        {"802.1X WPA/WPA2, infrastructure", false, "NO", chooseCertificateItem,
         [](StationSettings& s) {
             s.AuthenticationMode = 3;
             s.EncryptionMode = 3;
             copyText(s.cCertificateName, "CERT");
             copyText(s.cCertificateHash, "AUTH");
             copyText(s.cDomainName, "corp.example");
             copyText(s.cLoginName, "jo");
         },
         plus(keyWrites(3, 0, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0), certificateWrites)},
        {"802.1X WPA with TKIP, infrastructure", false, "YES",
         [](ProfileForm& f) {
             f.selectAuthentication(3);
             f.acceptCertificate({"CERT", "AUTH", "corp.example", "jo"});
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 3;
             s.EncryptionMode = 2; // the stored cipher position 1, "TKIP"
             copyText(s.cCertificateName, "CERT");
             copyText(s.cCertificateHash, "AUTH");
             copyText(s.cDomainName, "corp.example");
             copyText(s.cLoginName, "jo");
         },
         plus(keyWrites(3, 1, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0), certificateWrites)},
        {"802.1X, then ad hoc: no certificate anywhere", true, "NO",
         [](ProfileForm& f) {
             f.selectNetworkType(1);
             chooseCertificateItem(f);
             f.selectNetworkType(0);
         },
         modes(2, 0), keyWrites(1, 0, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileForm form = homeForm(c.adhoc, inputs(c.autoWpaWpa2));
        c.set(form);
        const ApplyOutcome out = outcomeOf(form);
        StationSettings expected = homeSettings(c.adhoc);
        c.expected(expected);
        EXPECT_EQ(describe(out.pending), describe(expected));
        EXPECT_EQ(securityWrites(out.profileWrites), c.security);
        EXPECT_EQ(securityWrites(out.onLinkWrites), c.security);
    }
}

// Every write of a WPA2-PSK profile, in order: the name first, "true_false" in the profile
// section only, "PreambleMode" in "on_link" only, the passphrase before the band flags.
TEST(ProfileFormApply, EveryWriteInOrder) {
    ProfileForm form = homeForm(false);
    choosePassphraseItem(form);
    form.selectPowerMode(2);
    const ApplyOutcome out = outcomeOf(form);
    EXPECT_EQ(out.profileName, "Home");
    const Writes before = {{"SSID", enc("HomeNet")}, {"bsstype", "1"}, {"adhocband", "0"}, {"Channel", "0"}};
    const Writes middle = plus({{"PowerMode", "2"}},
                               plus(keyWrites(6, 1, {"", "", "", ""}, 0, {0, 0, 0, 0}, 0), passphraseWrite));
    const Writes flags = {{"11b", "1"}, {"11g", "1"},  {"11gt", "1"},
                          {"11a", "0"}, {"11at", "0"}, {"XR Extended Range", "1"}};
    const Writes profile =
        plus(plus(plus({{"Profilename", "Home"}, {"true_false", "1"}}, before), middle), flags);
    const Writes onLink =
        plus(plus(plus(plus({{"Profilename", "Home"}}, before), {{"PreambleMode", "1"}}), middle), flags);
    EXPECT_EQ(out.profileWrites, profile);
    EXPECT_EQ(out.onLinkWrites, onLink);
}

// The network part: bands, channels by plan (the stored "Channel" stays the list position),
// the band boxes and the power mode.
TEST(ProfileFormApply, NetworkPart) {
    struct Case {
        const char* what;
        ProfileFormInputs in;
        bool adhoc;
        std::function<void(ProfileForm&)> set;
        std::function<void(StationSettings&)> expected;
        std::string storedChannel;
    };
    ProfileFormInputs only11a = inputs();
    only11a.offered.mode11b = false;
    const Case cases[] = {
        {"ad hoc 11b, channel item 5", inputs("YES", 0), true, [](ProfileForm& f) { f.selectChannel(5); },
         [](StationSettings& s) { s.Channel = 5; }, "5"},
        {"ad hoc 11b under plan 6: item 0 is channel 3", inputs("YES", 6), true,
         [](ProfileForm& f) { f.selectChannel(0); }, [](StationSettings& s) { s.Channel = 2; }, "0"},
        {"ad hoc 11b under plan 6: the last item is channel 9", inputs("YES", 6), true,
         [](ProfileForm& f) { f.selectChannel(6); }, [](StationSettings& s) { s.Channel = 8; }, "6"},
        {"ad hoc 11a: channel 36", inputs("YES", 0), true, [](ProfileForm& f) { f.selectBand(1); },
         [](StationSettings& s) {
             s.WirelessMode[Mode11B] = 0;
             s.WirelessMode[Mode11A] = 1;
             s.TxRate = 12;
             s.Channel = 14;
         },
         "0"},
        {"ad hoc when only 11a is offered", only11a, true, [](ProfileForm&) {},
         [](StationSettings& s) {
             s.WirelessMode[Mode11B] = 0;
             s.WirelessMode[Mode11A] = 1;
             s.TxRate = 12;
             s.Channel = 14;
         },
         "0"},
        {"infrastructure with other bands", inputs(), false,
         [](ProfileForm& f) {
             f.clickBandBox(BandBox::Mode11G);
             f.clickBandBox(BandBox::Mode11A);
             f.clickBandBox(BandBox::Mode11AT);
             f.clickBandBox(BandBox::ExtendedRange);
         },
         [](StationSettings& s) {
             s.WirelessMode[Mode11G] = s.WirelessMode[Mode11GT] = 0;
             s.WirelessMode[Mode11A] = s.WirelessMode[Mode11AT] = 1;
             s.AdvancedMode[0] = 0;
         },
         "0"},
        {"maximum power save", inputs(), false, [](ProfileForm& f) { f.selectPowerMode(1); },
         [](StationSettings& s) { s.PowerSaveMode = 1; }, "0"},
        {"power save", inputs(), true, [](ProfileForm& f) { f.selectPowerMode(2); },
         [](StationSettings& s) { s.PowerSaveMode = 2; }, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileForm form = homeForm(c.adhoc, c.in);
        c.set(form);
        const ApplyOutcome out = outcomeOf(form);
        StationSettings expected = homeSettings(c.adhoc);
        expected.AuthenticationMode = 2; // "Disable"
        c.expected(expected);
        EXPECT_EQ(describe(out.pending), describe(expected));
        EXPECT_EQ(value(out.profileWrites, "Channel"), c.storedChannel);
        EXPECT_EQ(value(out.onLinkWrites, "Channel"), c.storedChannel);
    }
}

// A stored profile applied unseen is written back as it was stored.
TEST(ProfileFormApply, StoredProfileAppliedUnseen) {
    ProfileRecord p;
    p.Profilename = "Office";
    p.SSID = "CorpNet";
    p.bsstype = 1;
    p.Channel = 0;
    p.PowerMode = 1;
    p.AuthListIndex = 1;
    p.KeyFormat = 0;
    p.KeyLength3 = 1;
    p.Radio3 = 1;
    p.WEPKey1 = "old";
    p.WEPKey3 = "Thirteen char";
    p.WPAPassPhase = "not used by a WEP profile";
    p.Mode11b = p.Mode11a = 1;
    ProfileForm form(inputs("NO"));
    form.loadStored(p, EditorMode::Connect);
    const ApplyOutcome out = outcomeOf(form);
    EXPECT_EQ(out.profileName, "Office");
    const std::pair<const char*, std::string> expected[] = {
        {"Profilename", "Office"},
        {"SSID", enc("CorpNet")},
        {"bsstype", "1"},
        {"Channel", "0"},
        {"PowerMode", "1"},
        {"Auth Mode", "1"},
        {"Encryation Mode", "0"},
        {"WEP key1", enc("old")},
        {"WEP key3", enc("Thirteen char")},
        {"Key Length3", "1"},
        {"Radio3", "1"},
        {"Radio1", "0"},
        {"WPAPassPhase", "(absent)"},
        {"11b", "1"},
        {"11g", "0"},
        {"11a", "1"},
    };
    for (const auto& [key, stored] : expected) {
        EXPECT_EQ(value(out.profileWrites, key), stored) << key;
    }
    EXPECT_EQ(out.pending.AuthenticationMode, 1);
    EXPECT_EQ(out.pending.iDefaultWEPKeyID, 2);
    EXPECT_STREQ(out.pending.ucWEPKey3Value, "546869727465656E2063686172");
    EXPECT_EQ(out.pending.PowerSaveMode, 1);
}

// Mode 99 applies unseen and stays silent about a missing name; once the editor is shown to the
// user, Apply tells why it refuses, as in mode 5.
TEST(ProfileFormApply, ConnectHandedToTheUser) {
    ProfileRecord p;
    p.SSID = "CorpNet";
    p.bsstype = 1;
    p.AuthListIndex = 7;
    ProfileForm form(inputs());
    form.loadStored(p, EditorMode::Connect);
    EXPECT_EQ(stopText(applyProfileForm(form)), "(no message)");
    form.handToUser();
    EXPECT_EQ(form.state().mode, EditorMode::Properties);
    EXPECT_EQ(stopText(applyProfileForm(form)), missingNameMessage);
    form.setName("Office");
    EXPECT_EQ(outcomeOf(form).profileName, "Office");

    ProfileForm added = homeForm(false);
    added.handToUser();
    EXPECT_EQ(added.state().mode, EditorMode::Add) << "only mode 99 changes";
}

TEST(ProfileFormApply, NamesAndSsids) {
    const std::string e9 = "\xC3\xA9"; // "é" in UTF-8
    const std::pair<std::string, std::string> names[] = {
        {"Home", "Home"},
        {"Home  ", "Home"},
        {"  Home\t", "Home"},
        {"Ho me", "Ho me"},
        {"Home\nNet", "Home"},
        {std::string("Home\0Net", 8), "Home"},
        {" \t ", ""},
        {std::string(120, 'n'), std::string(99, 'n')},
        {std::string(98, 'n') + " x", std::string(98, 'n')},
        {std::string(98, 'n') + e9, std::string(98, 'n')}, // not half a character
        {std::string(97, 'n') + e9, std::string(97, 'n') + e9},
        {std::string(98, 'n') + "\xE9\xA9", std::string(98, 'n') + "\xE9"}, // not UTF-8: cut by bytes
    };
    for (const auto& [typed, stored] : names) {
        EXPECT_EQ(storedProfileName(typed), stored) << typed;
    }

    ProfileForm form = homeForm(false);
    form.setName("  Home Office  ");
    form.setSsid(std::string(31, 's') + e9);
    const ApplyOutcome out = outcomeOf(form);
    EXPECT_EQ(out.profileName, "Home Office");
    EXPECT_EQ(value(out.profileWrites, "Profilename"), "Home Office");
    EXPECT_EQ(std::string(out.pending.cSSID), std::string(31, 's'));
    EXPECT_EQ(value(out.onLinkWrites, "SSID"), enc(std::string(31, 's')));
}

} // namespace
