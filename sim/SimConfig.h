// The simulated library's configuration: the ids, the pipes' time limit and the printers.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/PrinterConfig.h"

namespace sim {

struct SimConfig {
    uint16_t vendorId = 0x2E91;
    uint16_t productId = 0x5D36;
    // A read that gets no reply, or a write that the printer does not take, within this time
    // fails.
    uint32_t timeLimitMs = 5000;
    bool refuseVendorId = false;
    std::vector<PrinterConfig> printers;

    // One printer as PrinterConfig's defaults describe it.
    static SimConfig Default();

    bool NeedsWriteControl() const;
};

}  // namespace sim
