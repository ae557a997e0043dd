// rxt9-emulated-printer: serves one emulated printer behind umockdev for programs in other
// processes, until its standard input ends. It prints the testbed's directory first, as
// "UMOCKDEV_DIR=...", for the client's environment (with LD_PRELOAD=libumockdev-preload.so.0),
// and at the end what the printer received and reports.
//
//   rxt9-emulated-printer [printer keys of a simulator configuration, one per argument]
#include <iostream>
#include <string>

#include "tests/zelport/usb/testbed/EmulatedPrinter.h"
#include "tests/zelport/usb/testbed/UsbTestbed.h"

int main(int argc, char** argv) {
    std::string keys;
    for (int i = 1; i < argc; ++i) {
        keys += std::string(argv[i]) + "\n";
    }
    zelusb::UsbTestbed testbed;
    std::string error;
    const int printer = testbed.Plug(keys, {}, error);
    if (printer < 0) {
        std::cerr << "rxt9-emulated-printer: " << error << '\n';
        return 1;
    }
    std::cout << "UMOCKDEV_DIR=" << testbed.RootDirectory() << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
    }
    zelusb::EmulatedPrinter& device = testbed.Printer(printer);
    std::cout << device.ReceivedLog();
    for (const char area : {'p', 't', 'f', 's'}) {
        std::cout << "area " << area << ": " << device.Firmware(area) << '\n';
    }
    std::cout << "download mode: " << (device.InDownloadMode() ? "yes" : "no") << '\n';
    return 0;
}
