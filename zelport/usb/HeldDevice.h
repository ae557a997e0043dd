// One printer that the process holds: opened, its interface claimed (the kernel's driver
// detached while we hold it), and its bulk pipes. Every transfer on it is one synchronous
// libusb transfer under the library's time limit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zelport/usb/DeviceLocation.h"

struct libusb_device;
struct libusb_device_handle;

namespace zelusb {

class Diagnostics;

class HeldDevice {
public:
    struct Outcome {
        uint32_t error = 0;  // ZELPORT_OK or a ZELPORT_ERROR_ code
        uint32_t moved = 0;
        std::string text;  // for the trace: "ok", "time-out", "stall", ...
    };

    // Opens and claims the device; null after saying why on stderr.
    static std::unique_ptr<HeldDevice> Open(libusb_device* device, Diagnostics& diagnostics);
    // Releases the interface, which gives the device back to its kernel driver, and closes it.
    ~HeldDevice();
    HeldDevice(const HeldDevice&) = delete;
    HeldDevice& operator=(const HeldDevice&) = delete;

    Outcome Write(const uint8_t* bytes, uint32_t count, uint32_t timeLimitMs);
    // One bulk-IN transfer of `count` bytes rounded up to whole packets: a device that sends
    // more than asked fails the read (ZELPORT_ERROR_MORE_DATA) with the asked bytes delivered
    // and the rest dropped, said on stderr.
    Outcome Read(uint8_t* buffer, uint32_t count, uint32_t timeLimitMs, Diagnostics& diagnostics);

    const DeviceLocation& Location() const { return m_location; }
    bool Gone() const { return m_gone; }
    uint8_t OutEndpoint() const { return m_outEndpoint; }
    uint8_t InEndpoint() const { return m_inEndpoint; }

private:
    HeldDevice(libusb_device_handle* handle, DeviceLocation location);
    // Turns a libusb failure into the caller's error; a stalled endpoint is cleared so that the
    // next command (the restart, say) can pass.
    Outcome Failed(int result, uint8_t endpoint, uint32_t moved);

    libusb_device_handle* m_handle;
    DeviceLocation m_location;
    int m_interface = -1;
    uint8_t m_outEndpoint = 0;
    uint8_t m_inEndpoint = 0;
    uint32_t m_inPacketSize = 512;
    bool m_claimed = false;
    bool m_gone = false;
    std::vector<uint8_t> m_inBuffer;
};

}  // namespace zelusb
