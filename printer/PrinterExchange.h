// One exchange of messages with the printer over a port, keeping the port's failure code.
#pragma once

#include "printer/UsbPort.h"

class CPrinterExchange {
public:
    CPrinterExchange() = default;
    virtual ~CPrinterExchange() = default;

    BOOL Send(CUsbPort& port, const void* data, int count, int* moved = nullptr);
    BOOL Receive(CUsbPort& port, void* buffer, int count, int* moved = nullptr);

    int m_nLastError = 0;
};
