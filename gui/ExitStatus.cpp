#include "gui/ExitStatus.h"

namespace gui {

int ExitStatusOf(const win::QtProgramEnd& end, std::optional<cli::ExitReason> lastDownload) {
    if (!end.windowsOpened || lastDownload == cli::ExitReason::Failed) {
        return kFailedStatus;
    }
    if (end.endRequested) {
        return kEndedBySignalStatus;
    }
    if (end.displayLost) {
        const bool succeeded =
            lastDownload == cli::ExitReason::Updated || lastDownload == cli::ExitReason::UpToDate;
        return succeeded ? 0 : kFailedStatus;
    }
    return end.result;
}

}  // namespace gui
