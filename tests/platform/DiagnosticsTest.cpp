// A failed write is never silent: the diagnostics hear the file and the reason, and the reason
// stays available for a message to the user.
#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "support/ScratchDirectory.h"

#include <string>
#include <vector>

namespace {

struct Line {
    diag::Level level;
    std::string category;
    std::string message;
};

class Diagnostics : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        diag::setSink([this](diag::Level level, std::string_view category, std::string_view message) {
            lines.push_back({level, std::string(category), std::string(message)});
        });
    }
    void TearDown() override {
        diag::setSink({});
        ScratchDirectory::TearDown();
    }

    std::vector<Line> lines;
};

TEST_F(Diagnostics, AFailedReplacementReportsTheFileAndTheReason) {
    // Root may write anywhere; a folder that does not exist stops everybody.
    const platform::WriteResult written =
        platform::replaceFileAtomically("missing/S.cba", "x", platform::FileAccess::Private);
    EXPECT_FALSE(written);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].level, diag::Level::Warning);
    EXPECT_EQ(lines[0].category, "skyvane.platform");
    EXPECT_NE(lines[0].message.find("missing/S.cba"), std::string::npos) << lines[0].message;
    EXPECT_NE(lines[0].message.find("No such file or directory"), std::string::npos) << lines[0].message;
    EXPECT_NE(written.reason().find("missing/S.cba"), std::string::npos) << written.reason();
}

TEST_F(Diagnostics, AFailedProfileWriteIsReportedToo) {
    EXPECT_FALSE(platform::writeProfileString("nowhere/a.cba", "Setini", "CountryDomain", "3"));
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().message.find("nowhere/a.cba"), std::string::npos);
}

TEST_F(Diagnostics, EveryMessageIsOneLineWhateverTheNamesInIt) {
    // A file named to look like a second log line, and one that turns its line around.
    diag::warning(diag::platformCategory, "cert\nskyvane.adapter: warning: connected\r.pem: skipped");
    diag::info(diag::storageCategory, "report\u202Efdp.exe\x1b[2J");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].message, "cert\\nskyvane.adapter: warning: connected\\r.pem: skipped");
    EXPECT_EQ(lines[1].message, "report\\u202Efdp.exe\\x1B[2J");
}

TEST_F(Diagnostics, AWriteThatWorksSaysNothing) {
    EXPECT_TRUE(platform::writeProfileString("a.cba", "Setini", "CountryDomain", "3"));
    EXPECT_TRUE(lines.empty());
}

} // namespace
