#include "tests/zelport/usb/testbed/UsbTestbed.h"

#include <sys/stat.h>
#include <umockdev.h>

#include <string>

#include "sim/ConfigError.h"
#include "sim/ConfigParser.h"
#include "sim/SimConfig.h"
#include "tests/zelport/usb/testbed/EmulatedPrinter.h"

namespace zelusb {

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string Padded(uint32_t number) {
    std::string digits = std::to_string(number);
    return std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits;
}

// The device descriptor and the one configuration: a printer-class interface with a bulk-OUT
// and a bulk-IN endpoint of 512-byte packets.
std::vector<uint8_t> Descriptors(uint16_t vendorId, uint16_t productId) {
    const auto low = [](uint16_t value) { return static_cast<uint8_t>(value & 0xFF); };
    const auto high = [](uint16_t value) { return static_cast<uint8_t>(value >> 8); };
    const uint8_t packetLow = low(EmulatedPrinter::kPacketSize);
    const uint8_t packetHigh = high(EmulatedPrinter::kPacketSize);
    return {
        0x12,
        0x01,
        0x00,
        0x02,
        0x00,
        0x00,
        0x00,
        0x40,
        low(vendorId),
        high(vendorId),
        low(productId),
        high(productId),
        0x00,
        0x01,
        0x01,
        0x02,
        0x03,
        0x01,
        // configuration 1, 32 bytes in all, self-powered
        0x09,
        0x02,
        0x20,
        0x00,
        0x01,
        0x01,
        0x00,
        0xC0,
        0x01,
        // interface 0: printer class, bidirectional
        0x09,
        0x04,
        0x00,
        0x00,
        0x02,
        0x07,
        0x01,
        0x02,
        0x00,
        0x07,
        0x05,
        EmulatedPrinter::kOutEndpoint,
        0x02,
        packetLow,
        packetHigh,
        0x00,
        0x07,
        0x05,
        EmulatedPrinter::kInEndpoint,
        0x02,
        packetLow,
        packetHigh,
        0x00,
    };
}

}  // namespace

UsbTestbed::UsbTestbed() : m_testbed(umockdev_testbed_new()) {
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    m_root = root;
    g_free(root);
}

UsbTestbed::~UsbTestbed() {
    Clear();
    g_object_unref(m_testbed);
}

int UsbTestbed::Plug(const std::string& printerKeys, UsbFaults faults, std::string& error) {
    sim::SimConfig config;
    sim::ConfigError parseError;
    if (!sim::ConfigParser::Parse("printer\n" + printerKeys + "\n", config, parseError) ||
        config.printers.size() != 1) {
        error = parseError.Describe();
        return -1;
    }
    const int number = static_cast<int>(m_printers.size());
    const sim::PrinterConfig& printer = config.printers.front();
    const uint32_t address = m_nextAddress++;
    const std::string port = std::to_string(address);
    Plugged plugged;
    plugged.device = std::make_unique<EmulatedPrinter>(printer, faults);
    plugged.node = "/dev/bus/usb/001/" + Padded(address);
    plugged.sysPath = "/sys/devices/usb1/1-" + port;
    GError* attachError = nullptr;
    // The handler stands before the device appears, so that libusb never finds it unserved. A
    // node nobody may open needs none (and umockdev's preload would keep the connection it
    // makes for an open that then fails).
    if (!faults.accessDenied &&
        !umockdev_testbed_attach_ioctl(m_testbed, plugged.node.c_str(), plugged.device->Handler(),
                                       &attachError)) {
        error = attachError != nullptr ? attachError->message : "cannot attach the ioctl handler";
        g_clear_error(&attachError);
        return -1;
    }
    const std::string record =
        "P: /devices/usb1/1-" + port + "\nN: " + plugged.node.substr(5) +
        "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n"
        "E: BUSNUM=001\nE: DEVNUM=" +
        Padded(address) + "\nE: DEVNAME=" + plugged.node + "\nA: busnum=1\\n\nA: devnum=" + port +
        "\\n\nA: devpath=" + port +
        "\\n\nA: bConfigurationValue=1\\n\nA: speed=480\\n\nH: descriptors=" +
        Hex(Descriptors(printer.vendorId, printer.productId)) + "\n";
    GError* addError = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, record.c_str(), &addError)) {
        error = addError != nullptr ? addError->message : "cannot add the device";
        g_clear_error(&addError);
        umockdev_testbed_detach_ioctl(m_testbed, plugged.node.c_str(), nullptr);
        return -1;
    }
    if (faults.accessDenied) {
        chmod((m_root + plugged.node).c_str(), 0);
    }
    plugged.onBus = true;
    m_printers.push_back(std::move(plugged));
    return number;
}

std::string UsbTestbed::NodePath(int printer) const {
    return m_root + m_printers.at(static_cast<size_t>(printer)).node;
}

void UsbTestbed::Unplug(int printer) {
    Plugged& plugged = m_printers.at(static_cast<size_t>(printer));
    plugged.device->Unplug();
    if (plugged.onBus) {
        umockdev_testbed_remove_device(m_testbed, plugged.sysPath.c_str());
        plugged.onBus = false;
    }
}

void UsbTestbed::Clear() {
    for (size_t i = 0; i < m_printers.size(); ++i) {
        Unplug(static_cast<int>(i));
        umockdev_testbed_detach_ioctl(m_testbed, m_printers[i].node.c_str(), nullptr);
    }
    m_printers.clear();
}

}  // namespace zelusb
