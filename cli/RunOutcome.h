// What one press of Download came to, judged from what the user saw: the success message
// means the printer was updated, the "newest version" message that there was nothing to do,
// and any other message a failure. A run that showed a progress window had put the printer
// into download mode; the "newest version" message then comes on the success end, otherwise
// on the failure end of the same-printer shortcut. A run that ended without any message and
// without download mode was stopped before it, when the window was asked to close.
#pragma once

#include <string>

#include "cli/ExitReason.h"

namespace cli {

class RunOutcome {
public:
    RunOutcome(std::string successText, std::string newestText)
        : m_successText(std::move(successText)), m_newestText(std::move(newestText)) {}

    void NoteProgressWindow() { m_enteredDownloadMode = true; }
    bool EnteredDownloadMode() const { return m_enteredDownloadMode; }
    void NoteMessage(const std::string& text);

    // Updated only without any failure message: a restart failure reported beside the
    // success message leaves the printer in download mode, which a script must hear of.
    ExitReason Reason() const;
    bool TookSuccessEnd() const;

private:
    std::string m_successText;
    std::string m_newestText;
    bool m_enteredDownloadMode = false;
    bool m_sawSuccess = false;
    bool m_sawNewest = false;
    bool m_sawFailure = false;
};

}  // namespace cli
