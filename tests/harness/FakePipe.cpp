#include "tests/harness/FakePipe.h"

#include <stdexcept>

namespace {

// A test that waits for a reply nobody sends fails instead of hanging.
constexpr uint32_t kTimeLimitMs = 2000;

std::unique_ptr<devlink::PacketPipe> CreatePipe() {
    std::string error;
    auto pipe = devlink::PacketPipe::Create(kTimeLimitMs, error);
    if (!pipe) {
        throw std::runtime_error("cannot create a pipe: " + error);
    }
    return pipe;
}

}  // namespace

FakePipe::FakePipe() : m_pipe(CreatePipe()), m_near(m_pipe->TakeHostEnd()) {}

std::vector<std::string> FakePipe::TakePackets() {
    std::vector<std::string> packets;
    std::vector<uint8_t> packet;
    while (m_pipe->Receive(packet) == devlink::PacketPipe::ReceiveResult::Packet) {
        packets.emplace_back(packet.begin(), packet.end());
    }
    return packets;
}

void FakePipe::Send(const std::string& packet) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(packet.data());
    if (m_pipe->Send({bytes, packet.size()}) != devlink::PacketPipe::SendResult::Sent) {
        throw std::runtime_error("the far end cannot send");
    }
}
