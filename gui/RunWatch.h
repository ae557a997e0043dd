// The windows' backend as rxt9-update installs it: everything passes to the backend that shows
// the windows, and on the way the downloads are followed as the console front-end follows
// them, by the main window's Download button, the progress window and the messages shown, so
// that the program's exit status can tell how the last one ended.
#pragma once

#include <optional>
#include <string>

#include "cli/RunOutcome.h"
#include "platform/ui/UiBackend.h"

namespace gui {

class RunWatch final : public win::UiBackend {
public:
    RunWatch(win::UiBackend& shown, std::string successText, std::string newestText);

    // How the last download that ended came out; empty before the first one ends.
    std::optional<cli::ExitReason> LastDownload() const { return m_lastDownload; }

    bool CreateDialogWindow(win::HWND dialog) override;
    void DestroyDialogWindow(win::HWND dialog) override;
    void ShowDialogWindow(win::HWND dialog, bool show) override;
    void WindowChanged(win::HWND window, win::WindowChange change) override;
    void DataTransferred(win::HWND dialog) override;
    void PollInput() override;
    void WaitForInput(win::HWND modalDialog) override;
    void DrawIcon(win::HWND dialog, int x, int y, win::HICON icon) override;
    int ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;

private:
    void DownloadButtonChanged(bool enabled);

    win::UiBackend& m_shown;
    std::string m_successText;
    std::string m_newestText;
    win::HWND m_mainWindow = nullptr;
    bool m_ready = false;  // the start-up check has passed
    std::optional<cli::RunOutcome> m_download;
    std::optional<cli::ExitReason> m_lastDownload;
};

}  // namespace gui
