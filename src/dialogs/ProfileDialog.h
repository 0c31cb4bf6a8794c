#pragma once

#include "logic/ProfileForm.h"

#include <QDialog>

#include <array>
#include <optional>

struct AppContext;
class BitmapButton;
class ColorGroupBox;
class KeyEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Profile": the profile editor, a view over a logic::ProfileForm. It shows the form's state and
// hands every input to the form, whose rules decide; after each input it shows the state again.
// Apply runs the form's checks, then saves the profile with "on_link" and hands the
// configuration over (saveAcceptedProfile); the dialog closes with OK only when all of that
// happened. Cancel, Esc and the window's close button write nothing.
class ProfileDialog : public QDialog {
    Q_OBJECT
public:
    // form: loaded for its mode already.
    ProfileDialog(AppContext& context, logic::ProfileForm form, QWidget* parent = nullptr);

    const logic::ProfileForm& form() const { return m_form; }

    // Apply.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter applies, whichever control has the focus

private:
    void build();
    void buildNetworkPart(class QGridLayout* grid);
    ColorGroupBox* buildBandGroup();
    ColorGroupBox* buildSecurityGroup();
    void connectInputs();
    void render();
    void inform(const std::optional<logic::FormMessage>& message);
    void onConfig();
    QString text(const char* english) const;

    AppContext& m_context;
    logic::ProfileForm m_form;
    bool m_rendering = false; // the controls are being set from the form, not by the user

    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_ssidEdit = nullptr;
    QComboBox* m_networkTypeCombo = nullptr;
    QComboBox* m_bandCombo = nullptr;
    QComboBox* m_channelCombo = nullptr;
    QComboBox* m_powerModeCombo = nullptr;
    std::array<QCheckBox*, logic::bandBoxCount> m_bandBoxes{};
    QComboBox* m_authCombo = nullptr;
    QComboBox* m_cipherCombo = nullptr;
    QPushButton* m_configButton = nullptr;
    std::array<QRadioButton*, 4> m_defaultKeyRadios{};
    std::array<KeyEdit*, 4> m_keyEdits{};
    std::array<QComboBox*, 4> m_keyLengthCombos{};
    QComboBox* m_keyFormatCombo = nullptr;
    BitmapButton* m_applyButton = nullptr;
    BitmapButton* m_cancelButton = nullptr;
};
