// Real-clock timings of rxt9-update.exe under Wine or Windows, against the simulated
// ZELPORT.dll: how long after its start the main window is on screen (several starts), and
// how long one whole Download takes from the press of the button to the success box,
// against the floor that the program's waits add up to. Prints one line per measurement.
//
//   windows_bench.exe [starts]
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/win32/WindowDriver.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using win32::WindowDriver;

constexpr const char* kMainCaption = "KALDERON RX-T9 Update Tool";
constexpr double kDownloadFloorSeconds = 57.8;
constexpr uint32_t kLongWaitMs = 300000;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> Environment(const fs::path& state) {
    return {"RXT9_SIM_STATE=" + state.string(), "RXT9_SIM_CONFIG="};
}

}  // namespace

int main(int argc, char** argv) {
    const int starts = argc > 1 ? std::atoi(argv[1]) : 5;
    const fs::path bin = fs::path(argv[0]).parent_path();
    const fs::path program = bin / "rxt9-update.exe";
    const fs::path scratch = fs::temp_directory_path() / "rxt9-windows-bench";
    fs::remove_all(scratch);
    fs::create_directories(scratch);

    // What Wine costs alone: the same start and wait for a program that only shows a window.
    for (int run = 0; run < starts; ++run) {
        WindowDriver driver;
        const Clock::time_point start = Clock::now();
        if (!driver.Start((bin / "windows_blank_window.exe").string(), "", scratch.string(), {})) {
            std::cerr << "cannot start windows_blank_window.exe\n";
            return 1;
        }
        void* blank = driver.WaitForWindow("Blank window", kLongWaitMs);
        std::cout << "blank window " << run + 1 << ": on screen " << std::fixed
                  << std::setprecision(0) << SecondsSince(start) * 1000.0
                  << " ms after the start\n";
        WindowDriver::Close(blank);
        driver.WaitForExit(kLongWaitMs);
    }

    for (int run = 0; run < starts; ++run) {
        WindowDriver driver;
        const Clock::time_point start = Clock::now();
        if (!driver.Start(program.string(), "", scratch.string(),
                          Environment(scratch / "state-start"))) {
            std::cerr << "cannot start " << program.string() << '\n';
            return 1;
        }
        void* main = driver.WaitForWindow(kMainCaption, kLongWaitMs);
        const double shown = SecondsSince(start);
        if (main == nullptr) {
            std::cerr << "the main window did not come\n";
            return 1;
        }
        std::cout << "start " << run + 1 << ": main window on screen " << std::fixed
                  << std::setprecision(0) << shown * 1000.0 << " ms after the start\n";
        WindowDriver::Close(main);
        driver.WaitForExit(kLongWaitMs);
    }

    WindowDriver driver;
    driver.Start(program.string(), "", scratch.string(), Environment(scratch / "state-download"));
    void* main = driver.WaitForWindow(kMainCaption, kLongWaitMs);
    while (main != nullptr && WindowDriver::ControlText(main, 1014).empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const Clock::time_point pressed = Clock::now();
    WindowDriver::Click(main, 1000);
    // The steps as the windows show them: each progress window and each status line, with the
    // time since the press at which it first appeared.
    std::string shown;
    void* box = nullptr;
    while (box == nullptr && SecondsSince(pressed) * 1000.0 < kLongWaitMs) {
        std::string step;
        for (const char* caption : {"Initializing...", "Version Check...", "Upgrade"}) {
            if (void* progress = driver.WaitForWindow(caption, 0)) {
                step = std::string(caption) + " " + WindowDriver::ControlText(progress, 1005);
            }
        }
        if (!step.empty() && step != shown) {
            shown = step;
            std::cout << "  " << std::fixed << std::setprecision(3) << SecondsSince(pressed)
                      << " s: " << step << '\n';
        }
        box = driver.WaitForMessageBox(
            {kMainCaption, "Upgrade", "Initializing...", "Version Check..."}, 0);
    }
    const double download = SecondsSince(pressed);
    if (box == nullptr || WindowDriver::Caption(box) != "Success!") {
        std::cerr << "the Download did not succeed\n";
        return 1;
    }
    std::cout << "download: " << std::fixed << std::setprecision(2) << download
              << " s from the press to the success box; floor " << kDownloadFloorSeconds << " s, "
              << std::showpos << (download - kDownloadFloorSeconds) / kDownloadFloorSeconds * 100.0
              << " %\n";
    WindowDriver::Click(box, 1);
    WindowDriver::Close(main);
    driver.WaitForExit(kLongWaitMs);
    fs::remove_all(scratch);
    return 0;
}
