// Which states of one progress window are worth a report of their own when reports cannot
// overwrite each other: the first, every new caption or message line, and every new tenth of
// the bar.
#pragma once

#include <optional>

#include "cli/ProgressSnapshot.h"

namespace cli {

class ProgressSteps {
public:
    // True when this state should be reported; remembers it if so.
    bool IsNewStep(const ProgressSnapshot& progress);
    // A new progress window begins.
    void Reset() { m_last.reset(); }

private:
    std::optional<ProgressSnapshot> m_last;
};

}  // namespace cli
