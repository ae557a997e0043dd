// The configured printers, attached or not, the state file that keeps their firmware from one
// start of the library to the next, and the ids that the tool selects them by. Both simulated
// libraries keep theirs in one, each behind its own transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
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
    // No printers, no ids, and nothing persists.
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

    // The ids the tool has set (SetVenderID, SetProductID), until the next Load or Clear.
    void SetVendorId(uint32_t vendorId) { m_vendorId = static_cast<uint16_t>(vendorId & 0xFFFF); }
    void SetProductIds(const uint16_t* productIds, uint32_t count);
    // The position of the attached printer that the vendor library's device index
    // `deviceIndex` names among those with the vendor id and one of the product ids the tool
    // set; none before a vendor id is set, beyond the library's 127 devices, or if no printer
    // has that index.
    std::optional<size_t> Select(uint32_t deviceIndex) const;

    // For the control entry points (zelport/sim/ZelportSim.h): the printer's received log
    // copied into `buffer` as a C string, cut to `size`; its whole length (0 for no printer).
    size_t ReceivedLog(size_t position, char* buffer, size_t size) const;
    // 1 or 0; -1 for no printer.
    int InDownloadMode(size_t position) const;
    int IsAttached(size_t position) const;

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
    std::optional<uint16_t> m_vendorId;
    std::vector<uint16_t> m_productIds;
};

}  // namespace zelsim
