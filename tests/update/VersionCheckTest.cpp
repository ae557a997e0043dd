// The version check on a fake port, where the test decides what each pipe does.
#include <gtest/gtest.h>

#include "app/ProgressDlg.h"
#include "tests/harness/FakeUsbLibrary.h"
#include "tests/harness/UpdateHarness.h"
#include "tests/support/Handles.h"

namespace {

constexpr DWORD kStart = 5000;
constexpr DWORD kReplyWaitMs = 1000;

// A reply that would make the built-in set 1 apply and the printer up to date.
std::string UpToDateReply() {
    const auto bytes = [](std::initializer_list<int> values) {
        std::string text;
        for (const int value : values) {
            text.push_back(static_cast<char>(value));
        }
        return text;
    };
    return bytes({0xE4, 0x47, 0x44, 0x30}) + "450D42" + bytes({0x3A, 0xC3}) + "452C11" +
           bytes({0xBE, 0xB3}) + std::string(6, '\0') + bytes({0xFF, 0xFF}) + "454F11" +
           bytes({0xA7, 0x89});
}

// Where the version check runs: the start-up check (no package set, no progress window) or a
// Download in download mode (a package set and the "Version Check..." window).
struct Caller {
    const char* name;
    int packageSet;
    bool inDownloadMode;
    unsigned suffix;
};

void PrintTo(const Caller& caller, std::ostream* out) {
    *out << caller.name;
}

class FailedInquiryTest : public ::testing::TestWithParam<Caller> {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&model);
        ASSERT_TRUE(window.m_package.Load());
        // The inquiry goes out short: one byte of it is taken, then the pipe fails.
        library.nextOutHandle = testing_support::CreateShortWriteHandle(1);
        port.SetDeviceIds("2E91", "5D36");
        ASSERT_TRUE(port.Open());
        library.Latest("PIPE01").Send(UpToDateReply());
        library.Latest("PIPE01").EndTowardsNear();
    }
    void TearDown() override {
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }

    win::VirtualClock clock{kStart};
    ScriptedModel model{&clock};
    FakeUsbLibrary library;
    CUsbPort port;
    CUpdateDlg window;
};

TEST_P(FailedInquiryTest, StillWaitsAndReadsThenReportsTheFailure) {
    const Caller& caller = GetParam();
    window.PackageSet = caller.packageSet;
    window.m_bDownloadMode = caller.inDownloadMode ? TRUE : FALSE;
    std::unique_ptr<CProgressDlg> progress;
    if (caller.inDownloadMode) {
        progress = std::make_unique<CProgressDlg>(IDS_VERSION_CHECK);
        ASSERT_TRUE(progress->Create(nullptr));
        progress->SetRange(0, 100);
        progress->SetPos(0);
        progress->SetTimeBase(kStart, kReplyWaitMs);
    }
    BOOL upToDate = TRUE;

    EXPECT_FALSE(
        window.CheckVersions(port, upToDate, progress.get(), caller.inDownloadMode ? TRUE : FALSE))
        << "a reply after a failed inquiry does not count";

    EXPECT_FALSE(upToDate);
    EXPECT_EQ(window.PackageSet, caller.packageSet);
    EXPECT_EQ(window.m_strBeforeVersion[DATA1_M], "") << "the Before row is not touched";
    EXPECT_EQ(BoxesOf(model), std::vector<Box>{NoOwnerErrorBox(CMessageCatalogue::ComposeError(
                                  IDS_VERSION_FAILED, caller.suffix))});
    if (caller.inDownloadMode) {
        const DWORD restartWait = static_cast<DWORD>(window.m_package.m_nRestartWait) * 1000;
        EXPECT_EQ(clock.Now() - kStart, kReplyWaitMs + restartWait)
            << "the reply wait, then the restart wait";
        EXPECT_EQ(progress->m_bar.GetPos(), 90) << "the bar moved with every slice of the wait";
        EXPECT_FALSE(port.IsPipeOpen(1)) << "the restart closed the port";
    } else {
        EXPECT_EQ(clock.Now() - kStart, kReplyWaitMs);
        BYTE rest[1];
        EXPECT_EQ(port.Read(rest, 1), 0) << "the reply was read, nothing is left in the pipe";
    }
}

INSTANTIATE_TEST_SUITE_P(
    VersionCheck, FailedInquiryTest,
    ::testing::Values(Caller{"StartupCheck", 0, false, IDS_SUFFIX_RESTART},
                      Caller{"DownloadInDownloadMode", 1, true, IDS_SUFFIX_DOWNLOAD}),
    [](const ::testing::TestParamInfo<Caller>& info) { return std::string(info.param.name); });

}  // namespace
