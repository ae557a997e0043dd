// DLLs planted beside rxt9-update.exe under the names of the system DLLs that are no
// KnownDLLs and that its import table once named: each writes a marker as it is loaded, and
// the program runs through its start-up check and ends without loading any. Wine loads its own
// DLLs whatever lies beside a program; told to prefer a DLL found on the search path
// (WINEDLLOVERRIDES "n,b"), it searches as Windows does, the program's folder first.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/win32/WindowDriver.h"

namespace {

namespace fs = std::filesystem;
using win32::WindowDriver;

constexpr const char* kMainCaption = "KALDERON RX-T9 Update Tool";
constexpr int kDownloadButton = 1000;
constexpr uint32_t kStartMs = 20000;
constexpr const char* kPlantedNames[] = {"winmm.dll", "comctl32.dll"};

TEST(PlantedLibraryTest, NoDllBesideTheProgramIsLoaded) {
    testing_support::TemporaryDirectory scratch;
    const fs::path folder = scratch.Path();
    const fs::path bin = RXT9_BIN_DIR;
    fs::copy_file(bin / "rxt9-update.exe", folder / "rxt9-update.exe");
    fs::copy_file(bin / "ZELPORT.dll", folder / "ZELPORT.dll");
    for (const char* name : kPlantedNames) {
        fs::copy_file(bin / "planted" / "planted.dll", folder / name);
    }
    testing_support::ScopedEnvironment environment;
    environment.Set("WINEDLLOVERRIDES", "mscoree,mshtml=;winmm,comctl32=n,b");
    WindowDriver driver;
    ASSERT_TRUE(driver.Start((folder / "rxt9-update.exe").string(), "", folder.string(),
                             {"RXT9_SIM_STATE=", "RXT9_SIM_CONFIG="}));
    void* main = driver.WaitForWindow(kMainCaption, kStartMs);
    ASSERT_NE(main, nullptr);
    // Once Download can be pressed, the start-up check has run and waited on the fine timer.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while (!WindowDriver::IsControlEnabled(main, kDownloadButton) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(WindowDriver::IsControlEnabled(main, kDownloadButton));
    WindowDriver::Close(main);
    EXPECT_EQ(driver.WaitForExit(kStartMs), 0);
    for (const char* name : kPlantedNames) {
        EXPECT_FALSE(fs::exists(folder / (std::string(name) + ".loaded")))
            << "the " << name << " beside the program was loaded";
    }
}

}  // namespace
