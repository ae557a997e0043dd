// rxt9-update where no window can be opened: a message on stderr and exit code 1, never
// Qt's abort.
#include <gtest/gtest.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

struct NoWindow {
    const char* name;
    const char* platform;  // QT_QPA_PLATFORM; null: unset
    const char* display;   // DISPLAY; null: unset
    const char* message;
};

void PrintTo(const NoWindow& c, std::ostream* out) {
    *out << c.name;
}

class ProgramTest : public ::testing::TestWithParam<NoWindow> {};

TEST_P(ProgramTest, EndsWithAMessage) {
    const NoWindow& run = GetParam();
    testing_support::ScopedEnvironment environment;
    environment.Unset("WAYLAND_DISPLAY");
    run.platform != nullptr ? environment.Set("QT_QPA_PLATFORM", run.platform)
                            : environment.Unset("QT_QPA_PLATFORM");
    run.display != nullptr ? environment.Set("DISPLAY", run.display) : environment.Unset("DISPLAY");
    const testing_support::ChildResult result =
        testing_support::ChildProcess(RXT9_PROGRAM).Run(60000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    EXPECT_NE(result.output.find(run.message), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(
    Displays, ProgramTest,
    ::testing::Values(
        NoWindow{
            "NoDisplay", nullptr, nullptr,
            "rxt9-update: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY"},
        NoWindow{
            "UnreachableDisplay", "xcb", ":4242",
            "rxt9-update: cannot open a window on the display: could not connect to display :4242"},
        NoWindow{"UnknownPlatform", "no-such-platform", nullptr,
                 "rxt9-update: cannot open a window on the display"}),
    [](const ::testing::TestParamInfo<NoWindow>& info) { return std::string(info.param.name); });

}  // namespace
