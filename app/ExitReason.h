// Why a front-end's program ended, and the exit status that tells it to a script: one table
// for every front-end.
#pragma once

#include "platform/ui/RunEnd.h"

enum class ExitReason {
    Updated,          // the last download took the success end and updated the printer
    Failed,           // the last download failed
    UpToDate,         // the printer already held the package
    ClosedBeforeRun,  // the window was closed before any download
    StartupClosed,    // the start-up check closed the program
    LibraryRefused,   // the vendor USB library could not be bound
    AlreadyRunning,   // another copy holds the single-instance guard
    LockFailed,       // the single-instance guard could not be made
    WindowFailed,     // the main window could not be created
    Interrupted,
    OutputFailed,   // standard output could not be written; the run itself went on
    UpdateApplies,  // a check alone found that the package applies and the printer needs it
};

int ExitStatusOf(ExitReason reason);
// The reason as one word, for the JSON lines.
const char* ExitReasonName(ExitReason reason);
// What a run's end means for the program's exit.
ExitReason ExitReasonOf(const win::RunEnd& end);

constexpr int kUsageStatus = 64;
