#include "zelport/sim/PrinterSet.h"

#include <algorithm>

#include "sim/AreaLayout.h"
#include "sim/BoundedFile.h"
#include "sim/PrinterState.h"

namespace zelsim {

bool PrinterSet::Load(const std::vector<sim::PrinterConfig>& printers,
                      std::optional<std::string> statePath, std::string& refusal) {
    Clear();
    if (statePath) {
        bool exists = false;
        const std::string why = sim::BoundedFile::Refusal(*statePath, exists);
        if (!why.empty()) {
            refusal = "the state file " + *statePath + ": " + why;
            return false;
        }
        m_stateFile.emplace(std::move(*statePath));
    }
    const std::vector<sim::PrinterState> stored =
        m_stateFile ? m_stateFile->Load() : std::vector<sim::PrinterState>{};
    for (size_t i = 0; i < printers.size(); ++i) {
        auto printer = std::make_unique<sim::SimulatedPrinter>(printers[i]);
        for (const sim::PrinterState& state : stored) {
            if (state.position == i && state.identity == printers[i].identity) {
                for (const sim::AreaLayout& area : sim::AreaLayout::All()) {
                    printer->Device().SetReported(area, state.firmware[area.Index()]);
                }
            }
        }
        m_storedRevision.push_back(printer->Device().FirmwareRevision());
        m_printers.push_back(std::move(printer));
    }
    return true;
}

void PrinterSet::Clear() {
    m_printers.clear();
    m_storedRevision.clear();
    m_stateFile.reset();
}

std::optional<size_t> PrinterSet::Select(uint16_t vendorId, std::span<const uint16_t> productIds,
                                         uint32_t deviceIndex) const {
    uint32_t seen = 0;
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const sim::PrinterConfig& config = m_printers[i]->Config();
        const bool selected =
            m_printers[i]->IsAttached() && config.vendorId == vendorId &&
            std::find(productIds.begin(), productIds.end(), config.productId) != productIds.end();
        if (selected && seen++ == deviceIndex) {
            return i;
        }
    }
    return std::nullopt;
}

bool PrinterSet::Persist() {
    bool changed = false;
    std::vector<sim::PrinterState> states;
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const sim::PrinterDevice& device = m_printers[i]->Device();
        changed = changed || device.FirmwareRevision() != m_storedRevision[i];
        m_storedRevision[i] = device.FirmwareRevision();
        states.push_back({i, m_printers[i]->Config().identity, device.AllReported()});
    }
    return !changed || !m_stateFile || m_stateFile->Store(states);
}

std::string PrinterSet::StatePath() const {
    return m_stateFile ? m_stateFile->Path() : std::string();
}

bool PrinterSet::Firmware(size_t position, char area, uint8_t* version, uint16_t* checksum) const {
    const sim::SimulatedPrinter* found = Find(position);
    const sim::AreaLayout* layout = sim::AreaLayout::ByLetter(area);
    if (found == nullptr || layout == nullptr) {
        return false;
    }
    const sim::ItemFirmware& firmware = found->Device().Reported(*layout);
    if (version != nullptr) {
        std::copy(firmware.version.begin(), firmware.version.end(), version);
    }
    if (checksum != nullptr) {
        *checksum = firmware.checksum;
    }
    return true;
}

}  // namespace zelsim
