// The text catalogues the program delivers: the German one answers every text the windows look
// up, and holds no key that none of them asks for (a misspelt key would leave its text English
// without a word). The texts looked up are those of the list below, which holds the texts that
// reach the catalogue through a table or a variable, and every literal the windows' sources
// pass to a catalogue look-up: a text added there is missed here without anyone listing it.
#include "storage/TextCatalog.h"
#include "support/SourceTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// The texts that reach the catalogue through a table or a variable, by where they are shown.
const std::set<std::string> kListed = {
    // the tray's tip
    "Skyvane Configuration Utility",
    // Link Info
    "Status",
    "SSID",
    "Frequency",
    "Wireless Mode",
    "Encryption",
    "Tx Rate",
    "Channel",
    "Link Quality",
    "Signal Strength",
    "Receive",
    "Transmit",
    // Site Survey's list
    "MAC(BSSID)",
    "Signal",
    "Security",
    // profile editor and Configuration
    "Auto",
    "Ad-hoc",
    "Infrastructure",
    "Continuous Access Mode",
    "Maximum Power Save",
    "Power Save",
    "64 bits",
    "128 bits",
    "ASCII",
    "HEX",
    "AdHoc Band",
    "Power Mode",
    "Preamble",
    "Support Band",
    "Long Preamble",
    "Short & Long Preamble",
    // Encryption and the passphrase rules
    "Auth. Mode",
    "Default Key",
    "Network Key",
    "Key Length",
    "Key Format",
    "The Passphrase must be between 8 and 63 characters.",
    "A Hexidecimal Passphrase must be 64 characters.",
    // Site Survey's groups, buttons and questions
    "Available Network",
    "Profile",
    "Refresh",
    "Connect",
    "Connect with profile",
    "Up",
    "Down",
    "Add",
    "Remove",
    "Properties",
    "Remove the profile \"%1\"?",
    "The profile could not be removed.",
    "The profile could not be moved.",
    // the profile editor
    "Profile Name",
    "Apply",
    "Cancel",
    "The profile list is full. Remove a profile before you add another.",
    "The profile could not be saved, so nothing was changed.",
};

std::string sourceFile(const std::string& relative) {
    return (sourceTree() / relative).string();
}

// A C++ string literal's text as the program sees it: \" and \\ stand for one character.
std::string unescaped(const std::string& literal) {
    std::string text;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == '\\' && i + 1 < literal.size()) {
            ++i;
        }
        text += literal[i];
    }
    return text;
}

// Every literal the sources of the windows and their rules pass to a look-up: context.text("..."),
// a form's text("...") and texts.Text("...", ...). Setters such as setText( are not look-ups.
std::set<std::string> literalsLookedUp() {
    static const std::regex call(R"re((?:^|[^A-Za-z0-9_])(?:text|Text)\(\s*"((?:[^"\\]|\\.)*)")re");
    std::set<std::string> found;
    for (const char* folder : {"src/pages", "src/dialogs", "src/shell", "src/controls", "src/logic"}) {
        const std::filesystem::path root = sourceFile(folder);
        if (!std::filesystem::exists(root)) {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") {
                continue;
            }
            std::ifstream in(entry.path());
            const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (auto it = std::sregex_iterator(source.begin(), source.end(), call);
                 it != std::sregex_iterator(); ++it) {
                found.insert(unescaped((*it)[1].str()));
            }
        }
    }
    return found;
}

const std::set<std::string>& lookedUp() {
    static const std::set<std::string> all = [] {
        std::set<std::string> texts = kListed;
        const std::set<std::string> literals = literalsLookedUp();
        texts.insert(literals.begin(), literals.end());
        return texts;
    }();
    return all;
}

// The keys of section DATA, as written.
std::set<std::string> keysOf(const std::string& path) {
    std::ifstream in(path);
    std::set<std::string> keys;
    std::string line;
    bool inData = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            inData = line == "[DATA]";
            continue;
        }
        if (inData && line.find('=') != std::string::npos) {
            keys.insert(line.substr(0, line.find('=')));
        }
    }
    return keys;
}

// Whether text is well-formed UTF-8 (the windows read the catalogue's values as UTF-8).
bool isUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

TEST(DeliveredCatalogues, TheSourcesLookUpTheirLiterals) {
    const std::set<std::string> literals = literalsLookedUp();
    for (const char* text : {"Link Quality", "No adapter", "Continuous Access Mode"}) {
        EXPECT_EQ(literals.count(text), 1U) << text;
    }
    EXPECT_EQ(literals.count("Skyvane Configuration Utility"), 0U) << "passed as a variable, listed above";
}

TEST(DeliveredCatalogues, GermanAnswersEveryTextLookedUpAndNothingElse) {
    const std::string path = sourceFile("resources/translations/define.de.ini");
    const TextCatalog german(path);
    int translated = 0;
    for (const std::string& key : lookedUp()) {
        const std::string text = german.Text(key, "\x01missing");
        EXPECT_NE(text, "\x01missing") << key;
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_TRUE(isUtf8(text)) << key;
        translated += text != key ? 1 : 0;
    }
    EXPECT_GT(translated, 0);
    for (const std::string& key : keysOf(path)) {
        EXPECT_EQ(lookedUp().count(key), 1U) << "no window looks up \"" << key << "\"";
    }
    EXPECT_EQ(german.Text("Link Quality", "Link Quality"), "Verbindungsqualit\xc3\xa4t");
}

TEST(DeliveredCatalogues, TheEnglishOneChangesNoText) {
    const std::string path = sourceFile("resources/run/define.ini");
    EXPECT_TRUE(keysOf(path).empty());
    const TextCatalog english(path);
    for (const std::string& key : lookedUp()) {
        EXPECT_EQ(english.Text(key, key), key);
    }
}

} // namespace
