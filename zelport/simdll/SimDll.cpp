#include "zelport/simdll/SimDll.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

#include "sim/CommandSet.h"
#include "sim/ConfigParser.h"
#include "zelport/sim/StartupSettings.h"
#include "zelport/simdll/ServerEnd.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace zelsim {

namespace {

// How often a reader looks at the printers' silence deadlines while it waits.
constexpr DWORD kSilenceCheckMs = 20;
constexpr char kWho[] = "ZELPORT.dll (simulated printers): ";

using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;

bool IsInquiry(const std::vector<uint8_t>& transfer) {
    const sim::CommandKind kind = sim::CommandSet::Classify(transfer).kind;
    return sim::CommandSet::IsCommand(transfer) &&
           (kind == sim::CommandKind::VersionInquiry || kind == sim::CommandKind::StatusInquiry ||
            kind == sim::CommandKind::IdentityRead);
}

// Why the library cannot serve a configuration; empty when it can.
std::string Unservable(const sim::SimConfig& config) {
    for (const sim::PrinterConfig& printer : config.printers) {
        if (!printer.restartHeldUntil.empty()) {
            return "hold-restart is not simulated on Windows";
        }
        for (const sim::WriteFault& fault : printer.writeFaults) {
            if (fault.action == sim::WriteFault::Action::TakeShort) {
                return "write-short cannot be simulated: a pipe's WriteFile moves all of its "
                       "bytes or none";
            }
        }
    }
    return {};
}

bool TimeReached(uint32_t deadline) {
    return static_cast<int32_t>(::GetTickCount() - deadline) >= 0;
}

void Pin() {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&Pin), &self);
}

}  // namespace

SimDll& SimDll::Instance() {
    // Never destroyed: its threads may still run when the process ends.
    static SimDll* library = new SimDll();
    return *library;
}

SimDll::SimDll() {
    Pin();
    std::lock_guard lock(m_mutex);
    // As on Linux, with the user's local application data in place of the XDG state home.
    StartupSettings settings = StartupSettings::FromEnvironment("LOCALAPPDATA", nullptr);
    if (!settings.refusal.empty()) {
        std::cerr << kWho << settings.origin << ": " << settings.refusal
                  << "; every device open fails\n";
        return;
    }
    Configure(settings.configText, settings.origin, settings.statePath);
}

bool SimDll::Configure(const std::optional<std::string>& configText, const std::string& origin,
                       const std::optional<std::string>& statePath) {
    ++m_generation;
    m_pipes.CloseAllButOut();
    m_printers.Clear();
    m_silenceDeadline.clear();
    m_openCounts.clear();
    m_usable = false;
    sim::SimConfig config = sim::SimConfig::Default();
    if (configText) {
        sim::ConfigError error;
        if (!sim::ConfigParser::Parse(*configText, config, error)) {
            std::cerr << kWho << origin << ": " << error.Describe()
                      << "; every device open fails\n";
            m_config = sim::SimConfig{};
            return false;
        }
    }
    if (const std::string refusal = Unservable(config); !refusal.empty()) {
        std::cerr << kWho << origin << ": " << refusal << "; every device open fails\n";
        m_config = sim::SimConfig{};
        return false;
    }
    std::string refusal;
    if (!m_printers.Load(config.printers, statePath, refusal)) {
        std::cerr << kWho << refusal << "; every device open fails\n";
        m_config = sim::SimConfig{};
        return false;
    }
    m_config = std::move(config);
    m_silenceDeadline.resize(m_printers.Count());
    m_schedule.TakeAll();
    m_schedule.ResetLinks(m_printers.Count(), LinkSchedule::Clock::now());
    m_openCounts.resize(m_printers.Count());
    m_usable = true;
    return true;
}

intptr_t SimDll::OpenPipe(PipeKind kind, uint32_t deviceIndex) {
    const auto invalid = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
    m_pipes.CloseAbandoned();
    const std::optional<size_t> selected = Select(deviceIndex);
    if (!selected) {
        return invalid;
    }
    const size_t position = *selected;
    const sim::PrinterConfig& config = m_printers.At(position).Config();
    const uint32_t opens = ++m_openCounts[position][static_cast<size_t>(kind)];
    const bool failingKind = (kind == PipeKind::Control && config.controlOpenFails) ||
                             (kind == PipeKind::Out && config.pipe00OpenFails) ||
                             (kind == PipeKind::In && config.pipe01OpenFails);
    if (failingKind && (config.openFailsOccurrence == 0 || config.openFailsOccurrence == opens)) {
        return invalid;
    }
    void* client = nullptr;
    const auto pipe = m_pipes.Open(
        Pipe{nullptr, kind, position, m_generation, kind == PipeKind::Out && WritesServed()},
        client);
    if (pipe == nullptr) {
        return invalid;
    }
    if (kind == PipeKind::Out) {
        std::thread([this, pipe] { Serve(pipe); }).detach();
    }
    return reinterpret_cast<intptr_t>(client);
}

void SimDll::Serve(const std::shared_ptr<Pipe>& pipe) {
    ServerEnd end(pipe->server);
    std::vector<uint8_t> transfer;
    const auto whileWaiting = [&] {
        std::lock_guard lock(m_mutex);
        return WhileWaiting(*pipe);
    };
    bool open = true;
    while (open) {
        const uint32_t error = end.Next(pipe->writesServed, transfer, whileWaiting);
        Verdict verdict;
        {
            std::lock_guard lock(m_mutex);
            if (error == ERROR_SUCCESS && pipe->generation == m_generation) {
                verdict = Handle(*pipe, transfer);
            }
        }
        // The tool's write is held for the link's time, as a bulk transfer holds it.
        std::this_thread::sleep_until(verdict.until);
        if (verdict.taken && pipe->writesServed && !end.Take()) {
            verdict.keepOpen = false;
        }
        if (!verdict.keepOpen) {
            std::lock_guard lock(m_mutex);
            m_pipes.Close(pipe);
            open = false;
        }
    }
}

uint32_t SimDll::WhileWaiting(const Pipe& pipe) {
    CheckSilence();
    for (const LinkSchedule::Step& step : m_schedule.TakeDue(LinkSchedule::Clock::now())) {
        if (step.generation == m_generation && m_printers.At(step.printer).IsAttached()) {
            m_pipes.Deliver(step.printer, m_generation, step.reply);
        }
    }
    if (ServerPipes::ClientGone(pipe.server)) {
        ::CancelIo(pipe.server);
    }
    uint32_t waitMs = kSilenceCheckMs;
    if (const auto due = m_schedule.NextDue()) {
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(*due - LinkSchedule::Clock::now());
        waitMs = static_cast<uint32_t>(std::clamp<int64_t>(wait.count(), 0, waitMs));
    }
    return waitMs;
}

SimDll::Verdict SimDll::Handle(const Pipe& pipe, const std::vector<uint8_t>& transfer) {
    sim::SimulatedPrinter& printer = m_printers.At(pipe.printer);
    const auto now = LinkSchedule::Clock::now();
    Verdict verdict{false, false, now};
    if (!printer.IsAttached()) {
        return verdict;
    }
    const sim::SimulatedPrinter::WriteResult result =
        printer.OnHostWrite(transfer, pipe.writesServed ? m_config.timeLimitMs : 0);
    // The replies behind the write come after it on the link.
    verdict.until = m_schedule.Reserve(pipe.printer, result.linkMilliseconds, now);
    bool replied = false;
    while (std::optional<sim::SimulatedPrinter::Reply> reply = printer.TakeReply()) {
        replied = true;
        LinkSchedule::Step step;
        step.printer = pipe.printer;
        step.generation = m_generation;
        step.reply = std::move(reply->bytes);
        if (const auto due = m_schedule.Schedule(std::move(step), reply->linkMilliseconds, now)) {
            m_pipes.Deliver(due->printer, m_generation, due->reply);
        }
    }
    if (!replied && IsInquiry(transfer)) {
        if (m_schedule.ChargesTime()) {
            // On a test's clock the reply that is not there never comes: the time limit
            // passes on that clock, and the in-pipe breaks before the tool reads it.
            m_schedule.Charge(m_config.timeLimitMs);
            m_pipes.Break(pipe.printer, PipeKind::In, m_generation);
        } else {
            m_silenceDeadline[pipe.printer] = ::GetTickCount() + m_config.timeLimitMs;
        }
    }
    Persist();
    if (!printer.IsAttached()) {
        m_pipes.Break(pipe.printer, PipeKind::In, m_generation);
        m_pipes.Break(pipe.printer, PipeKind::Control, m_generation);
        return verdict;
    }
    // A short write cannot happen on a pipe: configurations that ask for one are refused.
    verdict.taken = result.outcome == Outcome::Taken;
    verdict.keepOpen = verdict.taken;
    return verdict;
}

void SimDll::CheckSilence() {
    for (size_t printer = 0; printer < m_silenceDeadline.size(); ++printer) {
        if (m_silenceDeadline[printer] && TimeReached(*m_silenceDeadline[printer])) {
            m_silenceDeadline[printer].reset();
            m_pipes.Break(printer, PipeKind::In, m_generation);
        }
    }
}

void SimDll::Persist() {
    if (!m_printers.Persist()) {
        std::cerr << kWho << "cannot write the state file " << m_printers.StatePath() << '\n';
    }
}

bool SimDll::WritesServed() const {
    return m_config.NeedsWriteControl() || m_schedule.ChargesTime();
}

void SimDll::SetTimeSink(void (*advance)(uint32_t milliseconds)) {
    std::lock_guard lock(m_mutex);
    m_schedule.SetTimeSink(advance);
}

bool SimDll::Reset(const char* configText, const char* statePath, const char* tracePath) {
    std::lock_guard lock(m_mutex);
    if (tracePath != nullptr) {
        std::cerr << std::string(kWho) + "no transfer trace is written on Windows\n";
        m_usable = false;
        return false;
    }
    std::optional<std::string> text;
    if (configText != nullptr) {
        text = configText;
    }
    std::optional<std::string> state;
    if (statePath != nullptr) {
        state = statePath;
    }
    return Configure(text, "configuration text", state);
}

void SimDll::Settle() {
    std::unique_lock lock(m_mutex);
    if (WritesServed()) {
        return;  // each write was handled before the tool's WriteFile returned
    }
    // The writes wait in the out-pipes until the library's thread takes them, and it handles
    // each one under the lock as soon as it has taken it.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto pause = [&](std::chrono::milliseconds length) {
        lock.unlock();
        std::this_thread::sleep_for(length);
        lock.lock();
    };
    while (m_pipes.UntakenBytes() > 0 && std::chrono::steady_clock::now() < giveUp) {
        pause(std::chrono::milliseconds(1));
    }
    pause(std::chrono::milliseconds(5));
}

uint32_t SimDll::OpenHandles() {
    std::lock_guard lock(m_mutex);
    m_pipes.CloseAbandoned();
    return m_pipes.OpenOnToolSide();
}

}  // namespace zelsim
