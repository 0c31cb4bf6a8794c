// The Configuration and Encryption pages in the real window over the recording driver: an Apply
// on the Encryption page ends on the Configuration page, which completes the configuration, and
// the next tick hands the whole of it to the adapter.
#include "ShellFixture.h"
#include "model/CodeTables.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>
#include <vector>

namespace shelltest {
namespace {

class SettingsPages : public ShellTest {
protected:
    QWidget* page(const char* name) const { return child<QWidget>(name); }
    template <typename T> T* on(const char* pageName, const char* name) const {
        T* widget = page(pageName)->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << pageName << " " << name;
        return widget;
    }
    void answerPassphrase(const QString& passphrase) {
        m_ui.queueModal([passphrase](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("passphraseEdit")->setText(passphrase);
            dialog.accept();
            return dialog.result();
        });
    }
    std::vector<std::string> settingCalls() const {
        std::vector<std::string> calls;
        for (const std::string& call : m_driver.calls()) {
            if (call.rfind("API_Set", 0) == 0) {
                calls.push_back(call);
            }
        }
        return calls;
    }
    static std::string call(const char* name, const std::string& arguments) {
        return std::string(name) + " " + arguments;
    }
};

TEST_F(SettingsPages, EncryptionApplyReachesTheAdapterWithinOneTick) {
    writeOnLink("HomeNet"); // infrastructure, 11b and 11g, no security
    open();
    second();
    child<SkinButton>("encryptionButton")->click();
    ASSERT_FALSE(page("encryptionPage")->isHidden());
    on<QComboBox>("encryptionPage", "authModeCombo")->setCurrentIndex(6);   // "WPA2-PSK"
    on<QComboBox>("encryptionPage", "encryptionCombo")->setCurrentIndex(0); // "AES"
    answerPassphrase("sunflower meadow 42");
    on<QPushButton>("encryptionPage", "configurationButton")->click();
    m_driver.clearCalls();

    on<SkinButton>("encryptionPage", "applyButton")->click();
    EXPECT_FALSE(page("linkInfoPage")->isHidden()) << "the Configuration page completed the Apply";
    EXPECT_TRUE(settingCalls().empty()) << "pages never apply themselves";
    EXPECT_TRUE(m_window->state().applyPending());
    EXPECT_TRUE(m_ui.messages().empty());

    second();
    const std::vector<std::string> calls = settingCalls();
    const auto has = [&](const std::string& line) {
        return std::find(calls.begin(), calls.end(), line) != calls.end();
    };
    EXPECT_TRUE(has(call("API_SetNetworkType", std::to_string(codes::networkTypeToDriver(1)))));
    EXPECT_TRUE(has(call("API_SetAuthenticationMode", std::to_string(codes::authenticationToDriver(7)))));
    EXPECT_TRUE(has(call("API_SetEncryptionMode", std::to_string(codes::encryptionToDriver(3)))));
    EXPECT_TRUE(has(call("API_SetWPAPSKKey", std::to_string(codes::encryptionToDriver(3)) +
                                                 R"( "sunflower meadow 42" "HomeNet")")));
    // The Configuration page's part: the network's modes and name from "on_link".
    EXPECT_TRUE(has("API_SetWirelessMode 1,0,0,0,1,0,0,0,0,0,0,0"));
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), R"(API_SetSSID "HomeNet")");
    EXPECT_FALSE(m_window->state().applyPending());

    // "on_link" holds the choice for the reconnection.
    const OnLinkRecord stored = m_store.ReadOnLink();
    EXPECT_EQ(stored.AuthListIndex, 6);
    EXPECT_EQ(stored.CipherListIndex, 0);
    EXPECT_EQ(stored.WPAPassPhase, "sunflower meadow 42");
    EXPECT_EQ(stored.SSID, "HomeNet");
}

TEST_F(SettingsPages, ALaterConfigurationApplyKeepsTheSecurity) {
    writeOnLink("HomeNet");
    open();
    second();
    child<SkinButton>("encryptionButton")->click();
    on<QComboBox>("encryptionPage", "authModeCombo")->setCurrentIndex(4);   // "WPA-PSK"
    on<QComboBox>("encryptionPage", "encryptionCombo")->setCurrentIndex(1); // "TKIP"
    answerPassphrase("tea and biscuits");
    on<QPushButton>("encryptionPage", "configurationButton")->click();
    on<SkinButton>("encryptionPage", "applyButton")->click();
    second();

    child<SkinButton>("configButton")->click();
    ASSERT_FALSE(page("configPage")->isHidden());
    on<QComboBox>("configPage", "powerModeCombo")->setCurrentIndex(2);
    m_driver.clearCalls();
    on<SkinButton>("configPage", "applyButton")->click();
    EXPECT_FALSE(page("linkInfoPage")->isHidden());
    second();
    const std::vector<std::string> calls = settingCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        call("API_SetPowerSaveMode", std::to_string(codes::powerSaveToDriver(2)))),
              calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        call("API_SetWPAPSKKey", std::to_string(codes::encryptionToDriver(2)) +
                                                     R"( "tea and biscuits" "HomeNet")")),
              calls.end());
}

} // namespace
} // namespace shelltest
