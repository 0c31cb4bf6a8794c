#include "logic/AuthenticationLists.h"

#include "model/CodeTables.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace logic {
namespace {

using enum AuthItem;
using namespace codes;

const std::vector<AuthItem> kSeparate = {OpenSystem, SharedKey, Auto, Wpa, WpaPsk, Wpa2, Wpa2Psk, Disable};
const std::vector<AuthItem> kCombined = {OpenSystem, SharedKey, Auto, WpaWpa2, WpaPskWpa2Psk, Disable};
const std::vector<AuthItem> kAdHoc = {Auto, Disable};
const std::vector<AuthItem> kNone = {};

// The encryption code of the "AES", "TKIP" list's choice.
constexpr int32_t listed = -1;

// AES at position 0 of the "AES", "TKIP" list; TKIP for any other position or none.
int32_t listedCipher(int cipherPosition) {
    return cipherPosition == 0 ? codes::encryptionAes : codes::encryptionTkip;
}

// Everything an item is, one row each: a new item is a row here and a place in the lists
// above, after the items the files know, whose positions they store.
struct ItemRow {
    AuthItem item;
    const char* text;
    AuthKind kind;
    std::optional<CipherList> cipher; // none: the item leaves the cipher list as it is
    bool cipherOnWhenPicked;          // the cipher list usable when the user picks the item
    SecurityModes screens;            // the screens' meaning; encryption `listed`: by the list
    SecurityModes reconnection;       // the reconnection's, which differs on purpose
};

// clang-format off
constexpr ItemRow itemRows[] = {
    {OpenSystem,    "Open System",      AuthKind::Wep,         CipherList::WepKey,  true,  {authOpenSystem, encryptionWep}, {authOpenSystem, encryptionWep}},
    {SharedKey,     "Shared Key",       AuthKind::Wep,         CipherList::WepKey,  true,  {authSharedKey, encryptionWep},  {authSharedKey, encryptionWep}},
    {Auto,          "Auto",             AuthKind::Wep,         CipherList::WepKey,  true,  {authAuto, encryptionWep},       {authAuto, encryptionWep}},
    {Wpa,           "WPA",              AuthKind::Certificate, CipherList::AesTkip, false, {authWpa, listed},               {authWpa, encryptionAes}},
    {WpaPsk,        "WPA-PSK",          AuthKind::Passphrase,  CipherList::AesTkip, true,  {authWpaPsk, listed},            {authWpaPsk, listed}},
    {Wpa2,          "WPA2",             AuthKind::Certificate, CipherList::AesTkip, false, {authWpa2, listed},              {authWpa2, encryptionAes}},
    {Wpa2Psk,       "WPA2-PSK",         AuthKind::Passphrase,  CipherList::AesTkip, true,  {authWpa2Psk, listed},           {authWpa2Psk, listed}},
    {WpaWpa2,       "WPA/WPA2",         AuthKind::Certificate, CipherList::TkipAes, true,  {authWpa, encryptionAes},        {authWpa, encryptionAes}},
    {WpaPskWpa2Psk, "WPA-PSK/WPA2-PSK", AuthKind::Passphrase,  CipherList::TkipAes, true,  {authWpaPsk, encryptionTkip},    {authWpaPsk, listed}},
    {Disable,       "Disable",          AuthKind::Disabled,    std::nullopt,        false, {authAuto, encryptionNone},      {authAuto, encryptionNone}},
};
// clang-format on

// One row for every item, in the items' order: an item without its row does not build.
constexpr bool rowsInItemOrder() {
    for (std::size_t i = 0; i < std::size(itemRows); ++i) {
        if (itemRows[i].item != static_cast<AuthItem>(i)) {
            return false;
        }
    }
    return std::size(itemRows) == static_cast<std::size_t>(Disable) + 1;
}
static_assert(rowsInItemOrder());

const ItemRow& rowOf(AuthItem item) {
    return itemRows[static_cast<std::size_t>(item)];
}

SecurityModes withCipher(SecurityModes modes, int cipherPosition) {
    if (modes.encryption == listed) {
        modes.encryption = listedCipher(cipherPosition);
    }
    return modes;
}

} // namespace

AuthList infrastructureAuthList(std::string_view autoWpaWpa2) {
    if (autoWpaWpa2 == "YES") {
        return AuthList::Separate;
    }
    if (autoWpaWpa2 == "NO") {
        return AuthList::Combined;
    }
    return AuthList::None;
}

AuthList authListFor(std::string_view autoWpaWpa2, bool adhoc) {
    return adhoc ? AuthList::AdHoc : infrastructureAuthList(autoWpaWpa2);
}

const std::vector<AuthItem>& authItems(AuthList list) {
    switch (list) {
    case AuthList::Separate:
        return kSeparate;
    case AuthList::Combined:
        return kCombined;
    case AuthList::AdHoc:
        return kAdHoc;
    case AuthList::None:
        break;
    }
    return kNone;
}

std::optional<AuthItem> authItemAt(AuthList list, int position) {
    const std::vector<AuthItem>& items = authItems(list);
    if (position < 0 || static_cast<std::size_t>(position) >= items.size()) {
        return std::nullopt;
    }
    return items[static_cast<std::size_t>(position)];
}

int authPositionOf(AuthList list, AuthItem item) {
    const std::vector<AuthItem>& items = authItems(list);
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

const char* authItemText(AuthItem item) {
    return rowOf(item).text;
}

std::vector<std::string> authItemTexts(AuthList list) {
    std::vector<std::string> texts;
    for (AuthItem item : authItems(list)) {
        texts.emplace_back(authItemText(item));
    }
    return texts;
}

AuthKind authKind(AuthItem item) {
    return rowOf(item).kind;
}

const std::vector<std::string>& cipherItems(CipherList list) {
    static const std::vector<std::string> wepKey = {"WEP-Key"};
    static const std::vector<std::string> aesTkip = {"AES", "TKIP"};
    static const std::vector<std::string> tkipAes = {"TKIP/AES"};
    static const std::vector<std::string> desable = {"Desable"};
    static const std::vector<std::string> empty;
    switch (list) {
    case CipherList::WepKey:
        return wepKey;
    case CipherList::AesTkip:
        return aesTkip;
    case CipherList::TkipAes:
        return tkipAes;
    case CipherList::Desable:
        return desable;
    case CipherList::Empty:
        break;
    }
    return empty;
}

std::optional<CipherList> cipherListFor(AuthItem item) {
    return rowOf(item).cipher;
}

AuthControls authControls(AuthItem item, AuthRuleForm form) {
    const ItemRow& row = rowOf(item);
    const bool secret = row.kind == AuthKind::Certificate || row.kind == AuthKind::Passphrase;
    const bool cipherOn = row.cipherOnWhenPicked || (secret && form == AuthRuleForm::EncryptionPageRefresh);
    return {secret, row.kind == AuthKind::Wep, cipherOn};
}

SecurityModes securityModes(AuthItem item, int cipherPosition) {
    return withCipher(rowOf(item).screens, cipherPosition);
}

SecurityModes reconnectSecurity(AuthList list, int authPosition, int cipherPosition) {
    const std::optional<AuthItem> item = authItemAt(list, authPosition);
    return item ? withCipher(rowOf(*item).reconnection, cipherPosition) : SecurityModes{0, 0};
}

std::optional<Preselection> surveyedPreselection(AuthList list, int encryption, int authentication) {
    const bool encrypted = codes::isEncrypting(encryption);
    if (list == AuthList::None) {
        return std::nullopt;
    }
    if (!encrypted) {
        return Preselection{Disable, CipherList::Desable, 0, false};
    }
    if (encryption == codes::encryptionWep) {
        // A WEP network reporting an authentication outside open, shared and auto still needs
        // its key: "Auto" asks for it and lets the adapter find the method.
        const AuthItem item = list != AuthList::AdHoc && authentication >= codes::authOpenSystem &&
                                      authentication <= codes::authAuto
                                  ? authItems(list)[static_cast<std::size_t>(authentication)]
                                  : Auto;
        return Preselection{item, CipherList::WepKey, 0, true};
    }
    if (list == AuthList::AdHoc) {
        return std::nullopt;
    }
    const bool separate = list == AuthList::Separate;
    const int aesOrTkip = encryption == codes::encryptionAes ? 0 : 1;
    switch (authentication) {
    case codes::authWpa:
        return separate ? Preselection{Wpa, CipherList::AesTkip, aesOrTkip, false}
                        : Preselection{WpaWpa2, CipherList::TkipAes, 0, true};
    case codes::authWpaPsk:
        return separate ? Preselection{WpaPsk, CipherList::AesTkip, aesOrTkip, true}
                        : Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true};
    case codes::authWpa2:
        return separate ? Preselection{Wpa2, CipherList::AesTkip, aesOrTkip, false}
                        : Preselection{WpaWpa2, CipherList::TkipAes, 0, true};
    case codes::authWpa2Psk:
        return separate ? Preselection{Wpa2Psk, CipherList::AesTkip, aesOrTkip, true}
                        : Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true};
    default:
        return std::nullopt;
    }
}

} // namespace logic
