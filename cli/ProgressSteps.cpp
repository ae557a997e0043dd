#include "cli/ProgressSteps.h"

namespace cli {

bool ProgressSteps::IsNewStep(const ProgressSnapshot& progress) {
    const bool newStep = !m_last || progress.caption != m_last->caption ||
                         progress.message != m_last->message ||
                         progress.barPercent / 10 > m_last->barPercent / 10;
    if (newStep) {
        m_last = progress;
    }
    return newStep;
}

}  // namespace cli
