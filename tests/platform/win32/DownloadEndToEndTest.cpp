// rxt9-update.exe in real windows against the simulated ZELPORT.dll: a whole Download, the
// start-up refusals of libraries it must not use, and the screenshots of the README. Each
// case starts the program as a user would and drives it through WindowDriver; a box that no
// step answers fails the wait for it instead of hanging the test.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/win32/WindowDriver.h"

namespace {

using testing_support::PrintTo;

namespace fs = std::filesystem;
using win32::WindowDriver;

constexpr const char* kMainCaption = "KALDERON RX-T9 Update Tool";
constexpr int kDownloadButton = 1000;
constexpr int kMessageText = 0xFFFF;
constexpr int kOkButton = 1;
constexpr int kEscapeKey = 0x1B;
constexpr uint32_t kStartMs = 20000;
// The program's own dialogs, which are no message boxes.
const std::vector<std::string> kDialogs = {kMainCaption, "Upgrade", "Initializing...",
                                           "Version Check...", "About"};
// The Download's waits add up to 57.8 s; the rest is margin for a busy machine.
constexpr uint32_t kDownloadMs = 150000;

struct AfterField {
    int versionId;
    int checksumId;
    const char* version;
    const char* checksum;
};
constexpr AfterField kAfterRow[] = {
    {1004, 1002, "450D42", "3AC3"},
    {1010, 1009, "452C11", "BEB3"},
    {1012, 1013, "", ""},
    {1024, 1025, "454F11", "A789"},
};

fs::path ProgramDirectory() {
    return fs::path(RXT9_BIN_DIR);
}

// A fresh directory for one case, removed afterwards.
class Scratch {
public:
    explicit Scratch(const std::string& name)
        : m_path(fs::temp_directory_path() / ("rxt9-e2e-" + name)) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

void SaveScreenshot(void* window, const std::string& name) {
    const char* directory = std::getenv("RXT9_SCREENSHOT_DIR");
    if (directory != nullptr && *directory != '\0') {
        EXPECT_TRUE(WindowDriver::SaveBitmap(window, std::string(directory) + "/" + name + ".bmp"));
    }
}

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts the program in the scratch directory over printers of the given configuration.
bool StartWithPrinters(WindowDriver& driver, const Scratch& scratch, const std::string& printers) {
    const fs::path config = scratch.Path() / "printer.conf";
    std::ofstream(config) << printers;
    return driver.Start((ProgramDirectory() / "rxt9-update.exe").string(), "",
                        scratch.Path().string(),
                        {"RXT9_SIM_STATE=", "RXT9_SIM_CONFIG=" + config.string()});
}

// The main window once the start-up check has filled its Before row and Download can be
// pressed; null when that did not happen in time.
void* WaitForStartupCheck(const WindowDriver& driver) {
    void* main = driver.WaitForWindow(kMainCaption, kStartMs);
    const bool ready = main != nullptr && WaitUntil([&] {
                           return !WindowDriver::ControlText(main, 1014).empty() &&
                                  WindowDriver::IsControlEnabled(main, kDownloadButton);
                       });
    return ready ? main : nullptr;
}

// Starts the program over a printer whose run fails at the version check in download mode (the
// second version reply is cut short) and presses Download; the main window once the printer
// is being put into download mode, or null when that did not happen in time.
void* StartAFailingRun(WindowDriver& driver, const Scratch& scratch) {
    void* main = StartWithPrinters(driver, scratch, "printer\nreply-short version 18 2\n")
                     ? WaitForStartupCheck(driver)
                     : nullptr;
    if (main == nullptr) {
        return nullptr;
    }
    WindowDriver::Click(main, kDownloadButton);
    return driver.WaitForWindow("Initializing...", kStartMs) != nullptr ? main : nullptr;
}

// Answers the next message box; its caption and text.
std::pair<std::string, std::string> AnswerBox(const WindowDriver& driver, uint32_t waitMs) {
    void* box = driver.WaitForMessageBox(kDialogs, waitMs);
    if (box == nullptr) {
        return {};
    }
    std::pair<std::string, std::string> seen{WindowDriver::Caption(box),
                                             WindowDriver::ControlText(box, kMessageText)};
    WindowDriver::Click(box, kOkButton);
    return seen;
}

// The vendor's library may export its entry points as __cdecl or as __stdcall under plain
// names; the 32-bit program must update the printer over either. x86_64 has one convention,
// so the __stdcall build is the same library there.
struct Convention {
    const char* name;
    const char* folder;  // folder of bin/ with its ZELPORT.dll
    bool only32Bit;
};

class WholeDownloadTest : public testing::TestWithParam<Convention> {};

TEST_P(WholeDownloadTest, UpdatesThePrinter) {
    const Convention& convention = GetParam();
    if (convention.only32Bit && sizeof(void*) != 4) {
        GTEST_SKIP() << "x86_64 has one calling convention";
    }
    Scratch scratch(std::string("download-") + convention.name);
    const fs::path programDir = scratch.Path() / "program";
    fs::create_directories(programDir);
    fs::copy_file(ProgramDirectory() / "rxt9-update.exe", programDir / "rxt9-update.exe");
    fs::copy_file(ProgramDirectory() / convention.folder / "ZELPORT.dll",
                  programDir / "ZELPORT.dll");
    // The README's pictures come from one of the runs.
    const bool pictured = !convention.only32Bit;
    WindowDriver driver;
    const fs::path program = programDir / "rxt9-update.exe";
    ASSERT_TRUE(driver.Start(
        program.string(), "", scratch.Path().string(),
        {"RXT9_SIM_STATE=" + (scratch.Path() / "state").string(), "RXT9_SIM_CONFIG="}));
    void* main = driver.WaitForWindow(kMainCaption, kStartMs);
    ASSERT_NE(main, nullptr);
    // The start-up check has run once it has filled the Before row.
    ASSERT_TRUE(WaitUntil([&] { return !WindowDriver::ControlText(main, 1014).empty(); }))
        << "the start-up check did not finish";
    EXPECT_EQ(WindowDriver::ControlText(main, 1014), "450B42");
    EXPECT_EQ(WindowDriver::ControlText(main, 1015), "6B1D");
    EXPECT_EQ(WindowDriver::ControlText(main, 1005), "450D42");
    ASSERT_TRUE(WaitUntil([&] { return WindowDriver::IsControlEnabled(main, kDownloadButton); }));
    if (pictured) {
        SaveScreenshot(main, "win32-main-window-before");
    }

    WindowDriver::Click(main, kDownloadButton);
    void* upgrade = driver.WaitForWindow("Upgrade", kDownloadMs);
    ASSERT_NE(upgrade, nullptr);
    // Pictured once the first image is on its way and the bar has moved.
    EXPECT_TRUE(WaitUntil([&] {
        return WindowDriver::ControlText(upgrade, 1005).starts_with("Loading DATA1(M)") &&
               WindowDriver::ControlText(upgrade, 1004) != "0%";
    }));
    if (pictured) {
        SaveScreenshot(upgrade, "win32-progress-upgrade");
    }

    const auto [caption, text] = AnswerBox(driver, kDownloadMs);
    EXPECT_EQ(caption, "Success!");
    EXPECT_EQ(text, "Success!\nThis DATA was downloaded properly on printer.");
    for (const AfterField& field : kAfterRow) {
        EXPECT_EQ(WindowDriver::ControlText(main, field.versionId), field.version);
        EXPECT_EQ(WindowDriver::ControlText(main, field.checksumId), field.checksum);
    }
    // The run ends, and the button comes back, once the box is answered.
    EXPECT_TRUE(WaitUntil([&] { return WindowDriver::IsControlEnabled(main, kDownloadButton); }));
    if (pictured) {
        SaveScreenshot(main, "win32-main-window-after");
    }

    WindowDriver::Close(main);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
    std::ifstream state(scratch.Path() / "state");
    const std::string stored((std::istreambuf_iterator<char>(state)),
                             std::istreambuf_iterator<char>());
    EXPECT_NE(stored.find("p 343530443432"), std::string::npos) << stored;
}

INSTANTIATE_TEST_SUITE_P(Conventions, WholeDownloadTest,
                         testing::Values(Convention{"cdecl", ".", false},
                                         Convention{"stdcall", "zelport-stdcall", true}),
                         [](const testing::TestParamInfo<Convention>& info) {
                             return std::string(info.param.name);
                         });

TEST(DownloadEndToEndTest, TheAboutItemOfTheSystemMenuOpensTheAboutBox) {
    constexpr uint32_t kAboutCommand = 16;
    Scratch scratch("about");
    WindowDriver driver;
    ASSERT_TRUE(driver.Start((ProgramDirectory() / "rxt9-update.exe").string(), "",
                             scratch.Path().string(), {"RXT9_SIM_STATE=", "RXT9_SIM_CONFIG="}));
    void* main = driver.WaitForWindow(kMainCaption, kStartMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowDriver::IsControlEnabled(main, kDownloadButton); }));
    WindowDriver::ChooseSystemCommand(main, kAboutCommand);
    void* about = driver.WaitForWindow("About", kStartMs);
    ASSERT_NE(about, nullptr);
    WindowDriver::Click(about, kOkButton);
    EXPECT_TRUE(WaitUntil([&] { return !WindowDriver::Exists(about); }));
    EXPECT_TRUE(WindowDriver::Exists(main));
    WindowDriver::Close(main);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
}

// Libraries the program must refuse with the same box, each placed where the program would
// meet it: beside the program (copied alone into a directory), or only in the current
// directory, where a planted library must not be loaded. RXT9_ZELPORT, which the Linux
// programs follow, names a working library in every case: Windows loads only "ZELPORT.dll".
struct RefusedLibrary {
    const char* name;
    const char* library;  // folder of bin/ with the ZELPORT.dll to place, or "" for none
    bool besideProgram;
};

class RefusedLibraryTest : public testing::TestWithParam<RefusedLibrary> {};

TEST_P(RefusedLibraryTest, ShowsNotFoundAndEnds) {
    const RefusedLibrary& library = GetParam();
    Scratch scratch(library.name);
    const fs::path programDir = scratch.Path() / "program";
    const fs::path currentDir = scratch.Path() / "current";
    fs::create_directories(programDir);
    fs::create_directories(currentDir);
    fs::copy_file(ProgramDirectory() / "rxt9-update.exe", programDir / "rxt9-update.exe");
    if (*library.library != '\0') {
        const fs::path target = (library.besideProgram ? programDir : currentDir) / "ZELPORT.dll";
        fs::copy_file(ProgramDirectory() / library.library / "ZELPORT.dll", target);
    }
    WindowDriver driver;
    const fs::path working = ProgramDirectory() / "ZELPORT.dll";
    ASSERT_TRUE(driver.Start((programDir / "rxt9-update.exe").string(), "", currentDir.string(),
                             {"RXT9_SIM_STATE=", "RXT9_ZELPORT=" + working.string()}));
    void* box = driver.WaitForMessageBox(kDialogs, kStartMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowDriver::Caption(box), "Error");
    EXPECT_EQ(WindowDriver::ControlText(box, kMessageText), "ZELPORT.dll Not Found");
    EXPECT_EQ(driver.WaitForWindow(kMainCaption, 0), nullptr);
    WindowDriver::Click(box, kOkButton);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
}

INSTANTIATE_TEST_SUITE_P(Libraries, RefusedLibraryTest,
                         testing::Values(RefusedLibrary{"missing", "", true},
                                         RefusedLibrary{"planted", ".", false},
                                         RefusedLibrary{"incomplete", "zelport-incomplete", true},
                                         RefusedLibrary{"other-arch", "zelport-other-arch", true}),
                         [](const testing::TestParamInfo<RefusedLibrary>& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST(SessionEndTest, AnIdleProgramLetsTheSessionEndAndCloses) {
    Scratch scratch("session-idle");
    WindowDriver driver;
    ASSERT_TRUE(driver.Start((ProgramDirectory() / "rxt9-update.exe").string(), "",
                             scratch.Path().string(), {"RXT9_SIM_STATE=", "RXT9_SIM_CONFIG="}));
    void* main = WaitForStartupCheck(driver);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WindowDriver::QueryEndSession(main));
    EXPECT_TRUE(WindowDriver::Exists(main)) << "the program closed before the session ended";
    WindowDriver::EndSession(main);
    // Ended at the session's request, as a signal ends the program elsewhere.
    EXPECT_EQ(driver.WaitForExit(kStartMs), 130);
}

// Outside a Download the session may end, also while a box is open: here the start-up
// check's last one.
TEST(SessionEndTest, AnIdleBoxLetsTheSessionEnd) {
    Scratch scratch("session-idle-box");
    WindowDriver driver;
    ASSERT_TRUE(StartWithPrinters(driver, scratch, "# nothing attached\n"));
    void* box = driver.WaitForMessageBox(kDialogs, kStartMs);
    ASSERT_NE(box, nullptr);
    void* main = driver.WaitForWindow(kMainCaption, kStartMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WindowDriver::QueryEndSession(main)) << "only a Download may hold the session";
    WindowDriver::Click(box, kOkButton);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
}

// Asked to end while the printer is in download mode, by the session or by closing the main
// window, the program finishes the run, restart included, and then ends by itself. The run
// fails at the version check in download mode (the second version reply is cut short), so
// that it is short. A session end that is refused and then cancelled leaves the run's boxes
// to the user again.
struct EndDuringRun {
    const char* name;
    bool bySession;  // else WM_CLOSE to the main window
    bool cancelled;  // the session's end is cancelled after its refusal
};

class EndDuringRunTest : public testing::TestWithParam<EndDuringRun> {};

TEST_P(EndDuringRunTest, FinishesTheRunThenEnds) {
    constexpr uint32_t kRunMs = 90000;
    Scratch scratch(std::string("end-during-run-") + GetParam().name);
    WindowDriver driver;
    void* main = StartAFailingRun(driver, scratch);
    ASSERT_NE(main, nullptr);
    if (GetParam().bySession) {
        EXPECT_FALSE(WindowDriver::QueryEndSession(main)) << "the session may end mid-run";
        if (GetParam().cancelled) {
            WindowDriver::EndSession(main, false);
        }
    } else {
        WindowDriver::Close(main);
    }
    EXPECT_NE(driver.WaitForWindow("Version Check...", kRunMs), nullptr) << "the run did not go on";
    if (!GetParam().bySession || GetParam().cancelled) {
        // Closing the window asks nobody else to answer the run's boxes.
        EXPECT_EQ(AnswerBox(driver, kRunMs).first, "Error");
    }
    // The program's exit code tells that its last Download failed.
    EXPECT_EQ(driver.WaitForExit(kRunMs), 1) << "the program did not end after the run";
}

INSTANTIATE_TEST_SUITE_P(Requests, EndDuringRunTest,
                         testing::Values(EndDuringRun{"SessionEnds", true, false},
                                         EndDuringRun{"SessionEndCancelled", true, true},
                                         EndDuringRun{"MainWindowCloses", false, false}),
                         [](const testing::TestParamInfo<EndDuringRun>& info) {
                             return std::string(info.param.name);
                         });

// A library that loads but misbehaves: the start-up check gives the same box as on Linux, and
// the program ends when it is answered, without a crash. A read that never returns is cancelled
// after 30 s and fails as any failed read does.
struct MisbehavingLibrary {
    const char* name;
    const char* mode;  // RXT9_TEST_ZELPORT_MODE of zelport-misbehaving/ZELPORT.dll
    const char* text;
};

constexpr const char* kNotConnectedText =
    "Printer is not connected.\nPlease check a cable connection, and turn the printer OFF and "
    "then ON.\nAnd please restart this application.";
constexpr const char* kStateFailedText =
    "Failed!\nPlease turn the printer OFF and then ON,\nAnd please restart this application.";

class MisbehavingLibraryTest : public testing::TestWithParam<MisbehavingLibrary> {};

TEST_P(MisbehavingLibraryTest, GivesItsBoxAndEnds) {
    const MisbehavingLibrary& library = GetParam();
    Scratch scratch(std::string("misbehaving-") + library.name);
    fs::copy_file(ProgramDirectory() / "rxt9-update.exe", scratch.Path() / "rxt9-update.exe");
    fs::copy_file(ProgramDirectory() / "zelport-misbehaving" / "ZELPORT.dll",
                  scratch.Path() / "ZELPORT.dll");
    WindowDriver driver;
    ASSERT_TRUE(driver.Start((scratch.Path() / "rxt9-update.exe").string(), "",
                             scratch.Path().string(),
                             {std::string("RXT9_TEST_ZELPORT_MODE=") + library.mode}));
    constexpr uint32_t kCancelledReadMs = 30000;
    const auto [caption, text] = AnswerBox(driver, kCancelledReadMs + kStartMs);
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, library.text);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0) << "the program did not end after its box";
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, MisbehavingLibraryTest,
    testing::Values(MisbehavingLibrary{"RefusesTheVendorId", "refuse-vendor", kNotConnectedText},
                    MisbehavingLibrary{"EveryOpenFails", "", kNotConnectedText},
                    MisbehavingLibrary{"HandlesOfNoObject", "handles-not-open", kStateFailedText},
                    MisbehavingLibrary{"NullHandles", "null-handles", kStateFailedText},
                    MisbehavingLibrary{"StandardHandles", "standard-streams", kStateFailedText},
                    MisbehavingLibrary{"TheNulDevice", "nul-device", kStateFailedText},
                    MisbehavingLibrary{"AnOrdinaryFile", "ordinary-file", kStateFailedText},
                    MisbehavingLibrary{"APipeThatNeverAnswers", "silent-pipe", kStateFailedText}),
    [](const testing::TestParamInfo<MisbehavingLibrary>& info) { return info.param.name; });

// The waits of a run apply no dialog keyboard handling: Esc in the main window while the
// printer enters download mode does not cancel the run. Answering the run's box then gives the
// user the main window back, rather than activating another program's window. The run fails
// at the version check in download mode (the second version reply is cut short).
TEST(DownloadEndToEndTest, EscDuringAWaitLeavesTheRunAndItsBoxReturnsToTheMainWindow) {
    constexpr uint32_t kRunMs = 90000;
    Scratch scratch("keys-and-box");
    WindowDriver driver;
    void* main = StartAFailingRun(driver, scratch);
    ASSERT_NE(main, nullptr);
    WindowDriver::PressKey(main, kEscapeKey);
    EXPECT_EQ(AnswerBox(driver, kRunMs).first, "Error") << "the run did not reach its box";
    EXPECT_EQ(driver.WaitForExit(2000), -1) << "Esc during the wait ended the program";
    ASSERT_TRUE(WaitUntil([&] { return WindowDriver::IsControlEnabled(main, kDownloadButton); }));
    EXPECT_TRUE(WindowDriver::IsForeground(main));
    WindowDriver::Close(main);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 1);
}

TEST(DownloadEndToEndTest, PrinterErrorEndsTheProgramAfterItsBox) {
    Scratch scratch("printer-error");
    WindowDriver driver;
    ASSERT_TRUE(StartWithPrinters(driver, scratch, "printer\nerror-code 5\n"));
    void* box = driver.WaitForMessageBox(kDialogs, kStartMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowDriver::Caption(box), "Error");
    EXPECT_EQ(WindowDriver::ControlText(box, kMessageText),
              "Printer Error.\nPlease remove an error.\nAnd please restart this application.");
    SaveScreenshot(box, "win32-failure-box");
    WindowDriver::Click(box, kOkButton);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
}

}  // namespace
