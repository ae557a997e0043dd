// A presenter shared by two threads: the program's, and the signal watch's, which
// acknowledges a signal at once even while the program's thread is blocked in a call to the
// printer. Each call is shown whole, never interleaved with another.
#pragma once

#include <mutex>

#include "cli/ConsolePresenter.h"

namespace cli {

class LockedPresenter final : public ConsolePresenter {
public:
    explicit LockedPresenter(ConsolePresenter& presenter) : m_presenter(presenter) {}

    void MainWindowShown(const std::string& caption) override;
    void Rows(const MainWindowRows& rows) override;
    void MessageBox(const MessageBoxView& box) override;
    void Progress(const ProgressSnapshot& progress) override;
    void ProgressClosed() override;
    void Waiting(unsigned limitSeconds) override;
    void Ready() override;
    void DownloadStarted() override;
    void Checked(const win::StartupReport& report, const MainWindowRows& rows) override;
    void DownloadEnded(const win::RunEnd& end) override;
    void Interrupted(bool finishingDownload) override;
    void AskFor(Prompt prompt) override;
    void Finished(ExitReason reason) override;

private:
    ConsolePresenter& m_presenter;
    std::mutex m_mutex;
};

}  // namespace cli
