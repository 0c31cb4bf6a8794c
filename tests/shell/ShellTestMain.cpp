// One QApplication for the whole run (the platform is offscreen). The per-user registry and
// the instance lock go to folders of the test's scratch directory, never to the user's own.
#include "support/QtTestSetup.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class ShellApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const auto scratch = std::filesystem::current_path();
        for (const char* name : {"config", "runtime"}) {
            std::filesystem::create_directories(scratch / name);
            std::filesystem::permissions(scratch / name, std::filesystem::perms::owner_all);
        }
        ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (scratch / "runtime").c_str(), 1);
        useOffscreenByDefault();
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        installQtWaitPump();
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        removeQtWaitPump();
        m_app.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "shell_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ShellApplicationEnvironment);

} // namespace
