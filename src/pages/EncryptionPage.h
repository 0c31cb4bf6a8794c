#pragma once

#include "Page.h"

// Authentication, encryption, WEP keys, passphrase and certificate, set by hand.
class EncryptionPage : public Page {
    Q_OBJECT
public:
    EncryptionPage(AppContext& context, QWidget* parent);

    void Refresh();
    void aboutToShow() override { Refresh(); }
};
