// The Qt 6 Widgets backend of the dialog framework: each dialog is a DialogWidget, message
// boxes are QMessageBoxes, and the framework's pump runs Qt's event loop: PollInput processes
// the pending events without waiting, WaitForInput sleeps until the next one arrives.
// A QApplication must exist while the backend is installed.
//
// When the display goes away the program goes on without windows, so that a run in progress
// ends as it would on screen, with the printer restarted: message boxes are written to stderr
// and answered with OK, no new window opens, and each modal dialog is closed when it waits for
// the user, which ends the program.
//
// A signal that would end the program (see EndSignals) is taken the same way, so that a run
// in progress goes on to its end with the printer restarted: the main window is asked to
// close, which stops a run that has not put the printer into download mode yet, and from then
// on message boxes are answered at once and written to stderr, and the open windows say in
// their titles that the tool closes once it has finished.
#pragma once

#include <functional>
#include <string>

#include "platform/kernel/EndSignals.h"
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
    // Takes the signals of the watch as requests to end; the watch outlives the backend.
    void WatchEndSignals(EndSignals& endSignals);
    // The session or a signal asked the program to end.
    void RequestEnd();
    bool EndRequested() const { return m_endRequested; }

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
    void TakeEndSignals();
    // Nobody is expected to answer a window any more: the display is gone or an end was asked.
    bool Unattended() { return DisplayLost() || m_endRequested; }
    void MarkClosing(HWND dialog) const;
    static void WriteMessageBox(const std::string& text, const std::string& caption);

    std::function<bool()> m_displayBroken;
    std::function<void()> m_firstShown;
    bool m_displayLost = false;
    EndSignals* m_endSignals = nullptr;
    bool m_endRequested = false;
    HWND m_closedWithoutDisplay = nullptr;
};

}  // namespace win
