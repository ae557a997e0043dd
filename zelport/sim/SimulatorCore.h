// What both simulated libraries keep behind their transports: the configuration, the printers
// and the ids the tool selected them by, with the one lock that also guards each library's
// pipes. Each library opens its pipes in its own transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

#include "sim/SimConfig.h"
#include "zelport/sim/PipeKind.h"
#include "zelport/sim/PrinterSet.h"

namespace zelsim {

class SimulatorCore {
public:
    // SetVenderID and SetProductID: 1, or 0 when the configuration refuses the vendor id.
    int32_t SetVendorId(uint32_t vendorId);
    int32_t SetProductIds(const uint16_t* productIds, uint32_t count);
    // UsbOpenCont and UsbOpenBulk: a handle of the library's transport, or -1.
    intptr_t OpenControl(uint32_t deviceIndex);
    intptr_t OpenBulk(const char* pipeName, uint32_t deviceIndex);

    // The control entry points for tests (zelport/sim/ZelportSim.h).
    uint32_t PrinterCount();
    size_t ReceivedLog(uint32_t printer, char* buffer, size_t size);
    bool Firmware(uint32_t printer, char area, uint8_t* version, uint16_t* checksum);
    int InDownloadMode(uint32_t printer);
    int IsAttached(uint32_t printer);

protected:
    static constexpr intptr_t kInvalidHandle = -1;

    SimulatorCore() = default;
    ~SimulatorCore() = default;
    SimulatorCore(const SimulatorCore&) = delete;
    SimulatorCore& operator=(const SimulatorCore&) = delete;

    // Opens a pipe of the printer that `deviceIndex` selects, with the lock held.
    virtual intptr_t OpenPipe(PipeKind kind, uint32_t deviceIndex) = 0;
    // An open by a name that no pipe has, which fails.
    virtual void UnknownPipeRefused(const char* pipeName);
    // The position of the configured printer that device index `deviceIndex` selects; none
    // while the library is refused.
    std::optional<size_t> Select(uint32_t deviceIndex) const;

    std::mutex m_mutex;
    bool m_usable = false;
    sim::SimConfig m_config;
    PrinterSet m_printers;
};

}  // namespace zelsim
