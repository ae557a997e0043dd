#include "sim/PrinterDevice.h"

#include <gtest/gtest.h>

#include "tests/sim/ImageBuilder.h"
#include "tests/sim/Protocol.h"

namespace {

using sim::AreaLayout;
using sim::ItemFirmware;
using sim::PrinterDevice;
using namespace simtest;

std::vector<uint8_t> ReplyTo(PrinterDevice& device, const std::vector<uint8_t>& command) {
    std::optional<PrinterDevice::Reply> reply = device.Receive(command);
    return reply ? reply->bytes : std::vector<uint8_t>{};
}

void SendImage(PrinterDevice& device, char area, const std::string& image) {
    EXPECT_FALSE(device.Receive(PrepareArea(area)));
    EXPECT_FALSE(device.Receive(StartWrite(area)));
    for (const std::vector<uint8_t>& block : ImageBlocks(image)) {
        EXPECT_FALSE(device.Receive(block));
    }
}

// Version and checksum of reply item `item` (0 to 3).
ItemFirmware ReportedItem(const std::vector<uint8_t>& reply, int item) {
    ItemFirmware firmware;
    std::copy_n(reply.begin() + 4 + 8 * item, 6, firmware.version.begin());
    firmware.checksum = static_cast<uint16_t>(reply[10 + 8 * item] << 8 | reply[11 + 8 * item]);
    return firmware;
}

const AreaLayout& Area(char letter) {
    return *AreaLayout::ByLetter(letter);
}

TEST(PrinterDevice, NormalModeAnswersWithTheConfiguredState) {
    sim::PrinterConfig config;
    config.modelCode = 0x60;
    config.errorCode = 0x0102;
    config.printingState = 7;
    config.identity = {'A', 'B', 0x00, 'C', 'D', 'E'};
    PrinterDevice device(config);

    EXPECT_EQ(ReplyTo(device, kStatusInquiry), sim::CommandSet::StatusReply(0x60, 0x0102, 7));
    const std::vector<uint8_t> identity = ReplyTo(device, kIdentityRead);
    ASSERT_EQ(identity.size(), 28u);
    EXPECT_EQ(std::vector<uint8_t>(identity.begin() + 22, identity.end()),
              (std::vector<uint8_t>{'A', 'B', 0x00, 'C', 'D', 'E'}));
    const std::vector<uint8_t> versions = ReplyTo(device, kVersionInquiry);
    ASSERT_EQ(versions.size(), 36u);
    EXPECT_EQ(ReportedItem(versions, 0), ItemFirmware::Of("450B42", 0x6B1D));
    EXPECT_EQ(ReportedItem(versions, 1), ItemFirmware::Of("452C11", 0xBEB3));
    EXPECT_EQ(ReportedItem(versions, 3), ItemFirmware::Of("454E11", 0x9C27));
    EXPECT_FALSE(device.InDownloadMode());
}

TEST(PrinterDevice, DownloadWritesTheImageAndReportsWhatTheAreaHolds) {
    sim::PrinterConfig config;
    PrinterDevice device(config);
    ImageBuilder image(Area('s'));
    std::vector<uint8_t> code(5000);
    for (size_t i = 0; i < code.size(); ++i) {
        code[i] = static_cast<uint8_t>(i * 13 + 1);
    }
    image.Header("").Data(0x002C0000, code).Version("454F11").End();

    EXPECT_FALSE(device.Receive(kDownloadMode));
    EXPECT_TRUE(device.InDownloadMode());
    EXPECT_FALSE(device.Receive(PrepareArea('s')));
    EXPECT_EQ(device.Reported(Area('s')).checksum, 0x0000) << "erased 256 KiB sum to zero";
    EXPECT_EQ(device.Reported(Area('s')).version,
              (std::array<uint8_t, 6>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(device.Receive(StartWrite('s')));
    const std::vector<std::vector<uint8_t>> blocks = ImageBlocks(image.Text());
    for (const std::vector<uint8_t>& block : blocks) {
        EXPECT_FALSE(device.Receive(block));
    }
    const ItemFirmware expected = ItemFirmware::Of("454F11", image.ExpectedChecksum());
    EXPECT_EQ(device.Reported(Area('s')), expected);
    EXPECT_EQ(ReportedItem(ReplyTo(device, kVersionInquiry), 3), expected);
    EXPECT_FALSE(device.Receive(kRestart));
    EXPECT_FALSE(device.InDownloadMode());

    const size_t sent = blocks.size() * 4096 - 4096 + blocks.back().size();
    EXPECT_EQ(device.Log().Text(),
              "download-mode\nprepare s\nstart-write s\ndata s: " + std::to_string(sent) +
                  " bytes in " + std::to_string(blocks.size()) +
                  " transfers, complete\nversion-inquiry\nrestart\n");
}

TEST(PrinterDevice, EachAreaLoadsAtItsAddressesAndReportsInItsItem) {
    for (const AreaLayout& area : AreaLayout::All()) {
        PrinterDevice device(sim::PrinterConfig{});
        ImageBuilder image(area);
        image.Header("HDR").Version("4A0Z99").End();
        device.Receive(kDownloadMode);
        SendImage(device, area.letter, image.Text());
        const ItemFirmware expected = ItemFirmware::Of("4A0Z99", image.ExpectedChecksum());
        EXPECT_EQ(device.Reported(area), expected) << area.letter;
        if (area.replyItem >= 0) {
            EXPECT_EQ(ReportedItem(ReplyTo(device, kVersionInquiry), area.replyItem), expected)
                << area.letter;
        }
    }
}

struct BrokenImageCase {
    const char* name;
    // Lines after the good records: the first of them spoils the image.
    std::vector<std::string> tail;
    // How the log describes the end of the data; for a faulty record, the line follows.
    std::string outcome;
};

void PrintTo(const BrokenImageCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Corrupted(std::string record) {
    record.back() = record.back() == '0' ? '1' : '0';
    return record;
}

class PrinterDeviceBrokenImages : public ::testing::TestWithParam<BrokenImageCase> {};

TEST_P(PrinterDeviceBrokenImages, ReportWhatTheMemoryHoldsWhenTheImageStops) {
    sim::PrinterConfig config;
    PrinterDevice device(config);
    ImageBuilder good(Area('s'));
    good.Header("").Data(0x002C0000, "first run of code").Data(0x002FFFF0, "454F11");
    ImageBuilder broken = good;
    for (const std::string& line : GetParam().tail) {
        broken.Line(line);
    }
    device.Receive(kDownloadMode);
    SendImage(device, 's', broken.Text());
    // The next command ends the image, as the verification's version inquiry does.
    const std::vector<uint8_t> versions = ReplyTo(device, kVersionInquiry);

    EXPECT_EQ(ReportedItem(versions, 3), ItemFirmware::Of("454F11", good.ExpectedChecksum()));
    EXPECT_NE(good.ExpectedChecksum(), 0);
    std::string outcome = GetParam().outcome;
    if (!GetParam().tail.empty()) {
        outcome += " at line " + std::to_string(good.LineCount() + 1);
    }
    const std::string log = device.Log().Text();
    EXPECT_NE(log.find(outcome), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Images, PrinterDeviceBrokenImages,
    ::testing::Values(
        BrokenImageCase{"CorruptRecord",
                        {Corrupted(ImageBuilder::Record(3, 0x002C1000, Bytes("abc"))),
                         ImageBuilder::Record(3, 0x002C2000, Bytes("more")), "S70500000000FA"},
                        "bad record checksum"},
        BrokenImageCase{"AddressOutsideArea",
                        {ImageBuilder::Record(3, 0x00300000, Bytes("next area")), "S70500000000FA"},
                        "address outside the area"},
        BrokenImageCase{"AddressBeforeArea",
                        {ImageBuilder::Record(3, 0x002BFFFE, Bytes("abcd")), "S70500000000FA"},
                        "address outside the area"},
        BrokenImageCase{"StopsBeforeTheEndRecord", {}, "stopped before the S7 record"}),
    [](const ::testing::TestParamInfo<BrokenImageCase>& info) { return info.param.name; });

TEST(PrinterDevice, DiscardsTheImageOfAnAreaNotPreparedInThisDownloadMode) {
    sim::PrinterConfig config;
    PrinterDevice device(config);
    ImageBuilder image(Area('p'));
    image.Version("450D42").End();
    const ItemFirmware before = device.Reported(Area('p'));

    device.Receive(kDownloadMode);
    device.Receive(PrepareArea('p'));
    device.Receive(kRestart);
    device.Receive(kDownloadMode);
    device.Receive(StartWrite('p'));
    for (const std::vector<uint8_t>& block : ImageBlocks(image.Text())) {
        device.Receive(block);
    }

    EXPECT_NE(device.Reported(Area('p')).version, ItemFirmware::Of("450D42", 0).version);
    EXPECT_NE(device.Reported(Area('p')), before) << "the earlier prepare erased it";
    EXPECT_NE(device.Log().Text().find("discarded, area not prepared"), std::string::npos);
}

TEST(PrinterDevice, IgnoresCommandsOutsideTheirMode) {
    PrinterDevice device(sim::PrinterConfig{});
    const ItemFirmware before = device.Reported(Area('t'));
    EXPECT_FALSE(device.Receive(PrepareArea('t')));
    EXPECT_FALSE(device.Receive(StartWrite('t')));
    EXPECT_FALSE(device.Receive(Bytes("S70500000000FA\r\n")));
    EXPECT_EQ(device.Reported(Area('t')), before);
    device.Receive(kDownloadMode);
    EXPECT_FALSE(device.Receive(kStatusInquiry));
    EXPECT_FALSE(device.Receive(kIdentityRead));
    EXPECT_TRUE(device.Receive(kVersionInquiry));
    EXPECT_FALSE(device.Receive(std::vector<uint8_t>{0x1B, 0x66, 0x72, 0x00, 0x00}));
    EXPECT_EQ(device.Log().Text(),
              "prepare t (ignored in normal mode)\n"
              "start-write t (ignored in normal mode)\n"
              "stray 16 bytes: 53 37 30 35 30 30 30 30 ...\n"
              "download-mode\n"
              "status-inquiry (no reply in download mode)\n"
              "identity-read (no reply in download mode)\n"
              "version-inquiry\n"
              "unknown 5 bytes: 1B 66 72 00 00\n");
}

TEST(PrinterDevice, ReportsTheConfiguredValuesAfterAnImage) {
    sim::PrinterConfig config;
    config.reportOverrides.push_back({&Area('t'), std::nullopt, 0x1234});
    config.reportOverrides.push_back(
        {&Area('s'), std::array<uint8_t, 6>{'4', '5', '4', 'F', '1', '0'}, std::nullopt});
    PrinterDevice device(config);
    ImageBuilder dataT(Area('t'));
    dataT.Version("452C11").End();
    ImageBuilder dataS(Area('s'));
    dataS.Version("454F11").End();

    device.Receive(kDownloadMode);
    SendImage(device, 't', dataT.Text());
    SendImage(device, 's', dataS.Text());

    EXPECT_EQ(device.Reported(Area('t')), ItemFirmware::Of("452C11", 0x1234));
    EXPECT_EQ(device.Reported(Area('s')), ItemFirmware::Of("454F10", dataS.ExpectedChecksum()));
}

}  // namespace
