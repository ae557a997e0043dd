#include <gtest/gtest.h>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "platform/ui/WinApp.h"
#include "tests/harness/UpdateHarness.h"

namespace {

// Records the bar's positions as the window shows them.
class RecordingModel : public ScriptedModel {
public:
    using ScriptedModel::ScriptedModel;
    void WindowChanged(win::HWND window, win::WindowChange change) override {
        if (change == win::WindowChange::Progress) {
            positions.push_back(window->progress.position);
        }
    }
    std::vector<int> positions;
};

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&model);
        ASSERT_TRUE(owner.Create(IDD_ABOUTBOX));
        theApp.m_pMainWnd = &owner;
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        owner.DestroyWindow();
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }
    std::string Percent(const CProgressDlg& progress) const {
        return progress.GetDlgItemText(IDC_PROGRESS_PERCENT);
    }

    win::VirtualClock clock{0xFFFFFE00u};  // close to the tick count's wrap
    RecordingModel model{&clock};
    win::CDialog owner{IDD_ABOUTBOX};
    TestUpdateDlg waits;  // the wait operations need no window of their own
};

TEST_F(ProgressWindowTest, PercentTextFollowsThePosition) {
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    EXPECT_EQ(progress.GetWindowText(), "Upgrade");
    EXPECT_EQ(Percent(progress), " 0 %") << "untouched until the first position";
    progress.SetRange(0, 100);
    struct Step {
        int position;
        const char* text;
    };
    const Step steps[] = {{0, "0%"},    {42, "42%"}, {100, "100%"},
                          {150, "50%"}, {200, "0%"}, {99, "99%"}};
    for (const Step& step : steps) {
        progress.SetPos(step.position);
        EXPECT_EQ(Percent(progress), step.text) << step.position;
    }
    progress.SetRange(100, 300);
    progress.SetPos(200);
    EXPECT_EQ(Percent(progress), "50%");
}

TEST_F(ProgressWindowTest, InitialisationSendsRangeStepAndPosition) {
    CProgressDlg progress(IDS_VERSION_CHECK);
    progress.m_nLower = 5;
    progress.m_nUpper = 50;
    ASSERT_TRUE(progress.Create());
    const win::ProgressState& bar = win::GetDlgItem(progress.m_hWnd, IDC_PROGRESS_BAR)->progress;
    EXPECT_EQ(bar.lower, 5);
    EXPECT_EQ(bar.upper, 50);
    EXPECT_EQ(bar.step, 10);
    EXPECT_EQ(bar.position, 5);
    EXPECT_EQ(progress.GetWindowText(), "Version Check...");
    EXPECT_FALSE(win::IsWindowVisible(win::GetDlgItem(progress.m_hWnd, win::IDCANCEL)));
}

TEST_F(ProgressWindowTest, TimeBasedProgress) {
    struct Case {
        const char* name;
        DWORD duration;
        DWORD elapsed;
        std::vector<int> positions;  // after the range and the first position
    };
    const Case cases[] = {
        {"half way", 1000, 500, {50}},
        {"at the end it stays", 1000, 1000, {}},
        {"past the end it stays", 1000, 5000, {}},
        {"no time base", 0, 500, {}},
        {"across the wrap", 2000, 0x300, {38}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clock.Set(0xFFFFFE00u);
        CProgressDlg progress(IDS_UPGRADE);
        ASSERT_TRUE(progress.Create());
        progress.SetRange(0, 100);
        progress.SetPos(0);
        progress.SetTimeBase(win::GetTickCount(), c.duration);
        model.positions.clear();
        clock.Advance(c.elapsed);
        progress.AdvanceByTime();
        EXPECT_EQ(model.positions, c.positions);
    }
}

// Every change shown costs the real window a repaint, and a wait's slices would add it up.
TEST_F(ProgressWindowTest, OnlyAChangedBarIsShownAgain) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool shown;
    };
    const Case cases[] = {
        {"the same position", win::PBM_SETPOS, 40, 0, false},
        {"a new position", win::PBM_SETPOS, 41, 0, true},
        {"a position clamped to the top", win::PBM_SETPOS, 500, 0, true},
        {"another clamped to it", win::PBM_SETPOS, 600, 0, false},
        {"the same range", win::PBM_SETRANGE, 0, MAKELPARAM(0, 100), false},
        {"a new range", win::PBM_SETRANGE, 0, MAKELPARAM(0, 200), true},
        {"the same step", win::PBM_SETSTEP, 10, 0, false},
        {"a new step", win::PBM_SETSTEP, 5, 0, true},
    };
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    const win::HWND bar = win::GetDlgItem(progress.m_hWnd, IDC_PROGRESS_BAR);
    win::SendMessage(bar, win::PBM_SETPOS, 40, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.positions.clear();
        win::SendMessage(bar, c.message, c.wParam, c.lParam);
        EXPECT_EQ(model.positions.size(), c.shown ? 1U : 0U);
    }
}

TEST_F(ProgressWindowTest, OwnerIsDisabledWhileOpenAndEnabledBeforeItGoes) {
    {
        CProgressDlg progress(IDS_INITIALIZING);
        ASSERT_TRUE(progress.Create());
        EXPECT_FALSE(owner.IsWindowEnabled());
        EXPECT_TRUE(progress.m_bParentDisabled);
        EXPECT_EQ(progress.m_hWnd->owner, owner.m_hWnd);
    }
    EXPECT_TRUE(owner.IsWindowEnabled());

    owner.EnableWindow(FALSE);
    {
        CProgressDlg progress(IDS_INITIALIZING);
        ASSERT_TRUE(progress.Create());
        EXPECT_FALSE(progress.m_bParentDisabled);
    }
    EXPECT_FALSE(owner.IsWindowEnabled()) << "it stays as the window found it";
}

TEST_F(ProgressWindowTest, EnterEscAndCloseLeaveItOpen) {
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    progress.SetRange(0, 100);
    const DWORD now = win::GetTickCount();
    model.PressKey(now + 10, win::VK_RETURN);
    model.PressKey(now + 20, win::VK_ESCAPE);
    model.SystemCommand(now + 30, win::SC_CLOSE);
    waits.WaitWithProgress(100, &progress, 50);
    EXPECT_TRUE(win::IsWindow(progress.m_hWnd));
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_EQ(model.LostInputs(), 0) << "the keys reached the window";
}

TEST_F(ProgressWindowTest, AWindowThatCannotBeCreatedLeavesTheOwnerEnabled) {
    model.SetCreationAllowed(false);
    CProgressDlg progress(IDS_UPGRADE);
    EXPECT_FALSE(progress.Create());
    EXPECT_TRUE(owner.IsWindowEnabled());
    progress.SetRange(0, 100);
    progress.SetPos(50);
    progress.SetStatus(IDS_PLEASE_WAIT);
    progress.SetTimeBase(0, 1000);
    progress.AdvanceByTime();
    EXPECT_EQ(progress.m_hWnd, nullptr);
}

TEST_F(ProgressWindowTest, WaitsSliceTheTimeAndAdvanceTheWindow) {
    clock.Set(50000);  // far from the wrap, which would lengthen a wait
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    progress.SetRange(0, 100);
    struct Case {
        const char* name;
        std::function<void(CProgressDlg*)> wait;
        bool withWindow;
        DWORD elapsed;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"with progress, three slices of 300",
         [&](CProgressDlg* p) { waits.WaitWithProgress(1000, p, 300); },
         true,
         900,
         {30, 60, 90}},
        {"with progress, no window: one piece",
         [&](CProgressDlg*) { waits.WaitWithProgress(1000, nullptr, 300); },
         false,
         1000,
         {}},
        {"in slices, no window",
         [&](CProgressDlg*) { waits.WaitInSlices(1000, nullptr, 300); },
         false,
         900,
         {}},
        {"in slices with the window",
         [&](CProgressDlg* p) { waits.WaitInSlices(250, p, 100); },
         true,
         200,
         {10, 20}},
        {"a slice of 0 is 100",
         [&](CProgressDlg* p) { waits.WaitWithProgress(250, p, 0); },
         true,
         200,
         {10, 20}},
        {"nothing to wait",
         [&](CProgressDlg* p) { waits.WaitWithProgress(0, p, 100); },
         true,
         0,
         {}},
        {"pump for 0 still sleeps once",
         [&](CProgressDlg*) { waits.PumpMessagesFor(0); },
         false,
         1,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DWORD start = win::GetTickCount();
        progress.SetTimeBase(start, 1000);
        model.positions.clear();
        c.wait(&progress);
        EXPECT_EQ(win::GetTickCount() - start, c.elapsed);
        EXPECT_EQ(model.positions, c.positions);
    }
}

TEST_F(ProgressWindowTest, ATickWrapDuringAWaitMakesItLongerNeverShorter) {
    clock.Set(0xFFFFFFFFu - 99);
    waits.PumpMessagesFor(300);
    EXPECT_EQ(win::GetTickCount(), 300u) << "100 ms before the wrap, then 300 counted afresh";
}

TEST_F(ProgressWindowTest, WaitsDispatchQueuedMessages) {
    int delivered = 0;
    class Counter : public win::CDialog {
    public:
        explicit Counter(int& count) : win::CDialog(IDD_PROGRESS_DIALOG), m_count(count) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == win::WM_APP + 7) {
                ++m_count;
            }
            return win::CDialog::WindowProc(message, wParam, lParam);
        }

    private:
        int& m_count;
    };
    Counter counter(delivered);
    ASSERT_TRUE(counter.Create(IDD_PROGRESS_DIALOG));
    counter.PostMessage(win::WM_APP + 7);
    counter.PostMessage(win::WM_APP + 7);
    waits.PumpMessagesFor(0);
    EXPECT_EQ(delivered, 2);
}

}  // namespace
