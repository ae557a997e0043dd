#include "sim/SimulatedPrinter.h"

#include <gtest/gtest.h>

#include "sim/ConfigParser.h"
#include "tests/sim/ImageBuilder.h"
#include "tests/sim/Protocol.h"

namespace {

using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;
using sim::SimulatedPrinter;
using namespace simtest;

sim::PrinterConfig PrinterFrom(const std::string& lines) {
    sim::SimConfig config;
    sim::ConfigError error;
    EXPECT_TRUE(sim::ConfigParser::Parse("printer\n" + lines, config, error)) << error.Describe();
    return config.printers.at(0);
}

std::string ImageFor(char letter, size_t codeBytes) {
    const sim::AreaLayout& area = *sim::AreaLayout::ByLetter(letter);
    ImageBuilder image(area);
    image.Header("").Data(area.first + 16, std::vector<uint8_t>(codeBytes, 0x3C));
    return image.Version("450000").End().Text();
}

// The host's writes of a download of the given areas, in the tool's order.
std::vector<std::vector<uint8_t>> DownloadWrites(const std::string& areas, size_t codeBytes) {
    std::vector<std::vector<uint8_t>> writes{kDownloadMode, kVersionInquiry};
    for (char letter : areas) {
        writes.push_back(PrepareArea(letter));
        writes.push_back(StartWrite(letter));
        for (std::vector<uint8_t>& block : ImageBlocks(ImageFor(letter, codeBytes))) {
            writes.push_back(std::move(block));
        }
    }
    writes.push_back(kVersionInquiry);
    writes.push_back(kRestart);
    return writes;
}

struct WriteFaultCase {
    const char* name;
    std::string config;
    std::string areas;
    // Index of each write that does not go through whole, with what happens to it.
    std::vector<std::pair<size_t, Outcome>> struck;
};

void PrintTo(const WriteFaultCase& c, std::ostream* out) {
    *out << c.name;
}

class SimulatedPrinterWriteFaults : public ::testing::TestWithParam<WriteFaultCase> {};

TEST_P(SimulatedPrinterWriteFaults, StrikeExactlyTheConfiguredWrites) {
    SimulatedPrinter printer(PrinterFrom(GetParam().config));
    const std::vector<std::vector<uint8_t>> writes = DownloadWrites(GetParam().areas, 3500);
    std::vector<std::pair<size_t, Outcome>> struck;
    for (size_t i = 0; i < writes.size(); ++i) {
        const SimulatedPrinter::WriteResult result = printer.OnHostWrite(writes[i], 0);
        if (result.outcome != Outcome::Taken) {
            struck.emplace_back(i, result.outcome);
        }
        EXPECT_EQ(result.taken, result.outcome == Outcome::TakenShort ? 500u
                                : result.outcome == Outcome::Taken    ? writes[i].size()
                                                                      : 0u);
    }
    EXPECT_EQ(struck, GetParam().struck);
}

// Writes of DownloadWrites("ps", 3500): 0 download-mode, 1 version-inquiry, 2 prepare p,
// 3 start-write p, 4-6 the blocks of p, 7 prepare s, 8 start-write s, 9-11 the blocks of s,
// 12 version-inquiry, 13 restart.
INSTANTIATE_TEST_SUITE_P(
    Faults, SimulatedPrinterWriteFaults,
    ::testing::Values(
        WriteFaultCase{
            "FirstStartWriteOfS", "write-fails start-write:s 1", "ps", {{8, Outcome::Failed}}},
        WriteFaultCase{"EveryStartWrite",
                       "write-fails start-write",
                       "ps",
                       {{3, Outcome::Failed}, {8, Outcome::Failed}}},
        WriteFaultCase{"SecondPrepare", "write-fails prepare 2", "ps", {{7, Outcome::Failed}}},
        WriteFaultCase{"StartWriteTakenShort",
                       "write-short start-write 500 2",
                       "ps",
                       {{8, Outcome::TakenShort}}},
        WriteFaultCase{"ThirdImageBlock", "write-fails image 3", "ps", {{6, Outcome::Failed}}},
        WriteFaultCase{"SecondBlockOfS",
                       "write-short image:DATA4(M) 500 2",
                       "ps",
                       {{10, Outcome::TakenShort}}},
        WriteFaultCase{"Restart", "write-fails restart", "ps", {{13, Outcome::Failed}}},
        WriteFaultCase{"DownloadMode", "write-fails download-mode", "p", {{0, Outcome::Failed}}},
        WriteFaultCase{
            "SecondVersionInquiry", "write-fails version-inquiry 2", "p", {{7, Outcome::Failed}}}),
    [](const ::testing::TestParamInfo<WriteFaultCase>& info) { return info.param.name; });

TEST(SimulatedPrinter, AWriteTakenShortReachesThePrinterCut) {
    SimulatedPrinter printer(PrinterFrom("write-short start-write 500"));
    printer.OnHostWrite(kDownloadMode, 0);
    printer.OnHostWrite(PrepareArea('p'), 0);
    printer.OnHostWrite(StartWrite('p'), 0);
    EXPECT_EQ(printer.Device().Log().Lines().back(),
              "unknown 500 bytes: 1B 66 73 70 00 00 00 00 ...");
}

TEST(SimulatedPrinter, ReplyFaultsChangeTheChosenReplies) {
    SimulatedPrinter printer(PrinterFrom(
        "reply-short version 18 2\nreply-header status E4474431\nreply-short identity 30"));
    std::vector<size_t> versionSizes;
    for (int i = 0; i < 3; ++i) {
        printer.OnHostWrite(kVersionInquiry, 0);
        versionSizes.push_back(printer.TakeReply()->bytes.size());
    }
    EXPECT_EQ(versionSizes, (std::vector<size_t>{36, 18, 36}));
    printer.OnHostWrite(kStatusInquiry, 0);
    const std::vector<uint8_t> status = printer.TakeReply()->bytes;
    EXPECT_EQ(std::vector<uint8_t>(status.begin(), status.begin() + 4),
              (std::vector<uint8_t>{0xE4, 0x47, 0x44, 0x31}));
    EXPECT_EQ(status.size(), 18u);
    printer.OnHostWrite(kIdentityRead, 0);
    EXPECT_TRUE(printer.TakeReply()->bytes.empty());
}

TEST(SimulatedPrinter, StopsAnsweringAfterTheConfiguredReplies) {
    SimulatedPrinter printer(PrinterFrom("silent-after 2"));
    std::vector<bool> answered;
    for (const auto& inquiry : {kStatusInquiry, kIdentityRead, kVersionInquiry, kStatusInquiry}) {
        EXPECT_EQ(printer.OnHostWrite(inquiry, 0).outcome, Outcome::Taken);
        answered.push_back(printer.TakeReply().has_value());
    }
    EXPECT_EQ(answered, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(printer.Device().Log().Lines().size(), 4u) << "it still receives";
}

TEST(SimulatedPrinter, SlowLinkChargesEveryByteWithoutRoundingLoss) {
    SimulatedPrinter printer(PrinterFrom("link-rate 3"));
    const std::vector<uint8_t> stray{'x'};
    const uint32_t first = printer.OnHostWrite(stray, 0).linkMilliseconds;
    const uint32_t second = printer.OnHostWrite(stray, 0).linkMilliseconds;
    const uint32_t third = printer.OnHostWrite(stray, 0).linkMilliseconds;
    EXPECT_EQ((std::vector<uint32_t>{first, second, third}),
              (std::vector<uint32_t>{333, 333, 334}));

    SimulatedPrinter fast(PrinterFrom("link-rate 4096"));
    EXPECT_EQ(fast.OnHostWrite(StartWrite('p'), 0).linkMilliseconds, 125u);
    fast.OnHostWrite(kVersionInquiry, 0);
    // 559 bytes in all take 136 ms, of which 127 went to the first 523.
    EXPECT_EQ(fast.TakeReply()->linkMilliseconds, 9u);
}

TEST(SimulatedPrinter, AWriteThatWouldOutlastTheTimeLimitTimesOutUntaken) {
    SimulatedPrinter printer(PrinterFrom("link-rate 1000"));
    const SimulatedPrinter::WriteResult result = printer.OnHostWrite(StartWrite('p'), 100);
    EXPECT_EQ(result.outcome, Outcome::TimedOut);
    EXPECT_EQ(result.linkMilliseconds, 100u);
    EXPECT_TRUE(printer.Device().Log().Lines().empty());
    EXPECT_EQ(printer.OnHostWrite(kRestart, 100).outcome, Outcome::Taken);
}

TEST(SimulatedPrinter, UnplugsAfterTheConfiguredImageBytes) {
    struct Case {
        uint64_t unplugAt;
        // Outcomes of the first image blocks; every later write finds the printer gone.
        std::vector<Outcome> blocks;
        std::string data;
    };
    const Case cases[] = {
        {0, {Outcome::Failed}, "0 bytes in 0 transfers"},
        {4096, {Outcome::Taken}, "4096 bytes in 1 transfer"},
        {5000, {Outcome::Taken, Outcome::Failed}, "5000 bytes in 2 transfers"},
    };
    for (const Case& c : cases) {
        SimulatedPrinter printer(PrinterFrom("unplug-after " + std::to_string(c.unplugAt)));
        std::vector<Outcome> outcomes;
        for (const std::vector<uint8_t>& write : DownloadWrites("p", 20000)) {
            outcomes.push_back(printer.OnHostWrite(write, 0).outcome);
        }
        // download-mode, version-inquiry, prepare and start-write go through.
        std::vector<Outcome> expected(4, Outcome::Taken);
        expected.insert(expected.end(), c.blocks.begin(), c.blocks.end());
        expected.resize(outcomes.size(), Outcome::Gone);
        EXPECT_EQ(outcomes, expected) << c.unplugAt;
        EXPECT_FALSE(printer.IsAttached());
        EXPECT_FALSE(printer.Device().InDownloadMode());
        EXPECT_EQ(printer.Device().Log().Lines().back(),
                  "data p: " + c.data + ", stopped before the S7 record");
    }
}

TEST(SimulatedPrinter, UnplugsAsTheConfiguredWriteArrives) {
    struct Case {
        std::string write;
        size_t failedAt;  // index of the write in a download of one small DATA1(M)
    };
    const Case cases[] = {
        {"download-mode", 0},
        {"version-inquiry", 1},
        {"prepare:p", 2},
        {"image 2", 5},
    };
    for (const Case& c : cases) {
        SimulatedPrinter printer(PrinterFrom("unplug-at " + c.write));
        std::vector<Outcome> outcomes;
        for (const std::vector<uint8_t>& write : DownloadWrites("p", 20000)) {
            outcomes.push_back(printer.OnHostWrite(write, 0).outcome);
        }
        std::vector<Outcome> expected(c.failedAt, Outcome::Taken);
        expected.push_back(Outcome::Failed);
        expected.resize(outcomes.size(), Outcome::Gone);
        EXPECT_EQ(outcomes, expected) << c.write;
        EXPECT_FALSE(printer.IsAttached()) << c.write;
        EXPECT_FALSE(printer.TakeReply().has_value()) << "no reply outlives the plug";
        EXPECT_FALSE(printer.Device().InDownloadMode()) << c.write;
    }
}

}  // namespace
