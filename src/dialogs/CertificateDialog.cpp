#include "dialogs/CertificateDialog.h"

#include "controls/ApplicationTitle.h"
#include "controls/DialogStyle.h"
#include "controls/UiServices.h"
#include "logic/TextCut.h"
#include "platform/CertificateStore.h"
#include "storage/TextCatalog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int dialogWidth = 440;

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

// What the certificate list shows while nothing is chosen. Not empty: a combo box whose
// placeholder is empty chooses its first entry by itself.
QString blankPlaceholder() {
    return QStringLiteral(" ");
}

std::string identifierOf(const CertificateInfo& certificate) {
    return IdentifierText(certificate.hash);
}

// The last choosable certificate of the list with this identifier, or -1.
int lastChoosable(const std::vector<CertificateInfo>& certificates, const std::string& identifier,
                  CertificateKind kind) {
    if (identifier.empty()) {
        return -1;
    }
    for (int i = static_cast<int>(certificates.size()) - 1; i >= 0; --i) {
        const CertificateInfo& certificate = certificates[static_cast<std::size_t>(i)];
        if (identifierOf(certificate) == identifier && Choosable(certificate, kind)) {
            return i;
        }
    }
    return -1;
}

} // namespace

CertificateDialog::CertificateDialog(CertificateStore& store, UiServices& ui, const TextCatalog& texts,
                                     const CertificateChoice& preset, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_store(store), m_ui(ui), m_texts(texts), m_choice(preset), m_preset(preset) {
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
    m_readingLabel = new QLabel(text("Reading certificates..."), this);
    m_readingLabel->setObjectName(QStringLiteral("readingLabel"));
    m_authorityNote = new QLabel(text("Without an authority the server is not verified."), this);
    m_authorityNote->setObjectName(QStringLiteral("authorityNote"));
    for (QLabel* label : {m_readingLabel, m_authorityNote}) {
        // Shown and hidden without the dialog changing its size.
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        dialogstyle::showAsValue(*label);
    }

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
    // Under the authorities, where the gap to the next caption is.
    grid->addWidget(m_authorityNote, 5, 0, 1, 2, Qt::AlignTop);
    grid->setRowMinimumHeight(5, m_authorityNote->sizeHint().height() + 8);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_readingLabel);
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

    // Names a profile already holds are shown as they are, so that opening the dialog and
    // pressing OK never throws away a name the user typed; a missing one follows the preset
    // certificate once it is found.
    m_domainEdit->setText(QString::fromStdString(preset.domain));
    m_loginEdit->setText(QString::fromStdString(preset.login));
    {
        const QSignalBlocker blocker(m_authorityCombo);
        m_authorityCombo->addItem(text("(None)"));
        m_authorityCombo->setCurrentIndex(0);
    }
    m_authorityNote->hide();
    m_certificateCombo->setPlaceholderText(text("Reading certificates..."));

    // Tab goes as the eye does: each list, then the button beside it.
    setTabOrder(m_certificateCombo, importCertificateButton);
    setTabOrder(importCertificateButton, m_authorityCombo);
    setTabOrder(m_authorityCombo, importAuthorityButton);
    setTabOrder(importAuthorityButton, m_domainEdit);
    setTabOrder(m_domainEdit, m_loginEdit);
    setTabOrder(m_loginEdit, okButton);
    setTabOrder(okButton, cancelButton);

    connect(m_certificateCombo, &QComboBox::currentIndexChanged, this,
            &CertificateDialog::onCertificateChosen);
    connect(m_authorityCombo, &QComboBox::currentIndexChanged, this, &CertificateDialog::onAuthorityChosen);
    connect(importCertificateButton, &QPushButton::clicked, this,
            [this] { importInto(CertificateKind::Personal); });
    connect(importAuthorityButton, &QPushButton::clicked, this,
            [this] { importInto(CertificateKind::Authority); });
    connect(okButton, &QPushButton::clicked, this, &CertificateDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CertificateDialog::reject);

    // The store reads in the background; the lists take what it has read, now and then.
    m_readingTimer = new QTimer(this);
    m_readingTimer->setInterval(readingPollMs);
    connect(m_readingTimer, &QTimer::timeout, this, &CertificateDialog::takeWhatIsRead);
    m_store.startReading();
    takeWhatIsRead();
    if (!listsRead()) {
        m_readingTimer->start();
    }
}

QString CertificateDialog::text(const char* english) const {
    return QString::fromStdString(m_texts.Text(english, english));
}

void CertificateDialog::takeWhatIsRead() {
    const auto take = [this](CertificateKind kind, bool& done) {
        if (done) {
            return;
        }
        const bool personal = kind == CertificateKind::Personal;
        Listed& listed = personal ? m_personal : m_authorities;
        CertificateListing listing = m_store.listing(kind);
        if (listing.reading != listed.reading || listing.certificates.size() < listed.certificates.size()) {
            // Another reading began: the list starts afresh.
            listed.reading = listing.reading;
            refill(kind, std::move(listing.certificates));
        } else {
            std::vector<CertificateInfo> more(
                std::make_move_iterator(listing.certificates.begin() +
                                        static_cast<std::ptrdiff_t>(listed.certificates.size())),
                std::make_move_iterator(listing.certificates.end()));
            append(personal ? *m_certificateCombo : *m_authorityCombo, listed, std::move(more), kind);
        }
        if (listing.complete) {
            done = true;
            if (personal) {
                presetCertificate();
            } else {
                presetAuthority();
            }
        }
    };
    take(CertificateKind::Personal, m_personalDone);
    take(CertificateKind::Authority, m_authoritiesDone);
    if (m_personalDone) {
        m_certificateCombo->setPlaceholderText(blankPlaceholder());
    }
    if (listsRead()) {
        m_readingTimer->stop();
        m_readingLabel->hide();
    }
}

void CertificateDialog::append(QComboBox& combo, Listed& listed, std::vector<CertificateInfo>&& more,
                               CertificateKind kind) {
    if (more.empty()) {
        return;
    }
    const std::time_t now = QDateTime::currentSecsSinceEpoch();
    auto* model = qobject_cast<QStandardItemModel*>(combo.model());
    const QSignalBlocker blocker(combo);
    for (CertificateInfo& certificate : more) {
        std::string shown = DisplayText(certificate, kind);
        const CertificateMarks marks = MarksOf(certificate, kind, now);
        QString line = QString::fromStdString(shown);
        if (marks.expired) {
            line += QStringLiteral("   [") + text("Expired") + QStringLiteral("]");
        }
        if (marks.notYetValid) {
            line += QStringLiteral("   [") + text("Not yet valid") + QStringLiteral("]");
        }
        if (marks.noPrivateKey) {
            line += QStringLiteral("   ") + text("(no private key)");
        }
        combo.addItem(line);
        if (!Choosable(certificate, kind) && model != nullptr) {
            // Listed, so the user sees it is there, but it can't be chosen.
            model->item(combo.count() - 1)->setEnabled(false);
        }
        listed.certificates.push_back(std::move(certificate));
    }
    // The open list shows whole lines, wider than the box where it must be.
    combo.view()->setMinimumWidth(combo.view()->sizeHintForColumn(0) + 8);
}

void CertificateDialog::refill(CertificateKind kind, std::vector<CertificateInfo> certificates) {
    const bool personal = kind == CertificateKind::Personal;
    QComboBox& combo = personal ? *m_certificateCombo : *m_authorityCombo;
    Listed& listed = personal ? m_personal : m_authorities;
    {
        const QSignalBlocker blocker(combo);
        combo.clear();
        if (!personal) {
            combo.addItem(text("(None)"));
        }
    }
    listed.certificates.clear();
    append(combo, listed, std::move(certificates), kind);
    // What was chosen stays chosen where it is still listed.
    const QSignalBlocker blocker(combo);
    if (personal) {
        const int index = lastChoosable(listed.certificates, m_chosenCertificate, kind);
        combo.setCurrentIndex(index);
        if (index < 0) {
            m_chosenCertificate.clear();
        }
    } else {
        const int index = lastChoosable(listed.certificates, m_chosenAuthority, kind);
        combo.setCurrentIndex(index + 1);
        if (index < 0) {
            m_chosenAuthority.clear();
        }
    }
}

void CertificateDialog::presetCertificate() {
    if (m_certificateTouched) {
        return;
    }
    const int index = lastChoosable(m_personal.certificates, m_preset.certificate, CertificateKind::Personal);
    {
        const QSignalBlocker blocker(m_certificateCombo);
        m_certificateCombo->setCurrentIndex(index);
    }
    if (index < 0) {
        m_chosenCertificate.clear();
        return;
    }
    const CertificateInfo& certificate = m_personal.certificates[static_cast<std::size_t>(index)];
    m_chosenCertificate = m_preset.certificate;
    if (m_preset.domain.empty()) {
        m_domainEdit->setText(QString::fromStdString(DomainNameOf(certificate)));
    }
    if (m_preset.login.empty()) {
        m_loginEdit->setText(QString::fromStdString(LoginNameOf(certificate)));
    }
}

void CertificateDialog::presetAuthority() {
    if (!m_authorityTouched) {
        const int index =
            lastChoosable(m_authorities.certificates, m_preset.authority, CertificateKind::Authority);
        const QSignalBlocker blocker(m_authorityCombo);
        m_authorityCombo->setCurrentIndex(index + 1);
        m_chosenAuthority = index >= 0 ? m_preset.authority : std::string();
    }
    showAuthorityNote();
}

void CertificateDialog::onCertificateChosen(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_personal.certificates.size()) {
        return;
    }
    const CertificateInfo& certificate = m_personal.certificates[static_cast<std::size_t>(index)];
    if (!Choosable(certificate, CertificateKind::Personal)) {
        // Without its key the supplicant could not use it: the choice stays what it was.
        const QSignalBlocker blocker(m_certificateCombo);
        m_certificateCombo->setCurrentIndex(
            lastChoosable(m_personal.certificates, m_chosenCertificate, CertificateKind::Personal));
        return;
    }
    m_certificateTouched = true;
    m_chosenCertificate = identifierOf(certificate);
    m_domainEdit->setText(QString::fromStdString(DomainNameOf(certificate)));
    m_loginEdit->setText(QString::fromStdString(LoginNameOf(certificate)));
}

void CertificateDialog::onAuthorityChosen(int index) {
    if (index < 0) {
        return;
    }
    m_authorityTouched = true;
    const auto at = static_cast<std::size_t>(index - 1);
    m_chosenAuthority = index == 0 || at >= m_authorities.certificates.size()
                            ? std::string()
                            : identifierOf(m_authorities.certificates[at]);
    showAuthorityNote();
}

void CertificateDialog::showAuthorityNote() {
    m_authorityNote->setVisible(m_chosenAuthority.empty() && (m_authoritiesDone || m_authorityTouched));
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
    // The list as the store holds it now, with the imported certificate chosen when it can be.
    auto certificates = m_store.certificates(kind);
    refill(kind, certificates ? std::move(*certificates) : std::vector<CertificateInfo>{});
    (personal ? m_personalDone : m_authoritiesDone) = true;
    if (personal) {
        m_certificateCombo->setPlaceholderText(blankPlaceholder());
        const int index = lastChoosable(m_personal.certificates, outcome.identifier, kind);
        if (index >= 0) {
            const QSignalBlocker blocker(m_certificateCombo);
            m_certificateCombo->setCurrentIndex(index);
            onCertificateChosen(index);
        }
    } else {
        const int index = lastChoosable(m_authorities.certificates, outcome.identifier, kind);
        if (index >= 0) {
            const QSignalBlocker blocker(m_authorityCombo);
            m_authorityCombo->setCurrentIndex(index + 1);
            onAuthorityChosen(index + 1);
        }
        showAuthorityNote();
    }
    if (listsRead()) {
        m_readingTimer->stop();
        m_readingLabel->hide();
    }
    if (!outcome.message.empty()) {
        m_ui.message(this, QString::fromStdString(outcome.message), QString::fromLatin1(applicationTitle),
                     UiServices::MessageIcon::Information);
    }
}

void CertificateDialog::accept() {
    if (m_chosenCertificate.empty()) {
        m_ui.message(this, text("Choose a certificate that has its private key."), QStringLiteral("Prompt"),
                     UiServices::MessageIcon::None);
        m_certificateCombo->setFocus();
        return;
    }
    m_choice.certificate = logic::cutText(m_chosenCertificate, maxValueBytes);
    m_choice.authority = logic::cutText(m_chosenAuthority, maxValueBytes);
    m_choice.domain = logic::cutText(m_domainEdit->text().toStdString(), maxValueBytes);
    m_choice.login = logic::cutText(m_loginEdit->text().toStdString(), maxValueBytes);
    QDialog::accept();
}
