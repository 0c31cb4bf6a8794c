// One QApplication for the whole test run (the widgets need it; the platform is offscreen).
#include "support/QtTestSetup.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        useOffscreenByDefault();
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        installQtWaitPump();
    }
    void TearDown() override {
        removeQtWaitPump();
        m_app.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "controls_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
