#include "cli/LockedPresenter.h"

namespace cli {

void LockedPresenter::MainWindowShown(const std::string& caption) {
    std::lock_guard lock(m_mutex);
    m_presenter.MainWindowShown(caption);
}

void LockedPresenter::Rows(const MainWindowRows& rows) {
    std::lock_guard lock(m_mutex);
    m_presenter.Rows(rows);
}

void LockedPresenter::MessageBox(const MessageBoxView& box) {
    std::lock_guard lock(m_mutex);
    m_presenter.MessageBox(box);
}

void LockedPresenter::Progress(const ProgressSnapshot& progress) {
    std::lock_guard lock(m_mutex);
    m_presenter.Progress(progress);
}

void LockedPresenter::ProgressClosed() {
    std::lock_guard lock(m_mutex);
    m_presenter.ProgressClosed();
}

void LockedPresenter::Checked(const win::StartupReport& report, const MainWindowRows& rows) {
    std::lock_guard lock(m_mutex);
    m_presenter.Checked(report, rows);
}

void LockedPresenter::Waiting(unsigned limitSeconds) {
    std::lock_guard lock(m_mutex);
    m_presenter.Waiting(limitSeconds);
}

void LockedPresenter::Ready() {
    std::lock_guard lock(m_mutex);
    m_presenter.Ready();
}

void LockedPresenter::DownloadStarted() {
    std::lock_guard lock(m_mutex);
    m_presenter.DownloadStarted();
}

void LockedPresenter::DownloadEnded(const win::RunEnd& end) {
    std::lock_guard lock(m_mutex);
    m_presenter.DownloadEnded(end);
}

void LockedPresenter::Interrupted(bool finishingDownload) {
    std::lock_guard lock(m_mutex);
    m_presenter.Interrupted(finishingDownload);
}

void LockedPresenter::AskFor(Prompt prompt) {
    std::lock_guard lock(m_mutex);
    m_presenter.AskFor(prompt);
}

void LockedPresenter::Finished(ExitReason reason) {
    std::lock_guard lock(m_mutex);
    m_presenter.Finished(reason);
}

}  // namespace cli
