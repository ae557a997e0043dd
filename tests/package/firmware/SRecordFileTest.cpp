// The reader that the image checks rely on must refuse what a printer would refuse.
#include <gtest/gtest.h>

#include "tests/package/firmware/SRecordFile.h"

namespace {

TEST(SRecordFileTest, DecodesRecordsLinesAndRuns) {
    SRecordFile file;
    std::string error;
    ASSERT_TRUE(
        file.Parse("S0030000FC\r\nS30700001000AA55E9\r\nS30600001002FFE8\r\n"
                   "S30600002000AA2F\r\nS70500000000FA",
                   error))
        << error;
    ASSERT_EQ(file.Records().size(), 5u);
    EXPECT_EQ(file.Records()[1].address, 0x1000u);
    EXPECT_EQ(file.Records()[1].data, (std::vector<uint8_t>{0xAA, 0x55}));
    EXPECT_TRUE(file.Lines()[3].endsWithCrLf);
    EXPECT_FALSE(file.Lines()[4].endsWithCrLf);
    EXPECT_EQ(file.DataRuns(),
              (std::vector<SRecordFile::Range>{{0x1000, 0x1002}, {0x2000, 0x2000}}));
    EXPECT_EQ(file.AreaBytes({0x0FFF, 0x1003}),
              (std::vector<uint8_t>{0xFF, 0xAA, 0x55, 0xFF, 0xFF}));
}

struct BadText {
    const char* what;
    const char* text;
};

void PrintTo(const BadText& c, std::ostream* out) {
    *out << c.what;
}

class SRecordFileRejectsTest : public testing::TestWithParam<BadText> {};

TEST_P(SRecordFileRejectsTest, Refuses) {
    SRecordFile file;
    std::string error;
    EXPECT_FALSE(file.Parse(GetParam().text, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(BadTexts, SRecordFileRejectsTest,
                         testing::Values(BadText{"LowerCaseHex", "S0030000fc\r\n"},
                                         BadText{"WrongChecksum", "S0030000FD\r\n"},
                                         BadText{"CountLongerThanLine", "S0040000FC\r\n"},
                                         BadText{"CountShorterThanAddress", "S3030000FC\r\n"},
                                         BadText{"LoneLineFeed", "S0030000FC\nS70500000000FA"},
                                         BadText{"LoneCarriageReturn",
                                                 "S0030000FC\rS70500000000FA"},
                                         BadText{"ReservedTypeS4", "S4030000FC\r\n"},
                                         BadText{"NotARecord", "X0030000FC\r\n"},
                                         BadText{"OddDigitCount", "S0030000FC0\r\n"},
                                         BadText{"EmptyLine", "S0030000FC\r\n\r\n"}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
