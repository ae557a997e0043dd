#include "gui/ExitStatus.h"

namespace gui {

int ExitStatusOf(const win::ProgramEnd& end, std::optional<ExitReason> lastDownload) {
    if (!end.windowsOpened || lastDownload == ExitReason::Failed) {
        return kFailedStatus;
    }
    if (end.endRequested) {
        return kEndedBySignalStatus;
    }
    if (end.displayLost) {
        const bool succeeded =
            lastDownload == ExitReason::Updated || lastDownload == ExitReason::UpToDate;
        return succeeded ? 0 : kFailedStatus;
    }
    return end.result;
}

}  // namespace gui
