#include "dialogs/CertificateDialog.h"

#include "controls/ApplicationTitle.h"
#include "controls/DialogStyle.h"
#include "controls/UiServices.h"
#include "logic/TextCut.h"
#include "platform/CertificateStore.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int dialogWidth = 440;

// The last entry with this identifier (an empty one names no certificate), or -1.
int lastIndexOf(const std::vector<std::string>& identifiers, const std::string& identifier) {
    if (identifier.empty()) {
        return -1;
    }
    for (int i = static_cast<int>(identifiers.size()) - 1; i >= 0; --i) {
        if (identifiers[static_cast<std::size_t>(i)] == identifier) {
            return i;
        }
    }
    return -1;
}

QLabel* addCaption(const char* text, const char* name, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QComboBox* addList(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    // A list that drops below the box, twelve lines high, rather than one over the screen;
    // long names are cut in the box, not the dialog widened.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setMaxVisibleItems(12);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    return combo;
}

QPushButton* addButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    dialogstyle::styleButton(*button);
    return button;
}

void fill(QComboBox& combo, const std::vector<std::string>& texts) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const std::string& text : texts) {
        combo.addItem(QString::fromStdString(text));
    }
}

} // namespace

CertificateDialog::CertificateDialog(CertificateStore& store, UiServices& ui, const CertificateChoice& preset,
                                     QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_store(store), m_ui(ui), m_choice(preset) {
    setWindowTitle(QStringLiteral("Define Certificate"));
    dialogstyle::applyFace(*this);

    m_certificateCombo = addList("certificateCombo", this);
    m_authorityCombo = addList("authorityCombo", this);
    m_domainEdit = new QLineEdit(this);
    m_domainEdit->setObjectName(QStringLiteral("domainEdit"));
    m_domainEdit->setMaxLength(static_cast<int>(maxValueBytes));
    m_loginEdit = new QLineEdit(this);
    m_loginEdit->setObjectName(QStringLiteral("loginEdit"));
    m_loginEdit->setMaxLength(static_cast<int>(maxValueBytes));
    QPushButton* importCertificateButton = addButton("Import...", "importCertificateButton", this);
    QPushButton* importAuthorityButton = addButton("Import...", "importAuthorityButton", this);
    QPushButton* okButton = addButton("OK", "okButton", this);
    okButton->setDefault(true);
    QPushButton* cancelButton = addButton("Cancel", "cancelButton", this);

    QLabel* captions[] = {
        addCaption("Select a Certificate:", "certificateLabel", this),
        addCaption("Certification Authorities:", "authorityLabel", this),
        addCaption("Server/Domain Name:", "domainLabel", this),
        addCaption("Login Name:", "loginLabel", this),
    };
    QWidget* fields[] = {m_certificateCombo, m_authorityCombo, m_domainEdit, m_loginEdit};
    QWidget* besides[] = {importCertificateButton, importAuthorityButton, nullptr, nullptr};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(0, 1);
    for (int i = 0; i < 4; ++i) {
        captions[i]->setBuddy(fields[i]);
        if (i > 0) {
            grid->setRowMinimumHeight(3 * i - 1, 10);
        }
        grid->addWidget(captions[i], 3 * i, 0);
        grid->setRowMinimumHeight(3 * i, captions[i]->sizeHint().height() + 4);
        grid->addWidget(fields[i], 3 * i + 1, 0);
        if (besides[i] != nullptr) {
            grid->addWidget(besides[i], 3 * i + 1, 1);
        }
    }
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(0);
    layout->addLayout(grid);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    setFixedSize(dialogWidth, layout->totalSizeHint().height());

    // The dialog's own lookups start afresh, whatever an earlier dialog found in the store.
    m_store.deselect();
    loadCertificates(preset.certificate);
    loadAuthorities(preset.authority);
    // Names a profile already holds are shown as they are, so that opening the dialog and
    // pressing OK never throws away a name the user typed; a missing one follows the certificate.
    if (!preset.domain.empty()) {
        m_domainEdit->setText(QString::fromStdString(preset.domain));
    }
    if (!preset.login.empty()) {
        m_loginEdit->setText(QString::fromStdString(preset.login));
    }

    connect(m_certificateCombo, &QComboBox::currentIndexChanged, this,
            &CertificateDialog::onCertificateChosen);
    connect(m_authorityCombo, &QComboBox::currentIndexChanged, this, &CertificateDialog::onAuthorityChosen);
    connect(importCertificateButton, &QPushButton::clicked, this,
            [this] { importInto(CertificateKind::Personal); });
    connect(importAuthorityButton, &QPushButton::clicked, this,
            [this] { importInto(CertificateKind::Authority); });
    connect(okButton, &QPushButton::clicked, this, &CertificateDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CertificateDialog::reject);
}

void CertificateDialog::loadCertificates(const std::string& preset) {
    std::vector<std::string> texts;
    m_certificateIds.clear();
    m_store.Enumerate(CertificateKind::Personal, texts, m_certificateIds);
    fill(*m_certificateCombo, texts);
    // A preset certificate is shown chosen; without one nothing is, and OK returns no
    // certificate, though the names below already follow the first one.
    const int preselected = lastIndexOf(m_certificateIds, preset);
    {
        const QSignalBlocker blocker(m_certificateCombo);
        m_certificateCombo->setCurrentIndex(preselected);
    }
    m_chosenCertificate = preselected >= 0 ? preset : std::string();
    if (!m_certificateIds.empty()) {
        m_store.Select(m_certificateIds[static_cast<std::size_t>(std::max(preselected, 0))]);
        showNamesOfCurrent();
    }
}

void CertificateDialog::loadAuthorities(const std::string& preset) {
    std::vector<std::string> texts;
    m_authorityIds.clear();
    m_store.Enumerate(CertificateKind::Authority, texts, m_authorityIds);
    fill(*m_authorityCombo, texts);
    const int index = m_authorityIds.empty() ? -1 : std::max(lastIndexOf(m_authorityIds, preset), 0);
    {
        const QSignalBlocker blocker(m_authorityCombo);
        m_authorityCombo->setCurrentIndex(index);
    }
    m_chosenAuthority = index >= 0 ? m_authorityIds[static_cast<std::size_t>(index)] : std::string();
}

void CertificateDialog::onCertificateChosen(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_certificateIds.size()) {
        return;
    }
    m_chosenCertificate = m_certificateIds[static_cast<std::size_t>(index)];
    // A certificate without a key is recorded as chosen, but the names stay those of the
    // certificate found before.
    m_store.Select(m_chosenCertificate);
    showNamesOfCurrent();
}

void CertificateDialog::onAuthorityChosen(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_authorityIds.size()) {
        m_chosenAuthority = m_authorityIds[static_cast<std::size_t>(index)];
    }
}

void CertificateDialog::showNamesOfCurrent() {
    m_domainEdit->setText(QString::fromStdString(m_store.DomainName()));
    m_loginEdit->setText(QString::fromStdString(m_store.LoginName()));
}

void CertificateDialog::importInto(CertificateKind kind) {
    const bool personal = kind == CertificateKind::Personal;
    QFileDialog chooser(
        this,
        personal ? QStringLiteral("Import Certificate") : QStringLiteral("Import Certification Authority"),
        QDir::homePath(),
        personal ? QStringLiteral("Certificates (*.pem *.crt *.cer *.der *.p12 *.pfx);;All files (*)")
                 : QStringLiteral("Certificates (*.pem *.crt *.cer *.der);;All files (*)"));
    chooser.setObjectName(QStringLiteral("importFileDialog"));
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    if (m_ui.runModal(chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    const ImportOutcome outcome =
        m_store.importFile(kind, QFile::encodeName(chooser.selectedFiles().front()).toStdString());
    if (!outcome.imported) {
        m_ui.message(this, QString::fromStdString(outcome.message), QStringLiteral("Prompt"),
                     UiServices::MessageIcon::None);
        return;
    }
    if (personal) {
        std::vector<std::string> texts;
        m_certificateIds.clear();
        m_store.Enumerate(CertificateKind::Personal, texts, m_certificateIds);
        fill(*m_certificateCombo, texts);
        const int index = lastIndexOf(m_certificateIds, outcome.identifier);
        const QSignalBlocker blocker(m_certificateCombo);
        if (index >= 0) {
            m_certificateCombo->setCurrentIndex(index);
            onCertificateChosen(index);
        } else {
            m_certificateCombo->setCurrentIndex(lastIndexOf(m_certificateIds, m_chosenCertificate));
        }
    } else {
        std::vector<std::string> texts;
        m_authorityIds.clear();
        m_store.Enumerate(CertificateKind::Authority, texts, m_authorityIds);
        fill(*m_authorityCombo, texts);
        int index = lastIndexOf(m_authorityIds, outcome.identifier);
        if (index < 0) {
            index = lastIndexOf(m_authorityIds, m_chosenAuthority);
        }
        const QSignalBlocker blocker(m_authorityCombo);
        m_authorityCombo->setCurrentIndex(index);
        onAuthorityChosen(index);
    }
    if (!outcome.message.empty()) {
        m_ui.message(this, QString::fromStdString(outcome.message), QString::fromLatin1(applicationTitle),
                     UiServices::MessageIcon::Information);
    }
}

void CertificateDialog::accept() {
    m_choice.certificate = logic::cutText(m_chosenCertificate, maxValueBytes);
    m_choice.authority = logic::cutText(m_chosenAuthority, maxValueBytes);
    m_choice.domain = logic::cutText(m_domainEdit->text().toStdString(), maxValueBytes);
    m_choice.login = logic::cutText(m_loginEdit->text().toStdString(), maxValueBytes);
    QDialog::accept();
}
