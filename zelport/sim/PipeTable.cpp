#include "zelport/sim/PipeTable.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace zelsim {

const char* PipeTable::Name(Kind kind) {
    // In the order of Kind.
    static constexpr const char* kNames[] = {"control handle", "PIPE00", "PIPE01"};
    static_assert(std::size(kNames) == static_cast<size_t>(Kind::In) + 1);
    const auto position = static_cast<size_t>(kind);
    return position < std::size(kNames) ? kNames[position] : "";
}

void PipeTable::NewGeneration() {
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        if (pipe->kind == Kind::In) {
            pipe->link->EndTowardsHost();
        }
    }
    m_openCounts.clear();
    ++m_generation;
}

bool PipeTable::OpenFails(size_t printer, Kind kind, const sim::PrinterConfig& config) {
    if (m_openCounts.size() <= printer) {
        m_openCounts.resize(printer + 1);
    }
    const uint32_t opens = ++m_openCounts[printer][static_cast<size_t>(kind)];
    const bool failingKind = (kind == Kind::Control && config.controlOpenFails) ||
                             (kind == Kind::Out && config.pipe00OpenFails) ||
                             (kind == Kind::In && config.pipe01OpenFails);
    return failingKind && (config.openFailsOccurrence == 0 || config.openFailsOccurrence == opens);
}

void PipeTable::Add(std::unique_ptr<devlink::PacketPipe> link, Kind kind, size_t printer,
                    bool writesServed) {
    m_pipes.push_back(
        std::make_unique<Pipe>(Pipe{std::move(link), kind, printer, m_generation, writesServed}));
}

void PipeTable::Remove(int descriptor) {
    std::erase_if(m_pipes, [&](const std::unique_ptr<Pipe>& pipe) {
        return pipe->link->DeviceDescriptor() == descriptor;
    });
}

const PipeTable::Pipe* PipeTable::ByDeviceDescriptor(int descriptor) const {
    const auto found = std::find_if(m_pipes.begin(), m_pipes.end(), [&](const auto& pipe) {
        return pipe->link->DeviceDescriptor() == descriptor;
    });
    return found == m_pipes.end() ? nullptr : found->get();
}

PipeTable::Pipe* PipeTable::ByHostHandle(intptr_t handle) {
    const auto found = std::find_if(m_pipes.rbegin(), m_pipes.rend(), [&](const auto& pipe) {
        return !pipe->hostClosed && pipe->link->HostHandle() == handle;
    });
    return found == m_pipes.rend() ? nullptr : found->get();
}

std::vector<int> PipeTable::WatchedDescriptors() const {
    std::vector<int> descriptors;
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        descriptors.push_back(pipe->link->DeviceDescriptor());
    }
    return descriptors;
}

std::optional<devlink::PacketPipe::SendResult> PipeTable::SendToNewestInPipe(
    size_t printer, std::span<const uint8_t> packet) {
    for (auto pipe = m_pipes.rbegin(); pipe != m_pipes.rend(); ++pipe) {
        if ((*pipe)->kind != Kind::In || (*pipe)->printer != printer || !IsCurrent(**pipe)) {
            continue;
        }
        const auto sent = (*pipe)->link->Send(packet);
        if (sent != devlink::PacketPipe::SendResult::Closed) {
            return sent;
        }
    }
    return std::nullopt;
}

void PipeTable::EndInPipes(size_t printer) {
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        if (pipe->kind == Kind::In && pipe->printer == printer && IsCurrent(*pipe)) {
            pipe->link->EndTowardsHost();
        }
    }
}

}  // namespace zelsim
