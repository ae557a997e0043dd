#include "sim/CommandSet.h"

#include <gtest/gtest.h>

#include "tests/sim/Protocol.h"

namespace {

using sim::CommandKind;
using sim::CommandSet;
using namespace simtest;

struct ClassifyCase {
    const char* name;
    std::vector<uint8_t> bytes;
    CommandKind kind;
    char area;
};

void PrintTo(const ClassifyCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandClassification : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(CommandClassification, RecognisesOnlyTheExactCommands) {
    const sim::Command command = CommandSet::Classify(GetParam().bytes);
    EXPECT_EQ(command.kind, GetParam().kind);
    EXPECT_EQ(command.area == nullptr ? '-' : command.area->letter, GetParam().area);
}

std::vector<uint8_t> Changed(std::vector<uint8_t> bytes, size_t index, uint8_t value) {
    bytes[index] = value;
    return bytes;
}

std::vector<uint8_t> Resized(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandClassification,
    ::testing::Values(
        ClassifyCase{"DownloadMode", kDownloadMode, CommandKind::DownloadMode, '-'},
        ClassifyCase{"Restart", kRestart, CommandKind::Restart, '-'},
        ClassifyCase{"VersionInquiry", kVersionInquiry, CommandKind::VersionInquiry, '-'},
        ClassifyCase{"StatusInquiry", kStatusInquiry, CommandKind::StatusInquiry, '-'},
        ClassifyCase{"IdentityRead", kIdentityRead, CommandKind::IdentityRead, '-'},
        ClassifyCase{"PrepareP", PrepareArea('p'), CommandKind::PrepareArea, 'p'},
        ClassifyCase{"PrepareC", PrepareArea('c'), CommandKind::PrepareArea, 'c'},
        ClassifyCase{"StartWriteF", StartWrite('f'), CommandKind::StartWrite, 'f'},
        ClassifyCase{"StartWriteS", StartWrite('s'), CommandKind::StartWrite, 's'},
        ClassifyCase{"PrepareUnknownArea", PrepareArea('x'), CommandKind::Unknown, '-'},
        ClassifyCase{"StartWriteShort", Resized(StartWrite('t'), 500), CommandKind::Unknown, '-'},
        ClassifyCase{"StartWritePaddingNotZero", Changed(StartWrite('t'), 300, 1),
                     CommandKind::Unknown, '-'},
        ClassifyCase{"RestartLonger", Resized(kRestart, 5), CommandKind::Unknown, '-'},
        ClassifyCase{"VersionInquiryOtherItem", Changed(kVersionInquiry, 10, 0x14),
                     CommandKind::Unknown, '-'},
        ClassifyCase{"IdentityReadOtherSelector", Changed(kIdentityRead, 4, 0x42),
                     CommandKind::Unknown, '-'}),
    [](const ::testing::TestParamInfo<ClassifyCase>& info) { return info.param.name; });

TEST(CommandSet, StatusReplyCarriesModelErrorAndPrintingState) {
    const std::vector<uint8_t> reply = CommandSet::StatusReply(0x5F, 0x0102, 0x03);
    ASSERT_EQ(reply.size(), 18u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 4),
              (std::vector<uint8_t>{0xE4, 0x47, 0x44, 0x30}));
    EXPECT_EQ(reply[4], 0x5F);
    EXPECT_EQ(reply[5], 0x01);
    EXPECT_EQ(reply[6], 0x02);
    EXPECT_EQ(reply[16], 0x03);
}

TEST(CommandSet, IdentityReplyCarriesAnyBytesAtTheEnd) {
    const std::vector<uint8_t> reply =
        CommandSet::IdentityReply({0x41, 0x42, 0x00, 0x43, 0x44, 0xFF});
    ASSERT_EQ(reply.size(), 28u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 22, reply.end()),
              (std::vector<uint8_t>{0x41, 0x42, 0x00, 0x43, 0x44, 0xFF}));
}

TEST(CommandSet, VersionReplyHasOneRecordPerItemWithBigEndianChecksums) {
    const std::vector<uint8_t> reply = CommandSet::VersionReply(
        {sim::ItemFirmware::Of("450D42", 0x3AC3), sim::ItemFirmware::Of("452C11", 0xBEB3),
         sim::ItemFirmware::Of("453A10", 0x0000), sim::ItemFirmware::Of("454F11", 0xA789)});
    ASSERT_EQ(reply.size(), 36u);
    const std::vector<uint8_t> expected{0xE4, 0x47, 0x44, 0x30, '4', '5', '0', 'D',  '4',
                                        '2',  0x3A, 0xC3, '4',  '5', '2', 'C', '1',  '1',
                                        0xBE, 0xB3, '4',  '5',  '3', 'A', '1', '0',  0x00,
                                        0x00, '4',  '5',  '4',  'F', '1', '1', 0xA7, 0x89};
    EXPECT_EQ(reply, expected);
}

}  // namespace
