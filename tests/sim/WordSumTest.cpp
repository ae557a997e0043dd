#include "sim/WordSum.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <vector>

namespace {

using sim::WordSum;

struct SumCase {
    std::vector<uint8_t> bytes;
    uint16_t sum;
};

void PrintTo(const SumCase& c, std::ostream* out) {
    std::ostringstream text;
    text << std::hex << std::uppercase << std::setfill('0') << '{';
    for (size_t i = 0; i < c.bytes.size(); ++i) {
        text << (i == 0 ? "" : " ") << std::setw(2) << static_cast<int>(c.bytes[i]);
    }
    text << "} sums to " << std::setw(4) << c.sum;
    *out << text.str();
}

class WordSumValues : public ::testing::TestWithParam<SumCase> {};

TEST_P(WordSumValues, SumsLittleEndianWordsModulo65536) {
    EXPECT_EQ(WordSum::Of(GetParam().bytes), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(Cases, WordSumValues,
                         ::testing::Values(SumCase{{}, 0x0000}, SumCase{{0x34, 0x12}, 0x1234},
                                           SumCase{{0x01, 0x00, 0x02, 0x00}, 0x0003},
                                           SumCase{{0xFF, 0xFF, 0x02, 0x00}, 0x0001},
                                           SumCase{{0x00, 0x80, 0x00, 0x80}, 0x0000},
                                           SumCase{{0x10, 0x20, 0x05}, 0x2015}));

TEST(WordSum, ErasedAreasSumToZero) {
    // 2 MiB and 256 KiB of FF: a multiple of 65536 words of FFFF.
    EXPECT_EQ(WordSum::Of(std::vector<uint8_t>(2 * 1024 * 1024, 0xFF)), 0x0000);
    EXPECT_EQ(WordSum::Of(std::vector<uint8_t>(256 * 1024, 0xFF)), 0x0000);
    // One word short of that: minus FFFF, which is plus one.
    EXPECT_EQ(WordSum::Of(std::vector<uint8_t>(256 * 1024 - 2, 0xFF)), 0x0001);
}

TEST(WordSum, ChunksSplitInsideAWordGiveTheSameSum) {
    std::vector<uint8_t> bytes(200003);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>((i * 31 + 7) ^ (i >> 8));
    }
    const uint16_t whole = WordSum::Of(bytes);
    unsigned reference = 0;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        reference += bytes[i] + (i + 1 < bytes.size() ? 256u * bytes[i + 1] : 0u);
    }
    EXPECT_EQ(whole, static_cast<uint16_t>(reference));
    for (size_t chunk : {1u, 3u, 4095u, 70001u}) {
        WordSum sum;
        for (size_t offset = 0; offset < bytes.size(); offset += chunk) {
            sum.Add(std::span(bytes).subspan(offset, std::min(chunk, bytes.size() - offset)));
        }
        EXPECT_EQ(sum.Value(), whole) << "chunk " << chunk;
    }
}

}  // namespace
