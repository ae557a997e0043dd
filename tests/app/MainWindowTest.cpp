#include <filesystem>

#include "app/MessageCatalogue.h"
#include "platform/Resources.h"
#include "tests/harness/FakeUsbLibrary.h"
#include "tests/harness/UpdateHarness.h"
#include "tests/harness/ValueFields.h"

namespace {

std::string NoPrinterAtStart() {
    return CMessageCatalogue::ComposeError(IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART);
}

class MainWindowTest : public UpdateHarness {
protected:
    FakeUsbLibrary library;  // no printer unless a test attaches one
    void SetUp() override {
        UpdateHarness::SetUp();
        library.devices = 0;
    }
};

TEST_F(MainWindowTest, AfterInitialisationEveryFieldIsBlankAndAboutIsOnTheMenu) {
    bool probed = false;
    model.Probe(kStart, [&] {
        probed = true;
        for (const int id : kValueFields) {
            EXPECT_EQ(dialog.GetDlgItemText(id), "") << "field " << id;
        }
        win::CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->GetMenuItemCount(), 4);
        EXPECT_EQ(menu->GetMenuItemID(3), IDM_ABOUTBOX);
        EXPECT_EQ(menu->GetMenuString(3), "&About...");
        EXPECT_EQ(dialog.m_hWnd->bigIcon, win::LoadIcon(IDR_MAINFRAME));
        EXPECT_EQ(dialog.m_hWnd->smallIcon, win::LoadIcon(IDR_MAINFRAME));
        EXPECT_NE(dialog.m_hIcon, nullptr);
        EXPECT_EQ(dialog.PackageSet, 0);
        EXPECT_EQ(dialog.GetWindowText(), "KALDERON RX-T9 Update Tool");
        EXPECT_EQ(dialog.m_bSet1Item, (std::array<BOOL, 4>{TRUE, TRUE, FALSE, TRUE}));
        EXPECT_EQ(dialog.m_bSet2Item, (std::array<BOOL, 4>{FALSE, FALSE, FALSE, FALSE}));
        EXPECT_EQ(dialog.m_dwSet1Total, 0u);
        EXPECT_EQ(dialog.m_set1Images[0].size, 0u);
    });
    RunMainWindow();
    EXPECT_TRUE(probed);
    EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox(NoPrinterAtStart())})
        << "the start-up check found no printer and closed the window";
}

TEST_F(MainWindowTest, AnEmptyAboutTextAddsNothingToTheMenu) {
    const win::ResourceEntry emptyAbout[] = {{"STRING1033", IDS_ABOUTBOX, "", 0},
                                             {"STRING1041", IDS_ABOUTBOX, "", 0}};
    const win::ResourceTable shadow(emptyAbout, 2);
    int items = -1;
    model.Probe(kStart, [&] { items = dialog.GetSystemMenu(FALSE)->GetMenuItemCount(); });
    RunMainWindow();
    EXPECT_EQ(items, 2) << "not even the separator";
}

TEST_F(MainWindowTest, StartOptions) {
    struct Case {
        std::vector<std::string> arguments;
        bool salesFile;
        BOOL force;
    };
    const Case cases[] = {
        {{}, false, FALSE},
        {{"-frcdlm"}, false, TRUE},
        {{"-FRCDLM"}, false, FALSE},
        {{"-frcdlm2"}, false, FALSE},
        {{"--force", "-frcdlm"}, false, FALSE},
        {{"-frcdlm", "extra"}, true, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        SetArguments(c.arguments);
        if (c.salesFile) {
            workingDirectory.WriteFile("Sales.txt", "");
        }
        TestUpdateDlg window;
        theApp.m_pMainWnd = &window;
        window.DoModal();
        EXPECT_EQ(window.m_bForceDownload, c.force);
        EXPECT_EQ(window.m_bSalesFile, c.salesFile ? TRUE : FALSE);
        std::filesystem::remove(workingDirectory.File("Sales.txt"));
    }
}

TEST_F(MainWindowTest, AnInvalidPackageTableEndsTheWindowBeforeAnyPrinterIsAsked) {
    PackageValues broken = PackageValues::BuiltIn();
    broken.modelCode = "5";
    dialog.package = broken;
    RunMainWindow();
    EXPECT_EQ(Boxes(),
              std::vector<Box>{ErrorBox("Failed!\nThere is some error in the setting file.")});
    EXPECT_TRUE(library.vendorIds.empty()) << "the start-up check never ran";
}

TEST_F(MainWindowTest, AboutBoxFromTheSystemMenu) {
    std::vector<WORD> templates;
    bool mainDisabled = false;
    // The box runs modally inside the probe, before the start-up check closes the window.
    model.Probe(kStart, [&] { dialog.SendMessage(win::WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0); });
    model.Probe(kStart + 10, [&] {
        for (win::HWND window : win::TopLevelWindows()) {
            templates.push_back(window->DialogData()->id);
        }
        mainDisabled = !dialog.IsWindowEnabled();
    });
    model.PressKey(kStart + 20, win::VK_RETURN);
    RunMainWindow();
    EXPECT_EQ(templates, (std::vector<WORD>{IDD_UPDATE_DIALOG, IDD_ABOUTBOX}));
    EXPECT_TRUE(mainDisabled);
}

TEST_F(MainWindowTest, MinimisedWindowPaintsItsIconCentred) {
    LRESULT dragIcon = 0;
    model.Probe(kStart, [&] {
        win::ShowWindow(dialog.m_hWnd, win::SW_MINIMIZE);
        dialog.SendMessage(win::WM_PAINT);
        dragIcon = dialog.SendMessage(win::WM_QUERYDRAGICON);
    });
    RunMainWindow();
    ASSERT_EQ(model.DrawnIcons().size(), 1u);
    EXPECT_EQ(model.DrawnIcons()[0].x, (258 - 32 + 1) / 2);
    EXPECT_EQ(model.DrawnIcons()[0].y, (276 - 32 + 1) / 2);
    EXPECT_EQ(model.DrawnIcons()[0].icon, win::LoadIcon(IDR_MAINFRAME));
    EXPECT_EQ(dragIcon, reinterpret_cast<LRESULT>(win::LoadIcon(IDR_MAINFRAME)));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, AVanishedWorkingDirectoryReadsAsNoSalesFile) {
    workingDirectory.WriteFile("Sales.txt", "");
    std::filesystem::remove_all(workingDirectory.Path());
    RunMainWindow();
    EXPECT_FALSE(dialog.m_bSalesFile);
    EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox(NoPrinterAtStart())});
}

}  // namespace
