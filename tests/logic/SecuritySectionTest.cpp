// The security section that the profile editor and the Encryption page share: where its two
// flavours differ, that they agree everywhere else, and what each kind of authentication item
// asks for and hands on. The screens' own tests check how each form feeds it.
#include "logic/SecuritySection.h"

#include "PrintForms.h"
#include "logic/KeyRules.h"
#include "storage/StoredText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace logic;

const SecurityFlavour* const flavours[] = {&profileEditorSecurity, &encryptionPageSecurity};

const char* nameOf(const SecurityFlavour& flavour) {
    return &flavour == &profileEditorSecurity ? "editor" : "page";
}

// Key 1 and key 2 of ASCII 64-bit keys, key 2 the default key, and both secrets.
SecurityFields storedFields() {
    SecurityFields f;
    f.WEPKey1 = "abcde";
    f.WEPKey2 = "fghij";
    f.Radio2 = 1;
    f.WPAPassPhase = "stored passphrase";
    f.CertificateName = "CERT";
    f.CertificateHash = "CA";
    f.DomainName = "example.org";
    f.LoginName = "alice";
    return f;
}

// A section showing a stored choice, with "TKIP" as the stored cipher.
SecuritySection shown(const SecurityFlavour& flavour, AuthList list, int authPosition,
                      const SecurityFields& fields = storedFields()) {
    SecuritySection section(flavour, list);
    section.setStoredCipher(1);
    section.showStored(fields, authPosition, 1);
    return section;
}

std::string describe(const ChoiceList& list) {
    std::string text;
    for (const std::string& item : list.items) {
        text += (text.empty() ? "" : ",") + item;
    }
    return text + " @" + std::to_string(list.selected) + (list.enabled ? " on" : " off");
}

std::vector<std::string> keysOf(const std::vector<StoredValue>& values) {
    std::vector<std::string> keys;
    for (const StoredValue& value : values) {
        keys.push_back(value.key);
    }
    return keys;
}

// The stored values by block, in their order: "modes, keys, format, marks, passphrase".
std::string blocks(const std::vector<StoredValue>& values) {
    std::string order;
    std::string last;
    for (const StoredValue& value : values) {
        const std::string& key = value.key;
        const std::string block = key.starts_with("WEP key") ? "keys"
                                  : key.starts_with("Radio") ? "marks"
                                  : key.starts_with("Key ")  ? "format"
                                  : key == "WPAPassPhase"    ? "passphrase"
                                                             : "modes";
        if (block != last) {
            order += (order.empty() ? "" : ", ") + block;
            last = block;
        }
    }
    return order;
}

// Each place where the flavours differ, as the editor and as the page.
TEST(SecuritySection, FlavoursDifferWhereTheyAreNamed) {
    using Show = std::function<std::string(const SecurityFlavour&)>;
    SecurityFields unmarked = storedFields();
    unmarked.Radio2 = 0;
    SecurityFields notHex = storedFields();
    notHex.KeyFormat = 1;
    notHex.WEPKey2 = "0123456789abcdefghij012345"; // 26 characters: shown whole
    notHex.KeyLength2 = 1;
    struct Case {
        const char* what;
        Show show;
        std::string editor, page;
    };
    const Case cases[] = {
        {"the key lengths' texts",
         [](const SecurityFlavour& f) {
             return describe(SecuritySection(f, AuthList::Separate).state().keyLength[0]);
         },
         "64 bits,128 bits @0 on", "64bits,128bits @0 on"},
        {"a stored \"Disable\"'s cipher list",
         [](const SecurityFlavour& f) { return describe(shown(f, AuthList::Separate, 7).state().cipher); },
         "Desable @0 off", " @-1 off"},
        {"\"Disable\" picked after \"WPA-PSK\"",
         [](const SecurityFlavour& f) {
             SecuritySection section = shown(f, AuthList::Separate, 4);
             section.selectAuthentication(7);
             return describe(section.state().cipher);
         },
         "AES,TKIP @1 off", " @-1 off"},
        {"a stored \"WPA\"'s cipher list",
         [](const SecurityFlavour& f) { return describe(shown(f, AuthList::Separate, 3).state().cipher); },
         "AES,TKIP @1 off", "AES,TKIP @1 on"},
        {"a record without a marked key, shown after one with key 2",
         [&](const SecurityFlavour& f) {
             SecuritySection section = shown(f, AuthList::Separate, 1);
             section.showStored(unmarked, 1, 0);
             return std::to_string(section.defaultKey());
         },
         "-1", "1"},
        {"a stored default key that is not hexadecimal under \"HEX\"",
         [&](const SecurityFlavour& f) {
             SecuritySection section(f, AuthList::Separate);
             const auto message = section.showStored(notHex, 1, 0);
             return section.state().keys[1].text + (message ? " told" : " not told");
         },
         notHex.WEPKey2 + " not told", " told"},
        {"the order of the stored values",
         [](const SecurityFlavour& f) {
             return blocks(shown(f, AuthList::Separate, 4).storedValues({}, true));
         },
         "modes, keys, format, marks, passphrase", "modes, marks, keys, passphrase, format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.show(profileEditorSecurity), c.editor);
        EXPECT_EQ(c.show(encryptionPageSecurity), c.page);
    }
}

// The state with the texts that differ by flavour set aside.
SecurityState withoutTexts(SecurityState state) {
    for (ChoiceList& length : state.keyLength) {
        length.items.clear();
    }
    return state;
}

// Whatever either screen showed, an item the user picks comes out the same in both; "Disable"
// differs only in the cipher list it leaves.
TEST(SecuritySection, AnItemPickedIsTheSameInBothFlavours) {
    for (AuthList list : {AuthList::Separate, AuthList::Combined, AuthList::AdHoc}) {
        const int count = static_cast<int>(authItems(list).size());
        for (int shownPosition = 0; shownPosition < count; ++shownPosition) {
            for (int picked = 0; picked < count; ++picked) {
                SCOPED_TRACE(testing::Message() << "list " << static_cast<int>(list) << " shown "
                                                << shownPosition << " picked " << picked);
                SecuritySection editor = shown(profileEditorSecurity, list, shownPosition);
                SecuritySection page = shown(encryptionPageSecurity, list, shownPosition);
                EXPECT_EQ(editor.selectAuthentication(picked), page.selectAuthentication(picked));
                SecurityState editorState = withoutTexts(editor.state());
                SecurityState pageState = withoutTexts(page.state());
                if (authItemAt(list, picked) == AuthItem::Disable) {
                    EXPECT_EQ(describe(pageState.cipher), " @-1 off");
                    editorState.cipher = pageState.cipher;
                }
                EXPECT_EQ(editorState, pageState);
            }
        }
    }
}

std::string keyControls(const SecurityState& s) {
    std::string text;
    for (const KeyField& key : s.keys) {
        text += key.enabled ? '1' : '0';
    }
    return text + (s.defaultKey.enabled ? " 1" : " 0") + (s.keyFormat.enabled ? " 1" : " 0");
}

// Every item of every list, picked: the controls and dialog its kind asks for, and what it hands
// to the adapter and the file. A new item of a known kind is covered here as it is added.
TEST(SecuritySection, EveryItemAsksForWhatItsKindNeeds) {
    for (AuthList list : {AuthList::Separate, AuthList::Combined, AuthList::AdHoc}) {
        for (AuthItem item : authItems(list)) {
            const AuthKind kind = authKind(item);
            SCOPED_TRACE(authItemText(item));
            SecuritySection section(profileEditorSecurity, list);
            section.selectAuthentication(authPositionOf(list, item));
            section.setKeyText(0, "abcde", false);
            section.acceptPassphrase("a passphrase");
            section.acceptCertificate({"CERT", "CA", "example.org", "alice"});
            const SecurityState& s = section.state();
            const bool wep = kind == AuthKind::Wep;
            const bool secret = kind == AuthKind::Passphrase || kind == AuthKind::Certificate;
            EXPECT_EQ(s.configEnabled, secret);
            EXPECT_EQ(keyControls(s), wep ? "1000 1 1" : "0000 0 0");
            const ConfigDialog dialog = kind == AuthKind::Passphrase    ? ConfigDialog::Passphrase
                                        : kind == AuthKind::Certificate ? ConfigDialog::Certificate
                                                                        : ConfigDialog::None;
            EXPECT_EQ(section.configDialog(), dialog);
            EXPECT_EQ(section.checkAtApply(), std::nullopt);

            StationConfig record{};
            section.setSecurity(record);
            EXPECT_EQ(record.AuthenticationMode, securityModes(item, s.cipher.selected).authentication);
            EXPECT_EQ(record.EncryptionMode, securityModes(item, s.cipher.selected).encryption);
            EXPECT_STREQ(record.cWPAPassPhase, kind == AuthKind::Passphrase ? "a passphrase" : "");
            EXPECT_STREQ(record.cLoginName, kind == AuthKind::Certificate ? "alice" : "");
            EXPECT_STREQ(record.ucWEPKey1Value, wep ? "6162636465" : "");
            EXPECT_STREQ(record.UIWEPKey1, wep ? "abcde" : "");

            const auto stores = [&](bool infrastructure, const char* key) {
                const std::vector<std::string> keys = keysOf(section.storedValues(record, infrastructure));
                return std::find(keys.begin(), keys.end(), key) != keys.end();
            };
            EXPECT_EQ(stores(true, "WPAPassPhase"), kind == AuthKind::Passphrase);
            EXPECT_EQ(stores(true, "LoginName"), kind == AuthKind::Certificate);
            EXPECT_FALSE(stores(false, "WPAPassPhase")) << "an ad hoc network keeps no secrets";
            EXPECT_FALSE(stores(false, "LoginName"));
        }
    }
}

// Apply checks the default key of a WEP item only, and only when there is one: the editor's
// radio buttons can leave none checked, and such a choice hands no key on.
TEST(SecuritySection, OnlyAWepItemsDefaultKeyIsChecked) {
    SecurityFields shortKey = storedFields();
    shortKey.WEPKey2 = "ab";
    for (const SecurityFlavour* flavour : flavours) {
        SCOPED_TRACE(nameOf(*flavour));
        EXPECT_TRUE(shown(*flavour, AuthList::Separate, 1, shortKey).checkAtApply()) << "Shared Key";
        EXPECT_FALSE(shown(*flavour, AuthList::Separate, 4, shortKey).checkAtApply()) << "WPA-PSK";
    }
    shortKey.Radio2 = 0;
    const SecuritySection none = shown(profileEditorSecurity, AuthList::Separate, 1, shortKey);
    EXPECT_EQ(none.defaultKey(), -1);
    EXPECT_EQ(none.checkAtApply(), std::nullopt);
    StationConfig record{};
    record.iDefaultWEPKeyID = 3;
    none.setSecurity(record);
    EXPECT_EQ(record.iDefaultWEPKeyID, 3);
    EXPECT_EQ(record.iWEPKeyBits, 0);
    EXPECT_EQ(record.EncryptionMode, 1);
}

// The file keeps a secret as the adapter got it: a stored passphrase longer than the adapter's
// field is stored back cut, by either screen.
TEST(SecuritySection, SecretsAreStoredAsTheAdapterGetsThem) {
    SecurityFields longPassphrase = storedFields();
    longPassphrase.WPAPassPhase = std::string(100, 'p');
    for (const SecurityFlavour* flavour : flavours) {
        SCOPED_TRACE(nameOf(*flavour));
        const SecuritySection section = shown(*flavour, AuthList::Separate, 4, longPassphrase);
        StationSettings record{};
        section.setSecurity(record);
        const std::string given = record.cWPAPassPhase;
        EXPECT_EQ(given, std::string(sizeof record.cWPAPassPhase - 1, 'p'));
        const std::vector<StoredValue> values = section.storedValues(record, true);
        const auto stored = std::find_if(values.begin(), values.end(), [](const StoredValue& value) {
            return value.key == "WPAPassPhase";
        });
        ASSERT_NE(stored, values.end());
        EXPECT_EQ(stored->value, EncodeStoredText(given));
    }
}

} // namespace
