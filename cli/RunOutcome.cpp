#include "cli/RunOutcome.h"

namespace cli {

void RunOutcome::NoteMessage(const std::string& text) {
    if (text == m_successText) {
        m_sawSuccess = true;
    } else if (text == m_newestText) {
        m_sawNewest = true;
    } else {
        m_sawFailure = true;
    }
}

ExitReason RunOutcome::Reason() const {
    if (m_sawFailure) {
        return ExitReason::Failed;
    }
    if (m_sawSuccess) {
        return ExitReason::Updated;
    }
    if (m_sawNewest) {
        return ExitReason::UpToDate;
    }
    return m_enteredDownloadMode ? ExitReason::Failed : ExitReason::Interrupted;
}

bool RunOutcome::TookSuccessEnd() const {
    return m_sawSuccess || (m_sawNewest && m_enteredDownloadMode);
}

}  // namespace cli
