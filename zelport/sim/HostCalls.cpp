// The file calls on the handles the library handed out, made on the tool's own thread.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "sim/CommandSet.h"
#include "zelport/sim/SimLibrary.h"

namespace zelsim {

namespace {

// One read(2) or write(2) on a pipe's host end, as the file operations report it.
template <typename Transfer>
uint32_t OnDescriptor(const Transfer& transfer, uint32_t* moved) {
    ssize_t count = 0;
    do {
        count = transfer();
    } while (count < 0 && errno == EINTR);
    if (count >= 0) {
        *moved = static_cast<uint32_t>(count);
        return 0;
    }
    return errno == EAGAIN || errno == EWOULDBLOCK ? ZELPORT_ERROR_TIMEOUT
                                                   : ZELPORT_ERROR_GEN_FAILURE;
}

// Waits until `release` exists, ten minutes at most on the library's clock, so that a test that
// never releases the hold still ends.
void WaitForRelease(const std::string& release) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!std::filesystem::exists(release) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

bool SimLibrary::OwnsHandle(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    return m_pipes.ByHostHandle(handle) != nullptr;
}

uint32_t SimLibrary::HostRead(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved) {
    std::unique_lock lock(m_mutex);
    if (!m_schedule.ChargesTime()) {
        lock.unlock();
        return OnDescriptor([&] { return ::read(static_cast<int>(handle), buffer, count); }, moved);
    }
    // On a test's clock every reply is in the pipe once the writes before this read have been
    // handled: a reply that is not there never comes, and the time limit passes on that clock.
    SettleHolding(lock);
    const uint32_t error = OnDescriptor(
        [&] { return ::recv(static_cast<int>(handle), buffer, count, MSG_DONTWAIT); }, moved);
    if (error == ZELPORT_ERROR_TIMEOUT) {
        m_schedule.Charge(m_config.timeLimitMs);
    }
    return error;
}

uint32_t SimLibrary::HostWrite(HANDLE handle, const void* bytes, uint32_t count, uint32_t* moved) {
    std::unique_lock lock(m_mutex);
    const PipeTable::Pipe* pipe = m_pipes.ByHostHandle(handle);
    if (pipe == nullptr) {
        return ZELPORT_ERROR_INVALID_HANDLE;
    }
    if (!pipe->writesServed) {
        lock.unlock();
        return OnDescriptor([&] { return ::write(static_cast<int>(handle), bytes, count); }, moved);
    }
    const std::span<const uint8_t> written{static_cast<const uint8_t*>(bytes), count};
    const std::string release = RestartRelease(*pipe, written);
    sim::SimulatedPrinter::WriteResult result;
    const Clock::time_point done = ServeWrite(*pipe, written, result);
    lock.unlock();
    // The writer is held for the link's time, as a bulk transfer holds it.
    std::this_thread::sleep_until(done);
    if (!release.empty()) {
        WaitForRelease(release);
    }
    switch (result.outcome) {
        case Outcome::Taken:
        case Outcome::TakenShort:
            *moved = static_cast<uint32_t>(result.taken);
            return 0;
        case Outcome::Failed:
            return ZELPORT_ERROR_GEN_FAILURE;
        case Outcome::Gone:
            return ZELPORT_ERROR_DEVICE_NOT_CONNECTED;
        case Outcome::TimedOut:
            return ZELPORT_ERROR_TIMEOUT;
    }
    return ZELPORT_ERROR_GEN_FAILURE;
}

std::string SimLibrary::RestartRelease(const PipeTable::Pipe& pipe,
                                       std::span<const uint8_t> bytes) {
    if (pipe.printer >= m_config.printers.size() ||
        m_config.printers[pipe.printer].restartHeldUntil.empty() ||
        sim::CommandSet::Classify(bytes).kind != sim::CommandKind::Restart) {
        return {};
    }
    const std::string& release = m_config.printers[pipe.printer].restartHeldUntil;
    m_trace.Event([&] { return "restart held until " + release + " exists"; });
    return release;
}

uint32_t SimLibrary::HostClose(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    PipeTable::Pipe* pipe = m_pipes.ByHostHandle(handle);
    if (pipe == nullptr) {
        return ZELPORT_ERROR_INVALID_HANDLE;
    }
    // The thread forgets the pipe once it sees the hang-up.
    pipe->hostClosed = true;
    return ::close(static_cast<int>(handle)) == 0 ? 0 : ZELPORT_ERROR_INVALID_HANDLE;
}

}  // namespace zelsim
