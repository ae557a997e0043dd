// What a start-up check that passed found, as the program's own code knows it: the printer,
// the package set that applies to it, and whether the printer still needs the package. The
// program reports it once per passed check, through its backend (UiBackend::StartupChecked),
// for a front-end that checks without downloading.
#pragma once

#include <string>

namespace win {

struct StartupReport {
    std::string printerId;  // the identity the printer reported; empty when the check skips it
    int packageSet = 0;     // 1 or 2
    bool updateApplies = false;

    bool operator==(const StartupReport&) const = default;
};

}  // namespace win
