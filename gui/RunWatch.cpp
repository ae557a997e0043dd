#include "gui/RunWatch.h"

#include "app/Resource.h"

namespace gui {

namespace {

bool IsDialogOf(win::HWND dialog, WORD templateId) {
    return dialog != nullptr && dialog->IsDialog() && dialog->DialogData()->id == templateId;
}

}  // namespace

RunWatch::RunWatch(win::UiBackend& shown, std::string successText, std::string newestText)
    : m_shown(shown), m_successText(std::move(successText)), m_newestText(std::move(newestText)) {}

bool RunWatch::CreateDialogWindow(win::HWND dialog) {
    if (!m_shown.CreateDialogWindow(dialog)) {
        return false;
    }
    if (m_mainWindow == nullptr && IsDialogOf(dialog, IDD_UPDATE_DIALOG)) {
        m_mainWindow = dialog;
    } else if (m_download && IsDialogOf(dialog, IDD_PROGRESS_DIALOG)) {
        m_download->NoteProgressWindow();
    }
    return true;
}

void RunWatch::DestroyDialogWindow(win::HWND dialog) {
    if (dialog == m_mainWindow) {
        m_mainWindow = nullptr;
    }
    m_shown.DestroyDialogWindow(dialog);
}

void RunWatch::ShowDialogWindow(win::HWND dialog, bool show) {
    m_shown.ShowDialogWindow(dialog, show);
}

void RunWatch::WindowChanged(win::HWND window, win::WindowChange change) {
    if (m_mainWindow != nullptr && window->parent == m_mainWindow && window->Id() == IDC_DOWNLOAD &&
        change == win::WindowChange::Enabled) {
        DownloadButtonChanged(window->enabled);
    }
    m_shown.WindowChanged(window, change);
}

void RunWatch::DownloadButtonChanged(bool enabled) {
    // The start-up check enables Download once it has passed; a download disables it from its
    // start to its end.
    if (!m_ready) {
        m_ready = enabled;
    } else if (!enabled && !m_download) {
        m_download.emplace(m_successText, m_newestText);
    } else if (enabled && m_download) {
        m_lastDownload = m_download->Reason();
        m_download.reset();
    }
}

void RunWatch::DataTransferred(win::HWND dialog) {
    m_shown.DataTransferred(dialog);
}

void RunWatch::PollInput() {
    m_shown.PollInput();
}

void RunWatch::WaitForInput(win::HWND modalDialog) {
    m_shown.WaitForInput(modalDialog);
}

void RunWatch::DrawIcon(win::HWND dialog, int x, int y, win::HICON icon) {
    m_shown.DrawIcon(dialog, x, y, icon);
}

int RunWatch::ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                             UINT type) {
    if (m_download) {
        m_download->NoteMessage(text);
    }
    return m_shown.ShowMessageBox(owner, text, caption, type);
}

}  // namespace gui
