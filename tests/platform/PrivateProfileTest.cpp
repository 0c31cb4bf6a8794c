#include "platform/PrivateProfile.h"
#include "support/ScratchDirectory.h"

#include <cstdio>
#include <functional>

using namespace platform;
using namespace std::string_literals;

using PrivateProfile = ScratchDirectory;

TEST_F(PrivateProfile, FileNamesResolveWithoutRegardToCase) {
    writeFile("S.cba", "[on_link]\nSSID=1\n");
    ::mkdir("Sub", 0755);
    writeFile("Sub/Define.INI", "[DATA]\nSSID=Netz\n");
    for (const char* name : {".\\S.cba", ".\\S.CBA", "./s.cba", "S.cba", ".\\.\\s.CBA"}) {
        EXPECT_EQ(resolveFileName(name), "S.cba") << name;
        EXPECT_EQ(readProfileString(name, "on_link", "SSID", "", 100), "1") << name;
    }
    EXPECT_EQ(readProfileString(".\\sub\\define.ini", "data", "ssid", "", 100), "Netz");

    // A write under another spelling keeps the one on disk.
    EXPECT_TRUE(writeProfileString(".\\S.CBA", "on_link", "SSID", "2"));
    EXPECT_FALSE(exists("S.CBA"));
    EXPECT_EQ(readFile("S.cba"), "[on_link]\nSSID=2\n");
    // A new file takes the spelling of its first write.
    EXPECT_TRUE(writeProfileString(".\\New.INI", "A", "k", "v"));
    EXPECT_TRUE(exists("New.INI"));
}

TEST_F(PrivateProfile, SeveralSpellingsOnDiskAlwaysMeanTheSameOne) {
    writeFile("s.cba", "[A]\nk=lower\n");
    writeFile("S.CBA", "[A]\nk=upper\n");
    EXPECT_EQ(resolveFileName(".\\s.cba"), resolveFileName(".\\S.cba"));
    EXPECT_EQ(readProfileString(".\\s.cba", "A", "k", "", 100),
              readProfileString(".\\S.Cba", "A", "k", "", 100));
}

// The folder's names are kept between lookups; every change to the folder shows at the next
// lookup, however soon it comes.
TEST_F(PrivateProfile, ANameResolvesToWhatTheFolderHoldsNow) {
    ::mkdir("Sub", 0755);
    const struct Step {
        const char* what;
        std::function<void()> change;
        const char* expected;
    } steps[] = {
        {"nothing there yet: the spelling given", [] {}, "Sub/S.cba"},
        {"created in another spelling", [this] { writeFile("Sub/s.CBA", "[A]\nk=1\n"); }, "Sub/s.CBA"},
        {"a spelling that sorts first", [this] { writeFile("Sub/S.CBA", "[A]\nk=2\n"); }, "Sub/S.CBA"},
        {"that one removed", [] { ::unlink("Sub/S.CBA"); }, "Sub/s.CBA"},
        {"renamed", [] { ::rename("Sub/s.CBA", "Sub/S.cBa"); }, "Sub/S.cBa"},
        {"the folder itself replaced",
         [this] {
             ::rename("Sub", "Old");
             ::mkdir("Sub", 0755);
             writeFile("Sub/s.cba", "[A]\nk=3\n");
         },
         "Sub/s.cba"},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(resolveFileName(".\\sub\\S.cba"), step.expected) << step.what;
    }
    EXPECT_EQ(readProfileString(".\\SUB\\s.cba", "A", "k", "", 100), "3");
}

TEST_F(PrivateProfile, BoundedReadsAndDefaults) {
    writeFile("a.cba", "[Setini]\nVer=" + std::string(150, 'v') + "\nEmpty=\n");
    EXPECT_EQ(readProfileString("a.cba", "Setini", "Ver", "", 100), std::string(99, 'v'));
    EXPECT_EQ(readProfileString("a.cba", "Setini", "Empty", "dflt", 100), "");
    EXPECT_EQ(readProfileString("a.cba", "Setini", "Missing", "dflt", 100), "dflt");
    EXPECT_EQ(readProfileString("none.ini", "Setini", "Ver", "dflt", 100), "dflt");
    EXPECT_EQ(readProfileString("a.cba", "Setini", "Missing", "toolong", 4), "too");
    EXPECT_EQ(readProfileNumber("none.ini", "Setini", "Ver"), 0);
}

TEST_F(PrivateProfile, HandEditsShowAtTheNextRead) {
    writeFile("a.ini", "[A]\nk=1\n");
    EXPECT_EQ(readProfileNumber("a.ini", "A", "k"), 1);
    // Same inode, same size, at once: only the bytes tell the edit apart.
    FILE* file = std::fopen("a.ini", "r+");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 6, SEEK_SET);
    std::fputc('2', file);
    std::fclose(file);
    EXPECT_EQ(readProfileNumber("a.ini", "A", "k"), 2);
    // After our own write, then an edit by replacement.
    ASSERT_TRUE(writeProfileString("a.ini", "A", "k", "3"));
    EXPECT_EQ(readProfileNumber("a.ini", "A", "k"), 3);
    writeFile("a.ini", "[A]\nk=4\n");
    EXPECT_EQ(readProfileNumber("a.ini", "A", "k"), 4);
    ::unlink("a.ini");
    EXPECT_EQ(readProfileString("a.ini", "A", "k", "gone", 100), "gone");
}

TEST_F(PrivateProfile, ModesOfNewAndReplacedFiles) {
    ASSERT_TRUE(writeProfileString("secret.cba", "A", "k", "v", FileAccess::Private));
    EXPECT_EQ(modeOf("secret.cba"), 0600u);
    ASSERT_TRUE(writeProfileString("secret.cba", "A", "k", "w", FileAccess::Private));
    EXPECT_EQ(modeOf("secret.cba"), 0600u);

    // A file of secrets that came with looser bits (unpacked, or made under a loose umask)
    // becomes owner-only at its next write; an owner that took away its own write bit keeps that.
    writeFile("loose.cba", "[A]\nk=1\n");
    ::chmod("loose.cba", 0644);
    ASSERT_TRUE(writeProfileString("loose.cba", "A", "k", "2", FileAccess::Private));
    EXPECT_EQ(modeOf("loose.cba"), 0600u);
    ::chmod("loose.cba", 0400);
    ASSERT_TRUE(writeProfileString("loose.cba", "A", "k", "3", FileAccess::Private));
    EXPECT_EQ(modeOf("loose.cba"), 0400u);

    writeFile("kept.ini", "[A]\nk=1\n");
    ::chmod("kept.ini", 0640);
    ASSERT_TRUE(writeProfileString("kept.ini", "A", "k", "2"));
    EXPECT_EQ(modeOf("kept.ini"), 0640u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeProfileString("shared.ini", "A", "k", "v"));
    ::umask(mask);
    EXPECT_EQ(modeOf("shared.ini"), 0644u);
}

TEST_F(PrivateProfile, BadInputReadsAsMissingAndWritesKeepEveryOtherByte) {
    const std::string cases[] = {
        "\x7f"
        "ELF\x02\x01\x01\0\0\0\xff\xfe[[]]==\n\x01\x02"s,
        "[on_link]\nSSID=" + std::string(maxFileBytes - 64, 'q'),
        "[A]\n\0\0\0=\0\n[\0]\nk\0=v\n"s,
        "[on_link\nbsstype=1\n=\n==\nno equals here\n",
        "[on_link]\nbsstype=1\nChan",
        "[on_link]\nbsstype=notanumber\n",
    };
    for (const std::string& content : cases) {
        writeFile("S.cba", content);
        EXPECT_EQ(readProfileString("S.cba", "on_link", "Channel", "", 100), "");
        EXPECT_EQ(readProfileNumber("S.cba", "on_link", "bsstype") > 1, false);
        ASSERT_TRUE(writeProfileString("S.CBA", "Profile_index_1", "Profilename", "home"));
        const std::string after = readFile("S.cba");
        ASSERT_GE(after.size(), content.size());
        EXPECT_EQ(after.compare(0, content.size(), content), 0) << "the old bytes stay a prefix";
        EXPECT_EQ(readProfileString("S.cba", "Profile_index_1", "Profilename", "", 100), "home");
    }
}

TEST_F(PrivateProfile, TransactionWritesOnceAndSeesItsOwnWrites) {
    writeFile("t.ini", "; keep me\n[A]\nx=1\n");
    IniTransaction transaction("t.ini");
    ASSERT_TRUE(transaction.fileExists());
    transaction.write("A", "x", "2");
    transaction.write("B", "y", "3");
    EXPECT_EQ(transaction.readNumber("A", "x"), 2);
    EXPECT_EQ(readFile("t.ini"), "; keep me\n[A]\nx=1\n") << "nothing reaches the disk before commit";
    ASSERT_TRUE(transaction.commit());
    EXPECT_EQ(readFile("t.ini"), "; keep me\n[A]\nx=2\n[B]\ny=3\n");
}

TEST_F(PrivateProfile, CommitAfterAnOutsideChangeKeepsThatChange) {
    writeFile("t.ini", "[A]\nx=1\n");
    IniTransaction transaction("t.ini");
    transaction.write("A", "x", "2");
    writeFile("t.ini", "[A]\nx=1\nedited=yes\n");
    ASSERT_TRUE(transaction.commit());
    EXPECT_EQ(readFile("t.ini"), "[A]\nx=2\nedited=yes\n");
}

TEST_F(PrivateProfile, CopyReplacesTheTargetWholeAndKeepsItsMode) {
    writeFile("b.cba", "; empty store\n");
    ASSERT_TRUE(writeProfileString("S.CBA", "on_link", "SSID", "x", FileAccess::Private));
    EXPECT_EQ(readProfileString("S.cba", "on_link", "SSID", "", 100), "x");
    ASSERT_TRUE(copyProfileFile(".\\b.cba", ".\\s.cba", FileAccess::Private));
    EXPECT_EQ(readFile("S.CBA"), "; empty store\n");
    EXPECT_EQ(modeOf("S.CBA"), 0600u);
    EXPECT_EQ(readProfileString("S.cba", "on_link", "SSID", "", 100), "");

    EXPECT_FALSE(copyProfileFile(".\\missing.cba", ".\\S.cba", FileAccess::Private));
    EXPECT_EQ(readFile("S.CBA"), "; empty store\n");
}
