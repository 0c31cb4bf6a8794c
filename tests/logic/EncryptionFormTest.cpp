// The Encryption page's form: its lists, the enabling of each authentication item as the page
// shows the stored choice and as the user picks one, the WEP key rules, and the page's Apply.
#include "logic/EncryptionForm.h"

#include "DescribeSettings.h"
#include "PrintForms.h"
#include "logic/KeyRules.h"
#include "storage/StoredText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace logic;
using Items = std::vector<std::string>;
using Writes = std::vector<StoredValue>;

const Items separate{"Open System", "Shared Key", "Auto", "WPA", "WPA-PSK", "WPA2", "WPA2-PSK", "Disable"};
const Items combined{"Open System", "Shared Key", "Auto", "WPA/WPA2", "WPA-PSK/WPA2-PSK", "Disable"};

// "on_link" of an infrastructure network with the given stored "Auth Mode".
OnLinkRecord stored(int authMode, const char* autoWpaWpa2 = "YES") {
    OnLinkRecord r;
    r.SSID = "HomeNet";
    r.bsstype = 1;
    r.AutoWPAWPA2 = autoWpaWpa2;
    r.AuthListIndex = authMode;
    r.CipherListIndex = 1;
    r.Radio1 = 1;
    return r;
}

EncryptionForm refreshed(const OnLinkRecord& record) {
    EncryptionForm form(record);
    EXPECT_FALSE(form.refresh(record));
    return form;
}

TEST(EncryptionForm, AuthenticationLists) {
    struct Case {
        const char* what;
        int bsstype;
        const char* autoWpaWpa2;
        Items items;
    };
    const Case cases[] = {
        {"YES", 1, "YES", separate},
        {"NO", 1, "NO", combined},
        {"ad hoc", 0, "YES", {"Auto", "Disable"}},
        {"ad hoc, NO", 0, "NO", {"Auto", "Disable"}},
        {"any other setting", 1, "yes", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnLinkRecord record = stored(0, c.autoWpaWpa2);
        record.bsstype = c.bsstype;
        EncryptionForm form(record);
        form.refresh(record);
        EXPECT_EQ(form.state().authentication.items, c.items);
    }
    // As created, the list of an infrastructure network with "Disable" selected.
    const EncryptionForm yes(stored(0, "YES"));
    EXPECT_EQ(yes.state().authentication, (ChoiceList{separate, 7}));
    const EncryptionForm no(stored(0, "NO"));
    EXPECT_EQ(no.state().authentication, (ChoiceList{combined, 5}));
    EXPECT_EQ(no.state().keyLength[0], (ChoiceList{{"64bits", "128bits"}, 0, false}));
    EXPECT_EQ(no.state().defaultKey, (ChoiceList{{"1", "2", "3", "4"}, 0, false}));
    EXPECT_EQ(no.state().keyFormat, (ChoiceList{{"ASCII", "HEX"}, 0, false}));
}

// The controls an authentication item turns on: the "Configuration" button, the key fields,
// length lists, default key and key format ("KKKK LLLL D F"), and the cipher list.
struct Enabling {
    bool config;
    std::string keys; // fields 1-4, lengths 1-4, default key, format: "1000 1000 1 1"
    ChoiceList cipher;
    bool operator==(const Enabling&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Enabling& e) {
    out << "config=" << e.config << " keys=" << e.keys << " cipher={";
    for (const std::string& item : e.cipher.items) {
        out << item << ",";
    }
    return out << " sel " << e.cipher.selected << (e.cipher.enabled ? " on}" : " off}");
}

Enabling enablingOf(const EncryptionFormState& s) {
    std::string keys;
    for (const KeyField& key : s.keys) {
        keys += key.enabled ? '1' : '0';
    }
    keys += ' ';
    for (const ChoiceList& length : s.keyLength) {
        keys += length.enabled ? '1' : '0';
    }
    keys += s.defaultKey.enabled ? " 1" : " 0";
    keys += s.keyFormat.enabled ? " 1" : " 0";
    return {s.configEnabled, keys, s.cipher};
}

TEST(EncryptionForm, EnablingByItemWhenShownAndWhenPicked) {
    const std::string wep2 = "0100 0100 1 1"; // key 2 is the stored default key
    const std::string wep1 = "1000 1000 1 1"; // picking a WEP item starts at key 1
    const std::string none = "0000 0000 0 0";
    const ChoiceList wepKey{{"WEP-Key"}, 0};
    const ChoiceList aesTkip{{"AES", "TKIP"}, 1};
    const ChoiceList tkipAes{{"TKIP/AES"}, 0};
    const ChoiceList empty{{}, -1, false};
    struct Case {
        const char* autoWpaWpa2;
        int position;
        Enabling shown;
        Enabling picked;
    };
    const Case cases[] = {
        {"YES", 0, {false, wep2, wepKey}, {false, wep1, wepKey}},
        {"YES", 1, {false, wep2, wepKey}, {false, wep1, wepKey}},
        {"YES", 2, {false, wep2, wepKey}, {false, wep1, wepKey}},
        {"YES", 3, {true, none, aesTkip}, {true, none, {{"AES", "TKIP"}, 1, false}}},
        {"YES", 4, {true, none, aesTkip}, {true, none, aesTkip}},
        {"YES", 5, {true, none, aesTkip}, {true, none, {{"AES", "TKIP"}, 1, false}}},
        {"YES", 6, {true, none, aesTkip}, {true, none, aesTkip}},
        {"YES", 7, {false, none, empty}, {false, none, empty}},
        {"NO", 3, {true, none, tkipAes}, {true, none, tkipAes}},
        {"NO", 4, {true, none, tkipAes}, {true, none, tkipAes}},
        {"NO", 5, {false, none, empty}, {false, none, empty}},
        {"YES", 8, {false, none, empty}, {false, none, empty}}, // a stored position the list lacks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.autoWpaWpa2) + " position " + std::to_string(c.position));
        OnLinkRecord record = stored(c.position, c.autoWpaWpa2);
        record.Radio1 = 0;
        record.Radio2 = 1;
        const EncryptionForm shown = refreshed(record);
        EXPECT_EQ(enablingOf(shown.state()), c.shown);

        record.AuthListIndex = 7; // shown with "Disable", then the item picked
        EncryptionForm picked = refreshed(record);
        picked.selectAuthentication(c.position);
        if (c.position < static_cast<int>(picked.state().authentication.items.size())) {
            EXPECT_EQ(enablingOf(picked.state()), c.picked);
        }
    }
}

TEST(EncryptionForm, AdhocStoredCiphers) {
    OnLinkRecord record = stored(0);
    record.bsstype = 0; // "Auto"
    record.CipherListIndex = 0;
    EXPECT_EQ(refreshed(record).state().cipher, (ChoiceList{{"WEP-Key"}, 0}));
    record.AuthListIndex = 1; // "Disable"
    EXPECT_EQ(refreshed(record).state().cipher, (ChoiceList{{}, -1, false}));
}

TEST(EncryptionForm, StoredKeysShownMaskedAndWhole) {
    OnLinkRecord record = stored(0);
    record.KeyFormat = 1;
    record.KeyLength1 = 1;
    record.WEPKey1 = "0123456789abcdef0123456789"; // 26 hex digits, 128 bits
    record.KeyLength2 = 0;
    record.WEPKey2 = "0123456789AB"; // two too many for 64 bits: the rule keeps characters 2 to 11
    record.WEPKey3 = "";
    const EncryptionForm form = refreshed(record);
    const EncryptionFormState& s = form.state();
    EXPECT_EQ(s.keys[0].text, record.WEPKey1);
    EXPECT_EQ(s.keys[0].limit, 26);
    EXPECT_TRUE(s.keys[0].hexOnly);
    EXPECT_EQ(s.keys[1].text, "123456789A");
    EXPECT_EQ(s.keys[2].text, "");
    for (const KeyField& key : s.keys) {
        EXPECT_TRUE(key.masked);
    }
    EXPECT_EQ(s.keyFormat.selected, 1);
    EXPECT_EQ(s.keyLength[0].selected, 1);
}

TEST(EncryptionForm, DefaultKeyFromTheStoredMarks) {
    struct Case {
        int radios[4];
        int previous; // the default key before the refresh
        int expected;
    };
    const Case cases[] = {
        {{1, 0, 0, 0}, 2, 0}, {{0, 0, 1, 0}, 0, 2}, {{0, 1, 0, 1}, 0, 3}, // the last marked key counts
        {{0, 0, 0, 0}, 2, 2}, // none marked: the list stays as it was
        {{2, 0, 0, 0}, 1, 1}, // only "1" marks a key
    };
    for (const Case& c : cases) {
        OnLinkRecord before = stored(0);
        before.Radio1 = 0;
        before.radio(c.previous) = 1;
        EncryptionForm form = refreshed(before);
        OnLinkRecord record = stored(0);
        for (int k = 0; k < 4; ++k) {
            record.radio(k) = c.radios[k];
        }
        form.refresh(record);
        EXPECT_EQ(form.state().defaultKey.selected, c.expected)
            << c.radios[0] << c.radios[1] << c.radios[2] << c.radios[3];
    }
}

TEST(EncryptionForm, KeyRules) {
    OnLinkRecord record = stored(0);
    record.WEPKey1 = "hello";
    EncryptionForm form = refreshed(record);

    // Typing: the limit of the format and length, a longer text keeps the characters from its second.
    form.setKeyText(0, "ghijklm", false);
    EXPECT_EQ(form.state().keys[0].text, "hijkl");
    EXPECT_EQ(form.state().keys[0].limit, 5);
    EXPECT_FALSE(form.state().keys[0].masked);
    form.setKeyText(1, "ignored", false); // key 2 is not the default key: its field is off
    EXPECT_EQ(form.state().keys[1].text, "");

    // A longer length raises the limit; the key stays.
    EXPECT_FALSE(form.selectKeyLength(0, 1));
    EXPECT_EQ(form.state().keys[0].limit, 13);
    EXPECT_EQ(form.state().keys[0].text, "hijkl");

    // "HEX" with a letter beyond F: the message, the key emptied.
    const auto message = form.selectKeyFormat(1);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, (FormMessage{nonHexKeyMessage, MessageCaption::Prompt}));
    EXPECT_EQ(form.state().keys[0].text, "");
    EXPECT_TRUE(form.state().keys[0].hexOnly);

    // Another default key: its field and length list on, the others off, and its format checked.
    form.selectKeyFormat(0);
    form.setKeyText(0, "0123456789ABC", false);
    EXPECT_FALSE(form.selectDefaultKey(2));
    EXPECT_EQ(enablingOf(form.state()).keys, "0010 0010 1 1");
    form.setKeyText(2, "xyz", false);
    const auto fromKey3 = form.selectKeyFormat(1);
    ASSERT_TRUE(fromKey3);
    EXPECT_EQ(form.state().keys[2].text, "");
    EXPECT_EQ(form.state().keys[0].text, "0123456789ABC"); // only the default key is checked
}

TEST(EncryptionForm, PickingAWepItemStartsAtKeyOne) {
    OnLinkRecord record = stored(7);
    record.Radio1 = 0;
    record.Radio4 = 1;
    EncryptionForm form = refreshed(record);
    EXPECT_EQ(form.state().defaultKey.selected, 3);
    form.selectAuthentication(1); // "Shared Key"
    EXPECT_EQ(form.state().defaultKey.selected, 0);
    EXPECT_EQ(enablingOf(form.state()).keys, "1000 1000 1 1");
}

TEST(EncryptionForm, PickingAWepItemChecksKeyOnesFormat) {
    OnLinkRecord record = stored(7);
    record.KeyFormat = 1;
    record.WEPKey1 = "nothex";
    EncryptionForm form(record);
    EXPECT_EQ(form.refresh(record), (FormMessage{nonHexKeyMessage, MessageCaption::Prompt}));
    EXPECT_EQ(form.state().keys[0].text, "");
}

TEST(EncryptionForm, ConfigurationButtonDialogs) {
    const std::pair<int, ConfigDialog> yes[] = {
        {0, ConfigDialog::None},        {1, ConfigDialog::None},       {2, ConfigDialog::None},
        {3, ConfigDialog::Certificate}, {4, ConfigDialog::Passphrase}, {5, ConfigDialog::Certificate},
        {6, ConfigDialog::Passphrase},  {7, ConfigDialog::None},
    };
    for (const auto& [position, dialog] : yes) {
        EXPECT_EQ(refreshed(stored(position)).configDialog(), dialog) << position;
    }
    EXPECT_EQ(refreshed(stored(3, "NO")).configDialog(), ConfigDialog::Certificate);
    EXPECT_EQ(refreshed(stored(4, "NO")).configDialog(), ConfigDialog::Passphrase);
}

// The passphrase and 802.1X data the page works with: "on_link"'s until a dialog gives new ones,
// and "on_link"'s again after the next refresh.
TEST(EncryptionForm, DialogValuesLastUntilTheNextRefresh) {
    OnLinkRecord record = stored(6);
    record.WPAPassPhase = "stored passphrase";
    record.CertificateName = "CERT";
    record.CertificateHash = "CA";
    record.DomainName = "example.org";
    record.LoginName = "alice";
    EncryptionForm form = refreshed(record);
    EXPECT_EQ(form.passphrasePreset(), "stored passphrase");
    EXPECT_EQ(form.certificatePreset(), (CertificateValues{"CERT", "CA", "example.org", "alice"}));

    form.acceptPassphrase("a new passphrase");
    form.acceptCertificate({"CERT2", "CA2", "example.com", "bob"});
    EXPECT_EQ(form.passphrase(), "a new passphrase");
    EXPECT_EQ(form.passphrasePreset(), "a new passphrase");
    EXPECT_EQ(form.certificate(), (CertificateValues{"CERT2", "CA2", "example.com", "bob"}));

    form.refresh(record);
    EXPECT_EQ(form.passphrase(), "stored passphrase");
    EXPECT_EQ(form.certificate(), (CertificateValues{"CERT", "CA", "example.org", "alice"}));

    form.acceptPassphrase(""); // a dialog may give an empty one too: it is what the user chose
    EXPECT_EQ(form.passphrase(), "");
}

// --- Apply ---

EncryptionApplyOutcome outcomeOf(const EncryptionForm& form, const StationConfig& mirror = {}) {
    const EncryptionApplyResult result = applyEncryptionForm(form, mirror);
    if (const auto* stop = std::get_if<EncryptionApplyStop>(&result)) {
        ADD_FAILURE() << "refused: " << stop->message.text;
        return {};
    }
    return std::get<EncryptionApplyOutcome>(result);
}

std::string enc(const std::string& plain) {
    return EncodeStoredText(plain);
}

// The writes every Apply makes, with the kind's own between the keys and the key format.
Writes writesWith(int auth, int cipher, int defaultKey, const Items& keys, const Writes& own, int format = 0,
                  const std::vector<int>& lengths = {0, 0, 0, 0}) {
    Writes w{{"Auth Mode", std::to_string(auth)}, {"Encryation Mode", std::to_string(cipher)}};
    for (int k = 0; k < 4; ++k) {
        w.push_back({"Radio" + std::to_string(k + 1), k == defaultKey ? "1" : "0"});
    }
    for (int k = 0; k < 4; ++k) {
        w.push_back({"WEP key" + std::to_string(k + 1), enc(keys[static_cast<std::size_t>(k)])});
    }
    w.insert(w.end(), own.begin(), own.end());
    w.push_back({"Key Format", std::to_string(format)});
    for (int k = 0; k < 4; ++k) {
        w.push_back(
            {"Key Length" + std::to_string(k + 1), std::to_string(lengths[static_cast<std::size_t>(k)])});
    }
    return w;
}

// "on_link" with a passphrase and 802.1X data stored.
OnLinkRecord withSecrets(int authMode, const char* autoWpaWpa2 = "YES") {
    OnLinkRecord record = stored(authMode, autoWpaWpa2);
    record.WPAPassPhase = "stored passphrase";
    record.CertificateName = "CERT";
    record.CertificateHash = "CA";
    record.DomainName = "example.org";
    record.LoginName = "alice";
    return record;
}

TEST(EncryptionFormApply, RecordAndWritesByKindOfSecurity) {
    struct Case {
        const char* what;
        std::function<EncryptionForm()> form;
        std::function<void(StationConfig&)> expected; // on top of the mirror's record
        Writes writes;
    };
    const Items noKeys{"", "", "", ""};
    const Case cases[] = {
        {"Open System, ASCII 64-bit key 1",
         [] {
             EncryptionForm form = refreshed(stored(7));
             form.selectAuthentication(0);
             form.setKeyText(0, "abcde", false);
             return form;
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 0;
             r.EncryptionMode = 1;
             r.iDefaultWEPKeyID = 0;
             r.iWEPKeyBits = 64;
             copyText(r.ucWEPKey1Value, "6162636465");
             copyText(r.UIWEPKey1, "abcde");
         },
         writesWith(0, 0, 0, {"abcde", "", "", ""}, {})},
        {"Shared Key, HEX 128-bit key 3, a short key 1 that is not the default",
         [] {
             OnLinkRecord record = stored(1);
             record.Radio1 = 0;
             record.Radio3 = 1;
             record.KeyFormat = 1;
             record.KeyLength3 = 1;
             record.WEPKey1 = "12";
             record.WEPKey3 = "0123456789abcdef0123456789";
             return refreshed(record);
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 1;
             r.EncryptionMode = 1;
             r.iDefaultWEPKeyID = 2;
             r.iWEPKeyBits = 128;
             copyText(r.ucWEPKey3Value, "0123456789abcdef0123456789");
             copyText(r.UIWEPKey3, "0123456789abcdef0123456789");
         },
         writesWith(1, 0, 2, {"12", "", "0123456789abcdef0123456789", ""}, {}, 1, {0, 0, 1, 0})},
        {"Auto in ad hoc",
         [] {
             OnLinkRecord record = stored(0);
             record.bsstype = 0;
             record.WEPKey1 = "abcde";
             return refreshed(record);
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 2;
             r.EncryptionMode = 1;
             r.iWEPKeyBits = 64;
             copyText(r.ucWEPKey1Value, "6162636465");
             copyText(r.UIWEPKey1, "abcde");
         },
         writesWith(0, 0, 0, {"abcde", "", "", ""}, {})},
        {"WPA with TKIP", [] { return refreshed(withSecrets(3)); },
         [](StationConfig& r) {
             r.AuthenticationMode = 3;
             r.EncryptionMode = 2;
             copyText(r.cCertificateName, "CERT");
             copyText(r.cCertificateHash, "CA");
             copyText(r.cDomainName, "example.org");
             copyText(r.cLoginName, "alice");
         },
         writesWith(3, 1, 0, noKeys,
                    {{"CertificateHash", enc("CA")},
                     {"CertificateName", enc("CERT")},
                     {"DomainName", enc("example.org")},
                     {"LoginName", enc("alice")}})},
        {"WPA2 with AES, certificate from the dialog",
         [] {
             OnLinkRecord record = stored(5);
             record.CipherListIndex = 0;
             EncryptionForm form = refreshed(record);
             form.acceptCertificate({"NEWCERT", "NEWCA", "corp.example", "bob"});
             return form;
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 6;
             r.EncryptionMode = 3;
             copyText(r.cCertificateName, "NEWCERT");
             copyText(r.cCertificateHash, "NEWCA");
             copyText(r.cDomainName, "corp.example");
             copyText(r.cLoginName, "bob");
         },
         writesWith(5, 0, 0, noKeys,
                    {{"CertificateHash", enc("NEWCA")},
                     {"CertificateName", enc("NEWCERT")},
                     {"DomainName", enc("corp.example")},
                     {"LoginName", enc("bob")}})},
        {"WPA-PSK with AES picked",
         [] {
             EncryptionForm form = refreshed(withSecrets(4));
             form.selectCipher(0);
             return form;
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 4;
             r.EncryptionMode = 3;
             copyText(r.cWPAPassPhase, "stored passphrase");
         },
         writesWith(4, 0, 0, noKeys, {{"WPAPassPhase", enc("stored passphrase")}})},
        {"WPA2-PSK, passphrase from the dialog",
         [] {
             EncryptionForm form = refreshed(stored(6));
             form.acceptPassphrase("sunflower meadow 42");
             return form;
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 7;
             r.EncryptionMode = 2;
             copyText(r.cWPAPassPhase, "sunflower meadow 42");
         },
         writesWith(6, 1, 0, noKeys, {{"WPAPassPhase", enc("sunflower meadow 42")}})},
        {"NO: WPA-PSK/WPA2-PSK with a passphrase",
         [] {
             EncryptionForm form = refreshed(stored(4, "NO"));
             form.acceptPassphrase("tea and biscuits");
             return form;
         },
         [](StationConfig& r) {
             r.AuthenticationMode = 4;
             r.EncryptionMode = 2;
             copyText(r.cWPAPassPhase, "tea and biscuits");
         },
         writesWith(4, 0, 0, noKeys, {{"WPAPassPhase", enc("tea and biscuits")}})},
        {"NO: WPA/WPA2", [] { return refreshed(withSecrets(3, "NO")); },
         [](StationConfig& r) {
             r.AuthenticationMode = 3;
             r.EncryptionMode = 3;
             copyText(r.cCertificateName, "CERT");
             copyText(r.cCertificateHash, "CA");
             copyText(r.cDomainName, "example.org");
             copyText(r.cLoginName, "alice");
         },
         writesWith(3, 0, 0, noKeys,
                    {{"CertificateHash", enc("CA")},
                     {"CertificateName", enc("CERT")},
                     {"DomainName", enc("example.org")},
                     {"LoginName", enc("alice")}})},
        {"Disable", [] { return refreshed(stored(7)); },
         [](StationConfig& r) {
             r.AuthenticationMode = 2;
             r.EncryptionMode = 0;
         },
         writesWith(7, -1, 0, noKeys, {})},
        {"a stored position the list lacks: open", [] { return refreshed(stored(9)); },
         [](StationConfig& r) {
             r.AuthenticationMode = 0;
             r.EncryptionMode = 0;
         },
         writesWith(-1, -1, 0, noKeys, {})},
    };
    StationConfig mirror{};
    copyText(mirror.cSSID, "FromMirror");
    mirror.NetworkType = 1;
    mirror.Channel = 5;
    copyText(mirror.ucWEPKey2Value, "mirror key 2");
    copyText(mirror.UIWEPKey2, "mirror ui 2");
    mirror.iKeyFormat = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EncryptionForm form = c.form();
        const EncryptionApplyOutcome out = outcomeOf(form, mirror);
        StationConfig expected = mirror;
        c.expected(expected);
        EXPECT_EQ(describe(out.record), describe(expected));
        for (int k = 0; k < 4; ++k) {
            EXPECT_STREQ(out.record.uiWepKey(k), expected.uiWepKey(k)) << k;
        }
        EXPECT_EQ(out.record.iKeyFormat, 1);
        EXPECT_EQ(out.onLinkWrites, c.writes);
    }
}

// The stored passphrase and certificate survive an Apply that did not pass through the dialogs.
TEST(EncryptionFormApply, KeepsTheStoredSecrets) {
    EncryptionForm form = refreshed(withSecrets(4)); // "WPA-PSK", now with AES
    form.selectCipher(0);
    EXPECT_STREQ(outcomeOf(form).record.cWPAPassPhase, "stored passphrase");
    form.selectAuthentication(6); // "WPA2-PSK"
    EXPECT_STREQ(outcomeOf(form).record.cWPAPassPhase, "stored passphrase");
    form.selectAuthentication(5); // "WPA2"
    const EncryptionApplyOutcome cert = outcomeOf(form);
    EXPECT_STREQ(cert.record.cCertificateName, "CERT");
    EXPECT_STREQ(cert.record.cLoginName, "alice");
}

TEST(EncryptionFormApply, AdhocStoresNoSecrets) {
    for (int authMode : {0, 1}) {
        OnLinkRecord record = withSecrets(authMode);
        record.bsstype = 0;
        record.WEPKey1 = "abcde";
        const EncryptionApplyOutcome out = outcomeOf(refreshed(record));
        for (const StoredValue& write : out.onLinkWrites) {
            EXPECT_NE(write.key, "WPAPassPhase");
            EXPECT_NE(write.key, "CertificateName");
        }
    }
}

TEST(EncryptionFormApply, WrongDefaultKeyStops) {
    struct Case {
        const char* what;
        int format;
        int length;
        std::string key;
        EncryptionApplyStop stop;
    };
    const Case cases[] = {
        {"ASCII 64, four characters",
         0,
         0,
         "abcd",
         {{"The length of key2 must be 5 characters", MessageCaption::ApplicationName}}},
        {"ASCII 128, five characters",
         0,
         1,
         "abcde",
         {{"The length of key2 must be 13 characters", MessageCaption::ApplicationName}}},
        {"HEX 64, nine digits",
         1,
         0,
         "012345678",
         {{"The length of key2 must be 10 characters", MessageCaption::ApplicationName}}},
        {"HEX 128, empty",
         1,
         1,
         "",
         {{"The length of key2 must be 26 characters", MessageCaption::ApplicationName}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnLinkRecord record = stored(2);
        record.Radio1 = 0;
        record.Radio2 = 1;
        record.KeyFormat = c.format;
        record.KeyLength2 = c.length;
        record.WEPKey2 = c.key;
        const EncryptionApplyResult result = applyEncryptionForm(refreshed(record), {});
        ASSERT_TRUE(std::holds_alternative<EncryptionApplyStop>(result));
        EXPECT_EQ(std::get<EncryptionApplyStop>(result), c.stop);
    }
}

} // namespace
