#include "sim/SimulatedPrinter.h"

#include <algorithm>

namespace sim {

SimulatedPrinter::SimulatedPrinter(PrinterConfig config)
    : m_config(std::move(config)), m_device(m_config), m_faults(m_config) {}

SimulatedPrinter::WriteResult SimulatedPrinter::OnHostWrite(std::span<const uint8_t> bytes,
                                                            uint32_t timeLimitMs) {
    using Outcome = WriteResult::Outcome;
    WriteResult result;
    if (m_unplugged) {
        result.outcome = Outcome::Gone;
        return result;
    }
    const HostWrite write = m_device.Classify(bytes);
    size_t taken = bytes.size();
    if (const WriteFault* fault = m_faults.OnWrite(write)) {
        if (fault->action == WriteFault::Action::Unplug) {
            Unplug();
        }
        if (fault->action != WriteFault::Action::TakeShort) {
            result.outcome = Outcome::Failed;
            return result;
        }
        if (fault->acceptedBytes < bytes.size()) {
            taken = fault->acceptedBytes;
            result.outcome = Outcome::TakenShort;
        }
    }
    if (write.kind == HostWrite::Kind::Image && m_config.unplugAfterImageBytes) {
        const uint64_t left = *m_config.unplugAfterImageBytes -
                              std::min(*m_config.unplugAfterImageBytes, m_imageBytes);
        if (taken > left) {
            taken = static_cast<size_t>(left);
            result.outcome = Outcome::Failed;
        }
    }
    if (timeLimitMs != 0 && LinkTime(taken, false) > timeLimitMs) {
        result.outcome = Outcome::TimedOut;
        result.linkMilliseconds = timeLimitMs;
        return result;
    }
    result.taken = taken;
    result.linkMilliseconds = LinkTime(taken, true);
    if (write.kind == HostWrite::Kind::Image) {
        m_imageBytes += taken;
    }
    if (taken > 0) {
        Deliver(bytes.first(taken));
    }
    if (m_config.unplugAfterImageBytes && m_imageBytes >= *m_config.unplugAfterImageBytes &&
        write.kind == HostWrite::Kind::Image) {
        Unplug();
    }
    return result;
}

void SimulatedPrinter::Unplug() {
    m_unplugged = true;
    m_replies.clear();
    m_device.PowerOff();
}

void SimulatedPrinter::Deliver(std::span<const uint8_t> bytes) {
    std::optional<PrinterDevice::Reply> reply = m_device.Receive(bytes);
    if (!reply || !m_faults.ShapeReply(reply->inquiry, reply->bytes)) {
        return;
    }
    const uint32_t milliseconds = LinkTime(reply->bytes.size(), true);
    m_replies.push_back(Reply{std::move(reply->bytes), milliseconds});
}

std::optional<SimulatedPrinter::Reply> SimulatedPrinter::TakeReply() {
    if (m_replies.empty()) {
        return std::nullopt;
    }
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    return reply;
}

uint32_t SimulatedPrinter::LinkTime(size_t bytes, bool commit) {
    if (m_config.linkBytesPerSecond == 0) {
        return 0;
    }
    const uint64_t total = m_linkBytes + bytes;
    const uint64_t milliseconds = total * 1000 / m_config.linkBytesPerSecond;
    const uint64_t spent = milliseconds - m_linkMilliseconds;
    if (commit) {
        m_linkBytes = total;
        m_linkMilliseconds = milliseconds;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(spent, UINT32_MAX));
}

}  // namespace sim
