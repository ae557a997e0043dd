// The exports of the simulated ZELPORT.dll: the vendor library's five entry points under their
// plain names and the control entry points for tests (zelport/sim/ZelportSim.h). RXT9_SIM_CALL is
// the calling convention of the five: empty for __cdecl, or __stdcall, as vendor libraries build
// them either way.
#include <cstdint>

#include "zelport/sim/ZelportSim.h"
#include "zelport/simdll/SimDll.h"

#ifndef RXT9_SIM_CALL
#define RXT9_SIM_CALL
#endif
#define ZELPORT_EXPORT extern "C" __declspec(dllexport)

using zelsim::SimDll;

ZELPORT_EXPORT int32_t RXT9_SIM_CALL SetVenderID(uint32_t vendorId) {
    return SimDll::Instance().SetVendorId(vendorId);
}

ZELPORT_EXPORT int32_t RXT9_SIM_CALL SetProductID(const uint16_t* productIds, uint32_t count) {
    return SimDll::Instance().SetProductIds(productIds, count);
}

ZELPORT_EXPORT intptr_t RXT9_SIM_CALL UsbOpenCont(uint32_t deviceIndex, uint32_t /*reserved*/) {
    return SimDll::Instance().OpenControl(deviceIndex);
}

ZELPORT_EXPORT intptr_t RXT9_SIM_CALL UsbOpenBulk(const char* pipeName, uint32_t deviceIndex) {
    return SimDll::Instance().OpenBulk(pipeName, deviceIndex);
}

ZELPORT_EXPORT int32_t RXT9_SIM_CALL UsbDeviceIoControl(intptr_t /*device*/, uint32_t /*code*/,
                                                        void* /*in*/, uint32_t /*inSize*/,
                                                        void* /*out*/, uint32_t /*outSize*/,
                                                        uint32_t* returned) {
    // The printers take no control requests.
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}

ZELPORT_EXPORT void ZelportSimSetTimeSink(void (*advance)(uint32_t milliseconds)) {
    SimDll::Instance().SetTimeSink(advance);
}

ZELPORT_EXPORT int ZelportSimReset(const char* configText, const char* statePath,
                                   const char* tracePath) {
    return SimDll::Instance().Reset(configText, statePath, tracePath) ? 1 : 0;
}

ZELPORT_EXPORT void ZelportSimSettle(void) {
    SimDll::Instance().Settle();
}

ZELPORT_EXPORT uint32_t ZelportSimPrinterCount(void) {
    return SimDll::Instance().PrinterCount();
}

ZELPORT_EXPORT size_t ZelportSimReceivedLog(uint32_t printer, char* buffer, size_t size) {
    return SimDll::Instance().ReceivedLog(printer, buffer, size);
}

ZELPORT_EXPORT int ZelportSimFirmware(uint32_t printer, char area, uint8_t version[6],
                                      uint16_t* checksum) {
    return SimDll::Instance().Firmware(printer, area, version, checksum) ? 1 : 0;
}

ZELPORT_EXPORT int ZelportSimInDownloadMode(uint32_t printer) {
    return SimDll::Instance().InDownloadMode(printer);
}

ZELPORT_EXPORT int ZelportSimIsAttached(uint32_t printer) {
    return SimDll::Instance().IsAttached(printer);
}

// A pipe's WriteFile moves all of its bytes or none, and the library can fail a write only by
// closing its end of the pipe.
ZELPORT_EXPORT uint32_t ZelportSimLimits(void) {
    return ZELPORT_SIM_LIMIT_NO_SHORT_WRITES | ZELPORT_SIM_LIMIT_FAILED_WRITE_ENDS_PIPE;
}

ZELPORT_EXPORT uint32_t ZelportSimOpenHandles(void) {
    return SimDll::Instance().OpenHandles();
}
