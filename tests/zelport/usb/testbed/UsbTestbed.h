// Emulated RX-T9 printers behind the real libusb, through umockdev: each printer is a usbfs
// device node with the printer's descriptors in sysfs, served by an EmulatedPrinter. One
// testbed per process, created before anything starts libusb; the process needs umockdev's
// preload library (linked in, or through LD_PRELOAD), and a child process finds the testbed
// through UMOCKDEV_DIR, which the testbed sets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/NonCopyable.h"
#include "tests/zelport/usb/testbed/UsbFaults.h"

struct _UMockdevTestbed;  // NOLINT(bugprone-reserved-identifier): umockdev's name

namespace zelusb {

class EmulatedPrinter;

class UsbTestbed : testing_support::NonCopyable {
public:
    UsbTestbed();
    ~UsbTestbed();

    // Plugs in a printer configured by the printer keys of a simulator configuration (see
    // docs/simulator.md: ids, versions, faults), at the next free port of bus 1. Returns its
    // number, or -1 with the reason in `error`.
    int Plug(const std::string& printerKeys, UsbFaults faults, std::string& error);
    // Takes the printer off the bus; its node stays until Clear for handles still open on it.
    void Unplug(int printer);
    // Unplugs every printer and removes them.
    void Clear();

    EmulatedPrinter& Printer(int printer) {
        return *m_printers.at(static_cast<size_t>(printer)).device;
    }
    std::string NodePath(int printer) const;  // the node as the testbed holds it
    std::string RootDirectory() const { return m_root; }

private:
    struct Plugged {
        std::unique_ptr<EmulatedPrinter> device;
        std::string sysPath;
        std::string node;  // "/dev/bus/usb/001/002"
        bool onBus;
    };

    _UMockdevTestbed* m_testbed;
    std::string m_root;
    std::vector<Plugged> m_printers;
    uint32_t m_nextAddress = 2;  // 1 is the root hub's
};

}  // namespace zelusb
