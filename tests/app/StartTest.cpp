// The start as people meet it: from a terminal with --help, with a folder that can't be used,
// and from a desktop launcher with a home that has never seen the program.
#include "ProgramProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Ended {
    int status = -1; // exit status; -1 when killed or still running
    std::string out;
    std::string err;
};

Ended runToEnd(const fs::path& folder, const std::vector<std::string>& arguments) {
    const fs::path output = fs::absolute("run-output");
    // No display of any kind: what ends the start at once must not need one.
    Program program(folder, {}, {arguments, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, output});
    const auto status = program.waitForExit();
    Ended ended;
    if (status && WIFEXITED(*status)) {
        ended.status = WEXITSTATUS(*status);
    }
    ended.out = readAll(output.string() + ".out");
    ended.err = readAll(output.string() + ".err");
    return ended;
}

TEST(Start, EndsAtOnceWithHelpVersionOrAClearMessage) {
    const fs::path here = fs::absolute("terminal");
    fs::remove_all(here);
    fs::create_directories(here);
    writeAll(here / "plain-file", "x");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: skyvane [options] [folder]", ""},
        {{"--version"}, 0, "skyvane ", ""},
        {{"--backend", "ndis"}, 2, "", "skyvane: unknown backend 'ndis'"},
        {{"plain-file"},
         1,
         "",
         "skyvane: cannot create the working folder " + (here / "plain-file").string() +
             ": it is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const Ended ended = runToEnd(here, c.arguments);
        EXPECT_EQ(ended.status, c.status);
        EXPECT_NE(ended.out.find(c.out), std::string::npos) << ended.out;
        EXPECT_NE(ended.err.find(c.err), std::string::npos) << ended.err;
        if (c.out.empty()) {
            EXPECT_EQ(ended.out, "");
        }
        if (c.err.empty()) {
            EXPECT_EQ(ended.err, "");
        }
    }
    EXPECT_EQ(readAll(here / "plain-file"), "x");
}

// A launcher starts the program in the home folder: it makes its own folder there, seeds it with
// the delivered files in the user's language and runs; SIGTERM ends it in order.
TEST(Start, AFreshHomeIsSeededAndTheProgramRuns) {
    const fs::path home = fs::absolute("fresh-home");
    fs::remove_all(home);
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    const fs::path trace = fs::absolute("fresh-home.trace");
    fs::remove(trace);
    Program program(home,
                    {{"HOME", home.string()},
                     {"LANG", "de_DE.UTF-8"},
                     {"QT_QPA_PLATFORM", "offscreen"},
                     {"XDG_RUNTIME_DIR", (home / "runtime").string()},
                     {"WLANSIM_TRACE", trace.string()}},
                    {{}, {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "LC_ALL", "LC_MESSAGES", "WLANSIM_WORLD"}, {}});
    // The adapter is polled once the window exists, after the signal handling is in place.
    ASSERT_TRUE(waitForFile(trace, program)) << "the program did not come up";

    const fs::path folder = home / ".local/share/skyvane";
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    for (const char* name : {"a.cba", "b.cba", "wlansim.ini", "define.ini", "skin/Main.bmp"}) {
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    }
    EXPECT_NE(readAll(folder / "define.ini").find("Status="), std::string::npos)
        << "not the German catalogue";
    EXPECT_FALSE(fs::exists(home / "a.cba")) << "nothing lands in the home folder itself";

    program.terminate();
    const auto status = program.waitForExit();
    ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the program";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

} // namespace
