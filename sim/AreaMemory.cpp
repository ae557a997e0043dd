#include "sim/AreaMemory.h"

#include <algorithm>

#include "sim/WordSum.h"

namespace sim {

void AreaMemory::Erase() {
    m_bytes.assign(m_layout.Size(), 0xFF);
}

bool AreaMemory::OnData(uint32_t address, std::span<const uint8_t> data) {
    if (m_bytes.empty()) {
        return false;
    }
    const uint64_t end = static_cast<uint64_t>(address) + data.size();
    if (address < m_layout.first || end > static_cast<uint64_t>(m_layout.last) + 1) {
        return false;
    }
    std::copy(data.begin(), data.end(), m_bytes.begin() + (address - m_layout.first));
    return true;
}

ItemFirmware AreaMemory::Firmware() const {
    ItemFirmware firmware;
    if (m_bytes.empty()) {
        return firmware;
    }
    const auto versionStart = m_bytes.end() - 16;
    std::copy(versionStart, versionStart + firmware.version.size(), firmware.version.begin());
    firmware.checksum = WordSum::Of(m_bytes);
    return firmware;
}

}  // namespace sim
