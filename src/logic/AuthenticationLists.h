#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The security choices the Encryption page and the profile editor offer, and what they mean
// for the adapter. A screen shows one of three authentication lists; which one depends on the
// setting AutoWPAWPA2 and the network type. The stored "Auth Mode" and "Encryation Mode" are
// positions in these lists, so the lists' order is part of the file format.
namespace logic {

enum class AuthList {
    Separate, // AutoWPAWPA2 "YES": WPA and WPA2 as items of their own
    Combined, // AutoWPAWPA2 "NO": "WPA/WPA2" and "WPA-PSK/WPA2-PSK"
    AdHoc,    // an ad hoc network: "Auto", "Disable"
    None,     // infrastructure with any other AutoWPAWPA2: the list stays empty
};

// The list for an infrastructure network: "YES" and "NO" exactly, case and blanks included.
AuthList infrastructureAuthList(std::string_view autoWpaWpa2);
AuthList authListFor(std::string_view autoWpaWpa2, bool adhoc);

// In the order of the item table in AuthenticationLists.cpp, "Disable" last.
enum class AuthItem {
    OpenSystem,
    SharedKey,
    Auto,
    Wpa,
    WpaPsk,
    Wpa2,
    Wpa2Psk,
    WpaWpa2,
    WpaPskWpa2Psk,
    Disable,
};

const std::vector<AuthItem>& authItems(AuthList list);
// The item at a list position; nullopt for a position the list does not have.
std::optional<AuthItem> authItemAt(AuthList list, int position);
// The position of an item in a list, -1 when the list lacks it.
int authPositionOf(AuthList list, AuthItem item);
// "Open System", "Shared Key", "Auto", "WPA", "WPA-PSK", "WPA2", "WPA2-PSK", "WPA/WPA2",
// "WPA-PSK/WPA2-PSK", "Disable". Never translated.
const char* authItemText(AuthItem item);
std::vector<std::string> authItemTexts(AuthList list);

// What an item asks the user for.
enum class AuthKind {
    Wep,         // "Open System", "Shared Key", "Auto": the four WEP keys
    Certificate, // "WPA", "WPA2", "WPA/WPA2": 802.1X certificate data
    Passphrase,  // "WPA-PSK", "WPA2-PSK", "WPA-PSK/WPA2-PSK": a pre-shared passphrase
    Disabled,    // "Disable": nothing
};
AuthKind authKind(AuthItem item);

// The cipher ("Encryption") list contents.
enum class CipherList {
    WepKey,  // "WEP-Key"
    AesTkip, // "AES", "TKIP": position 0 is AES
    TkipAes, // "TKIP/AES"
    Desable, // "Desable" (the stored spelling)
    Empty,
};
const std::vector<std::string>& cipherItems(CipherList list);

// The cipher list an item brings along; nullopt for "Disable", which leaves the list as it is.
std::optional<CipherList> cipherListFor(AuthItem item);

// Which controls an authentication item turns on. keyControls: the WEP key fields, their length
// lists, the default-key choice and the key format.
struct AuthControls {
    bool configButton;
    bool keyControls;
    bool cipherEnabled;
    bool operator==(const AuthControls&) const = default;
};
// SelectionChange: the rule when the user picks an item, and the profile editor's only form.
// EncryptionPageRefresh: the Encryption page showing its stored choice, which leaves the
// cipher list of "WPA" and "WPA2" on.
enum class AuthRuleForm { SelectionChange, EncryptionPageRefresh };
AuthControls authControls(AuthItem item, AuthRuleForm form = AuthRuleForm::SelectionChange);

struct SecurityModes {
    int32_t authentication; // AuthenticationMode
    int32_t encryption;     // EncryptionMode
    bool operator==(const SecurityModes&) const = default;
};

// The Encryption page's and the profile editor's meaning of a choice; cipherPosition is the
// selected position of the cipher list (-1: none). "WPA", "WPA-PSK", "WPA2" and "WPA2-PSK"
// use AES when position 0 ("AES") is selected and TKIP otherwise; the combined items have
// fixed ciphers.
SecurityModes securityModes(AuthItem item, int cipherPosition);

// The reconnection's meaning of the stored "Auth Mode" and "Encryation Mode" positions. It
// differs from securityModes on purpose: "WPA" and "WPA2" always use AES, the combined
// passphrase item follows the cipher position, and a position the list lacks (or the list
// None) gives open authentication without encryption.
SecurityModes reconnectSecurity(AuthList list, int authPosition, int cipherPosition);

// The profile editor's choice for a surveyed network: which item and cipher to preselect.
struct Preselection {
    AuthItem item;
    CipherList cipher;
    int cipherPosition;
    bool cipherEnabled;
    bool operator==(const Preselection&) const = default;
};
// encryption and authentication as the survey reports them (EncryptionMode 0..3,
// AuthenticationMode 0..7). nullopt: nothing to preselect; the screen keeps "Disable" as its
// network type rule left it.
std::optional<Preselection> surveyedPreselection(AuthList list, int encryption, int authentication);

} // namespace logic
