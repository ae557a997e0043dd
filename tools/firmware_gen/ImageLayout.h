// The form of one firmware image: the address area it belongs to, the runs of addresses its
// records cover, the bytes that must stand at given addresses and the area checksum it must
// come out with. Everything else in the runs is filler from a seeded generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace firmware {

struct ImageLayout {
    // Addresses first to last, both included.
    struct Range {
        uint32_t first;
        uint32_t last;
    };
    struct FixedBytes {
        uint32_t address;
        std::vector<uint8_t> bytes;
    };

    std::string name;
    std::vector<uint8_t> header;  // data bytes of the S0 record
    uint32_t startAddress;        // address of the S7 record
    Range area;
    std::vector<Range> runs;  // ascending, inside the area
    size_t bytesPerRecord;
    std::vector<FixedBytes> fixedBytes;
    // Even address inside a run, clear of the fixed bytes: the little-endian word there is
    // chosen last so that the word sum of the area equals areaChecksum.
    uint32_t balanceWordAddress;
    uint16_t areaChecksum;
    uint32_t fillerSeed;
    bool lineBreakAfterLastLine;
};

}  // namespace firmware
