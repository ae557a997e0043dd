#include "tests/update/UpdateTest.h"

namespace {

using Result = win::RunEnd::Result;

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
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA1_AFTER_VERSION), "450D42") << "the rows are shown";
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA4_AFTER_CHECKSUM), "A789");
        const Lines package = {dialog.GetDlgItemText(IDC_DATA1_PACKAGE_VERSION),
                               dialog.GetDlgItemText(IDC_DATA2_PACKAGE_VERSION),
                               dialog.GetDlgItemText(IDC_DATA3_PACKAGE_VERSION),
                               dialog.GetDlgItemText(IDC_DATA4_PACKAGE_VERSION)};
        EXPECT_EQ(package, (Lines{"450D42", "452C11", "", "454F11"}));
        for (const int checksumField : {IDC_DATA1_PACKAGE_CHECKSUM, IDC_DATA2_PACKAGE_CHECKSUM,
                                        IDC_DATA3_PACKAGE_CHECKSUM, IDC_DATA4_PACKAGE_CHECKSUM}) {
            EXPECT_EQ(dialog.GetDlgItemText(checksumField), "");
        }
        EXPECT_EQ(dialog.m_strPrinterId, "T90001");
        EXPECT_EQ(dialog.PackageSet, 1);
        EXPECT_EQ(sim.InDownloadMode(), 0);
    });
    model.ClickButton(kSecondPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterSecondRun);
    RunMainWindow();

    EXPECT_EQ(Boxes(), (std::vector<Box>{SuccessBox(), VersionCheckBox(Text(IDS_NEWEST))}));
    EXPECT_EQ(
        Log(),
        Concat({kStartupCheck, kIntoDownloadMode, kTransfer, {"status-inquiry", "identity-read"}}))
        << "the second press never entered download mode";
    EXPECT_EQ(sim.Firmware('p'), "450D42/3AC3");
    EXPECT_EQ(sim.Firmware('t'), "452C11/BEB3");
    EXPECT_EQ(sim.Firmware('s'), "454F11/A789");
    EXPECT_EQ(Row(dialog.m_strBeforeVersion, dialog.m_strBeforeChecksum),
              Row(kNewVersions, kNewChecksums))
        << "the remembered versions";
    EXPECT_EQ(Row(dialog.m_strAfterVersion, dialog.m_strAfterChecksum),
              (Lines{"/", "/", "/", "/"}));
    // The second run found the remembered printer up to date without download mode.
    EXPECT_EQ(model.RunEnds(), (std::vector<win::RunEnd>{{Result::Updated, true, true},
                                                         {Result::UpToDate, false, false}}));
    EXPECT_EQ(theApp.ExitInstance(), 0) << "the program's exit code";
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
    std::string config;      // the printer as the run finds it; empty: the default printer
    bool changeBeforePress;  // the start-up check still saw the default printer
    std::function<std::vector<Box>()> boxes;
    Lines received;
    bool leftInDownloadMode = false;
};

void PrintTo(const FailedRun& c, std::ostream* out) {
    *out << c.name;
}

class FailedRunTest : public UpdateTest, public ::testing::WithParamInterface<FailedRun> {};

TEST_P(FailedRunTest, EndsWithItsMessageAndTheRestartWhereNeeded) {
    const FailedRun& run = GetParam();
    if (run.config.find("write-short") != std::string::npos && !sim.TakesShortWrites()) {
        GTEST_SKIP() << "the library cannot take a write short";
    }
    if (run.config.find("write-fails") != std::string::npos && !run.leftInDownloadMode &&
        !run.received.empty() && run.received.back() == "restart" &&
        !sim.KeepsPipeAfterFailedWrite()) {
        GTEST_SKIP() << "the restart after the failed write cannot reach the printer";
    }
    if (!run.changeBeforePress) {
        ASSERT_TRUE(sim.Reset(run.config));
    } else {
        model.Probe(kFirstPress - 1, [&] { ASSERT_TRUE(sim.Reset(run.config)); });
    }
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
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
    const bool inDownloadMode =
        std::find(received.begin(), received.end(), "download-mode") != received.end();
    const std::vector<Box> boxes = run.boxes();
    const bool successEnd = std::find(boxes.begin(), boxes.end(), SuccessBox()) != boxes.end();
    const win::RunEnd expected{
        inDownloadMode ? Result::FailedInDownloadMode : Result::FailedBeforeDownloadMode,
        successEnd, inDownloadMode && !run.leftInDownloadMode};
    EXPECT_EQ(model.RunEnds(), std::vector<win::RunEnd>{expected});
    EXPECT_EQ(theApp.ExitInstance(), 1) << "the program's exit code";
}

const Lines kUntilData1 = {"status-inquiry",  "identity-read", "download-mode",
                           "version-inquiry", "prepare p",     "start-write p"};

INSTANTIATE_TEST_SUITE_P(
    Download, FailedRunTest,
    ::testing::Values(
        FailedRun{"NoPrinter",
                  "# nothing attached\n",
                  true,
                  [] {
                      return std::vector<Box>{
                          ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_DOWNLOAD))};
                  },
                  {}},
        FailedRun{"TwoPrinters",
                  "printer\nprinter\n",
                  true,
                  [] {
                      return std::vector<Box>{
                          ErrorBox(UpdateTest::Error(IDS_TWO_OR_MORE, IDS_SUFFIX_DOWNLOAD))};
                  },
                  {}},
        FailedRun{"Printing",
                  "printer\nprinting-state 3\nerror-code 1\n",
                  true,
                  [] {
                      return std::vector<Box>{
                          ErrorBox(UpdateTest::Error(IDS_PRINTING, IDS_SUFFIX_DOWNLOAD))};
                  },
                  {"status-inquiry", "identity-read"}},
        FailedRun{"StatusReplyShort",
                  "printer\nreply-short status 1\n",
                  true,
                  [] {
                      return std::vector<Box>{
                          ErrorBox(UpdateTest::Error(IDS_STATE_FAILED, IDS_SUFFIX_DOWNLOAD))};
                  },
                  {"status-inquiry"}},
        FailedRun{"SecondOpenFails",
                  "printer\nopen-fails pipe01 5\n",
                  false,
                  [] {
                      return std::vector<Box>{
                          ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_DOWNLOAD))};
                  },
                  {"status-inquiry", "identity-read", "download-mode"},
                  true},
        FailedRun{"DownloadModeCommandFails",
                  "printer\nwrite-fails download-mode\n",
                  false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_FAILED))}; },
                  {"status-inquiry", "identity-read"}},
        FailedRun{
            "VersionReadInDownloadMode",
            "printer\nreply-short version 2 2\n",
            false,
            [] {
                return std::vector<Box>{
                    ErrorBox(UpdateTest::Error(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD))};
            },
            {"status-inquiry", "identity-read", "download-mode", "version-inquiry", "restart"}},
        FailedRun{
            "PrepareOfData2Fails", "printer\nwrite-fails prepare:t\n", false,
            [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_FAILED))}; },
            Concat({kUntilData1, {"data p: 2974656 bytes in 727 transfers, complete", "restart"}})},
        FailedRun{"StartWriteFails",
                  "printer\nwrite-fails start-write:p\n",
                  false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_FAILED))}; },
                  {"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                   "prepare p", "restart"}},
        FailedRun{"ImageBlockShort", "printer\nwrite-short image:p 100 3\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_FAILED))}; },
                  Concat({kUntilData1,
                          {"data p: 8292 bytes in 3 transfers, stopped before the S7 record",
                           "restart"}})},
        FailedRun{"TimeLimitOfAnItem", "printer\nlink-rate 20000\n", false,
                  [] { return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_TIME_OUT))}; },
                  Concat({kUntilData1,
                          {"data p: 2400256 bytes in 586 transfers, stopped before the S7 record",
                           "restart"}})},
        FailedRun{"VerificationFindsAnotherChecksum",
                  "printer\nreport-after-write DATA4(M) - 0000\n", false,
                  [] { return std::vector<Box>{NoOwnerErrorBox(UpdateTest::Text(IDS_FAILED))}; },
                  Concat({{"status-inquiry", "identity-read", "download-mode", "version-inquiry"},
                          kTransfer})},
        FailedRun{"RestartFailsAfterSuccess", "printer\nwrite-fails restart\n", false,
                  [] {
                      return std::vector<Box>{ErrorBox(UpdateTest::Text(IDS_FAILED)),
                                              UpdateTest::SuccessBox()};
                  },
                  Concat({{"status-inquiry", "identity-read", "download-mode", "version-inquiry"},
                          Lines(kTransfer.begin(), kTransfer.end() - 1)}),
                  true}),
    [](const ::testing::TestParamInfo<FailedRun>& info) { return info.param.name; });

}  // namespace

namespace {

// A package whose set 2 applies to printers with 450E41/452D11 and installs 450F42/452D11.
PackageValues WithSecondSet() {
    PackageValues values = PackageValues::BuiltIn();
    values.set2Version = {"450F42", "452D11", "", ""};
    values.set2Checksum = {"1111", "2222", "", ""};
    values.set2PairCount = 1;
    values.set2ApplicableTexts = {"450E41,452D11"};
    return values;
}

const char* const kSetTwoPrinter =
    "printer\nidentity SN0004\nfirmware DATA1(M) 450E41 0000\nfirmware DATA2(T) 452D11 0000\n";
const char* const kUpToDatePrinter =
    "printer\nidentity SN0003\nfirmware DATA1(M) 450D42 3AC3\nfirmware DATA4(M) 454F11 A789\n";

TEST_F(UpdateTest, AChangedSetInDownloadModeRestartsAndSendsNothing) {
    dialog.package = WithSecondSet();
    model.Probe(kFirstPress - 1, [&] { ASSERT_TRUE(sim.Reset(kSetTwoPrinter)); });
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    std::vector<std::string> packageRow;
    model.Probe(kAfterFirstRun, [&] {
        for (const int id : {IDC_DATA1_PACKAGE_VERSION, IDC_DATA2_PACKAGE_VERSION,
                             IDC_DATA3_PACKAGE_VERSION, IDC_DATA4_PACKAGE_VERSION}) {
            packageRow.push_back(dialog.GetDlgItemText(id));
        }
    });
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
    EXPECT_EQ(Boxes(), (std::vector<Box>{{Text(IDS_VERSION_CHANGED), kCaptionVersionChanged,
                                          win::MB_ICONWARNING, IDD_UPDATE_DIALOG}}));
    EXPECT_EQ(Log(), (Lines{"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                            "restart"}));
    EXPECT_EQ(packageRow, (Lines{"450F42", "452D11", "", ""}));
    EXPECT_EQ(dialog.PackageSet, 2);
}

TEST_F(UpdateTest, RestartFailureIsReportedOnlyWhereTheRunAsksForIt) {
    struct Case {
        const char* name;
        std::string config;
        bool secondSet;
        std::vector<Box> boxes;
    };
    const Box failed = ErrorBox(Text(IDS_FAILED));
    const Box changed{Text(IDS_VERSION_CHANGED), kCaptionVersionChanged, win::MB_ICONWARNING,
                      IDD_UPDATE_DIALOG};
    const Case cases[] = {
        {"changed set",
         std::string(kSetTwoPrinter) + "write-fails restart\n",
         true,
         {changed, failed}},
        {"up to date in download mode",
         std::string(kUpToDatePrinter) + "write-fails restart\n",
         false,
         {VersionCheckBox(Text(IDS_NEWEST)), failed}},
        {"failed transfer",
         "printer\nidentity SN0005\nwrite-fails image:s\nwrite-fails restart\n",
         false,
         {failed}},
        {"failed version read",
         "printer\nidentity SN0006\nreply-short version 1 1\nwrite-fails restart\n",
         false,
         {ErrorBox(Error(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        ASSERT_TRUE(sim.Reset(""));
        TestUpdateDlg window;
        if (c.secondSet) {
            window.package = WithSecondSet();
        }
        fresh.Probe(kFirstPress - 1, [&] { ASSERT_TRUE(sim.Reset(c.config)); });
        fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
        theApp.m_pMainWnd = &window;
        window.DoModal();
        EXPECT_EQ(BoxesOf(fresh), c.boxes);
        EXPECT_EQ(sim.InDownloadMode(), 1) << "the restart never reached the printer";
        EXPECT_TRUE(window.m_bDownloadMode);
    }
    win::SetUiBackend(&model);
}

TEST_F(UpdateTest, UpToDateInDownloadModeShowsOnlyTheNewestMessage) {
    model.Probe(kFirstPress - 1, [&] { ASSERT_TRUE(sim.Reset(kUpToDatePrinter)); });
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    ExpectIdleAt(kAfterFirstRun);
    RunMainWindow();
    EXPECT_EQ(Boxes(), std::vector<Box>{VersionCheckBox(Text(IDS_NEWEST))});
    EXPECT_EQ(Log(), (Lines{"status-inquiry", "identity-read", "download-mode", "version-inquiry",
                            "restart"}));
    EXPECT_EQ(dialog.m_strPrinterId, "SN0003");
    EXPECT_EQ(model.RunEnds(), (std::vector<win::RunEnd>{{Result::UpToDate, true, true}}));
}

TEST_F(UpdateTest, AFailedVersionCheckKeepsItsWindowThroughTheRestartWait) {
    ASSERT_TRUE(sim.Reset("printer\nreply-short version 1 2\n"));
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    std::string during;
    bool restartedBefore = false;
    // After 15 s of entering download mode and the 1 s version wait, the restart wait runs.
    model.Probe(kFirstPress + 25000, [&] {
        const auto windows = win::TopLevelWindows();
        during = windows.size() > 1 ? windows.back()->text : "";
        restartedBefore = sim.InDownloadMode() == 0;
    });
    RunMainWindow();
    EXPECT_EQ(during, "Version Check...");
    EXPECT_TRUE(restartedBefore);
    EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox(Error(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD))});
    EXPECT_EQ(sim.Count("restart"), 1) << "the failure end does not send it again";
}

TEST_F(UpdateTest, ThePrinterDisappearingOrFallingSilent) {
    struct Case {
        const char* name;
        std::string config;
        std::vector<Box> boxes;
        int restarts;
    };
    const Case cases[] = {
        {"unplugged in an image",
         "printer\nunplug-after 100000\n",
         {ErrorBox(Text(IDS_FAILED))},
         0},
        {"silent in download mode",
         "printer\nsilent-after 5\n",
         {ErrorBox(Error(IDS_VERSION_FAILED, IDS_SUFFIX_DOWNLOAD))},
         1},
        {"silent after the transfer",
         "printer\nsilent-after 6\n",
         {NoOwnerErrorBox(Text(IDS_FAILED))},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedModel fresh(&clock);
        win::SetUiBackend(&fresh);
        clock.Set(kStart);
        ASSERT_TRUE(sim.Reset(c.config));
        TestUpdateDlg window;
        fresh.ClickButton(kFirstPress, IDC_DOWNLOAD);
        theApp.m_pMainWnd = &window;
        window.DoModal();
        EXPECT_EQ(BoxesOf(fresh), c.boxes);
        EXPECT_EQ(sim.Count("restart"), c.restarts);
        EXPECT_EQ(sim.OpenHandles(), 0u);
    }
    win::SetUiBackend(&model);
}

TEST_F(UpdateTest, VerificationShowsWhatThePrinterReported) {
    ASSERT_TRUE(sim.Reset("printer\nreport-after-write DATA4(M) 454F12 3ac3\n"));
    model.ClickButton(kFirstPress, IDC_DOWNLOAD);
    RunMainWindow();
    EXPECT_EQ(Row(dialog.m_strAfterVersion, dialog.m_strAfterChecksum),
              (Lines{"450D42/3AC3", "452C11/BEB3", "/", "454F12/3AC3"}));
    EXPECT_EQ(dialog.m_rememberedVersions[3].version, "454F12");
    EXPECT_EQ(Boxes(), std::vector<Box>{NoOwnerErrorBox(Text(IDS_FAILED))});
}

}  // namespace
