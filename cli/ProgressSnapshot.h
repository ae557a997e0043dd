// What a progress window shows at one moment: its caption, its message line, its percent text
// and how far its bar has moved; and, during a Download, how long the Download has left.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/Window.h"

namespace cli {

struct ProgressSnapshot {
    std::string caption;
    std::string message;      // may hold line breaks
    std::string percentText;  // as the window writes it, e.g. "40%"
    int barPercent = 0;       // the bar's position within its range, 0 to 100
    // Not read from the window: what TimeLeft estimates.
    std::optional<int> secondsLeft = std::nullopt;

    bool operator==(const ProgressSnapshot&) const = default;

    static ProgressSnapshot Read(win::HWND progressWindow);
};

}  // namespace cli
