#include "zelport/sim/SimulatorCore.h"

#include <cstring>

namespace zelsim {

int32_t SimulatorCore::SetVendorId(uint32_t vendorId) {
    std::lock_guard lock(m_mutex);
    if (m_config.refuseVendorId) {
        return 0;
    }
    m_printers.SetVendorId(vendorId);
    return 1;
}

int32_t SimulatorCore::SetProductIds(const uint16_t* productIds, uint32_t count) {
    std::lock_guard lock(m_mutex);
    m_printers.SetProductIds(productIds, count);
    return 1;
}

uint32_t SimulatorCore::PrinterCount() {
    std::lock_guard lock(m_mutex);
    return static_cast<uint32_t>(m_printers.Count());
}

size_t SimulatorCore::ReceivedLog(uint32_t printer, char* buffer, size_t size) {
    std::lock_guard lock(m_mutex);
    return m_printers.ReceivedLog(printer, buffer, size);
}

bool SimulatorCore::Firmware(uint32_t printer, char area, uint8_t* version, uint16_t* checksum) {
    std::lock_guard lock(m_mutex);
    return m_printers.Firmware(printer, area, version, checksum);
}

int SimulatorCore::InDownloadMode(uint32_t printer) {
    std::lock_guard lock(m_mutex);
    return m_printers.InDownloadMode(printer);
}

int SimulatorCore::IsAttached(uint32_t printer) {
    std::lock_guard lock(m_mutex);
    return m_printers.IsAttached(printer);
}

intptr_t SimulatorCore::OpenControl(uint32_t deviceIndex) {
    std::lock_guard lock(m_mutex);
    return OpenPipe(PipeKind::Control, deviceIndex);
}

intptr_t SimulatorCore::OpenBulk(const char* pipeName, uint32_t deviceIndex) {
    std::lock_guard lock(m_mutex);
    if (pipeName != nullptr && std::strcmp(pipeName, "PIPE00") == 0) {
        return OpenPipe(PipeKind::Out, deviceIndex);
    }
    if (pipeName != nullptr && std::strcmp(pipeName, "PIPE01") == 0) {
        return OpenPipe(PipeKind::In, deviceIndex);
    }
    UnknownPipeRefused(pipeName);
    return kInvalidHandle;
}

void SimulatorCore::UnknownPipeRefused(const char* /*pipeName*/) {}

std::optional<size_t> SimulatorCore::Select(uint32_t deviceIndex) const {
    return m_usable ? m_printers.Select(deviceIndex) : std::nullopt;
}

}  // namespace zelsim
