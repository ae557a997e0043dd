// What rxt9-update-cli does with its command line, its standard input and its signals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

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

// A script that starts a download in the background, waits until `condition` (a shell test)
// holds, sends the signal and reports the program's exit status.
std::string SignalWhen(const std::string& condition, const char* kill) {
    // SIGINT and SIGQUIT of a background job are ignored in a shell without job control; env
    // gives them back their default, as a terminal's job would have them.
    return "fast_exec env --default-signal \"$CLI\" --json --download </dev/null >run.out "
           "2>&1 &\n"
           "cli=$!\n"
           "tries=0\n"
           "until " +
           condition +
           "; do\n"
           "  tries=$((tries + 1))\n"
           "  if [ $tries -gt 3000 ]; then kill -KILL $cli; echo never-reached; exit 0; fi\n"
           "  sleep 0.01\n"
           "done\n"
           "kill -" +
           std::string(kill) +
           " $cli\n"
           "wait $cli\n"
           "echo \"status=$?\"\n";
}

// Once the JSON output holds `awaited`.
std::string SignalDuring(const std::string& awaited, const char* kill) {
    return SignalWhen("grep -qs '" + awaited + "' run.out", kill);
}

// Once the printer has been sent `count` commands that begin with `command`.
std::string SignalAfterCommand(const std::string& command, int count, const char* kill) {
    return SignalWhen("sent=$(grep -cs 'host->printer .*: " + command +
                          "' transfers.trace); [ \"${sent:-0}\" -ge " + std::to_string(count) +
                          " ]",
                      kill);
}

// A link that keeps the transfer going for about 1.5 s of real time on the sped-up clock, so
// that the signal reaches the tool well before the transfer's end.
constexpr const char* kSlowTransfer = "printer\nlink-rate 80000\n";

TEST_F(CliProcessTest, AnInterruptedDownloadThatFailedEndsWithStatusOne) {
    Configure(std::string(kSlowTransfer) + "write-fails image:t 2\n");
    const auto result = RunScript(SignalDuring("\"caption\":\"Upgrade\"", "TERM"));
    EXPECT_EQ(result.output, "status=1\n");
    const auto events = JsonLines(ReadFile("run.out"));
    ASSERT_EQ(EventsNamed(events, "interrupt").size(), 1u);
    EXPECT_EQ(events.back()["reason"], "failed");
    ASSERT_FALSE(CommandsSent().empty());
    EXPECT_EQ(CommandsSent().back(), kRestartCommand);
}

// The version inquiry, as the trace shows its first bytes.
constexpr const char* kVersionInquiry = "1B 47 44 30 00 00 04";

TEST_F(CliProcessTest, ASignalIsToldAtOnceWhileTheToolWaitsForAReplyThatNeverComes) {
    // The printer answers the start-up check and the download's first checks, then falls
    // silent at its first version inquiry in download mode: the tool's read waits out the
    // library's time limit, 5 s of real time. The acknowledgment must not wait for it; the
    // script allows half of that. What follows the read is left out (the program is killed):
    // the other cases show a run finishing after a signal.
    Configure("time-limit-ms 5000\nprinter\nsilent-after 5\n");
    std::string script = SignalAfterCommand(kVersionInquiry, 2, "TERM");
    script.replace(script.find("wait $cli"), std::string::npos,
                   "sent=$(date +%s%N)\n"
                   "until grep -qs '\"event\":\"interrupt\"' run.out; do sleep 0.01; done\n"
                   "took=$((($(date +%s%N) - sent) / 1000000))\n"
                   "[ $took -lt 2500 ] || echo \"told after $took ms\"\n"
                   "grep -qs '\"event\":\"message\"' run.out && echo 'told after the read'\n"
                   "kill -KILL $cli\n");
    const auto result = RunScript(script);
    EXPECT_EQ(result.output, "");
    const auto events = JsonLines(ReadFile("run.out"));
    ASSERT_EQ(EventsNamed(events, "interrupt").size(), 1u);
    EXPECT_EQ(EventsNamed(events, "interrupt")[0]["finishing"], true);
}

TEST_F(CliProcessTest, AConfigurationThatIsAFifoIsRefusedInsteadOfBlocking) {
    const auto result = RunScript(
        "mkfifo printers.fifo\n"
        "RXT9_SIM_CONFIG=$PWD/printers.fifo fast \"$CLI\" --download -y </dev/null >out 2>err\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=3\n");
    EXPECT_THAT(ReadFile("err"), HasSubstr("printers.fifo: not a regular file"));
    EXPECT_THAT(ReadFile("out"), HasSubstr("Printer is not connected"));
}

TEST_F(CliProcessTest, AnErasedVersionGetsAHintBesideTheRefusal) {
    // What a printer left with an erased DATA1(M) area reports.
    directory.WriteFile("printers.state",
                        "printer 0 543930303031\n"
                        "p FFFFFFFFFFFF 0000\n"
                        "t 343532433131 BEB3\n"
                        "c 303030303030 0000\n"
                        "f 343533413130 0000\n"
                        "s 343534463131 A789\n");
    const auto refused = RunScript(
        "fast \"$CLI\" --download -y </dev/null >out 2>err\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(refused.output, "status=3\n");
    EXPECT_THAT(ReadFile("out"), HasSubstr("This program is not applicable on this printer."));
    EXPECT_THAT(ReadFile("err"), HasSubstr("an earlier update may have been cut off. '-frcdlm' "
                                           "forces the download of package set 1."));

    // An ordinary printer that is not applicable gets no such hint.
    Configure("printer\nfirmware DATA1(M) 440A00 1234\n");
    directory.WriteFile("printers.state", "");
    const auto other = RunScript(
        "fast \"$CLI\" --download -y </dev/null >out 2>err\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(other.output, "status=3\n");
    EXPECT_THAT(ReadFile("out"), HasSubstr("This program is not applicable on this printer."));
    EXPECT_THAT(ReadFile("err"), Not(HasSubstr("cut off")));
}

TEST_F(CliProcessTest, ALockThatCannotBeMadeIsNotTakenForASecondCopy) {
    // A file where the user's private directory for the lock would go.
    const auto result = RunScript(
        "mkdir tmp\n"
        "echo taken > \"tmp/rxt9-update-$(id -u)\"\n"
        "RXT9_LOCK_DIR=$PWD/tmp fast \"$CLI\" --download -y </dev/null >out 2>err\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=73\n");
    EXPECT_EQ(ReadFile("out"), "") << "no window was shown";
    EXPECT_THAT(ReadFile("err"), HasSubstr("cannot take the single-instance lock: " +
                                           directory.Path() + "/tmp/rxt9-update-"));
    EXPECT_THAT(CommandsSent(), ::testing::IsEmpty());
}

TEST_F(CliProcessTest, ASignalEndsTheWaitForThePrinterAtOnce) {
    Configure("");
    const auto result = RunScript(
        "fast_exec \"$CLI\" --wait --json </dev/null >out 2>&1 &\n"
        "cli=$!\n"
        "tries=0\n"
        "until grep -qs '\"event\":\"waiting\"' out; do\n"
        "  tries=$((tries + 1))\n"
        "  if [ $tries -gt 3000 ]; then kill -KILL $cli; echo never-waiting; exit 0; fi\n"
        "  sleep 0.01\n"
        "done\n"
        "kill -TERM $cli\n"
        "wait $cli\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=130\n");
    EXPECT_THAT(EventNames(JsonLines(ReadFile("out"))),
                ElementsAre("window", "waiting", "interrupt", "exit"));
}

// The copies take the lock where the user's own copies all look, wherever their environment
// says the session's runtime directory is: another one, or none (as from cron).
TEST_F(CliProcessTest, SecondCopyEndsAtOnceSilentlyAndTheFirstEndsOnItsSignal) {
    // The first copy waits at its main window on an input that never ends.
    const auto result = RunScript(
        "unset RXT9_LOCK_DIR\n"
        "mkdir -m 700 first-runtime other-runtime\n"
        "export XDG_RUNTIME_DIR=$PWD/first-runtime\n"
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
        "(unset XDG_RUNTIME_DIR; fast \"$CLI\" --json --download </dev/null >second.out 2>&1)\n"
        "echo \"second=$?\"\n"
        "XDG_RUNTIME_DIR=$PWD/other-runtime fast \"$CLI\" --json --download </dev/null "
        ">>second.out 2>&1\n"
        "echo \"third=$?\"\n"
        "kill -TERM $first\n"
        "wait $first\n"
        "echo \"first=$?\"\n"
        "kill $holder\n");
    EXPECT_EQ(result.output, "second=75\nthird=75\nfirst=130\n");
    EXPECT_EQ(ReadFile("second.out"), "");
    const auto first = JsonLines(ReadFile("first.out"));
    EXPECT_THAT(EventNames(first), ElementsAre("window", "rows", "ready", "interrupt", "exit"));
    EXPECT_EQ(first.back()["reason"], "interrupted");
    EXPECT_THAT(CommandsSent(), Not(::testing::Contains(kDownloadModeCommand)));
}

}  // namespace
}  // namespace clitest
