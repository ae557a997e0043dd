#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Kernel.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/WinApp.h"
#include "tests/harness/ScriptedModel.h"

namespace {

using win::ControlKind;

constexpr WORD kTestDialog = 900;
constexpr WORD kTestModeless = 901;
constexpr int kDefaultButton = 50;
constexpr int kOtherButton = 51;
constexpr int kField = 52;
constexpr int kBar = 53;

constexpr DWORD kChild = win::WS_CHILD | win::WS_VISIBLE;

const win::DialogTemplate kTemplates[] = {
    {kTestDialog,
     "Test",
     win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU,
     0,
     "MS Sans Serif",
     8,
     0,
     0,
     100,
     60,
     {{kDefaultButton, ControlKind::Button, "Go", kChild | win::BS_DEFPUSHBUTTON, 5, 5, 40, 14},
      {kOtherButton, ControlKind::Button, "Other", kChild, 50, 5, 40, 14},
      {kField, ControlKind::Static, "initial", kChild, 5, 25, 40, 8}}},
    {kTestModeless,
     "Modeless",
     win::WS_POPUP | win::WS_VISIBLE | win::WS_CAPTION,
     0,
     "MS Sans Serif",
     8,
     0,
     0,
     80,
     40,
     {{kBar, ControlKind::ProgressBar, "", kChild, 5, 5, 70, 10}}},
};
const win::DialogTable kTable(kTemplates, 2);

// A dialog that records what its handlers saw.
class RecordingDialog : public win::CDialog {
public:
    RecordingDialog() : win::CDialog(kTestDialog) {}

    std::vector<int> commands;
    int shows = 0;
    std::string field;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        commands.push_back(LOWORD(wParam));
        return LOWORD(wParam) == kDefaultButton || LOWORD(wParam) == kOtherButton;
    }
    void DoDataExchange(win::CDataExchange* pDX) override { win::DDX_Text(pDX, kField, field); }

public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == win::WM_SHOWWINDOW) {
            ++shows;
        }
        return win::CDialog::WindowProc(message, wParam, lParam);
    }
};

class DialogFrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&model);
    }
    void TearDown() override {
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }

    win::VirtualClock clock{1000};
    ScriptedModel model{&clock};
};

TEST_F(DialogFrameworkTest, KeyboardOfAModalDialog) {
    struct Case {
        const char* name;
        UINT key;
        std::vector<int> commands;
        intptr_t result;
    };
    const Case cases[] = {
        {"Enter presses the default button",
         win::VK_RETURN,
         {kDefaultButton, win::IDCANCEL},
         win::IDCANCEL},
        {"Esc cancels", win::VK_ESCAPE, {win::IDCANCEL}, win::IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog;
        model.PressKey(1100, c.key);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.commands, c.commands);
        EXPECT_FALSE(model.ForcedQuit());
    }
}

TEST_F(DialogFrameworkTest, InputForADisabledButtonIsLost) {
    RecordingDialog dialog;
    model.Probe(1050, [&] { dialog.GetDlgItem(kOtherButton)->EnableWindow(FALSE); });
    model.ClickButton(1100, kOtherButton);
    model.Probe(1150, [&] { dialog.GetDlgItem(kOtherButton)->EnableWindow(TRUE); });
    model.ClickButton(1200, kOtherButton);
    dialog.DoModal();
    EXPECT_EQ(model.LostInputs(), 1);
    EXPECT_EQ(dialog.commands, (std::vector<int>{kOtherButton, win::IDCANCEL}));
}

TEST_F(DialogFrameworkTest, CloseCommandCancelsAndShowIsNotifiedOnce) {
    RecordingDialog dialog;
    model.SystemCommand(1100, win::SC_CLOSE);
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(clock.Now(), 1100u);
}

TEST_F(DialogFrameworkTest, DataExchangeMovesTextsBothWays) {
    RecordingDialog dialog;
    model.Probe(1010, [&] {
        EXPECT_EQ(dialog.GetDlgItemText(kField), "") << "OnInitDialog transfers the members";
        dialog.field = "changed";
        dialog.UpdateData(FALSE);
        EXPECT_EQ(dialog.GetDlgItemText(kField), "changed");
        dialog.SetDlgItemText(kField, "typed");
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.field, "typed");
    });
    dialog.DoModal();
}

TEST_F(DialogFrameworkTest, ModelessDialogWithProgressBar) {
    win::CDialog modeless(kTestModeless);
    ASSERT_TRUE(modeless.Create(kTestModeless));
    EXPECT_TRUE(modeless.IsWindowVisible()) << "WS_VISIBLE shows it at once";
    win::CProgressCtrl bar;
    bar.Attach(win::GetDlgItem(modeless.m_hWnd, kBar));
    bar.SetRange(0, 100);
    EXPECT_EQ(bar.SetPos(40), 0);
    EXPECT_EQ(bar.SetPos(150), 40) << "the previous position comes back";
    EXPECT_EQ(bar.GetPos(), 100) << "the bar keeps its position inside its range";
    EXPECT_TRUE(modeless.DestroyWindow());
    EXPECT_FALSE(win::IsWindow(bar.m_hWnd));
    EXPECT_EQ(bar.m_hWnd, nullptr);
}

TEST_F(DialogFrameworkTest, MessageBoxDisablesItsOwnerWhileOpen) {
    RecordingDialog dialog;
    model.Probe(1010, [&] {
        win::MessageBox(dialog.m_hWnd, "text", "caption", win::MB_OK | win::MB_ICONWARNING);
        EXPECT_TRUE(dialog.IsWindowEnabled());
    });
    dialog.DoModal();
    ASSERT_EQ(model.MessageBoxes().size(), 1u);
    const win::MessageBoxRecord& box = model.MessageBoxes()[0];
    EXPECT_EQ(box.ownerTemplate, kTestDialog);
    EXPECT_EQ(box.text, "text");
    EXPECT_EQ(box.type & win::MB_ICONMASK, win::MB_ICONWARNING);
}

TEST_F(DialogFrameworkTest, PostedMessagesArriveInOrderAndDieWithTheirWindow) {
    win::CDialog modeless(kTestModeless);
    ASSERT_TRUE(modeless.Create(kTestModeless));
    win::PostMessage(modeless.m_hWnd, win::WM_APP + 1, 1, 0);
    win::PostMessage(modeless.m_hWnd, win::WM_APP + 2, 2, 0);
    win::MSG msg{};
    ASSERT_TRUE(win::PeekMessage(&msg, nullptr, 0, 0, win::PM_NOREMOVE));
    EXPECT_EQ(msg.message, win::WM_APP + 1);
    ASSERT_TRUE(win::PeekMessage(&msg, nullptr, win::WM_APP + 2, win::WM_APP + 2, win::PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u) << "the range filter picks the later message";
    modeless.DestroyWindow();
    EXPECT_FALSE(win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE));
}

TEST_F(DialogFrameworkTest, ModelEndsAModalLoopThatNeverCloses) {
    class Stubborn : public win::CDialog {
    public:
        Stubborn() : win::CDialog(kTestDialog) {}

    protected:
        void OnCancel() override {}
    };
    Stubborn dialog;
    dialog.DoModal();
    EXPECT_TRUE(model.ForcedQuit());
    win::MSG msg{};
    EXPECT_TRUE(win::PeekMessage(&msg, nullptr, win::WM_QUIT, win::WM_QUIT, win::PM_REMOVE));
}

// The tests' model fails a test whose window closed before its script was played, and one
// whose window stayed open past the moment it had to be closed by.
TEST_F(DialogFrameworkTest, AScriptNotPlayedToItsEndFailsTheTest) {
    struct Case {
        const char* name;
        std::function<void(ScriptedModel&)> script;
        std::vector<std::string> failures;  // a part of each failure's message
    };
    const Case cases[] = {
        {"played, a lost click included",
         [](ScriptedModel& scripted) {
             scripted.ClickButton(1050, 999);
             scripted.Probe(1100, [] {});
         },
         {}},
        {"closed before a probe and a key",
         [](ScriptedModel& scripted) {
             scripted.SystemCommand(1100, win::SC_CLOSE);
             scripted.Probe(1200, [] {});
             scripted.PressKey(1300, win::VK_RETURN);
         },
         {"at 1200: probe; at 1300: key"}},
        {"open when it had to be closed",
         [](ScriptedModel& scripted) { scripted.ExpectClosedBefore(1500); },
         {"still open at 1500"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::TestPartResultArray failures;
        {
            const ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &failures);
            clock.Set(1000);
            ScriptedModel scripted(&clock);
            win::SetUiBackend(&scripted);
            RecordingDialog dialog;
            c.script(scripted);
            dialog.DoModal();
            win::SetUiBackend(&model);
        }
        std::vector<std::string> messages;
        messages.reserve(static_cast<size_t>(failures.size()));
        for (int i = 0; i < failures.size(); ++i) {
            messages.push_back(failures.GetTestPartResult(i).message());
        }
        ASSERT_EQ(messages.size(), c.failures.size()) << ::testing::PrintToString(messages);
        for (size_t i = 0; i < messages.size(); ++i) {
            EXPECT_NE(messages[i].find(c.failures[i]), std::string::npos) << messages[i];
        }
    }
}

}  // namespace
