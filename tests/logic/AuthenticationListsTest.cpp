// The authentication and cipher lists, what their items turn on, and the codes they stand for.
#include "logic/AuthenticationLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace logic;
using enum AuthItem;
using Texts = std::vector<std::string>;

TEST(AuthenticationLists, WhichListAndItsTexts) {
    const Texts separate = {"Open System", "Shared Key", "Auto",     "WPA",
                            "WPA-PSK",     "WPA2",       "WPA2-PSK", "Disable"};
    const Texts combined = {"Open System", "Shared Key", "Auto", "WPA/WPA2", "WPA-PSK/WPA2-PSK", "Disable"};
    const Texts adhoc = {"Auto", "Disable"};
    struct Case {
        const char* autoWpaWpa2;
        bool adhoc;
        AuthList list;
        Texts texts;
        int disablePosition;
    };
    const Case cases[] = {
        {"YES", false, AuthList::Separate, separate, 7},
        {"NO", false, AuthList::Combined, combined, 5},
        {"", false, AuthList::None, {}, -1},
        {"yes", false, AuthList::None, {}, -1},
        {"NO ", false, AuthList::None, {}, -1},
        {"YES", true, AuthList::AdHoc, adhoc, 1},
        {"", true, AuthList::AdHoc, adhoc, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.autoWpaWpa2 << "' adhoc " << c.adhoc);
        EXPECT_EQ(authListFor(c.autoWpaWpa2, c.adhoc), c.list);
        EXPECT_EQ(authItemTexts(c.list), c.texts);
        EXPECT_EQ(authPositionOf(c.list, Disable), c.disablePosition);
    }
    EXPECT_EQ(authItemAt(AuthList::Separate, 5), Wpa2);
    EXPECT_EQ(authItemAt(AuthList::Combined, 4), WpaPskWpa2Psk);
    for (int position : {-1, 8, 100}) {
        EXPECT_EQ(authItemAt(AuthList::Separate, position), std::nullopt) << position;
    }
    EXPECT_EQ(authItemAt(AuthList::None, 0), std::nullopt);
    EXPECT_EQ(authPositionOf(AuthList::AdHoc, OpenSystem), -1);
}

TEST(AuthenticationLists, WhatEachItemBringsAndTurnsOn) {
    struct Case {
        AuthItem item;
        AuthKind kind;
        std::optional<CipherList> cipher;
        AuthControls onSelection;
        AuthControls onEncryptionPageRefresh;
    };
    const Case cases[] = {
        {OpenSystem, AuthKind::Wep, CipherList::WepKey, {false, true, true}, {false, true, true}},
        {SharedKey, AuthKind::Wep, CipherList::WepKey, {false, true, true}, {false, true, true}},
        {Auto, AuthKind::Wep, CipherList::WepKey, {false, true, true}, {false, true, true}},
        {Wpa, AuthKind::Certificate, CipherList::AesTkip, {true, false, false}, {true, false, true}},
        {Wpa2, AuthKind::Certificate, CipherList::AesTkip, {true, false, false}, {true, false, true}},
        {WpaWpa2, AuthKind::Certificate, CipherList::TkipAes, {true, false, true}, {true, false, true}},
        {WpaPsk, AuthKind::Passphrase, CipherList::AesTkip, {true, false, true}, {true, false, true}},
        {Wpa2Psk, AuthKind::Passphrase, CipherList::AesTkip, {true, false, true}, {true, false, true}},
        {WpaPskWpa2Psk, AuthKind::Passphrase, CipherList::TkipAes, {true, false, true}, {true, false, true}},
        {Disable, AuthKind::Disabled, std::nullopt, {false, false, false}, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(authItemText(c.item));
        EXPECT_EQ(authKind(c.item), c.kind);
        EXPECT_EQ(cipherListFor(c.item), c.cipher);
        EXPECT_EQ(authControls(c.item), c.onSelection);
        EXPECT_EQ(authControls(c.item, AuthRuleForm::EncryptionPageRefresh), c.onEncryptionPageRefresh);
    }
    EXPECT_EQ(cipherItems(CipherList::WepKey), Texts{"WEP-Key"});
    EXPECT_EQ(cipherItems(CipherList::AesTkip), (Texts{"AES", "TKIP"}));
    EXPECT_EQ(cipherItems(CipherList::TkipAes), Texts{"TKIP/AES"});
    EXPECT_EQ(cipherItems(CipherList::Desable), Texts{"Desable"});
    EXPECT_EQ(cipherItems(CipherList::Empty), Texts{});
}

// The screens' meaning of a choice, for every item and the cipher positions "AES" (0),
// "TKIP" (1) and none (-1).
TEST(AuthenticationLists, ScreenSecurityModes) {
    struct Case {
        AuthItem item;
        SecurityModes aes, tkip, none;
    };
    const Case cases[] = {
        {OpenSystem, {0, 1}, {0, 1}, {0, 1}},    {SharedKey, {1, 1}, {1, 1}, {1, 1}},
        {Auto, {2, 1}, {2, 1}, {2, 1}},          {Wpa, {3, 3}, {3, 2}, {3, 2}},
        {WpaPsk, {4, 3}, {4, 2}, {4, 2}},        {Wpa2, {6, 3}, {6, 2}, {6, 2}},
        {Wpa2Psk, {7, 3}, {7, 2}, {7, 2}},       {WpaWpa2, {3, 3}, {3, 3}, {3, 3}},
        {WpaPskWpa2Psk, {4, 2}, {4, 2}, {4, 2}}, {Disable, {2, 0}, {2, 0}, {2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(authItemText(c.item));
        EXPECT_EQ(securityModes(c.item, 0), c.aes);
        EXPECT_EQ(securityModes(c.item, 1), c.tkip);
        EXPECT_EQ(securityModes(c.item, -1), c.none);
    }
}

// The reconnection reads the same stored positions, but its tables differ from the screens'
// in these places; everywhere else they agree.
TEST(AuthenticationLists, ReconnectionDiffersFromTheScreensOnPurpose) {
    struct Case {
        AuthList list;
        int authPosition, cipherPosition;
        SecurityModes screens, reconnection;
    };
    const Case differences[] = {
        {AuthList::Separate, 3, 1, {3, 2}, {3, 3}}, // "WPA" with "TKIP": always AES
        {AuthList::Separate, 5, 1, {6, 2}, {6, 3}}, // "WPA2" with "TKIP"
        {AuthList::Combined, 4, 0, {4, 2}, {4, 3}}, // "WPA-PSK/WPA2-PSK" follows the position
    };
    for (const Case& c : differences) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.list) << " " << c.authPosition);
        EXPECT_EQ(securityModes(*authItemAt(c.list, c.authPosition), c.cipherPosition), c.screens);
        EXPECT_EQ(reconnectSecurity(c.list, c.authPosition, c.cipherPosition), c.reconnection);
    }
    for (AuthList list : {AuthList::Separate, AuthList::Combined, AuthList::AdHoc}) {
        for (int position = 0; position < static_cast<int>(authItems(list).size()); ++position) {
            for (int cipher : {-1, 0, 1}) {
                const bool differs =
                    (list == AuthList::Separate && (position == 3 || position == 5) && cipher != 0) ||
                    (list == AuthList::Combined && position == 4 && cipher == 0);
                if (!differs) {
                    EXPECT_EQ(reconnectSecurity(list, position, cipher),
                              securityModes(*authItemAt(list, position), cipher))
                        << static_cast<int>(list) << " " << position << " " << cipher;
                }
            }
        }
        EXPECT_EQ(reconnectSecurity(list, -1, 0), (SecurityModes{0, 0}));
        EXPECT_EQ(reconnectSecurity(list, static_cast<int>(authItems(list).size()), 0),
                  (SecurityModes{0, 0}));
    }
    EXPECT_EQ(reconnectSecurity(AuthList::None, 2, 0), (SecurityModes{0, 0}));
}

// What the profile editor preselects for a surveyed network.
TEST(AuthenticationLists, SurveyedPreselection) {
    struct Case {
        AuthList list;
        int encryption, authentication;
        std::optional<Preselection> expected;
    };
    const Preselection disable{Disable, CipherList::Desable, 0, false};
    const Case cases[] = {
        // Not encrypted: "Disable", whatever the authentication.
        {AuthList::Separate, 0, 0, disable},
        {AuthList::Separate, 0, 4, disable},
        {AuthList::Combined, 0, 7, disable},
        {AuthList::AdHoc, 0, 0, disable},
        {AuthList::Separate, 9, 0, disable},
        // WEP.
        {AuthList::Separate, 1, 0, Preselection{OpenSystem, CipherList::WepKey, 0, true}},
        {AuthList::Separate, 1, 1, Preselection{SharedKey, CipherList::WepKey, 0, true}},
        {AuthList::Combined, 1, 2, Preselection{Auto, CipherList::WepKey, 0, true}},
        {AuthList::Combined, 1, 5, Preselection{Auto, CipherList::WepKey, 0, true}},
        {AuthList::AdHoc, 1, 0, Preselection{Auto, CipherList::WepKey, 0, true}},
        {AuthList::AdHoc, 1, 1, Preselection{Auto, CipherList::WepKey, 0, true}},
        // TKIP selects "TKIP", AES "AES"; the certificate items keep the cipher list off.
        {AuthList::Separate, 2, 3, Preselection{Wpa, CipherList::AesTkip, 1, false}},
        {AuthList::Separate, 2, 4, Preselection{WpaPsk, CipherList::AesTkip, 1, true}},
        {AuthList::Separate, 2, 6, Preselection{Wpa2, CipherList::AesTkip, 1, false}},
        {AuthList::Separate, 2, 7, Preselection{Wpa2Psk, CipherList::AesTkip, 1, true}},
        {AuthList::Separate, 3, 3, Preselection{Wpa, CipherList::AesTkip, 0, false}},
        {AuthList::Separate, 3, 4, Preselection{WpaPsk, CipherList::AesTkip, 0, true}},
        {AuthList::Separate, 3, 6, Preselection{Wpa2, CipherList::AesTkip, 0, false}},
        {AuthList::Separate, 3, 7, Preselection{Wpa2Psk, CipherList::AesTkip, 0, true}},
        {AuthList::Combined, 2, 3, Preselection{WpaWpa2, CipherList::TkipAes, 0, true}},
        {AuthList::Combined, 2, 4, Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true}},
        {AuthList::Combined, 3, 6, Preselection{WpaWpa2, CipherList::TkipAes, 0, true}},
        {AuthList::Combined, 3, 7, Preselection{WpaPskWpa2Psk, CipherList::TkipAes, 0, true}},
        // Nothing to preselect.
        {AuthList::Separate, 2, 0, std::nullopt},
        {AuthList::Combined, 3, 5, std::nullopt},
        {AuthList::AdHoc, 2, 4, std::nullopt},
        {AuthList::None, 1, 0, std::nullopt},
        {AuthList::None, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "list " << static_cast<int>(c.list) << " encryption "
                                        << c.encryption << " authentication " << c.authentication);
        EXPECT_EQ(surveyedPreselection(c.list, c.encryption, c.authentication), c.expected);
    }
}

} // namespace
