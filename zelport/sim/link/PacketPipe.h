// A pipe handle of the simulated vendor library: a connected SOCK_SEQPACKET socket pair, so
// that each write arrives as one transfer and a short reply is a short read. The host end is
// handed to the tool; the device end stays with the library's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace devlink {

class PacketPipe {
public:
    enum class ReceiveResult { Packet, Empty, Closed };
    enum class SendResult { Sent, Full, Closed };

    // The host end gets `timeLimitMs` as its read and write time limit. Null on failure, with
    // the reason in `error`.
    static std::unique_ptr<PacketPipe> Create(uint32_t timeLimitMs, std::string& error);
    ~PacketPipe();
    PacketPipe(const PacketPipe&) = delete;
    PacketPipe& operator=(const PacketPipe&) = delete;

    intptr_t HostHandle() const { return m_hostEnd; }
    // Hands the host end over: from now on its owner closes it.
    intptr_t TakeHostEnd();
    int DeviceDescriptor() const { return m_deviceEnd; }

    // Device side, never blocking: the next packet that the host wrote.
    ReceiveResult Receive(std::vector<uint8_t>& packet);
    // Device side, never blocking: a packet for the host to read.
    SendResult Send(std::span<const uint8_t> packet);
    // The host's reads get end of file once the packets sent so far are read.
    void EndTowardsHost();
    // Cuts the link: the host's reads get end of file and its writes fail.
    void CloseDeviceEnd();

private:
    PacketPipe(int hostEnd, int deviceEnd) : m_hostEnd(hostEnd), m_deviceEnd(deviceEnd) {}

    int m_hostEnd;
    int m_deviceEnd;
    bool m_hostEndOwned = true;
};

}  // namespace devlink
