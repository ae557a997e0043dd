// Builds Motorola S-record texts for the simulator's tests, independently of the decoder:
// records with correct checksums by default, and the memory an area should hold after them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/AreaLayout.h"

namespace simtest {

class ImageBuilder {
public:
    explicit ImageBuilder(const sim::AreaLayout& area);

    // "S0" with the text as its header bytes.
    ImageBuilder& Header(std::string_view text);
    // S3 records of at most `perRecord` bytes each, from `address` on; also applied to the
    // expected memory when inside the area.
    ImageBuilder& Data(uint32_t address, std::span<const uint8_t> bytes, size_t perRecord = 16);
    ImageBuilder& Data(uint32_t address, std::string_view text);
    // The version text at the area's first address and at the start of its last 16 bytes,
    // followed by zero bytes, as the package's images carry it.
    ImageBuilder& Version(std::string_view version);
    ImageBuilder& End(uint32_t start = 0);
    // A line exactly as given, not applied to the expected memory.
    ImageBuilder& Line(std::string_view line);

    // The text with `lineEnd` after every line.
    std::string Text(std::string_view lineEnd = "\r\n") const;
    // The area's bytes after a complete load: FF wherever no record wrote.
    const std::vector<uint8_t>& ExpectedMemory() const { return m_memory; }
    // Sum modulo 65536 of the expected memory's 16-bit little-endian words.
    uint16_t ExpectedChecksum() const;
    size_t LineCount() const { return m_lines.size(); }

    static std::string Record(int type, uint32_t address, std::span<const uint8_t> data);

private:
    const sim::AreaLayout& m_area;
    std::vector<std::string> m_lines;
    std::vector<uint8_t> m_memory;
};

std::span<const uint8_t> Bytes(std::string_view text);

}  // namespace simtest
