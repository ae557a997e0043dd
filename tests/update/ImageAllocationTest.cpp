// A Download whose firmware buffers cannot be had: each failed allocation is a failed step that
// says so, and a printer in download mode is restarted.
#include <atomic>
#include <cstddef>
#include <new>

#include "tests/update/UpdateTest.h"

namespace {

// Allocations of this size or more are the firmware images' buffers.
constexpr std::size_t kImageSized = 64 * 1024;
// How many image-sized allocations succeed before one fails; negative: none fails.
std::atomic<int> g_imageAllocationsLeft{-1};
std::atomic<int> g_imageAllocations{0};

}  // namespace

// The program's buffers ask for their memory without exceptions; this replacement fails the
// chosen one, as a process out of address space would, and otherwise allocates as the runtime
// does, so that the buffer is freed by the runtime's own delete[].
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (size >= kImageSized) {
        ++g_imageAllocations;
        int left = g_imageAllocationsLeft.load();
        if (left >= 0 && g_imageAllocationsLeft.compare_exchange_strong(left, left - 1) &&
            left == 0) {
            return nullptr;
        }
    }
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {

TEST_F(UpdateTest, EveryImageBufferThatCannotBeHadFailsTheRunAndLeavesNoPrinterInDownloadMode) {
    g_imageAllocations = 0;
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    RunMainWindow();
    const int allocations = g_imageAllocations;
    ASSERT_GT(allocations, 2) << "the loaded images and the transfer's copies";
    ASSERT_EQ(Boxes().back(), SuccessBox());

    for (int failing = 0; failing < allocations; ++failing) {
        SCOPED_TRACE("image-sized allocation " + std::to_string(failing + 1) + " of " +
                     std::to_string(allocations));
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        ASSERT_TRUE(sim.Reset(""));
        TestUpdateDlg window;
        fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
        theApp.m_pMainWnd = &window;
        g_imageAllocationsLeft = failing;
        window.DoModal();
        g_imageAllocationsLeft = -1;
        const std::vector<Box> boxes = BoxesOf(fresh);
        ASSERT_FALSE(boxes.empty()) << "the run ends with a message";
        const bool inDownloadMode = sim.Count("download-mode") > 0;
        EXPECT_EQ(boxes.back().text, inDownloadMode ? Text(IDS_FAILED) : Text(IDS_FILE_MISSING));
        EXPECT_EQ(sim.Count("restart"), inDownloadMode ? 1 : 0);
        EXPECT_EQ(sim.InDownloadMode(), 0);
        EXPECT_EQ(sim.OpenHandles(), 0u);
    }
    win::SetUiBackend(&model);
}

}  // namespace
