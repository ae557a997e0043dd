// Whole runs of rxt9-update-cli against the simulated printers: how each kind of end shows
// and which exit status tells it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/cli/CliProcess.h"

namespace clitest {
namespace {

using ::testing::ContainsRegex;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class ProcessRunTest : public CliProcessTest {};

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(ProcessRunTest, UpdatesThePrinterAndTheNextProcessFindsNothingToDo) {
    const auto first = Run({"--download"});
    ASSERT_FALSE(first.timedOut);
    EXPECT_EQ(first.exitStatus, 0) << first.output;
    EXPECT_THAT(first.output, HasSubstr("[warning] Success!\n"
                                        "    Success!\n"
                                        "    This DATA was downloaded properly on printer.\n"));
    // The After row holds what the printer reported after the transfer: the package.
    EXPECT_THAT(first.output,
                HasSubstr("DATA1(M)  450D42   -      450B42   6B1D   450D42   3AC3\n"));
    // On the sped-up clock the last half second may have passed already.
    EXPECT_THAT(first.output,
                ContainsRegex("Upgrade \\[####################\\] 100%  about [01] s left  "
                              "Loading DATA4\\(M\\)\\.\\.\\. Do not power off the printer\\.\n"));
    const auto commands = CommandsSent();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kRestartCommand);

    // The state file carries the new firmware into the next process, whose start-up check
    // already finds it, and whose download ends at the same-printer shortcut.
    const auto second = Run({"--download"});
    EXPECT_EQ(second.exitStatus, 2) << second.output;
    EXPECT_THAT(second.output, HasSubstr("[information] Version Check\n"
                                         "    DATA in the printer is the newest version.\n"));
    EXPECT_THAT(second.output, Not(HasSubstr("Success!")));
    EXPECT_THAT(CommandsSent(), Not(::testing::Contains(kDownloadModeCommand)));
}

// --check: the start-up check alone, its findings as one event, and its verdict as the status.
struct CheckCase {
    const char* name;
    const char* configuration;
    std::vector<std::string> options;
    bool updateFirst;  // a download updates the printer before the check
    int status;
    bool identityRead;
    bool updateApplies;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << c.name;
}

class CheckTest : public CliProcessTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckTest, SaysWhatTheStartupCheckFoundAndSendsNothingElse) {
    const CheckCase& c = GetParam();
    Configure(c.configuration);
    if (c.updateFirst) {
        ASSERT_EQ(Run({"--download"}).exitStatus, 0);
    }
    // What the start-up check sends when the window then closes unused.
    ASSERT_FALSE(Run(c.options, "q\n").timedOut);
    const std::vector<std::string> startupCommands = CommandsSent();

    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"--check", "--json"});
    const auto result = Run(arguments);
    EXPECT_EQ(result.exitStatus, c.status) << result.output;
    EXPECT_EQ(CommandsSent(), startupCommands);
    const auto events = JsonLines(result.output);
    EXPECT_THAT(EventsNamed(events, "download"), ::testing::IsEmpty());
    const auto checks = EventsNamed(events, "check");
    if (c.status == 3) {
        EXPECT_THAT(checks, ::testing::IsEmpty());
        EXPECT_EQ(EventsNamed(events, "message").at(0)["text"],
                  "Printer is not connected.\nPlease check a cable connection, and turn the "
                  "printer OFF and then ON.\nAnd please restart this application.");
        return;
    }
    ASSERT_EQ(checks.size(), 1u) << result.output;
    const nlohmann::json& check = checks[0];
    EXPECT_EQ(!check["identity"].get<std::string>().empty(), c.identityRead) << check;
    EXPECT_EQ(check["package_set"], 1);
    EXPECT_EQ(check["update_applies"], c.updateApplies);
    EXPECT_EQ(check["printer"][0]["version"], c.updateFirst ? "450D42" : "450B42");
    EXPECT_EQ(check["package"][0]["version"], "450D42");
    EXPECT_EQ(events.back()["reason"], c.updateApplies ? "update-applies" : "up-to-date");
}

INSTANTIATE_TEST_SUITE_P(
    Printers, CheckTest,
    ::testing::Values(CheckCase{"UpdateApplies", "printer\n", {}, false, 0, true, true},
                      CheckCase{"AlreadyHeld", "printer\n", {}, true, 2, true, false},
                      CheckCase{"Forced", "printer\n", {"-frcdlm"}, false, 0, false, true},
                      CheckCase{"NoPrinter", "", {}, false, 3, false, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(ProcessRunTest, CheckSaysInTextWhatApplies) {
    const auto result = Run({"--check"});
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_THAT(result.output, HasSubstr("DATA1(M)  450D42   -      450B42   6B1D   -        -\n"));
    EXPECT_THAT(result.output,
                HasSubstr("The printer T90001: package set 1 applies; an update applies.\n"));
}

// --wait: no printer means a wait, not message 2000; the count is taken once a second.
TEST_F(ProcessRunTest, AWaitThatRunsOutEndsAsNoPrinterDoes) {
    Configure("");
    const auto result = Run({"--wait=3", "--json", "-y"});
    EXPECT_EQ(result.exitStatus, 3) << result.output;
    const auto events = JsonLines(result.output);
    EXPECT_THAT(EventNames(events), ElementsAre("window", "waiting", "message", "exit"));
    EXPECT_EQ(EventsNamed(events, "waiting").at(0)["limit_s"], 3);
    EXPECT_THAT(EventsNamed(events, "message").at(0)["text"].get<std::string>(),
                HasSubstr("Printer is not connected."));
    // At 0, 1, 2 and 3 s each count looks for the first device and finds none.
    EXPECT_EQ(Occurrences(ReadFile("transfers.trace"), "open control handle of device 0: no such"),
              4);
}

TEST_F(ProcessRunTest, SeveralPrintersAreNoReasonToWait) {
    Configure("printer\nprinter\n");
    const auto result = Run({"--wait", "-y"});
    EXPECT_EQ(result.exitStatus, 3) << result.output;
    EXPECT_THAT(result.output, HasSubstr("Two or more printers are connected."));
    EXPECT_THAT(result.output, Not(HasSubstr("waiting")));
}

struct StartupCase {
    const char* name;
    const char* configuration;
    const char* message;
};

void PrintTo(const StartupCase& c, std::ostream* out) {
    *out << c.name;
}

class StartupClosesTest : public CliProcessTest,
                          public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupClosesTest, EndsWithStatusThreeAfterItsMessage) {
    Configure(GetParam().configuration);
    // Enter would press Download if the window stayed open.
    const auto result = Run({}, "\n");
    EXPECT_EQ(result.exitStatus, 3) << result.output;
    EXPECT_THAT(result.output, HasSubstr(GetParam().message));
    EXPECT_THAT(result.output, Not(HasSubstr("Download started.")));
    EXPECT_THAT(CommandsSent(), Not(::testing::Contains(kDownloadModeCommand)));
}

INSTANTIATE_TEST_SUITE_P(
    Printers, StartupClosesTest,
    ::testing::Values(
        StartupCase{"Missing", "", "[warning] Error\n    Printer is not connected.\n"},
        StartupCase{"TwoConnected", "printer\nprinter\n",
                    "    Two or more printers are connected.\n"},
        StartupCase{"NotApplicable", "printer\nfirmware DATA1(M) 440A00 1234\n",
                    "[information] Version Check\n"
                    "    This program is not applicable on this printer.\n"
                    "    DATA1(M) : 440A00 / 1234\n"
                    "    DATA2(T) : 452C11 / BEB3\n"
                    "    And please restart this application.\n"},
        StartupCase{"Printing", "printer\nprinting-state 1\n", "    It is under printing.\n"},
        StartupCase{"VersionReplyShort", "printer\nreply-short version 4\n",
                    "    Failed Version Information!\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(ProcessRunTest, FailedTransferEndsWithStatusOneAndRestartsThePrinter) {
    Configure("printer\nwrite-fails image:t 2\n");
    const auto result = Run({"--download", "--json"});
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    const auto events = JsonLines(result.output);
    const auto messages = EventsNamed(events, "message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back()["caption"], "Error");
    EXPECT_EQ(messages.back()["text"],
              "Failed!\nPlease turn the printer OFF and then ON, and download again.");
    const auto ends = EventsNamed(events, "end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["end"], "failure");
    EXPECT_EQ(ends[0]["result"], "failed");
    EXPECT_EQ(ends[0]["status"], 1);
    const auto commands = CommandsSent();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kRestartCommand);
}

TEST_F(ProcessRunTest, JsonLinesDescribeTheWholeDownload) {
    using nlohmann::json;
    const auto result = Run({"--json", "--download"});
    EXPECT_EQ(result.exitStatus, 0);
    const auto events = JsonLines(result.output);
    EXPECT_THAT(EventNames(events), ElementsAre("window", "rows", "ready", "download", "progress",
                                                "rows", "progress", "message", "end", "exit"));
    EXPECT_EQ(EventsNamed(events, "rows").back(), json::parse(R"j({"event":"rows",
        "package":[{"item":"DATA1(M)","version":"450D42","checksum":""},
                   {"item":"DATA2(T)","version":"452C11","checksum":""},
                   {"item":"DATA3(F)","version":"","checksum":""},
                   {"item":"DATA4(M)","version":"454F11","checksum":""}],
        "before":[{"item":"DATA1(M)","version":"450B42","checksum":"6B1D"},
                  {"item":"DATA2(T)","version":"452C11","checksum":"BEB3"},
                  {"item":"DATA3(F)","version":"","checksum":""},
                  {"item":"DATA4(M)","version":"454E11","checksum":"9C27"}],
        "after":[{"item":"DATA1(M)","version":"450D42","checksum":"3AC3"},
                 {"item":"DATA2(T)","version":"452C11","checksum":"BEB3"},
                 {"item":"DATA3(F)","version":"","checksum":""},
                 {"item":"DATA4(M)","version":"454F11","checksum":"A789"}]})j"));

    // The three progress windows in order, each state at a new tenth of the bar or a new
    // message line, never going back.
    std::vector<std::string> captions;
    json previous;
    for (const json& progress : EventsNamed(events, "progress")) {
        if (captions.empty() || captions.back() != progress["caption"]) {
            captions.push_back(progress["caption"]);
        } else {
            const int percent = progress["percent"];
            const int before = previous["percent"];
            EXPECT_TRUE(percent / 10 > before / 10 ||
                        (percent >= before && progress["message"] != previous["message"]))
                << progress.dump();
        }
        previous = progress;
    }
    EXPECT_THAT(captions, ElementsAre("Initializing...", "Version Check...", "Upgrade"));
    // On the sped-up clock the last half second may have passed already.
    EXPECT_LE(previous.value("remaining_s", 99), 1);
    previous.erase("remaining_s");
    EXPECT_EQ(previous, json::parse(R"({"event":"progress","caption":"Upgrade",
        "message":"Loading DATA4(M)...\nDo not power off the printer.","percent":100})"));

    EXPECT_EQ(EventsNamed(events, "message"),
              std::vector<json>{json::parse(R"({"event":"message","caption":"Success!",
                  "text":"Success!\nThis DATA was downloaded properly on printer.",
                  "icon":"warning"})")});
    EXPECT_EQ(EventsNamed(events, "end"),
              std::vector<json>{
                  json::parse(R"({"event":"end","end":"success","result":"updated","status":0})")});
    EXPECT_EQ(events.back(), json::parse(R"({"event":"exit","status":0,"reason":"updated"})"));
}

TEST_F(ProcessRunTest, RestartFailureBesideTheSuccessMessageIsAFailure) {
    Configure("printer\nwrite-fails restart\n");
    const auto result = Run({"--json", "--download"});
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    const auto events = JsonLines(result.output);
    const auto messages = EventsNamed(events, "message");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]["text"],
              "Failed!\nPlease turn the printer OFF and then ON, and download again.");
    EXPECT_EQ(messages[1]["caption"], "Success!");
    EXPECT_EQ(EventsNamed(events, "end").at(0)["result"], "failed");
}

struct LibraryCase {
    const char* name;
    const char* library;  // beside the programs
    const char* reason;   // what stderr says before the box
};

void PrintTo(const LibraryCase& c, std::ostream* out) {
    *out << c.name;
}

class LibraryRefusedTest : public CliProcessTest,
                           public ::testing::WithParamInterface<LibraryCase> {};

TEST_P(LibraryRefusedTest, EndsWithStatusFourAndNoWindow) {
    testing_support::ChildProcess child(RXT9_CLI);
    child.Env("RXT9_ZELPORT", std::string(RXT9_BIN_DIR) + "/" + GetParam().library)
        .Env("RXT9_LOCK_DIR", directory.Path());
    const auto result = child.Run(60000);
    EXPECT_EQ(result.exitStatus, 4) << result.output;
    EXPECT_EQ(result.output,
              "rxt9-update-cli: vendor library refused: " + std::string(RXT9_BIN_DIR) + "/" +
                  GetParam().library + GetParam().reason +
                  "\n[warning] Error\n    ZELPORT.dll Not Found\n");
}

INSTANTIATE_TEST_SUITE_P(Libraries, LibraryRefusedTest,
                         ::testing::Values(LibraryCase{"Missing", "zelport-absent/ZELPORT.so",
                                                       ": cannot open shared object file: No "
                                                       "such file or directory"},
                                           LibraryCase{"WithoutIoControl",
                                                       "zelport-incomplete/ZELPORT.so",
                                                       " has no entry point UsbDeviceIoControl"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ProcessRunTest, ForceOptionReachesTheSystemWhereverItStands) {
    // A printer in an error state fails the state check, which -frcdlm skips.
    Configure("printer\nerror-code 5\n");
    const auto plain = Run({"--download"});
    EXPECT_EQ(plain.exitStatus, 3) << plain.output;
    EXPECT_THAT(plain.output, HasSubstr("    Printer Error.\n"));

    const auto forced = Run({"--download", "-frcdlm"});
    EXPECT_EQ(forced.exitStatus, 0) << forced.output;
    EXPECT_THAT(forced.output, HasSubstr("    This DATA was downloaded properly on printer.\n"));
}

TEST_F(ProcessRunTest, ClosedOrBrokenOutputLeavesTheDownloadWhole) {
    // Closed standard streams, then an output pipe whose reader has gone before the first
    // line (each write fails with EPIPE and would raise SIGPIPE).
    const auto result = RunScript(
        "fast \"$CLI\" --download <&- >&- 2>&-\n"
        "echo \"closed=$?\"\n"
        "rm printers.state\n"
        "{ fast \"$CLI\" --download </dev/null; echo \"broken=$?\" >broken.status; } | true\n"
        "cat broken.status\n");
    EXPECT_EQ(result.output, "closed=0\nbroken=0\n");
    const auto commands = CommandsSent();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kRestartCommand);
}

// With too few descriptors for the simulated library's thread, the library refuses, starts no
// thread and unloads at once: the run ends with the start-up check's box and its status. How
// many descriptors the process already holds varies with what started it, so the run is tried
// under a range of limits; fewer still refuse the library itself (status 4).
TEST_F(CliProcessTest, ALibraryWithoutItsThreadStillLetsTheToolEnd) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's runtime takes the few descriptors that the limits leave";
#endif
    const auto result = RunScript(
        "for n in 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do\n"
        "  (ulimit -n $n; exec \"$CLI\" --json -y) > out 2>&1\n"
        "  status=$?\n"
        "  if grep -q 'wake-up channel' out; then echo \"without thread: $status\"; fi\n"
        "done\n");
    ASSERT_FALSE(result.timedOut) << "a run outlived its exit event:\n" << result.output;
    const auto occurrences = [&](const std::string& text) {
        int count = 0;
        for (size_t at = result.output.find(text); at != std::string::npos;
             at = result.output.find(text, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_GT(occurrences("without thread: 3\n"), 0) << result.output;
    EXPECT_EQ(occurrences("without thread: "), occurrences("without thread: 3\n"))
        << "every such run ends with status 3:\n"
        << result.output;
}

// Under address-space limits from too small to start the library's thread to just enough for
// the transfer's copies: each run ends with its exit event and never aborts, and a printer put
// into download mode is restarted.
TEST_F(CliProcessTest, ARunOutOfMemoryEndsWithoutLeavingThePrinterInDownloadMode) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's runtime reserves more address space than the limits leave";
#endif
    int failedInDownloadMode = 0;
    for (int limitKiB = 20000; limitKiB <= 100000; limitKiB += 5000) {
        SCOPED_TRACE("ulimit -v " + std::to_string(limitKiB));
        const auto result =
            RunScript("rm -f printers.state; ulimit -v " + std::to_string(limitKiB) +
                      "; fast_exec \"$CLI\" --download --json -y 2>/dev/null");
        ASSERT_FALSE(result.timedOut) << result.output;
        EXPECT_LT(result.exitStatus, 128) << result.output;
        const auto exits = EventsNamed(JsonLines(result.output), "exit");
        ASSERT_EQ(exits.size(), 1u) << result.output;
        const std::vector<std::string> commands = CommandsSent();
        const auto downloadMode = std::find(commands.begin(), commands.end(), kDownloadModeCommand);
        if (downloadMode != commands.end()) {
            EXPECT_NE(std::find(downloadMode, commands.end(), kRestartCommand), commands.end());
            failedInDownloadMode += result.exitStatus == 1 ? 1 : 0;
        }
    }
    EXPECT_GT(failedInDownloadMode, 0) << "no limit let the run reach download mode and then fail";
}

}  // namespace
}  // namespace clitest
