// The Windows backend of the dialog framework: each dialog record is a real user32 dialog
// built from an in-memory template, controls are the real static, button and progress bar
// controls, message boxes are MessageBoxA, and the framework's pump runs the thread's real
// queue (PeekMessage, IsDialogMessage, TranslateMessage, DispatchMessage) before it looks at
// its own.
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

    bool CreateDialogWindow(HWND dialog) override;
    void DestroyDialogWindow(HWND dialog) override;
    void ShowDialogWindow(HWND dialog, bool show) override;
    void WindowChanged(HWND window, WindowChange change) override;
    void DataTransferred(HWND dialog) override;
    void PollInput() override;
    void WaitForInput(HWND modalDialog) override;
    void DrawIcon(HWND dialog, int x, int y, HICON icon) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
};

}  // namespace win
