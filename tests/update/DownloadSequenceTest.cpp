#include "tests/update/UpdateTest.h"

namespace {

using Lines = std::vector<std::string>;

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Lines kStartupCheck = {"status-inquiry", "identity-read", "version-inquiry"};
const Lines kIntoDownloadMode = {"status-inquiry", "identity-read", "download-mode",
                                 "version-inquiry"};
const Lines kTransfer = {
    "prepare p",       "start-write p", "data p: 2974656 bytes in 727 transfers, complete",
    "prepare t",       "start-write t", "data t: 6291520 bytes in 1537 transfers, complete",
    "prepare s",       "start-write s", "data s: 370880 bytes in 91 transfers, complete",
    "version-inquiry", "restart"};

const std::array<std::string, 4> kNewVersions = {"450D42", "452C11", "", "454F11"};
const std::array<std::string, 4> kNewChecksums = {"3AC3", "BEB3", "", "A789"};

TEST_F(UpdateTest, UpdateOfTheBuiltInSetThenTheSamePrinterIsUpToDate) {
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterFirstRun);
    model.Probe(kAfterFirstRun, [&] {
        EXPECT_EQ(Row(dialog.m_strBeforeVersion, dialog.m_strBeforeChecksum),
                  (Lines{"450B42/6B1D", "452C11/BEB3", "/", "454E11/9C27"}));
        EXPECT_EQ(Row(dialog.m_strAfterVersion, dialog.m_strAfterChecksum),
                  Row(kNewVersions, kNewChecksums));
        EXPECT_EQ(dialog.GetDlgItemText(1004), "450D42") << "the rows are shown";
        EXPECT_EQ(dialog.GetDlgItemText(1025), "A789");
        const Lines package = {dialog.GetDlgItemText(1005), dialog.GetDlgItemText(1006),
                               dialog.GetDlgItemText(1007), dialog.GetDlgItemText(1020)};
        EXPECT_EQ(package, (Lines{"450D42", "452C11", "", "454F11"}));
        for (const int checksumField : {1003, 1008, 1011, 1021}) {
            EXPECT_EQ(dialog.GetDlgItemText(checksumField), "");
        }
        EXPECT_EQ(dialog.m_strPrinterId, "T90001");
        EXPECT_EQ(dialog.PackageSet, 1);
        EXPECT_EQ(sim.InDownloadMode(), 0);
    });
    model.ClickButton(kSecondPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterSecondRun);
    RunMainWindow();

    EXPECT_TRUE(m_idleChecked);
    EXPECT_EQ(Boxes(), (std::vector<Box>{SuccessBox(), VersionCheckBox(Text(IDS_NEWEST))}));
    EXPECT_EQ(Log(), Concat({kStartupCheck, kIntoDownloadMode, kTransfer,
                             {"status-inquiry", "identity-read"}}))
        << "the second press never entered download mode";
    EXPECT_EQ(sim.Firmware('p'), "450D42/3AC3");
    EXPECT_EQ(sim.Firmware('t'), "452C11/BEB3");
    EXPECT_EQ(sim.Firmware('s'), "454F11/A789");
    EXPECT_EQ(Row(dialog.m_strBeforeVersion, dialog.m_strBeforeChecksum),
              Row(kNewVersions, kNewChecksums))
        << "the remembered versions";
    EXPECT_EQ(Row(dialog.m_strAfterVersion, dialog.m_strAfterChecksum),
              (Lines{"/", "/", "/", "/"}));
}

TEST_F(UpdateTest, AnotherPrinterBetweenRunsIsUpdatedAgain) {
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    model.Probe(kAfterFirstRun, [&] { sim.Reset("printer\nidentity SN0002\n"); });
    model.ClickButton(kSecondPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterSecondRun);
    RunMainWindow();
    EXPECT_EQ(Boxes(), (std::vector<Box>{SuccessBox(), SuccessBox()}));
    EXPECT_EQ(Log(), Concat({kIntoDownloadMode, kTransfer}));
    EXPECT_EQ(dialog.m_strPrinterId, "SN0002");
}

TEST_F(UpdateTest, ForcedDownloadSkipsTheStateCheckAndSendsSetOne) {
    SetArguments({"-frcdlm"});
    sim.Reset("printer\nprinting-state 1\nfirmware DATA1(M) 123456 0000\n");
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
    EXPECT_EQ(Boxes(), std::vector<Box>{SuccessBox()});
    EXPECT_EQ(Log(), Concat({{"version-inquiry", "download-mode", "version-inquiry"}, kTransfer}));
    EXPECT_EQ(dialog.m_strPrinterId, "");
}

TEST_F(UpdateTest, ARunCannotStartInsideAnother) {
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    for (const DWORD later : {1000u, 8000u, 16500u, 20000u, 40000u, 55000u}) {
        model.ClickButton(kFirstPress + later, IDC_DOWNLOAD);
        model.PressKey(kFirstPress + later + 1, win::VK_RETURN);
        model.PressKey(kFirstPress + later + 2, win::VK_ESCAPE);
        model.SystemCommand(kFirstPress + later + 3, win::SC_CLOSE);
    }
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
    EXPECT_EQ(Boxes(), std::vector<Box>{SuccessBox()});
    EXPECT_EQ(Log(), Concat({kStartupCheck, kIntoDownloadMode, kTransfer}));
}

TEST_F(UpdateTest, ProgressWindowsKeepTheMainWindowDisabled) {
    struct Seen {
        std::string caption;
        bool mainEnabled;
        bool buttonEnabled;
    };
    std::vector<Seen> seen;
    auto look = [&] {
        const auto windows = win::TopLevelWindows();
        seen.push_back({windows.size() > 1 ? windows.back()->text : std::string(),
                        dialog.IsWindowEnabled() != FALSE,
                        dialog.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled() != FALSE});
    };
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    // Into the waits of entering download mode, of the version check, of the transfer and of
    // the restart at its end; then after the run.
    for (const DWORD at : {8000u, 16000u, 30000u, 50000u, 900000u}) {
        model.Probe(kFirstPress + at, look);
    }
    RunMainWindow();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].caption, "Initializing...");
    EXPECT_EQ(seen[1].caption, "Version Check...");
    EXPECT_EQ(seen[2].caption, "Upgrade");
    EXPECT_EQ(seen[3].caption, "Upgrade") << "the bar covers the restart wait";
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(seen[i].mainEnabled) << i;
        EXPECT_FALSE(seen[i].buttonEnabled) << i;
    }
    EXPECT_EQ(seen[4].caption, "");
    EXPECT_TRUE(seen[4].mainEnabled);
    EXPECT_TRUE(seen[4].buttonEnabled);
}

// A run that fails: the boxes the user sees, what the printer received after the start-up
// check, and whether the printer was restarted.
struct FailedRun {
    const char* name;
    std::string config;  // the printer as the run finds it; empty: the default printer
    bool changeBeforePress;  // the start-up check still saw the default printer
    std::function<std::vector<Box>()> boxes;
    Lines received;
    bool leftInDownloadMode = false;
};

class FailedRunTest : public UpdateTest, public ::testing::WithParamInterface<FailedRun> {};

TEST_P(FailedRunTest, EndsWithItsMessageAndTheRestartWhereNeeded) {
    const FailedRun& run = GetParam();
    if (!run.changeBeforePress) {
        ASSERT_TRUE(sim.Reset(run.config));
    } else {
        model.Probe(kFirstPress - 1, [&] { ASSERT_TRUE(sim.Reset(run.config)); });
    }
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
    EXPECT_TRUE(m_idleChecked);
    EXPECT_EQ(Boxes(), run.boxes());
    Lines received = Log();
    if (!run.changeBeforePress) {
        ASSERT_GE(received.size(), kStartupCheck.size());
        received.erase(received.begin(), received.begin() + 3);
    }
    EXPECT_EQ(received, run.received);
    if (run.leftInDownloadMode) {
        EXPECT_EQ(sim.InDownloadMode(), 1);
    } else {
        EXPECT_NE(sim.InDownloadMode(), 1) << "restarted";
    }
}

const Lines kUntilData1 = {"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                           "prepare p", "start-write p"};

INSTANTIATE_TEST_SUITE_P(
    Download, FailedRunTest,
    ::testing::Values(
        FailedRun{"NoPrinter", "# nothing attached\n", true,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Error(2000, 2027))}; }, {}},
        FailedRun{"TwoPrinters", "printer\nprinter\n", true,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Error(2001, 2027))}; }, {}},
        FailedRun{"Printing", "printer\nprinting-state 3\nerror-code 1\n", true,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Error(2002, 2027))}; },
                  {"status-inquiry", "identity-read"}},
        FailedRun{"StatusReplyShort", "printer\nreply-short status 1\n", true,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Error(2030, 2027))}; },
                  {"status-inquiry"}},
        FailedRun{"DownloadModeCommandFails", "printer\nwrite-fails download-mode\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(2008))}; },
                  {"status-inquiry", "identity-read"}},
        FailedRun{"VersionReadInDownloadMode", "printer\nreply-short version 2 2\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Error(2004, 2027))}; },
                  {"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                   "restart"}},
        FailedRun{"PrepareOfData2Fails", "printer\nwrite-fails prepare:t\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(2008))}; },
                  Concat({kUntilData1,
                          {"data p: 2974656 bytes in 727 transfers, complete", "restart"}})},
        FailedRun{"StartWriteFails", "printer\nwrite-fails start-write:p\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(2008))}; },
                  {"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                   "prepare p", "restart"}},
        FailedRun{"ImageBlockShort", "printer\nwrite-short image:p 100 3\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(2008))}; },
                  Concat({kUntilData1, {"data p: 8292 bytes in 3 transfers, stopped before the S7 record", "restart"}})},
        FailedRun{"TimeLimitOfAnItem", "printer\nlink-rate 20000\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(2007))}; },
                  Concat({kUntilData1,
                          {"data p: 2400256 bytes in 586 transfers, stopped before the S7 record",
                           "restart"}})},
        FailedRun{"VerificationFindsAnotherChecksum",
                  "printer\nreport-after-write DATA4(M) - 0000\n", false,
                  [] { return std::vector<Box>{NoOwnerErrorBox(UpdateTest::Text(2008))}; },
                  Concat({{"status-inquiry", "identity-read", "download-mode", "version-inquiry"},
                          kTransfer})},
        FailedRun{"RestartFailsAfterSuccess", "printer\nwrite-fails restart\n", false,
                  [] {
                      return std::vector<Box>{ErrorBox(UpdateTest::Text(2008)),
                                                              UpdateTest::SuccessBox()};
                  },
                  Concat({{"status-inquiry", "identity-read", "download-mode", "version-inquiry"},
                          Lines(kTransfer.begin(), kTransfer.end() - 1)}),
                  true}),
    [](const ::testing::TestParamInfo<FailedRun>& info) { return info.param.name; });

}  // namespace
