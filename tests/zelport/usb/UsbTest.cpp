#include "tests/zelport/usb/UsbTest.h"

#include <sstream>

#include "platform/Kernel.h"
#include "printer/UsbLibrary.h"
#include "printer/UsbPort.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/zelport/usb/testbed/ProcessDescriptors.h"

namespace {

constexpr const char* kTimeLimitMs = "500";

testing_support::TemporaryDirectory& TraceDirectory() {
    static testing_support::TemporaryDirectory directory;
    return directory;
}

// Loaded once: libusb and the library's settings stay for the process.
win::HMODULE LoadedLibrary() {
    static const win::HMODULE module = [] {
        UsbTest::Testbed();
        // Read by the library at its first call, and kept for the process.
        static testing_support::ScopedEnvironment settings;
        settings.Set("RXT9_USB_TIME_LIMIT_MS", kTimeLimitMs);
        settings.Set("RXT9_USB_TRACE", TraceDirectory().File("trace"));
        win::HMODULE library = win::LoadLibraryA(RXT9_USB_LIBRARY);
        if (library != nullptr) {
            // The first start of libusb and the first open of a device keep descriptors of
            // libusb's and of the preload's for the rest of the process; open one printer once
            // before any test counts descriptors.
            std::string error;
            UsbTest::Testbed().Plug("", {}, error);
            const WORD product = 0x5D36;
            CUsbLibrary binding{};  // a plain record: the module stays loaded
            if (binding.Bind(library)) {
                binding.SetVenderID(0x2E91);
                binding.SetProductID(&product, 1);
                win::CloseHandle(binding.UsbOpenBulk("PIPE00", 0));
            }
            UsbTest::Testbed().Clear();
        }
        return library;
    }();
    return module;
}

}  // namespace

zelusb::UsbTestbed& UsbTest::Testbed() {
    static zelusb::UsbTestbed testbed;
    return testbed;
}

std::string UsbTest::TracePath() {
    return TraceDirectory().File("trace");
}

void UsbTest::SetUp() {
    UpdateHarness::SetUp();
    win::HMODULE module = LoadedLibrary();
    ASSERT_NE(module, nullptr) << RXT9_USB_LIBRARY;
    ASSERT_TRUE(g_usbLibrary.Bind(module));
    m_descriptorsBefore = zelusb::DescriptorsBesideSocketsAndEvents();
}

void UsbTest::TearDown() {
    ExpectNothingLeftOpen();
    g_usbLibrary = CUsbLibrary{};  // the module stays loaded
    UpdateHarness::TearDown();
}

void UsbTest::ExpectNothingLeftOpen() {
    Testbed().Clear();
    EXPECT_EQ(zelusb::DescriptorsBesideSocketsAndEvents(), m_descriptorsBefore)
        << "no descriptor and no device left open";
}

int UsbTest::Plug(const std::string& printerKeys, zelusb::UsbFaults faults) {
    std::string error;
    const int printer = Testbed().Plug(printerKeys, faults, error);
    EXPECT_GE(printer, 0) << error;
    return printer;
}

int UsbTest::Count(const std::string& linePrefix, int printer) {
    std::istringstream lines(Printer(printer).ReceivedLog());
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(linePrefix, 0) == 0) {
            ++count;
        }
    }
    return count;
}

int UsbTest::CountPrinters() {
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    return port.CountPrinters();
}
