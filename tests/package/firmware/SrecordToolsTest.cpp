// The srecord package's tools as a second, independent reader of the generated images.
// Skipped where the package is not installed.
#include <gtest/gtest.h>

#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/package/firmware/ImageFacts.h"
#include "tests/package/firmware/ShellCommand.h"

namespace {

class SrecordToolsTest : public testing::TestWithParam<ImageFacts> {
protected:
    void SetUp() override {
        if (std::string(RXT9_SREC_INFO).empty() || std::string(RXT9_SREC_CAT).empty()) {
            GTEST_SKIP() << "srec_info and srec_cat are not installed (Debian package srecord)";
        }
    }
};

// srec_info fails on a wrong record checksum and warns about anything it cannot read; it
// lists the header text, the start address and the runs of addresses it found.
TEST_P(SrecordToolsTest, SrecInfoReadsTheWholeImageWithoutComplaint) {
    const std::string output = TemporaryPath("info.txt");
    ASSERT_TRUE(RunCommand({RXT9_SREC_INFO, GetParam().path}, output))
        << ReadWholeFile(output + ".err");
    EXPECT_EQ(ReadWholeFile(output + ".err"), "");

    const std::string info = ReadWholeFile(output);
    const bool hasHeaderText = GetParam().s0Line.size() > 10;
    EXPECT_EQ(info.find("Header: \"HDR\"") != std::string::npos, hasHeaderText) << info;
    EXPECT_NE(info.find("Execution Start Address: " + GetParam().s7Line.substr(4, 8)),
              std::string::npos)
        << info;

    std::vector<SRecordFile::Range> runs;
    const std::regex range("([0-9A-F]+) - ([0-9A-F]+)");
    for (auto match = std::sregex_iterator(info.begin(), info.end(), range);
         match != std::sregex_iterator(); ++match) {
        runs.push_back({static_cast<uint32_t>(std::stoul((*match)[1], nullptr, 16)),
                        static_cast<uint32_t>(std::stoul((*match)[2], nullptr, 16))});
    }
    EXPECT_EQ(runs, GetParam().runs) << info;
}

TEST_P(SrecordToolsTest, SrecCatFilledAreaHasTheManifestChecksum) {
    const std::string output = TemporaryPath("area.bin");
    const auto address = [](uint32_t value) {
        std::ostringstream text;
        text << "0x" << std::uppercase << std::hex << std::setw(8) << std::setfill('0') << value;
        return text.str();
    };
    const std::string first = address(GetParam().area.first);
    const std::string end = address(GetParam().area.last + 1);
    ASSERT_TRUE(RunCommand({RXT9_SREC_CAT, GetParam().path, "-fill", "0xFF", first, end, "-crop",
                            first, end, "-offset", std::string("-") + first, "-o", "-", "-binary"},
                           output))
        << ReadWholeFile(output + ".err");
    const std::string area = ReadWholeFile(output);
    ASSERT_EQ(area.size(), GetParam().area.last - GetParam().area.first + 1);
    EXPECT_EQ(ChecksumText(LittleEndianWordSum({area.begin(), area.end()})), GetParam().checksum);
}

INSTANTIATE_TEST_SUITE_P(PackageImages, SrecordToolsTest, testing::ValuesIn(PackageImages()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
