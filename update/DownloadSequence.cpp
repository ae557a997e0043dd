// The Download button: the whole update from the printer count to the success message.
#include <new>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"

namespace {

constexpr DWORD kReopenPauseMs = 100;
constexpr DWORD kVersionCheckDurationMs = 1000;

}  // namespace

void CUpdateDlg::OnDownload() {
    if (m_bRunning) {
        return;
    }
    m_bRunning = true;
    m_bDownloadMode = FALSE;
    m_bReportExitFailure = 0;
    {
        CUsbPort port;
        std::unique_ptr<CProgressDlg> progress;
        try {
            GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
            port.SetDeviceIds(m_package.GetVendorId(), m_package.GetProductId());
            BOOL upToDate = FALSE;
            if (RunDownloadSteps(port, upToDate, progress) == RunEnd::Success) {
                TakeSuccessEnd(port, progress, upToDate);
            } else {
                TakeFailureEnd(port, progress);
            }
        } catch (const std::bad_alloc&) {
            EndForLackOfMemory(port, progress);
        }
        FreePackageImages();
        try {
            EnableDownloadButton();
        } catch (const std::bad_alloc&) {
            // The run has ended and said how; without memory even for this the button stays
            // off, and the window can still be closed.
        }
    }
    m_bRunning = false;
}

void CUpdateDlg::EndForLackOfMemory(CUsbPort& port,
                                    std::unique_ptr<CProgressDlg>& progress) noexcept {
    progress.reset();
    try {
        if (m_bDownloadMode) {
            FinishDownloadMode(port, nullptr);
        }
        CMessageCatalogue::ShowError(m_hWnd, IDS_FAILED);
    } catch (const std::bad_alloc&) {
        // Still no memory: the restart, which needs none, is the one step that cannot wait.
        if (m_bDownloadMode && port.SendRestart()) {
            m_bDownloadMode = FALSE;
        }
    }
}

CUpdateDlg::RunEnd CUpdateDlg::RunDownloadSteps(CUsbPort& port, BOOL& upToDate,
                                                std::unique_ptr<CProgressDlg>& progress) {
    const int startSet = PackageSet;
    std::string printerId;
    if (!LoadPackageImages()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_FILE_MISSING);
        return RunEnd::Failure;
    }
    if (!CheckPrinterCount(port)) {
        return RunEnd::Failure;
    }
    if (!port.Open()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED,
                                     CMessageCatalogue::Suffix::DownloadAgain);
        return RunEnd::Failure;
    }
    if (!m_bForceDownload) {
        if (!CheckPrinterState(port, printerId, m_bSalesFile, m_package.GetModelCode())) {
            return RunEnd::Failure;
        }
        if (printerId == m_strPrinterId && !CompareRememberedVersions()) {
            // The same printer already holds this package: nothing to do, and no download mode.
            ShowPackageRow();
            ClearRows(false, true);
            UpdateData(FALSE);
            return RunEnd::Failure;
        }
    }
    // A window asked to close before this point (by the user, the session or a signal) stops
    // the run with the printer untouched; once in download mode, the run goes on to the restart.
    if (CloseRequested() || !EnterDownloadMode(port)) {
        return RunEnd::Failure;
    }
    port.Close();
    win::Sleep(kReopenPauseMs);
    if (!port.Open()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED,
                                     CMessageCatalogue::Suffix::DownloadAgain);
        m_bDownloadMode = FALSE;
        return RunEnd::Failure;
    }
    progress = OpenProgressWindow(IDS_VERSION_CHECK, kVersionCheckDurationMs, IDS_PLEASE_WAIT);
    ClearRows(true, true);
    if (!CheckVersions(port, upToDate, progress.get(), TRUE)) {
        return RunEnd::Failure;
    }
    if (!SelectPackageImages()) {
        // Nothing can be sent without the transfer's copies: the printer is restarted first,
        // so that it leaves download mode, and then the user learns that the download failed.
        FinishDownloadMode(port, nullptr);
        CMessageCatalogue::ShowError(m_hWnd, IDS_FAILED);
        return RunEnd::Failure;
    }
    CloseProgressWindow(progress);
    m_strPrinterId = printerId;
    ShowPackageRow();
    if (PackageSet != startSet) {
        CMessageCatalogue::ShowVersionChanged(m_hWnd);
        m_bReportExitFailure = 1;
        return RunEnd::Failure;
    }
    if (upToDate) {
        return RunEnd::Success;
    }
    progress = OpenProgressWindow(
        IDS_UPGRADE, m_dwSelectedTotal + static_cast<DWORD>(m_package.m_nRestartWait) * 1000);
    if (!TransferImages(port, progress.get())) {
        return RunEnd::Failure;
    }
    if (!VerifyTransfer(port, progress.get())) {
        return RunEnd::Failure;
    }
    return RunEnd::Success;
}

void CUpdateDlg::TakeSuccessEnd(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress,
                                BOOL upToDate) {
    BOOL restarted = TRUE;
    if (m_bDownloadMode) {
        m_bReportExitFailure = 1;
        restarted = FinishDownloadMode(port, progress.get());
    }
    if (progress && restarted) {
        CloseProgressWindow(progress);
    }
    progress.reset();
    if (!upToDate) {
        CMessageCatalogue::ShowSuccess(m_hWnd);
    }
}

void CUpdateDlg::TakeFailureEnd(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress) {
    if (m_bDownloadMode) {
        // A progress window still open stands still during the restart wait.
        FinishDownloadMode(port, nullptr);
    }
    progress.reset();
}
