// The C entry points of ZELPORT.so over libusb, and the file operations it serves for its
// handles.
#include <string>

#include "zelport/NoExceptionEntry.h"
#include "zelport/usb/UsbLibrary.h"
#include "zelport/zelport.h"

using zelusb::UsbLibrary;

namespace {

BOOL OwnsHandle(HANDLE handle) {
    return UsbLibrary::Instance().Owns(handle) ? 1 : 0;
}

uint32_t ReadHandle(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY}, [&] {
        return UsbLibrary::Instance().Read(handle, buffer, count, moved);
    });
}

uint32_t WriteHandle(HANDLE handle, const void* buffer, uint32_t count, uint32_t* moved) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY}, [&] {
        return UsbLibrary::Instance().Write(handle, buffer, count, moved);
    });
}

uint32_t CloseOwnHandle(HANDLE handle) {
    return zelport::NoExceptionEntry(uint32_t{ZELPORT_ERROR_NOT_ENOUGH_MEMORY},
                                     [&] { return UsbLibrary::Instance().Close(handle); });
}

}  // namespace

extern "C" {

// NOLINTNEXTLINE(readability-identifier-naming): the name the tool looks up
extern const ZELPORT_FILE_OPERATIONS ZelportFileOperations;
const ZELPORT_FILE_OPERATIONS ZelportFileOperations = {
    ZELPORT_FILE_OPERATIONS_VERSION, OwnsHandle, ReadHandle, WriteHandle, CloseOwnHandle,
};

BOOL SetVenderID(uint32_t vendorId) {
    return zelport::NoExceptionEntry(BOOL{0},
                                     [&] { return UsbLibrary::Instance().SetVendorId(vendorId); });
}

BOOL SetProductID(const uint16_t* productIds, uint32_t count) {
    return zelport::NoExceptionEntry(
        BOOL{0}, [&] { return UsbLibrary::Instance().SetProductIds(productIds, count); });
}

HANDLE UsbOpenCont(uint32_t deviceIndex, uint32_t /*reserved*/) {
    return zelport::NoExceptionEntry(INVALID_HANDLE_VALUE, [&] {
        return UsbLibrary::Instance().Open(UsbLibrary::Pipe::Control, deviceIndex);
    });
}

HANDLE UsbOpenBulk(const char* pipeName, uint32_t deviceIndex) {
    return zelport::NoExceptionEntry(INVALID_HANDLE_VALUE, [&] {
        const std::string name = pipeName != nullptr ? pipeName : "";
        if (name == "PIPE00") {
            return UsbLibrary::Instance().Open(UsbLibrary::Pipe::Out, deviceIndex);
        }
        if (name == "PIPE01") {
            return UsbLibrary::Instance().Open(UsbLibrary::Pipe::In, deviceIndex);
        }
        return INVALID_HANDLE_VALUE;
    });
}

BOOL UsbDeviceIoControl(HANDLE /*device*/, uint32_t /*code*/, void* /*in*/, uint32_t /*inSize*/,
                        void* /*out*/, uint32_t /*outSize*/, uint32_t* returned) {
    // The printer takes no control requests from the tool.
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}

}  // extern "C"
