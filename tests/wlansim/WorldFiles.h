#pragma once

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

// Small world files for the tests, each in a folder of its own under the test's scratch dir.
namespace worldfiles {

inline std::string freshFolder() {
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string folder =
        std::string(test->test_suite_name()) + "." + test->name() + "." + std::to_string(++counter);
    for (char& c : folder) {
        if (c == '/')
            c = '_';
    }
    std::filesystem::remove_all(folder); // nothing of an earlier run may remain
    std::filesystem::create_directory(folder);
    return folder;
}

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the file and moves its modification time on, so that a change is seen even when
// it lands within the file system's time granularity.
inline void writeWorld(const std::string& path, const std::string& text) {
    static long tick = 1000000;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    struct timespec times[2] = {{++tick, 0}, {tick, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace worldfiles
