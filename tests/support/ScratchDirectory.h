#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Runs each test in a fresh directory of its own, so files named relatively (".\a.cba")
// land there.
class ScratchDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "scratch.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        char* cwd = ::getcwd(nullptr, 0);
        m_previous = cwd;
        std::free(cwd);
        ASSERT_EQ(::chdir(m_dir.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(::chdir(m_previous.c_str()), 0);
        removeTree(m_previous + "/" + m_dir);
    }

    // Gives the owner back read, write and search permission on path and everything under it
    // (links are not followed), wherever a test took it.
    static void giveBackOwnerAccess(const std::filesystem::path& path) {
        namespace fs = std::filesystem;
        std::error_code error;
        if (fs::is_symlink(path, error) || !fs::exists(path, error)) {
            return;
        }
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
        if (!fs::is_directory(path, error)) {
            return;
        }
        std::error_code walk;
        for (auto entry = fs::recursive_directory_iterator(path, walk); !walk && entry != fs::end(entry);
             entry.increment(walk)) {
            if (!entry->is_symlink(error)) {
                fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
            }
        }
    }
    // Removes path with everything under it, read-only folders included.
    static void removeTree(const std::filesystem::path& path) {
        giveBackOwnerAccess(path);
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }

    static void writeFile(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }
    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static bool exists(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0;
    }
    static mode_t modeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }

private:
    std::string m_dir;
    std::string m_previous;
};
