#pragma once

#include "logic/EncryptionForm.h"
#include "pages/Page.h"

#include <array>

class KeyEdit;
class QComboBox;
class QPushButton;

// Authentication, encryption, WEP keys, passphrase and certificate, set by hand. A view over
// logic::EncryptionForm: it shows the form's state and forwards the user's input. Its Apply ends
// on the Configuration page, which completes the configuration and hands it to the adapter.
class EncryptionPage : public Page {
    Q_OBJECT
public:
    EncryptionPage(AppContext& context, QWidget* parent);

    void Refresh();
    void Apply();
    void aboutToShow() override { Refresh(); }

private:
    void createSecurityRows();
    void createKeyTable();
    void onConfigurationClicked();
    void onKeyEdited(int key);
    // Shows the form; a message an operation returned comes after, over the updated page.
    void render(const std::optional<logic::FormMessage>& message = std::nullopt);

    logic::EncryptionForm m_form;
    QComboBox* m_authModeCombo = nullptr;
    QComboBox* m_cipherCombo = nullptr;
    QPushButton* m_configurationButton = nullptr;
    std::array<KeyEdit*, 4> m_keyEdits{};
    std::array<QComboBox*, 4> m_keyLengthCombos{};
    QComboBox* m_defaultKeyCombo = nullptr;
    QComboBox* m_keyFormatCombo = nullptr;
};
