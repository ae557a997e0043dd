#include "tests/harness/FakePipe.h"

#include <stdexcept>

#include "zelport/sim/link/PacketPipe.h"

namespace {

// A test that waits for a reply nobody sends fails instead of hanging.
constexpr uint32_t kTimeLimitMs = 2000;

}  // namespace

struct FakePipe::FarEnd {
    std::unique_ptr<devlink::PacketPipe> pipe;
};

FakePipe::FakePipe() : m_far(std::make_unique<FarEnd>()) {
    std::string error;
    m_far->pipe = devlink::PacketPipe::Create(kTimeLimitMs, error);
    if (!m_far->pipe) {
        throw std::runtime_error("cannot create a pipe: " + error);
    }
    m_near = m_far->pipe->TakeHostEnd();
}

FakePipe::~FakePipe() = default;

std::vector<std::string> FakePipe::TakePackets() {
    std::vector<std::string> packets;
    std::vector<uint8_t> packet;
    while (m_far->pipe->Receive(packet) == devlink::PacketPipe::ReceiveResult::Packet) {
        packets.emplace_back(packet.begin(), packet.end());
    }
    return packets;
}

void FakePipe::Send(const std::string& packet) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(packet.data());
    if (m_far->pipe->Send({bytes, packet.size()}) != devlink::PacketPipe::SendResult::Sent) {
        throw std::runtime_error("the far end cannot send");
    }
}

void FakePipe::EndTowardsNear() {
    m_far->pipe->EndTowardsHost();
}

void FakePipe::CloseFarEnd() {
    m_far->pipe->CloseDeviceEnd();
}
