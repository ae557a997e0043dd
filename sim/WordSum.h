// The printer's firmware checksum: the sum, modulo 65536, of all 16-bit little-endian words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace sim {

class WordSum {
public:
    // Adds bytes in order; a chunk may end in the middle of a word, the next chunk completes it.
    void Add(std::span<const uint8_t> bytes);
    // The sum so far; an odd byte still waiting for its high half counts as a word of its own.
    uint16_t Value() const;

    static uint16_t Of(std::span<const uint8_t> bytes);

private:
    uint32_t m_sum = 0;
    bool m_havePendingLow = false;
    uint8_t m_pendingLow = 0;
};

}  // namespace sim
