#pragma once
// The skyvane executable as a child process of a test, with files for its output.

#include "support/SourceTree.h"
#include "support/WaitFor.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

// The program under test: SKYVANE_EXE when it is set (ctest sets it), else this build's own.
inline std::string programPath() {
    const char* named = std::getenv("SKYVANE_EXE");
    return named != nullptr && *named != '\0' ? named : SKYVANE_PROGRAM;
}

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A working folder like an installed one at run: the delivered files named, a config and an
// owner-only runtime folder, and the country already chosen (countryLines replace the pending
// CountryDomain line of the settings file). False when the settings file had no such line.
inline bool prepareRunFolder(const std::filesystem::path& run, const std::vector<std::string>& files,
                             const std::string& countryLines) {
    namespace fs = std::filesystem;
    const fs::path delivered = sourceTree() / "resources" / "run";
    fs::remove_all(run);
    fs::create_directories(run / "config");
    fs::create_directories(run / "runtime");
    fs::permissions(run / "runtime", fs::perms::owner_all);
    for (const std::string& name : files) {
        fs::copy_file(delivered / name, run / name);
    }
    std::string settings = readAll(run / "a.cba");
    const auto at = settings.find("CountryDomain=99");
    if (at == std::string::npos) {
        return false;
    }
    settings.replace(at, 16, countryLines);
    writeAll(run / "a.cba", settings);
    return true;
}

class Program {
public:
    struct Start {
        std::vector<std::string> arguments;
        std::vector<std::string> unset; // variables of the test's environment the program lacks
        std::filesystem::path output;   // where its standard output and error go; "" inherits
    };

    // Starts the program in folder with the test's environment, changed by overrides.
    Program(const std::filesystem::path& folder, const std::map<std::string, std::string>& overrides,
            const Start& start = {}) {
        std::map<std::string, std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const auto eq = entry.find('=');
            env[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
        }
        for (const std::string& name : start.unset) {
            env.erase(name);
        }
        for (const auto& [key, value] : overrides) {
            env[key] = value;
        }
        std::vector<std::string> entries;
        for (const auto& [key, value] : env) {
            entries.push_back(key + "=" + value);
        }
        std::vector<char*> envp;
        for (std::string& entry : entries) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> words{programPath()};
        words.insert(words.end(), start.arguments.begin(), start.arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const std::string stdoutPath = start.output.empty() ? "" : start.output.string() + ".out";
        const std::string stderrPath = start.output.empty() ? "" : start.output.string() + ".err";
        if (!start.output.empty()) {
            // An earlier run's output must not be read as this one's before the child has begun.
            std::filesystem::remove(stdoutPath);
            std::filesystem::remove(stderrPath);
        }

        m_pid = ::fork();
        if (m_pid == 0) {
            if (!stdoutPath.empty()) {
                const int out = ::open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                const int err = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
                    ::_exit(126);
                }
            }
            if (::chdir(folder.c_str()) == 0) {
                ::execve(argv[0], argv.data(), envp.data());
            }
            ::_exit(127);
        }
    }
    ~Program() {
        if (running()) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool running() {
        if (m_status || m_pid <= 0) {
            return false;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
        }
        return !m_status;
    }

    // The wait status once the program has ended; nothing when it still runs after a minute
    // (a limit against hanging, not a measure of speed).
    std::optional<int> waitForExit() {
        waitFor([&] { return !running(); }, std::chrono::minutes(1));
        return m_status;
    }

    void terminate() { ::kill(m_pid, SIGTERM); }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// Waits (a minute at most) for path to exist while the program runs.
inline bool waitForFile(const std::filesystem::path& path, Program& program) {
    const auto written = [&] {
        std::error_code error;
        return std::filesystem::file_size(path, error) > 0 && !error;
    };
    waitFor([&] { return written() || !program.running(); }, std::chrono::minutes(1),
            std::chrono::milliseconds(20));
    return std::filesystem::exists(path);
}
