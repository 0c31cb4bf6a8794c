// The wlansim command line over world files in the test's scratch folder.
#include "wlansim/WorldTool.h"
#include "wlansim/World.h"

#include "WorldFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

using namespace wlansim;
using worldfiles::readAll;
using worldfiles::writeWorld;

namespace {

const std::string kWorld = "; my street\n[adapter]\nPresent=1\n\n"
                           "; the cafe\n[network cafe]\nSSID=Cafe\nSignal=40\n; keep me\n\n"
                           "[network home]\nSSID=Home\nSignal=80\n";

class WorldToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = worldfiles::freshFolder() + "/world.ini";
        ::unsetenv("WLANSIM_WORLD");
    }

    int run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--world", m_path});
        m_out.str("");
        m_err.str("");
        return runWorldTool(args, m_out, m_err);
    }

    std::string m_path;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(WorldToolTest, EditsKeepEveryOtherLine) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{"unplug"},
         "; my street\n[adapter]\nPresent=0\n\n; the cafe\n[network cafe]\nSSID=Cafe\nSignal=40\n; keep "
         "me\n\n"
         "[network home]\nSSID=Home\nSignal=80\n"},
        {{"plug"}, kWorld},
        {{"signal", "CAFE", "0"},
         "; my street\n[adapter]\nPresent=1\n\n; the cafe\n[network cafe]\nSSID=Cafe\nSignal=0\n"
         "; keep me\n\n[network home]\nSSID=Home\nSignal=80\n"},
        {{"set", "home", "Key=new key", "Security=wpa2-psk"},
         "; my street\n[adapter]\nPresent=1\n\n; the cafe\n[network cafe]\nSSID=Cafe\nSignal=40\n; keep "
         "me\n\n"
         "[network home]\nSSID=Home\nSignal=80\nKey=new key\nSecurity=wpa2-psk\n"},
        {{"set", "adapter", "Jitter=0", "RadioOff=1"},
         "; my street\n[adapter]\nPresent=1\nJitter=0\nRadioOff=1\n\n; the cafe\n[network "
         "cafe]\nSSID=Cafe\nSignal=40\n"
         "; keep me\n\n[network home]\nSSID=Home\nSignal=80\n"},
        {{"remove", "cafe"}, "; my street\n[adapter]\nPresent=1\n\n[network home]\nSSID=Home\nSignal=80\n"},
        {{"add", "phone", "Type=softap", "Channel=11"},
         kWorld + "\n[network phone]\nType=softap\nChannel=11\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        writeWorld(m_path, kWorld);
        EXPECT_EQ(run(c.args), 0) << m_err.str();
        EXPECT_EQ(readAll(m_path), c.expected);
        EXPECT_EQ(m_err.str(), "");
    }
}

TEST_F(WorldToolTest, ErrorsExitWithTwoAndLeaveTheFileAlone) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"fly"}, "unknown command 'fly'"},
        {{"status", "extra"}, "wrong number of arguments"},
        {{"signal", "cafe"}, "wrong number of arguments"},
        {{"signal", "nowhere", "50"}, "no network named 'nowhere'"},
        {{"signal", "cafe", "101"}, "bad value '101' for Signal"},
        {{"signal", "cafe", "loud"}, "bad value 'loud'"},
        {{"remove", "nowhere"}, "no network named 'nowhere'"},
        {{"add", "cafe", "Signal=3"}, "exists already"},
        {{"add", "new", "Channel=15"}, "bad value '15' for Channel"},
        {{"add", "new", "Colour=blue"}, "unknown network key 'Colour'"},
        {{"add", "new", "Signal"}, "expected KEY=VALUE"},
        {{"add", "bad]name"}, "cannot name a network"},
        {{"set", "home"}, "needs a NAME and KEY=VALUE"},
        {{"set", "adapter", "MAC=zz:00:00:00:00:00"}, "bad value"},
        {{"set", "adapter", "Signal=4"}, "unknown adapter key 'Signal'"},
        {{"set", "home", "Key=two\nlines"}, "one line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        writeWorld(m_path, kWorld);
        struct stat before {};
        ::stat(m_path.c_str(), &before);
        EXPECT_EQ(run(c.args), 2);
        EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
        struct stat after {};
        ::stat(m_path.c_str(), &after);
        EXPECT_EQ(before.st_ino, after.st_ino) << "the file was replaced";
        EXPECT_EQ(readAll(m_path), kWorld);
    }
}

TEST_F(WorldToolTest, MissingWorldStartsFromTheBuiltInOne) {
    ASSERT_EQ(run({"status"}), 0);
    EXPECT_NE(m_out.str().find("built-in world"), std::string::npos);
    EXPECT_NE(m_out.str().find("Riverside-Home"), std::string::npos);
    struct stat info {};
    EXPECT_NE(::stat(m_path.c_str(), &info), 0) << "status writes nothing";

    ASSERT_EQ(run({"unplug"}), 0);
    World world = parseWorld(readAll(m_path));
    EXPECT_FALSE(world.adapter.present);
    EXPECT_EQ(world.networks.size(), defaultWorld().networks.size());

    ASSERT_EQ(run({"init"}), 0);
    EXPECT_EQ(readAll(m_path), std::string(defaultWorldText()));
}

TEST_F(WorldToolTest, WorldPathComesFromTheEnvironment) {
    writeWorld(m_path, kWorld);
    ::setenv("WLANSIM_WORLD", m_path.c_str(), 1);
    std::ostringstream out, err;
    EXPECT_EQ(runWorldTool({"signal", "home", "12"}, out, err), 0);
    ::unsetenv("WLANSIM_WORLD");
    EXPECT_EQ(parseWorld(readAll(m_path)).networks[1].signal, 12);
}

TEST_F(WorldToolTest, StatusListsTheNetworks) {
    writeWorld(m_path, kWorld + "[adapter]\nPresent=0\n");
    ASSERT_EQ(run({"status"}), 0);
    const std::string text = m_out.str();
    EXPECT_NE(text.find("unplugged"), std::string::npos);
    EXPECT_NE(text.find("\"Cafe\""), std::string::npos);
    EXPECT_NE(text.find("\"Home\""), std::string::npos);
}

} // namespace
