#include "printer/PrinterExchange.h"

BOOL CPrinterExchange::Send(CUsbPort& port, const void* data, int count, int* moved) {
    const int written = port.Write(data, count);
    if (moved != nullptr) {
        *moved = written;
    }
    if (written != count) {
        m_nLastError = port.m_nLastError;
        return FALSE;
    }
    return TRUE;
}

BOOL CPrinterExchange::Receive(CUsbPort& port, void* buffer, int count, int* moved) {
    const int read = port.Read(buffer, count);
    if (moved != nullptr) {
        *moved = read;
    }
    if (read != count) {
        m_nLastError = port.m_nLastError;
        return FALSE;
    }
    return TRUE;
}
