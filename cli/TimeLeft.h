// How long the running Download has left: the printer's fixed waits, from the package table
// that the main window holds and the pauses of its sequence, and the bytes of the images it
// loaded over the rate that the link has shown in this run. It follows the run through what
// the backend sees of the windows: each progress window that opens, each image's turn in the
// Upgrade window (its message line is set) and the rows of the verified printer. Until such a
// sign comes, the estimate counts the current step down and then holds, so that a step that
// takes longer than planned never makes the estimate rise when its end shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/ui/UiBackend.h"
#include "printer/PrinterProtocol.h"

class CUpdateDlg;

namespace cli {

class TimeLeft {
public:
    // Download was pressed in the main window; the start-up check found packageSet to apply.
    void DownloadStarted(win::HWND mainWindow, int packageSet);
    void DialogCreated(win::HWND dialog);
    void WindowChanged(win::HWND window, win::WindowChange change);
    void DataTransferred(win::HWND dialog);

    // Whole seconds left, rounded up; none before the Download's first progress window.
    std::optional<int> SecondsLeft() const;

private:
    // The signs in the windows that a step of the Download has begun.
    enum class Milestone { Initializing, VersionCheck, ImageTurn, Verified };
    struct Step {
        Milestone begins;
        DWORD fixedMs;
        DWORD bytes;
    };

    void Plan(const CUpdateDlg& window);
    void Add(Milestone begins, DWORD fixedMs, DWORD bytes = 0);
    // Moves on when the milestone begins the next step; others, such as the rows that the
    // version check clears, are no sign of it.
    void Reach(Milestone milestone);
    DWORD DurationOf(const Step& step) const;

    win::HWND m_mainWindow = nullptr;
    int m_packageSet = 0;
    std::array<Step, kDataSlotCount + 3> m_steps{};
    size_t m_stepCount = 0;
    size_t m_current = 0;
    DWORD m_currentStart = 0;
    // The images sent so far, and how long they took beyond the fixed waits of their steps.
    uint64_t m_sentBytes = 0;
    uint64_t m_sendingMs = 0;
};

}  // namespace cli
