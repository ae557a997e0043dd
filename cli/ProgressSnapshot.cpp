#include "cli/ProgressSnapshot.h"

#include "app/Resource.h"
#include "platform/ui/User.h"

namespace cli {

ProgressSnapshot ProgressSnapshot::Read(win::HWND progressWindow) {
    ProgressSnapshot snapshot;
    snapshot.caption = win::GetWindowText(progressWindow);
    snapshot.message = win::GetWindowText(win::GetDlgItem(progressWindow, IDC_PROGRESS_MESSAGE));
    snapshot.percentText =
        win::GetWindowText(win::GetDlgItem(progressWindow, IDC_PROGRESS_PERCENT));
    const win::HWND bar = win::GetDlgItem(progressWindow, IDC_PROGRESS_BAR);
    if (bar != nullptr && bar->progress.upper > bar->progress.lower) {
        const win::ProgressState& state = bar->progress;
        snapshot.barPercent = (state.position - state.lower) * 100 / (state.upper - state.lower);
    }
    return snapshot;
}

}  // namespace cli
