// Which vendor library rxt9-update-cli loads, and what it makes of libraries that are broken
// or misbehave, with the program run as a process. Each test runs a copy of the program from
// a directory of its own, with nothing beside it but the library the test places there, from
// another working directory, and with LD_LIBRARY_PATH naming a third.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRunTimeoutMs = 30000;
constexpr int kExitClosed = 0;
constexpr int kExitStartupClosed = 3;
constexpr int kExitLibraryRefused = 4;
// What the printer count would have sent first, had the tool written its status inquiry to
// the terminal.
const std::string kStatusInquiry("\x1B\x47\x44\x30\x00\x00\x03\x02\x16\x17", 10);

struct ProgramRun {
    testing_support::ChildResult result;
    std::vector<std::string> events;    // event names, in order
    std::vector<std::string> messages;  // texts of the message boxes, in order
};

class LibraryLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(RXT9_CLI_PROGRAM)) {
            GTEST_SKIP() << RXT9_CLI_PROGRAM << " is not built";
        }
        environment.Set("LC_ALL", "C.UTF-8");
        fs::copy_file(RXT9_CLI_PROGRAM, Program());
        fs::permissions(Program(), fs::perms::owner_all);
    }

    std::string Program() const { return install.File("rxt9-update-cli"); }
    std::string PlantedLog() const { return runtime.File("planted-library.log"); }

    void PlaceBeside(const std::string& library) const {
        fs::copy_file(library, install.File("ZELPORT.so"));
    }
    // Libraries that note their load, under every name the tool might look for, in the
    // working directory and on the loader's search path.
    void PlantElsewhere() const {
        for (const auto* directory : {&working, &searchPath}) {
            for (const char* name : {"ZELPORT.so", "ZELPORT.dll", "libZELPORT.so"}) {
                fs::copy_file(RXT9_MISBEHAVING_LIBRARY, directory->File(name));
            }
        }
    }
    bool PlantedWasLoaded() const { return fs::exists(PlantedLog()); }

    ProgramRun Start(const std::string& mode = "", const std::string& namedLibrary = "") const {
        testing_support::ChildProcess program(Program());
        program.Arg("--json")
            .Arg("--assume-yes")
            .Env("LC_ALL", "C.UTF-8")
            .Env("LD_LIBRARY_PATH", searchPath.Path())
            .Env("RXT9_ZELPORT", namedLibrary)
            .Env("RXT9_SIM_CONFIG", "")
            .Env("RXT9_SIM_STATE", "")
            .Env("RXT9_TEST_ZELPORT_MODE", mode)
            .Env("RXT9_TEST_ZELPORT_LOG", PlantedLog())
            .Env("RXT9_LOCK_DIR", runtime.Path())
            .WorkingDirectory(working.Path());
        ProgramRun run{program.Run(kRunTimeoutMs), {}, {}};
        std::istringstream lines(run.result.output);
        for (std::string line; std::getline(lines, line);) {
            const auto event = nlohmann::json::parse(line, nullptr, false);
            if (!event.is_object()) {
                continue;
            }
            run.events.push_back(event.value("event", ""));
            if (run.events.back() == "message") {
                run.messages.push_back(event.value("text", ""));
            }
        }
        return run;
    }

    testing_support::ScopedEnvironment environment;
    testing_support::TemporaryDirectory install;
    testing_support::TemporaryDirectory working;
    testing_support::TemporaryDirectory searchPath;
    testing_support::TemporaryDirectory runtime;
};

std::string StartupError(unsigned id) {
    return CMessageCatalogue::ComposeError(id, IDS_SUFFIX_RESTART);
}

void ExpectEndedNormally(const ProgramRun& run) {
    EXPECT_FALSE(run.result.timedOut);
    EXPECT_LT(run.result.exitStatus, 128) << "ended by a signal:\n" << run.result.output;
}

TEST_F(LibraryLoadingTest, OnlyTheLibraryBesideTheProgramIsLoaded) {
    PlantElsewhere();
    PlaceBeside(RXT9_SIM_LIBRARY);
    const ProgramRun run = Start();
    ExpectEndedNormally(run);
    EXPECT_EQ(run.result.exitStatus, kExitClosed) << run.result.output;
    EXPECT_EQ(run.events, (std::vector<std::string>{"window", "rows", "ready", "exit"}))
        << "the start-up check found the simulated printer beside the program";
    EXPECT_FALSE(PlantedWasLoaded());
}

TEST_F(LibraryLoadingTest, WithNothingBesideTheProgramTheOthersAreNotTried) {
    PlantElsewhere();
    const ProgramRun run = Start();
    ExpectEndedNormally(run);
    EXPECT_EQ(run.result.exitStatus, kExitLibraryRefused);
    EXPECT_EQ(run.messages, std::vector<std::string>{kLibraryNotFound});
    EXPECT_FALSE(PlantedWasLoaded());
}

// Each refused library gives the same box, and stderr says why: the loader's own error, the
// missing entry point, or a file that other users could have changed.
TEST_F(LibraryLoadingTest, ARefusedLibraryIsRefusedForAReasonThatIsSaid) {
    struct RefusalCase {
        const char* name;
        std::function<void(const std::string& beside)> place;
        std::string said;
    };
    const RefusalCase cases[] = {
        {"missing", [](const std::string&) {}, "ZELPORT.so: cannot open shared object file"},
        {"not a library",
         [](const std::string& beside) { std::ofstream(beside) << std::string(4096, 'x'); },
         "ZELPORT.so: invalid ELF header"},
        {"without an entry point",
         [](const std::string& beside) { fs::copy_file(RXT9_INCOMPLETE_LIBRARY, beside); },
         "ZELPORT.so has no entry point UsbDeviceIoControl"},
        {"writable by others",
         [](const std::string& beside) {
             fs::copy_file(RXT9_SIM_LIBRARY, beside);
             fs::permissions(beside, fs::perms::others_write, fs::perm_options::add);
         },
         "ZELPORT.so: users other than its owner can write to it"},
        {"writable by the group",
         [](const std::string& beside) {
             fs::copy_file(RXT9_SIM_LIBRARY, beside);
             fs::permissions(beside, fs::perms::group_write, fs::perm_options::add);
         },
         "ZELPORT.so: users other than its owner can write to it"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(install.File("ZELPORT.so"));
        c.place(install.File("ZELPORT.so"));
        const ProgramRun run = Start();
        ExpectEndedNormally(run);
        EXPECT_EQ(run.result.exitStatus, kExitLibraryRefused);
        EXPECT_EQ(run.messages, std::vector<std::string>{kLibraryNotFound});
        EXPECT_NE(run.result.output.find("vendor library refused: "), std::string::npos);
        EXPECT_NE(run.result.output.find(c.said), std::string::npos) << run.result.output;
    }
}

TEST_F(LibraryLoadingTest, ALibraryOwnedByAnotherUserIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    PlaceBeside(RXT9_SIM_LIBRARY);
    ASSERT_EQ(chown(install.File("ZELPORT.so").c_str(), 65534, 65534), 0);
    const ProgramRun run = Start();
    ExpectEndedNormally(run);
    EXPECT_EQ(run.result.exitStatus, kExitLibraryRefused);
    EXPECT_NE(run.result.output.find("ZELPORT.so: owned by another user (uid 65534)"),
              std::string::npos)
        << run.result.output;
}

TEST_F(LibraryLoadingTest, TheFileNamedByTheEnvironmentIsLoadedInstead) {
    PlantElsewhere();
    PlaceBeside(RXT9_SIM_LIBRARY);
    const ProgramRun named = Start("", RXT9_NONE_LIBRARY);
    ExpectEndedNormally(named);
    EXPECT_EQ(named.result.exitStatus, kExitStartupClosed);
    EXPECT_EQ(named.messages, std::vector<std::string>{StartupError(IDS_NOT_CONNECTED)})
        << "the library without printers was used, not the simulated one beside";

    const ProgramRun plainName = Start("", "ZELPORT.so");
    EXPECT_EQ(plainName.result.exitStatus, kExitClosed)
        << "a name without a directory is looked up beside the program:\n"
        << plainName.result.output;
    EXPECT_FALSE(PlantedWasLoaded());
}

// A library beside the program that is no library, lacks an entry point or misbehaves.
struct BadLibrary {
    const char* name;
    std::string file;  // copied beside the program; empty: `contents` is written there
    std::string contents;
    std::string mode;  // of the misbehaving library
    int exitStatus;
    std::vector<std::string> messages;
};

void PrintTo(const BadLibrary& bad, std::ostream* out) {
    *out << bad.name;
}

class BadLibraryTest : public LibraryLoadingTest,
                       public ::testing::WithParamInterface<BadLibrary> {};

TEST_P(BadLibraryTest, GivesItsMessageAndEndsWithoutACrash) {
    const BadLibrary& bad = GetParam();
    if (bad.file.empty()) {
        install.WriteFile("ZELPORT.so", bad.contents);
    } else {
        PlaceBeside(bad.file);
    }
    const ProgramRun run = Start(bad.mode);
    ExpectEndedNormally(run);
    EXPECT_EQ(run.result.exitStatus, bad.exitStatus) << run.result.output;
    EXPECT_EQ(run.messages, bad.messages) << run.result.output;
    EXPECT_EQ(run.result.output.find(kStatusInquiry), std::string::npos)
        << "a printer command reached the tool's own output";
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, BadLibraryTest,
    ::testing::Values(
        BadLibrary{
            "TextFile", "", "not a shared object\n", "", kExitLibraryRefused, {kLibraryNotFound}},
        BadLibrary{"EmptyFile", "", "", "", kExitLibraryRefused, {kLibraryNotFound}},
        BadLibrary{"WithoutUsbDeviceIoControl",
                   RXT9_INCOMPLETE_LIBRARY,
                   "",
                   "",
                   kExitLibraryRefused,
                   {kLibraryNotFound}},
        BadLibrary{"RefusesTheVendorId",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "refuse-vendor",
                   kExitStartupClosed,
                   {StartupError(IDS_NOT_CONNECTED)}},
        BadLibrary{"AcceptsTheVendorIdThenEveryOpenFails",
                   RXT9_NONE_LIBRARY,
                   "",
                   "",
                   kExitStartupClosed,
                   {StartupError(IDS_NOT_CONNECTED)}},
        BadLibrary{"HandlesThatAreNoOpenFiles",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "handles-not-open",
                   kExitStartupClosed,
                   {StartupError(IDS_STATE_FAILED)}},
        // The standard streams count as open handles, but no file call reaches them: the
        // printer count's closes and the status inquiry fail, and the tool's own output stays
        // whole.
        BadLibrary{"StandardStreamsAsHandles",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "standard-streams",
                   kExitStartupClosed,
                   {StartupError(IDS_STATE_FAILED)}},
        BadLibrary{"StandardStreamsAsPipes",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "streams-after-count",
                   kExitStartupClosed,
                   {StartupError(IDS_STATE_FAILED)}},
        // Writes vanish into /dev/null and every read brings zeros, which no reply begins with.
        BadLibrary{"HandlesOfOtherFiles",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "other-files",
                   kExitStartupClosed,
                   {StartupError(IDS_STATE_FAILED)}},
        // The tool has said how it ended; an unload that hangs cannot keep it running.
        BadLibrary{"UnloadThatNeverReturns",
                   RXT9_MISBEHAVING_LIBRARY,
                   "",
                   "unload-never-returns",
                   kExitStartupClosed,
                   {StartupError(IDS_NOT_CONNECTED)}}),
    [](const ::testing::TestParamInfo<BadLibrary>& info) { return info.param.name; });

}  // namespace
