#include "zelport/usb/DeviceLocation.h"

#include <libusb.h>

#include <array>
#include <tuple>

namespace zelusb {

DeviceLocation DeviceLocation::Of(libusb_device* device) {
    DeviceLocation location;
    location.m_bus = libusb_get_bus_number(device);
    location.m_address = libusb_get_device_address(device);
    std::array<uint8_t, 8> ports{};  // USB 3 allows 7 tiers of hubs below the root
    const int depth = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
    if (depth > 0) {
        location.m_ports.assign(ports.begin(), ports.begin() + depth);
    }
    return location;
}

std::string DeviceLocation::Text() const {
    std::string text = "bus " + std::to_string(m_bus);
    if (m_ports.empty()) {
        return text + " address " + std::to_string(m_address);
    }
    text += " port ";
    for (size_t i = 0; i < m_ports.size(); ++i) {
        text += (i == 0 ? "" : ".") + std::to_string(m_ports[i]);
    }
    return text;
}

namespace {

std::string ThreeDigits(unsigned number) {
    const std::string digits = std::to_string(number);
    return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

}  // namespace

std::string DeviceLocation::NodePath() const {
    return "/dev/bus/usb/" + ThreeDigits(m_bus) + "/" + ThreeDigits(m_address);
}

bool DeviceLocation::SameDevice(const DeviceLocation& other) const {
    return m_bus == other.m_bus && m_address == other.m_address;
}

bool DeviceLocation::operator<(const DeviceLocation& other) const {
    return std::tie(m_bus, m_ports, m_address) <
           std::tie(other.m_bus, other.m_ports, other.m_address);
}

}  // namespace zelusb
