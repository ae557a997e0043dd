// The Download button: the whole update from the printer count to the success message.
#include <new>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateApp.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "platform/ui/UiBackend.h"

namespace {

constexpr DWORD kVersionCheckDurationMs = 1000;

}  // namespace

void CUpdateDlg::OnDownload() {
    if (!BeginRun()) {
        return;
    }
    win::CurrentUiBackend().DownloadStarted();
    {
        CUsbPort port;
        std::unique_ptr<CProgressDlg> progress;
        try {
            GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
            port.SetDeviceIds(m_package.GetVendorId(), m_package.GetProductId());
            BOOL upToDate = FALSE;
            const StepsEnd end = RunDownloadSteps(port, upToDate, progress);
            if (end == StepsEnd::Success) {
                TakeSuccessEnd(port, progress, upToDate);
            } else {
                TakeFailureEnd(port, progress, end);
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
            m_bRestarted = TRUE;
        }
    }
    try {
        ReportEnd(m_bEnteredDownloadMode ? win::RunEnd::Result::FailedInDownloadMode
                                         : win::RunEnd::Result::FailedBeforeDownloadMode);
    } catch (const std::bad_alloc&) {
        // The run has ended as it could; the exit then counts it as no Download.
    }
}

CUpdateDlg::StepsEnd CUpdateDlg::RunDownloadSteps(CUsbPort& port, BOOL& upToDate,
                                                  std::unique_ptr<CProgressDlg>& progress) {
    const int startSet = PackageSet;
    std::string printerId;
    if (!LoadPackageImages()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_FILE_MISSING);
        return StepsEnd::Failed;
    }
    if (!CheckPrinterCount(port)) {
        return StepsEnd::Failed;
    }
    if (!port.Open()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED,
                                     CMessageCatalogue::Suffix::DownloadAgain);
        return StepsEnd::Failed;
    }
    if (!m_bForceDownload) {
        if (!CheckPrinterState(port, printerId, m_bSalesFile, m_package.GetModelCode())) {
            return StepsEnd::Failed;
        }
        if (printerId == m_strPrinterId && !CompareRememberedVersions()) {
            // The same printer already holds this package: nothing to do, and no download mode.
            ShowPackageRow();
            ClearRows(false, true);
            UpdateData(FALSE);
            return StepsEnd::AlreadyHeld;
        }
    }
    // A window asked to close before this point (by the user, the session or a signal) stops
    // the run with the printer untouched; once in download mode, the run goes on to the restart.
    if (CloseRequested()) {
        return StepsEnd::Stopped;
    }
    if (!EnterDownloadMode(port)) {
        return StepsEnd::Failed;
    }
    port.Close();
    win::Sleep(kReopenPauseMs);
    if (!port.Open()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED,
                                     CMessageCatalogue::Suffix::DownloadAgain);
        m_bDownloadMode = FALSE;
        return StepsEnd::Failed;
    }
    progress = OpenProgressWindow(IDS_VERSION_CHECK, kVersionCheckDurationMs, IDS_PLEASE_WAIT);
    ClearRows(true, true);
    if (!CheckVersions(port, upToDate, progress.get(), TRUE)) {
        return StepsEnd::Failed;
    }
    if (!SelectPackageImages()) {
        // Nothing can be sent without the transfer's copies: the printer is restarted first,
        // so that it leaves download mode, and then the user learns that the download failed.
        FinishDownloadMode(port, nullptr);
        CMessageCatalogue::ShowError(m_hWnd, IDS_FAILED);
        return StepsEnd::Failed;
    }
    CloseProgressWindow(progress);
    m_strPrinterId = printerId;
    ShowPackageRow();
    if (PackageSet != startSet) {
        CMessageCatalogue::ShowVersionChanged(m_hWnd);
        m_bReportExitFailure = 1;
        return StepsEnd::Failed;
    }
    if (upToDate) {
        return StepsEnd::Success;
    }
    progress = OpenProgressWindow(
        IDS_UPGRADE, m_dwSelectedTotal + static_cast<DWORD>(m_package.m_nRestartWait) * 1000);
    if (!TransferImages(port, progress.get())) {
        return StepsEnd::Failed;
    }
    if (!VerifyTransfer(port, progress.get())) {
        return StepsEnd::Failed;
    }
    return StepsEnd::Success;
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
    using Result = win::RunEnd::Result;
    // A printer that did not take the restart stays in download mode: that is no success.
    ReportEnd(!restarted ? Result::FailedInDownloadMode
              : upToDate ? Result::UpToDate
                         : Result::Updated,
              true);
}

void CUpdateDlg::TakeFailureEnd(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress,
                                StepsEnd end) {
    if (m_bDownloadMode) {
        // A progress window still open stands still during the restart wait.
        FinishDownloadMode(port, nullptr);
    }
    progress.reset();
    using Result = win::RunEnd::Result;
    if (m_bEnteredDownloadMode) {
        ReportEnd(Result::FailedInDownloadMode);
    } else if (end == StepsEnd::AlreadyHeld) {
        ReportEnd(Result::UpToDate);
    } else if (end == StepsEnd::Stopped) {
        ReportEnd(Result::StoppedBeforeDownloadMode);
    } else {
        ReportEnd(Result::FailedBeforeDownloadMode);
    }
}

void CUpdateDlg::ReportEnd(win::RunEnd::Result result, bool successEnd) {
    if (m_endReported) {
        return;
    }
    m_endReported = true;
    theApp.ReportRunEnd({result, successEnd, m_bRestarted == TRUE, m_bVersionsNotText == TRUE});
}
