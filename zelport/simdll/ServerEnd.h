// The library's end of one message-mode named pipe, for the thread that serves an out-pipe.
// It waits for the tool's next write either taking it at once, or only looking at it: a
// zero-byte read completes when a message is there without taking it, so the tool's write
// stays pending until the printer has decided whether it takes it (Take) or fails it (the
// pipe is closed, which fails the pending write).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace zelsim {

class ServerEnd {
public:
    // `server`: an overlapped named pipe end that this object does not own.
    explicit ServerEnd(void* server);
    ~ServerEnd();
    ServerEnd(const ServerEnd&) = delete;
    ServerEnd& operator=(const ServerEnd&) = delete;

    // Waits for the next message and puts its bytes in `message`, taking it from the pipe
    // unless `lookOnly`. `whileWaiting` runs at least every `pollMs` while nothing arrives and
    // returns how long the next wait may last at most; it may cancel the wait (CancelIo).
    // 0, or the Windows error that ended the wait.
    uint32_t Next(bool lookOnly, std::vector<uint8_t>& message,
                  const std::function<uint32_t()>& whileWaiting);
    // Takes the message that Next(true, ...) looked at: the tool's write returns.
    bool Take();

private:
    uint32_t Read(void* buffer, uint32_t size, uint32_t& moved,
                  const std::function<uint32_t()>& whileWaiting);

    void* m_server;
    void* m_event;
    std::vector<uint8_t> m_buffer;
};

}  // namespace zelsim
