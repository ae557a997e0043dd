// A vendor library with no printer behind it: it accepts any ids, and every open fails.
#include "zelport/zelport.h"

extern "C" {

BOOL SetVenderID(uint32_t /*vendorId*/) {
    return 1;
}

BOOL SetProductID(const uint16_t* /*productIds*/, uint32_t /*count*/) {
    return 1;
}

HANDLE UsbOpenCont(uint32_t /*deviceIndex*/, uint32_t /*reserved*/) {
    return INVALID_HANDLE_VALUE;
}

HANDLE UsbOpenBulk(const char* /*pipeName*/, uint32_t /*deviceIndex*/) {
    return INVALID_HANDLE_VALUE;
}

}  // extern "C"
