#include "storage/AppSettings.h"
#include "storage/TextCatalog.h"
#include "support/ScratchDirectory.h"

using SettingsFiles = ScratchDirectory;

TEST_F(SettingsFiles, SetiniValues) {
    writeFile("a.cba",
              "[Setini]\r\nVer=" + std::string(150, 'v') +
                  "\r\nCountryDomain=99\r\nOnOff=51846x\r\n"
                  "Main=.\\skin\\main.bmp\r\nBad=abc\r\n[Check]\r\n11a=1\r\n11b=0\r\nXR=01\r\n11g=2\r\n");
    const AppSettings settings;
    EXPECT_EQ(settings.setiniText("Ver"), std::string(99, 'v'));
    EXPECT_EQ(settings.setiniText("main"), ".\\skin\\main.bmp");
    EXPECT_EQ(settings.setiniText("Missing"), "");
    EXPECT_EQ(settings.skinPath("main"), "./skin/main.bmp");
    EXPECT_EQ(settings.skinPath("Missing"), "");
    const std::pair<const char*, int> numbers[] = {
        {"CountryDomain", 99}, {"OnOff", 51846}, {"Bad", 0}, {"Missing", 0}};
    for (const auto& [key, value] : numbers) {
        EXPECT_EQ(settings.setiniNumber(key), value) << key;
    }
    const std::pair<const char*, bool> boxes[] = {
        {"11a", true}, {"11b", false}, {"XR", true}, {"11g", false}, {"11at", false},
    };
    for (const auto& [key, offered] : boxes) {
        EXPECT_EQ(settings.checkOffered(key), offered) << key;
    }
}

TEST_F(SettingsFiles, MissingFileGivesDefaults) {
    const AppSettings settings;
    EXPECT_EQ(settings.setiniText("Ver"), "");
    EXPECT_EQ(settings.setiniNumber("CountryDomain"), 0);
    EXPECT_FALSE(settings.checkOffered("11b"));
    EXPECT_EQ(settings.readLayout("X"), (AppSettings::LayoutRect{0, 0, 0, 0}));
    EXPECT_FALSE(exists("a.cba")) << "reading never creates the file";
}

TEST_F(SettingsFiles, CountryAndLayoutWrites) {
    writeFile("a.cba", "; delivered\n[Setini]\nCountryDomain=99\nVer=1.0\n[X]\nleft=5\n");
    AppSettings settings;
    settings.writeCountryDomain(-3, "DE");
    EXPECT_EQ(settings.setiniNumber("CountryDomain"), -3);
    EXPECT_EQ(settings.setiniText("CountryDomain"), "-3");
    EXPECT_EQ(settings.setiniText("Country"), "DE");
    settings.writeCountryDomain(2, ""); // a region: the nation chosen before is gone
    EXPECT_EQ(settings.setiniText("Country"), "");
    settings.writeCountryDomain(-3, "DE");

    settings.writeLayout("TAB_MAIN", {1, 2, 3, 4});
    EXPECT_EQ(settings.readLayout("tab_main"), (AppSettings::LayoutRect{1, 2, 3, 4}));
    settings.writeLayouts({{"X", {10, 20, 30, 40}}, {"ABOUT", {-1, 0, 7, 8}}});
    EXPECT_EQ(settings.readLayout("X"), (AppSettings::LayoutRect{10, 20, 30, 40}));
    EXPECT_EQ(settings.readLayout("ABOUT"), (AppSettings::LayoutRect{-1, 0, 7, 8}));
    EXPECT_EQ(readFile("a.cba"),
              "; delivered\n[Setini]\nCountryDomain=-3\nVer=1.0\nCountry=DE\n[X]\nleft=10\ntop=20\n"
              "bottom=40\nright=30\n[TAB_MAIN]\ntop=2\nbottom=4\nright=3\nleft=1\n"
              "[ABOUT]\ntop=0\nbottom=8\nright=7\nleft=-1\n");
}

TEST_F(SettingsFiles, CatalogueLooksUpEachKey) {
    const TextCatalog catalog;
    EXPECT_EQ(catalog.Text("Tx Rate", "Tx Rate"), "Tx Rate") << "no file";
    writeFile("define.ini",
              "[DATA]\nTx Rate=Sendetakt\nLong=" + std::string(600, 'L') + "\nEmpty=\n[Other]\nSSID=x\n");
    EXPECT_EQ(catalog.Text("Tx Rate", "Tx Rate"), "Sendetakt");
    EXPECT_EQ(catalog.Text("SSID", "SSID"), "SSID");
    EXPECT_EQ(catalog.Text("Long", "Long"), std::string(511, 'L'));
    EXPECT_EQ(catalog.Text("Empty", "Empty"), "");
}
