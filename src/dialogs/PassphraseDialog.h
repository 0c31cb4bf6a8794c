#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class TextCatalog;
class UiServices;

// "Define WPA PSK": collects a WPA passphrase, 8 to 63 characters or 64 hex digits, in a masked
// field. The caller gives the current passphrase, runs the dialog and, on OK, reads it back; on
// Cancel it keeps its own. The two warnings are looked up in the text catalogue.
class PassphraseDialog : public QDialog {
    Q_OBJECT
public:
    // passphrase: UTF-8, as stored. Only one of exactly 64 characters lets the user type 64.
    PassphraseDialog(UiServices& ui, const TextCatalog& texts, const std::string& passphrase,
                     QWidget* parent = nullptr);

    // The passphrase as read by the last OK (UTF-8).
    const std::string& passphrase() const { return m_passphrase; }

    void accept() override;

private:
    UiServices& m_ui;
    const TextCatalog& m_texts;
    std::string m_passphrase;
    QLineEdit* m_passphraseEdit;
};
