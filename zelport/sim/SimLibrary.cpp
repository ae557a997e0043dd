#include "zelport/sim/SimLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "sim/AreaLayout.h"
#include "sim/ConfigParser.h"

namespace zelsim {

namespace {

constexpr uint32_t kLargestDeviceIndex = 126;
constexpr char kWho[] = "ZELPORT.so (simulated printers): ";

const char* OutcomeText(sim::SimulatedPrinter::WriteResult::Outcome outcome) {
    using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;
    switch (outcome) {
        case Outcome::Taken:
            return "";
        case Outcome::TakenShort:
            return "taken short";
        case Outcome::Failed:
            return "failed";
        case Outcome::Gone:
            return "failed, printer unplugged";
        case Outcome::TimedOut:
            return "failed, time limit";
    }
    return "";
}

}  // namespace

SimLibrary& SimLibrary::Instance() {
    static SimLibrary library;
    return library;
}

SimLibrary::SimLibrary() {
    std::lock_guard lock(m_mutex);
    std::optional<std::string> text;
    std::string origin = "built-in configuration";
    bool readable = true;
    if (const char* path = std::getenv("RXT9_SIM_CONFIG"); path != nullptr && *path != '\0') {
        origin = std::string("RXT9_SIM_CONFIG ") + path;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream contents;
        if (in) {
            contents << in.rdbuf();
        }
        text = contents.str();
        readable = static_cast<bool>(in);
    }
    if (!m_poller.IsValid()) {
        Refuse("cannot create the wake-up channel of the library's thread");
    } else if (!readable) {
        Refuse(origin + ": cannot read the file");
    } else {
        Configure(text, origin,
                  sim::StateFile::ResolvePath(std::getenv("RXT9_SIM_STATE"),
                                              std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
                  std::getenv("RXT9_SIM_TRACE"));
    }
    m_thread = std::thread([this] { Serve(); });
}

SimLibrary::~SimLibrary() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_poller.Wake();
    m_thread.join();
    // Writers still held by the link must not wait for a thread that has gone.
    for (const LinkStep& step : m_steps) {
        if (step.writeId && m_interceptor) {
            m_interceptor->Fail(*step.writeId, devlink::WriteInterceptor::Error::NoDevice);
        }
    }
}

bool SimLibrary::Configure(std::optional<std::string> configText, const std::string& origin,
                           std::optional<std::string> statePath, const char* tracePath) {
    // Earlier handles stay open until the tool closes them, but lead nowhere from now on.
    ++m_generation;
    m_openCounts.clear();
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        if (pipe->kind == PipeKind::In) {
            pipe->link->EndTowardsHost();
        }
    }
    for (const LinkStep& step : m_steps) {
        if (step.writeId) {
            m_interceptor->Fail(*step.writeId, devlink::WriteInterceptor::Error::NoDevice);
        }
    }
    m_steps.clear();
    m_printers.clear();
    m_storedRevision.clear();
    m_linkBusyUntil.clear();
    m_vendorId.reset();
    m_productIds.clear();
    m_trace.reset();
    if (tracePath != nullptr && *tracePath != '\0') {
        m_trace = std::make_unique<TransferTrace>(tracePath);
    }
    m_stateFile.reset();
    if (statePath) {
        m_stateFile.emplace(*statePath);
    }

    sim::SimConfig config = sim::SimConfig::Default();
    if (configText) {
        sim::ConfigError error;
        if (!sim::ConfigParser::Parse(*configText, config, error)) {
            Refuse(origin + ": " + error.Describe());
            return false;
        }
    }
    if (config.NeedsWriteControl() && !m_interceptor) {
        std::string reason;
        m_interceptor = devlink::WriteInterceptor::Install(reason);
        if (!m_interceptor) {
            Refuse(origin +
                   ": its write faults or link rate need the write interceptor, which "
                   "could not be installed (" +
                   reason + ")");
            return false;
        }
    }
    m_config = std::move(config);
    const std::vector<sim::PrinterState> stored =
        m_stateFile ? m_stateFile->Load() : std::vector<sim::PrinterState>{};
    for (size_t i = 0; i < m_config.printers.size(); ++i) {
        auto printer = std::make_unique<sim::SimulatedPrinter>(m_config.printers[i]);
        for (const sim::PrinterState& state : stored) {
            if (state.position == i && state.identity == m_config.printers[i].identity) {
                for (const sim::AreaLayout& area : sim::AreaLayout::All()) {
                    printer->Device().SetReported(area, state.firmware[area.Index()]);
                }
            }
        }
        m_storedRevision.push_back(printer->Device().FirmwareRevision());
        m_linkBusyUntil.push_back(Clock::now());
        m_printers.push_back(std::move(printer));
    }
    m_usable = true;
    if (m_trace) {
        m_trace->Event("configured from " + origin + ": " + std::to_string(m_printers.size()) +
                       " printer(s)" + (m_interceptor ? ", writes intercepted" : ""));
    }
    m_poller.Wake();
    return true;
}

void SimLibrary::Refuse(const std::string& reason) {
    m_usable = false;
    m_config = sim::SimConfig{};
    m_printers.clear();
    m_storedRevision.clear();
    m_linkBusyUntil.clear();
    std::cerr << kWho << reason << "; every device open fails\n";
    if (m_trace) {
        m_trace->Event("refused: " + reason);
    }
}

BOOL SimLibrary::SetVendorId(uint32_t vendorId) {
    std::lock_guard lock(m_mutex);
    if (m_config.refuseVendorId) {
        return 0;
    }
    m_vendorId = static_cast<uint16_t>(vendorId & 0xFFFF);
    return 1;
}

BOOL SimLibrary::SetProductIds(const uint16_t* productIds, uint32_t count) {
    std::lock_guard lock(m_mutex);
    m_productIds.clear();
    if (productIds != nullptr) {
        m_productIds.assign(productIds, productIds + count);
    }
    return 1;
}

sim::SimulatedPrinter* SimLibrary::Select(uint32_t deviceIndex, size_t& printer) {
    if (!m_usable || !m_vendorId || deviceIndex > kLargestDeviceIndex) {
        return nullptr;
    }
    uint32_t seen = 0;
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const sim::PrinterConfig& config = m_printers[i]->Config();
        const bool selected = m_printers[i]->IsAttached() && config.vendorId == *m_vendorId &&
                              std::find(m_productIds.begin(), m_productIds.end(),
                                        config.productId) != m_productIds.end();
        if (selected && seen++ == deviceIndex) {
            printer = i;
            return m_printers[i].get();
        }
    }
    return nullptr;
}

HANDLE SimLibrary::OpenControl(uint32_t deviceIndex) {
    std::lock_guard lock(m_mutex);
    return OpenPipe(PipeKind::Control, deviceIndex);
}

HANDLE SimLibrary::OpenBulk(const char* pipeName, uint32_t deviceIndex) {
    std::lock_guard lock(m_mutex);
    if (pipeName != nullptr && std::strcmp(pipeName, "PIPE00") == 0) {
        return OpenPipe(PipeKind::Out, deviceIndex);
    }
    if (pipeName != nullptr && std::strcmp(pipeName, "PIPE01") == 0) {
        return OpenPipe(PipeKind::In, deviceIndex);
    }
    if (m_trace) {
        m_trace->Event(std::string("open of an unknown pipe \"") +
                       (pipeName != nullptr ? pipeName : "(null)") + "\" refused");
    }
    return INVALID_HANDLE_VALUE;
}

HANDLE SimLibrary::OpenPipe(PipeKind kind, uint32_t deviceIndex) {
    size_t position = 0;
    sim::SimulatedPrinter* printer = Select(deviceIndex, position);
    const std::string what = "open " + PipeName(kind) + " of device " + std::to_string(deviceIndex);
    if (printer == nullptr) {
        if (m_trace) {
            m_trace->Event(what + ": no such device");
        }
        return INVALID_HANDLE_VALUE;
    }
    const sim::PrinterConfig& config = printer->Config();
    if (m_openCounts.size() < m_printers.size()) {
        m_openCounts.resize(m_printers.size());
    }
    const uint32_t opens = ++m_openCounts[position][static_cast<size_t>(kind)];
    const bool failingKind = (kind == PipeKind::Control && config.controlOpenFails) ||
                             (kind == PipeKind::Out && config.pipe00OpenFails) ||
                             (kind == PipeKind::In && config.pipe01OpenFails);
    if (failingKind && (config.openFailsOccurrence == 0 || config.openFailsOccurrence == opens)) {
        if (m_trace) {
            m_trace->Event(what + " (printer " + std::to_string(position) +
                           "): fails as configured");
        }
        return INVALID_HANDLE_VALUE;
    }
    const bool intercepted = kind == PipeKind::Out && m_config.NeedsWriteControl();
    std::string error;
    std::unique_ptr<devlink::PacketPipe> link =
        devlink::PacketPipe::Create(m_config.timeLimitMs, intercepted, error);
    if (!link) {
        std::cerr << kWho << what << ": " << error << '\n';
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = link->TakeHostEnd();
    m_pipes.push_back(
        std::make_unique<Pipe>(Pipe{std::move(link), kind, position, m_generation, intercepted}));
    if (m_trace) {
        m_trace->Event(what + " (printer " + std::to_string(position) + "): handle " +
                       std::to_string(handle));
    }
    m_poller.Wake();
    return handle;
}

std::string SimLibrary::PipeName(PipeKind kind) const {
    switch (kind) {
        case PipeKind::Control:
            return "control handle";
        case PipeKind::Out:
            return "PIPE00";
        case PipeKind::In:
            return "PIPE01";
    }
    return "";
}

void SimLibrary::Serve() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        std::vector<int> watched = WatchedDescriptors();
        int timeoutMs = -1;
        if (!m_steps.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(m_steps.front().due - Clock::now());
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
    m_settled.notify_all();
}

std::vector<int> SimLibrary::WatchedDescriptors() const {
    std::vector<int> watched;
    if (m_interceptor) {
        watched.push_back(m_interceptor->ListenerDescriptor());
    }
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        watched.push_back(pipe->link->DeviceDescriptor());
    }
    return watched;
}

void SimLibrary::HandleReady(const std::vector<devlink::Poller::Ready>& ready) {
    for (const devlink::Poller::Ready& event : ready) {
        if (m_interceptor && event.descriptor == m_interceptor->ListenerDescriptor()) {
            HandleIntercepted();
            continue;
        }
        auto found = std::find_if(m_pipes.begin(), m_pipes.end(), [&](const auto& pipe) {
            return pipe->link->DeviceDescriptor() == event.descriptor;
        });
        if (found == m_pipes.end()) {
            continue;
        }
        bool closed = event.hungUp && !event.readable;
        std::vector<uint8_t> packet;
        while (!closed && event.readable) {
            const auto received = (*found)->link->Receive(packet);
            if (received == devlink::PacketPipe::ReceiveResult::Empty) {
                break;
            }
            closed = received == devlink::PacketPipe::ReceiveResult::Closed;
            if (!closed && (*found)->kind == PipeKind::Out) {
                HandlePacket(**found, packet);
            }
        }
        if (closed) {
            if (m_trace) {
                m_trace->Event("close " + PipeName((*found)->kind) + " of printer " +
                               std::to_string((*found)->printer) + ": handle " +
                               std::to_string((*found)->link->HostHandle()));
            }
            m_pipes.erase(found);
        }
    }
}

void SimLibrary::HandlePacket(const Pipe& pipe, const std::vector<uint8_t>& packet) {
    const bool current = pipe.generation == m_generation && pipe.printer < m_printers.size();
    if (!current || !m_printers[pipe.printer]->IsAttached()) {
        if (m_trace) {
            m_trace->Transfer("PIPE00", "host->printer", pipe.printer, packet,
                              "discarded, printer gone");
        }
        return;
    }
    const auto result = m_printers[pipe.printer]->OnHostWrite(packet, 0);
    if (m_trace) {
        m_trace->Transfer("PIPE00", "host->printer", pipe.printer, packet,
                          OutcomeText(result.outcome));
    }
    AfterWrite(pipe.printer, result, std::nullopt);
}

void SimLibrary::HandleIntercepted() {
    devlink::WriteInterceptor::Write write;
    if (!m_interceptor->Next(write)) {
        return;
    }
    // The newest pipe with that number: a closed one may linger until its hang-up is seen.
    auto found = std::find_if(m_pipes.rbegin(), m_pipes.rend(), [&](const auto& pipe) {
        return pipe->intercepted && pipe->link->HostHandle() == write.descriptor;
    });
    if (found == m_pipes.rend()) {
        m_interceptor->PassThrough(write.id);
        return;
    }
    const Pipe& pipe = **found;
    if (pipe.generation != m_generation || pipe.printer >= m_printers.size()) {
        if (m_trace) {
            m_trace->Transfer("PIPE00", "host->printer", pipe.printer, write.bytes,
                              "failed, printer gone");
        }
        m_interceptor->Fail(write.id, devlink::WriteInterceptor::Error::NoDevice);
        return;
    }
    sim::SimulatedPrinter& printer = *m_printers[pipe.printer];
    const auto result = printer.OnHostWrite(write.bytes, m_timeSink ? 0 : m_config.timeLimitMs);
    if (m_trace) {
        std::string outcome = OutcomeText(result.outcome);
        if (result.outcome == Outcome::TakenShort) {
            outcome = "taken short, " + std::to_string(result.taken) + " bytes";
        }
        m_trace->Transfer("PIPE00", "host->printer", pipe.printer, write.bytes, outcome);
    }
    const bool unplugged = !printer.IsAttached();
    AfterWrite(pipe.printer, result, write.id);
    if (unplugged) {
        if (m_trace) {
            m_trace->Event("printer " + std::to_string(pipe.printer) + " unplugged");
        }
        EndInPipes(pipe.printer);
    }
}

void SimLibrary::AfterWrite(size_t printer, const sim::SimulatedPrinter::WriteResult& result,
                            std::optional<uint64_t> writeId) {
    // A write that arrived as a packet has returned already; its link time is only a delay
    // for the replies behind it.
    if (writeId) {
        LinkStep answer;
        answer.printer = printer;
        answer.generation = m_generation;
        answer.writeId = writeId;
        answer.outcome = result.outcome;
        answer.taken = result.taken;
        Schedule(std::move(answer), result.linkMilliseconds);
    }
    while (std::optional<sim::SimulatedPrinter::Reply> reply = m_printers[printer]->TakeReply()) {
        LinkStep step;
        step.printer = printer;
        step.generation = m_generation;
        step.reply = std::move(reply->bytes);
        Schedule(std::move(step), reply->linkMilliseconds);
    }
}

void SimLibrary::Schedule(LinkStep step, uint32_t milliseconds) {
    if (m_timeSink != nullptr) {
        if (milliseconds > 0) {
            m_timeSink(milliseconds);
        }
        Perform(step);
        return;
    }
    const Clock::time_point now = Clock::now();
    Clock::time_point& busyUntil = m_linkBusyUntil[step.printer];
    step.due = std::max(now, busyUntil) + std::chrono::milliseconds(milliseconds);
    busyUntil = step.due;
    if (step.due <= now && m_steps.empty()) {
        Perform(step);
        return;
    }
    const auto later = std::upper_bound(
        m_steps.begin(), m_steps.end(), step.due,
        [](Clock::time_point due, const LinkStep& other) { return due < other.due; });
    m_steps.insert(later, std::move(step));
}

void SimLibrary::PerformDueSteps() {
    const Clock::time_point now = Clock::now();
    size_t done = 0;
    while (done < m_steps.size() && m_steps[done].due <= now) {
        Perform(m_steps[done]);
        ++done;
    }
    m_steps.erase(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(done));
}

void SimLibrary::Perform(const LinkStep& step) {
    using Error = devlink::WriteInterceptor::Error;
    if (step.writeId) {
        switch (step.outcome) {
            case Outcome::Taken:
            case Outcome::TakenShort:
                m_interceptor->Complete(*step.writeId, step.taken);
                break;
            case Outcome::Failed:
                m_interceptor->Fail(*step.writeId, Error::InputOutput);
                break;
            case Outcome::Gone:
                m_interceptor->Fail(*step.writeId, Error::NoDevice);
                break;
            case Outcome::TimedOut:
                m_interceptor->Fail(*step.writeId, Error::TimedOut);
                break;
        }
        return;
    }
    if (step.generation == m_generation && m_printers[step.printer]->IsAttached()) {
        DeliverReply(step.printer, step.reply);
    }
}

void SimLibrary::DeliverReply(size_t printer, const std::vector<uint8_t>& reply) {
    // The newest open in-pipe of the printer gets it; one the tool has closed refuses it.
    for (auto pipe = m_pipes.rbegin(); pipe != m_pipes.rend(); ++pipe) {
        if ((*pipe)->kind != PipeKind::In || (*pipe)->printer != printer ||
            (*pipe)->generation != m_generation) {
            continue;
        }
        const auto sent = (*pipe)->link->Send(reply);
        if (sent == devlink::PacketPipe::SendResult::Closed) {
            continue;
        }
        if (m_trace) {
            m_trace->Transfer(
                "PIPE01", "printer->host", printer, reply,
                sent == devlink::PacketPipe::SendResult::Full ? "lost, the in-pipe is full" : "");
        }
        return;
    }
    if (m_trace) {
        m_trace->Transfer("PIPE01", "printer->host", printer, reply, "lost, no in-pipe open");
    }
}

void SimLibrary::EndInPipes(size_t printer) {
    for (const std::unique_ptr<Pipe>& pipe : m_pipes) {
        if (pipe->kind == PipeKind::In && pipe->printer == printer &&
            pipe->generation == m_generation) {
            pipe->link->EndTowardsHost();
        }
    }
}

void SimLibrary::Persist() {
    bool changed = false;
    std::vector<sim::PrinterState> states;
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const sim::PrinterDevice& device = m_printers[i]->Device();
        changed = changed || device.FirmwareRevision() != m_storedRevision[i];
        m_storedRevision[i] = device.FirmwareRevision();
        states.push_back({i, m_printers[i]->Config().identity, device.AllReported()});
    }
    if (changed && m_stateFile && !m_stateFile->Store(states)) {
        std::cerr << kWho << "cannot write the state file " << m_stateFile->Path() << '\n';
    }
}

void SimLibrary::SetTimeSink(void (*advance)(uint32_t)) {
    std::lock_guard lock(m_mutex);
    m_timeSink = advance;
}

bool SimLibrary::Reset(const char* configText, const char* statePath, const char* tracePath) {
    std::lock_guard lock(m_mutex);
    std::optional<std::string> text;
    if (configText != nullptr) {
        text = configText;
    }
    std::optional<std::string> state;
    if (statePath != nullptr) {
        state = statePath;
    }
    return Configure(text, "configuration text", state, tracePath);
}

void SimLibrary::Settle() {
    std::unique_lock lock(m_mutex);
    const uint64_t target = ++m_settleRequested;
    m_poller.Wake();
    m_settled.wait(lock, [&] { return m_settleDone >= target || m_stopping; });
}

uint32_t SimLibrary::PrinterCount() {
    std::lock_guard lock(m_mutex);
    return static_cast<uint32_t>(m_printers.size());
}

size_t SimLibrary::ReceivedLog(uint32_t printer, char* buffer, size_t size) {
    std::lock_guard lock(m_mutex);
    if (printer >= m_printers.size()) {
        return 0;
    }
    const std::string text = m_printers[printer]->Device().Log().Text();
    if (buffer != nullptr && size > 0) {
        const size_t copied = std::min(text.size(), size - 1);
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return text.size();
}

bool SimLibrary::Firmware(uint32_t printer, char area, uint8_t* version, uint16_t* checksum) {
    std::lock_guard lock(m_mutex);
    const sim::AreaLayout* layout = sim::AreaLayout::ByLetter(area);
    if (printer >= m_printers.size() || layout == nullptr) {
        return false;
    }
    const sim::ItemFirmware& firmware = m_printers[printer]->Device().Reported(*layout);
    if (version != nullptr) {
        std::copy(firmware.version.begin(), firmware.version.end(), version);
    }
    if (checksum != nullptr) {
        *checksum = firmware.checksum;
    }
    return true;
}

int SimLibrary::InDownloadMode(uint32_t printer) {
    std::lock_guard lock(m_mutex);
    if (printer >= m_printers.size()) {
        return -1;
    }
    return m_printers[printer]->Device().InDownloadMode() ? 1 : 0;
}

int SimLibrary::IsAttached(uint32_t printer) {
    std::lock_guard lock(m_mutex);
    if (printer >= m_printers.size()) {
        return -1;
    }
    return m_printers[printer]->IsAttached() ? 1 : 0;
}

uint32_t SimLibrary::OpenHandles() {
    std::lock_guard lock(m_mutex);
    return static_cast<uint32_t>(m_pipes.size());
}

}  // namespace zelsim
