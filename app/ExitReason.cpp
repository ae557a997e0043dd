#include "app/ExitReason.h"

int ExitStatusOf(ExitReason reason) {
    switch (reason) {
        case ExitReason::Updated:
        case ExitReason::ClosedBeforeRun:
            return 0;
        case ExitReason::Failed:
            return 1;
        case ExitReason::UpToDate:
            return 2;
        case ExitReason::StartupClosed:
            return 3;
        case ExitReason::LibraryRefused:
            return 4;
        case ExitReason::AlreadyRunning:
            return 75;  // EX_TEMPFAIL: try again once the other copy has ended
        case ExitReason::LockFailed:
            return 73;  // EX_CANTCREAT
        case ExitReason::WindowFailed:
            return 70;  // EX_SOFTWARE
        case ExitReason::Interrupted:
            return 130;
        case ExitReason::OutputFailed:
            return 74;  // EX_IOERR
    }
    return 1;
}

const char* ExitReasonName(ExitReason reason) {
    switch (reason) {
        case ExitReason::Updated:
            return "updated";
        case ExitReason::Failed:
            return "failed";
        case ExitReason::UpToDate:
            return "up-to-date";
        case ExitReason::ClosedBeforeRun:
            return "closed";
        case ExitReason::StartupClosed:
            return "startup-closed";
        case ExitReason::LibraryRefused:
            return "library-refused";
        case ExitReason::AlreadyRunning:
            return "already-running";
        case ExitReason::LockFailed:
            return "lock-failed";
        case ExitReason::WindowFailed:
            return "window-failed";
        case ExitReason::Interrupted:
            return "interrupted";
        case ExitReason::OutputFailed:
            return "output-failed";
    }
    return "failed";
}

ExitReason ExitReasonOf(const win::RunEnd& end) {
    using Result = win::RunEnd::Result;
    switch (end.result) {
        case Result::Updated:
            return ExitReason::Updated;
        case Result::UpToDate:
            return ExitReason::UpToDate;
        case Result::FailedBeforeDownloadMode:
        case Result::FailedInDownloadMode:
            return ExitReason::Failed;
        case Result::StoppedBeforeDownloadMode:
            return ExitReason::Interrupted;
        case Result::StartupCheckClosed:
            return ExitReason::StartupClosed;
        case Result::LibraryRefused:
            return ExitReason::LibraryRefused;
    }
    return ExitReason::Failed;
}
