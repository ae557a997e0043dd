#include "sim/WordSum.h"

#include <algorithm>

namespace sim {

void WordSum::Add(std::span<const uint8_t> bytes) {
    size_t i = 0;
    if (m_havePendingLow && !bytes.empty()) {
        m_sum += m_pendingLow | (static_cast<uint32_t>(bytes[0]) << 8);
        m_havePendingLow = false;
        i = 1;
    }
    // Sixteen-bit partial sums cannot overflow 32 bits before 65537 words, so fold in chunks.
    while (bytes.size() - i >= 2) {
        const size_t words = std::min<size_t>((bytes.size() - i) / 2, 32768);
        uint32_t chunk = 0;
        for (size_t w = 0; w < words; ++w, i += 2) {
            chunk += bytes[i] | (static_cast<uint32_t>(bytes[i + 1]) << 8);
        }
        m_sum = (m_sum + chunk) & 0xFFFF;
    }
    if (i < bytes.size()) {
        m_pendingLow = bytes[i];
        m_havePendingLow = true;
    }
}

uint16_t WordSum::Value() const {
    const uint32_t sum = m_sum + (m_havePendingLow ? m_pendingLow : 0);
    return static_cast<uint16_t>(sum & 0xFFFF);
}

uint16_t WordSum::Of(std::span<const uint8_t> bytes) {
    WordSum sum;
    sum.Add(bytes);
    return sum.Value();
}

}  // namespace sim
