#include "tools/firmware_gen/AreaMemory.h"

#include <algorithm>
#include <stdexcept>

namespace firmware {

AreaMemory::AreaMemory(uint32_t first, uint32_t last)
    : m_first(first), m_bytes(static_cast<size_t>(last - first) + 1, 0xFF) {}

std::span<uint8_t> AreaMemory::Bytes(uint32_t first, uint32_t last) {
    if (first < m_first || last < first || last - m_first >= m_bytes.size()) {
        throw std::out_of_range("address range outside the area");
    }
    return std::span<uint8_t>(m_bytes).subspan(first - m_first, last - first + 1);
}

void AreaMemory::Write(uint32_t address, std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    std::ranges::copy(bytes, Bytes(address, address + bytes.size() - 1).begin());
}

void AreaMemory::WriteWord(uint32_t address, uint16_t value) {
    const uint8_t bytes[] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    Write(address, bytes);
}

uint16_t AreaMemory::WordSum() const {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < m_bytes.size(); i += 2) {
        sum += m_bytes[i] | (m_bytes[i + 1] << 8);
    }
    return static_cast<uint16_t>(sum);
}

}  // namespace firmware
