#include "platform/win32/Win32Backend.h"

#include <iostream>

#include "platform/ui/User.h"
#include "platform/ui/WinApp.h"
#include "platform/win32/NativeDialog.h"
#include "platform/win32/NativeWindows.h"

namespace win {

namespace {

HWND TopLevelOf(HWND window) {
    return window->parent != nullptr ? window->parent : window;
}

NativeDialog* DialogOf(HWND window) {
    if (!IsWindow(window)) {
        return nullptr;
    }
    return static_cast<NativeDialog*>(TopLevelOf(window)->backendData);
}

}  // namespace

Win32Backend::Win32Backend() {
    win32::NativeWindows::InitialiseControls();
}

void* Win32Backend::NativeOf(HWND window) {
    NativeDialog* dialog = DialogOf(window);
    return dialog != nullptr ? dialog->NativeOf(window) : nullptr;
}

bool Win32Backend::CreateDialogWindow(HWND dialog) {
    auto* native = new NativeDialog(dialog, *this);
    if (!native->Create(DialogOf(dialog->owner))) {
        delete native;
        return false;
    }
    dialog->backendData = native;
    // The record starts with its template's state; controls the template hides or disables
    // are so in the real dialog too, as user32 built it from the same styles.
    return true;
}

void Win32Backend::DestroyDialogWindow(HWND dialog) {
    delete static_cast<NativeDialog*>(dialog->backendData);
    dialog->backendData = nullptr;
}

void Win32Backend::ShowDialogWindow(HWND dialog, bool show) {
    NativeDialog* native = DialogOf(dialog);
    if (native == nullptr) {
        return;
    }
    if (show) {
        native->AppendNewMenuItems();
    }
    win32::NativeWindows::Show(native->Native(), show);
}

void Win32Backend::WindowChanged(HWND window, WindowChange change) {
    void* native = NativeOf(window);
    if (native == nullptr) {
        return;
    }
    switch (change) {
        case WindowChange::Text:
            win32::NativeWindows::SetText(native, window->text);
            break;
        case WindowChange::Enabled:
            win32::NativeWindows::Enable(native, window->enabled);
            break;
        case WindowChange::Visible:
            win32::NativeWindows::Show(native, window->visible);
            break;
        case WindowChange::Progress:
            win32::NativeWindows::SetProgress(native, window->progress.lower,
                                              window->progress.upper, window->progress.position,
                                              window->progress.step);
            break;
        case WindowChange::Icon:
            for (const bool big : {true, false}) {
                HICON icon = big ? window->bigIcon : window->smallIcon;
                if (icon != nullptr) {
                    win32::NativeWindows::SetIcon(native, icon->id, big);
                }
            }
            break;
        case WindowChange::Focus:
            if (TopLevelOf(window)->focus != nullptr) {
                win32::NativeWindows::Focus(NativeOf(TopLevelOf(window)->focus));
            }
            break;
        case WindowChange::Minimised:
            win32::NativeWindows::Minimise(native, window->minimised);
            break;
    }
}

void Win32Backend::DataTransferred(HWND dialog) {
    // The texts went to the controls one by one, each as it changed.
    NativeDialog* native = DialogOf(dialog);
    if (native != nullptr) {
        native->AppendNewMenuItems();
    }
}

void Win32Backend::PollInput() {
    if (!win32::NativeWindows::PumpPending()) {
        PostQuitMessage(0);
    }
}

void Win32Backend::DownloadStarted() {
    m_downloadRunning = true;
}

void Win32Backend::RunEnded(const RunEnd& end) {
    if (end.result != RunEnd::Result::StartupCheckClosed &&
        end.result != RunEnd::Result::LibraryRefused) {
        m_downloadRunning = false;
    }
}

void Win32Backend::WaitForInput(HWND modalDialog) {
    if (m_endRequested) {
        // The program is to end: the dialog is closed, and one that refuses to close ends the
        // program's message loops.
        if (modalDialog == m_closedModal) {
            PostQuitMessage(1);
            return;
        }
        m_closedModal = modalDialog;
        PostMessage(modalDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    win32::NativeWindows::WaitForMessages();
}

bool Win32Backend::QueryEndSession() {
    if (!m_downloadRunning) {
        return true;
    }
    RequestEnd();
    if (CWnd* main = AfxGetMainWnd(); main != nullptr) {
        win32::NativeWindows::BlockShutdown(
            NativeOf(main->m_hWnd),
            L"The printer is being updated. The update tool closes once "
            L"the update has finished and the printer has restarted.");
    }
    return false;
}

void Win32Backend::EndSession() {
    RequestEnd();
}

void Win32Backend::EndSessionCancelled() {
    m_endRequested = false;
    m_closedModal = nullptr;
    if (CWnd* main = AfxGetMainWnd(); main != nullptr) {
        win32::NativeWindows::UnblockShutdown(NativeOf(main->m_hWnd));
    }
}

void Win32Backend::RequestEnd() {
    if (m_endRequested) {
        return;
    }
    m_endRequested = true;
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && IsWindow(main->m_hWnd)) {
        PostMessage(main->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void Win32Backend::DrawIcon(HWND dialog, int x, int y, HICON icon) {
    void* native = NativeOf(dialog);
    if (native != nullptr && icon != nullptr) {
        win32::NativeWindows::DrawIcon(native, x, y, icon->id);
    }
}

int Win32Backend::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                                 UINT type) {
    if (m_endRequested) {
        // Nobody is expected to answer once the session ends.
        std::cerr << caption << ": " << text << '\n';
        return IDOK;
    }
    return win32::NativeWindows::ShowMessageBox(NativeOf(owner), text, caption, type);
}

}  // namespace win
