// One simulated printer: what it reports and which faults it shows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/ItemFirmware.h"
#include "sim/ReplyFault.h"
#include "sim/ReportOverride.h"
#include "sim/WriteFault.h"

namespace sim {

struct PrinterConfig {
    // An idle printer with older firmware than the built-in package: DATA1(M) 450B42,
    // DATA2(T) 452C11, DATA3(F) 453A10, DATA4(M) 454E11, identity T90001.
    PrinterConfig();

    // Identity "T9" and the 4-digit number (from 1) of the printer in the configuration.
    void NameAfterPosition(size_t position);

    uint16_t vendorId = 0x2E91;
    uint16_t productId = 0x5D36;
    uint8_t modelCode = 0x5F;
    uint16_t errorCode = 0;
    uint8_t printingState = 0;
    std::array<uint8_t, 6> identity{};
    // By the index of AreaLayout::All(); what the printer reports before any download.
    std::array<ItemFirmware, 5> firmware{};

    bool controlOpenFails = false;
    bool pipe00OpenFails = false;
    bool pipe01OpenFails = false;
    // With a number, only that open of the handle fails (counted from 1 for the printer,
    // the printer count's probes included); 0 for every open.
    uint32_t openFailsOccurrence = 0;
    std::vector<WriteFault> writeFaults;
    std::vector<ReplyFault> replyFaults;
    std::vector<ReportOverride> reportOverrides;
    // The printer answers this many inquiries, then never again.
    std::optional<uint32_t> silentAfterReplies;
    // Speed of the link in both directions; 0 for a link that costs no time.
    uint32_t linkBytesPerSecond = 0;
    // The printer is unplugged once it has received this many image bytes.
    std::optional<uint64_t> unplugAfterImageBytes;
    // The write of the restart command does not return until a file of this name exists: a
    // test holds the tool there, to act while it restarts the printer. Empty: no hold.
    std::string restartHeldUntil;

    // Faults that need control over the host's write(2) on the out-pipe: the library can only
    // fail a write, take it short, unplug during it, make it last or hold it with the write
    // blocked.
    bool NeedsWriteControl() const;
};

}  // namespace sim
