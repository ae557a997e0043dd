// The simulated vendor library behind ZELPORT.so's entry points: the configured printers,
// the ids the tool selected, the handles handed out, and the library's thread that serves the
// printers' side of every pipe.
//
// Writes to an out-pipe reach a printer in one of two ways. Normally each write is a packet
// that the thread reads from the pipe's device end. When the configuration has faults that
// need control over the write itself (see PrinterConfig::NeedsWriteControl), the out-pipes'
// host ends are watched by a WriteInterceptor, and the thread answers each write(2) after
// the printer has handled it and the link's time has passed.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/SimConfig.h"
#include "sim/SimulatedPrinter.h"
#include "sim/StateFile.h"
#include "zelport/sim/TransferTrace.h"
#include "zelport/sim/link/PacketPipe.h"
#include "zelport/sim/link/Poller.h"
#include "zelport/sim/link/WriteInterceptor.h"
#include "zelport/zelport.h"

namespace zelsim {

class SimLibrary {
public:
    // Created on the first call, from RXT9_SIM_CONFIG, RXT9_SIM_STATE and RXT9_SIM_TRACE.
    static SimLibrary& Instance();
    ~SimLibrary();
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    BOOL SetVendorId(uint32_t vendorId);
    BOOL SetProductIds(const uint16_t* productIds, uint32_t count);
    HANDLE OpenControl(uint32_t deviceIndex);
    HANDLE OpenBulk(const char* pipeName, uint32_t deviceIndex);

    void SetTimeSink(void (*advance)(uint32_t));
    bool Reset(const char* configText, const char* statePath, const char* tracePath);
    void Settle();
    uint32_t PrinterCount();
    size_t ReceivedLog(uint32_t printer, char* buffer, size_t size);
    bool Firmware(uint32_t printer, char area, uint8_t* version, uint16_t* checksum);
    int InDownloadMode(uint32_t printer);
    int IsAttached(uint32_t printer);
    uint32_t OpenHandles();

private:
    using Clock = std::chrono::steady_clock;
    using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;

    enum class PipeKind { Control, Out, In };

    struct Pipe {
        std::unique_ptr<devlink::PacketPipe> link;
        PipeKind kind;
        size_t printer;
        uint64_t generation;
        bool intercepted;
    };

    // Something the link does once its time has passed: answer an intercepted write, or hand
    // a reply to the in-pipe.
    struct LinkStep {
        Clock::time_point due;
        size_t printer = 0;
        uint64_t generation = 0;
        // An intercepted write to answer with `outcome` and `taken`; otherwise `reply` to send.
        std::optional<uint64_t> writeId;
        Outcome outcome = Outcome::Taken;
        size_t taken = 0;
        std::vector<uint8_t> reply;
    };

    SimLibrary();
    bool Configure(std::optional<std::string> configText, const std::string& origin,
                   std::optional<std::string> statePath, const char* tracePath);
    void Refuse(const std::string& reason);

    void Serve();
    std::vector<int> WatchedDescriptors() const;
    void HandleReady(const std::vector<devlink::Poller::Ready>& ready);
    void HandleIntercepted();
    void HandlePacket(const Pipe& pipe, const std::vector<uint8_t>& packet);
    void AfterWrite(size_t printer, const sim::SimulatedPrinter::WriteResult& result,
                    std::optional<uint64_t> writeId);
    void Schedule(LinkStep step, uint32_t milliseconds);
    void Perform(const LinkStep& step);
    void PerformDueSteps();
    void DeliverReply(size_t printer, const std::vector<uint8_t>& reply);
    void EndInPipes(size_t printer);
    void Persist();

    // The configured printer that device index `deviceIndex` selects, or null.
    sim::SimulatedPrinter* Select(uint32_t deviceIndex, size_t& printer);
    HANDLE OpenPipe(PipeKind kind, uint32_t deviceIndex);
    std::string PipeName(PipeKind kind) const;

    std::mutex m_mutex;
    std::condition_variable m_settled;
    devlink::Poller m_poller;

    bool m_usable = false;
    sim::SimConfig m_config;
    std::vector<std::unique_ptr<sim::SimulatedPrinter>> m_printers;
    std::vector<uint64_t> m_storedRevision;
    std::vector<Clock::time_point> m_linkBusyUntil;
    std::optional<sim::StateFile> m_stateFile;
    std::unique_ptr<TransferTrace> m_trace;
    // Installed with the first configuration that needs it; stays for the library's life.
    std::unique_ptr<devlink::WriteInterceptor> m_interceptor;
    uint64_t m_generation = 0;

    std::optional<uint16_t> m_vendorId;
    std::vector<uint16_t> m_productIds;

    std::vector<std::unique_ptr<Pipe>> m_pipes;
    // Opens so far of each printer's control handle, out-pipe and in-pipe, by PipeKind.
    std::vector<std::array<uint32_t, 3>> m_openCounts;
    std::vector<LinkStep> m_steps;  // by due time
    void (*m_timeSink)(uint32_t) = nullptr;

    uint64_t m_settleRequested = 0;
    uint64_t m_settleDone = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace zelsim
