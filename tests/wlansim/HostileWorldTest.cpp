// The wlansim tool and the world reader facing worlds that are not what they seem, and worlds
// at the edge of the size limit: exit 1 with the file untouched, or an edit of one line.
#include "wlansim/FileAccess.h"
#include "wlansim/World.h"
#include "wlansim/WorldTool.h"

#include "WorldFiles.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace wlansim;
using namespace std::chrono_literals;
using worldfiles::readAll;
using worldfiles::writeWorld;

namespace {

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(std::vector<std::string> args) {
    std::ostringstream out, err;
    ToolRun run;
    run.code = runWorldTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

const std::string kNetworks = "[adapter]\nPresent=1\n\n[network home]\nSSID=Home\nSignal=80\nKey=old key\n";

TEST(HostileWorld, TheToolRefusesAWorldThatIsNotAFileAtOnce) {
    const std::string folder = worldfiles::freshFolder();
    for (const auto& [kind, kindName] : hostile::kAllKinds) {
        for (const char* command : {"status", "unplug"}) {
            SCOPED_TRACE(std::string(command) + " on " + kindName);
            const std::string path = folder + "/" + command + std::to_string(int(kind)) + ".ini";
            ASSERT_TRUE(hostile::plant(kind, path, maxWorldBytes, kNetworks));
            const std::string before = hostile::describe(path);
            const auto run = hostile::finishesWithin(1s,
                                                     [path, command] {
                                                         return runTool({"--world", path, command});
                                                     },
                                                     {path});
            ASSERT_TRUE(run.has_value()) << "the tool did not come back within a second";
            EXPECT_EQ(run->code, 1) << run->out;
            EXPECT_NE(run->err.find("cannot read " + path), std::string::npos) << run->err;
            EXPECT_EQ(hostile::describe(path), before) << "the world was written over";
            EXPECT_TRUE(readAll(path + ".nowhere").empty());
        }
    }
}

TEST(HostileWorld, StatusReadsNoSavedSettingsThatAreNotAFile) {
    const std::string folder = worldfiles::freshFolder();
    for (const auto& [kind, kindName] : hostile::kAllKinds) {
        SCOPED_TRACE(kindName);
        const std::string path = folder + "/w" + std::to_string(int(kind)) + ".ini";
        writeWorld(path, "[driver]\nSSID=Factory\n" + kNetworks);
        ASSERT_TRUE(hostile::plant(kind, path + ".state", maxStateBytes, "SSID=\"Saved\"\n"));
        const auto run = hostile::finishesWithin(1s,
                                                 [path] {
                                                     return runTool({"--world", path, "status"});
                                                 },
                                                 {path + ".state"});
        ASSERT_TRUE(run.has_value()) << "the tool did not come back within a second";
        EXPECT_EQ(run->code, 0) << run->err;
        EXPECT_NE(run->out.find("driver: factory settings, \"Factory\""), std::string::npos) << run->out;
    }
}

// A world of exactly size bytes: a long comment block, then the networks.
std::string worldOfSize(std::size_t size) {
    std::string text = "; a street with a long story\n";
    const std::string line = ";" + std::string(78, '-') + "\n";
    while (text.size() + kNetworks.size() + line.size() + 2 <= size) {
        text += line;
    }
    text += ";" + std::string(size - text.size() - kNetworks.size() - 2, '=') + "\n";
    return text + kNetworks;
}

TEST(HostileWorld, EditsAtTheSizeLimitChangeOneLineOrNothing) {
    struct Command {
        std::vector<std::string> args;
        std::string oldLine;
        std::string newLine;
    };
    const Command commands[] = {
        {{"unplug"}, "Present=1\n", "Present=0\n"},
        {{"signal", "home", "7"}, "Signal=80\n", "Signal=7\n"},
        {{"set", "home", "Key=new"}, "Key=old key\n", "Key=new\n"},
        {{"signal", "home", "100"}, "Signal=80\n", "Signal=100\n"}, // one byte longer
    };
    const std::size_t sizes[] = {maxWorldBytes - 1, maxWorldBytes, maxWorldBytes + 1};
    const std::string folder = worldfiles::freshFolder();
    for (std::size_t size : sizes) {
        for (const Command& command : commands) {
            SCOPED_TRACE(command.args[0] + " " + command.newLine + " on " + std::to_string(size) + " bytes");
            const std::string path = folder + "/world.ini";
            const std::string before = worldOfSize(size);
            ASSERT_EQ(before.size(), size);
            writeWorld(path, before);
            std::vector<std::string> args = {"--world", path};
            args.insert(args.end(), command.args.begin(), command.args.end());
            const ToolRun run = runTool(args);

            std::string edited = before;
            edited.replace(edited.rfind(command.oldLine), command.oldLine.size(), command.newLine);
            if (before.size() <= maxWorldBytes && edited.size() <= maxWorldBytes) {
                EXPECT_EQ(run.code, 0) << run.err;
                EXPECT_TRUE(readAll(path) == edited) << "more than the edited line changed";
            } else {
                EXPECT_EQ(run.code, 1);
                EXPECT_NE(run.err.find("larger than 1048576 bytes"), std::string::npos) << run.err;
                EXPECT_TRUE(readAll(path) == before) << "the world was changed";
            }
        }
    }
}

TEST(HostileWorld, TheReaderTakesNoPartOfAFileOverItsLimit) {
    const std::string folder = worldfiles::freshFolder();
    const std::string path = folder + "/grown.ini";
    writeWorld(path, std::string(maxWorldBytes, '#'));
    EXPECT_TRUE(readFile(path, maxWorldBytes).has_value());
    writeWorld(path, std::string(maxWorldBytes + 1, '#'));
    std::string problem;
    EXPECT_FALSE(readFile(path, maxWorldBytes, &problem).has_value());
    EXPECT_EQ(problem, "larger than 1048576 bytes");
}

} // namespace
