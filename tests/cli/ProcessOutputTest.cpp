// rxt9-update-cli with an output that cannot keep up or cannot be written: the download goes
// on regardless, its messages arrive once the output drains, and a lost output is told.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/CliProcess.h"

namespace clitest {
namespace {

using ::testing::HasSubstr;

class ProcessOutputTest : public CliProcessTest {};

struct LostOutputCase {
    const char* name;
    const char* options;
};

void PrintTo(const LostOutputCase& c, std::ostream* out) {
    *out << c.name;
}

class LostOutputTest : public ProcessOutputTest,
                       public ::testing::WithParamInterface<LostOutputCase> {};

TEST_P(LostOutputTest, AnOutputThatCannotBeWrittenIsToldAndTheUpdateIsWhole) {
    const auto result = RunScript(std::string("fast \"$CLI\" --download ") + GetParam().options +
                                  " </dev/null >/dev/full 2>errors\n"
                                  "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=74\n");
    EXPECT_THAT(ReadFile("errors"),
                HasSubstr("rxt9-update-cli: standard output cannot be written: No space left"));
    const auto commands = CommandsSent();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kRestartCommand);
    // The printer was updated: the next run finds nothing to do.
    EXPECT_EQ(Run({"--download"}).exitStatus, 2);
}

INSTANTIATE_TEST_SUITE_P(Outputs, LostOutputTest,
                         ::testing::Values(LostOutputCase{"Text", ""},
                                           LostOutputCase{"Json", "--json"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ProcessOutputTest, AFailedDownloadStillEndsWithStatusOneWhenTheOutputIsLost) {
    Configure("printer\nwrite-fails image:t 2\n");
    const auto result = RunScript(
        "fast \"$CLI\" --download -y </dev/null >/dev/full 2>/dev/null\n"
        "echo \"status=$?\"\n");
    EXPECT_EQ(result.output, "status=1\n");
}

// A terminal stopped as Ctrl-S stops it, which nobody starts again until the printer has been
// restarted: the whole download must happen while not one byte of output can be written, with
// no block held up by it, and everything it said must arrive once the terminal goes on.
constexpr const char* kStoppedTerminal = R"(
import os, pty, select, subprocess, termios, time
master, terminal = pty.openpty()
termios.tcflow(terminal, termios.TCOOFF)
fast = dict(os.environ, LD_PRELOAD=os.environ["FAST_PRELOAD"], FAKETIME=os.environ["FAST_SPEED"])
cli = subprocess.Popen([os.environ["CLI"], "--download", "-y"], stdin=subprocess.DEVNULL,
                       stdout=terminal, stderr=terminal, env=fast)
def restarted():
    try:
        with open("transfers.trace") as trace:
            return "1B 66 72 00" in trace.read()
    except OSError:
        return False
for _ in range(6000):
    if restarted() or cli.poll() is not None:
        break
    time.sleep(0.01)
print("restarted while stopped" if restarted() else "not restarted")
print("waiting for the terminal" if cli.poll() is None else "ended without its output")
termios.tcflow(terminal, termios.TCOON)
shown = b""
while True:
    ready, _, _ = select.select([master], [], [], 0.2)
    if ready:
        try:
            shown += os.read(master, 65536)
        except OSError:
            break
    elif cli.poll() is not None:
        break
print("status=%d" % cli.wait())
with open("shown", "wb") as out:
    out.write(shown)
# The trace's times are on the sped-up clock; the largest gap between two blocks of an image,
# in real seconds.
speed = float(os.environ["FAST_SPEED"].split("x")[1])
blocks, gap, last = 0, 0.0, None
with open("transfers.trace") as trace:
    for line in trace:
        fields = line.split()
        block = "host->printer" in fields and "4096" in fields
        if block and last is not None:
            gap = max(gap, (float(fields[0]) - last) / speed)
        last = float(fields[0]) if block else None
        blocks += block
print("blocks sent" if blocks > 1000 else "only %d blocks" % blocks)
print("gaps under 1 s" if gap < 1.0 else "a gap of %.3f s between blocks" % gap)
)";

TEST_F(ProcessOutputTest, AStoppedTerminalDoesNotHoldUpTheDownload) {
    directory.WriteFile("stopped.py", kStoppedTerminal);
    const auto result = RunScript("python3 stopped.py\n");
    EXPECT_EQ(result.output,
              "restarted while stopped\nwaiting for the terminal\nstatus=0\nblocks sent\n"
              "gaps under 1 s\n");
    const std::string shown = ReadFile("shown");
    EXPECT_THAT(shown, HasSubstr("Download started."));
    EXPECT_THAT(shown, HasSubstr("Download ended on its success end"));
    EXPECT_THAT(shown, HasSubstr("Upgrade ["));
}

}  // namespace
}  // namespace clitest
