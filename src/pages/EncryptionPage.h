#pragma once

#include "Page.h"

// Authentication, encryption, WEP keys, passphrase and certificate, set by hand.
class EncryptionPage : public Page {
    Q_OBJECT
public:
    EncryptionPage(MainWindowHost& host, QWidget* parent);

    void Refresh();
};
