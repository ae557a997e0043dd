#include "app/UpdateApp.h"

#include <new>

#include "app/MessageCatalogue.h"
#include "app/UpdateDlg.h"
#include "platform/ui/UiBackend.h"
#include "printer/UsbLibrary.h"

namespace {

// Frees the library when the program ends.
struct UsbLibraryCleanup {
    UsbLibraryCleanup() = default;
    UsbLibraryCleanup(const UsbLibraryCleanup&) = delete;
    UsbLibraryCleanup& operator=(const UsbLibraryCleanup&) = delete;
    ~UsbLibraryCleanup() { g_usbLibrary.Unload(); }
};

}  // namespace

// Defined before the application object, so that the library is freed after that object is
// destroyed. The record itself is constant-initialised: it is clear before anything runs.
static UsbLibraryCleanup g_usbLibraryCleanup;
CUpdateApp theApp;

namespace {

constexpr const char* kMutexName = "KALDERON RXT9 Update Tool";
constexpr const char* kLibraryName = "ZELPORT.dll";

}  // namespace

BOOL CUpdateApp::BindUsbLibrary() {
    if (g_usbLibrary.m_hModule != nullptr) {
        return g_usbLibrary.IsComplete();
    }
    win::HMODULE module = win::LoadLibraryA(kLibraryName);
    return module != nullptr && g_usbLibrary.Bind(module) ? TRUE : FALSE;
}

void CUpdateApp::ReportRunEnd(const win::RunEnd& end) {
    using Result = win::RunEnd::Result;
    if (end.result != Result::StartupCheckClosed && end.result != Result::LibraryRefused) {
        m_lastDownload = ExitReasonOf(end);
    }
    win::CurrentUiBackend().RunEnded(end);
}

int CUpdateApp::ExitInstance() {
    return m_lastDownload == ExitReason::Failed ? ExitStatusOf(ExitReason::Failed) : 0;
}

BOOL CUpdateApp::InitInstance() {
    const HANDLE mutex = win::CreateMutexA(nullptr, TRUE, kMutexName);
    if (mutex == 0 || win::GetLastError() == ERROR_ALREADY_EXISTS) {
        return FALSE;
    }
    win::AfxEnableControlContainer();
    win::Enable3dControlsStatic();

    if (!BindUsbLibrary()) {
        CMessageCatalogue::ShowLibraryNotFound();
        ReportRunEnd({win::RunEnd::Result::LibraryRefused});
        return FALSE;
    }

    try {
        CUpdateDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
    } catch (const std::bad_alloc&) {
        // The window's own runs end themselves, with the printer out of download mode; this is
        // memory that ran out in the window around them, with no printer in download mode.
        m_pMainWnd = nullptr;
        CMessageCatalogue::ShowError(nullptr, IDS_FAILED);
        ReportRunEnd({win::RunEnd::Result::FailedBeforeDownloadMode});
    }
    m_pMainWnd = nullptr;
    return FALSE;
}
