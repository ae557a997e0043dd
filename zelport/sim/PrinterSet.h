// The configured printers, attached or not, and the state file that keeps their firmware
// from one start of the library to the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/PrinterConfig.h"
#include "sim/SimulatedPrinter.h"
#include "sim/StateFile.h"

namespace zelsim {

class PrinterSet {
public:
    // Makes a printer of each configuration. One whose position and identity match a printer
    // of the state file at `statePath` starts with the firmware stored there; without a path
    // nothing persists. False, with the reason, when the state file is no regular file of a
    // sensible size: such a file is neither read nor replaced.
    bool Load(const std::vector<sim::PrinterConfig>& printers, std::optional<std::string> statePath,
              std::string& refusal);
    // No printers, and nothing persists.
    void Clear();

    size_t Count() const { return m_printers.size(); }
    sim::SimulatedPrinter& At(size_t position) { return *m_printers[position]; }
    // The printer at `position`, or null.
    // What the printer reports for an area (letter p, t, c, f or s); false for no such
    // printer or area.
    bool Firmware(size_t position, char area, uint8_t* version, uint16_t* checksum) const;
    const sim::SimulatedPrinter* Find(size_t position) const {
        return position < m_printers.size() ? m_printers[position].get() : nullptr;
    }

    // The position of the attached printer that the vendor library's device index
    // `deviceIndex` names among those with `vendorId` and one of `productIds`; none if no
    // printer has that index.
    std::optional<size_t> Select(uint16_t vendorId, std::span<const uint16_t> productIds,
                                 uint32_t deviceIndex) const;

    // Stores every printer's firmware when any of it changed since the last store. False when
    // the state file cannot be written.
    bool Persist();
    // The state file's path; empty when nothing persists.
    std::string StatePath() const;

private:
    std::vector<std::unique_ptr<sim::SimulatedPrinter>> m_printers;
    // Each printer's firmware revision when it was last stored.
    std::vector<uint64_t> m_storedRevision;
    std::optional<sim::StateFile> m_stateFile;
};

}  // namespace zelsim
