// Takes over the host's write(2) calls on the simulated out-pipes, so that the library decides
// what each write returns: the full count, a short count or an error, and when it returns.
// A plain SOCK_SEQPACKET write is atomic and returns as soon as the packet is queued, so a
// write taken short, a write failing at the n-th block, an unplug during a write or a slow
// link that holds the writer cannot be made any other way.
//
// A seccomp filter with a user-notification listener matches write(2) on the descriptors
// kFirstDescriptor to kFirstDescriptor + kDescriptorCount - 1 (PacketPipe::Create moves the
// out-pipes' host ends there); the library's thread receives each such write, reads its bytes
// from the writer's memory and answers it. The filter applies to every thread of the process
// and stays until the process ends; after the interceptor is destroyed, writes on those
// descriptors fail with ENOSYS. Writes of other processes (children that inherited the
// filter) go ahead unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace devlink {

class WriteInterceptor {
public:
    static constexpr int kFirstDescriptor = 800;
    static constexpr int kDescriptorCount = 200;

    struct Write {
        uint64_t id = 0;
        int descriptor = -1;
        std::vector<uint8_t> bytes;
    };

    enum class Error { InputOutput, NoDevice, TimedOut };

    // Installs the filter for all threads of the process. Null on failure, with the reason.
    static std::unique_ptr<WriteInterceptor> Install(std::string& error);
    ~WriteInterceptor();
    WriteInterceptor(const WriteInterceptor&) = delete;
    WriteInterceptor& operator=(const WriteInterceptor&) = delete;

    // Readable when a write is waiting.
    int ListenerDescriptor() const { return m_listener; }
    // Takes the waiting write of this process. False when there is none to decide: the writer
    // was interrupted meanwhile, or the write was answered here (another process's write, an
    // unreadable buffer).
    bool Next(Write& write);
    // Answers a write taken by Next: `count` bytes written.
    void Complete(uint64_t id, size_t count);
    void Fail(uint64_t id, Error error);
    // Lets the write go ahead as the kernel would do it.
    void PassThrough(uint64_t id);

private:
    explicit WriteInterceptor(int listener);
    void Answer(uint64_t id, int64_t value, int error, uint32_t flags);

    int m_listener;
    size_t m_notificationSize = 0;
    size_t m_responseSize = 0;
};

}  // namespace devlink
