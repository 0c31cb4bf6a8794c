#pragma once
// The dialog behind a security form's configuration button: the passphrase dialog for a
// pre-shared key, the certificate dialog for 802.1X. It opens on the form's present values, so an
// OK at once keeps them; what the user accepts goes back to the form. Both the profile editor
// and the Encryption page use it.

#include "context/AppContext.h"
#include "controls/UiServices.h"
#include "dialogs/CertificateDialog.h"
#include "dialogs/PassphraseDialog.h"
#include "logic/SecuritySection.h"

#include <QDialog>

template <typename Form> void runSecurityDialog(AppContext& context, Form& form, QWidget* parent) {
    switch (form.configDialog()) {
    case logic::ConfigDialog::Passphrase: {
        PassphraseDialog dialog(context.ui, context.texts, form.passphrasePreset(), parent);
        if (context.ui.runModal(dialog) == QDialog::Accepted) {
            form.acceptPassphrase(dialog.passphrase());
        }
        break;
    }
    case logic::ConfigDialog::Certificate: {
        CertificateDialog dialog(context.certificates, context.ui, context.texts, form.certificatePreset(),
                                 parent);
        if (context.ui.runModal(dialog) == QDialog::Accepted) {
            form.acceptCertificate(dialog.choice());
        }
        break;
    }
    case logic::ConfigDialog::None:
        break;
    }
}
