// The certificate dialog over the real store, with certificates made for the run: the names it
// derives, and importing through its two "Import..." buttons.
#include "dialogs/CertificateDialog.h"
#include "platform/OpenSslCertificateStore.h"
#include "storage/TextCatalog.h"
#include "support/CertificateStoreFixture.h"
#include "support/RecordingUiServices.h"
#include "support/WaitFor.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

class CertificateDialogStoreTest : public CertificateStoreFixture {
protected:
    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QComboBox* certificates(QDialog& dialog) { return child<QComboBox>(dialog, "certificateCombo"); }
    static QComboBox* authorityList(QDialog& dialog) { return child<QComboBox>(dialog, "authorityCombo"); }
    static std::string text(QDialog& dialog, const char* name) {
        return child<QLineEdit>(dialog, name)->text().toStdString();
    }
    static std::string current(QComboBox* combo) { return combo->currentText().toStdString(); }

    // The user picks this file in the file dialog (or cancels with an empty path).
    void chooseFile(const std::string& path) {
        ui.queueModal([path](QDialog& dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(&dialog);
            if (chooser == nullptr || path.empty()) {
                return int(QDialog::Rejected);
            }
            chooser->selectFile(QString::fromStdString(path));
            return int(QDialog::Accepted);
        });
    }

    RecordingUiServices ui;
    const TextCatalog texts{"no-such-catalogue.ini"};
};

TEST_F(CertificateDialogStoreTest, NamesOfTheFixtureCertificates) {
    layOutPersonalFolder();
    layOutSystemTrust();
    OpenSslCertificateStore store;
    const auto& c = certs();
    struct Case {
        const TestCertificate* chosen;
        const char* domain;
        const char* login;
    };
    const Case cases[] = {
        {&c.jdoe, "example.com", "jdoe"},   // principal name with three labels
        {&c.mailOnly, "", "Mail Only"},     // two at signs in the only e-mail name
        {&c.lonely, "", "Mail Only"},       // no key: the names stay
        {&c.pat, "example.com", "pat"},     // PKCS#12
        {&c.expired, "example.com", "old"}, // expired, still listed and chosen
    };
    CertificateDialog dialog(store, ui, texts);
    // The store reads in the background; the lists fill from the window's event loop.
    ASSERT_TRUE(waitFor([&] { return dialog.listsRead(); }));
    EXPECT_EQ(certificates(dialog)->count(), 9);
    EXPECT_EQ(authorityList(dialog)->count(), 7) << "(None) and six authorities";
    std::vector<std::string> texts;
    std::vector<std::string> identifiers;
    store.Enumerate(CertificateKind::Personal, texts, identifiers);
    for (const Case& test : cases) {
        const auto at = std::find(identifiers.begin(), identifiers.end(), test.chosen->identifier);
        ASSERT_NE(at, identifiers.end());
        certificates(dialog)->setCurrentIndex(int(at - identifiers.begin()));
        EXPECT_EQ(text(dialog, "domainEdit"), test.domain) << current(certificates(dialog));
        EXPECT_EQ(text(dialog, "loginEdit"), test.login) << current(certificates(dialog));
    }
    child<QPushButton>(dialog, "okButton")->click();
    EXPECT_EQ(dialog.choice().certificate, c.expired.identifier);
    EXPECT_EQ(dialog.choice().authority, "") << "no authority unless one is chosen";
}

TEST_F(CertificateDialogStoreTest, ImportingThroughTheButtons) {
    const auto& c = certs();
    makeFolder(root + "/downloads");
    write(root + "/downloads/jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    write(root + "/downloads/lonely.crt", c.lonely.certificatePem);
    write(root + "/downloads/corp.crt", c.corpRoot.certificatePem);
    write(root + "/downloads/notes.txt", "no certificate here\n");
    layOutSystemTrust();
    OpenSslCertificateStore store;

    struct Case {
        const char* what;
        const char* button;
        std::string file; // "" : the user cancels the file dialog
        std::string certificateText;
        std::string authorityText;
        std::string login;
        const char* message; // nullptr: none
        const char* caption;
    };
    const Case cases[] = {
        {"cancelled", "importCertificateButton", "", "", "(None)", "", nullptr, ""},
        {"a client certificate with its key", "importCertificateButton", root + "/downloads/jdoe.pem",
         "John Doe   [Issued: ", "(None)", "jdoe", nullptr, ""},
        {"no certificate in it", "importCertificateButton", root + "/downloads/notes.txt",
         "John Doe   [Issued: ", "(None)", "jdoe", "The file \"notes.txt\" holds no certificate.", "Prompt"},
        {"a certificate without its key", "importCertificateButton", root + "/downloads/lonely.crt",
         "John Doe   [Issued: ", "(None)", "jdoe", "No private key came with this certificate",
         "Skyvane Configuration Utility"},
        {"an authority", "importAuthorityButton", root + "/downloads/corp.crt",
         "John Doe   [Issued: ", "corp-root-01", "jdoe", nullptr, ""},
        {"no certificate for the authorities", "importAuthorityButton", root + "/downloads/notes.txt",
         "John Doe   [Issued: ", "corp-root-01", "jdoe", "holds no certificate", "Prompt"},
    };
    CertificateDialog dialog(store, ui, texts);
    ASSERT_TRUE(waitFor([&] { return dialog.listsRead(); }));
    for (const Case& test : cases) {
        const std::size_t messages = ui.messages().size();
        chooseFile(test.file);
        child<QPushButton>(dialog, test.button)->click();
        EXPECT_EQ(current(certificates(dialog)).substr(0, test.certificateText.size()), test.certificateText)
            << test.what;
        EXPECT_EQ(current(authorityList(dialog)), test.authorityText) << test.what;
        EXPECT_EQ(text(dialog, "loginEdit"), test.login) << test.what;
        if (test.message == nullptr) {
            EXPECT_EQ(ui.messages().size(), messages) << test.what;
            continue;
        }
        ASSERT_EQ(ui.messages().size(), messages + 1) << test.what;
        EXPECT_NE(ui.messages().back().text.indexOf(QString::fromLatin1(test.message)), -1)
            << test.what << ": " << ui.messages().back().text.toStdString();
        EXPECT_EQ(ui.messages().back().caption, QString::fromLatin1(test.caption)) << test.what;
    }
    EXPECT_EQ(ui.modalRuns().front(), QStringLiteral("Import Certificate"));
    EXPECT_EQ(ui.modalRuns().back(), QStringLiteral("Import Certification Authority"));
    child<QPushButton>(dialog, "okButton")->click();
    EXPECT_EQ(dialog.choice().certificate, c.jdoe.identifier) << "one without its key is not chosen";
    EXPECT_EQ(dialog.choice().authority, c.corpRoot.identifier);
    EXPECT_TRUE(exists(personal + "/jdoe.pem"));
    EXPECT_TRUE(exists(authorities + "/corp.pem"));
}

} // namespace
