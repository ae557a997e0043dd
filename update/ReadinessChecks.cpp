// The checks that exactly one printer of the package's model is attached and idle.
#include <algorithm>
#include <cctype>

#include "app/MessageCatalogue.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "platform/ui/UiBackend.h"
#include "printer/StatusQuery.h"

namespace {

// How often the count is taken while a front-end waits for a printer to be plugged in.
constexpr DWORD kPrinterPollMs = 1000;

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

BOOL CUpdateDlg::CheckPrinterCount(CUsbPort& port) {
    int count = port.CountPrinters();
    const DWORD start = win::GetTickCount();
    DWORD waited = 0;
    while (count < 1 && win::CurrentUiBackend().WaitForPrinter(waited)) {
        PumpMessagesFor(kPrinterPollMs);
        count = port.CountPrinters();
        waited = win::GetTickCount() - start;
    }
    if (count == 1) {
        return TRUE;
    }
    CMessageCatalogue::ShowError(m_hWnd, count < 1 ? IDS_NOT_CONNECTED : IDS_TWO_OR_MORE,
                                 ErrorSuffix());
    return FALSE;
}

BOOL CUpdateDlg::CheckPrinterState(CUsbPort& port, std::string& printerId, BOOL salesFile,
                                   const std::string& modelCode) {
    DWORD errorCode = 0;
    WORD printingState = 0;
    std::string printerModel;
    std::string identity;
    BOOL answered = FALSE;
    {
        CStatusQuery query;
        answered = query.Query(port, &errorCode, &printingState, &printerModel, &identity);
    }
    if (!answered) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_STATE_FAILED, ErrorSuffix());
        return FALSE;
    }
    if (!EqualIgnoringCase(printerModel, modelCode)) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_NOT_CONNECTED, ErrorSuffix());
        return FALSE;
    }
    printerId = identity;
    unsigned messageId = 0;
    if (!salesFile && errorCode != 0) {
        messageId = IDS_PRINTER_ERROR;
    }
    if (printingState != 0) {
        messageId = IDS_PRINTING;
    }
    if (messageId == 0) {
        return TRUE;
    }
    CMessageCatalogue::ShowError(m_hWnd, messageId, ErrorSuffix());
    return FALSE;
}
