// Checks each generated firmware image against the rules of the package: the text's size and
// lines, the records and their lengths, the runs of addresses, the version texts and the area
// word sum.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/package/firmware/ImageFacts.h"
#include "tests/package/firmware/SRecordFile.h"

namespace {

struct ParsedImage {
    std::string text;
    SRecordFile file;
    bool parsed;
    std::string error;
};

// Each image is read and parsed once for all the tests.
const ParsedImage& Parsed(const ImageFacts& facts) {
    static std::map<std::string, ParsedImage> cache;
    auto found = cache.find(facts.name);
    if (found == cache.end()) {
        ParsedImage image{ReadWholeFile(facts.path), {}, false, {}};
        image.parsed = image.file.Parse(image.text, image.error);
        found = cache.emplace(facts.name, std::move(image)).first;
    }
    return found->second;
}

class ImageRulesTest : public testing::TestWithParam<ImageFacts> {
protected:
    void SetUp() override {
        ASSERT_TRUE(Parsed(Facts()).parsed) << Facts().path << ": " << Parsed(Facts()).error;
    }
    const ImageFacts& Facts() const { return GetParam(); }
    const std::string& Text() const { return Parsed(Facts()).text; }
    const SRecordFile& File() const { return Parsed(Facts()).file; }
};

TEST_P(ImageRulesTest, TextHasTheImageSize) {
    EXPECT_EQ(Text().size(), Facts().size);
}

TEST_P(ImageRulesTest, EveryLineEndsInCrLfExceptWhereTheImageOmitsTheLast) {
    const auto& lines = File().Lines();
    ASSERT_EQ(lines.size(), Facts().lines);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWithCrLf) << "line " << i + 1;
    }
    EXPECT_EQ(lines.back().endsWithCrLf, Facts().lineBreakAfterLastLine);
}

TEST_P(ImageRulesTest, OneHeaderFirstOneEndRecordLastAndDataRecordsBetween) {
    const auto& lines = File().Lines();
    const auto& records = File().Records();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front().text, Facts().s0Line);
    EXPECT_EQ(lines.back().text, Facts().s7Line);
    size_t dataRecords = 0;
    for (size_t i = 1; i + 1 < records.size(); ++i) {
        ASSERT_EQ(records[i].type, 3) << "line " << i + 1;
        ++dataRecords;
    }
    EXPECT_EQ(dataRecords, Facts().dataRecords);
}

// Every run is cut into records of the image's record length from its first address on, so
// only the last record of a run may be shorter.
TEST_P(ImageRulesTest, DataRecordsAreFullExceptTheLastOfEachRun) {
    const auto& records = File().Records();
    size_t index = 1;
    for (const auto& run : Facts().runs) {
        for (uint64_t address = run.first; address <= run.last; address += Facts().bytesPerRecord) {
            const size_t length =
                std::min<uint64_t>(Facts().bytesPerRecord, run.last - address + 1);
            ASSERT_LT(index, records.size());
            EXPECT_EQ(records[index].address, address) << "line " << index + 1;
            ASSERT_EQ(records[index].data.size(), length) << "line " << index + 1;
            EXPECT_EQ(File().Lines()[index].text.size(), 14 + 2 * length);
            ++index;
        }
    }
    EXPECT_EQ(index, records.size() - 1);
}

TEST_P(ImageRulesTest, DataCoversExactlyTheRunsOfTheImage) {
    const auto runs = File().DataRuns();
    EXPECT_EQ(runs, Facts().runs);
    size_t covered = 0;
    for (const auto& run : runs) {
        EXPECT_GE(run.first, Facts().area.first);
        EXPECT_LE(run.last, Facts().area.last);
        covered += run.last - run.first + 1;
    }
    EXPECT_EQ(covered, Facts().dataBytes);
}

TEST_P(ImageRulesTest, AreaBeginsWithItsFixedBytes) {
    const auto area = File().AreaBytes(Facts().area);
    const std::vector<uint8_t> first(area.begin(), area.begin() + Facts().firstBytes.size());
    EXPECT_EQ(first, Facts().firstBytes);
}

TEST_P(ImageRulesTest, LastSixteenBytesHoldTheVersionThenZeros) {
    const auto area = File().AreaBytes(Facts().area);
    const std::vector<uint8_t> last(area.end() - 16, area.end());
    EXPECT_EQ(last, Facts().lastBytes);
    EXPECT_EQ(std::string(last.begin(), last.begin() + 6), Facts().version);
}

TEST_P(ImageRulesTest, AreaWordSumIsTheManifestChecksum) {
    EXPECT_EQ(ChecksumText(LittleEndianWordSum(File().AreaBytes(Facts().area))), Facts().checksum);
}

INSTANTIATE_TEST_SUITE_P(PackageImages, ImageRulesTest, testing::ValuesIn(PackageImages()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
