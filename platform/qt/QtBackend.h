// The Qt 6 Widgets backend of the dialog framework: each dialog is a DialogWidget, message
// boxes are QMessageBoxes, and the framework's pump runs Qt's event loop: PollInput processes
// the pending events without waiting, WaitForInput sleeps until the next one arrives.
// A QApplication must exist while the backend is installed.
#pragma once

#include <functional>

#include "platform/ui/UiBackend.h"

namespace win {

class DialogWidget;

class QtBackend final : public UiBackend {
public:
    QtBackend() = default;
    ~QtBackend() override = default;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // The Qt window of a dialog; null when it has none.
    static DialogWidget* WidgetOf(HWND dialog);
    // Runs once, when the first window has come on screen.
    void OnFirstWindowShown(std::function<void()> observer) { m_firstShown = std::move(observer); }

    bool CreateDialogWindow(HWND dialog) override;
    void DestroyDialogWindow(HWND dialog) override;
    void ShowDialogWindow(HWND dialog, bool show) override;
    void WindowChanged(HWND window, WindowChange change) override;
    void PollInput() override;
    void WaitForInput(HWND modalDialog) override;
    void DrawIcon(HWND dialog, int x, int y, HICON icon) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;

private:
    // The framework hears of a window coming on screen only here, outside Qt's event
    // delivery, so that its handlers never run inside a Qt event handler.
    void DeliverShownNotices();

    std::function<void()> m_firstShown;
};

}  // namespace win
