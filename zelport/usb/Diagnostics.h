// What the library says on stderr when the cause of a failure lies outside the printer: a
// printer that is there but cannot be opened, libusb that cannot start, a device that sends
// more than it was asked for. Each line is said once per process.
#pragma once

#include <set>
#include <string>

namespace zelusb {

class DeviceLocation;

class Diagnostics {
public:
    void AccessDenied(const DeviceLocation& location);
    // The interface is claimed by another program, or by a kernel driver that would not let
    // go; names the program when the system tells which one holds the device's node.
    void Busy(const DeviceLocation& location);
    void OpenFailed(const DeviceLocation& location, const std::string& reason);
    void NoInterface(const DeviceLocation& location);
    void CannotStart(const std::string& reason);
    // libusb started but sees no USB device at all, not even a root hub.
    void NoUsbAtAll();
    void Overflow(const DeviceLocation& location, const std::string& what);

private:
    void Say(const std::string& line);
    static std::string Device(const DeviceLocation& location);

    std::set<std::string> m_said;
};

}  // namespace zelusb
