// The model backend presented in a terminal: it follows the windows of the system's code,
// hands what they show to a presenter, turns keys into the model's user actions, and keeps
// what the exit status needs: how each run ended, as the system's code reports it. The phases,
// which decide what is shown and when Download is pressed, follow the Download button of the
// main window: the start-up check disables it and enables it once it has passed, and each
// download keeps it disabled from its start to its end.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

#include "cli/ConsolePresenter.h"
#include "cli/TimeLeft.h"
#include "platform/console/ConsoleBackend.h"
#include "platform/console/Terminal.h"
#include "platform/kernel/EndSignals.h"

namespace cli {

struct InteractionSettings {
    bool download = false;        // press Download once, then close the main window
    bool assumeYes = false;       // acknowledge message boxes at once
    bool check = false;           // report what the start-up check found, then close; no Download
    bool waitForPrinter = false;  // while none is connected, wait for one
    DWORD waitLimitMs = 0;        // how long at most; 0: for as long as it takes
};

class CliBackend final : public console::ConsoleBackend {
public:
    // The presenter is also called from the signal watch's thread: it must be a locked one.
    CliBackend(ConsolePresenter& presenter, console::Terminal& terminal, win::EndSignals& signals,
               InteractionSettings settings);
    ~CliBackend() override;
    CliBackend(const CliBackend&) = delete;
    CliBackend& operator=(const CliBackend&) = delete;

    // Once the framework has returned: shows the end and tells why the program ends.
    ExitReason Finish();

    bool CreateDialogWindow(win::HWND dialog) override;
    void DestroyDialogWindow(win::HWND dialog) override;
    void ShowDialogWindow(win::HWND dialog, bool show) override;
    void WindowChanged(win::HWND window, win::WindowChange change) override;
    void DataTransferred(win::HWND dialog) override;
    void PollInput() override;
    void WaitForInput(win::HWND modalDialog) override;
    int ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
    void RunEnded(const win::RunEnd& end) override;
    void StartupChecked(const win::StartupReport& report) override;
    bool WaitForPrinter(DWORD waitedMs) override;

private:
    enum class Phase { Starting, StartupCheck, Ready, Downloading, Closed };

    enum class Urgency { Settled, Now };
    // Hands the windows' changes since the last call to the presenter: all of them Now, before
    // other output or when a window closes; while the program is busy, only settled ones.
    void Present(Urgency urgency = Urgency::Now);
    void TakeSignals();
    // Tells of a signal, once; again only if the download turns out to go on to its end after
    // all. Called from either thread.
    void Acknowledge(bool finishingDownload);
    ExitReason ReasonToEnd() const;
    // Why the program ends when its main window never came.
    ExitReason WithoutMainWindow() const;
    [[noreturn]] void EndAtOnce();
    void DownloadButtonChanged(bool enabled);
    void WaitForAcknowledgement();
    bool MainWindowOpen() const { return m_mainWindow != nullptr && m_phase != Phase::Closed; }

    ConsolePresenter& m_presenter;
    InteractionSettings m_settings;

    Phase m_phase = Phase::Starting;
    win::HWND m_mainWindow = nullptr;
    win::HWND m_progressWindow = nullptr;
    bool m_rowsChanged = false;
    bool m_progressChanged = false;
    MainWindowRows m_shownRows;  // blank, as the window starts
    ProgressSnapshot m_polledProgress;
    TimeLeft m_timeLeft;
    bool m_downloadModeEntered = false;  // a progress window has opened in this download
    std::optional<ExitReason> m_lastDownload;
    std::optional<win::StartupReport> m_startupReport;
    std::optional<ExitReason> m_checkEnd;  // with check: the report's verdict, once shown
    bool m_startupClosed = false;
    bool m_libraryRefused = false;
    bool m_interrupted = false;
    bool m_downloadPressed = false;
    bool m_inputEnded = false;

    // Read by the signal watch's thread.
    std::atomic<bool> m_finishingDownload{false};  // a download is under way in download mode
    std::mutex m_acknowledging;
    int m_acknowledged = 0;  // 0: not yet, 1: as a stop, 2: as a download that goes on
};

}  // namespace cli
