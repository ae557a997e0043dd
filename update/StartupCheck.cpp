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
        if (!CheckPrinterCount(port)) {
            EndDialog(0);
        } else if (!port.Open()) {
            CMessageCatalogue::ShowBox(
                m_hWnd, CMessageCatalogue::ComposeError(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART),
                kCaptionError);
            EndDialog(0);
        } else if (!m_bForceDownload &&
                   !CheckPrinterState(port, printerId, m_bSalesFile, m_package.GetModelCode())) {
            port.Close();
            EndDialog(0);
        } else if (!CheckVersions(port, upToDate, nullptr, FALSE)) {
            EndDialog(0);
        } else {
            m_strPrinterId = printerId;
            ShowPackageRow();
            EnableDownloadButton();
        }
    }
    m_bRunning = false;
    return 1;
}
