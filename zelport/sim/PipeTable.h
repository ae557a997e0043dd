// The handles the library handed out and has not seen closed yet, each with the device end
// that the library's thread serves. A new configuration starts a new generation: the handles
// of earlier ones stay open until the tool closes them, but lead to no printer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "sim/PrinterConfig.h"
#include "zelport/sim/PipeKind.h"
#include "zelport/sim/link/PacketPipe.h"

namespace zelsim {

class PipeTable {
public:
    using Kind = PipeKind;

    struct Pipe {
        std::unique_ptr<devlink::PacketPipe> link;
        Kind kind;
        size_t printer;
        uint64_t generation;
        // The library takes the tool's writes itself (see SimLibrary::HostWrite).
        bool writesServed;
        bool hostClosed = false;
    };

    // "control handle", "PIPE00" or "PIPE01".
    static const char* Name(Kind kind);

    uint64_t Generation() const { return m_generation; }
    bool IsCurrent(const Pipe& pipe) const { return pipe.generation == m_generation; }
    // Ends every in-pipe, counts opens from 0 again and moves on to the next generation.
    void NewGeneration();

    // Counts an open of `kind` for `printer` in this generation, failed opens included, and
    // tells whether `config` makes this one fail.
    bool OpenFails(size_t printer, Kind kind, const sim::PrinterConfig& config);
    void Add(std::unique_ptr<devlink::PacketPipe> link, Kind kind, size_t printer,
             bool writesServed);
    // Forgets the pipe whose device end is `descriptor`, after the tool closed its end.
    void Remove(int descriptor);
    size_t Count() const { return m_pipes.size(); }

    // The pipe whose device end is `descriptor`, or null.
    const Pipe* ByDeviceDescriptor(int descriptor) const;
    // The pipe whose host end is `handle` and that the tool has not closed, or null. A closed
    // pipe with the same number may linger until its hang-up is seen.
    Pipe* ByHostHandle(intptr_t handle);
    // What the library's thread watches: the device end of every pipe, oldest first.
    std::vector<int> WatchedDescriptors() const;

    // Sends `packet` through the newest in-pipe of `printer` in this generation that the tool
    // has not closed: Sent or Full; none when no such in-pipe is open.
    std::optional<devlink::PacketPipe::SendResult> SendToNewestInPipe(
        size_t printer, std::span<const uint8_t> packet);
    // The reads of the printer's in-pipes of this generation end, after what was sent.
    void EndInPipes(size_t printer);

private:
    std::vector<std::unique_ptr<Pipe>> m_pipes;
    // Opens so far of each printer's control handle, out-pipe and in-pipe, by Kind.
    std::vector<std::array<uint32_t, 3>> m_openCounts;
    uint64_t m_generation = 0;
};

}  // namespace zelsim
