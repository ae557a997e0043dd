// What ZELPORT.so over libusb makes of single transfers and opens against emulated printers:
// the results the tool's file calls get, the device shared between the count and the port,
// the order of devices, the kernel's driver, and what the library says on stderr.
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

#include "printer/UsbLibrary.h"
#include "printer/UsbPort.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/zelport/usb/UsbTest.h"
#include "tests/zelport/usb/testbed/PermissionChecks.h"

namespace {

const std::string kStatusInquiry("\x1B\x47\x44\x30\x00\x00\x03\x02\x16\x17", 10);
const std::string kIdentityRead(
    "\x1B\x61\x36\x36\x41\xBE\x00\x00\x00\x06\x00\x00\x00\x30"
    "\xFF\xFF\xFF\xF9\xFF\xFF\xFF\xCF",
    22);

struct Transfer {
    BOOL result;
    DWORD moved;
    DWORD error;
};

class UsbPrinterTest : public UsbTest {
protected:
    void SetUp() override {
        UsbTest::SetUp();
        g_usbLibrary.SetVenderID(0x2E91);
        const WORD product = 0x5D36;
        g_usbLibrary.SetProductID(&product, 1);
    }

    // Closes every handle the test opened, as the tool would.
    void TearDown() override {
        for (const HANDLE handle : m_opened) {
            EXPECT_TRUE(win::CloseHandle(handle));
        }
        UsbTest::TearDown();
    }

    HANDLE OpenPipe(const char* pipe, uint32_t index = 0) {
        const HANDLE handle = g_usbLibrary.UsbOpenBulk(pipe, index);
        if (handle != INVALID_HANDLE_VALUE) {
            m_opened.push_back(handle);
        }
        return handle;
    }

    static Transfer Write(HANDLE pipe, const std::string& bytes) {
        Transfer transfer{};
        win::SetLastError(0);
        transfer.result = win::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &transfer.moved, nullptr);
        transfer.error = win::GetLastError();
        return transfer;
    }

    static Transfer Read(HANDLE pipe, std::string& bytes, DWORD count) {
        Transfer transfer{};
        bytes.assign(count, '\0');
        win::SetLastError(0);
        transfer.result = win::ReadFile(pipe, bytes.data(), count, &transfer.moved, nullptr);
        transfer.error = win::GetLastError();
        return transfer;
    }

    // The lines the library appended to its trace since the test began.
    std::string TraceSinceStart() const {
        std::ifstream trace(TracePath(), std::ios::binary);
        trace.seekg(static_cast<std::streamoff>(m_traceStart));
        return {std::istreambuf_iterator<char>(trace), std::istreambuf_iterator<char>()};
    }

    void MarkTrace() {
        std::ifstream trace(TracePath(), std::ios::binary | std::ios::ate);
        m_traceStart = trace ? static_cast<size_t>(trace.tellg()) : 0;
    }

    std::vector<HANDLE> m_opened;
    size_t m_traceStart = 0;
};

TEST_F(UsbPrinterTest, AWriteTheDeviceStopsTakingReturnsWhatItTookAtTheTimeLimit) {
    Plug("write-short status-inquiry 2 1");
    const HANDLE out = OpenPipe("PIPE00");
    const Transfer transfer = Write(out, kStatusInquiry);
    EXPECT_TRUE(transfer.result);
    EXPECT_EQ(transfer.moved, 2u);
}

TEST_F(UsbPrinterTest, AReplyLongerThanAskedFailsTheReadAndIsReported) {
    zelusb::UsbFaults faults;
    faults.overflowReply = 1;
    faults.extraBytes = 4;
    Plug("", faults);
    const HANDLE out = OpenPipe("PIPE00");
    const HANDLE in = OpenPipe("PIPE01");
    ASSERT_EQ(Write(out, kStatusInquiry).moved, 10u);
    testing::internal::CaptureStderr();
    std::string reply;
    const Transfer transfer = Read(in, reply, 18);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(transfer.result);
    EXPECT_EQ(transfer.error, 234u) << "ERROR_MORE_DATA";
    EXPECT_EQ(transfer.moved, 18u) << "the asked bytes are delivered";
    EXPECT_EQ(reply.substr(0, 4), "\xE4\x47\x44\x30");
    EXPECT_NE(said.find("sent 22 bytes where 18 were asked for"), std::string::npos) << said;
    ASSERT_EQ(Write(out, kStatusInquiry).moved, 10u);
    EXPECT_TRUE(Read(in, reply, 18).result) << "the next reply is whole: nothing stayed behind";
    EXPECT_EQ(reply.substr(0, 4), "\xE4\x47\x44\x30");
}

TEST_F(UsbPrinterTest, AStalledCommandFailsAndTheNextOnePasses) {
    Plug("write-fails status-inquiry 1");
    const HANDLE out = OpenPipe("PIPE00");
    const HANDLE in = OpenPipe("PIPE01");
    const Transfer stalled = Write(out, kStatusInquiry);
    EXPECT_FALSE(stalled.result);
    EXPECT_EQ(stalled.error, ERROR_GEN_FAILURE);
    EXPECT_EQ(Write(out, kStatusInquiry).moved, 10u);
    std::string reply;
    EXPECT_EQ(Read(in, reply, 18).moved, 18u);
}

TEST_F(UsbPrinterTest, AnUnpluggedPrinterFailsEveryLaterCallAtOnce) {
    Plug();
    const HANDLE out = OpenPipe("PIPE00");
    const HANDLE in = OpenPipe("PIPE01");
    Testbed().Unplug(0);
    MarkTrace();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Transfer write = Write(out, kStatusInquiry);
        EXPECT_FALSE(write.result);
        EXPECT_EQ(write.error, 1167u) << "ERROR_DEVICE_NOT_CONNECTED";
        std::string reply;
        const Transfer read = Read(in, reply, 18);
        EXPECT_FALSE(read.result);
        EXPECT_EQ(read.error, 1167u);
    }
    const std::string trace = TraceSinceStart();
    EXPECT_NE(trace.find("WriteFile PIPE00 ep 01 asked 10 moved 0 no device: 1B 47"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("ReadFile PIPE01 ep 81 asked 18 moved 0 no device (unplugged before)"),
              std::string::npos)
        << "the later calls never reach libusb";
    EXPECT_EQ(Printer().UrbsInFlight(), 0u);
}

TEST_F(UsbPrinterTest, ASecondLoadOfTheLibraryFreedAgainLeavesItsHandlesServed) {
    Plug();
    const HANDLE out = OpenPipe("PIPE00");
    const win::HMODULE again = win::LoadLibraryA(RXT9_USB_LIBRARY);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(win::FreeLibrary(again));
    EXPECT_EQ(Write(out, kStatusInquiry).moved, 10u) << "the first load still serves its handles";
}

TEST_F(UsbPrinterTest, TheControlHandleTakesNoTransfersAndIoControlRefuses) {
    Plug();
    const HANDLE control = g_usbLibrary.UsbOpenCont(0, 0);
    ASSERT_NE(control, INVALID_HANDLE_VALUE);
    m_opened.push_back(control);
    const Transfer write = Write(control, kStatusInquiry);
    EXPECT_FALSE(write.result);
    EXPECT_EQ(write.error, 1u) << "ERROR_INVALID_FUNCTION";
    std::string reply;
    EXPECT_FALSE(Read(control, reply, 18).result);
    uint32_t returned = 7;
    EXPECT_EQ(g_usbLibrary.UsbDeviceIoControl(control, 0, nullptr, 0, nullptr, 0, &returned), 0);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(Count("status-inquiry"), 0);
}

TEST_F(UsbPrinterTest, TheCountSharesThePrinterThePortHolds) {
    Plug();
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(port.CountPrinters(), 1);
    EXPECT_EQ(Printer().Claims(), 1u) << "claimed once, by the port's first pipe";
    EXPECT_EQ(port.Write(kStatusInquiry.data(), 10), 10);
    std::array<char, 18> reply{};
    EXPECT_EQ(port.Read(reply.data(), 18), 18) << "the port's pipes outlive the count's probes";
    port.Close();
    EXPECT_EQ(Printer().Claims(), 0u) << "released with the last handle";
}

TEST_F(UsbPrinterTest, DevicesAreNumberedByPortAndFoundAfresh) {
    Plug("identity SN0001");
    Plug("identity SN0002");
    Testbed().Unplug(0);
    Plug("identity SN0003");  // plugged in again, at a new address and port
    EXPECT_EQ(CountPrinters(), 2);
    const HANDLE second = OpenPipe("PIPE00", 1);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Write(second, kIdentityRead).moved, 22u);
    EXPECT_EQ(Count("identity-read", 2), 1) << "index 1 is the printer on the higher port";
    EXPECT_EQ(Count("identity-read", 1), 0);
}

TEST_F(UsbPrinterTest, ThePrintersDriverIsDetachedWhileHeldAndAttachedAfter) {
    zelusb::UsbFaults faults;
    faults.kernelDriver = true;
    Plug("", faults);
    const HANDLE out = g_usbLibrary.UsbOpenBulk("PIPE00", 0);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Printer().KernelDriverBound());
    EXPECT_TRUE(win::CloseHandle(out));
    EXPECT_TRUE(Printer().KernelDriverBound());
}

TEST_F(UsbPrinterTest, TheTraceShowsCallsCommandsRepliesAndImageBlocks) {
    Plug();
    MarkTrace();
    const HANDLE out = OpenPipe("PIPE00");
    const HANDLE in = OpenPipe("PIPE01");
    Write(out, kStatusInquiry);
    std::string reply;
    Read(in, reply, 18);
    Write(out, "S00600004844521B\r\n" + std::string(4078, 'F'));
    const std::string trace = TraceSinceStart();
    for (const char* line : {
             " UsbOpenBulk PIPE00 device 0: handle ",
             " WriteFile PIPE00 ep 01 asked 10 moved 10 ok: 1B 47 44 30 00 00 03 02 16 17\n",
             " ReadFile PIPE01 ep 81 asked 18 moved 18 ok: E4 47 44 30 5F 00 00 ",
             " WriteFile PIPE00 ep 01 asked 4096 moved 4096 ok: image block of 4096 bytes, "
             "first 53 30 30 36 30 30 30 30 34 38 34 34 35 32 31 42\n",
         }) {
        EXPECT_NE(trace.find(line), std::string::npos) << line << "\nin\n" << trace;
    }
}

class UsbDiagnosticsTest : public UsbTest {
protected:
    // Runs the start-up check; returns what the library said on stderr.
    std::string RunStartupCheck() {
        testing::internal::CaptureStderr();
        RunMainWindow();
        return testing::internal::GetCapturedStderr();
    }

    static int Lines(const std::string& said) {
        return static_cast<int>(std::count(said.begin(), said.end(), '\n'));
    }
};

TEST_F(UsbDiagnosticsTest, AnInterfaceHeldByAnotherProgramIsNamedOnStderr) {
    zelusb::UsbFaults faults;
    faults.claimBusy = true;
    Plug("", faults);
    const std::string said = RunStartupCheck();
    EXPECT_EQ(Boxes(), (std::vector<Box>{ErrorBox(Error(2000, 2026))}));
    EXPECT_NE(said.find("ZELPORT.so: the printer at bus 1 port "), std::string::npos) << said;
    EXPECT_NE(said.find(" cannot be claimed: another program holds it."), std::string::npos)
        << said;
    EXPECT_EQ(Lines(said), 1) << said;
}

TEST_F(UsbDiagnosticsTest, ANodeTheUserMayNotOpenAsksForTheUdevRule) {
    zelusb::UsbFaults faults;
    faults.accessDenied = true;
    Plug("", faults);
    std::string said;
    {
        const zelusb::PermissionChecks asUser;
        said = RunStartupCheck();
    }
    EXPECT_EQ(Boxes(), (std::vector<Box>{ErrorBox(Error(2000, 2026))}));
    EXPECT_NE(said.find(" cannot be opened: access denied. Install the udev rule "
                        "70-rxt9-update.rules"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("unplug the printer and plug it in again"), std::string::npos) << said;
    EXPECT_EQ(Lines(said), 1) << said;
}

// rxt9-update-cli against the testbed, as a process of its own: it shows what the library
// says on stderr beside the message.
class UsbProgramTest : public UsbTest {
protected:
    // `timeLimitMs` empty leaves the library its own limits.
    testing_support::ChildResult RunProgram(std::initializer_list<const char*> options = {"-y"},
                                            const char* timeLimitMs = "500", DWORD waitMs = 60000) {
        testing_support::TemporaryDirectory runtime;
        testing_support::ChildProcess program(RXT9_CLI_PROGRAM);
        program.Arg("--json");
        for (const char* option : options) {
            program.Arg(option);
        }
        return program.Env("LD_PRELOAD", "libumockdev-preload.so.0")
            .Env("UMOCKDEV_DIR", Testbed().RootDirectory())
            .Env("RXT9_ZELPORT", RXT9_USB_LIBRARY)
            .Env("RXT9_USB_TIME_LIMIT_MS", timeLimitMs)
            .Env("RXT9_LOCK_DIR", runtime.Path())
            // Under AddressSanitizer the preload comes before its runtime; that is harmless.
            .Env("ASAN_OPTIONS", "verify_asan_link_order=0")
            .Run(waitMs);
    }
};

// A printer may hold a block while it writes its flash, longer than a reply ever takes: with
// the library's own limits, a write waits for it where a read would have given up.
TEST_F(UsbProgramTest, ABlockThePrinterHoldsForEightSecondsDoesNotFailTheUpdate) {
    zelusb::UsbFaults faults;
    faults.holdWrite = 40;
    faults.holdMs = 8000;
    const int printer = Plug("", faults);
    const testing_support::ChildResult result = RunProgram({"--download", "-y"}, "", 180000);
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(Printer(printer).Firmware('p'), "450D42/3AC3");
}

TEST_F(UsbProgramTest, NoUsbAtAllIsSaidBesideNotConnected) {
    const testing_support::ChildResult result = RunProgram();
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 3) << result.output;
    EXPECT_NE(result.output.find("Printer is not connected."), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("ZELPORT.so: no USB device is visible at all"), std::string::npos)
        << result.output;
}

TEST_F(UsbProgramTest, CheckReportsThePrinterOverUsbAndLeavesItOutOfDownloadMode) {
    const int printer = Plug("");
    const testing_support::ChildResult result = RunProgram({"--check"});
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_NE(result.output.find("\"event\":\"check\",\"identity\":\"T90001\""), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("\"package_set\":1,\"update_applies\":true"), std::string::npos)
        << result.output;
    EXPECT_EQ(Count("download-mode", printer), 0) << Printer(printer).ReceivedLog();
}

// The check's other ends over USB: no printer, and one that already holds the package.
TEST_F(UsbProgramTest, CheckEndsWithTheStatusOfWhatItFound) {
    EXPECT_EQ(RunProgram({"--check"}).exitStatus, 3);
    const int printer =
        Plug("firmware p 450D42 3AC3\nfirmware t 452C11 BEB3\nfirmware s 454F11 A789\n");
    const testing_support::ChildResult result = RunProgram({"--check"});
    EXPECT_EQ(result.exitStatus, 2) << result.output;
    EXPECT_NE(result.output.find("\"update_applies\":false"), std::string::npos) << result.output;
    EXPECT_EQ(Count("download-mode", printer), 0) << Printer(printer).ReceivedLog();
}

TEST_F(UsbProgramTest, AHeldInterfaceIsSaidBesideNotConnected) {
    zelusb::UsbFaults faults;
    faults.claimBusy = true;
    Plug("", faults);
    const testing_support::ChildResult result = RunProgram();
    EXPECT_EQ(result.exitStatus, 3) << result.output;
    EXPECT_NE(result.output.find("Printer is not connected."), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("cannot be claimed: another program holds it"), std::string::npos)
        << result.output;
}

}  // namespace
