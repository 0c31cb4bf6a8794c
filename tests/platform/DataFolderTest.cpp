#include "platform/DataFolder.h"

#include "support/ScratchDirectory.h"
#include "support/StrictPermissions.h"

#include <gmock/gmock.h>

#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

using platform::DeliveredFiles;
using platform::FolderEnvironment;
using testing::ElementsAreArray;
using testing::HasSubstr;

namespace {

std::string currentDirectory() {
    char* cwd = ::getcwd(nullptr, 0);
    std::string path = cwd;
    std::free(cwd);
    return path;
}

// Every entry under folder, hidden ones included, as "name" or "sub/name", in byte order.
std::vector<std::string> entriesUnder(const std::string& folder, const std::string& prefix = "") {
    std::vector<std::string> names;
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        names.push_back(prefix + name);
        struct stat info {};
        if (::stat((folder + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            for (const std::string& inner : entriesUnder(folder + "/" + name, prefix + name + "/")) {
                names.push_back(inner);
            }
        }
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

// The delivered files as installed: run files, skin and one translated catalogue.
const std::map<std::string, std::string> kDelivered = {
    {"run/a.cba", "[Setini]\nVer=1.0.0\n"},
    {"run/b.cba", "[on_link]\n"},
    {"run/define.ini", "[DATA]\n"},
    {"run/wlansim.ini", "[adapter]\nPresent=1\n"},
    {"skin/Main.bmp", "face"},
    {"skin/Close.bmp", "close"},
    {"translations/define.de.ini", "[DATA]\nStatus=Zustand\n"},
};

const std::vector<std::string> kEverything = {"a.cba",          "b.cba",         "define.ini", "skin",
                                              "skin/Close.bmp", "skin/Main.bmp", "wlansim.ini"};

class DataFolderTest : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        std::signal(SIGXFSZ, SIG_IGN); // a write past the file size limit fails instead
        m_scratch = currentDirectory();
        for (const char* folder :
             {"delivered", "delivered/run", "delivered/skin", "delivered/translations"}) {
            ASSERT_EQ(::mkdir(folder, 0755), 0);
        }
        for (const auto& [name, content] : kDelivered) {
            writeFile("delivered/" + name, content);
        }
        ASSERT_EQ(::mkdir("home", 0755), 0);
        ASSERT_EQ(::mkdir("elsewhere", 0755), 0);
    }

    std::string scratch(const std::string& name) const { return m_scratch + "/" + name; }
    DeliveredFiles delivered() const {
        return {scratch("delivered/run"), scratch("delivered/skin"), scratch("delivered/translations")};
    }
    FolderEnvironment environment(const std::string& locale = "") const {
        return {scratch("elsewhere"), "", scratch("home"), locale};
    }

    std::string m_scratch;
};

TEST_F(DataFolderTest, ChoosesTheGivenFolderThenAPreparedCurrentOneThenTheUsersDataFolder) {
    struct Case {
        const char* name;
        std::optional<std::string> given;
        const char* settingsFileInCurrent; // nullptr: the current directory holds none
        const char* xdgDataHome;
        const char* home;
        std::optional<std::string> expected; // relative to the scratch folder unless absolute
    };
    const Case cases[] = {
        {"absolute folder given", "/srv/wlan", nullptr, "", "/home/u", "/srv/wlan"},
        {"relative folder given", "portable/", "a.cba", "", "/home/u", "elsewhere/portable"},
        {"current folder given", ".", nullptr, "", "/home/u", "elsewhere"},
        {"prepared current folder", std::nullopt, "a.cba", "/data", "/home/u", "elsewhere"},
        {"settings file spelled otherwise", std::nullopt, "A.CBA", "", "/home/u", "elsewhere"},
        {"XDG_DATA_HOME", std::nullopt, nullptr, "/data/", "/home/u", "/data/skyvane"},
        {"relative XDG_DATA_HOME is ignored", std::nullopt, nullptr, "data", "/home/u",
         "/home/u/.local/share/skyvane"},
        {"home alone", std::nullopt, nullptr, "", "/home/u", "/home/u/.local/share/skyvane"},
        {"no home at all", std::nullopt, nullptr, "", "", std::nullopt},
    };
    // A current directory that was removed has no name: a relative folder stays relative
    // instead of becoming one under the root.
    EXPECT_EQ(
        platform::chooseWorkingFolder(std::string("portable"), FolderEnvironment{"", "", "/home/u", ""}),
        "portable");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : std::filesystem::directory_iterator(scratch("elsewhere"))) {
            ASSERT_TRUE(std::filesystem::remove(entry.path()));
        }
        if (c.settingsFileInCurrent != nullptr) {
            writeFile(scratch("elsewhere/") + c.settingsFileInCurrent, "[Setini]\n");
        }
        const FolderEnvironment env{scratch("elsewhere"), c.xdgDataHome, c.home, ""};
        std::optional<std::string> expected = c.expected;
        if (expected && (*expected)[0] != '/') {
            expected = scratch(*expected);
        }
        EXPECT_EQ(platform::chooseWorkingFolder(c.given, env), expected);
    }
}

TEST_F(DataFolderTest, LanguagesComeFromTheLocaleName) {
    struct Case {
        const char* locale;
        std::vector<std::string> languages;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", {"de_DE", "de"}},
        {"de_AT@euro", {"de_AT", "de"}},
        {"de", {"de"}},
        {"en_US.UTF-8", {"en_US", "en"}},
        {"C", {}},
        {"C.UTF-8", {}},
        {"POSIX", {}},
        {"", {}},
        {"../../etc/x", {}}, // becomes part of a file name: never a path
        {"de_../x", {"de"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::catalogueLanguages(c.locale), c.languages) << c.locale;
    }
}

// What a folder holds before a start, and what the start must leave.
struct SeedCase {
    const char* name;
    const char* locale;
    std::map<std::string, std::string> before; // files in the working folder beforehand
    std::vector<std::string> copied;
    std::map<std::string, std::string> after; // contents to find afterwards (besides the copies)
};

TEST_F(DataFolderTest, SeedsWhatTheFolderLacksAndKeepsEveryFileOfTheUsers) {
    const std::string german = kDelivered.at("translations/define.de.ini");
    const SeedCase cases[] = {
        {"fresh home", "", {}, kEverything, {{"define.ini", "[DATA]\n"}}},
        {"fresh home, German", "de_DE.UTF-8", {}, kEverything, {{"define.ini", german}}},
        {"fresh home, Austrian German", "de_AT.UTF-8", {}, kEverything, {{"define.ini", german}}},
        {"fresh home, no French catalogue", "fr_FR.UTF-8", {}, kEverything, {{"define.ini", "[DATA]\n"}}},
        {"partly seeded, changed files kept",
         "de_DE.UTF-8",
         {{"a.cba", "[Setini]\nCountryDomain=49\n"}, {"skin/Main.bmp", "my face"}, {"S.cba", "mine"}},
         {"b.cba", "define.ini", "skin/Close.bmp", "wlansim.ini"},
         {{"a.cba", "[Setini]\nCountryDomain=49\n"}, {"skin/Main.bmp", "my face"}, {"S.cba", "mine"}}},
        {"an English catalogue stays under a German locale",
         "de_DE.UTF-8",
         {{"define.ini", "[DATA]\nStatus=State\n"}},
         {"a.cba", "b.cba", "skin", "skin/Close.bmp", "skin/Main.bmp", "wlansim.ini"},
         {{"define.ini", "[DATA]\nStatus=State\n"}}},
        {"names matched without regard to case",
         "",
         {{"A.CBA", "upper"}, {"Skin/MAIN.BMP", "upper"}},
         {"b.cba", "define.ini", "Skin/Close.bmp", "wlansim.ini"},
         {{"A.CBA", "upper"}, {"Skin/MAIN.BMP", "upper"}}},
        {"fully seeded",
         "",
         {{"a.cba", "1"},
          {"b.cba", "2"},
          {"define.ini", "3"},
          {"wlansim.ini", "4"},
          {"skin/Main.bmp", "5"},
          {"skin/Close.bmp", "6"}},
         {},
         {{"a.cba", "1"}, {"skin/Close.bmp", "6"}}},
    };
    int round = 0;
    for (const SeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = scratch("work" + std::to_string(round++));
        for (const auto& [name, content] : c.before) {
            std::filesystem::create_directories(std::filesystem::path(folder + "/" + name).parent_path());
            writeFile(folder + "/" + name, content);
        }
        const auto seeded =
            platform::seedWorkingFolder(folder, delivered(), platform::catalogueLanguages(c.locale));
        ASSERT_TRUE(seeded.ok) << seeded.message;
        std::vector<std::string> copied = seeded.copied;
        std::sort(copied.begin(), copied.end());
        std::vector<std::string> expectedCopies = c.copied;
        expectedCopies.erase(std::remove(expectedCopies.begin(), expectedCopies.end(), "skin"),
                             expectedCopies.end());
        std::sort(expectedCopies.begin(), expectedCopies.end());
        EXPECT_THAT(copied, ElementsAreArray(expectedCopies));
        for (const std::string& name : expectedCopies) {
            if (name != "define.ini") {
                const std::string deliveredName =
                    (name.rfind("kin/", 1) == 1 ? "skin/" : "run/") + name.substr(name.find('/') + 1);
                EXPECT_EQ(readFile(folder + "/" + name), kDelivered.at(deliveredName)) << name;
                EXPECT_EQ(modeOf(folder + "/" + name), 0600U) << name;
            }
        }
        for (const auto& [name, content] : c.after) {
            EXPECT_EQ(readFile(folder + "/" + name), content) << name;
        }
        for (const std::string& entry : entriesUnder(folder)) {
            EXPECT_TRUE(entry[0] != '.' && entry.find("/.") == std::string::npos) << "left behind: " << entry;
        }
    }
}

TEST_F(DataFolderTest, AFreshHomeGetsAnOwnerOnlyFolderAndStartsInIt) {
    const auto entered = platform::enterWorkingFolder(std::nullopt, environment(), delivered());
    ASSERT_TRUE(entered.ok) << entered.message;
    const std::string folder = scratch("home/.local/share/skyvane");
    EXPECT_EQ(entered.path, folder);
    EXPECT_EQ(currentDirectory(), folder);
    EXPECT_EQ(entriesUnder("."), kEverything);
    for (const char* created : {"home/.local", "home/.local/share", "home/.local/share/skyvane"}) {
        EXPECT_EQ(modeOf(scratch(created)), 0700U) << created;
    }
    EXPECT_EQ(modeOf(scratch("home")), 0755U); // what existed keeps its mode
}

// The cases where the folder cannot be used: a clear message, no start, nothing half-copied.
TEST_F(DataFolderTest, AFolderThatCannotBeWrittenStopsTheStartWithAClearMessage) {
    struct Case {
        const char* name;
        std::string given;                    // relative to the scratch folder
        std::function<void()> prepare;        // run in the scratch folder first
        std::vector<std::string> expect;      // parts of the message
        std::vector<std::string> left;        // everything under "left" afterwards
        rlim_t fileSizeLimit = RLIM_INFINITY; // a disk that fills up halfway through a file
    };
    namespace fs = std::filesystem;
    const auto readOnlyFolder = [](const char* path) {
        return [path] {
            fs::create_directories(path);
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
        };
    };
    const Case cases[] = {
        {"read-only folder",
         "left",
         readOnlyFolder("left"),
         {"cannot write to the working folder " + scratch("left"), "Permission denied", "skyvane FOLDER"},
         {}},
        {"folder in a read-only parent",
         "left/skyvane",
         readOnlyFolder("left"),
         {"cannot create the working folder " + scratch("left/skyvane"), "Permission denied"},
         {}},
        {"a file where the folder should be",
         "left/a.cba",
         [] {
             fs::create_directory("left");
             writeFile("left/a.cba", "x\n");
         },
         {"cannot create the working folder " + scratch("left/a.cba"), "not a folder"},
         {"a.cba"}},
        {"read-only skin folder: the copies before it stay whole, nothing of the failed one is left",
         "left",
         readOnlyFolder("left/skin"),
         {"cannot copy skin/Close.bmp into the working folder", "Permission denied"},
         {"a.cba", "b.cba", "define.ini", "skin", "wlansim.ini"}},
        {"a write that fails halfway through the first file",
         "left",
         [] { fs::create_directory("left"); },
         {"cannot copy a.cba into the working folder", "File too large"},
         {},
         12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeTree("left");
        c.prepare();
        const std::string before = currentDirectory();
        platform::WorkingFolder entered;
        {
            const StrictPermissions strict;
            rlimit previous{};
            ::getrlimit(RLIMIT_FSIZE, &previous);
            rlimit limited = previous;
            limited.rlim_cur = c.fileSizeLimit;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
            entered = platform::enterWorkingFolder(scratch(c.given), environment(), delivered());
            ::setrlimit(RLIMIT_FSIZE, &previous);
        }
        EXPECT_FALSE(entered.ok);
        for (const std::string& part : c.expect) {
            EXPECT_THAT(entered.message, HasSubstr(part));
        }
        EXPECT_EQ(currentDirectory(), before);
        giveBackOwnerAccess("left");
        EXPECT_EQ(entriesUnder(scratch("left")), c.left);
        for (const std::string& name : c.left) {
            if (name != "skin" && name != "a.cba" && name != "define.ini") {
                EXPECT_EQ(readFile(scratch("left/") + name), kDelivered.at("run/" + name));
            }
        }
    }
}

TEST_F(DataFolderTest, WithoutDeliveredFilesTheFolderIsMadeButNotSeeded) {
    const auto entered = platform::enterWorkingFolder(std::string("bare"), environment(), std::nullopt);
    ASSERT_TRUE(entered.ok) << entered.message;
    EXPECT_EQ(currentDirectory(), scratch("elsewhere/bare"));
    EXPECT_TRUE(entriesUnder(".").empty());
}

TEST_F(DataFolderTest, DeliveredFilesAreFoundBesideTheInstalledProgramOrInTheSourceTree) {
    for (const char* folder : {"usr/bin", "usr/share/skyvane", "build/src/app", "empty/bin"}) {
        std::filesystem::create_directories(folder);
    }
    writeFile("usr/share/skyvane/a.cba", "x\n");
    writeFile("build/src/app/skyvane-resources", scratch("delivered") + "\n");
    writeFile("usr/bin/skyvane-resources", scratch("delivered") + "\n"); // the installed data wins
    struct Case {
        const char* executable;
        std::optional<DeliveredFiles> expected;
    };
    const std::string installed = scratch("usr/share/skyvane");
    const std::string source = scratch("delivered");
    const Case cases[] = {
        {"usr/bin/skyvane", DeliveredFiles{installed, installed + "/skin", installed + "/translations"}},
        {"build/src/app/skyvane",
         DeliveredFiles{source + "/run", source + "/skin", source + "/translations"}},
        {"empty/bin/skyvane", std::nullopt},
        {"skyvane", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        const auto found = platform::findDeliveredFiles(
            c.executable[0] == 's' ? std::string(c.executable) : scratch(c.executable), "../share/skyvane");
        ASSERT_EQ(found.has_value(), c.expected.has_value());
        if (found) {
            EXPECT_EQ(found->runFolder, c.expected->runFolder);
            EXPECT_EQ(found->skinFolder, c.expected->skinFolder);
            EXPECT_EQ(found->catalogueFolder, c.expected->catalogueFolder);
        }
    }
}

} // namespace
