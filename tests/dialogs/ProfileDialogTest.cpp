// The profile editor driven through its widgets: what each mode opens with, the rules as the
// user meets them, Apply's checks and what it stores and hands over, mode 99, Cancel, and a
// save that fails.
#include "dialogs/ProfileDialog.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/BitmapButton.h"
#include "controls/KeyEdit.h"
#include "dialogs/CertificateDialog.h"
#include "dialogs/ProfileEditor.h"
#include "platform/OpenSslCertificateStore.h"
#include "platform/PrivateProfile.h"
#include "storage/StoredText.h"
#include "support/FakeContext.h"
#include "support/ScratchDirectory.h"
#include "support/StrictPermissions.h"
#include "support/TestCertificates.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

namespace {

using logic::EditorMode;

const char* const keyNames[] = {"key1Edit", "key2Edit", "key3Edit", "key4Edit"};
const char* const lengthNames[] = {"keyLength1Combo", "keyLength2Combo", "keyLength3Combo",
                                   "keyLength4Combo"};
const char* const radioNames[] = {"defaultKey1Radio", "defaultKey2Radio", "defaultKey3Radio",
                                  "defaultKey4Radio"};
// In the order of logic::BandBox.
const char* const boxNames[] = {"mode11bBox",       "mode11gBox", "mode11gtBox",
                                "extendedRangeBox", "mode11aBox", "mode11atBox"};

template <typename T> T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void press(QWidget& widget, int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &event);
}

// Types a text into a field as the keyboard does, one character at a time.
void type(QWidget& field, const QString& text) {
    for (const QChar c : text) {
        press(field, c.toUpper().unicode(), QString(c));
    }
}

std::string items(const QComboBox& combo) {
    std::string text;
    for (int i = 0; i < combo.count(); ++i) {
        text += (i > 0 ? "," : "") + combo.itemText(i).toStdString();
    }
    return text;
}

// A list as the user sees it: its items, the selected one, and whether it can be used.
std::string seen(const QComboBox& combo) {
    return items(combo) + " @" + combo.currentText().toStdString() + (combo.isEnabled() ? " on" : " off");
}

std::string bits(const std::array<bool, 4>& b) {
    return {b[0] ? '1' : '0', b[1] ? '1' : '0', b[2] ? '1' : '0', b[3] ? '1' : '0'};
}

// The key controls in one line: radio buttons on and checked, key fields on, length lists on.
std::string keyControls(QWidget& dialog) {
    std::array<bool, 4> radiosOn{}, radiosChecked{}, fields{}, lengths{};
    for (int k = 0; k < 4; ++k) {
        auto* radio = child<QRadioButton>(dialog, radioNames[k]);
        radiosOn[std::size_t(k)] = radio->isEnabled();
        radiosChecked[std::size_t(k)] = radio->isChecked();
        fields[std::size_t(k)] = child<KeyEdit>(dialog, keyNames[k])->isEnabled();
        lengths[std::size_t(k)] = child<QComboBox>(dialog, lengthNames[k])->isEnabled();
    }
    return "radios " + bits(radiosOn) + " checked " + bits(radiosChecked) + " fields " + bits(fields) +
           " lengths " + bits(lengths) + " format " +
           (child<QComboBox>(dialog, "keyFormatCombo")->isEnabled() ? "1" : "0");
}

const std::string keysOff = "radios 0000 checked 1000 fields 0000 lengths 0000 format 0";
const std::string wepKey1 = "radios 1111 checked 1000 fields 1000 lengths 1000 format 1";

std::string boxStates(QWidget& dialog) {
    std::string text;
    for (const char* name : boxNames) {
        text += child<QCheckBox>(dialog, name)->isChecked() ? '1' : '0';
    }
    return text;
}

// Every control shows what the form holds.
void expectShowsForm(ProfileDialog& dialog) {
    const logic::ProfileFormState& s = dialog.form().state();
    const logic::SecurityState& security = dialog.form().security();
    const auto list = [&](const char* name, const logic::ChoiceList& expected) {
        auto* combo = child<QComboBox>(dialog, name);
        std::vector<std::string> shown;
        for (int i = 0; i < combo->count(); ++i) {
            shown.push_back(combo->itemText(i).toStdString());
        }
        EXPECT_EQ(shown, expected.items) << name;
        EXPECT_EQ(combo->currentIndex(), expected.selected) << name;
        EXPECT_EQ(combo->isEnabled(), expected.enabled) << name;
    };
    EXPECT_EQ(child<QLineEdit>(dialog, "nameEdit")->text().toStdString(), s.name);
    EXPECT_EQ(child<QLineEdit>(dialog, "ssidEdit")->text().toStdString(), s.ssid);
    list("networkTypeCombo", s.networkType);
    list("bandCombo", s.band);
    list("channelCombo", s.channel);
    list("powerModeCombo", s.powerMode);
    list("authModeCombo", security.authentication);
    list("encryptionCombo", security.cipher);
    list("keyFormatCombo", security.keyFormat);
    EXPECT_EQ(child<QPushButton>(dialog, "configButton")->isEnabled(), security.configEnabled);
    for (int k = 0; k < 4; ++k) {
        const auto at = std::size_t(k);
        list(lengthNames[k], security.keyLength[at]);
        auto* radio = child<QRadioButton>(dialog, radioNames[k]);
        EXPECT_EQ(radio->isChecked(), security.defaultKey.selected == k) << k;
        EXPECT_EQ(radio->isEnabled(), security.defaultKey.enabled) << k;
        auto* key = child<KeyEdit>(dialog, keyNames[k]);
        EXPECT_EQ(key->keyText(), security.keys[at].text) << k;
        EXPECT_EQ(key->isMasked(), security.keys[at].masked) << k;
        EXPECT_EQ(key->hexOnly(), security.keys[at].hexOnly) << k;
        EXPECT_EQ(key->isEnabled(), security.keys[at].enabled) << k;
    }
    for (int i = 0; i < logic::bandBoxCount; ++i) {
        auto* box = child<QCheckBox>(dialog, boxNames[i]);
        const logic::CheckBox& state = s.bandBox(static_cast<logic::BandBox>(i));
        EXPECT_EQ(box->isChecked(), state.checked) << boxNames[i];
        EXPECT_EQ(box->isEnabled(), state.enabled) << boxNames[i];
        EXPECT_EQ(!box->isHidden(), state.visible) << boxNames[i];
    }
}

// The facts of a handed-over configuration that the security and network choices decide.
std::string pendingFacts(const StationSettings& s) {
    std::ostringstream out;
    out << "ssid=" << s.cSSID << " net=" << s.NetworkType << " ch=" << s.Channel << " rate=" << s.TxRate
        << " auth=" << s.AuthenticationMode << " enc=" << s.EncryptionMode << " keyId=" << s.iDefaultWEPKeyID
        << " bits=" << s.iWEPKeyBits;
    for (int k = 0; k < 4; ++k) {
        if (s.wepKeyValue(k)[0] != '\0') {
            out << " key" << k + 1 << "=" << s.wepKeyValue(k);
        }
    }
    if (s.cWPAPassPhase[0] != '\0') {
        out << " pass=" << s.cWPAPassPhase;
    }
    if (s.cDomainName[0] != '\0' || s.cLoginName[0] != '\0') {
        out << " domain=" << s.cDomainName << " login=" << s.cLoginName;
    }
    return out.str();
}

std::string stored(const std::string& section, const std::string& key) {
    return platform::IniTransaction("S.cba").find(section, key).value_or("(absent)");
}

ProfileRecord wepProfile() {
    ProfileRecord p;
    p.Profilename = "Office";
    p.SSID = "CorpNet";
    p.bsstype = 1;
    p.AuthListIndex = 1; // "Shared Key"
    p.KeyFormat = 0;
    p.KeyLength2 = 1;
    p.Radio2 = 1;
    p.WEPKey1 = "abcde";
    p.WEPKey2 = "Thirteen char";
    p.Mode11b = p.Mode11g = 1;
    return p;
}

class ProfileDialogTest : public ScratchDirectory {
public:
    // A client certificate with its key in the user's folder, for the certificate dialog to offer.
    static void SetUpTestSuite() {
        const std::string folder = CertificateFolders::forUser().personal;
        std::filesystem::create_directories(folder);
        TestCertificates maker;
        const TestCertificate client =
            maker.issue(CertificateRequest("Profile User").withPrincipal("user@corp.example.com"));
        writeTestFile(folder + "/profile-user.pem", client.certificatePem + client.keyPem);
    }

public:
    void SetUp() override {
        ScratchDirectory::SetUp();
        writeSettings("YES");
    }

    static void writeSettings(const char* autoWpaWpa2,
                              const char* check = "11b=1\n11g=1\n11gt=1\n11a=1\n11at=1\nXR=1\n") {
        writeFile("a.cba", std::string("[Setini]\nAutoWPAWPA2=") + autoWpaWpa2 + "\n[Check]\n" + check);
    }

    std::unique_ptr<ProfileDialog> open(const ProfileEditorRequest& request) {
        return std::make_unique<ProfileDialog>(ctx.context, loadProfileForm(ctx.context, request));
    }
    std::unique_ptr<ProfileDialog> openNew() { return open({}); }

    static void choose(QWidget& dialog, const char* comboName, const char* item) {
        auto* combo = child<QComboBox>(dialog, comboName);
        const int index = combo->findText(QString::fromUtf8(item));
        ASSERT_GE(index, 0) << comboName << ": " << item << " not in " << items(*combo);
        combo->setCurrentIndex(index);
    }
    static void setText(QWidget& dialog, const char* fieldName, const QString& text) {
        auto* field = child<QLineEdit>(dialog, fieldName);
        field->selectAll();
        press(*field, Qt::Key_Backspace);
        type(*field, text);
    }
    static void apply(QWidget& dialog) { child<BitmapButton>(dialog, "applyButton")->click(); }

    // The next modal run of the passphrase dialog types this passphrase and presses OK.
    void scriptPassphrase(const QString& passphrase) {
        ctx.ui.queueModal([passphrase](QDialog& d) {
            auto* edit = d.findChild<QLineEdit*>(QStringLiteral("passphraseEdit"));
            edit->setText(passphrase);
            d.accept();
            return d.result();
        });
    }
    // The next modal run of the certificate dialog chooses the certificate, fills in the names
    // and presses OK.
    void scriptCertificate(const QString& domain, const QString& login) {
        ctx.ui.queueModal([domain, login](QDialog& d) {
            auto& certificates = static_cast<CertificateDialog&>(d);
            EXPECT_TRUE(waitFor([&] { return certificates.listsRead(); }));
            d.findChild<QComboBox*>(QStringLiteral("certificateCombo"))->setCurrentIndex(0);
            d.findChild<QLineEdit*>(QStringLiteral("domainEdit"))->setText(domain);
            d.findChild<QLineEdit*>(QStringLiteral("loginEdit"))->setText(login);
            d.accept();
            return d.result();
        });
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : ctx.ui.messages()) {
            texts.push_back(m.caption.toStdString() + ": " + m.text.toStdString());
        }
        return texts;
    }

    FakeContext ctx;
};

TEST_F(ProfileDialogTest, OpensInEachMode) {
    struct Case {
        const char* what;
        ProfileEditorRequest request;
        std::string name, ssid, networkType, auth, cipher, channel;
        bool config;
        std::string keys;
    };
    ProfileEditorRequest add;
    ProfileEditorRequest addNamed{EditorMode::Add, "Gone", {}, {}, {}};
    ProfileEditorRequest surveyedPsk{
        EditorMode::Surveyed, {}, logic::SurveyedNetwork{"HomeNet", 5, 1, 3, 7}, {}, {}};
    ProfileEditorRequest surveyedWep{
        EditorMode::Surveyed, {}, logic::SurveyedNetwork{"Cell", 5, 0, 1, 0}, {}, {}};
    ProfileEditorRequest surveyedSsid{EditorMode::Surveyed, {}, std::nullopt, "Vanished", {}};
    ProfileEditorRequest properties{EditorMode::Properties, {}, {}, {}, wepProfile()};
    const std::string psk = "AES,TKIP @AES on";
    const Case cases[] = {
        {"add", add, "", "", "Infrastructure @Infrastructure on", "Disable", " @ off", "auto @auto off",
         false, keysOff},
        {"add with a name", addNamed, "Gone", "", "Infrastructure @Infrastructure on", "Disable", " @ off",
         "auto @auto off", false, keysOff},
        {"surveyed WPA2-PSK", surveyedPsk, "HomeNet", "HomeNet", "Infrastructure @Infrastructure on",
         "WPA2-PSK", psk, "auto @auto off", true, keysOff},
        {"surveyed ad hoc WEP", surveyedWep, "Cell", "Cell", "Ad-hoc,Infrastructure @Ad-hoc on", "Auto",
         "WEP-Key @WEP-Key on", "1,2,3,4,5,6,7,8,9,10,11 @6 on", false, wepKey1},
        {"surveyed, SSID only", surveyedSsid, "Vanished", "Vanished", "Infrastructure @Infrastructure on",
         "Disable", " @ off", "auto @auto off", false, keysOff},
        {"properties", properties, "Office", "CorpNet", "Infrastructure @Infrastructure on", "Shared Key",
         "WEP-Key @WEP-Key on", "auto @auto off", false,
         "radios 1111 checked 0100 fields 0100 lengths 0100 format 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto dialog = open(c.request);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Profile"));
        EXPECT_EQ(child<QLineEdit>(*dialog, "nameEdit")->text().toStdString(), c.name);
        EXPECT_EQ(child<QLineEdit>(*dialog, "ssidEdit")->text().toStdString(), c.ssid);
        const std::string type = seen(*child<QComboBox>(*dialog, "networkTypeCombo"));
        EXPECT_NE(type.find(c.networkType), std::string::npos) << type;
        EXPECT_EQ(child<QComboBox>(*dialog, "authModeCombo")->currentText().toStdString(), c.auth);
        EXPECT_EQ(seen(*child<QComboBox>(*dialog, "encryptionCombo")), c.cipher);
        EXPECT_EQ(seen(*child<QComboBox>(*dialog, "channelCombo")), c.channel);
        EXPECT_EQ(child<QPushButton>(*dialog, "configButton")->isEnabled(), c.config);
        EXPECT_EQ(keyControls(*dialog), c.keys);
        for (const char* key : keyNames) {
            EXPECT_TRUE(child<KeyEdit>(*dialog, key)->isMasked()) << key;
        }
        expectShowsForm(*dialog);
    }
    // A stored key is shown masked, whole.
    const auto dialog = open(properties);
    EXPECT_EQ(child<KeyEdit>(*dialog, "key2Edit")->displayText(), QString(13, QLatin1Char('*')));
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "keyLength2Combo")), "64 bits,128 bits @128 bits on");
}

TEST_F(ProfileDialogTest, LabelsNameTheirFields) {
    const auto dialog = openNew();
    const std::pair<const char*, const char*> labels[] = {
        {"nameLabel", "nameEdit"},
        {"ssidLabel", "ssidEdit"},
        {"networkTypeLabel", "networkTypeCombo"},
        {"bandLabel", "bandCombo"},
        {"channelLabel", "channelCombo"},
        {"powerModeLabel", "powerModeCombo"},
        {"authModeLabel", "authModeCombo"},
        {"encryptionLabel", "encryptionCombo"},
        {"keyFormatLabel", "keyFormatCombo"},
    };
    for (const auto& [label, field] : labels) {
        EXPECT_EQ(child<QLabel>(*dialog, label)->buddy(), child<QWidget>(*dialog, field)) << label;
    }
    for (int k = 0; k < 4; ++k) {
        const QString n = QString::number(k + 1);
        EXPECT_EQ(child<QWidget>(*dialog, keyNames[k])->accessibleName(), QStringLiteral("Network Key ") + n);
        EXPECT_EQ(child<QWidget>(*dialog, lengthNames[k])->accessibleName(),
                  QStringLiteral("Key Length ") + n);
        EXPECT_EQ(child<QWidget>(*dialog, radioNames[k])->accessibleName(),
                  QStringLiteral("Default Key ") + n);
    }
    EXPECT_EQ(child<QWidget>(*dialog, "applyButton")->accessibleName(), QStringLiteral("Apply"));
    EXPECT_EQ(child<QWidget>(*dialog, "applyButton")->toolTip(), QStringLiteral("Apply"));
    EXPECT_EQ(child<QWidget>(*dialog, "cancelButton")->accessibleName(), QStringLiteral("Cancel"));
    EXPECT_EQ(child<QLabel>(*dialog, "nameLabel")->text(), QStringLiteral("Profile Name"));
    EXPECT_EQ(child<QLabel>(*dialog, "bandLabel")->text(), QStringLiteral("AdHoc Band"));
}

// Each authentication item of both lists and of an ad hoc network, chosen from the list.
TEST_F(ProfileDialogTest, AuthenticationRule) {
    struct Case {
        const char* autoWpaWpa2;
        bool adhoc;
        const char* item;
        bool config;
        std::string keys, cipher;
    };
    const Case cases[] = {
        {"YES", false, "Open System", false, wepKey1, "WEP-Key @WEP-Key on"},
        {"YES", false, "Shared Key", false, wepKey1, "WEP-Key @WEP-Key on"},
        {"YES", false, "Auto", false, wepKey1, "WEP-Key @WEP-Key on"},
        {"YES", false, "WPA", true, keysOff, "AES,TKIP @AES off"},
        {"YES", false, "WPA-PSK", true, keysOff, "AES,TKIP @AES on"},
        {"YES", false, "WPA2", true, keysOff, "AES,TKIP @AES off"},
        {"YES", false, "WPA2-PSK", true, keysOff, "AES,TKIP @AES on"},
        {"YES", false, "Disable", false, keysOff, "AES,TKIP @AES off"}, // the list keeps what it shows
        {"NO", false, "Open System", false, wepKey1, "WEP-Key @WEP-Key on"},
        {"NO", false, "WPA/WPA2", true, keysOff, "TKIP/AES @TKIP/AES on"},
        {"NO", false, "WPA-PSK/WPA2-PSK", true, keysOff, "TKIP/AES @TKIP/AES on"},
        {"NO", false, "Disable", false, keysOff, "TKIP/AES @TKIP/AES off"},
        {"YES", true, "Auto", false, wepKey1, "WEP-Key @WEP-Key on"},
        {"YES", true, "Disable", false, keysOff, "WEP-Key @WEP-Key off"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.autoWpaWpa2) + (c.adhoc ? " ad hoc " : " ") + c.item);
        writeSettings(c.autoWpaWpa2);
        const auto dialog = openNew();
        if (c.adhoc) {
            choose(*dialog, "networkTypeCombo", "Ad-hoc");
            EXPECT_EQ(items(*child<QComboBox>(*dialog, "authModeCombo")), "Auto,Disable");
        }
        // From an item of another kind, so that every choice changes something.
        choose(*dialog, "authModeCombo",
               c.adhoc                               ? "Auto"
               : c.autoWpaWpa2 == std::string("YES") ? "WPA"
                                                     : "WPA/WPA2");
        choose(*dialog, "authModeCombo", c.item);
        EXPECT_EQ(child<QPushButton>(*dialog, "configButton")->isEnabled(), c.config);
        EXPECT_EQ(keyControls(*dialog), c.keys);
        EXPECT_EQ(seen(*child<QComboBox>(*dialog, "encryptionCombo")), c.cipher);
        EXPECT_TRUE(child<QComboBox>(*dialog, "authModeCombo")->isEnabled());
        expectShowsForm(*dialog);
    }
}

TEST_F(ProfileDialogTest, NetworkTypeBandAndChannel) {
    ctx.window.current.ChannelPlan = 6; // the plan whose list starts at channel 3
    const auto dialog = openNew();
    choose(*dialog, "networkTypeCombo", "Ad-hoc");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "bandCombo")), "11b,11a @11b on");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "channelCombo")), "3,4,5,6,7,8,9 @3 on");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "encryptionCombo")), "WEP-Key @WEP-Key off");
    for (const char* box : {"mode11bBox", "mode11gBox", "mode11gtBox", "mode11atBox"}) {
        EXPECT_FALSE(child<QCheckBox>(*dialog, box)->isEnabled()) << box;
    }
    choose(*dialog, "bandCombo", "11a");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "channelCombo")), "auto @auto off");
    choose(*dialog, "networkTypeCombo", "Infrastructure");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "bandCombo")), "11b,11a @11a off");
    EXPECT_EQ(seen(*child<QComboBox>(*dialog, "channelCombo")), "auto @auto off");
    expectShowsForm(*dialog);

    // Section Check decides which boxes and bands there are.
    writeSettings("YES", "11b=1\n11g=0\n11a=1\nXR=1\n");
    const auto fewer = openNew();
    EXPECT_EQ(items(*child<QComboBox>(*fewer, "bandCombo")), "11b,11a");
    for (const char* box : {"mode11gBox", "mode11gtBox", "mode11atBox"}) {
        EXPECT_TRUE(child<QCheckBox>(*fewer, box)->isHidden()) << box;
    }
    EXPECT_FALSE(child<QCheckBox>(*fewer, "extendedRangeBox")->isHidden());
}

// Clicks on the band boxes, in turn; the boxes as they end up (11B, 11G, 11GT, XR, 11A, 11AT).
TEST_F(ProfileDialogTest, BandBoxClicks) {
    struct Case {
        bool adhoc;
        std::vector<const char*> clicks;
        std::string checked;
    };
    const Case cases[] = {
        {false, {}, "111100"},
        {false, {"mode11bBox", "mode11gBox"}, "011100"}, // 11G is the last of 11B, 11G, 11A: it stays
        {false, {"mode11gBox", "mode11bBox"}, "100100"}, // 11G off takes 11GT along; 11B is the last
        {false, {"mode11aBox", "mode11bBox", "mode11gBox", "mode11aBox"}, "000110"},
        {false, {"mode11gtBox"}, "110100"},
        {false, {"mode11gBox", "mode11gtBox"}, "100100"}, // 11GT needs 11G
        {false, {"mode11atBox"}, "111100"},               // 11AT needs 11A
        {false, {"mode11aBox", "mode11atBox"}, "111111"},
        {false, {"mode11aBox", "mode11atBox", "mode11aBox"}, "111100"},
        {false, {"extendedRangeBox"}, "111000"},
        {true, {"mode11aBox"}, "111110"},
        {true, {"mode11bBox", "mode11gBox"}, "111100"}, // in ad hoc only 11A and Extended Range are on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.adhoc ? "ad hoc" : "infrastructure") << " " << c.clicks.size());
        const auto dialog = openNew();
        if (c.adhoc) {
            choose(*dialog, "networkTypeCombo", "Ad-hoc");
        }
        for (const char* box : c.clicks) {
            child<QCheckBox>(*dialog, box)->click();
        }
        EXPECT_EQ(boxStates(*dialog), c.checked);
        expectShowsForm(*dialog);
    }
}

TEST_F(ProfileDialogTest, KeyRulesOnTheFields) {
    const auto dialog = openNew();
    choose(*dialog, "authModeCombo", "Open System");
    auto* key1 = child<KeyEdit>(*dialog, "key1Edit");
    type(*key1, QStringLiteral("ghijkl"));
    EXPECT_EQ(key1->keyText(), "ghijk") << "ASCII 64 bits: five characters";
    EXPECT_FALSE(key1->isMasked());
    choose(*dialog, "keyFormatCombo", "HEX");
    ASSERT_EQ(messages(),
              (std::vector<std::string>{"Prompt: Key contains characters which are non-hexadecimal."}));
    EXPECT_EQ(key1->keyText(), "");
    type(*key1, QStringLiteral("0a1g2b3c4d5e6f"));
    EXPECT_EQ(key1->keyText(), "0a12b3c4d5") << "hex digits only, ten of them";
    choose(*dialog, "keyLength1Combo", "128 bits");
    type(*key1, QStringLiteral("ff"));
    EXPECT_EQ(key1->keyText(), "0a12b3c4d5ff");
    child<QRadioButton>(*dialog, "defaultKey3Radio")->click();
    EXPECT_EQ(keyControls(*dialog), "radios 1111 checked 0010 fields 0010 lengths 0010 format 1");
    child<QRadioButton>(*dialog, "defaultKey3Radio")->click();
    EXPECT_TRUE(child<QRadioButton>(*dialog, "defaultKey3Radio")->isChecked()) << "a second click keeps it";
    expectShowsForm(*dialog);
}

TEST_F(ProfileDialogTest, AStoredKeyIsReplacedNotRevealed) {
    const auto dialog = open({EditorMode::Properties, {}, {}, {}, wepProfile()});
    auto* key2 = child<KeyEdit>(*dialog, "key2Edit");
    ASSERT_TRUE(key2->isMasked());
    type(*key2, QStringLiteral("x"));
    EXPECT_EQ(key2->keyText(), "x");
    EXPECT_FALSE(key2->isMasked());
    EXPECT_EQ(dialog->form().security().keys[1].text, "x");

    const auto again = open({EditorMode::Properties, {}, {}, {}, wepProfile()});
    auto* masked = child<KeyEdit>(*again, "key2Edit");
    press(*masked, Qt::Key_Backspace);
    EXPECT_EQ(masked->keyText(), "") << "a backspace empties the masked field";
    EXPECT_EQ(again->form().security().keys[1].text, "") << "and the form with it";
    EXPECT_EQ(masked->displayText(), QString());
}

TEST_F(ProfileDialogTest, ApplyRefusals) {
    struct Case {
        const char* what;
        std::function<void(ProfileDialog&)> input;
        std::string message;
    };
    const std::string title = applicationTitle;
    const Case cases[] = {
        {"no name", [](ProfileDialog&) {}, "Prompt: Please input profile name"},
        {"only blanks", [](ProfileDialog& d) { setText(d, "nameEdit", QStringLiteral("   ")); },
         "Prompt: Please input profile name"},
        {"ad hoc without SSID",
         [](ProfileDialog& d) {
             setText(d, "nameEdit", QStringLiteral("Cell"));
             choose(d, "networkTypeCombo", "Ad-hoc");
         },
         "Prompt: In order to select an Ad-hoc network , you must have a SSID."},
        {"short WEP key",
         [](ProfileDialog& d) {
             setText(d, "nameEdit", QStringLiteral("Home"));
             choose(d, "authModeCombo", "Open System");
             type(*child<KeyEdit>(d, "key1Edit"), QStringLiteral("abcd"));
         },
         title + ": The length of key1 must be 5 characters"},
        {"the key comes before the name",
         [](ProfileDialog& d) {
             choose(d, "authModeCombo", "Shared Key");
             child<QRadioButton>(d, "defaultKey4Radio")->click();
             choose(d, "keyFormatCombo", "HEX");
             type(*child<KeyEdit>(d, "key4Edit"), QStringLiteral("abc"));
         },
         title + ": The length of key4 must be 10 characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingUiServices& ui = ctx.ui;
        const std::size_t before = ui.messages().size();
        const auto dialog = openNew();
        c.input(*dialog);
        apply(*dialog);
        ASSERT_EQ(ui.messages().size(), before + 1);
        const auto& shown = ui.messages().back();
        EXPECT_EQ(shown.caption.toStdString() + ": " + shown.text.toStdString(), c.message);
        EXPECT_EQ(shown.icon, UiServices::MessageIcon::None);
        EXPECT_NE(dialog->result(), QDialog::Accepted) << "the dialog stays open";
        EXPECT_FALSE(exists("S.CBA")) << "nothing is written";
        EXPECT_EQ(ctx.window.handOvers, 0);
        EXPECT_TRUE(ctx.window.shownPages.empty());
    }
}

// What Apply stores in the profile's section and in "on_link", and what it hands over.
TEST_F(ProfileDialogTest, ApplyStoresAndHandsOver) {
    struct Case {
        const char* name;
        std::function<void(ProfileDialog&, ProfileDialogTest&)> input;
        // stored: bsstype, Auth Mode, Encryation Mode, Key Format, Key Length1/2, Radio1..4
        std::string stored;
        std::string secrets; // decoded WEP keys, passphrase, 802.1X names as stored
        std::string pending;
    };
    const auto infrastructure = [](ProfileDialog& d) { setText(d, "ssidEdit", QStringLiteral("HomeNet")); };
    const auto adhoc = [&](ProfileDialog& d) {
        infrastructure(d);
        choose(d, "networkTypeCombo", "Ad-hoc");
        choose(d, "channelCombo", "6");
    };
    const Case cases[] = {
        {"open", [&](ProfileDialog& d, ProfileDialogTest&) { infrastructure(d); },
         "bss 1 auth 7 enc -1 format 0 lengths 00 radios 1000", "keys ,,, pass  domain  login ",
         "ssid=HomeNet net=1 ch=0 rate=12 auth=2 enc=0 keyId=0 bits=0"},
        {"WEP ASCII",
         [&](ProfileDialog& d, ProfileDialogTest&) {
             infrastructure(d);
             choose(d, "authModeCombo", "Open System");
             child<QRadioButton>(d, "defaultKey2Radio")->click();
             choose(d, "keyLength2Combo", "128 bits");
             type(*child<KeyEdit>(d, "key2Edit"), QStringLiteral("Thirteen char"));
         },
         "bss 1 auth 0 enc 0 format 0 lengths 01 radios 0100", "keys ,Thirteen char,, pass  domain  login ",
         "ssid=HomeNet net=1 ch=0 rate=12 auth=0 enc=1 keyId=1 bits=128 key2=546869727465656E2063686172"},
        {"WEP HEX",
         [&](ProfileDialog& d, ProfileDialogTest&) {
             infrastructure(d);
             choose(d, "authModeCombo", "Shared Key");
             choose(d, "keyFormatCombo", "HEX");
             choose(d, "keyLength1Combo", "128 bits");
             type(*child<KeyEdit>(d, "key1Edit"), QStringLiteral("0123456789abcdef0123456789"));
         },
         "bss 1 auth 1 enc 0 format 1 lengths 10 radios 1000",
         "keys 0123456789abcdef0123456789,,, pass  domain  login ",
         "ssid=HomeNet net=1 ch=0 rate=12 auth=1 enc=1 keyId=0 bits=128 key1=0123456789abcdef0123456789"},
        {"WPA2-PSK",
         [&](ProfileDialog& d, ProfileDialogTest& t) {
             infrastructure(d);
             choose(d, "authModeCombo", "WPA2-PSK");
             t.scriptPassphrase(QStringLiteral("correct horse"));
             child<QPushButton>(d, "configButton")->click();
         },
         "bss 1 auth 6 enc 0 format 0 lengths 00 radios 1000", "keys ,,, pass correct horse domain  login ",
         "ssid=HomeNet net=1 ch=0 rate=12 auth=7 enc=3 keyId=0 bits=0 pass=correct horse"},
        {"802.1X",
         [&](ProfileDialog& d, ProfileDialogTest& t) {
             infrastructure(d);
             choose(d, "authModeCombo", "WPA2");
             t.scriptCertificate(QStringLiteral("corp.example"), QStringLiteral("alice"));
             child<QPushButton>(d, "configButton")->click();
         },
         "bss 1 auth 5 enc 0 format 0 lengths 00 radios 1000",
         "keys ,,, pass  domain corp.example login alice",
         "ssid=HomeNet net=1 ch=0 rate=12 auth=6 enc=3 keyId=0 bits=0 domain=corp.example login=alice"},
        {"ad hoc open", [&](ProfileDialog& d, ProfileDialogTest&) { adhoc(d); },
         "bss 0 auth 1 enc 0 format 0 lengths 00 radios 1000", "keys ,,, pass  domain  login ",
         "ssid=HomeNet net=0 ch=5 rate=3 auth=2 enc=0 keyId=0 bits=0"},
        {"ad hoc WEP ASCII",
         [&](ProfileDialog& d, ProfileDialogTest&) {
             adhoc(d);
             choose(d, "authModeCombo", "Auto");
             type(*child<KeyEdit>(d, "key1Edit"), QStringLiteral("abcde"));
         },
         "bss 0 auth 0 enc 0 format 0 lengths 00 radios 1000", "keys abcde,,, pass  domain  login ",
         "ssid=HomeNet net=0 ch=5 rate=3 auth=2 enc=1 keyId=0 bits=64 key1=6162636465"},
        {"ad hoc WEP HEX",
         [&](ProfileDialog& d, ProfileDialogTest&) {
             adhoc(d);
             choose(d, "authModeCombo", "Auto");
             choose(d, "keyFormatCombo", "HEX");
             type(*child<KeyEdit>(d, "key1Edit"), QStringLiteral("0A1B2C3D4E"));
         },
         "bss 0 auth 0 enc 0 format 1 lengths 00 radios 1000", "keys 0A1B2C3D4E,,, pass  domain  login ",
         "ssid=HomeNet net=0 ch=5 rate=3 auth=2 enc=1 keyId=0 bits=64 key1=0A1B2C3D4E"},
        // A passphrase or certificate chosen before the network became ad hoc is not stored.
        {"ad hoc after WPA2-PSK",
         [&](ProfileDialog& d, ProfileDialogTest& t) {
             infrastructure(d);
             choose(d, "authModeCombo", "WPA2-PSK");
             t.scriptPassphrase(QStringLiteral("correct horse"));
             child<QPushButton>(d, "configButton")->click();
             choose(d, "networkTypeCombo", "Ad-hoc");
         },
         "bss 0 auth 1 enc 0 format 0 lengths 00 radios 1000", "keys ,,, pass  domain  login ",
         "ssid=HomeNet net=0 ch=0 rate=3 auth=2 enc=0 keyId=0 bits=0"},
        {"ad hoc after 802.1X",
         [&](ProfileDialog& d, ProfileDialogTest& t) {
             infrastructure(d);
             choose(d, "authModeCombo", "WPA");
             t.scriptCertificate(QStringLiteral("corp.example"), QStringLiteral("alice"));
             child<QPushButton>(d, "configButton")->click();
             choose(d, "networkTypeCombo", "Ad-hoc");
         },
         "bss 0 auth 1 enc 0 format 0 lengths 00 radios 1000", "keys ,,, pass  domain  login ",
         "ssid=HomeNet net=0 ch=0 rate=3 auth=2 enc=0 keyId=0 bits=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink("S.CBA");
        ctx.window.handOvers = 0;
        ctx.window.shownPages.clear();
        const std::size_t messagesBefore = ctx.ui.messages().size();
        const auto dialog = openNew();
        setText(*dialog, "nameEdit", QString::fromLatin1(c.name));
        c.input(*dialog, *this);
        apply(*dialog);
        EXPECT_EQ(ctx.ui.messages().size(), messagesBefore) << messages().back();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(ctx.window.handOvers, 1);
        EXPECT_EQ(ctx.window.shownPages, std::vector<PageId>{PageId::LinkInfo});
        EXPECT_EQ(pendingFacts(ctx.window.pending), c.pending);

        const std::string section = ctx.store.FindProfileSection(c.name).value_or("");
        ASSERT_EQ(section, "Profile_index_1") << "a new profile goes to the slot after the base";
        EXPECT_EQ(stored(section, "true_false"), "1");
        for (const std::string& where : {section, std::string("on_link")}) {
            SCOPED_TRACE(where);
            const auto number = [&](const char* key) { return stored(where, key); };
            EXPECT_EQ("bss " + number("bsstype") + " auth " + number("Auth Mode") + " enc " +
                          number("Encryation Mode") + " format " + number("Key Format") + " lengths " +
                          number("Key Length1") + number("Key Length2") + " radios " + number("Radio1") +
                          number("Radio2") + number("Radio3") + number("Radio4"),
                      c.stored);
            const auto secret = [&](const char* key) {
                const std::string value = stored(where, key);
                return value == "(absent)" ? std::string() : DecodeStoredText(value);
            };
            EXPECT_EQ("keys " + secret("WEP key1") + "," + secret("WEP key2") + "," + secret("WEP key3") +
                          "," + secret("WEP key4") + " pass " + secret("WPAPassPhase") + " domain " +
                          secret("DomainName") + " login " + secret("LoginName"),
                      c.secrets);
            EXPECT_EQ(DecodeStoredText(stored(where, "SSID")), "HomeNet");
            EXPECT_EQ(stored(where, "Profilename"), c.name);
        }
        EXPECT_EQ(stored("on_link", "PreambleMode"), "1");
        EXPECT_EQ(stored(section, "PreambleMode"), "(absent)");
        EXPECT_EQ(stored("on_link", "true_false"), "(absent)");
    }
}

TEST_F(ProfileDialogTest, NamesAndSlots) {
    auto batch = ctx.store.beginBatch();
    ProfileRecord home = wepProfile();
    home.Profilename = "Home";
    batch.WriteProfile("Profile_index_1", home);
    batch.setSlotState("Profile_index_1", ProfileStore::SlotState::Live);
    ProfileRecord work = wepProfile();
    work.Profilename = "Work";
    batch.WriteProfile("Profile_index_2", work);
    batch.setSlotState("Profile_index_2", ProfileStore::SlotState::Live);
    ASSERT_TRUE(batch.commit());
    ctx.window.slotBase = 3;

    struct Case {
        const char* typed;
        const char* section;
        const char* storedName;
    };
    const Case cases[] = {
        {"HOME  ", "Profile_index_1", "HOME"}, // one profile whatever the letter case; blanks go
        {"Work", "Profile_index_2", "Work"},
        {"Cottage", "Profile_index_4", "Cottage"},
        {"cottage", "Profile_index_4", "cottage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto dialog = openNew();
        setText(*dialog, "nameEdit", QString::fromLatin1(c.typed));
        apply(*dialog);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(stored(c.section, "Profilename"), c.storedName);
        EXPECT_EQ(stored("on_link", "Profilename"), c.storedName);
    }
    EXPECT_EQ(stored("Profile_index_3", "Profilename"), "(absent)");
    EXPECT_EQ(stored("Profile_index_5", "Profilename"), "(absent)");

    // Renamed in Properties: a new profile; the old one stays as it was.
    const std::string before = ctx.store.ReadProfile("Profile_index_2").SSID;
    const auto renamed = open({EditorMode::Properties, {}, {}, {}, ctx.store.ReadProfile("Profile_index_2")});
    setText(*renamed, "nameEdit", QStringLiteral("Work 2"));
    apply(*renamed);
    EXPECT_EQ(ctx.store.FindProfileSection("Work 2"), "Profile_index_5");
    EXPECT_EQ(ctx.store.ReadProfile("Profile_index_2").Profilename, "Work");

    // The name field takes 32 characters; the SSID field 32 bytes.
    const auto dialog = openNew();
    setText(*dialog, "nameEdit", QString(40, QLatin1Char('n')));
    EXPECT_EQ(child<QLineEdit>(*dialog, "nameEdit")->text().size(), 32);
    setText(*dialog, "ssidEdit", QString(20, QChar(0xE9)));
    EXPECT_EQ(child<QLineEdit>(*dialog, "ssidEdit")->text(), QString(16, QChar(0xE9)));
}

TEST_F(ProfileDialogTest, ConnectAppliesUnseen) {
    ProfileRecord valid = wepProfile();
    const auto applied = openProfileEditor(ctx.context, {EditorMode::Connect, {}, {}, {}, valid}, nullptr);
    EXPECT_TRUE(applied);
    EXPECT_TRUE(ctx.ui.modalRuns().empty()) << "nothing shown";
    EXPECT_TRUE(ctx.ui.messages().empty());
    EXPECT_EQ(ctx.window.handOvers, 1);
    EXPECT_EQ(ctx.window.shownPages, std::vector<PageId>{PageId::LinkInfo});
    EXPECT_EQ(
        pendingFacts(ctx.window.pending),
        "ssid=CorpNet net=1 ch=0 rate=12 auth=1 enc=1 keyId=1 bits=128 key2=546869727465656E2063686172");
    EXPECT_EQ(ctx.store.ReadOnLink().WEPKey2, "Thirteen char");
    EXPECT_EQ(ctx.store.FindProfileSection("Office"), "Profile_index_1");
}

TEST_F(ProfileDialogTest, ConnectOpensTheEditorWhenRefused) {
    struct Case {
        const char* what;
        std::function<void(ProfileRecord&)> spoil;
        std::vector<std::string> told;       // before the editor opens
        std::function<void(QDialog&)> fix;   // what the user does in it
        std::vector<std::string> toldInside; // Apply pressed once before the fix
    };
    const std::string title = applicationTitle;
    const Case cases[] = {
        {"no name",
         [](ProfileRecord& p) { p.Profilename.clear(); },
         {},
         [](QDialog& d) { setText(d, "nameEdit", QStringLiteral("Office")); },
         {"Prompt: Please input profile name"}},
        {"a key of the wrong length",
         [](ProfileRecord& p) { p.WEPKey2 = "short"; },
         {title + ": The length of key2 must be 13 characters"},
         [](QDialog& d) { type(*child<KeyEdit>(d, "key2Edit"), QStringLiteral("Thirteen char")); },
         {title + ": The length of key2 must be 13 characters"}},
        {"a stored key that is not hex",
         [](ProfileRecord& p) {
             p.KeyFormat = 1;
             p.WEPKey2 = "Thirteen char and more";
             p.KeyLength2 = 0;
         },
         {"Prompt: Key contains characters which are non-hexadecimal."}, // and the field is emptied
         [](QDialog& d) { type(*child<KeyEdit>(d, "key2Edit"), QStringLiteral("0a0b0c0d0e")); },
         {title + ": The length of key2 must be 10 characters"}},
        {"ad hoc without SSID",
         [](ProfileRecord& p) {
             p.bsstype = 0;
             p.SSID.clear();
             p.AuthListIndex = 1;
         },
         {"Prompt: In order to select an Ad-hoc network , you must have a SSID."},
         [](QDialog& d) { setText(d, "ssidEdit", QStringLiteral("Cell")); },
         {"Prompt: In order to select an Ad-hoc network , you must have a SSID."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeContext fresh;
        ::unlink("S.CBA");
        ProfileRecord profile = wepProfile();
        c.spoil(profile);
        bool shownInside = false;
        std::vector<std::string> toldInside;
        fresh.ui.queueModal([&](QDialog& d) {
            shownInside = true;
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Profile"));
            const std::size_t before = fresh.ui.messages().size();
            apply(d);
            for (std::size_t i = before; i < fresh.ui.messages().size(); ++i) {
                toldInside.push_back(fresh.ui.messages()[i].caption.toStdString() + ": " +
                                     fresh.ui.messages()[i].text.toStdString());
            }
            EXPECT_FALSE(exists("S.CBA")) << "nothing stored while refused";
            c.fix(d);
            apply(d);
            return d.result();
        });
        EXPECT_TRUE(openProfileEditor(fresh.context, {EditorMode::Connect, {}, {}, {}, profile}, nullptr));
        EXPECT_TRUE(shownInside);
        std::vector<std::string> toldBefore;
        for (const auto& m : fresh.ui.messages()) {
            toldBefore.push_back(m.caption.toStdString() + ": " + m.text.toStdString());
        }
        toldBefore.resize(c.told.size());
        EXPECT_EQ(toldBefore, c.told);
        EXPECT_EQ(toldInside, c.toldInside);
        EXPECT_EQ(fresh.window.handOvers, 1);
    }
}

TEST_F(ProfileDialogTest, CancelWritesNothing) {
    auto batch = ctx.store.beginBatch();
    batch.WriteProfile("Profile_index_1", wepProfile());
    batch.setSlotState("Profile_index_1", ProfileStore::SlotState::Live);
    ASSERT_TRUE(batch.commit());
    const std::string before = readFile("S.CBA");
    const ProfileEditorRequest requests[] = {
        {},
        {EditorMode::Surveyed, {}, logic::SurveyedNetwork{"HomeNet", 5, 1, 3, 7}, {}, {}},
        {EditorMode::Properties, {}, {}, {}, wepProfile()},
    };
    for (const auto& request : requests) {
        for (const bool escape : {false, true}) {
            const auto dialog = open(request);
            setText(*dialog, "nameEdit", QStringLiteral("Changed"));
            choose(*dialog, "networkTypeCombo", "Ad-hoc");
            if (escape) {
                press(*dialog, Qt::Key_Escape);
            } else {
                child<BitmapButton>(*dialog, "cancelButton")->click();
            }
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
        }
    }
    EXPECT_EQ(readFile("S.CBA"), before);
    EXPECT_EQ(ctx.window.handOvers, 0);
    EXPECT_TRUE(ctx.ui.messages().empty());

    // Cancel in the passphrase dialog keeps the passphrase the form has.
    const auto dialog =
        open({EditorMode::Surveyed, {}, logic::SurveyedNetwork{"HomeNet", 5, 1, 3, 7}, {}, {}});
    scriptPassphrase(QStringLiteral("first passphrase"));
    child<QPushButton>(*dialog, "configButton")->click();
    ctx.ui.queueModal([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("passphraseEdit"))->setText(QStringLiteral("discarded!"));
        return int(QDialog::Rejected);
    });
    child<QPushButton>(*dialog, "configButton")->click();
    EXPECT_EQ(dialog->form().security().passphrase, "first passphrase");
}

// A text set through the field as a whole, as screen readers' tools set it, reaches the form.
TEST_F(ProfileDialogTest, TextsSetWithoutTypingCount) {
    const auto dialog = openNew();
    child<QLineEdit>(*dialog, "nameEdit")->setText(QStringLiteral("Set whole"));
    child<QLineEdit>(*dialog, "ssidEdit")->setText(QStringLiteral("SetNet"));
    child<KeyEdit>(*dialog, "key1Edit")->setText(QStringLiteral("ignored")); // disabled: Disable
    apply(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stored("Profile_index_1", "Profilename"), "Set whole");
    EXPECT_EQ(DecodeStoredText(stored("on_link", "SSID")), "SetNet");
    EXPECT_EQ(DecodeStoredText(stored("on_link", "WEP key1")), "");
}

TEST_F(ProfileDialogTest, EnterApplies) {
    const auto dialog = openNew();
    setText(*dialog, "nameEdit", QStringLiteral("Keyboard"));
    press(*child<QLineEdit>(*dialog, "nameEdit"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ctx.store.FindProfileSection("Keyboard"), "Profile_index_1");
}

TEST_F(ProfileDialogTest, ConfigDialogsStartFromTheStoredValues) {
    ProfileRecord corp;
    corp.Profilename = "Corp";
    corp.SSID = "CorpNet";
    corp.bsstype = 1;
    corp.AuthListIndex = 4; // "WPA-PSK"
    corp.WPAPassPhase = "stored passphrase";
    corp.DomainName = "corp.example";
    corp.LoginName = "bob";
    struct Case {
        EditorMode mode;
        const char* item;
        const char* field;
        QString expected;
    };
    const Case cases[] = {
        {EditorMode::Properties, "WPA-PSK", "passphraseEdit", QStringLiteral("stored passphrase")},
        {EditorMode::Properties, "WPA", "loginEdit", QStringLiteral("bob")},
        {EditorMode::Properties, "WPA", "domainEdit", QStringLiteral("corp.example")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const auto dialog = open({c.mode, {}, {}, {}, corp});
        choose(*dialog, "authModeCombo", c.item);
        QString seenText;
        ctx.ui.queueModal([&](QDialog& d) {
            seenText = d.findChild<QLineEdit*>(QString::fromLatin1(c.field))->text();
            return int(QDialog::Rejected);
        });
        child<QPushButton>(*dialog, "configButton")->click();
        EXPECT_EQ(seenText, c.expected);
    }
    // A surveyed network starts the passphrase empty.
    const auto surveyed =
        open({EditorMode::Surveyed, {}, logic::SurveyedNetwork{"HomeNet", 5, 1, 3, 7}, {}, {}});
    QString seenText = QStringLiteral("(not run)");
    ctx.ui.queueModal([&](QDialog& d) {
        seenText = d.findChild<QLineEdit*>(QStringLiteral("passphraseEdit"))->text();
        return int(QDialog::Rejected);
    });
    child<QPushButton>(*surveyed, "configButton")->click();
    EXPECT_EQ(seenText, QString());
}

TEST_F(ProfileDialogTest, ASaveThatFailsIsToldAndHandsNothingOver) {
    auto batch = ctx.store.beginBatch();
    batch.WriteProfile("Profile_index_1", wepProfile());
    batch.setSlotState("Profile_index_1", ProfileStore::SlotState::Live);
    ASSERT_TRUE(batch.commit());
    const std::string before = readFile("S.CBA");
    const auto dialog = open({EditorMode::Properties, {}, {}, {}, wepProfile()});
    ASSERT_EQ(::chmod(".", 0500), 0);
    {
        const StrictPermissions strict;
        apply(*dialog);
    }
    ASSERT_EQ(::chmod(".", 0700), 0);
    ASSERT_EQ(ctx.ui.messages().size(), 1u);
    EXPECT_EQ(ctx.ui.messages()[0].caption, QString::fromLatin1(applicationTitle));
    EXPECT_TRUE(ctx.ui.messages()[0].text.contains(QStringLiteral("could not be saved")));
    EXPECT_TRUE(ctx.ui.messages()[0].text.contains(QStringLiteral("S.CBA")))
        << ctx.ui.messages()[0].text.toStdString();
    EXPECT_TRUE(ctx.ui.messages()[0].text.contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(ctx.ui.messages()[0].icon, UiServices::MessageIcon::Warning);
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "the dialog stays open";
    EXPECT_EQ(ctx.window.handOvers, 0);
    EXPECT_TRUE(ctx.window.shownPages.empty());
    EXPECT_EQ(readFile("S.CBA"), before);

    apply(*dialog); // writable again: the same Apply now saves
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ctx.window.handOvers, 1);
}

TEST_F(ProfileDialogTest, AFullProfileListTakesNoNewProfile) {
    auto batch = ctx.store.beginBatch();
    for (int slot = 1; slot <= 99; ++slot) {
        ProfileRecord p = wepProfile();
        p.Profilename = "p" + std::to_string(slot);
        batch.WriteProfile(ProfileStore::slotSection(slot), p);
        batch.setSlotState(ProfileStore::slotSection(slot), ProfileStore::SlotState::Live);
    }
    ASSERT_TRUE(batch.commit());
    ctx.window.slotBase = 100;
    const std::string before = readFile("S.CBA");
    const auto dialog = openNew();
    setText(*dialog, "nameEdit", QStringLiteral("one more"));
    apply(*dialog);
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Prompt: The profile list is full. Remove a profile before you add another."});
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(readFile("S.CBA"), before);
    setText(*dialog, "nameEdit", QStringLiteral("P7"));
    apply(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << "an existing profile can still be saved";
    EXPECT_EQ(stored("Profile_index_7", "Profilename"), "P7");
}

} // namespace
