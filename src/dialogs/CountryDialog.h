#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;

// The first-run country selector: the chosen country fixes the regulatory domain, which is
// stored in the settings file and handed to the driver by the caller.
class CountryDialog : public QDialog {
    Q_OBJECT
public:
    explicit CountryDialog(QWidget* parent = nullptr, std::string settingsFile = ".\\a.cba");

    // The domain code chosen; valid after the dialog closed with OK.
    int code() const { return m_code; }

    // Empties the list, adds every country and selects the first.
    void resetChoices();

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onSelectionChanged(int index);

    std::string m_settingsFile;
    int m_code = 0;
    QComboBox* m_countryCombo;
    QLabel* m_domainLabel;
    QLabel* m_channelsLabel;
};
