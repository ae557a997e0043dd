// The flash memory of one firmware area, as the S-records of an image load it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/AreaLayout.h"
#include "sim/ItemFirmware.h"
#include "sim/SRecordSink.h"

namespace sim {

class AreaMemory final : public SRecordSink {
public:
    // The area's memory is the printer's own from the start, so that no erase needs more.
    explicit AreaMemory(const AreaLayout& layout) : m_layout(layout) {
        m_bytes.reserve(layout.Size());
    }

    // Sets every byte of the area to FF. Until the first erase the area holds no memory.
    void Erase();

    // Stores a record's bytes; refuses (and stores nothing of) a record that reaches outside
    // the area, or any record before the first erase.
    bool OnData(uint32_t address, std::span<const uint8_t> data) override;

    // The version (the 6 bytes at the start of the area's last 16) and the word sum of the
    // whole area. Only meaningful once erased.
    ItemFirmware Firmware() const;

    const AreaLayout& Layout() const { return m_layout; }

private:
    const AreaLayout& m_layout;
    std::vector<uint8_t> m_bytes;
};

}  // namespace sim
