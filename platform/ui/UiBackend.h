// What a backend of the dialog framework provides: it renders the windows, turns the host's
// input into posted messages and shows message boxes. The framework calls it on its one
// thread; the backend is installed before the application starts.
#pragma once

#include <string>

#include "platform/ui/RunEnd.h"
#include "platform/ui/StartupReport.h"
#include "platform/ui/Window.h"

namespace win {

enum class WindowChange { Text, Enabled, Visible, Progress, Icon, Focus, Minimised };

class UiBackend {
public:
    virtual ~UiBackend() = default;

    // Called once a dialog and its controls exist; false when the host cannot show it.
    virtual bool CreateDialogWindow(HWND dialog) = 0;
    virtual void DestroyDialogWindow(HWND dialog) = 0;
    // The backend calls NotifyWindowShown once the window is really on screen.
    virtual void ShowDialogWindow(HWND dialog, bool show) = 0;
    virtual void WindowChanged(HWND window, WindowChange change) = 0;
    // UpdateData(FALSE) has transferred a dialog's texts to its controls.
    virtual void DataTransferred(HWND /*dialog*/) {}
    // Turns pending host input into posted messages; never blocks.
    virtual void PollInput() = 0;
    // The modal loop of dialog has nothing to do: block until input may have arrived.
    virtual void WaitForInput(HWND modalDialog) = 0;
    // Paints an icon into a dialog's client area (the picture of a minimised window).
    virtual void DrawIcon(HWND dialog, int x, int y, HICON icon) = 0;
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                               UINT type) = 0;
    // Optional: true when the host's box disables its owner and enables it again itself, as
    // MessageBoxA does; otherwise the framework disables the owner's record around the box.
    virtual bool BoxDisablesItsOwner() const { return false; }
    // Optional: a press of Download has started a run, which ends with RunEnded.
    virtual void DownloadStarted() {}
    // Optional: the program says how one of its runs ended, once per run. A backend that
    // shows only windows has no use for it.
    virtual void RunEnded(const RunEnd& /*end*/) {}
    // Optional: the start-up check has passed, and what it found.
    virtual void StartupChecked(const StartupReport& /*report*/) {}
    // Optional: the start-up check has found no printer, `waitedMs` after it first looked (0
    // at the first ask).
    // True to wait for one: the check counts again a second later. A backend that shows only
    // windows never waits, and the check closes with its message.
    virtual bool WaitForPrinter(DWORD /*waitedMs*/) { return false; }
};

void SetUiBackend(UiBackend* backend);
UiBackend& CurrentUiBackend();

// For backends: a dialog has become visible on screen.
void NotifyWindowShown(HWND dialog);

}  // namespace win
