// The core's diagnostics in the windows: what the user should hear of reaches a message box once,
// on the window's thread, whatever thread it came from; the rest goes to the log only.
#include "shell/DiagnosticsSink.h"

#include "platform/Diagnostics.h"
#include "platform/PrivateProfile.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

class DiagnosticsSink : public ::testing::Test {
protected:
    void SetUp() override { installDiagnosticsSink(&context, ui); }
    void TearDown() override { removeDiagnosticsSink(); }

    QObject context;
    RecordingUiServices ui;
};

TEST_F(DiagnosticsSink, ANoticeIsShownOnceAndWarningsOnlyLogged) {
    diag::warning(diag::storageCategory, "could not replace S.cba: writing: No space left on device");
    std::thread elsewhere([] {
        diag::notice(diag::platformCategory, "a.cba is too large: it is not read, and not written over");
    });
    elsewhere.join();
    diag::notice(diag::platformCategory, "a.cba is too large: it is not read, and not written over");
    EXPECT_TRUE(ui.messages().empty()) << "shown from the window's own turn of the event loop";
    QApplication::processEvents();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("a.cba is too large")));
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Skyvane Configuration Utility"));
}

// A file name can't forge a log line, nor a line of the message box.
TEST_F(DiagnosticsSink, NamesWithLineBreaksStayOnTheirLine) {
    diag::notice(diag::platformCategory, "evil\nskyvane.adapter: warning: fake.pem is too large");
    QApplication::processEvents();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("evil\\nskyvane.adapter: warning: fake.pem is too large"));
}

// A settings file far beyond the limit is refused by the INI layer; the user is told, once.
TEST_F(DiagnosticsSink, AnOversizedSettingsFileIsToldToTheUserOnce) {
    {
        std::ofstream big("big.ini", std::ios::trunc);
        big << "[Setini]\n";
        const std::string line(1000, ';');
        for (int i = 0; i < 6000; ++i) {
            big << line << "\n";
        }
    }
    EXPECT_EQ(platform::readProfileString("big.ini", "Setini", "Ver", "none", 100), "none");
    EXPECT_EQ(platform::readProfileString("big.ini", "Setini", "Main", "none", 100), "none");
    QApplication::processEvents();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("big.ini")))
        << ui.messages()[0].text.toStdString();
    std::remove("big.ini");
}

} // namespace
