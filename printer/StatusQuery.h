// The printer state inquiry: model code, error code and printing state from the status
// reply, and the printer's identity from the identity reply.
#pragma once

#include <string>

#include "printer/PrinterExchange.h"

class CStatusQuery : public CPrinterExchange {
public:
    ~CStatusQuery() override = default;

    // The outputs are written only when both exchanges succeeded.
    BOOL Query(CUsbPort& port, DWORD* errorCode, WORD* printingState, std::string* modelCode,
               std::string* identity);
};
