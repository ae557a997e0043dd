// The main window against printers emulated behind the real libusb (umockdev), through
// ZELPORT.so over libusb, on the virtual clock. The library's time limit runs in real time and
// is shortened for the whole suite, so that silent printers are waited out quickly; every
// emulated transfer that is answered completes at once, far inside it.
#pragma once

#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "tests/harness/UpdateHarness.h"
#include "tests/zelport/usb/testbed/EmulatedPrinter.h"
#include "tests/zelport/usb/testbed/UsbTestbed.h"

class UsbTest : public UpdateHarness {
public:
    // One testbed for the process, made before the library first starts libusb.
    static zelusb::UsbTestbed& Testbed();

protected:
    static constexpr DWORD kFirstPress = kStart + 5000;
    static constexpr DWORD kAfterFirstRun = kStart + 1000000;
    static constexpr DWORD kSecondPress = kStart + 1000100;
    static constexpr DWORD kAfterSecondRun = kStart + 2000000;

    // The trace file the suite's library appends to (RXT9_USB_TRACE).
    static std::string TracePath();

    void SetUp() override;
    void TearDown() override;

    // Plugs in a printer (printer keys of a simulator configuration); fails the test if the
    // testbed refuses it.
    int Plug(const std::string& printerKeys = "", zelusb::UsbFaults faults = {});
    zelusb::EmulatedPrinter& Printer(int printer = 0) { return Testbed().Printer(printer); }
    // How often a line of the printer's received log starts with the text.
    int Count(const std::string& linePrefix, int printer = 0);
    int CountPrinters();
    // Unplugs every printer and expects the process to hold no more descriptors than before
    // the test: none of the library's, of libusb's or of a device.
    void ExpectNothingLeftOpen();

protected:
    std::vector<std::string> m_descriptorsBefore;
};
