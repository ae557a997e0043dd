// Every exchange of a whole Download of the built-in set, with every fault the simulated
// printer offers, and what the user and the printer see each time.
#include <cstdlib>
#include <string>

#include "tests/support/Handles.h"
#include "tests/update/UpdateTest.h"

namespace {

enum class Phase { Startup, Run };

struct FaultCase {
    std::string name;
    std::string config;
    Phase phase;
    std::vector<Box> boxes;
    int restarts;  // restart commands the printer received
};

class FaultMatrixTest : public UpdateTest {
protected:
    void RunCase(const FaultCase& fault) {
        SCOPED_TRACE(fault.name + ": " + fault.config);
        if (fault.config.starts_with("write-short") && !sim.TakesShortWrites()) {
            ++m_cases;  // not played, but still a row of the table whose size is checked
            return;
        }
        // Without the pipe, the restart after a failed write cannot reach the printer.
        const int restarts =
            fault.config.starts_with("write-fails") && !sim.KeepsPipeAfterFailedWrite()
                ? 0
                : fault.restarts;
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        ASSERT_TRUE(sim.Reset("printer\n" + fault.config + "\n"));
        const int handlesBefore = testing_support::CountOpenHandles();
        bool buttonEnabled = false;
        {
            TestUpdateDlg window;
            if (fault.phase == Phase::Run) {
                fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
                fresh.Probe(kAfterFirstRun, [&] {
                    buttonEnabled = window.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled() != FALSE;
                });
            }
            theApp.m_pMainWnd = &window;
            window.DoModal();
            theApp.m_pMainWnd = nullptr;
        }
        EXPECT_EQ(BoxesOf(fresh), fault.boxes);
        EXPECT_EQ(sim.Count("restart"), restarts);
        EXPECT_EQ(buttonEnabled, fault.phase == Phase::Run);
        EXPECT_FALSE(fresh.ForcedQuit());
        EXPECT_EQ(sim.OpenHandles(), 0u);
        EXPECT_EQ(testing_support::CountOpenHandles(), handlesBefore) << "no descriptor left open";
        ++m_cases;
    }

    int m_cases = 0;
};

Box SuffixedBox(unsigned id, unsigned suffix) {
    return ErrorBox(UpdateTest::Error(id, suffix));
}
Box FailedBox() {
    return ErrorBox(UpdateTest::Text(IDS_FAILED));
}

// The commands of a run in order, with the occurrence of each among its kind (the start-up
// check sent the first status inquiry, identity read and version inquiry) and the outcome of
// its loss.
struct Exchange {
    std::string write;  // the write's kind and occurrence, for write-fails and write-short
    std::string reply;  // the reply's kind and occurrence, empty for commands without one
    Phase phase;
    std::vector<Box> lost;  // the boxes when the write or its reply is lost
    int restarts;
};

std::vector<Exchange> Exchanges() {
    const std::vector<Box> startState{SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_RESTART)};
    const std::vector<Box> runState{SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_DOWNLOAD)};
    const std::vector<Box> failed{FailedBox()};
    std::vector<Exchange> exchanges = {
        {"status-inquiry 1", "status 1", Phase::Startup, startState, 0},
        {"identity-read 1", "identity 1", Phase::Startup, startState, 0},
        {"version-inquiry 1",
         "version 1",
         Phase::Startup,
         {SuffixedBox(IDS_VERSION_FAILED, IDS_SUFFIX_RESTART)},
         0},
        {"status-inquiry 2", "status 2", Phase::Run, runState, 0},
        {"identity-read 2", "identity 2", Phase::Run, runState, 0},
        {"download-mode 1", "", Phase::Run, failed, 0},
        {"version-inquiry 2",
         "version 2",
         Phase::Run,
         {SuffixedBox(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD)},
         1},
    };
    for (const char area : {'p', 't', 's'}) {
        exchanges.push_back({std::string("prepare:") + area + " 1", "", Phase::Run, failed, 1});
        exchanges.push_back({std::string("start-write:") + area + " 1", "", Phase::Run, failed, 1});
    }
    exchanges.push_back({"version-inquiry 3",
                         "version 3",
                         Phase::Run,
                         {NoOwnerErrorBox(UpdateTest::Text(IDS_FAILED))},
                         1});
    exchanges.push_back({"restart 1", "", Phase::Run, {FailedBox(), UpdateTest::SuccessBox()}, 0});
    return exchanges;
}

TEST_F(FaultMatrixTest, EveryCommandAndReplyLost) {
    for (const Exchange& exchange : Exchanges()) {
        const auto space = exchange.write.find(' ');
        const std::string kind = exchange.write.substr(0, space);
        const std::string occurrence = exchange.write.substr(space + 1);
        RunCase({exchange.write + " fails", "write-fails " + kind + " " + occurrence,
                 exchange.phase, exchange.lost, exchange.restarts});
        RunCase({exchange.write + " short", "write-short " + kind + " 2 " + occurrence,
                 exchange.phase, exchange.lost, exchange.restarts});
        // The same message, but no restart command reaches a printer that has gone.
        RunCase({exchange.write + " unplugged", "unplug-at " + kind + " " + occurrence,
                 exchange.phase, exchange.lost, 0});
        if (exchange.reply.empty()) {
            continue;
        }
        const auto replySpace = exchange.reply.find(' ');
        const std::string inquiry = exchange.reply.substr(0, replySpace);
        const std::string replyOccurrence = exchange.reply.substr(replySpace + 1);
        RunCase({exchange.reply + " reply short",
                 "reply-short " + inquiry + " 1 " + replyOccurrence, exchange.phase, exchange.lost,
                 exchange.restarts});
        if (inquiry == "identity") {
            // The identity reply has no header to check: the run goes on as usual.
            const bool startup = exchange.phase == Phase::Startup;
            RunCase({exchange.reply + " header wrong",
                     "reply-header identity 00000000 " + replyOccurrence, exchange.phase,
                     startup ? std::vector<Box>{} : std::vector<Box>{UpdateTest::SuccessBox()},
                     startup ? 0 : 1});
        } else {
            RunCase({exchange.reply + " header wrong",
                     "reply-header " + inquiry + " E4474431 " + replyOccurrence, exchange.phase,
                     exchange.lost, exchange.restarts});
        }
    }
    // 15 commands each failed, taken short and unplugged; the 7 of them with a reply also have
    // it cut short and headed wrongly.
    EXPECT_EQ(m_cases, 15 * 3 + 7 * 2);
}

TEST_F(FaultMatrixTest, ThePrinterFallingSilentAtEachReply) {
    // The inquiries in order: the start-up check's three, then the run's status, identity,
    // version in download mode and the version after the transfer.
    const Exchange silent[] = {
        {"", "", Phase::Startup, {SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_RESTART)}, 0},
        {"", "", Phase::Startup, {SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_RESTART)}, 0},
        {"", "", Phase::Startup, {SuffixedBox(IDS_VERSION_FAILED, IDS_SUFFIX_RESTART)}, 0},
        {"", "", Phase::Run, {SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_DOWNLOAD)}, 0},
        {"", "", Phase::Run, {SuffixedBox(IDS_STATE_FAILED, IDS_SUFFIX_DOWNLOAD)}, 0},
        {"", "", Phase::Run, {SuffixedBox(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD)}, 1},
        {"", "", Phase::Run, {NoOwnerErrorBox(UpdateTest::Text(IDS_FAILED))}, 1},
    };
    for (size_t answered = 0; answered < std::size(silent); ++answered) {
        RunCase({"silent after " + std::to_string(answered),
                 "silent-after " + std::to_string(answered), silent[answered].phase,
                 silent[answered].lost, silent[answered].restarts});
    }
    EXPECT_EQ(m_cases, 7);
}

// The blocks of an image that the matrix visits: all of DATA4(M), and of the two large images
// the first and last four and every 50th. Every block costs a Download up to it, and a write
// fault makes the library intercept every write of the run, so all 2355 blocks of the three
// images take about a quarter of an hour: RXT9_FAULT_MATRIX_BLOCKS=all visits every one.
bool EveryBlock() {
    const char* which = std::getenv("RXT9_FAULT_MATRIX_BLOCKS");
    return which != nullptr && std::string(which) == "all";
}

std::vector<int> BlocksToVisit(int blocks) {
    const bool all = EveryBlock();
    std::vector<int> visited;
    for (int block = 1; block <= blocks; ++block) {
        if (all || blocks < 100 || block <= 4 || block > blocks - 4 || block % 50 == 0) {
            visited.push_back(block);
        }
    }
    return visited;
}

struct Image {
    const char* name;
    char area;
    int blocks;
    long bytesBefore;   // image bytes of the areas sent before it
    int visitedBlocks;  // unless every block is visited
};

void PrintTo(const Image& c, std::ostream* out) {
    *out << c.name;
}

class ImageBlockFaultTest : public FaultMatrixTest, public ::testing::WithParamInterface<Image> {};

TEST_P(ImageBlockFaultTest, EveryBlockLostTakenShortOrUnplugged) {
    const Image& image = GetParam();
    const std::vector<Box> failed{FailedBox()};
    for (const int block : BlocksToVisit(image.blocks)) {
        const std::string which = std::string("image:") + image.area + " " + std::to_string(block);
        RunCase({which + " fails", "write-fails " + which, Phase::Run, failed, 1});
        RunCase({which + " short",
                 std::string("write-short image:") + image.area + " 32 " + std::to_string(block),
                 Phase::Run, failed, 1});
        const long unplugAt = image.bytesBefore + static_cast<long>(block - 1) * 4096 + 1;
        RunCase({which + " unplugged", "unplug-after " + std::to_string(unplugAt), Phase::Run,
                 failed, 0});
    }
    EXPECT_EQ(m_cases, 3 * (EveryBlock() ? image.blocks : image.visitedBlocks));
}

INSTANTIATE_TEST_SUITE_P(Images, ImageBlockFaultTest,
                         ::testing::Values(Image{"DATA1M", 'p', 727, 0, 4 + 14 + 4},
                                           Image{"DATA2T", 't', 1537, 2974656, 4 + 30 + 4},
                                           Image{"DATA4M", 's', 91, 2974656 + 6291520, 91}),
                         [](const ::testing::TestParamInfo<Image>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
