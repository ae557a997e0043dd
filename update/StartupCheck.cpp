// The check that runs once the main window is shown: one ready printer of the package's model
// whose versions the package applies to.
#include "app/MessageCatalogue.h"
#include "app/UpdateDlg.h"

LRESULT CUpdateDlg::OnStartupCheck(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (m_bRunning) {
        return 1;
    }
    m_bRunning = true;
    GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
    m_bReportExitFailure = 0;
    m_bDownloadMode = FALSE;
    BOOL upToDate = FALSE;
    std::string printerId;
    {
        CUsbPort port;
        port.SetDeviceIds(m_package.GetVendorId(), m_package.GetProductId());
        // Each step shows its own box where it fails; the port closes with this block.
        BOOL ready = CheckPrinterCount(port);
        if (ready && !port.Open()) {
            CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED,
                                         CMessageCatalogue::Suffix::Restart);
            ready = FALSE;
        }
        ready = ready &&
                (m_bForceDownload ||
                 CheckPrinterState(port, printerId, m_bSalesFile, m_package.GetModelCode())) &&
                CheckVersions(port, upToDate, nullptr, FALSE);
        if (ready) {
            m_strPrinterId = printerId;
            ShowPackageRow();
            EnableDownloadButton();
        } else {
            EndDialog(0);
        }
    }
    m_bRunning = false;
    return 1;
}
