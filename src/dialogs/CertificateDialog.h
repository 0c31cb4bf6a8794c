#pragma once

#include "logic/SecuritySection.h"
#include "platform/CertificateNames.h"

#include <QDialog>

#include <string>
#include <vector>

class CertificateStore;
class QComboBox;
class QLineEdit;
class QPushButton;
class UiServices;

// The four values an 802.1X profile keeps, in the order the adapter's certificate block has them:
// the client certificate's and the authority's identifiers, the server/domain and login names.
using CertificateChoice = logic::CertificateValues;

// "Define Certificate": the client certificate from the personal store, the authority from the
// trusted roots, and the server/domain and login names, which follow the chosen certificate
// until the user types over them. "Import..." beside each list copies a certificate file into
// the user's store and chooses it.
class CertificateDialog : public QDialog {
    Q_OBJECT
public:
    // Each of the four values is kept to this many bytes (a field of 255 with its terminator).
    static constexpr std::size_t maxValueBytes = 254;

    // preset: the values a profile already has (all empty for none); the lists open on them.
    CertificateDialog(CertificateStore& store, UiServices& ui, const CertificateChoice& preset = {},
                      QWidget* parent = nullptr);

    // The four values as the last OK took them.
    const CertificateChoice& choice() const { return m_choice; }

    void accept() override;

private:
    void loadCertificates(const std::string& preset);
    void loadAuthorities(const std::string& preset);
    void onCertificateChosen(int index);
    void onAuthorityChosen(int index);
    void showNamesOfCurrent();
    void importInto(CertificateKind kind);

    CertificateStore& m_store;
    UiServices& m_ui;
    CertificateChoice m_choice;
    std::vector<std::string> m_certificateIds;
    std::vector<std::string> m_authorityIds;
    std::string m_chosenCertificate;
    std::string m_chosenAuthority;
    QComboBox* m_certificateCombo;
    QComboBox* m_authorityCombo;
    QLineEdit* m_domainEdit;
    QLineEdit* m_loginEdit;
};
