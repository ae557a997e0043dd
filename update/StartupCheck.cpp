// The check that runs once the main window is shown: one ready printer of the package's model
// whose versions the package applies to.
#include <new>

#include "app/MessageCatalogue.h"
#include "app/UpdateDlg.h"
#include "platform/ui/UiBackend.h"

LRESULT CUpdateDlg::OnStartupCheck(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (!BeginRun()) {
        return 1;
    }
    {
        CUsbPort port;
        try {
            GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
            port.SetDeviceIds(m_package.GetVendorId(), m_package.GetProductId());
            BOOL upToDate = FALSE;
            if (RunStartupSteps(port, upToDate)) {
                win::CurrentUiBackend().StartupChecked(
                    {m_strPrinterId, PackageSet, upToDate == FALSE});
                EnableDownloadButton();
            } else {
                ReportEnd(win::RunEnd::Result::StartupCheckClosed);
                EndDialog(0);
            }
        } catch (const std::bad_alloc&) {
            // The check changes nothing on the printer: it ends as a failed read of its state.
            try {
                CMessageCatalogue::ShowError(m_hWnd, IDS_STATE_FAILED,
                                             CMessageCatalogue::Suffix::Restart);
                ReportEnd(win::RunEnd::Result::StartupCheckClosed);
            } catch (const std::bad_alloc&) {
                // The window closes without its message or its report.
            }
            EndDialog(0);
        }
    }
    m_bRunning = false;
    return 1;
}

BOOL CUpdateDlg::RunStartupSteps(CUsbPort& port, BOOL& upToDate) {
    std::string printerId;
    // Each step shows its own box where it fails; the caller closes the port.
    if (!CheckPrinterCount(port)) {
        return FALSE;
    }
    if (!port.Open()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED, CMessageCatalogue::Suffix::Restart);
        return FALSE;
    }
    if (!m_bForceDownload &&
        !CheckPrinterState(port, printerId, m_bSalesFile, m_package.GetModelCode())) {
        return FALSE;
    }
    if (!CheckVersions(port, upToDate, nullptr, FALSE)) {
        return FALSE;
    }
    m_strPrinterId = printerId;
    ShowPackageRow();
    return TRUE;
}
