// The certificate dialog over a store of the test's own: what it opens on, what a change of
// certificate does to the names, what OK and Cancel return.
#include "dialogs/CertificateDialog.h"
#include "platform/CertificateStore.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

    FakeCertificateStore store;
    RecordingUiServices ui;
};

TEST_F(CertificateDialogTest, TheListsAndTheirCaptions) {
    CertificateDialog dialog(store, ui);
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
    const char* texts[] = {"Alice   [Issued: 05/06/24]", "Bob   [Issued: 05/06/24]",
                           "Carl   [Issued: 05/06/24]", "Dana   [Issued: 05/06/24]",
                           "Alice (second file)   [Issued: 05/06/24]"};
    ASSERT_EQ(certificates(dialog)->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(certificates(dialog)->itemText(i), QString::fromLatin1(texts[i]));
    }
    ASSERT_EQ(authorities(dialog)->count(), 3);
    EXPECT_EQ(authorities(dialog)->itemText(2), QStringLiteral("Root 3"));
    EXPECT_TRUE(child<QPushButton>(dialog, "okButton")->isDefault());
}

TEST_F(CertificateDialogTest, WhatItOpensOnAndWhatAnImmediateOkReturns) {
    struct Case {
        const char* what;
        CertificateChoice preset;
        int certificateIndex;
        int authorityIndex;
        CertificateChoice returned;
    };
    const Case cases[] = {
        // No preset: nothing chosen, though the names follow the first certificate.
        {"no preset", {}, -1, 0, {"", id(1), "example.com", "alice"}},
        {"preset certificate and authority",
         {id(0xD0), id(3), "", ""},
         3,
         2,
         {id(0xD0), id(3), "example.net", "dana"}},
        {"preset in lower case names none",
         {"d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0d0", "", "", ""},
         -1,
         0,
         {"", id(1), "example.com", "alice"}},
        {"listed twice: the last one",
         {id(0xA1), "", "", ""},
         4,
         0,
         {id(0xA1), id(1), "example.com", "alice"}},
        {"unknown preset", {id(0xEE), id(0xEE), "", ""}, -1, 0, {"", id(1), "example.com", "alice"}},
        // Names a profile already has are shown as they are: what the user typed once is not
        // lost by opening the dialog again. A missing one follows the certificate.
        {"preset names",
         {id(0xB0), id(2), "mine.example", "me"},
         1,
         1,
         {id(0xB0), id(2), "mine.example", "me"}},
        {"preset login only",
         {id(0xD0), "", "", "CORP\\dana"},
         3,
         0,
         {id(0xD0), id(1), "example.net", "CORP\\dana"}},
        {"preset without a key", {id(0xC0), "", "", ""}, 2, 0, {id(0xC0), id(1), "", ""}},
    };
    for (const Case& c : cases) {
        CertificateDialog dialog(store, ui, c.preset);
        EXPECT_EQ(certificates(dialog)->currentIndex(), c.certificateIndex) << c.what;
        EXPECT_EQ(authorities(dialog)->currentIndex(), c.authorityIndex) << c.what;
        EXPECT_EQ(pressOk(dialog), c.returned) << c.what;
    }
}

TEST_F(CertificateDialogTest, ChangingTheCertificateReplacesTheNames) {
    CertificateDialog dialog(store, ui);
    struct Step {
        int index;
        const char* domain;
        const char* login;
    };
    const Step steps[] = {
        {1, "", "Bob"},              // e-mail name with two at signs: common name as login
        {3, "example.net", "dana"},  //
        {2, "example.net", "dana"},  // no key: still the names of the one found before
        {0, "example.com", "alice"}, //
    };
    for (const Step& step : steps) {
        certificates(dialog)->setCurrentIndex(step.index);
        EXPECT_EQ(domain(dialog), step.domain) << step.index;
        EXPECT_EQ(login(dialog), step.login) << step.index;
    }
    certificates(dialog)->setCurrentIndex(2);
    authorities(dialog)->setCurrentIndex(2);
    EXPECT_EQ(pressOk(dialog), (CertificateChoice{id(0xC0), id(3), "example.com", "alice"}))
        << "the certificate without a key is returned as chosen";
}

TEST_F(CertificateDialogTest, TypedNamesStayUntilTheCertificateChanges) {
    CertificateDialog dialog(store, ui);
    child<QLineEdit>(dialog, "domainEdit")->setText(QStringLiteral("radius.corp.example.com"));
    child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("CORP\\alice"));
    authorities(dialog)->setCurrentIndex(1);
    EXPECT_EQ(pressOk(dialog), (CertificateChoice{"", id(2), "radius.corp.example.com", "CORP\\alice"}));

    CertificateDialog again(store, ui);
    child<QLineEdit>(again, "loginEdit")->setText(QStringLiteral("typed"));
    certificates(again)->setCurrentIndex(3);
    EXPECT_EQ(login(again), "dana");
}

TEST_F(CertificateDialogTest, CancelReturnsNothingNew) {
    const CertificateChoice preset{id(0xD0), id(3), "preset.example", "preset"};
    CertificateDialog dialog(store, ui, preset);
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
        CertificateChoice returned;
    };
    const Case cases[] = {
        {"personal store can't be opened", false, true, true, {"", id(1), "", ""}},
        {"no personal certificate", true, false, true, {"", id(1), "", ""}},
        {"no authority", true, true, false, {"", "", "example.com", "alice"}},
        {"nothing at all", true, false, false, {}},
    };
    for (const Case& c : cases) {
        FakeCertificateStore bare;
        bare.personalOpens = c.personalOpens;
        bare.personal = c.withCertificates ? store.personal : std::vector<CertificateInfo>{};
        bare.authorities = c.withAuthorities ? store.authorities : std::vector<CertificateInfo>{};
        CertificateDialog dialog(bare, ui, {id(0xA1), id(1), "", ""});
        EXPECT_EQ(certificates(dialog)->count(), c.personalOpens && c.withCertificates ? 5 : 0) << c.what;
        EXPECT_EQ(pressOk(dialog).authority, c.returned.authority) << c.what;
        if (!c.withCertificates || !c.personalOpens) {
            EXPECT_EQ(dialog.choice(), c.returned) << c.what;
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
    CertificateDialog dialog(store, ui, {"", "", "", ""});
    EXPECT_EQ(certificates(dialog)->itemText(0), QStringLiteral("laptop.p12   [Password protected]"));
    EXPECT_EQ(certificates(dialog)->currentIndex(), -1);
    EXPECT_EQ(login(dialog), "") << "the first certificate can't be found, so no names";
    certificates(dialog)->setCurrentIndex(1);
    certificates(dialog)->setCurrentIndex(0);
    EXPECT_EQ(login(dialog), "alice") << "choosing it finds nothing: the names stay";
    EXPECT_EQ(pressOk(dialog).certificate, "");
}

TEST_F(CertificateDialogTest, AnEarlierDialogsCertificateIsNotCarriedOver) {
    store.personal = {carl, alice};
    {
        CertificateDialog first(store, ui, {id(0xA1), "", "", ""});
        EXPECT_EQ(login(first), "alice");
    }
    // The first certificate has no key: nothing is found, so the names stay empty rather than
    // showing the certificate the last dialog found in the same store.
    CertificateDialog second(store, ui);
    EXPECT_EQ(domain(second), "");
    EXPECT_EQ(login(second), "");
}

TEST_F(CertificateDialogTest, ValuesAreKeptToTheirFieldSize) {
    CertificateDialog dialog(store, ui);
    // 200 characters of two bytes each: cut at 254 bytes, never inside a character.
    child<QLineEdit>(dialog, "domainEdit")->setText(QString(200, QChar(0xe9)));
    child<QLineEdit>(dialog, "loginEdit")->setText(QString(300, QLatin1Char('l')));
    const CertificateChoice choice = pressOk(dialog);
    EXPECT_EQ(choice.domain, QString(127, QChar(0xe9)).toStdString());
    EXPECT_EQ(choice.login, std::string(254, 'l'));
}

} // namespace
