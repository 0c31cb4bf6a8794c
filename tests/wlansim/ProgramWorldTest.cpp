// The wlansim executable as a user runs it after installing the package: without --world and
// WLANSIM_WORLD it edits the world of the skyvane program's working folder, chosen by the
// program's rules, wherever it is run, and never leaves a world file of its own behind.
#include "WorldFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs the tool in folder with only the named variables set.
Outcome runTool(const fs::path& folder, const std::string& environment, const std::string& arguments) {
    const char* tool = std::getenv("WLANSIM_EXE");
    const std::string command = "cd '" + folder.string() + "' && env -i PATH=/usr/bin:/bin " + environment +
                                " '" + (tool != nullptr ? tool : "wlansim") + "' " + arguments + " 2>&1";
    Outcome outcome;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            outcome.output += buffer;
        }
        const int status = ::pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return outcome;
}

const std::string kWorld = "[adapter]\nPresent=1\n\n[network home]\nSSID=Home\nSignal=80\n";

TEST(ProgramWorld, TheToolEditsTheWorldOfTheProgramsWorkingFolder) {
    struct Case {
        const char* what;
        std::string environment; // with ROOT for the case's folder
        const char* shell;       // the folder the tool runs in, below ROOT
        const char* world;       // where the program's world is, below ROOT
    };
    const Case cases[] = {
        {"the data folder of XDG_DATA_HOME", "HOME=ROOT/home XDG_DATA_HOME=ROOT/data", "home",
         "data/skyvane"},
        {"the data folder below HOME", "HOME=ROOT/home", "home", "home/.local/share/skyvane"},
        {"a relative XDG_DATA_HOME is ignored", "HOME=ROOT/home XDG_DATA_HOME=data", "home",
         "home/.local/share/skyvane"},
        {"a prepared folder that holds a.cba", "HOME=ROOT/home XDG_DATA_HOME=ROOT/data", "portable",
         "portable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path root = fs::absolute(worldfiles::freshFolder());
        for (const char* folder : {"home", "portable", "data/skyvane", "home/.local/share/skyvane"}) {
            fs::create_directories(root / folder);
        }
        worldfiles::writeWorld((root / "portable" / "a.cba").string(), "[Setini]\n");
        worldfiles::writeWorld((root / c.world / "wlansim.ini").string(), kWorld);
        std::string environment = c.environment;
        for (auto at = environment.find("ROOT"); at != std::string::npos; at = environment.find("ROOT")) {
            environment.replace(at, 4, root.string());
        }

        const Outcome status = runTool(root / c.shell, environment, "status");
        EXPECT_EQ(status.status, 0) << status.output;
        EXPECT_NE(status.output.find("world: " + (root / c.world / "wlansim.ini").string() + "\n"),
                  std::string::npos)
            << status.output;

        const Outcome unplug = runTool(root / c.shell, environment, "unplug");
        EXPECT_EQ(unplug.status, 0) << unplug.output;
        EXPECT_NE(worldfiles::readAll((root / c.world / "wlansim.ini").string()).find("Present=0"),
                  std::string::npos);
        if (std::string(c.shell) != c.world) {
            EXPECT_FALSE(fs::exists(root / c.shell / "wlansim.ini")) << "a stray world where the tool ran";
        }
    }
}

// Before the program ever ran there is no working folder: an edit fails and makes none.
TEST(ProgramWorld, AnEditBeforeTheProgramRanMakesNoStrayWorld) {
    const fs::path root = fs::absolute(worldfiles::freshFolder());
    fs::create_directories(root / "home");
    const std::string environment = "HOME=" + (root / "home").string();
    const Outcome status = runTool(root / "home", environment, "status");
    EXPECT_EQ(status.status, 0) << status.output;
    EXPECT_NE(status.output.find((root / "home/.local/share/skyvane/wlansim.ini").string() +
                                 " (missing: the built-in world applies)"),
              std::string::npos)
        << status.output;
    const Outcome unplug = runTool(root / "home", environment, "unplug");
    EXPECT_EQ(unplug.status, 1) << unplug.output;
    EXPECT_FALSE(fs::exists(root / "home" / "wlansim.ini"));
    EXPECT_FALSE(fs::exists(root / "home/.local/share/skyvane"));
}

// WLANSIM_WORLD and --world still name any world, in that order of precedence.
TEST(ProgramWorld, ANamedWorldWins) {
    const fs::path root = fs::absolute(worldfiles::freshFolder());
    fs::create_directories(root / "data/skyvane");
    worldfiles::writeWorld((root / "data/skyvane/wlansim.ini").string(), kWorld);
    worldfiles::writeWorld((root / "named.ini").string(), kWorld);
    worldfiles::writeWorld((root / "given.ini").string(), kWorld);
    const std::string environment =
        "XDG_DATA_HOME=" + (root / "data").string() + " WLANSIM_WORLD=" + (root / "named.ini").string();
    EXPECT_EQ(runTool(root, environment, "unplug").status, 0);
    EXPECT_EQ(
        runTool(root, environment, "--world " + (root / "given.ini").string() + " signal home 5").status, 0);
    EXPECT_NE(worldfiles::readAll((root / "named.ini").string()).find("Present=0"), std::string::npos);
    EXPECT_NE(worldfiles::readAll((root / "given.ini").string()).find("Signal=5"), std::string::npos);
    EXPECT_EQ(worldfiles::readAll((root / "data/skyvane/wlansim.ini").string()), kWorld);
}

} // namespace
