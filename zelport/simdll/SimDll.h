// ZELPORT.dll over simulated printers: the sim/ printer model behind real Windows pipe
// handles. Every pipe the tool opens is a message-mode named pipe, so each WriteFile reaches
// the printer as one transfer and each reply is one message. The library keeps the server
// ends: a thread of its own per out-pipe reads what the tool writes, hands it to the printer
// and writes the printer's replies to the printer's in-pipe.
//
// With faults that act on writes, or a link rate, the library serves each write before the
// tool's WriteFile returns: the write stays in the pipe while the printer handles it and the
// link's time passes; then the library takes it, or closes the out-pipe, which fails that very
// write (and every later one: a pipe cannot fail one write and go on). An unplug breaks every
// pipe of the printer. An inquiry that the printer leaves unanswered breaks the in-pipe once
// the library's time limit has passed, so the tool's read fails instead of waiting for ever.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zelport/sim/LinkSchedule.h"
#include "zelport/sim/SimulatorCore.h"
#include "zelport/simdll/ServerPipes.h"

namespace zelsim {

class SimDll : public SimulatorCore {
public:
    // Created on the first call, from RXT9_SIM_CONFIG and RXT9_SIM_STATE, and kept until the
    // process ends: the library stays loaded while its threads may run.
    static SimDll& Instance();
    SimDll(const SimDll&) = delete;
    SimDll& operator=(const SimDll&) = delete;

    // The control entry points for tests (zelport/sim/ZelportSim.h).
    void SetTimeSink(void (*advance)(uint32_t milliseconds));
    bool Reset(const char* configText, const char* statePath, const char* tracePath);
    void Settle();
    uint32_t OpenHandles();

private:
    using Pipe = ServerPipes::Pipe;

    // What becomes of a write of the tool once the link's time has passed.
    struct Verdict {
        bool taken = false;
        bool keepOpen = false;
        LinkSchedule::Clock::time_point until{};
    };

    SimDll();
    bool Configure(const std::optional<std::string>& configText, const std::string& origin,
                   const std::optional<std::string>& statePath);
    intptr_t OpenPipe(PipeKind kind, uint32_t deviceIndex) override;
    void Serve(const std::shared_ptr<Pipe>& pipe);
    Verdict Handle(const Pipe& pipe, const std::vector<uint8_t>& transfer);
    // While a reader waits: breaks silent in-pipes and delivers replies whose link time has
    // passed; how long the reader may wait before it looks again.
    uint32_t WhileWaiting(const Pipe& pipe);
    void CheckSilence();
    void Persist();
    // Every write is served, so that it has been handled once the tool's WriteFile returns.
    bool WritesServed() const;

    // Per printer, the tick count at which an unanswered inquiry breaks its in-pipes.
    std::vector<std::optional<uint32_t>> m_silenceDeadline;
    LinkSchedule m_schedule;
    uint64_t m_generation = 0;
    ServerPipes m_pipes;
    // Opens so far of each printer's control handle, out-pipe and in-pipe, by PipeKind.
    std::vector<std::array<uint32_t, 3>> m_openCounts;
};

}  // namespace zelsim
