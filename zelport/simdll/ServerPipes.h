// The library's ends of the message-mode named pipes it handed out, one entry per pipe, and
// what the library does to them: deliver a printer's reply, break a printer's pipes, close
// the ends whose tool side is gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "zelport/sim/PipeKind.h"

namespace zelsim {

class ServerPipes {
public:
    using Kind = PipeKind;

    struct Pipe {
        void* server = nullptr;
        Kind kind = Kind::Control;
        size_t printer = 0;
        uint64_t generation = 0;
        // The library serves each write before the tool's WriteFile returns.
        bool writesServed = false;
    };

    // A connected pipe for `pipe`'s printer; fills in pipe.server and returns the tool's end,
    // or null with the reason on stderr.
    std::shared_ptr<Pipe> Open(Pipe pipe, void*& client);
    // Closes the library's end, which breaks the tool's.
    void Close(const std::shared_ptr<Pipe>& pipe);
    // Closes every end but the out-pipes', whose threads close their own.
    void CloseAllButOut();

    // Writes a reply to the printer's newest in-pipe of the generation.
    void Deliver(size_t printer, uint64_t generation, const std::vector<uint8_t>& reply);
    void Break(size_t printer, Kind kind, uint64_t generation);
    // Nobody reads the library's ends of control handles and in-pipes: they go once the tool
    // has closed its end.
    void CloseAbandoned();
    // Pipes whose tool side is still open.
    uint32_t OpenOnToolSide() const;
    // Bytes that the tool wrote to out-pipes and the library has not taken yet.
    uint32_t UntakenBytes() const;

    // Not every pipe implementation ends a pending server read when the client closes.
    static bool ClientGone(void* server);

private:
    std::vector<std::shared_ptr<Pipe>> m_pipes;
};

}  // namespace zelsim
