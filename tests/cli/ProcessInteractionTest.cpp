// What rxt9-update-cli does with its command line, its standard input and its signals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/CliProcess.h"

namespace clitest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

TEST_F(CliProcessTest, CommandLineErrorsHelpAndVersionEndBeforeAnyWindow) {
    const auto refused = Run({"--download", "--downlaod"});
    EXPECT_EQ(refused.exitStatus, 64);
    EXPECT_THAT(refused.output, StartsWith("rxt9-update-cli: unknown option '--downlaod'\n"
                                           "Usage: rxt9-update-cli [-frcdlm]"));
    const auto help = Run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_THAT(help.output, StartsWith("Usage: rxt9-update-cli"));
    EXPECT_THAT(help.output, HasSubstr("  130  interrupted"));
    const auto version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, "rxt9-update-cli 1.20\n");
    EXPECT_TRUE(CommandsSent().empty());
}

struct InputCase {
    const char* name;
    const char* input;
    int downloads;
    int status;
};

void PrintTo(const InputCase& c, std::ostream* out) {
    *out << c.name;
}

class StandardInputTest : public CliProcessTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(StandardInputTest, KeysActAsOnTheTerminalAndTheEndClosesTheWindow) {
    const auto result = Run({"--json"}, GetParam().input);
    EXPECT_EQ(result.exitStatus, GetParam().status) << result.output;
    const auto events = JsonLines(result.output);
    EXPECT_EQ(EventsNamed(events, "download").size(), static_cast<size_t>(GetParam().downloads));
    EXPECT_EQ(EventsNamed(events, "end").size(), static_cast<size_t>(GetParam().downloads));
}

INSTANTIATE_TEST_SUITE_P(Inputs, StandardInputTest,
                         ::testing::Values(InputCase{"Empty", "", 0, 0},
                                           InputCase{"Quit", "q\n\n", 0, 0},
                                           InputCase{"Escape", "\x1b\n", 0, 0},
                                           InputCase{"OtherKeysSkipped", "x \n", 1, 0},
                                           // The second download finds the printer already updated:
                                           // the status is the last one's.
                                           InputCase{"TwoDownloads", "\n\n", 2, 2}),
                         [](const auto& info) { return info.param.name; });

struct SignalCase {
    const char* name;
    const char* kill;  // how the script signals the program
};

void PrintTo(const SignalCase& c, std::ostream* out) {
    *out << c.name;
}

class InterruptTest : public CliProcessTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(InterruptTest, DuringADownloadLetsItFinishThenEndsWith130) {
    // SIGINT of a background job is ignored in a shell without job control; env gives it
    // back its default, as a terminal's job would have it.
    const auto result = RunScript(
        "fast_exec env --default-signal=INT \"$CLI\" --json --download </dev/null >run.out 2>&1 &\n"
        "cli=$!\n"
        "tries=0\n"
        "until grep -qs '\"event\":\"download\"' run.out; do\n"
        "  tries=$((tries + 1))\n"
        "  if [ $tries -gt 3000 ]; then kill -KILL $cli; echo never-started; exit 0; fi\n"
        "  sleep 0.01\n"
        "done\n"
        "kill -" +
        std::string(GetParam().kill) +
        " $cli\n"
        "wait $cli\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=130\n");

    const auto events = JsonLines(ReadFile("run.out"));
    const auto names = EventNames(events);
    const auto interrupt = std::find(names.begin(), names.end(), "interrupt");
    const auto end = std::find(names.begin(), names.end(), "end");
    ASSERT_NE(interrupt, names.end());
    ASSERT_NE(end, names.end());
    EXPECT_LT(interrupt, end) << "the interrupt came after the download's end";
    EXPECT_EQ(EventsNamed(events, "interrupt")[0]["finishing"], true);
    EXPECT_EQ(EventsNamed(events, "end")[0]["result"], "updated");
    EXPECT_EQ(events.back()["event"], "exit");
    EXPECT_EQ(events.back()["status"], 130);
    const auto commands = CommandsSent();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kRestartCommand);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptTest,
                         ::testing::Values(SignalCase{"Interrupt", "INT"},
                                           SignalCase{"Terminate", "TERM"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(CliProcessTest, SecondCopyEndsAtOnceSilentlyAndTheFirstEndsOnItsSignal) {
    // The first copy waits at its main window on an input that never ends.
    const auto result = RunScript(
        "mkfifo keys\n"
        "sleep 600 >keys &\n"
        "holder=$!\n"
        "fast_exec \"$CLI\" --json <keys >first.out 2>&1 &\n"
        "first=$!\n"
        "tries=0\n"
        "until grep -qs '\"event\":\"ready\"' first.out; do\n"
        "  tries=$((tries + 1))\n"
        "  if [ $tries -gt 3000 ]; then kill -KILL $first $holder; echo never-ready; exit 0; fi\n"
        "  sleep 0.01\n"
        "done\n"
        "fast \"$CLI\" --json --download </dev/null >second.out 2>&1\n"
        "echo \"second=$?\"\n"
        "kill -TERM $first\n"
        "wait $first\n"
        "echo \"first=$?\"\n"
        "kill $holder\n");
    EXPECT_EQ(result.output, "second=75\nfirst=130\n");
    EXPECT_EQ(ReadFile("second.out"), "");
    const auto first = JsonLines(ReadFile("first.out"));
    EXPECT_THAT(EventNames(first), ElementsAre("window", "rows", "ready", "interrupt", "exit"));
    EXPECT_EQ(first.back()["reason"], "interrupted");
    EXPECT_THAT(CommandsSent(), Not(::testing::Contains(kDownloadModeCommand)));
}

}  // namespace
}  // namespace clitest
