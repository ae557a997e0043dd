// Putting the printer into download mode and taking it out again with the restart command.
#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"

namespace {

constexpr DWORD kInitWaitSlice = 50;
constexpr DWORD kRestartWaitSlice = 100;

}  // namespace

BOOL CUpdateDlg::EnterDownloadMode(CUsbPort& port) {
    if (!port.SendDownloadMode()) {
        if (PackageSet != 0) {
            CMessageCatalogue::ShowError(m_hWnd, IDS_FAILED);
        } else {
            CMessageCatalogue::ShowError(m_hWnd, IDS_VERSION_FAILED,
                                         CMessageCatalogue::Suffix::Restart);
        }
        return FALSE;
    }
    // From here on the printer is in download mode, even if the wait below is cut short.
    m_bDownloadMode = TRUE;
    m_bEnteredDownloadMode = TRUE;
    const DWORD wait = static_cast<DWORD>(m_package.m_nInitWait) * 1000;
    auto progress = OpenProgressWindow(IDS_INITIALIZING, wait, IDS_PLEASE_WAIT);
    WaitWithProgress(wait, progress.get(), kInitWaitSlice);
    progress->SetPos(100);
    return TRUE;
}

BOOL CUpdateDlg::FinishDownloadMode(CUsbPort& port, CProgressDlg* progress) {
    const BOOL restarted = port.SendRestart();
    if (restarted) {
        // Before the wait, so that a run cut short during it does not restart again.
        m_bDownloadMode = FALSE;
        m_bRestarted = TRUE;
    }
    port.Close();
    WaitInSlices(static_cast<DWORD>(m_package.m_nRestartWait) * 1000, progress, kRestartWaitSlice);
    if (!restarted && m_bReportExitFailure == 1) {
        m_bReportExitFailure = 0;
        CMessageCatalogue::ShowError(m_hWnd, IDS_FAILED);
    }
    return restarted;
}
