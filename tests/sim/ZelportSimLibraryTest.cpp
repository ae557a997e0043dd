// The simulated ZELPORT.so through its C entry points, over real descriptors, with this test
// in the tool's place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/sim/ImageBuilder.h"
#include "tests/sim/Protocol.h"
#include "zelport/sim/ZelportSim.h"
#include "zelport/sim/link/HostIo.h"
#include "zelport/zelport.h"

namespace {

using devlink::HostIo;
using namespace simtest;

constexpr uint16_t kVendorId = 0x2E91;
constexpr uint16_t kProductId = 0x5D36;

void SelectIds(uint16_t vendorId = kVendorId, uint16_t productId = kProductId) {
    ASSERT_NE(SetVenderID(vendorId), 0);
    SetProductID(&productId, 1);
}

// The tool's count: control handle and both pipes of each index, until one fails.
int CountPrinters() {
    int count = 0;
    for (uint32_t index = 0;; ++index) {
        const HANDLE handles[] = {UsbOpenCont(index, 0), UsbOpenBulk("PIPE00", index),
                                  UsbOpenBulk("PIPE01", index)};
        bool all = true;
        for (HANDLE handle : handles) {
            if (handle == INVALID_HANDLE_VALUE) {
                all = false;
            } else {
                HostIo::Close(handle);
            }
        }
        if (!all) {
            return count;
        }
        ++count;
    }
}

// The tool's port on device 0.
class Port {
public:
    Port() {
        out = UsbOpenBulk("PIPE00", 0);
        in = UsbOpenBulk("PIPE01", 0);
    }
    ~Port() {
        for (HANDLE handle : {out, in}) {
            if (handle != INVALID_HANDLE_VALUE) {
                HostIo::Close(handle);
            }
        }
    }
    bool IsOpen() const { return out != INVALID_HANDLE_VALUE && in != INVALID_HANDLE_VALUE; }
    intptr_t Write(const std::vector<uint8_t>& bytes) {
        return HostIo::Write(out, bytes.data(), bytes.size());
    }
    // Reads once into a buffer of `size` bytes; the bytes read, empty on failure.
    std::vector<uint8_t> Read(size_t size) {
        std::vector<uint8_t> buffer(size, 0);
        const intptr_t got = HostIo::Read(in, buffer.data(), buffer.size());
        buffer.resize(got < 0 ? 0 : static_cast<size_t>(got));
        return buffer;
    }
    std::vector<uint8_t> Ask(const std::vector<uint8_t>& inquiry, size_t replySize) {
        EXPECT_EQ(Write(inquiry), static_cast<intptr_t>(inquiry.size()));
        return Read(replySize);
    }

    HANDLE out;
    HANDLE in;
};

std::string Log(uint32_t printer = 0) {
    ZelportSimSettle();
    std::string log(ZelportSimReceivedLog(printer, nullptr, 0), '\0');
    ZelportSimReceivedLog(printer, log.data(), log.size() + 1);
    return log;
}

std::string VersionOf(const std::vector<uint8_t>& reply, int item) {
    return std::string(reply.begin() + 4 + 8 * item, reply.begin() + 10 + 8 * item);
}

uint16_t ChecksumOf(const std::vector<uint8_t>& reply, int item) {
    return static_cast<uint16_t>(reply[10 + 8 * item] << 8 | reply[11 + 8 * item]);
}

std::atomic<uint64_t> g_virtualMilliseconds{0};
void AdvanceVirtualClock(uint32_t milliseconds) {
    g_virtualMilliseconds += milliseconds;
}

class ZelportSimLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_directory = std::filesystem::temp_directory_path() /
                      (std::string("rxt9-zelport-sim-") + test->name());
        std::filesystem::remove_all(m_directory);
        std::filesystem::create_directories(m_directory);
        ZelportSimSetTimeSink(nullptr);
        g_virtualMilliseconds = 0;
    }
    void TearDown() override {
        ZelportSimSetTimeSink(nullptr);
        ZelportSimReset("", nullptr, nullptr);
        std::filesystem::remove_all(m_directory);
    }

    void Configure(const char* text) {
        ASSERT_EQ(ZelportSimReset(text, StatePath().c_str(), nullptr), 1);
        SelectIds();
    }
    std::string StatePath() const { return (m_directory / "state").string(); }

    std::filesystem::path m_directory;
};

TEST_F(ZelportSimLibrary, TheDefaultPrinterAnswersOverRealDescriptors) {
    ASSERT_EQ(ZelportSimReset(nullptr, nullptr, nullptr), 1);
    SelectIds();
    EXPECT_EQ(CountPrinters(), 1);
    {
        Port port;
        ASSERT_TRUE(port.IsOpen());
        const std::vector<uint8_t> status = port.Ask(kStatusInquiry, 18);
        ASSERT_EQ(status.size(), 18u);
        EXPECT_EQ(status[4], 0x5F);
        EXPECT_EQ(status[5] << 8 | status[6], 0);
        EXPECT_EQ(status[16], 0);
        const std::vector<uint8_t> identity = port.Ask(kIdentityRead, 28);
        ASSERT_EQ(identity.size(), 28u);
        EXPECT_EQ(std::string(identity.begin() + 22, identity.end()), "T90001");
        const std::vector<uint8_t> versions = port.Ask(kVersionInquiry, 36);
        ASSERT_EQ(versions.size(), 36u);
        EXPECT_EQ(VersionOf(versions, 0), "450B42");
        EXPECT_EQ(VersionOf(versions, 1), "452C11");
        EXPECT_EQ(VersionOf(versions, 3), "454E11");
    }
    ZelportSimSettle();
    EXPECT_EQ(ZelportSimOpenHandles(), 0u);
    EXPECT_EQ(Log(), "status-inquiry\nidentity-read\nversion-inquiry\n");
}

struct CountCase {
    const char* name;
    const char* config;
    int count;
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << c.name;
}

class ZelportSimCount : public ZelportSimLibrary,
                        public ::testing::WithParamInterface<CountCase> {};

TEST_P(ZelportSimCount, CountsTheRunOfFullyOpenableDevicesAndLeavesNoHandleOpen) {
    Configure(GetParam().config);
    EXPECT_EQ(CountPrinters(), GetParam().count);
    ZelportSimSettle();
    EXPECT_EQ(ZelportSimOpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Printers, ZelportSimCount,
    ::testing::Values(
        CountCase{"None", "", 0}, CountCase{"One", "printer\n", 1},
        CountCase{"Two", "printer\nprinter\n", 2},
        CountCase{"SecondControlFails", "printer\nprinter\nopen-fails cont\nprinter\n", 1},
        CountCase{"FirstOutPipeFails", "printer\nopen-fails pipe00\nprinter\n", 0},
        CountCase{"SecondInPipeFails", "printer\nprinter\nopen-fails pipe01\n", 1},
        CountCase{"OtherProductSkipped", "printer\nproduct-id 1111\nprinter\n", 1},
        CountCase{"OtherVendorSkipped", "vendor-id 1234\nprinter\nprinter\nvendor-id 2E91\n", 1}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return info.param.name; });

TEST_F(ZelportSimLibrary, TheProbeStopsAt127Devices) {
    std::string config;
    for (int i = 0; i < 130; ++i) {
        config += "printer\n";
    }
    Configure(config.c_str());
    EXPECT_EQ(CountPrinters(), 127);
}

TEST_F(ZelportSimLibrary, ARefusedVendorIdSelectsNothing) {
    ASSERT_EQ(ZelportSimReset("refuse-vendor-id yes\nprinter\n", nullptr, nullptr), 1);
    EXPECT_EQ(SetVenderID(kVendorId), 0);
    EXPECT_EQ(UsbOpenBulk("PIPE00", 0), INVALID_HANDLE_VALUE);
}

TEST_F(ZelportSimLibrary, OnlyThePrintersOwnPipesOpen) {
    Configure("printer\n");
    EXPECT_EQ(UsbOpenBulk("PIPE02", 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(UsbOpenBulk(nullptr, 0), INVALID_HANDLE_VALUE);
    uint32_t returned = 7;
    EXPECT_EQ(UsbDeviceIoControl(0, 0, nullptr, 0, nullptr, 0, &returned), 0);
    EXPECT_EQ(returned, 0u);
    SelectIds(kVendorId, 0x1111);
    EXPECT_EQ(UsbOpenBulk("PIPE00", 0), INVALID_HANDLE_VALUE);
}

TEST_F(ZelportSimLibrary, AMalformedConfigurationIsRefusedAndEveryOpenFails) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ZelportSimReset("printer\nerror-code lots\n", nullptr, nullptr), 0);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("line 2, field \"error-code\""), std::string::npos) << message;
    SelectIds();
    EXPECT_EQ(CountPrinters(), 0);
    EXPECT_EQ(ZelportSimPrinterCount(), 0u);
}

// A state file that is no regular file of a sensible size would block the library (a FIFO),
// never end (a device) or be replaced by the library's own file: it is refused.
TEST_F(ZelportSimLibrary, AStateFileThatIsNoOrdinaryFileIsRefused) {
    namespace fs = std::filesystem;
    const std::string fifo = StatePath() + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string directory = StatePath() + ".d";
    fs::create_directory(directory);
    const std::string huge = StatePath() + ".huge";
    std::ofstream(huge) << std::string((1 << 20) + 1, '#');
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {"/dev/full", "not a regular file"},
        {fifo, "not a regular file"},
        {directory, "not a regular file"},
        {huge, "larger than 1048576 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(ZelportSimReset("printer\n", c.path.c_str(), nullptr), 0);
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find("the state file " + c.path + ": " + c.reason), std::string::npos)
            << message;
        SelectIds();
        EXPECT_EQ(CountPrinters(), 0);
    }
    EXPECT_TRUE(fs::is_fifo(fifo)) << "left as it was";
    EXPECT_EQ(ZelportSimReset("printer\n", (StatePath() + ".new").c_str(), nullptr), 1)
        << "a state file that does not exist yet is fine";
}

// The writes of a whole update, as the tool makes them, and what the printer then reports.
TEST_F(ZelportSimLibrary, AnUpdatePersistsForTheNextStart) {
    Configure("printer\nmodel-code 5F\n");
    ImageBuilder dataP(*sim::AreaLayout::ByLetter('p'));
    dataP.Header("HDR").Data(0x00080100, std::vector<uint8_t>(6000, 0x42), 29);
    dataP.Version("450D42").End(0x80000008);
    ImageBuilder dataS(*sim::AreaLayout::ByLetter('s'));
    dataS.Header("").Data(0x002C0000, "\x5A\xA5\xA5\x5A").Version("454F11").End();
    {
        Port port;
        ASSERT_TRUE(port.IsOpen());
        EXPECT_EQ(port.Write(kDownloadMode), 8);
    }
    Port port;
    EXPECT_EQ(port.Ask(kVersionInquiry, 36).size(), 36u);
    for (auto [letter, image] : {std::pair{'p', &dataP}, std::pair{'s', &dataS}}) {
        EXPECT_EQ(port.Write(PrepareArea(letter)), 4);
        EXPECT_EQ(port.Write(StartWrite(letter)), 512);
        for (const std::vector<uint8_t>& block : ImageBlocks(image->Text())) {
            EXPECT_EQ(port.Write(block), static_cast<intptr_t>(block.size()));
        }
    }
    const std::vector<uint8_t> after = port.Ask(kVersionInquiry, 36);
    ASSERT_EQ(after.size(), 36u);
    EXPECT_EQ(VersionOf(after, 0), "450D42");
    EXPECT_EQ(ChecksumOf(after, 0), dataP.ExpectedChecksum());
    EXPECT_EQ(VersionOf(after, 3), "454F11");
    EXPECT_EQ(ChecksumOf(after, 3), dataS.ExpectedChecksum());
    EXPECT_EQ(VersionOf(after, 1), "452C11") << "untouched";
    EXPECT_EQ(ZelportSimInDownloadMode(0), 1);
    EXPECT_EQ(port.Write(kRestart), 4);

    const std::string log = Log();
    EXPECT_EQ(ZelportSimInDownloadMode(0), 0);
    std::istringstream lines(log);
    std::vector<std::string> received;
    for (std::string line; std::getline(lines, line);) {
        received.push_back(line.substr(0, line.find(':')));
    }
    EXPECT_EQ(received,
              (std::vector<std::string>{"download-mode", "version-inquiry", "prepare p",
                                        "start-write p", "data p", "prepare s", "start-write s",
                                        "data s", "version-inquiry", "restart"}));
    EXPECT_NE(log.find("data p: " +
                       std::to_string(ImageBlocks(dataP.Text()).size() * 4096 - 4096 +
                                      ImageBlocks(dataP.Text()).back().size()) +
                       " bytes"),
              std::string::npos)
        << log;

    // A new start of the library with the same state file sees the updated printer.
    ASSERT_EQ(ZelportSimReset("printer\n", StatePath().c_str(), nullptr), 1);
    SelectIds();
    Port next;
    const std::vector<uint8_t> persisted = next.Ask(kVersionInquiry, 36);
    ASSERT_EQ(persisted.size(), 36u);
    EXPECT_EQ(VersionOf(persisted, 0), "450D42");
    EXPECT_EQ(ChecksumOf(persisted, 0), dataP.ExpectedChecksum());
    uint8_t version[6];
    uint16_t checksum = 0;
    ASSERT_EQ(ZelportSimFirmware(0, 's', version, &checksum), 1);
    EXPECT_EQ(std::string(version, version + 6), "454F11");
    EXPECT_EQ(checksum, dataS.ExpectedChecksum());
}

TEST_F(ZelportSimLibrary, RepliesComeShortOrWithAnotherHeader) {
    Configure("printer\nreply-short version 18\nreply-header status E4474431\n");
    Port port;
    EXPECT_EQ(port.Ask(kVersionInquiry, 36).size(), 18u);
    const std::vector<uint8_t> status = port.Ask(kStatusInquiry, 18);
    ASSERT_EQ(status.size(), 18u);
    EXPECT_EQ(status[3], 0x31);
}

TEST_F(ZelportSimLibrary, ASilentPrinterFailsTheReadAtTheTimeLimit) {
    Configure("time-limit-ms 500\nprinter\nsilent-after 1\n");
    Port port;
    EXPECT_EQ(port.Ask(kStatusInquiry, 18).size(), 18u);
    EXPECT_EQ(port.Write(kIdentityRead), 22);
    std::vector<uint8_t> buffer(28);
    EXPECT_EQ(HostIo::Read(port.in, buffer.data(), buffer.size()), -1);
}

TEST_F(ZelportSimLibrary, OnTheVirtualClockASilentPrinterCostsTheTimeLimitThereOnly) {
    ZelportSimSetTimeSink(AdvanceVirtualClock);
    // Ten minutes: waited out in real time, the test would run into its own time limit.
    Configure("time-limit-ms 600000\nprinter\nsilent-after 1\n");
    Port port;
    EXPECT_EQ(port.Ask(kStatusInquiry, 18).size(), 18u);
    EXPECT_EQ(g_virtualMilliseconds.load(), 0u) << "a reply that came costs no waiting";
    EXPECT_EQ(port.Write(kIdentityRead), 22);
    std::vector<uint8_t> buffer(28);
    EXPECT_EQ(HostIo::Read(port.in, buffer.data(), buffer.size()), -1);
    EXPECT_EQ(g_virtualMilliseconds.load(), 600000u);
}

TEST_F(ZelportSimLibrary, TheToolsWritesAreTakenShortOrFailAtTheConfiguredWrite) {
    Configure("printer\nwrite-short start-write 500 1\nwrite-fails image 2\n");
    Port port;
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Write(kDownloadMode), 8);
    EXPECT_EQ(port.Write(PrepareArea('t')), 4);
    EXPECT_EQ(port.Write(StartWrite('t')), 500);
    EXPECT_EQ(port.Write(StartWrite('t')), 512);
    const std::vector<uint8_t> block(4096, '\n');
    EXPECT_EQ(port.Write(block), 4096);
    EXPECT_EQ(port.Write(block), -1);
    EXPECT_EQ(port.Write(block), 4096);
    EXPECT_EQ(Log(),
              "download-mode\nprepare t\nunknown 500 bytes: 1B 66 73 74 00 00 00 00 ...\n"
              "start-write t\ndata t: 8192 bytes in 2 transfers, receiving\n");
}

TEST_F(ZelportSimLibrary, AnUnpluggedPrinterFailsEveryLaterTransferAndOpen) {
    Configure("printer\nunplug-after 5000\n");
    Port port;
    EXPECT_EQ(port.Write(kDownloadMode), 8);
    EXPECT_EQ(port.Write(PrepareArea('p')), 4);
    EXPECT_EQ(port.Write(StartWrite('p')), 512);
    const std::vector<uint8_t> block(4096, '\n');
    EXPECT_EQ(port.Write(block), 4096);
    EXPECT_EQ(port.Write(block), -1);
    EXPECT_EQ(port.Write(kVersionInquiry), -1);
    EXPECT_TRUE(port.Read(36).empty()) << "end of file";
    EXPECT_EQ(ZelportSimIsAttached(0), 0);
    EXPECT_EQ(CountPrinters(), 0);
    EXPECT_NE(Log().find("data p: 5000 bytes in 2 transfers, stopped before the S7 record"),
              std::string::npos);
}

TEST_F(ZelportSimLibrary, ASlowLinkChargesTheVirtualClockBeforeTheTransferReturns) {
    ZelportSimSetTimeSink(AdvanceVirtualClock);
    Configure("printer\nlink-rate 4096\n");
    Port port;
    EXPECT_EQ(port.Write(StartWrite('p')), 512);
    EXPECT_EQ(g_virtualMilliseconds.load(), 125u);
    const std::vector<uint8_t> block(4096, '\n');
    EXPECT_EQ(port.Write(block), 4096);
    EXPECT_EQ(g_virtualMilliseconds.load(), 1125u);
    EXPECT_EQ(port.Ask(kVersionInquiry, 36).size(), 36u);
    // 4619 bytes so far take 1127 ms; with the 36-byte reply 4655 bytes take 1136 ms.
    EXPECT_EQ(g_virtualMilliseconds.load(), 1136u);
}

TEST_F(ZelportSimLibrary, InRealTimeAWriteLongerThanTheTimeLimitFails) {
    Configure("time-limit-ms 50\nprinter\nlink-rate 1000\n");
    Port port;
    EXPECT_EQ(port.Write(kRestart), 4);
    EXPECT_EQ(port.Write(StartWrite('p')), -1);
    EXPECT_EQ(Log(), "restart\n");
}

TEST_F(ZelportSimLibrary, AResetEndsTheHandlesOfTheEarlierPrinters) {
    Configure("printer\n");
    Port port;
    ASSERT_EQ(ZelportSimReset("printer\n", nullptr, nullptr), 1);
    EXPECT_EQ(port.Write(kVersionInquiry), 11) << "the packet vanishes";
    EXPECT_TRUE(port.Read(36).empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(ZelportSimLibrary, TheTraceShowsEveryTransfer) {
    const std::string trace = (m_directory / "trace").string();
    ASSERT_EQ(ZelportSimReset("printer\n", nullptr, trace.c_str()), 1);
    SelectIds();
    {
        Port port;
        EXPECT_EQ(port.Ask(kVersionInquiry, 36).size(), 36u);
    }
    ZelportSimSettle();
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("PIPE00 host->printer 0 11 bytes: 1B 47 44 30 00 00 04 0C 0E 0D 13"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("PIPE01 printer->host 0 36 bytes: E4 47 44 30 34 35 30 42"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("open PIPE01 of device 0 (printer 0): handle"), std::string::npos);
}

}  // namespace
