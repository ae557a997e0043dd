#include "sim/FaultInjector.h"

#include <algorithm>

namespace sim {

namespace {

bool Matches(const WriteFault& fault, const HostWrite& write) {
    if (fault.image != (write.kind == HostWrite::Kind::Image)) {
        return false;
    }
    if (!fault.image &&
        (write.kind != HostWrite::Kind::Command || write.command != fault.command)) {
        return false;
    }
    return fault.area == nullptr || fault.area == write.area;
}

bool Strikes(uint32_t occurrence, uint32_t count) {
    return occurrence == 0 || occurrence == count;
}

}  // namespace

FaultInjector::FaultInjector(PrinterConfig config)
    : m_config(std::move(config)),
      m_writeCounts(m_config.writeFaults.size(), 0),
      m_replyCounts(m_config.replyFaults.size(), 0) {}

const WriteFault* FaultInjector::OnWrite(const HostWrite& write) {
    const WriteFault* struck = nullptr;
    for (size_t i = 0; i < m_config.writeFaults.size(); ++i) {
        const WriteFault& fault = m_config.writeFaults[i];
        if (!Matches(fault, write)) {
            continue;
        }
        if (Strikes(fault.occurrence, ++m_writeCounts[i]) && struck == nullptr) {
            struck = &fault;
        }
    }
    return struck;
}

bool FaultInjector::ShapeReply(CommandKind inquiry, std::vector<uint8_t>& reply) {
    if (m_config.silentAfterReplies && m_repliesSent >= *m_config.silentAfterReplies) {
        return false;
    }
    ++m_repliesSent;
    for (size_t i = 0; i < m_config.replyFaults.size(); ++i) {
        const ReplyFault& fault = m_config.replyFaults[i];
        if (fault.inquiry != inquiry || !Strikes(fault.occurrence, ++m_replyCounts[i])) {
            continue;
        }
        if (fault.header) {
            const size_t covered = std::min(fault.header->size(), reply.size());
            std::copy_n(fault.header->begin(), covered, reply.begin());
        }
        reply.resize(reply.size() - std::min<size_t>(fault.missingBytes, reply.size()));
    }
    return true;
}

}  // namespace sim
