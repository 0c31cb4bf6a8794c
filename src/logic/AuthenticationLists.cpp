#include "logic/AuthenticationLists.h"

#include <algorithm>
#include <cstddef>

namespace logic {
namespace {

using enum AuthItem;

const std::vector<AuthItem> kSeparate = {OpenSystem, SharedKey, Auto, Wpa, WpaPsk, Wpa2, Wpa2Psk, Disable};
const std::vector<AuthItem> kCombined = {OpenSystem, SharedKey, Auto, WpaWpa2, WpaPskWpa2Psk, Disable};
const std::vector<AuthItem> kAdHoc = {Auto, Disable};
const std::vector<AuthItem> kNone = {};

// AES at position 0 of the "AES", "TKIP" list; TKIP for any other position or none.
int32_t listedCipher(int cipherPosition) {
    return cipherPosition == 0 ? 3 : 2;
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
    switch (item) {
    case OpenSystem:
        return "Open System";
    case SharedKey:
        return "Shared Key";
    case Auto:
        return "Auto";
    case Wpa:
        return "WPA";
    case WpaPsk:
        return "WPA-PSK";
    case Wpa2:
        return "WPA2";
    case Wpa2Psk:
        return "WPA2-PSK";
    case WpaWpa2:
        return "WPA/WPA2";
    case WpaPskWpa2Psk:
        return "WPA-PSK/WPA2-PSK";
    case Disable:
        break;
    }
    return "Disable";
}

std::vector<std::string> authItemTexts(AuthList list) {
    std::vector<std::string> texts;
    for (AuthItem item : authItems(list)) {
        texts.emplace_back(authItemText(item));
    }
    return texts;
}

AuthKind authKind(AuthItem item) {
    switch (item) {
    case OpenSystem:
    case SharedKey:
    case Auto:
        return AuthKind::Wep;
    case Wpa:
    case Wpa2:
    case WpaWpa2:
        return AuthKind::Certificate;
    case WpaPsk:
    case Wpa2Psk:
    case WpaPskWpa2Psk:
        return AuthKind::Passphrase;
    case Disable:
        break;
    }
    return AuthKind::Disabled;
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
    switch (item) {
    case OpenSystem:
    case SharedKey:
    case Auto:
        return CipherList::WepKey;
    case Wpa:
    case WpaPsk:
    case Wpa2:
    case Wpa2Psk:
        return CipherList::AesTkip;
    case WpaWpa2:
    case WpaPskWpa2Psk:
        return CipherList::TkipAes;
    case Disable:
        break;
    }
    return std::nullopt;
}

AuthControls authControls(AuthItem item, AuthRuleForm form) {
    switch (item) {
    case OpenSystem:
    case SharedKey:
    case Auto:
        return {false, true, true};
    case Wpa:
    case Wpa2:
        return {true, false, form == AuthRuleForm::EncryptionPageRefresh};
    case WpaPsk:
    case Wpa2Psk:
    case WpaWpa2:
    case WpaPskWpa2Psk:
        return {true, false, true};
    case Disable:
        break;
    }
    return {false, false, false};
}

SecurityModes securityModes(AuthItem item, int cipherPosition) {
    switch (item) {
    case OpenSystem:
        return {0, 1};
    case SharedKey:
        return {1, 1};
    case Auto:
        return {2, 1};
    case Wpa:
        return {3, listedCipher(cipherPosition)};
    case WpaPsk:
        return {4, listedCipher(cipherPosition)};
    case Wpa2:
        return {6, listedCipher(cipherPosition)};
    case Wpa2Psk:
        return {7, listedCipher(cipherPosition)};
    case WpaWpa2:
        return {3, 3};
    case WpaPskWpa2Psk:
        return {4, 2};
    case Disable:
        break;
    }
    return {2, 0};
}

SecurityModes reconnectSecurity(AuthList list, int authPosition, int cipherPosition) {
    const std::optional<AuthItem> item = authItemAt(list, authPosition);
    if (!item) {
        return {0, 0};
    }
    switch (*item) {
    case Wpa:
    case WpaWpa2:
        return {3, 3};
    case Wpa2:
        return {6, 3};
    case WpaPsk:
    case WpaPskWpa2Psk:
        return {4, listedCipher(cipherPosition)};
    default:
        return securityModes(*item, cipherPosition);
    }
}

std::optional<Preselection> surveyedPreselection(AuthList list, int encryption, int authentication) {
    const bool encrypted = encryption >= 1 && encryption <= 3;
    if (list == AuthList::None) {
        return std::nullopt;
    }
    if (!encrypted) {
        return Preselection{Disable, CipherList::Desable, 0, false};
    }
    if (encryption == 1) {
        // A WEP network reporting an authentication outside open, shared and auto still needs
        // its key: "Auto" asks for it and lets the adapter find the method.
        const AuthItem item = list != AuthList::AdHoc && authentication >= 0 && authentication <= 2
                                  ? authItems(list)[static_cast<std::size_t>(authentication)]
                                  : Auto;
        return Preselection{item, CipherList::WepKey, 0, true};
    }
    if (list == AuthList::AdHoc) {
        return std::nullopt;
    }
    const bool separate = list == AuthList::Separate;
    const int aesOrTkip = encryption == 3 ? 0 : 1;
    switch (authentication) {
    case 3:
        return separate ? Preselection{Wpa, CipherList::AesTkip, aesOrTkip, false}
                        : Preselection{WpaWpa2, CipherList::TkipAes, 0, true};
    case 4:
        return separate ? Preselection{WpaPsk, CipherList::AesTkip, aesOrTkip, true}
                        : Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true};
    case 6:
        return separate ? Preselection{Wpa2, CipherList::AesTkip, aesOrTkip, false}
                        : Preselection{WpaWpa2, CipherList::TkipAes, 0, true};
    case 7:
        return separate ? Preselection{Wpa2Psk, CipherList::AesTkip, aesOrTkip, true}
                        : Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true};
    default:
        return std::nullopt;
    }
}

} // namespace logic
