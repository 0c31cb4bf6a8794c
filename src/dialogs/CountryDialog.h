#pragma once

#include <QDialog>

class AppSettings;
class QComboBox;
class QLabel;
class UiServices;

// The first-run country selector: the chosen country fixes the regulatory domain, which is
// stored in the settings file and handed to the driver by the caller.
class CountryDialog : public QDialog {
    Q_OBJECT
public:
    CountryDialog(QWidget* parent, AppSettings& settings, UiServices& ui);

    // The domain code chosen; valid after the dialog closed with OK.
    int code() const { return m_code; }

    // Empties the list, adds every country and selects the first.
    void resetChoices();

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onSelectionChanged(int index);

    AppSettings& m_settings;
    UiServices& m_ui;
    int m_code = 0;
    QComboBox* m_countryCombo;
    QLabel* m_domainLabel;
    QLabel* m_channelsLabel;
};
