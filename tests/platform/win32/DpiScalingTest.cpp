// The main window at 96 and at 144 dpi, as Wine's LogPixels sets them: the dialog, built from
// its template in dialog units, grows with the dpi, and no control cuts its text off. Each dpi
// needs a process of its own, which reads the setting as it starts: the suite starts itself
// for the one case that measures, and that case reports what it measured to a file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Kernel.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/win32/DialogTemplateBytes.h"
#include "platform/win32/NativeWindows.h"
#include "tests/platform/win32/WindowMetrics.h"
#include "tests/support/win32/WindowDriver.h"

namespace {

namespace fs = std::filesystem;
using win32::WindowMetrics;

constexpr WORD kMainWindow = 102;
constexpr const char* kReportVariable = "RXT9_TEST_DPI_REPORT";
constexpr const char* kMeasuringCase = "DpiScalingTest.NoTextOfTheMainWindowIsClipped";

struct Measured {
    unsigned dpi = 0;
    long width = 0;
    long height = 0;
};

TEST(DpiScalingTest, NoTextOfTheMainWindowIsClipped) {
    const win::DialogTemplate* dialog = win::FindDialogTemplate(kMainWindow);
    ASSERT_NE(dialog, nullptr);
    // No events: user32 alone runs the dialog, as it lays it out.
    void* window = win32::NativeWindows::CreateDialogWindow(
        win32::DialogTemplateBytes::Build(*dialog), nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowMetrics::ClippedTexts(window), std::vector<std::string>{})
        << "at " << WindowMetrics::SystemDpi() << " dpi";
    if (const char* report = std::getenv(kReportVariable); report != nullptr) {
        const WindowMetrics::Size size = WindowMetrics::ClientSize(window);
        std::ofstream(report) << WindowMetrics::SystemDpi() << ' ' << size.width << ' '
                              << size.height << '\n';
    }
    win32::NativeWindows::Destroy(window);
}

// The measuring case in a process started at `dpi`.
Measured MeasureAt(unsigned dpi) {
    const fs::path report = fs::temp_directory_path() / ("rxt9-dpi-" + std::to_string(dpi));
    fs::remove(report);
    Measured measured;
    if (!WindowMetrics::SetLogPixels(dpi)) {
        return measured;
    }
    win32::WindowDriver driver;
    const bool ran = driver.Start(win::GetModuleDirectory() + "windows_platform_tests.exe",
                                  std::string("--gtest_filter=") + kMeasuringCase,
                                  fs::temp_directory_path().string(),
                                  {std::string(kReportVariable) + "=" + report.string()}) &&
                     driver.WaitForExit(60000) == 0;
    WindowMetrics::SetLogPixels(0);
    std::ifstream in(report);
    if (ran) {
        in >> measured.dpi >> measured.width >> measured.height;
    }
    return measured;
}

TEST(DpiScalingTest, TheMainWindowScalesWithTheDpi) {
    const Measured normal = MeasureAt(96);
    const Measured high = MeasureAt(144);
    ASSERT_EQ(normal.dpi, 96u) << "the case at 96 dpi failed or did not report";
    ASSERT_EQ(high.dpi, 144u) << "the case at 144 dpi failed or did not report";
    // Dialog units follow the font's metrics, which grow with the dpi in whole pixels.
    EXPECT_NEAR(static_cast<double>(high.width) / normal.width, 1.5, 0.15)
        << normal.width << " to " << high.width;
    EXPECT_NEAR(static_cast<double>(high.height) / normal.height, 1.5, 0.15)
        << normal.height << " to " << high.height;
}

}  // namespace
