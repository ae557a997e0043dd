// One simulated printer as the link sees it: the device model behind a USB link with the
// configured faults, its speed and the moment it is unplugged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "sim/FaultInjector.h"
#include "sim/PrinterConfig.h"
#include "sim/PrinterDevice.h"

namespace sim {

class SimulatedPrinter {
public:
    struct WriteResult {
        enum class Outcome {
            Taken,       // every byte
            TakenShort,  // `taken` bytes of more
            Failed,      // a configured fault, or the printer was unplugged during the write
            Gone,        // the printer was unplugged before
            TimedOut,    // the link would need longer than the write's time limit
        };
        Outcome outcome = Outcome::Taken;
        size_t taken = 0;
        // Time the link spent on the write (the time limit when it timed out).
        uint32_t linkMilliseconds = 0;
    };

    struct Reply {
        std::vector<uint8_t> bytes;
        uint32_t linkMilliseconds = 0;
    };

    explicit SimulatedPrinter(PrinterConfig config);
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    // One write of the host to the out-pipe. `timeLimitMs` (0: none) bounds the link time a
    // write may take; the virtual clock has none.
    WriteResult OnHostWrite(std::span<const uint8_t> bytes, uint32_t timeLimitMs);
    // The next reply the printer sends on its in-pipe, in order.
    std::optional<Reply> TakeReply();

    bool IsAttached() const { return !m_unplugged; }
    const PrinterConfig& Config() const { return m_config; }
    PrinterDevice& Device() { return m_device; }
    const PrinterDevice& Device() const { return m_device; }

private:
    // Milliseconds the link needs for `bytes` more bytes, on the whole run's byte count, so
    // that rounding never loses time; commits the bytes when asked.
    uint32_t LinkTime(size_t bytes, bool commit);
    void Deliver(std::span<const uint8_t> bytes);
    // Pulls the plug: replies not yet sent are lost and the image being received ends.
    void Unplug();

    const PrinterConfig m_config;
    PrinterDevice m_device;
    FaultInjector m_faults;
    std::deque<Reply> m_replies;
    uint64_t m_linkBytes = 0;
    uint64_t m_linkMilliseconds = 0;
    uint64_t m_imageBytes = 0;
    bool m_unplugged = false;
};

}  // namespace sim
