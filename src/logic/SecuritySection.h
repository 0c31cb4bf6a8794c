#pragma once

#include "logic/AuthenticationLists.h"
#include "logic/FormControls.h"
#include "model/ProfileRecords.h"
#include "model/StationConfig.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The security section of the profile editor and of the Encryption page, without its window:
// authentication, cipher, the configuration button, the four WEP keys with their lengths, the
// default key and the key format, and the passphrase and 802.1X values the button's dialogs
// give; every rule that ties them together; and what an accepted choice puts into the
// configuration and the file. A form holds one, hands it the stored values and the user's input,
// and its view shows the section's state as it is.
//
// The two screens grew apart in a few places, and users know each as it is: SecurityFlavour
// names every such place, and everything else is one rule for both. A new authentication item
// is a row of the item tables (AuthenticationLists) and, when it asks for values of its own, a
// kind that this section stores and hands to the configuration.
namespace logic {

// The 802.1X values of the certificate dialog.
struct CertificateValues {
    std::string certificate; // identifier of the client certificate
    std::string authority;   // identifier of the certification authority
    std::string domain;      // server/domain name
    std::string login;       // login name
    bool operator==(const CertificateValues&) const = default;
};

// The dialog the configuration button opens.
enum class ConfigDialog { None, Certificate, Passphrase };

// How the screen offers the default key.
enum class DefaultKeyControl {
    RadioButtons, // the editor's: all four can be unchecked, as a record without a marked key is
    List,         // the page's "1".."4": a record without a marked key keeps the selection
};

// The order of the stored security values, which the file's sections keep.
enum class SecurityWriteOrder {
    Profile, // modes, keys, format and lengths, default-key marks, secrets
    OnLink,  // modes, default-key marks, keys, secrets, format and lengths
};

// Where the profile editor and the Encryption page differ.
struct SecurityFlavour {
    std::array<const char*, 2> keyLengthTexts; // English, looked up when the section has a lookup
    DefaultKeyControl defaultKey;
    // Picking "Disable" keeps the cipher list's items; otherwise it empties the list.
    bool pickedDisableKeepsCipher;
    // The cipher list of a stored "Disable" when it is shown.
    CipherList storedDisableCipher;
    // The enabling of a stored item when it is shown (the page leaves "WPA"'s cipher list on).
    AuthRuleForm storedRule;
    // Showing a stored choice checks the default key's format (emptying a key that fails it);
    // otherwise Apply finds such a key.
    bool checkFormatWhenShown;
    SecurityWriteOrder writeOrder;
};

inline constexpr SecurityFlavour profileEditorSecurity{
    .keyLengthTexts = {"64 bits", "128 bits"},
    .defaultKey = DefaultKeyControl::RadioButtons,
    .pickedDisableKeepsCipher = true,
    .storedDisableCipher = CipherList::Desable,
    .storedRule = AuthRuleForm::SelectionChange,
    .checkFormatWhenShown = false,
    .writeOrder = SecurityWriteOrder::Profile,
};

inline constexpr SecurityFlavour encryptionPageSecurity{
    .keyLengthTexts = {"64bits", "128bits"},
    .defaultKey = DefaultKeyControl::List,
    .pickedDisableKeepsCipher = false,
    .storedDisableCipher = CipherList::Empty,
    .storedRule = AuthRuleForm::EncryptionPageRefresh,
    .checkFormatWhenShown = true,
    .writeOrder = SecurityWriteOrder::OnLink,
};

struct SecurityState {
    ChoiceList authentication;
    ChoiceList cipher;
    bool configEnabled = false;          // the configuration button
    std::array<KeyField, 4> keys;        // the key as typed, also while shown masked
    std::array<ChoiceList, 4> keyLength; // "64 bits", "128 bits" or "64bits", "128bits"
    ChoiceList defaultKey;               // "1".."4", as radio buttons or a list
    ChoiceList keyFormat;                // "ASCII", "HEX"
    // The stored passphrase and 802.1X values until a dialog gives others.
    std::string passphrase;
    CertificateValues certificate;

    // Which list the authentication items come from: it gives the selected position its meaning.
    AuthList authList = AuthList::None;

    bool operator==(const SecurityState&) const = default;
};

// The default WEP key's refusal at Apply, and the key field to empty (-1: none).
struct KeyRefusal {
    FormMessage message;
    int emptyKeyField = -1;
    bool operator==(const KeyRefusal&) const = default;
};

class SecuritySection {
public:
    // The lists filled, the authentication list's "Disable" selected, key 1 the default key.
    // lookup translates the key lengths and formats; without one they show as they are.
    SecuritySection(const SecurityFlavour& flavour, AuthList list, const TextLookup& lookup = {});

    const SecurityState& state() const { return m_state; }
    std::optional<AuthItem> selectedItem() const;
    // Disabled when no item is selected: such a network is open.
    AuthKind selectedKind() const;
    // The default key 0..3, -1 when none is.
    int defaultKey() const { return m_state.defaultKey.selected; }

    // What the form sets. The stored "Encryation Mode" of "on_link" is what an item with the
    // "AES", "TKIP" list preselects when the user picks it.
    void setStoredCipher(int position) { m_storedCipher = position; }
    // The list's items with "Disable" selected; the rest waits for the authentication rule.
    void fillAuthentication(AuthList list);
    void setCipher(CipherList list, int selected);
    // The enabling and the cipher list for the selected item, as when the user picks it; a WEP
    // item starts at key 1, whose format it checks.
    std::optional<FormMessage> authenticationRule();
    // The default key's field cut to its length, and its format checked.
    std::optional<FormMessage> formatRule();
    // A surveyed network's item and cipher.
    void preselect(const Preselection& preselection);
    // A stored choice: the item at authPosition, the cipher position of the "AES", "TKIP" list,
    // the keys with their lengths, format and marks, the passphrase and 802.1X values; each key
    // goes in as if typed. The keys end masked. Returns the format check's message.
    std::optional<FormMessage> showStored(const SecurityFields& stored, int authPosition, int cipherPosition);
    void maskKeys();

    // The user's input. Input to a control that is off, or a position the list does not have, is
    // ignored. An operation that returns a message has changed the section already.
    std::optional<FormMessage> selectAuthentication(int position);
    void selectCipher(int position);
    std::optional<FormMessage> selectDefaultKey(int key);
    // key 0..3: the field's text after the user's edit, and whether it still shows masked.
    void setKeyText(int key, std::string text, bool masked);
    std::optional<FormMessage> selectKeyLength(int key, int position);
    std::optional<FormMessage> selectKeyFormat(int position);

    // The configuration button's dialog for the selected item: none while the button is off.
    ConfigDialog configDialog() const;
    void acceptPassphrase(std::string passphrase);
    void acceptCertificate(CertificateValues values);

    // Apply: the default key's length and digits (only a WEP item with a default key has one).
    std::optional<KeyRefusal> checkAtApply() const;
    // The modes, and the secrets or the default key, into the configuration; the typed default
    // key also into the full record's field for it.
    void setSecurity(StationSettings& record) const;
    void setSecurity(StationConfig& record) const;
    // The stored values in the flavour's order: the secrets as the record holds them (the adapter's
    // fields), and only for an infrastructure network.
    std::vector<StoredValue> storedValues(const StationSettings& record, bool infrastructure) const;

private:
    void setKeyControls(bool on);
    void enableFor(AuthItem item, AuthRuleForm form, int cipherPosition);
    void enableForStored(int cipherPosition);
    void markDefaultKey(const SecurityFields& stored);
    std::optional<FormMessage> defaultKeyRule();
    void keyLimitRule(int key);

    SecurityFlavour m_flavour;
    SecurityState m_state;
    int m_storedCipher = 0;
};

} // namespace logic
