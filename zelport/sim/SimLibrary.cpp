#include "zelport/sim/SimLibrary.h"

#include <algorithm>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "sim/AreaLayout.h"
#include "sim/ConfigParser.h"
#include "zelport/sim/StartupSettings.h"

namespace zelsim {

namespace {

constexpr char kWho[] = "ZELPORT.so (simulated printers): ";
constexpr char kNoWakeUpChannel[] = "cannot create the wake-up channel of the library's thread";
constexpr char kNoThread[] = "the library's thread is not running";
constexpr std::chrono::milliseconds kOutOfMemoryPause{10};

std::optional<std::string> TextOrNone(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

SimLibrary& SimLibrary::Instance() {
    static SimLibrary library;
    return library;
}

SimLibrary::SimLibrary() {
    std::lock_guard lock(m_mutex);
    if (!m_poller.IsValid()) {
        // A thread that could never be woken could never be stopped either: none is started,
        // and the library stays refused.
        Refuse(kNoWakeUpChannel);
        return;
    }
    StartupSettings settings = StartupSettings::FromEnvironment("XDG_STATE_HOME", "HOME");
    if (!settings.refusal.empty()) {
        Refuse(settings.origin + ": " + settings.refusal);
    } else {
        Configure(std::move(settings.configText), settings.origin, std::move(settings.statePath),
                  settings.tracePath);
    }
    try {
        m_thread = std::thread([this] { Serve(); });
    } catch (const std::system_error& error) {
        Refuse(std::string("cannot start the library's thread: ") + error.what());
    }
}

SimLibrary::~SimLibrary() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_poller.Wake();
    m_thread.join();
}

bool SimLibrary::Configure(std::optional<std::string> configText, const std::string& origin,
                           std::optional<std::string> statePath, const char* tracePath) {
    m_pipes.NewGeneration();
    m_printers.Clear();
    m_trace.Restart(tracePath);

    sim::SimConfig config = sim::SimConfig::Default();
    if (configText) {
        sim::ConfigError error;
        if (!sim::ConfigParser::Parse(*configText, config, error)) {
            Refuse(origin + ": " + error.Describe());
            return false;
        }
    }
    std::string refusal;
    if (!m_printers.Load(config.printers, std::move(statePath), refusal)) {
        Refuse(refusal);
        return false;
    }
    m_config = std::move(config);
    m_schedule.ResetLinks(m_printers.Count(), Clock::now());
    m_usable = true;
    m_trace.Event([&] {
        return "configured from " + origin + ": " + std::to_string(m_printers.Count()) +
               " printer(s)" + (m_config.NeedsWriteControl() ? ", writes served" : "");
    });
    m_poller.Wake();
    return true;
}

void SimLibrary::Refuse(const std::string& reason) {
    m_usable = false;
    m_config = sim::SimConfig{};
    m_printers.Clear();
    m_schedule.ResetLinks(0, Clock::now());
    std::cerr << kWho + reason + "; every device open fails\n";
    m_trace.Event([&] { return "refused: " + reason; });
}

void SimLibrary::UnknownPipeRefused(const char* pipeName) {
    m_trace.Event([&] {
        return std::string("open of an unknown pipe \"") +
               (pipeName != nullptr ? pipeName : "(null)") + "\" refused";
    });
}

HANDLE SimLibrary::OpenPipe(PipeKind kind, uint32_t deviceIndex) {
    const std::optional<size_t> position = Select(deviceIndex);
    const auto what = [&] {
        return "open " + std::string(PipeTable::Name(kind)) + " of device " +
               std::to_string(deviceIndex);
    };
    if (!position) {
        m_trace.Event([&] { return what() + ": no such device"; });
        return INVALID_HANDLE_VALUE;
    }
    if (m_pipes.OpenFails(*position, kind, m_printers.At(*position).Config())) {
        m_trace.Event([&] {
            return what() + " (printer " + std::to_string(*position) + "): fails as configured";
        });
        return INVALID_HANDLE_VALUE;
    }
    std::string error;
    std::unique_ptr<devlink::PacketPipe> link =
        devlink::PacketPipe::Create(m_config.timeLimitMs, error);
    if (!link) {
        std::cerr << kWho + what() + ": " + error + '\n';
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = link->TakeHostEnd();
    m_pipes.Add(std::move(link), kind, *position,
                kind == PipeKind::Out && m_config.NeedsWriteControl());
    m_trace.Event([&] {
        return what() + " (printer " + std::to_string(*position) + "): handle " +
               std::to_string(handle);
    });
    m_poller.Wake();
    return handle;
}

void SimLibrary::Serve() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        try {
            ServePass(lock);
        } catch (const std::bad_alloc&) {
            // The simulated printers share the process's memory: what they were handed in this
            // pass is lost, as by a printer that misses a transfer, and the host's time limits
            // end its wait. A settle waiting for this pass is released.
            if (!lock.owns_lock()) {
                lock.lock();
            }
            m_settleDone = m_settleRequested;
            m_settled.notify_all();
            lock.unlock();
            std::this_thread::sleep_for(kOutOfMemoryPause);
            lock.lock();
        }
    }
    m_settled.notify_all();
}

void SimLibrary::ServePass(std::unique_lock<std::mutex>& lock) {
    std::vector<int> watched = WatchedDescriptors();
    int timeoutMs = -1;
    if (const std::optional<Clock::time_point> due = m_schedule.NextDue()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
        timeoutMs = static_cast<int>(std::clamp<int64_t>(wait.count(), 0, 60000));
    }
    lock.unlock();
    std::vector<devlink::Poller::Ready> ready = m_poller.Wait(watched, timeoutMs);
    lock.lock();
    HandleReady(ready);
    PerformDueSteps();
    if (m_settleDone < m_settleRequested) {
        // Everything the settling thread did before asking is visible to this pass.
        const uint64_t target = m_settleRequested;
        watched = WatchedDescriptors();
        lock.unlock();
        ready = m_poller.Wait(watched, 0);
        lock.lock();
        HandleReady(ready);
        PerformDueSteps();
        m_settleDone = target;
        m_settled.notify_all();
    }
    Persist();
}

std::vector<int> SimLibrary::WatchedDescriptors() const {
    return m_pipes.WatchedDescriptors();
}

void SimLibrary::HandleReady(const std::vector<devlink::Poller::Ready>& ready) {
    for (const devlink::Poller::Ready& event : ready) {
        const PipeTable::Pipe* pipe = m_pipes.ByDeviceDescriptor(event.descriptor);
        if (pipe == nullptr) {
            continue;
        }
        bool closed = event.hungUp && !event.readable;
        std::vector<uint8_t> packet;
        while (!closed && event.readable) {
            const auto received = pipe->link->Receive(packet);
            if (received == devlink::PacketPipe::ReceiveResult::Empty) {
                break;
            }
            closed = received == devlink::PacketPipe::ReceiveResult::Closed;
            if (!closed && pipe->kind == PipeKind::Out) {
                HandlePacket(*pipe, packet);
            }
        }
        if (closed) {
            m_trace.Event([&] {
                return "close " + std::string(PipeTable::Name(pipe->kind)) + " of printer " +
                       std::to_string(pipe->printer) + ": handle " +
                       std::to_string(pipe->link->HostHandle());
            });
            m_pipes.Remove(event.descriptor);
        }
    }
}

void SimLibrary::HandlePacket(const PipeTable::Pipe& pipe, const std::vector<uint8_t>& packet) {
    const bool current = m_pipes.IsCurrent(pipe) && pipe.printer < m_printers.Count();
    if (!current || !m_printers.At(pipe.printer).IsAttached()) {
        m_trace.Transfer("PIPE00", "host->printer", pipe.printer, packet,
                         "discarded, printer gone");
        return;
    }
    const auto result = m_printers.At(pipe.printer).OnHostWrite(packet, 0);
    m_trace.HostWrite(pipe.printer, packet, result, false);
    AfterWrite(pipe.printer);
}

SimLibrary::Clock::time_point SimLibrary::ServeWrite(const PipeTable::Pipe& pipe,
                                                     std::span<const uint8_t> bytes,
                                                     sim::SimulatedPrinter::WriteResult& result) {
    if (!m_pipes.IsCurrent(pipe) || pipe.printer >= m_printers.Count()) {
        m_trace.Transfer("PIPE00", "host->printer", pipe.printer, bytes, "failed, printer gone");
        result.outcome = Outcome::Gone;
        return Clock::now();
    }
    sim::SimulatedPrinter& printer = m_printers.At(pipe.printer);
    result = printer.OnHostWrite(bytes, m_schedule.ChargesTime() ? 0 : m_config.timeLimitMs);
    m_trace.HostWrite(pipe.printer, bytes, result, true);
    // The replies behind the write come after it on the link.
    const Clock::time_point done =
        m_schedule.Reserve(pipe.printer, result.linkMilliseconds, Clock::now());
    AfterWrite(pipe.printer);
    if (!printer.IsAttached()) {
        m_trace.Event([&] { return "printer " + std::to_string(pipe.printer) + " unplugged"; });
        m_pipes.EndInPipes(pipe.printer);
    }
    m_poller.Wake();
    return done;
}

void SimLibrary::AfterWrite(size_t printer) {
    while (std::optional<sim::SimulatedPrinter::Reply> reply = m_printers.At(printer).TakeReply()) {
        LinkStep step;
        step.printer = printer;
        step.generation = m_pipes.Generation();
        step.reply = std::move(reply->bytes);
        Schedule(std::move(step), reply->linkMilliseconds);
    }
}

void SimLibrary::Schedule(LinkStep step, uint32_t milliseconds) {
    if (const std::optional<LinkStep> now =
            m_schedule.Schedule(std::move(step), milliseconds, Clock::now())) {
        Perform(*now);
    }
}

void SimLibrary::PerformDueSteps() {
    for (const LinkStep& step : m_schedule.TakeDue(Clock::now())) {
        Perform(step);
    }
}

void SimLibrary::Perform(const LinkStep& step) {
    if (step.generation == m_pipes.Generation() && m_printers.At(step.printer).IsAttached()) {
        DeliverReply(step.printer, step.reply);
    }
}

void SimLibrary::DeliverReply(size_t printer, const std::vector<uint8_t>& reply) {
    const std::optional<devlink::PacketPipe::SendResult> sent =
        m_pipes.SendToNewestInPipe(printer, reply);
    if (!sent) {
        m_trace.Transfer("PIPE01", "printer->host", printer, reply, "lost, no in-pipe open");
    } else if (*sent == devlink::PacketPipe::SendResult::Full) {
        m_trace.Transfer("PIPE01", "printer->host", printer, reply, "lost, the in-pipe is full");
    } else {
        m_trace.Transfer("PIPE01", "printer->host", printer, reply, "");
    }
}

void SimLibrary::Persist() {
    if (!m_printers.Persist()) {
        std::cerr << kWho + ("cannot write the state file " + m_printers.StatePath()) + '\n';
    }
}

void SimLibrary::SetTimeSink(void (*advance)(uint32_t)) {
    std::lock_guard lock(m_mutex);
    m_schedule.SetTimeSink(advance);
}

bool SimLibrary::Reset(const char* configText, const char* statePath, const char* tracePath) {
    std::lock_guard lock(m_mutex);
    if (!m_thread.joinable()) {
        Refuse(kNoThread);
        return false;
    }
    return Configure(TextOrNone(configText), "configuration text", TextOrNone(statePath),
                     tracePath);
}

void SimLibrary::Settle() {
    std::unique_lock lock(m_mutex);
    SettleHolding(lock);
}

void SimLibrary::SettleHolding(std::unique_lock<std::mutex>& lock) {
    const uint64_t target = ++m_settleRequested;
    m_poller.Wake();
    m_settled.wait(lock, [&] { return m_settleDone >= target || m_stopping; });
}

uint32_t SimLibrary::OpenHandles() {
    std::lock_guard lock(m_mutex);
    return static_cast<uint32_t>(m_pipes.Count());
}

}  // namespace zelsim
