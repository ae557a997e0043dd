#include "app/ExitReason.h"

#include <cstddef>
#include <iterator>

namespace {

struct ReasonFacts {
    ExitReason reason;
    int status;
    const char* name;
};

// One row a reason, in the order of the enumeration.
constexpr ReasonFacts kReasons[] = {
    {ExitReason::Updated, 0, "updated"},
    {ExitReason::Failed, 1, "failed"},
    {ExitReason::UpToDate, 2, "up-to-date"},
    {ExitReason::ClosedBeforeRun, 0, "closed"},
    {ExitReason::StartupClosed, 3, "startup-closed"},
    {ExitReason::LibraryRefused, 4, "library-refused"},
    // EX_TEMPFAIL: try again once the other copy has ended.
    {ExitReason::AlreadyRunning, 75, "already-running"},
    {ExitReason::LockFailed, 73, "lock-failed"},      // EX_CANTCREAT
    {ExitReason::WindowFailed, 70, "window-failed"},  // EX_SOFTWARE
    {ExitReason::Interrupted, 130, "interrupted"},
    {ExitReason::OutputFailed, 74, "output-failed"},  // EX_IOERR
    {ExitReason::UpdateApplies, 0, "update-applies"},
};

constexpr bool EveryReasonAtItsPosition() {
    size_t position = 0;
    for (const ReasonFacts& facts : kReasons) {
        if (static_cast<size_t>(facts.reason) != position++) {
            return false;
        }
    }
    return position == static_cast<size_t>(ExitReason::UpdateApplies) + 1;
}
static_assert(EveryReasonAtItsPosition(), "kReasons needs one row a reason, in order");

const ReasonFacts& FactsOf(ExitReason reason) {
    const auto position = static_cast<size_t>(reason);
    return position < std::size(kReasons) ? kReasons[position]
                                          : kReasons[static_cast<size_t>(ExitReason::Failed)];
}

}  // namespace

int ExitStatusOf(ExitReason reason) {
    return FactsOf(reason).status;
}

const char* ExitReasonName(ExitReason reason) {
    return FactsOf(reason).name;
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
