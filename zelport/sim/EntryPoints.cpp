// The C entry points of the simulated ZELPORT.so: the vendor library's five and the control
// entry points of ZelportSim.h.
#include "zelport/NoExceptionEntry.h"
#include "zelport/sim/SimLibrary.h"
#include "zelport/sim/ZelportSim.h"
#include "zelport/zelport.h"

using zelsim::SimLibrary;

extern "C" {

BOOL SetVenderID(uint32_t vendorId) {
    return zelport::NoExceptionEntry(BOOL{0},
                                     [&] { return SimLibrary::Instance().SetVendorId(vendorId); });
}

BOOL SetProductID(const uint16_t* productIds, uint32_t count) {
    return zelport::NoExceptionEntry(
        BOOL{0}, [&] { return SimLibrary::Instance().SetProductIds(productIds, count); });
}

HANDLE UsbOpenCont(uint32_t deviceIndex, uint32_t /*reserved*/) {
    return zelport::NoExceptionEntry(
        INVALID_HANDLE_VALUE, [&] { return SimLibrary::Instance().OpenControl(deviceIndex); });
}

HANDLE UsbOpenBulk(const char* pipeName, uint32_t deviceIndex) {
    return zelport::NoExceptionEntry(INVALID_HANDLE_VALUE, [&] {
        return SimLibrary::Instance().OpenBulk(pipeName, deviceIndex);
    });
}

BOOL UsbDeviceIoControl(HANDLE /*device*/, uint32_t /*code*/, void* /*in*/, uint32_t /*inSize*/,
                        void* /*out*/, uint32_t /*outSize*/, uint32_t* returned) {
    // The printers take no control requests.
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}

void ZelportSimSetTimeSink(void (*advance)(uint32_t milliseconds)) {
    SimLibrary::Instance().SetTimeSink(advance);
}

int ZelportSimReset(const char* configText, const char* statePath, const char* tracePath) {
    return zelport::NoExceptionEntry(
        0, [&] { return SimLibrary::Instance().Reset(configText, statePath, tracePath) ? 1 : 0; });
}

void ZelportSimSettle(void) {
    SimLibrary::Instance().Settle();
}

uint32_t ZelportSimPrinterCount(void) {
    return SimLibrary::Instance().PrinterCount();
}

size_t ZelportSimReceivedLog(uint32_t printer, char* buffer, size_t size) {
    return SimLibrary::Instance().ReceivedLog(printer, buffer, size);
}

int ZelportSimFirmware(uint32_t printer, char area, uint8_t version[6], uint16_t* checksum) {
    return SimLibrary::Instance().Firmware(printer, area, version, checksum) ? 1 : 0;
}

int ZelportSimInDownloadMode(uint32_t printer) {
    return SimLibrary::Instance().InDownloadMode(printer);
}

int ZelportSimIsAttached(uint32_t printer) {
    return SimLibrary::Instance().IsAttached(printer);
}

uint32_t ZelportSimLimits(void) {
    return 0;
}

uint32_t ZelportSimOpenHandles(void) {
    return SimLibrary::Instance().OpenHandles();
}

static BOOL OwnsHandle(HANDLE handle) {
    return SimLibrary::Instance().OwnsHandle(handle) ? 1 : 0;
}

static uint32_t ReadHandle(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY}, [&] {
        return SimLibrary::Instance().HostRead(handle, buffer, count, moved);
    });
}

static uint32_t WriteHandle(HANDLE handle, const void* bytes, uint32_t count, uint32_t* moved) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY}, [&] {
        return SimLibrary::Instance().HostWrite(handle, bytes, count, moved);
    });
}

static uint32_t CloseHandleOfLibrary(HANDLE handle) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY},
                                     [&] { return SimLibrary::Instance().HostClose(handle); });
}

extern const ZELPORT_FILE_OPERATIONS ZelportFileOperations;
const ZELPORT_FILE_OPERATIONS ZelportFileOperations = {
    ZELPORT_FILE_OPERATIONS_VERSION, OwnsHandle, ReadHandle, WriteHandle, CloseHandleOfLibrary,
};

}  // extern "C"
