#include "tests/update/UpdateTest.h"

namespace {

using Lines = std::vector<std::string>;

// A start-up check: the printer it finds, the boxes the user sees, what the printer received,
// and whether the window stayed open with Download enabled.
struct Startup {
    const char* name;
    std::string config;
    std::function<std::vector<Box>()> boxes;
    Lines received;
    bool windowStaysOpen;
    std::optional<PackageValues> package = std::nullopt;
    bool salesFile = false;
};

void PrintTo(const Startup& c, std::ostream* out) {
    *out << c.name;
}

class StartupCheckTest : public UpdateTest, public ::testing::WithParamInterface<Startup> {};

TEST_P(StartupCheckTest, EndsAsThePrinterDecides) {
    const Startup& startup = GetParam();
    ASSERT_TRUE(sim.Reset(startup.config));
    dialog.package = startup.package;
    if (startup.salesFile) {
        workingDirectory.WriteFile("Sales.txt", "");
    }
    if (startup.windowStaysOpen) {
        model.Probe(kStart + 3000, [&] {
            EXPECT_TRUE(win::IsWindow(dialog.m_hWnd));
            EXPECT_FALSE(dialog.IsModalLoopEnded());
            EXPECT_TRUE(dialog.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled());
        });
    } else {
        model.ExpectClosedBefore(kStart + 3000);
    }
    RunMainWindow();
    EXPECT_EQ(Boxes(), startup.boxes());
    EXPECT_EQ(Log(), startup.received);
    EXPECT_EQ(sim.OpenHandles(), 0u);
}

const Lines kChecked = {"status-inquiry", "identity-read", "version-inquiry"};

PackageValues WithSetOneList(std::vector<std::string> texts) {
    PackageValues values = PackageValues::BuiltIn();
    values.set1PairCount = static_cast<int>(texts.size());
    values.set1ApplicableTexts = std::move(texts);
    return values;
}

std::vector<Box> None() {
    return {};
}

INSTANTIATE_TEST_SUITE_P(
    Startup, StartupCheckTest,
    ::testing::Values(
        Startup{"NoPrinter",
                "# nothing attached\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))};
                },
                {},
                false},
        Startup{"VendorIdRefused",
                "refuse-vendor-id yes\nprinter\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))};
                },
                {},
                false},
        Startup{"TwoPrinters",
                "printer\nprinter\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_TWO_OR_MORE, IDS_SUFFIX_RESTART))};
                },
                {},
                false},
        Startup{"ControlHandleFails",
                "printer\nopen-fails cont\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))};
                },
                {},
                false},
        Startup{"AnotherModel",
                "printer\nmodel-code 60\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry", "identity-read"},
                false},
        Startup{"LowerCaseModelCodeMatches", "printer\nmodel-code 5f\n", None, kChecked, true},
        Startup{"Printing",
                "printer\nprinting-state 1\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_PRINTING, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry", "identity-read"},
                false},
        Startup{"ErrorInTheHighByte",
                "printer\nerror-code 0x0100\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_PRINTER_ERROR, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry", "identity-read"},
                false},
        Startup{"PrintingWinsOverError",
                "printer\nerror-code 1\nprinting-state 2\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_PRINTING, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry", "identity-read"},
                false},
        Startup{"SalesFileAcceptsAnError", "printer\nerror-code 7\n", None, kChecked, true,
                std::nullopt, true},
        Startup{"SalesFileStillRefusesPrinting",
                "printer\nerror-code 7\nprinting-state 1\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_PRINTING, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry", "identity-read"},
                false,
                std::nullopt,
                true},
        Startup{"StatusReplyShort",
                "printer\nreply-short status 1\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_STATE_FAILED, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry"},
                false},
        Startup{"StatusHeaderWrong",
                "printer\nreply-header status E4474431\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_STATE_FAILED, IDS_SUFFIX_RESTART))};
                },
                {"status-inquiry"},
                false},
        Startup{"VersionReadFailsWithoutRestart", "printer\nreply-short version 1\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_VERSION_FAILED, IDS_SUFFIX_RESTART))};
                },
                kChecked, false},
        Startup{"VersionHeaderWrong", "printer\nreply-header version E4474431\n",
                [] {
                    return std::vector<Box>{
                        ErrorBox(UpdateTest::Error(IDS_VERSION_FAILED, IDS_SUFFIX_RESTART))};
                },
                kChecked, false},
        Startup{"UpToDate",
                "printer\nfirmware DATA1(M) 450D42 3AC3\nfirmware DATA2(T) 452C11 BEB3\n"
                "firmware DATA4(M) 454F11 A789\n",
                [] { return std::vector<Box>{VersionCheckBox(UpdateTest::Text(IDS_NEWEST))}; },
                kChecked, true},
        Startup{"EqualVersionsOtherChecksumsAreUpToDate",
                "printer\nfirmware DATA1(M) 450D42 0000\nfirmware DATA4(M) 454F11 0001\n",
                [] { return std::vector<Box>{VersionCheckBox(UpdateTest::Text(IDS_NEWEST))}; },
                kChecked, true},
        Startup{"DataThreeIsNotCompared",
                "printer\nfirmware DATA1(M) 450D42 3AC3\nfirmware DATA3(F) 999999 0000\n"
                "firmware DATA4(M) 454F11 A789\n",
                [] { return std::vector<Box>{VersionCheckBox(UpdateTest::Text(IDS_NEWEST))}; },
                kChecked, true},
        Startup{"OlderDataFourNeedsTheUpdate",
                "printer\nfirmware DATA1(M) 450D42 3AC3\nfirmware DATA4(M) 454F10 A789\n", None,
                kChecked, true},
        Startup{"NotApplicable",
                "printer\nfirmware DATA1(M) 450A41 3AC3\nfirmware DATA2(T) 452C11 0A7F\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450A41 / "
                        "3AC3\nDATA2(T) : 452C11 / 0A7F\nAnd please restart this application.")};
                },
                kChecked, false},
        Startup{"VersionsAreCaseSensitive", "printer\nfirmware DATA1(M) 450b42 0000\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450b42 / "
                        "0000\nDATA2(T) : 452C11 / BEB3\nAnd please restart this application.")};
                },
                kChecked, false},
        Startup{"FifthCharacterDiffers", "printer\nfirmware DATA1(M) 450B52 6B1D\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450B52 / "
                        "6B1D\nDATA2(T) : 452C11 / BEB3\nAnd please restart this application.")};
                },
                kChecked, false},
        Startup{"DataTwoFifthCharacterDiffers", "printer\nfirmware DATA2(T) 452C21 BEB3\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450B42 / "
                        "6B1D\nDATA2(T) : 452C21 / BEB3\nAnd please restart this application.")};
                },
                kChecked, false},
        Startup{"ZeroInTheSixthPlaceStillComparesTheFifth",
                "printer\nfirmware DATA1(M) 450D57 0000\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450D57 / "
                        "0000\nDATA2(T) : 452C11 / BEB3\nAnd please restart this application.")};
                },
                kChecked, false, WithSetOneList({"450D40,452C11"})},
        Startup{"ZeroInTheSixthPlaceMatchesAny", "printer\nfirmware DATA1(M) 450D47 0000\n", None,
                kChecked, true, WithSetOneList({"450D40,452C11"})},
        Startup{"ZeroOnlyInTheListEntry", "printer\nfirmware DATA1(M) 450D40 0000\n",
                [] {
                    return std::vector<Box>{VersionCheckBox(
                        "This program is not applicable on this printer.\nDATA1(M) : 450D40 / "
                        "0000\nDATA2(T) : 452C11 / BEB3\nAnd please restart this application.")};
                },
                kChecked, false, WithSetOneList({"450D41,452C11"})},
        Startup{"BlankDataTwoEntryMatchesAnyVersion", "printer\nfirmware DATA2(T) 000000 0000\n",
                None, kChecked, true, WithSetOneList({"450B42"})}),
    [](const ::testing::TestParamInfo<Startup>& info) { return info.param.name; });

TEST_F(UpdateTest, StartupFillsTheBeforeRowAndThePackageRow) {
    model.Probe(kStart + 3000, [&] {
        EXPECT_EQ(Row(dialog.m_strBeforeVersion, dialog.m_strBeforeChecksum),
                  (std::vector<std::string>{"450B42/6B1D", "452C11/BEB3", "/", "454E11/9C27"}));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA1_BEFORE_VERSION), "450B42");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA3_BEFORE_VERSION), "") << "DATA3(F) is not carried";
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA1_PACKAGE_VERSION), "450D42");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA3_PACKAGE_VERSION), "");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_DATA1_PACKAGE_CHECKSUM), "");
        EXPECT_EQ(dialog.m_rememberedVersions[3].version, "454E11");
        EXPECT_EQ(dialog.m_rememberedVersions[3].checksum, 0x9C27);
        EXPECT_EQ(dialog.PackageSet, 1);
        EXPECT_EQ(dialog.m_strPrinterId, "T90001");
        EXPECT_EQ(dialog.m_bReportExitFailure, 0);
    });
    RunMainWindow();
    EXPECT_TRUE(Boxes().empty());
}

// A printer plugged in while the check waits is found at the next count, a second after the
// last; the check then goes on as usual, and reports what it found.
TEST_F(UpdateTest, AWaitForThePrinterCountsOnceASecondUntilOneIsPluggedIn) {
    ASSERT_TRUE(sim.Reset("# nothing attached\n"));
    model.WaitForPrinterUpTo(60000);
    model.Probe(kStart + 2500, [&] { ASSERT_TRUE(sim.Reset("")); });
    model.Probe(kStart + 8000,
                [&] { EXPECT_TRUE(dialog.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled()); });
    RunMainWindow();
    EXPECT_EQ(model.PrinterWaits(), (std::vector<DWORD>{0, 1000, 2000}));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(model.StartupReports(), (std::vector<win::StartupReport>{{"T90001", 1, true}}));
}

TEST_F(UpdateTest, AWaitThatRunsOutClosesTheCheckWithItsMessage) {
    ASSERT_TRUE(sim.Reset("# nothing attached\n"));
    model.WaitForPrinterUpTo(3000);
    model.ExpectClosedBefore(kStart + 5000);
    RunMainWindow();
    EXPECT_EQ(model.PrinterWaits(), (std::vector<DWORD>{0, 1000, 2000, 3000}));
    EXPECT_EQ(
        Boxes(),
        (std::vector<Box>{ErrorBox(UpdateTest::Error(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))}));
    EXPECT_TRUE(model.StartupReports().empty());
}

}  // namespace
