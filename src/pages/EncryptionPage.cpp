#include "pages/EncryptionPage.h"

#include "context/AppContext.h"
#include "controls/DialogStyle.h"
#include "controls/KeyEdit.h"
#include "controls/SkinButton.h"
#include "controls/UiServices.h"
#include "controls/WindowLog.h"
#include "dialogs/FormMessages.h"
#include "dialogs/SecurityDialogs.h"
#include "pages/FormViews.h"
#include "storage/ProfileStore.h"
#include "storage/RegistryMirror.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace formviews;

namespace {

// Authentication and cipher at the top, the "Configuration" button beside them; the key table
// below with its column headings, the default key and the key format under it. The key fields
// are wide enough for a 128-bit key of 26 digits, shown masked.
constexpr int authY = 14, cipherY = 44;
constexpr int securityWidth = 144;
constexpr int buttonX = fieldX + securityWidth + 8, configurationWidth = rightEdge - buttonX;
constexpr int headingY = 84, firstKeyY = 104, keyStep = 30;
constexpr int keyWidth = 168;
constexpr int lengthX = fieldX + keyWidth + 8, lengthWidth = rightEdge - lengthX;
constexpr int choicesY = firstKeyY + 4 * keyStep + 10;
constexpr int defaultKeyWidth = 60;

} // namespace

EncryptionPage::EncryptionPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "encryptionPage"), m_form(context.store.ReadOnLink()) {
    createSecurityRows();
    createKeyTable();
    const ApplyCancel buttons = addApplyCancel(this, m_context.text("Apply"), m_context.text("Cancel"));
    connect(buttons.apply, &SkinButton::clicked, this, &EncryptionPage::Apply);
    connect(buttons.cancel, &SkinButton::clicked, this, &EncryptionPage::Refresh);
    render();
}

void EncryptionPage::createSecurityRows() {
    QLabel* authCaption = addCaption(m_context.text("Auth. Mode"), "authModeLabel",
                                     QRect(margin, authY, captionWidth, rowHeight));
    m_authModeCombo =
        addList(this, "authModeCombo", QRect(fieldX, authY, securityWidth, rowHeight), authCaption);
    QLabel* cipherCaption = addCaption(m_context.text("Encryption"), "encryptionLabel",
                                       QRect(margin, cipherY, captionWidth, rowHeight));
    m_cipherCombo =
        addList(this, "encryptionCombo", QRect(fieldX, cipherY, securityWidth, rowHeight), cipherCaption);
    m_configurationButton = new QPushButton(m_context.text("Configuration"), this);
    m_configurationButton->setObjectName(QStringLiteral("configurationButton"));
    dialogstyle::styleButton(*m_configurationButton);
    // The dialog buttons' look with less padding: the word is long for the column.
    m_configurationButton->setStyleSheet(m_configurationButton->styleSheet() +
                                         QStringLiteral("QPushButton { padding: 0 4px; }"));
    m_configurationButton->setGeometry(buttonX, authY - 1, configurationWidth, rowHeight + 2);
    m_configurationButton->setToolTip(QStringLiteral("The WPA passphrase or the 802.1X certificate"));

    connect(m_authModeCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { render(m_form.selectAuthentication(index)); });
    connect(m_cipherCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_form.selectCipher(index);
        render();
    });
    connect(m_configurationButton, &QPushButton::clicked, this, &EncryptionPage::onConfigurationClicked);
}

void EncryptionPage::createKeyTable() {
    QLabel* numbersHeading = addCaption(m_context.text("Default Key"), "keyNumberHeading",
                                        QRect(margin, headingY, captionWidth, rowHeight));
    addCaption(m_context.text("Network Key"), "networkKeyHeading",
               QRect(fieldX, headingY, keyWidth, rowHeight));
    addCaption(m_context.text("Key Length"), "keyLengthHeading",
               QRect(lengthX, headingY, lengthWidth, rowHeight));
    numbersHeading->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    const QString keyName = m_context.text("Network Key");
    const QString lengthName = m_context.text("Key Length");
    for (int k = 0; k < 4; ++k) {
        const int y = firstKeyY + k * keyStep;
        const QString number = QString::number(k + 1);
        QLabel* numberLabel = addCaption(number, "keyNumberLabel", QRect(margin, y, captionWidth, rowHeight));
        numberLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        auto* edit = new KeyEdit(this);
        edit->setObjectName(QStringLiteral("key%1Edit").arg(k + 1));
        edit->setGeometry(fieldX, y, keyWidth, rowHeight);
        edit->setAccessibleName(keyName + QLatin1Char(' ') + number);
        numberLabel->setBuddy(edit);
        connect(edit, &KeyEdit::textEdited, this, [this, k] { onKeyEdited(k); });
        m_keyEdits[static_cast<std::size_t>(k)] = edit;
        // The column's heading stands for all four lists; screen readers get a label of no size
        // for each ("Key Length 2").
        QLabel* lengthLabel =
            addCaption(lengthName + QLatin1Char(' ') + number, "keyLengthLabel", QRect(lengthX, y, 0, 0));
        QComboBox* length = addList(this, qPrintable(QStringLiteral("keyLength%1Combo").arg(k + 1)),
                                    QRect(lengthX, y, lengthWidth, rowHeight), lengthLabel);
        connect(length, &QComboBox::currentIndexChanged, this,
                [this, k](int index) { render(m_form.selectKeyLength(k, index)); });
        m_keyLengthCombos[static_cast<std::size_t>(k)] = length;
    }
    QLabel* defaultCaption = addCaption(m_context.text("Default Key"), "defaultKeyLabel",
                                        QRect(margin, choicesY, captionWidth, rowHeight));
    m_defaultKeyCombo =
        addList(this, "defaultKeyCombo", QRect(fieldX, choicesY, defaultKeyWidth, rowHeight), defaultCaption);
    const int formatCaptionX = fieldX + defaultKeyWidth + 12;
    QLabel* formatCaption =
        addCaption(m_context.text("Key Format"), "keyFormatLabel",
                   QRect(formatCaptionX, choicesY, lengthX - 6 - formatCaptionX, rowHeight));
    formatCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_keyFormatCombo =
        addList(this, "keyFormatCombo", QRect(lengthX, choicesY, lengthWidth, rowHeight), formatCaption);
    connect(m_defaultKeyCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { render(m_form.selectDefaultKey(index)); });
    connect(m_keyFormatCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { render(m_form.selectKeyFormat(index)); });
}

void EncryptionPage::render(const std::optional<logic::FormMessage>& message) {
    const logic::EncryptionFormState& s = m_form.state();
    showChoice(m_authModeCombo, s.authentication);
    showChoice(m_cipherCombo, s.cipher);
    m_configurationButton->setEnabled(s.configEnabled);
    for (std::size_t k = 0; k < m_keyEdits.size(); ++k) {
        const logic::KeyField& key = s.keys[k];
        KeyEdit* edit = m_keyEdits[k];
        if (edit->keyText() != key.text) {
            edit->setMaxLength(32767); // the new text first: the old limit would cut it
            edit->setKeyText(key.text);
        }
        if (key.limit > 0) {
            edit->setMaxLength(key.limit);
        }
        edit->setHexOnly(key.hexOnly);
        edit->setMasked(key.masked);
        edit->setEnabled(key.enabled);
        showChoice(m_keyLengthCombos[k], s.keyLength[k]);
    }
    showChoice(m_defaultKeyCombo, s.defaultKey);
    showChoice(m_keyFormatCombo, s.keyFormat);
    if (message) {
        showFormMessage(m_context, this, *message);
    }
}

void EncryptionPage::onKeyEdited(int key) {
    const KeyEdit* edit = m_keyEdits[static_cast<std::size_t>(key)];
    m_form.setKeyText(key, edit->keyText(), edit->isMasked());
    render();
}

void EncryptionPage::Refresh() {
    const std::optional<logic::FormMessage> message = m_form.refresh(m_context.store.ReadOnLink());
    render(message);
}

void EncryptionPage::onConfigurationClicked() {
    runSecurityDialog(m_context, m_form, this);
}

void EncryptionPage::Apply() {
    StationConfig fromMirror{};
    m_context.mirror.load(fromMirror);
    const logic::EncryptionApplyResult result = logic::applyEncryptionForm(m_form, fromMirror);
    if (const auto* stop = std::get_if<logic::EncryptionApplyStop>(&result)) {
        if (stop->emptyKeyField >= 0) {
            m_form.setKeyText(stop->emptyKeyField, std::string(), false);
        }
        render(stop->message);
        return;
    }
    const auto& outcome = std::get<logic::EncryptionApplyOutcome>(result);
    ProfileStore::Batch batch = m_context.store.beginBatch();
    for (const logic::StoredValue& write : outcome.onLinkWrites) {
        batch.set("on_link", write.key, write.value);
    }
    if (const platform::WriteResult written = batch.commit(); !written) {
        tellNotSaved(m_context, this,
                     QStringLiteral("The security settings could not be saved, so nothing was changed."),
                     written.reason());
        return;
    }
    if (m_context.mirror.store(outcome.record) == 0) {
        qCWarning(pagesLog) << "the security settings' copy in the registry could not be updated";
    }
    // The Configuration page completes the configuration from here and hands it to the adapter.
    m_context.window.handOver(outcome.record);
    m_context.window.completeApplyOnConfigurationPage();
}
