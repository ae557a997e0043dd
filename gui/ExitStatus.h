// The exit status of rxt9-update, for whoever started it: a script, a session's autostart.
#pragma once

#include <optional>

#include "app/ExitReason.h"
#include "platform/ui/ProgramEnd.h"

namespace gui {

constexpr int kFailedStatus = 1;
constexpr int kEndedBySignalStatus = 130;

// A failed last download is 1 whatever else happened; an end that a signal or the session
// asked for is 130; a program that lost its display tells whether the download it finished
// without windows succeeded (0) or there was none (1); otherwise the message loop's result.
int ExitStatusOf(const win::ProgramEnd& end, std::optional<ExitReason> lastDownload);

}  // namespace gui
