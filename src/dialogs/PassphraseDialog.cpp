#include "dialogs/PassphraseDialog.h"

#include "controls/DialogStyle.h"
#include "controls/UiServices.h"
#include "logic/KeyRules.h"
#include "storage/TextCatalog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int narrowestWidth = 340;

QPushButton* addButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    dialogstyle::styleButton(*button);
    return button;
}

} // namespace

PassphraseDialog::PassphraseDialog(UiServices& ui, const TextCatalog& texts, const std::string& passphrase,
                                   QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ui(ui), m_texts(texts), m_passphrase(passphrase) {
    setWindowTitle(QStringLiteral("Define WPA PSK"));
    dialogstyle::applyFace(*this);

    auto* instruction =
        new QLabel(QStringLiteral("Enter your WPA Passphrase.  The minimum length is 8 characters."), this);
    instruction->setObjectName(QStringLiteral("instructionLabel"));
    m_passphraseEdit = new QLineEdit(this);
    m_passphraseEdit->setObjectName(QStringLiteral("passphraseEdit"));
    m_passphraseEdit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    const QString given = QString::fromStdString(passphrase);
    m_passphraseEdit->setMaxLength(given.size() == 64 ? 64 : 63);
    m_passphraseEdit->setEchoMode(QLineEdit::Password);
    m_passphraseEdit->setText(given);
    instruction->setBuddy(m_passphraseEdit);

    QPushButton* okButton = addButton("OK", "okButton", this);
    okButton->setDefault(true);
    QPushButton* cancelButton = addButton("Cancel", "cancelButton", this);
    connect(okButton, &QPushButton::clicked, this, &PassphraseDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &PassphraseDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(0);
    layout->addWidget(instruction);
    layout->addSpacing(8);
    layout->addWidget(m_passphraseEdit);
    layout->addSpacing(14);
    layout->addLayout(buttons);
    // As wide as the instruction on one line.
    const QSize size = layout->totalSizeHint();
    setFixedSize(std::max(narrowestWidth, size.width()), size.height());
    m_passphraseEdit->setFocus();
}

void PassphraseDialog::accept() {
    m_passphrase = m_passphraseEdit->text().toStdString();
    // The length a passphrase has for the network is its bytes: a character beyond ASCII takes
    // more than one, and a passphrase longer than 63 bytes would be cut when stored.
    const char* problem = nullptr;
    switch (CheckPassphrase(m_passphrase)) {
    case PassphraseVerdict::Ok:
        QDialog::accept();
        return;
    case PassphraseVerdict::TooShort:
        problem = passphraseLengthMessage;
        break;
    case PassphraseVerdict::NotHex:
        problem = passphraseHexMessage;
        break;
    }
    m_ui.message(this, QString::fromStdString(m_texts.Text(problem, problem)), QStringLiteral("Warning"),
                 UiServices::MessageIcon::Information);
}
