// Decides, transfer by transfer, which configured faults of a printer strike: writes that fail
// or are taken short, replies cut short or with another header, and replies no longer sent.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/HostWrite.h"
#include "sim/PrinterConfig.h"

namespace sim {

class FaultInjector {
public:
    explicit FaultInjector(PrinterConfig config);

    // Counts the write for every fault it matches; returns the first fault that strikes it.
    const WriteFault* OnWrite(const HostWrite& write);
    // Changes a reply as the faults say. False when the printer sends no reply at all.
    bool ShapeReply(CommandKind inquiry, std::vector<uint8_t>& reply);

private:
    const PrinterConfig m_config;
    std::vector<uint32_t> m_writeCounts;
    std::vector<uint32_t> m_replyCounts;
    uint32_t m_repliesSent = 0;
};

}  // namespace sim
