#include "sim/ConfigParser.h"

#include <gtest/gtest.h>

namespace {

using sim::AreaLayout;
using sim::CommandKind;
using sim::ConfigError;
using sim::ConfigParser;
using sim::SimConfig;

TEST(ConfigParser, ReadsGlobalSettingsAndEveryPrinterKey) {
    const char* text = R"(# two printers
vendor-id 1234
product-id 0x5678
time-limit-ms 50
refuse-vendor-id no

printer
model-code 6a          # another model
error-code 0x0102
printing-state 3
identity AB#123
firmware DATA1(M) 450D42 3ac3
firmware s 454F11 A789
open-fails pipe01
write-fails start-write:t 2
write-short image 500 3
unplug-at version-inquiry 2
reply-short version 18
reply-header status E4474431 2
silent-after 4
link-rate 20000
unplug-after 100000
report-after-write DATA2 - BEB0
hold-restart /run/test/release

printer
product-id 5D36
identity-hex 41 42 00 43 44 45
)";
    SimConfig config;
    ConfigError error;
    ASSERT_TRUE(ConfigParser::Parse(text, config, error)) << error.Describe();

    EXPECT_EQ(config.vendorId, 0x1234);
    EXPECT_EQ(config.productId, 0x5678);
    EXPECT_EQ(config.timeLimitMs, 50u);
    EXPECT_FALSE(config.refuseVendorId);
    ASSERT_EQ(config.printers.size(), 2u);

    const sim::PrinterConfig& first = config.printers[0];
    EXPECT_EQ(first.vendorId, 0x1234);
    EXPECT_EQ(first.productId, 0x5678);
    EXPECT_EQ(first.modelCode, 0x6A);
    EXPECT_EQ(first.errorCode, 0x0102);
    EXPECT_EQ(first.printingState, 3);
    EXPECT_EQ(first.identity, (std::array<uint8_t, 6>{'A', 'B', '#', '1', '2', '3'}));
    EXPECT_EQ(first.firmware[AreaLayout::ByLetter('p')->Index()],
              sim::ItemFirmware::Of("450D42", 0x3AC3));
    EXPECT_EQ(first.firmware[AreaLayout::ByLetter('s')->Index()],
              sim::ItemFirmware::Of("454F11", 0xA789));
    EXPECT_EQ(first.firmware[AreaLayout::ByLetter('t')->Index()],
              sim::ItemFirmware::Of("452C11", 0xBEB3))
        << "items not named keep the older firmware";
    EXPECT_FALSE(first.controlOpenFails);
    EXPECT_FALSE(first.pipe00OpenFails);
    EXPECT_TRUE(first.pipe01OpenFails);
    ASSERT_EQ(first.writeFaults.size(), 3u);
    EXPECT_FALSE(first.writeFaults[0].image);
    EXPECT_EQ(first.writeFaults[0].command, CommandKind::StartWrite);
    EXPECT_EQ(first.writeFaults[0].area, AreaLayout::ByLetter('t'));
    EXPECT_EQ(first.writeFaults[0].occurrence, 2u);
    EXPECT_EQ(first.writeFaults[0].action, sim::WriteFault::Action::Fail);
    EXPECT_TRUE(first.writeFaults[1].image);
    EXPECT_EQ(first.writeFaults[1].area, nullptr);
    EXPECT_EQ(first.writeFaults[1].acceptedBytes, 500u);
    EXPECT_EQ(first.writeFaults[1].occurrence, 3u);
    EXPECT_EQ(first.writeFaults[1].action, sim::WriteFault::Action::TakeShort);
    EXPECT_EQ(first.writeFaults[2].command, CommandKind::VersionInquiry);
    EXPECT_EQ(first.writeFaults[2].occurrence, 2u);
    EXPECT_EQ(first.writeFaults[2].action, sim::WriteFault::Action::Unplug);
    ASSERT_EQ(first.replyFaults.size(), 2u);
    EXPECT_EQ(first.replyFaults[0].inquiry, CommandKind::VersionInquiry);
    EXPECT_EQ(first.replyFaults[0].missingBytes, 18u);
    EXPECT_EQ(first.replyFaults[0].occurrence, 0u);
    EXPECT_EQ(first.replyFaults[1].inquiry, CommandKind::StatusInquiry);
    EXPECT_EQ(first.replyFaults[1].header, (std::array<uint8_t, 4>{0xE4, 0x47, 0x44, 0x31}));
    EXPECT_EQ(first.replyFaults[1].occurrence, 2u);
    EXPECT_EQ(first.silentAfterReplies, 4u);
    EXPECT_EQ(first.linkBytesPerSecond, 20000u);
    EXPECT_EQ(first.unplugAfterImageBytes, 100000u);
    ASSERT_EQ(first.reportOverrides.size(), 1u);
    EXPECT_EQ(first.reportOverrides[0].area, AreaLayout::ByLetter('t'));
    EXPECT_FALSE(first.reportOverrides[0].version.has_value());
    EXPECT_EQ(first.reportOverrides[0].checksum, 0xBEB0);
    EXPECT_EQ(first.restartHeldUntil, "/run/test/release");
    EXPECT_TRUE(config.NeedsWriteControl());

    const sim::PrinterConfig& second = config.printers[1];
    EXPECT_TRUE(second.restartHeldUntil.empty());
    EXPECT_EQ(second.vendorId, 0x1234);
    EXPECT_EQ(second.productId, 0x5D36);
    EXPECT_EQ(second.identity, (std::array<uint8_t, 6>{'A', 'B', 0, 'C', 'D', 'E'}));
    EXPECT_FALSE(second.NeedsWriteControl());
}

TEST(ConfigParser, PrintersWithoutIdentitiesAreNumbered) {
    SimConfig config;
    ConfigError error;
    ASSERT_TRUE(ConfigParser::Parse("printer\nprinter\nprinter\n", config, error));
    ASSERT_EQ(config.printers.size(), 3u);
    EXPECT_EQ(config.printers[0].identity, (std::array<uint8_t, 6>{'T', '9', '0', '0', '0', '1'}));
    EXPECT_EQ(config.printers[2].identity, (std::array<uint8_t, 6>{'T', '9', '0', '0', '0', '3'}));
}

TEST(ConfigParser, AnEmptyConfigurationHasNoPrinters) {
    SimConfig config;
    ConfigError error;
    ASSERT_TRUE(ConfigParser::Parse("# nothing attached\n\n", config, error));
    EXPECT_TRUE(config.printers.empty());
    EXPECT_EQ(config.timeLimitMs, 5000u);
    EXPECT_FALSE(config.NeedsWriteControl());
}

struct MalformedCase {
    const char* name;
    std::string text;
    uint32_t line;
    std::string field;
    std::string message;
};

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class ConfigParserMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(ConfigParserMalformed, NamesTheLineAndTheField) {
    SimConfig config;
    ConfigError error;
    ASSERT_FALSE(ConfigParser::Parse(GetParam().text, config, error));
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_EQ(error.field, GetParam().field);
    EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
    EXPECT_EQ(error.Describe().rfind("line " + std::to_string(GetParam().line) + ", field \"" +
                                         GetParam().field + "\": ",
                                     0),
              0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConfigParserMalformed,
    ::testing::Values(
        MalformedCase{"UnknownGlobal", "colour red\n", 1, "colour", "unknown key before"},
        MalformedCase{"UnknownPrinterKey", "printer\nspeed 3\n", 2, "speed", "unknown printer key"},
        MalformedCase{"VendorIdTooShort", "vendor-id 2E9\n", 1, "vendor-id",
                      "expected 4 hexadecimal digits, found \"2E9\""},
        MalformedCase{"ErrorCodeTooLarge", "printer\n\nerror-code 65536\n", 3, "error-code",
                      "expected a number from 0 to 65535"},
        MalformedCase{"PrintingStateNotANumber", "printer\nprinting-state busy\n", 2,
                      "printing-state", "found \"busy\""},
        MalformedCase{"ModelCodeNotHex", "printer\nmodel-code 5G\n", 2, "model-code",
                      "hexadecimal"},
        MalformedCase{"IdentityTooLong", "printer\nidentity T900001\n", 2, "identity",
                      "expected 6 characters"},
        MalformedCase{"IdentityHexBadByte", "printer\nidentity-hex 41 42 4Z 43 44 45\n", 2,
                      "identity-hex", "\"4Z\" is not a hexadecimal byte"},
        MalformedCase{"FirmwareUnknownItem", "printer\nfirmware DATA5 450D42 3AC3\n", 2, "firmware",
                      "expected an area letter"},
        MalformedCase{"FirmwareChecksumTooLong", "printer\nfirmware p 450D42 3AC30\n", 2,
                      "firmware", "expected 4 hexadecimal digits"},
        MalformedCase{"FirmwareMissingChecksum", "printer\nfirmware p 450D42\n", 2, "firmware",
                      "expected 3 values, found 2"},
        MalformedCase{"OpenFailsUnknownHandle", "printer\nopen-fails pipe02\n", 2, "open-fails",
                      "expected cont, pipe00 or pipe01"},
        MalformedCase{"OpenFailsOccurrenceZero", "printer\nopen-fails pipe01 0\n", 2, "open-fails",
                      "counts from 1"},
        MalformedCase{"WriteFailsUnknownWrite", "printer\nwrite-fails flush\n", 2, "write-fails",
                      "unknown write \"flush\""},
        MalformedCase{"WriteFailsAreaOfRestart", "printer\nwrite-fails restart:p\n", 2,
                      "write-fails", "names no area"},
        MalformedCase{"WriteFailsOccurrenceZero", "printer\nwrite-fails image 0\n", 2,
                      "write-fails", "counts from 1"},
        MalformedCase{"WriteShortWithoutCount", "printer\nwrite-short start-write\n", 2,
                      "write-short", "expected 2 to 3 values, found 1"},
        MalformedCase{"ReplyShortUnknownInquiry", "printer\nreply-short versions 18\n", 2,
                      "reply-short", "expected status, identity or version"},
        MalformedCase{"ReplyHeaderTooShort", "printer\nreply-header version E44744\n", 2,
                      "reply-header", "expected 8 hexadecimal digits"},
        MalformedCase{"LinkRateZero", "printer\nlink-rate 0\n", 2, "link-rate", "at least 1"},
        MalformedCase{"TimeLimitZero", "time-limit-ms 0\n", 1, "time-limit-ms", "at least 1"},
        MalformedCase{"RefuseNotYesNo", "refuse-vendor-id maybe\n", 1, "refuse-vendor-id",
                      "expected yes or no"},
        MalformedCase{"PrinterWithValue", "printer 2\n", 1, "printer", "expected 0 values"},
        MalformedCase{"ReportVersionTooShort", "printer\nreport-after-write p 450D4 -\n", 2,
                      "report-after-write", "expected 6 characters"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

}  // namespace
