#include "cli/CliBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/DataSlotFacts.h"
#include "app/Resource.h"
#include "platform/Kernel.h"
#include "platform/ui/User.h"

namespace cli {

namespace {

constexpr int kInterruptedStatus = 130;
constexpr int kLastOutputWaitMs = 1000;

bool IsPackageField(int id) {
    return std::any_of(kDataSlotFacts.begin(), kDataSlotFacts.end(),
                       [id](const DataSlotFacts& item) {
                           return item.package.version == id || item.package.checksum == id;
                       });
}

}  // namespace

CliBackend::CliBackend(ConsolePresenter& presenter, console::Terminal& terminal,
                       win::EndSignals& signals, InteractionSettings settings)
    : ConsoleBackend(terminal, signals), m_presenter(presenter), m_settings(settings) {
    // A call to the printer may block the program's thread up to the library's time limit:
    // the signal is told of at once all the same.
    m_signals.OnArrival([this](int) { Acknowledge(m_finishingDownload.load()); });
}

CliBackend::~CliBackend() {
    m_signals.OnArrival(nullptr);
}

bool CliBackend::CreateDialogWindow(win::HWND dialog) {
    if (!ModelBackend::CreateDialogWindow(dialog)) {
        return false;
    }
    if (m_mainWindow == nullptr && IsDialogOf(dialog, IDD_UPDATE_DIALOG)) {
        m_mainWindow = dialog;
        m_phase = Phase::StartupCheck;
    } else if (IsDialogOf(dialog, IDD_PROGRESS_DIALOG)) {
        m_progressWindow = dialog;
        if (m_phase == Phase::Downloading) {
            m_downloadModeEntered = true;
            m_finishingDownload = true;
            m_timeLeft.DialogCreated(dialog);
        }
    }
    return true;
}

void CliBackend::DestroyDialogWindow(win::HWND dialog) {
    Present();
    if (dialog == m_progressWindow) {
        m_progressWindow = nullptr;
        m_presenter.ProgressClosed();
    } else if (dialog == m_mainWindow) {
        m_phase = Phase::Closed;
    }
    ModelBackend::DestroyDialogWindow(dialog);
}

void CliBackend::ShowDialogWindow(win::HWND dialog, bool show) {
    if (show && dialog == m_mainWindow) {
        m_presenter.MainWindowShown(dialog->text);
    } else if (dialog == m_progressWindow) {
        m_progressChanged = true;
    }
    ModelBackend::ShowDialogWindow(dialog, show);
}

void CliBackend::WindowChanged(win::HWND window, win::WindowChange change) {
    ModelBackend::WindowChanged(window, change);
    m_timeLeft.WindowChanged(window, change);
    const bool shownChange =
        change == win::WindowChange::Text || change == win::WindowChange::Progress;
    if (m_progressWindow != nullptr && shownChange &&
        (window == m_progressWindow || window->parent == m_progressWindow)) {
        m_progressChanged = true;
    }
    if (!MainWindowOpen() || window->parent != m_mainWindow) {
        return;
    }
    if (window->Id() == IDC_DOWNLOAD && change == win::WindowChange::Enabled) {
        DownloadButtonChanged(window->enabled);
    } else if (change == win::WindowChange::Text && IsPackageField(window->Id())) {
        // The package row is written directly, not through the data transfer.
        m_rowsChanged = true;
    }
}

void CliBackend::DataTransferred(win::HWND dialog) {
    ModelBackend::DataTransferred(dialog);
    m_timeLeft.DataTransferred(dialog);
    if (dialog == m_mainWindow) {
        m_rowsChanged = true;
    }
}

void CliBackend::DownloadButtonChanged(bool enabled) {
    switch (m_phase) {
        case Phase::StartupCheck:
            if (enabled) {
                Present();
                m_phase = Phase::Ready;
                m_presenter.Ready();
            }
            return;
        case Phase::Ready:
            if (!enabled) {
                Present();
                m_phase = Phase::Downloading;
                m_downloadModeEntered = false;
                m_timeLeft.DownloadStarted(m_mainWindow,
                                           m_startupReport ? m_startupReport->packageSet : 0);
                m_presenter.DownloadStarted();
            }
            return;
        case Phase::Downloading:
            if (enabled) {
                Present();
                m_phase = Phase::Ready;
                m_finishingDownload = false;
            }
            return;
        case Phase::Starting:
        case Phase::Closed:
            return;
    }
}

void CliBackend::Present(Urgency urgency) {
    if (m_rowsChanged && MainWindowOpen()) {
        m_rowsChanged = false;
        const MainWindowRows rows = MainWindowRows::Read(m_mainWindow);
        if (rows != m_shownRows) {
            m_shownRows = rows;
            m_presenter.Rows(rows);
        }
    }
    if (m_progressChanged && m_progressWindow != nullptr && m_progressWindow->visible) {
        // A progress window is set up in a burst of changes with messages processed in
        // between (its first position pumps messages before it is set); a state is shown
        // once it has stayed the same from one look to the next, so that the burst's halfway
        // states do not show.
        ProgressSnapshot progress = ProgressSnapshot::Read(m_progressWindow);
        progress.secondsLeft = m_timeLeft.SecondsLeft();
        if (urgency == Urgency::Now || progress == m_polledProgress) {
            m_progressChanged = false;
            m_presenter.Progress(progress);
        }
        m_polledProgress = progress;
    }
}

void CliBackend::TakeSignals() {
    while (m_signals.Take() != 0) {
        switch (m_phase) {
            case Phase::Downloading:
                if (!m_interrupted) {
                    m_interrupted = true;
                    Present();
                    const bool finishing = m_downloadModeEntered;
                    Acknowledge(finishing);
                    if (!finishing) {
                        // The run stops before it puts the printer into download mode.
                        CloseWindow();
                    }
                }
                break;
            case Phase::Ready:
                // The main window closes at its next wait for input.
                if (!m_interrupted) {
                    m_interrupted = true;
                    Present();
                    Acknowledge(false);
                }
                break;
            case Phase::Starting:
            case Phase::StartupCheck:
            case Phase::Closed:
                // The printer is not in download mode outside a download: nothing to finish.
                EndAtOnce();
        }
    }
}

void CliBackend::Acknowledge(bool finishingDownload) {
    const int said = finishingDownload ? 2 : 1;
    std::lock_guard lock(m_acknowledging);
    if (said > m_acknowledged) {
        m_acknowledged = said;
        m_presenter.Interrupted(finishingDownload);
    }
}

void CliBackend::EndAtOnce() {
    Present();
    Acknowledge(false);
    m_presenter.Finished(ExitReason::Interrupted);
    m_terminal.RestoreMode();
    // A terminal that takes no output must not keep the program from ending.
    m_terminal.DrainOutput(m_signals.Descriptor(), kLastOutputWaitMs);
    std::_Exit(kInterruptedStatus);
}

void CliBackend::PollInput() {
    TakeSignals();
    ModelBackend::PollInput();
    Present(Urgency::Settled);
}

void CliBackend::WaitForInput(win::HWND modalDialog) {
    TakeSignals();
    Present();
    if (modalDialog != m_mainWindow || m_phase != Phase::Ready || m_interrupted) {
        CloseWindow();
        return;
    }
    if (m_settings.check) {
        if (m_startupReport) {
            m_presenter.Checked(*m_startupReport, m_shownRows);
            m_checkEnd =
                m_startupReport->updateApplies ? ExitReason::UpdateApplies : ExitReason::UpToDate;
        }
        CloseWindow();
        return;
    }
    if (m_settings.download) {
        if (m_downloadPressed) {
            CloseWindow();
        } else {
            m_downloadPressed = true;
            PressButton(IDC_DOWNLOAD);
        }
        return;
    }
    if (m_terminal.InputIsTerminal() && !m_inputEnded) {
        m_terminal.DiscardTypeAhead();
        m_presenter.AskFor(Prompt::MainWindow);
    }
    for (;;) {
        switch (WaitForKey()) {
            case console::Key::Enter:
                PressButton(IDC_DOWNLOAD);
                return;
            case console::Key::Escape:
            case console::Key::Quit:
                CloseWindow();
                return;
            case console::Key::EndOfInput:
                m_inputEnded = true;
                CloseWindow();
                return;
            case console::Key::Signal:
                TakeSignals();
                if (m_interrupted) {
                    CloseWindow();
                    return;
                }
                break;
        }
    }
}

int CliBackend::ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                               UINT type) {
    Present();
    m_presenter.MessageBox({caption, text, console::IconOf(type)});
    if (m_terminal.InputIsTerminal() && !m_settings.assumeYes && !m_inputEnded && !m_interrupted) {
        WaitForAcknowledgement();
    }
    return ModelBackend::ShowMessageBox(owner, text, caption, type);
}

void CliBackend::WaitForAcknowledgement() {
    m_terminal.DiscardTypeAhead();
    m_presenter.AskFor(Prompt::MessageBox);
    for (;;) {
        switch (WaitForKey()) {
            case console::Key::Enter:
            case console::Key::Escape:
                return;
            case console::Key::EndOfInput:
                m_inputEnded = true;
                return;
            case console::Key::Quit:
                break;
            case console::Key::Signal:
                // Outside a download this ends the program; during one, the boxes that
                // remain are acknowledged at once so that it can reach its end.
                TakeSignals();
                if (m_interrupted) {
                    return;
                }
                break;
        }
    }
}

void CliBackend::RunEnded(const win::RunEnd& end) {
    Present();
    if (end.versionsNotText) {
        m_terminal.WriteError(
            "rxt9-update-cli: the printer reports versions that are no text, as erased "
            "firmware does: an earlier update may have been cut off. '-frcdlm' forces the "
            "download of package set 1.\n");
    }
    switch (end.result) {
        case win::RunEnd::Result::LibraryRefused:
            m_libraryRefused = true;
            return;
        case win::RunEnd::Result::StartupCheckClosed:
            m_startupClosed = true;
            return;
        default:
            m_presenter.DownloadEnded(end);
            m_lastDownload = ExitReasonOf(end);
            return;
    }
}

void CliBackend::StartupChecked(const win::StartupReport& report) {
    m_startupReport = report;
}

bool CliBackend::WaitForPrinter(DWORD waitedMs) {
    if (!m_settings.waitForPrinter ||
        (m_settings.waitLimitMs != 0 && waitedMs >= m_settings.waitLimitMs)) {
        return false;
    }
    if (waitedMs == 0) {
        Present();
        m_presenter.Waiting(m_settings.waitLimitMs / 1000);
    }
    return true;
}

ExitReason CliBackend::WithoutMainWindow() const {
    switch (win::LastMutexOutcome()) {
        case win::MutexOutcome::HeldElsewhere:
            return ExitReason::AlreadyRunning;
        case win::MutexOutcome::Failed:
            // The kernel has said why on stderr.
            return ExitReason::LockFailed;
        case win::MutexOutcome::NotCreated:
        case win::MutexOutcome::Owned:
            break;
    }
    m_terminal.WriteError("rxt9-update-cli: the main window could not be created\n");
    return ExitReason::WindowFailed;
}

ExitReason CliBackend::ReasonToEnd() const {
    if (m_libraryRefused) {
        return ExitReason::LibraryRefused;
    }
    if (m_mainWindow == nullptr) {
        return WithoutMainWindow();
    }
    if (m_lastDownload == ExitReason::Failed) {
        // A failed download is told as such, interrupted or not.
        return ExitReason::Failed;
    }
    if (m_interrupted) {
        return ExitReason::Interrupted;
    }
    if (m_startupClosed) {
        return ExitReason::StartupClosed;
    }
    if (m_checkEnd) {
        return *m_checkEnd;
    }
    return m_lastDownload.value_or(ExitReason::ClosedBeforeRun);
}

ExitReason CliBackend::Finish() {
    Present();
    // All that the run wrote reaches the output before the status is chosen, unless a signal
    // comes while the output is stalled: the program then ends without waiting longer.
    const bool drained = m_terminal.DrainOutput(m_signals.Descriptor());
    if (!drained) {
        while (m_signals.Take() != 0) {
        }
        m_interrupted = true;
        Acknowledge(false);
    }
    ExitReason reason = ReasonToEnd();
    const int outputError = m_terminal.OutputError();
    // A reader that has gone (a closed pipe) chose to read no more; any other error means the
    // output is lost, which only a failure or an interrupt outranks.
    if (outputError != 0 && outputError != EPIPE && reason != ExitReason::Failed &&
        reason != ExitReason::Interrupted) {
        m_terminal.WriteError(std::string("rxt9-update-cli: standard output cannot be written: ") +
                              std::strerror(outputError) + "\n");
        reason = ExitReason::OutputFailed;
    }
    m_presenter.Finished(reason);
    m_terminal.DrainOutput(m_signals.Descriptor(), drained ? -1 : kLastOutputWaitMs);
    return reason;
}

}  // namespace cli
