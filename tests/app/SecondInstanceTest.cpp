// Starts the program twice in one desktop session: the second start gives way at once and
// the first runs on, then ends in order on SIGTERM. Offscreen without a session bus (the per-user
// lock), on a session bus of the test's own (the first shows its window when asked there), and
// on an X server of the test's own (the window title).
#include "ProgramProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A working folder like an installed one: the delivered files, the country already chosen.
fs::path prepareRunFolder() {
    const fs::path run = fs::absolute("run");
    EXPECT_TRUE(::prepareRunFolder(run, {"a.cba", "b.cba", "define.ini", "wlansim.ini"}, "CountryDomain=3"));
    return run;
}

TEST(SecondInstance, GivesWayWhileTheFirstRunsAndTheFirstEndsInOrderOnSigterm) {
    const fs::path run = prepareRunFolder();
    const std::map<std::string, std::string> env = {
        {"QT_QPA_PLATFORM", "offscreen"},
        // No session bus: the lock alone turns the second start away.
        {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
        {"XDG_RUNTIME_DIR", (run / "runtime").string()},
        {"XDG_CONFIG_HOME", (run / "config").string()},
        {"WLANSIM_WORLD", (run / "wlansim.ini").string()},
    };
    auto firstEnv = env;
    // The first turn of the event loop writes this report: the first instance is up.
    firstEnv["SKYVANE_LAUNCH_NS"] = "0";
    firstEnv["SKYVANE_STARTUP_REPORT"] = (run / "first.report").string();

    Program first(run, firstEnv);
    ASSERT_TRUE(waitForFile(run / "first.report", first)) << "the first instance did not come up";

    Program second(run, env);
    const auto secondStatus = second.waitForExit();
    ASSERT_TRUE(secondStatus.has_value()) << "the second instance kept running";
    EXPECT_TRUE(WIFEXITED(*secondStatus));
    EXPECT_EQ(WEXITSTATUS(*secondStatus), 0);
    EXPECT_TRUE(first.running()) << "the first instance goes on";

    first.terminate();
    const auto firstStatus = first.waitForExit();
    ASSERT_TRUE(firstStatus.has_value()) << "SIGTERM did not end the program";
    EXPECT_TRUE(WIFEXITED(*firstStatus)) << "ended by signal " << WTERMSIG(*firstStatus);
    EXPECT_EQ(WEXITSTATUS(*firstStatus), 0);
}

// A session bus of the test's own; gone with the object.
class SessionBus {
public:
    SessionBus() {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const std::string fd = "--print-address=" + std::to_string(fds[1]);
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", fd.c_str(),
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string line;
        char piece[256];
        while (line.find('\n') == std::string::npos) {
            const ssize_t got = ::read(fds[0], piece, sizeof piece);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            line.append(piece, static_cast<size_t>(got));
        }
        ::close(fds[0]);
        m_address = line.substr(0, line.find('\n'));
    }
    ~SessionBus() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& address() const { return m_address; }

private:
    pid_t m_pid = -1;
    std::string m_address;
};

// On a session bus the second start asks the first to show its window and ends: the first need
// not be found by its title or its lock (the second here has a runtime folder of its own).
TEST(OnASessionBus, ASecondStartAsksTheFirstToShowItsWindow) {
    SessionBus bus;
    if (bus.address().empty()) {
        GTEST_SKIP() << "dbus-daemon did not start a session bus";
    }
    const fs::path run = prepareRunFolder();
    fs::create_directories(run / "runtime2");
    fs::permissions(run / "runtime2", fs::perms::owner_all);
    std::map<std::string, std::string> env = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"DBUS_SESSION_BUS_ADDRESS", bus.address()},
        {"XDG_RUNTIME_DIR", (run / "runtime").string()},
        {"XDG_CONFIG_HOME", (run / "config").string()},
        {"WLANSIM_WORLD", (run / "wlansim.ini").string()},
    };
    auto firstEnv = env;
    firstEnv["SKYVANE_LAUNCH_NS"] = "0";
    firstEnv["SKYVANE_STARTUP_REPORT"] = (run / "first.report").string();
    Program first(run, firstEnv, {{}, {}, run / "first"});
    ASSERT_TRUE(waitForFile(run / "first.report", first)) << "the first instance did not come up";

    env["XDG_RUNTIME_DIR"] = (run / "runtime2").string();
    Program second(run, env, {{}, {}, run / "second"});
    const auto secondStatus = second.waitForExit();
    ASSERT_TRUE(secondStatus.has_value()) << "the second instance kept running";
    EXPECT_TRUE(WIFEXITED(*secondStatus) && WEXITSTATUS(*secondStatus) == 0);
    ASSERT_TRUE(first.running()) << "the first instance goes on";
    // The first answers the call before it shows the window: its word comes once its loop ran.
    const bool asked = waitFor(
        [&] {
            return readAll(run / "first.err").find("a second start asked for the window") !=
                   std::string::npos;
        },
        std::chrono::seconds(10));
    EXPECT_TRUE(asked) << readAll(run / "first.err");

    first.terminate();
    const auto firstStatus = first.waitForExit();
    ASSERT_TRUE(firstStatus.has_value()) << "SIGTERM did not end the program";
    EXPECT_TRUE(WIFEXITED(*firstStatus) && WEXITSTATUS(*firstStatus) == 0) << readAll(run / "first.err");
}

// An X server of the test's own on a free display; gone with the object. Display numbers are
// drawn well away from the low ones that desktops and other tools take (and sometimes tear down).
class XServer {
public:
    XServer() {
        std::mt19937 random(static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(std::time(nullptr)));
        for (int attempt = 0; attempt < 20 && m_display.empty(); ++attempt) {
            start(300 + static_cast<int>(random() % 600));
        }
    }
    ~XServer() { stop(); }
    const std::string& display() const { return m_display; }

private:
    void start(int number) {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const std::string display = ":" + std::to_string(number);
            ::execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes the number once it takes connections, maybe in more than one piece: it is
        // complete at the newline. A display that is taken ends the server without a word.
        std::string ready;
        char piece[16];
        while (ready.find('\n') == std::string::npos) {
            const ssize_t got = ::read(fds[0], piece, sizeof piece);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            ready.append(piece, static_cast<size_t>(got));
        }
        ::close(fds[0]);
        if (const auto end = ready.find('\n'); end != std::string::npos && end > 0) {
            m_display = ":" + ready.substr(0, end);
        } else {
            stop();
        }
    }
    void stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

    pid_t m_pid = -1;
    std::string m_display;
};

// What a shell command prints; empty when it fails.
std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            text += buffer;
        }
        ::pclose(pipe);
    }
    return text;
}

// On X11 the program's window shows itself where no notification area exists, carries the
// exact title and the class its menu entry names, and that title alone turns a second start away, even one
// that cannot see the first's lock (another runtime directory).
TEST(UnderX11, WindowShowsWithItsTitleAndTheTitleTurnsASecondStartAway) {
    if (output("for t in Xvfb xdotool xwininfo xprop; do command -v $t; done | wc -l").find('4') ==
        std::string::npos) {
        GTEST_SKIP() << "Xvfb, xdotool, xwininfo and xprop are needed";
    }
    XServer server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    const fs::path run = prepareRunFolder();
    fs::create_directories(run / "runtime2");
    fs::permissions(run / "runtime2", fs::perms::owner_all);
    std::map<std::string, std::string> env = {
        {"QT_QPA_PLATFORM", "xcb"},
        {"DISPLAY", server.display()},
        // The desktop libraries behind Qt's X11 platform (D-Bus) keep allocations to the end.
        {"ASAN_OPTIONS", "detect_leaks=0"},
        // No desktop session here: without this libdbus would fork a session bus of its own
        // ("autolaunch"), and a fork of a program under AddressSanitizer can hang in the child.
        {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
        {"XDG_RUNTIME_DIR", (run / "runtime").string()},
        {"XDG_CONFIG_HOME", (run / "config").string()},
        {"WLANSIM_WORLD", (run / "wlansim.ini").string()},
    };
    Program first(run, env);

    const std::string find =
        "DISPLAY=" + server.display() +
        " xdotool search --onlyvisible --name '^Skyvane Configuration Utility$' 2>/dev/null";
    std::string window;
    waitFor(
        [&] {
            window = output(find);
            return !window.empty() || !first.running();
        },
        30s, 20ms);
    ASSERT_FALSE(window.empty()) << "no visible window with the title";
    const std::string info =
        output("DISPLAY=" + server.display() + " xwininfo -id " + window.substr(0, window.find('\n')));
    EXPECT_NE(info.find("Width: 615"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 411"), std::string::npos) << info;
    // Docks and task bars tie the window to its menu entry by the window's class.
    const std::string entry = readAll(sourceTree() / "packaging" / "io.skyvane.Skyvane.desktop");
    const auto wmClassLine = entry.find("\nStartupWMClass=");
    ASSERT_NE(wmClassLine, std::string::npos) << "the menu entry names no StartupWMClass";
    const std::string wmClass =
        entry.substr(wmClassLine + 16, entry.find('\n', wmClassLine + 1) - wmClassLine - 16);
    const std::string classes = output("DISPLAY=" + server.display() + " xprop -id " +
                                       window.substr(0, window.find('\n')) + " WM_CLASS");
    EXPECT_NE(classes.find(", \"" + wmClass + "\""), std::string::npos) << classes << " vs " << wmClass;

    env["XDG_RUNTIME_DIR"] = (run / "runtime2").string();
    Program second(run, env);
    const auto secondStatus = second.waitForExit();
    ASSERT_TRUE(secondStatus.has_value()) << "the second instance kept running";
    EXPECT_EQ(WEXITSTATUS(*secondStatus), 0);
    EXPECT_TRUE(first.running()) << "the first instance goes on";

    first.terminate();
    const auto firstStatus = first.waitForExit();
    ASSERT_TRUE(firstStatus.has_value()) << "SIGTERM did not end the program";
    EXPECT_TRUE(WIFEXITED(*firstStatus) && WEXITSTATUS(*firstStatus) == 0);
}

} // namespace
