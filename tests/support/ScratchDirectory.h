#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
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
        [[maybe_unused]] const int rc = std::system(("rm -rf '" + m_previous + "/" + m_dir + "'").c_str());
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
