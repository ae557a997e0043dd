// Whole runs of the tool through ZELPORT.so over libusb against emulated printers.
#include "tests/zelport/usb/UsbTest.h"

namespace {

TEST_F(UsbTest, CountsOnlyPrintersWithThePackagesIds) {
    EXPECT_EQ(CountPrinters(), 0);
    Plug("product-id 5D37");
    EXPECT_EQ(CountPrinters(), 0) << "another product id is not counted";
    Plug();
    EXPECT_EQ(CountPrinters(), 1);
    Plug("identity T90002");
    EXPECT_EQ(CountPrinters(), 2);
    Testbed().Unplug(1);
    EXPECT_EQ(CountPrinters(), 1) << "found afresh at each open";
}

TEST_F(UsbTest, DownloadsTheBuiltInSetThenFindsThePrinterUpToDate) {
    Plug();
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    model.ClickButton(kSecondPress, IDC_DOWNLOAD);
    RunMainWindow();
    EXPECT_EQ(Boxes(), (std::vector<Box>{SuccessBox(), VersionCheckBox(Text(IDS_NEWEST))}));
    EXPECT_EQ(Printer().Firmware('p'), "450D42/3AC3");
    EXPECT_EQ(Printer().Firmware('t'), "452C11/BEB3");
    EXPECT_EQ(Printer().Firmware('s'), "454F11/A789");
    EXPECT_FALSE(Printer().InDownloadMode());
    EXPECT_EQ(Count("data p: 2974656 bytes in 727 transfers, complete"), 1);
    EXPECT_EQ(Count("restart"), 1);
    EXPECT_EQ(Printer().UrbsInFlight(), 0u);
}

TEST_F(UsbTest, APrinterUnpluggedMidImageAndPluggedInAgainIsUpdatedByTheNextPress) {
    Plug("unplug-at image:t 2");
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    // It leaves the bus, and plugged in again it comes back at another address, in normal mode.
    model.Probe(kAfterFirstRun, [&] {
        Testbed().Unplug(0);
        Plug();
    });
    model.ClickButton(kSecondPress, IDC_DOWNLOAD);
    RunMainWindow();
    EXPECT_EQ(Boxes(), (std::vector<Box>{ErrorBox(Text(IDS_FAILED)), SuccessBox()}));
    EXPECT_EQ(Count("restart", 0), 0) << "no restart reaches a printer that has gone";
    EXPECT_EQ(Printer(1).Firmware('t'), "452C11/BEB3");
    EXPECT_EQ(Count("restart", 1), 1);
}

}  // namespace
