// Files that are not what they seem, at every name the platform layer reads: none may hang a
// read, be read past the cap, or be written over; the user hears of each once.
#include "support/HostileFiles.h"
#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/PrivateProfile.h"
#include "platform/UserRegistry.h"
#include "support/ScratchDirectory.h"

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

using namespace platform;
using namespace std::chrono_literals;

namespace {

// A reader of the platform layer at one name: whether it came back with nothing, and a write
// through the same layer (true when it claims to have written).
struct Reader {
    const char* name;
    std::string path;
    std::string text; // readable content of the file over the cap
    std::function<bool()> readsNothing;
    std::function<bool()> write; // none: the layer has no write that looks first
};

const std::string kKey = "Software\\Hostile";

std::vector<Reader> readers() {
    return {
        {"the file layer", "plain.txt", "anything\n",
         [] {
             return readRegularFile("plain.txt").status != ReadStatus::Read && !readWholeFile("plain.txt");
         },
         nullptr},
        {"the INI layer", "a.cba", "[Setini]\nMain=skin\\face.bmp\n",
         [] { return readProfileString(".\\a.cba", "Setini", "Main", "none", 100) == "none"; },
         [] { return writeProfileString(".\\a.cba", "Setini", "CountryDomain", "7").written(); }},
        {"the registry store", "base/registry/Software/Hostile.reg",
         "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hostile]\n\"cSSID\"=\"home\"\n",
         [] { return !RegistryKey::open(kKey, "base"); },
         [] {
             auto key = RegistryKey::create(kKey, "base");
             if (!key) {
                 return false;
             }
             key->setText("cSSID", "other");
             return key->commit();
         }},
    };
}

class HostileFiles : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        ASSERT_TRUE(makeDirectories("base/registry/Software", 0700));
        diag::setSink([this](diag::Level level, std::string_view, std::string_view message) {
            if (level == diag::Level::Notice) {
                const std::lock_guard lock(m_mutex);
                m_notices.emplace_back(message);
            }
        });
    }
    void TearDown() override {
        diag::setSink({});
        ScratchDirectory::TearDown();
    }
    std::vector<std::string> notices() {
        const std::lock_guard lock(m_mutex);
        return m_notices;
    }

    std::mutex m_mutex;
    std::vector<std::string> m_notices;
};

TEST_F(HostileFiles, EveryReaderComesBackEmptyAtOnceAndWritesNothing) {
    for (const Reader& reader : readers()) {
        for (const auto& [kind, kindName] : hostile::kAllKinds) {
            SCOPED_TRACE(std::string(reader.name) + " on " + kindName);
            ::unlink(reader.path.c_str());
            ::rmdir(reader.path.c_str());
            ASSERT_TRUE(hostile::plant(kind, reader.path, maxFileBytes, reader.text));
            const std::string before = hostile::describe(reader.path);

            const auto empty = hostile::finishesWithin(1s, reader.readsNothing, {reader.path});
            ASSERT_TRUE(empty.has_value()) << "the read did not come back within a second";
            EXPECT_TRUE(*empty) << "something was read";

            if (reader.write) {
                const auto wrote = hostile::finishesWithin(1s, reader.write, {reader.path});
                ASSERT_TRUE(wrote.has_value()) << "the write did not come back within a second";
                EXPECT_FALSE(*wrote);
            }
            EXPECT_EQ(hostile::describe(reader.path), before) << "it was written over";
            struct stat target {};
            EXPECT_NE(::lstat((reader.path + ".nowhere").c_str(), &target), 0) << "a link was followed";
        }
    }
}

// Names of their own: which files the user has heard of is kept for the whole process.
TEST_F(HostileFiles, TheUserIsToldOnceAboutEachRefusedFile) {
    ASSERT_TRUE(hostile::plant(hostile::Kind::OverCap, "told.cba", maxFileBytes, "[Setini]\nOnOff=1\n"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(readProfileNumber("told.cba", "Setini", "OnOff"), 0);
        const WriteResult written = writeProfileString("told.cba", "Setini", "CountryDomain", "7");
        EXPECT_FALSE(written);
        // Every refused write says why, however often the notice was given.
        EXPECT_NE(written.reason().find("told.cba is larger than 4 MiB"), std::string::npos)
            << written.reason();
    }
    ASSERT_TRUE(hostile::plant(hostile::Kind::PipeWithoutWriter, "told.ini", maxFileBytes));
    EXPECT_EQ(readProfileString("told.ini", "DATA", "SSID", "SSID", 100), "SSID");
    EXPECT_EQ(readProfileString("told.ini", "DATA", "SSID", "SSID", 100), "SSID");
    auto told = notices();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[0].find("told.cba is larger than 4 MiB or 65536 lines"), std::string::npos) << told[0];
    EXPECT_NE(told[1].find("told.ini is not a regular file"), std::string::npos) << told[1];

    // Cut back to size, the file reads again; grown past the cap once more, it is told again.
    writeFile("told.cba", "[Setini]\nOnOff=1\n");
    EXPECT_EQ(readProfileNumber("told.cba", "Setini", "OnOff"), 1);
    ASSERT_EQ(::truncate("told.cba", static_cast<off_t>(maxFileBytes + 1)), 0);
    EXPECT_EQ(readProfileNumber("told.cba", "Setini", "OnOff"), 0);
    EXPECT_EQ(notices().size(), 3u);
}

// Short lines cost more to hold than their bytes: the line count has a cap of its own.
TEST_F(HostileFiles, AFileOfTooManyLinesIsRefusedLikeALargeOne) {
    std::string lines;
    for (std::size_t i = 0; i < maxFileLines - 2; ++i) {
        lines += "k" + std::to_string(i) + "=\n";
    }
    writeFile("lines.cba", "[A]\n" + lines + "last=1\n");
    EXPECT_EQ(readProfileNumber("lines.cba", "A", "last"), 1) << "at the cap";
    writeFile("lines.cba", "[A]\n" + lines + "last=1\nk=\n");
    EXPECT_EQ(readProfileNumber("lines.cba", "A", "last"), 0) << "one line over";
    EXPECT_FALSE(writeProfileString("lines.cba", "A", "last", "2"));
    EXPECT_EQ(notices().size(), 1u);

    writeFile("base/registry/Software/Hostile.reg", std::string(maxFileLines + 1, '\n'));
    EXPECT_FALSE(RegistryKey::open(kKey, "base"));
    EXPECT_FALSE(RegistryKey::create(kKey, "base")) << "it would be written over";
}

TEST_F(HostileFiles, AFileAtTheCapIsStillRead) {
    const std::string head = "[Setini]\nOnOff=5\n;";
    writeFile("a.cba", head + std::string(maxFileBytes - head.size() - 1, 'x') + "\n");
    EXPECT_EQ(readProfileNumber("a.cba", "Setini", "OnOff"), 5);
    EXPECT_TRUE(writeProfileString("a.cba", "Setini", "OnOff", "6"));
    EXPECT_EQ(readProfileNumber("a.cba", "Setini", "OnOff"), 6);
    EXPECT_TRUE(notices().empty());
}

// The cache must not read a file again on every lookup because its time lies ahead of the
// clock, and must still see an edit made after that.
TEST_F(HostileFiles, AModificationTimeInTheFutureKeepsTheCache) {
    writeFile("define.ini", "[DATA]\nSSID=Netz\n");
    const timespec tomorrow{::time(nullptr) + 86400, 0};
    const timespec times[2] = {tomorrow, tomorrow};
    ASSERT_EQ(::utimensat(AT_FDCWD, "define.ini", times, 0), 0);
    EXPECT_EQ(readProfileString("define.ini", "DATA", "SSID", "", 100), "Netz");
    const std::size_t reads = profileFileReads();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(readProfileString("define.ini", "DATA", "SSID", "", 100), "Netz");
    }
    EXPECT_EQ(profileFileReads(), reads) << "read again although the stamp proves it unchanged";

    // An edit in place, same size: the file's time becomes today's.
    FILE* file = std::fopen("define.ini", "r+");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 12, SEEK_SET);
    std::fputs("Note", file);
    std::fclose(file);
    EXPECT_EQ(readProfileString("define.ini", "DATA", "SSID", "", 100), "Note");
}

TEST_F(HostileFiles, TheInstanceLockFollowsNoLink) {
    writeFile("victim", "keep\n");
    struct Case {
        const char* name;
        const char* target;
    };
    const Case cases[] = {{"a link to nothing", "planted"}, {"a link to a file", "victim"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink("skyvane.lock");
        ASSERT_EQ(::symlink(c.target, "skyvane.lock"), 0);
        InstanceLock lock("skyvane.lock");
        EXPECT_EQ(lock.acquire(), InstanceLock::State::Unavailable);
    }
    EXPECT_FALSE(exists("planted")) << "the lock created the file a link points to";
    EXPECT_EQ(readFile("victim"), "keep\n");
    ::unlink("skyvane.lock");
    ASSERT_TRUE(hostile::plant(hostile::Kind::PipeWithoutWriter, "skyvane.lock", 0));
    const auto state =
        hostile::finishesWithin(1s, [] { return InstanceLock("skyvane.lock").acquire(); }, {"skyvane.lock"});
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(*state, InstanceLock::State::Unavailable);
}

} // namespace
