// Faults of an emulated printer that belong to the USB link rather than to the printer model:
// a reply longer than asked, the plug pulled while a reply is awaited, an interface that
// another program holds, a device node the user may not open.
#pragma once

#include <cstdint>

namespace zelusb {

struct UsbFaults {
    // The n-th reply (1 for the first, of any inquiry) arrives with `extraBytes` more bytes.
    uint32_t overflowReply = 0;
    uint32_t extraBytes = 0;
    // The printer is unplugged when the n-th reply would arrive.
    uint32_t unplugAtReply = 0;
    // The n-th bulk-OUT transfer (1 for the first) is held for `holdMs` before the printer
    // takes it, as a printer that pauses while it writes its flash.
    uint32_t holdWrite = 0;
    uint32_t holdMs = 0;
    bool claimBusy = false;
    bool accessDenied = false;
    // A printer driver (usblp) is bound to the interface until a claim detaches it.
    bool kernelDriver = false;
};

}  // namespace zelusb
