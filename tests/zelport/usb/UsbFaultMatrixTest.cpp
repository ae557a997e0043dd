// Every command and reply exchange of a Download of the built-in set, through ZELPORT.so over
// libusb, with each fault a USB transfer can have: a time-out, a stall, the printer unplugged,
// a short transfer, and for replies a reply longer than asked and one of garbage. Every case must
// end with its message, the restart where one is due, and nothing left open.
#include <cctype>
#include <cstddef>
#include <string>
#include <vector>

#include "tests/zelport/usb/UsbTest.h"

namespace {

enum class Phase { Startup, Run };

enum class Fault { TimeOut, Stall, Unplugged, Short, Overflow };

const char* Name(Fault fault) {
    static constexpr const char* kNames[] = {"time-out", "stall", "unplugged", "short", "overflow"};
    return kNames[static_cast<size_t>(fault)];
}

Box SuffixedBox(unsigned id, unsigned suffix) {
    return ErrorBox(UsbTest::Error(id, suffix));
}
Box FailedBox() {
    return ErrorBox(UsbTest::Text(IDS_FAILED));
}

// One write of a run, with the reply it asks for (its number among all replies, 0 for none).
struct Exchange {
    std::string name;  // the write's kind and its occurrence among writes of that kind
    uint32_t reply;    // 1 for the run's first reply, ...
    Phase phase;
    std::vector<Box> lost;  // the boxes when the write or its reply is lost
    int restarts;           // restart commands the printer receives then
};

void PrintTo(const Exchange& exchange, std::ostream* out) {
    *out << exchange.name;
}

std::vector<Exchange> Exchanges() {
    const std::vector<Box> failed{FailedBox()};
    std::vector<Exchange> exchanges = {
        {"status-inquiry 1", 1, Phase::Startup, {SuffixedBox(2030, 2026)}, 0},
        {"identity-read 1", 2, Phase::Startup, {SuffixedBox(2030, 2026)}, 0},
        {"version-inquiry 1", 3, Phase::Startup, {SuffixedBox(2004, 2026)}, 0},
        {"status-inquiry 2", 4, Phase::Run, {SuffixedBox(2030, 2027)}, 0},
        {"identity-read 2", 5, Phase::Run, {SuffixedBox(2030, 2027)}, 0},
        {"download-mode 1", 0, Phase::Run, failed, 0},
        {"version-inquiry 2", 6, Phase::Run, {SuffixedBox(2004, 2027)}, 1},
    };
    for (const char area : {'p', 't', 's'}) {
        exchanges.push_back({std::string("prepare:") + area + " 1", 0, Phase::Run, failed, 1});
        exchanges.push_back({std::string("start-write:") + area + " 1", 0, Phase::Run, failed, 1});
    }
    exchanges.push_back(
        {"version-inquiry 3", 7, Phase::Run, {NoOwnerErrorBox(UsbTest::Text(2008))}, 1});
    exchanges.push_back({"restart 1", 0, Phase::Run, {FailedBox(), UsbTest::SuccessBox()}, 0});
    // Blocks of the images: the first, one in the middle, the last.
    for (const char* block : {"image:p 1", "image:t 769", "image:s 91"}) {
        exchanges.push_back({block, 0, Phase::Run, failed, 1});
    }
    return exchanges;
}

std::vector<Exchange> ExchangesWithReplies() {
    std::vector<Exchange> withReplies;
    for (const Exchange& exchange : Exchanges()) {
        if (exchange.reply != 0) {
            withReplies.push_back(exchange);
        }
    }
    return withReplies;
}

class UsbFaultMatrixTest : public UsbTest, public ::testing::WithParamInterface<Exchange> {
protected:
    void RunCase(const std::string& name, const std::string& keys, zelusb::UsbFaults usbFaults,
                 const std::vector<Box>& boxes, int restarts) {
        const Exchange& exchange = GetParam();
        SCOPED_TRACE(exchange.name + ", " + name + ": " + keys);
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        Plug(keys, usbFaults);
        {
            TestUpdateDlg window;
            if (exchange.phase == Phase::Run) {
                fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
            }
            theApp.m_pMainWnd = &window;
            window.DoModal();
            theApp.m_pMainWnd = nullptr;
        }
        EXPECT_EQ(BoxesOf(fresh), boxes);
        EXPECT_EQ(Count("restart"), restarts);
        if (restarts > 0) {
            EXPECT_FALSE(Printer().InDownloadMode()) << "the tool's restart reached the printer";
        }
        EXPECT_FALSE(fresh.ForcedQuit());
        win::SetUiBackend(&model);
        ExpectNothingLeftOpen();
    }
};

class UsbWriteFaultTest : public UsbFaultMatrixTest {};
class UsbReplyFaultTest : public UsbFaultMatrixTest {};

TEST_P(UsbWriteFaultTest, TimeOutShortStallUnplugged) {
    const Exchange& exchange = GetParam();
    const auto space = exchange.name.find(' ');
    const std::string kind = exchange.name.substr(0, space);
    const std::string occurrence = exchange.name.substr(space + 1);
    struct Case {
        Fault fault;
        std::string keys;
    };
    const Case cases[] = {
        // The printer takes nothing, or two bytes, and then no packet more.
        {Fault::TimeOut, "write-short " + kind + " 0 " + occurrence},
        {Fault::Short, "write-short " + kind + " 2 " + occurrence},
        {Fault::Stall, "write-fails " + exchange.name},
        {Fault::Unplugged, "unplug-at " + exchange.name},
    };
    for (const Case& fault : cases) {
        // No restart reaches a printer that has gone.
        RunCase(Name(fault.fault), fault.keys, {}, exchange.lost,
                fault.fault == Fault::Unplugged ? 0 : exchange.restarts);
    }
}

TEST_P(UsbReplyFaultTest, TimeOutShortOverflowUnplugged) {
    const Exchange& exchange = GetParam();
    const std::string inquiry = exchange.name.substr(0, exchange.name.find('-'));
    const std::string occurrence = exchange.name.substr(exchange.name.find(' ') + 1);
    zelusb::UsbFaults overflow;
    overflow.overflowReply = exchange.reply;
    overflow.extraBytes = 4;
    zelusb::UsbFaults unplug;
    unplug.unplugAtReply = exchange.reply;
    RunCase(Name(Fault::TimeOut), "silent-after " + std::to_string(exchange.reply - 1), {},
            exchange.lost, exchange.restarts);
    RunCase(Name(Fault::Short), "reply-short " + inquiry + " 1 " + occurrence, {}, exchange.lost,
            exchange.restarts);
    RunCase(Name(Fault::Overflow), "", overflow, exchange.lost, exchange.restarts);
    if (inquiry != "identity") {
        // Garbage of the right length; the identity reply has no header to check.
        RunCase("garbage", "reply-header " + inquiry + " 00000000 " + occurrence, {}, exchange.lost,
                exchange.restarts);
    }
    RunCase(Name(Fault::Unplugged), "", unplug, exchange.lost, 0);
}

std::string CaseName(const ::testing::TestParamInfo<Exchange>& info) {
    std::string name;
    for (const char c : info.param.name) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Exchanges, UsbWriteFaultTest, ::testing::ValuesIn(Exchanges()), CaseName);
INSTANTIATE_TEST_SUITE_P(Exchanges, UsbReplyFaultTest, ::testing::ValuesIn(ExchangesWithReplies()),
                         CaseName);

}  // namespace
