// The certificate dialog over a store of the test's own: what it opens on, what a change of
// certificate does to the names, what OK and Cancel return.
#include "dialogs/CertificateDialog.h"
#include "platform/CertificateStore.h"
#include "storage/TextCatalog.h"
#include "support/RecordingUiServices.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

#include <ctime>
#include <optional>

#include <gtest/gtest.h>

namespace {

// A store whose certificates the test lists; the rules (Select, DomainName, LoginName) are the
// store's own.
class FakeCertificateStore final : public CertificateStore {
public:
    std::vector<CertificateInfo> personal;
    std::vector<CertificateInfo> authorities;
    bool personalOpens = true;

    ImportOutcome importFile(CertificateKind, const std::string&) override { return {}; }
    std::optional<CertificateFiles> filesFor(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> pemFor(const std::string&) const override { return std::nullopt; }

protected:
    std::optional<std::vector<CertificateInfo>> certificatesOf(CertificateKind kind) const override {
        if (kind == CertificateKind::Personal) {
            return personalOpens ? std::optional(personal) : std::nullopt;
        }
        return authorities;
    }
};

CertificateInfo certificate(const char* commonName, std::uint8_t id, const char* principal, const char* email,
                            bool key) {
    CertificateInfo info;
    info.commonName = commonName;
    info.principalName = principal;
    info.emailName = email;
    info.issuedDate = "05/06/24";
    info.hash = std::vector<std::uint8_t>(20, id);
    info.hasPrivateKey = key;
    return info;
}

void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

std::string id(std::uint8_t byte) {
    return IdentifierText(std::vector<std::uint8_t>(20, byte));
}

const CertificateInfo alice = certificate("Alice", 0xA1, "alice@corp.example.com", "", true);
const CertificateInfo bob = certificate("Bob", 0xB0, "", "bob@x@example.org", true);
const CertificateInfo carl = certificate("Carl", 0xC0, "carl@c.example.net", "", false); // no key
const CertificateInfo dana = certificate("Dana", 0xD0, "dana@example.net", "", true);
CertificateInfo aliceAgain() {
    CertificateInfo copy = alice;
    copy.displayName = "Alice (second file)";
    return copy;
}

class CertificateDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.personal = {alice, bob, carl, dana, aliceAgain()};
        for (std::uint8_t r = 1; r <= 3; ++r) {
            CertificateInfo root = certificate("", r, "", "", false);
            root.commonName = "Root " + std::to_string(r);
            store.authorities.push_back(root);
        }
    }

    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QComboBox* certificates(QDialog& dialog) { return child<QComboBox>(dialog, "certificateCombo"); }
    static QComboBox* authorities(QDialog& dialog) { return child<QComboBox>(dialog, "authorityCombo"); }
    static std::string domain(QDialog& dialog) {
        return child<QLineEdit>(dialog, "domainEdit")->text().toStdString();
    }
    static std::string login(QDialog& dialog) {
        return child<QLineEdit>(dialog, "loginEdit")->text().toStdString();
    }
    static CertificateChoice pressOk(CertificateDialog& dialog) {
        child<QPushButton>(dialog, "okButton")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.choice();
    }
    // OK without a certificate: the dialog stays, and says why.
    void expectOkRefused(CertificateDialog& dialog, const char* what) {
        const std::size_t before = ui.messages().size();
        child<QPushButton>(dialog, "okButton")->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << what;
        ASSERT_EQ(ui.messages().size(), before + 1) << what;
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("Choose a certificate that has its private key."));
        EXPECT_EQ(ui.messages().back().caption, QStringLiteral("Prompt"));
    }
    static bool enabled(QComboBox* combo, int index) {
        return qobject_cast<QStandardItemModel*>(combo->model())->item(index)->isEnabled();
    }
    static bool noteShown(QDialog& dialog) { return !child<QLabel>(dialog, "authorityNote")->isHidden(); }

    FakeCertificateStore store;
    RecordingUiServices ui;
    const TextCatalog texts{"no-such-catalogue.ini"};
};

TEST_F(CertificateDialogTest, TheListsAndTheirCaptions) {
    CertificateDialog dialog(store, ui, texts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Define Certificate"));
    const std::pair<const char*, const char*> captions[] = {
        {"certificateLabel", "Select a Certificate:"},
        {"authorityLabel", "Certification Authorities:"},
        {"domainLabel", "Server/Domain Name:"},
        {"loginLabel", "Login Name:"},
    };
    for (const auto& [name, text] : captions) {
        EXPECT_EQ(child<QLabel>(dialog, name)->text(), QString::fromLatin1(text));
    }
    const char* lines[] = {"Alice   [Issued: 05/06/24]", "Bob   [Issued: 05/06/24]",
                           "Carl   [Issued: 05/06/24]   (no private key)", "Dana   [Issued: 05/06/24]",
                           "Alice (second file)   [Issued: 05/06/24]"};
    ASSERT_EQ(certificates(dialog)->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(certificates(dialog)->itemText(i), QString::fromLatin1(lines[i]));
        EXPECT_EQ(enabled(certificates(dialog), i), i != 2) << lines[i];
    }
    // "(None)" first: choosing no authority is a choice of its own.
    ASSERT_EQ(authorities(dialog)->count(), 4);
    EXPECT_EQ(authorities(dialog)->itemText(0), QStringLiteral("(None)"));
    EXPECT_EQ(authorities(dialog)->itemText(3), QStringLiteral("Root 3"));
    EXPECT_TRUE(child<QLabel>(dialog, "readingLabel")->isHidden()) << "everything read at once";
    EXPECT_TRUE(child<QPushButton>(dialog, "okButton")->isDefault());
}

TEST_F(CertificateDialogTest, WhatItOpensOnAndWhatAnImmediateOkReturns) {
    struct Case {
        const char* what;
        CertificateChoice preset;
        int certificateIndex;
        int authorityIndex;                        // 0: "(None)"
        std::optional<CertificateChoice> returned; // nothing: OK is refused
    };
    const Case cases[] = {
        // Nothing is chosen for the user: no certificate, no authority, no names.
        {"no preset", {}, -1, 0, std::nullopt},
        {"preset certificate and authority",
         {id(0xD0), id(3), "", ""},
         3,
         3,
         CertificateChoice{id(0xD0), id(3), "example.net", "dana"}},
        {"preset in lower case names none",
         {"d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0", "", "", ""},
         -1,
         0,
         std::nullopt},
        {"listed twice: the last one",
         {id(0xA1), "", "", ""},
         4,
         0,
         CertificateChoice{id(0xA1), "", "example.com", "alice"}},
        {"unknown preset", {id(0xEE), id(0xEE), "", ""}, -1, 0, std::nullopt},
        // Names a profile already has are shown as they are: what the user typed once is not
        // lost by opening the dialog again. A missing one follows the certificate.
        {"preset names",
         {id(0xB0), id(2), "mine.example", "me"},
         1,
         2,
         CertificateChoice{id(0xB0), id(2), "mine.example", "me"}},
        {"preset login only",
         {id(0xD0), "", "", "CORP\\dana"},
         3,
         0,
         CertificateChoice{id(0xD0), "", "example.net", "CORP\\dana"}},
        // Its key is gone: the supplicant could not use it, so it is not chosen.
        {"preset without a key", {id(0xC0), "", "", ""}, -1, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        CertificateDialog dialog(store, ui, texts, c.preset);
        EXPECT_EQ(certificates(dialog)->currentIndex(), c.certificateIndex) << c.what;
        EXPECT_EQ(authorities(dialog)->currentIndex(), c.authorityIndex) << c.what;
        EXPECT_EQ(noteShown(dialog), c.authorityIndex == 0) << c.what;
        if (c.returned) {
            EXPECT_EQ(pressOk(dialog), *c.returned) << c.what;
        } else {
            expectOkRefused(dialog, c.what);
            EXPECT_EQ(dialog.choice(), c.preset) << c.what;
        }
    }
    CertificateDialog bare(store, ui, texts);
    EXPECT_EQ(domain(bare), "") << "no names of a certificate nobody chose";
    EXPECT_EQ(login(bare), "");
}

TEST_F(CertificateDialogTest, ChangingTheCertificateReplacesTheNames) {
    CertificateDialog dialog(store, ui, texts);
    struct Step {
        int index;
        int shown; // where the list stands afterwards
        const char* domain;
        const char* login;
    };
    const Step steps[] = {
        {1, 1, "", "Bob"},              // e-mail name with two at signs: common name as login
        {3, 3, "example.net", "dana"},  //
        {2, 3, "example.net", "dana"},  // no key: not chosen, the choice stays
        {0, 0, "example.com", "alice"}, //
    };
    for (const Step& step : steps) {
        certificates(dialog)->setCurrentIndex(step.index);
        EXPECT_EQ(certificates(dialog)->currentIndex(), step.shown) << step.index;
        EXPECT_EQ(domain(dialog), step.domain) << step.index;
        EXPECT_EQ(login(dialog), step.login) << step.index;
    }
    certificates(dialog)->setCurrentIndex(2);
    authorities(dialog)->setCurrentIndex(3);
    EXPECT_FALSE(noteShown(dialog));
    EXPECT_EQ(pressOk(dialog), (CertificateChoice{id(0xA1), id(3), "example.com", "alice"}))
        << "the certificate without a key is never returned";
}

TEST_F(CertificateDialogTest, TheKeyboardPassesOverWhatCanNotBeChosen) {
    CertificateDialog dialog(store, ui, texts);
    dialog.show();
    certificates(dialog)->setFocus();
    pressKey(certificates(dialog), Qt::Key_Down); // Alice
    pressKey(certificates(dialog), Qt::Key_Down); // Bob
    pressKey(certificates(dialog), Qt::Key_Down); // past Carl, who has no key, to Dana
    EXPECT_EQ(certificates(dialog)->currentIndex(), 3);
    EXPECT_EQ(login(dialog), "dana");
    authorities(dialog)->setFocus();
    pressKey(authorities(dialog), Qt::Key_Down);
    EXPECT_FALSE(noteShown(dialog));
    pressKey(authorities(dialog), Qt::Key_Up); // back to "(None)"
    EXPECT_TRUE(noteShown(dialog));
    EXPECT_EQ(child<QLabel>(dialog, "authorityNote")->text(),
              QStringLiteral("Without an authority the server is not verified."));
    // Tab goes as the eye does: each list, then its "Import..." button, then the names.
    const char* order[] = {"certificateCombo", "importCertificateButton",
                           "authorityCombo",   "importAuthorityButton",
                           "domainEdit",       "loginEdit",
                           "okButton",         "cancelButton"};
    certificates(dialog)->setFocus();
    for (const char* name : order) {
        ASSERT_NE(dialog.focusWidget(), nullptr) << name;
        EXPECT_EQ(dialog.focusWidget()->objectName(), QString::fromLatin1(name));
        pressKey(dialog.focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(pressOk(dialog), (CertificateChoice{id(0xD0), "", "example.net", "dana"}));
}

TEST_F(CertificateDialogTest, ExpiredAndNotYetValidCertificatesAreMarked) {
    const std::time_t now = std::time(nullptr);
    CertificateInfo old = certificate("Old", 0x01, "old@example.com", "", true);
    old.notBefore = now - 800 * 86400;
    old.notAfter = now - 35 * 86400;
    CertificateInfo future = certificate("Future", 0x02, "", "", false);
    future.notBefore = now + 10 * 86400;
    future.notAfter = now + 400 * 86400;
    CertificateInfo current = certificate("Current", 0x03, "", "", true);
    current.notBefore = now - 86400;
    current.notAfter = now + 86400;
    store.personal = {old, future, current};
    CertificateInfo oldRoot = certificate("Old Root", 0x04, "", "", false);
    oldRoot.notBefore = old.notBefore;
    oldRoot.notAfter = old.notAfter;
    store.authorities = {oldRoot};
    CertificateDialog dialog(store, ui, texts);
    EXPECT_EQ(certificates(dialog)->itemText(0), QStringLiteral("Old   [Issued: 05/06/24]   [Expired]"));
    EXPECT_EQ(certificates(dialog)->itemText(1),
              QStringLiteral("Future   [Issued: 05/06/24]   [Not yet valid]   (no private key)"));
    EXPECT_EQ(certificates(dialog)->itemText(2), QStringLiteral("Current   [Issued: 05/06/24]"));
    EXPECT_EQ(authorities(dialog)->itemText(1), QStringLiteral("Old Root   [Expired]"));
    EXPECT_TRUE(enabled(certificates(dialog), 0)) << "an expired one is marked, the user decides";
}

TEST_F(CertificateDialogTest, TypedNamesStayUntilTheCertificateChanges) {
    CertificateDialog dialog(store, ui, texts);
    certificates(dialog)->setCurrentIndex(0);
    child<QLineEdit>(dialog, "domainEdit")->setText(QStringLiteral("radius.corp.example.com"));
    child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("CORP\\alice"));
    authorities(dialog)->setCurrentIndex(2);
    EXPECT_EQ(pressOk(dialog),
              (CertificateChoice{id(0xA1), id(2), "radius.corp.example.com", "CORP\\alice"}));

    CertificateDialog again(store, ui, texts);
    child<QLineEdit>(again, "loginEdit")->setText(QStringLiteral("typed"));
    certificates(again)->setCurrentIndex(3);
    EXPECT_EQ(login(again), "dana");
}

TEST_F(CertificateDialogTest, CancelReturnsNothingNew) {
    const CertificateChoice preset{id(0xD0), id(3), "preset.example", "preset"};
    CertificateDialog dialog(store, ui, texts, preset);
    certificates(dialog)->setCurrentIndex(1);
    child<QPushButton>(dialog, "cancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.choice(), preset);
}

TEST_F(CertificateDialogTest, EmptyOrUnopenableStores) {
    struct Case {
        const char* what;
        bool personalOpens;
        bool withCertificates;
        bool withAuthorities;
        std::optional<CertificateChoice> returned;
    };
    const Case cases[] = {
        {"personal store can't be opened", false, true, true, std::nullopt},
        {"no personal certificate", true, false, true, std::nullopt},
        {"no authority", true, true, false, CertificateChoice{id(0xA1), "", "example.com", "alice"}},
        {"nothing at all", true, false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        FakeCertificateStore bare;
        bare.personalOpens = c.personalOpens;
        bare.personal = c.withCertificates ? store.personal : std::vector<CertificateInfo>{};
        bare.authorities = c.withAuthorities ? store.authorities : std::vector<CertificateInfo>{};
        CertificateDialog dialog(bare, ui, texts, {id(0xA1), id(1), "", ""});
        EXPECT_EQ(certificates(dialog)->count(), c.personalOpens && c.withCertificates ? 5 : 0) << c.what;
        EXPECT_EQ(authorities(dialog)->currentIndex(), c.withAuthorities ? 1 : 0) << c.what;
        if (c.returned) {
            EXPECT_EQ(pressOk(dialog), *c.returned) << c.what;
        } else {
            expectOkRefused(dialog, c.what);
        }
    }
}

TEST_F(CertificateDialogTest, AnEmptyIdentifierNamesNoCertificate) {
    // A PKCS#12 file with a password is listed without an identifier: no preset, nor an empty
    // one, chooses it.
    CertificateInfo locked;
    locked.displayName = "laptop.p12";
    locked.passwordProtected = true;
    store.personal.insert(store.personal.begin(), locked);
    CertificateDialog dialog(store, ui, texts, {"", "", "", ""});
    EXPECT_EQ(certificates(dialog)->itemText(0), QStringLiteral("laptop.p12   [Password protected]"));
    EXPECT_FALSE(enabled(certificates(dialog), 0));
    EXPECT_EQ(certificates(dialog)->currentIndex(), -1);
    EXPECT_EQ(login(dialog), "");
    certificates(dialog)->setCurrentIndex(1);
    certificates(dialog)->setCurrentIndex(0);
    EXPECT_NE(certificates(dialog)->currentIndex(), 0) << "it can't be chosen: the choice stays";
    EXPECT_EQ(login(dialog), "alice");
    EXPECT_EQ(pressOk(dialog).certificate, id(0xA1));
}

TEST_F(CertificateDialogTest, AnEarlierDialogsCertificateIsNotCarriedOver) {
    store.personal = {carl, alice};
    {
        CertificateDialog first(store, ui, texts, {id(0xA1), "", "", ""});
        EXPECT_EQ(login(first), "alice");
    }
    // Nothing is chosen: the names stay empty rather than showing the certificate the last
    // dialog chose from the same store.
    CertificateDialog second(store, ui, texts);
    EXPECT_EQ(domain(second), "");
    EXPECT_EQ(login(second), "");
}

TEST_F(CertificateDialogTest, ValuesAreKeptToTheirFieldSize) {
    CertificateDialog dialog(store, ui, texts);
    certificates(dialog)->setCurrentIndex(0);
    // 200 characters of two bytes each: cut at 254 bytes, never inside a character.
    child<QLineEdit>(dialog, "domainEdit")->setText(QString(200, QChar(0xe9)));
    child<QLineEdit>(dialog, "loginEdit")->setText(QString(300, QLatin1Char('l')));
    const CertificateChoice choice = pressOk(dialog);
    EXPECT_EQ(choice.domain, QString(127, QChar(0xe9)).toStdString());
    EXPECT_EQ(choice.login, std::string(254, 'l'));
}

// A store that reads in the background: the test hands over what it has read.
class SlowStore final : public CertificateStore {
public:
    CertificateListing personal;
    CertificateListing authorities;
    mutable int startedReadings = 0;

    ImportOutcome importFile(CertificateKind, const std::string&) override { return {}; }
    std::optional<CertificateFiles> filesFor(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> pemFor(const std::string&) const override { return std::nullopt; }
    void startReading() const override { ++startedReadings; }
    CertificateListing listing(CertificateKind kind) const override {
        return kind == CertificateKind::Personal ? personal : authorities;
    }

protected:
    std::optional<std::vector<CertificateInfo>> certificatesOf(CertificateKind) const override {
        return std::nullopt;
    }
};

TEST_F(CertificateDialogTest, TheListsFillAsTheStoreReadsThem) {
    SlowStore slow;
    CertificateDialog dialog(slow, ui, texts, {id(0xD0), id(2), "", ""});
    EXPECT_EQ(slow.startedReadings, 1);
    EXPECT_FALSE(dialog.listsRead());
    EXPECT_FALSE(child<QLabel>(dialog, "readingLabel")->isHidden());
    EXPECT_EQ(child<QLabel>(dialog, "readingLabel")->text(), QStringLiteral("Reading certificates..."));
    EXPECT_EQ(certificates(dialog)->placeholderText(), QStringLiteral("Reading certificates..."));
    EXPECT_FALSE(noteShown(dialog)) << "no word about the authority before the list is read";

    slow.personal.certificates = {alice, bob};
    ASSERT_TRUE(waitFor([&] { return certificates(dialog)->count() == 2; }));
    EXPECT_EQ(certificates(dialog)->currentIndex(), -1) << "the preset may still come";
    certificates(dialog)->setCurrentIndex(1); // the user chooses meanwhile
    slow.personal.certificates.push_back(dana);
    slow.personal.complete = true;
    slow.authorities.certificates = store.authorities;
    slow.authorities.complete = true;
    ASSERT_TRUE(waitFor([&] { return dialog.listsRead(); }));
    EXPECT_EQ(certificates(dialog)->count(), 3);
    EXPECT_EQ(certificates(dialog)->currentIndex(), 1) << "the user's choice stands over the preset";
    EXPECT_EQ(authorities(dialog)->currentIndex(), 2) << "the preset authority, once read";
    EXPECT_TRUE(child<QLabel>(dialog, "readingLabel")->isHidden());
    EXPECT_EQ(pressOk(dialog), (CertificateChoice{id(0xB0), id(2), "", "Bob"}));
}

} // namespace
