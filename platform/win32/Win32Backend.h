// The Windows backend of the dialog framework: each dialog record is a real user32 dialog
// built from an in-memory template, controls are the real static, button and progress bar
// controls, message boxes are MessageBoxA, and the framework's pump runs the thread's real
// queue (PeekMessage, IsDialogMessage, TranslateMessage, DispatchMessage) before it looks at
// its own. Enter and Esc are posted to the framework's queue instead, as the other backends
// post them, so that only the loops that offer a message to a dialog's keyboard processing
// (a modal dialog's own, the progress window's) let them press a button: never the waits.
//
// The end of the session is taken as Windows programs take it: while a handler of the program
// runs (a Download, its waits and its message boxes) the session may not end yet. The main
// window is then asked to close, which stops a run that has not put the printer into download
// mode yet and otherwise lets it finish, restart included; from then on message boxes are
// answered at once, and the program ends with the run. With no handler running, the session
// may end, and the main window closes as it ends.
#pragma once

#include <string>

#include "platform/ui/UiBackend.h"

namespace win {

class Win32Backend final : public UiBackend {
public:
    Win32Backend();
    ~Win32Backend() override = default;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // The real window of a dialog record or control; null when it has none.
    static void* NativeOf(HWND window);

    // WM_QUERYENDSESSION: true when the session may end now, which is whenever no Download
    // runs; during one the end is refused, and the program closes once the run has ended.
    bool QueryEndSession();
    // WM_ENDSESSION: the session ends.
    void EndSession();
    // WM_ENDSESSION with FALSE: the end that was refused did not come. The run's boxes are
    // shown again, and the program closes after the run as it was asked to.
    void EndSessionCancelled();
    // The session asked the program to end and did not take it back: the program's exit
    // status says so, as after a signal elsewhere.
    bool EndRequested() const { return m_endRequested; }

    bool CreateDialogWindow(HWND dialog) override;
    void DestroyDialogWindow(HWND dialog) override;
    void ShowDialogWindow(HWND dialog, bool show) override;
    void WindowChanged(HWND window, WindowChange change) override;
    void DataTransferred(HWND dialog) override;
    void PollInput() override;
    void DownloadStarted() override;
    void RunEnded(const RunEnd& end) override;
    void WaitForInput(HWND modalDialog) override;
    void DrawIcon(HWND dialog, int x, int y, HICON icon) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
    // MessageBoxA enables the owner before the box is destroyed, so that Windows activates
    // the owner again rather than another program's window.
    bool BoxDisablesItsOwner() const override { return true; }

private:
    void RequestEnd();

    bool m_downloadRunning = false;
    bool m_endRequested = false;
    HWND m_closedModal = nullptr;
};

}  // namespace win
