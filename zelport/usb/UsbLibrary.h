// ZELPORT.so over libusb-1.0: the printers with the selected ids, found afresh at each open,
// and the handles the library serves itself (see ZelportFileOperations in zelport/zelport.h).
//
// A device is opened and claimed by its first handle and let go with its last one, so the
// printer count's probes and the port's pipes share it. libusb runs only while a handle is
// open: each open with nothing held starts it anew and so sees the devices attached now,
// also a printer that re-enumerated after download mode.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "zelport/usb/CallTrace.h"
#include "zelport/usb/Diagnostics.h"
#include "zelport/usb/HeldDevice.h"
#include "zelport/zelport.h"

struct libusb_context;

namespace zelusb {

class UsbLibrary {
public:
    enum class Pipe { Control, Out, In };

    static UsbLibrary& Instance();
    ~UsbLibrary();
    UsbLibrary(const UsbLibrary&) = delete;
    UsbLibrary& operator=(const UsbLibrary&) = delete;

    BOOL SetVendorId(uint32_t vendorId);
    BOOL SetProductIds(const uint16_t* productIds, uint32_t count);
    HANDLE Open(Pipe pipe, uint32_t deviceIndex);

    bool Owns(HANDLE handle);
    uint32_t Read(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved);
    uint32_t Write(HANDLE handle, const void* buffer, uint32_t count, uint32_t* moved);
    uint32_t Close(HANDLE handle);

private:
    struct OpenHandle {
        Pipe pipe;
        std::shared_ptr<HeldDevice> device;
    };

    UsbLibrary();
    bool Start();
    void StopWhenIdle();
    // The device that index selects among the attached printers with the selected ids, held
    // already or opened now; null when there is none or it cannot be opened.
    std::shared_ptr<HeldDevice> Acquire(uint32_t deviceIndex, std::string& note);
    OpenHandle* Find(HANDLE handle);

    std::mutex m_mutex;
    uint32_t m_readLimitMs;
    uint32_t m_writeLimitMs;
    CallTrace m_trace;
    Diagnostics m_diagnostics;
    libusb_context* m_context = nullptr;
    std::optional<uint16_t> m_vendorId;
    std::vector<uint16_t> m_productIds;
    std::map<HANDLE, OpenHandle> m_handles;
    HANDLE m_nextHandle;
};

}  // namespace zelusb
