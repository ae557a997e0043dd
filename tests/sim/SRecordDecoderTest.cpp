#include "sim/SRecordDecoder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "tests/sim/ImageBuilder.h"

namespace {

using sim::SRecordDecoder;
using simtest::Bytes;
using simtest::ImageBuilder;

// Records every data record, refusing those that start at or above `limit`.
class RecordingSink final : public sim::SRecordSink {
public:
    explicit RecordingSink(uint32_t limit = 0xFFFFFFFF) : m_limit(limit) {}
    bool OnData(uint32_t address, std::span<const uint8_t> data) override {
        if (address >= m_limit) {
            return false;
        }
        for (size_t i = 0; i < data.size(); ++i) {
            bytes[address + static_cast<uint32_t>(i)] = data[i];
        }
        return true;
    }
    std::map<uint32_t, uint8_t> bytes;

private:
    uint32_t m_limit;
};

const sim::AreaLayout& AreaS() {
    return *sim::AreaLayout::ByLetter('s');
}

TEST(SRecordDecoder, LoadsDataRecordsAndStopsAfterTheEndRecord) {
    ImageBuilder image(AreaS());
    image.Header("HDR").Data(0x002C0000, "\x5A\xA5\xA5\x5A").Data(0x002C0100, "ABC").End();
    const std::string text = image.Text() + std::string(40, '\0');
    RecordingSink sink;
    SRecordDecoder decoder(sink);

    const size_t taken = decoder.Feed(Bytes(text));

    EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Finished);
    // The S7 record ends the text: its line end and the padding are not taken.
    EXPECT_EQ(taken, image.Text().size() - 2);
    EXPECT_EQ(decoder.DataRecords(), 2u);
    const std::map<uint32_t, uint8_t> expected{
        {0x002C0000, 0x5A}, {0x002C0001, 0xA5}, {0x002C0002, 0xA5}, {0x002C0003, 0x5A},
        {0x002C0100, 'A'},  {0x002C0101, 'B'},  {0x002C0102, 'C'}};
    EXPECT_EQ(sink.bytes, expected);
}

TEST(SRecordDecoder, ChunkingDoesNotChangeTheResult) {
    ImageBuilder image(AreaS());
    std::vector<uint8_t> payload(300);
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<uint8_t>(i * 7);
    }
    image.Header("").Data(0x002C0000, payload, 29).End();
    const std::string text = image.Text();
    RecordingSink whole;
    SRecordDecoder wholeDecoder(whole);
    wholeDecoder.Feed(Bytes(text));

    for (size_t chunk : {1u, 2u, 3u, 45u, 4096u}) {
        RecordingSink pieces;
        SRecordDecoder decoder(pieces);
        for (size_t offset = 0; offset < text.size(); offset += chunk) {
            decoder.Feed(Bytes(std::string_view(text).substr(offset, chunk)));
        }
        EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Finished) << "chunk " << chunk;
        EXPECT_EQ(pieces.bytes, whole.bytes) << "chunk " << chunk;
    }
}

TEST(SRecordDecoder, AcceptsLowerCaseDigitsAndBareLineFeeds) {
    ImageBuilder image(AreaS());
    image.Data(0x002C0000, "\xAB\xCD").End();
    std::string text = image.Text("\n");
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == 's') {
            c = 'S';
        }
    }
    RecordingSink sink;
    SRecordDecoder decoder(sink);
    decoder.Feed(Bytes(text));
    EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Finished);
    EXPECT_EQ(sink.bytes.at(0x002C0001), 0xCD);
}

struct FaultCase {
    const char* name;
    std::string badLine;
    SRecordDecoder::Fault fault;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class SRecordDecoderFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SRecordDecoderFaults, StopAtTheFaultyLineKeepingEarlierRecords) {
    ImageBuilder image(AreaS());
    image.Header("HDR").Data(0x002C0000, "good").Line(GetParam().badLine);
    image.Data(0x002C0010, "never").End();
    RecordingSink sink(0x00400000);
    SRecordDecoder decoder(sink);

    const std::string text = image.Text();
    const size_t taken = decoder.Feed(Bytes(text));

    EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Failed);
    EXPECT_EQ(decoder.GetFault(), GetParam().fault);
    EXPECT_EQ(decoder.Line(), 3u);
    EXPECT_LT(taken, text.size());
    EXPECT_EQ(sink.bytes.size(), 4u);
    EXPECT_EQ(sink.bytes.count(0x002C0010), 0u);
    // Nothing more is taken once failed.
    EXPECT_EQ(decoder.Feed(Bytes("S70500000000FA")), 0u);
}

std::string WithChecksumChanged(std::string record) {
    record.back() = record.back() == '0' ? '1' : '0';
    return record;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SRecordDecoderFaults,
    ::testing::Values(
        FaultCase{"BadChecksum",
                  WithChecksumChanged(ImageBuilder::Record(3, 0x002C0008, Bytes("abcd"))),
                  SRecordDecoder::Fault::BadChecksum},
        FaultCase{"NotHex", "S3090002C0008616263XX", SRecordDecoder::Fault::BadCharacter},
        FaultCase{"NoRecordStart", "X3090002C000861626364", SRecordDecoder::Fault::BadCharacter},
        FaultCase{"TypeNotDigit", "SZ090002C000861626364", SRecordDecoder::Fault::BadCharacter},
        FaultCase{"S1Record", ImageBuilder::Record(1, 0x1234, Bytes("ab")),
                  SRecordDecoder::Fault::UnsupportedType},
        FaultCase{"S9Record", "S9030000FC", SRecordDecoder::Fault::UnsupportedType},
        FaultCase{"S3WithoutAddress", "S30200FD", SRecordDecoder::Fault::BadLength},
        FaultCase{"S7WithData", ImageBuilder::Record(7, 0, Bytes("x")),
                  SRecordDecoder::Fault::BadLength},
        FaultCase{"CountZero", "S300", SRecordDecoder::Fault::BadLength},
        FaultCase{"RefusedBySink", ImageBuilder::Record(3, 0x00500000, Bytes("out")),
                  SRecordDecoder::Fault::Rejected}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST(SRecordDecoder, DataEndingBeforeTheEndRecordLeavesItReading) {
    ImageBuilder image(AreaS());
    image.Header("").Data(0x002C0000, "partial").End();
    const std::string text = image.Text();
    RecordingSink sink;
    SRecordDecoder decoder(sink);
    // Cut in the middle of the S7 record.
    decoder.Feed(Bytes(std::string_view(text).substr(0, text.size() - 6)));
    EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Reading);
    EXPECT_EQ(sink.bytes.size(), 7u);
}

TEST(SRecordDecoder, ZeroPaddingBeforeTheEndRecordEndsTheData) {
    ImageBuilder image(AreaS());
    image.Header("").Data(0x002C0000, "cut short");
    const std::string text = image.Text() + std::string(30, '\0');
    RecordingSink sink;
    SRecordDecoder decoder(sink);
    EXPECT_EQ(decoder.Feed(Bytes(text)), image.Text().size() + 1);
    EXPECT_EQ(decoder.GetState(), SRecordDecoder::State::Ended);
    EXPECT_EQ(decoder.GetFault(), SRecordDecoder::Fault::None);
    EXPECT_EQ(sink.bytes.size(), 9u);
}

TEST(SRecordDecoder, ArbitraryBytesNeverOverrunOrLoop) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string alphabet = "S0379ABCDEF\r\n";
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> input(static_cast<size_t>(byte(random)) * 4);
        const bool textLike = round % 2 == 0;
        for (uint8_t& b : input) {
            b = textLike ? static_cast<uint8_t>(
                               alphabet[static_cast<size_t>(byte(random)) % alphabet.size()])
                         : static_cast<uint8_t>(byte(random));
        }
        RecordingSink sink;
        SRecordDecoder decoder(sink);
        const size_t taken = decoder.Feed(input);
        ASSERT_LE(taken, input.size());
        if (decoder.GetState() == SRecordDecoder::State::Reading) {
            EXPECT_EQ(taken, input.size());
        }
    }
}

}  // namespace
