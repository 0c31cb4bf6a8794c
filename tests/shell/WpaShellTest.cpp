// The main window over the wpa_supplicant backend and Debian's wpa_supplicant on the loopback
// interface, one monitor cycle and one status tick at a time: the supplicant's arrival is a
// plug-in that applies the network chosen last, the window reads the block back, and a survey
// (which the "none" driver cannot make) shows an empty list, not an error.
#include "ShellFixture.h"
#include "adapter/WpaSupplicantBackend.h"
#include "shell/Backends.h"
#include "support/RealSupplicant.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include <filesystem>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class WpaShellTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        if (RealSupplicant::binary().empty()) {
            GTEST_SKIP() << "wpa_supplicant is not installed (scripts/deps installs wpasupplicant)";
        }
        ShellTest::SetUp();
        // Socket paths are short: the supplicant's folder lives in /tmp.
        char pattern[] = "/tmp/skyvane-wpa-shell.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        supplicant =
            std::make_unique<RealSupplicant>(m_folder, "network={\n\tssid=\"home\"\n\tkey_mgmt=NONE\n}\n");
    }

    void TearDown() override {
        ShellTest::TearDown();
        supplicant.reset();
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }

    // Wired as the program wires it: the country as the settings file keeps it.
    std::shared_ptr<WpaSupplicantBackend> backend() {
        WpaSupplicantBackend::Options options;
        options.chosenCountry = [this] {
            const ChosenCountry chosen = chosenCountry(m_settings);
            return WpaSupplicantBackend::CountryChoice{chosen.channelPlan, chosen.isoCode};
        };
        options.interfaceName = supplicant->interfaceName();
        options.controlDirectory = supplicant->controlDirectory();
        options.scanTimeout = 10s; // the production limit: the scan's failure must end the survey
        options.systemService = [](const std::string&) { return SystemServiceReport{}; };
        options.openSettings = [] {};
        return std::make_shared<WpaSupplicantBackend>(options);
    }

    std::unique_ptr<RealSupplicant> supplicant;

private:
    std::string m_folder;
};

TEST_F(WpaShellTest, TheSupplicantsArrivalAppliesTheNetworkChosenLastAndTheSurveyIsEmpty) {
    shelltest::writeOnLink("Cafe");
    MainDialog& window = openOn(backend());
    second();
    EXPECT_TRUE(window.state().unplugged()) << "no supplicant yet";

    std::string why;
    if (!supplicant->start(why)) {
        GTEST_SKIP() << "wpa_supplicant cannot run here: " << why;
    }
    second(); // up, not associated: "on_link" rebuilt
    second(); // the adapter's second to settle
    second(); // applied
    second(); // read back
    EXPECT_FALSE(window.state().unplugged());
    const auto blocks = supplicant->blocks({"id_str", "ssid", "key_mgmt", "disabled"});
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks.at(0).at("ssid"), "\"home\"");
    EXPECT_EQ(blocks.at(1).at("id_str"), "\"skyvane\"");
    EXPECT_EQ(blocks.at(1).at("ssid"), "\"Cafe\"");
    EXPECT_EQ(blocks.at(1).at("key_mgmt"), "NONE");
    EXPECT_EQ(blocks.at(1).at("disabled"), "0");
    EXPECT_STREQ(window.state().currentConfig().cSSID, "Cafe");
    EXPECT_EQ(window.state().currentConfig().NetworkType, 1);
    EXPECT_EQ(window.state().linkStatus().connected, 0);
    EXPECT_STREQ(window.state().adapterInfo().hardwareId, "lo");

    // The survey: the "none" driver's scan fails at once; the page ends its wait on an empty list.
    window.onTrayDoubleClick();
    child<SkinButton>("siteSurveyButton")->click();
    // The survey's end reaches the window through its event queue.
    waitFor([&] { return !window.state().surveyRunning() && m_ui.waitCursorDepth() == 0; }, 30s);
    ASSERT_FALSE(window.state().surveyRunning());
    EXPECT_EQ(m_ui.waitCursorDepth(), 0);
    EXPECT_TRUE(window.state().survey().empty());
    EXPECT_TRUE(m_ui.messages().empty()) << m_ui.messages().front().text.toStdString();
    EXPECT_FALSE(window.state().unplugged()) << "a scan the driver cannot make is no fault of the adapter's";
}

// The country chosen at the first start reaches the supplicant when the adapter comes up, and
// the window reads the plan it was chosen with.
TEST_F(WpaShellTest, TheCountryChosenAtTheFirstStartIsTheSupplicants) {
    std::string why;
    if (!supplicant->start(why)) {
        GTEST_SKIP() << "wpa_supplicant cannot run here: " << why;
    }
    shelltest::writeSettings(shelltest::Settings().country("99"));
    m_ui.queueModal([](QDialog& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("countryCombo"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Germany")));
        dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return dialog.result();
    });
    MainDialog& window = openOn(backend());
    second();
    second();
    EXPECT_EQ(supplicant->request("GET country"), "DE");
    EXPECT_EQ(window.state().channelPlanCode(), 2);
    EXPECT_TRUE(m_ui.messages().empty());
}

} // namespace
