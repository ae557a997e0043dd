// The simulated vendor library behind ZELPORT.so's entry points: the configured printers,
// the ids the tool selected, the handles handed out, and the library's thread that serves the
// printers' side of every pipe.
//
// The library serves the file calls on its handles itself (ZelportFileOperations, see
// zelport/zelport.h). Writes to an out-pipe reach a printer in one of two ways. Normally each
// write is a packet that the thread reads from the pipe's device end. When the configuration
// has faults that need control over the write itself (see PrinterConfig::NeedsWriteControl),
// the library takes the write on the writer's thread: the printer handles it, and the write
// returns what the printer took once the link's time has passed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "sim/SimulatedPrinter.h"
#include "zelport/sim/LinkSchedule.h"
#include "zelport/sim/PipeTable.h"
#include "zelport/sim/SimulatorCore.h"
#include "zelport/sim/TransferTrace.h"
#include "zelport/sim/link/Poller.h"
#include "zelport/zelport.h"

namespace zelsim {

class SimLibrary : public SimulatorCore {
public:
    // Created on the first call, from RXT9_SIM_CONFIG, RXT9_SIM_STATE and RXT9_SIM_TRACE.
    static SimLibrary& Instance();
    ~SimLibrary();
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    void SetTimeSink(void (*advance)(uint32_t));
    bool Reset(const char* configText, const char* statePath, const char* tracePath);
    void Settle();
    uint32_t OpenHandles();

    // The file calls on the handles the library handed out: each returns 0 or a Windows error
    // code, as ZelportFileOperations does.
    bool OwnsHandle(HANDLE handle);
    uint32_t HostRead(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved);
    uint32_t HostWrite(HANDLE handle, const void* bytes, uint32_t count, uint32_t* moved);
    uint32_t HostClose(HANDLE handle);

private:
    using Clock = std::chrono::steady_clock;
    using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;
    using LinkStep = LinkSchedule::Step;

    SimLibrary();
    bool Configure(std::optional<std::string> configText, const std::string& origin,
                   std::optional<std::string> statePath, const char* tracePath);
    void Refuse(const std::string& reason);

    // Returns once the library's thread has handled every write and close made before.
    void SettleHolding(std::unique_lock<std::mutex>& lock);
    void Serve();
    // One pass of the thread: waits for the pipes or the next due step and handles them.
    void ServePass(std::unique_lock<std::mutex>& lock);
    std::vector<int> WatchedDescriptors() const;
    void HandleReady(const std::vector<devlink::Poller::Ready>& ready);
    void HandlePacket(const PipeTable::Pipe& pipe, const std::vector<uint8_t>& packet);
    // The file whose existence releases this write, when it carries the restart command to a
    // printer configured to hold it; empty otherwise.
    std::string RestartRelease(const PipeTable::Pipe& pipe, std::span<const uint8_t> bytes);
    // Takes a write the library serves: the printer handles it, and the link's time for it
    // ends at the returned time.
    Clock::time_point ServeWrite(const PipeTable::Pipe& pipe, std::span<const uint8_t> bytes,
                                 sim::SimulatedPrinter::WriteResult& result);
    void AfterWrite(size_t printer);
    void Schedule(LinkStep step, uint32_t milliseconds);
    void Perform(const LinkStep& step);
    void PerformDueSteps();
    void DeliverReply(size_t printer, const std::vector<uint8_t>& reply);
    void Persist();

    HANDLE OpenPipe(PipeKind kind, uint32_t deviceIndex) override;
    void UnknownPipeRefused(const char* pipeName) override;

    std::condition_variable m_settled;
    devlink::Poller m_poller;
    TransferTrace m_trace;

    PipeTable m_pipes;
    LinkSchedule m_schedule;

    uint64_t m_settleRequested = 0;
    uint64_t m_settleDone = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace zelsim
