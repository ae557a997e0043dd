// How a run of the program's main window ended, as the program's own code knows it: the
// start-up check, or one press of Download. The program reports each end once, through its
// backend (UiBackend::RunEnded), so that no front-end has to tell it from what was shown.
#pragma once

namespace win {

struct RunEnd {
    enum class Result {
        Updated,                    // the printer holds the package now
        UpToDate,                   // the printer already held it
        FailedBeforeDownloadMode,   // a step failed with the printer untouched
        FailedInDownloadMode,       // a step failed after the printer entered download mode
        StoppedBeforeDownloadMode,  // the window was asked to close before download mode
        StartupCheckClosed,         // the start-up check found no printer to update and closed
        LibraryRefused,             // the vendor library could not be bound
    };

    Result result = Result::FailedBeforeDownloadMode;
    // The Download took its success end: its version check in download mode passed.
    bool successEnd = false;
    // After download mode: the restart reached the printer, which has left download mode.
    bool restarted = false;
    // The printer's versions read as no text, as from erased firmware.
    bool versionsNotText = false;

    bool operator==(const RunEnd&) const = default;
};

}  // namespace win
