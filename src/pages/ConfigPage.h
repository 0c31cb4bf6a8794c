#pragma once

#include "logic/ConfigForm.h"
#include "pages/Page.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class SkinButton;

// Network type, SSID, band, channel, wireless modes, power saving and preamble, set by hand.
// A view over logic::ConfigForm: it shows the form's state and forwards the user's input.
class ConfigPage : public Page {
    Q_OBJECT
public:
    ConfigPage(AppContext& context, QWidget* parent);

    void Load();  // from the configuration chosen last
    void Apply(); // hands the page's configuration to the next status tick

    // Loaded before it shows: nothing it shows changes while the window switches to it.
    void aboutToShow() override { Load(); }
    void completeApply() override { Apply(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createRows();
    void createBandBoxes();
    void placeBandBoxes();
    void render();

    logic::ConfigForm m_form;
    QLineEdit* m_ssidEdit = nullptr;
    QComboBox* m_networkTypeCombo = nullptr;
    QComboBox* m_bandCombo = nullptr;
    QComboBox* m_channelCombo = nullptr;
    QComboBox* m_powerModeCombo = nullptr;
    QComboBox* m_preambleCombo = nullptr;
    std::array<SkinButton*, logic::bandBoxCount> m_boxes{};
    std::array<QLabel*, logic::bandBoxCount> m_boxCaptions{};
};
