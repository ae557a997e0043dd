#include "tests/sim/ImageBuilder.h"

#include <algorithm>

#include "sim/HexText.h"

namespace simtest {

ImageBuilder::ImageBuilder(const sim::AreaLayout& area)
    : m_area(area), m_memory(area.Size(), 0xFF) {}

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string ImageBuilder::Record(int type, uint32_t address, std::span<const uint8_t> data) {
    const size_t addressBytes = type == 0 ? 2 : 4;
    std::vector<uint8_t> body;
    body.push_back(static_cast<uint8_t>(addressBytes + data.size() + 1));
    for (size_t i = addressBytes; i-- > 0;) {
        body.push_back(static_cast<uint8_t>(address >> (8 * i)));
    }
    body.insert(body.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (uint8_t b : body) {
        sum += b;
    }
    body.push_back(static_cast<uint8_t>(~sum));
    std::string line = "S" + std::to_string(type);
    for (uint8_t b : body) {
        line += sim::HexText(b, 2);
    }
    return line;
}

ImageBuilder& ImageBuilder::Header(std::string_view text) {
    m_lines.push_back(Record(0, 0, Bytes(text)));
    return *this;
}

ImageBuilder& ImageBuilder::Data(uint32_t address, std::span<const uint8_t> bytes,
                                 size_t perRecord) {
    for (size_t offset = 0; offset < bytes.size(); offset += perRecord) {
        const auto chunk = bytes.subspan(offset, std::min(perRecord, bytes.size() - offset));
        const uint32_t at = address + static_cast<uint32_t>(offset);
        m_lines.push_back(Record(3, at, chunk));
        for (size_t i = 0; i < chunk.size(); ++i) {
            const uint64_t target = static_cast<uint64_t>(at) + i;
            if (target >= m_area.first && target <= m_area.last) {
                m_memory[target - m_area.first] = chunk[i];
            }
        }
    }
    return *this;
}

ImageBuilder& ImageBuilder::Data(uint32_t address, std::string_view text) {
    return Data(address, Bytes(text));
}

ImageBuilder& ImageBuilder::Version(std::string_view version) {
    std::vector<uint8_t> block(16, 0);
    std::copy(version.begin(), version.end(), block.begin());
    Data(m_area.first, block);
    return Data(m_area.last - 15, block);
}

ImageBuilder& ImageBuilder::End(uint32_t start) {
    m_lines.push_back(Record(7, start, {}));
    return *this;
}

ImageBuilder& ImageBuilder::Line(std::string_view line) {
    m_lines.emplace_back(line);
    return *this;
}

std::string ImageBuilder::Text(std::string_view lineEnd) const {
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

uint16_t ImageBuilder::ExpectedChecksum() const {
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < m_memory.size(); i += 2) {
        sum = (sum + m_memory[i] + 256u * m_memory[i + 1]) % 65536;
    }
    return static_cast<uint16_t>(sum);
}

}  // namespace simtest
