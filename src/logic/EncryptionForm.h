#pragma once

#include "logic/AuthenticationLists.h"
#include "logic/ProfileForm.h"
#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The Encryption page without its window: authentication, cipher, the four WEP keys with their
// lengths, the default key and the key format, and the passphrase or 802.1X data that the
// "Configuration" button's dialogs give; the rules that tie them together; and the page's Apply
// as one function from the form to what is stored and handed on.
//
// The page shows "on_link", the configuration chosen last, and refreshes from it each time it
// is shown and on Cancel. A view renders EncryptionFormState after every call and forwards the
// user's input to the operations.
namespace logic {

struct EncryptionFormState {
    ChoiceList authentication;
    ChoiceList cipher;
    bool configEnabled = false;          // the "Configuration" button
    std::array<KeyField, 4> keys;        // the key as typed, also while shown masked
    std::array<ChoiceList, 4> keyLength; // "64bits", "128bits"
    ChoiceList defaultKey;               // "1".."4"
    ChoiceList keyFormat;                // "ASCII", "HEX"

    // Which list the authentication items come from: it gives the selected position its meaning.
    AuthList authList = AuthList::None;

    bool operator==(const EncryptionFormState&) const = default;
};

class EncryptionForm {
public:
    // The page as created: the authentication list of an infrastructure network by
    // AutoWPAWPA2 with "Disable" selected, the key lists at their first items.
    explicit EncryptionForm(const OnLinkRecord& onLink);

    // Fills the form from "on_link" and forgets what the dialogs gave since the last refresh.
    // Returns the message of the key format check when the stored default key is not
    // hexadecimal under format "HEX" (the key is then emptied).
    std::optional<FormMessage> refresh(const OnLinkRecord& onLink);

    const EncryptionFormState& state() const { return m_state; }
    std::optional<AuthItem> selectedAuthItem() const;
    // bsstype of the "on_link" the form shows: the passphrase and 802.1X data are stored only
    // for an infrastructure network.
    int storedNetworkType() const { return m_onLink.bsstype; }

    // The user's input. Input to a control that is disabled, or a position the list does not
    // have, is ignored. An operation that returns a message has changed the form already; the
    // view shows the message and renders the state.
    std::optional<FormMessage> selectAuthentication(int position);
    void selectCipher(int position);
    std::optional<FormMessage> selectDefaultKey(int position);
    std::optional<FormMessage> selectKeyLength(int key, int position);
    std::optional<FormMessage> selectKeyFormat(int position);
    // key 0..3: the field's text after the user's edit, and whether the field still shows it
    // masked. Applies the key-length limit.
    void setKeyText(int key, std::string text, bool masked);

    // The "Configuration" button: which dialog, and what it starts with.
    ConfigDialog configDialog() const;
    std::string passphrasePreset() const { return passphrase(); }
    CertificateValues certificatePreset() const { return certificate(); }
    void acceptPassphrase(std::string passphrase);
    void acceptCertificate(CertificateValues values);

    // What Apply stores: the dialog's values when it gave some since the page was refreshed,
    // else those of "on_link", so an Apply that changes only the cipher keeps the network's
    // passphrase and certificate.
    std::string passphrase() const;
    CertificateValues certificate() const;

private:
    enum class RuleForm { Refresh, SelectionChange };

    void fillAuthentication(AuthList list);
    void setCipher(CipherList list, int selected);
    void setKeyControls(bool on);
    void enableForItem(RuleForm form);
    std::optional<FormMessage> defaultKeyRule();
    std::optional<FormMessage> formatRule();
    void keyLimitRule(int key);

    OnLinkRecord m_onLink;
    EncryptionFormState m_state;
    std::optional<std::string> m_givenPassphrase;
    std::optional<CertificateValues> m_givenCertificate;
};

// Apply refused: the message, and the key field to empty (-1: none). Nothing has been written.
struct EncryptionApplyStop {
    FormMessage message;
    int emptyKeyField = -1;
    bool operator==(const EncryptionApplyStop&) const = default;
};

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
