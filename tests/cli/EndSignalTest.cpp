// Both programs, run as processes, take every signal that would end them at every phase of a
// download: before download mode the run stops with the printer untouched; once the printer is
// in download mode the run goes on to the restart, and only then does the program end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>

#include "tests/cli/CliProcess.h"

namespace clitest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

enum class Program { Console, Windowed };

void PrintTo(Program program, std::ostream* out) {
    *out << (program == Program::Windowed ? "rxt9-update" : "rxt9-update-cli");
}

// DATA1(M) in the printer's state file: what it had before, and what the package writes.
constexpr const char* kOldFirmware = "p 343530423432 6B1D";
constexpr const char* kNewFirmware = "p 343530443432 3AC3";

struct Phase {
    const char* name;
    // The simulated printer. The program's working directory is the test's.
    const char* configuration;
    // The phase is reached once the printer has been sent `count` transfers that begin with
    // these bytes, as the trace shows them.
    const char* sentBytes;
    int count;
    // What the script does after the signal: a printer held in its restart is let go.
    const char* afterSignal;
    bool downloadMode;
    int status;
    const char* endResult;  // the console program's `end` event
};

void PrintTo(const Phase& phase, std::ostream* out) {
    *out << phase.name;
}

const Phase kPhases[] = {
    // A link of one byte a second keeps the tool in its printer checks for about a second of
    // real time after the download's first status inquiry, the second one of the run.
    {"BeforeDownloadMode", "time-limit-ms 60000\nprinter\nlink-rate 1\n", "1B 47 44 30 00 00 03", 2,
     "", false, 130, "interrupted"},
    // The transfer, from the S0 record that opens the first image, lasts about 1.5 s of real
    // time on this link.
    {"MidTransfer", "printer\nlink-rate 80000\n", "53 30", 1, "", true, 130, "updated"},
    // The printer falls silent at its first version inquiry in download mode: the read waits
    // out the library's time limit, a second of real time, and the run fails.
    {"ReplyThatNeverComes", "time-limit-ms 1000\nprinter\nsilent-after 5\n", "1B 47 44 30 00 00 04",
     2, "", true, 1, "failed"},
    // The printer holds the restart command's write until the script lets it go, after the
    // signal: the program takes the signal in the restart wait that follows.
    {"RestartWait", "printer\nhold-restart release\n", "1B 66 72 00", 1,
     "sleep 0.2\ntouch release\n", true, 130, "updated"},
};

std::string Reached(const Phase& phase) {
    return "sent=$(grep -cs 'host->printer .*: " + std::string(phase.sentBytes) +
           "' transfers.trace); [ \"${sent:-0}\" -ge " + std::to_string(phase.count) + " ]";
}

// Waits until `condition` holds; a run that ends first, or never gets there, is reported.
std::string Await(const std::string& condition, const std::string& what) {
    return "tries=0\n"
           "until " +
           condition +
           "; do\n"
           // A program that has ended stays a zombie until the shell waits for it.
           "  if grep -qs '^[^)]*) Z' /proc/$program/stat || ! kill -0 $program 2>/dev/null; "
           "then\n"
           "    wait $program; echo \"ended with $? before " +
           what +
           "\"; exit 0; fi\n"
           "  tries=$((tries + 1))\n"
           "  if [ $tries -gt 2000 ]; then kill -KILL $program; echo 'never " +
           what +
           "'; exit 0; fi\n"
           "  sleep 0.01\n"
           "done\n";
}

// The windowed program on a display of its own, with Download pressed once the start-up check
// has read the printer's versions and closed its pipes. xdotool gives the main window the
// focus and presses Return, which the dialog gives to its default button, Download.
std::string StartWindowed() {
    return "Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>display 2>/dev/null &\n"
           "xvfb=$!\n"
           "trap 'kill $xvfb 2>/dev/null' EXIT\n"
           "until [ -s display ]; do sleep 0.01; done\n"
           "export DISPLAY=:$(cat display) QT_QPA_PLATFORM=xcb\n"
           "unset WAYLAND_DISPLAY\n"
           "fast_exec env --default-signal \"$GUI\" </dev/null >run.out 2>&1 &\n"
           "program=$!\n" +
           Await(
               "sed -n '/printer->host 0 36 bytes/,$p' transfers.trace 2>/dev/null | "
               "grep -qs 'close PIPE01'",
               "idle") +
           "window=$(timeout 20 xdotool search --sync --onlyvisible --pid $program "
           "--name '^KALDERON RX-T9 Update Tool$' | head -n 1)\n"
           "timeout 20 xdotool windowfocus --sync \"$window\" key Return\n";
}

// SIGINT and SIGQUIT of a background job are ignored in a shell without job control; env gives
// them back their default, as a terminal's job would have them.
std::string StartConsole() {
    return "fast_exec env --default-signal \"$CLI\" --json --download </dev/null >run.out "
           "2>&1 &\n"
           "program=$!\n";
}

std::string Script(Program program, const Phase& phase, const std::string& signal) {
    return (program == Program::Windowed ? StartWindowed() : StartConsole()) +
           Await(Reached(phase), "reached") + "kill -" + signal + " $program\n" +
           phase.afterSignal +
           "wait $program\n"
           "echo \"status=$?\"\n";
}

using Case = std::tuple<Program, Phase, const char*>;

class EndSignalTest : public CliProcessTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EndSignalTest, TheRunEndsAsItsPhaseAllowsAndNeverLeavesThePrinterInDownloadMode) {
    const auto& [program, phase, signal] = GetParam();
    if (program == Program::Windowed &&
        RunScript("command -v Xvfb >/dev/null && command -v xdotool >/dev/null").exitStatus != 0) {
        GTEST_SKIP() << "Xvfb and xdotool are needed to press Download in the windowed program";
    }
    Configure(phase.configuration);
    const auto result = RunScript(Script(program, phase, signal));
    const std::string output = ReadFile("run.out");
    ASSERT_EQ(result.output, "status=" + std::to_string(phase.status) + "\n") << output;

    const auto commands = CommandsSent();
    const bool entered =
        std::find(commands.begin(), commands.end(), kDownloadModeCommand) != commands.end();
    EXPECT_EQ(entered, phase.downloadMode);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), kRestartCommand),
              phase.downloadMode ? 1 : 0);
    if (phase.downloadMode) {
        EXPECT_EQ(commands.back(), kRestartCommand) << "the printer was restarted last";
    }
    const std::string state = ReadFile("printers.state");
    EXPECT_THAT(state, Not(HasSubstr("FFFFFFFFFFFF"))) << "no area was left erased";
    if (std::string(phase.endResult) == "updated") {
        EXPECT_THAT(state, HasSubstr(kNewFirmware));
    } else {
        EXPECT_THAT(state, Not(HasSubstr(kNewFirmware)));
        EXPECT_TRUE(state.empty() || state.find(kOldFirmware) != std::string::npos) << state;
    }

    if (program == Program::Windowed) {
        EXPECT_THAT(output, HasSubstr("rxt9-update: asked to end"));
        return;
    }
    const auto events = JsonLines(output);
    const auto interrupts = EventsNamed(events, "interrupt");
    ASSERT_EQ(interrupts.size(), 1u);
    EXPECT_EQ(interrupts[0]["finishing"], phase.downloadMode);
    const auto names = EventNames(events);
    EXPECT_LT(std::find(names.begin(), names.end(), "interrupt"),
              std::find(names.begin(), names.end(), "end"))
        << "the signal was told before the download's end";
    ASSERT_EQ(EventsNamed(events, "end").size(), 1u);
    EXPECT_EQ(EventsNamed(events, "end")[0]["result"], phase.endResult);
    EXPECT_EQ(events.back()["event"], "exit");
    EXPECT_EQ(events.back()["status"], phase.status);
}

// Every signal that would end the process, the terminal's and the session's among them.
constexpr const char* kSignals[] = {"INT",  "TERM", "HUP",  "QUIT",
                                    "USR1", "USR2", "ALRM", "RTMIN+3"};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const auto& [program, phase, signal] = info.param;
    std::string name = std::string(program == Program::Windowed ? "Windowed" : "Console") +
                       phase.name + "_" + signal;
    std::replace(name.begin(), name.end(), '+', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, EndSignalTest,
                         ::testing::Combine(::testing::Values(Program::Console, Program::Windowed),
                                            ::testing::ValuesIn(kPhases),
                                            ::testing::ValuesIn(kSignals)),
                         CaseName);

}  // namespace
}  // namespace clitest
