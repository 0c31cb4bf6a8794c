// The Encryption page through its widgets: its lists, the enabling of each authentication item as
// the page shows the stored choice and as the user picks one, the WEP key fields and their rules,
// the passphrase and certificate dialogs, and its Apply: "on_link", the registry mirror, the
// hand-over and the Configuration page that completes it.
#include "pages/EncryptionPage.h"
#include "SettingsPageFixture.h"

#include "DescribeSettings.h"
#include "context/AppContext.h"
#include "controls/KeyEdit.h"
#include "dialogs/CertificateDialog.h"

#include "controls/SkinButton.h"
#include "dialogs/PassphraseDialog.h"
#include "platform/OpenSslCertificateStore.h"
#include "support/TestCertificates.h"
#include "support/WaitFor.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const QStringList separate{"Open System", "Shared Key", "Auto",     "WPA",
                           "WPA-PSK",     "WPA2",       "WPA2-PSK", "Disable"};
const QStringList combined{"Open System", "Shared Key", "Auto", "WPA/WPA2", "WPA-PSK/WPA2-PSK", "Disable"};

// "on_link" of the infrastructure network "HomeNet" with this "Auth Mode", key 1 the default.
ProfileRecord stored(int authMode) {
    ProfileRecord r;
    r.Profilename = "Home";
    r.SSID = "HomeNet";
    r.bsstype = 1;
    r.AuthListIndex = authMode;
    r.CipherListIndex = 1;
    r.Radio1 = 1;
    r.Mode11b = r.Mode11g = 1;
    return r;
}

ProfileRecord withSecrets(int authMode) {
    ProfileRecord r = stored(authMode);
    r.WPAPassPhase = "stored passphrase";
    r.CertificateName = "CERT";
    r.CertificateHash = "CA";
    r.DomainName = "example.org";
    r.LoginName = "alice";
    return r;
}

// A client certificate with its key in the user's folder, for the certificate dialog to offer.
void layOutOneCertificate() {
    const std::string folder = CertificateFolders::forUser().personal;
    std::filesystem::create_directories(folder);
    TestCertificates maker;
    const TestCertificate client =
        maker.issue(CertificateRequest("Page User").withPrincipal("user@corp.example.com"));
    writeTestFile(folder + "/page-user.pem", client.certificatePem + client.keyPem);
}

// In the certificate dialog: once its lists are read, choose the first certificate.
void chooseTheCertificate(QDialog& dialog) {
    auto& certificates = static_cast<CertificateDialog&>(dialog);
    ASSERT_TRUE(waitFor([&] { return certificates.listsRead(); }));
    auto* list = dialog.findChild<QComboBox*>("certificateCombo");
    ASSERT_GT(list->count(), 0);
    list->setCurrentIndex(0);
}

class EncryptionPageTest : public SettingsPageFixture<EncryptionPage> {
public: // the cases' lambdas drive the page too
    static void SetUpTestSuite() { layOutOneCertificate(); }
    void SetUp() override {
        SettingsPageFixture::SetUp();
        writeSettings({});
    }

    // Shows the page as the window does.
    void show(const ProfileRecord& record) {
        writeOnLink(record);
        page().aboutToShow();
    }

    QComboBox* combo(const char* name) { return child<QComboBox>(name); }
    KeyEdit* key(int k) { return child<KeyEdit>(qPrintable(QStringLiteral("key%1Edit").arg(k + 1))); }
    QComboBox* length(int k) { return combo(qPrintable(QStringLiteral("keyLength%1Combo").arg(k + 1))); }
    void apply() { clickOn(child<SkinButton>("applyButton")); }

    // Key fields 1-4, length lists 1-4, default key list, key format list as "1000 1000 1 1".
    std::string keyControls() {
        std::string flags;
        for (int k = 0; k < 4; ++k) {
            flags += key(k)->isEnabled() ? '1' : '0';
        }
        flags += ' ';
        for (int k = 0; k < 4; ++k) {
            flags += length(k)->isEnabled() ? '1' : '0';
        }
        flags += combo("defaultKeyCombo")->isEnabled() ? " 1" : " 0";
        flags += combo("keyFormatCombo")->isEnabled() ? " 1" : " 0";
        return flags;
    }

    // The passphrase dialog's next run: the user types the passphrase and presses OK.
    void answerPassphrase(const QString& passphrase) {
        fake.ui.queueModal([passphrase](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("passphraseEdit")->setText(passphrase);
            dialog.accept();
            return dialog.result();
        });
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : fake.ui.messages()) {
            texts.push_back(m.text.toStdString() + " | " + m.caption.toStdString());
        }
        return texts;
    }
};

TEST_F(EncryptionPageTest, AuthenticationListByAutoWpaWpa2AndNetworkType) {
    struct Case {
        const char* autoWpaWpa2;
        int bsstype;
        QStringList items;
    };
    const Case cases[] = {
        {"YES", 1, separate},
        {"NO", 1, combined},
        {"YES", 0, {"Auto", "Disable"}},
        {"NO", 0, {"Auto", "Disable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.autoWpaWpa2) + " bsstype " + std::to_string(c.bsstype));
        writeSettings({true, true, true, true, true, true, c.autoWpaWpa2});
        ProfileRecord record = stored(1);
        record.bsstype = c.bsstype;
        show(record);
        EXPECT_EQ(items(combo("authModeCombo")), c.items);
        EXPECT_EQ(combo("authModeCombo")->currentIndex(), 1);
    }
    EXPECT_EQ(items(combo("keyLength1Combo")), (QStringList{"64bits", "128bits"}));
    EXPECT_EQ(items(combo("defaultKeyCombo")), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(items(combo("keyFormatCombo")), (QStringList{"ASCII", "HEX"}));
}

// Each item as the page shows it stored, and as the user picks it after "Disable".
TEST_F(EncryptionPageTest, EnablingByItemWhenShownAndWhenPicked) {
    struct Enabling {
        bool config;
        std::string keys;
        QStringList cipher;
        int cipherSelected;
        bool cipherEnabled;
    };
    const std::string wep = "1000 1000 1 1", none = "0000 0000 0 0";
    const QStringList aesTkip{"AES", "TKIP"};
    struct Case {
        const char* autoWpaWpa2;
        int position;
        Enabling shown;
        Enabling picked;
    };
    const Case cases[] = {
        {"YES", 0, {false, wep, {"WEP-Key"}, 0, true}, {false, wep, {"WEP-Key"}, 0, true}},
        {"YES", 1, {false, wep, {"WEP-Key"}, 0, true}, {false, wep, {"WEP-Key"}, 0, true}},
        {"YES", 2, {false, wep, {"WEP-Key"}, 0, true}, {false, wep, {"WEP-Key"}, 0, true}},
        {"YES", 3, {true, none, aesTkip, 1, true}, {true, none, aesTkip, 1, false}},
        {"YES", 4, {true, none, aesTkip, 1, true}, {true, none, aesTkip, 1, true}},
        {"YES", 5, {true, none, aesTkip, 1, true}, {true, none, aesTkip, 1, false}},
        {"YES", 6, {true, none, aesTkip, 1, true}, {true, none, aesTkip, 1, true}},
        {"YES", 7, {false, none, {}, -1, false}, {false, none, {}, -1, false}},
        {"NO", 3, {true, none, {"TKIP/AES"}, 0, true}, {true, none, {"TKIP/AES"}, 0, true}},
        {"NO", 4, {true, none, {"TKIP/AES"}, 0, true}, {true, none, {"TKIP/AES"}, 0, true}},
        {"NO", 5, {false, none, {}, -1, false}, {false, none, {}, -1, false}},
    };
    const auto expectEnabling = [this](const Enabling& e) {
        EXPECT_EQ(child<QPushButton>("configurationButton")->isEnabled(), e.config);
        EXPECT_EQ(keyControls(), e.keys);
        EXPECT_EQ(items(combo("encryptionCombo")), e.cipher);
        EXPECT_EQ(combo("encryptionCombo")->currentIndex(), e.cipherSelected);
        EXPECT_EQ(combo("encryptionCombo")->isEnabled(), e.cipherEnabled);
        EXPECT_TRUE(combo("authModeCombo")->isEnabled());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.autoWpaWpa2) + " position " + std::to_string(c.position));
        writeSettings({true, true, true, true, true, true, c.autoWpaWpa2});
        show(stored(c.position));
        {
            SCOPED_TRACE("shown");
            expectEnabling(c.shown);
        }
        const int disable = static_cast<int>(combo("authModeCombo")->count()) - 1;
        show(stored(disable));
        choose(combo("authModeCombo"), c.position);
        SCOPED_TRACE("picked");
        expectEnabling(c.picked);
    }
}

TEST_F(EncryptionPageTest, StoredKeyShownMaskedAndWhole) {
    ProfileRecord record = stored(0);
    record.KeyFormat = 1;
    record.KeyLength1 = 1;
    record.WEPKey1 = "0123456789abcdef0123456789";
    show(record);
    EXPECT_EQ(key(0)->keyText(), record.WEPKey1);
    EXPECT_TRUE(key(0)->isMasked());
    EXPECT_TRUE(key(0)->hexOnly());
    EXPECT_EQ(key(0)->maxLength(), 26);

    // The first keystroke replaces the masked key; it is never revealed.
    typeText(key(0), "f");
    EXPECT_EQ(key(0)->keyText(), "f");
    EXPECT_FALSE(key(0)->isMasked());
    typeText(key(0), "g"); // not a hex digit
    EXPECT_EQ(key(0)->keyText(), "f");
}

TEST_F(EncryptionPageTest, KeyRulesUnderTheUsersChoices) {
    ProfileRecord record = stored(0);
    record.WEPKey1 = "hello";
    record.WEPKey3 = "xyz12";
    show(record);
    EXPECT_EQ(key(0)->maxLength(), 5);
    key(0)->clear();
    typeText(key(0), "ghijklmn");
    EXPECT_EQ(key(0)->keyText(), "ghijk") << "the field takes five characters for ASCII 64-bit";

    choose(length(0), 1);
    EXPECT_EQ(key(0)->maxLength(), 13);

    // Format "HEX" with letters beyond F in the default key: the message, the key emptied.
    choose(combo("keyFormatCombo"), 1);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Key contains characters which are non-hexadecimal. | Prompt"}));
    EXPECT_EQ(key(0)->keyText(), "");
    EXPECT_TRUE(key(0)->hexOnly());
    EXPECT_EQ(key(2)->keyText(), "xyz12") << "only the default key is checked";

    // Another default key: its field and length on, the others off, and its format checked.
    choose(combo("defaultKeyCombo"), 2);
    EXPECT_EQ(keyControls(), "0010 0010 1 1");
    EXPECT_EQ(fake.ui.messages().size(), 2u);
    EXPECT_EQ(key(2)->keyText(), "");

    // Picking "Shared Key" starts at key 1 again.
    choose(combo("authModeCombo"), 1);
    EXPECT_EQ(combo("defaultKeyCombo")->currentIndex(), 0);
    EXPECT_EQ(keyControls(), "1000 1000 1 1");
}

TEST_F(EncryptionPageTest, DefaultKeyFromTheStoredMarks) {
    ProfileRecord record = stored(2);
    record.Radio1 = 0;
    record.Radio2 = 1;
    record.Radio4 = 1; // the last marked key counts
    show(record);
    EXPECT_EQ(combo("defaultKeyCombo")->currentIndex(), 3);
    EXPECT_EQ(keyControls(), "0001 0001 1 1");
}

// --- Apply ---

struct ApplyCase {
    const char* what;
    ProfileRecord stored;
    std::function<void(EncryptionPageTest&)> input;
    std::function<void(StationSettings&)> expected;          // over the mirror's record
    std::vector<std::pair<std::string, std::string>> onLink; // stored values afterwards, decoded
};

std::string onLinkValue(const OnLinkRecord& r, const std::string& key) {
    const std::map<std::string, std::string> values = {
        {"Auth Mode", std::to_string(r.AuthListIndex)},
        {"Encryation Mode", std::to_string(r.CipherListIndex)},
        {"Radio", std::to_string(r.Radio1) + std::to_string(r.Radio2) + std::to_string(r.Radio3) +
                      std::to_string(r.Radio4)},
        {"WEP key1", r.WEPKey1},
        {"WEP key2", r.WEPKey2},
        {"WEP key3", r.WEPKey3},
        {"Key Format", std::to_string(r.KeyFormat)},
        {"Key Length", std::to_string(r.KeyLength1) + std::to_string(r.KeyLength2) +
                           std::to_string(r.KeyLength3) + std::to_string(r.KeyLength4)},
        {"WPAPassPhase", r.WPAPassPhase},
        {"CertificateName", r.CertificateName},
        {"CertificateHash", r.CertificateHash},
        {"DomainName", r.DomainName},
        {"LoginName", r.LoginName},
    };
    return values.at(key);
}

TEST_F(EncryptionPageTest, ApplyByKindOfSecurity) {
    const ApplyCase cases[] = {
        {"Open System, ASCII 64-bit key 1; a short key 3 is written as it is",
         stored(7),
         [](EncryptionPageTest& t) {
             t.choose(t.combo("authModeCombo"), 0);
             typeText(t.key(0), "abcde");
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 0;
             s.EncryptionMode = 1;
             s.iWEPKeyBits = 64;
             copyText(s.ucWEPKey1Value, "6162636465");
         },
         {{"Auth Mode", "0"}, {"Encryation Mode", "0"}, {"Radio", "1000"}, {"WEP key1", "abcde"}}},
        {"Shared Key, HEX 128-bit key 2",
         [] {
             ProfileRecord r = stored(1);
             r.Radio1 = 0;
             r.Radio2 = 1;
             r.KeyFormat = 1;
             r.KeyLength2 = 1;
             r.WEPKey2 = "00112233445566778899aabbcc";
             r.WEPKey3 = "12";
             return r;
         }(),
         [](EncryptionPageTest&) {},
         [](StationSettings& s) {
             s.AuthenticationMode = 1;
             s.EncryptionMode = 1;
             s.iWEPKeyBits = 128;
             s.iDefaultWEPKeyID = 1;
             copyText(s.ucWEPKey2Value, "00112233445566778899aabbcc");
         },
         {{"Radio", "0100"}, {"WEP key3", "12"}, {"Key Format", "1"}, {"Key Length", "0100"}}},
        {"WPA with TKIP: the stored certificate",
         withSecrets(3),
         [](EncryptionPageTest&) {},
         [](StationSettings& s) {
             s.AuthenticationMode = 3;
             s.EncryptionMode = 2;
             copyText(s.cCertificateName, "CERT");
             copyText(s.cCertificateHash, "CA");
             copyText(s.cDomainName, "example.org");
             copyText(s.cLoginName, "alice");
         },
         {{"Auth Mode", "3"},
          {"Encryation Mode", "1"},
          {"CertificateName", "CERT"},
          {"DomainName", "example.org"}}},
        {"WPA2-PSK with AES and a passphrase from the dialog",
         withSecrets(6),
         [](EncryptionPageTest& t) {
             t.choose(t.combo("encryptionCombo"), 0);
             t.answerPassphrase("sunflower meadow 42");
             clickOn(t.child<QPushButton>("configurationButton"));
         },
         [](StationSettings& s) {
             s.AuthenticationMode = 7;
             s.EncryptionMode = 3;
             copyText(s.cWPAPassPhase, "sunflower meadow 42");
         },
         {{"Auth Mode", "6"}, {"Encryation Mode", "0"}, {"WPAPassPhase", "sunflower meadow 42"}}},
        {"WPA-PSK, only the cipher changed: the stored passphrase stays",
         withSecrets(4),
         [](EncryptionPageTest& t) { t.choose(t.combo("encryptionCombo"), 0); },
         [](StationSettings& s) {
             s.AuthenticationMode = 4;
             s.EncryptionMode = 3;
             copyText(s.cWPAPassPhase, "stored passphrase");
         },
         {{"Encryation Mode", "0"}, {"WPAPassPhase", "stored passphrase"}}},
        {"Disable",
         withSecrets(7),
         [](EncryptionPageTest&) {},
         [](StationSettings& s) {
             s.AuthenticationMode = 2;
             s.EncryptionMode = 0;
         },
         {{"Auth Mode", "7"}, {"Encryation Mode", "-1"}, {"WPAPassPhase", "stored passphrase"}}},
    };
    StationConfig mirror{};
    copyText(mirror.cSSID, "FromMirror");
    mirror.NetworkType = 1;
    mirror.TxRate = 12;
    mirror.TxRateAuto = 1;
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(fake.mirror.store(mirror), 1);
        fake.window.shownPages.clear();
        fake.window.configurationApplies = 0;
        const int handOvers = fake.window.handOvers;
        show(c.stored);
        c.input(*this);
        apply();
        EXPECT_TRUE(fake.ui.messages().empty()) << messages().front();

        StationSettings expected = mirror;
        c.expected(expected);
        EXPECT_EQ(fake.window.handOvers, handOvers + 1);
        EXPECT_EQ(describe(fake.window.pending), describe(expected));
        EXPECT_TRUE(fake.window.shownPages.empty());
        EXPECT_EQ(fake.window.configurationApplies, 1);
        const StationConfig mirroredAfter = mirrored();
        EXPECT_EQ(mirroredAfter.AuthenticationMode, expected.AuthenticationMode);
        EXPECT_EQ(mirroredAfter.EncryptionMode, expected.EncryptionMode);
        EXPECT_STREQ(mirroredAfter.cWPAPassPhase, expected.cWPAPassPhase);
        EXPECT_STREQ(mirroredAfter.cSSID, "FromMirror") << "the Configuration page sets the rest";
        const OnLinkRecord after = fake.store.ReadOnLink();
        for (const auto& [key, value] : c.onLink) {
            EXPECT_EQ(onLinkValue(after, key), value) << key;
        }
        EXPECT_EQ(after.SSID, "HomeNet") << "the Encryption page leaves the network alone";
    }
}

TEST_F(EncryptionPageTest, TheTypedWepKeyReachesTheMirrorAsTyped) {
    show(stored(2));
    typeText(key(0), "abcde");
    apply();
    const StationConfig record = mirrored();
    EXPECT_STREQ(record.UIWEPKey1, "abcde");
    EXPECT_STREQ(record.ucWEPKey1Value, "6162636465");
}

TEST_F(EncryptionPageTest, WrongDefaultKeyLengthStops) {
    ProfileRecord record = stored(0);
    record.Radio1 = 0;
    record.Radio3 = 1;
    record.KeyFormat = 1;
    show(record);
    typeText(key(2), "012345678");
    apply();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "The length of key3 must be 10 characters | Skyvane Configuration Utility"}));
    EXPECT_EQ(fake.window.handOvers, 0);
    EXPECT_TRUE(fake.window.shownPages.empty());
    EXPECT_EQ(fake.window.configurationApplies, 0);
    EXPECT_EQ(fake.store.ReadOnLink().KeyFormat, 1);
    EXPECT_EQ(fake.store.ReadOnLink().WEPKey3, "") << "nothing written";
    StationConfig untouched{};
    EXPECT_EQ(fake.mirror.load(untouched), 0);
    EXPECT_EQ(key(2)->keyText(), "012345678") << "the page keeps its contents";
}

TEST_F(EncryptionPageTest, PassphraseDialogStartsWithTheStoredOne) {
    show(withSecrets(6));
    std::string offered;
    fake.ui.queueModal([&offered](QDialog& dialog) {
        offered = dialog.findChild<QLineEdit*>("passphraseEdit")->text().toStdString();
        return static_cast<int>(QDialog::Rejected);
    });
    clickOn(child<QPushButton>("configurationButton"));
    EXPECT_EQ(offered, "stored passphrase");
    EXPECT_EQ(fake.ui.modalRuns().size(), 1u);

    // Cancel in the dialog keeps the page's passphrase.
    apply();
    EXPECT_STREQ(fake.window.pending.cWPAPassPhase, "stored passphrase");
}

TEST_F(EncryptionPageTest, ConfigurationButtonDoesNothingForWep) {
    show(stored(0));
    EXPECT_FALSE(child<QPushButton>("configurationButton")->isEnabled());
    child<QPushButton>("configurationButton")->click();
    EXPECT_TRUE(fake.ui.modalRuns().empty());
}

// What a dialog gave is dropped by Cancel: the next Apply stores what "on_link" holds.
TEST_F(EncryptionPageTest, CancelAfterADialogDropsItsValues) {
    show(withSecrets(5)); // "WPA2"
    CertificateChoice chosen;
    fake.ui.queueModal([&chosen](QDialog& dialog) {
        chooseTheCertificate(dialog);
        dialog.findChild<QLineEdit*>("domainEdit")->setText("other.example");
        dialog.findChild<QLineEdit*>("loginEdit")->setText("mallory");
        dialog.accept();
        chosen = static_cast<CertificateDialog&>(dialog).choice();
        return dialog.result();
    });
    clickOn(child<QPushButton>("configurationButton"));
    ASSERT_EQ(chosen.login, "mallory");
    clickOn(child<SkinButton>("cancelButton"));
    apply();
    EXPECT_STREQ(fake.window.pending.cLoginName, "alice");
    EXPECT_STREQ(fake.window.pending.cDomainName, "example.org");
    EXPECT_EQ(fake.store.ReadOnLink().LoginName, "alice");
}

TEST_F(EncryptionPageTest, CertificateDialogValuesAreStored) {
    show(withSecrets(5));
    CertificateChoice chosen;
    CertificateChoice preset;
    fake.ui.queueModal([&](QDialog& dialog) {
        preset.domain = dialog.findChild<QLineEdit*>("domainEdit")->text().toStdString();
        preset.login = dialog.findChild<QLineEdit*>("loginEdit")->text().toStdString();
        chooseTheCertificate(dialog);
        dialog.findChild<QLineEdit*>("loginEdit")->setText("bob");
        dialog.accept();
        chosen = static_cast<CertificateDialog&>(dialog).choice();
        return dialog.result();
    });
    clickOn(child<QPushButton>("configurationButton"));
    EXPECT_EQ(preset.domain, "example.org") << "the dialog opens on the network's own values";
    EXPECT_EQ(preset.login, "alice");
    apply();
    const OnLinkRecord after = fake.store.ReadOnLink();
    EXPECT_EQ(after.LoginName, "bob");
    EXPECT_EQ(after.CertificateName, chosen.certificate);
    EXPECT_EQ(after.CertificateHash, chosen.authority);
    EXPECT_STREQ(fake.window.pending.cLoginName, "bob");
}

TEST_F(EncryptionPageTest, AdhocStoresNoPassphraseOrCertificate) {
    ProfileRecord record = withSecrets(0); // "Auto"
    record.bsstype = 0;
    record.WEPKey1 = "abcde";
    show(record);
    EXPECT_EQ(items(combo("authModeCombo")), (QStringList{"Auto", "Disable"}));
    apply();
    EXPECT_EQ(fake.window.pending.AuthenticationMode, 2);
    EXPECT_EQ(fake.window.pending.EncryptionMode, 1);
}

TEST_F(EncryptionPageTest, AFailedWriteIsReportedAndNothingHandedOver) {
    writeOnLink(stored(7));
    ProfileStore unwritable(".\\missing\\S.cba");
    AppContext context(
        AppServices{unwritable, fake.settings, fake.texts, fake.mirror, fake.ui, fake.certificates},
        fake.window);
    EncryptionPage page(context, nullptr);
    page.aboutToShow(); // nothing stored: an ad hoc network with "Auto", "Disable"
    page.findChild<QComboBox*>("authModeCombo")->setCurrentIndex(1);
    clickOn(page.findChild<SkinButton*>("applyButton"));
    ASSERT_EQ(fake.ui.messages().size(), 1u);
    EXPECT_TRUE(fake.ui.messages()[0].text.contains("could not be saved")) << messages().front();
    EXPECT_EQ(fake.window.handOvers, 0);
    EXPECT_TRUE(fake.window.shownPages.empty());
    EXPECT_EQ(fake.window.configurationApplies, 0);
}

TEST_F(EncryptionPageTest, CaptionsFromTheCatalogueAndNamesForScreenReaders) {
    writeFile("define.ini", "[DATA]\nAuth. Mode=Auth.-Modus\nNetwork Key=Netzwerkschl\xc3\xbcssel\n");
    show(stored(0));
    EXPECT_EQ(child<QLabel>("authModeLabel")->text(), "Auth.-Modus");
    EXPECT_EQ(child<QLabel>("networkKeyHeading")->text(), QStringLiteral("Netzwerkschl\u00fcssel"));
    expectEveryControlNamed();
    const std::pair<QWidget*, QString> names[] = {
        {key(1), QStringLiteral("Netzwerkschl\u00fcssel 2")},
        {combo("authModeCombo"), QStringLiteral("Auth.-Modus")},
        {length(3), QStringLiteral("Key Length 4")},
        {child<QPushButton>("configurationButton"), QStringLiteral("Configuration")},
    };
    for (const auto& [widget, name] : names) {
        EXPECT_TRUE(spokenAs(widget).contains(name)) << spokenAs(widget).join(", ").toStdString();
    }
}

} // namespace
