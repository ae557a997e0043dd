// A Download in which one allocation of the program fails, each in turn: the run ends with a
// message, and a printer in download mode is restarted.
#include <algorithm>

#include "platform/kernel/LibraryFiles.h"
#include "printer/UsbLibrary.h"
#include "tests/update/FailingAllocator.h"
#include "tests/update/UpdateTest.h"
#include "zelport/zelport.h"

namespace {

// The library's entry points and file operations, each run uncounted.
CUsbLibrary g_library;
const ZELPORT_FILE_OPERATIONS* g_files = nullptr;

template <auto Member, typename... Args>
auto Uncounted(Args... args) {
    const FailingAllocator::Scope uncounted(false);
    return (g_library.*Member)(args...);
}

template <auto Member, typename... Args>
auto UncountedFile(Args... args) {
    const FailingAllocator::Scope uncounted(false);
    return (g_files->*Member)(args...);
}

const ZELPORT_FILE_OPERATIONS kUncountedFiles = {
    ZELPORT_FILE_OPERATIONS_VERSION,
    UncountedFile<&ZELPORT_FILE_OPERATIONS::owns, HANDLE>,
    UncountedFile<&ZELPORT_FILE_OPERATIONS::read, HANDLE, void*, uint32_t, uint32_t*>,
    UncountedFile<&ZELPORT_FILE_OPERATIONS::write, HANDLE, const void*, uint32_t, uint32_t*>,
    UncountedFile<&ZELPORT_FILE_OPERATIONS::close, HANDLE>,
};

// Counts the allocations of each Download, the whole press of the button.
class CountedDownloadDlg : public TestUpdateDlg {
protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const FailingAllocator::Scope counted(LOWORD(wParam) == IDC_DOWNLOAD);
        return TestUpdateDlg::OnCommand(wParam, lParam);
    }
};

class AllocationFailureTest : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        g_library = g_usbLibrary;
        g_usbLibrary.SetVenderID = Uncounted<&CUsbLibrary::SetVenderID, uint32_t>;
        g_usbLibrary.SetProductID =
            Uncounted<&CUsbLibrary::SetProductID, const uint16_t*, uint32_t>;
        g_usbLibrary.UsbOpenCont = Uncounted<&CUsbLibrary::UsbOpenCont, uint32_t, uint32_t>;
        g_usbLibrary.UsbOpenBulk = Uncounted<&CUsbLibrary::UsbOpenBulk, const char*, uint32_t>;
        g_files = reinterpret_cast<const ZELPORT_FILE_OPERATIONS*>(
            win::GetProcAddress(g_library.m_hModule, ZELPORT_FILE_OPERATIONS_SYMBOL));
        ASSERT_NE(g_files, nullptr);
        win::LibraryFiles::Instance().Unregister(g_files);
        win::LibraryFiles::Instance().Register(&kUncountedFiles);
    }
    void TearDown() override {
        win::LibraryFiles::Instance().Unregister(&kUncountedFiles);
        win::LibraryFiles::Instance().Register(g_files);
        UpdateTest::TearDown();
    }

    // One Download in a fresh window, with the given allocation failing; the count it made.
    long Download(long failing, std::vector<Box>& boxes) {
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        EXPECT_TRUE(sim.Reset(""));
        CountedDownloadDlg window;
        fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
        theApp.m_pMainWnd = &window;
        FailingAllocator::Start(failing);
        window.DoModal();
        const long allocations = FailingAllocator::Counted();
        FailingAllocator::Start(-1);
        boxes = BoxesOf(fresh);
        win::SetUiBackend(&model);
        return allocations;
    }
};

TEST_F(AllocationFailureTest,
       EveryAllocationOfADownloadCanFailWithoutLeavingThePrinterInDownloadMode) {
    std::vector<Box> boxes;
    const long allocations = Download(-1, boxes);
    ASSERT_EQ(boxes.back(), SuccessBox());
    ASSERT_GT(allocations, 10);
    const std::string updated = sim.Firmware('M');
    const std::vector<std::string> failureTexts = {Text(IDS_FAILED), Text(IDS_FILE_MISSING)};
    for (long failing = 0; failing < allocations; ++failing) {
        SCOPED_TRACE("allocation " + std::to_string(failing + 1) + " of " +
                     std::to_string(allocations));
        Download(failing, boxes);
        ASSERT_FALSE(boxes.empty()) << "the run ends with a message";
        if (boxes.back() == SuccessBox()) {
            EXPECT_EQ(sim.Firmware('M'), updated) << "only an allocation after the success fails";
        } else {
            EXPECT_NE(std::find(failureTexts.begin(), failureTexts.end(), boxes.back().text),
                      failureTexts.end())
                << boxes.back();
        }
        EXPECT_EQ(sim.InDownloadMode(), 0);
        EXPECT_LE(sim.Count("restart"), 1);
        EXPECT_EQ(sim.OpenHandles(), 0u);
    }
}

}  // namespace
