// The time left of whole Downloads against the simulated printer on the virtual clock, held
// against the moment each run really ended: its success box.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "app/UpdateApp.h"
#include "app/UpdateDlg.h"
#include "cli/TimeLeft.h"
#include "platform/Kernel.h"
#include "platform/ui/User.h"
#include "platform/ui/WinApp.h"
#include "tests/harness/ScriptedModel.h"
#include "tests/harness/SimulatedLibrary.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

struct Estimate {
    DWORD at;
    std::optional<int> secondsLeft;
    std::string message;  // the progress window's message line then
};

// The model backend handing what it sees of the windows to a TimeLeft as the terminal
// front-end does, and taking the estimate at each change of a progress window's controls:
// every state that a progress line can show.
class EstimatingModel final : public ScriptedModel {
public:
    using ScriptedModel::ScriptedModel;

    void DownloadStarted() override {
        timeLeft.DownloadStarted(win::AfxGetMainWnd()->m_hWnd, StartupReports().back().packageSet);
    }
    bool CreateDialogWindow(win::HWND dialog) override {
        if (!ScriptedModel::CreateDialogWindow(dialog)) {
            return false;
        }
        timeLeft.DialogCreated(dialog);
        return true;
    }
    void WindowChanged(win::HWND window, win::WindowChange change) override {
        ScriptedModel::WindowChanged(window, change);
        timeLeft.WindowChanged(window, change);
        const win::HWND progress = window->parent;
        if (progress != nullptr && progress->DialogData()->id == IDD_PROGRESS_DIALOG) {
            estimates.push_back(
                {win::GetTickCount(), timeLeft.SecondsLeft(),
                 win::GetWindowText(win::GetDlgItem(progress, IDC_PROGRESS_MESSAGE))});
        }
    }
    void DataTransferred(win::HWND dialog) override {
        ScriptedModel::DataTransferred(dialog);
        timeLeft.DataTransferred(dialog);
    }
    int ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override {
        boxShownAt = win::GetTickCount();
        return ScriptedModel::ShowMessageBox(owner, text, caption, type);
    }

    cli::TimeLeft timeLeft;
    std::vector<Estimate> estimates;
    DWORD boxShownAt = 0;
};

struct LinkCase {
    const char* name;
    const char* configuration;
};

void PrintTo(const LinkCase& c, std::ostream* out) {
    *out << c.name;
}

class TimeLeftTest : public ::testing::TestWithParam<LinkCase> {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&model);
        directory.Enter();
        ASSERT_TRUE(sim.Loaded()) << "ZELPORT.so beside the test program";
        ASSERT_TRUE(sim.Reset(GetParam().configuration));
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }

    win::VirtualClock clock{10000};
    EstimatingModel model{&clock};
    SimulatedLibrary sim{clock};
    testing_support::TemporaryDirectory directory;
};

TEST_P(TimeLeftTest, TellsFromTheFirstLineAndKeepsToTheRealEndOnceTheRateIsKnown) {
    model.ClickButton(15000, IDC_DOWNLOAD);
    CUpdateDlg dialog;
    theApp.m_pMainWnd = &dialog;
    dialog.DoModal();

    ASSERT_EQ(model.MessageBoxes().size(), 1u);
    ASSERT_EQ(model.MessageBoxes()[0].caption, kCaptionSuccess);
    const std::vector<Estimate>& estimates = model.estimates;
    ASSERT_FALSE(estimates.empty());
    const std::string secondImage = CMessageCatalogue::Load(IDS_LOADING_DATA2);
    bool rateKnown = false;
    std::optional<int> previous;
    for (const Estimate& estimate : estimates) {
        ASSERT_TRUE(estimate.secondsLeft) << "at " << estimate.at << ", the first line too";
        const int shown = *estimate.secondsLeft;
        if (previous) {
            EXPECT_LE(shown, *previous + 1) << "at " << estimate.at;
        }
        previous = shown;
        // The first image has gone when the second one's turn comes.
        rateKnown = rateKnown || estimate.message == secondImage;
        if (rateKnown) {
            // Within 5 % of the truth, besides up to a second from rounding up to whole seconds.
            const double left = model.boxShownAt - estimate.at;
            EXPECT_GE(shown * 1000.0, left * 0.95) << "at " << estimate.at;
            EXPECT_LT(shown * 1000.0, left * 1.05 + 1000) << "at " << estimate.at;
        }
    }
    EXPECT_TRUE(rateKnown);
}

INSTANTIATE_TEST_SUITE_P(Links, TimeLeftTest,
                         ::testing::Values(LinkCase{"Unlimited", "printer\n"},
                                           LinkCase{"OneAndAHalfMegabytesASecond",
                                                    "printer\nlink-rate 1500000\n"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
