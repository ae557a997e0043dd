// Where a USB device is plugged in: its bus and the port numbers from the root hub down, and
// the address the bus gave it. Devices are counted in the order of bus, then port path, which
// stays the same when a device re-enumerates with another address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct libusb_device;

namespace zelusb {

class DeviceLocation {
public:
    static DeviceLocation Of(libusb_device* device);

    // "bus 1 port 2.4"; "bus 1 address 7" when the port path is unknown.
    std::string Text() const;
    // The usbfs node of the device, "/dev/bus/usb/001/007".
    std::string NodePath() const;

    // Bus and address: the same plugged-in device.
    bool SameDevice(const DeviceLocation& other) const;
    // Bus, then port path.
    bool operator<(const DeviceLocation& other) const;

private:
    uint8_t m_bus = 0;
    uint8_t m_address = 0;
    std::vector<uint8_t> m_ports;
};

}  // namespace zelusb
