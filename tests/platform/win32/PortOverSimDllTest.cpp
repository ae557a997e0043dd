// CUsbPort over the simulated ZELPORT.dll's real pipe handles: the printer count, the opens,
// an exchange of one command and its reply as messages, and the faults that end a pipe.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/Kernel.h"
#include "platform/Resources.h"
#include "platform/VirtualClock.h"
#include "printer/UsbLibrary.h"
#include "printer/UsbPort.h"
#include "tests/harness/SimControls.h"

namespace {

constexpr const char* kVendorId = "2E91";
constexpr const char* kProductId = "5D36";
constexpr int kBlock = 4096;

class PortOverSimDllTest : public testing::Test {
protected:
    void SetUp() override {
        // The port's pauses between commands pass at once.
        win::SetClock(&m_clock);
        win::HMODULE module = win::LoadLibraryA("ZELPORT.dll");
        ASSERT_NE(module, nullptr);
        ASSERT_TRUE(g_usbLibrary.Bind(module));
        ASSERT_TRUE(m_sim.Bind(module));
        m_port.SetDeviceIds(kVendorId, kProductId);
    }
    void TearDown() override {
        m_port.Close();
        g_usbLibrary.Unload();
        win::SetClock(nullptr);
    }
    void Configure(const char* config) { ASSERT_EQ(m_sim.reset(config, nullptr, nullptr), 1); }
    // Opens the port and starts a download of DATA1(M): download mode, prepare, start-write
    // and `blocks` blocks of the image. Whether each of these writes went through, in order;
    // empty when the port did not open.
    std::vector<bool> StartDownload(int blocks) {
        const win::HRSRC image = win::FindResourceA(nullptr, 130, "BINARY");
        if (image == nullptr || !m_port.Open()) {
            return {};
        }
        const auto* bytes =
            static_cast<const BYTE*>(win::LockResource(win::LoadResource(nullptr, image)));
        std::vector<bool> done = {m_port.SendDownloadMode() != FALSE,
                                  m_port.SendPrepareArea(kAreaData1) != FALSE,
                                  m_port.SendStartWrite(kAreaData1) != FALSE};
        for (int block = 0; block < blocks; ++block) {
            done.push_back(m_port.Write(bytes + block * kBlock, kBlock) == kBlock);
        }
        return done;
    }
    // The library's threads notice closed pipes a moment after the tool closes them.
    unsigned OpenHandlesOnceSettled() {
        for (int i = 0; i < 100 && m_sim.openHandles() != 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return m_sim.openHandles();
    }

    win::VirtualClock m_clock;
    CUsbPort m_port;
    SimControls m_sim;
};

struct CountCase {
    const char* name;
    const char* config;
    int printers;
    BOOL opens;
    int lastError;
};

class PrinterCountTest : public PortOverSimDllTest,
                         public testing::WithParamInterface<CountCase> {};

TEST_P(PrinterCountTest, CountsAndOpens) {
    Configure(GetParam().config);
    EXPECT_EQ(m_port.CountPrinters(), GetParam().printers);
    EXPECT_EQ(OpenHandlesOnceSettled(), 0u) << "the count left handles open";
    EXPECT_EQ(m_port.Open(), GetParam().opens);
    EXPECT_EQ(m_port.m_nLastError, GetParam().lastError);
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, PrinterCountTest,
    testing::Values(
        CountCase{"OnePrinter", "printer\n", 1, TRUE, PORT_OK},
        CountCase{"NoPrinter", "", 0, FALSE, PORT_OPEN_FAILED},
        CountCase{"TwoPrinters", "printer\nprinter\n", 2, TRUE, PORT_OK},
        CountCase{"RefusedVendorId", "refuse-vendor-id yes\nprinter\n", 0, FALSE, PORT_NOT_OPEN},
        CountCase{"OtherProductId", "product-id 1234\nprinter\n", 0, FALSE, PORT_OPEN_FAILED}),
    [](const testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST_F(PortOverSimDllTest, VersionInquiryAndItsReplyAreOneMessageEach) {
    Configure("printer\n");
    ASSERT_TRUE(m_port.Open());
    ASSERT_TRUE(m_port.SendVersionInquiry());
    VersionInfo info{};
    ASSERT_TRUE(m_port.ReadVersionReply(info));
    EXPECT_STREQ(info.item[0].version, "450B42");
    EXPECT_EQ(info.item[0].checksum, 0x6B1Du);
    EXPECT_STREQ(info.item[3].version, "454E11");
    m_port.Close();
    EXPECT_EQ(OpenHandlesOnceSettled(), 0u);
}

TEST_F(PortOverSimDllTest, AShortReplyFailsTheRead) {
    Configure("printer\nreply-short version 18\n");
    ASSERT_TRUE(m_port.Open());
    ASSERT_TRUE(m_port.SendVersionInquiry());
    VersionInfo info{};
    EXPECT_FALSE(m_port.ReadVersionReply(info));
    EXPECT_EQ(m_port.m_nLastError, PORT_IO_FAILED);
}

TEST_F(PortOverSimDllTest, ASilentPrinterFailsTheReadAtTheLibrarysTimeLimit) {
    Configure("time-limit-ms 300\nprinter\nsilent-after 0\n");
    ASSERT_TRUE(m_port.Open());
    ASSERT_TRUE(m_port.SendVersionInquiry());
    VersionInfo info{};
    EXPECT_FALSE(m_port.ReadVersionReply(info));
    EXPECT_EQ(m_port.m_nLastError, PORT_IO_FAILED);
}

// Faults that act on a write fail that very write, as on Linux. The writes of a download
// start: download mode, prepare and start-write of DATA1(M), then image blocks.
struct WriteFaultCase {
    const char* name;
    const char* config;
    int writesTaken;  // before the first failing write
    int printersAfter;
};

class WriteFaultTest : public PortOverSimDllTest,
                       public testing::WithParamInterface<WriteFaultCase> {};

TEST_P(WriteFaultTest, TheFaultFailsTheWriteItNames) {
    constexpr int kBlocks = 5;
    Configure(GetParam().config);
    const std::vector<bool> done = StartDownload(kBlocks);
    ASSERT_FALSE(done.empty());
    const auto before = std::find(done.begin(), done.end(), false) - done.begin();
    EXPECT_EQ(before, GetParam().writesTaken);
    if (GetParam().writesTaken < 3 + kBlocks) {
        EXPECT_EQ(m_port.m_nLastError, PORT_IO_FAILED);
    }
    m_port.Close();
    EXPECT_EQ(m_port.CountPrinters(), GetParam().printersAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WriteFaultTest,
    testing::Values(WriteFaultCase{"NoFault", "printer\nlink-rate 100000000\n", 8, 1},
                    WriteFaultCase{"StartWriteFails", "printer\nwrite-fails start-write\n", 2, 1},
                    WriteFaultCase{"ThirdBlockFails", "printer\nwrite-fails image 3\n", 5, 1},
                    WriteFaultCase{"OtherAreaOnly", "printer\nwrite-fails image:t\n", 8, 1},
                    WriteFaultCase{"UnplugAtPrepare", "printer\nunplug-at prepare\n", 1, 0},
                    WriteFaultCase{"UnplugAtSecondBlock", "printer\nunplug-at image 2\n", 4, 0},
                    // The third block crosses 10000 image bytes.
                    WriteFaultCase{"UnplugAfterImageBytes", "printer\nunplug-after 10000\n", 5, 0},
                    // 4096 bytes at 10000 bytes a second need longer than the time limit.
                    WriteFaultCase{"SlowLinkTimesOut",
                                   "time-limit-ms 200\nprinter\nlink-rate 10000\n", 3, 1}),
    [](const testing::TestParamInfo<WriteFaultCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(PortOverSimDllTest, ASlowLinkHoldsWritesAndRepliesForTheirBytesTime) {
    // 1000 bytes a second: the 10-byte inquiry takes 10 ms, its 36-byte reply 36 ms more, and
    // each 100-byte write 100 ms.
    Configure("printer\nlink-rate 1000\n");
    ASSERT_TRUE(m_port.Open());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_port.SendVersionInquiry());
    VersionInfo info{};
    ASSERT_TRUE(m_port.ReadVersionReply(info));
    EXPECT_STREQ(info.item[0].version, "450B42");
    const auto replied = std::chrono::steady_clock::now();
    EXPECT_GE(replied - start, std::chrono::milliseconds(46));
    const std::string block(100, 'x');
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(m_port.Write(block.data(), 100), 100);
    }
    EXPECT_GE(std::chrono::steady_clock::now() - replied, std::chrono::milliseconds(300));
}

TEST_F(PortOverSimDllTest, AShortWriteIsRefusedAsNoPipeCanDoIt) {
    EXPECT_EQ(m_sim.reset("printer\nwrite-short image 100\n", nullptr, nullptr), 0);
    EXPECT_EQ(m_port.CountPrinters(), 0);
}

TEST_F(PortOverSimDllTest, TheUpdatedFirmwareIsWhatThePrinterReports) {
    Configure("printer\nfirmware DATA1(M) 450D42 3AC3\n");
    uint8_t version[6] = {};
    uint16_t checksum = 0;
    ASSERT_EQ(m_sim.firmware(0, 'p', version, &checksum), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(version), 6), "450D42");
    EXPECT_EQ(checksum, 0x3AC3);
    EXPECT_EQ(m_sim.firmware(1, 'p', version, &checksum), 0);
}

// In real time the out-pipe buffers the tool's writes ahead of the printer; once settled, the
// printer has handled every one of them.
struct SettleCase {
    const char* name;
    const char* config;
    const char* log;
    int inDownloadMode;
    int attached;
};

class SettleTest : public PortOverSimDllTest, public testing::WithParamInterface<SettleCase> {};

TEST_P(SettleTest, SettledWritesShowInTheLogAndThePrintersState) {
    constexpr int kBlocks = 10;
    Configure(GetParam().config);
    ASSERT_FALSE(StartDownload(kBlocks).empty());
    m_sim.settle();
    std::string log(m_sim.receivedLog(0, nullptr, 0), '\0');
    m_sim.receivedLog(0, log.data(), log.size() + 1);
    EXPECT_EQ(log, GetParam().log);
    EXPECT_EQ(m_sim.inDownloadMode(0), GetParam().inDownloadMode);
    EXPECT_EQ(m_sim.isAttached(0), GetParam().attached);
    EXPECT_EQ(m_sim.inDownloadMode(1), -1) << "no second printer";
    EXPECT_EQ(m_sim.isAttached(1), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Printers, SettleTest,
    testing::Values(SettleCase{"TakesEverything", "printer\n",
                               "download-mode\nprepare p\nstart-write p\n"
                               "data p: 40960 bytes in 10 transfers, receiving\n",
                               1, 1},
                    SettleCase{"UnpluggedAtPrepare", "printer\nunplug-at prepare\n",
                               "download-mode\n", 0, 0}),
    [](const testing::TestParamInfo<SettleCase>& info) { return std::string(info.param.name); });

TEST_F(PortOverSimDllTest, ATracePathIsRefused) {
    EXPECT_EQ(m_sim.reset("printer\n", nullptr, "trace.txt"), 0);
    EXPECT_EQ(m_port.CountPrinters(), 0);
}

}  // namespace
