#include "cli/TimeLeft.h"

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/Resource.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "printer/UsbPort.h"

namespace cli {

namespace {

// Until an image has gone, the link is taken to move its bytes no faster than a USB full-speed
// bulk pipe can (19 packets of 64 bytes a millisecond): a printer's link is seldom slower, so
// learning its rate lowers the estimate instead of raising it.
constexpr uint64_t kAssumedBytesPerSecond = 19 * 64 * 1000;

const CProgressDlg* ProgressWindowOf(win::HWND dialog) {
    return dialog != nullptr ? dynamic_cast<const CProgressDlg*>(dialog->object) : nullptr;
}

}  // namespace

void TimeLeft::DownloadStarted(win::HWND mainWindow, int packageSet) {
    *this = TimeLeft();
    m_mainWindow = mainWindow;
    m_packageSet = packageSet;
}

void TimeLeft::DialogCreated(win::HWND dialog) {
    const CProgressDlg* progress = ProgressWindowOf(dialog);
    if (progress == nullptr || m_mainWindow == nullptr) {
        return;
    }
    if (progress->m_nCaptionId == IDS_INITIALIZING) {
        // The window has loaded the images by the time the printer enters download mode.
        if (const auto* window = dynamic_cast<const CUpdateDlg*>(m_mainWindow->object)) {
            Plan(*window);
        }
    } else if (progress->m_nCaptionId == IDS_VERSION_CHECK) {
        Reach(Milestone::VersionCheck);
    }
}

void TimeLeft::WindowChanged(win::HWND window, win::WindowChange change) {
    if (change != win::WindowChange::Text || window->Id() != IDC_PROGRESS_MESSAGE) {
        return;
    }
    const CProgressDlg* progress = ProgressWindowOf(window->parent);
    if (progress != nullptr && progress->m_nCaptionId == IDS_UPGRADE) {
        Reach(Milestone::ImageTurn);
    }
}

void TimeLeft::DataTransferred(win::HWND dialog) {
    if (dialog == m_mainWindow) {
        Reach(Milestone::Verified);
    }
}

void TimeLeft::Plan(const CUpdateDlg& window) {
    const CPackageInfo& package = window.m_package;
    const auto& images = m_packageSet == 2 ? window.m_set2Images : window.m_set1Images;
    m_stepCount = 0;
    Add(Milestone::Initializing,
        static_cast<DWORD>(package.m_nInitWait) * 1000 + CUpdateDlg::kReopenPauseMs);
    Add(Milestone::VersionCheck, CUpdateDlg::kReplyWaitMs + CUpdateDlg::kFullBarShownMs);
    for (size_t slot = 0; slot < images.size(); ++slot) {
        if (images[slot].size != 0) {
            Add(Milestone::ImageTurn,
                static_cast<DWORD>(package.m_nPrepareWait[slot]) * 1000 +
                    2 * CUsbPort::kCommandSettleMs,
                images[slot].size);
        }
    }
    // The step before the restart lasts until the rows show the versions read back after the
    // last image.
    m_steps[m_stepCount - 1].fixedMs += CUpdateDlg::kReplyWaitMs;
    Add(Milestone::Verified,
        static_cast<DWORD>(package.m_nRestartWait) * 1000 + CUpdateDlg::kFullBarShownMs);
    m_current = 0;
    m_currentStart = win::GetTickCount();
}

void TimeLeft::Add(Milestone begins, DWORD fixedMs, DWORD bytes) {
    m_steps[m_stepCount++] = {begins, fixedMs, bytes};
}

void TimeLeft::Reach(Milestone milestone) {
    if (m_current + 1 >= m_stepCount || m_steps[m_current + 1].begins != milestone) {
        return;
    }
    const DWORD now = win::GetTickCount();
    const Step& finished = m_steps[m_current];
    if (finished.bytes != 0) {
        const DWORD took = now - m_currentStart;
        m_sentBytes += finished.bytes;
        m_sendingMs += took > finished.fixedMs ? took - finished.fixedMs : 0;
    }
    ++m_current;
    m_currentStart = now;
}

DWORD TimeLeft::DurationOf(const Step& step) const {
    const uint64_t bytes = step.bytes;
    const uint64_t sendingMs = m_sentBytes != 0 ? bytes * m_sendingMs / m_sentBytes
                                                : bytes * 1000 / kAssumedBytesPerSecond;
    return step.fixedMs + static_cast<DWORD>(sendingMs);
}

std::optional<int> TimeLeft::SecondsLeft() const {
    if (m_stepCount == 0) {
        return std::nullopt;
    }
    const DWORD elapsed = win::GetTickCount() - m_currentStart;
    const DWORD current = DurationOf(m_steps[m_current]);
    uint64_t leftMs = current > elapsed ? current - elapsed : 0;
    for (size_t step = m_current + 1; step < m_stepCount; ++step) {
        leftMs += DurationOf(m_steps[step]);
    }
    return static_cast<int>((leftMs + 999) / 1000);
}

}  // namespace cli
