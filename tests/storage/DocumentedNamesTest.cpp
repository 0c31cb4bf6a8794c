// What the README and the manual pages tell a user to look for is what the programs make.
#include "storage/ProfileStore.h"
#include "support/ScratchDirectory.h"
#include "support/SourceTree.h"

#include <filesystem>

namespace {

class DocumentedNamesTest : public ScratchDirectory {
protected:
    static std::string document(const char* relative) { return readFile((sourceTree() / relative).string()); }
};

TEST_F(DocumentedNamesTest, FilesAndClicksAreNamedAsTheProgramsHaveThem) {
    // The name the profile store's file gets, as the store writes it.
    ProfileStore().writeOnLinkValue("SSID", "");
    std::string storeName;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        storeName = entry.path().filename().string();
    }
    ASSERT_EQ(storeName, "S.CBA");

    struct Case {
        const char* document;
        std::string holds;
        std::string never; // "" for no such text
    };
    const Case cases[] = {
        {"README.md", "`" + storeName + "` (profiles", "`S.cba`"},
        {"packaging/skyvane.1", ".I " + storeName + "\n", ".I S.cba"},
        // packaging/CMakeLists.txt installs the autostart entry under the program's id.
        {"packaging/skyvane.1", "/etc/xdg/autostart/io.skyvane.Skyvane.desktop", "autostart/skyvane.desktop"},
        // The simulated driver keeps its settings in the world file's name followed by ".state".
        {"packaging/wlansim.1", "wlansim.ini.state", ".IB world .state"},
        // A status-notifier tray has no double-click: one click opens the window there.
        {"README.md", "click its icon to open the window", "double-click its icon to open"},
        {"packaging/skyvane.1", "Click the icon to open its window", "Double-click the icon to open"},
    };
    for (const Case& c : cases) {
        const std::string text = document(c.document);
        EXPECT_NE(text.find(c.holds), std::string::npos) << c.document << " lacks: " << c.holds;
        if (!c.never.empty()) {
            EXPECT_EQ(text.find(c.never), std::string::npos) << c.document << " still says: " << c.never;
        }
    }
}

} // namespace
