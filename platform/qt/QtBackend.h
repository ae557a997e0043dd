// The Qt 6 Widgets backend of the dialog framework: each dialog is a DialogWidget, message
// boxes are QMessageBoxes, and the framework's pump runs Qt's event loop: PollInput processes
// the pending events without waiting, WaitForInput sleeps until the next one arrives.
// A QApplication must exist while the backend is installed.
//
// When the display goes away the program goes on without windows, so that a run in progress
// ends as it would on screen, with the printer restarted: message boxes are written to stderr
// and answered with OK, no new window opens, and each modal dialog is closed when it waits for
// the user, which ends the program.
#pragma once

#include <functional>
#include <string>

#include "platform/qt/DisplayConnection.h"
#include "platform/ui/UiBackend.h"

class QMessageBox;

namespace win {

class DialogWidget;

class QtBackend final : public UiBackend {
public:
    // displayBroken tells whether the connection to the display has broken.
    explicit QtBackend(std::function<bool()> displayBroken = DisplayConnection::Broken)
        : m_displayBroken(std::move(displayBroken)) {}
    ~QtBackend() override = default;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // The Qt window of a dialog; null when it has none.
    static DialogWidget* WidgetOf(HWND dialog);
    // Runs once, when the first window has come on screen.
    void OnFirstWindowShown(std::function<void()> observer) { m_firstShown = std::move(observer); }
    // Checks the display; once lost, it stays lost.
    bool DisplayLost();

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
    void RunMessageBox(QMessageBox& box);
    static void WriteMessageBox(const std::string& text, const std::string& caption);

    std::function<bool()> m_displayBroken;
    std::function<void()> m_firstShown;
    bool m_displayLost = false;
    HWND m_closedWithoutDisplay = nullptr;
};

}  // namespace win
