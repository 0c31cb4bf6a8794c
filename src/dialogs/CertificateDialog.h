#pragma once

#include "logic/SecuritySection.h"
#include "platform/CertificateNames.h"

#include <QDialog>

#include <string>
#include <vector>

class CertificateStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TextCatalog;
class UiServices;

// The four values an 802.1X profile keeps, in the order the adapter's certificate block has them:
// the client certificate's and the authority's identifiers, the server/domain and login names.
using CertificateChoice = logic::CertificateValues;

// "Define Certificate": the client certificate from the personal store, the authority from the
// trusted roots, and the server/domain and login names, which follow the chosen certificate
// until the user types over them. "Import..." beside each list copies a certificate file into
// the user's store and chooses it.
//
// The dialog opens at once: the store reads its files on a thread of its own, and the lists
// fill as they are read ("Reading certificates..." until then). A certificate is chosen only
// by the user or by the preset: one without its private key is listed, marked, and can't be
// chosen; OK without a certificate refuses. The authority list begins with "(None)", chosen
// unless the preset names one; without an authority the dialog says the server is not verified.
class CertificateDialog : public QDialog {
    Q_OBJECT
public:
    // Each of the four values is kept to this many bytes (a field of 255 with its terminator).
    static constexpr std::size_t maxValueBytes = 254;
    // How often the lists look for what the store has read meanwhile.
    static constexpr int readingPollMs = 25;

    // preset: the values a profile already has (all empty for none); the lists open on them.
    CertificateDialog(CertificateStore& store, UiServices& ui, const TextCatalog& texts,
                      const CertificateChoice& preset = {}, QWidget* parent = nullptr);

    // The four values as the last OK took them.
    const CertificateChoice& choice() const { return m_choice; }
    // Whether both lists are complete.
    bool listsRead() const { return m_personalDone && m_authoritiesDone; }

    void accept() override;

private:
    struct Listed {
        std::vector<CertificateInfo> certificates;
        unsigned reading = 0;
    };

    QString text(const char* english) const;
    void takeWhatIsRead();
    void append(QComboBox& combo, Listed& listed, std::vector<CertificateInfo>&& more, CertificateKind kind);
    void refill(CertificateKind kind, std::vector<CertificateInfo> certificates);
    void presetCertificate();
    void presetAuthority();
    void onCertificateChosen(int index);
    void onAuthorityChosen(int index);
    void showAuthorityNote();
    void importInto(CertificateKind kind);

    CertificateStore& m_store;
    UiServices& m_ui;
    const TextCatalog& m_texts;
    CertificateChoice m_choice;
    CertificateChoice m_preset;
    Listed m_personal;
    Listed m_authorities; // without the "(None)" entry at the top of its list
    bool m_personalDone = false;
    bool m_authoritiesDone = false;
    bool m_certificateTouched = false; // the user (or an import) chose: the preset no longer applies
    bool m_authorityTouched = false;
    std::string m_chosenCertificate;
    std::string m_chosenAuthority;
    QComboBox* m_certificateCombo;
    QComboBox* m_authorityCombo;
    QLineEdit* m_domainEdit;
    QLineEdit* m_loginEdit;
    QLabel* m_readingLabel;
    QLabel* m_authorityNote;
    QTimer* m_readingTimer;
};
