#include "platform/FileSystem.h"

#include "support/ScratchDirectory.h"
#include "support/StrictPermissions.h"

#include <gmock/gmock.h>

#include <dirent.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using platform::CreateResult;
using platform::CreateStatus;
using testing::HasSubstr;

namespace {

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* stream = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(stream)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(stream);
    }
    std::sort(names.begin(), names.end());
    return names;
}

using CreateFileTest = ScratchDirectory;

TEST_F(CreateFileTest, CreatesOnlyWhereNothingIsInTheWay) {
    struct Case {
        const char* name;
        std::function<void()> prepare; // in a fresh folder "f"
        CreateStatus result;
        const char* content;              // of f/target afterwards; nullptr: not a readable file
        std::vector<std::string> entries; // of f afterwards
    };
    namespace fs = std::filesystem;
    const auto nothing = [] {};
    const auto aFile = [] { writeFile("f/target", "old"); };
    const auto aDanglingLink = [] { fs::create_symlink("nowhere", "f/target"); };
    const auto aFolder = [] { fs::create_directory("f/target"); };
    const auto readOnly = [] { fs::permissions("f", fs::perms::owner_read | fs::perms::owner_exec); };
    const Case cases[] = {
        {"nothing there", nothing, CreateStatus::Created, "new", {"target"}},
        {"a file there", aFile, CreateStatus::AlreadyExists, "old", {"target"}},
        {"a dangling link there", aDanglingLink, CreateStatus::AlreadyExists, nullptr, {"target"}},
        {"a folder there", aFolder, CreateStatus::AlreadyExists, nullptr, {"target"}},
        {"read-only folder", readOnly, CreateStatus::Failed, nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeTree("f");
        ASSERT_TRUE(fs::create_directory("f"));
        c.prepare();
        CreateResult result;
        {
            const StrictPermissions strict;
            result = platform::createFileAtomically("f/target", "new", platform::FileAccess::Private);
        }
        EXPECT_EQ(result.status, c.result);
        if (c.result == CreateStatus::Failed) {
            EXPECT_THAT(result.failure, HasSubstr("f/target"));
            EXPECT_THAT(result.failure, HasSubstr("Permission denied"));
        } else {
            EXPECT_EQ(result.failure, "");
        }
        fs::permissions("f", fs::perms::owner_all, fs::perm_options::add);
        if (c.content != nullptr) {
            EXPECT_EQ(readFile("f/target"), c.content);
        }
        EXPECT_EQ(entriesOf("f"), c.entries); // no temporary file stays behind
        EXPECT_FALSE(exists("nowhere")) << "written through the link";
    }
}

TEST_F(CreateFileTest, NewFilesGetTheModeOfTheirAccess) {
    const mode_t previous = ::umask(022);
    EXPECT_EQ(platform::createFileAtomically("private", "x", platform::FileAccess::Private).status,
              CreateStatus::Created);
    EXPECT_EQ(platform::createFileAtomically("shared", "x", platform::FileAccess::Shared).status,
              CreateStatus::Created);
    ::umask(previous);
    EXPECT_EQ(modeOf("private"), 0600U);
    EXPECT_EQ(modeOf("shared"), 0644U);
}

} // namespace
