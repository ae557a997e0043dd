// Every test of this suite runs on one QApplication on Qt's offscreen platform, so that no
// display is needed, with the fonts and the resolution of the test desktop.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "tests/platform/qt/TestDesktop.h"

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_desktop = std::make_unique<TestDesktop>();
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override {
        m_application.reset();
        m_desktop.reset();
    }

private:
    char m_name[9] = "qt_tests";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<TestDesktop> m_desktop;
    std::unique_ptr<QApplication> m_application;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
