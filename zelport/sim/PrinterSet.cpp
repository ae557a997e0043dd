#include "zelport/sim/PrinterSet.h"

#include <algorithm>
#include <cstring>

#include "sim/AreaLayout.h"
#include "sim/BoundedFile.h"
#include "sim/PrinterState.h"

namespace zelsim {

namespace {

constexpr uint32_t kLargestDeviceIndex = 126;

}  // namespace

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
    m_vendorId.reset();
    m_productIds.clear();
}

void PrinterSet::SetProductIds(const uint16_t* productIds, uint32_t count) {
    m_productIds.clear();
    if (productIds != nullptr) {
        m_productIds.assign(productIds, productIds + count);
    }
}

std::optional<size_t> PrinterSet::Select(uint32_t deviceIndex) const {
    if (!m_vendorId || deviceIndex > kLargestDeviceIndex) {
        return std::nullopt;
    }
    uint32_t seen = 0;
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const sim::PrinterConfig& config = m_printers[i]->Config();
        const bool selected = m_printers[i]->IsAttached() && config.vendorId == *m_vendorId &&
                              std::find(m_productIds.begin(), m_productIds.end(),
                                        config.productId) != m_productIds.end();
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

size_t PrinterSet::ReceivedLog(size_t position, char* buffer, size_t size) const {
    const sim::SimulatedPrinter* found = Find(position);
    if (found == nullptr) {
        return 0;
    }
    const std::string text = found->Device().Log().Text();
    if (buffer != nullptr && size > 0) {
        const size_t copied = std::min(text.size(), size - 1);
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return text.size();
}

int PrinterSet::InDownloadMode(size_t position) const {
    const sim::SimulatedPrinter* found = Find(position);
    return found == nullptr ? -1 : (found->Device().InDownloadMode() ? 1 : 0);
}

int PrinterSet::IsAttached(size_t position) const {
    const sim::SimulatedPrinter* found = Find(position);
    return found == nullptr ? -1 : (found->IsAttached() ? 1 : 0);
}

}  // namespace zelsim
