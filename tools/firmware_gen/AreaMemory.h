// The bytes of one address area as the printer's flash holds them: FF wherever nothing has
// been written.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace firmware {

class AreaMemory {
public:
    AreaMemory(uint32_t first, uint32_t last);

    // Addresses first to last, both included; they must lie inside the area.
    std::span<uint8_t> Bytes(uint32_t first, uint32_t last);
    void Write(uint32_t address, std::span<const uint8_t> bytes);
    void WriteWord(uint32_t address, uint16_t value);

    // Sum, modulo 65536, of the area's 16-bit little-endian words, counted from its first
    // address.
    uint16_t WordSum() const;

private:
    uint32_t m_first;
    std::vector<uint8_t> m_bytes;
};

}  // namespace firmware
