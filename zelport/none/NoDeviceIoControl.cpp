// The fifth entry point of the library without printers: no device takes control requests.
#include "zelport/zelport.h"

extern "C" BOOL UsbDeviceIoControl(HANDLE /*device*/, uint32_t /*code*/, void* /*in*/,
                                   uint32_t /*inSize*/, void* /*out*/, uint32_t /*outSize*/,
                                   uint32_t* returned) {
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}
