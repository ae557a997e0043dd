// The control entry points of a simulated vendor library (zelport/sim/ZelportSim.h), looked
// up in the loaded module as the tool looks up the five of the vendor library.
#pragma once

#include "platform/Kernel.h"
#include "zelport/sim/ZelportSim.h"

struct SimControls {
    // True when the module has every control entry point but ZelportSimLimits, which a library
    // without limits may leave out (then `limits` stays 0).
    bool Bind(win::HMODULE module);

    PFN_ZelportSimSetTimeSink setTimeSink = nullptr;
    PFN_ZelportSimReset reset = nullptr;
    PFN_ZelportSimSettle settle = nullptr;
    PFN_ZelportSimReceivedLog receivedLog = nullptr;
    PFN_ZelportSimFirmware firmware = nullptr;
    PFN_ZelportSimInDownloadMode inDownloadMode = nullptr;
    PFN_ZelportSimIsAttached isAttached = nullptr;
    PFN_ZelportSimOpenHandles openHandles = nullptr;
    uint32_t limits = 0;
};
