#pragma once

#include "logic/FormControls.h"
#include "logic/SecuritySection.h"
#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// The Encryption page without its window: the security section in the page's flavour, filled
// from "on_link", and the page's Apply as one function from the form to what is stored and
// handed on.
//
// The page shows "on_link", the configuration chosen last, and refreshes from it each time it
// is shown and on Cancel. A view renders the state after every call and forwards the user's
// input to the operations.
namespace logic {

// The page shows nothing but the security section.
using EncryptionFormState = SecurityState;

class EncryptionForm {
public:
    // The page as created: the authentication list of an infrastructure network by
    // AutoWPAWPA2 with "Disable" selected, the key lists at their first items.
    explicit EncryptionForm(const OnLinkRecord& onLink);

    // Fills the form from "on_link" and forgets what the dialogs gave since the last refresh.
    // Returns the message of the key format check when the stored default key is not
    // hexadecimal under format "HEX" (the key is then emptied).
    std::optional<FormMessage> refresh(const OnLinkRecord& onLink);

    const EncryptionFormState& state() const { return m_security.state(); }
    const SecuritySection& securitySection() const { return m_security; }
    std::optional<AuthItem> selectedAuthItem() const { return m_security.selectedItem(); }
    // bsstype of the "on_link" the form shows: the passphrase and 802.1X data are stored only
    // for an infrastructure network.
    int storedNetworkType() const { return m_storedNetworkType; }

    // The user's input. Input to a control that is disabled, or a position the list does not
    // have, is ignored. An operation that returns a message has changed the form already; the
    // view shows the message and renders the state.
    std::optional<FormMessage> selectAuthentication(int position) {
        return m_security.selectAuthentication(position);
    }
    void selectCipher(int position) { m_security.selectCipher(position); }
    std::optional<FormMessage> selectDefaultKey(int position) {
        return m_security.selectDefaultKey(position);
    }
    std::optional<FormMessage> selectKeyLength(int key, int position) {
        return m_security.selectKeyLength(key, position);
    }
    std::optional<FormMessage> selectKeyFormat(int position) { return m_security.selectKeyFormat(position); }
    // key 0..3: the field's text after the user's edit, and whether the field still shows it
    // masked. Applies the key-length limit.
    void setKeyText(int key, std::string text, bool masked) {
        m_security.setKeyText(key, std::move(text), masked);
    }

    // The "Configuration" button: which dialog, and what it starts with.
    ConfigDialog configDialog() const { return m_security.configDialog(); }
    std::string passphrasePreset() const { return passphrase(); }
    CertificateValues certificatePreset() const { return certificate(); }
    void acceptPassphrase(std::string passphrase) { m_security.acceptPassphrase(std::move(passphrase)); }
    void acceptCertificate(CertificateValues values) { m_security.acceptCertificate(std::move(values)); }

    // What Apply stores: the dialog's values when it gave some since the page was refreshed,
    // else those of "on_link", so an Apply that changes only the cipher keeps the network's
    // passphrase and certificate.
    std::string passphrase() const { return state().passphrase; }
    CertificateValues certificate() const { return state().certificate; }

private:
    SecuritySection m_security;
    int m_storedNetworkType = 0;
};

// Apply refuses only for the default key; nothing has been written then.
using EncryptionApplyStop = KeyRefusal;

// Apply accepted: the "on_link" writes in their order (secrets already in their stored form),
// and the record for the registry mirror, whose settings part is handed on to the Configuration
// page's Apply.
struct EncryptionApplyOutcome {
    std::vector<StoredValue> onLinkWrites;
    StationConfig record{};
};

using EncryptionApplyResult = std::variant<EncryptionApplyStop, EncryptionApplyOutcome>;

// The page's Apply. fromMirror: a zeroed record the registry mirror has been loaded into, the
// starting point of every field the page does not set.
EncryptionApplyResult applyEncryptionForm(const EncryptionForm& form, const StationConfig& fromMirror);

} // namespace logic
